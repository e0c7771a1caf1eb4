// The download identifier carried in a launcher's file name: the first run of exactly ten decimal
// digits. The launcher remembers every identifier it was started as in one registry value.
#pragma once

#include <string>
#include <string_view>

// The first run of exactly ten digits in the file name, or empty when there is none.
std::wstring FindDownloadId(std::wstring_view fileName);
// The "DownloadIds" value after recording id: the comma list with empty pieces dropped and id appended
// unless already present.
std::wstring AppendDownloadId(std::wstring_view existing, const std::wstring& id);
