// Test doubles for the layout engine: a leaf item with a settable content size that counts its
// arrangements, and a control window that measures text with fixed character widths.
#pragma once

#include "wizard/ICBSLayout.h"
#include "wizard/WidgetWindowIF.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Every character is this wide and every line this tall in the fake font.
inline constexpr int kCharWidth = 6;
inline constexpr int kLineHeight = 13;

struct LeafRecord {
    int arrangements = 0;
    LayoutRect content;
    bool visible = true;
    bool destroyed = false;
};

class FakeLeaf : public ICBSLayout {
public:
    FakeLeaf(LayoutSize content, std::shared_ptr<LeafRecord> record = std::make_shared<LeafRecord>())
        : content_(content), record_(std::move(record)) {
        UpdateSizeHint(true);
    }
    ~FakeLeaf() override { record_->destroyed = true; }

    // As a widget whose text changed: a new content size, carried out through the tree.
    void Resize(LayoutSize content) {
        content_ = content;
        UpdateSizeHint(true);
    }
    void Show() override { record_->visible = true; }
    void Hide() override { record_->visible = false; }
    const std::shared_ptr<LeafRecord>& Record() const { return record_; }

protected:
    LayoutSize ContentSize() const override { return content_; }
    bool ArrangeContent(const LayoutRect& content) override {
        ++record_->arrangements;
        record_->content = content;
        return false;
    }

private:
    LayoutSize content_;
    std::shared_ptr<LeafRecord> record_;
};

inline std::unique_ptr<FakeLeaf> Leaf(int width, int height, bool expandsH = false, bool expandsV = false) {
    auto leaf = std::make_unique<FakeLeaf>(LayoutSize{width, height});
    leaf->SetExpandsHorizontally(expandsH);
    leaf->SetExpandsVertically(expandsV);
    return leaf;
}

// Greedy word wrap at spaces; a word wider than the width stands alone on its line and sticks out.
inline LayoutSize FakeMeasure(std::wstring_view text, int wrapWidth) {
    // A wrapping measurement keeps the text's own line breaks, as the system's does.
    if (const size_t lineEnd = text.find(L'\n'); wrapWidth >= 1 && lineEnd != std::wstring_view::npos) {
        const LayoutSize first = FakeMeasure(text.substr(0, lineEnd), wrapWidth);
        const LayoutSize rest = FakeMeasure(text.substr(lineEnd + 1), wrapWidth);
        return {std::max(first.width, rest.width), first.height + rest.height};
    }
    if (wrapWidth < 1)
        return {static_cast<int>(text.size()) * kCharWidth, kLineHeight};
    std::vector<size_t> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L' ', start);
        if (end == std::wstring_view::npos)
            end = text.size();
        const size_t word = end - start;
        if (!lines.empty() && static_cast<int>((lines.back() + 1 + word)) * kCharWidth <= wrapWidth)
            lines.back() += 1 + word;
        else
            lines.push_back(word);
        start = end + 1;
    }
    size_t widest = 0;
    for (size_t line : lines)
        widest = std::max(widest, line);
    return {static_cast<int>(widest) * kCharWidth, static_cast<int>(lines.size()) * kLineHeight};
}

struct WindowRecord {
    std::vector<std::string> calls;
    LayoutRect rect;
    bool visible = true;
    bool destroyed = false;
    std::wstring text;
    int lastIdealWidth = -1;
    std::wstring idealText; // the control's text when it was last asked for its ideal size
    LayoutSize idealSize{120, 26};
    // Progress bars: the bar's state and the thread's queue of posted notifications.
    int barRange = -1;
    int marqueeStep = 0;
    int barPosition = -1;
    std::deque<std::pair<unsigned, int>> queue;
};

class FakeWindow : public ProgressWindowIF {
public:
    explicit FakeWindow(std::shared_ptr<WindowRecord> record) : record_(std::move(record)) {}
    ~FakeWindow() override { record_->destroyed = true; }

    void Move(const LayoutRect& rect) override {
        record_->calls.push_back("move");
        record_->rect = rect;
    }
    void Invalidate() override { record_->calls.push_back("invalidate"); }
    void Show() override { record_->visible = true; }
    void Hide() override { record_->visible = false; }
    void SetText(const std::wstring& text) override {
        record_->calls.push_back("text");
        record_->text = text;
    }
    LayoutSize MeasureText(std::wstring_view text, int wrapWidth) const override {
        return FakeMeasure(text, wrapWidth);
    }
    LayoutSize IdealSize(int maxWidth) const override {
        record_->lastIdealWidth = maxWidth;
        record_->idealText = record_->text;
        return record_->idealSize;
    }
    void SetBarRange(int total) override { record_->barRange = total; }
    void StartMarquee(int stepMilliseconds) override { record_->marqueeStep = stepMilliseconds; }
    void SetBarPosition(int position) override { record_->barPosition = position; }
    void PostNotification(unsigned message, int position) override {
        record_->queue.emplace_back(message, position);
    }
    std::optional<int> TakeNotification(unsigned message) override {
        for (auto it = record_->queue.begin(); it != record_->queue.end(); ++it) {
            if (it->first == message) {
                const int position = it->second;
                record_->queue.erase(it);
                return position;
            }
        }
        return std::nullopt;
    }

private:
    std::shared_ptr<WindowRecord> record_;
};
