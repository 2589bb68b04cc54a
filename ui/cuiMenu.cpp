#include "ui/cuiMenu.h"

#include "cells/CellEngine.h"
#include "cells/CellFrame.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "platform/QtText.h"
#include "ui/TextList.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_set>
#include <utility>

namespace {

// Dynamic properties of the items a menu makes: their cell, and the image
// index last shown.
constexpr const char* kCellProperty = "tolvaneCell";
constexpr const char* kImageProperty = "tolvaneImage";

// The state bits the cells hand back.
constexpr uint8_t kTicked = CellFrame::kMenuChecked;
constexpr uint8_t kHidden = CellFrame::kMenuHidden;
constexpr uint8_t kGreyed = CellFrame::kMenuDisabled;
constexpr uint8_t kRenamed = CellFrame::kMenuCaptionChanged;

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

// The shortcuts of a shortcut text as the overlays write them: the portable
// names of QKeySequence, where the two Windows names that Qt spells otherwise
// are taken too, and Enter stands for both keys that carry it. A text that
// names no key gives no shortcut.
QList<QKeySequence> Shortcuts(const std::string& text) {
    static const std::pair<const char*, const char*> kWindowsNames[] = {{"BkSp", "Backspace"},
                                                                        {"PgDn", "PgDown"}};
    QStringList parts = plat::ToQString(text).split(QLatin1Char('+'));
    for (QString& part : parts)
        for (const auto& [windows, qt] : kWindowsNames)
            if (part.compare(QLatin1String(windows), Qt::CaseInsensitive) == 0) part = QLatin1String(qt);
    const QKeySequence sequence(parts.join(QLatin1Char('+')), QKeySequence::PortableText);
    if (sequence.isEmpty()) return {};
    for (int i = 0; i < sequence.count(); ++i)
        if (sequence[i].key() == Qt::Key_unknown) return {};
    const QKeyCombination key = sequence[0];
    if (sequence.count() == 1 && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter))
        return {QKeySequence(QKeyCombination(key.keyboardModifiers(), Qt::Key_Return)),
                QKeySequence(QKeyCombination(key.keyboardModifiers(), Qt::Key_Enter))};
    return {sequence};
}

// The picture of an image index; none outside the list.
QIcon ImageAt(const QList<QIcon>* images, int32_t index) {
    return images && index >= 0 && index < images->size() ? images->at(index) : QIcon();
}

} // namespace

struct cuiMenu::Context {
    cmcCellObj cell;
    cmcCellCapsule request;
};

cuiMenu::cuiMenu(const CellEngine& engine, QWidget* root, cmcGTex& texts, const std::string& key,
                 ClickHandler onClick)
    : engine_(engine), root_(root), texts_(texts), key_(key), onClick_(std::move(onClick)),
      alive_(std::make_shared<char>()) {
    LiveMenus().push_back(this);
    if (gEvMan) gEvMan->AddListener(&cuiMenu::OnEvent, this);
}

