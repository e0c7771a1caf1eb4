// What a file stored in a cabinet is called and where it may be written. Cabinets also arrive by download,
// so an entry name is treated as untrusted: it must be valid text, and only a plain relative path that stays
// inside the destination folder is accepted.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The entry name as wide text: UTF-8 when the cabinet flags it so, whatever the ANSI code page is, else
// the system's ANSI code page (through the converter installed for ICBSString). Empty when the bytes are
// not valid text in that code page, and for an ANSI name when no converter is installed: a name that cannot
// be read exactly is refused, never guessed at.
std::wstring DecodeCabinetEntryName(std::string_view name, bool flaggedUtf8);

// The longest destination path the extractor writes (a path buffer of 260 characters with its zero).
constexpr size_t kMaxExtractionPathLength = 259;

// True when the name is a relative path whose every component names an ordinary file or folder below the
// destination: no root, drive, UNC or stream (":") part, no empty component, no component made only of dots
// and spaces ("..", "." and the forms Windows trims to them), and no reserved device name ("CON", "NUL.txt").
bool IsSafeCabinetEntryName(std::wstring_view name);

// The destination folder, one backslash and the entry name; empty when the name is not safe or the result
// is longer than maxLength characters (never a shortened path), or when there is no destination folder.
std::optional<std::wstring> ComposeExtractionPath(std::wstring_view destinationFolder,
                                                  std::wstring_view entryName,
                                                  size_t maxLength = kMaxExtractionPathLength);
