#pragma once
// The cell harness on a model's start-up data, for the cells of fixed image
// fields (general, expansion, key, display and set-mode settings) and of row
// records (signalling codes, tone memories, scan lists), and what a test looks
// at after a call: text, grey, warning mark, result code and flags. Each case
// starts from the start-up data again and sets only the bytes it needs.
#include "CellHarness.h"
#include "image/ImagePacking.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace settingstest {

constexpr int32_t kFlex0 = 1;
constexpr int32_t kFlexKeyOpt = 6;
constexpr ColorValue kGrey = 0xC0C0C0;
constexpr int32_t kRebuildAll = 0x20;

// One model of each class, handheld and mobile among them.
constexpr int32_t kLmrHandheld = 0;
constexpr int32_t kLtrMobile = 6;
constexpr int32_t kP25Handheld = 2;
constexpr int32_t kPmrMobile = 8;
constexpr int32_t kPmrZHandheld = 4;
constexpr int32_t kEachClass[] = {kLmrHandheld, kLtrMobile, kP25Handheld, kPmrMobile, kPmrZHandheld};

// Image bytes by address.
using Bytes = std::vector<std::pair<int32_t, uint8_t>>;

// "93776=12 93777=34": bytes as a test failure shows them best.
inline std::string Hex(const Bytes& bytes) {
    std::string text;
    char one[24];
    for (auto [address, value] : bytes) {
        std::snprintf(one, sizeof one, "%s%d=%02X", text.empty() ? "" : " ", address, value);
        text += one;
    }
    return text;
}

// What a case does to its cell (Key: the case's value is the key).
enum class Act { Display, Commit, Pick, Space, Back, Enter, Key };

struct Outcome {
    int32_t result = 0;
    int32_t flags = -1; // of the notification; -1 when it was not called
    std::string text;
    ColorValue ink = 0; // the colour of the cell's text
    bool grey = false;
    bool warning = false;
    bool error = false;
    cmcCellObj cell; // the cell object after the call: alignment, menu state

    bool Rebuilds() const { return flags >= 0 && (flags & kRebuildAll) != 0; }
};

class SettingsCellFixture {
public:
    explicit SettingsCellFixture(int32_t model) : h_(model) {
        h_.LoadStartupData(model);
        startup_ = Image();
        EXPECT_EQ(Static2DynamicInit(startup_), 0);
        Reset();
    }

    // The start-up data again, with the bytes given.
    void Reset(const Bytes& bytes = {}) {
        Image() = startup_;
        for (auto [address, value] : bytes)
            Image().SetByte(address, value);
        h_.popups.ClearLog();
    }

    cmcEeprom& Image() { return h_.Image(); }
    uint8_t Byte(int32_t address) { return Image().GetByte(address); }
    // The bytes at the addresses of `wanted`, as the image holds them.
    Bytes Read(const Bytes& wanted) {
        Bytes got;
        for (auto [address, value] : wanted)
            got.emplace_back(address, Byte(address));
        return got;
    }
    RecordingPopupOpener& Popups() { return h_.popups; }
    void SetMakerMode(bool on) { h_.app.SetMakerMode(on); }

    // A cell of category 0 and index 0, or any cell.
    Outcome Display(int32_t cell) { return Display(At(cell)); }
    Outcome Display(CellAddress at) { return Look(h_.Display(at)); }
    Outcome Key(int32_t cell, int32_t key) { return Key(At(cell), key); }
    Outcome Key(CellAddress at, int32_t key) { return Look(h_.Key(at, key)); }
    Outcome Commit(int32_t cell, const std::string& text) { return Commit(At(cell), text); }
    Outcome Commit(CellAddress at, const std::string& text) { return Look(h_.Commit(at, text)); }
    // The choice of a value from the cell's pop-up list.
    Outcome Pick(int32_t cell, int32_t value, int32_t listCell = kFlex0) {
        return Pick(At(cell), value, listCell);
    }
    Outcome Pick(CellAddress at, int32_t value, int32_t listCell = kFlex0) {
        return Look(h_.Pick(at, listCell, value));
    }

    // A text for Commit, a value for Pick.
    Outcome Do(int32_t cell, Act act, const std::string& typed = {}, int32_t value = 0) {
        return Do(At(cell), act, typed, value);
    }
    Outcome Do(CellAddress cell, Act act, const std::string& typed = {}, int32_t value = 0) {
        switch (act) {
        case Act::Display:
            return Display(cell);
        case Act::Commit:
            return Commit(cell, typed);
        case Act::Pick:
            return Pick(cell, value);
        case Act::Space:
            return Key(cell, ' ');
        case Act::Back:
            return Key(cell, 8);
        case Act::Enter:
            return Key(cell, 13);
        case Act::Key:
            return Key(cell, value);
        }
        return {};
    }

private:
    static CellAddress At(int32_t cell) { return {0, cell, 0}; }

    Outcome Look(const celltest::Outcome& o) {
        Outcome out;
        out.result = o.result;
        out.flags = o.flags;
        out.text = o.text;
        out.ink = h_.canvas->fontColor;
        out.grey = out.ink == kGrey;
        out.warning = o.request.markFlags.warning;
        out.error = o.request.markFlags.error;
        out.cell = o.cell;
        return out;
    }

    celltest::CellHarness h_;
    cmcEeprom startup_;
};

// The cell a case works on: a cell id alone (category 0, index 0), or the
// category, cell id and index of a cell of a row record.
struct CaseCell {
    CaseCell(int32_t cell) : at{0, cell, 0} {}
    CaseCell(int32_t category, int32_t cell, int32_t index) : at{category, cell, index} {}
    CaseCell(CellAddress address) : at(address) {}
    CellAddress at;
};

// A case of a table: the bytes it sets, what it does to its cell, the text
// that leaves and the bytes after it.
struct Case {
    const char* name;
    CaseCell cell;
    Bytes before;
    Act act;
    std::string typed;
    int32_t value;
    std::string shown;
    Bytes after;
};

inline void RunCases(SettingsCellFixture& h, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        h.Reset(c.before);
        const Outcome out = h.Do(c.cell.at, c.act, c.typed, c.value);
        EXPECT_EQ(out.text, c.shown);
        EXPECT_EQ(Hex(h.Read(c.after)), Hex(c.after));
    }
}

} // namespace settingstest
