#pragma once
#include "platform/Fatal.h"

#include <cstdint>
#include <forward_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The program's own string hash: the bucket of a key among bucketCount buckets.
uint32_t HashBucket(std::string_view key, uint32_t bucketCount);

// A string-keyed chained hash table that never resizes; callers pick the
// bucket count for what they store. Keys compare case-sensitively. A key
// added twice is an internal inconsistency and ends the program.
template <typename Value> class StringHashTable {
public:
    static constexpr uint32_t kDefaultBuckets = 1031;

    struct Entry {
        std::string key;
        Value value;
    };

    // 0 buckets means the default.
    StringHashTable(uint32_t bucketCount, const char* overlapText)
        : buckets_(bucketCount ? bucketCount : kDefaultBuckets), overlapText_(overlapText) {}

    uint32_t BucketCount() const { return uint32_t(buckets_.size()); }

    void Add(std::string key, Value value) {
        if (Find(key)) plat::Fatal(overlapText_);
        auto& chain = buckets_[HashBucket(key, BucketCount())];
        chain.push_front(Entry{std::move(key), std::move(value)});
    }

    const Entry* Find(std::string_view key) const {
        for (const Entry& entry : buckets_[HashBucket(key, BucketCount())])
            if (entry.key == key) return &entry;
        return nullptr;
    }
    Entry* Find(std::string_view key) { return const_cast<Entry*>(std::as_const(*this).Find(key)); }

private:
    std::vector<std::forward_list<Entry>> buckets_;
    const char* overlapText_;
};

// Name to number: cell and category names, colour names.
class cmcHash : public StringHashTable<int32_t> {
public:
    explicit cmcHash(uint32_t bucketCount = kDefaultBuckets)
        : StringHashTable(bucketCount, "Overlapped Hash table.") {}
};
