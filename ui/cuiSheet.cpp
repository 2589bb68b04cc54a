#include "ui/cuiSheet.h"

#include "cells/CellEngine.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/RowEdit.h"
#include "platform/Fatal.h"
#include "platform/KeyState.h"
#include "platform/QtPrinter.h"
#include "platform/QtText.h"
#include "platform/Sleep.h"
#include "ui/QtCellCanvas.h"
#include "ui/QtConvert.h"
#include "ui/cuiGrid.h"
#include "ui/cuiMenu.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace {

// Plain colours the sheet draws with.
constexpr ColorValue kWhite = 0xFFFFFF;
constexpr ColorValue kSilver = 0xC0C0C0;
constexpr ColorValue kRuleGrey = 0x808080;
constexpr ColorValue kBlack = 0x000000;
// Coloured cells print dark grey with white text.
constexpr ColorValue kPrintDark = 0x606060;
// Printer pixels per screen pixel: a sheet keeps its screen proportions on paper.
constexpr int kPrinterScaleDpi = 120;

// The image list's marks.
constexpr int kWarningImage = 10;
constexpr int kErrorImage = 11;
constexpr int kMarkSize = 16;

// Selector bits of InvalidateMatching.
constexpr uint32_t kMatchCellAndIndex = 1u << 0;
constexpr uint32_t kMatchCategory = 1u << 1;
constexpr uint32_t kMatchCellId = 1u << 2;
constexpr uint32_t kMatchIndex = 1u << 3;
constexpr uint32_t kMatchNeighbours = 1u << 4;
constexpr uint32_t kMatchAll = 1u << 5;
constexpr uint32_t kMatchIndexFrom = 1u << 6;
constexpr uint32_t kMatchIndexUpTo = 1u << 7;

// The cells' canvas, with the fills of one colour drawn together: a cell
// that draws a radio display's glyphs fills hundreds of dots, one call each.
class BatchedCanvas : public QtCellCanvas {
public:
    BatchedCanvas(QPainter& painter, const QPalette& palette, const QFont& base)
        : QtCellCanvas(painter, palette, base), palette_(palette) {}
    ~BatchedCanvas() override { Flush(); }
    BatchedCanvas(const BatchedCanvas&) = delete;
    BatchedCanvas& operator=(const BatchedCanvas&) = delete;

    void SetBrushColor(ColorValue color) override {
        if (color != BrushColor()) Flush();
        QtCellCanvas::SetBrushColor(color);
    }
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        if (right <= left || bottom <= top) return;
        // Glyphs are filled a column of dots at a time: a dot right below the
        // last one lengthens it.
        if (!fills_.isEmpty()) {
            QRect& last = fills_.last();
            if (last.left() == left && last.right() == right - 1 && last.bottom() == top - 1) {
                last.setBottom(bottom - 1);
                return;
            }
        }
        fills_.append(QRect(left, top, right - left, bottom - top));
    }
    void FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorValue color) override {
        Flush();
        QtCellCanvas::FrameRect(left, top, right, bottom, color);
    }
    // Draws the fills so far; before anything else is drawn over them.
    void Flush() {
        if (fills_.isEmpty()) return;
        QPainter& p = Painter();
        if (fills_.size() == 1) {
            p.fillRect(fills_.first(), ToQColor(BrushColor(), palette_));
            fills_.clear();
            return;
        }
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(ToQColor(BrushColor(), palette_));
        p.drawRects(fills_.constData(), static_cast<int>(fills_.size()));
        p.restore();
        fills_.clear();
    }

private:
    const QPalette& palette_;
    QList<QRect> fills_;
};

int Sign(int32_t v) {
    return (v > 0) - (v < 0);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t lf = text.find('\n', start);
        out.push_back(text.substr(start, lf == std::string::npos ? std::string::npos : lf - start));
        if (lf == std::string::npos) return out;
        start = lf + 1;
    }
}

} // namespace

cuiSheet::cuiSheet(const CellEngine& engine, QWidget* parent, const cmcCellCapsule* opening,
                   int32_t initialCellId, int32_t initialIndex, cmcGTex& texts, const std::string& name,
                   const ImageList* images)
    : engine_(engine), parent_(parent), texts_(texts), name_(name),
      opening_(opening ? std::make_unique<cmcCellCapsule>(*opening) : nullptr), images_(images),
      initialCellId_(initialCellId), initialIndex_(initialIndex), baseCell_(std::make_unique<cmcCellObj>()) {
    if (gEvMan) gEvMan->AddListener(&cuiSheet::OnEventThunk, this);
}

cuiSheet::~cuiSheet() {
    alive_.reset();
    if (gEvMan) {
        gEvMan->RemoveListener(&cuiSheet::OnEventThunk, this);
        // Pop-ups that belong to this grid close.
        gEvMan->Send(evObjectDestroyed, 0, reinterpret_cast<intptr_t>(grid_.data()));
    }
    if (editor_) editor_->removeEventFilter(this);
    popupItems_.reset();
    delete titlePanel_.data();
    delete sheetPanel_.data();
}

std::string cuiSheet::SetParams(const std::string& params) {
    params_ = params;
    return params_;
}

void cuiSheet::SetPosition(int32_t col, int32_t row, int32_t leftCol, int32_t topRow) {
    remembered_ = {col, row, leftCol, topRow};
}

int32_t cuiSheet::EditMenuCommand() const {
    return engine_.Vocabulary().CellIndex("CL_Menu_Edit_Top");
}

std::string cuiSheet::GetTitle() const {
    return style_.title.value_or(std::string());
}

int32_t cuiSheet::IsPrintable() const {
    return style_.noPrint ? 0 : 1;
}

void cuiSheet::SetStyleItem(const std::string& item) {
    ApplyStyleItem(style_, item);
}

void cuiSheet::SetRowDirective(const std::string& text) {
    lines_.Directive(text);
}

int32_t cuiSheet::CallOwner(cmcCellCapsule& request, int32_t edit) {
    return owner_ ? owner_(request, edit) : 0;
}

