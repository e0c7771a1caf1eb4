#include "launcher/SubPackageSelection.h"

#include "support/Format.h"
#include "support/StringUtil.h"

std::vector<std::optional<bool>> SelectSubPackages(const std::vector<std::wstring>& productNames,
                                                   std::wstring_view option,
                                                   const std::function<void(const std::wstring&)>& log) {
    std::vector<std::optional<bool>> selection(productNames.size());
    const std::vector<std::wstring> patterns = SplitNonEmpty(option, L',');
    if (patterns.empty())
        return selection;
    const bool namesNone = patterns.size() == 1 && EqualsNoCase(patterns[0], L"none");
    for (size_t i = 1; i < productNames.size(); ++i) {
        const std::wstring& name = productNames[i];
        bool named = false;
        if (!namesNone) {
            for (const auto& pattern : patterns) {
                if (name.find(pattern) != std::wstring::npos) {
                    log(Format(L"VNT (c): Avoid skipping of sub-package %s due to pattern '%s'.\r\n", name, pattern));
                    named = true;
                    break;
                }
            }
        }
        if (named)
            log(Format(L"VNT (c): set default handling of package %s due to command line argument.\r\n", name));
        else
            log(Format(L"VNT (c): skipped handling of package %s due to command line argument.\r\n", name));
        selection[i] = named;
    }
    return selection;
}
