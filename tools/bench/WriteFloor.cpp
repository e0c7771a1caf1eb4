// The Wine write floor of the extraction benchmark: writes the same bytes to the same file names as an
// extraction would, with WriteFile and no decompression. The sources are read into memory first; only
// the writing is timed.
// Usage: WriteFloor.exe SOURCE_FOLDER TARGET_FOLDER LIST_FILE   (LIST_FILE: relative paths, one per line)
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                      static_cast<int>(wide.size()));
    wide.resize(n);
    return wide;
}

void CreateParents(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: WriteFloor SOURCE TARGET LIST\n");
        return 2;
    }
    const std::wstring source = argv[1], target = argv[2];
    std::ifstream list(argv[3]);
    struct File {
        std::wstring name;
        std::string bytes;
    };
    std::vector<File> files;
    unsigned long long total = 0;
    for (std::string line; std::getline(list, line);) {
        if (line.empty())
            continue;
        File file{Widen(line), {}};
        for (auto& c : file.name)
            c = c == L'/' ? L'\\' : c;
        std::ifstream in((source + L"\\" + file.name).c_str(), std::ios::binary);
        file.bytes.assign(std::istreambuf_iterator<char>(in), {});
        total += file.bytes.size();
        files.push_back(std::move(file));
    }
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (const auto& file : files) {
        const std::wstring path = target + L"\\" + file.name;
        CreateParents(path);
        HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        if (handle == INVALID_HANDLE_VALUE ||
            !WriteFile(handle, file.bytes.data(), static_cast<DWORD>(file.bytes.size()), &written, nullptr)) {
            std::fprintf(stderr, "cannot write %ls\n", path.c_str());
            return 1;
        }
        CloseHandle(handle);
    }
    QueryPerformanceCounter(&end);
    std::printf("%zu files, %llu bytes, %.3f s\n", files.size(), total,
                double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    return 0;
}
