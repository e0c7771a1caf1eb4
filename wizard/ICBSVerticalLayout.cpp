#include "wizard/ICBSVerticalLayout.h"

#include <algorithm>

bool ICBSVerticalLayout::ExpandsHorizontally() const {
    return ICBSLayout::ExpandsHorizontally() || AnyChildExpandsHorizontally();
}

bool ICBSVerticalLayout::ExpandsVertically() const {
    return ICBSLayout::ExpandsVertically() || AnyChildExpandsVertically();
}

LayoutSize ICBSVerticalLayout::ContentSize() const {
    const auto& children = Children();
    if (children.empty())
        return {};
    LayoutSize size{0, Spacing() * static_cast<int>(children.size() - 1)};
    for (const auto& child : children) {
        size.width = std::max(size.width, child->SizeHint().width);
        size.height += child->SizeHint().height;
    }
    return size;
}

bool ICBSVerticalLayout::ArrangeContent(const LayoutRect& content) {
    const auto& children = Children();
    const int spare = std::max(0, content.height - SizeHint().height);
    const auto expanding = std::count_if(children.begin(), children.end(),
                                         [](const auto& child) { return child->ExpandsVertically(); });
    const int share = expanding > 0 ? spare / static_cast<int>(expanding) : 0;

    int y = content.y;
    for (size_t i = 0; i < children.size(); ++i) {
        ICBSLayout& child = *children[i];
        if (i > 0)
            y += Spacing();
        const LayoutSize hint = child.SizeHint();
        const int width = child.ExpandsHorizontally() ? content.width : hint.width;
        const int x = content.x + AlignedOffset(content.width, width, child.HorizontalAlignment());
        const int height = hint.height + (child.ExpandsVertically() ? share : 0);
        if (child.SetGeometry({x, y, width, height})) {
            // Height for width: a child that wrapped wants another height, so the column starts over.
            const bool hintChanged = UpdateSizeHint(false);
            const bool again = ArrangeContent(content);
            return again || hintChanged;
        }
        y += child.Geometry().height;
    }
    return false;
}
