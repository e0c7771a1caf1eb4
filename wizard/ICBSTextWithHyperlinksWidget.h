// A text with links (link markup in the text); the control measures itself, since the markup is not shown.
#pragma once

#include "wizard/ICBSTextBasedWidget.h"

class ICBSTextWithHyperlinksWidget : public ICBSTextBasedWidget {
public:
    ICBSTextWithHyperlinksWidget(std::unique_ptr<WidgetWindowIF> window, std::wstring text, bool wrap);

protected:
    LayoutSize ContentSize() const override;
    bool InvalidatesBeforeTextChange() const override { return true; }
    bool MeasuresThroughControl() const override { return true; }
};
