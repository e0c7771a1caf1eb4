#include "LayoutFakes.h"

#include "wizard/ICBSBoxLayout.h"
#include "wizard/ICBSButtonWidget.h"
#include "wizard/ICBSCheckboxWidget.h"
#include "wizard/ICBSHorizontalLayout.h"
#include "wizard/ICBSImageWidget.h"
#include "wizard/ICBSProgressWidget.h"
#include "wizard/ICBSRadioButtonWidget.h"
#include "wizard/ICBSTextWidget.h"
#include "wizard/ICBSTextWithHyperlinksWidget.h"
#include "wizard/ICBSVerticalLayout.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

template <class Widget, class... Args>
std::unique_ptr<Widget> Make(std::shared_ptr<WindowRecord>& record, Args&&... args) {
    record = std::make_shared<WindowRecord>();
    return std::make_unique<Widget>(std::make_unique<FakeWindow>(record), std::forward<Args>(args)...);
}

// "aaaa bbbb cccc": 84 pixels on one line; within 50 pixels each word needs a line of its own.
const std::wstring kThreeWords = L"aaaa bbbb cccc";

} // namespace

TEST(Widgets, SizeHintsByKind) {
    std::shared_ptr<WindowRecord> record;
    struct Case {
        const char* label;
        std::unique_ptr<ICBSLayout> widget;
        LayoutSize hint;
        bool expands;
    };
    Case cases[] = {
        {"empty text", Make<ICBSTextWidget>(record, L"", true), {0, 0}, true},
        {"text on one line", Make<ICBSTextWidget>(record, kThreeWords, false), {84, 13}, false},
        {"wrapping text before it has a width",
         Make<ICBSTextWidget>(record, kThreeWords, true),
         {84, 13},
         true},
        {"empty check box", Make<ICBSCheckboxWidget>(record, L"", false), {16, 16}, false},
        {"check box abc: text width plus 18",
         Make<ICBSCheckboxWidget>(record, L"abc", false),
         {36, 16},
         false},
        {"multi-line check box", Make<ICBSCheckboxWidget>(record, L"abc", true), {36, 16}, true},
        {"radio button", Make<ICBSRadioButtonWidget>(record, L"abcd", false), {42, 16}, false},
        {"empty button", Make<ICBSButtonWidget>(record, L""), {40, 10}, false},
        {"button OK", Make<ICBSButtonWidget>(record, L"OK"), {52, 23}, false},
        {"icon", Make<ICBSImageWidget>(record, LayoutSize{48, 48}), {48, 48}, false},
        {"no icon", Make<ICBSImageWidget>(record, LayoutSize{}), {0, 0}, false},
        {"empty link text", Make<ICBSTextWithHyperlinksWidget>(record, L"", true), {0, 0}, true},
        {"link text measures itself",
         Make<ICBSTextWithHyperlinksWidget>(record, L"<a>x</a>", false),
         {120, 26},
         false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.hint, c.widget->SizeHint());
        EXPECT_EQ(c.expands, c.widget->ExpandsHorizontally());
        EXPECT_FALSE(c.widget->ExpandsVertically());
    }

    // Margins come on top of the content.
    auto box = Make<ICBSCheckboxWidget>(record, L"", false);
    box->SetMargins(1, 2, 3, 4);
    EXPECT_EQ((LayoutSize{19, 23}), box->SizeHint());
}

TEST(Widgets, AWrappingTextInANarrowColumnGrowsTallerOnce) {
    ICBSVerticalLayout column;
    std::shared_ptr<WindowRecord> textWindow, belowWindow;
    auto* text = column.AddChild(Make<ICBSTextWidget>(textWindow, kThreeWords, true));
    column.AddChild(Make<ICBSButtonWidget>(belowWindow, L"OK"));
    const int columnHeight = column.SizeHint().height;

    EXPECT_TRUE(column.SetGeometry({0, 0, 50, 300})); // the column's hint changed while it was arranged
    EXPECT_EQ((LayoutSize{24, 3 * kLineHeight}), text->SizeHint());
    EXPECT_EQ(columnHeight + 2 * kLineHeight, column.SizeHint().height);
    EXPECT_EQ((LayoutRect{0, 0, 50, 3 * kLineHeight}), textWindow->rect);
    EXPECT_EQ(3 * kLineHeight + 5, belowWindow->rect.y);

    // Nothing moves a second time for the same rectangle.
    textWindow->calls.clear();
    EXPECT_FALSE(column.SetGeometry({0, 0, 50, 300}));
    EXPECT_TRUE(textWindow->calls.empty());
}

