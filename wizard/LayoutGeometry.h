// Sizes, rectangles and alignments of the layout engine, in pixels of a page's client area.
#pragma once

struct LayoutSize {
    int width = 0;
    int height = 0;
    bool operator==(const LayoutSize&) const = default;
};

struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutRect&) const = default;
};

// Alignment of an item inside a cell larger than the item. Horizontal and vertical alignments share
// the numbers: 0 left or top, 1 centre, 2 right or bottom.
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignTop = 0;
inline constexpr int kAlignCentre = 1;
inline constexpr int kAlignRight = 2;
inline constexpr int kAlignBottom = 2;

// Offset of an item of length `size` aligned inside `space`; negative when the item is the larger.
// The division truncates toward zero, so a centred item that overflows by an odd amount leans right.
inline int AlignedOffset(int space, int size, int alignment) {
    if (alignment == kAlignCentre)
        return (space - size) / 2;
    if (alignment == kAlignRight)
        return space - size;
    return 0;
}
