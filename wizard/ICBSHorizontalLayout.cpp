#include "wizard/ICBSHorizontalLayout.h"

#include <algorithm>

bool ICBSHorizontalLayout::ExpandsHorizontally() const {
    return ICBSLayout::ExpandsHorizontally() || AnyChildExpandsHorizontally();
}

bool ICBSHorizontalLayout::ExpandsVertically() const {
    return ICBSLayout::ExpandsVertically() || AnyChildExpandsVertically();
}

LayoutSize ICBSHorizontalLayout::ContentSize() const {
    const auto& children = Children();
    if (children.empty())
        return {};
    LayoutSize size{Spacing() * static_cast<int>(children.size() - 1), 0};
    for (const auto& child : children) {
        size.width += child->SizeHint().width;
        size.height = std::max(size.height, child->SizeHint().height);
    }
    return size;
}

bool ICBSHorizontalLayout::ArrangeContent(const LayoutRect& content) {
    const auto& children = Children();
    const int spare = std::max(0, content.width - SizeHint().width);
    const auto expanding = std::count_if(children.begin(), children.end(),
                                         [](const auto& child) { return child->ExpandsHorizontally(); });
    const int share = expanding > 0 ? spare / static_cast<int>(expanding) : 0;

    int x = content.x;
    const int right = content.x + content.width;
    for (size_t i = 0; i < children.size(); ++i) {
        ICBSLayout& child = *children[i];
        if (i > 0)
            x += Spacing();
        const LayoutSize hint = child.SizeHint();
        const int height = child.ExpandsVertically() ? content.height : hint.height;
        const int y = content.y + AlignedOffset(content.height, height, child.VerticalAlignment());
        const int wanted = hint.width + (child.ExpandsHorizontally() ? share : 0);
        int width = std::min(wanted, right - x);
        if (width < 1)
            width = 0;
        if (child.SetGeometry({x, y, width, height})) {
            // The child's hint changed while it was placed (height for width): arrange everything again
            // with the new hints.
            const bool hintChanged = UpdateSizeHint(false);
            const bool again = ArrangeContent(content);
            return again || hintChanged;
        }
        x += child.Geometry().width;
    }
    return false;
}