TEST(Widgets, AWrappingTextCutByARowWrapsAndTheRowGrows) {
    ICBSHorizontalLayout row;
    std::shared_ptr<WindowRecord> button, text;
    row.AddChild(Make<ICBSButtonWidget>(button, L"OK"));
    row.AddChild(Make<ICBSTextWidget>(text, kThreeWords, true));
    // 43 pixels are left beside the 52-pixel button.
    EXPECT_TRUE(row.SetGeometry({0, 0, 100, 20}));
    EXPECT_EQ((LayoutRect{57, 0, 43, 3 * kLineHeight}), text->rect);
    EXPECT_EQ((LayoutSize{52 + 5 + 24, 3 * kLineHeight}), row.SizeHint());
}

TEST(Widgets, ANonWrappingTextKeepsItsLineAndIsCut) {
    ICBSHorizontalLayout row;
    std::shared_ptr<WindowRecord> window;
    auto* text = row.AddChild(Make<ICBSTextWidget>(window, kThreeWords, false));
    EXPECT_FALSE(row.SetGeometry({0, 0, 50, 20}));
    EXPECT_EQ((LayoutSize{84, kLineHeight}), text->SizeHint());
    EXPECT_EQ((LayoutRect{0, 0, 50, kLineHeight}), window->rect);
}

TEST(Widgets, AWrappingTextWithNoWidthStaysOnOneLine) {
    ICBSHorizontalLayout row;
    std::shared_ptr<WindowRecord> first, second;
    row.AddChild(Make<ICBSTextWidget>(first, L"abcdefghij", false));
    auto* cut = row.AddChild(Make<ICBSTextWidget>(second, kThreeWords, true));
    EXPECT_FALSE(row.SetGeometry({0, 0, 60, 20}));
    EXPECT_EQ(0, second->rect.width);
    EXPECT_EQ((LayoutSize{84, kLineHeight}), cut->SizeHint());
}

// A short text of two lines fits its place's width as one line would; it must still be given two lines.
TEST(Widgets, AWrappingTextKeepsItsLineBreaksWhereItsLinesFit) {
    ICBSVerticalLayout column(0);
    std::shared_ptr<WindowRecord> window;
    auto* text = column.AddChild(Make<ICBSTextWidget>(window, L"ab cd:\n    ef", true));
    column.SetGeometry({0, 0, 400, 100});
    EXPECT_EQ(2 * kLineHeight, text->SizeHint().height);
    EXPECT_EQ(2 * kLineHeight, window->rect.height);
}

TEST(Widgets, AWordWiderThanTheWidthEndsTheRearranging) {
    // The word sticks out at every width, so the widget is always short of room; arranging must still end.
    const std::wstring longWord(40, L'x');
    for (bool inRow : {true, false}) {
        SCOPED_TRACE(inRow ? "row" : "column");
        std::unique_ptr<ICBSLayoutWithChildren> line;
        if (inRow)
            line = std::make_unique<ICBSHorizontalLayout>();
        else
            line = std::make_unique<ICBSVerticalLayout>();
        std::shared_ptr<WindowRecord> a, b;
        line->AddChild(Make<ICBSTextWidget>(a, L"first " + longWord, true));
        line->AddChild(Make<ICBSCheckboxWidget>(b, longWord + L" last", true));
        line->SetGeometry({0, 0, 100, 100});
        EXPECT_FALSE(line->SetGeometry({0, 0, 100, 100}));
        EXPECT_EQ(2 * kLineHeight, line->ChildAt(0)->SizeHint().height);
    }
}

TEST(Widgets, AMultiLineCheckBoxWrapsBesideItsBox) {
    ICBSVerticalLayout column;
    std::shared_ptr<WindowRecord> window;
    // "aaaa bbbb" is 54 pixels: it fits a 72-pixel widget, but not the 54 pixels less one beside the box.
    auto* box = column.AddChild(Make<ICBSCheckboxWidget>(window, L"aaaa bbbb", true));
    column.SetGeometry({0, 0, 71, 100});
    EXPECT_EQ((LayoutSize{24 + 18, 2 * kLineHeight}), box->SizeHint());
    column.SetGeometry({0, 0, 72, 100});
    EXPECT_EQ((LayoutRect{0, 0, 72, 2 * kLineHeight}), window->rect); // a wider rectangle keeps the hint
}

