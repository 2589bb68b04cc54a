#pragma once
#include "cells/SheetLines.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "ui/SheetCursor.h"
#include "ui/SheetEditor.h"
#include "ui/cuiGrid.h"

#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CellCanvas;
class CellEngine;
class QAction;
class QContextMenuEvent;
class QFont;
class QKeyEvent;
class QMouseEvent;
class QPainter;
class QWidget;
class cmcGTex;
class cuiMenu;
struct cmcEvent;
namespace plat {
class Printer;
}

// One grid cell of a sheet: its cell object and how it takes part in a
// selection.
class clsSheetCellId {
public:
    static constexpr uint8_t kMayJoin = 0x01;  // may take part in a multi-selection
    static constexpr uint8_t kSelected = 0x02; // part of the selection shown
    static constexpr uint8_t kRowMark = 0x04;  // its row is marked as a whole

    std::unique_ptr<cmcCellObj> cell = std::make_unique<cmcCellObj>();
    uint8_t flags = kMayJoin;
};

// A sheet: a grid of cells built from the overlay's "<Name>_Style",
// "<Name>_BasicCell" and "<Name>_Cells" texts. It holds no data of its own:
// every cell is shown and edited through the owner callback, by default the
// program's cell engine, with a cell request the sheet fills. The sheet
// moves over the selectable cells with keys and mouse, keeps a single or
// ranged selection, opens the in-place editor the cells ask for, replays
// keys they hand on to another cell, keeps the pop-up menu of the current
// cell, and redraws the cells bus events name.
//
// The sheet wires its parts: SheetBuilder's panels and measures when it is
// built (cuiSheetBuild.cpp), SheetCursor for where the keyboard goes and what
// a range covers, SheetEditor for the in-place editor, SheetPainter to draw a
// cell on screen or paper; its pop-up menu and its bus listener live in
// cuiSheetMenu.cpp and cuiSheetBus.cpp.
class cuiSheet : public QObject, private SheetCursor::Cells {
public:
    // Called with (request, 1) to edit and (request, 0) to draw; answers 0
    // nothing, 1 redrawn, 2 open the in-place editor.
    using OwnerCallback = std::function<int32_t(cmcCellCapsule& request, int32_t edit)>;
    using ImageList = QList<QIcon>;

    // The in-place editor's limit.
    static constexpr int kEditorMaxLength = SheetEditor::kMaxLength;
    // Virtual-key codes the cells receive for keys that type no character.
    static constexpr int32_t kKeyLeftEdge = 0x25 * 256;
    static constexpr int32_t kKeyRightEdge = 0x27 * 256;
    static constexpr int32_t kKeyF1 = 0x70 * 256;
    // The first pause of a key replay and its decrease at each repetition.
    static constexpr int kReplayDelayMs = 30;
    static constexpr int kReplayDelayStepMs = 6;
    // Page keys move this many rows.
    static constexpr int kPageRows = 10;

    // opening: the request that opened this sheet (pop-up sheets), copied;
    // images: the warning and error marks, or none. Nothing is built yet.
    cuiSheet(const CellEngine& engine, QWidget* parent, const cmcCellCapsule* opening, int32_t initialCellId,
             int32_t initialIndex, cmcGTex& texts, const std::string& name,
             const ImageList* images = nullptr);
    ~cuiSheet() override;
    cuiSheet(const cuiSheet&) = delete;
    cuiSheet& operator=(const cuiSheet&) = delete;

    // --- definition and building
    virtual std::string SetParams(const std::string& params);
    const std::string& GetParams() const { return params_; }
    const std::string& GetDefinition() const { return definition_; }
    void SetDefinition(const std::string& definition) { definition_ = definition; }
    void SetOwnerCallback(OwnerCallback callback) { owner_ = std::move(callback); }
    void SetListMode(bool on) { listMode_ = on; }
    bool IsListMode() const { return listMode_; }
    // The printer the sheet is built and drawn for; its cells, rules and
    // margins grow with the printer's resolution (the scale).
    void SetPrinter(plat::Printer* printer);
    plat::Printer* GetPrinter() const { return printer_; }
    int32_t Scale() const { return scale_; }
    void SetFontHeight(int32_t height) { fontHeight_ = height; }
    int32_t FontHeight() const { return fontHeight_; }
    // A remembered position, restored by Build when it still fits.
    void SetPosition(int32_t col, int32_t row, int32_t leftCol, int32_t topRow);

