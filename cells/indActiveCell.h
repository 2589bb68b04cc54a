#pragma once
#include "cells/CellVocabulary.h"

#include <cstdint>
#include <string>

// The cell evaluator. It holds no data of its own; the name lookups are
// answered from the current cell vocabulary.
class indActiveCell {
public:
    static int32_t CategoryIndex(const std::string& name) {
        return CurrentCellVocabulary().CategoryIndex(name);
    }
    static int32_t CellIndex(const std::string& name) { return CurrentCellVocabulary().CellIndex(name); }
    static std::string CellName(int32_t id) { return CurrentCellVocabulary().CellName(id); }
    static int32_t CategoryInfo(int32_t category) { return CurrentCellVocabulary().CategoryInfo(category); }
};
