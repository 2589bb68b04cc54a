#include "ui/ComPortDialog.h"

#include "clone/ComPortSelection.h"
#include "foundation/Globals.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "platform/MessageBox.h"
#include "platform/QtText.h"
#include "ui/CenterOverForm.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

ComPortDialog::ComPortDialog(QWidget* mainForm)
    : QDialog(mainForm, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                            Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    cmcGTex& texts = *gGTex;
    setWindowTitle(plat::ToQString(texts.GetTextLine("GI_AppInd_Opt_ComSel_Caption", 0)));
    const QFontMetrics fm(font());
    const int margin = fm.height(); // the height of "W"

    notice_ = new QLabel(this);
    notice_->setTextFormat(Qt::PlainText);
    notice_->setText(plat::ToQString(GetMultiLineText(texts, "GI_AppInd_Opt_ComSel_Notice")));
    notice_->adjustSize();
    notice_->move(margin, margin);

    edit_ = new QLineEdit(this);
    edit_->setMaxLength(4);
    edit_->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit_->setText(QString::number(gEnviron ? gEnviron->ComPort : kComPortMin));
    const int editHeight = edit_->sizeHint().height();
    edit_->setGeometry(notice_->x() + fm.horizontalAdvance(QStringLiteral("WW")),
                       notice_->geometry().bottom() + 1 + fm.height() / 2,
                       fm.horizontalAdvance(QStringLiteral("255WWWW")), editHeight);

    const int buttonWidth =
        fm.horizontalAdvance(plat::ToQString(texts.GetTextLine("GI_AppInd_Opt_ComSel_SizeOfButtons", 0)));
    const int buttonHeight = 2 * fm.height();
    ok_ = new QPushButton(plat::ToQString(texts.GetTextLine("GI_AppInd_Opt_ComSel_Buttons", 0)), this);
    cancel_ = new QPushButton(plat::ToQString(texts.GetTextLine("GI_AppInd_Opt_ComSel_Buttons", 1)), this);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    cancel_->setAutoDefault(false);
    const int labelRight = notice_->x() + notice_->width();
    const int buttonTop = edit_->y() + 4 * editHeight;
    cancel_->setGeometry(labelRight - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    ok_->setGeometry(cancel_->x() - buttonHeight / 2 - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    setFixedSize(notice_->width() + 2 * margin,
                 static_cast<int>(std::lround(buttonTop + 1.5 * buttonHeight)));

    connect(ok_, &QPushButton::clicked, this, [this] { TakeEdit(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    if (mainForm) CenterOverForm(*this, mainForm);
}

void ComPortDialog::TakeEdit() {
    const std::optional<int> port = ParseComPort(plat::FromQString(edit_->text()));
    if (!port) {
        plat::ShowMessageBox(GetMultiLineText(*gGTex, "GI_AppInd_Opt_ComSel_OutofRange"), BoxCaption(),
                             plat::MB_OK | plat::MB_ICONERROR);
        edit_->setFocus();
        return;
    }
    if (gEnviron) gEnviron->ComPort = *port;
    accept();
}

bool ComPortDialog::Run(QWidget* mainForm) {
    ComPortDialog dialog(mainForm);
    return dialog.exec() == QDialog::Accepted;
}
