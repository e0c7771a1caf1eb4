// The check of the command line's public properties against the property names the usage text lists:
// port numbers must be numeric; unknown names are warned about and still passed on.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct PropertyCheckResult {
    bool allValid = true;
    std::wstring errorText;
};

// knownNames: the property names of the usage table's groups, in order. errorFormat is string 1310
// ("Error: Parameter %s must be numeric"); warn receives the name of every property no group holds.
PropertyCheckResult CheckProperties(const std::vector<std::wstring>& properties,
                                    const std::vector<std::wstring>& knownNames, const std::wstring& errorFormat,
                                    const std::function<void(const std::wstring& name)>& warn);
