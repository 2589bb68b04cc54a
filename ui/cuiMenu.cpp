#include "ui/cuiMenu.h"

#include "cells/CellEngine.h"
#include "cells/CellFrame.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "platform/QtText.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_set>

namespace {

// Dynamic properties of the items a menu makes: their cell, and the image
// index last shown.
constexpr const char* kCellProperty = "tolvaneCell";
constexpr const char* kImageProperty = "tolvaneImage";

// The state bits the cells hand back, and what a refresh clears before it
// asks: the four it reads and the one it never reads.
constexpr uint8_t kTicked = CellFrame::kMenuChecked;
constexpr uint8_t kHidden = CellFrame::kMenuHidden;
constexpr uint8_t kGreyed = CellFrame::kMenuDisabled;
constexpr uint8_t kRenamed = CellFrame::kMenuCaptionChanged;
constexpr uint8_t kUnread = 0x40;
constexpr uint8_t kClearedBeforeRefresh = kTicked | kHidden | kGreyed | kRenamed | kUnread;

// The menus alive now: event 11 names its donor by a value posted earlier,
// and a donor gone by then must not be touched.
std::vector<cuiMenu*>& LiveMenus() {
    static std::vector<cuiMenu*> menus;
    return menus;
}

cuiMenu* LiveMenu(intptr_t id) {
    for (cuiMenu* menu : LiveMenus())
        if (cuiMenu::BusId(menu) == id) return menu;
    return nullptr;
}

// The nesting depth of a body line: what stands before its first '+'.
size_t Depth(const std::string& line) {
    size_t plus = line.find('+');
    return plus == std::string::npos ? line.size() : plus;
}

// The widget an item lives in: its root, or the donor's root for a lent item.
QWidget* HostWidget(QObject* object) {
    while (object && !object->isWidgetType())
        object = object->parent();
    return static_cast<QWidget*>(object);
}

// The cell travels on the bus as its address and look, never its parent
// (the sheet's basic cell is the sheet's) or its font.
struct CellImage {
    int32_t category;
    int32_t cellId;
    int32_t index;
    int32_t imageIndex;
    uint32_t color;
    uint8_t layout;
    uint8_t flags;
    uint8_t flags2;
};

void PutText(std::vector<uint8_t>& out, const std::optional<std::string>& text) {
    out.push_back(text ? 1 : 0);
    if (!text) return;
    const uint32_t size = static_cast<uint32_t>(text->size());
    const auto* p = reinterpret_cast<const uint8_t*>(&size);
    out.insert(out.end(), p, p + sizeof size);
    out.insert(out.end(), text->begin(), text->end());
}

bool GetText(const std::vector<uint8_t>& in, size_t& at, std::optional<std::string>& text) {
    if (at >= in.size()) return false;
    if (in[at++] == 0) {
        text.reset();
        return true;
    }
    uint32_t size = 0;
    if (in.size() - at < sizeof size) return false;
    std::memcpy(&size, in.data() + at, sizeof size);
    at += sizeof size;
    if (in.size() - at < size) return false;
    text.emplace(in.begin() + static_cast<std::ptrdiff_t>(at),
                 in.begin() + static_cast<std::ptrdiff_t>(at + size));
    at += size;
    return true;
}

bool ReadCell(const std::vector<uint8_t>& in, cmcCellObj& out) {
    CellImage image{};
    if (in.size() < sizeof image) return false;
    std::memcpy(&image, in.data(), sizeof image);
    size_t at = sizeof image;
    cmcCellObj cell;
    if (!GetText(in, at, cell.argument) || !GetText(in, at, cell.caption) ||
        !GetText(in, at, cell.popupMenu) || at != in.size())
        return false;
    cell.category = image.category;
    cell.cellId = image.cellId;
    cell.index = image.index;
    cell.imageIndex = image.imageIndex;
    cell.color = image.color;
    cell.layout = image.layout;
    cell.flags = image.flags;
    cell.flags2 = image.flags2;
    out = cell;
    return true;
}

} // namespace

