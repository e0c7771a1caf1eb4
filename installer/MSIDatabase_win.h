// Owners of an open installer database and of SQL views on it. ICBSMSIDatabase owns its database handle
// and commits the database when it ends if a transform changed it; a statement or query owns its view,
// parameter record and current row, but only borrows the database handle, which must outlive it.
#pragma once

#include "installer/TransformPlan.h"
#include "support/WindowsInstaller_win.h"

#include <functional>
#include <string>
#include <vector>

// MsiOpenDatabase persist modes (passed where a path would go).
namespace MsiPersist {
inline LPCWSTR ReadOnly() {
    return reinterpret_cast<LPCWSTR>(0);
}
inline LPCWSTR Direct() {
    return reinterpret_cast<LPCWSTR>(2);
}
inline LPCWSTR CreateDirect() {
    return reinterpret_cast<LPCWSTR>(4);
}
} // namespace MsiPersist

class ICBSMSIDatabase {
public:
    // Opens in direct mode, or creates in create-direct mode; on failure Handle() is 0.
    ICBSMSIDatabase(const std::wstring& path, bool create);
    // Commits first when modified; a failed commit is not reported.
    virtual ~ICBSMSIDatabase();
    ICBSMSIDatabase(const ICBSMSIDatabase&) = delete;
    ICBSMSIDatabase& operator=(const ICBSMSIDatabase&) = delete;

    MSIHANDLE Handle() const { return handle_.Get(); }
    const std::wstring& Path() const { return path_; }
    bool IsModified() const { return modified_; }

    // Applies each transform reference to the database, then copies the files (or their cabinets) that
    // the transforms add to the File table from sourceFolder to targetFolder. False when a transform
    // cannot be applied (later ones are not tried) or when any added file cannot be supplied.
    bool ApplyTransforms(const std::vector<std::wstring>& references, const std::wstring& sourceFolder,
                         const std::wstring& targetFolder);

private:
    std::wstring path_;
    MsiHandle handle_;
    bool modified_;
    bool ownsHandle_ = true;
};

// An executed SQL view; "?" markers take their values from a parameter record.
class ICBSMSIDatabaseSQLStatement {
public:
    using Parameters = std::vector<TransformPlan::QueryParameter>;

    // format: "%s" / "%d" per "?" in sql, in order, or null for a statement without parameters.
    ICBSMSIDatabaseSQLStatement(MSIHANDLE database, const std::wstring& sql, const wchar_t* format,
                                const Parameters& parameters);
    virtual ~ICBSMSIDatabaseSQLStatement();
    ICBSMSIDatabaseSQLStatement(const ICBSMSIDatabaseSQLStatement&) = delete;
    ICBSMSIDatabaseSQLStatement& operator=(const ICBSMSIDatabaseSQLStatement&) = delete;

    // The last installer result of opening and executing the view (0 = success; 1009 without database;
    // 87 when the parameters do not match the format).
    UINT Status() const { return status_; }
    bool HasView() const { return view_.IsValid(); }

protected:
    // Declared so that they close in the order parameters, view, database.
    MsiHandle ownedDatabase_; // stays empty: statements borrow the database
    MSIHANDLE database_;
    MsiHandle view_;
    MsiHandle parameters_;
    UINT status_;
};

// A statement whose result rows are fetched one at a time; fields are numbered from 1.
class ICBSMSIDatabaseQuery : public ICBSMSIDatabaseSQLStatement {
public:
    ICBSMSIDatabaseQuery(MSIHANDLE database, const std::wstring& sql)
        : ICBSMSIDatabaseSQLStatement(database, sql, nullptr, {}) {}
    template <class... Args>
    ICBSMSIDatabaseQuery(MSIHANDLE database, const std::wstring& sql, const wchar_t* format, Args&&... args)
        : ICBSMSIDatabaseSQLStatement(
              database, sql, format, Parameters{TransformPlan::QueryParameter(std::forward<Args>(args))...}) {
    }
    ~ICBSMSIDatabaseQuery() override;

    // 0 when a row was fetched; anything else (the end of the rows included) ends a loop.
    UINT Fetch();
    // The field of the current row, at most kMaxStringField characters; empty without a row.
    std::wstring GetString(UINT field) const;
    // 0 without a row.
    int GetInteger(UINT field) const;

    static constexpr size_t kMaxStringField = 4095; // a 4096-character buffer with its terminator

private:
    MsiHandle row_;
};

// Applies a ";"-separated TRANSFORMS list to the installer database at databasePath, taking the
// transforms and the files they add from sourceFolder and placing the files beside the database, and
// commits the database. Writes its progress through log (level, line). The outcome is only logged:
// the package is installed either way.
void ApplyTransformListToDatabase(const std::wstring& databasePath, const std::wstring& transformList,
                                  const std::wstring& sourceFolder,
                                  const std::function<void(int level, const std::wstring& line)>& log);
