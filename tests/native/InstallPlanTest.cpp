#include "installer/InstallPlan.h"
#include "installer/UninstallEntryPlan.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kMarker = L"INSTALLEDFROMLAUNCHER=Yes ";
const std::wstring kSubPackages = L"HAS_SUB_PACKAGES=\"Yes\" ";
const std::wstring kHideFinish = L"UI_HIDE_FINISH_DLG=\"Yes\" ";
const std::wstring kProgressOnly = L"UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" ";
const std::wstring kCustomize = L"UI_HIDE_ALL_BUT_CUSTOMIZE_AND_PROGRESS=\"Yes\" ";
const std::wstring kRollbackSet = L"UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ";

PlannedPackageFacts Package(const wchar_t* name, const wchar_t* id, bool selected = true,
                            bool installed = false) {
    PlannedPackageFacts package;
    package.productName = name;
    package.productId = id;
    package.selected = selected;
    package.installed = installed;
    package.is64Bit = true;
    return package;
}

InstallSequenceFacts TwoPackages() {
    InstallSequenceFacts facts;
    facts.packages = {Package(L"Main", L"HV::Z"), Package(L"Companion", L"KS::Z")};
    return facts;
}

std::vector<size_t> PackagesOf(const InstallPlan& plan) {
    std::vector<size_t> order;
    for (const PlannedOperation& op : plan.operations)
        order.push_back(op.package);
    return order;
}

} // namespace

