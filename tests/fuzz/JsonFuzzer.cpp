// Feeds arbitrary text to the JSON reader: as 8-bit characters (the way a workload file is read) or, when
// the first byte says so, as UTF-16. Only ICBSJsonException may leave the reader.
#include "FuzzInput.h"

#include "support/Json.h"

namespace {

// Walks the tree the way the workload reader does, asking for members and strings.
void Visit(const ICBSJsonValue& value, int depth) {
    FUZZ_REQUIRE(depth <= 300);
    if (value.type == ICBSJsonType::Object) {
        for (const auto& [name, member] : value.object) {
            FUZZ_REQUIRE(HasMember(value.object, name));
            FUZZ_REQUIRE(&GetMember(value.object, name) == member.get());
            Visit(*member, depth + 1);
        }
    } else if (value.type == ICBSJsonType::Array) {
        for (const auto& element : value.array)
            Visit(*element, depth + 1);
    }
    try {
        (void)AsString(value);
        FUZZ_REQUIRE(value.type == ICBSJsonType::String);
    } catch (const ICBSJsonException&) {
        FUZZ_REQUIRE(value.type != ICBSJsonType::String);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::wstring text = FuzzText(data, size);
    try {
        ICBSJsonValue root;
        root.type = ICBSJsonType::Object;
        root.object = ParseJsonObject(text.c_str());
        Visit(root, 0);
        (void)GetMember(root.object, L"packages");
    } catch (const ICBSJsonException& e) {
        FUZZ_REQUIRE(!e.Message().empty());
    }
    return 0;
}
