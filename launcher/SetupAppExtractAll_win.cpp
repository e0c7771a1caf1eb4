// The extract-all mode (/u): every package's content into the current folder, one console line per file.
#include "launcher/SetupApp_win.h"

#include "extraction/CabinetExtractor_win.h"
#include "extraction/MSIExtractionProgressHandler_win.h"
#include "extraction/PackageResources_win.h"
#include "extraction/UnpackRules.h"
#include "launcher/Console_win.h"
#include "support/FileUtilities_win.h"

namespace {

std::wstring InFolder(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        return folder + name;
    return folder + L"\\" + name;
}

} // namespace

bool CSetupApp::RunExtractAll() {
    ConsoleAttachment console;
    MSIExtractionProgressHandler consoleLines;
    if (!LoadPackages()) {
        SetResultCode(ResultCode::PackageInfoMissing);
        return true;
    }
    const std::wstring folder = ICBSFileUtilities::CurrentFolder();
    for (auto& package : packages_) {
        if (!IsTaxonomyPackage(package->InstallerType())) {
            // A failed cabinet is recorded and the next package still comes out.
            if (!ExtractPackageCabinet(package->PackageData(), folder, &consoleLines)) {
                if (CabinetExtractor::DiskFull())
                    result_.Set(ResultCode::DiskFull, 0, false);
                else
                    result_.Set(ResultCode::InstallFailed, kCabinetFailure, false);
            }
            continue;
        }
        const std::wstring name = FileNamePart(package->PackageData());
        package->SetInstallerDatabase(name);
        if (!WriteTaxonomyFile(package->PackageData(), InFolder(folder, name))) {
            // Stops at once: nothing more is extracted, and the result is neither reported nor posted.
            console.Release();
            return false;
        }
    }
    return true;
}