// The property strings of fresh installs, byte for byte, for the switches and facts that change them.
TEST(InstallPlan, InstallPropertyStrings) {
    struct Case {
        const char* name;
        size_t packageCount;
        void (*adjust)(InstallSequenceFacts&);
        std::vector<std::wstring> expected; // per package
        std::wstring customForSecond;       // the second package's string after a custom setup
    };
    const Case cases[] = {
        {"one package, nothing else", 1, [](InstallSequenceFacts&) {}, {kMarker}, L""},
        {"two packages",
         2,
         [](InstallSequenceFacts&) {},
         {kMarker + kSubPackages + kHideFinish, kMarker + kSubPackages + kHideFinish + kProgressOnly},
         kMarker + kSubPackages + kHideFinish + kCustomize},
        {"administrative",
         1,
         [](InstallSequenceFacts& f) { f.run.admin = true; },
         {L"ACTION=ADMIN " + kMarker},
         L""},
        {"status file and properties",
         1,
         [](InstallSequenceFacts& f) {
             f.run.statusFile = L"C:\\status.mif";
             f.run.commandLineProperties = {L"KS_Port=8080", L"NAME=\"two words\""};
             f.run.manifestProperties = L"FROM_MANIFEST=1";
         },
         {L"/m C:\\status.mif " + kMarker + L"FROM_MANIFEST=1 KS_Port=8080 NAME=\"two words\" "},
         L""},
        {"German with transforms",
         2,
         [](InstallSequenceFacts& f) {
             f.run.multiLanguage = true;
             f.run.languageShortCode = L"de";
             f.run.languageId = 1031;
             f.packages[0].transformFile = L"C:\\p\\Transform_de.mst";
         },
         {kMarker + kSubPackages + kHideFinish +
              L"INSTALLER_LANGUAGE=\"de\" TRANSFORMS=\"C:\\p\\Transform_de.mst\" ",
          kMarker + kSubPackages + kHideFinish + kProgressOnly + L"INSTALLER_LANGUAGE=\"de\" "},
         kMarker + kSubPackages + kHideFinish + kCustomize + L"INSTALLER_LANGUAGE=\"de\" "},
        {"English keeps the transform out",
         1,
         [](InstallSequenceFacts& f) {
             f.run.multiLanguage = true;
             f.run.languageShortCode = L"en";
             f.packages[0].transformFile = L"C:\\p\\Transform.mst";
         },
         {kMarker + L"INSTALLER_LANGUAGE=\"en\" "},
         L""},
        {"wizard strings by their flags, quick install",
         1,
         [](InstallSequenceFacts& f) {
             f.run.mainLineServerPresent = true;
             f.run.backupOptions = L"SKIP_BACKUP=1";
             f.run.hasServerConfiguration = true;
             f.run.serviceConfiguration = L"KS_Port=1";
             f.run.workflowOptions = L"ignored";
             f.run.quickInstallNames = {L"Quenlis Halvora Server", L"Quenlis Kestrum"};
         },
         {kMarker + kProgressOnly +
          L"DO_QUICK_INSTALL=\"Quenlis Halvora Server,Quenlis Kestrum\" SKIP_BACKUP=1 KS_Port=1 "},
         L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InstallSequenceFacts facts = TwoPackages();
        facts.packages.resize(c.packageCount);
        c.adjust(facts);
        const InstallPlan plan = PlanInstallSequence(facts);
        ASSERT_EQ(plan.kind, SequenceKind::Install);
        ASSERT_EQ(plan.operations.size(), c.expected.size());
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(plan.operations[i].properties, c.expected[i]) << i;
        EXPECT_EQ(plan.operations.front().customSetupProperties, L""); // the main package never asks
        if (c.expected.size() > 1)
            EXPECT_EQ(plan.operations[1].customSetupProperties, c.customForSecond);
        EXPECT_EQ(plan.entryAfterSuccess.has_value(), c.packageCount > 1); // one package: no entry touched
        EXPECT_FALSE(plan.entryAfterFailure.has_value());
    }
}

TEST(InstallPlan, FailedInstallRemovesWhatCameBeforeNearestFirst) {
    InstallSequenceFacts facts = TwoPackages();
    facts.packages.push_back(Package(L"Unselected", L"ZV::M", false));
    facts.packages.push_back(Package(L"Third", L"ZV::M"));
    facts.packages[1].installedFromAnotherPackage = true;
    const InstallPlan plan = PlanInstallSequence(facts);
    ASSERT_EQ(PackagesOf(plan), (std::vector<size_t>{0, 1, 3}));
    EXPECT_TRUE(plan.stopAtFirstFailure);
    EXPECT_EQ(plan.operations[0].logLine, L"VNT (c): Installing product Main\r\n");
    EXPECT_TRUE(plan.operations[0].rollbacks.empty());
    EXPECT_TRUE(plan.operations[1].removeConflictsFirst); // the companion from another package
    EXPECT_FALSE(plan.operations[2].removeConflictsFirst);
    const auto& rollbacks = plan.operations[2].rollbacks;
    ASSERT_EQ(rollbacks.size(), 2u);
    EXPECT_EQ(rollbacks[0].package, 1u);
    EXPECT_EQ(rollbacks[1].package, 0u);
    EXPECT_EQ(rollbacks[0].logLine, L"VNT (c): Rolling back product Companion\r\n");
    EXPECT_EQ(rollbacks[0].properties, L"REMOVE=ALL " + kMarker + kRollbackSet);
    EXPECT_FALSE(rollbacks[0].unpackAgain);
}

TEST(InstallPlan, UninstallGoesFromTheLastPackageToTheMainOne) {
    InstallSequenceFacts facts = TwoPackages();
    facts.uninstall = true;
    facts.packages[0].installed = facts.packages[1].installed = true;
    facts.packages.push_back(Package(L"Not installed", L"ZV::M", true, false));
    const InstallPlan plan = PlanInstallSequence(facts);
    ASSERT_EQ(plan.kind, SequenceKind::Uninstall);
    EXPECT_EQ(PackagesOf(plan), (std::vector<size_t>{1, 0}));
    EXPECT_EQ(plan.entryBefore, EntryStep::PrepareRemove);
    EXPECT_EQ(plan.entryAfterFailure, EntryStep::RollBack);
    EXPECT_FALSE(plan.entryAfterSuccess.has_value());
    const std::wstring removal =
        L"REMOVE=ALL " + kMarker +
        L"HAS_SUB_PACKAGES=\"Yes\" UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ";
    EXPECT_EQ(plan.operations[0].properties, removal);
    EXPECT_TRUE(plan.operations[0].prepareEntryRemoval);
    EXPECT_FALSE(plan.operations[1].prepareEntryRemoval);
    EXPECT_EQ(plan.operations[1].logLine, L"VNT (c): Uninstalling product Main\r\n");
    // The main package's failure installs the companion again from its unpacked package.
    ASSERT_EQ(plan.operations[1].rollbacks.size(), 1u);
    EXPECT_EQ(plan.operations[1].rollbacks[0].package, 1u);
    EXPECT_TRUE(plan.operations[1].rollbacks[0].unpackAgain);
    EXPECT_EQ(plan.operations[1].rollbacks[0].properties, kMarker + kRollbackSet);

    // A main package that is selected but not installed fails the removal at once; one package alone
    // removes without sub-package tokens and never touches the entry.
    facts.packages[0].installed = false;
    EXPECT_EQ(PlanInstallSequence(facts).failsAtOnce, 1603);
    EXPECT_EQ(PlanInstallSequence(facts).entryAfterFailure, EntryStep::RollBack);
    InstallSequenceFacts single;
    single.uninstall = true;
    single.packages = {Package(L"Main", L"HV::Z", true, true)};
    const InstallPlan alone = PlanInstallSequence(single);
    EXPECT_EQ(alone.operations[0].properties, L"REMOVE=ALL " + kMarker);
    EXPECT_FALSE(alone.entryBefore || alone.entryAfterFailure || alone.entryAfterSuccess);
}

TEST(InstallPlan, ModifyRepairAndTheSixtyFourBitRefusal) {
    InstallSequenceFacts facts = TwoPackages();
    facts.modify = true;
    facts.packages[0].installed = true; // the companion is new: its licence agreement is shown
    const InstallPlan modify = PlanInstallSequence(facts);
    ASSERT_EQ(modify.kind, SequenceKind::Modify);
    EXPECT_EQ(modify.operations[0].properties,
              kMarker + kSubPackages + kHideFinish + L"UI_SHOW_LICENSE_AGREEMENT_DLG=\"Yes\" ");
    EXPECT_EQ(modify.operations[1].properties,
              kMarker + kSubPackages + kCustomize + L"UI_SHOW_LICENSE_AGREEMENT_DLG=\"Yes\" ");
    EXPECT_TRUE(modify.stopOnlyWhenCancelled);
    EXPECT_FALSE(modify.stopAtFirstFailure);
    EXPECT_EQ(modify.entryAfterSuccess, EntryStep::Redo);
    EXPECT_EQ(modify.entryAfterFailure, EntryStep::Redo);

    facts.repair = true; // repair wins over every other mode
    const InstallPlan repair = PlanInstallSequence(facts);
    ASSERT_EQ(repair.kind, SequenceKind::Repair);
    EXPECT_EQ(repair.operations[1].logLine, L"VNT (c): Reinstalling product Companion\r\n");
    EXPECT_TRUE(repair.operations[1].properties.empty());
    EXPECT_FALSE(repair.stopAtFirstFailure || repair.stopOnlyWhenCancelled);

    facts.systemIs64Bit = false;
    const InstallPlan refused = PlanInstallSequence(facts);
    EXPECT_EQ(refused.refusal, 1633);
    EXPECT_TRUE(refused.operations.empty());
    EXPECT_EQ(refused.prologue, (std::vector<std::wstring>{L"VNT (c): determine installer platform\r\n",
                                                           L"VNT (c): dedected 64-bit platform\r\n"}));
}

TEST(InstallPlan, InstallerErrorsAndRestartCodes) {
    for (int32_t error : {1641, 3010, 3011})
        EXPECT_TRUE(IsRestartSuccess(error)) << error;
    for (int32_t error : {0, 1602, 1603, 3012})
        EXPECT_FALSE(IsRestartSuccess(error)) << error;
    for (int32_t error : {1602, 1603, 1604})
        EXPECT_TRUE(IsReportedByInstaller(error)) << error;
    for (int32_t error : {1601, 1605, 1620, 1633})
        EXPECT_FALSE(IsReportedByInstaller(error)) << error;
}

TEST(UninstallEntryPlan, StepsWriteTheEntryAndThePackedProductsKeyOnOldSystems) {
    UninstallEntryFacts facts;
    facts.launcherCopy = L"C:\\ProgramData\\Quenlis\\{X}\\Quenlis Demo Setup.exe";
    facts.languageArgument = L" lang=German";
    facts.icon = L"C:\\icon.ico";
    facts.productName = L"Main";
    using Kind = EntryAction::Kind;
    using Key = EntryAction::Key;
    const auto summary = [](const std::vector<EntryAction>& actions) {
        std::vector<std::wstring> lines;
        for (const EntryAction& a : actions) {
            const std::wstring key = a.key == Key::Products ? L"products:" : L"";
            switch (a.kind) {
            case Kind::Log:
                lines.push_back(L"log " + a.text);
                break;
            case Kind::CopyLauncher:
                lines.push_back(L"copy");
                break;
            case Kind::CopyLauncherIfMissing:
                lines.push_back(L"copy if missing");
                break;
            case Kind::ProtectCopyFolder:
                lines.push_back(L"protect");
                break;
            case Kind::SetNumber:
                lines.push_back(key + a.name + L"=" + std::to_wstring(a.number));
                break;
            case Kind::SetText:
                lines.push_back(key + a.name + L"=" + a.text);
                break;
            case Kind::DeleteValue:
                lines.push_back(L"delete " + a.name);
                break;
            }
        }
        return lines;
    };
    const std::wstring quoted = L"\"C:\\ProgramData\\Quenlis\\{X}\\Quenlis Demo Setup.exe\"";
    EXPECT_EQ(
        summary(PlanUninstallEntry(EntryStep::Perform, facts)),
        (std::vector<std::wstring>{
            L"log VNT (c): perform custom installer registry\r\n", L"copy",
            L"log VNT (c): redo-after modify or re-install custom installer registry\r\n", L"copy if missing",
            L"protect", L"WindowsInstaller=0", L"ModifyPath=" + quoted + L" lang=German",
            L"UninstallString=" + quoted + L" /x lang=German", L"DisplayIcon=C:\\icon.ico"}));
    facts.oldSystem = true;
    EXPECT_EQ(summary(PlanUninstallEntry(EntryStep::PrepareRemove, facts)),
              (std::vector<std::wstring>{
                  L"log VNT (c): prepare-remove custom installer registry\r\n", L"WindowsInstaller=1",
                  L"log VNT (c): before delete value - custom installer registry\r\n", L"delete DisplayIcon",
                  L"log VNT (c): after delete value - custom installer registry\r\n",
                  L"log VNT (c): before write product name - custom installer registry\r\n",
                  L"products:ProductName=Main",
                  L"log VNT (c): after write product name - custom installer registry\r\n"}));
    EXPECT_EQ(summary(PlanUninstallEntry(EntryStep::RollBack, facts)),
              (std::vector<std::wstring>{
                  L"log VNT (c): roll-back prepare-remove custom installer registry\r\n",
                  L"WindowsInstaller=0", L"DisplayIcon=C:\\icon.ico", L"products:ProductName="}));
    EXPECT_EQ(LauncherCommand(L"C:\\Setup\\Demo.exe"), L"C:\\Setup\\Demo.exe");
}

TEST(UninstallEntryPlan, PackedProductCodes) {
    EXPECT_EQ(PackedProductCode(L"{1EA0D64A-7B20-4179-9BF7-2A9FD31AE894}"),
              L"A46D0AE102B79714B97FA2F93DA18E49");
    for (const wchar_t* bad :
         {L"", L"1EA0D64A-7B20-4179-9BF7-2A9FD31AE894", L"{1EA0D64A-7B20-4179-9BF7-2A9FD31AE89}",
          L"{1EA0D64A+7B20-4179-9BF7-2A9FD31AE894}", L"{1EA0D64A-7B20-4179-9BF7-2A9FD31AE89G}"})
        EXPECT_EQ(PackedProductCode(bad), L"") << bad;
}
