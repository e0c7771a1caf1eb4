#include "installer/MSIDatabase_win.h"

ICBSMSIDatabase::ICBSMSIDatabase(const std::wstring& path, bool create) : path_(path), modified_(create) {
    if (WindowsInstaller::OpenDatabase(path, create ? MsiPersist::CreateDirect() : MsiPersist::Direct(),
                                       handle_) != ERROR_SUCCESS)
        handle_.Close();
}

ICBSMSIDatabase::~ICBSMSIDatabase() {
    if (!ownsHandle_) {
        handle_.Detach();
        return;
    }
    if (handle_ && modified_ && WindowsInstaller::Commit(handle_.Get()) != ERROR_SUCCESS)
        WindowsInstaller::GetLastErrorRecord(); // released unread: the caller learns nothing here
}

ICBSMSIDatabaseSQLStatement::ICBSMSIDatabaseSQLStatement(MSIHANDLE database, const std::wstring& sql,
                                                         const wchar_t* format, const Parameters& parameters)
    : database_(database), status_(database ? ERROR_SUCCESS : ERROR_BADDB) {
    if (!database)
        return;
    status_ = WindowsInstaller::OpenView(database, sql, view_);
    if (status_ != ERROR_SUCCESS) {
        view_.Close();
        return;
    }
    if (!format) {
        status_ = WindowsInstaller::ViewExecute(view_.Get(), 0);
        return;
    }
    const auto binding = TransformPlan::BindParameters(format, parameters);
    if (!binding) {
        status_ = ERROR_INVALID_PARAMETER;
        view_.Close(); // an unexecuted view must not be fetched from
        return;
    }
    parameters_ = WindowsInstaller::CreateRecord(binding->recordFields);
    for (const auto& bound : binding->fields) {
        if (const int* number = std::get_if<int>(&bound.value))
            WindowsInstaller::RecordSetInteger(parameters_.Get(), bound.field, *number);
        else
            WindowsInstaller::RecordSetString(parameters_.Get(), bound.field,
                                              std::get<std::wstring>(bound.value));
    }
    status_ = WindowsInstaller::ViewExecute(view_.Get(), parameters_.Get());
}

ICBSMSIDatabaseSQLStatement::~ICBSMSIDatabaseSQLStatement() = default;

ICBSMSIDatabaseQuery::~ICBSMSIDatabaseQuery() = default;

UINT ICBSMSIDatabaseQuery::Fetch() {
    row_.Close();
    if (!view_)
        return ERROR_INVALID_HANDLE;
    return WindowsInstaller::ViewFetch(view_.Get(), row_);
}

std::wstring ICBSMSIDatabaseQuery::GetString(UINT field) const {
    if (!view_ || !row_)
        return {};
    std::wstring value = WindowsInstaller::RecordGetString(row_.Get(), field).value_or(L"");
    if (value.size() > kMaxStringField)
        value.resize(kMaxStringField);
    return value;
}

int ICBSMSIDatabaseQuery::GetInteger(UINT field) const {
    if (!view_ || !row_)
        return 0;
    return WindowsInstaller::RecordGetInteger(row_.Get(), field);
}
