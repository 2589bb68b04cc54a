#include "ui/cuiInformation.h"

#include "foundation/cmcGTex.h"
#include "platform/QtText.h"
#include "platform/Screen.h"
#include "ui/cuiGrid.h"

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kPanelBorder = 8;
constexpr int kBevel = 2;
constexpr int kButtonMargin = 5;

} // namespace

cuiInformation::cuiInformation(const CellEngine& engine, QWidget* owner, const std::string& caption,
                               cmcGTex& texts, const std::string& name, const cuiSheet::ImageList* images)
    : owner_(owner) {
    // A window of its own rather than the owner's child: the owner is
    // disabled while it shows, and a child would be disabled with it.
    form_ = new QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    form_->setWindowTitle(plat::ToQString(caption));
    auto* layout = new QVBoxLayout(form_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* panel = new QFrame(form_);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(kBevel);
    layout->addWidget(panel);
    sheet_ = std::make_unique<cuiSheet>(engine, panel, nullptr, 0, 0, texts, name, images);
    sheet_->Build();
    panel->layout()->setContentsMargins(kPanelBorder, kPanelBorder, kPanelBorder, kPanelBorder);
    sheet_->Grid()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sheet_->Grid()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(kButtonMargin, kButtonMargin, kButtonMargin, kButtonMargin);
    buttons->addStretch();
    ok_ = new QPushButton(plat::ToQString(texts.GetTextLine("GI_AppInd_Button_OkCancel", 0)), form_);
    ok_->setDefault(true);
    buttons->addWidget(ok_);
    layout->addLayout(buttons);
    // The button is both the default and the cancel button.
    connect(ok_, &QPushButton::clicked, form_, &QDialog::accept);
    // However it closes (OK, Esc, the title bar), the host goes with it, on
    // the next turn of the event loop: the click is still being handled.
    connect(form_, &QDialog::finished, this, [this] { deleteLater(); });

    // Measured once laid out: the panel takes the whole sheet, without scroll bars.
    form_->show();
    layout->activate();
    panel->setFixedSize(sheet_->GetFullWidth(), sheet_->GetFullHeight());
    form_->adjustSize();

    // Over the middle of the owner, inside the work area.
    const plat::Rect work = plat::Screen().WorkArea();
    QPoint centre = owner_ ? owner_->frameGeometry().center()
                           : QPoint(work.left + work.width / 2, work.top + work.height / 2);
    const QSize frame = form_->frameGeometry().size();
    QPoint at = centre - QPoint(frame.width() / 2, frame.height() / 2);
    at.setX(std::clamp(at.x(), work.left, std::max(work.left, work.Right() - frame.width())));
    at.setY(std::clamp(at.y(), work.top, std::max(work.top, work.Bottom() - frame.height())));
    form_->move(at);

    ownerFocus_.Keep(owner_);
    if (owner_) owner_->setEnabled(false);
    form_->activateWindow();
    ok_->setFocus();
}

cuiInformation::~cuiInformation() {
    sheet_.reset();
    delete form_.data();
    if (owner_) {
        owner_->setEnabled(true);
        owner_->activateWindow();
        ownerFocus_.Restore(owner_);
    }
}
