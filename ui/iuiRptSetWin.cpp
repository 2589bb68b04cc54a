#include "ui/iuiRptSetWin.h"

#include "cells/RadioFont.h"
#include "cells/TextCell.h"
#include "cells/WindowCommands.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/FontDesc.h"
#include "foundation/Globals.h"
#include "foundation/Placement.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/RecordLayout.h"
#include "platform/MessageBox.h"
#include "platform/QtText.h"
#include "platform/Screen.h"
#include "ui/FormPlacement.h"
#include "ui/QtCellCanvas.h"
#include "ui/QtConvert.h"
#include "ui/cuiGrid.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>

namespace {

constexpr int kGap = 5;
constexpr int kHeaderHeight = 24;
constexpr int kSiteLabelWidth = 70;
constexpr int kNameBoxWidth = 180;
constexpr int kAreaLabelWidth = 180;
constexpr ColorValue kHeaderColor = 0x808000;
constexpr ColorValue kWhite = 0xFFFFFF;
constexpr int32_t kSiteNames = 95542;
constexpr int32_t kSiteNameLength = 12;
constexpr uint8_t kAreaBit = 0x80;

} // namespace

// The form asks its window before it closes, and so does Esc, which would
// otherwise hide it without a close event.
class iuiRptSetWin::GuardedForm : public QDialog {
public:
    GuardedForm(std::function<bool()> mayClose, std::function<void()> closed)
        : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
          mayClose_(std::move(mayClose)), closed_(std::move(closed)) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        if (!mayClose_()) {
            event->ignore();
            return;
        }
        event->accept();
        closed_();
    }
    void reject() override { close(); }

private:
    std::function<bool()> mayClose_;
    std::function<void()> closed_;
};

// The site's name in the radio's own characters, white on the bar.
class iuiRptSetWin::NameBox : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QtCellCanvas canvas(painter, palette(), font());
        canvas.SetBrushColor(kWhite);
        canvas.SetFontColor(kWhite);
        canvas.SetPenColor(kWhite);
        const CellRect rect{1, 1, width() - 2, height() - 2};
        cmcCellObj cell;
        cmcCellCapsule request;
        request.cell = &cell;
        request.canvas = &canvas;
        request.cellRect = &rect;
        const int32_t site = GetCurrentSite();
        const cmcEeprom& image = CurrentImage();
        const int32_t at = kSiteNames + kSiteNameLength * site;
        if (!IsValidSite(site) || !image.IsValidRange(at, kSiteNameLength)) return;
        std::string_view name(reinterpret_cast<const char*>(image.Data() + at), kSiteNameLength);
        name = name.substr(0, name.find('\0'));
        PaintTextCell(request, name, kSiteNameLength, kSiteNameLength, 1, false);
    }
};

iuiRptSetWin::iuiRptSetWin(const CellEngine& engine, QWidget* owner, const std::string& caption,
                           cmcGTex& texts, const std::string& name, const cuiSheet::ImageList* images,
                           const cmcCellCapsule& opening, FileCommands files)
    : iuiRptSetWin(engine, owner, caption, texts, name, images, opening, std::move(files), Variant{}) {}

