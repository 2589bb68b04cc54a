#pragma once
#include "adjust/AdjustChannelFields.h"
#include "adjust/AdjustRecords.h"
#include "cells/ProgramRow.h"

#include <memory>

struct CellFrame;

namespace adj {

// This program's row record as the cell frame's own: the frame loads the
// request's row in it with this program's kinds.
class AdjustFrameRow final : public ProgramRow {
public:
    bool Load(cmcEeprom& image, int32_t kind, int32_t n) override;
    void StoreAndReload() override;
    bool InUse() const override { return record.InUse(); }
    ChannelRowFields* ChannelFields() override;

    datCh record;

private:
    AdjustChannelFields fields_{record};
};

std::unique_ptr<ProgramRow> MakeAdjustFrameRow();

// The request's row as the frame loaded it; null when the frame has no row
// (the cell's category has no record, or the row lies outside its tables).
datCh* FrameRecord(CellFrame& f);
// Writes the frame's record back; nothing without one.
void StoreFrameRecord(CellFrame& f);

} // namespace adj
