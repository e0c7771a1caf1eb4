// The launcher's own stand-in for the two functions of the vendor's WebView2 loader: the installed
// runtime's version read from the registry, and the comparison of version texts. The page asks a
// RuntimeLoaderIF, so a build that links the vendor's loader passes an adapter over it instead.
#pragma once

#include "prerequisites/WebView2Runtime.h"

#include <string>

namespace WebView2 {

// The installed runtime's version from the keys of kRuntimeKeys; false when no key holds one.
bool GetAvailableRuntimeVersion(std::wstring& version);
// As CompareVersionText, with the loader's signature.
bool CompareVersions(const std::wstring& a, const std::wstring& b, int& result);

class RegistryRuntimeLoader final : public RuntimeLoaderIF {
public:
    bool GetAvailableRuntimeVersion(std::wstring& version) override;
    bool CompareVersions(const std::wstring& a, const std::wstring& b, int& result) override;
};

} // namespace WebView2