    virtual void Build();
    virtual void SetStyleItem(const std::string& item);
    virtual void SetRowDirective(const std::string& text);
    virtual void LoadCells();
    virtual void LoadBasicCell();
    virtual void ParseCellLines(const std::string& cellsKey);
    virtual void Layout(const std::string& cellsKey);
    virtual void OnLayoutRow(int32_t /*row*/) {}
    virtual void OnLayoutCell(int32_t /*col*/, int32_t /*row*/) {}
    // The header of a printed sheet; empty without a title.
    virtual std::string GetTitle() const;
    // The main menu's item whose sub-items show the current cell's pop-up
    // menu: the program's edit-menu cell.
    int32_t EditMenuCommand() const;
    // 1 unless the style says NoPrint.
    virtual int32_t IsPrintable() const;

    // --- what the sheet is made of
    const std::string& Name() const { return name_; }
    // The warning and error marks its cells draw, or none.
    const ImageList* Images() const { return images_; }
    const SheetStyle& Style() const { return style_; }
    cuiGrid* Grid() const { return grid_; }
    QFrame* SheetPanel() const { return sheetPanel_; }
    QFrame* TitlePanel() const { return titlePanel_; }
    QLineEdit* Editor() const;
    QMenu* PopupMenu() const { return popup_; }
    cuiMenu* PopupMenuItems() const { return popupItems_.get(); }
    int32_t ColCount() const { return cols_; }
    int32_t RowCount() const { return rows_; }
    // Pixels a radio-display dot takes beside text lines of that height, at
    // the sheet's scale (1 on screen): a whole number, two at the least.
    static int32_t GlyphDotPixels(int lineHeight, int32_t scale);
    int32_t FirstSelectableCol() const { return firstSelCol_; }
    int32_t FirstSelectableRow() const { return firstSelRow_; }
    const std::vector<clsSheeRowAtr>& RowAttributes() const { return lines_.rows; }
    const cmcCellObj& BaseCell() const { return *baseCell_; }
    int32_t MultiSelectMode() const { return style_.multiSelect; }
    bool RangeShown() const { return cursor_.RangeShown(); }

    // The slot at (col, row); outside the grid "Illegal Cell selection" is fatal.
    clsSheetCellId& GetCellId(int32_t col, int32_t row);
    const clsSheetCellId& GetCellId(int32_t col, int32_t row) const;
    cmcCellObj& GetCell(int32_t col, int32_t row) { return *GetCellId(col, row).cell; }
    bool IsCellMarked(int32_t col, int32_t row) const;
    int32_t CurrentCol() const;
    int32_t CurrentRow() const;

    // --- editing and moving
    void PrepareRequest(int32_t col, int32_t row, cmcCellCapsule& request);
    // Hands a key, a command or a committed text to the cell's owner and
    // carries out its answer.
    void SendEdit(int32_t col, int32_t row, int32_t key, int32_t command, const std::string* text = nullptr);
    void MoveBy(int32_t dx, int32_t dy);
    // Makes the first selectable cell of that address current; false when
    // there is none or it cannot be made current.
    bool SelectCellByAddress(int32_t category, int32_t cellId, int32_t index);
    void SetCurrentCell(int32_t col, int32_t row);
    void MoveCurrent(int32_t col, int32_t row);
    bool SelectAtMouse(int32_t x, int32_t y, bool testOnly);
    // The selectable cell a span of 'T' cells belongs to, walking left from col.
    bool FindSpanStart(int32_t& col, int32_t row) const;
    void ScrollHome();
    int32_t GetFullWidth() const;
    int32_t GetFullHeight() const;

    // Repaints, of the cells in view, the ones that match the pattern by any
    // of the selector bits (see the .cpp).
    void InvalidateMatching(const cmcCellObj& pattern, uint32_t selector);
    // Repaints every cell in view that is not empty.
    void RedrawCells();
    // The cell engine's re-edit closure: opens the editor on the current cell
    // with the request's text when the request is the current cell's.
    void OpenEditorFor(const cmcCellCapsule& request, int32_t notNow);
    void OpenEditor(int32_t col, int32_t row);
    void HideEditor(bool refocus);
    void CommitEditor();
    bool EditorVisible() const;

    // The one drawing routine of a cell, on the painter it is given.
    void DrawCell(QPainter& painter, int32_t col, int32_t row, const QRect& rect);

protected:
    // Cells of columns laid out 0 wide lose their selectable flag: a column
    // nobody can see takes no input either.
    void UnselectHiddenColumns();

    // State bits.
    static constexpr uint8_t kColumnChange = 0x01;
    static constexpr uint8_t kButtonHeld = 0x04;

