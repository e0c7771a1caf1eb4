// An automatic radio button; a multi-line one wraps its text beside the circle.
#pragma once

#include "wizard/ICBSTextBasedWidget.h"

class ICBSRadioButtonWidget : public ICBSTextBasedWidget {
public:
    ICBSRadioButtonWidget(std::unique_ptr<WidgetWindowIF> window, std::wstring text, bool multiLine);

protected:
    LayoutSize ContentSize() const override { return BoxedTextSize(); }
};
