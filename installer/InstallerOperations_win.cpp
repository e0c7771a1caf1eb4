#include "installer/InstallerOperations_win.h"

#include "installer/InstallPlan.h"
#include "installer/MSIDatabase_win.h"
#include "installer/TransformPlan.h"
#include "launcher/SetupLog.h"
#include "support/FilePath.h"
#include "support/FileUtilities_win.h"
#include "support/WindowsInstaller_win.h"

namespace {

// Fatal exit, error, warning and user messages reach the handler.
constexpr DWORD kMessageFilter =
    INSTALLLOGMODE_FATALEXIT | INSTALLLOGMODE_ERROR | INSTALLLOGMODE_WARNING | INSTALLLOGMODE_USER;
constexpr unsigned kUserMessage = 3;
constexpr unsigned kMessageBoxBits = 0x00FFFFFF;
constexpr int32_t kInstallFailure = 1603;

// The handler registered for one installer call; the one it replaced comes back afterwards.
class ExternalHandlerScope {
public:
    explicit ExternalHandlerScope(void* context)
        : former_(WindowsInstaller::SetExternalUI(&InstallerMessageHandler, kMessageFilter, context)) {}
    ~ExternalHandlerScope() { WindowsInstaller::SetExternalUI(former_, 0, nullptr); }
    ExternalHandlerScope(const ExternalHandlerScope&) = delete;
    ExternalHandlerScope& operator=(const ExternalHandlerScope&) = delete;

private:
    INSTALLUI_HANDLERW former_;
};

} // namespace

int __stdcall InstallerMessageHandler(void* context, unsigned int messageType, const wchar_t* message) {
    if ((messageType >> 24) != kUserMessage)
        return 0;
    const auto* title = static_cast<const std::wstring*>(context);
    return MessageBoxW(nullptr, message ? message : L"", title ? title->c_str() : L"",
                       messageType & kMessageBoxBits);
}

InstallerOperations::InstallerOperations(LogSinkIF& log, int32_t uiLevel, uint32_t reinstallMode,
                                         std::wstring commandLineTransforms, std::wstring messageTitle)
    : log_(log), uiLevel_(uiLevel), reinstallMode_(reinstallMode),
      transforms_(std::move(commandLineTransforms)), messageTitle_(std::move(messageTitle)) {}

void InstallerOperations::ApplyCommandLineTransforms(const PackageInfo& package) {
    const std::wstring& path = package.InstallerDatabase();
    // A database takes the command line's transforms once: a second pass would fail on the tables the
    // first one changed.
    if (transforms_.empty() || !transformed_.insert(path).second)
        return;
    ICBSMSIDatabase database(path, false);
    if (!database.Handle()) {
        log_.Write(kLogLevelOperation,
                   L"VNT (c): Cannot open MIS database file %s. No transformations applied.", path);
        return;
    }
    log_.Write(kLogLevelOperation, L"VNT (c): Applying transformations: %s\r\n", transforms_);
    if (database.ApplyTransforms(TransformPlan::SplitTransformList(transforms_),
                                 ICBSFileUtilities::CurrentFolder(), FolderPart(path)))
        log_.Write(kLogLevelProgress, L"VNT (c): Transformations successfully applied\r\n");
    else
        log_.Write(kLogLevelOperation, L"VNT (c): Transformations failed\r\n");
}

int32_t InstallerOperations::CountRestartAsSuccess(uint32_t error) {
    const auto result = static_cast<int32_t>(error);
    if (!IsRestartSuccess(result))
        return result;
    log_.Write(kLogLevelOperation, L"VNT (c): Remark: ignoring specific success code = %d\r\n", result);
    return 0;
}

int32_t InstallerOperations::RunInstaller(const PackageInfo& package, const std::wstring& properties) {
    WindowsInstaller::SetInternalUI(uiLevel_);
    ApplyCommandLineTransforms(package);
    UINT error = ERROR_SUCCESS;
    {
        const InstallerLogLease lease(log_);
        const ExternalHandlerScope handler(&messageTitle_);
        error = WindowsInstaller::InstallProduct(package.InstallerDatabase(), properties);
    }
    return CountRestartAsSuccess(error);
}

int32_t InstallerOperations::ReinstallProduct(const PackageInfo& package) {
    WindowsInstaller::SetInternalUI(uiLevel_);
    UINT error = kInstallFailure;
    {
        const InstallerLogLease lease(log_);
        if (!package.ProductCode().empty())
            error = WindowsInstaller::ReinstallProduct(package.ProductCode(), reinstallMode_);
    }
    return CountRestartAsSuccess(error);
}
