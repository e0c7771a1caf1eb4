// A fresh folder under the system's temporary folder for one test, removed with everything in it when
// the test ends. Native (POSIX) tests only.
#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <ftw.h>
#include <unistd.h>

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = "/tmp/launcher-test-XXXXXX";
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~ScratchFolder() {
        if (!path_.empty())
            nftw(path_.c_str(), Remove, 16, FTW_DEPTH | FTW_PHYS);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The full path of a name inside the folder, narrow and wide (the names tests use are ASCII).
    std::string Path(const std::string& name) const { return path_ + "/" + name; }
    std::wstring WidePath(const std::string& name) const {
        const std::string path = Path(name);
        return std::wstring(path.begin(), path.end());
    }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Exists(const std::string& name) const { return access(Path(name).c_str(), F_OK) == 0; }

private:
    static int Remove(const char* path, const struct stat*, int, struct FTW*) { return std::remove(path); }

    std::string path_;
};
