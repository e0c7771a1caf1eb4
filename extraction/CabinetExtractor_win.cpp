#include "extraction/CabinetExtractor_win.h"

#include "extraction/CabinetEntryPath.h"
#include "extraction/CabinetStreams_win.h"
#include "support/CodePage_win.h"

#include <string>

namespace {

constexpr WORD kPackageResourceType = 40;

// What the notification callback works on, handed to it by FDICopy.
struct Extraction {
    const std::wstring& destinationFolder;
    CabinetStreams& streams;
};

FNFDINOTIFY(Notify) {
    Extraction& extraction = *static_cast<Extraction*>(pfdin->pv);
    switch (fdint) {
    case fdintCOPY_FILE: {
        // A file already cut short: stop rather than go on writing into a full disk.
        if (extraction.streams.WriteFailed())
            return -1;
        // A name that is absolute, carries a drive or climbs out of the destination, or a path that does
        // not fit, stops the extraction: nothing is written anywhere but below the destination.
        const bool flaggedUtf8 = (pfdin->attribs & _A_NAME_IS_UTF) != 0;
        const auto path = ComposeExtractionPath(extraction.destinationFolder,
                                                DecodeCabinetEntryName(pfdin->psz1, flaggedUtf8));
        if (!path)
            return -1;
        return extraction.streams.CreateDestinationFile(*path);
    }
    case fdintCLOSE_FILE_INFO:
        if (CabinetStreams::IsFileStream(pfdin->hf))
            CabinetStreams::SetCreationTimeFromDos(pfdin->hf, pfdin->date, pfdin->time); // failure ignored
        CabinetStreams::Close(pfdin->hf);
        return extraction.streams.WriteFailed() ? -1 : TRUE; // a file cut short is no success
    case fdintNEXT_CABINET:
        // Only single cabinets are carried or downloaded. Going on would reopen the same embedded cabinet
        // as the "next" one, which the decompressor refuses and asks for again, without end.
        return -1;
    default:
        return 0;
    }
}

} // namespace

CabinetExtractor CabinetExtractor::FromResource(const std::wstring& resourceName,
                                                const std::wstring& destinationFolder) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, resourceName.c_str(), MAKEINTRESOURCEW(kPackageResourceType));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    // The locked resource stays mapped with the module: the cabinet is read from there, never copied.
    return CabinetExtractor(data ? EmbeddedCabinet::FromResource(data, SizeofResource(module, resource))
                                 : std::nullopt,
                            {}, destinationFolder);
}

CabinetExtractor CabinetExtractor::FromFile(const std::wstring& cabinetPath,
                                            const std::wstring& destinationFolder) {
    return CabinetExtractor(std::nullopt, cabinetPath, destinationFolder);
}

CabinetExtractor CabinetExtractor::FromMemory(const void* prefixedCabinet, size_t size,
                                              const std::wstring& destinationFolder) {
    return CabinetExtractor(EmbeddedCabinet::FromResource(prefixedCabinet, size), {}, destinationFolder);
}

CabinetExtractor::CabinetExtractor(std::optional<EmbeddedCabinet> embedded, const std::wstring& cabinetFile,
                                   const std::wstring& destinationFolder)
    : cabinetFile_(cabinetFile), embedded_(embedded), destinationFolder_(destinationFolder) {
    // Entry names in the ANSI code page are read through the system's converter. The launcher installs it
    // at start; a program that only extracts must not find every such name refused.
    UseSystemCodePages();
    context_.Attach(FDICreate(CabinetStreams::Allocate, CabinetStreams::Release, CabinetStreams::Open,
                              CabinetStreams::Read, CabinetStreams::Write, CabinetStreams::Close,
                              CabinetStreams::Seek, cpuUNKNOWN, &error_));
}

CabinetExtractor::~CabinetExtractor() = default;

ExtractionOutcome CabinetExtractor::ExtractAll(ICBSCabinetProgressCallbacks* receiver) {
    if (!context_ || (!embedded_ && cabinetFile_.empty()))
        return ExtractionOutcome::Failed;
    CabinetStreams streams(embedded_, cabinetFile_, receiver);
    Extraction extraction{destinationFolder_, streams};
    // FDI joins path and name and asks the open callback for that: the path names this extraction's
    // streams, which know the real cabinet.
    std::string name = CabinetStreams::kCabinetName;
    std::string path = streams.CabinetPath();
    const bool copied =
        FDICopy(context_.Get(), name.data(), path.data(), 0, Notify, nullptr, &extraction) != FALSE;
    // Every file is on disk after this; a short write is a failure even when the decompressor carried on.
    const CabinetStreams::Outcome written = streams.Finish();
    if (copied && written.written)
        return ExtractionOutcome::Extracted;
    return written.diskFull ? ExtractionOutcome::DiskFull : ExtractionOutcome::Failed;
}
