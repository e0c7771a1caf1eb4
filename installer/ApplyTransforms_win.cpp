// Applying command-line transforms to an unpacked installer database and supplying the files they add.
//
// The transforms are first applied, each in view mode and then for real, to a read-only handle that is
// thrown away: its "_TransformView" table says which files they add. The database's own handle then
// receives the transforms for real only. Committing a handle that also held the view of a transform
// loses the strings of the transformed rows under Wine's installer, and a read-only handle cannot leak
// anything into the file.
#include "installer/MSIDatabase_win.h"

#include "support/FilePath.h"
#include "support/FileUtilities_win.h"

namespace {

// MsiDatabaseApplyTransform error conditions: 0 applies the transform; the view flag only lists its
// changes in the temporary table "_TransformView".
constexpr int kApplyTransform = 0;
constexpr int kViewTransform = 0x100;

// Columns of "_TransformView", of the File table ("SELECT *") and of the Media query below.
constexpr UINT kViewTable = 1, kViewColumn = 2, kViewRow = 3;
constexpr UINT kFileName = 3, kFileAttributes = 7, kFileSequence = 8;
constexpr UINT kMediaLastSequence = 1, kMediaCabinet = 2;

// What the transforms would do, learnt on a throw-away handle.
struct TransformInspection {
    size_t applicable = 0; // the leading references that could be applied
    bool allApplicable = false;
    std::vector<TransformPlan::InsertedFileRow> insertedFiles;
    std::vector<TransformPlan::MediaRow> media;
};

// The path of a reference that names a transform file, or nothing.
std::optional<std::wstring> TransformFile(const std::wstring& reference) {
    const auto parsed = TransformPlan::ParseTransformReference(reference);
    if (parsed.kind != TransformPlan::TransformReference::Kind::File)
        return std::nullopt;
    return parsed.path;
}

TransformInspection Inspect(const std::wstring& path, const std::vector<std::wstring>& references) {
    TransformInspection inspection;
    MsiHandle database;
    if (WindowsInstaller::OpenDatabase(path, MsiPersist::ReadOnly(), database) != ERROR_SUCCESS)
        return inspection;
    for (const std::wstring& reference : references) {
        const auto file = TransformFile(reference);
        if (!file ||
            WindowsInstaller::ApplyTransform(database.Get(), *file, kViewTransform) != ERROR_SUCCESS ||
            WindowsInstaller::ApplyTransform(database.Get(), *file, kApplyTransform) != ERROR_SUCCESS)
            return inspection;
        ++inspection.applicable;
    }
    inspection.allApplicable = true;

    ICBSMSIDatabaseQuery changes(database.Get(), L"SELECT * FROM _TransformView");
    while (changes.Fetch() == ERROR_SUCCESS) {
        // Only rows inserted into the File table bring a file the package does not have yet.
        if (changes.GetString(kViewTable) != L"File" || changes.GetString(kViewColumn) != L"INSERT")
            continue;
        ICBSMSIDatabaseQuery file(database.Get(), L"SELECT * FROM File WHERE File=?", L"%s",
                                  changes.GetString(kViewRow));
        TransformPlan::InsertedFileRow row;
        if (file.Fetch() == ERROR_SUCCESS)
            row = {true, file.GetString(kFileName), file.GetInteger(kFileAttributes),
                   file.GetInteger(kFileSequence)};
        inspection.insertedFiles.push_back(row);
    }
    ICBSMSIDatabaseQuery media(database.Get(), L"SELECT LastSequence, Cabinet FROM Media");
    while (media.Fetch() == ERROR_SUCCESS)
        inspection.media.push_back({media.GetInteger(kMediaLastSequence), media.GetString(kMediaCabinet)});
    return inspection;
}

// Every inserted file is tried, so that one missing file does not hide the others.
bool SupplyInsertedFiles(const TransformInspection& inspection, const std::wstring& sourceFolder,
                         const std::wstring& targetFolder) {
    const std::wstring source = TransformPlan::FolderWithSeparator(sourceFolder);
    const std::wstring target = TransformPlan::FolderWithSeparator(targetFolder);
    bool result = true;
    for (const auto& row : inspection.insertedFiles) {
        if (!row.found) {
            result = false;
            continue;
        }
        const auto copy = TransformPlan::DecideInsertedFileCopy(row.attributes, row.fileName, row.sequence,
                                                                inspection.media);
        using Kind = TransformPlan::InsertedFileCopy::Kind;
        if (copy.kind == Kind::Fail)
            result = false;
        // An existing target is kept and counts as a failure.
        else if (copy.kind != Kind::Nothing &&
                 !ICBSFileUtilities::CopyFile(source + copy.name, target + copy.name, true))
            result = false;
    }
    return result;
}

} // namespace

bool ICBSMSIDatabase::ApplyTransforms(const std::vector<std::wstring>& references,
                                      const std::wstring& sourceFolder, const std::wstring& targetFolder) {
    if (!handle_ || !ownsHandle_)
        return false;
    // The database's own handle keeps the file open exclusively, so it steps aside for the inspection.
    if (modified_ && WindowsInstaller::Commit(handle_.Get()) != ERROR_SUCCESS)
        WindowsInstaller::GetLastErrorRecord();
    handle_.Close();
    const TransformInspection inspection = Inspect(path_, references);
    if (WindowsInstaller::OpenDatabase(path_, MsiPersist::Direct(), handle_) != ERROR_SUCCESS) {
        handle_.Close();
        return false;
    }
    // Transforms before the first one that fails stay applied.
    for (size_t i = 0; i < inspection.applicable; ++i) {
        if (WindowsInstaller::ApplyTransform(handle_.Get(), *TransformFile(references[i]), kApplyTransform) !=
            ERROR_SUCCESS)
            return false;
        modified_ = true;
    }
    if (!inspection.allApplicable)
        return false;
    return SupplyInsertedFiles(inspection, sourceFolder, targetFolder);
}

void ApplyTransformListToDatabase(const std::wstring& databasePath, const std::wstring& transformList,
                                  const std::wstring& sourceFolder,
                                  const std::function<void(int level, const std::wstring& line)>& log) {
    const std::wstring targetFolder = ICBSFilePath(databasePath).Folder().ToString(true);
    ICBSMSIDatabase database(databasePath, false);
    if (!database.Handle()) {
        log(2, L"VNT (c): Cannot open MIS database file " + databasePath + L". No transformations applied.");
        return;
    }
    const auto references = TransformPlan::SplitTransformList(transformList);
    log(2, L"VNT (c): Applying transformations: " + transformList + L"\r\n");
    if (database.ApplyTransforms(references, sourceFolder, targetFolder))
        log(3, L"VNT (c): Transformations successfully applied\r\n");
    else
        log(2, L"VNT (c): Transformations failed\r\n");
}