TEST(Widgets, SettingTheSameTextDoesNothing) {
    ICBSVerticalLayout column;
    std::shared_ptr<WindowRecord> window;
    auto* text = column.AddChild(Make<ICBSTextWidget>(window, L"abc", true));
    column.SetGeometry({0, 0, 100, 100});
    window->calls.clear();
    text->SetText(L"abc");
    EXPECT_TRUE(window->calls.empty());
    EXPECT_FALSE(column.NeedsLayout());
}

TEST(Widgets, ANewTextRelaysOutBeforeTheControlShowsIt) {
    ICBSVerticalLayout column;
    std::shared_ptr<WindowRecord> textWindow, boxWindow, belowWindow;
    auto* text = column.AddChild(Make<ICBSTextWidget>(textWindow, L"abc", true));
    auto* box = column.AddChild(Make<ICBSCheckboxWidget>(boxWindow, L"abc", false));
    column.AddChild(Make<ICBSButtonWidget>(belowWindow, L"OK"));
    column.SetGeometry({0, 0, 100, 100});
    textWindow->calls.clear();
    boxWindow->calls.clear();

    // Same size: the static text erases its old text and nothing is placed anew.
    text->SetText(L"xyz");
    EXPECT_EQ((std::vector<std::string>{"invalidate", "text"}), textWindow->calls);
    EXPECT_EQ(L"xyz", text->Text());

    // A narrower text that still fits its width is repainted where it stands.
    textWindow->calls.clear();
    text->SetText(L"x");
    EXPECT_EQ((std::vector<std::string>{"invalidate", "invalidate", "text"}), textWindow->calls);
    EXPECT_EQ((LayoutRect{0, 0, 100, kLineHeight}), textWindow->rect);

    // Taller: the column moves what lies below.
    textWindow->calls.clear();
    text->SetText(kThreeWords + L" " + kThreeWords);
    EXPECT_EQ((std::vector<std::string>{"invalidate", "move", "text"}), textWindow->calls);
    EXPECT_EQ(2 * kLineHeight, textWindow->rect.height);
    EXPECT_EQ(2 * kLineHeight + 5, boxWindow->rect.y);
    EXPECT_EQ(2 * kLineHeight + 5 + 16 + 5, belowWindow->rect.y);

    // A check box repaints itself: no invalidation before the change.
    boxWindow->calls.clear();
    box->SetText(L"abcd");
    EXPECT_EQ((std::vector<std::string>{"move", "text"}), boxWindow->calls);
    EXPECT_EQ(42, boxWindow->rect.width);
}

TEST(Widgets, LinkTextAsksForItsIdealSizeWithinItsWidth) {
    ICBSVerticalLayout column;
    std::shared_ptr<WindowRecord> wrapping, single;
    column.AddChild(Make<ICBSTextWithHyperlinksWidget>(wrapping, L"see <a>here</a>", true));
    column.AddChild(Make<ICBSTextWithHyperlinksWidget>(single, L"see <a>here</a>", false));
    EXPECT_EQ(10000, wrapping->lastIdealWidth);
    wrapping->idealSize = {90, 40};
    column.SetGeometry({0, 0, 90, 100});
    EXPECT_EQ(90, wrapping->lastIdealWidth);
    EXPECT_EQ(10000, single->lastIdealWidth);

    // A new text reaches the control before the control is measured, so the hint is the new text's.
    auto* link = static_cast<ICBSTextWithHyperlinksWidget*>(column.ChildAt(1));
    single->idealSize = {300, 13};
    link->SetText(L"read <a>the notes</a>");
    EXPECT_EQ(L"read <a>the notes</a>", single->idealText);
    EXPECT_EQ((LayoutSize{300, 13}), link->SizeHint());
}

