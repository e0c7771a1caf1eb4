// ICBSIniFile: an INI text file held in memory as ordered sections of ordered entries, so that writing it
// back keeps comments, blank lines and order. The object owns its sections and their entries. Section
// names and keys are compared without regard to case; paths are "section::key".
#pragma once

#include "support/IniFileBase.h"

#include <list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ICBSIniFile : public ICBSIniFileBase {
public:
    // Reads the file; a missing, unreadable or folder path gives an empty object.
    explicit ICBSIniFile(std::wstring path);
    // As if the file at path held content (nothing is read from the disk).
    ICBSIniFile(std::wstring path, std::string_view content);
    // Saves a changed object; a failed write is silent.
    ~ICBSIniFile() override;

    bool IsLoaded() const override { return !sections_.empty(); }
    bool HasErrors() const override { return false; }
    bool IsModified() const override { return modified_; }
    bool HasValue(const std::wstring& section, const std::wstring& key) const override;
    bool HasValue(const std::wstring& path) const override;
    const std::wstring& GetValue(const std::wstring& section, const std::wstring& key) const override;
    const std::wstring& GetValue(const std::wstring& path) const override;
    bool SetValue(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;
    bool SetValue(const std::wstring& path, const std::wstring& value) override;
    bool Save() override;

    // The bytes Save writes.
    std::string Text() const;

private:
    // A key-less entry is a verbatim line (blank line or comment), written back as its value alone.
    struct Entry {
        std::wstring key;
        std::wstring value;
    };
    struct Section {
        std::wstring name;
        std::list<Entry> entries;
        std::map<std::wstring, std::list<Entry>::iterator> keys; // by folded key; verbatim lines not listed
    };

    void Load(std::string_view bytes);
    Section* FindSection(const std::wstring& name) const;
    const Entry* FindEntry(const std::wstring& section, const std::wstring& key) const;
    // SetValue that also hands out the entry now holding the value (null when there is none).
    bool Set(const std::wstring& section, const std::wstring& key, const std::wstring& value, Entry** stored);

    std::wstring path_;
    bool modified_ = false;
    std::vector<std::unique_ptr<Section>> sections_; // the unnamed section, when present, is first
    std::map<std::wstring, Section*> sectionIndex_;  // by folded name
};
