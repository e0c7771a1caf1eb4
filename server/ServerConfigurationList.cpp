#include "server/ServerConfigurationList.h"

ServerConfiguration BuildServerConfiguration(std::wstring_view entryName,
                                             const std::wstring& configurationPath, std::wstring_view release,
                                             size_t package, size_t index, std::wstring_view label,
                                             ServerFactsIF& facts) {
    ServerConfiguration record = MakeServerConfiguration(entryName, release, package, index, label);
    // The registration and the file set disjoint fields, so their order matters only for the reading.
    if (const std::optional<ServiceFacts> service = facts.QueryService(record.serviceName))
        ApplyServiceFacts(record, *service);
    if (!configurationPath.empty()) {
        const std::unique_ptr<ICBSIniFileBase> file = facts.OpenFile(configurationPath, FormatOf(entryName));
        if (file) {
            ImportConfigurationFile(record, *file,
                                    [&facts](const std::wstring& path) { return facts.Exists(path); });
        }
    }
    return record;
}

std::vector<ServerConfiguration> BuildServerConfigurations(const PackageList& packages,
                                                           ServerFactsIF& facts) {
    std::vector<ServerConfiguration> records;
    const PathExists exists = [&facts](const std::wstring& path) { return facts.Exists(path); };
    for (const PackageInfo& package : packages) {
        const std::wstring release = ReleaseNumberText(package);
        const FolderSource folders{
            [&facts] { return facts.DataFolder(); },
            [&facts, &package] { return ProgramFolderFor(package.ProductName(), facts.ProgramFolder()); }};
        for (const ServerEntryOfPackage& entry : ServerEntriesOf(package.ProductName())) {
            const std::wstring label =
                entry.labelStringId ? facts.LoadString(entry.labelStringId) : std::wstring();
            const std::wstring path = ConfigurationFilePath(entry.entryName, release, folders, exists);
            records.push_back(BuildServerConfiguration(entry.entryName, path, release, package.Index(),
                                                       records.size(), label, facts));
        }
    }
    LinkInterfaces(records);
    return records;
}

void LinkInterfaces(std::vector<ServerConfiguration>& records) {
    ServerConfiguration* client = nullptr;
    size_t admin = records.size();
    for (size_t i = 0; i < records.size(); ++i) {
        if (admin == records.size() && records[i].prefix == kAdminInterfacePrefix)
            admin = i;
        if (!client && records[i].prefix == kClientInterfacePrefix)
            client = &records[i];
    }
    if (client && admin < records.size())
        client->serviceOwner = admin;
}
