#include "wizard/ICBSLayoutWithChildren.h"

#include <algorithm>

bool ICBSLayoutWithChildren::NeedsLayout() const {
    return ICBSLayout::NeedsLayout() || std::any_of(children_.begin(), children_.end(),
                                                    [](const auto& child) { return child->NeedsLayout(); });
}

void ICBSLayoutWithChildren::Show() {
    for (const auto& child : children_)
        child->Show();
}

void ICBSLayoutWithChildren::Hide() {
    for (const auto& child : children_)
        child->Hide();
}

void ICBSLayoutWithChildren::AddChild(std::unique_ptr<ICBSLayout> item, int horizontalAlignment,
                                      int verticalAlignment) {
    if (!item)
        return;
    Adopt(*item, horizontalAlignment, verticalAlignment);
    children_.push_back(std::move(item));
    UpdateSizeHint(true);
}

bool ICBSLayoutWithChildren::RemoveChild(const ICBSLayout* item) {
    const auto found = std::find_if(children_.begin(), children_.end(),
                                    [item](const auto& child) { return child.get() == item; });
    if (!item || found == children_.end())
        return false;
    ChildRemoving(item);
    children_.erase(found);
    UpdateSizeHint(true);
    return true;
}

bool ICBSLayoutWithChildren::IsChild(const ICBSLayout* item) const {
    return item && std::any_of(children_.begin(), children_.end(),
                               [item](const auto& child) { return child.get() == item; });
}

void ICBSLayoutWithChildren::SetSpacing(int spacing) {
    if (spacing == spacing_)
        return;
    spacing_ = spacing;
    UpdateSizeHint(true);
}

bool ICBSLayoutWithChildren::AnyChildExpandsHorizontally() const {
    return std::any_of(children_.begin(), children_.end(),
                       [](const auto& child) { return child->ExpandsHorizontally(); });
}

bool ICBSLayoutWithChildren::AnyChildExpandsVertically() const {
    return std::any_of(children_.begin(), children_.end(),
                       [](const auto& child) { return child->ExpandsVertically(); });
}
