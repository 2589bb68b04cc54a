#pragma once
#include "cells/CellFrame.h"
#include "foundation/cmcEvAns.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

class CellEngine;
class QAction;
class QMenu;
class QWidget;
class cmcCellCapsule;
class cmcCellObj;
class cmcGTex;
class cuiGrid;
class cuiSheet;
struct cmcEvent;

// A menu described by a text-table list: "<key>_BasicCell" line 0 is the cell
// every item inherits from, "<key>_Body" holds one item a line up to the next
// '#' line, each an indent, a '+' and the item's cell definition. The items
// are QActions under a root widget (a QMenuBar or a QMenu); an item with
// sub-items carries a QMenu. Each item's cell decides, through the program's
// cell engine, what a click does and whether the item is ticked, hidden,
// greyed or renamed; the menu itself knows no command.
//
// On the bus: 9 refreshes every item; 10 (p2 a command id) clears that item's
// sub-items; 11 (p1 a donor menu or 0, p2 a command id, text a list name)
// builds "<text>_Body" under that item. Lent items belong to the donor's root
// (they go when it goes) and are clicked through the donor's handler.
class cuiMenu {
public:
    // Called with the clicked item; CellOf gives its cell.
    using ClickHandler = std::function<void(QAction* item)>;

    // Without a click handler the menu's own (DefaultClick) serves. The
    // engine, the texts and the root must outlive the menu, or the root goes
    // first (the menu then only frees its cells).
    cuiMenu(const CellEngine& engine, QWidget* root, cmcGTex& texts, const std::string& key,
            ClickHandler onClick = {});
    virtual ~cuiMenu();
    cuiMenu(const cuiMenu&) = delete;
    cuiMenu& operator=(const cuiMenu&) = delete;

    // The pictures item cells name by image index; none by default.
    void SetImages(const QList<QIcon>* images);
    // The grid and sheet the cells are evaluated for (a sheet's pop-up menu).
    void SetRequestOwner(cuiGrid* grid, cuiSheet* sheet);

    // Deletes every item under the root and builds the list afresh.
    void Build();
    // Builds "<listKey>" (a whole "_Body" key) from firstLine under parent (null:
    // the root); returns the lines consumed at this depth and below.
    int BuildList(QAction* parent, const std::string& listKey, int firstLine, cuiMenu* donor);
    // Appends one item made from a body line under parent (null: the root).
    QAction* AddItem(QAction* parent, const std::string& line, cuiMenu* donor);
    // Deletes the item's sub-items and frees the cells no item carries any more.
    void ClearItem(QAction* item);

    // The first item, depth first from start (null: the root's items), whose
    // cell has the command id; null when none.
    QAction* FindItemByCommand(QAction* start, int32_t commandId) const;
    // The item when it lies under start (null: the root), else null.
    QAction* FindItem(QAction* start, QAction* item) const;
    // The number of sub-items of the item with the command id; -1 without one.
    int32_t SubItemCount(int32_t commandId) const;

    // Evaluates the cells of item (null: the root) and everything under it
    // and shows their state.
    void RefreshAll(QAction* item = nullptr);
    void RefreshItem(QAction* item);

    // Runs the item's cell as Enter, within the current sheet cell, then
    // refreshes the whole menu.
    void DefaultClick(QAction* item);

    QWidget* Root() const;
    // The items directly under item (null: the root).
    QList<QAction*> SubItems(QAction* item) const;

    // The cell an item carries; null for an item without one.
    static cmcCellObj* CellOf(const QAction* item);
    // How the bus names the root an item belongs to (event 12's p1: this
    // menu's root, or the donor's for a lent item) and a menu (event 11's p1).
    static intptr_t BusId(const QObject* component);
    static intptr_t BusId(const cuiMenu* menu);

    // Event 12 carries in p1 the root of the items being refreshed (0 for a
    // click); the sheet whose pop-up root that is answers with a copy of its
    // current cell through AnswerCell, and the asker reads the first such
    // answer back with CellFromAnswers.
    static void AnswerCell(const cmcCellObj& cell);
    static bool CellFromAnswers(const std::vector<cmcEvAns>& answers, cmcCellObj& out);

    // The state bits a refresh clears before it asks an item's cell: the four
    // it reads (ticked, hidden, greyed, renamed) and the one it never reads.
    static constexpr uint8_t kReadStateBits = CellFrame::kMenuChecked | CellFrame::kMenuHidden |
                                              CellFrame::kMenuDisabled | CellFrame::kMenuCaptionChanged;
    static constexpr uint8_t kUnreadStateBit = 0x40;

protected:
    // The bits a refresh clears; a program whose cells keep the unread bit
    // between refreshes clears only the ones read.
    virtual uint8_t RefreshClearedBits() const { return kReadStateBits | kUnreadStateBit; }

private:
    static void OnEvent(void* user, const cmcEvent& ev);
    void Prune();
    void CollectCells(QAction* item, std::vector<const cmcCellObj*>& out) const;
    void FetchContext(QObject* owner);
    void Click(QAction* item);
    QMenu* SubMenuOf(QAction* item);
    // A top-level item of a menu bar: it keeps a menu of its own, empty or not.
    bool IsBarTitle(const QAction* item) const;
    QList<QPointer<QAction>> GuardedSubItems(QAction* item) const;
    void DeleteSubItems(QAction* item);
    void DeleteItem(QAction* item);
    void Prepare(cmcCellCapsule& request, cmcCellObj* cell) const;

    const CellEngine& engine_;
    QPointer<QWidget> root_;
    cmcGTex& texts_;
    std::string key_;
    ClickHandler onClick_;
    const QList<QIcon>* images_ = nullptr;
    cuiGrid* grid_ = nullptr;
    cuiSheet* sheet_ = nullptr;
    std::unique_ptr<cmcCellObj> baseCell_;
    // Every item cell this menu made, its own items' and the ones it holds for
    // a donor; freed when no item under the root carries it.
    std::list<std::unique_ptr<cmcCellObj>> cells_;
    // The owner the context below was fetched for.
    const QObject* lastOwner_ = nullptr;
    bool haveLastOwner_ = false;
    // A copy of the owning sheet's current cell, and the request over it that
    // item evaluations nest in; shared, so that a refresh the bus starts from
    // within a cell cannot pull it from under the evaluation running.
    struct Context;
    std::shared_ptr<Context> context_;
    // Expires with the menu: a command run from a click may delete it.
    std::shared_ptr<char> alive_;
    // Click connections made for this menu end with it.
    QObject guard_;
};
