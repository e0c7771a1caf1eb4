// Package data as the unpacking step and the extract-all mode find it: a type-40 resource of the launcher
// (a cabinet with its length prefix, a transform, a taxonomy data file) or, when there is no such resource,
// a file on disk named by the package data (workloads).
#pragma once

#include "extraction/CabinetExtractor_win.h"
#include "extraction/ICBSCabinetProgressCallbacks.h"
#include "launcher/LogSink.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The bytes of the launcher's type-40 resource in one language (0: any), mapped with the module.
std::optional<std::span<const unsigned char>> PackageResourceBytes(const std::wstring& name,
                                                                   LANGID language = 0);

// The cabinet's size without its length prefix when the package data names a resource, else the size of
// the file it names (0 when there is none).
uint64_t PackageDataSize(const std::wstring& packageData);

// Extracts the package's cabinet into the folder: the resource read in place when there is one, else the
// cabinet file. A resource the launcher's payload record describes is checked first: when it is missing or
// differs, nothing is written, the log says why, and the outcome is Failed as for an unreadable cabinet.
ExtractionOutcome ExtractPackageCabinet(const std::wstring& packageData, const std::wstring& folder,
                                        ICBSCabinetProgressCallbacks* receiver, LogSinkIF& log);

enum class FileWriteResult { Written, NotCreated, Failed, DiskFull };
// Creates the file anew and writes all bytes; a file cut short is removed again.
FileWriteResult WriteWholeFile(const std::wstring& path, std::span<const unsigned char> bytes);

// A taxonomy package's data file: the whole resource "PACKAGE_0" (English) written to target, or the file
// named by the package data copied there. False when the target cannot be created, written or copied, and
// without writing anything when the resource is recorded in the payload record but missing or different.
bool WriteTaxonomyFile(const std::wstring& packageData, const std::wstring& target);
