#include "ui/FocusReturn.h"

void FocusReturn::Keep(QWidget* window) {
    if (!window || !window->isEnabled()) return;
    // The window's own focus widget: it is kept while another window is active.
    widget_ = window->focusWidget();
}

void FocusReturn::Restore(QWidget* window, QWidget* fallback) {
    QWidget* widget = widget_;
    widget_ = nullptr;
    for (QWidget* w : {widget == window ? nullptr : widget, fallback, window})
        if (w && w->isVisible() && w->isEnabled()) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
}
