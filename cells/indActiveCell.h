#pragma once
#include "cells/CellEngine.h"

#include <cstdint>
#include <string>

class cmcCellCapsule;
class cmcCellObj;

// The cell evaluator. It holds no data of its own: every answer comes from
// the installed cell engine (CellEngine.h), so callers that have no engine at
// hand keep working whichever program runs.
class indActiveCell {
public:
    static int32_t CategoryIndex(const std::string& name) { return Vocabulary().CategoryIndex(name); }
    static int32_t CellIndex(const std::string& name) { return Vocabulary().CellIndex(name); }
    static std::string CellName(int32_t id) { return Vocabulary().CellName(id); }
    static int32_t CategoryInfo(int32_t category) { return Vocabulary().CategoryInfo(category); }

    // CellEngine::Execute, ExecuteCell and QueryMarks of the installed engine.
    static int32_t Execute(cmcCellCapsule& request, int32_t notify) {
        return InstalledCellEngine().Execute(request, notify);
    }
    static int32_t ExecuteCell(cmcCellObj* cell, int32_t key) {
        return InstalledCellEngine().ExecuteCell(cell, key);
    }

    using Marks = CellEngine::Marks;
    static Marks QueryMarks(int32_t category, int32_t cellId, int32_t index) {
        return InstalledCellEngine().QueryMarks(category, cellId, index);
    }
    static bool HasWarnE(int32_t category, int32_t cellId, int32_t index) {
        return QueryMarks(category, cellId, index).error;
    }
    static bool HasWarnW(int32_t category, int32_t cellId, int32_t index) {
        return QueryMarks(category, cellId, index).warning;
    }

private:
    static const CellVocabulary& Vocabulary() { return InstalledCellEngine().Vocabulary(); }
};
