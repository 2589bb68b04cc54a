#include "ui/FocusReturn.h"

void FocusReturn::Keep(QWidget* window) {
    if (!window || !window->isEnabled()) return;
    // The window's own focus widget: it is kept while another window is active.
    widget_ = window->focusWidget();
}

void FocusReturn::Restore(QWidget* window) {
    QWidget* widget = widget_;
    widget_ = nullptr;
    if (widget && widget->isVisible() && widget->isEnabled())
        widget->setFocus(Qt::OtherFocusReason);
    else if (window)
        window->setFocus(Qt::OtherFocusReason);
}