cuiMenu::cuiMenu(const CellEngine& engine, QWidget* root, cmcGTex& texts, const std::string& key,
                 ClickHandler onClick)
    : engine_(engine), root_(root), texts_(texts), key_(key), onClick_(std::move(onClick)),
      refresh_(std::make_unique<cmcCellCapsule>()), contextCell_(std::make_unique<cmcCellObj>()),
      alive_(std::make_shared<bool>(true)) {
    LiveMenus().push_back(this);
    if (gEvMan) gEvMan->AddListener(&cuiMenu::OnEvent, this);
}

cuiMenu::~cuiMenu() {
    *alive_ = false;
    if (gEvMan) gEvMan->RemoveListener(&cuiMenu::OnEvent, this);
    std::erase(LiveMenus(), this);
    // No item outlives the menu that frees its cell and answers its click:
    // its own items and the ones lent to another menu (the root's children).
    if (root_) {
        for (QAction* item : root_->findChildren<QAction*>(Qt::FindDirectChildrenOnly))
            if (CellOf(item)) DeleteItem(item);
    }
}

void cuiMenu::SetImages(const QList<QIcon>* images) {
    images_ = images;
}

void cuiMenu::SetRequestOwner(cuiGrid* grid, cuiSheet* sheet) {
    grid_ = grid;
    sheet_ = sheet;
}

QWidget* cuiMenu::Root() const {
    return root_;
}

void cuiMenu::Build() {
    if (!root_) return;
    for (QAction* item : SubItems(nullptr))
        DeleteItem(item);
    Prune();
    baseCell_ = std::make_unique<cmcCellObj>();
    baseCell_->Parse(texts_.GetTextLine(key_ + "_BasicCell", 0), nullptr, nullptr);
    BuildList(nullptr, key_ + "_Body", 0, nullptr);
}

int cuiMenu::BuildList(QAction* parent, const std::string& listKey, int firstLine, cuiMenu* donor) {
    int n = 0;
    size_t depth = 0;
    QAction* last = nullptr;
    for (;;) {
        // The overlay ends with a '#' line; a text that stops short of it
        // still ends the list rather than reading empty lines for ever.
        const std::optional<std::string> line = texts_.TryGetTextLine(listKey, firstLine + n);
        if (!line || line->starts_with('#')) break;
        const size_t e = Depth(*line);
        if (n == 0) {
            depth = e;
        } else if (e > depth) {
            n += BuildList(last, listKey, firstLine + n, donor);
            continue;
        } else if (e < depth) {
            break;
        }
        last = AddItem(parent, *line, donor);
        ++n;
    }
    return n;
}

QAction* cuiMenu::AddItem(QAction* parent, const std::string& line, cuiMenu* donor) {
    if (!root_) return nullptr;
    const size_t plus = line.find('+');
    const std::string definition = plus == std::string::npos ? std::string() : line.substr(plus + 1);
    if (!baseCell_) baseCell_ = std::make_unique<cmcCellObj>();
    cmcCellObj* cell = cells_.emplace_back(std::make_unique<cmcCellObj>()).get();
    cell->Parse(definition, nullptr, baseCell_.get());

    QObject* owner = donor ? static_cast<QObject*>(donor->root_.data()) : parent;
    if (!owner) owner = root_;
    auto* item = new QAction(plat::ToQString(cell->GetCaption()), owner);
    if (cell->GetCaption() == "-") item->setSeparator(true);
    if (cell->argument)
        item->setShortcut(QKeySequence(plat::ToQString(*cell->argument), QKeySequence::PortableText));
    item->setProperty(kCellProperty, QVariant::fromValue(static_cast<void*>(cell)));
    item->setProperty(kImageProperty, cell->imageIndex);
    if (images_ && cell->imageIndex >= 0 && cell->imageIndex < images_->size())
        item->setIcon(images_->at(cell->imageIndex));

    cuiMenu* clicker = donor ? donor : this;
    QObject::connect(item, &QAction::triggered, &clicker->guard_, [clicker, item] { clicker->Click(item); });
    if (parent)
        SubMenuOf(parent)->addAction(item);
    else
        root_->addAction(item);
    return item;
}

