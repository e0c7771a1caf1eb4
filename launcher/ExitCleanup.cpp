#include "launcher/ExitCleanup.h"

#include "support/Format.h"
#include "support/StringUtil.h"

std::vector<ExitAction> PlanFolderCleanup(const ExitFacts& f) {
    std::vector<ExitAction> actions;
    const bool hasMain = f.packageCount > 0;
    if (hasMain && !f.mainIsMsi && f.uninstall)
        actions.push_back(ExitAction::PruneMsiFolders);
    if (f.resultCode == 0 && hasMain && f.mainInstalled && f.oemMode)
        actions.push_back(ExitAction::PruneMsiFolders);
    if (!f.uninstall && !f.repair && hasMain && !f.mainInstalled && f.resultCode != 0)
        actions.push_back(ExitAction::PruneMsiFolders);
    // After a successful uninstall the packages the run removed leave no cached databases behind; the main
    // package's folder, which holds the running launcher copy, may only go with the batch.
    if (f.uninstall && f.packageCount >= 2 && f.resultCode == 0)
        actions.push_back(ExitAction::PruneMsiFolders);
    return actions;
}

bool WantsSelfDelete(const ExitFacts& f) {
    return f.packageCount >= 2 && f.uninstall && f.resultCode == 0;
}

std::wstring SelfDeleteBatchText(std::wstring_view folder) {
    // The launcher that starts the batch may be the copy inside the folder, and a running program's file
    // cannot be deleted: the batch tries again every second until the launcher has ended (a minute at most,
    // so that a file someone else keeps open does not leave it running for ever).
    return Format(
        L"@ECHO OFF\n SET tries=0\n:again\n rmdir /S /Q \"%s\" 2>NUL\n IF NOT EXIST \"%s\" GOTO done\n"
        L" SET /A tries+=1\n IF %%tries%% GEQ 60 GOTO done\n ping -n 2 127.0.0.1 >NUL\n GOTO again\n"
        L":done\n DEL \"%%~f0\"",
        folder, folder);
}

namespace {
std::vector<std::wstring> Components(std::wstring_view path) {
    std::wstring normal(path);
    for (auto& c : normal) {
        if (c == L'/')
            c = L'\\';
    }
    return SplitNonEmpty(normal, L'\\');
}
} // namespace

bool IsStrictlyInsideFolder(std::wstring_view path, std::wstring_view folder) {
    // A quote would end the quoted folder in the batch, and cmd expands %NAME% even inside quotes.
    if (folder.empty() || path.empty() || path.find_first_of(L"\"%") != std::wstring_view::npos)
        return false;
    const auto inner = Components(path);
    const auto outer = Components(folder);
    if (outer.empty() || inner.size() <= outer.size())
        return false;
    for (const auto& piece : inner) {
        if (piece == L"." || piece == L"..")
            return false;
    }
    for (size_t i = 0; i < outer.size(); ++i) {
        if (!EqualsNoCase(inner[i], outer[i]))
            return false;
    }
    // Both must be rooted the same way: a UNC path (two leading separators) is not inside a drive folder.
    const auto leading = [](std::wstring_view p) {
        size_t n = 0;
        while (n < p.size() && (p[n] == L'\\' || p[n] == L'/'))
            ++n;
        return n;
    };
    return leading(path) == leading(folder);
}
