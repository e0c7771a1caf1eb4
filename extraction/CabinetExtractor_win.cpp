#include "extraction/CabinetExtractor_win.h"

#include "extraction/CabinetEntryPath.h"
#include "extraction/CabinetStreams_win.h"

#include <string>

namespace {

constexpr WORD kPackageResourceType = 40;

std::wstring DecodeEntryName(const char* name, USHORT attributes) {
    // A name flagged as UTF-8 is UTF-8 whatever the ANSI code page is.
    const UINT codePage = (attributes & _A_NAME_IS_UTF) ? CP_UTF8 : CP_ACP;
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, name, -1, nullptr, 0);
    if (length <= 1)
        return {};
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, name, -1, wide.data(), length);
    wide.resize(length - 1);
    return wide;
}

// The destination folder of the running extraction, for the notification callback.
const std::wstring* g_destinationFolder = nullptr;

FNFDINOTIFY(Notify) {
    switch (fdint) {
    case fdintCOPY_FILE: {
        // A file already cut short: stop rather than go on writing into a full disk.
        if (CabinetStreams::WriteFailed())
            return -1;
        // A name that is absolute, carries a drive or climbs out of the destination, or a path that does
        // not fit, stops the extraction: nothing is written anywhere but below the destination.
        const auto path =
            ComposeExtractionPath(*g_destinationFolder, DecodeEntryName(pfdin->psz1, pfdin->attribs));
        if (!path)
            return -1;
        return CabinetStreams::CreateDestinationFile(*path);
    }
    case fdintCLOSE_FILE_INFO:
        if (CabinetStreams::IsFileStream(pfdin->hf))
            CabinetStreams::SetCreationTimeFromDos(pfdin->hf, pfdin->date, pfdin->time); // failure ignored
        CabinetStreams::Close(pfdin->hf);
        return CabinetStreams::WriteFailed() ? -1 : TRUE; // a file cut short is no success
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
    CabinetStreams::ClearDiskFull();
    context_.Attach(FDICreate(CabinetStreams::Allocate, CabinetStreams::Release, CabinetStreams::Open,
                              CabinetStreams::Read, CabinetStreams::Write, CabinetStreams::Close,
                              CabinetStreams::Seek, cpuUNKNOWN, &error_));
}

CabinetExtractor::~CabinetExtractor() = default;

bool CabinetExtractor::ExtractAll(ICBSCabinetProgressCallbacks* receiver) {
    if (!context_ || (!embedded_ && cabinetFile_.empty()))
        return false;
    CabinetStreams::BeginExtraction(embedded_, cabinetFile_, receiver);
    g_destinationFolder = &destinationFolder_;
    // FDI joins folder and name and asks the open callback for that; the callback knows the real cabinet.
    std::string name = CabinetStreams::kCabinetName;
    std::string folder;
    const bool copied =
        FDICopy(context_.Get(), name.data(), folder.data(), 0, Notify, nullptr, nullptr) != FALSE;
    g_destinationFolder = nullptr;
    // Every file is on disk after this; a short write is a failure even when the decompressor carried on.
    const bool written = CabinetStreams::EndExtraction();
    const bool extracted = copied && written;
    return extracted;
}

bool CabinetExtractor::DiskFull() {
    return CabinetStreams::DiskFull();
}
