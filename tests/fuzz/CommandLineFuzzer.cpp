// Feeds arbitrary argument texts to the command-line splitter and parser, as UTF-16 (the process
// command line) or, when the first byte says so, as 8-bit characters.
#include "FuzzInput.h"

#include "launcher/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::wstring text = data[0] == 'A' ? BytesAsText(bytes) : BytesAsUtf16(bytes);

    CSetupAppCommandLineInfo info;
    info.ParseArguments(text);
    (void)info.IsQuiet();

    // A whole process command line: the program name first.
    const std::wstring_view arguments = ArgumentsAfterProgramName(text);
    FUZZ_REQUIRE(arguments.size() <= text.size());
    size_t total = 0;
    for (const auto& token : SplitArguments(arguments))
        total += token.size();
    FUZZ_REQUIRE(total <= arguments.size());

    // Masking keeps the line's token count: a mask never opens or closes a token.
    FUZZ_REQUIRE(SplitArguments(MaskServicePasswords(arguments)).size() == SplitArguments(arguments).size());
    return 0;
}
