#pragma once
#include "ui/EditorRequest.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class CellEngine;
class QMouseEvent;
class cuiToolBar;
struct cmcEvent;

// The glyph editor: one user character as a grid of dots drawn with the
// mouse (pen, rectangle, shift; the left button draws, the right one erases),
// with a clear command and a preview at four pixels a dot. A dialog beside the
// cell that keeps the main window disabled while it is open. Dot (x, y) is
// x + y * width in the dots it is given and in the answer, one '0' or '1' a
// dot, that OK hands to the opener's cell. The opener's grid going away
// closes it without an answer. It deletes itself when its window goes.
class cuiCEdit : public QObject {
public:
    enum Tool : int32_t { kPen = 0, kRectangle = 1, kShift = 2 };
    // How the stroke in progress (overlay) meets the glyph under it (base).
    enum Combine : int32_t { kDraw = 0, kErase = 1, kMove = 2 };
    // Tool-bar buttons act by their image.
    static constexpr int32_t kImageClear = 0;
    static constexpr int32_t kImagePen = 10;
    static constexpr int32_t kImageRectangle = 11;
    static constexpr int32_t kImageShift = 12;
    static constexpr int32_t kButtonWidth = 84;

    struct Hit {
        int32_t column;
        int32_t row;
        bool outside;
    };

    // toolImages: the main window's tool-bar pictures, for "GI_ToolBar_CEdit".
    cuiCEdit(const CellEngine& engine, const cmcCellCapsule& request, int32_t dotSize, int32_t width,
             int32_t height, const std::vector<uint8_t>& dots, const QList<QIcon>* toolImages = nullptr);
    ~cuiCEdit() override;
    cuiCEdit(const cuiCEdit&) = delete;
    cuiCEdit& operator=(const cuiCEdit&) = delete;

    // Where dot (x, y) is drawn in the grid and in the preview.
    QRect GetDotRect(int32_t x, int32_t y) const;
    QRect GetPreviewDotRect(int32_t x, int32_t y) const;
    // The dot under a grid position; positions left of or above the first
    // dot are outside too.
    Hit HitTest(int32_t px, int32_t py) const;
    // Whether the radio's display shows the dot (off dots outside show grey).
    virtual bool IsUsable(int32_t x, int32_t y) const;

    bool Dot(int32_t x, int32_t y) const;
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t CurrentTool() const { return tool_; }

    QWidget* Form() const { return form_; }
    QWidget* DotGrid() const { return grid_; }
    QWidget* Preview() const { return preview_; }
    cuiToolBar* ToolBar() const { return toolBar_.get(); }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void ToolClick(int32_t imageIndex);
    // OK: the glyph to the opener's cell, then the window closes.
    void Commit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The image's display form: the large glyphs.
    bool LargeGlyphs() const { return largeGlyphs_; }

private:
    static void OnEvent(void* user, const cmcEvent& ev);
    size_t At(int32_t x, int32_t y) const { return static_cast<size_t>(x + y * width_); }
    void Redraw(bool force);
    void BeginStroke();
    void MouseDown(const QMouseEvent& event);
    void MouseMove(Qt::MouseButtons buttons, int32_t px, int32_t py);
    void MouseUp(Qt::MouseButtons buttons);
    void UpdateButtonBits(Qt::MouseButtons buttons);
    void PaintGrid();
    void PaintPreview();
    void ShowTool();
    void Close();

    EditorRequest request_;
    int32_t dotSize_;
    int32_t width_;
    int32_t height_;
    QPointer<QWidget> form_;
    QPointer<QWidget> gridPanel_;
    QPointer<QWidget> grid_;
    std::unique_ptr<cuiToolBar> toolBar_;
    QPointer<QButtonGroup> toolGroup_;
    // The button shown pressed.
    QPointer<QAbstractButton> pressed_;
    QPointer<QWidget> preview_;
    QPointer<QPushButton> ok_;
    QPointer<QPushButton> cancel_;
    std::vector<uint8_t> current_;
    std::vector<uint8_t> base_;
    std::vector<uint8_t> overlay_;
    bool leftDraw_ = false;
    bool rightErase_ = false;
    int32_t mode_ = kDraw;
    int32_t tool_ = kPen;
    int32_t anchorColumn_ = 0;
    int32_t anchorRow_ = 0;
    // Read once: the display type decides which dots the radio shows.
    bool largeGlyphs_ = false;
    QPointer<QWidget> mainWindow_;
};