void cuiSheet::Build() {
    if (!owner_) owner_ = [this](cmcCellCapsule& request, int32_t) { return engine_.Execute(request, 1); };
    building_ = true;

    ForEachGroup(texts_.GetTextLine(name_ + "_Style", 0),
                 [this](const std::string& item) { SetStyleItem(item); });

    QWidget* parent = parent_;
    QLayout* parentLayout = parent ? parent->layout() : nullptr;
    if (parent && !parentLayout) {
        parentLayout = new QVBoxLayout(parent);
        parentLayout->setContentsMargins(0, 0, 0, 0);
        parentLayout->setSpacing(0);
    }
    if (style_.title) {
        titlePanel_ = new QFrame(parent);
        titlePanel_->hide();
        titlePanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        titlePanel_->setLineWidth(2);
        titleLabel_ = new QLabel(plat::ToQString(*style_.title), titlePanel_);
        titleLabel_->setTextFormat(Qt::PlainText);
        titleLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        titleLabel_->setAutoFillBackground(true);
        if (style_.titleFont) titleLabel_->setFont(ToQFont(*style_.titleFont, titleLabel_->font()));
        QPalette pal = titleLabel_->palette();
        pal.setColor(QPalette::Window, ToQColor(style_.titleColor, pal));
        // The title font's colour is the text's: a dark title bar asks for a light one.
        if (style_.titleFont) pal.setColor(QPalette::WindowText, ToQColor(style_.titleFont->color, pal));
        titleLabel_->setPalette(pal);
        auto* titleLayout = new QVBoxLayout(titlePanel_);
        titleLayout->setContentsMargins(2, 2, 2, 2);
        titleLayout->addWidget(titleLabel_);
        titlePanel_->setFixedHeight(QFontMetrics(titleLabel_->font()).height() + 2 + 8);
        if (parentLayout) parentLayout->addWidget(titlePanel_);
    }
    sheetPanel_ = new QFrame(parent);
    sheetPanel_->hide();
    if (listMode_) {
        sheetPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
        sheetPanel_->setLineWidth(1);
    } else {
        sheetPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        sheetPanel_->setLineWidth(2);
    }
    auto* panelLayout = new QVBoxLayout(sheetPanel_);
    const int border = listMode_ ? 2 : 0;
    panelLayout->setContentsMargins(border, border, border, border);
    grid_ = new cuiGrid(sheetPanel_);
    grid_->setFrameShape(QFrame::NoFrame);
    panelLayout->addWidget(grid_);
    if (parentLayout) parentLayout->addWidget(sheetPanel_);

    LoadCells();

    grid_->SetFixedCols(std::min(style_.fixedCols, cols_ - 1));
    grid_->SetFixedRows(std::min(style_.fixedRows, rows_ - 1));
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    popup_ = new QMenu(grid_);
    // The items' states follow the cell the menu opens on.
    QObject::connect(popup_, &QMenu::aboutToShow, this,
                     [this] { AnnounceCell(CurrentCol(), CurrentRow(), false); });

    // Before the handlers are in: the grid takes (0, 0) whatever it holds,
    // and the steps leave the current cell on a selectable cell near it.
    grid_->MoveColRow(0, 0, true, false);
    MoveBy(0, 1);
    MoveBy(0, -1);
    MoveBy(1, 0);
    MoveBy(-1, 0);

    InstallHandlers();

    if (titlePanel_) titlePanel_->show();
    sheetPanel_->show();

    if (remembered_.col >= cols_ || remembered_.row >= rows_ || remembered_.col < 0 || remembered_.row < 0)
        remembered_ = {};
    if (remembered_.col < 0) {
        if (initialCellId_ != 0) {
            bool found = false;
            for (int32_t r = 0; r < rows_ && !found; ++r)
                for (int32_t c = 0; c < cols_ && !found; ++c) {
                    const cmcCellObj& cell = *GetCellId(c, r).cell;
                    if ((cell.flags & cmcCellObj::kFlagS) && cell.cellId == initialCellId_ &&
                        cell.index == initialIndex_) {
                        MoveCurrent(c, r);
                        found = true;
                    }
                }
        }
    } else if (IsSelectable(remembered_.col, remembered_.row)) {
        grid_->SetLeftCol(remembered_.leftCol);
        grid_->SetTopRow(remembered_.topRow);
        MoveCurrent(remembered_.col, remembered_.row);
    }

    if (!IsSelectable(CurrentCol(), CurrentRow())) grid_->setEnabled(false);

    building_ = false;
    grid_->InvalidateGrid();
    AnnounceCell(CurrentCol(), CurrentRow(), false);
}

void cuiSheet::SetPrinter(plat::Printer* printer) {
    printer_ = printer;
    scale_ = printer ? std::max(1, printer->Resolution() / kPrinterScaleDpi) : 1;
}

QFontMetrics cuiSheet::Metrics(const QFont& font) const {
    return printer_ ? QFontMetrics(font, &printer_->Device()) : QFontMetrics(font);
}

void cuiSheet::LoadCells() {
    LoadBasicCell();
    ParseCellLines(name_ + "_Cells");
    slots_.clear();
    slots_.resize(static_cast<size_t>(cols_) * static_cast<size_t>(rows_));
    grid_->SetDefaultColWidth(scale_);
    // A row no 'H' cell heightens still shows one line of text: the shipped
    // lists flag none, and rows one pixel high would show nothing at all.
    grid_->SetDefaultRowHeight(std::max(scale_, Metrics(CellFont(*baseCell_)).height() + 2 * scale_));
    firstSelCol_ = cols_;
    firstSelRow_ = rows_;
    Layout(name_ + "_Cells");
}

void cuiSheet::LoadBasicCell() {
    baseCell_ = std::make_unique<cmcCellObj>();
    std::string text = texts_.GetTextLine(name_ + "_BasicCell", 0);
    if (fontHeight_ != 0) {
        text += "{(Font=,,," + std::to_string(fontHeight_) + ",,,)}";
    } else {
        const int32_t zoom = gEnviron ? gEnviron->FontSizePercentage : 100;
        text += "{(Font=,,,%" + std::to_string(zoom) + ",,,)}";
    }
    if (printer_ && style_.printFontRatio != 100)
        text += "{(Font=,,,%" + std::to_string(style_.printFontRatio) + ",,,)}";
    baseCell_->Parse(text, nullptr, nullptr);
    if (grid_) {
        grid_->SetColor(ToQColor(baseCell_->color, grid_->palette()));
        if (baseCell_->font) sheetPanel_->setFont(ToQFont(*baseCell_->font, sheetPanel_->font()));
        lineHeight_ = Metrics(sheetPanel_->font()).height();
    }
}

void cuiSheet::ParseCellLines(const std::string& cellsKey) {
    lines_.Parse(texts_, cellsKey, [this](const std::string& d) { SetRowDirective(d); });
    cols_ = lines_.columns;
    rows_ = static_cast<int32_t>(lines_.rows.size());
    grid_->SetColCount(cols_);
    grid_->SetRowCount(rows_);
}

QFont cuiSheet::CellFont(const cmcCellObj& cell) const {
    const FontDesc* font = cell.font ? cell.font.get() : baseCell_->font.get();
    const QFont base = sheetPanel_ ? sheetPanel_->font() : QFont();
    return font ? ToQFont(*font, base) : base;
}

void cuiSheet::Layout(const std::string& cellsKey) {
    std::string line;
    for (int32_t r = 0; r < rows_; ++r) {
        OnLayoutRow(r);
        const int32_t l = lines_.rows[static_cast<size_t>(r)].line;
        const bool repeat = r > 0 && lines_.rows[static_cast<size_t>(r - 1)].line == l;
        if (!repeat) line = texts_.GetTextLine(cellsKey, l);
        std::string rest = line;
        const bool mayJoin = style_.multiSelect != 0 && lines_.rows[static_cast<size_t>(r)].Select();
        for (int32_t c = 0; c < cols_ && (repeat || !rest.empty()); ++c) {
            OnLayoutCell(c, r);
            clsSheetCellId& slot = GetCellId(c, r);
            cmcCellObj& cell = *slot.cell;
            if (repeat) {
                cell = *GetCellId(c, r - 1).cell;
                ++cell.index;
                grid_->SetRowHeight(r, grid_->RowHeight(r - 1));
            } else {
                rest = cell.Parse(rest, chParams_.data(), baseCell_.get());
                if (cell.layout & (cmcCellObj::kLayoutW | cmcCellObj::kLayoutH)) {
                    const QFontMetrics fm = Metrics(CellFont(cell));
                    int width = 0, height = 0;
                    for (const std::string& part : SplitLines(cell.GetCaption())) {
                        width = std::max(width, fm.horizontalAdvance(plat::ToQString(part)));
                        height += fm.height();
                    }
                    width += 8 * scale_;
                    height += 2 * scale_;
                    if ((cell.layout & cmcCellObj::kLayoutW) && grid_->ColWidth(c) < width)
                        grid_->SetColWidth(c, width);
                    if ((cell.layout & cmcCellObj::kLayoutH) && grid_->RowHeight(r) < height)
                        grid_->SetRowHeight(r, height);
                }
            }
            if (!repeat && !IsEmptyCell(cell)) FitGlyphs(c, r, cell);
            if (cell.flags & cmcCellObj::kFlagS) {
                firstSelCol_ = std::min(firstSelCol_, c);
                firstSelRow_ = std::min(firstSelRow_, r);
            }
            slot.flags = static_cast<uint8_t>(mayJoin ? clsSheetCellId::kMayJoin : 0);
        }
    }
}

