#pragma once
#include "adjust/AdjustRecords.h"
#include "cells/ChannelFields.h"

namespace adj {

// A channel row of this program's record as the channel columns see it: the
// fields live in its option words and values (E and G of the row's entries).
class AdjustChannelFields final : public ChannelRowFields {
public:
    explicit AdjustChannelFields(datCh& record) : record_(&record) {}
    void Bind(datCh& record) { record_ = &record; }

    // Whether this program's record keeps a field at all.
    static bool Keeps(ChField field);

    bool Has(ChField field) const override { return Keeps(field); }
    int32_t Get(ChField field) const override;
    void Set(ChField field, int32_t value) override;
    datTone& RxTone() override { return record_->tone1; }
    datTone& TxTone() override { return record_->tone2; }
    std::span<uint8_t> Name() override { return record_->name; }

private:
    datCh* record_;
};

} // namespace adj
