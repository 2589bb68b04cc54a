#pragma once
#include "cells/FieldForm.h"
#include "image/datCh.h"

#include <cstdint>
#include <variant>

struct CellFrame;

// The table form of the cells that show and edit a field of a row record (a
// two-tone or five-tone code, a DTMF memory, a tone memory, a user tone, a
// scan list): a row names the cell, the record kinds it works on, the field
// and its converter, and when the cell does not apply and shows dashes
// instead. A change is written into the record, which is stored and read
// again. Rows are registered as the table form's are:
//
//     constexpr recform::Row kRows[] = {
//         recform::Field("CL_2T_Bell", kTwoTone, &datCh::ttBell, form::Sel(kRxBell)),
//     };
//     form::RegisterRows<kRows>(list);
namespace recform {

// The record kinds of these cells.
constexpr int32_t kDtmf = 7;
constexpr int32_t kScanList = 8;
constexpr int32_t kTonePair = 9;
constexpr int32_t kFiveToneRx = 10;
constexpr int32_t kFiveToneTx = 11;
constexpr int32_t kUserTone = 12;
constexpr int32_t kTwoTone = 13;
constexpr int32_t kDtmfRx = 25;

// The kind a cell works on, and another kind whose records hold the same
// field: a sheet whose category loads that other kind keeps it.
struct Kinds {
    int32_t own = 0;
    int32_t other = 0;
};

using Flag = bool datCh::*;
using Small = uint8_t datCh::*;
using Number = int32_t datCh::*;
// Truncated to an integer for the converter; stored back as that integer.
using Real = double datCh::*;
using Text12 = datCh::Text12 datCh::*;
using Text24 = datCh::Text24 datCh::*;
// monostate: the converter works on the record itself.
using Member = std::variant<std::monostate, Flag, Small, Number, Real, Text12, Text24>;

// A converter of the cell's own on the field's value; 1 when it changed.
using ValueConvert = int (*)(CellFrame& frame, int32_t& value);
// A converter on the frame's row itself; 1 when it changed the row.
using RecordConvert = int (*)(CellFrame& frame);
// Whether the cell applies to the row as loaded.
using Applies = bool (*)(const CellFrame& frame);

constexpr const char* kDashes = "----";

struct Row {
    const char* name;
    Kinds kinds;
    Member field{};
    form::Conv conv{};
    ValueConvert value = nullptr;
    RecordConvert record = nullptr;
    // A kind whose codes begin at 1 has a heading row 0: these cells show
    // dashes there (the row has no such field, or it means nothing there).
    bool dashedOnHeading = false;
    Applies applies = nullptr;
    const char* dashes = kDashes;
};

enum class Heading : uint8_t { Edited, Dashed };

// A field through one of the table form's converters (EditText for a text).
constexpr Row Field(const char* name, Kinds kinds, Member field, form::Conv conv,
                    Heading heading = Heading::Edited) {
    return {.name = name,
            .kinds = kinds,
            .field = field,
            .conv = conv,
            .dashedOnHeading = heading == Heading::Dashed};
}
// The record through a converter of the cell's own.
constexpr Row Whole(const char* name, Kinds kinds, RecordConvert convert, Heading heading = Heading::Edited) {
    return {.name = name, .kinds = kinds, .record = convert, .dashedOnHeading = heading == Heading::Dashed};
}
// The row with dashes wherever applies does not hold.
constexpr Row Only(Row row, Applies applies, const char* dashes = kDashes) {
    row.applies = applies;
    row.dashes = dashes;
    return row;
}

// The frame's row as one of the kinds: the one its category loaded, or the
// cell's own kind loaded for the cell's index. False when the index lies
// outside the kind's rows.
bool TakeRow(CellFrame& frame, Kinds kinds);
// The text of a cell that does not apply, in grey; nothing is converted.
void Dash(CellFrame& frame, const char* dashes = kDashes);
// The heading row of the frame's row kind: true for row 0 of a kind whose
// codes begin at 1.
bool IsHeading(const CellFrame& frame);

// Takes the row, shows nothing outside the kind's rows and dashes where the
// row says so; otherwise converts the field and stores a change. Returns 1
// when the record changed.
int RunRow(CellFrame& frame, const Row& row);

} // namespace recform
