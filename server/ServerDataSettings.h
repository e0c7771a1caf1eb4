// Where the main server line keeps its data and what its configuration file says about a backup: the data
// folder, the "installer" section's request to avoid the backup, the solutions folder, and from these the
// files and folders the backup measurement looks at. The Windows side finds the common application data
// folder and whether things exist; everything else is decided here. Plain values, nothing kept.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace ServerData {

inline constexpr std::wstring_view kDataFolderUnderCommonData = L"Quenlis\\HalvoraServer";
inline constexpr std::wstring_view kConfigurationFileName = L"halvoraserver.cfg";
inline constexpr std::wstring_view kDatabaseFileName = L"halvora.db";
inline constexpr std::wstring_view kDefaultSolutionsFolderName = L"SolutionFiles";
// The files of the data folder that a backup copies besides the solutions.
inline constexpr std::array<std::wstring_view, 3> kBackedUpFiles = {L"halvora.db", L"halvoralog.db",
                                                                    L"halvoraserver.cfg"};

// folder "\" name; empty when the folder is empty, so that a missing data folder never turns into a path
// at the root of the current drive.
std::wstring InFolder(std::wstring_view folder, std::wstring_view name);

// The server data folder under the common application data folder; empty when it does not exist.
std::wstring DataFolder(std::wstring_view commonDataFolder, bool dataFolderExists);

struct Settings {
    bool configurationFound = false;
    bool avoidBackup = false;     // "avoidbackuponupgrade" with a 1 in the "installer" section
    std::wstring solutionsFolder; // the data folder's "SolutionFiles" unless the file names another
};

// Reads the configuration file's bytes (8-bit text; none when the file is missing or unreadable). The
// rules are the server's line rules, not INI lookups: "[installer]" exactly (any letter case) opens the
// section and any other "[" line closes it; "solutionsworkingdir" counts in every section and the last
// such line wins; both keys are found anywhere in a line, in any letter case.
Settings ReadSettings(std::wstring_view dataFolder, const std::optional<std::string>& configurationBytes);
// The same with the file read from the disk; an empty data folder reads nothing.
Settings LoadSettings(const std::wstring& dataFolder);

// A backup is offered when the configuration file was found and the data folder exists.
bool BackupPossible(const Settings& settings, bool dataFolderExists);

} // namespace ServerData
