// Windows Installer's packed form of a product code, the name under which the installer's own keys (and
// the installed-programs entries of packages it does not install) store a product.
#pragma once

#include <string>
#include <string_view>

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}": the first three groups reversed, the two characters of every
// byte of the last two groups swapped, 32 characters. Empty for anything but the full braced form.
std::wstring PackedProductCode(std::wstring_view productCode);
