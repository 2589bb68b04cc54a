#pragma once
#include "clone/CloneProgressView.h"
#include "ui/FocusReturn.h"

#include <QFrame>
#include <QPointer>
#include <QWidget>

#include <functional>

// The "Cloning" tool window: a lowered panel over a paint box 256 by 16
// pixels, 16 pixels in from the left and 8 from the top, centred over the
// main form, which it disables while it is up.
class CloneProgressWindow : public CloneProgressView {
public:
    static constexpr int kBarWidth = 256;
    static constexpr int kBarHeight = 16;
    static constexpr int kBevel = 1;

    explicit CloneProgressWindow(QWidget* mainForm);
    ~CloneProgressWindow() override;
    CloneProgressWindow(const CloneProgressWindow&) = delete;
    CloneProgressWindow& operator=(const CloneProgressWindow&) = delete;

    void Open(SpanSource source) override;
    void Close() override;
    bool IsOpen() const override { return !form_.isNull(); }
    void Repaint() override;
    void SetMainFormEnabled(bool enabled) override;

    // Where the keyboard goes after a transfer when the widget that had it is
    // gone (a sheet the transfer's data closed): the widget it answers.
    void SetFocusFallback(std::function<QWidget*()> fallback) { focusFallback_ = std::move(fallback); }

    QWidget* Form() const { return form_; }
    QFrame* Panel() const { return panel_; }
    QWidget* PaintBox() const { return paintBox_; }

private:
    QPointer<QWidget> mainForm_;
    QPointer<QWidget> form_;
    QPointer<QFrame> panel_;
    QPointer<QWidget> paintBox_;
    SpanSource source_;
    // The main form's focus across a transfer: the key after it goes where the one before it went.
    FocusReturn focus_;
    std::function<QWidget*()> focusFallback_;
};
