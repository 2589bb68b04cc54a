#include "cells/cmcCellObj.h"

#include "cells/CellVocabulary.h"

cmcCellObj::cmcCellObj()
    : category(CurrentCellVocabulary().NoCategory()), cellId(CurrentCellVocabulary().NoCell()) {
    Reset();
}

void cmcCellObj::FreeMembers() {
    argument.reset();
    caption.reset();
    font.reset();
    popupMenu.reset();
}

void cmcCellObj::Assign(const cmcCellObj& source) {
    FreeMembers();
    parent = source.parent;
    chParams = source.chParams;
    category = source.category;
    cellId = source.cellId;
    index = source.index;
    argument = source.argument;
    imageIndex = source.imageIndex;
    layout = source.layout;
    flags = source.flags;
    flags2 = source.flags2;
    color = source.color;
    if (source.font) font = std::make_unique<FontSpec>(*source.font);
    popupMenu = source.popupMenu;
    caption = source.caption;
}

void cmcCellObj::Reset() {
    FreeMembers();
    cellId = CurrentCellVocabulary().NoCell();
    imageIndex = -1;
    layout = 0;
    flags = 0;
    flags2 = 0;
    color = kDefaultColor;
    if (!parent) return;
    category = parent->category;
    cellId = parent->cellId;
    index = parent->index;
    argument = parent->argument;
    imageIndex = parent->imageIndex;
    layout = parent->layout;
    flags = parent->flags;
    flags2 = parent->flags2;
    color = parent->color;
    caption = parent->caption;
}

const std::string* cmcCellObj::GetPopupMenu() const {
    for (const cmcCellObj* c = this; c; c = c->parent)
        if (c->popupMenu && !c->popupMenu->empty()) return &*c->popupMenu;
    return nullptr;
}
