#include "ui/cuiFBitsR.h"

#include "cells/CellCanvas.h"
#include "cells/CellEngine.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "platform/QtText.h"
#include "ui/QtCellCanvas.h"
#include "ui/QtConvert.h"
#include "ui/cuiGrid.h"
#include "ui/cuiSheet.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kBorder = 5;
constexpr int kBevel = 2;
constexpr int kButtonGap = 8;
constexpr int kTrimmedHeight = 12;
constexpr int32_t kKeySpace = 32;
constexpr const char* kBuiltInSheet = "GI_Sheet_FBitsR";

std::string Format(const char* format, int32_t v) {
    char text[64];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

// The check mark's corners, as shares of its square.
constexpr std::pair<double, double> kCheckMark[] = {{0, 0.4},    {0, 0.6},    {0.4, 1.0},
                                                    {1.0, 0.35}, {1.0, 0.15}, {0.4, 0.7}};

// Drawn on the host's painter: the cells' canvas has no shapes but boxes.
void DrawCheckMark(CellCanvas& canvas, const CellRect& r) {
    auto* qt = dynamic_cast<QtCellCanvas*>(&canvas);
    if (!qt) return;
    const int32_t w = r.right - r.left;
    const int32_t h = r.bottom - r.top;
    const int32_t d = std::min(w, h);
    const auto gx = static_cast<int32_t>(h < w ? (w - h + 0.3 * h) / 2 : 0.15 * w);
    const auto gy = static_cast<int32_t>(w < h ? (h - w + 0.3 * w) / 2 : 0.15 * h);
    QPolygon polygon;
    for (const auto& [fx, fy] : kCheckMark)
        polygon << QPoint(static_cast<int32_t>(r.left + gx + fx * 0.7 * d),
                          static_cast<int32_t>(r.top + gy + fy * 0.7 * d));
    QPainter& painter = qt->Painter();
    const QColor ink = ToQColor(canvas.FontColor(), QPalette());
    painter.save();
    painter.setPen(ink);
    painter.setBrush(ink);
    painter.drawPolygon(polygon);
    painter.restore();
}

} // namespace

cuiFBitsR::cuiFBitsR(const CellEngine& engine, const cmcCellCapsule& request, cmcGTex& texts, int32_t value,
                     int32_t firstLabel, int32_t lastLabel, int32_t labelKind, int32_t markStyle,
                     const std::string& sheetName)
    : cuiFBitsR(engine, request, texts, value, firstLabel, lastLabel, labelKind, markStyle, sheetName,
                CloningLabel) {}

cuiFBitsR::cuiFBitsR(const CellEngine& engine, const cmcCellCapsule& request, cmcGTex& texts, int32_t value,
                     int32_t firstLabel, int32_t lastLabel, int32_t labelKind, int32_t markStyle,
                     const std::string& sheetName, LabelRule labels)
    : PopupEditor(engine, request), labels_(labels), texts_(texts), value_(value), first_(firstLabel),
      last_(firstLabel + std::clamp(lastLabel - firstLabel + 1, 0, kMaxColumns) - 1), kind_(labelKind),
      markStyle_(markStyle) {
    auto* formLayout = new QVBoxLayout(form_);
    formLayout->setContentsMargins(0, 0, 0, 0);
    auto* outer = new QFrame(form_);
    outer->setFrameStyle(QFrame::Panel | QFrame::Raised);
    outer->setLineWidth(kBevel);
    auto* outerLayout = new QVBoxLayout(outer);
    outerLayout->setContentsMargins(kBevel, kBevel, kBevel, kBevel);
    outerLayout->setSpacing(0);
    formLayout->addWidget(outer);

    inner_ = new QWidget(outer);
    auto* innerLayout = new QVBoxLayout(inner_);
    innerLayout->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    outerLayout->addWidget(inner_);

    auto* buttons = new QWidget(outer);
    auto* buttonLayout = new QHBoxLayout(buttons);
    buttonLayout->setContentsMargins(kBorder, 0, kBorder, kBorder);
    buttonLayout->setSpacing(kButtonGap);
    buttonLayout->addStretch(1);
    ok_ = new QPushButton(plat::ToQString(texts_.GetTextLine("GI_AppInd_Button_OkCancel", 0)), buttons);
    cancel_ = new QPushButton(plat::ToQString(texts_.GetTextLine("GI_AppInd_Button_OkCancel", 1)), buttons);
    ok_->setDefault(true);
    ok_->setFocusPolicy(Qt::NoFocus);
    cancel_->setFocusPolicy(Qt::NoFocus);
    buttonLayout->addWidget(ok_);
    buttonLayout->addWidget(cancel_);
    outerLayout->addWidget(buttons);

    if (sheetName.empty()) {
        BuildSheetDefinition();
        builtIn_ = std::make_unique<cmcGTex>();
        builtIn_->SetLines(linePointers_.data());
    }
    sheet_ = std::make_unique<cuiSheet>(request_.Engine(), inner_, &request_.Request(), 0, 0,
                                        builtIn_ ? *builtIn_ : texts_,
                                        sheetName.empty() ? kBuiltInSheet : sheetName, request_.Images());
    sheet_->SetOwnerCallback(
        [this](cmcCellCapsule& cellRequest, int32_t edit) { return CellCallback(cellRequest, edit); });
    sheet_->Build();
    sheet_->Grid()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sheet_->Grid()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int buttonsWidth = ok_->sizeHint().width() + cancel_->sizeHint().width() + 2 * kBorder + kButtonGap;
    // The sheet's last empty rows are let go of in part: the buttons follow
    // closer below the check cells.
    const QSize full = FullSheetPanelSize(*sheet_, false);
    sheet_->SheetPanel()->setFixedSize(full.width(), full.height() - kTrimmedHeight);
    inner_->setMinimumWidth(buttonsWidth);

    QObject::connect(ok_, &QPushButton::clicked, this, [this] { Commit(); });
    QObject::connect(cancel_, &QPushButton::clicked, this, [this] { Cancel(); });
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), form_);
    QObject::connect(esc, &QShortcut::activated, this, [this] { Cancel(); });
    Show(request, sheet_->Grid());
}

