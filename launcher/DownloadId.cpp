#include "launcher/DownloadId.h"

#include "support/StringUtil.h"

#include <algorithm>

constexpr size_t kDownloadIdDigits = 10;

std::wstring FindDownloadId(std::wstring_view fileName) {
    size_t i = 0;
    while (i < fileName.size()) {
        if (fileName[i] < L'0' || fileName[i] > L'9') {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < fileName.size() && fileName[end] >= L'0' && fileName[end] <= L'9')
            ++end;
        if (end - i == kDownloadIdDigits)
            return std::wstring(fileName.substr(i, kDownloadIdDigits));
        i = end;
    }
    return {};
}

std::wstring AppendDownloadId(std::wstring_view existing, const std::wstring& id) {
    std::vector<std::wstring> ids = SplitNonEmpty(existing, L',');
    if (std::find(ids.begin(), ids.end(), id) == ids.end())
        ids.push_back(id);
    return Join(ids, L",");
}
