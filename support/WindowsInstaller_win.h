// The only place that calls msi.dll. Every Windows Installer call the launcher makes goes through these
// functions, so the arguments passed and the results relied on are visible in one file.
#pragma once

#include "support/Handle_win.h"

#include <msi.h>
#include <msiquery.h>

#include <optional>
#include <string>
#include <vector>

struct MsiHandleTraits {
    using Type = MSIHANDLE;
    static Type Invalid() { return 0; }
    static bool Close(Type h) { return MsiCloseHandle(h) == ERROR_SUCCESS; }
};
using MsiHandle = UniqueHandle<MsiHandleTraits>;

namespace WindowsInstaller {

// The user-interface level (2..5, plus 0x80 for the end dialog) of the next operation; no owner window.
INSTALLUILEVEL SetInternalUI(int level);
// Installs handler for the given message filter; returns the handler it replaces.
INSTALLUI_HANDLERW SetExternalUI(INSTALLUI_HANDLERW handler, DWORD messageFilter, void* context);
// Appends the next operations' log to file with the given log-mode bits.
UINT EnableLog(DWORD logMode, const std::wstring& file, DWORD attributes);
UINT InstallProduct(const std::wstring& packagePath, const std::wstring& properties);
UINT ReinstallProduct(const std::wstring& productCode, DWORD reinstallMode);
// The product's property ("PackageCode", "ProductID", "VersionString", "ProductName", "InstallSource"...),
// or nothing when the product or the property is unknown.
std::optional<std::wstring> GetProductInfo(const std::wstring& productCode, const std::wstring& property);
// Every product code Windows Installer knows, in its order.
std::vector<std::wstring> EnumProducts();

// Database access.
UINT OpenDatabase(const std::wstring& path, LPCWSTR persist, MsiHandle& database);
UINT OpenView(MSIHANDLE database, const std::wstring& query, MsiHandle& view);
UINT ViewExecute(MSIHANDLE view, MSIHANDLE record);
UINT ViewFetch(MSIHANDLE view, MsiHandle& record);
MsiHandle CreateRecord(UINT fields);
UINT RecordSetInteger(MSIHANDLE record, UINT field, int value);
UINT RecordSetString(MSIHANDLE record, UINT field, const std::wstring& value);
int RecordGetInteger(MSIHANDLE record, UINT field);
std::optional<std::wstring> RecordGetString(MSIHANDLE record, UINT field);
UINT ApplyTransform(MSIHANDLE database, const std::wstring& transform, int errorConditions);
UINT Commit(MSIHANDLE database);
MsiHandle GetLastErrorRecord();
std::optional<std::wstring> FormatRecord(MSIHANDLE install, MSIHANDLE record);

} // namespace WindowsInstaller
