// A column: its children, which it owns, one under the other from top to bottom with the spacing between
// them. Children that expand vertically share the spare height; nothing is cut, so a column taller than
// its rectangle runs past its bottom edge.
#pragma once

#include "wizard/ICBSLayoutWithChildren.h"

class ICBSVerticalLayout : public ICBSLayoutWithChildren {
public:
    explicit ICBSVerticalLayout(int spacing = kDefaultSpacing) : ICBSLayoutWithChildren(spacing) {}

    bool ExpandsHorizontally() const override;
    bool ExpandsVertically() const override;

protected:
    LayoutSize ContentSize() const override;
    bool ArrangeContent(const LayoutRect& content) override;
};