    const CellEngine& engine_;
    QPointer<QWidget> parent_;
    cmcGTex& texts_;
    std::string name_;
    std::unique_ptr<cmcCellCapsule> opening_;
    const ImageList* images_;
    OwnerCallback owner_;
    int32_t initialCellId_;
    int32_t initialIndex_;
    std::string params_;
    std::string definition_;
    bool building_ = false;
    // The grid's handlers are in (the first moves of Build come before).
    bool handlersIn_ = false;
    QPoint lastMouse_{-1, -1};
    plat::Printer* printer_ = nullptr;
    int32_t scale_ = 1;
    int32_t fontHeight_ = 0;
    struct Position {
        int32_t col = -1, row = -1, leftCol = -1, topRow = -1;
    };
    Position remembered_;
    SheetStyle style_;
    bool listMode_ = false;

    QPointer<QFrame> titlePanel_;
    QPointer<QLabel> titleLabel_;
    QPointer<QFrame> sheetPanel_;
    QPointer<cuiGrid> grid_;
    SheetEditor editor_;

    QPointer<QMenu> popup_;
    std::unique_ptr<cuiMenu> popupItems_;
    int32_t announcedCol_ = -1;
    int32_t announcedRow_ = -1;
    std::string lastMenuName_;

    SheetLineParser lines_;
    int32_t cols_ = 0;
    int32_t rows_ = 0;
    std::array<int32_t, cmcCellObj::kChParams> chParams_{};
    std::unique_ptr<cmcCellObj> baseCell_;
    // A line of text in the sheet's font.
    int lineHeight_ = 0;
    std::vector<clsSheetCellId> slots_;
    int32_t firstSelCol_ = 0;
    int32_t firstSelRow_ = 0;

    cmcCellCapsule drawRequest_;
    CellRect preparedRect_;
    // The keyboard's moves, the anchor and whether a range shows.
    SheetCursor cursor_{*this};
    uint8_t state_ = 0;
    // Expires with the sheet: an owner call may delete it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

private:
    int32_t CellCols() const override { return cols_; }
    int32_t CellRows() const override { return rows_; }
    bool TakesCursor(int32_t col, int32_t row) const override;
    bool ContinuesLeft(int32_t col, int32_t row) const override;
    static void OnEventThunk(void* user, const cmcEvent& ev);
    void OnEvent(const cmcEvent& ev);
    // Whether the bus id names this sheet's pop-up menu or one of its sub-menus.
    bool OwnsMenu(intptr_t busId) const;
    void InstallHandlers();
    int32_t CallOwner(cmcCellCapsule& request, int32_t edit);
    void OnCellChanged(const cmcCellCapsule& request, int32_t resultFlags);
    bool OnSelectCell(int32_t col, int32_t row);
    // A cell became current: posted on the bus, announced, selected.
    void CellChosen(int32_t col, int32_t row, bool moved);
    bool OnKeyDown(QKeyEvent& event);
    void OnKeyPress(QKeyEvent& event);
    void OnMouseDown(QMouseEvent& event);
    void OnMouseUp(QMouseEvent& event);
    void OnDoubleClick(QMouseEvent& event);
    void OnMouseMove(QMouseEvent& event);
    void OnContextPopup(QContextMenuEvent& event);
    void OnFocusGained();
    void OnFocusLost();
    bool OnEditorKey(QKeyEvent& event);
    void PopUpAt(const QPoint& globalPos);
    void OnItemClick(QAction* item);

    void AnnounceCell(int32_t col, int32_t row, bool force);
    void DeletePopupItems();
    void UpdateSelection(int32_t col, int32_t row);
    void MarkSelected(int32_t col, int32_t row, bool on);
    void MarkRow(int32_t col, int32_t row, bool on);
    void ClearRange();
    void UpdateRowMarks();
    void InvalidateMarked();
    // Repaints the cell and the 'T' cells that continue it to the right.
    void RedrawCell(int32_t col, int32_t row);
    void SelectReturnedRange(const cmcCellCapsule& request, int32_t col, int32_t row);
    // False when the sheet is gone afterwards.
    bool ListPick(cmcCellCapsule& picked);
    bool IsSelectable(int32_t col, int32_t row) const;
    bool InGrid(int32_t col, int32_t row) const;
    bool IsEmptyCell(const cmcCellObj& cell) const;
    // A request that draws the cell on the canvas within the rectangle.
    void PrepareDrawRequest(cmcCellCapsule& request, cmcCellObj& cell, CellCanvas& canvas,
                            const CellRect& rect);
    // Pixels a radio-display dot takes in this sheet's font.
    int32_t GlyphDotPixels() const { return GlyphDotPixels(lineHeight_, scale_); }
    void FitGlyphs(int32_t col, int32_t row, cmcCellObj& cell);
    QFont CellFont(const cmcCellObj& cell) const;
    // Fonts are measured on the printer when the sheet is printed.
    QFontMetrics Metrics(const QFont& font) const;
    void SendStatusClear();
};
