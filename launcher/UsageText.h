// The command-line help as printed text: the line breaker and the layout of commands, options and
// property groups. Texts come through a StringLoader, so the layout is the same on every platform.
#pragma once

#include "launcher/UsageTable.h"

#include <string>
#include <string_view>

// Lines of the wrapped text hold at most this many characters unless one word alone is longer.
constexpr size_t kUsageLineWidth = 79;

// Breaks text into lines of kUsageLineWidth, every line indented by indent spaces. "%s" stands for
// replacement (nothing when it is empty), a double-quoted run is never broken, and a tab after a line
// feed is kept behind four more spaces. Line ends are "\n".
std::wstring WrapText(std::wstring_view text, size_t indent, std::wstring_view replacement = {});

// The file-name part of the program's path: after the last "\", or without one, after the last "/".
std::wstring ExecutableFileName(std::wstring_view modulePath);

// The whole help text as the console receives it.
std::wstring ComposeUsageText(const UsageTable& table, std::wstring_view executableName,
                              const StringLoader& load);