namespace {

// A surface that paints nothing and keeps what the radio-display painter
// says it lays out.
class GlyphNote : public CellCanvas {
public:
    ColorValue FontColor() const override { return font_; }
    void SetFontColor(ColorValue color) override { font_ = color; }
    ColorValue BrushColor() const override { return brush_; }
    void SetBrushColor(ColorValue color) override { brush_ = color; }
    void FillRect(int32_t, int32_t, int32_t, int32_t) override {}
    void FrameRect(int32_t, int32_t, int32_t, int32_t, ColorValue) override {}
    void NoteGlyphs(int32_t glyphsPerLine, int32_t glyphLines, int32_t glyphDotsWide,
                    int32_t glyphDotsHigh) override {
        perLine = glyphsPerLine;
        lines = glyphLines;
        dotsWide = glyphDotsWide;
        dotsHigh = glyphDotsHigh;
    }

    int32_t perLine = 0, lines = 0, dotsWide = 0, dotsHigh = 0;

private:
    ColorValue font_ = 0, brush_ = 0;
};

// Room enough for any cell while it is asked what it paints.
constexpr int32_t kMeasureExtent = 1 << 14;
// A radio-display dot is a seventh of a text line, and two pixels at the least.
constexpr int32_t kDotsPerLine = 7;
constexpr int32_t kMinDotPixels = 2;

} // namespace

void cuiSheet::PrepareDrawRequest(cmcCellCapsule& request, cmcCellObj& cell, CellCanvas& canvas,
                                  const CellRect& rect) {
    request.Clear();
    request.linkedRequest = opening_.get();
    request.cell = &cell;
    request.canvas = &canvas;
    request.cellRect = &rect;
    request.texts = &texts_;
    request.grid = grid_;
    request.owner = this;
    request.markFlags.printing = printer_ != nullptr;
}

int32_t cuiSheet::GlyphDotPixels(int lineHeight, int32_t scale) {
    return std::max(kMinDotPixels * scale, lineHeight / kDotsPerLine);
}

// A cell that paints radio-display glyphs gets a whole number of pixels a
// dot, the same share of a text line on screen and on paper: its column and
// row grow to the glyphs at that size. Asked once a sheet line; the rows a
// loop repeats take the height of the row above.
void cuiSheet::FitGlyphs(int32_t col, int32_t row, cmcCellObj& cell) {
    GlyphNote note;
    const CellRect rect{0, 0, kMeasureExtent, kMeasureExtent};
    cmcCellCapsule request;
    PrepareDrawRequest(request, cell, note, rect);
    CallOwner(request, 0);
    if (note.perLine <= 0 || note.lines <= 0) return;
    const int32_t dot = GlyphDotPixels();
    const int32_t width = note.perLine * (dot * note.dotsWide + 1) + 2;
    const int32_t height = note.lines * dot * note.dotsHigh + (note.lines == 2 ? 4 : 2);
    if (grid_->ColWidth(col) < width) grid_->SetColWidth(col, width);
    if (grid_->RowHeight(row) < height) grid_->SetRowHeight(row, height);
}

void cuiSheet::UnselectHiddenColumns() {
    for (int32_t c = 0; c < cols_; ++c) {
        if (grid_->ColWidth(c) != 0) continue;
        for (int32_t r = 0; r < rows_; ++r)
            GetCell(c, r).flags &= ~cmcCellObj::kFlagS;
    }
}

void cuiSheet::InstallHandlers() {
    handlersIn_ = true;
    grid_->SetFocusGainedHandler([this] { OnFocusGained(); });
    grid_->SetFocusLostHandler([this] { OnFocusLost(); });
    grid_->SetKeyDownHandler([this](QKeyEvent& e) { return OnKeyDown(e); });
    grid_->SetKeyPressHandler([this](QKeyEvent& e) { OnKeyPress(e); });
    grid_->SetMouseDownHandler([this](QMouseEvent& e) { OnMouseDown(e); });
    grid_->SetMouseUpHandler([this](QMouseEvent& e) { OnMouseUp(e); });
    grid_->SetDoubleClickHandler([this](QMouseEvent& e) { OnDoubleClick(e); });
    grid_->SetMouseMoveHandler([this](QMouseEvent& e) { OnMouseMove(e); });
    grid_->SetContextPopupHandler([this](QContextMenuEvent& e) { OnContextPopup(e); });
    grid_->SetTimedScrollHandler([this](unsigned d) {
        auto on = [d](unsigned bit) { return (d & bit) ? 1 : 0; };
        MoveBy(on(cuiGrid::kScrollRight) - on(cuiGrid::kScrollLeft),
               on(cuiGrid::kScrollDown) - on(cuiGrid::kScrollUp));
    });
    grid_->SetSelectCellHandler([this](int c, int r) { return OnSelectCell(c, r); });
    grid_->SetDrawCellHandler(
        [this](QPainter& p, int c, int r, const QRect& rect, unsigned) { DrawCell(p, c, r, rect); });
}

// --- cells and slots

bool cuiSheet::InGrid(int32_t col, int32_t row) const {
    return col >= 0 && row >= 0 && col < cols_ && row < rows_;
}

clsSheetCellId& cuiSheet::GetCellId(int32_t col, int32_t row) {
    return const_cast<clsSheetCellId&>(std::as_const(*this).GetCellId(col, row));
}

const clsSheetCellId& cuiSheet::GetCellId(int32_t col, int32_t row) const {
    if (slots_.empty() || !InGrid(col, row)) plat::Fatal("Illegal Cell selection");
    return slots_[static_cast<size_t>(col) + static_cast<size_t>(row) * static_cast<size_t>(cols_)];
}

bool cuiSheet::IsSelectable(int32_t col, int32_t row) const {
    return InGrid(col, row) && !slots_.empty() && (GetCellId(col, row).cell->flags & cmcCellObj::kFlagS);
}

bool cuiSheet::IsEmptyCell(const cmcCellObj& cell) const {
    return cell.cellId == engine_.Vocabulary().NoCell();
}

int32_t cuiSheet::CurrentCol() const {
    return grid_ ? grid_->Col() : -1;
}

int32_t cuiSheet::CurrentRow() const {
    return grid_ ? grid_->Row() : -1;
}

bool cuiSheet::IsCellMarked(int32_t col, int32_t row) const {
    const uint8_t f = GetCellId(col, row).flags;
    if ((f & clsSheetCellId::kMayJoin) && (f & (clsSheetCellId::kSelected | clsSheetCellId::kRowMark)))
        return true;
    return col == CurrentCol() && row == CurrentRow();
}

bool cuiSheet::FindSpanStart(int32_t& col, int32_t row) const {
    int32_t c = col;
    while (c >= 0) {
        const uint8_t f = GetCellId(c, row).cell->flags;
        if (f & cmcCellObj::kFlagS) {
            col = c;
            return true;
        }
        if (!(f & cmcCellObj::kFlagT)) return false;
        --c;
    }
    return false;
}

