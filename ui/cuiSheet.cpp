#include "ui/cuiSheet.h"

#include "cells/CellEngine.h"
#include "foundation/ColorName.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/RowEdit.h"
#include "platform/Fatal.h"
#include "platform/KeyState.h"
#include "platform/QtText.h"
#include "platform/Sleep.h"
#include "ui/SheetPainter.h"
#include "ui/cuiGrid.h"
#include "ui/cuiMenu.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

cuiSheet::cuiSheet(const CellEngine& engine, QWidget* parent, const cmcCellCapsule* opening,
                   int32_t initialCellId, int32_t initialIndex, cmcGTex& texts, const std::string& name,
                   const ImageList* images)
    : engine_(engine), parent_(parent), texts_(texts), name_(name),
      opening_(opening ? std::make_unique<cmcCellCapsule>(*opening) : nullptr), images_(images),
      initialCellId_(initialCellId), initialIndex_(initialIndex),
      editor_([this] { CommitEditor(); }, [this](QKeyEvent& e) { return OnEditorKey(e); }),
      baseCell_(std::make_unique<cmcCellObj>()) {
    if (gEvMan) gEvMan->AddListener(&cuiSheet::OnEventThunk, this);
}

cuiSheet::~cuiSheet() {
    alive_.reset();
    if (gEvMan) {
        gEvMan->RemoveListener(&cuiSheet::OnEventThunk, this);
        // Pop-ups that belong to this grid close.
        gEvMan->Send(evObjectDestroyed, 0, reinterpret_cast<intptr_t>(grid_.data()));
    }
    editor_.Detach();
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
    return cursor_.IsSelectable(col, row);
}

bool cuiSheet::TakesCursor(int32_t col, int32_t row) const {
    return !slots_.empty() && (GetCellId(col, row).cell->flags & cmcCellObj::kFlagS);
}

bool cuiSheet::ContinuesLeft(int32_t col, int32_t row) const {
    return GetCellId(col, row).cell->flags & cmcCellObj::kFlagT;
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
    return cursor_.FindSpanStart(col, row);
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
    const int32_t anchorRow = cursor_.Anchor().row;
    if (RangeShown() && InGrid(grid_->FixedCols(), anchorRow)) {
        const int32_t c = grid_->FixedCols();
        const int32_t a = GetCellId(c, anchorRow).cell->index;
        const int32_t b = GetCellId(c, CurrentRow()).cell->index;
        request.rangeFirst = std::min(a, b);
        request.rangeLast = std::max(a, b);
    }
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
            if (EditorVisible()) editor_.SetText(request.displayText, request.selStart, request.selLength);
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
            if (cell.index == v) cursor_.SetAnchorRow(r);
        }
    cursor_.SetRangeShown(true);
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

void cuiSheet::MoveBy(int32_t dx, int32_t dy) {
    if ((dx == 0 && dy == 0) || slots_.empty()) return;
    // A list without scroll bars runs round, one step at a time.
    const bool wrap = listMode_ && std::abs(dx != 0 ? dx : dy) == 1 && !grid_->ShowsScrollBars();
    const SheetCursor::Cell to = cursor_.Move({CurrentCol(), CurrentRow()}, dx, dy, wrap, !listMode_);
    SetCurrentCell(to.col, to.row);
    if (firstSelCol_ >= to.col) grid_->SetLeftCol(grid_->FixedCols());
    if (firstSelRow_ >= to.row) grid_->SetTopRow(grid_->FixedRows());
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
    cursor_.Follow({col, row}, multi && extend);
    if (rowDeleteInProgress) state_ &= static_cast<uint8_t>(~kButtonHeld);
    if (extend && multi && !rowDeleteInProgress) {
        const SheetCursor::Block reach = cursor_.Reach({cc, cr}, {col, row});
        const SheetCursor::Block range = cursor_.Range({col, row});
        for (int32_t r = reach.first.row; r <= reach.last.row; ++r)
            for (int32_t c = reach.first.col; c <= reach.last.col; ++c)
                MarkSelected(c, r, range.Contains(c, r));
        cursor_.SetRangeShown(true);
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
    cursor_.SetRangeShown(false);
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

// --- the in-place editor

bool cuiSheet::EditorVisible() const {
    return editor_.Visible();
}

QLineEdit* cuiSheet::Editor() const {
    return editor_.Widget();
}

void cuiSheet::OpenEditor(int32_t col, int32_t row) {
    editor_.Create(sheetPanel_);
    ClearRange();
    MoveCurrent(col, row);
    QRect rect = grid_->CellRect(col, row);
    if (rect.width() < 1 || rect.height() - 1 <= 0) return;
    rect.moveTopLeft(grid_->viewport()->mapTo(sheetPanel_, rect.topLeft()));
    const cmcCellObj& cell = GetCell(col, row);
    editor_.Open(col, row, rect, CellFont(cell), (cell.layout & cmcCellObj::kAlignVMask) >> 2);
}

void cuiSheet::HideEditor(bool refocus) {
    editor_.Hide(refocus, grid_);
}

void cuiSheet::CommitEditor() {
    if (!EditorVisible()) return;
    const std::string text = plat::FromQString(editor_.Widget()->text());
    // Hidden first: a commit that moves the focus must not commit again. The
    // grid takes the keyboard before the editor goes, so that it does not
    // pass on to the next widget of the window while the value is sent.
    editor_.PutAway(grid_, false);
    SendEdit(editor_.Col(), editor_.Row(), cmcCellCapsule::kKeyEnter, 0, &text);
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
        editor_.PutAway(grid_, true);
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
    if (EditorVisible()) editor_.SetText(request.displayText, request.selStart, request.selLength);
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

    SheetPainter::Look look;
    look.marked = marked;
    look.printing = printer_ != nullptr;
    look.active = grid_->hasFocus() || listMode_;
    look.editing = EditorVisible();
    const SheetPainter::Owner owner = [&](CellCanvas& canvas, const CellRect& r, bool isMarked) {
        SheetPainter::Answer answer;
        if (IsEmptyCell(cell)) {
            answer.text = cell.GetCaption();
            return answer;
        }
        PrepareDrawRequest(drawRequest_, cell, canvas, r);
        drawRequest_.markFlags.isCurrent = isMarked;
        CallOwner(drawRequest_, 0);
        answer.text = drawRequest_.displayText;
        answer.error = drawRequest_.markFlags.error;
        answer.warning = drawRequest_.markFlags.warning;
        answer.markPosition = drawRequest_.markPosition;
        drawRequest_.markFlags.error = drawRequest_.markFlags.warning = false;
        return answer;
    };
    SheetPainter(grid_->palette(), sheetPanel_->font(), lineHeight_, scale_, images_)
        .Draw(painter, cellRect, rect, cell, baseCell_->font.get(), look, owner);
}
