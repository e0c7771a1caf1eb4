// The decisions behind applying command-line transforms to an installer database, kept free of Windows
// Installer so that they can be tested natively: how a transform reference reads, how "?" parameters
// bind to a query, and which file or cabinet a row added to the File table needs beside the database.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace TransformPlan {

// One entry of a TRANSFORMS list as Windows Installer writes it.
struct TransformReference {
    enum class Kind {
        Invalid,  // empty: there is nothing to apply
        Embedded, // ":name": a transform stored inside the database; this launcher cannot apply those
        File,     // a transform file; path holds it without the secure-transform marker
    };
    Kind kind = Kind::Invalid;
    std::wstring path;
};
TransformReference ParseTransformReference(const std::wstring& reference);

// The list split at ";" into references, empty pieces kept (an empty reference fails the apply step).
std::vector<std::wstring> SplitTransformList(const std::wstring& list);

// The folder with a trailing backslash (an empty folder becomes "\").
std::wstring FolderWithSeparator(const std::wstring& folder);

// A value for one "?" marker of a query.
using QueryParameter = std::variant<int, std::wstring>;
struct BoundParameter {
    unsigned field; // 1-based field of the parameter record
    QueryParameter value;
};
struct ParameterBinding {
    unsigned recordFields = 0; // the format's length divided by two
    std::vector<BoundParameter> fields;
};
// Binds the arguments to the "%s" / "%d" markers of format, in order; other characters are skipped.
// Nothing when a marker has no argument or one of the other type: a half-bound query would silently
// select the wrong rows.
std::optional<ParameterBinding> BindParameters(const std::wstring& format,
                                               const std::vector<QueryParameter>& args);

// File table attribute bits that say where an installed file comes from.
inline constexpr int kFileAttributeNonCompressed = 0x2000;
inline constexpr int kFileAttributeCompressed = 0x4000;

// One row of "SELECT LastSequence, Cabinet FROM Media".
struct MediaRow {
    int lastSequence = 0;
    std::wstring cabinet;
};

// A row that the transforms insert into the File table, as the transformed database has it.
struct InsertedFileRow {
    bool found = false; // the key is in the File table after all transforms
    std::wstring fileName;
    int attributes = 0;
    int sequence = 0;
};

// What a file that a transform inserts into the File table needs in the target folder.
struct InsertedFileCopy {
    enum class Kind {
        SourceFile, // name: the file itself, from an uncompressed source
        Cabinet,    // name: the cabinet that holds it
        Nothing,    // the file's cabinet is stored inside the database and travels with it
        Fail,       // no way to supply the file: neither bit set, no media, or an unusable name
    };
    Kind kind = Kind::Fail;
    std::wstring name;
};
InsertedFileCopy DecideInsertedFileCopy(int attributes, const std::wstring& fileName, int sequence,
                                        const std::vector<MediaRow>& media);

// The name a file has in an uncompressed source: the long part of a "short|long" FileName value.
std::wstring SourceFileName(const std::wstring& fileName);
// A bare file name that stays inside the folder it is joined to (no separators, drive or "..").
bool IsPlainFileName(const std::wstring& name);

} // namespace TransformPlan