iuiRptSetWin::iuiRptSetWin(const CellEngine& engine, QWidget* owner, const std::string& caption,
                           cmcGTex& texts, const std::string& name, const cuiSheet::ImageList* images,
                           const cmcCellCapsule& opening, FileCommands files, Variant variant)
    : variant_(std::move(variant)), owner_(owner), name_(name), texts_(texts), files_(std::move(files)) {
    // A window of its own rather than the owner's child: the owner is
    // disabled while it shows, and a child would be disabled with it.
    form_ = new GuardedForm([this] { return MayClose(); }, [this] { OnClosed(); });
    form_->setWindowTitle(plat::ToQString(caption));
    form_->setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(form_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    QFrame* inner = nullptr;
    QFrame* outer = MakeBevelledPanel(form_, inner);
    sheetPanel_ = outer;
    layout->addWidget(outer, 1);

    auto* innerLayout = new QVBoxLayout(inner);
    innerLayout->setContentsMargins(0, 0, 0, 0);
    innerLayout->setSpacing(0);
    BuildHeader(inner, texts);
    auto* sheetHost = new QWidget(inner);
    innerLayout->addWidget(sheetHost, 1);

    auto* buttons = new QWidget(form_);
    buttonPanel_ = buttons;
    layout->addWidget(buttons);
    BuildButtons(buttons, texts);

    if (variant_.makeSheet)
        sheet_ = variant_.makeSheet(engine, sheetHost, opening, texts, name, images);
    else
        sheet_ = std::make_unique<iuiSh_Mch>(engine, sheetHost, &opening, 0, 0, texts, name, images);
    sheet_->SetParams("R 9");
    const bool placed = RestorePlacement();
    sheet_->Build();
    SavePlacement(true);
    gEvMan->Send(evRefreshCaption);
    RefreshHeader();

    form_->show();
    PlaceFirstTime(placed);

    if (owner_) owner_->setEnabled(false);
    form_->activateWindow();
    if (sheet_->Grid()) sheet_->Grid()->setFocus();
    gEvMan->Send(evRefreshMenusAndToolBar);

    snapshot_ = CurrentImage();
    gEvMan->AddListener(&iuiRptSetWin::OnEventThunk, this);
    // The owner going takes the window with it.
    if (owner_) connect(owner_, &QObject::destroyed, this, [this] { CloseKeeping(); });
}

iuiRptSetWin::~iuiRptSetWin() {
    sheet_.reset();
    gEvMan->Send(evObjectDestroyed, 0, reinterpret_cast<intptr_t>(form_.data()));
    delete form_.data();
    gEvMan->RemoveListener(&iuiRptSetWin::OnEventThunk, this);
    if (owner_) {
        owner_->setEnabled(true);
        owner_->activateWindow();
    }
    gEvMan->Send(evRedrawSheet);
    InstalledWindow().ScheduleWarningCheck();
}

void iuiRptSetWin::BuildHeader(QWidget* panel, cmcGTex& texts) {
    auto* bar = new QWidget(panel);
    header_ = bar;
    bar->setObjectName(QStringLiteral("RptSetWinHeader"));
    bar->setAutoFillBackground(true);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, ToQColor(kHeaderColor, palette));
    FontDesc spec;
    ParseFontDesc(texts.GetTextLine("GI_AppInd_chSheet_Usable_Font", 0), spec);
    palette.setColor(QPalette::WindowText, ToQColor(spec.color, palette));
    bar->setPalette(palette);
    bar->setFont(ToQFont(spec, bar->font()));
    // Room for the site's name at whole pixels a dot, as the sheets draw
    // radio texts (the painter keeps a pixel and a rule around the glyphs).
    const GlyphFormat glyph = CurrentGlyphFormat(CurrentImage());
    const int dot = cuiSheet::GlyphDotPixels(QFontMetrics(bar->font()).height(), 1);
    const QSize name(kSiteNameLength * (dot * glyph.width + 1) + 6, dot * glyph.height + 6);
    bar->setFixedHeight(std::max(kHeaderHeight, name.height() + 2));
    static_cast<QVBoxLayout*>(panel->layout())->addWidget(bar);

    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(kGap, 0, kGap, 0);
    row->setSpacing(kGap);
    auto* site = new QLabel(plat::ToQString(texts.GetTextLine("GI_AppInd_ChTextSheet", 0)), bar);
    site->setFixedWidth(kSiteLabelWidth);
    row->addWidget(site);
    nameBox_ = new NameBox(bar);
    nameBox_->setMinimumSize(std::max(kNameBoxWidth, name.width()), name.height());
    row->addWidget(nameBox_, 1);
    areaLabel_ = new QLabel(bar);
    areaLabel_->setFixedWidth(kAreaLabelWidth);
    row->addWidget(areaLabel_);
}

