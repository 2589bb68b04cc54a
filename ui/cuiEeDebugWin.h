#pragma once
#include "ui/cuiSheet.h"

#include <QDialog>
#include <QFrame>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <memory>
#include <string>

class CellEngine;
class cmcGTex;
struct cmcEvent;

// The memory-image dump: a sheet of the dump cells, sixteen bytes a row, each
// byte marked while it differs from the debug snapshot, with buttons to take
// a new snapshot and to have every view reload. Modeless over its owner; it
// lives until its window is closed, and goes with it (the object is a child
// of its window).
class cuiEeDebugWin : public QObject {
    Q_OBJECT

public:
    // The grid place of image address a: column (a mod 16) x 2 + 3, row a / 16 + 3.
    static constexpr int32_t kLeadingCols = 3;
    static constexpr int32_t kLeadingRows = 3;
    static constexpr int32_t kBytesPerRow = 16;

    cuiEeDebugWin(const CellEngine& engine, QWidget* owner, const std::string& caption, cmcGTex& texts,
                  const std::string& sheetName, const cuiSheet::ImageList* images);
    ~cuiEeDebugWin() override;
    cuiEeDebugWin(const cuiEeDebugWin&) = delete;
    cuiEeDebugWin& operator=(const cuiEeDebugWin&) = delete;

    QDialog* Form() const { return form_; }
    QFrame* Panel() const { return panel_; }
    cuiSheet* Sheet() const { return sheet_.get(); }
    QPushButton* CloseButton() const { return close_; }
    QPushButton* SetCompButton() const { return setComp_; }
    QPushButton* RedrawButton() const { return redraw_; }

    // Repaints every cell of the dump.
    void Redraw();
    // Makes the byte at the image address the current cell; an address
    // outside the dump moves nothing.
    void SelectAddress(intptr_t address);

private:
    static void OnEventThunk(void* user, const cmcEvent& ev);
    void OnEvent(const cmcEvent& ev);

    QPointer<QWidget> owner_;
    QPointer<QDialog> form_;
    QPointer<QFrame> panel_;
    QPointer<QPushButton> close_;
    QPointer<QPushButton> setComp_;
    QPointer<QPushButton> redraw_;
    std::unique_ptr<cuiSheet> sheet_;
};
