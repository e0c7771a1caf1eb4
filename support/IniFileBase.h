// The configuration-file interface: a file of named sections (or groups) holding key/value pairs, read
// whole when the object is made and written back by Save (and by the destructor) only when changed.
// Implemented by ICBSIniFile (INI text) and ICBSXMLIniFile (flat XML). Holds no data.
#pragma once

#include <string>

class ICBSIniFileBase {
public:
    virtual ~ICBSIniFileBase() = default;

    virtual bool IsLoaded() const = 0;
    virtual bool HasErrors() const = 0;
    virtual bool IsModified() const = 0;
    virtual bool HasValue(const std::wstring& section, const std::wstring& key) const = 0;
    // A path names the section and the key in one string; each implementation has its separator.
    virtual bool HasValue(const std::wstring& path) const = 0;
    // The value, or a shared empty string when there is none. Valid until the next change.
    virtual const std::wstring& GetValue(const std::wstring& section, const std::wstring& key) const = 0;
    virtual const std::wstring& GetValue(const std::wstring& path) const = 0;
    // True when the content changed.
    virtual bool SetValue(const std::wstring& section, const std::wstring& key,
                          const std::wstring& value) = 0;
    virtual bool SetValue(const std::wstring& path, const std::wstring& value) = 0;
    // Writes the file back if it was changed; false when it could not be written.
    virtual bool Save() = 0;

protected:
    ICBSIniFileBase() = default;
    ICBSIniFileBase(const ICBSIniFileBase&) = delete;
    ICBSIniFileBase& operator=(const ICBSIniFileBase&) = delete;
};
