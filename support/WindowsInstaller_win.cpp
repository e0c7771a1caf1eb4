#include "support/WindowsInstaller_win.h"

namespace WindowsInstaller {

INSTALLUILEVEL SetInternalUI(int level) {
    return MsiSetInternalUI(static_cast<INSTALLUILEVEL>(level), nullptr);
}

INSTALLUI_HANDLERW SetExternalUI(INSTALLUI_HANDLERW handler, DWORD messageFilter, void* context) {
    return MsiSetExternalUIW(handler, messageFilter, context);
}

UINT EnableLog(DWORD logMode, const std::wstring& file, DWORD attributes) {
    return MsiEnableLogW(logMode, file.c_str(), attributes);
}

UINT InstallProduct(const std::wstring& packagePath, const std::wstring& properties) {
    return MsiInstallProductW(packagePath.c_str(), properties.c_str());
}

UINT ReinstallProduct(const std::wstring& productCode, DWORD reinstallMode) {
    return MsiReinstallProductW(productCode.c_str(), reinstallMode);
}

namespace {
// Calls a Windows Installer getter that takes a buffer and its size in characters, growing the buffer
// when the text is longer.
template <class Getter> std::optional<std::wstring> ReadText(Getter get, DWORD initial = 256) {
    std::wstring buffer(initial, L'\0');
    DWORD size = initial;
    UINT error = get(buffer.data(), &size);
    if (error == ERROR_MORE_DATA) {
        buffer.assign(size + 1, L'\0');
        size += 1;
        error = get(buffer.data(), &size);
    }
    if (error != ERROR_SUCCESS)
        return std::nullopt;
    buffer.resize(size);
    return buffer;
}
} // namespace

std::optional<std::wstring> GetProductInfo(const std::wstring& productCode, const std::wstring& property) {
    return ReadText([&](wchar_t* buffer, DWORD* size) {
        return MsiGetProductInfoW(productCode.c_str(), property.c_str(), buffer, size);
    });
}

std::vector<std::wstring> EnumProducts() {
    std::vector<std::wstring> products;
    for (DWORD index = 0;; ++index) {
        wchar_t code[39] = {};
        if (MsiEnumProductsW(index, code) != ERROR_SUCCESS)
            break;
        products.emplace_back(code);
    }
    return products;
}

UINT OpenDatabase(const std::wstring& path, LPCWSTR persist, MsiHandle& database) {
    return MsiOpenDatabaseW(path.c_str(), persist, database.Receive());
}

UINT OpenView(MSIHANDLE database, const std::wstring& query, MsiHandle& view) {
    return MsiDatabaseOpenViewW(database, query.c_str(), view.Receive());
}

UINT ViewExecute(MSIHANDLE view, MSIHANDLE record) {
    return MsiViewExecute(view, record);
}

UINT ViewFetch(MSIHANDLE view, MsiHandle& record) {
    return MsiViewFetch(view, record.Receive());
}

MsiHandle CreateRecord(UINT fields) {
    return MsiHandle(MsiCreateRecord(fields));
}

UINT RecordSetInteger(MSIHANDLE record, UINT field, int value) {
    return MsiRecordSetInteger(record, field, value);
}

UINT RecordSetString(MSIHANDLE record, UINT field, const std::wstring& value) {
    return MsiRecordSetStringW(record, field, value.c_str());
}

int RecordGetInteger(MSIHANDLE record, UINT field) {
    return MsiRecordGetInteger(record, field);
}

std::optional<std::wstring> RecordGetString(MSIHANDLE record, UINT field) {
    return ReadText(
        [&](wchar_t* buffer, DWORD* size) { return MsiRecordGetStringW(record, field, buffer, size); });
}

UINT ApplyTransform(MSIHANDLE database, const std::wstring& transform, int errorConditions) {
    return MsiDatabaseApplyTransformW(database, transform.c_str(), errorConditions);
}

UINT Commit(MSIHANDLE database) {
    return MsiDatabaseCommit(database);
}

MsiHandle GetLastErrorRecord() {
    return MsiHandle(MsiGetLastErrorRecord());
}

std::optional<std::wstring> FormatRecord(MSIHANDLE install, MSIHANDLE record) {
    return ReadText(
        [&](wchar_t* buffer, DWORD* size) { return MsiFormatRecordW(install, record, buffer, size); });
}

} // namespace WindowsInstaller
