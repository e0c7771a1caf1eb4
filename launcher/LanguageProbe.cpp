#include "launcher/LanguageProbe.h"

namespace {

// The codes probed, in order, with the table name each one selects in a single-language launcher. Chinese
// has no table row: it is probed and named but can never become current.
struct ProbedLanguage {
    const wchar_t* code;
    const wchar_t* name;
};
constexpr ProbedLanguage kProbedLanguages[] = {
    {L"1033", L"English"}, {L"1031", L"German"},   {L"1034", L"Spanish"},
    {L"1036", L"French"},  {L"1041", L"Japanese"}, {L"2052", L"Chinese"},
};

const wchar_t kMainPackage[] = L"PACKAGE_0";
const wchar_t kMinimumSystem[] = L"OS";

} // namespace

bool ProbeStartLanguage(LanguageTable& table, const ManifestResourceProbe& hasResource,
                        const std::wstring& requestedLanguage, uint16_t userLanguage) {
    table.SelectByName(L"English");
    int variants = 0;
    for (const ProbedLanguage& language : kProbedLanguages) {
        const std::wstring code = language.code;
        const std::wstring name =
            code == kProbedLanguages[0].code ? kMainPackage : kMainPackage + (L"_" + code);
        const bool found = hasResource(name, LanguageIdForCode(code));
        table.SetAvailable(code, found);
        variants += found ? 1 : 0;
    }
    if (variants > 1) {
        if (!requestedLanguage.empty())
            table.SelectByName(requestedLanguage);
        else
            table.SelectByLanguageId(userLanguage);
        return true;
    }
    // A single-language launcher speaks the language its minimum-system text is stored in.
    for (const ProbedLanguage& language : kProbedLanguages) {
        if (hasResource(kMinimumSystem, LanguageIdForCode(language.code)))
            table.SelectByName(language.name);
    }
    return false;
}
