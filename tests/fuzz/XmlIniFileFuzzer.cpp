// Feeds arbitrary file contents to the XML configuration reader, then looks up, changes and writes back
// a path taken from the input's first line.
#include "FuzzInput.h"

#include "support/XmlIniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring path = BytesAsText(TakeFirstLine(bytes));

    ICBSXMLIniFile file(L"", bytes); // an empty path: nothing is ever written
    FUZZ_REQUIRE(!file.IsModified());
    (void)file.HasErrors();
    (void)file.Text();
    (void)file.GetValue(path);

    const bool wasActive = file.HasValue(path);
    FUZZ_REQUIRE(file.SetValue(path, L"fuzz") || file.GetValue(path) == L"fuzz");
    FUZZ_REQUIRE(file.GetValue(path) == L"fuzz");
    FUZZ_REQUIRE(file.SetValue(path, L""));
    FUZZ_REQUIRE(!file.HasValue(path) || wasActive); // a later active twin may remain
    (void)file.Text();
    return 0;
}
