#include "launcher/SetupResult.h"

#include "StringIds.h"
#include "support/Format.h"

namespace {

struct ResultRow {
    int32_t code;
    const wchar_t* text;
    unsigned messageId; // 0: no message box
};

constexpr ResultRow kResults[] = {
    {ResultCode::Corrupted, L"Installer is corrupted.", StringId::ResultCorrupted},
    {ResultCode::InstallFailed, L"Installation failed.", 0},
    {ResultCode::UserCancelled, L"User cancelled installation.", 0},
    {ResultCode::IncompatibleWindows, L"Incompatible Windows Version", StringId::ResultIncompatibleWindows},
    {ResultCode::NoDirect2D, L"Direct 2D not found", StringId::ResultNoDirect2D},
    {ResultCode::AlreadyRunning, L"Another installer was already running.", StringId::ResultAlreadyRunning},
    {ResultCode::NoAdminRights, L"Installation requires admin rights.", StringId::ResultNoAdminRights},
    {ResultCode::OtherVersionInstalled, L"", StringId::ResultOtherVersionInstalled},
    {ResultCode::MsiFileNotFound, L"Could not find MSI-file", StringId::ResultMsiFileNotFound},
    {ResultCode::SixtyFourBitOnThirtyTwo, L"Installing a 64-bit product on a 32-bit system",
     StringId::ResultSixtyFourBitOnThirtyTwo},
    {ResultCode::DiskFull, L"Your disk is full.", StringId::ResultDiskFull},
    {ResultCode::PackageInfoMissing, L"", StringId::ResultPackageInfoMissing},
    {ResultCode::ForbiddenByPolicy, L"", StringId::ResultForbiddenByPolicy},
    {ResultCode::PlatformNotSupported, L"", StringId::ResultPlatformNotSupported},
};

const ResultRow* Find(int32_t code) {
    for (const auto& row : kResults) {
        if (row.code == code)
            return &row;
    }
    return nullptr;
}

} // namespace

std::wstring ResultBaseText(int32_t code) {
    const ResultRow* row = Find(code);
    return row ? row->text : L"";
}

int ResultMessageStringId(int32_t code) {
    const ResultRow* row = Find(code);
    return row ? row->messageId : 0;
}

std::wstring ComposeResultText(int32_t code, int32_t installerError, const std::wstring& systemDescription) {
    const std::wstring base = ResultBaseText(code);
    if (installerError == 0 || systemDescription.empty())
        return base;
    return Format(L"%s (%d - %s)", base, installerError, systemDescription);
}

int32_t ResultCodeForInstallerError(int32_t installerError) {
    switch (installerError) {
    case 1602:
        return ResultCode::UserCancelled;
    case 1620:
        return ResultCode::Corrupted;
    case 1633:
        return ResultCode::SixtyFourBitOnThirtyTwo;
    case 1638:
        return ResultCode::OtherVersionInstalled;
    default:
        return ResultCode::InstallFailed;
    }
}

void ApplyInstallerResult(SetupResult& result, int32_t installerError) {
    if (installerError == 0)
        return;
    result.Set(ResultCodeForInstallerError(installerError), installerError, false);
}