cuiFBitsR::~cuiFBitsR() {
    StopListening();
    sheet_.reset();
}

int32_t cuiFBitsR::Columns() const {
    return last_ - first_ + 1;
}

std::string cuiFBitsR::CloningLabel(int32_t kind, int32_t v, int32_t last) {
    switch (kind) {
    case 1:
        return Format("%X", v);
    case 2:
        return Format("%d", v == 10 ? 0 : v);
    case 3:
        if (v <= 9) return Format("%d", v);
        if (v == 17) return "Z";
        return Format("%c", v + 55);
    case 4:
        return Format("%c", v + 64);
    case 5: {
        static constexpr const char* kSentences[] = {"RMC", "GGA", "GLL", "GSA", "VTG"};
        if (v >= 1 && v <= 5) return kSentences[v - 1];
        return "";
    }
    case 6:
        return Format("B%d", last - v);
    default:
        return Format("%d", v);
    }
}

std::string cuiFBitsR::LabelCell(int32_t v) const {
    return "|{($iChI)}" + labels_(kind_, v, last_) + "|";
}

void cuiFBitsR::BuildSheetDefinition() {
    std::string labels;
    for (int32_t v = first_; v <= last_; ++v)
        labels += LabelCell(v);
    std::string bits;
    for (int32_t k = 1; k <= Columns(); ++k) {
        if (k > 1) bits += "{($iQp)}";
        bits += Format("|{($eWh)^(%%CL_FBits[%d])}9|", k);
    }
    lines_ = {
        "#GI_Sheet_FBitsR_Style",
        "(FixedCols=1)(FixedRows=1)",
        "#GI_Sheet_FBitsR_BasicCell",
        "{($Basic)(PopupMenu=GI_PMenu_NoItem)}",
        "#GI_Sheet_FBitsR_Cells",
        "",
        labels,
        "",
        bits,
        "",
        "",
        "#",
        "#CellModel_iChI",
        "^-WH(Color=clGray)(Font=,,clWhite,,,fsBold,)",
        "#CellModel_eWh",
        "S<_WHB",
        "#CellModel_iQp",
        "(%CT_Null.CL_Misc_QuarterPillar)",
        "#CellModel_Basic",
        "<-(Color=clWindow)(Font=DEFAULT_CHARSET,,clWindowText,-17,,,)(PopupMenu=GI_PMenu_Edit)",
        "#GI_PMenu_NoItem_BasicCell",
        "{($Basic)}",
        "#GI_PMenu_NoItem_Body",
        "+No item\t{(%CT_PopupMenu.CL_PMenu_NoItem)}",
        "#",
        "#GI_PMenu_Edit_BasicCell",
        "{($Basic)(%CT_PopupMenu.)}",
        "#GI_PMenu_Edit_Body",
        "+Edit...\t{(%CT_PopupMenu.CL_PMenu_Edit:Enter)}",
        "#",
        "#End_Of_Ovl",
        "",
    };
    linePointers_.clear();
    for (const std::string& line : lines_)
        linePointers_.push_back(line.c_str());
    linePointers_.push_back(nullptr);
}

bool cuiFBitsR::Bit(int32_t column) const {
    return column >= 1 && column <= kMaxColumns && ((value_ >> (kTopBit - column)) & 1) != 0;
}

int32_t cuiFBitsR::SentencesSet() const {
    int32_t set = 0;
    for (int32_t k = 1; k <= Columns(); ++k)
        set += Bit(k) ? 1 : 0;
    return set;
}

int32_t cuiFBitsR::CellCallback(cmcCellCapsule& request, int32_t edit) {
    const CellEngine& engine = request_.Engine();
    request_.Request().linkedRequest = nullptr;
    const cmcCellObj* cell = request.cell;
    if (!cell || cell->cellId != engine.Vocabulary().CellIndex("CL_FBits"))
        return engine.Execute(request, edit);

    const int32_t k = cell->index;
    const bool inWord = k >= 1 && k <= kMaxColumns;
    bool bit = Bit(k);
    const bool toggle =
        inWord && (request.key == kKeySpace || request.key == cmcCellCapsule::kKeyMouseChoice);
    if (toggle) bit = !bit;
    request.displayText.clear();
    if (request.canvas && request.cellRect && bit) {
        if (markStyle_ == kMarkLetter)
            request.displayText = "o";
        else
            DrawCheckMark(*request.canvas, *request.cellRect);
    }
    // Too many sentences: the cells that hold one show it.
    if (kind_ == 5 && bit && SentencesSet() > kMaxSentences) request.markFlags.error = true;
    if (edit && request.notifyClosure) request.notifyClosure(request, 1);
    if (toggle) {
        value_ = bit ? value_ | (1 << (kTopBit - k)) : value_ & ~(1 << (kTopBit - k));
        if (kind_ == 5) {
            if (ok_) ok_->setEnabled(SentencesSet() <= kMaxSentences);
            if (gEvMan) gEvMan->Post(evRedrawSheet);
        }
    }
    return 0;
}

void cuiFBitsR::Store() {
    request_.Answer(std::to_string(value_));
}
