#pragma once
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QTreeWidget>

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

class QWidget;
class cmcCellObj;
class cmcGTex;
namespace plat {
class Timer;
}

// The tree of sheets, described by a text-table list like a menu:
// "<key>_BasicCell" line 0 is the cell every node inherits from, "<key>_Body"
// one node a line (depth before the '+', the cell definition after it). A
// node shows its cell's caption and image; the cell's argument is the link to
// the sheet it opens. A node may carry a mark drawn over its picture (the
// warning check's error or warning), which a collapsed branch shows for the
// nodes it hides.
class cuiTree {
public:
    using ImageList = QList<QIcon>;
    // The marks: overlay 0 is the error's picture, overlay 1 the warning's.
    static constexpr int kOverlayError = 0;
    static constexpr int kOverlayWarning = 1;
    static constexpr int kErrorImage = 11;
    static constexpr int kWarningImage = 10;

    // Creates the read-only tree view inside owner (which lays it out).
    cuiTree(QWidget* owner, cmcGTex& texts, const std::string& key, const ImageList* images);
    virtual ~cuiTree();
    cuiTree(const cuiTree&) = delete;
    cuiTree& operator=(const cuiTree&) = delete;

    // Reads the base cell and the body afresh and expands node 0.
    void Build();
    // Parses a list line into a node under parent (top level without one).
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const std::string& line);
    // Deletes the node's children and frees the cells no node carries any more.
    void DeleteChildren(QTreeWidgetItem* node);
    // The first node in tree order whose link equals name exactly.
    QTreeWidgetItem* FindNode(const std::string& name) const;
    cmcCellObj* GetSelectedCell() const;
    static cmcCellObj* CellOf(const QTreeWidgetItem* node);
    // The node's link: its cell's argument, empty without one.
    static std::string LinkOf(const QTreeWidgetItem* node);

    // The node and the nodes after it in tree order, up to its next sibling
    // (to the end when it has none).
    std::vector<QTreeWidgetItem*> Range(QTreeWidgetItem* node) const;
    void ClearOverlays(QTreeWidgetItem* node);
    // Marks the nodes of the range whose link is listed (in lower case: links
    // are compared without regard to case), and their collapsed ancestors up
    // to node; returns how many listed nodes it found.
    int MarkOverlays(QTreeWidgetItem* node, const std::vector<std::string>& links, int overlay);
    // The mark a node carries, -1 without one.
    static int OverlayOf(const QTreeWidgetItem* node);

    // Sets both the node's picture and its selected picture.
    void SetNodeImage(QTreeWidgetItem* node, int32_t image);
    static int32_t ImageOf(const QTreeWidgetItem* node);

    // A change of the selected node reaches onChange delayMs later, once the
    // selection has rested; expanding or collapsing reaches onExpand at once.
    void SetChangeHandler(int delayMs, std::function<void()> onChange);
    void SetExpandHandler(std::function<void()> onExpand);

    QTreeWidget* View() const { return view_; }
    QTreeWidgetItem* Node(int index) const;

protected:
    void Redraw(QTreeWidgetItem* node);

    QPointer<QWidget> owner_;
    cmcGTex& texts_;
    std::string key_;
    const ImageList* images_;
    QPointer<QTreeWidget> view_;
    std::unique_ptr<cmcCellObj> baseCell_;
    std::list<std::unique_ptr<cmcCellObj>> cells_;
    std::unique_ptr<plat::Timer> changeTimer_;
    int changeDelayMs_ = 0;
    std::function<void()> onChange_;
    std::function<void()> onExpand_;
};
