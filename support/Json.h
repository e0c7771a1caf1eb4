// A small reader of a JSON dialect (strings taken verbatim without escape sequences, trailing commas
// accepted, the top level must be an object). Every value owns its children; the caller owns the root
// object and with it the whole tree. The reader is the one place of the launcher that throws: every
// failure is an ICBSJsonException, which its caller catches.
#pragma once

#include "support/Format.h"

#include <exception>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ICBSJsonException : public std::exception {
public:
    template <class... Args>
    explicit ICBSJsonException(std::wstring_view format, const Args&... args)
        : message_(Format(format, args...)), narrow_(Narrow(message_)) {}

    const std::wstring& Message() const { return message_; }
    // The message with every character outside ASCII as '?'.
    const char* what() const noexcept override { return narrow_.c_str(); }

private:
    static std::string Narrow(const std::wstring& text);

    std::wstring message_;
    std::string narrow_;
};

// The type tag; the numbers are part of the interface.
enum class ICBSJsonType { Null = 0, Object = 1, Array = 2, String = 3, Boolean = 4, Number = 5 };

class ICBSJsonValue;
// Members ordered by name (plain code-unit order), one value per name.
using ICBSJsonObject = std::map<std::wstring, std::unique_ptr<ICBSJsonValue>>;
using ICBSJsonArray = std::vector<std::unique_ptr<ICBSJsonValue>>;

class ICBSJsonValue {
public:
    ICBSJsonType type = ICBSJsonType::Null;
    ICBSJsonObject object;
    ICBSJsonArray array;
    std::wstring string;
    bool boolean = false;
    double number = 0;
};

// Parses a NUL-terminated text whose top level is an object. Throws ICBSJsonException.
ICBSJsonObject ParseJsonObject(const wchar_t* text);
// Exact, case-sensitive name.
bool HasMember(const ICBSJsonObject& object, const std::wstring& name);
// The member's value, still owned by the tree. Throws when the name is missing.
const ICBSJsonValue& GetMember(const ICBSJsonObject& object, const std::wstring& name);
// The string of a string value. Throws for any other type.
const std::wstring& AsString(const ICBSJsonValue& value);

// The messages that callers throw themselves.
inline constexpr wchar_t kJsonTypeMismatch[] = L"JSON Type mismatch";
