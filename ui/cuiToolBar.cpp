#include "ui/cuiToolBar.h"

#include "cells/CellEngine.h"
#include "cells/CellFrame.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "platform/QtText.h"

#include <QLayout>
#include <QPainter>
#include <QToolButton>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace {

constexpr const char* kCellProperty = "tolvaneCell";
constexpr const char* kImageProperty = "tolvaneImage";
// A gap that ends its row.
constexpr const char* kRowEndProperty = "tolvaneRowEnd";

constexpr int kGapWidth = 8;
constexpr int kRowEndWidth = 1;
constexpr int kIndent = 4;

constexpr uint8_t kPressed = CellFrame::kMenuChecked;
constexpr uint8_t kGreyed = CellFrame::kMenuDisabled;

// The picture of an image index; none outside the list.
QIcon ImageAt(const QList<QIcon>* images, int32_t index) {
    return images && index >= 0 && index < images->size() ? images->at(index) : QIcon();
}

// Buttons left to right in rows. A row ends after a row-end gap, and, while
// the bar wraps by itself, where the next button would pass the right edge.
class RowLayout : public QLayout {
public:
    explicit RowLayout(QWidget* parent) : QLayout(parent) { setContentsMargins(kIndent, 2, 2, 2); }
    ~RowLayout() override {
        while (QLayoutItem* item = takeAt(0))
            delete item;
    }

    void SetWrapping(bool on) {
        wrapping_ = on;
        invalidate();
    }

    void addItem(QLayoutItem* item) override { items_.append(item); }
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override { return items_.value(index); }
    QLayoutItem* takeAt(int index) override {
        return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
    }
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return Arrange(QRect(0, 0, width, 0), false).height(); }
    QSize sizeHint() const override { return Arrange(QRect(0, 0, QWIDGETSIZE_MAX, 0), false); }
    QSize minimumSize() const override {
        QSize size;
        for (QLayoutItem* item : items_)
            size = size.expandedTo(item->minimumSize());
        const QMargins m = contentsMargins();
        return size + QSize(m.left() + m.right(), m.top() + m.bottom());
    }
    void setGeometry(const QRect& rect) override {
        QLayout::setGeometry(rect);
        Arrange(rect, true);
    }

private:
    // Places the items (or only measures) and returns the size they take.
    QSize Arrange(const QRect& rect, bool place) const {
        const QRect area = rect.marginsRemoved(contentsMargins());
        int x = area.x();
        int y = area.y();
        int rowHeight = 0;
        int widest = 0;
        for (QLayoutItem* item : items_) {
            const QSize size = item->sizeHint();
            if (wrapping_ && x > area.x() && x + size.width() > area.right() + 1) {
                y += rowHeight;
                x = area.x();
                rowHeight = 0;
            }
            if (place) item->setGeometry(QRect(QPoint(x, y), size));
            x += size.width();
            widest = std::max(widest, x - area.x());
            rowHeight = std::max(rowHeight, size.height());
            QWidget* widget = item->widget();
            if (widget && widget->property(kRowEndProperty).toBool()) {
                y += rowHeight;
                x = area.x();
                rowHeight = 0;
            }
        }
        const QMargins m = contentsMargins();
        return QSize(widest + m.left() + m.right(), y + rowHeight - area.y() + m.top() + m.bottom());
    }

    QList<QLayoutItem*> items_;
    bool wrapping_ = true;
};

// The bar draws only its top edge, the line that parts it from the menu.
class BarWidget : public QWidget {
public:
    explicit BarWidget(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(0, 0, width() - 1, 0);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(0, 1, width() - 1, 1);
    }
};

} // namespace

cuiToolBar::cuiToolBar(const CellEngine& engine, QWidget* owner, cmcGTex& texts, const std::string& key,
                       const QList<QIcon>* images)
    : engine_(engine), texts_(texts), key_(key), images_(images) {
    auto* bar = new BarWidget(owner);
    bar->setObjectName(plat::ToQString(key));
    new RowLayout(bar);
    bar_ = bar;
    if (gEvMan) gEvMan->AddListener(&cuiToolBar::OnEvent, this);
}

cuiToolBar::~cuiToolBar() {
    if (gEvMan) gEvMan->RemoveListener(&cuiToolBar::OnEvent, this);
    // The buttons carry the cells freed here.
    delete bar_.data();
}

