#include "LayoutFakes.h"

#include "wizard/ICBSBoxLayout.h"
#include "wizard/ICBSHorizontalLayout.h"
#include "wizard/ICBSStackLayout.h"
#include "wizard/ICBSVerticalLayout.h"

#include <gtest/gtest.h>

namespace {

struct ChildSpec {
    int width;
    int height;
    bool expandsH = false;
    bool expandsV = false;
    int alignment = kAlignLeft; // across the line: vertical in a row, horizontal in a column
};

struct LineCase {
    const char* label;
    std::vector<ChildSpec> children;
    LayoutRect rect;
    std::vector<LayoutRect> cells;
    LayoutSize hint;
};

template <class Line> void CheckLine(const LineCase& c, bool row) {
    SCOPED_TRACE(c.label);
    Line line;
    std::vector<FakeLeaf*> leaves;
    for (const ChildSpec& spec : c.children) {
        auto leaf = Leaf(spec.width, spec.height, spec.expandsH, spec.expandsV);
        leaves.push_back(row ? line.AddChild(std::move(leaf), kAlignLeft, spec.alignment)
                             : line.AddChild(std::move(leaf), spec.alignment, kAlignTop));
    }
    EXPECT_FALSE(line.SetGeometry(c.rect));
    EXPECT_EQ(c.hint, line.SizeHint());
    ASSERT_EQ(c.cells.size(), leaves.size());
    for (size_t i = 0; i < leaves.size(); ++i) {
        EXPECT_EQ(c.cells[i], leaves[i]->Geometry()) << "child " << i;
        EXPECT_EQ(1, leaves[i]->Record()->arrangements) << "child " << i;
    }
}

} // namespace

TEST(RowLayout, PlacesChildrenSideBySide) {
    const LineCase cases[] = {
        {"two fixed children",
         {{100, 20}, {50, 20}},
         {10, 20, 300, 40},
         {{10, 20, 100, 20}, {115, 20, 50, 20}},
         {155, 20}},
        {"only the second expands",
         {{100, 20}, {50, 20, true}},
         {10, 20, 300, 40},
         {{10, 20, 100, 20}, {115, 20, 195, 20}},
         {155, 20}},
        {"both expand, the odd pixel is lost",
         {{100, 20, true}, {50, 20, true}},
         {10, 20, 300, 40},
         {{10, 20, 172, 20}, {187, 20, 122, 20}},
         {155, 20}},
        {"too narrow: cut at the edge, nothing after",
         {{100, 20}, {50, 20}, {80, 20}},
         {10, 20, 120, 40},
         {{10, 20, 100, 20}, {115, 20, 15, 20}, {135, 20, 0, 20}},
         {240, 20}},
        {"one pixel left",
         {{100, 20}, {50, 20}},
         {10, 20, 106, 40},
         {{10, 20, 100, 20}, {115, 20, 1, 20}},
         {155, 20}},
        {"no pixel left",
         {{100, 20}, {50, 20}},
         {10, 20, 105, 40},
         {{10, 20, 100, 20}, {115, 20, 0, 20}},
         {155, 20}},
        {"expanding child cut too",
         {{100, 20}, {50, 20, true}},
         {10, 20, 130, 40},
         {{10, 20, 100, 20}, {115, 20, 25, 20}},
         {155, 20}},
        {"vertical alignments",
         {{10, 10, false, false, kAlignTop},
          {10, 10, false, false, kAlignCentre},
          {10, 10, false, false, kAlignBottom}},
         {10, 20, 300, 40},
         {{10, 20, 10, 10}, {25, 35, 10, 10}, {40, 50, 10, 10}},
         {40, 10}},
        {"taller than the row: centre truncates toward zero",
         {{10, 41, false, false, kAlignCentre}, {10, 41, false, false, kAlignBottom}},
         {10, 20, 300, 40},
         {{10, 20, 10, 41}, {25, 19, 10, 41}},
         {25, 41}},
        {"vertical expansion takes the row's height",
         {{10, 10, false, true, kAlignBottom}},
         {10, 20, 300, 40},
         {{10, 20, 10, 40}},
         {10, 10}},
        {"no children", {}, {0, 0, 100, 100}, {}, {0, 0}},
    };
    for (const auto& c : cases)
        CheckLine<ICBSHorizontalLayout>(c, true);
}

