#include "extraction/CabinetStreams_win.h"

#include "extraction/DestinationWriter_win.h"
#include "support/Handle_win.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace CabinetStreams {
namespace {

// The C runtime's open and permission flags, as FDI passes them.
constexpr int kOpenModeMask = 0x3;
constexpr int kOpenWriteOnly = 0x1;
constexpr int kOpenReadWrite = 0x2;
constexpr int kOpenCreate = 0x100;
constexpr int kPermitRead = 0x100;
constexpr int kPermitWrite = 0x80;

constexpr size_t kMaxStreams = 200;

// One open stream: the cabinet (embedded or a file) or another file FDI reads, or a destination file.
struct Stream {
    std::optional<EmbeddedCabinetStream> embedded;
    FileHandle file;                                  // a file read (or written) here
    std::shared_ptr<DestinationWriter::File> written; // a destination file, written by the writer
    bool isCabinet = false;                           // progress is reported from reads of the cabinet
    int64_t fileSize = -1;                            // fetched at the first read
    int64_t filePosition = 0;
    ICBSCabinetProgressCallbacks* receiver = nullptr;
};

class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void Enter() { EnterCriticalSection(&section_); }
    void Leave() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class Lock {
public:
    explicit Lock(CriticalSection& section) : section_(section) { section_.Enter(); }
    ~Lock() { section_.Leave(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CriticalSection& section_;
};

// Stream numbers run from 1: FDI reads a destination stream number of 0 as "skip this file".
class StreamTable {
public:
    INT_PTR Add(std::unique_ptr<Stream> stream) {
        Lock lock(section_);
        for (size_t i = 0; i < streams_.size(); ++i) {
            if (!streams_[i]) {
                streams_[i] = std::move(stream);
                return static_cast<INT_PTR>(i + 1);
            }
        }
        return -1;
    }
    // The stream stays valid until Remove: FDI uses and closes each stream on its own thread.
    Stream* Find(INT_PTR number) {
        Lock lock(section_);
        return IsInRange(number) ? streams_[number - 1].get() : nullptr;
    }
    std::unique_ptr<Stream> Remove(INT_PTR number) {
        Lock lock(section_);
        return IsInRange(number) ? std::move(streams_[number - 1]) : nullptr;
    }
    std::vector<std::unique_ptr<Stream>> TakeAll() {
        Lock lock(section_);
        std::vector<std::unique_ptr<Stream>> taken;
        for (auto& stream : streams_) {
            if (stream)
                taken.push_back(std::move(stream));
        }
        return taken;
    }

private:
    static bool IsInRange(INT_PTR number) {
        return number >= 1 && number <= static_cast<INT_PTR>(kMaxStreams);
    }

    CriticalSection section_;
    std::array<std::unique_ptr<Stream>, kMaxStreams> streams_;
};

StreamTable& Streams() {
    static StreamTable table;
    return table;
}

// The rest of the shared state is written only by the extracting thread, between and around FDICopy.
std::optional<EmbeddedCabinet> g_embedded;
std::wstring g_cabinetFile;
ICBSCabinetProgressCallbacks* g_receiver = nullptr;
std::unique_ptr<DestinationWriter> g_writer;
bool g_diskFull = false;
bool g_writeFailed = false;

std::wstring FromAnsi(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1)
        return {};
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(length - 1);
    return wide;
}

// A file FDI opens itself: the cabinet file, or (never for single cabinets) another one it names.
INT_PTR OpenReadStream(const std::wstring& path, int openFlags, int permission, bool isCabinet) {
    const int mode = openFlags & kOpenModeMask;
    // Read access follows the open mode alone: FDI asks to open the cabinet with write permission too, and
    // a read-only cabinet file must still extract.
    DWORD access = GENERIC_READ;
    if (mode == kOpenWriteOnly)
        access = GENERIC_WRITE;
    else if (mode == kOpenReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;
    DWORD sharing = FILE_SHARE_READ;
    if ((permission & kPermitWrite) || mode == kOpenWriteOnly || mode == kOpenReadWrite)
        sharing |= FILE_SHARE_WRITE;
    auto stream = std::make_unique<Stream>();
    stream->file.Attach(
        CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!stream->file)
        return -1;
    stream->isCabinet = isCabinet;
    stream->receiver = g_receiver;
    return Streams().Add(std::move(stream));
}

void ReportProgress(const Stream& stream, uint32_t position, int percent) {
    if (!stream.isCabinet || !stream.receiver)
        return;
    stream.receiver->ReportBytes(position);
    stream.receiver->ReportPercent(percent);
}

UINT ReadFileStream(Stream& stream, void* buffer, UINT count) {
    if (stream.fileSize < 0) {
        LARGE_INTEGER size = {};
        stream.fileSize = GetFileSizeEx(stream.file.Get(), &size) ? size.QuadPart : 0;
    }
    DWORD read = 0;
    if (!ReadFile(stream.file.Get(), buffer, count, &read, nullptr))
        return static_cast<UINT>(-1);
    stream.filePosition += read;
    // The position, not the sum of all reads: FDI reads the headers more than once.
    const int64_t size = stream.fileSize;
    const int percent =
        size > 0 ? static_cast<int>(std::min<int64_t>(stream.filePosition * 100 / size, 100)) : 100;
    ReportProgress(stream, static_cast<uint32_t>(stream.filePosition), percent);
    return read;
}

} // namespace

void BeginExtraction(std::optional<EmbeddedCabinet> embedded, const std::wstring& cabinetFile,
                     ICBSCabinetProgressCallbacks* receiver) {
    g_embedded = embedded;
    g_cabinetFile = cabinetFile;
    g_receiver = receiver;
    g_writer = std::make_unique<DestinationWriter>();
    ClearDiskFull();
}

bool EndExtraction() {
    // Streams FDI left open after a failure: a destination file keeps what was decompressed into it.
    for (const auto& stream : Streams().TakeAll()) {
        if (stream->written && g_writer)
            g_writer->Close(stream->written);
    }
    bool written = true;
    if (g_writer) {
        g_writer->Drain();
        g_diskFull = g_writer->DiskFull();
        g_writeFailed = g_writer->Failed();
        written = !g_writeFailed;
        g_writer.reset();
    }
    g_embedded.reset();
    g_cabinetFile.clear();
    g_receiver = nullptr;
    return written;
}

bool DiskFull() {
    return g_writer ? g_writer->DiskFull() : g_diskFull;
}

bool WriteFailed() {
    return g_writer ? g_writer->Failed() : g_writeFailed;
}

void ClearDiskFull() {
    g_diskFull = false;
    g_writeFailed = false;
}

INT_PTR CreateDestinationFile(const std::wstring& path) {
    if (!g_writer)
        return -1;
    // Before the file exists: the writer creates it after this, behind the decompressor.
    if (g_receiver)
        g_receiver->FileStarted(path);
    auto stream = std::make_unique<Stream>();
    stream->written = g_writer->Create(path);
    const auto written = stream->written;
    const INT_PTR number = Streams().Add(std::move(stream));
    if (number < 0)
        g_writer->Close(written);
    return number;
}

bool DosDateTimeToUniversal(USHORT dosDate, USHORT dosTime, FILETIME& universal) {
    FILETIME local = {};
    return DosDateTimeToFileTime(dosDate, dosTime, &local) && LocalFileTimeToFileTime(&local, &universal);
}

bool SetCreationTimeFromDos(INT_PTR number, USHORT dosDate, USHORT dosTime) {
    Stream* stream = Streams().Find(number);
    FILETIME universal = {};
    if (!stream || !stream->written || !g_writer || !DosDateTimeToUniversal(dosDate, dosTime, universal))
        return false;
    // Only the creation time: the last write time tells when the file arrived on this machine.
    g_writer->SetCreationTime(stream->written, universal);
    return true;
}

bool IsFileStream(INT_PTR number) {
    const Stream* stream = Streams().Find(number);
    return stream && (stream->file || stream->written);
}

FNALLOC(Allocate) {
    return std::malloc(cb);
}

FNFREE(Release) {
    std::free(pv);
}

FNOPEN(Open) {
    if (oflag & kOpenCreate) {
        const std::wstring path = FromAnsi(pszFile);
        return path.empty() ? -1 : CreateDestinationFile(path);
    }
    if (g_embedded) {
        // Whatever name FDI asks for, there is only the one cabinet, read in place.
        auto stream = std::make_unique<Stream>();
        stream->embedded.emplace(*g_embedded);
        stream->isCabinet = true;
        stream->receiver = g_receiver;
        return Streams().Add(std::move(stream));
    }
    if (!g_cabinetFile.empty() && std::strcmp(pszFile, kCabinetName) == 0)
        return OpenReadStream(g_cabinetFile, oflag, pmode, true);
    const std::wstring path = FromAnsi(pszFile);
    return path.empty() ? -1 : OpenReadStream(path, oflag, pmode, false);
}

FNREAD(Read) {
    Stream* stream = Streams().Find(hf);
    if (!stream || stream->written)
        return static_cast<UINT>(-1);
    if (stream->file)
        return ReadFileStream(*stream, pv, cb);
    const UINT read = stream->embedded->Read(pv, cb);
    ReportProgress(*stream, stream->embedded->Position(), stream->embedded->PercentRead());
    return read;
}

FNWRITE(Write) {
    Stream* stream = Streams().Find(hf);
    if (!stream || !stream->written || !g_writer)
        return 0;
    // A failed write shows later, in the writer; once it has, the decompressor is told at once.
    if (g_writer->Failed())
        return static_cast<UINT>(-1);
    g_writer->Write(stream->written, pv, cb);
    return cb;
}

FNCLOSE(Close) {
    std::unique_ptr<Stream> stream = Streams().Remove(hf);
    if (!stream)
        return -1;
    if (stream->written && g_writer)
        g_writer->Close(stream->written);
    return 0;
}

FNSEEK(Seek) {
    Stream* stream = Streams().Find(hf);
    if (!stream || stream->written)
        return -1;
    if (!stream->file)
        return stream->embedded->Seek(dist, seektype);
    LARGE_INTEGER distance = {};
    distance.QuadPart = dist;
    LARGE_INTEGER position = {};
    if (!SetFilePointerEx(stream->file.Get(), distance, &position, static_cast<DWORD>(seektype)) ||
        position.QuadPart > INT32_MAX)
        return -1;
    stream->filePosition = position.QuadPart;
    return static_cast<LONG>(position.QuadPart);
}

} // namespace CabinetStreams
