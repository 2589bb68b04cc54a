#pragma once
#include "ui/cuiFBitsR.h"

#include <cstdint>
#include <string>

namespace adj {

// The adjustment program's bit-field editor: label kind 3 names bit 10 "0"
// and bit 11 "Z" and every other bit by its number; the other kinds label
// as the cloning program's.
class cuiFBitsR : public ::cuiFBitsR {
public:
    cuiFBitsR(const CellEngine& engine, const cmcCellCapsule& request, cmcGTex& texts, int32_t value,
              int32_t firstLabel, int32_t lastLabel, int32_t labelKind, int32_t markStyle,
              const std::string& sheetName);

    static std::string Label(int32_t kind, int32_t v, int32_t last);
};

} // namespace adj
