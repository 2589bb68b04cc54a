#include "cells/PopupOpener.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "platform/Fatal.h"
#include "tests/support/RecordingPopupOpener.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

namespace {

// Host objects are opaque to the cell engine; any distinct address stands for one.
template <typename T> T* Fake(uintptr_t n) {
    return reinterpret_cast<T*>(n * 16);
}

// A request with a value no fresh request has in a field of each kind: host
// pointers, numbers, texts, flags, closures, and the context bank.
struct Filled {
    cmcCellCapsule other;
    cmcCellObj cell;
    std::vector<int32_t> notified, reedited;

    cmcCellCapsule Make(int32_t bank) {
        cmcCellCapsule r;
        r.bank = bank;
        r.linkedRequest = &other;
        r.grid = Fake<cuiGrid>(1);
        r.cell = &cell;
        r.key = 13;
        r.command = 88;
        r.jumpCell = 127;
        r.editText = "typed";
        r.displayText = "shown";
        r.markFlags = {true, false, true, false};
        r.rangeSelected = true;
        r.notifyClosure = [this](cmcCellCapsule&, int32_t flags) { notified.push_back(flags); };
        r.reeditClosure = [this](cmcCellCapsule&, int32_t flags) { reedited.push_back(flags); };
        return r;
    }
};

// The request's fields as Filled sets them, with the bank.
void ExpectFilled(const Filled& f, const cmcCellCapsule& r, int32_t bank) {
    EXPECT_EQ(r.bank, bank);
    EXPECT_EQ(r.linkedRequest, &f.other);
    EXPECT_EQ(r.grid, Fake<cuiGrid>(1));
    EXPECT_EQ(r.cell, &f.cell);
    EXPECT_EQ(r.key, 13);
    EXPECT_EQ(r.command, 88);
    EXPECT_EQ(r.jumpCell, 127);
    EXPECT_EQ(r.editText, "typed");
    EXPECT_EQ(r.displayText, "shown");
    EXPECT_EQ(r.markFlags, (cmcCellCapsule::MarkFlags{true, false, true, false}));
    EXPECT_TRUE(r.rangeSelected);
    EXPECT_TRUE(r.notifyClosure);
    EXPECT_TRUE(r.reeditClosure);
}

void ExpectEmpty(const cmcCellCapsule& r) {
    EXPECT_EQ(r.linkedRequest, nullptr);
    EXPECT_EQ(r.grid, nullptr);
    EXPECT_EQ(r.editGrid, nullptr);
    EXPECT_EQ(r.cell, nullptr);
    EXPECT_EQ(r.canvas, nullptr);
    EXPECT_EQ(r.texts, nullptr);
    EXPECT_EQ(r.cellRect, nullptr);
    EXPECT_EQ(r.selStart, 0);
    EXPECT_EQ(r.selLength, 0);
    EXPECT_EQ(r.key, 0);
    EXPECT_EQ(r.command, 0);
    EXPECT_EQ(r.editText, "");
    EXPECT_EQ(r.displayText, "");
    EXPECT_EQ(r.markFlags, cmcCellCapsule::MarkFlags{});
    EXPECT_EQ(r.markPosition, 0);
    EXPECT_EQ(r.hint, 0);
    EXPECT_EQ(r.mode, 0);
    EXPECT_EQ(r.jumpRequest, 0);
    EXPECT_EQ(r.jumpCategory, 0);
    EXPECT_EQ(r.jumpCell, 0);
    EXPECT_EQ(r.jumpIndex, 0);
    EXPECT_EQ(r.jumpKey, 0);
    EXPECT_EQ(r.extra, 0);
    EXPECT_EQ(r.owner, nullptr);
    EXPECT_FALSE(r.rangeSelected);
    EXPECT_FALSE(r.rangeRequest);
    EXPECT_EQ(r.rangeFirst, 0);
    EXPECT_EQ(r.rangeLast, 0);
    EXPECT_FALSE(r.notifyClosure);
    EXPECT_FALSE(r.reeditClosure);
}

TEST(cmcCellCapsule, NewRequestIsEmptyWithBankZero) {
    // Memory full of garbage first, so a field without its starting value would show.
    alignas(cmcCellCapsule) unsigned char raw[sizeof(cmcCellCapsule)];
    std::fill(std::begin(raw), std::end(raw), 0xA5);
    cmcCellCapsule* r = new (raw) cmcCellCapsule;
    ExpectEmpty(*r);
    EXPECT_EQ(r->bank, 0);
    r->~cmcCellCapsule();
}

TEST(cmcCellCapsule, ACopyIsTheWholeRequestBankAndAll) {
    Filled f;
    const cmcCellCapsule source = f.Make(77);
    const cmcCellCapsule copy(source);
    ExpectFilled(f, copy, 77);
}

// Refilling a request from another, or emptying it, keeps the receiver's bank.
TEST(cmcCellCapsule, AssignmentAndClearKeepTheReceiversBank) {
    Filled f;
    cmcCellCapsule assigned;
    assigned.bank = 3;
    assigned = f.Make(77);
    ExpectFilled(f, assigned, 3);

    cmcCellCapsule cleared = f.Make(77);
    cleared.Clear();
    ExpectEmpty(cleared);
    EXPECT_EQ(cleared.bank, 77);

    cmcCellCapsule self = f.Make(5);
    const cmcCellCapsule& alias = self;
    self = alias;
    ExpectFilled(f, self, 5);
}

TEST(cmcCellCapsule, CopiesCallTheSameHostAndOwnTheirTexts) {
    Filled f;
    cmcCellCapsule source = f.Make(1);
    cmcCellCapsule constructed(source);
    cmcCellCapsule assigned;
    assigned = source;
    for (cmcCellCapsule* copy : {&constructed, &assigned}) {
        copy->notifyClosure(*copy, 0x20);
        copy->reeditClosure(*copy, 0);
    }
    EXPECT_EQ(f.notified, (std::vector<int32_t>{0x20, 0x20}));
    EXPECT_EQ(f.reedited, (std::vector<int32_t>{0, 0}));

    source.editText = "changed";
    source.displayText.clear();
    for (const cmcCellCapsule* copy : {&constructed, &assigned}) {
        EXPECT_EQ(copy->editText, "typed");
        EXPECT_EQ(copy->displayText, "shown");
    }
}

TEST(cmcCellCapsule, MouseChoiceCountsAsEnter) {
    cmcCellCapsule r;
    for (auto [key, enter] : {std::pair{13, true}, {256, true}, {0, false}, {32, false}, {'1', false}}) {
        r.key = key;
        EXPECT_EQ(r.IsEnter(), enter) << key;
    }
}

TEST(PopupOpener, WithoutAHostOpeningIsFatal) {
    cmcCellCapsule r;
    try {
        Popups().OpenList(r, 1, 0, nullptr, "GI_Sheet_Sel_OnOff");
        FAIL() << "no fatal error";
    } catch (const plat::FatalError& e) {
        EXPECT_STREQ(e.what(), "No pop-up host for the list GI_Sheet_Sel_OnOff");
    }
}

TEST(PopupOpener, RecordingDoubleKeepsEachCallWithItsRequest) {
    RecordingPopupOpener rec;
    ScopedPopupOpener scope(&rec);
    cmcCellObj cell;
    cmcCellCapsule r;
    r.cell = &cell;
    r.bank = 4;
    r.key = 13;

    Popups().OpenList(r, 2, 7, Fake<cmcGTex>(1), "GI_Sheet_Sel_Pwr");
    r.key = 0;
    Popups().OpenChannelList(r, 10, nullptr, "GI_Sheet_Sel_ScanCHSel", "Bank 1");
    Popups().OpenBitsEditor(r, nullptr, 0x55, 1, 8, 3, 1, "GI_Sheet_Sel_Bits");
    Popups().OpenTextEditor(r, nullptr, "ABC", true, 12);
    Popups().OpenCharEditor(r, 14, 5, 7, std::vector<uint8_t>(35, 1));

    using K = RecordingPopupOpener::Kind;
    const auto& log = rec.Log();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].kind, K::List);
    EXPECT_EQ(log[0].request.cell, &cell);
    EXPECT_EQ(log[0].request.key, 13); // copied at the call, not a reference to the live request
    EXPECT_EQ(log[0].request.bank, 4);
    EXPECT_EQ(log[0].listCellId, 2);
    EXPECT_EQ(log[0].currentValue, 7);
    EXPECT_EQ(log[0].texts, Fake<cmcGTex>(1));
    EXPECT_EQ(log[0].key, "GI_Sheet_Sel_Pwr");
    EXPECT_EQ(log[1].kind, K::ChannelList);
    EXPECT_EQ(log[1].listCellId, 10);
    EXPECT_EQ(log[1].text, "Bank 1");
    EXPECT_EQ(log[2].kind, K::BitsEditor);
    EXPECT_EQ(log[2].value, 0x55);
    EXPECT_EQ(log[2].firstDigit, 1);
    EXPECT_EQ(log[2].lastDigit, 8);
    EXPECT_EQ(log[2].style, 3);
    EXPECT_EQ(log[2].markStyle, 1);
    EXPECT_EQ(log[3].kind, K::TextEditor);
    EXPECT_EQ(log[3].bytes, "ABC");
    EXPECT_TRUE(log[3].openedByEnter);
    EXPECT_EQ(log[3].maxLength, 12);
    EXPECT_EQ(log[4].kind, K::CharEditor);
    EXPECT_EQ(log[4].dotSize, 14);
    EXPECT_EQ(log[4].width, 5);
    EXPECT_EQ(log[4].height, 7);
    EXPECT_EQ(log[4].dots.size(), 35u);
}

} // namespace
