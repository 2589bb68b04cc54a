#include "adjust/ui/cuiFBitsR.h"

namespace adj {

namespace {
constexpr int32_t kDigitKind = 3;
constexpr int32_t kZeroBit = 10;
constexpr int32_t kZBit = 11;
} // namespace

cuiFBitsR::cuiFBitsR(const CellEngine& engine, const cmcCellCapsule& request, cmcGTex& texts, int32_t value,
                     int32_t firstLabel, int32_t lastLabel, int32_t labelKind, int32_t markStyle,
                     const std::string& sheetName)
    : ::cuiFBitsR(engine, request, texts, value, firstLabel, lastLabel, labelKind, markStyle, sheetName,
                  Label) {}

std::string cuiFBitsR::Label(int32_t kind, int32_t v, int32_t last) {
    if (kind != kDigitKind) return CloningLabel(kind, v, last);
    if (v == kZeroBit) return "0";
    if (v == kZBit) return "Z";
    return std::to_string(v);
}

} // namespace adj
