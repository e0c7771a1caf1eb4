#include "launcher/Workload.h"

#include "launcher/ManifestRules.h"
#include "launcher/SetupLog.h"
#include "support/ByteFile.h"
#include "support/Format.h"
#include "support/Json.h"

namespace {

constexpr wchar_t kDefaultInstallerType[] = L"msi";
constexpr wchar_t kPlatform64[] = L"x64"; // compared with letter case

// The file as one text: lines of 8-bit characters joined without their line ends. A file that cannot be
// read gives an empty text, which then fails to parse.
std::wstring WorkloadText(const std::wstring& path) {
    std::wstring text;
    if (const auto bytes = ByteFile::ReadAll(path)) {
        for (const std::wstring& line : ByteFile::SplitLines(*bytes))
            text += line;
    }
    return text;
}

const std::wstring& StringMember(const ICBSJsonObject& object, const wchar_t* name) {
    return AsString(GetMember(object, name));
}

std::wstring OptionalStringMember(const ICBSJsonObject& object, const wchar_t* name,
                                  const wchar_t* fallback) {
    return HasMember(object, name) ? StringMember(object, name) : std::wstring(fallback);
}

PackageDescription ReadPackage(const ICBSJsonValue& element, bool main) {
    if (element.type != ICBSJsonType::Object)
        throw ICBSJsonException(kJsonTypeMismatch);
    const ICBSJsonObject& object = element.object;
    PackageDescription d;
    d.productName = StringMember(object, L"productName");
    d.productCode = StringMember(object, L"productCode");
    d.packageCode = StringMember(object, L"packageCode");
    d.productId = StringMember(object, L"productId");
    d.is64Bit = StringMember(object, L"productPlatform") == kPlatform64;
    d.version = StringMember(object, L"productVersion");
    d.installerType = OptionalStringMember(object, L"installerType", kDefaultInstallerType);
    d.packageData = StringMember(object, L"packageData");
    d.languageDataPattern = OptionalStringMember(object, L"packageLangDataPattern", L"");
    d.main = main;
    return d;
}

bool IsDataFile(const std::wstring& path) {
    return !path.empty() && ByteFile::Exists(path) && !ByteFile::IsFolder(path);
}

bool ReadPackages(const std::wstring& path, const std::wstring& text, WorkloadTargetIF& target) {
    const ICBSJsonObject root = ParseJsonObject(text.c_str());
    const auto packages = root.find(L"packages");
    if (packages == root.end() || packages->second->type != ICBSJsonType::Array) {
        target.WriteLog(kLogLevelFailure,
                        Format(L"Workload '%s' is not a proper JSON package array object.\r\n", path));
        return false;
    }
    const ICBSJsonArray& elements = packages->second->array;
    if (elements.empty()) {
        target.WriteLog(kLogLevelFailure, Format(L"Workload '%s' doesn't contain any pakages.\r\n", path));
        return false;
    }
    bool result = true;
    for (size_t i = 0; i < elements.size(); ++i) {
        PackageDescription description = ReadPackage(*elements[i], i == 0);
        // The code names a folder that the clean-up at exit deletes, and anyone can hand the launcher a
        // workload: a code that is no plain folder name never becomes a record.
        if (!IsPlainFolderName(description.packageCode)) {
            target.WriteLog(kLogLevelFailure,
                            Format(L"VNT (c): Package %d has no usable package code '%s'.\r\n", i,
                                   description.packageCode));
            return false;
        }
        // A package whose data is missing is still listed; only the result turns false.
        result = result && IsDataFile(description.packageData);
        target.AddPackage(std::move(description));
        const ICBSJsonObject& object = elements[i]->object;
        if (HasMember(object, kEvergreenDownloaderName))
            target.SetNamedValue(kEvergreenDownloaderName, StringMember(object, kEvergreenDownloaderName));
    }
    return result;
}

} // namespace

bool ReadWorkload(const std::wstring& path, WorkloadTargetIF& target) {
    if (path.empty())
        return true;
    if (!ByteFile::Exists(path)) {
        target.WriteLog(kLogLevelFailure, Format(L"Workload file '%s' does not exist.\r\n", path));
        return false;
    }
    const std::wstring text = WorkloadText(path);
    try {
        return ReadPackages(path, text, target);
    } catch (const ICBSJsonException&) {
        // The reader's own message is deliberately not logged.
        target.WriteLog(kLogLevelFailure, L"Workload is not a proper JSON package array object.\r\n");
        return false;
    }
}
