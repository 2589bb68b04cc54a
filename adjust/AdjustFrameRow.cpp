#include "adjust/AdjustFrameRow.h"

#include "cells/CellFrame.h"

namespace adj {
namespace {
// Kinds 1..5 are the channel rows of the five model classes.
} // namespace

bool AdjustFrameRow::Load(cmcEeprom& image, int32_t kind, int32_t n) {
    record = datCh(&image);
    record.Load(kind, n);
    return record.CanAccess(kind, n);
}

void AdjustFrameRow::StoreAndReload() {
    record.Store(record.kind, record.row);
    record.Load(record.kind, record.row);
}

ChannelRowFields* AdjustFrameRow::ChannelFields() {
    if (!IsChannelKind(record.kind)) return nullptr;
    fields_.Bind(record);
    return &fields_;
}

std::unique_ptr<ProgramRow> MakeAdjustFrameRow() {
    return std::make_unique<AdjustFrameRow>();
}

datCh* FrameRecord(CellFrame& f) {
    if (!f.programRow || !f.programRowLoaded) return nullptr;
    return &static_cast<AdjustFrameRow&>(*f.programRow).record;
}

void StoreFrameRecord(CellFrame& f) {
    if (FrameRecord(f)) f.programRow->StoreAndReload();
}

} // namespace adj
