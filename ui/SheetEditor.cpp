#include "ui/SheetEditor.h"

#include "platform/QtText.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>

SheetEditor::SheetEditor(std::function<void()> commit, std::function<bool(QKeyEvent&)> key)
    : commit_(std::move(commit)), key_(std::move(key)) {}

SheetEditor::~SheetEditor() {
    Detach();
}

void SheetEditor::Detach() {
    if (edit_) edit_->removeEventFilter(this);
}

void SheetEditor::Create(QWidget* panel) {
    if (edit_) return;
    edit_ = new QLineEdit(panel);
    edit_->hide();
    edit_->setFrame(false);
    edit_->setMaxLength(kMaxLength);
    edit_->installEventFilter(this);
}

QLineEdit* SheetEditor::Widget() const {
    return edit_;
}

bool SheetEditor::Visible() const {
    return edit_ && edit_->isVisible();
}

void SheetEditor::Open(int32_t col, int32_t row, const QRect& rect, const QFont& font, int vAlign) {
    edit_->setFont(font);
    const int t = QFontMetrics(font).height();
    const int room = rect.height() - 1;
    int top = rect.top(), height = room;
    if (t < room) {
        height = t;
        if (vAlign == 1) top = rect.top() + (rect.height() - t) / 2;
        if (vAlign == 2) top = rect.top() + rect.height() - t - 1;
    }
    edit_->setGeometry(rect.left(), top, rect.width(), height);
    edit_->show();
    edit_->raise();
    edit_->setFocus(Qt::OtherFocusReason);
    col_ = col;
    row_ = row;
}

void SheetEditor::SetText(const std::string& text, int32_t selStart, int32_t selLength) {
    edit_->setText(plat::ToQString(text));
    edit_->setSelection(selStart, selLength);
}

void SheetEditor::Hide(bool refocus, QWidget* grid) {
    if (!edit_) return;
    if (edit_->isVisible() && refocus) grid->setFocus(Qt::OtherFocusReason);
    edit_->hide();
}

void SheetEditor::PutAway(QWidget* grid, bool always) {
    detached_ = true;
    if (always || edit_->hasFocus()) grid->setFocus(Qt::OtherFocusReason);
    edit_->hide();
    detached_ = false;
}

bool SheetEditor::eventFilter(QObject* watched, QEvent* event) {
    // Only the two events it acts on are looked at: the others come while
    // the line edit is being destroyed too, when it is no line edit any more.
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched == edit_) return key_(*static_cast<QKeyEvent*>(event));
        break;
    case QEvent::FocusOut:
        if (watched == edit_ && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
            !detached_)
            commit_();
        break;
    default:
        break;
    }
    return false;
}
