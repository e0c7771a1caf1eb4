#include "server/ServerDataSettings.h"

#include "support/ByteFile.h"
#include "support/StringUtil.h"

namespace ServerData {

namespace {

constexpr std::wstring_view kInstallerSection = L"[installer]";
constexpr std::wstring_view kAvoidBackupKey = L"avoidbackuponupgrade";
constexpr std::wstring_view kSolutionsFolderKey = L"solutionsworkingdir";

bool EndsWithSeparator(std::wstring_view folder) {
    return folder.back() == L'\\' || folder.back() == L'/';
}

} // namespace

std::wstring InFolder(std::wstring_view folder, std::wstring_view name) {
    if (folder.empty())
        return {};
    std::wstring path(folder);
    if (!EndsWithSeparator(folder))
        path += L'\\';
    return path.append(name);
}

std::wstring DataFolder(std::wstring_view commonDataFolder, bool dataFolderExists) {
    return dataFolderExists ? InFolder(commonDataFolder, kDataFolderUnderCommonData) : std::wstring();
}

Settings ReadSettings(std::wstring_view dataFolder, const std::optional<std::string>& configurationBytes) {
    Settings settings;
    settings.solutionsFolder = InFolder(dataFolder, kDefaultSolutionsFolderName);
    if (dataFolder.empty() || !configurationBytes)
        return settings;
    settings.configurationFound = true;
    bool inInstallerSection = false;
    for (const std::wstring& line : ByteFile::SplitLines(*configurationBytes)) {
        const std::wstring lower = ToLower(line);
        if (lower == kInstallerSection)
            inInstallerSection = true;
        else if (line.starts_with(L'['))
            inInstallerSection = false;
        // An "=" in the first place alone names no key, so it names no folder either.
        if (lower.find(kSolutionsFolderKey) != std::wstring::npos && line.find(L'=', 1) != std::wstring::npos)
            settings.solutionsFolder = Trim(std::wstring_view(line).substr(line.find(L'=') + 1));
        if (inInstallerSection && lower.find(kAvoidBackupKey) != std::wstring::npos &&
            line.find(L'1') != std::wstring::npos)
            settings.avoidBackup = true;
    }
    return settings;
}

Settings LoadSettings(const std::wstring& dataFolder) {
    if (dataFolder.empty())
        return ReadSettings(dataFolder, std::nullopt);
    return ReadSettings(dataFolder, ByteFile::ReadAll(InFolder(dataFolder, kConfigurationFileName)));
}

bool BackupPossible(const Settings& settings, bool dataFolderExists) {
    return settings.configurationFound && dataFolderExists;
}

} // namespace ServerData
