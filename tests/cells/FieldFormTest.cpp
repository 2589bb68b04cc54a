// The table form of the cells over an image field, with rows of the kinds the
// later cells need: a field per table entry, a 32-bit field under a 16-bit
// converter, a signed byte; rows found by name in another program's engine.
#include "cells/FieldForm.h"
#include "CellHarness.h"
#include "CellTestSupport.h"
#include "cells/CellEngine.h"
#include "cells/CellFrame.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

namespace {

using celltest::CellHarness;

// The cell whose case the tests stand in for: an id without a field of its own.
constexpr const char* kStandInCell = "CL_Comm_EmerIn";

const form::Row* gRow = nullptr;

void RunTestRow(CellFrame& f) {
    form::RunRow(f, *gRow);
}

// Runs one row as the case of the stand-in cell for the lifetime of the scope.
class RowUnderTest {
public:
    explicit RowUnderTest(const form::Row& row) : standIn_(kStandInCell, RunTestRow) { gRow = &row; }
    ~RowUnderTest() { gRow = nullptr; }

    CellAddress At(int32_t index) const {
        return {0, CloningCellVocabulary().CellIndex(kStandInCell), index};
    }

private:
    ScopedCellCase standIn_;
};

// A table of three entries of four bytes at 140000, each with a counter in
// its byte 1; the next table starts at 140012.
constexpr int32_t kTable = 140000;
constexpr int32_t kNextTable = kTable + 12;

TEST(FieldFormTest, AFieldPerEntryActsOnlyForAnIndexInsideItsTable) {
    CellHarness h;
    const form::Row row{"", form::PerEntry(form::Byte(kTable + 1), 4, 3), form::Int16(0, 255)};
    RowUnderTest use(row);
    for (int32_t i = 0; i < 16; ++i)
        h.Image().SetByte(kTable + i, static_cast<uint8_t>(0xA0 + i));

    EXPECT_EQ(h.Display(use.At(0)).text, "161");
    EXPECT_EQ(h.Display(use.At(2)).text, "169");
    h.Commit(use.At(2), "7");
    EXPECT_EQ(h.Image().GetByte(kTable + 9), 7);
    EXPECT_EQ(h.Image().GetByte(kTable + 8), 0xA8);
    EXPECT_EQ(h.Image().GetByte(kTable + 10), 0xAA);

    for (int32_t index : {3, 4, -1}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(h.Display(use.At(index)).text, "");
        h.Commit(use.At(index), "7");
        h.Key(use.At(index), ' ');
        for (int32_t i = 0; i < 16; ++i)
            if (i != 9) {
                EXPECT_EQ(h.Image().GetByte(kTable + i), 0xA0 + i) << "byte " << i;
            }
    }
    EXPECT_EQ(h.Image().GetByte(kNextTable + 1), 0xAD);
}

// Two blocks of three one-byte slots, the blocks six bytes apart: index
// s * 3 + k is slot k of block s; the bytes between the blocks are no slot's.
TEST(FieldFormTest, AFieldPerSlotFindsItsBlockAndSlot) {
    CellHarness h;
    const form::Row row{"", form::PerSlot(form::Byte(kTable), 1, 3, 6, 2), form::Int16(0, 255)};
    RowUnderTest use(row);
    for (int32_t i = 0; i < 16; ++i)
        h.Image().SetByte(kTable + i, static_cast<uint8_t>(0xA0 + i));

    EXPECT_EQ(h.Display(use.At(2)).text, "162");
    EXPECT_EQ(h.Display(use.At(3)).text, "166");
    EXPECT_EQ(h.Display(use.At(5)).text, "168");
    h.Commit(use.At(4), "7");
    for (int32_t index : {6, -1}) {
        EXPECT_EQ(h.Display(use.At(index)).text, "") << index;
        h.Commit(use.At(index), "9");
    }
    for (int32_t i = 0; i < 16; ++i)
        EXPECT_EQ(h.Image().GetByte(kTable + i), i == 7 ? 7 : 0xA0 + i) << "byte " << i;
}

TEST(FieldFormTest, ASplitFieldPerEntryMovesAllItsPieces) {
    CellHarness h;
    // Value bit 1 in byte 0 bit 7 of the entry, bit 0 in byte 3 bit 0.
    const form::Row row{
        "", form::PerEntry(form::Split(form::Piece{1, kTable, 7}, form::Piece{0, kTable + 3, 0}), 4, 3),
        form::Int16(0, 3)};
    RowUnderTest use(row);
    h.Commit(use.At(1), "3");
    EXPECT_EQ(h.Image().GetByte(kTable + 4), 0x80);
    EXPECT_EQ(h.Image().GetByte(kTable + 7), 0x01);
    EXPECT_EQ(h.Image().GetByte(kTable), 0x00);
    EXPECT_EQ(h.Image().GetByte(kTable + 3), 0x00);
    EXPECT_EQ(h.Display(use.At(1)).text, "3");
    EXPECT_EQ(h.Display(use.At(0)).text, "0");
}

// A 16-bit converter sees a wider value held to 65535, never its low 16 bits
// (0x2345 would show 9029); only an edit writes, and then the whole field.
TEST(FieldFormTest, AThirtyTwoBitFieldUnderASixteenBitConverterIsNeverCut) {
    CellHarness h;
    for (const form::Conv& conv : {form::Int16(0, 65535), form::Int16(1, form::kUnitIdMax)}) {
        const form::Row row{"", form::Long(kTable), conv};
        RowUnderTest use(row);
        for (int32_t i = 0; i < 4; ++i)
            h.Image().SetByte(kTable + i, std::array<uint8_t, 4>{0x00, 0x01, 0x23, 0x45}[size_t(i)]);
        EXPECT_EQ(h.Display(use.At(0)).text, "65535");
        h.Key(use.At(0), 13);
        EXPECT_EQ(h.Image().GetByte(kTable + 1), 0x01);
        EXPECT_EQ(h.Image().GetByte(kTable + 3), 0x45);

        h.Commit(use.At(0), "300");
        EXPECT_EQ(h.Image().GetByte(kTable), 0x00);
        EXPECT_EQ(h.Image().GetByte(kTable + 1), 0x00);
        EXPECT_EQ(h.Image().GetByte(kTable + 2), 0x01);
        EXPECT_EQ(h.Image().GetByte(kTable + 3), 0x2C);
    }
}

TEST(FieldFormTest, ASignedByteShowsAndStoresItsSign) {
    CellHarness h;
    const form::Row row{"", form::SignedByte(kTable), form::Int16Signed(-120, -80)};
    RowUnderTest use(row);
    h.Image().SetByte(kTable, 0x9C);
    EXPECT_EQ(h.Display(use.At(0)).text, "-100");
    h.Commit(use.At(0), "-90");
    EXPECT_EQ(h.Image().GetByte(kTable), 0xA6);
    h.Commit(use.At(0), "-200");
    EXPECT_EQ(h.Image().GetByte(kTable), 0x88);
}

// Each converter takes its parameters in the order of its own declaration.
TEST(FieldFormTest, EachConverterTakesItsParametersInTheirOrder) {
    struct Case {
        const char* name;
        form::Field field;
        form::Conv conv;
        std::string typed;
        std::array<uint8_t, 4> bytes; // from kTable on
        std::string shown;
    };
    const Case cases[] = {
        {"PaddedNumber", form::Word(kTable), form::Number(4, 0, 9999, true), "42", {0x00, 0x2A}, "0042"},
        {"PlainNumber", form::Word(kTable), form::Number(4, 0, 9999, false), "42", {0x00, 0x2A}, "42"},
        {"HexValueHeldToItsMaximum",
         form::Word(kTable),
         form::HexValue(0, 0x7FF, 3),
         "abc",
         {0x07, 0xFF},
         "7FF"},
        {"HexNibblesWithLetters",
         form::Long(kTable),
         form::HexNibbles(6, true),
         "12ab34",
         {0x00, 0x12, 0xAB, 0x34},
         "12AB34"},
        {"HexNibblesWithoutLetters",
         form::Long(kTable),
         form::HexNibbles(6, false),
         "12ab34",
         {0x00, 0x00, 0x12, 0x34},
         "001234"},
        {"RangeTwentiethsTrimmed", form::Byte(kTable), form::Range(20, 0, 100, 0, 2), "2.5", {50}, "  2.5"},
        {"RangeHeldToItsMaximum", form::Byte(kTable), form::Range(20, 0, 100, 0, 0), "9", {100}, "  5.000"},
        {"ByteNumberHeld", form::Byte(kTable), form::ByteInt(1, 15), "99", {15}, "15"},
    };
    CellHarness h;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const form::Row row{"", c.field, c.conv};
        RowUnderTest use(row);
        for (int32_t i = 0; i < 4; ++i)
            h.Image().SetByte(kTable + i, 0);
        EXPECT_EQ(h.Commit(use.At(0), c.typed).text, c.shown);
        for (int32_t i = 0; i < 4; ++i)
            EXPECT_EQ(h.Image().GetByte(kTable + i), c.bytes[size_t(i)]) << "byte " << i;
    }
}

