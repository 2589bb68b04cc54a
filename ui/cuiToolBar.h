#pragma once
#include <QIcon>
#include <QList>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CellEngine;
class QToolButton;
class QWidget;
class cmcCellObj;
class cmcGTex;
struct cmcEvent;

// A tool bar described by a text-table list: "<key>_BasicCell" line 0 is the
// cell every button inherits from, "<key>_Body" one whole cell definition a
// line up to the next '#' line. A caption "-" makes an 8-pixel gap, "/" a
// 1-pixel gap that ends the row (and the bar then wraps only there); every
// other line a button showing the cell's image with the caption as its hint.
// Each button's cell decides through the program's cell engine whether it is
// pressed (and then check-style) or greyed. Event 20 refreshes the buttons.
class cuiToolBar {
public:
    // Called with the clicked button's cell.
    using ClickHandler = std::function<void(cmcCellObj& cell)>;

    // Creates the bar as a child of owner. The engine, the texts and the images
    // must outlive the tool bar.
    cuiToolBar(const CellEngine& engine, QWidget* owner, cmcGTex& texts, const std::string& key,
               const QList<QIcon>* images);
    ~cuiToolBar();
    cuiToolBar(const cuiToolBar&) = delete;
    cuiToolBar& operator=(const cuiToolBar&) = delete;

    // Makes the buttons from the list; without a handler a click runs the
    // button's cell as Enter (DefaultClick).
    void Build(ClickHandler onClick = {});
    // Evaluates every button's cell and shows its state.
    void Refresh();
    void DefaultClick(cmcCellObj& cell);

    // The bar widget, to be placed by its owner.
    QWidget* Bar() const;
    // The buttons and gaps, in the order of the list's lines.
    std::vector<QToolButton*> Buttons() const;
    static cmcCellObj* CellOf(const QToolButton* button);

private:
    static void OnEvent(void* user, const cmcEvent& ev);

    const CellEngine& engine_;
    cmcGTex& texts_;
    std::string key_;
    const QList<QIcon>* images_;
    QPointer<QWidget> bar_;
    std::unique_ptr<cmcCellObj> baseCell_;
    std::vector<std::unique_ptr<cmcCellObj>> cells_;
};
