#pragma once
#include "image/RecordCodec.h"

#include <cstdint>
#include <span>

class cmcEeprom;

// The rows of one record kind: lowest and highest row, and in bit 0 of the
// flags whether they may be cleared, deleted and inserted.
struct RowLimit {
    int32_t min = 0;
    int32_t max = 0;
    int32_t flags = 0;
};

// What every program's decoded row record answers the same way over its own
// kind table. Record provides
//   static std::span<const RowLimit> Limits();  // indexed by kind
//   static bool Bounded(int32_t kind);          // GetMin and GetMax answer the table
// and a member `cmcEeprom* image`.
template <class Record> class RowRecord {
public:
    // Kinds outside the table give 0.
    static int32_t FieldMin(int32_t kind) { return InTable(kind) ? Record::Limits()[Slot(kind)].min : 0; }
    static int32_t FieldMax(int32_t kind) { return InTable(kind) ? Record::Limits()[Slot(kind)].max : 0; }
    static int32_t FieldFlag(int32_t kind) {
        return InTable(kind) ? Record::Limits()[Slot(kind)].flags & 1 : 0;
    }
    // As FieldMin and FieldMax for the kinds the table bounds; 0 and 100000000 for the others.
    static int32_t GetMin(int32_t kind) { return Record::Bounded(kind) ? FieldMin(kind) : 0; }
    static int32_t GetMax(int32_t kind) { return Record::Bounded(kind) ? FieldMax(kind) : 100000000; }

    static bool InTable(int32_t kind) {
        return kind >= 0 && static_cast<size_t>(kind) < Record::Limits().size();
    }

    // A fresh record over the same image.
    void Clear() {
        Record& self = static_cast<Record&>(*this);
        cmcEeprom* const keep = self.image;
        self = Record();
        self.image = keep;
    }

    // The base holds no fields: records compare by their own.
    bool operator==(const RowRecord&) const = default;

private:
    static size_t Slot(int32_t kind) { return static_cast<size_t>(kind); }
};
