// Whole-file byte I/O for the configuration files and the workload, portable over the C runtime (wide
// path functions on Windows, UTF-8 paths elsewhere), plus the 8-bit text rules those files share: every
// byte is one character, a line ends at a line feed with an optional carriage return before it, and a
// written line feed becomes carriage return plus line feed on every platform, so that all builds write the
// same bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ByteFile {

// True when a file or a folder exists at path.
bool Exists(const std::wstring& path);
bool IsFolder(const std::wstring& path);
// The file's bytes; empty optional when it is missing, a folder or cannot be read.
std::optional<std::string> ReadAll(const std::wstring& path);
// Creates the file's folder and any missing parent folders, then creates or truncates the file and writes
// the bytes. False when the file cannot be created or written.
bool WriteAll(const std::wstring& path, std::string_view bytes);

// The lines of an 8-bit text: each byte becomes the character of the same number; line ends are not part
// of the lines; a last line without a line end is still a line.
std::vector<std::wstring> SplitLines(std::string_view bytes);
// The bytes of a text as a text-mode write stores them: each character one byte (a character that does
// not fit in a byte becomes '?'), each line feed preceded by a carriage return.
std::string ToTextModeBytes(std::wstring_view text);

} // namespace ByteFile