QMenu* cuiMenu::SubMenuOf(QAction* item) {
    if (QMenu* menu = item->menu()) return menu;
    auto* menu = new QMenu(HostWidget(item));
    item->setMenu(menu);
    // An item that opens a sub-menu is clicked as it opens, so that its cell
    // can fill the sub-menu before it shows.
    QObject::connect(menu, &QMenu::aboutToShow, item, [item] { item->trigger(); });
    return menu;
}

void cuiMenu::DeleteItem(QAction* item) {
    for (QAction* sub : SubItems(item))
        DeleteItem(sub);
    QMenu* menu = item->menu();
    item->setMenu(static_cast<QMenu*>(nullptr));
    delete item;
    // The sub-menu may be the one that is open and delivering a click.
    if (menu) menu->deleteLater();
}

void cuiMenu::ClearItem(QAction* item) {
    if (!item) return;
    for (QAction* sub : SubItems(item))
        DeleteItem(sub);
    if (QMenu* menu = item->menu()) {
        item->setMenu(static_cast<QMenu*>(nullptr));
        menu->deleteLater();
    }
    Prune();
}

void cuiMenu::CollectCells(QAction* item, std::vector<const cmcCellObj*>& out) const {
    for (QAction* sub : SubItems(item)) {
        if (const cmcCellObj* cell = CellOf(sub)) out.push_back(cell);
        CollectCells(sub, out);
    }
}

void cuiMenu::Prune() {
    std::vector<const cmcCellObj*> carried;
    if (root_) CollectCells(nullptr, carried);
    const std::unordered_set<const cmcCellObj*> kept(carried.begin(), carried.end());
    std::erase_if(cells_,
                  [&](const std::unique_ptr<cmcCellObj>& cell) { return !kept.contains(cell.get()); });
}

QList<QAction*> cuiMenu::SubItems(QAction* item) const {
    if (!item) return root_ ? root_->actions() : QList<QAction*>();
    QMenu* menu = item->menu();
    return menu ? menu->actions() : QList<QAction*>();
}

QAction* cuiMenu::FindItemByCommand(QAction* start, int32_t commandId) const {
    if (start) {
        const cmcCellObj* cell = CellOf(start);
        if (cell && cell->cellId == commandId) return start;
    }
    for (QAction* sub : SubItems(start))
        if (QAction* found = FindItemByCommand(sub, commandId)) return found;
    return nullptr;
}

QAction* cuiMenu::FindItem(QAction* start, QAction* item) const {
    if (!item) return nullptr;
    if (start == item) return item;
    for (QAction* sub : SubItems(start))
        if (FindItem(sub, item)) return item;
    return nullptr;
}

int32_t cuiMenu::SubItemCount(int32_t commandId) const {
    QAction* item = FindItemByCommand(nullptr, commandId);
    return item ? static_cast<int32_t>(SubItems(item).size()) : -1;
}

void cuiMenu::Prepare(cmcCellCapsule& request, cmcCellObj* cell) const {
    request.Clear();
    request.cell = cell;
    request.grid = grid_;
    request.owner = sheet_;
    request.texts = &texts_;
}

void cuiMenu::FetchContext(QObject* owner) {
    context_.reset();
    if (gEvMan) {
        cmcCellObj cell;
        if (CellFromAnswers(gEvMan->SendWithAnswer(evQueryCurrentCell, BusId(owner), 0), cell)) {
            *contextCell_ = cell;
            context_ = std::make_unique<cmcCellCapsule>();
            context_->cell = contextCell_.get();
        }
    }
    lastOwner_ = owner;
    haveLastOwner_ = true;
}

void cuiMenu::RefreshAll(QAction* item) {
    haveLastOwner_ = false;
    if (item) {
        RefreshItem(item);
        return;
    }
    for (QAction* sub : SubItems(nullptr))
        RefreshItem(sub);
}

