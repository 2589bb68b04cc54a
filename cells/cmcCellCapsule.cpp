#include "cells/cmcCellCapsule.h"

void cmcCellCapsule::Clear() {
    grid = nullptr;
    editGrid = nullptr;
    cell = nullptr;
    canvas = nullptr;
    texts = nullptr;
    cellRect = nullptr;
    selStart = 0;
    selLength = 0;
    key = 0;
    command = 0;
    linkedRequest = nullptr;
    mode = kModeFormat;
    editText.clear();
    displayText.clear();
    markFlags = MarkFlags{};
    markPosition = 0;
    hint = 0;
    jumpRequest = 0;
    jumpCategory = 0;
    jumpCell = 0;
    jumpIndex = 0;
    jumpKey = 0;
    extra = 0;
    owner = nullptr;
    rangeSelected = false;
    rangeRequest = false;
    rangeFirst = 0;
    rangeLast = 0;
    notifyClosure = nullptr;
    reeditClosure = nullptr;
}

cmcCellCapsule& cmcCellCapsule::operator=(const cmcCellCapsule& other) {
    if (this == &other) return *this;
    grid = other.grid;
    editGrid = other.editGrid;
    cell = other.cell;
    canvas = other.canvas;
    texts = other.texts;
    cellRect = other.cellRect;
    selStart = other.selStart;
    selLength = other.selLength;
    key = other.key;
    command = other.command;
    linkedRequest = other.linkedRequest;
    mode = other.mode;
    editText = other.editText;
    displayText = other.displayText;
    markFlags = other.markFlags;
    markPosition = other.markPosition;
    hint = other.hint;
    jumpRequest = other.jumpRequest;
    jumpCategory = other.jumpCategory;
    jumpCell = other.jumpCell;
    jumpIndex = other.jumpIndex;
    jumpKey = other.jumpKey;
    extra = other.extra;
    owner = other.owner;
    rangeSelected = other.rangeSelected;
    rangeRequest = other.rangeRequest;
    rangeFirst = other.rangeFirst;
    rangeLast = other.rangeLast;
    notifyClosure = other.notifyClosure;
    reeditClosure = other.reeditClosure;
    return *this;
}
