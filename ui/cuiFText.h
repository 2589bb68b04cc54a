#pragma once
#include "ui/EditorRequest.h"

#include <QFrame>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>

class CellEngine;
class cmcGTex;
class cuiSheet;

// The text editor of a radio text field: a borderless pop-up beside the cell
// with the field in its escaped form in an edit box, a preview of the bytes
// in the radio's own characters, and the palette sheet "GI_Sheet_Sel_Text"
// whose "Flex0" cells insert the byte of their index. OK, Enter or a click
// elsewhere answer the opener's cell with the edit box's text; Cancel, Esc or
// the opener's grid going away answer nothing. It deletes itself when its
// window goes.
class cuiFText : public PopupEditor {
public:
    // The edit box holds at most this many characters.
    static constexpr int kMaxChars = 1024;

    // selectAll: opened on the field's text (Enter, backspace), shown all
    // selected; otherwise on one typed character, with the caret after it.
    cuiFText(const CellEngine& engine, const cmcCellCapsule& request, cmcGTex& texts,
             const std::string& bytes, bool selectAll, int32_t fieldWidth);
    ~cuiFText() override;
    cuiFText(const cuiFText&) = delete;
    cuiFText& operator=(const cuiFText&) = delete;

    QLineEdit* EditBox() const { return edit_; }
    QWidget* Preview() const { return preview_; }
    cuiSheet* Palette() const { return palette_.get(); }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    // The edit box's text as bytes.
    const std::string& Bytes() const { return bytes_; }

    // Puts byte c, escaped, in place of the selection and the caret after it.
    void InsertChar(uint8_t c);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Store() override;

private:
    int32_t CellCallback(cmcCellCapsule& request, int32_t edit);
    void PaintPreview();

    cmcGTex& texts_;
    int32_t fieldWidth_;
    // The escaped text opened on the field's own text: unchanged, it is not
    // stored back, since bytes the text form cannot hold would be lost.
    std::string untouched_;
    bool openedOnField_;
    QPointer<QFrame> editPanel_;
    QPointer<QFrame> previewPanel_;
    QPointer<QFrame> palettePanel_;
    QPointer<QLineEdit> edit_;
    QPointer<QWidget> preview_;
    QPointer<QPushButton> ok_;
    QPointer<QPushButton> cancel_;
    std::unique_ptr<cuiSheet> palette_;
    std::string bytes_;
};