// --- requests

void cuiSheet::PrepareRequest(int32_t col, int32_t row, cmcCellCapsule& request) {
    request.Clear();
    request.grid = grid_;
    request.editGrid = grid_;
    request.cell = GetCellId(col, row).cell.get();
    request.canvas = nullptr;
    request.texts = &texts_;
    request.linkedRequest = opening_.get();
    const QRect r = grid_->CellRect(col, row);
    preparedRect_ = CellRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    request.cellRect = &preparedRect_;
    request.notifyClosure = [this](cmcCellCapsule& q, int32_t flags) { OnCellChanged(q, flags); };
    request.reeditClosure = [this](cmcCellCapsule& q, int32_t notNow) { OpenEditorFor(q, notNow); };
    request.markFlags.isCurrent = col == CurrentCol() && row == CurrentRow();
    request.markFlags.printing = false;
    request.owner = this;
    request.rangeSelected = RangeShown();
    if (RangeShown() && InGrid(grid_->FixedCols(), anchorRow_)) {
        const int32_t c = grid_->FixedCols();
        const int32_t a = GetCellId(c, anchorRow_).cell->index;
        const int32_t b = GetCellId(c, CurrentRow()).cell->index;
        request.rangeFirst = std::min(a, b);
        request.rangeLast = std::max(a, b);
    }
}

void cuiSheet::OnCellChanged(const cmcCellCapsule& request, int32_t resultFlags) {
    if (!request.cell) return;
    uint32_t selector = 0;
    if (resultFlags & 1) selector |= kMatchCellAndIndex;
    if (resultFlags & 8) selector |= kMatchIndex;
    if (resultFlags & (4 | 32)) selector |= kMatchAll;
    InvalidateMatching(*request.cell, selector);
}

bool cuiSheet::ListPick(cmcCellCapsule& picked) {
    // A list without an opener has nobody to take the pick.
    if (opening_ && opening_->cell) {
        cmcCellCapsule pick = *opening_;
        pick.linkedRequest = &picked;
        pick.mode = cmcCellCapsule::kModePick;
        picked.key = 0;
        const std::weak_ptr<bool> alive = alive_;
        CallOwner(pick, 1);
        if (alive.expired()) return false;
    }
    if (parent_) parent_->hide();
    return true;
}

void cuiSheet::SendEdit(int32_t col, int32_t row, int32_t key, int32_t command, const std::string* text) {
    if (!InGrid(col, row)) return;
    cmcCellCapsule request;
    int delay = kReplayDelayMs;
    bool repeat = false;
    do {
        repeat = false;
        PrepareRequest(col, row, request);
        request.key = key;
        request.command = command;
        if (text) {
            request.mode = cmcCellCapsule::kModeCommit;
            request.key = 0;
            request.editText = *text;
            text = nullptr;
        }
        if (listMode_) {
            if ((request.key == cmcCellCapsule::kKeyEnter ||
                 request.key == cmcCellCapsule::kKeyMouseChoice) &&
                !ListPick(request))
                return;
            break;
        }
        // What the cell runs may close the sheet (a command, a reload).
        const std::weak_ptr<bool> alive = alive_;
        const int32_t result = CallOwner(request, 1);
        if (alive.expired()) return;
        bool mayReplay = true;
        if (request.jumpRequest) {
            // A cell that names a place no selectable cell has, or one that
            // cannot be made current, gets no replay: it would ask for ever.
            mayReplay = SelectCellByAddress(request.jumpCategory, request.jumpCell, request.jumpIndex);
            col = CurrentCol();
            row = CurrentRow();
        }
        if (result == cmcCellCapsule::kResultPopupOpened) {
            ClearRange();
        } else if (result == cmcCellCapsule::kResultOpenEditor) {
            OpenEditor(col, row);
            if (EditorVisible()) {
                editor_->setText(plat::ToQString(request.displayText));
                editor_->setSelection(request.selStart, request.selLength);
            }
        }
        if (request.jumpKey != 0 && mayReplay) {
            repeat = true;
            if (delay > 0) {
                grid_->viewport()->repaint();
                plat::Sleeper().Sleep(delay);
                delay = std::max(delay - kReplayDelayStepMs, 0);
            }
            key = request.jumpKey;
            command = 0;
        }
    } while (repeat);

    if (!listMode_) {
        if (style_.multiSelect != 0 && request.rangeRequest) {
            SelectReturnedRange(request, col, row);
        } else {
            ClearRange();
            UpdateSelection(CurrentCol(), CurrentRow());
        }
    }
    if (gEvMan) gEvMan->Send(evUpdateMenus);
}

void cuiSheet::SelectReturnedRange(const cmcCellCapsule& request, int32_t col, int32_t row) {
    ClearRange();
    const cmcCellObj& edited = *GetCellId(col, row).cell;
    const int32_t first = request.rangeFirst, last = request.rangeLast;
    const int32_t v = edited.index == first ? last : first;
    const int32_t cellId = edited.cellId;
    for (int32_t r = 0; r < rows_; ++r)
        for (int32_t c = 0; c < cols_; ++c) {
            const cmcCellObj& cell = *GetCellId(c, r).cell;
            if (cell.cellId != cellId || cell.index < first || cell.index > last) continue;
            MarkSelected(c, r, true);
            if (cell.index == v) anchorRow_ = r;
        }
    state_ |= kRangeShown;
    UpdateRowMarks();
}

bool cuiSheet::SelectCellByAddress(int32_t category, int32_t cellId, int32_t index) {
    for (int32_t r = 0; r < rows_; ++r)
        for (int32_t c = 0; c < cols_; ++c) {
            const cmcCellObj& cell = *GetCellId(c, r).cell;
            if ((cell.flags & cmcCellObj::kFlagS) && cell.category == category && cell.cellId == cellId &&
                cell.index == index) {
                MoveCurrent(c, r);
                return CurrentCol() == c && CurrentRow() == r;
            }
        }
    return false;
}

// --- moving

void cuiSheet::SetCurrentCell(int32_t col, int32_t row) {
    if (col == CurrentCol() && row == CurrentRow()) return;
    const int32_t oldCol = CurrentCol();
    UpdateSelection(col, row);
    state_ |= kColumnChange;
    grid_->SetCol(col);
    state_ &= static_cast<uint8_t>(~kColumnChange);
    if (row != CurrentRow()) {
        grid_->SetRow(row);
    } else if (CurrentCol() != oldCol && handlersIn_) {
        // The grid asks nothing for a row it is already on, yet the cell is
        // a new one: tell it as the row change would have.
        SendStatusClear();
        CellChosen(CurrentCol(), row, true);
        HideEditor(true);
    }
    AnnounceCell(CurrentCol(), CurrentRow(), false);
}

void cuiSheet::MoveCurrent(int32_t col, int32_t row) {
    if (col == CurrentCol() && row == CurrentRow()) return;
    UpdateSelection(col, row);
    grid_->MoveColRow(col, row, true, false);
    AnnounceCell(CurrentCol(), CurrentRow(), false);
}

