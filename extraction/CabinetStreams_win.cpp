#include "extraction/CabinetStreams_win.h"

#include "support/Handle_win.h"
#include "support/ICBSString.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The C runtime's open and permission flags, as FDI passes them.
constexpr int kOpenModeMask = 0x3;
constexpr int kOpenWriteOnly = 0x1;
constexpr int kOpenReadWrite = 0x2;
constexpr int kOpenCreate = 0x100;
constexpr int kPermitWrite = 0x80;

constexpr size_t kMaxStreams = 200;

// The cabinet path that names a CabinetStreams: this prefix, its address in hexadecimal digits (always
// as many as an address has) and a backslash, so that FDI's joining the cabinet name on keeps both apart.
constexpr char kPathPrefix[] = "extraction-";
constexpr size_t kAddressDigits = sizeof(uintptr_t) * 2;

std::string PathNaming(const void* streams) {
    std::string digits(kAddressDigits, '0');
    auto address = reinterpret_cast<uintptr_t>(streams);
    for (size_t i = kAddressDigits; i-- > 0; address >>= 4)
        digits[i] = "0123456789abcdef"[address & 0xF];
    return kPathPrefix + digits + "\\";
}

std::wstring FromAnsi(const char* text) {
    return ICBSString::FromCodePage(text, kCodePageAnsi).value_or(ICBSString());
}

} // namespace

// One open stream: the cabinet (embedded or a file) or another file FDI reads, or a destination file. Its
// address is the handle FDI knows it by.
struct CabinetStreams::Stream {
    explicit Stream(CabinetStreams& owner) : owner(owner) {}

    CabinetStreams& owner;
    std::optional<EmbeddedCabinetStream> embedded;
    FileHandle file;                                  // a file read (or written) here
    std::shared_ptr<DestinationWriter::File> written; // a destination file, written by the writer
    bool isCabinet = false;                           // progress is reported from reads of the cabinet
    int64_t fileSize = -1;                            // fetched at the first read
    int64_t filePosition = 0;
};

// FDI reads a handle of -1 as a failure and a destination handle of 0 as "skip this file"; a stream's address
// is neither.
CabinetStreams::Stream* CabinetStreams::StreamOf(INT_PTR handle) {
    return handle != 0 && handle != -1 ? reinterpret_cast<Stream*>(handle) : nullptr;
}

CabinetStreams::CabinetStreams(std::optional<EmbeddedCabinet> embedded, const std::wstring& cabinetFile,
                               ICBSCabinetProgressCallbacks* receiver)
    : embedded_(embedded), cabinetFile_(cabinetFile), receiver_(receiver), cabinetPath_(PathNaming(this)) {}

CabinetStreams::~CabinetStreams() {
    Finish();
}

CabinetStreams::Outcome CabinetStreams::Finish() {
    if (outcome_)
        return *outcome_;
    // Streams FDI left open after a failure: a destination file keeps what was decompressed into it.
    for (const auto& stream : TakeAll()) {
        if (stream->written)
            writer_.Close(stream->written);
    }
    writer_.Drain();
    outcome_ = Outcome{!writer_.Failed(), writer_.DiskFull()};
    return *outcome_;
}

CabinetStreams* CabinetStreams::FromCabinetName(const char* name, const char*& rest) {
    const size_t prefix = sizeof kPathPrefix - 1;
    const size_t length = std::strlen(name);
    if (length < prefix + kAddressDigits + 1 || std::strncmp(name, kPathPrefix, prefix) != 0 ||
        name[prefix + kAddressDigits] != '\\')
        return nullptr;
    uintptr_t address = 0;
    const char* digits = name + prefix;
    const auto parsed = std::from_chars(digits, digits + kAddressDigits, address, 16);
    if (parsed.ec != std::errc() || parsed.ptr != digits + kAddressDigits || address == 0)
        return nullptr;
    rest = digits + kAddressDigits + 1;
    return reinterpret_cast<CabinetStreams*>(address);
}

INT_PTR CabinetStreams::Add(std::unique_ptr<Stream> stream) {
    Lock lock(section_);
    if (streams_.size() >= kMaxStreams)
        return -1;
    const auto handle = reinterpret_cast<INT_PTR>(stream.get());
    streams_.push_back(std::move(stream));
    return handle;
}

std::unique_ptr<CabinetStreams::Stream> CabinetStreams::Remove(const Stream* stream) {
    Lock lock(section_);
    const auto found = std::find_if(streams_.begin(), streams_.end(),
                                    [&](const auto& open) { return open.get() == stream; });
    if (found == streams_.end())
        return nullptr;
    std::unique_ptr<Stream> removed = std::move(*found);
    streams_.erase(found);
    return removed;
}

std::vector<std::unique_ptr<CabinetStreams::Stream>> CabinetStreams::TakeAll() {
    Lock lock(section_);
    std::vector<std::unique_ptr<Stream>> taken;
    taken.swap(streams_);
    return taken;
}

