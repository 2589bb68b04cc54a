#pragma once
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <cstdint>
#include <functional>
#include <string>

class QKeyEvent;
class QLineEdit;
class QWidget;

// The sheet's in-place editor: one line edit over the cell being edited,
// made on first use and kept until the sheet goes. It knows the cell it
// edits and when it loses the keyboard; what a commit or a key means is the
// sheet's.
class SheetEditor : public QObject {
public:
    // The editor's limit.
    static constexpr int kMaxLength = 1024;

    // commit: the editor lost the keyboard while showing (not by a pop-up
    // menu, not while being put away); key: a key typed into it, true when
    // taken.
    SheetEditor(std::function<void()> commit, std::function<bool(QKeyEvent&)> key);
    ~SheetEditor() override;
    SheetEditor(const SheetEditor&) = delete;
    SheetEditor& operator=(const SheetEditor&) = delete;

    // Makes the line edit, hidden, a child of panel, unless there is one.
    void Create(QWidget* panel);
    QLineEdit* Widget() const;
    bool Visible() const;
    int32_t Col() const { return col_; }
    int32_t Row() const { return row_; }

    // Shows the editor over the cell at rect (panel coordinates) in its font,
    // one line high at the vertical alignment (0 top, 1 middle, 2 bottom)
    // when the cell has room for more, and gives it the keyboard.
    void Open(int32_t col, int32_t row, const QRect& rect, const QFont& font, int vAlign);
    void SetText(const std::string& text, int32_t selStart, int32_t selLength);
    // Hides it; refocus gives the keyboard to grid first, which commits.
    void Hide(bool refocus, QWidget* grid);
    // Hides it without a commit, the keyboard going to grid first when the
    // editor has it (always, when always).
    void PutAway(QWidget* grid, bool always);
    // Stops listening to the line edit: before its panel goes, so that
    // nothing it is told while being destroyed reaches the sheet.
    void Detach();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> commit_;
    std::function<bool(QKeyEvent&)> key_;
    QPointer<QLineEdit> edit_;
    int32_t col_ = -1;
    int32_t row_ = -1;
    // Set while the editor is hidden without committing.
    bool detached_ = false;
};
