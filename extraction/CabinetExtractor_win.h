// CabinetExtractor: unpacks every file of one cabinet into a destination folder through the platform's
// cabinet decompressor. The cabinet is either embedded in the launcher (a type-40 resource: a 32-bit byte
// count, then the cabinet, read in place from the locked resource) or a file on disk. One object per
// extraction, owned by the caller; everything an extraction works on belongs to it (see CabinetStreams), so
// extractions on different threads may run at the same time.
#pragma once

#include "extraction/EmbeddedCabinet.h"
#include "extraction/ICBSCabinetProgressCallbacks.h"
#include "support/Handle_win.h"

#include <optional>
#include <string>

// What became of an extraction. Files written before a failure stay where they are.
enum class ExtractionOutcome {
    Extracted, // the whole cabinet
    DiskFull,  // a destination file could not be created or written for lack of disk space
    Failed,    // anything else: no cabinet or a damaged one, an unsafe entry name, a file not written
};

class CabinetExtractor {
public:
    // An embedded cabinet: the type-40 resource resourceName of the launcher's own module. A missing
    // resource makes ExtractAll fail.
    static CabinetExtractor FromResource(const std::wstring& resourceName,
                                         const std::wstring& destinationFolder);
    // A cabinet file on disk. An empty path makes ExtractAll fail.
    static CabinetExtractor FromFile(const std::wstring& cabinetPath, const std::wstring& destinationFolder);
    // Cabinet bytes in memory in the resource layout (byte count, then the cabinet), read in place; the
    // memory must outlive the extractor.
    static CabinetExtractor FromMemory(const void* prefixedCabinet, size_t size,
                                       const std::wstring& destinationFolder);
    ~CabinetExtractor();
    CabinetExtractor(const CabinetExtractor&) = delete;
    CabinetExtractor& operator=(const CabinetExtractor&) = delete;

    // Extracts every file, reporting to receiver (may be null) on the calling thread.
    ExtractionOutcome ExtractAll(ICBSCabinetProgressCallbacks* receiver);

    // Whether the embedded cabinet was found (always false for a cabinet file).
    bool HasEmbeddedCabinet() const { return embedded_.has_value(); }

private:
    CabinetExtractor(std::optional<EmbeddedCabinet> embedded, const std::wstring& cabinetFile,
                     const std::wstring& destinationFolder);

    std::wstring cabinetFile_;
    std::optional<EmbeddedCabinet> embedded_;
    std::wstring destinationFolder_;
    ERF error_ = {};
    FdiContext context_;
};