TEST(FieldFormTest, ANameTwiceInATableIsFatal) {
    const form::Row rows[] = {
        {"CL_Comm_Wide", form::Bit(kTable, 0), form::Int16(0, 1)},
        {"CL_Comm_Wide", form::Bit(kTable, 1), form::Int16(0, 1)},
    };
    EXPECT_EQ(celltest::FatalText([&] { form::ByName<form::Row> table(rows); }),
              "Overlapped cell row. (CL_Comm_Wide)");
}

// Another program numbers the same settings otherwise and takes their cases
// by name: each finds its own field. (Its list items keep the id the
// converters know.)
struct OtherProgram {
    static constexpr int32_t kGroupCode = 2;
    static constexpr int32_t kBeepLevel = 3;
    static constexpr int32_t kPowerSwitch = 4;
    static constexpr int32_t kUserMicGain = 5;

    static constexpr CellVocabulary::Category kCategories[] = {{"CT_Null", 0}};
    static constexpr const char* kCells[] = {"CL_Null",         "Flex0",          "CL_Comm_Scrm_GroupCode",
                                             "CL_SetM_BeepLev", "CL_KDisp_PwrSW", "CL_USetM_MicGain"};

    CellVocabulary vocabulary{kCategories, kCells};
    CellEngine engine{vocabulary, CellFrameNumbers{}, [](CellCaseTable& table) {
                          static constexpr std::string_view kShared[] = {"CL_Comm_Scrm_GroupCode",
                                                                         "CL_SetM_BeepLev", "CL_KDisp_PwrSW",
                                                                         "CL_USetM_MicGain"};
                          table.Take(CloningCellCases(), kShared);
                      }};
};

TEST(FieldFormTest, RowsServeAnotherProgramByName) {
    CellHarness h;
    OtherProgram other;
    ScopedCellEngine use(other.engine);
    constexpr int32_t kFlex0 = 1;

    h.Pick({0, OtherProgram::kGroupCode, 0}, kFlex0, 2);
    EXPECT_EQ(h.Image().GetByte(93782), 0x02);
    h.Image().SetByte(82226, 0xC5);
    EXPECT_EQ(h.Display({0, OtherProgram::kBeepLevel, 0}).text, "Link 5");
    h.Pick({0, OtherProgram::kPowerSwitch, 0}, kFlex0, 3);
    EXPECT_EQ(h.Image().GetByte(93900), 0x80);
    EXPECT_EQ(h.Image().GetByte(93824), 0x10);
    h.Pick({0, OtherProgram::kUserMicGain, 0}, kFlex0, 1);
    EXPECT_EQ(h.Image().GetByte(93792), 0x01);
}

} // namespace
