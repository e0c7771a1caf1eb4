// A machine for the server configuration tests: registered services, paths that exist and configuration
// files as text, plus package lists made from product names, identifiers and versions.
#pragma once

#include "launcher/PackageList.h"
#include "server/ServerConfigurationList.h"
#include "support/IniFile.h"
#include "support/XmlIniFile.h"

#include <map>
#include <set>
#include <string>
#include <vector>

struct FakePackage {
    const wchar_t* productName;
    const wchar_t* productId;
    const wchar_t* version;
};

inline PackageList MakePackages(const std::vector<FakePackage>& packages) {
    PackageList list;
    for (const FakePackage& p : packages) {
        PackageDescription d;
        d.productName = p.productName;
        d.productId = p.productId;
        d.version = p.version;
        list.Add(PackageInfo(d));
    }
    return list;
}

class FakeServerFacts : public ServerFactsIF {
public:
    std::map<std::wstring, ServiceFacts> services;
    std::set<std::wstring> existing;
    std::map<std::wstring, std::string> files; // path -> content
    std::wstring dataFolder = L"C:\\ProgramData\\Quenlis";
    std::wstring programFolder = L"C:\\Program Files (x86)";
    int dataFolderAsked = 0;
    std::vector<std::wstring> opened;

    std::optional<ServiceFacts> QueryService(const std::wstring& name) override {
        const auto found = services.find(name);
        return found == services.end() ? std::nullopt : std::optional<ServiceFacts>(found->second);
    }
    std::wstring DataFolder() override {
        ++dataFolderAsked;
        return dataFolder;
    }
    std::wstring ProgramFolder() override { return programFolder; }
    bool Exists(const std::wstring& path) override { return existing.contains(path) || files.contains(path); }
    std::wstring LoadString(unsigned id) override { return L"#" + std::to_wstring(id); }
    std::unique_ptr<ICBSIniFileBase> OpenFile(const std::wstring& path, ConfigurationFormat format) override {
        opened.push_back(path);
        const auto found = files.find(path);
        const std::string content = found == files.end() ? std::string() : found->second;
        if (format == ConfigurationFormat::Xml)
            return std::make_unique<ICBSXMLIniFile>(L"", content);
        return std::make_unique<ICBSIniFile>(L"", content);
    }
};
