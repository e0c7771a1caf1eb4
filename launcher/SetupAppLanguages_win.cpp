// The part of CSetupApp that decides the start language from the resources the launcher carries.
#include "launcher/LanguageProbe.h"
#include "launcher/ManifestResources_win.h"
#include "launcher/SetupApp_win.h"

#include <windows.h>

void CSetupApp::ProbeLanguages() {
    // Existence in a given language only; the multi-language rule of the text readers does not apply here.
    const ManifestResources resources(GetModuleHandleW(nullptr), false);
    multiLanguage_ = ProbeStartLanguage(
        languages_,
        [&resources](const std::wstring& name, uint16_t language) {
            return resources.Exists(name, language);
        },
        commandLine_.language, GetUserDefaultUILanguage());
}