TEST(Widgets, RemovingAWidgetDestroysItsWindow) {
    ICBSVerticalLayout column;
    std::shared_ptr<WindowRecord> window;
    auto* text = column.AddChild(Make<ICBSTextWidget>(window, L"abc", true));
    column.Hide();
    EXPECT_FALSE(window->visible);
    column.Show();
    EXPECT_TRUE(window->visible);
    EXPECT_TRUE(column.RemoveChild(text));
    EXPECT_TRUE(window->destroyed);
}

TEST(ProgressWidget, PostsEachNewPositionWithinTheRange) {
    constexpr unsigned kMessage = 0x8001;
    std::shared_ptr<WindowRecord> window;
    window = std::make_shared<WindowRecord>();
    ICBSProgressWidget bar(std::make_unique<FakeWindow>(window), kMessage, 100);
    EXPECT_EQ(100, window->barRange);
    EXPECT_EQ((LayoutSize{0, 16}), bar.SizeHint());
    EXPECT_TRUE(bar.ExpandsHorizontally());

    struct Step {
        const char* label;
        int argument;
        bool advance;
        int position;
        bool posts;
    };
    const Step steps[] = {
        {"the first position always posts", 0, false, 0, true},
        {"same position again", 0, false, 0, false},
        {"beyond the range is limited", 150, false, 100, true},
        {"again beyond the range", 150, false, 100, false},
        {"below zero", -5, false, 0, true},
        {"advance", 30, true, 30, true},
        {"a huge step does not overflow", INT_MAX, true, 100, true},
        {"a huge step back", INT_MIN, true, 0, true},
        {"no step", 0, true, 0, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.label);
        window->queue.clear();
        if (s.advance)
            bar.Advance(s.argument);
        else
            bar.SetPosition(s.argument);
        EXPECT_EQ(s.position, bar.Position());
        if (s.posts) {
            ASSERT_EQ(1u, window->queue.size());
            EXPECT_EQ(std::make_pair(kMessage, s.position), window->queue.front());
        } else {
            EXPECT_TRUE(window->queue.empty());
        }
    }
    EXPECT_EQ(-1, window->barPosition); // posting never touches the bar
}

TEST(ProgressWidget, PumpAppliesOnlyPositionsInRange) {
    constexpr unsigned kMessage = 0x8001;
    auto window = std::make_shared<WindowRecord>();
    ICBSProgressWidget bar(std::make_unique<FakeWindow>(window), kMessage, 100);
    window->queue = {{kMessage, 101}, {kMessage + 1, 7}, {kMessage, 40}};
    bar.PumpProgress();
    EXPECT_EQ(-1, window->barPosition); // taken out but not applied
    EXPECT_EQ(2u, window->queue.size());
    bar.PumpProgress();
    EXPECT_EQ(40, window->barPosition);
    bar.PumpProgress(); // nothing of its own left
    EXPECT_EQ(40, window->barPosition);
    EXPECT_EQ(1u, window->queue.size());
}

TEST(ProgressWidget, AnEndlessBarIgnoresPositions) {
    auto window = std::make_shared<WindowRecord>();
    ICBSProgressWidget bar(std::make_unique<FakeWindow>(window), 0x8001, 0);
    EXPECT_EQ(100, window->marqueeStep);
    EXPECT_EQ(-1, window->barRange);
    bar.SetPosition(10);
    bar.Advance(10);
    EXPECT_TRUE(window->queue.empty());
    EXPECT_EQ(-1, bar.Position());

    bar.SetBarRange(50);
    EXPECT_EQ(50, window->barRange);
    bar.SetPosition(10);
    EXPECT_EQ(1u, window->queue.size());
    bar.SetBarRange(-1); // no bar change, but positions are ignored again
    bar.SetPosition(20);
    EXPECT_EQ(1u, window->queue.size());
}

// A box keeps a wrapping text at its bottom edge with all its lines, although the box's own rectangle
// does not change when the text grows taller for its width.
TEST(Widgets, ABoxPlacesAWrappedTextWithItsNewHeight) {
    std::shared_ptr<WindowRecord> window;
    ICBSBoxLayout box(Make<ICBSTextWidget>(window, kThreeWords, true), kAlignLeft, kAlignBottom);
    box.SetGeometry({0, 0, 5 * kCharWidth, 100});
    EXPECT_EQ(3 * kLineHeight, window->rect.height);
    EXPECT_EQ(100, window->rect.y + window->rect.height);
}
