#pragma once
#include <QPointer>
#include <QWidget>

// Disabling a window takes the keyboard focus from it, and enabling it again
// does not give the focus back: the user's next key would go nowhere. This
// keeps the widget that had the focus, so that it gets it back.
class FocusReturn {
public:
    // Notes the widget of the window that has its focus (or would have it,
    // were the window active); call it before disabling the window. Nothing
    // is noted while the window is disabled.
    void Keep(QWidget* window);
    // Focuses the widget noted when it can still take the focus and is not
    // the window itself, else the fallback when it can, else the window; and
    // forgets the widget.
    void Restore(QWidget* window, QWidget* fallback = nullptr);

private:
    QPointer<QWidget> widget_;
};
