// The sheet's pop-up menu: the current cell's menu, announced to the main
// menu's edit item, and its commands sent to the cell.
#include "ui/cuiSheet.h"

#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "ui/cuiGrid.h"
#include "ui/cuiMenu.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

#include <algorithm>

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

void cuiSheet::OnContextPopup(QContextMenuEvent& event) {
    // A right click has popped the menu up already, at its own press.
    if (event.reason() == QContextMenuEvent::Mouse) return;
    const QRect rect = grid_->CellRect(CurrentCol(), CurrentRow());
    const QPoint at = rect.isEmpty() ? QPoint(0, 0) : rect.bottomLeft();
    PopUpAt(grid_->viewport()->mapToGlobal(at));
}

bool cuiSheet::OwnsMenu(intptr_t busId) const {
    if (!popup_ || busId == 0) return false;
    if (busId == cuiMenu::BusId(popup_.data())) return true;
    // Items of sub-menus ask for their own menu.
    const QList<QMenu*> subs = popup_->findChildren<QMenu*>();
    return std::any_of(subs.begin(), subs.end(),
                       [busId](const QMenu* m) { return cuiMenu::BusId(m) == busId; });
}
