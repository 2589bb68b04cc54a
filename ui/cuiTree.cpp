#include "ui/cuiTree.h"

#include "cells/cmcCellObj.h"
#include "foundation/FontDesc.h"
#include "foundation/cmcGTex.h"
#include "platform/QtText.h"
#include "platform/Timer.h"
#include "ui/AsciiCase.h"
#include "ui/QtConvert.h"
#include "ui/TextList.h"

#include <QHeaderView>
#include <QPainter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>
#include <set>

namespace {

constexpr int kCellRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;
constexpr int kOverlayRole = Qt::UserRole + 3;

QIcon ImageAt(const QList<QIcon>* images, int32_t index) {
    return images && index >= 0 && index < images->size() ? images->at(index) : QIcon();
}

} // namespace

cuiTree::cuiTree(QWidget* owner, cmcGTex& texts, const std::string& key, const ImageList* images)
    : owner_(owner), texts_(texts), key_(key), images_(images) {
    view_ = new QTreeWidget(owner);
    view_->setObjectName(plat::ToQString(key));
    view_->setHeaderHidden(true);
    view_->setColumnCount(1);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setIconSize(QSize(16, 16));
    if (owner) {
        auto* layout = owner->layout();
        if (!layout) {
            layout = new QVBoxLayout(owner);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        layout->addWidget(view_);
    }
    QObject::connect(view_, &QTreeWidget::itemExpanded, view_, [this](QTreeWidgetItem*) {
        if (onExpand_) onExpand_();
    });
    QObject::connect(view_, &QTreeWidget::itemCollapsed, view_, [this](QTreeWidgetItem*) {
        if (onExpand_) onExpand_();
    });
    QObject::connect(view_, &QTreeWidget::currentItemChanged, view_,
                     [this](QTreeWidgetItem*, QTreeWidgetItem*) {
                         if (!onChange_) return;
                         if (changeTimer_ && changeDelayMs_ > 0)
                             changeTimer_->Start(changeDelayMs_);
                         else
                             onChange_();
                     });
}

cuiTree::~cuiTree() {
    changeTimer_.reset();
    // The nodes point at the cells freed with this tree.
    if (view_) {
        view_->hide();
        delete view_.data();
    }
}

void cuiTree::SetChangeHandler(int delayMs, std::function<void()> onChange) {
    onChange_ = std::move(onChange);
    changeDelayMs_ = delayMs;
    changeTimer_ = plat::Timers().CreateTimer([this] {
        // One shot: the change is told once the selection has rested.
        changeTimer_->Stop();
        if (onChange_) onChange_();
    });
}

void cuiTree::SetExpandHandler(std::function<void()> onExpand) {
    onExpand_ = std::move(onExpand);
}

void cuiTree::Build() {
    if (!view_) return;
    baseCell_ = std::make_unique<cmcCellObj>();
    baseCell_->Parse(texts_.GetTextLine(key_ + "_BasicCell", 0), nullptr, nullptr);
    if (baseCell_->font) {
        FontDesc font;
        CopyFont(&font, baseCell_->font.get());
        view_->setFont(ToQFont(font, view_->font()));
        QPalette p = view_->palette();
        p.setColor(QPalette::Text, ToQColor(font.color, p));
        view_->setPalette(p);
    }
    const QSignalBlocker quiet(view_);
    view_->clear();
    cells_.clear();
    BuildTextList(texts_, static_cast<QTreeWidgetItem*>(nullptr), key_ + "_Body", 0,
                  [this](QTreeWidgetItem* parent, const std::string& line) { return AddNode(parent, line); });
    if (QTreeWidgetItem* first = Node(0)) first->setExpanded(true);
}

QTreeWidgetItem* cuiTree::AddNode(QTreeWidgetItem* parent, const std::string& line) {
    if (!view_) return nullptr;
    if (!baseCell_) baseCell_ = std::make_unique<cmcCellObj>();
    cmcCellObj* cell = cells_.emplace_back(std::make_unique<cmcCellObj>()).get();
    cell->Parse(ListDefinition(line), nullptr, baseCell_.get());
    auto* node = new QTreeWidgetItem;
    node->setText(0, plat::ToQString(cell->GetCaption()));
    node->setData(0, kCellRole, QVariant::fromValue(static_cast<void*>(cell)));
    node->setData(0, kOverlayRole, -1);
    if (parent)
        parent->addChild(node);
    else
        view_->addTopLevelItem(node);
    SetNodeImage(node, cell->imageIndex);
    return node;
}

void cuiTree::DeleteChildren(QTreeWidgetItem* node) {
    if (!node) return;
    for (QTreeWidgetItem* child : node->takeChildren())
        delete child;
    std::set<const cmcCellObj*> carried;
    for (QTreeWidgetItemIterator it(view_); *it; ++it)
        carried.insert(CellOf(*it));
    cells_.remove_if([&](const std::unique_ptr<cmcCellObj>& c) { return !carried.contains(c.get()); });
}

QTreeWidgetItem* cuiTree::Node(int index) const {
    if (!view_) return nullptr;
    int i = 0;
    for (QTreeWidgetItemIterator it(view_); *it; ++it, ++i)
        if (i == index) return *it;
    return nullptr;
}

QTreeWidgetItem* cuiTree::FindNode(const std::string& name) const {
    if (!view_) return nullptr;
    for (QTreeWidgetItemIterator it(view_); *it; ++it) {
        const cmcCellObj* cell = CellOf(*it);
        if (cell && cell->argument && *cell->argument == name) return *it;
    }
    return nullptr;
}

cmcCellObj* cuiTree::GetSelectedCell() const {
    if (!view_) return nullptr;
    QTreeWidgetItem* node = view_->currentItem();
    return node && node->isSelected() ? CellOf(node) : nullptr;
}

cmcCellObj* cuiTree::CellOf(const QTreeWidgetItem* node) {
    return node ? static_cast<cmcCellObj*>(node->data(0, kCellRole).value<void*>()) : nullptr;
}

std::string cuiTree::LinkOf(const QTreeWidgetItem* node) {
    const cmcCellObj* cell = CellOf(node);
    return cell && cell->argument ? *cell->argument : std::string();
}

std::vector<QTreeWidgetItem*> cuiTree::Range(QTreeWidgetItem* node) const {
    std::vector<QTreeWidgetItem*> range;
    if (!node || !view_) return range;
    QTreeWidgetItem* parent = node->parent();
    const int index = parent ? parent->indexOfChild(node) : view_->indexOfTopLevelItem(node);
    const int siblings = parent ? parent->childCount() : view_->topLevelItemCount();
    QTreeWidgetItem* end = nullptr;
    if (index + 1 < siblings) end = parent ? parent->child(index + 1) : view_->topLevelItem(index + 1);
    for (QTreeWidgetItemIterator it(node); *it && *it != end; ++it)
        range.push_back(*it);
    return range;
}

void cuiTree::ClearOverlays(QTreeWidgetItem* node) {
    for (QTreeWidgetItem* n : Range(node)) {
        if (OverlayOf(n) < 0) continue;
        n->setData(0, kOverlayRole, -1);
        Redraw(n);
    }
}

int cuiTree::MarkOverlays(QTreeWidgetItem* node, const std::vector<std::string>& links, int overlay) {
    int count = 0;
    for (QTreeWidgetItem* n : Range(node)) {
        if (std::find(links.begin(), links.end(), AsciiLower(LinkOf(n))) == links.end()) continue;
        ++count;
        n->setData(0, kOverlayRole, overlay);
        Redraw(n);
        if (n == node) continue;
        for (QTreeWidgetItem* up = n->parent(); up; up = up->parent()) {
            if (!up->isExpanded()) {
                up->setData(0, kOverlayRole, overlay);
                Redraw(up);
            }
            if (up == node) break;
        }
    }
    return count;
}

int cuiTree::OverlayOf(const QTreeWidgetItem* node) {
    const QVariant v = node ? node->data(0, kOverlayRole) : QVariant();
    return v.isValid() ? v.toInt() : -1;
}

void cuiTree::SetNodeImage(QTreeWidgetItem* node, int32_t image) {
    if (!node) return;
    node->setData(0, kImageRole, image);
    Redraw(node);
}

int32_t cuiTree::ImageOf(const QTreeWidgetItem* node) {
    return node ? node->data(0, kImageRole).toInt() : -1;
}

void cuiTree::Redraw(QTreeWidgetItem* node) {
    QIcon icon = ImageAt(images_, ImageOf(node));
    const int overlay = OverlayOf(node);
    if (overlay >= 0 && !icon.isNull()) {
        // The mark is drawn over the node's own picture, as an overlay image.
        QPixmap picture = icon.pixmap(QSize(16, 16));
        QPainter painter(&picture);
        painter.drawPixmap(
            0, 0,
            ImageAt(images_, overlay == kOverlayError ? kErrorImage : kWarningImage).pixmap(QSize(16, 16)));
        painter.end();
        icon = QIcon(picture);
    }
    node->setIcon(0, icon);
}
