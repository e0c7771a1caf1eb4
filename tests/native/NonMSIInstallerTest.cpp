#include "installer/TaxonomyInstaller.h"
#include "launcher/NonMSIRegistration.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <set>
#include <tuple>

// Failures show the value rather than its bytes.
void PrintTo(const RegistrationValue& value, std::ostream* out) {
    const auto* text = std::get_if<std::wstring>(&value.value);
    *out << ::testing::PrintToString(value.name) << "="
         << (text ? ::testing::PrintToString(*text) : std::to_string(std::get<uint32_t>(value.value)));
}

namespace {

using Op = AsyncInstallOperation;
using Journal = std::vector<std::wstring>;

constexpr wchar_t kRunning[] = L"C:\\Run\\Setup.exe";

// Entries by product name, journalled as "entry+" (made), "entry=" (opened, already there) and "entry-"
// (deleted), with " /x" while the uninstall switch (command line and mode alike) is on.
struct FakeMachine : NonMSIMachineIF {
    FakeMachine(Journal& journal, const SetupContext& context) : journal_(journal), context_(context) {}

    bool RegistrationExists(const PackageInfo& p) override { return entries.contains(p.ProductName()); }
    Creation CreateRegistration(const PackageInfo& p) override {
        if (createFails)
            return Creation::Failed;
        const bool there = !entries.insert(p.ProductName()).second || racing.contains(p.ProductName());
        Note(there ? L"entry= " : L"entry+ ", p);
        return there ? Creation::AlreadyThere : Creation::Created;
    }
    bool WriteRegistrationValue(const PackageInfo& p, const RegistrationValue& value) override {
        values[p.ProductName()].push_back(value);
        return !writeFails;
    }
    bool DeleteRegistration(const PackageInfo& p) override {
        Note(L"entry- ", p);
        return entries.erase(p.ProductName()) == 1;
    }
    std::wstring RunningLauncher() override { return kRunning; }
    bool CopyReplacing(const std::wstring& source, const std::wstring& target) override {
        copies.push_back(source + L" -> " + target);
        return true;
    }
    void Note(const wchar_t* what, const PackageInfo& p) {
        const bool line = context_.commandLine.uninstall, mode = context_.mode.uninstallRequested;
        journal_.push_back(what + p.ProductName() + (line && mode ? L" /x" : line || mode ? L" mixed" : L""));
    }

    std::set<std::wstring> entries;
    std::set<std::wstring> racing; // missing when asked, there when created (another program made it)
    bool createFails = false, writeFails = false;
    std::map<std::wstring, std::vector<RegistrationValue>> values;
    std::vector<std::wstring> copies;
    Journal& journal_;
    const SetupContext& context_;
};

struct Package {
    const wchar_t* name;
    bool selected = true, registered = false, racing = false;
};

// A run over the packages, its log lines ("<level> <text>" without the line end) and progress texts (a
// package step's as "Install action 1..n") journalled in order with the machine's entry changes.
struct Scene : LogSinkIF, SetupReportAsyncProgressIF {
    Journal journal;
    SetupContext context{*this, [](uint16_t, unsigned) { return std::wstring(); }};
    FakeMachine* machine = nullptr;
    std::unique_ptr<TaxonomyInstaller> installer;
    std::vector<int> advances;
    int waits = 0;

    // cancelAtWait: the action whose wait the user ends with Escape; 0 for none.
    Scene(const std::vector<Package>& packages, bool uninstall, int cancelAtWait) {
        context.commandLine.uninstall = context.mode.uninstallRequested = uninstall;
        auto fake = std::make_unique<FakeMachine>(journal, context);
        machine = fake.get();
        installer = std::make_unique<TaxonomyInstaller>(context, std::move(fake), [this, cancelAtWait] {
            if (++waits == cancelAtWait)
                installer->Cancel();
        });
        for (const Package& p : packages) {
            PackageDescription description;
            description.productName = p.name;
            PackageInfo package(std::move(description));
            package.SetPackageFolder(std::wstring(L"C:\\Pkg\\") + p.name);
            context.choices.Select(context.packages.size(), p.selected);
            context.packages.Add(std::move(package));
            if (p.registered)
                machine->entries.insert(p.name);
            if (p.racing)
                machine->racing.insert(p.name);
        }
    }
    SetupResult Go(Op op) {
        return RunAsyncInstallOperation(*installer, op, context.packages, context.choices, *this);
    }

    void WriteLine(int level, const std::wstring& line) override {
        EXPECT_TRUE(line.ends_with(L"\r\n")) << line;
        journal.push_back(std::to_wstring(level) + L" " + line.substr(0, line.size() - 2));
    }
    void SetStatusText(const std::wstring& text) override {
        const size_t number = text.rfind(L' ') + 1;
        const std::wstring run = text.substr(0, number) + L"1..";
        if (text.substr(number) != L"1" && !journal.empty() && journal.back().starts_with(run))
            journal.back() = run + text.substr(number);
        else
            journal.push_back(run + text.substr(number));
    }
    void AdvanceProgress(int step) override { advances.push_back(step); }
    void SetProgressRange(int) override { ADD_FAILURE() << "the page sets the range"; }
    void SetProgressPosition(int) override { ADD_FAILURE() << "the installer only advances"; }
};

} // namespace

