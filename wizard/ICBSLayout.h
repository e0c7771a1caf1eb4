// The base of every item in a layout tree: containers (rows, columns, boxes, stacks) and widgets.
// An item caches its size hint (content size plus margins) and the rectangle it was last given. When its
// hint changes it climbs the tree only as far as needed: an item whose new hint still fits its rectangle
// rearranges itself there; otherwise its parent is updated and rearranged.
// Ownership: a container owns its children (see ICBSLayoutWithChild, ICBSLayoutWithChildren); the parent
// reference is not owning. A root item is owned by its page. Items are used on the user interface thread.
#pragma once

#include "wizard/LayoutGeometry.h"

class ICBSLayout {
public:
    ICBSLayout() = default;
    ICBSLayout(const ICBSLayout&) = delete;
    ICBSLayout& operator=(const ICBSLayout&) = delete;
    virtual ~ICBSLayout() = default;

    // Arranges the item again in the rectangle it already has; nothing before it has been given one.
    void Apply();
    // Places the item and its content in `rect`; true when the item's hint changed while arranging, so
    // that the caller must arrange again with the new hint.
    bool SetGeometry(const LayoutRect& rect);

    virtual bool ExpandsHorizontally() const { return expandsHorizontally_; }
    virtual bool ExpandsVertically() const { return expandsVertically_; }
    virtual bool NeedsLayout() const { return needsLayout_; }
    virtual void Show() {}
    virtual void Hide() {}

    LayoutSize SizeHint() const { return sizeHint_; }
    const LayoutRect& Geometry() const { return geometry_; }
    void StoreGeometry(const LayoutRect& rect);

    // Recomputes the hint from the content; true when it changed. With `propagate`, a changed hint is
    // also carried out: the item rearranges inside its rectangle, or its parent is updated.
    bool UpdateSizeHint(bool propagate);

    void SetMargins(int left, int right, int top, int bottom);
    void SetLeftMargin(int left);
    void SetTopMargin(int top);
    void SetExpandsHorizontally(bool expands) { expandsHorizontally_ = expands; }
    void SetExpandsVertically(bool expands) { expandsVertically_ = expands; }

    ICBSLayout* Parent() const { return parent_; }
    int HorizontalAlignment() const { return horizontalAlignment_; }
    int VerticalAlignment() const { return verticalAlignment_; }

protected:
    virtual LayoutSize ContentSize() const = 0;
    // Places the content in `content` (the rectangle less the margins); true when a child's hint changed
    // in a way that changed this item's hint.
    virtual bool ArrangeContent(const LayoutRect& content) = 0;

    void MarkNeedsLayout() { needsLayout_ = true; }
    // Makes `item` a child of this item with the given alignments.
    void Adopt(ICBSLayout& item, int horizontalAlignment, int verticalAlignment);
    // The arrangement shared by boxes and stacks: one child in `content`, expanded or aligned.
    bool ArrangeSingleChild(ICBSLayout* child, const LayoutRect& content);
    // The rectangle being applied by the SetGeometry in progress (margins included).
    const LayoutRect& PendingGeometry() const { return pending_; }

private:
    bool HintFitsGeometry() const;

    int marginLeft_ = 0;
    int marginRight_ = 0;
    int marginTop_ = 0;
    int marginBottom_ = 0;
    int horizontalAlignment_ = kAlignLeft;
    int verticalAlignment_ = kAlignTop;
    bool expandsHorizontally_ = false;
    bool expandsVertically_ = false;
    LayoutSize sizeHint_;
    LayoutRect geometry_;
    LayoutRect pending_;
    ICBSLayout* parent_ = nullptr;
    // Starts true so that the first SetGeometry of a tree arranges everything, even with a rectangle
    // equal to the zero geometry of a new item.
    bool needsLayout_ = true;
};
