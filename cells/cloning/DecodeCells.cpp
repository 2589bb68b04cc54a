#include "cells/cloning/DecodeCells.h"

#include "cells/CellFrame.h"
#include "cells/CodeConv.h"

#include <algorithm>

namespace decode {

int RxAbc(CellFrame& f, int32_t& value) {
    return ConvRxAbcCodeCell(f.request, value, f.result);
}

Window WindowAround(int32_t frequency, int32_t percent, int32_t lowest, int32_t highest) {
    const auto rounded = [&](int32_t hundredths) {
        const double factor = hundredths / 100.0;
        return std::clamp(static_cast<int32_t>(frequency * factor + 0.5), lowest, highest);
    };
    return {rounded(100 - percent), rounded(100 + percent)};
}

} // namespace decode
