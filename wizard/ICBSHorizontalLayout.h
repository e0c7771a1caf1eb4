// A row: its children, which it owns, side by side from left to right with the spacing between them.
// Children that expand horizontally share the spare width; a row too narrow for its children cuts the
// child that reaches its right edge and gives the ones after it no width.
#pragma once

#include "wizard/ICBSLayoutWithChildren.h"

class ICBSHorizontalLayout : public ICBSLayoutWithChildren {
public:
    explicit ICBSHorizontalLayout(int spacing = kDefaultSpacing) : ICBSLayoutWithChildren(spacing) {}

    bool ExpandsHorizontally() const override;
    bool ExpandsVertically() const override;

protected:
    LayoutSize ContentSize() const override;
    bool ArrangeContent(const LayoutRect& content) override;
};
