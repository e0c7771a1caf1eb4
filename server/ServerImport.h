// The import of an existing installation's settings into a record: where each product keeps its
// configuration file, which keys are read and how, and what the registered service says. The Windows side
// gathers the facts (service registration, folders, whether a path exists) and hands them in; every
// decision is made here. Nothing is owned beyond the values returned.
#pragma once

#include "server/ServerConfiguration.h"
#include "support/IniFileBase.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

// What the service manager says about a registered service. The account is as registered: a leading
// ".\" (a local account) is removed here, not by the caller.
struct ServiceFacts {
    int startType = ServiceStartType::Automatic; // the manager's code: 2, 3 or 4
    bool delayedStart = false;
    std::wstring account;
};

enum class ConfigurationFormat { Ini, Xml };

// Something exists at the path (a file or a folder).
using PathExists = std::function<bool(const std::wstring& path)>;

// The registered service replaces the start type and the account; the password is cleared since it
// belongs to the account the record held before.
void ApplyServiceFacts(ServerConfiguration& record, const ServiceFacts& service);

// The format the entry's file is read in: XML for the two ZorvexXML entries, INI for every other.
ConfigurationFormat FormatOf(std::wstring_view entryName);

// Reads the entry's keys from a loaded file (nothing when the file is not loaded, each key only when
// present). exists decides the set flags of INI paths; XML paths are never set.
void ImportConfigurationFile(ServerConfiguration& record, const ICBSIniFileBase& file,
                             const PathExists& exists);

// The folders the configuration paths start from, as the platform gives them. The data folder is empty
// when it could not be found or made; paths built from it then begin with "\".
struct ServerFolders {
    std::wstring dataFolder;    // the common application data folder and "\Quenlis"
    std::wstring programFolder; // the program files folder this (32-bit) process is given
};

// The program files folder for a package: a 64-bit package ("x64" in its name) installs into the 64-bit
// folder, which a 32-bit process sees with " (x86)" appended.
std::wstring ProgramFolderFor(std::wstring_view productName, std::wstring_view programFolder);

// The configuration file of an entry, with a release in its path resolved to the newest of release,
// release - 1 and release - 2 that exists (else the release text unchanged). Empty for an entry without
// a file. folders is asked only for the folder the entry needs, so the data folder is made only when used.
struct FolderSource {
    std::function<std::wstring()> dataFolder;
    std::function<std::wstring()> programFolder; // already adjusted by ProgramFolderFor
};
std::wstring ConfigurationFilePath(std::wstring_view entryName, std::wstring_view release,
                                   const FolderSource& folders, const PathExists& exists);

// before + release + after, trying the release number N, then N-1 and N-2, and taking the first that
// exists; none existing gives the path with the release text as it was.
std::wstring ResolveReleasePath(std::wstring_view before, std::wstring_view release, std::wstring_view after,
                                const PathExists& exists);

// The conversions of the configuration files.
int ConfigNumber(std::wstring_view text);   // trimmed; leading decimal, 0 without digits
bool ConfigFlag(std::wstring_view text);    // as a number, not 0
bool ConfigXmlFlag(std::wstring_view text); // trimmed; "1" only; "true" is off
std::wstring ConfigPath(std::wstring_view text);

// Opens a configuration file from the disk in its format (missing or unreadable: not loaded).
std::unique_ptr<ICBSIniFileBase> OpenConfigurationFile(const std::wstring& path, ConfigurationFormat format);