void cuiSheet::StepOnce(int32_t sx, int32_t sy, bool wrap, int32_t& cx, int32_t& cy) {
    int32_t g = cx, h = cy;
    for (;;) {
        g += sx;
        h += sy;
        if (wrap) {
            g = (g % cols_ + cols_) % cols_;
            h = (h % rows_ + rows_) % rows_;
            if (g == cx && h == cy) break;
        } else if (!InGrid(g, h)) {
            break;
        }
        if (IsSelectable(g, h)) {
            cx = g;
            cy = h;
            return;
        }
    }
    if (listMode_) return;
    // Nothing straight ahead: the nearest selectable cell of the next row
    // (column) that has one, near the column (row) last aimed at.
    const bool horizontal = sx != 0;
    int32_t l = (horizontal ? cx : targetCol_) + sx;
    int32_t m = (horizontal ? targetRow_ : cy) + sy;
    while (InGrid(l, m)) {
        const int32_t span = horizontal ? rows_ : cols_;
        const int32_t from = horizontal ? m : l;
        for (int32_t d = 0; d < span; ++d) {
            for (int32_t k : {from - d, from + d}) {
                const int32_t c = horizontal ? l : k;
                const int32_t r = horizontal ? k : m;
                if (IsSelectable(c, r)) {
                    cx = c;
                    cy = r;
                    return;
                }
            }
        }
        l += sx;
        m += sy;
    }
}

void cuiSheet::MoveBy(int32_t dx, int32_t dy) {
    if (dx != 0) dy = 0;
    const int32_t sx = Sign(dx), sy = Sign(dy);
    if ((sx == 0 && sy == 0) || slots_.empty()) return;
    int32_t cx = CurrentCol(), cy = CurrentRow();
    if (targetCol_ < 0) {
        targetCol_ = cx;
        targetRow_ = cy;
    }
    const int32_t steps = std::abs(dx != 0 ? dx : dy);
    // A list without scroll bars runs round, one step at a time.
    const bool wrap = listMode_ && steps == 1 && !grid_->ShowsScrollBars();
    for (int32_t i = 0; i < steps; ++i) {
        StepOnce(sx, sy, wrap, cx, cy);
        targetCol_ = cx;
        targetRow_ = cy;
    }
    SetCurrentCell(cx, cy);
    if (firstSelCol_ >= cx) grid_->SetLeftCol(grid_->FixedCols());
    if (firstSelRow_ >= cy) grid_->SetTopRow(grid_->FixedRows());
}

bool cuiSheet::SelectAtMouse(int32_t x, int32_t y, bool testOnly) {
    const cuiGrid::Coord at = grid_->MouseToCell(x, y);
    if (!InGrid(at.col, at.row)) return false;
    int32_t col = at.col;
    if (!FindSpanStart(col, at.row)) return false;
    if (!testOnly) SetCurrentCell(col, at.row);
    return true;
}

void cuiSheet::ScrollHome() {
    grid_->SetTopRow(0);
    grid_->SetLeftCol(0);
    const int32_t c = CurrentCol(), r = CurrentRow();
    grid_->MoveColRow(c, r, true, false);
    AnnounceCell(c, r, false);
}

int32_t cuiSheet::GetFullWidth() const {
    int32_t w = 0;
    for (int32_t c = 0; c < cols_; ++c)
        w += grid_->ColWidth(c);
    return w + (parent_ ? parent_->width() : 0) - grid_->viewport()->width();
}

int32_t cuiSheet::GetFullHeight() const {
    int32_t h = 0;
    for (int32_t r = 0; r < rows_; ++r)
        h += grid_->RowHeight(r);
    return h + (parent_ ? parent_->height() : 0) - grid_->viewport()->height();
}

// --- selection

bool cuiSheet::OnSelectCell(int32_t col, int32_t row) {
    SendStatusClear();
    bool allowed = true;
    if (!(state_ & kColumnChange)) {
        allowed = IsSelectable(col, row) &&
                  (!RangeShown() || (GetCellId(col, row).flags & clsSheetCellId::kMayJoin));
        if (allowed) CellChosen(col, row, col != CurrentCol() || row != CurrentRow());
    }
    HideEditor(true);
    return allowed;
}

void cuiSheet::CellChosen(int32_t col, int32_t row, bool moved) {
    if (moved && gEvMan) {
        const cmcCellObj& cell = *GetCellId(col, row).cell;
        const int32_t address[3] = {cell.category, cell.cellId, cell.index};
        gEvMan->PostData(evCellSelected, address, sizeof address);
    }
    AnnounceCell(col, row, false);
    UpdateSelection(col, row);
}

void cuiSheet::UpdateSelection(int32_t col, int32_t row) {
    if (!InGrid(col, row)) return;
    const int32_t cc = CurrentCol(), cr = CurrentRow();
    if (!InGrid(cc, cr)) return;
    const bool extend = plat::KeyState().ShiftDown() || (state_ & kButtonHeld);
    const bool multi = ((style_.multiSelect != 0 && (col != cc || row != cr)) || RangeShown()) &&
                       (GetCellId(cc, cr).flags & clsSheetCellId::kMayJoin) &&
                       (GetCellId(col, row).flags & clsSheetCellId::kMayJoin);
    if (!(multi && extend) || anchorCol_ < 0) {
        anchorCol_ = col;
        anchorRow_ = row;
    }
    if (rowDeleteInProgress) state_ &= static_cast<uint8_t>(~kButtonHeld);
    if (extend && multi && !rowDeleteInProgress) {
        const int32_t c0 = std::min({anchorCol_, cc, col}), c1 = std::max({anchorCol_, cc, col});
        const int32_t r0 = std::min({anchorRow_, cr, row}), r1 = std::max({anchorRow_, cr, row});
        const int32_t a0 = std::min(anchorCol_, col), a1 = std::max(anchorCol_, col);
        const int32_t b0 = std::min(anchorRow_, row), b1 = std::max(anchorRow_, row);
        for (int32_t r = r0; r <= r1; ++r)
            for (int32_t c = c0; c <= c1; ++c)
                MarkSelected(c, r, c >= a0 && c <= a1 && r >= b0 && r <= b1);
        state_ |= kRangeShown;
    } else if (RangeShown()) {
        ClearRange();
    } else {
        MarkSelected(cc, cr, false);
        MarkRow(cc, cr, false);
    }
    MarkSelected(col, row, true);
    UpdateRowMarks();
}

void cuiSheet::MarkSelected(int32_t col, int32_t row, bool on) {
    clsSheetCellId& slot = GetCellId(col, row);
    if (!(slot.cell->flags & cmcCellObj::kFlagS)) return;
    const uint8_t flags = on ? uint8_t(slot.flags | clsSheetCellId::kSelected)
                             : uint8_t(slot.flags & ~clsSheetCellId::kSelected);
    if (flags == slot.flags) return;
    slot.flags = flags;
    RedrawCell(col, row);
}

void cuiSheet::MarkRow(int32_t col, int32_t row, bool on) {
    clsSheetCellId& slot = GetCellId(col, row);
    const uint8_t flags =
        on ? uint8_t(slot.flags | clsSheetCellId::kRowMark) : uint8_t(slot.flags & ~clsSheetCellId::kRowMark);
    if (flags == slot.flags) return;
    slot.flags = flags;
    RedrawCell(col, row);
}

void cuiSheet::ClearRange() {
    if (!RangeShown()) return;
    for (int32_t r = 0; r < rows_; ++r)
        for (int32_t c = 0; c < cols_; ++c)
            MarkSelected(c, r, false);
    UpdateRowMarks();
    state_ &= static_cast<uint8_t>(~kRangeShown);
}

