#include "cells/RecordForm.h"

#include "cells/CellFields.h"
#include "cells/CellFrame.h"
#include "cells/TextCell.h"

#include <algorithm>
#include <string>
#include <type_traits>
#include <variant>

namespace recform {
namespace {

template <class Text> int EditText(CellFrame& f, Text& text, const form::Conv& conv) {
    const int32_t width = std::min(conv.a, static_cast<int32_t>(text.size()));
    return EditTextCell(f.request, text.data(), width, conv.flag1, f.result);
}

// Stores the row when the converter changed it.
int Stored(CellFrame& f, int changed) {
    if (changed) f.StoreRow();
    return changed;
}

int Convert(CellFrame& f, const Row& row) {
    if (row.record) return Stored(f, row.record(f));
    return std::visit(
        [&](auto member) -> int {
            using M = decltype(member);
            if constexpr (std::is_same_v<M, std::monostate>) {
                return 0;
            } else if constexpr (std::is_same_v<M, Text12> || std::is_same_v<M, Text24>) {
                return Stored(f, EditText(f, f.row.*member, row.conv));
            } else {
                return field::RowCell(f, f.row.*member, [&](int32_t& v, int32_t&) {
                    return row.value ? row.value(f, v) : form::RunConv(f, row.conv, v);
                });
            }
        },
        row.field);
}

} // namespace

bool TakeRow(CellFrame& f, Kinds kinds) {
    const bool kept = f.recordKind != 0 && (f.recordKind == kinds.own || f.recordKind == kinds.other);
    if (!kept) f.LoadRow(kinds.own, f.index);
    return f.rowLoaded;
}

void Dash(CellFrame& f, const char* dashes) {
    f.Show(dashes);
    f.Grey();
}

bool IsHeading(const CellFrame& f) {
    return f.index < datCh::FieldMin(f.row.kind);
}

int RunRow(CellFrame& f, const Row& row) {
    if (!TakeRow(f, row.kinds)) {
        f.Show(std::string());
        return 0;
    }
    if (row.dashedOnHeading && IsHeading(f)) {
        Dash(f);
        return 0;
    }
    if (row.applies && !row.applies(f)) {
        Dash(f, row.dashes);
        return 0;
    }
    return Convert(f, row);
}

} // namespace recform
