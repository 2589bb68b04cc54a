#pragma once
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/cuiGrid.h"

#include <QIcon>
#include <QList>
#include <QWidget>

class CellEngine;
class cmcCellCapsule;
class cmcGTex;
class cuiSheet;
struct cmcEvent;

// A list beside a grid cell: a frameless pop-up holding a sheet in list
// mode, sized to show the whole list (or the work area, with scroll bars,
// when it is larger) and placed at the cell. A pick is applied to the
// opening request by the sheet, which hides the pop-up; Esc, a click
// elsewhere, the end of all editing (event 21) and the destruction of the
// grid it belongs to (event 1) close it without a pick. It owns itself:
// however it closes, it goes on the next turn of the event loop.
class cuiFlector : public QObject {
public:
    // The sheet starts on the cell with that id and index (the current value).
    cuiFlector(const CellEngine& engine, const cmcCellCapsule& request, int32_t initialCellId,
               int32_t initialIndex, cmcGTex& texts, const std::string& name);
    ~cuiFlector() override;
    cuiFlector(const cuiFlector&) = delete;
    cuiFlector& operator=(const cuiFlector&) = delete;

    QWidget* Form() const { return form_; }
    cuiSheet* Sheet() const { return sheet_.get(); }
    cuiGrid* OwnerGrid() const { return ownerGrid_; }
    // Closes the pop-up; the host goes once the event loop turns.
    void Release();
    bool Released() const { return released_; }

protected:
    using SheetMaker = std::function<std::unique_ptr<cuiSheet>(QWidget* form)>;
    cuiFlector(const cmcCellCapsule& request, const std::string& name, const SheetMaker& make);
    // The warning and error marks of the sheet the request comes from.
    static const QList<QIcon>* MarksOf(const cmcCellCapsule& request);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Open(const cmcCellCapsule& request, const SheetMaker& make);
    void FitToWorkArea();
    static void OnEventThunk(void* user, const cmcEvent& ev);
    void OnEvent(const cmcEvent& ev);

    QPointer<cuiGrid> ownerGrid_;
    std::string name_;
    QPointer<QWidget> form_;
    std::unique_ptr<cuiSheet> sheet_;
    bool released_ = false;
    bool activated_ = false;
};