void cuiSheet::UpdateRowMarks() {
    if (!RangeShown() || style_.multiSelect != 2) return;
    const int32_t fixed = grid_->FixedCols();
    for (int32_t r = 0; r < rows_; ++r) {
        bool any = false;
        for (int32_t c = 0; c < cols_ && !any; ++c)
            any = GetCellId(c, r).flags & clsSheetCellId::kSelected;
        for (int32_t c = fixed; c < cols_; ++c)
            MarkRow(c, r, any);
    }
}

void cuiSheet::InvalidateMarked() {
    for (int32_t r = 0; r < rows_; ++r)
        for (int32_t c = 0; c < cols_; ++c) {
            const uint8_t f = GetCellId(c, r).flags;
            if ((f & clsSheetCellId::kMayJoin) &&
                (f & (clsSheetCellId::kSelected | clsSheetCellId::kRowMark)))
                RedrawCell(c, r);
        }
}

void cuiSheet::RedrawCell(int32_t col, int32_t row) {
    if (!grid_) return;
    grid_->InvalidateCell(col, row);
    for (int32_t c = col + 1; c < cols_ && (GetCellId(c, row).cell->flags & cmcCellObj::kFlagT); ++c)
        grid_->InvalidateCell(c, row);
}

// --- pop-up menu and announcing

void cuiSheet::DeletePopupItems() {
    popupItems_.reset();
}

void cuiSheet::AnnounceCell(int32_t col, int32_t row, bool force) {
    if (!grid_ || !grid_->hasFocus() || !InGrid(col, row)) return;
    if (col == announcedCol_ && row == announcedRow_ && !force) return;
    announcedCol_ = col;
    announcedRow_ = row;
    const std::string* name = GetCell(col, row).GetPopupMenu();
    const bool keep = !force && (!name || *name == lastMenuName_);
    if (!keep) {
        lastMenuName_ = name ? *name : std::string();
        DeletePopupItems();
        if (gEvMan) gEvMan->Send(evClearMenuItems, 0, EditMenuCommand());
        if (name) {
            popupItems_ = std::make_unique<cuiMenu>(engine_, popup_, texts_, *name,
                                                    [this](QAction* item) { OnItemClick(item); });
            popupItems_->SetRequestOwner(grid_, this);
            popupItems_->Build();
            // The grid takes the items too, so that their short-cuts act
            // while the menu is closed.
            const QList<QAction*> top = popup_->actions();
            std::vector<QAction*> pending(top.begin(), top.end());
            while (!pending.empty()) {
                QAction* a = pending.back();
                pending.pop_back();
                grid_->addAction(a);
                if (QMenu* sub = a->menu())
                    for (QAction* s : sub->actions())
                        pending.push_back(s);
            }
            if (gEvMan)
                gEvMan->SendText(evBuildMenuItems, cuiMenu::BusId(popupItems_.get()), EditMenuCommand(),
                                 *name);
        }
    }
    if (gEvMan) gEvMan->Send(evUpdateMenus);
}

void cuiSheet::OnItemClick(QAction* item) {
    if (const cmcCellObj* cell = cuiMenu::CellOf(item)) SendEdit(CurrentCol(), CurrentRow(), 0, cell->cellId);
}

void cuiSheet::PopUpAt(const QPoint& globalPos) {
    if (popup_ && !popup_->actions().isEmpty()) popup_->popup(globalPos);
}

void cuiSheet::OnFocusGained() {
    AnnounceCell(CurrentCol(), CurrentRow(), true);
    InvalidateMarked();
}

void cuiSheet::OnFocusLost() {
    DeletePopupItems();
    if (gEvMan) {
        gEvMan->Send(evClearMenuItems, 0, EditMenuCommand());
        gEvMan->Send(evUpdateMenus);
    }
    InvalidateMarked();
}

// --- keys and mouse

void cuiSheet::SendStatusClear() {
    if (gEvMan) gEvMan->SendText(evStatusText, clWindowText, clBtnFace, std::string());
}

bool cuiSheet::OnKeyDown(QKeyEvent& event) {
    HideEditor(true);
    SendStatusClear();
    const int32_t c = CurrentCol(), r = CurrentRow();
    switch (event.key()) {
    case Qt::Key_PageUp:
        MoveBy(0, -kPageRows);
        return true;
    case Qt::Key_PageDown:
        MoveBy(0, kPageRows);
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const bool left = event.key() == Qt::Key_Left;
        MoveBy(left ? -1 : 1, 0);
        if (CurrentCol() == c && CurrentRow() == r) SendEdit(c, r, left ? kKeyLeftEdge : kKeyRightEdge, 0);
        return true;
    }
    case Qt::Key_Up:
    case Qt::Key_Down:
        // With Ctrl alone the menus' short-cuts have these keys.
        if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
            MoveBy(0, event.key() == Qt::Key_Up ? -1 : 1);
        return true;
    default:
        break;
    }
    if (event.key() >= Qt::Key_F1 && event.key() <= Qt::Key_F12) {
        SendEdit(c, r, kKeyF1 + (event.key() - Qt::Key_F1) * 256, 0);
        return true;
    }
    return false;
}

void cuiSheet::OnKeyPress(QKeyEvent& event) {
    const QString text = event.text();
    if (text.size() != 1) return;
    // Only a character of the code page reaches the cells, as its byte.
    const char16_t ch = text.at(0).unicode();
    if (ch < 1 || ch > 255) return;
    SendEdit(CurrentCol(), CurrentRow(), static_cast<int32_t>(ch), 0);
}

void cuiSheet::OnMouseDown(QMouseEvent& event) {
    const QPoint pos = event.position().toPoint();
    if (event.button() == Qt::RightButton) {
        if (RangeShown() || SelectAtMouse(pos.x(), pos.y(), false)) PopUpAt(event.globalPosition().toPoint());
    } else {
        // A cell that belongs to the selectable cell on its left stands for
        // it: a click on it makes that cell current, as the grid does for a
        // selectable cell before this handler runs.
        const cuiGrid::Coord at = grid_->MouseToCell(pos.x(), pos.y());
        if (!listMode_ && event.button() == Qt::LeftButton && InGrid(at.col, at.row) &&
            !IsSelectable(at.col, at.row))
            SelectAtMouse(pos.x(), pos.y(), false);
        state_ |= kButtonHeld;
    }
}

void cuiSheet::OnMouseUp(QMouseEvent& event) {
    state_ &= static_cast<uint8_t>(~kButtonHeld);
    if (listMode_ && event.button() == Qt::LeftButton) OnDoubleClick(event);
}

void cuiSheet::OnDoubleClick(QMouseEvent& event) {
    const QPoint pos = event.position().toPoint();
    const cuiGrid::Coord at = grid_->MouseToCell(pos.x(), pos.y());
    if (!InGrid(at.col, at.row)) return;
    int32_t col = at.col;
    FindSpanStart(col, at.row);
    if (col == CurrentCol() && at.row == CurrentRow())
        SendEdit(col, at.row, cmcCellCapsule::kKeyMouseChoice, 0);
}

void cuiSheet::OnMouseMove(QMouseEvent& event) {
    const QPoint pos = event.position().toPoint();
    if (listMode_ && pos != lastMouse_ && lastMouse_ != QPoint(-1, -1) && !EditorVisible())
        SelectAtMouse(pos.x(), pos.y(), false);
    lastMouse_ = pos;
}

void cuiSheet::OnContextPopup(QContextMenuEvent& event) {
    // A right click has popped the menu up already, at its own press.
    if (event.reason() == QContextMenuEvent::Mouse) return;
    const QRect rect = grid_->CellRect(CurrentCol(), CurrentRow());
    const QPoint at = rect.isEmpty() ? QPoint(0, 0) : rect.bottomLeft();
    PopUpAt(grid_->viewport()->mapToGlobal(at));
}