TEST(ColumnLayout, PlacesChildrenOneUnderTheOther) {
    const LineCase cases[] = {
        {"two fixed children",
         {{100, 20}, {50, 30}},
         {10, 20, 200, 100},
         {{10, 20, 100, 20}, {10, 45, 50, 30}},
         {100, 55}},
        {"the second takes the spare height",
         {{100, 20}, {50, 30, false, true}},
         {10, 20, 200, 100},
         {{10, 20, 100, 20}, {10, 45, 50, 75}},
         {100, 55}},
        {"horizontal expansion and alignments",
         {{50, 10, true}, {50, 10, false, false, kAlignCentre}, {50, 10, false, false, kAlignRight}},
         {10, 20, 200, 100},
         {{10, 20, 200, 10}, {85, 35, 50, 10}, {160, 50, 50, 10}},
         {50, 40}},
        {"too short: nothing is cut",
         {{100, 60}, {100, 60}},
         {10, 20, 200, 100},
         {{10, 20, 100, 60}, {10, 85, 100, 60}},
         {100, 125}},
        {"wider than the column keeps its width",
         {{300, 10, false, false, kAlignCentre}},
         {10, 20, 200, 100},
         {{-40, 20, 300, 10}},
         {300, 10}},
        {"no children", {}, {0, 0, 100, 100}, {}, {0, 0}},
    };
    for (const auto& c : cases)
        CheckLine<ICBSVerticalLayout>(c, false);
}

TEST(RowLayout, MarginsSurroundTheContent) {
    ICBSHorizontalLayout row;
    auto* first = row.AddChild(Leaf(100, 20));
    auto* second = row.AddChild(Leaf(50, 20, true));
    row.SetMargins(10, 20, 3, 4);
    EXPECT_EQ((LayoutSize{185, 27}), row.SizeHint());
    row.SetGeometry({0, 0, 300, 50});
    EXPECT_EQ((LayoutRect{10, 3, 100, 20}), first->Geometry());
    // The spare width is the content width less the whole hint, margins and all: 270 - 185.
    EXPECT_EQ((LayoutRect{115, 3, 135, 20}), second->Geometry());
}

TEST(Layout, MarginsWiderThanTheRectangleLeaveAnEmptyContent) {
    ICBSBoxLayout box(Leaf(10, 10, true, true), kAlignLeft, kAlignTop);
    box.SetMargins(30, 30, 30, 30);
    box.SetGeometry({0, 0, 50, 50});
    EXPECT_EQ((LayoutRect{30, 30, 0, 0}), box.Child()->Geometry());
}