cuiMenu::~cuiMenu() {
    if (gEvMan) gEvMan->RemoveListener(&cuiMenu::OnEvent, this);
    std::erase(LiveMenus(), this);
    // No item outlives the menu that frees its cell and answers its click:
    // its own items and the ones lent to another menu (the root's children).
    if (root_) {
        // A lent item's sub-items are the root's children too, and go with it.
        QList<QPointer<QAction>> items;
        for (QAction* item : root_->findChildren<QAction*>(Qt::FindDirectChildrenOnly))
            items.append(item);
        for (const QPointer<QAction>& item : items)
            if (item && CellOf(item)) DeleteItem(item);
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
    DeleteSubItems(nullptr);
    Prune();
    baseCell_ = std::make_unique<cmcCellObj>();
    baseCell_->Parse(texts_.GetTextLine(key_ + "_BasicCell", 0), nullptr, nullptr);
    BuildList(nullptr, key_ + "_Body", 0, nullptr);
}

int cuiMenu::BuildList(QAction* parent, const std::string& listKey, int firstLine, cuiMenu* donor) {
    return BuildTextList(
        texts_, parent, listKey, firstLine,
        [this, donor](QAction* p, const std::string& line) { return AddItem(p, line, donor); });
}

QAction* cuiMenu::AddItem(QAction* parent, const std::string& line, cuiMenu* donor) {
    if (!root_) return nullptr;
    const std::string definition = ListDefinition(line);
    if (!baseCell_) baseCell_ = std::make_unique<cmcCellObj>();
    cmcCellObj* cell = cells_.emplace_back(std::make_unique<cmcCellObj>()).get();
    cell->Parse(definition, nullptr, baseCell_.get());

    QObject* owner = donor ? static_cast<QObject*>(donor->root_.data()) : parent;
    if (!owner) owner = root_;
    auto* item = new QAction(plat::ToQString(cell->GetCaption()), owner);
    // A separator shows no text: some styles would draw its "-" beside the line.
    if (cell->GetCaption() == "-") {
        item->setSeparator(true);
        item->setText(QString());
    }
    if (cell->argument) item->setShortcuts(Shortcuts(*cell->argument));
    item->setProperty(kCellProperty, QVariant::fromValue(static_cast<void*>(cell)));
    item->setProperty(kImageProperty, cell->imageIndex);
    item->setIcon(ImageAt(images_, cell->imageIndex));

    // A lent item shows its donor's shortcut but leaves the key to the
    // donor's own item: two live actions on one key would both stay silent.
    if (donor && donor != this) item->setShortcutContext(Qt::WidgetShortcut);
    cuiMenu* clicker = donor ? donor : this;
    QObject::connect(item, &QAction::triggered, &clicker->guard_, [clicker, item] { clicker->Click(item); });
    if (parent)
        SubMenuOf(parent)->addAction(item);
    else
        root_->addAction(item);
    // A title on a menu bar opens a menu even while it holds no items: its
    // cell fills it as it opens, and a title without a menu would only run
    // its cell and show nothing until the next click.
    if (IsBarTitle(item)) SubMenuOf(item);
    return item;
}

bool cuiMenu::IsBarTitle(const QAction* item) const {
    return item && !item->isSeparator() && qobject_cast<QMenuBar*>(root_.data()) &&
           root_->actions().contains(const_cast<QAction*>(item));
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

QList<QPointer<QAction>> cuiMenu::GuardedSubItems(QAction* item) const {
    QList<QPointer<QAction>> subs;
    for (QAction* sub : SubItems(item))
        subs.append(sub);
    return subs;
}

void cuiMenu::DeleteSubItems(QAction* item) {
    // A sub-item may hold others of the list among its own children.
    for (const QPointer<QAction>& sub : GuardedSubItems(item))
        if (sub) DeleteItem(sub);
    QMenu* menu = item ? item->menu() : nullptr;
    if (!menu || IsBarTitle(item)) return;
    item->setMenu(static_cast<QMenu*>(nullptr));
    // The sub-menu may be the one that is open and delivering a click.
    menu->deleteLater();
}

void cuiMenu::DeleteItem(QAction* item) {
    DeleteSubItems(item);
    delete item;
}

void cuiMenu::ClearItem(QAction* item) {
    if (!item) return;
    DeleteSubItems(item);
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
        auto context = std::make_shared<Context>();
        if (CellFromAnswers(gEvMan->SendWithAnswer(evQueryCurrentCell, BusId(owner), 0), context->cell)) {
            context->request.cell = &context->cell;
            context_ = std::move(context);
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
    for (const QPointer<QAction>& sub : GuardedSubItems(nullptr))
        if (sub) RefreshItem(sub);
}

void cuiMenu::RefreshItem(QAction* item) {
    // A cell may send events that rebuild part of the menu while it is walked.
    const QPointer<QAction> guard(item);
    cmcCellObj* cell = CellOf(item);
    cmcCellCapsule request;
    Prepare(request, cell);
    // Every item of a list, nested or not, is judged in the cell of the
    // sheet that owns the list's root: the donor's root for a lent item.
    QObject* owner = HostWidget(item);
    if (!haveLastOwner_ || owner != lastOwner_) FetchContext(owner);
    if (!guard) return;
    const std::shared_ptr<Context> context = context_;
    if (context) request.linkedRequest = &context->request;
    if (cell) {
        cell->flags2 = static_cast<uint8_t>(cell->flags2 & ~RefreshClearedBits());
        engine_.Execute(request, 0);
        if (!guard) return;
        const bool ticked = (cell->flags2 & kTicked) != 0;
        item->setCheckable(ticked);
        item->setChecked(ticked);
        item->setVisible((cell->flags2 & kHidden) == 0);
        item->setEnabled((cell->flags2 & kGreyed) == 0);
        const QString caption = plat::ToQString(cell->GetCaption());
        if ((cell->flags2 & kRenamed) != 0 && !item->isSeparator() && caption != item->text())
            item->setText(caption);
        if (cell->imageIndex != item->property(kImageProperty).toInt()) {
            item->setProperty(kImageProperty, cell->imageIndex);
            item->setIcon(ImageAt(images_, cell->imageIndex));
        }
    } else {
        item->setChecked(false);
    }
    for (const QPointer<QAction>& sub : GuardedSubItems(item))
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
    const std::weak_ptr<char> alive = alive_;
    engine_.Execute(request, 0);
    if (!alive.expired()) RefreshAll(nullptr);
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
