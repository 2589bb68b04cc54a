#pragma once
#include "cells/CellCases.h"
#include "cells/CellFields.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

class cmcEeprom;

// The table form of the cells that show and edit one field of the working
// image: a row names the cell, its field, its converter with the converter's
// parameters, and the rules that many such cells add (grey while another bit
// says so; every view rebuilt after a change or after any request; the row
// record of the sheet stored after a change).
// RunRow runs any row, RegisterRows makes a table's rows the cases of their
// cells; a cell that does more stays a small function of its own and takes
// the pieces it shares from here (Index, Get, Set, RunConv, Finish).
//
//     const form::Row kRows[] = {
//         {"CL_Comm_Scrm_Type", form::Bit(93782, 3), form::Sel(kScrmType), {}, form::Rebuild::OnChange},
//         {"CL_Comm_Scrm_GroupCode", form::Bits(93782, 1, 0), form::Sel(kGroupCode),
//          form::GreyWhileSet(93782, 3)},
//     };
//
// Rows are found by the cell's NAME in the engine that runs them, so another
// program takes them by name whatever its ids.
namespace form {

// ---- fields ----

enum class FieldKind : uint8_t {
    None,
    Bits,       // bits of one byte, read as an unsigned number
    SignedByte, // a byte read as -128..127
    Word,       // big-endian 16 bits
    Long,       // big-endian 32 bits
    Split,      // single bits scattered over bytes, assembled into one number
    Bytes,      // a run of bytes, for the text converters
};

// Bit valueBit of a split field's value lives in bit `bit` (7 the most
// significant) of the byte at address.
struct Piece {
    int32_t valueBit = 0;
    int32_t address = 0;
    int32_t bit = 0;
};

struct Field {
    FieldKind kind = FieldKind::None;
    int32_t address = 0;
    int32_t lowBit = 0; // Bits: the lowest bit (bit 0 the least significant)
    int32_t width = 8;  // Bits: 1..8 bits; Bytes: the number of bytes
    std::array<Piece, 4> pieces{};
    int32_t pieceCount = 0;
    // A field per entry of a table: entry n's field lies stride * n bytes
    // after entry 0's, for the cell indexes 0..count - 1. stride 0: one field.
    int32_t stride = 0;
    int32_t count = 0;
    // A table of blocks of `slots` entries each (slots 0: no blocks): entry
    // n is slot n % slots of block n / slots, blockStride bytes a block.
    int32_t slots = 0;
    int32_t blockStride = 0;
};

// Bits high..low of the byte, as the tables write them ("bits 5-4").
constexpr Field Bits(int32_t address, int32_t high, int32_t low) {
    return {.kind = FieldKind::Bits, .address = address, .lowBit = low, .width = high - low + 1};
}
constexpr Field Bit(int32_t address, int32_t bit) {
    return Bits(address, bit, bit);
}
constexpr Field Byte(int32_t address) {
    return Bits(address, 7, 0);
}
constexpr Field SignedByte(int32_t address) {
    return {.kind = FieldKind::SignedByte, .address = address};
}
constexpr Field Word(int32_t address) {
    return {.kind = FieldKind::Word, .address = address};
}
constexpr Field Long(int32_t address) {
    return {.kind = FieldKind::Long, .address = address};
}
constexpr Field Bytes(int32_t address, int32_t length) {
    return {.kind = FieldKind::Bytes, .address = address, .width = length};
}
// Pieces from the value's high bit down, as the tables write them.
template <class... P> constexpr Field Split(P... pieces) {
    static_assert(sizeof...(P) >= 1 && sizeof...(P) <= 4, "a split field has one to four pieces");
    Field f{.kind = FieldKind::Split};
    for (const Piece& p : {pieces...})
        f.pieces[static_cast<size_t>(f.pieceCount++)] = p;
    return f;
}
// The field of entry 0 repeated for count entries, stride bytes apart.
constexpr Field PerEntry(Field f, int32_t stride, int32_t count) {
    f.stride = stride;
    f.count = count;
    return f;
}

// The field of slot 0 of block 0 repeated for slots entries a block, stride
// bytes apart, in blocks blocks blockStride bytes apart; the cell index n
// names slot n % slots of block n / slots.
constexpr Field PerSlot(Field f, int32_t stride, int32_t slots, int32_t blockStride, int32_t blocks) {
    f.stride = stride;
    f.count = slots * blocks;
    f.slots = slots;
    f.blockStride = blockStride;
    return f;
}

// The field's value for the cell index (which matters only for a field per
// entry); none when the index is outside the field's table.
std::optional<int64_t> Get(const cmcEeprom& image, const Field& field, int32_t index);
// Writes the value into the field's own bits and bytes, in the field's width,
// keeping every other bit; nothing for an index outside the table.
void Set(cmcEeprom& image, const Field& field, int32_t index, int64_t value);

// ---- converters ----

enum class ConvKind : uint8_t {
    // ConvSelCell, ConvSelCell4, ConvSelByteCell, ConvSelPtrCell (list).
    Sel,
    Sel4,
    SelByte,
    SelPtr,
    // ConvSelListCell (list, list cell, match mode).
    SelList,
    // ConvSelPairCell (first list, second list).
    SelPair,
    // ConvDigitSetCell (first digit, last digit, style).
    DigitSet,
    // ConvIntCell16, ConvIntCell16Signed, ConvByteCell (minimum, maximum).
    Int16,
    Int16Signed,
    ByteInt,
    // ConvNumberCell (width, minimum, maximum, padded).
    Number,
    // ConvHexValueCell (minimum, maximum, digits).
    HexValue,
    // ConvHexNibblesCell (digits, letters allowed).
    HexNibbles,
    // ConvScaledCell (scale digits, shown digits, minimum, maximum, step,
    // space steps, blank on edit).
    Scaled,
    // ConvRangeCell (units per second, minimum, maximum, off mode, zeros trimmed).
    Range,
    // ConvByteRangeCell (units per second, off mode).
    ByteRange,
    // ConvTimeCell (minimum, maximum, step, in seconds).
    Time,
    // ConvModelKeysCell, ConvDialsCell.
    ModelKeys,
    Dials,
    // ConvTextCell (width) and EditTextCell (width, zero-terminated), on a Bytes field.
    Text,
    EditText,
};

// The maximum of a number converter that is the overlay's unit-id maximum.
constexpr int32_t kUnitIdMax = INT32_MIN;

// A list key that follows the model: chosen at each request.
using ListOf = const char* (*)(const CellFrame& frame);

struct Conv {
    ConvKind kind = ConvKind::Sel;
    const char* list = nullptr;
    const char* list2 = nullptr; // SelPair: the second list
    ListOf listOf = nullptr;     // in place of list
    int32_t a = 0;
    int32_t b = 0;
    int32_t c = 0;
    int32_t d = 0;
    int32_t e = 0;
    double minimum = 0;
    double maximum = 0;
    bool flag1 = false;
    bool flag2 = false;
};

constexpr Conv Sel(const char* list) {
    return {.kind = ConvKind::Sel, .list = list};
}
constexpr Conv Sel(ListOf listOf) {
    return {.kind = ConvKind::Sel, .listOf = listOf};
}
constexpr Conv Sel4(const char* list) {
    return {.kind = ConvKind::Sel4, .list = list};
}
constexpr Conv SelByte(const char* list) {
    return {.kind = ConvKind::SelByte, .list = list};
}
constexpr Conv SelPtr(const char* list) {
    return {.kind = ConvKind::SelPtr, .list = list};
}
constexpr Conv SelList(const char* list, int32_t listCell, int32_t matchMode) {
    return {.kind = ConvKind::SelList, .list = list, .a = listCell, .b = matchMode};
}
constexpr Conv SelPair(const char* first, const char* second) {
    return {.kind = ConvKind::SelPair, .list = first, .list2 = second};
}
constexpr Conv DigitSet(int32_t first, int32_t last, int32_t style) {
    return {.kind = ConvKind::DigitSet, .a = first, .b = last, .c = style};
}
constexpr Conv Int16(int32_t minimum, int32_t maximum) {
    return {.kind = ConvKind::Int16, .a = minimum, .b = maximum};
}
constexpr Conv Int16Signed(int32_t minimum, int32_t maximum) {
    return {.kind = ConvKind::Int16Signed, .a = minimum, .b = maximum};
}
constexpr Conv ByteInt(int32_t minimum, int32_t maximum) {
    return {.kind = ConvKind::ByteInt, .a = minimum, .b = maximum};
}
constexpr Conv Number(int32_t width, int32_t minimum, int32_t maximum, bool padded) {
    return {.kind = ConvKind::Number, .a = width, .b = minimum, .c = maximum, .flag1 = padded};
}
constexpr Conv HexValue(int32_t minimum, int32_t maximum, int32_t digits) {
    return {.kind = ConvKind::HexValue, .a = minimum, .b = maximum, .c = digits};
}
constexpr Conv HexNibbles(int32_t digits, bool letters) {
    return {.kind = ConvKind::HexNibbles, .a = digits, .flag1 = letters};
}
constexpr Conv Scaled(int32_t scaleDigits, int32_t shownDigits, double minimum, double maximum, int32_t step,
                      bool spaceSteps, bool blankOnEdit) {
    return {.kind = ConvKind::Scaled,
            .a = scaleDigits,
            .b = shownDigits,
            .c = step,
            .minimum = minimum,
            .maximum = maximum,
            .flag1 = spaceSteps,
            .flag2 = blankOnEdit};
}
constexpr Conv Range(int32_t unitsPerSecond, int32_t minimum, int32_t maximum, int32_t offMode,
                     int32_t trimZeros) {
    return {.kind = ConvKind::Range,
            .a = unitsPerSecond,
            .b = minimum,
            .c = maximum,
            .d = offMode,
            .e = trimZeros};
}
// offMode 1: a value of 0 shows the timer-off text.
constexpr Conv ByteRange(int32_t unitsPerSecond, int32_t offMode) {
    return {.kind = ConvKind::ByteRange, .a = unitsPerSecond, .b = offMode};
}
constexpr Conv Time(int32_t minimumSeconds, int32_t maximumSeconds, int32_t stepSeconds) {
    return {.kind = ConvKind::Time, .a = minimumSeconds, .b = maximumSeconds, .c = stepSeconds};
}
constexpr Conv ModelKeys() {
    return {.kind = ConvKind::ModelKeys};
}
constexpr Conv Dials() {
    return {.kind = ConvKind::Dials};
}
constexpr Conv Text(int32_t width) {
    return {.kind = ConvKind::Text, .a = width};
}
constexpr Conv EditText(int32_t width, bool zeroTerminated = false) {
    return {.kind = ConvKind::EditText, .a = width, .flag1 = zeroTerminated};
}

// The list key the converter reads for the frame's request.
const char* ListKey(const CellFrame& frame, const Conv& conv);

// Runs a converter that works on a number over the frame's request, with
// frame.result as its result code; the key converters put their flag 0x20
// into the frame's result flags. A converter of a narrower type is handed the
// value held to that type's range (never cut to its low bits), and a value it
// edits comes back whole. Returns 1 when the value changed. The text
// converters work on bytes: RunRow runs them.
int RunConv(CellFrame& frame, const Conv& conv, int32_t& value);

// ---- rows ----

// Grey while a bit of the image is set (or clear); the value stays editable.
struct Grey {
    int32_t address = -1; // -1: never grey
    int32_t bit = 0;
    bool whileSet = true;
};
constexpr Grey GreyWhileSet(int32_t address, int32_t bit) {
    return {address, bit, true};
}
constexpr Grey GreyWhileClear(int32_t address, int32_t bit) {
    return {address, bit, false};
}

// When the cell has every view rebuilt (result flag 0x20).
enum class Rebuild : uint8_t { Never, OnChange, Always };

struct Row {
    const char* name;
    Field field;
    Conv conv;
    Grey grey{};
    Rebuild rebuild = Rebuild::Never;
    // A fixed field shown on the sheet of a row record: a change also writes
    // back the row the frame loaded for the cell's category.
    bool storesRecord = false;
};

// Shows the row's field through its converter and writes a change back. A
// field per entry shows nothing and writes nothing for an index outside its
// table. Returns 1 when the value changed.
int RunRow(CellFrame& frame, const Row& row);
// The row's grey rule and, unless changedOnly and nothing changed, its flags.
void Finish(CellFrame& frame, const Row& row, int changed);

// A field of the frame's row record through a converter: a change is written
// into the field and the row stored and reloaded (field::RowCell).
template <class F> int RunRowField(CellFrame& frame, F& field, const Conv& conv) {
    return field::RowCell(frame, field, [&](int32_t& v, int32_t&) { return RunConv(frame, conv, v); });
}

// A blank-padded text of the frame's row record through the text cell
// (EditTextCell); a change stores the row. Returns 1 when the text changed.
int RunRowText(CellFrame& frame, std::span<uint8_t> text);

// Entries of a table found by the name of the frame's cell in the engine that
// runs it. T has a member `const char* name`; a name twice is fatal.
template <class T> class ByName {
public:
    explicit ByName(std::span<const T> entries);
    const T* Find(const CellFrame& frame) const;
    // Adds fn as the case of every entry's cell.
    void Register(CellCaseList& list, CellCase fn) const;

private:
    std::span<const T> entries_;
    std::unordered_map<std::string_view, const T*> byName_;
};

// The name of the frame's cell in its engine's vocabulary.
std::string CellNameOf(const CellFrame& frame);
[[noreturn]] void DuplicateName(std::string_view name);

template <class T> ByName<T>::ByName(std::span<const T> entries) : entries_(entries) {
    for (const T& e : entries_)
        if (!byName_.emplace(e.name, &e).second) DuplicateName(e.name);
}

template <class T> const T* ByName<T>::Find(const CellFrame& frame) const {
    const auto it = byName_.find(CellNameOf(frame));
    return it == byName_.end() ? nullptr : it->second;
}

template <class T> void ByName<T>::Register(CellCaseList& list, CellCase fn) const {
    for (const T& e : entries_)
        list.Add(e.name, fn);
}

// One index by name of a constant table (of rows or of other named
// entries), built at its first use.
template <const auto& kEntries> const auto& Index() {
    using Entry = std::remove_cvref_t<decltype(kEntries[0])>;
    static const ByName<Entry> index(kEntries);
    return index;
}

// The case of every row of a table: it runs the row of the frame's cell. A
// table of another form's rows takes the RunRow of its own namespace.
template <const auto& kRows> void RowCase(CellFrame& frame) {
    if (const auto* row = Index<kRows>().Find(frame)) RunRow(frame, *row);
}

// Adds RowCase as the case of every row's cell:
//     form::RegisterRows<kRows>(list);
template <const auto& kRows> void RegisterRows(CellCaseList& list) {
    Index<kRows>().Register(list, RowCase<kRows>);
}

} // namespace form
