// An automatic check box; a multi-line one wraps its text beside the box.
#pragma once

#include "wizard/ICBSTextBasedWidget.h"

class ICBSCheckboxWidget : public ICBSTextBasedWidget {
public:
    ICBSCheckboxWidget(std::unique_ptr<WidgetWindowIF> window, std::wstring text, bool multiLine);

protected:
    LayoutSize ContentSize() const override { return BoxedTextSize(); }
};
