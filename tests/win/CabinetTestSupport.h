// Helpers of the extraction tests: the cabinets made at build time, scratch folders, file contents and a
// receiver that records what an extraction reported.
#pragma once

#include "extraction/ICBSCabinetProgressCallbacks.h"
#include "support/FileUtilities_win.h"

#include <windows.h>

#include <string>
#include <vector>

namespace CabinetTest {

inline std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text = path;
    return text.substr(0, text.find_last_of(L'\\'));
}

// The folder the build's cabinet maker wrote (see tools/testdata/make_test_cabinets.py).
inline std::wstring DataFolder() {
    return ProgramFolder() + L"\\testdata\\cabinets";
}
inline std::wstring DataFile(const std::wstring& name) {
    return DataFolder() + L"\\" + name;
}

inline bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

// A fresh, empty folder under the temporary folder, removed again when the object ends.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name, const std::wstring& parent = {}) {
        std::wstring base = parent;
        if (base.empty()) {
            wchar_t temp[MAX_PATH] = {};
            GetTempPathW(MAX_PATH, temp);
            base = temp;
            base += L"launcher-tests";
        }
        CreateDirectoryW(base.c_str(), nullptr);
        path_ = base + L"\\" + name;
        ICBSFileUtilities::DeleteTree(path_);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { ICBSFileUtilities::DeleteTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Records every call in order: "bytes N", "percent N", "file PATH" (with "(exists)" when the file was
// already there at the call).
class RecordingReceiver : public ICBSCabinetProgressCallbacks {
public:
    void ReportPercent(int percent) override {
        events.push_back(L"percent " + std::to_wstring(percent));
        percents.push_back(percent);
    }
    void ReportBytes(uint32_t bytes) override {
        events.push_back(L"bytes " + std::to_wstring(bytes));
        bytesReported.push_back(bytes);
    }
    int ProgressRange() override { return 0; }
    void FileStarted(const std::wstring& path) override {
        events.push_back(L"file " + path);
        files.push_back(path);
        if (Exists(path))
            filesExistingAtStart.push_back(path);
    }

    std::vector<std::wstring> events;
    std::vector<int> percents;
    std::vector<uint32_t> bytesReported;
    std::vector<std::wstring> files;
    std::vector<std::wstring> filesExistingAtStart;
};

} // namespace CabinetTest
