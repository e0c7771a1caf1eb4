#include "support/Json.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace {

// Objects and arrays nested deeper than this are refused: each level is a recursion of the reader (and
// of the tree's destruction), and the launcher's main thread has a small stack.
constexpr int kMaxDepth = 256;

constexpr wchar_t kQuote = L'"';

class Reader {
public:
    explicit Reader(const wchar_t* text) : at_(text) {}

    ICBSJsonObject Document() {
        ICBSJsonObject root = Object(0);
        SkipBlanks();
        if (*at_ != L'\0')
            throw ICBSJsonException(L"No trailing charcters expected after JSON object.");
        return root;
    }

private:
    static bool IsBlank(wchar_t c) {
        return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
    }
    void SkipBlanks() {
        while (IsBlank(*at_))
            ++at_;
    }
    bool Continues(std::wstring_view word) const {
        for (size_t i = 0; i < word.size(); ++i) {
            if (at_[i] != word[i]) // stops at the terminating zero, which no word holds
                return false;
        }
        return true;
    }

    // The characters up to the next quote, verbatim; at_ is just past the opening quote.
    std::wstring QuotedText() {
        const wchar_t* start = at_;
        while (*at_ != kQuote) {
            if (*at_ == L'\0')
                throw ICBSJsonException(L"Expected JSON name end character '\"'");
            ++at_;
        }
        std::wstring text(start, at_);
        ++at_;
        return text;
    }

    double Number() {
        // strtod semantics, independent of the width of wchar_t: the characters a number can be made of
        // are copied as bytes, and the conversion says how many of them it used.
        std::string candidate;
        for (const wchar_t* c = at_; *c != L'\0'; ++c) {
            const wchar_t ch = *c;
            const bool part = (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'z') ||
                              (ch >= L'A' && ch <= L'Z') || ch == L'.' || ch == L'+' || ch == L'-' ||
                              ch == L'_' || ch == L'(' || ch == L')';
            if (!part)
                break;
            candidate += static_cast<char>(ch);
        }
        char* end = nullptr;
        errno = 0;
        const double value = std::strtod(candidate.c_str(), &end);
        const size_t used = static_cast<size_t>(end - candidate.c_str());
        const bool outOfRange = errno == ERANGE && (std::isinf(value) || value == 0);
        if (used == 0 || outOfRange)
            throw ICBSJsonException(L"Expected JSON number value.");
        at_ += used;
        return value;
    }

    std::unique_ptr<ICBSJsonValue> Value(int depth) {
        SkipBlanks();
        auto value = std::make_unique<ICBSJsonValue>();
        const wchar_t c = *at_;
        if (c == kQuote) {
            ++at_;
            value->type = ICBSJsonType::String;
            value->string = QuotedText();
        } else if (c == L'[') {
            value->type = ICBSJsonType::Array;
            value->array = Array(depth + 1);
        } else if (c == L'{') {
            value->type = ICBSJsonType::Object;
            value->object = Object(depth + 1);
        } else if ((c >= L'0' && c <= L'9') || c == L'-') {
            value->type = ICBSJsonType::Number;
            value->number = Number();
        } else if (Continues(L"null")) {
            at_ += 4;
        } else if (Continues(L"true")) {
            value->type = ICBSJsonType::Boolean;
            value->boolean = true;
            at_ += 4;
        } else if (Continues(L"false")) {
            value->type = ICBSJsonType::Boolean;
            at_ += 5;
        } else {
            throw ICBSJsonException(L"unexpected JSON value");
        }
        return value;
    }

    static void CheckDepth(int depth) {
        if (depth > kMaxDepth)
            throw ICBSJsonException(L"JSON nesting too deep.");
    }

    ICBSJsonArray Array(int depth) {
        CheckDepth(depth);
        ++at_; // '['
        ICBSJsonArray array;
        SkipBlanks();
        while (*at_ != L']') {
            array.push_back(Value(depth));
            SkipBlanks();
            if (*at_ == L']')
                break;
            if (*at_ != L',')
                throw ICBSJsonException(L"Expected JSON array separator ',' or array end character ']'");
            ++at_;
            SkipBlanks(); // a ']' right after a comma ends the array too
        }
        ++at_;
        return array;
    }

    ICBSJsonObject Object(int depth) {
        CheckDepth(depth);
        SkipBlanks();
        if (*at_ != L'{')
            throw ICBSJsonException(L"Expected JSON array.");
        ++at_;
        ICBSJsonObject object;
        SkipBlanks();
        if (*at_ == L'}') {
            ++at_;
            return object;
        }
        for (;;) {
            if (*at_ != kQuote)
                throw ICBSJsonException(L"Expected JSON name start character '\"'");
            ++at_;
            std::wstring name = QuotedText();
            SkipBlanks();
            if (*at_ != L':')
                throw ICBSJsonException(L"Expected JSON name/value separator character ':'");
            ++at_;
            object[std::move(name)] = Value(depth); // a repeated name keeps the later value
            SkipBlanks();
            if (*at_ == L'}')
                break;
            if (*at_ != L',')
                throw ICBSJsonException(L"Expected JSON map separator ',' or map end character '}'");
            ++at_;
            SkipBlanks();
            if (*at_ == L'}') // trailing comma
                break;
        }
        ++at_;
        return object;
    }

    const wchar_t* at_;
};

} // namespace

std::string ICBSJsonException::Narrow(const std::wstring& text) {
    std::string narrow;
    for (const wchar_t c : text)
        narrow += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    return narrow;
}

ICBSJsonObject ParseJsonObject(const wchar_t* text) {
    if (!text)
        throw ICBSJsonException(L"Expected JSON array.");
    return Reader(text).Document();
}

bool HasMember(const ICBSJsonObject& object, const std::wstring& name) {
    return object.contains(name);
}

const ICBSJsonValue& GetMember(const ICBSJsonObject& object, const std::wstring& name) {
    const auto found = object.find(name);
    if (found == object.end())
        throw ICBSJsonException(L"No value with name '%s' is defined.", name);
    return *found->second;
}

const std::wstring& AsString(const ICBSJsonValue& value) {
    if (value.type != ICBSJsonType::String)
        throw ICBSJsonException(kJsonTypeMismatch);
    return value.string;
}
