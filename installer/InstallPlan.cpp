#include "installer/InstallPlan.h"

#include "support/Format.h"

namespace {

constexpr int32_t kPlatformNotSupported = 1633;
constexpr int32_t kInstallFailure = 1603;
// The companion server's identifiers: its installation from another package may stand in the way.
constexpr std::wstring_view kCompanionPrefix = L"KS";

PropertyPackage PropertiesOf(const PlannedPackageFacts& package, size_t index) {
    return {index == 0, package.transformFile};
}

std::wstring Line(const wchar_t* format, const std::wstring& productName) {
    return Format(format, productName);
}

void PlanInstall(const InstallSequenceFacts& f, InstallPlan& plan) {
    const size_t count = f.packages.size();
    for (size_t i = 0; i < count; ++i) {
        const PlannedPackageFacts& package = f.packages[i];
        if (!package.selected)
            continue;
        PlannedOperation op;
        op.kind = PlannedOperation::Kind::Install;
        op.package = i;
        op.logLine = Line(L"VNT (c): Installing product %s\r\n", package.productName);
        op.removeConflictsFirst = std::wstring_view(package.productId).starts_with(kCompanionPrefix) &&
                                  package.installedFromAnotherPackage;
        op.properties = ComposeInstallerCommandLine(
            f.run, false, InstallOperationProperties(f.run, PropertiesOf(package, i), count, false));
        if (count > 1 && i != 0)
            op.customSetupProperties = ComposeInstallerCommandLine(
                f.run, false, InstallOperationProperties(f.run, PropertiesOf(package, i), count, true));
        // What this run installed before the failing package is removed again, nearest first.
        for (size_t j = i; j-- > 0;) {
            if (f.packages[j].selected)
                op.rollbacks.push_back(
                    {j, Line(L"VNT (c): Rolling back product %s\r\n", f.packages[j].productName),
                     ComposeInstallerCommandLine(f.run, true, InstallTokens::kRollbackSet), false});
        }
        plan.operations.push_back(std::move(op));
    }
    if (count >= 2)
        plan.entryAfterSuccess = EntryStep::Perform;
}

void PlanModify(const InstallSequenceFacts& f, InstallPlan& plan) {
    const size_t count = f.packages.size();
    bool newSubPackage = false;
    for (size_t i = 1; i < count; ++i)
        newSubPackage = newSubPackage || (f.packages[i].selected && !f.packages[i].installed);
    for (size_t i = 0; i < count; ++i) {
        const PlannedPackageFacts& package = f.packages[i];
        if (!package.selected)
            continue;
        PlannedOperation op;
        op.kind = PlannedOperation::Kind::Modify;
        op.package = i;
        op.logLine = Line(L"VNT (c): Modifying product %s\r\n", package.productName);
        op.properties = ComposeInstallerCommandLine(
            f.run, false, ModifyOperationProperties(f.run, PropertiesOf(package, i), count, newSubPackage));
        plan.operations.push_back(std::move(op));
    }
    plan.stopAtFirstFailure = false;
    plan.stopOnlyWhenCancelled = true;
    if (count >= 2)
        plan.entryAfterSuccess = plan.entryAfterFailure = EntryStep::Redo;
}

void PlanRepair(const InstallSequenceFacts& f, InstallPlan& plan) {
    for (size_t i = 0; i < f.packages.size(); ++i) {
        if (!f.packages[i].selected)
            continue;
        PlannedOperation op;
        op.kind = PlannedOperation::Kind::Repair;
        op.package = i;
        op.logLine = Line(L"VNT (c): Reinstalling product %s\r\n", f.packages[i].productName);
        plan.operations.push_back(std::move(op));
    }
    plan.stopAtFirstFailure = false;
    if (f.packages.size() >= 2)
        plan.entryAfterSuccess = plan.entryAfterFailure = EntryStep::Redo;
}

void PlanUninstall(const InstallSequenceFacts& f, InstallPlan& plan) {
    const size_t count = f.packages.size();
    if (count >= 2) {
        plan.entryBefore = EntryStep::PrepareRemove;
        plan.entryAfterFailure = EntryStep::RollBack;
    }
    if (count > 0 && f.packages[0].selected && !f.packages[0].installed) {
        plan.failsAtOnce = kInstallFailure;
        return;
    }
    // Sub-packages go first, the main package last.
    for (size_t s = count; s-- > 0;) {
        const PlannedPackageFacts& package = f.packages[s];
        if (!package.selected || !package.installed)
            continue;
        PlannedOperation op;
        op.kind = PlannedOperation::Kind::Uninstall;
        op.package = s;
        op.prepareEntryRemoval = s != 0;
        op.logLine = Line(L"VNT (c): Uninstalling product %s\r\n", package.productName);
        op.properties = ComposeInstallerCommandLine(f.run, true, UninstallOperationProperties(count));
        // The packages this run removed before are installed again, in list order.
        for (size_t k = s + 1; k < count; ++k) {
            if (f.packages[k].selected && f.packages[k].installed)
                op.rollbacks.push_back(
                    {k, Line(L"VNT (c): Rolling back product %s\r\n", f.packages[k].productName),
                     ComposeInstallerCommandLine(f.run, false, InstallTokens::kRollbackSet), true});
        }
        plan.operations.push_back(std::move(op));
    }
}

} // namespace

InstallPlan PlanInstallSequence(const InstallSequenceFacts& f) {
    InstallPlan plan;
    const bool main64Bit = !f.packages.empty() && f.packages.front().is64Bit;
    plan.prologue = {L"VNT (c): determine installer platform\r\n",
                     Format(L"VNT (c): dedected %s platform\r\n", main64Bit ? L"64-bit" : L"32-bit")};
    if (main64Bit && !f.systemIs64Bit) {
        plan.refusal = kPlatformNotSupported;
        return plan;
    }
    if (f.repair) {
        plan.kind = SequenceKind::Repair;
        PlanRepair(f, plan);
    } else if (f.uninstall) {
        plan.kind = SequenceKind::Uninstall;
        PlanUninstall(f, plan);
    } else if (f.modify) {
        plan.kind = SequenceKind::Modify;
        PlanModify(f, plan);
    } else {
        plan.kind = SequenceKind::Install;
        PlanInstall(f, plan);
    }
    return plan;
}

bool IsReportedByInstaller(int32_t installerError) {
    return installerError >= 1602 && installerError <= 1604;
}

bool IsRestartSuccess(int32_t installerError) {
    return installerError == 1641 || installerError == 3010 || installerError == 3011;
}
