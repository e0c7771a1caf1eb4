// A push button sized to its caption on one line plus a margin around it.
#pragma once

#include "wizard/ICBSWidgetBase.h"

#include <string>

class ICBSButtonWidget : public ICBSWidgetBase {
public:
    ICBSButtonWidget(std::unique_ptr<WidgetWindowIF> window, std::wstring text);

    const std::wstring& Text() const { return text_; }
    void SetText(const std::wstring& text);

protected:
    LayoutSize ContentSize() const override;

private:
    std::wstring text_;
};
