#pragma once
#include "cells/cmcCellCapsule.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <memory>
#include <string>

class CellEngine;
class QEvent;
class cuiGrid;
class cuiSheet;
struct cmcEvent;

// What the pop-up editors keep of the request that opened them, and how they
// answer it. The canvas and the cell rectangle are the opener's for the length
// of the opening call only: the copy drops them, and the editor is placed
// beside the cell while it is being opened. The answer runs the opener's cell again in mode 2 with a
// pick of the program's "Flex0" cell holding the edited text, through the
// evaluator the editor was given (each program has its own).
class EditorRequest {
public:
    EditorRequest(const CellEngine& engine, const cmcCellCapsule& opening);
    ~EditorRequest();
    EditorRequest(const EditorRequest&) = delete;
    EditorRequest& operator=(const EditorRequest&) = delete;

    const cmcCellCapsule& Request() const { return *request_; }
    cmcCellCapsule& Request() { return *request_; }
    const CellEngine& Engine() const { return engine_; }
    cuiGrid* OwnerGrid() const { return request_->grid; }
    // The grid as a parent for the editor's window; none once it has gone.
    QWidget* OwnerWidget() const;
    // The warning and error marks of the sheet that opened the editor.
    const QList<QIcon>* Images() const { return images_; }

    void Answer(const std::string& editText);

private:
    const CellEngine& engine_;
    std::unique_ptr<cmcCellCapsule> request_;
    QPointer<QWidget> grid_;
    const QList<QIcon>* images_ = nullptr;
};

// The size of a sheet's panel that shows every column and row of the sheet,
// with room for a vertical scroll bar when it has one. (The sheet's own full
// size follows its parent's laid-out size, which a window not yet shown lacks.)
QSize FullSheetPanelSize(const cuiSheet& sheet, bool verticalBar);

// Whether an event-bus event ends an editor opened from this grid: its grid
// being destroyed (cancelled), or the end of all editing (as a click elsewhere).
enum class EditorEnd { None, Cancel, Deactivate };
EditorEnd EndingEvent(int32_t type, intptr_t p2, const cuiGrid* ownerGrid);

// The life of the two borderless pop-up editors (bits and texts): a window
// owned by the opener's grid, confirmed once (OK, Enter, a click elsewhere,
// the end of all editing) or cancelled (Cancel, Esc, the opener's grid going
// away), and the editor deleted when its window goes.
class PopupEditor : public QObject {
public:
    ~PopupEditor() override;
    PopupEditor(const PopupEditor&) = delete;
    PopupEditor& operator=(const PopupEditor&) = delete;

    QWidget* Form() const { return form_; }
    // Answers the opener once, unless cancelled, and closes.
    void Commit();

protected:
    PopupEditor(const CellEngine& engine, const cmcCellCapsule& request);
    // What the confirmed editor hands back to the opener.
    virtual void Store() = 0;
    // Places the window beside the opening request's cell, listens to the
    // bus and shows it with the focus on the given widget.
    void Show(const cmcCellCapsule& opening, QWidget* focus);
    // Stops listening, before the editor's own parts go.
    void StopListening();
    void Cancel();
    void Deactivated();
    void Release();
    bool eventFilter(QObject* watched, QEvent* event) override;

    EditorRequest request_;
    QPointer<QWidget> form_;
    bool cancelled_ = false;
    bool committed_ = false;

private:
    static void OnEvent(void* user, const cmcEvent& ev);
    bool listening_ = false;
};
