#pragma once
#include "foundation/cmcHash.h"

// Name to record; the records belong to whoever fills the table.
template <typename Record> class cmcHash2 : public StringHashTable<Record*> {
public:
    using typename StringHashTable<Record*>::Entry;
    explicit cmcHash2(uint32_t bucketCount = StringHashTable<Record*>::kDefaultBuckets)
        : StringHashTable<Record*>(bucketCount, "Overlapped Hash2 table.") {}
};