TEST(BoxLayout, PlacesItsChildByFlagsAndAlignment) {
    struct Case {
        const char* label;
        ChildSpec child;
        int horizontal, vertical;
        LayoutRect expected;
    };
    const Case cases[] = {
        {"bottom left, like a notice at the foot of a page",
         {50, 20},
         kAlignLeft,
         kAlignBottom,
         {5, 185, 50, 20}},
        {"centred", {50, 20}, kAlignCentre, kAlignCentre, {130, 95, 50, 20}},
        {"right", {50, 20}, kAlignRight, kAlignTop, {255, 5, 50, 20}},
        {"expanding child fills the box", {50, 20, true, true}, kAlignRight, kAlignBottom, {5, 5, 300, 200}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ICBSBoxLayout box(Leaf(c.child.width, c.child.height, c.child.expandsH, c.child.expandsV),
                          c.horizontal, c.vertical);
        box.SetGeometry({5, 5, 300, 200});
        EXPECT_EQ(c.expected, box.Child()->Geometry());
        EXPECT_EQ((LayoutSize{c.child.width, c.child.height}), box.SizeHint());
        EXPECT_TRUE(box.ExpandsHorizontally());
        EXPECT_TRUE(box.ExpandsVertically());
    }
    ICBSBoxLayout empty;
    EXPECT_FALSE(empty.SetGeometry({0, 0, 10, 10}));
    EXPECT_EQ((LayoutSize{0, 0}), empty.SizeHint());
}

TEST(Layout, ContainersExpandWhenAChildDoes) {
    ICBSVerticalLayout column;
    auto* row = column.AddChild(std::make_unique<ICBSHorizontalLayout>());
    EXPECT_FALSE(column.ExpandsHorizontally());
    EXPECT_FALSE(row->ExpandsVertically());
    row->AddChild(Leaf(1, 1, true, false));
    EXPECT_TRUE(row->ExpandsHorizontally());
    EXPECT_TRUE(column.ExpandsHorizontally());
    EXPECT_FALSE(column.ExpandsVertically());
    // A box inside makes its container expand both ways.
    column.AddChild(std::make_unique<ICBSBoxLayout>());
    EXPECT_TRUE(column.ExpandsVertically());
}

TEST(Layout, SameRectangleTwiceArrangesNothingTheSecondTime) {
    ICBSVerticalLayout root;
    auto* row = root.AddChild(std::make_unique<ICBSHorizontalLayout>());
    auto* a = row->AddChild(Leaf(40, 10));
    auto* b = row->AddChild(Leaf(40, 10, true));
    auto* c = root.AddChild(Leaf(30, 30));
    EXPECT_TRUE(root.NeedsLayout());

    root.SetGeometry({0, 0, 200, 100});
    EXPECT_FALSE(root.NeedsLayout());
    EXPECT_FALSE(row->NeedsLayout());
    root.SetGeometry({0, 0, 200, 100});
    for (auto* leaf : {a, b, c})
        EXPECT_EQ(1, leaf->Record()->arrangements);

    // Another size reaches the leaves whose cells change, and only those.
    root.SetGeometry({0, 0, 250, 100});
    EXPECT_EQ(1, a->Record()->arrangements);
    EXPECT_EQ(2, b->Record()->arrangements);
    EXPECT_EQ(1, c->Record()->arrangements);
}

TEST(Layout, FirstGeometryArrangesEvenTheZeroRectangle) {
    ICBSBoxLayout box(Leaf(0, 0), kAlignLeft, kAlignTop);
    auto* leaf = static_cast<FakeLeaf*>(box.Child());
    box.SetGeometry({0, 0, 0, 0});
    EXPECT_EQ(1, leaf->Record()->arrangements);
    box.SetGeometry({0, 0, 0, 0});
    EXPECT_EQ(1, leaf->Record()->arrangements);
}

TEST(Layout, ApplyWithoutAGeometryDoesNothing) {
    ICBSVerticalLayout root;
    auto* leaf = root.AddChild(Leaf(10, 10));
    root.Apply();
    EXPECT_EQ(0, leaf->Record()->arrangements);
    // One side is enough to count as a geometry.
    root.SetGeometry({0, 0, 0, 5});
    leaf->Resize({10, 20});
    EXPECT_EQ(2, leaf->Record()->arrangements);
}

TEST(Layout, AHintThatStillFitsRearrangesOnlyTheItem) {
    ICBSVerticalLayout root;
    auto* wide = root.AddChild(Leaf(50, 10, true));
    auto* below = root.AddChild(Leaf(50, 10));
    root.SetGeometry({0, 0, 200, 100});

    wide->Resize({80, 10}); // wider, still narrower than its 200-pixel cell
    EXPECT_EQ((LayoutSize{80, 10}), wide->SizeHint());
    EXPECT_EQ(2, wide->Record()->arrangements);
    EXPECT_EQ(1, below->Record()->arrangements);
    EXPECT_EQ((LayoutRect{0, 15, 50, 10}), below->Geometry());
    EXPECT_FALSE(root.NeedsLayout());
}

TEST(Layout, AHintThatDoesNotFitClimbsToTheRoot) {
    ICBSVerticalLayout root;
    auto* row = root.AddChild(std::make_unique<ICBSHorizontalLayout>());
    auto* grows = row->AddChild(Leaf(20, 10));
    auto* beside = row->AddChild(Leaf(20, 10));
    auto* below = root.AddChild(Leaf(50, 10));
    root.SetGeometry({0, 0, 200, 100});
    EXPECT_EQ(15, below->Geometry().y);

    grows->Resize({20, 30});
    EXPECT_EQ((LayoutSize{45, 30}), row->SizeHint());
    EXPECT_EQ((LayoutSize{50, 45}), root.SizeHint());
    EXPECT_EQ((LayoutRect{0, 0, 20, 30}), grows->Geometry());
    EXPECT_EQ((LayoutRect{0, 35, 50, 10}), below->Geometry());
    EXPECT_EQ(1, beside->Record()->arrangements); // its cell did not change
    EXPECT_FALSE(root.NeedsLayout());
}

TEST(Layout, AShrinkingItemThatDoesNotExpandLetsItsParentCloseTheGap) {
    ICBSHorizontalLayout row;
    auto* shrinks = row.AddChild(Leaf(50, 10));
    auto* after = row.AddChild(Leaf(20, 10));
    row.SetGeometry({0, 0, 200, 10});
    shrinks->Resize({30, 10});
    EXPECT_EQ((LayoutRect{0, 0, 30, 10}), shrinks->Geometry());
    EXPECT_EQ((LayoutRect{35, 0, 20, 10}), after->Geometry());
    EXPECT_EQ((LayoutSize{55, 10}), row.SizeHint());
}

TEST(Layout, AParentWithAnUnchangedHintStillRearranges) {
    ICBSHorizontalLayout row;
    row.AddChild(Leaf(10, 30));
    auto* small = row.AddChild(Leaf(10, 10));
    row.SetGeometry({0, 0, 100, 30});

    small->Resize({10, 20}); // the row stays 30 high, but the child needs a taller cell
    EXPECT_EQ((LayoutSize{25, 30}), row.SizeHint());
    EXPECT_EQ((LayoutRect{15, 0, 10, 20}), small->Geometry());
    EXPECT_FALSE(row.NeedsLayout());
}

TEST(Layout, RemovingAChildDestroysItAndClosesTheGap) {
    ICBSHorizontalLayout row;
    auto* first = row.AddChild(Leaf(10, 10), kAlignCentre, kAlignBottom);
    auto* second = row.AddChild(Leaf(20, 10));
    auto* third = row.AddChild(Leaf(30, 10));
    EXPECT_EQ(&row, first->Parent());
    EXPECT_EQ(kAlignCentre, first->HorizontalAlignment());
    EXPECT_EQ(kAlignBottom, first->VerticalAlignment());
    row.AddChild(std::unique_ptr<ICBSLayout>());
    EXPECT_EQ(3u, row.ChildCount());
    row.SetGeometry({0, 0, 200, 20});

    const auto secondRecord = second->Record();
    EXPECT_TRUE(row.RemoveChild(second));
    EXPECT_TRUE(secondRecord->destroyed);
    EXPECT_EQ(2u, row.ChildCount());
    EXPECT_EQ(first, row.ChildAt(0));
    EXPECT_EQ(third, row.ChildAt(1));
    EXPECT_EQ((LayoutSize{45, 10}), row.SizeHint());
    EXPECT_EQ(15, third->Geometry().x); // arranged again at once

    // Items that are not children are refused and left alone.
    FakeLeaf stranger({1, 1});
    ICBSVerticalLayout other;
    auto* elsewhere = other.AddChild(Leaf(1, 1));
    EXPECT_FALSE(row.RemoveChild(nullptr));
    EXPECT_FALSE(row.RemoveChild(&stranger));
    EXPECT_FALSE(row.RemoveChild(elsewhere));
    EXPECT_FALSE(elsewhere->Record()->destroyed);
    EXPECT_EQ(2u, row.ChildCount());
}

TEST(Layout, DestroyingAContainerDestroysTheSubtree) {
    auto row = std::make_unique<ICBSHorizontalLayout>();
    const auto leaf = row->AddChild(Leaf(1, 1))->Record();
    auto* column = row->AddChild(std::make_unique<ICBSVerticalLayout>());
    auto* box = column->AddChild(std::make_unique<ICBSBoxLayout>(Leaf(1, 1), kAlignLeft, kAlignTop));
    const auto deep = static_cast<FakeLeaf*>(box->Child())->Record();
    row.reset();
    EXPECT_TRUE(leaf->destroyed);
    EXPECT_TRUE(deep->destroyed);
}

TEST(Layout, SetChildDestroysTheFormerChild) {
    ICBSBoxLayout box(Leaf(10, 10), kAlignLeft, kAlignTop);
    const auto former = static_cast<FakeLeaf*>(box.Child())->Record();
    auto* next = box.SetChild(Leaf(30, 20), kAlignRight, kAlignBottom);
    EXPECT_TRUE(former->destroyed);
    EXPECT_EQ(&box, next->Parent());
    EXPECT_EQ(kAlignRight, next->HorizontalAlignment());
    EXPECT_EQ((LayoutSize{30, 20}), box.SizeHint());
    const auto nextRecord = next->Record();
    box.SetChild(std::unique_ptr<ICBSLayout>());
    EXPECT_TRUE(nextRecord->destroyed);
    EXPECT_EQ(nullptr, box.Child());
    EXPECT_EQ((LayoutSize{0, 0}), box.SizeHint());
}

TEST(Layout, SpacingChangesTheHint) {
    ICBSVerticalLayout column(10);
    column.AddChild(Leaf(10, 10));
    column.AddChild(Leaf(10, 10));
    EXPECT_EQ(30, column.SizeHint().height);
    column.SetSpacing(0);
    EXPECT_EQ(20, column.SizeHint().height);
    EXPECT_EQ(5, ICBSHorizontalLayout().Spacing());
}

TEST(StackLayout, ShowsOnePageAtATime) {
    ICBSStackLayout stack;
    auto* small = static_cast<FakeLeaf*>(stack.AddPage(Leaf(20, 10)));
    auto* large = static_cast<FakeLeaf*>(stack.AddPage(Leaf(40, 30)));
    EXPECT_EQ(large, stack.Current());
    EXPECT_FALSE(small->Record()->visible);
    EXPECT_TRUE(large->Record()->visible);
    EXPECT_EQ((LayoutSize{40, 30}), stack.SizeHint()); // only the current page counts

    EXPECT_TRUE(stack.SetCurrent(small));
    EXPECT_TRUE(small->Record()->visible);
    EXPECT_FALSE(large->Record()->visible);
    EXPECT_EQ((LayoutSize{20, 10}), stack.SizeHint());
    EXPECT_TRUE(stack.SetCurrent(small));

    // Refusals hide the current page but keep it current.
    FakeLeaf stranger({1, 1});
    EXPECT_FALSE(stack.SetCurrent(&stranger));
    EXPECT_EQ(small, stack.Current());
    EXPECT_FALSE(small->Record()->visible);
    EXPECT_FALSE(stack.SetCurrent(nullptr));
    EXPECT_EQ(small, stack.Current());

    // Showing the stack shows the current page only; hiding it hides every page.
    stack.Show();
    EXPECT_TRUE(small->Record()->visible);
    EXPECT_FALSE(large->Record()->visible);
    stack.Hide();
    EXPECT_FALSE(small->Record()->visible);
}

TEST(StackLayout, ExpandsAndNeedsLayoutByItsPages) {
    ICBSStackLayout stack;
    auto* fixed = stack.AddPage(Leaf(10, 10));
    auto* expanding = stack.AddPage(Leaf(10, 10, true, true));
    EXPECT_TRUE(stack.ExpandsHorizontally());
    stack.SetCurrent(fixed);
    EXPECT_FALSE(stack.ExpandsHorizontally());
    EXPECT_FALSE(stack.ExpandsVertically());

    stack.SetGeometry({0, 0, 50, 50});
    // The other page was never placed, so the stack still counts as needing a layout.
    EXPECT_TRUE(stack.NeedsLayout());
    stack.SetCurrent(expanding);
    EXPECT_EQ((LayoutRect{0, 0, 50, 50}), expanding->Geometry());
    EXPECT_FALSE(stack.NeedsLayout());
}

TEST(StackLayout, ALargerPageGrowsTheStackAndRearrangesItsParent) {
    ICBSVerticalLayout root;
    auto* stack = root.AddChild(std::make_unique<ICBSStackLayout>());
    auto* small = stack->AddPage(Leaf(40, 10));
    auto* large = static_cast<FakeLeaf*>(stack->AddPage(Leaf(60, 40)));
    stack->SetCurrent(small);
    auto* below = root.AddChild(Leaf(50, 10));
    root.SetGeometry({0, 0, 200, 200});
    EXPECT_EQ((LayoutRect{0, 15, 50, 10}), below->Geometry());

    EXPECT_TRUE(stack->SetCurrent(large));
    EXPECT_EQ((LayoutSize{60, 40}), stack->SizeHint());
    EXPECT_EQ((LayoutSize{60, 55}), root.SizeHint());
    EXPECT_EQ((LayoutRect{0, 0, 60, 40}), stack->Geometry());
    EXPECT_EQ((LayoutRect{0, 0, 60, 40}), large->Geometry());
    EXPECT_EQ((LayoutRect{0, 45, 50, 10}), below->Geometry());
}

TEST(StackLayout, APageOfTheSameSizeIsPlacedWhereTheStackIsNow) {
    ICBSBoxLayout root;
    auto* stack = root.SetChild(std::make_unique<ICBSStackLayout>(), kAlignCentre, kAlignCentre);
    auto* first = stack->AddPage(Leaf(40, 10));
    auto* second = stack->AddPage(Leaf(40, 10));
    root.SetGeometry({0, 0, 100, 100});
    EXPECT_EQ((LayoutRect{30, 45, 40, 10}), second->Geometry());
    stack->SetCurrent(first);
    root.SetGeometry({0, 0, 200, 200}); // the stack moves while the second page is hidden

    EXPECT_TRUE(stack->SetCurrent(second));
    EXPECT_EQ((LayoutRect{80, 95, 40, 10}), second->Geometry());
}

TEST(StackLayout, RemovingTheCurrentPageLeavesNoPage) {
    ICBSStackLayout stack;
    auto* only = stack.AddPage(Leaf(30, 30));
    stack.SetGeometry({0, 0, 30, 30});
    EXPECT_TRUE(stack.RemoveChild(only));
    EXPECT_EQ(nullptr, stack.Current());
    EXPECT_EQ((LayoutSize{0, 0}), stack.SizeHint());
    EXPECT_FALSE(stack.SetGeometry({0, 0, 40, 40}));
    stack.Show();
    EXPECT_EQ(nullptr, stack.AddPage(std::unique_ptr<ICBSLayout>()));
}
