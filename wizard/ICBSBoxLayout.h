// A box holding one child, which it owns. A box always takes all the room its parent offers and places
// the child inside by the child's own expand flags and alignments (e.g. a text at the bottom of a page).
#pragma once

#include "wizard/ICBSLayoutWithChild.h"

class ICBSBoxLayout : public ICBSLayoutWithChild {
public:
    ICBSBoxLayout() = default;
    ICBSBoxLayout(std::unique_ptr<ICBSLayout> item, int horizontalAlignment, int verticalAlignment) {
        SetChild(std::move(item), horizontalAlignment, verticalAlignment);
    }

    bool ExpandsHorizontally() const override { return true; }
    bool ExpandsVertically() const override { return true; }

protected:
    LayoutSize ContentSize() const override { return Child() ? Child()->SizeHint() : LayoutSize{}; }
    bool ArrangeContent(const LayoutRect& content) override { return ArrangeSingleChild(Child(), content); }
};