QWidget* cuiToolBar::Bar() const {
    return bar_;
}

std::vector<QToolButton*> cuiToolBar::Buttons() const {
    std::vector<QToolButton*> buttons;
    if (!bar_) return buttons;
    QLayout* layout = bar_->layout();
    for (int i = 0; i < layout->count(); ++i)
        if (auto* button = qobject_cast<QToolButton*>(layout->itemAt(i)->widget())) buttons.push_back(button);
    return buttons;
}

cmcCellObj* cuiToolBar::CellOf(const QToolButton* button) {
    if (!button) return nullptr;
    return static_cast<cmcCellObj*>(button->property(kCellProperty).value<void*>());
}

void cuiToolBar::Build(ClickHandler onClick) {
    if (!bar_) return;
    // A second build replaces the buttons: the cells of the first go with it.
    // A button may be the one whose click is running, so it goes later,
    // cut off from its cell now.
    auto* layout = static_cast<RowLayout*>(bar_->layout());
    for (QToolButton* button : Buttons()) {
        QObject::disconnect(button, nullptr, nullptr, nullptr);
        button->setProperty(kCellProperty, QVariant());
        layout->removeWidget(button);
        button->hide();
        button->deleteLater();
    }
    layout->SetWrapping(true);

    const std::string body = key_ + "_Body";
    std::vector<std::string> lines;
    for (int n = 0;; ++n) {
        std::optional<std::string> line = texts_.TryGetTextLine(body, n);
        if (!line || line->starts_with('#')) break;
        lines.push_back(std::move(*line));
    }
    baseCell_ = std::make_unique<cmcCellObj>();
    baseCell_->Parse(texts_.GetTextLine(key_ + "_BasicCell", 0), nullptr, nullptr);
    cells_.clear();

    for (const std::string& line : lines) {
        cmcCellObj* cell = cells_.emplace_back(std::make_unique<cmcCellObj>()).get();
        cell->Parse(line, nullptr, baseCell_.get());
        auto* button = new QToolButton(bar_);
        const std::string caption = cell->GetCaption();
        if (caption == "-" || caption == "/") {
            // A gap: no cell, so no refresh ever presses it.
            const bool rowEnd = caption == "/";
            button->setFixedWidth(rowEnd ? kRowEndWidth : kGapWidth);
            button->setEnabled(false);
            button->setAutoRaise(true);
            button->setFocusPolicy(Qt::NoFocus);
            button->setProperty(kRowEndProperty, rowEnd);
            if (rowEnd) layout->SetWrapping(false);
        } else {
            button->setProperty(kCellProperty, QVariant::fromValue(static_cast<void*>(cell)));
            button->setProperty(kImageProperty, cell->imageIndex);
            button->setIcon(ImageAt(images_, cell->imageIndex));
            button->setToolTip(plat::ToQString(caption));
            button->setFocusPolicy(Qt::NoFocus);
            QObject::connect(button, &QToolButton::clicked, bar_, [this, cell, onClick] {
                if (onClick)
                    onClick(*cell);
                else
                    DefaultClick(*cell);
            });
        }
        layout->addWidget(button);
    }
}

void cuiToolBar::Refresh() {
    for (QToolButton* button : Buttons()) {
        cmcCellObj* cell = CellOf(button);
        if (!cell) {
            button->setCheckable(false);
            button->setChecked(false);
            continue;
        }
        cmcCellCapsule request;
        request.cell = cell;
        request.texts = &texts_;
        engine_.Execute(request, 0);
        const bool pressed = (cell->flags2 & kPressed) != 0;
        button->setCheckable(pressed);
        button->setChecked(pressed);
        button->setEnabled((cell->flags2 & kGreyed) == 0);
        if (cell->imageIndex != button->property(kImageProperty).toInt()) {
            button->setProperty(kImageProperty, cell->imageIndex);
            button->setIcon(ImageAt(images_, cell->imageIndex));
        }
    }
}

void cuiToolBar::DefaultClick(cmcCellObj& cell) {
    cmcCellCapsule request;
    request.cell = &cell;
    request.texts = &texts_;
    request.key = cmcCellCapsule::kKeyEnter;
    engine_.Execute(request, 0);
}

void cuiToolBar::OnEvent(void* user, const cmcEvent& ev) {
    if (ev.type == evUpdateToolBar) static_cast<cuiToolBar*>(user)->Refresh();
}
