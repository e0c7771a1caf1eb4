#include "wizard/ICBSRadioButtonWidget.h"

ICBSRadioButtonWidget::ICBSRadioButtonWidget(std::unique_ptr<WidgetWindowIF> window, std::wstring text,
                                             bool multiLine)
    : ICBSTextBasedWidget(std::move(window), std::move(text), multiLine) {
    UpdateSizeHint(true);
}
