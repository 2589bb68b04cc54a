#include "foundation/cmcRecent.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> Entries(const cmcRecent& r) {
    std::vector<std::string> out;
    for (int i = 0; i < r.Count(); ++i)
        out.push_back(r.Path(i));
    return out;
}

} // namespace

TEST(cmcRecent, AddAppendsAndDropsWhatNoLongerFits) {
    cmcRecent r(3);
    for (const char* p : {"/a", "/b", "/A", "/c", "/d"})
        r.Add(p);
    // "/A" replaced "/a" at the end; "/d" found the list full and fell off.
    EXPECT_EQ(Entries(r), (std::vector<std::string>{"/b", "/A", "/c"}));
    r.Clear();
    EXPECT_EQ(r.Count(), 0);
    EXPECT_EQ(r.Path(0), "");
}

TEST(cmcRecent, AddTopMovesAnEntryInOtherLetterCaseToTheTopInItsNewCase) {
    cmcRecent r(3);
    for (const char* p : {"/data/One.icf", "/data/two.icf", "/data/three.icf"})
        r.Add(p);
    r.AddTop("/DATA/TWO.ICF");
    EXPECT_EQ(Entries(r), (std::vector<std::string>{"/DATA/TWO.ICF", "/data/One.icf", "/data/three.icf"}));
    r.AddTop("/data/four.icf");
    EXPECT_EQ(Entries(r), (std::vector<std::string>{"/data/four.icf", "/DATA/TWO.ICF", "/data/One.icf"}));
}

TEST(cmcRecent, GetShortensOnlyEntriesOfTheGivenDirectory) {
    struct Case {
        const char* entry;
        const char* directory;
        const char* shown;
    } cases[] = {
        {"/data/file1", "/data/", "file1"},
        {"/data/file1", "/data", "file1"},
        {"/data/file1", "", "/data/file1"},
        {"/data/file1", "/dat", "/data/file1"},
        {"/data/file1", "/Data", "/data/file1"},
        {"/data/sub/file1", "/data", "/data/sub/file1"},
        {"/file1", "/", "file1"},
        {"/file1", "", "/file1"},
        {"file1", "/data", "file1"},
    };
    for (const Case& c : cases) {
        cmcRecent r(10);
        r.Add(c.entry);
        EXPECT_EQ(r.Get(0, c.directory), c.shown) << c.entry << " in '" << c.directory << "'";
        EXPECT_EQ(r.Path(0), c.entry);
    }
}

TEST(cmcRecent, GetAndPathPastTheEndAreEmpty) {
    cmcRecent r(10);
    r.Add("/data/file1");
    for (int i : {-1, 1, 10}) {
        EXPECT_EQ(r.Get(i, "/data"), "") << i;
        EXPECT_EQ(r.Path(i), "") << i;
    }
}

TEST(cmcRecent, StoredPathSurvivesWhenTheMenuTextIsShortened) {
    cmcRecent r(10);
    r.AddTop("/file1");
    r.AddTop("/home/u/radio.icf");
    ASSERT_EQ(r.Get(0, "/home/u/"), "radio.icf");
    ASSERT_EQ(r.Get(1, "/"), "file1");
    EXPECT_EQ(r.Path(0), "/home/u/radio.icf");
    EXPECT_EQ(r.Path(1), "/file1");
}
