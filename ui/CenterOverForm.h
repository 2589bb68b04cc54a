#pragma once

class QWidget;

// Moves the window, at its present size, over the middle of the form and
// inside the work area; with no form, only inside the work area.
void CenterOverForm(QWidget& window, const QWidget* form);
