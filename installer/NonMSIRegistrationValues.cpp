#include "installer/NonMSIRegistrationValues.h"

#include "installer/UninstallEntryPlan.h"
#include "launcher/NonMSIRegistration.h"
#include "support/FilePath.h"

namespace {

constexpr std::wstring_view kWorkloadExtension = L".json";
constexpr wchar_t kPublisher[] = L"Quenlis";
constexpr wchar_t kContact[] = L"Customer Support Department";
constexpr wchar_t kComments[] = L"Please use the Support URL unless you have a telephone support contract";
constexpr wchar_t kSupportPage[] = L"https://www.quenlis.com/support";
constexpr wchar_t kDownloadPage[] = L"https://www.quenlis.com/download";
constexpr wchar_t kHomePage[] = L"https://www.quenlis.com/";
// Windows offers no repair for the entry: the launcher's Change covers it.
constexpr uint32_t kNoRepair = 1;

std::wstring InFolder(const PackageInfo& package, std::wstring_view fileName) {
    return package.PackageFolder() + L"\\" + std::wstring(fileName);
}

} // namespace

std::wstring NonMSILauncherCopy(const PackageInfo& package, std::wstring_view runningLauncher) {
    return InFolder(package, FileNamePart(runningLauncher));
}

std::wstring NonMSIWorkloadCopy(const PackageInfo& package, std::wstring_view workload) {
    if (!workload.ends_with(kWorkloadExtension))
        return {};
    return InFolder(package, FileNamePart(workload));
}

std::vector<RegistrationValue> NonMSIRegistrationValues(const PackageInfo& package,
                                                        std::wstring_view launcherCopy,
                                                        std::wstring_view workloadCopy) {
    const ProductRecord* product = package.Products().empty() ? nullptr : &package.Products().front();
    const std::wstring workloadArgument =
        workloadCopy.empty() ? std::wstring() : L" workload=\"" + std::wstring(workloadCopy) + L"\"";
    // Quoted when it holds a space, as the main product's entry does, so that Windows cannot run a shorter
    // path's program instead.
    const std::wstring command = LauncherCommand(launcherCopy);
    return {
        {L"DisplayName", product ? product->DisplayName() : std::wstring()},
        {L"DisplayVersion", product ? product->FullVersionText() : std::wstring()},
        {L"NoRepair", kNoRepair},
        {L"ModifyPath", command + workloadArgument},
        {L"UninstallString", command + L" /x" + workloadArgument},
        {L"Publisher", kPublisher},
        {L"Contact", kContact},
        {L"Comments", kComments},
        {L"HelpLink", kSupportPage},
        {L"URLUpdateInfo", kDownloadPage},
        {L"URLInfoAbout", kHomePage},
        {NonMSIRegistration::kPackageCodeValue, package.PackageCode()},
    };
}
