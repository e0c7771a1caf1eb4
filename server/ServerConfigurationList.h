// The page's ordered list of records, built from the package list: each server package's entries in
// package order, each with its table defaults, its registered service and its configuration file. The
// machine is reached only through ServerFactsIF, which the Windows side implements over the service
// manager, the known folders and the file system; the caller owns the returned list.
#pragma once

#include "launcher/PackageList.h"
#include "server/ServerConfiguration.h"
#include "server/ServerImport.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class ServerFactsIF {
public:
    virtual ~ServerFactsIF() = default;

    // The registration of the service with this key name; empty when it does not exist or cannot be opened.
    virtual std::optional<ServiceFacts> QueryService(const std::wstring& serviceName) = 0;
    // The data folder (made and opened to everyone the first time it is asked for, then kept); empty
    // when it cannot be had.
    virtual std::wstring DataFolder() = 0;
    // The program files folder as this process sees it (ProgramFolderFor adjusts it per package).
    virtual std::wstring ProgramFolder() = 0;
    // A file or a folder exists at the path.
    virtual bool Exists(const std::wstring& path) = 0;
    // The text of a string id in the current user-interface language.
    virtual std::wstring LoadString(unsigned id) = 0;
    // The configuration file, read whole; by default from the disk.
    virtual std::unique_ptr<ICBSIniFileBase> OpenFile(const std::wstring& path, ConfigurationFormat format) {
        return OpenConfigurationFile(path, format);
    }
};

// One record: defaults and table row, then the registered service, then the file at configurationPath
// (an empty path reads nothing).
ServerConfiguration BuildServerConfiguration(std::wstring_view entryName,
                                             const std::wstring& configurationPath, std::wstring_view release,
                                             size_t package, size_t index, std::wstring_view label,
                                             ServerFactsIF& facts);

// Every package's records in package order, the main server's admin interface before its client
// interface, which shares the admin's service (LinkInterfaces applied).
std::vector<ServerConfiguration> BuildServerConfigurations(const PackageList& packages, ServerFactsIF& facts);

// The client interface of the main server takes the admin interface's service and certificate files.
void LinkInterfaces(std::vector<ServerConfiguration>& records);
