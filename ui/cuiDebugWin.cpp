#include "ui/cuiDebugWin.h"

#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "platform/QtText.h"
#include "ui/CenterOverForm.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kMinHeight = 100;

} // namespace

cuiDebugWin::cuiDebugWin(QWidget* owner) {
    form_ = new QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    form_->setAttribute(Qt::WA_DeleteOnClose);
    form_->setWindowTitle(plat::ToQString(gGTex->GetTextLine("GI_DebugWin_Caption", 0)));
    // The window owns this object, so whatever ends the window ends the log too.
    setParent(form_);

    auto* layout = new QVBoxLayout(form_);
    layout->setContentsMargins(0, 0, 0, 0);
    memo_ = new QPlainTextEdit(form_);
    memo_->setObjectName(QStringLiteral("DebugLogMemo"));
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(memo_);

    const int ownerHeight = owner ? owner->height() : 0;
    const int ownerWidth = owner ? owner->width() : 0;
    form_->resize(std::max(ownerWidth / 2, form_->sizeHint().width()),
                  std::max(static_cast<int>(ownerHeight * 0.8), kMinHeight));
    CenterOverForm(*form_, owner);
    form_->show();

    gEvMan->AddListener(&cuiDebugWin::OnEventThunk, this);
}

cuiDebugWin::~cuiDebugWin() {
    if (gEvMan) gEvMan->RemoveListener(&cuiDebugWin::OnEventThunk, this);
}

void cuiDebugWin::OnEventThunk(void* user, const cmcEvent& ev) {
    static_cast<cuiDebugWin*>(user)->OnEvent(ev);
}

void cuiDebugWin::OnEvent(const cmcEvent& ev) {
    if (ev.type != evDebugLine || !memo_) return;
    // Appending would move the cursor and lose what the user is marking:
    // while text is selected, the line is dropped.
    if (memo_->textCursor().hasSelection()) return;
    memo_->appendPlainText(plat::ToQString(ev.Text()));
}