bool cuiSheet::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched == editor_) return OnEditorKey(*static_cast<QKeyEvent*>(event));
        break;
    case QEvent::FocusOut:
        if (watched == editor_ && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
            !editorDetached_)
            CommitEditor();
        break;
    default:
        break;
    }
    return false;
}

// --- the in-place editor

bool cuiSheet::EditorVisible() const {
    return editor_ && editor_->isVisible();
}

void cuiSheet::OpenEditor(int32_t col, int32_t row) {
    if (!editor_) {
        editor_ = new QLineEdit(sheetPanel_);
        editor_->hide();
        editor_->setFrame(false);
        editor_->setMaxLength(kEditorMaxLength);
        editor_->installEventFilter(this);
    }
    ClearRange();
    MoveCurrent(col, row);
    QRect rect = grid_->CellRect(col, row);
    if (rect.width() < 1 || rect.height() - 1 <= 0) return;
    rect.moveTopLeft(grid_->viewport()->mapTo(sheetPanel_, rect.topLeft()));
    const cmcCellObj& cell = GetCell(col, row);
    const QFont font = CellFont(cell);
    editor_->setFont(font);
    const int t = QFontMetrics(font).height();
    const int room = rect.height() - 1;
    int top = rect.top(), height = room;
    if (t < room) {
        height = t;
        switch ((cell.layout & cmcCellObj::kAlignVMask) >> 2) {
        case 1:
            top = rect.top() + (rect.height() - t) / 2;
            break;
        case 2:
            top = rect.top() + rect.height() - t - 1;
            break;
        default:
            break;
        }
    }
    editor_->setGeometry(rect.left(), top, rect.width(), height);
    editor_->show();
    editor_->raise();
    editor_->setFocus(Qt::OtherFocusReason);
    editorCol_ = col;
    editorRow_ = row;
}

void cuiSheet::HideEditor(bool refocus) {
    if (!editor_) return;
    if (editor_->isVisible() && refocus) grid_->setFocus(Qt::OtherFocusReason);
    editor_->hide();
}

void cuiSheet::CommitEditor() {
    if (!EditorVisible()) return;
    const std::string text = plat::FromQString(editor_->text());
    // Hidden first: a commit that moves the focus must not commit again. The
    // grid takes the keyboard before the editor goes, so that it does not
    // pass on to the next widget of the window while the value is sent.
    editorDetached_ = true;
    if (editor_->hasFocus()) grid_->setFocus(Qt::OtherFocusReason);
    editor_->hide();
    editorDetached_ = false;
    SendEdit(editorCol_, editorRow_, cmcCellCapsule::kKeyEnter, 0, &text);
}

bool cuiSheet::OnEditorKey(QKeyEvent& event) {
    if (gEvMan) SendStatusClear();
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int key = event.key();
        const std::weak_ptr<bool> alive = alive_;
        CommitEditor();
        if (alive.expired()) return true;
        grid_->setFocus(Qt::OtherFocusReason);
        if (key == Qt::Key_Up) MoveBy(0, -1);
        if (key == Qt::Key_Down) MoveBy(0, 1);
        return true;
    }
    case Qt::Key_Escape:
        editorDetached_ = true;
        grid_->setFocus(Qt::OtherFocusReason);
        editor_->hide();
        editorDetached_ = false;
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const std::weak_ptr<bool> alive = alive_;
        CommitEditor();
        if (alive.expired()) return true;
        grid_->setFocus(Qt::OtherFocusReason);
        MoveBy(0, event.key() == Qt::Key_PageUp ? -kPageRows : kPageRows);
        return true;
    }
    default:
        return false;
    }
}

void cuiSheet::OpenEditorFor(const cmcCellCapsule& request, int32_t notNow) {
    const int32_t c = CurrentCol(), r = CurrentRow();
    if (!InGrid(c, r) || notNow || request.cell != GetCellId(c, r).cell.get()) return;
    OpenEditor(c, r);
    if (!EditorVisible()) return;
    editor_->setText(plat::ToQString(request.displayText));
    editor_->setSelection(request.selStart, request.selLength);
}

// --- drawing

