#include "ui/CloneProgressWindow.h"

#include "ui/CenterOverForm.h"

#include <QFrame>
#include <QPainter>
#include <QPalette>
#include <QWidget>

namespace {

// The paint box: fills what the clone manager's bar asks for, in the palette's colours.
class ProgressPaintBox : public QWidget {
public:
    ProgressPaintBox(QWidget* parent, const CloneProgressView::SpanSource* source)
        : QWidget(parent), source_(source) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (!*source_) return;
        for (const ProgressSpan& span : (*source_)(width())) {
            const QColor colour = span.colour == kProgressFilled ? palette().color(QPalette::Highlight)
                                                                 : palette().color(QPalette::Base);
            painter.fillRect(span.left, 0, span.width, height(), colour);
        }
    }

private:
    const CloneProgressView::SpanSource* source_;
};

} // namespace

CloneProgressWindow::CloneProgressWindow(QWidget* mainForm) : mainForm_(mainForm) {}

CloneProgressWindow::~CloneProgressWindow() {
    Close();
}

void CloneProgressWindow::Open(SpanSource source) {
    if (IsOpen()) return;
    source_ = std::move(source);
    // Without a parent: disabling the main form must not disable this window with it.
    auto* form = new QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    form->setWindowTitle(QStringLiteral("Cloning"));
    auto* panel = new QFrame(form);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(kBevel);
    const int panelWidth = kBarWidth + 2 * kBevel;
    const int panelHeight = kBarHeight + 2 * kBevel;
    panel->setGeometry(16, 8, panelWidth, panelHeight);
    auto* box = new ProgressPaintBox(panel, &source_);
    box->setGeometry(kBevel, kBevel, kBarWidth, kBarHeight);
    form->setFixedSize(panelWidth + 32, panelHeight + 32);

    CenterOverForm(*form, mainForm_);
    form_ = form;
    panel_ = panel;
    paintBox_ = box;
    form->show();
    SetMainFormEnabled(false);
}

void CloneProgressWindow::Close() {
    if (form_) {
        form_->hide();
        delete form_.data();
    }
}

void CloneProgressWindow::Repaint() {
    if (paintBox_) paintBox_->repaint();
}

void CloneProgressWindow::SetMainFormEnabled(bool enabled) {
    if (!mainForm_) return;
    if (!enabled) focus_.Keep(mainForm_);
    mainForm_->setEnabled(enabled);
    if (enabled) {
        mainForm_->activateWindow();
        focus_.Restore(mainForm_, focusFallback_ ? focusFallback_() : nullptr);
    }
}
