#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The COM port dialog: a notice, an edit with the "ComPort" setting and OK
// and Cancel. OK takes a number from 1 to 256 into the setting and closes;
// anything else is refused with a message and the focus goes back to the edit.
class ComPortDialog : public QDialog {
public:
    explicit ComPortDialog(QWidget* mainForm);

    // Shows the dialog modally over the main form; true when the setting was changed.
    static bool Run(QWidget* mainForm);

    QLabel* Notice() const { return notice_; }
    QLineEdit* Edit() const { return edit_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    // The OK button's work.
    void TakeEdit();

private:
    QLabel* notice_;
    QLineEdit* edit_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
