#pragma once
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/cmcGTex.h"

#include <cstdint>
#include <string>
#include <vector>

namespace convtest {

// The key codes a grid hands its cells and the result codes that ask the grid
// to open something.
namespace grid {
inline constexpr int32_t kSpace = ' ';
inline constexpr int32_t kBack = 8;
inline constexpr int32_t kEnter = 13;
inline constexpr int32_t kEditor = cmcCellCapsule::kResultOpenEditor;
inline constexpr int32_t kPopup = cmcCellCapsule::kResultPopupOpened;
} // namespace grid

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

// The item a user picks in a list pop-up: the request that goes back to the
// opener's cell carries it as its linked request. One pick at a time.
struct PickedItem {
    cmcCellObj item;
    cmcCellCapsule itemRequest;

    Request Pick(int32_t listCell, int32_t value, cmcGTex* texts = nullptr) {
        item.cellId = listCell;
        item.index = value;
        itemRequest.cell = &item;
        Request q = Request::Key(0, texts);
        q.r.mode = cmcCellCapsule::kModePick;
        q.r.linkedRequest = &itemRequest;
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

#include "cells/CellCanvas.h"
#include "foundation/indEnviron.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"
#include "tests/image/ScopedModel.h"

namespace convtest {

// The program's settings (for the current model) and a working image, as the
// program has them while cells run.
class ProgramState {
public:
    explicit ProgramState(int32_t model = 0) : model_(model) {
        image.SetSize(layout::kImageSize);
        SetCurrentImage(&image);
    }
    ~ProgramState() { SetCurrentImage(nullptr); }
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    indEnviron& Env() { return model_.Env(); }
    cmcEeprom image;

private:
    testimage::ScopedModel model_;
};

// A canvas that remembers what was drawn on it.
class RecordingCanvas : public CellCanvas {
public:
    struct Fill {
        int32_t left, top, right, bottom;
        ColorValue color;
    };
    struct Frame {
        int32_t left, top, right, bottom;
        ColorValue color;
    };

    ColorValue FontColor() const override { return fontColor; }
    void SetFontColor(ColorValue color) override { fontColor = color; }
    ColorValue BrushColor() const override { return brush; }
    void SetBrushColor(ColorValue color) override { brush = color; }
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        fills.push_back({left, top, right, bottom, brush});
    }
    void FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorValue color) override {
        frames.push_back({left, top, right, bottom, color});
    }

    ColorValue fontColor = 0x123456;
    ColorValue brush = 0xABCDEF;
    std::vector<Fill> fills;
    std::vector<Frame> frames;
};

} // namespace convtest
