// A layout item with an ordered list of children, which it owns: removing a child destroys it, and
// destroying the container destroys them all. The order of children is the order of adding.
#pragma once

#include "wizard/ICBSLayout.h"

#include <cstddef>
#include <memory>
#include <vector>

class ICBSLayoutWithChildren : public ICBSLayout {
public:
    // Rows and columns of the wizard pages keep 5 pixels between neighbouring children unless the page
    // asks for another spacing.
    static constexpr int kDefaultSpacing = 5;

    bool NeedsLayout() const override;
    void Show() override;
    void Hide() override;

    // Appends `item` with the given alignments; nothing for an empty item.
    void AddChild(std::unique_ptr<ICBSLayout> item, int horizontalAlignment = kAlignLeft,
                  int verticalAlignment = kAlignTop);
    template <class T>
    T* AddChild(std::unique_ptr<T> item, int horizontalAlignment = kAlignLeft,
                int verticalAlignment = kAlignTop) {
        T* raw = item.get();
        AddChild(std::unique_ptr<ICBSLayout>(std::move(item)), horizontalAlignment, verticalAlignment);
        return raw;
    }
    // Destroys `item` and closes the gap; false (and nothing destroyed) when it is not a child.
    bool RemoveChild(const ICBSLayout* item);

    size_t ChildCount() const { return children_.size(); }
    ICBSLayout* ChildAt(size_t index) const {
        return index < children_.size() ? children_[index].get() : nullptr;
    }
    bool IsChild(const ICBSLayout* item) const;

    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);

protected:
    explicit ICBSLayoutWithChildren(int spacing) : spacing_(spacing) {}
    const std::vector<std::unique_ptr<ICBSLayout>>& Children() const { return children_; }
    // Called just before a child is destroyed by RemoveChild.
    virtual void ChildRemoving(const ICBSLayout*) {}
    bool AnyChildExpandsHorizontally() const;
    bool AnyChildExpandsVertically() const;

private:
    std::vector<std::unique_ptr<ICBSLayout>> children_;
    int spacing_;
};
