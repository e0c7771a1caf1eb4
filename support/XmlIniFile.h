// ICBSXMLIniFile: a flat XML configuration file (one root element, one child element per line named
// "group.key") read line by line, without a general XML parser. Every line between the root tags is kept
// as a record; a line holding one complete element is understood, any other line is written back as it
// was read. The object owns its records. Group and key are compared without regard to case; paths are
// "group.key", split at the first ".".
#pragma once

#include "support/IniFileBase.h"

#include <string>
#include <string_view>
#include <vector>

class ICBSXMLIniFile : public ICBSIniFileBase {
public:
    // Reads the file; a missing, unreadable or folder path gives an empty object.
    explicit ICBSXMLIniFile(std::wstring path);
    // As if the file at path held content (nothing is read from the disk).
    ICBSXMLIniFile(std::wstring path, std::string_view content);
    // Saves a changed object; a failed write is silent.
    ~ICBSXMLIniFile() override;

    bool IsLoaded() const override { return !lines_.empty(); }
    bool HasErrors() const override;
    bool IsModified() const override;
    bool HasValue(const std::wstring& group, const std::wstring& key) const override;
    bool HasValue(const std::wstring& path) const override;
    const std::wstring& GetValue(const std::wstring& group, const std::wstring& key) const override;
    const std::wstring& GetValue(const std::wstring& path) const override;
    bool SetValue(const std::wstring& group, const std::wstring& key, const std::wstring& value) override;
    bool SetValue(const std::wstring& path, const std::wstring& value) override;
    bool Save() override;

    // The bytes Save writes.
    std::string Text() const;

    // One kept line of the file.
    struct Line {
        std::wstring text; // as read, without its line end; rebuilt by Save when modified
        bool isElement = false;
        bool commented = false; // begins with "<!--"
        bool malformed = false;
        bool modified = false;
        std::wstring group;
        std::wstring key;
        std::wstring value; // verbatim, references not resolved
    };
    // The record of one line; false when the line is one of the declaration and root lines that Save
    // writes afresh.
    static bool ParseLine(const std::wstring& text, Line& line);
    const std::vector<Line>& Lines() const { return lines_; }

private:
    void Load(std::string_view bytes);
    const Line* FindActive(const std::wstring& group, const std::wstring& key) const;

    std::wstring path_;
    std::vector<Line> lines_;
};
