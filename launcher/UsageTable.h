// The command-line help as data: the commands, the options they accept and the groups of public
// properties that the products of this launcher understand. Built once per run by BuildUsageTable;
// the property groups also tell the property check which names are directly supported.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Loads a text of the string table by id in the current language.
using StringLoader = std::function<std::wstring(int id)>;

struct UsageOption {
    std::wstring syntax; // placeholder words in the language current when the table was built
    int nameId = 0;      // kept for a listing by name; never printed
    int descriptionId = 0;
};

struct UsageCommand {
    std::wstring syntax;
    int descriptionId = 0;
    std::vector<size_t> options; // indexes into UsageTable::options, in print order
};

struct UsageProperty {
    std::wstring name;
    int valueTextId = 0;
    int descriptionId = 0;
};

struct UsagePropertyGroup {
    int headerId = 0;
    std::vector<UsageProperty> rows;
};

struct UsageTable {
    std::vector<UsageOption> options;
    std::vector<UsageCommand> commands;
    std::vector<UsagePropertyGroup> groups;
};

// What the launcher's resources say about the help it should print.
struct UsageFacts {
    bool carriesGermanMainPackage = false; // "PACKAGE_0_1031" exists: the launcher offers languages
    long long packageCount = 0;            // the manifest's PACKAGE_COUNT
    std::wstring mainProductName;          // the manifest's PRODUCT_NAME_0
};

UsageTable BuildUsageTable(const UsageFacts& facts, const StringLoader& load);

// Every property name of the groups, in print order.
std::vector<std::wstring> UsagePropertyNames(const UsageTable& table);
