// The decisions of the unpack page that need no window: which description it shows, how the wizard title
// appears in it, and where the status line and the progress bar stand.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace UnpackPage {

// One package: "is extracting the installer database"; two or more: "... installer databases".
unsigned DescriptionStringId(size_t packageCount);
// The description text: the string formatted with the wizard title, every trademark sign removed.
std::wstring DescriptionText(std::wstring_view format, std::wstring_view wizardTitle);

// Vertical positions in the page, in pixels. A main product name of 50 characters or more (counted as
// UTF-16 units) puts the status line and the bar one line lower.
struct Placement {
    int statusTop = 0;
    int statusBottom = 0; // also the bar's top
    int barBottom = 0;
};
Placement PlacementFor(std::wstring_view mainProductName);

// How far the bar moves down when the status line has grown by `growth` pixels; 0 when it did not grow.
int BarShiftForStatusGrowth(int growth);

} // namespace UnpackPage