void cuiMenu::RefreshItem(QAction* item) {
    // A cell may send events that rebuild part of the menu while it is walked.
    const QPointer<QAction> guard(item);
    cmcCellObj* cell = CellOf(item);
    Prepare(*refresh_, cell);
    QObject* owner = item->parent();
    if (!haveLastOwner_ || owner != lastOwner_) FetchContext(owner);
    if (!guard) return;
    if (context_) refresh_->linkedRequest = context_.get();
    if (cell) {
        cell->flags2 = static_cast<uint8_t>(cell->flags2 & ~kClearedBeforeRefresh);
        engine_.Execute(*refresh_, 0);
        if (!guard) return;
        const bool ticked = (cell->flags2 & kTicked) != 0;
        item->setCheckable(ticked);
        item->setChecked(ticked);
        item->setVisible((cell->flags2 & kHidden) == 0);
        item->setEnabled((cell->flags2 & kGreyed) == 0);
        const QString caption = plat::ToQString(cell->GetCaption());
        if ((cell->flags2 & kRenamed) != 0 && caption != item->text()) item->setText(caption);
        if (cell->imageIndex != item->property(kImageProperty).toInt()) {
            item->setProperty(kImageProperty, cell->imageIndex);
            const bool shown = images_ && cell->imageIndex >= 0 && cell->imageIndex < images_->size();
            item->setIcon(shown ? images_->at(cell->imageIndex) : QIcon());
        }
    } else {
        item->setChecked(false);
    }
    QList<QPointer<QAction>> subs;
    for (QAction* sub : SubItems(item))
        subs.append(sub);
    for (const QPointer<QAction>& sub : subs)
        if (sub) RefreshItem(sub);
}

void cuiMenu::Click(QAction* item) {
    if (onClick_)
        onClick_(item);
    else
        DefaultClick(item);
}

void cuiMenu::DefaultClick(QAction* item) {
    if (!FindItem(nullptr, item)) return;
    cmcCellCapsule request;
    Prepare(request, CellOf(item));
    request.key = cmcCellCapsule::kKeyEnter;
    cmcCellObj current;
    cmcCellCapsule nesting;
    if (gEvMan && CellFromAnswers(gEvMan->SendWithAnswer(evQueryCurrentCell, 0, 0), current)) {
        nesting.cell = &current;
        request.linkedRequest = &nesting;
    }
    // The command may close the window that owns this menu.
    const std::weak_ptr<bool> alive = alive_;
    engine_.Execute(request, 0);
    if (!alive.expired() && *alive.lock()) RefreshAll(nullptr);
}

cmcCellObj* cuiMenu::CellOf(const QAction* item) {
    if (!item) return nullptr;
    return static_cast<cmcCellObj*>(item->property(kCellProperty).value<void*>());
}

intptr_t cuiMenu::BusId(const QObject* component) {
    return reinterpret_cast<intptr_t>(component);
}

intptr_t cuiMenu::BusId(const cuiMenu* menu) {
    return reinterpret_cast<intptr_t>(menu);
}

void cuiMenu::AnswerCell(const cmcCellObj& cell) {
    if (!gEvMan) return;
    const CellImage image{cell.category, cell.cellId, cell.index, cell.imageIndex,
                          cell.color,    cell.layout, cell.flags, cell.flags2};
    std::vector<uint8_t> data(sizeof image);
    std::memcpy(data.data(), &image, sizeof image);
    PutText(data, cell.argument);
    PutText(data, cell.caption);
    PutText(data, cell.popupMenu);
    gEvMan->AnswerData(data.data(), data.size());
}

bool cuiMenu::CellFromAnswers(const std::vector<cmcEvAns>& answers, cmcCellObj& out) {
    for (const cmcEvAns& answer : answers)
        if (ReadCell(answer.data, out)) return true;
    return false;
}

void cuiMenu::OnEvent(void* user, const cmcEvent& ev) {
    auto* self = static_cast<cuiMenu*>(user);
    switch (ev.type) {
    case evUpdateMenus:
        self->RefreshAll(nullptr);
        break;
    case evClearMenuItems:
        self->ClearItem(self->FindItemByCommand(nullptr, static_cast<int32_t>(ev.p2)));
        break;
    case evBuildMenuItems: {
        QAction* item = self->FindItemByCommand(nullptr, static_cast<int32_t>(ev.p2));
        if (!item) break;
        cuiMenu* donor = nullptr;
        if (ev.p1 != 0) {
            donor = LiveMenu(ev.p1);
            if (!donor || !donor->root_) break;
        }
        self->BuildList(item, ev.Text() + "_Body", 0, donor);
        break;
    }
    default:
        break;
    }
}