// A file FDI opens itself: the cabinet file, or (never for single cabinets) another one it names.
INT_PTR CabinetStreams::OpenReadStream(const std::wstring& path, int openFlags, int permission,
                                       bool isCabinet) {
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
    auto stream = std::make_unique<Stream>(*this);
    stream->file.Attach(
        CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!stream->file)
        return -1;
    stream->isCabinet = isCabinet;
    return Add(std::move(stream));
}

INT_PTR CabinetStreams::OpenCabinet(const char* name, int openFlags, int permission) {
    if (embedded_) {
        // Whatever name FDI asks for, there is only the one cabinet, read in place.
        auto stream = std::make_unique<Stream>(*this);
        stream->embedded.emplace(*embedded_);
        stream->isCabinet = true;
        return Add(std::move(stream));
    }
    if (!cabinetFile_.empty() && std::strcmp(name, kCabinetName) == 0)
        return OpenReadStream(cabinetFile_, openFlags, permission, true);
    const std::wstring path = FromAnsi(name);
    return path.empty() ? -1 : OpenReadStream(path, openFlags, permission, false);
}

void CabinetStreams::ReportProgress(const Stream& stream, uint32_t position, int percent) {
    if (!stream.isCabinet || !receiver_)
        return;
    receiver_->ReportBytes(position);
    receiver_->ReportPercent(percent);
}

UINT CabinetStreams::ReadFileStream(Stream& stream, void* buffer, UINT count) {
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

INT_PTR CabinetStreams::CreateDestinationFile(const std::wstring& path) {
    // Before the file exists: the writer creates it after this, behind the decompressor.
    if (receiver_)
        receiver_->FileStarted(path);
    auto stream = std::make_unique<Stream>(*this);
    stream->written = writer_.Create(path);
    const auto written = stream->written;
    const INT_PTR handle = Add(std::move(stream));
    if (handle < 0)
        writer_.Close(written);
    return handle;
}

bool CabinetStreams::DosDateTimeToUniversal(USHORT dosDate, USHORT dosTime, FILETIME& universal) {
    FILETIME local = {};
    return DosDateTimeToFileTime(dosDate, dosTime, &local) && LocalFileTimeToFileTime(&local, &universal);
}

bool CabinetStreams::SetCreationTimeFromDos(INT_PTR handle, USHORT dosDate, USHORT dosTime) {
    Stream* stream = StreamOf(handle);
    FILETIME universal = {};
    if (!stream || !stream->written || !DosDateTimeToUniversal(dosDate, dosTime, universal))
        return false;
    // Only the creation time: the last write time tells when the file arrived on this machine.
    stream->owner.writer_.SetCreationTime(stream->written, universal);
    return true;
}

bool CabinetStreams::IsFileStream(INT_PTR handle) {
    const Stream* stream = StreamOf(handle);
    return stream && (stream->file || stream->written);
}

FNALLOC(CabinetStreams::Allocate) {
    return std::malloc(cb);
}

FNFREE(CabinetStreams::Release) {
    std::free(pv);
}

FNOPEN(CabinetStreams::Open) {
    const char* name = nullptr;
    CabinetStreams* streams = FromCabinetName(pszFile, name);
    // FDI opens only cabinets itself, always below the path it was given; destination files come from the
    // notification callback, below the destination folder.
    if (!streams || (oflag & kOpenCreate))
        return -1;
    return streams->OpenCabinet(name, oflag, pmode);
}

FNREAD(CabinetStreams::Read) {
    Stream* stream = StreamOf(hf);
    if (!stream || stream->written)
        return static_cast<UINT>(-1);
    if (stream->file)
        return stream->owner.ReadFileStream(*stream, pv, cb);
    const UINT read = stream->embedded->Read(pv, cb);
    stream->owner.ReportProgress(*stream, stream->embedded->Position(), stream->embedded->PercentRead());
    return read;
}

FNWRITE(CabinetStreams::Write) {
    Stream* stream = StreamOf(hf);
    if (!stream || !stream->written)
        return 0;
    DestinationWriter& writer = stream->owner.writer_;
    // A failed write shows later, in the writer; once it has, the decompressor is told at once.
    if (writer.Failed())
        return static_cast<UINT>(-1);
    writer.Write(stream->written, pv, cb);
    return cb;
}

FNCLOSE(CabinetStreams::Close) {
    Stream* open = StreamOf(hf);
    std::unique_ptr<Stream> stream = open ? open->owner.Remove(open) : nullptr;
    if (!stream)
        return -1;
    if (stream->written)
        stream->owner.writer_.Close(stream->written);
    return 0;
}

FNSEEK(CabinetStreams::Seek) {
    Stream* stream = StreamOf(hf);
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
