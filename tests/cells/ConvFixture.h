#pragma once
#include "cells/cmcCellCapsule.h"
#include "foundation/cmcGTex.h"

#include <cstdint>
#include <string>
#include <vector>

namespace convtest {

// A host grid the converters only compare with null.
inline cuiGrid* FakeGrid() {
    static char grid;
    return reinterpret_cast<cuiGrid*>(&grid);
}

// A request as a sheet fills it, with the converter's result code beside it.
struct Request {
    cmcCellCapsule r;
    int32_t out = 0;

    // Formatting for a grid, optionally with a key pressed on the cell.
    static Request Key(int32_t key = 0, cmcGTex* texts = nullptr) {
        Request q;
        q.r.grid = FakeGrid();
        q.r.editGrid = FakeGrid();
        q.r.key = key;
        q.r.texts = texts;
        return q;
    }
    // Committing what the user typed into the in-place editor.
    static Request Commit(const std::string& text, cmcGTex* texts = nullptr) {
        Request q = Key(0, texts);
        q.r.mode = cmcCellCapsule::kModeCommit;
        q.r.editText = text;
        return q;
    }
    // Formatting outside a grid (menus, trees, printing): keys mean nothing.
    static Request NoGrid(int32_t key, cmcGTex* texts = nullptr) {
        Request q;
        q.r.key = key;
        q.r.texts = texts;
        return q;
    }
};

// A text table over lines held by the test.
class Table {
public:
    explicit Table(std::vector<std::string> lines) : lines_(std::move(lines)) {
        for (const std::string& s : lines_)
            ptrs_.push_back(s.c_str());
        ptrs_.push_back(nullptr);
        gtex_.SetLines(ptrs_.data());
    }
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;
    cmcGTex* operator->() { return &gtex_; }
    cmcGTex* get() { return &gtex_; }

private:
    std::vector<std::string> lines_;
    std::vector<const char*> ptrs_;
    cmcGTex gtex_;
};

} // namespace convtest
