#pragma once
#include <cstdint>
#include <memory>

class ChannelRowFields;
class cmcEeprom;

// A program's own decoded row record, for a program whose row tables are not
// the ones datCh decodes (other kinds, other places): the frame loads it for
// the request's row, its rules ask it whether the row is programmed, and the
// program's cases work on it.
class ProgramRow {
public:
    virtual ~ProgramRow() = default;
    // Decodes row n of a kind from the image; false when the kind's tables do
    // not hold the row (nothing is decoded then, and Store writes nothing).
    virtual bool Load(cmcEeprom& image, int32_t kind, int32_t n) = 0;
    // Writes the fields back into the row they were decoded from and decodes them again.
    virtual void StoreAndReload() = 0;
    // A programmed row: a channel or repeater entry with a receive frequency.
    virtual bool InUse() const = 0;
    // The row's channel fields while it is a channel row; null otherwise.
    virtual ChannelRowFields* ChannelFields() { return nullptr; }
};

// Makes a program's empty row record.
using ProgramRowMaker = std::unique_ptr<ProgramRow> (*)();
