// A static text on a page, wrapped at its width or on one line.
#pragma once

#include "wizard/ICBSTextBasedWidget.h"

class ICBSTextWidget : public ICBSTextBasedWidget {
public:
    ICBSTextWidget(std::unique_ptr<WidgetWindowIF> window, std::wstring text, bool wrap);

protected:
    LayoutSize ContentSize() const override;
    bool InvalidatesBeforeTextChange() const override { return true; }
};
