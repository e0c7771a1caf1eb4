// The streams the platform's cabinet decompressor (FDI) opens, reads, writes and closes during an
// extraction, and the state its callbacks share. FDI hands its callbacks no context of their own, so this
// state is process-wide and only one extraction may run at a time; the table of open streams is guarded by
// a critical section. Destination files are created and written by a DestinationWriter, behind the
// decompressor. CabinetExtractor sets the state up around FDICopy.
#pragma once

#include "extraction/EmbeddedCabinet.h"
#include "extraction/ICBSCabinetProgressCallbacks.h"

#include <windows.h>

#include <fdi.h>

#include <optional>
#include <string>

namespace CabinetStreams {

// The name FDI is given for the cabinet of the current extraction; opening it (without create) reads the
// embedded cabinet or the cabinet file set below, so a cabinet path never has to survive the ANSI code page.
inline constexpr char kCabinetName[] = "Package.cab";

// Starts an extraction: which cabinet it reads (embedded bytes, read in place, or a file) and who hears of
// its progress (may be null).
void BeginExtraction(std::optional<EmbeddedCabinet> embedded, const std::wstring& cabinetFile,
                     ICBSCabinetProgressCallbacks* receiver);
// Ends it: closes every stream still open (after FDI stopped on a failure), waits until every destination
// file is written, and forgets the cabinet and receiver. False when a destination file could not be
// created or written in full.
bool EndExtraction();
// Set when a destination file could not be created or written for lack of disk space; read after
// EndExtraction.
bool DiskFull();
// Set when a destination file could not be created or written in full (so far). The platform's
// decompressor does not always notice a short write itself, so the extractor asks.
bool WriteFailed();
void ClearDiskFull();

// Creates (anew) one destination file: FileStarted, then the file with any missing folders. Returns the
// stream number for FDI, or -1.
INT_PTR CreateDestinationFile(const std::wstring& path);
// A cabinet's DOS date and time, read as local time, as a universal file time.
bool DosDateTimeToUniversal(USHORT dosDate, USHORT dosTime, FILETIME& universal);
// Sets the creation time of a destination file from the cabinet's DOS date and time.
bool SetCreationTimeFromDos(INT_PTR stream, USHORT dosDate, USHORT dosTime);
bool IsFileStream(INT_PTR stream);

// The callbacks given to FDICreate.
FNALLOC(Allocate);
FNFREE(Release);
FNOPEN(Open);
FNREAD(Read);
FNWRITE(Write);
FNCLOSE(Close);
FNSEEK(Seek);

} // namespace CabinetStreams
