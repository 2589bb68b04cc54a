#pragma once
#include <QDialog>
#include <QObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>

struct cmcEvent;

// The free debug log: a window over the owner whose memo collects every line
// sent on the event bus as event 22. Modeless; it lives until its window is
// closed, and goes with it (the object is a child of its window).
class cuiDebugWin : public QObject {
    Q_OBJECT

public:
    explicit cuiDebugWin(QWidget* owner);
    ~cuiDebugWin() override;
    cuiDebugWin(const cuiDebugWin&) = delete;
    cuiDebugWin& operator=(const cuiDebugWin&) = delete;

    QDialog* Form() const { return form_; }
    QPlainTextEdit* Memo() const { return memo_; }

private:
    static void OnEventThunk(void* user, const cmcEvent& ev);
    void OnEvent(const cmcEvent& ev);

    QPointer<QDialog> form_;
    QPointer<QPlainTextEdit> memo_;
};
