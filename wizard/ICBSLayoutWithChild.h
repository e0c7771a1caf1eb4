// A layout item with at most one child, which it owns: setting another child destroys the former one.
#pragma once

#include "wizard/ICBSLayout.h"

#include <memory>

class ICBSLayoutWithChild : public ICBSLayout {
public:
    bool NeedsLayout() const override;
    void Show() override;
    void Hide() override;

    // Destroys the former child, if any, and takes `item` (which may be empty) as the child.
    void SetChild(std::unique_ptr<ICBSLayout> item, int horizontalAlignment = kAlignLeft,
                  int verticalAlignment = kAlignTop);
    template <class T>
    T* SetChild(std::unique_ptr<T> item, int horizontalAlignment = kAlignLeft,
                int verticalAlignment = kAlignTop) {
        T* raw = item.get();
        SetChild(std::unique_ptr<ICBSLayout>(std::move(item)), horizontalAlignment, verticalAlignment);
        return raw;
    }
    ICBSLayout* Child() const { return child_.get(); }

private:
    std::unique_ptr<ICBSLayout> child_;
};
