#include "cells/FieldForm.h"

#include "cells/CellFields.h"
#include "cells/CellFrame.h"
#include "cells/CodeConv.h"
#include "cells/ListConv.h"
#include "cells/NumberConv.h"
#include "cells/TextCell.h"
#include "cells/TextConv.h"
#include "image/cmcEeprom.h"
#include "platform/Fatal.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace form {
namespace {

// The address of the field's entry for the index; none outside the table.
std::optional<int32_t> EntryOffset(const Field& field, int32_t index) {
    if (field.stride == 0) return 0;
    if (index < 0 || index >= field.count) return std::nullopt;
    if (field.slots > 0)
        return field.blockStride * (index / field.slots) + field.stride * (index % field.slots);
    return field.stride * index;
}

int32_t Held(int32_t value, int32_t lo, int32_t hi) {
    return std::clamp(value, lo, hi);
}

int32_t Maximum(const CellFrame& f, int32_t maximum) {
    return maximum == kUnitIdMax ? f.unitIdMax : maximum;
}

// A converter on a narrower type: the value held to that type's range, and
// its result taken back as it is.
template <class T, class Fn> int Narrow(int32_t& value, Fn&& convert) {
    T narrow = static_cast<T>(Held(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
    const int changed = convert(narrow);
    if (changed) value = narrow;
    return changed;
}

// The 16-bit and byte number converters: the held value goes to the general
// integer cell, whose edited value is whole (a wider field takes it as it is).
int IntCell(CellFrame& f, int32_t& value, int32_t lo, int32_t hi, int32_t minimum, int32_t maximum) {
    int32_t held = Held(value, lo, hi);
    const int changed = ConvIntCell(f.request, held, minimum, maximum, 0, 1, nullptr, false, false, f.result);
    if (changed) value = held;
    return changed;
}

int RunText(CellFrame& f, const Row& row, int32_t offset) {
    const Field& field = row.field;
    std::vector<uint8_t> bytes(static_cast<size_t>(field.width));
    for (int32_t i = 0; i < field.width; ++i)
        bytes[static_cast<size_t>(i)] = f.image.GetByte(field.address + offset + i);
    const int32_t width = std::min(row.conv.a, field.width);
    const int changed = row.conv.kind == ConvKind::Text
                            ? ConvTextCell(f.request, bytes.data(), width, f.result)
                            : EditTextCell(f.request, bytes.data(), width, row.conv.flag1, f.result);
    if (changed)
        for (int32_t i = 0; i < field.width; ++i)
            f.image.SetByte(field.address + offset + i, bytes[static_cast<size_t>(i)]);
    return changed;
}

} // namespace

std::optional<int64_t> Get(const cmcEeprom& image, const Field& field, int32_t index) {
    const std::optional<int32_t> offset = EntryOffset(field, index);
    if (!offset) return std::nullopt;
    const int32_t at = field.address + *offset;
    switch (field.kind) {
    case FieldKind::Bits:
        return field::GetBits(image, at, field.lowBit, field.width);
    case FieldKind::SignedByte:
        return static_cast<int8_t>(image.GetByte(at));
    case FieldKind::Word:
        return field::GetWord(image, at);
    case FieldKind::Long:
        return field::GetLong(image, at);
    case FieldKind::Split: {
        int64_t value = 0;
        for (int32_t i = 0; i < field.pieceCount; ++i) {
            const Piece& p = field.pieces[static_cast<size_t>(i)];
            if (field::GetFlag(image, p.address + *offset, p.bit)) value |= int64_t(1) << p.valueBit;
        }
        return value;
    }
    case FieldKind::Bytes:
    case FieldKind::None:
        break;
    }
    return std::nullopt;
}

void Set(cmcEeprom& image, const Field& field, int32_t index, int64_t value) {
    const std::optional<int32_t> offset = EntryOffset(field, index);
    if (!offset) return;
    const int32_t at = field.address + *offset;
    const auto bits = static_cast<uint32_t>(value);
    switch (field.kind) {
    case FieldKind::Bits:
        field::SetBits(image, at, field.lowBit, field.width, bits);
        break;
    case FieldKind::SignedByte:
        image.SetByte(at, static_cast<uint8_t>(bits));
        break;
    case FieldKind::Word:
        field::SetWord(image, at, static_cast<uint16_t>(bits));
        break;
    case FieldKind::Long:
        field::SetLong(image, at, bits);
        break;
    case FieldKind::Split:
        for (int32_t i = 0; i < field.pieceCount; ++i) {
            const Piece& p = field.pieces[static_cast<size_t>(i)];
            field::SetFlag(image, p.address + *offset, p.bit, (bits >> p.valueBit & 1u) != 0);
        }
        break;
    case FieldKind::Bytes:
    case FieldKind::None:
        break;
    }
}

const char* ListKey(const CellFrame& frame, const Conv& conv) {
    return conv.listOf ? conv.listOf(frame) : conv.list;
}

int RunConv(CellFrame& f, const Conv& c, int32_t& v) {
    cmcCellCapsule& r = f.request;
    int32_t& out = f.result;
    switch (c.kind) {
    case ConvKind::Sel:
        return ConvSelCell(r, ListKey(f, c), v, out);
    case ConvKind::Sel4:
        return ConvSelCell4(r, ListKey(f, c), v, out);
    case ConvKind::SelByte:
        return Narrow<uint8_t>(v, [&](uint8_t& b) { return ConvSelByteCell(r, ListKey(f, c), b, out); });
    case ConvKind::SelPtr:
        return ConvSelPtrCell(r, ListKey(f, c), v, out);
    case ConvKind::SelList:
        return ConvSelListCell(r, ListKey(f, c), c.a, v, c.b, out);
    case ConvKind::SelPair:
        return ConvSelPairCell(r, ListKey(f, c), c.list2, v, out);
    case ConvKind::DigitSet:
        return ConvDigitSetCell(r, v, c.a, c.b, c.c, std::string(), out);
    case ConvKind::Int16:
        return IntCell(f, v, 0, 0xFFFF, c.a, Maximum(f, c.b));
    case ConvKind::Int16Signed:
        return IntCell(f, v, INT16_MIN, INT16_MAX, c.a, Maximum(f, c.b));
    case ConvKind::ByteInt:
        return IntCell(f, v, 0, 0xFF, c.a, Maximum(f, c.b));
    case ConvKind::Number:
        return ConvNumberCell(r, v, c.a, c.b, c.c, !c.flag1, out);
    case ConvKind::HexValue:
        return ConvHexValueCell(r, v, c.a, c.b, c.c, out);
    case ConvKind::HexNibbles:
        return ConvHexNibblesCell(r, v, c.a, c.flag1, out);
    case ConvKind::Scaled:
        return ConvScaledCell(r, v, c.a, c.b, c.minimum, c.maximum, c.c, c.flag1, c.flag2, out);
    case ConvKind::Range:
        return ConvRangeCell(r, v, c.a, c.b, c.c, c.d, c.e, out);
    case ConvKind::ByteRange:
        return Narrow<uint8_t>(v, [&](uint8_t& b) { return ConvByteRangeCell(r, b, c.a, c.b, out); });
    case ConvKind::Time:
        return ConvTimeCell(r, v, c.a, c.b, c.c, out);
    case ConvKind::ModelKeys:
        return Narrow<uint8_t>(
            v, [&](uint8_t& b) { return ConvModelKeysCell(r, f.image, b, f.resultFlags, out); });
    case ConvKind::Dials:
        return Narrow<uint8_t>(v,
                               [&](uint8_t& b) { return ConvDialsCell(r, f.image, b, f.resultFlags, out); });
    case ConvKind::Text:
    case ConvKind::EditText:
        break;
    }
    return 0;
}

void Finish(CellFrame& f, const Row& row, int changed) {
    const Grey& g = row.grey;
    if (g.address >= 0 && field::GetFlag(f.image, g.address, g.bit) == g.whileSet) f.Grey();
    if (row.rebuild == Rebuild::Always || (row.rebuild == Rebuild::OnChange && changed))
        f.resultFlags |= CellFrame::kFlagRebuildAll;
}

int RunRow(CellFrame& f, const Row& row) {
    const std::optional<int32_t> offset = EntryOffset(row.field, f.index);
    if (!offset) {
        f.Show(std::string());
        return 0;
    }
    int changed = 0;
    if (row.field.kind == FieldKind::Bytes) {
        changed = RunText(f, row, *offset);
    } else {
        const int64_t stored = Get(f.image, row.field, f.index).value_or(0);
        f.value = static_cast<int32_t>(std::clamp<int64_t>(stored, std::numeric_limits<int32_t>::min(),
                                                           std::numeric_limits<int32_t>::max()));
        changed = RunConv(f, row.conv, f.value);
        if (changed) Set(f.image, row.field, f.index, f.value);
    }
    if (changed && row.storesRecord) f.StoreRow();
    Finish(f, row, changed);
    return changed;
}

int RunRowText(CellFrame& f, std::span<uint8_t> text) {
    const int changed =
        EditTextCell(f.request, text.data(), static_cast<int32_t>(text.size()), false, f.result);
    if (changed) f.StoreRow();
    return changed;
}

std::string CellNameOf(const CellFrame& frame) {
    return frame.engine.Vocabulary().CellName(frame.cellId);
}

void DuplicateName(std::string_view name) {
    plat::Fatal("Overlapped cell row. (" + std::string(name) + ")");
}

} // namespace form