void iuiRptSetWin::BuildButtons(QWidget* panel, cmcGTex& texts) {
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(kGap, kGap, kGap, kGap);
    row->setSpacing(kGap);
    ok_ = new QPushButton(plat::ToQString(texts.GetTextLine("GI_AppInd_Button_OkCancel", 0)), panel);
    cancel_ = new QPushButton(plat::ToQString(texts.GetTextLine("GI_AppInd_Button_OkCancel", 1)), panel);
    ok_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, [this] { CloseKeeping(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { OnCancel(); });
    if (variant_.fileButtons) {
        load_ = new QPushButton(plat::ToQString(texts.GetTextLine("GI_AppInd_Button_LoadSave", 0)), panel);
        save_ = new QPushButton(plat::ToQString(texts.GetTextLine("GI_AppInd_Button_LoadSave", 1)), panel);
        load_->setAutoDefault(false);
        save_->setAutoDefault(false);
        row->addWidget(load_);
        row->addWidget(save_);
        connect(load_, &QPushButton::clicked, this, [this] { RunFileCommand(files_.load); });
        connect(save_, &QPushButton::clicked, this, [this] { RunFileCommand(files_.save); });
    }
    row->addStretch(1);
    row->addWidget(ok_);
    row->addWidget(cancel_);
    QWidget::setTabOrder(ok_, cancel_);
    if (load_) {
        QWidget::setTabOrder(cancel_, load_);
        QWidget::setTabOrder(load_, save_);
    }
}

bool iuiRptSetWin::RestorePlacement() {
    const indEditFormPos* at = gEnviron->FindEditFormPos(name_);
    if (!at) return false;
    form_->setGeometry(at->Left, at->Top, at->Width, at->Height);
    if (at->WindowState == 2) form_->setWindowState(Qt::WindowMaximized);
    return true;
}

void iuiRptSetWin::SavePlacement(bool initial) {
    StoreFormPlacement(name_, *form_, sheet_ ? sheet_->Grid() : nullptr, initial ? 1 : 0);
}

void iuiRptSetWin::PlaceFirstTime(bool placed) {
    if (!placed) {
        sheet_->Grid()->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        sheet_->Grid()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        const int screenHeight = plat::Screen().PrimaryScreen().height;
        const int chrome = form_->width() - sheet_->Grid()->width();
        form_->resize(sheet_->GetFullWidth() + chrome +
                          sheet_->Grid()->verticalScrollBar()->sizeHint().width(),
                      screenHeight / 2 + buttonPanel_->sizeHint().height());
    }
    form_->setMinimumSize(4 * cancel_->sizeHint().width() + 7 * kGap - 1,
                          8 * buttonPanel_->sizeHint().height());
    if (placed) return;

    plat::Rect place = RectOf(form_->geometry());
    if (owner_) CenterOnForm(place, RectOf(owner_->geometry()));
    ClampToWorkArea(place);
    if (owner_) {
        const QRect owner = owner_->geometry();
        const plat::Rect work = plat::Screen().WorkArea();
        if (place.top < owner.bottom() + 1 && owner.top() - work.top >= place.height) {
            place.top = owner.top() - place.height;
            ClampToWorkArea(place);
        }
    }
    form_->move(place.left, place.top);
}

void iuiRptSetWin::RefreshHeader() {
    const cmcEeprom& image = CurrentImage();
    const int32_t at = layout::kGroupRecords + layout::kGroupRecordSize * Site();
    const bool area = image.IsValidAddress(at) && (image.GetByte(at) & kAreaBit);
    if (areaLabel_)
        areaLabel_->setText(plat::ToQString(texts_.GetTextLine("GI_AreaSetBit_Bar", area ? 1 : 0)));
    if (nameBox_) nameBox_->update();
}

int iuiRptSetWin::ConfirmWriteBack() {
    cmcEeprom& image = CurrentImage();
    if (image.IsEqual(snapshot_)) return 1;
    if (!variant_.asksBeforeRestoring) {
        image.Assign(snapshot_);
        return 1;
    }
    const int answer = plat::ShowMessageBox(GetMultiLineText(texts_, "GI_Mess_Confirm_Repeater"),
                                            BoxCaption(texts_), plat::MB_OKCANCEL | plat::MB_ICONWARNING);
    if (answer != plat::IDOK) return 0;
    image.Assign(snapshot_);
    return 1;
}

bool iuiRptSetWin::MayClose() {
    return keeping_ || ConfirmWriteBack() == 1;
}

void iuiRptSetWin::CloseKeeping() {
    if (closed_) return;
    keeping_ = true;
    if (form_) form_->close();
    // A form that never showed gets no close event.
    if (!closed_) OnClosed();
}

void iuiRptSetWin::OnCancel() {
    if (ConfirmWriteBack() != 1) return;
    CloseKeeping();
}

void iuiRptSetWin::OnClosed() {
    if (closed_) return;
    closed_ = true;
    SavePlacement(false);
    if (owner_) owner_->setEnabled(true);
    gEvMan->Send(evRefreshMenusAndToolBar);
    deleteLater();
}

void iuiRptSetWin::RunFileCommand(const std::function<int(int32_t)>& command) {
    if (!command || !sheet_) return;
    sheet_->CommitEditor();
    inFileCommand_ = true;
    command(Site());
    inFileCommand_ = false;
    RefreshHeader();
    RedrawSheet();
}

void iuiRptSetWin::RedrawSheet() {
    if (sheet_) sheet_->RedrawCells();
}

void iuiRptSetWin::InvalidateCells(const cmcCellObj& pattern, uint32_t flags) {
    if (sheet_) sheet_->InvalidateMatching(pattern, flags);
}

void iuiRptSetWin::OnEventThunk(void* user, const cmcEvent& ev) {
    static_cast<iuiRptSetWin*>(user)->OnEvent(ev);
}

void iuiRptSetWin::OnEvent(const cmcEvent& ev) {
    switch (ev.type) {
    case evObjectDestroyed:
        if (owner_ && ev.p2 == reinterpret_cast<intptr_t>(owner_.data())) CloseKeeping();
        break;
    case evEndEditing:
        // Load's dialog ends editing as Open does; the window stays for it.
        if (!inFileCommand_) CloseKeeping();
        break;
    case evRedrawSheet:
        RefreshHeader();
        break;
    default:
        if (ev.type == variant_.redrawEvent) RedrawSheet();
        break;
    }
}