TEST(NonMSIInstaller, OperationsLogRegisterAndRollBack) {
    enum Fault { None, CreateFails, WriteFails };
    struct Row {
        const char* name;
        Op op;
        std::vector<Package> packages;
        int cancelAtWait;
        int32_t code; // a failure is never reported yet
        Journal journal;
        std::set<std::wstring> entriesAfter;
        Fault fault = None;
    };
    const Row rows[] = {
        {"install of the selected packages in order",
         Op::Install,
         {{L"A"}, {L"B", false}, {L"C"}},
         0,
         0,
         {L"2 VNT: Start installing...", L"entry+ A", L"Install action 1..10",
          L"3 Successfully installed product A.", L"entry+ C", L"Install action 1..10",
          L"3 Successfully installed product C."},
         {L"A", L"C"}},
        {"already installed: code 8 without an install step",
         Op::Install,
         {{L"A", true, true}},
         0,
         8,
         {L"2 VNT: Start installing..."},
         {L"A"}},
        {"a failing package rolls back the ones before it, the switch turned",
         Op::Install,
         {{L"A"}, {L"B", true, true}},
         0,
         8,
         {L"2 VNT: Start installing...", L"entry+ A", L"Install action 1..10",
          L"3 Successfully installed product A.", L"2 VNT (c): Rolling back installation of product A",
          L"3 Installing package A...", L"Remove action 1..10", L"entry- A /x",
          L"3 Successfully un-installed product A."},
         {L"B"}},
        {"cancel ends the step; the entry this run made goes",
         Op::Install,
         {{L"A"}, {L"B"}},
         3,
         3,
         {L"2 VNT: Start installing...", L"entry+ A", L"Install action 1..3",
          L"3 Failed to install product A.", L"entry- A"},
         {}},
        {"cancel in the second package: the first is still rolled back to its end",
         Op::Install,
         {{L"A"}, {L"B"}},
         12,
         3,
         {L"2 VNT: Start installing...", L"entry+ A", L"Install action 1..10",
          L"3 Successfully installed product A.", L"entry+ B", L"Install action 1..2",
          L"3 Failed to install product B.", L"entry- B",
          L"2 VNT (c): Rolling back installation of product A", L"3 Installing package A...",
          L"Remove action 1..10", L"entry- A /x", L"3 Successfully un-installed product A."},
         {}},
        {"cancel ends the step; an entry that was there stays",
         Op::Install,
         {{L"A", true, false, true}},
         3,
         3,
         {L"2 VNT: Start installing...", L"entry= A", L"Install action 1..3",
          L"3 Failed to install product A."},
         {L"A"}},
        {"entry cannot be made",
         Op::Install,
         {{L"A"}},
         0,
         1,
         {L"2 VNT: Start installing..."},
         {},
         CreateFails},
        {"values cannot be written: the entry stays",
         Op::Install,
         {{L"A"}},
         0,
         2,
         {L"2 VNT: Start installing...", L"entry+ A", L"Install action 1..10",
          L"3 Failed to register product A as installed product."},
         {L"A"},
         WriteFails},
        {"uninstall of a package that is not installed",
         Op::Uninstall,
         {{L"A"}},
         0,
         2,
         {L"2 VNT: Start removing..."},
         {}},
        {"a failing removal installs the ones before it again, the switch turned",
         Op::Uninstall,
         {{L"A", true, true}, {L"B"}},
         0,
         2,
         {L"2 VNT: Start removing...", L"3 Installing package A...", L"Remove action 1..10", L"entry- A /x",
          L"3 Successfully un-installed product A.", L"2 VNT (c): Rolling back removal of product A",
          L"entry+ A", L"Install action 1..10", L"3 Successfully installed product A."},
         {L"A"}},
        {"modify stops at the first failing package",
         Op::Modify,
         {{L"A", true, true}, {L"B", true, true}},
         2,
         3,
         {L"2 VNT: Start modifying...", L"3 Modifying package A...", L"Modify action 1..2",
          L"3 Failed to modify product A."},
         {L"A", L"B"}},
        {"repair succeeds at once under the modify line",
         Op::Repair,
         {{L"A", true, true}, {L"B", true, true}},
         0,
         0,
         {L"2 VNT: Start repairing...", L"3 Modifying package A...", L"3 Successfully repaired product A.",
          L"3 Modifying package B...", L"3 Successfully repaired product B."},
         {L"A", L"B"}},
        {"repair stops at a package that is not installed",
         Op::Repair,
         {{L"A"}, {L"B", true, true}},
         0,
         2,
         {L"2 VNT: Start repairing..."},
         {L"B"}},
        {"extract: taxonomy packages have none",
         Op::Extract,
         {{L"A"}, {L"B"}},
         0,
         2,
         {L"2 VNT: Start extracting..."},
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const bool uninstall = row.op == Op::Uninstall;
        Scene run(row.packages, uninstall, row.cancelAtWait);
        run.machine->createFails = row.fault == CreateFails;
        run.machine->writeFails = row.fault == WriteFails;
        const SetupResult result = run.Go(row.op);
        EXPECT_EQ(std::make_tuple(row.code, 0, row.code == 0),
                  std::make_tuple(result.code, result.installerError, result.reported));
        EXPECT_EQ(row.journal, run.journal);
        EXPECT_EQ(row.entriesAfter, run.machine->entries);
        EXPECT_EQ(std::vector<int>(static_cast<size_t>(run.waits), 10), run.advances);
        EXPECT_EQ(std::make_pair(uninstall, uninstall),
                  std::make_pair(run.context.commandLine.uninstall, run.context.mode.uninstallRequested));
    }
}

TEST(NonMSIInstaller, EntryValuesAndTheCopiesTheyName) {
    Scene run({}, false, 0);
    PackageDescription description;
    description.productName = L"Taxonomies";
    description.packageCode = L"{7C4F2D10-0A1B-4C2D-8E3F-405162738495}";
    description.productId = L"TAX_XBRL::Z";
    description.version = L"2024";
    run.context.packages.Add(PackageInfo(std::move(description)));
    run.context.packages.At(0).SetPackageFolder(L"C:\\Pkg");
    run.context.choices.Select(0, true);
    run.context.commandLine.workload = L"D:\\In\\servers.json";
    ASSERT_EQ(0, run.Go(Op::Install).code);
    const std::vector<RegistrationValue> expected = {
        {L"DisplayName", L"XBRL Taxonomies 2024"},
        {L"DisplayVersion", L"2024"},
        {L"NoRepair", 1u},
        {L"ModifyPath", L"C:\\Pkg\\Setup.exe workload=\"C:\\Pkg\\servers.json\""},
        {L"UninstallString", L"C:\\Pkg\\Setup.exe /x workload=\"C:\\Pkg\\servers.json\""},
        {L"Publisher", L"Quenlis"},
        {L"Contact", L"Customer Support Department"},
        {L"Comments", L"Please use the Support URL unless you have a telephone support contract"},
        {L"HelpLink", L"https://www.quenlis.com/support"},
        {L"URLUpdateInfo", L"https://www.quenlis.com/download"},
        {L"URLInfoAbout", L"https://www.quenlis.com/"},
        {L"PackageGUID", L"{7C4F2D10-0A1B-4C2D-8E3F-405162738495}"},
    };
    EXPECT_EQ(expected, run.machine->values[L"Taxonomies"]);
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\Run\\Setup.exe -> C:\\Pkg\\Setup.exe",
                                         L"D:\\In\\servers.json -> C:\\Pkg\\servers.json"}),
              run.machine->copies);

    // Only a ".json" name (letter case counting) is passed on; a launcher copy with a space is quoted.
    struct Case {
        const wchar_t *folder, *workload, *uninstallString;
    };
    for (const Case& c :
         {Case{L"C:\\Pkg", L"servers.JSON", L"C:\\Pkg\\Setup.exe /x"},
          Case{L"C:\\Pkg", L"servers.json.bak", L"C:\\Pkg\\Setup.exe /x"},
          Case{L"C:\\Program Data", L"a.json",
               L"\"C:\\Program Data\\Setup.exe\" /x workload=\"C:\\Program Data\\a.json\""}}) {
        PackageInfo package(PackageDescription{});
        package.SetPackageFolder(c.folder);
        const auto values = NonMSIRegistrationValues(package, NonMSILauncherCopy(package, kRunning),
                                                     NonMSIWorkloadCopy(package, c.workload));
        EXPECT_EQ((RegistrationValue{L"UninstallString", c.uninstallString}), values[4]) << c.workload;
    }
}

TEST(NonMSIRegistration, EntryKeyAndInstalledFromAnotherPackage) {
    EXPECT_EQ(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\A46D0AE102B79714B97FA2F93DA18E49",
              NonMSIRegistration::KeyPath(L"{1EA0D64A-7B20-4179-9BF7-2A9FD31AE894}"));
    EXPECT_EQ(L"", NonMSIRegistration::KeyPath(L"")); // never the list's own key
    EXPECT_EQ(L"", NonMSIRegistration::KeyPath(L"1EA0D64A-7B20-4179-9BF7-2A9FD31AE894"));
    struct Case {
        const wchar_t *registered, *package;
        bool another;
    };
    for (const Case& c :
         {Case{L"", L"{A1}", false}, Case{L"{a1}", L"{A1}", false}, Case{L"{B2}", L"{A1}", true}})
        EXPECT_EQ(c.another, NonMSIRegistration::FromAnotherPackage(c.registered, c.package)) << c.registered;
}
