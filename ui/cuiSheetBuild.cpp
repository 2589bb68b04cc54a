// Building a sheet from its definition: panels, basic cell, cell lines,
// layout, and the handlers that wire the grid to the sheet.
#include "ui/cuiSheet.h"

#include "cells/CellEngine.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "platform/QtPrinter.h"
#include "ui/QtConvert.h"
#include "ui/SheetBuilder.h"
#include "ui/cuiGrid.h"

#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <optional>

namespace {

// Printer pixels per screen pixel: a sheet keeps its screen proportions on paper.
constexpr int kPrinterScaleDpi = 120;

} // namespace

void cuiSheet::Build() {
    if (!owner_) owner_ = [this](cmcCellCapsule& request, int32_t) { return engine_.Execute(request, 1); };
    building_ = true;

    ForEachGroup(texts_.GetTextLine(name_ + "_Style", 0),
                 [this](const std::string& item) { SetStyleItem(item); });

    const SheetBuilder::Panels panels = SheetBuilder::MakePanels(parent_, style_, listMode_);
    titlePanel_ = panels.title;
    titleLabel_ = panels.titleLabel;
    sheetPanel_ = panels.sheet;
    grid_ = panels.grid;

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
    const std::string text = SheetBuilder::BasicCellText(
        texts_.GetTextLine(name_ + "_BasicCell", 0), fontHeight_,
        gEnviron ? gEnviron->FontSizePercentage : 100, printer_ != nullptr, style_.printFontRatio);
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
                    const QSize room =
                        SheetBuilder::CaptionRoom(Metrics(CellFont(cell)), cell.GetCaption(), scale_);
                    const int width = room.width(), height = room.height();
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
    return SheetBuilder::GlyphDotPixels(lineHeight, scale);
}

// A cell that paints radio-display glyphs gets a whole number of pixels a
// dot, the same share of a text line on screen and on paper: its column and
// row grow to the glyphs at that size. Asked once a sheet line; the rows a
// loop repeats take the height of the row above.
void cuiSheet::FitGlyphs(int32_t col, int32_t row, cmcCellObj& cell) {
    const std::optional<QSize> room = SheetBuilder::GlyphRoom(
        [&](CellCanvas& note, const CellRect& rect) {
            cmcCellCapsule request;
            PrepareDrawRequest(request, cell, note, rect);
            CallOwner(request, 0);
        },
        GlyphDotPixels());
    if (!room) return;
    if (grid_->ColWidth(col) < room->width()) grid_->SetColWidth(col, room->width());
    if (grid_->RowHeight(row) < room->height()) grid_->SetRowHeight(row, room->height());
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
