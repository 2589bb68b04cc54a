#include "foundation/cmcHash.h"
#include "foundation/cmcHash2.h"
#include "platform/Fatal.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(HashBucket, ProgramsOwnStringHash) {
    struct Case {
        const char* key;
        uint32_t buckets;
        uint32_t bucket;
    } cases[] = {
        {"abc", 1031, 937}, {"abc", 101, 99},
        {"", 1031, 0},      {"\x80", 101, 91}, // bytes count signed: 50 - 128 wraps
        {"aaa", 4, 3},                         // the halving step runs out and starts again from N / 2
    };
    for (const Case& c : cases)
        EXPECT_EQ(HashBucket(c.key, c.buckets), c.bucket) << c.key << " / " << c.buckets;
}

TEST(cmcHash, BucketCountDefaultsTo1031) {
    EXPECT_EQ(cmcHash().BucketCount(), 1031u);
    EXPECT_EQ(cmcHash(0).BucketCount(), 1031u);
    EXPECT_EQ(cmcHash(101).BucketCount(), 101u);
}

TEST(cmcHash, FindsWhatWasAddedAndKeysAreCaseSensitive) {
    cmcHash table(1); // one chain holds everything
    table.Add("clRed", 1);
    table.Add("clred", 2);
    table.Add("CLRED", 3);
    for (auto [key, value] : {std::pair{"clRed", 1}, {"clred", 2}, {"CLRED", 3}}) {
        const cmcHash::Entry* entry = table.Find(key);
        ASSERT_NE(entry, nullptr) << key;
        EXPECT_EQ(entry->value, value);
    }
    EXPECT_EQ(table.Find("ClRed"), nullptr);
    EXPECT_EQ(table.Find("clRe"), nullptr);
}

TEST(cmcHash, DuplicateKeyIsFatal) {
    cmcHash table;
    table.Add("CL_Mch_FreqR", 1);
    try {
        table.Add("CL_Mch_FreqR", 2);
        FAIL() << "no fatal error";
    } catch (const plat::FatalError& e) {
        EXPECT_STREQ(e.what(), "Overlapped Hash table.");
    }
    EXPECT_EQ(table.Find("CL_Mch_FreqR")->value, 1);
}

struct Record {
    int n;
};

TEST(cmcHash2, HoldsRecordsItDoesNotOwn) {
    Record a{1}, b{2};
    {
        cmcHash2<Record> table;
        table.Add("a", &a);
        table.Add("b", &b);
        EXPECT_EQ(table.Find("a")->value, &a);
        EXPECT_EQ(table.Find("b")->value, &b);
        try {
            table.Add("a", &b);
            FAIL() << "no fatal error";
        } catch (const plat::FatalError& e) {
            EXPECT_STREQ(e.what(), "Overlapped Hash2 table.");
        }
    }
    EXPECT_EQ(a.n + b.n, 3) << "the records outlive the table";
}

} // namespace