void cuiSheet::DrawCell(QPainter& painter, int32_t col, int32_t row, const QRect& cellRect) {
    if (slots_.empty() || building_ || !InGrid(col, row)) return;
    if (grid_->ColWidth(col) < 1 || grid_->RowHeight(row) < 1) return;
    QRect rect = cellRect;
    int32_t dc = col;
    // A heading whose first columns have scrolled out of view starts at the
    // first of its columns still in view, so that it stays readable.
    const auto inView = [this](int32_t c) { return c < grid_->FixedCols() || c >= grid_->LeftCol(); };
    int inViewLeft = rect.left();
    while (dc > 0 && (GetCellId(dc, row).cell->layout & cmcCellObj::kLayoutPlus)) {
        --dc;
        rect.setLeft(rect.left() - grid_->ColWidth(dc));
        if (inView(dc)) inViewLeft = rect.left();
    }
    if (!printer_ && !inView(dc)) rect.setLeft(inViewLeft);
    cmcCellObj& cell = *GetCellId(dc, row).cell;
    bool marked = IsCellMarked(col, row);
    if (!marked && (cell.flags & cmcCellObj::kFlagT) && row == CurrentRow()) {
        int32_t start = dc;
        marked = FindSpanStart(start, row) && IsCellMarked(start, row);
    }

    const QPalette& palette = grid_->palette();
    const bool printing = printer_ != nullptr;
    const bool light = cell.color == clWindow || cell.color == kWhite;
    ColorValue back = cell.color;
    // Paper shows no selection, and colours only as a dark grey.
    if (printing)
        back = light ? kWhite : kPrintDark;
    else if (marked && !EditorVisible())
        back = (grid_->hasFocus() || listMode_) ? clHighlight : clBtnFace;
    painter.save();
    painter.setClipRect(cellRect);
    // Most cells draw in the sheet's own font, which the panel already holds.
    BatchedCanvas canvas(painter, palette, sheetPanel_->font());
    canvas.SetBrushColor(back);
    if (!printing || back != kWhite)
        canvas.FillRect(rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
    if (cell.layout & cmcCellObj::kLayoutB) {
        canvas.SetBrushColor(printing ? kBlack : light ? kRuleGrey : kWhite);
        canvas.FillRect(rect.left(), rect.bottom(), rect.left() + rect.width(), rect.bottom() + 1);
        canvas.SetBrushColor(back);
    }

    if (cell.font)
        canvas.SetFont(*cell.font);
    else if (baseCell_->font)
        canvas.SetFontColor(baseCell_->font->color);
    if (marked && back == clHighlight) canvas.SetFontColor(clHighlightText);

    std::string text;
    const CellRect r{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    if (!IsEmptyCell(cell)) {
        PrepareDrawRequest(drawRequest_, cell, canvas, r);
        drawRequest_.markFlags.isCurrent = marked;
        CallOwner(drawRequest_, 0);
        text = drawRequest_.displayText;
    } else {
        text = cell.GetCaption();
    }
    if (printing) {
        canvas.SetFontColor(back == kPrintDark ? kWhite : kBlack);
    } else if (marked && back == clBtnFace) {
        const ColorValue fc = canvas.FontColor();
        if (fc == clBtnFace || fc == kSilver || fc == clGrayText) canvas.SetFontColor(clWindow);
    }

    canvas.Flush();
    std::vector<std::string> lines = SplitLines(text);
    // A line feed at the end closes the last line: no empty line below it
    // takes a share of the height (the digits would lose their top).
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    // Most cells are in the sheet's font, whose line height is known.
    const int lineHeight = cell.font ? canvas.TextExtent("A").height() : lineHeight_;
    const int h = lineHeight * static_cast<int>(lines.size());
    int y = r.top + scale_;
    switch ((cell.layout & cmcCellObj::kAlignVMask) >> 2) {
    case 1:
        y = r.top + (r.bottom - r.top - h) / 2;
        break;
    case 2:
        y = r.bottom - h - scale_;
        break;
    default:
        break;
    }
    int penX = r.left;
    const int hAlign = cell.layout & cmcCellObj::kAlignHMask;
    for (const std::string& part : lines) {
        const int w = hAlign == 0 ? 0 : canvas.TextExtent(part).width();
        int x = r.left + 4 * scale_;
        if (hAlign == 1) x = r.left + (r.right - r.left - w) / 2;
        if (hAlign == 2) x = r.right - w - 4 * scale_;
        canvas.TextOut(x, y, part);
        penX = canvas.PenPos().x();
        y += lineHeight;
    }

    const bool error = drawRequest_.markFlags.error && !IsEmptyCell(cell);
    const bool warning = drawRequest_.markFlags.warning && !IsEmptyCell(cell);
    if (images_ && (error || warning)) {
        const int e = printing ? (r.bottom - r.top) / 2 : kMarkSize;
        const int f = e / 8;
        int p = drawRequest_.markPosition;
        if (p == 0) p = hAlign == 2 ? 1 : 3;
        int x = r.right - e - 1;
        if (p == 1)
            x = r.left + f;
        else if (p == 3)
            x = std::min(penX, x);
        const int index = error ? kErrorImage : kWarningImage;
        if (printing)
            DrawPrintedMark(painter, error, x, r.bottom - e - f, e);
        else if (index < images_->size())
            (*images_)[index].paint(&painter, QRect(x, r.bottom - e - 1, e, e));
    }
    drawRequest_.markFlags.error = drawRequest_.markFlags.warning = false;
    painter.restore();
}

void cuiSheet::DrawPrintedMark(QPainter& painter, bool error, int x, int y, int e) const {
    const int f = e / 8;
    const int g = e / 2;
    const int h = e - 1;
    painter.save();
    painter.translate(x, y);
    painter.setBrush(Qt::black);
    if (error) {
        // A cross of two bars.
        const QPoint cross[] = {{f, 0},     {g, g - f}, {h - f, 0}, {h, f},     {g + f, g}, {h, h - f},
                                {h - f, h}, {g, g + f}, {f, h},     {0, h - f}, {g - f, g}, {0, f}};
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(cross, 12);
    } else {
        // A white triangle with an exclamation mark.
        const QPoint triangle[] = {{g, 0}, {h, h}, {0, h}};
        painter.setPen(QPen(Qt::black, e / 16 + 1));
        painter.setBrush(Qt::white);
        painter.drawPolygon(triangle, 3);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        const QPoint stroke[] = {
            {g - f, e / 3}, {g + f, e / 3}, {g + e / 10, 2 * e / 3}, {g - e / 10, 2 * e / 3}};
        painter.drawPolygon(stroke, 4);
        const int top = 3 * e / 4;
        const QPoint dot[] = {
            {g - e / 10, top}, {g + e / 10, top}, {g + e / 10, top + e / 6}, {g - e / 10, top + e / 6}};
        painter.drawPolygon(dot, 4);
    }
    painter.restore();
}

// --- redrawing by pattern, and the bus

void cuiSheet::InvalidateMatching(const cmcCellObj& p, uint32_t selector) {
    if (!grid_ || slots_.empty()) return;
    const int32_t rowEnd = std::min(grid_->TopRow() + grid_->VisibleRowCount() + 1, rows_);
    const int32_t colEnd = std::min(grid_->LeftCol() + grid_->VisibleColCount() + 1, cols_);
    const int32_t noCell = engine_.Vocabulary().NoCell();
    const bool patternReal = p.category != engine_.Vocabulary().NoCategory();
    for (int32_t r = 0; r < rowEnd; ++r)
        for (int32_t c = 0; c < colEnd; ++c) {
            const cmcCellObj& x = *GetCellId(c, r).cell;
            const bool real = patternReal && x.cellId != noCell;
            const bool hit =
                ((selector & kMatchCategory) && x.category == p.category) ||
                ((selector & kMatchCellId) && x.cellId == p.cellId) ||
                ((selector & kMatchIndex) && real && x.index == p.index) ||
                ((selector & kMatchIndexUpTo) && real && x.index <= p.index) ||
                ((selector & kMatchIndexFrom) && real && x.index >= p.index) ||
                ((selector & kMatchCellAndIndex) && x.cellId == p.cellId && x.index == p.index) ||
                ((selector & kMatchNeighbours) && x.category == p.category && x.cellId != noCell &&
                 std::abs(x.index - p.index) <= 1) ||
                ((selector & kMatchAll) && x.cellId != noCell);
            if (hit) grid_->InvalidateCell(c, r);
        }
}

bool cuiSheet::OwnsMenu(intptr_t busId) const {
    if (!popup_ || busId == 0) return false;
    if (busId == cuiMenu::BusId(popup_.data())) return true;
    // Items of sub-menus ask for their own menu.
    const QList<QMenu*> subs = popup_->findChildren<QMenu*>();
    return std::any_of(subs.begin(), subs.end(),
                       [busId](const QMenu* m) { return cuiMenu::BusId(m) == busId; });
}

void cuiSheet::RedrawCells() {
    cmcCellObj pattern;
    pattern.category = 0;
    pattern.cellId = 0;
    pattern.index = -1;
    InvalidateMatching(pattern, kMatchAll);
}

void cuiSheet::OnEventThunk(void* user, const cmcEvent& ev) {
    static_cast<cuiSheet*>(user)->OnEvent(ev);
}

void cuiSheet::OnEvent(const cmcEvent& ev) {
    if (!grid_ || slots_.empty()) return;
    cmcCellObj pattern;
    pattern.category = 0;
    pattern.cellId = 0;
    pattern.index = -1;
    const auto value = static_cast<int32_t>(ev.p2);
    switch (ev.type) {
    case evQueryCurrentCell:
        if (OwnsMenu(ev.p1) && InGrid(CurrentCol(), CurrentRow()))
            cuiMenu::AnswerCell(GetCell(CurrentCol(), CurrentRow()));
        break;
    case evRedrawSheet:
        RedrawCells();
        break;
    case evRedrawCategory:
        pattern.category = value;
        InvalidateMatching(pattern, kMatchCategory);
        break;
    case evRedrawCellId:
        pattern.cellId = value;
        InvalidateMatching(pattern, kMatchCellId);
        break;
    case evRedrawRow:
        pattern.index = value;
        InvalidateMatching(pattern, kMatchIndex);
        break;
    case evRedrawIndex:
        pattern.index = value;
        InvalidateMatching(pattern, kMatchIndexUpTo);
        break;
    case evRowDeleted:
        pattern.index = value;
        InvalidateMatching(pattern, kMatchIndexFrom);
        break;
    case evEndEditing:
        CommitEditor();
        break;
    default:
        break;
    }
}
