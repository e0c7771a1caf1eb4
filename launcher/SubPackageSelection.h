// The subPackages= option: which sub-packages take part in the run. Decides for every package but the
// main one; the log lines say why.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// productNames[0] is the main package. Returns one entry per package: the new selection flag, or
// nothing when the option leaves the package's default alone (always for the main package, and for
// every package when the option names no pattern).
std::vector<std::optional<bool>> SelectSubPackages(const std::vector<std::wstring>& productNames,
                                                   std::wstring_view option,
                                                   const std::function<void(const std::wstring&)>& log);
