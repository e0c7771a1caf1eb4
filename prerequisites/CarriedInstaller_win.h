// The installers a launcher carries besides its packages (resources of the named type "40"): read in
// place and written whole to a file for the pages that run them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The carried resource's bytes as text (e.g. an address); none when the launcher does not carry it.
std::optional<std::string> CarriedResourceText(std::wstring_view name);
// Writes the carried installer `name` to `path` in one write; false when nothing is carried, what is
// carried differs from the launcher's record of it, the file cannot be made or the write fails (a damaged
// or partly written installer must never run).
bool WriteCarriedInstaller(std::wstring_view name, const std::wstring& path);
