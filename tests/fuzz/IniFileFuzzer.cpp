// Feeds arbitrary file contents to the INI reader, then looks up, changes and writes back a path taken
// from the input's first line.
#include "FuzzInput.h"

#include "support/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring path = BytesAsText(TakeFirstLine(bytes));

    ICBSIniFile file(L"", bytes); // an empty path: nothing is ever written
    FUZZ_REQUIRE(!file.IsModified());
    (void)file.Text();
    const bool had = file.HasValue(path);
    FUZZ_REQUIRE(had == !file.GetValue(path).empty());

    const size_t separator = path.find(L"::");
    const bool hasKey = separator == std::wstring::npos ? !path.empty() : separator + 2 < path.size();
    if (hasKey) {
        file.SetValue(path, L"fuzz value");
        FUZZ_REQUIRE(file.GetValue(path) == L"fuzz value");
        FUZZ_REQUIRE(!file.SetValue(path, L"fuzz value"));
        FUZZ_REQUIRE(file.SetValue(path, L""));
        FUZZ_REQUIRE(!file.HasValue(path));
    } else {
        file.SetValue(path, L"verbatim");
    }
    (void)file.Text();
    FUZZ_REQUIRE(!file.Save()); // modified, and there is nowhere to write
    return 0;
}
