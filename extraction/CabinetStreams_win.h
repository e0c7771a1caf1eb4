// CabinetStreams: everything one extraction's calls from the platform's cabinet decompressor (FDI) work on:
// the cabinet it reads (embedded bytes read in place, or a file), the receiver of its progress, the streams
// it has open and the DestinationWriter that creates and writes its destination files behind the
// decompressor. FDI gives its stream callbacks no context, so every stream handle is the address of a
// stream that knows its CabinetStreams, and the cabinet path given to FDICopy names the CabinetStreams
// whose cabinet the open callback opens. Nothing is shared between extractions, so any number may run at
// once, each on its own thread. One object per extraction, owned by the extractor for the time of FDICopy;
// it owns its open streams (a table guarded by a critical section) and its writer.
#pragma once

#include "extraction/DestinationWriter_win.h"
#include "extraction/EmbeddedCabinet.h"
#include "extraction/ICBSCabinetProgressCallbacks.h"

#include <windows.h>

#include <fdi.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CabinetStreams {
public:
    // The name FDI is given for the cabinet; opening it reads the embedded cabinet or the cabinet file, so a
    // cabinet path never has to survive the ANSI code page.
    static constexpr char kCabinetName[] = "Package.cab";

    // Which cabinet the extraction reads and who hears of its progress (may be null; it must outlive this).
    CabinetStreams(std::optional<EmbeddedCabinet> embedded, const std::wstring& cabinetFile,
                   ICBSCabinetProgressCallbacks* receiver);
    // Finishes the extraction if Finish was not called.
    ~CabinetStreams();
    CabinetStreams(const CabinetStreams&) = delete;
    CabinetStreams& operator=(const CabinetStreams&) = delete;

    // The cabinet path to give FDICopy (with kCabinetName): it names this object to the open callback.
    const std::string& CabinetPath() const { return cabinetPath_; }

    struct Outcome {
        bool written = true;   // every destination file was created and written in full
        bool diskFull = false; // one was not, for lack of disk space
    };
    // Ends the extraction: closes every stream still open (after FDI stopped on a failure) and waits until
    // every destination file is written. Later calls give the same outcome.
    Outcome Finish();

    // Set when a destination file could not be created or written in full (so far). The platform's
    // decompressor does not always notice a short write itself, so the extractor asks.
    bool WriteFailed() const { return writer_.Failed(); }

    // Creates (anew) one destination file: FileStarted, then the file with any missing folders. Returns the
    // stream handle for FDI, or -1.
    INT_PTR CreateDestinationFile(const std::wstring& path);
    // Sets the creation time of a destination file from the cabinet's DOS date and time.
    static bool SetCreationTimeFromDos(INT_PTR stream, USHORT dosDate, USHORT dosTime);
    static bool IsFileStream(INT_PTR stream);
    // A cabinet's DOS date and time, read as local time, as a universal file time.
    static bool DosDateTimeToUniversal(USHORT dosDate, USHORT dosTime, FILETIME& universal);

    // The callbacks given to FDICreate.
    static FNALLOC(Allocate);
    static FNFREE(Release);
    static FNOPEN(Open);
    static FNREAD(Read);
    static FNWRITE(Write);
    static FNCLOSE(Close);
    static FNSEEK(Seek);

private:
    struct Stream;

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

    // The stream a handle FDI was given stands for.
    static Stream* StreamOf(INT_PTR handle);
    // The object a cabinet path names, and the name that follows the path; null when it names none.
    static CabinetStreams* FromCabinetName(const char* name, const char*& rest);
    INT_PTR OpenCabinet(const char* name, int openFlags, int permission);
    INT_PTR OpenReadStream(const std::wstring& path, int openFlags, int permission, bool isCabinet);
    void ReportProgress(const Stream& stream, uint32_t position, int percent);
    UINT ReadFileStream(Stream& stream, void* buffer, UINT count);

    // The table of open streams. A stream stays valid until it is removed: FDI uses and closes each stream
    // on its own thread.
    INT_PTR Add(std::unique_ptr<Stream> stream);
    std::unique_ptr<Stream> Remove(const Stream* stream);
    std::vector<std::unique_ptr<Stream>> TakeAll();

    std::optional<EmbeddedCabinet> embedded_;
    std::wstring cabinetFile_;
    ICBSCabinetProgressCallbacks* receiver_ = nullptr;
    std::string cabinetPath_;
    CriticalSection section_;
    std::vector<std::unique_ptr<Stream>> streams_;
    DestinationWriter writer_;
    std::optional<Outcome> outcome_;
};
