#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "image/RangeList.h"
#include "image/cmcEeprom.h"
#include "image/cmcIcfFile.h"
#include "platform/Fatal.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <vector>

using testsupport::TempDir;

namespace {

const std::string kFixtures = std::string(TOLVANE_SOURCE_DIR) + "/tests/data/icf/";

// The byte every fixture holds at an address.
uint8_t Pattern(int32_t a) {
    return static_cast<uint8_t>(a * 7 + 3);
}

const char* const kFileKeys[] = {
    nullptr,
    "GI_Mess_FileErr_FileOpen",
    "GI_Mess_FileErr_FileAccess",
    "GI_Mess_FileErr_Model",
    "GI_Mess_FileErr_Extra",
    "GI_Mess_FileErr_MapRev",
    "GI_Mess_FileErr_Format",
    "GI_Mess_FileErr_Coverage",
    "GI_Mess_FileErr_Data",
    "GI_Mess_FileErr_Newer",
};

// A text table whose texts name their code, so a box shows which code it is for.
const char* const kTestOverlay[] = {
    "#GI_Sys_AppTitle",
    "Title",
    "#GI_Mess_FileErr_Headline",
    "Head",
    "#GI_Mess_FileErr_FileOpen",
    "Text 1",
    "#GI_Mess_FileErr_FileAccess",
    "Text 2",
    "#GI_Mess_FileErr_Model",
    "Text 3",
    "#GI_Mess_FileErr_Extra",
    "Text 4",
    "#GI_Mess_FileErr_MapRev",
    "Text 5",
    "#GI_Mess_FileErr_Format",
    "Text 6",
    "#GI_Mess_FileErr_Coverage",
    "Text 7",
    "#GI_Mess_FileErr_Data",
    "Text 8",
    "#GI_Mess_FileErr_Newer",
    "Text 9",
    "#GI_AppMess_FileErr_Detail",
    "File %s",
    "System: %s.",
    "Full",
    "Read-only",
    "Permission",
    "No file",
    "#End_Of_Ovl",
};

std::string BoxText(int code) {
    return "Head\n\nText " + std::to_string(code);
}

// The box of a failure to open or write a file names it and says why.
std::string BoxText(int code, const std::string& path, const std::string& why) {
    return BoxText(code) + "\n\nFile " + path + "\n" + why;
}

class ScopedTextTable {
public:
    explicit ScopedTextTable(cmcGTex& table) : old_(gGTex) { gGTex = &table; }
    ~ScopedTextTable() { gGTex = old_; }

private:
    cmcGTex* old_;
};

// A handler over a 256-byte image set up as the file-open command sets it up:
// model code 0x4410, sub code 0, map revisions below 2.
class IcfFile : public ::testing::Test {
protected:
    IcfFile() {
        texts.SetLines(kTestOverlay);
        image.SetSize(256);
        image.Fill(0x5A);
        icf.SetImage(&image);
        icf.SetCode1(0x4410);
        icf.SetCode2(0);
        icf.SetOnMapRev([](int32_t rev) { return rev < 2; });
    }

    // Expects the box of a failed operation, or none for 0; a failure to open
    // the file names it.
    void ExpectBoxFor(int code) {
        if (code == 0) {
            EXPECT_TRUE(boxes.Log().empty());
            return;
        }
        ASSERT_EQ(boxes.Log().size(), 1u);
        const std::string& text = boxes.Log()[0].text;
        if (icf.Problem().IsSet())
            EXPECT_TRUE(text.starts_with(BoxText(code) + "\n\nFile " + icf.Problem().path + "\n")) << text;
        else
            EXPECT_EQ(text, BoxText(code));
    }

    cmcGTex texts;
    ScopedTextTable useTexts{texts};
    plat::ScriptedMessageBox boxes;
    plat::ScopedMessageBoxes useBoxes{&boxes};
    cmcEeprom image;
    cmcIcfFile icf;
    TempDir dir;
};

struct FixtureCase {
    const char* file;
    bool withRanges; // load against the required ranges {0, 214}
    int expected;
};

void PrintTo(const FixtureCase& c, std::ostream* os) {
    *os << c.file << (c.withRanges ? " {0,214}" : "");
}

class IcfFixture : public IcfFile, public ::testing::WithParamInterface<FixtureCase> {};

TEST_P(IcfFixture, LoadsWithTheExpectedResult) {
    const FixtureCase& c = GetParam();
    const RangeList required = {{0, 214}};
    if (c.expected != 0) boxes.Expect("", plat::IDOK);
    const cmcEeprom before = image;

    EXPECT_EQ(icf.Load(kFixtures + c.file, c.withRanges ? &required : nullptr), c.expected);

    ExpectBoxFor(c.expected);
    if (c.expected != 0) {
        EXPECT_TRUE(image.IsEqual(before)) << "a failed load changed the image";
        return;
    }
    for (int32_t a = 0; a < 256; ++a) {
        bool read = icf.ReadMap()[static_cast<size_t>(a / 8)] >> (a % 8) & 1;
        int32_t want = read ? Pattern(a) : 0x5A;
        if (image.GetByte(a) != want) {
            ADD_FAILURE() << "byte " << a << " is " << int(image.GetByte(a)) << ", not " << want;
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, IcfFixture,
    ::testing::Values(
        FixtureCase{"good_lf.icf", true, 0}, FixtureCase{"good_crlf.icf", true, 0},
        FixtureCase{"good_lower.icf", true, 0},
        // The last line without a line end is a whole line, not one that lost a digit.
        FixtureCase{"good_no_final_line_end.icf", true, 0},
        // Checked with the handler's revision -1, which the test accepts.
        FixtureCase{"good_no_maprev.icf", true, 0},
        // A comment line as long as a line may be; one character more is refused.
        FixtureCase{"good_long_comment.icf", true, 0}, FixtureCase{"overlong_comment.icf", true, 6},
        FixtureCase{"missing.icf", false, 1}, FixtureCase{"model.icf", false, 3},
        FixtureCase{"extra.icf", false, 4}, FixtureCase{"maprev_2.icf", false, 5},
        FixtureCase{"empty.icf", false, 6}, FixtureCase{"header_9_chars.icf", false, 6},
        FixtureCase{"header_not_hex.icf", false, 6}, FixtureCase{"count_mismatch.icf", false, 6},
        FixtureCase{"data_not_hex.icf", false, 6}, FixtureCase{"blank_line.icf", false, 6},
        FixtureCase{"overlong_data_line.icf", false, 6}, FixtureCase{"overlong_maprev.icf", false, 6},
        FixtureCase{"header_only.icf", false, 0},
        // No data line: the revision is never asked about, the coverage fails.
        FixtureCase{"header_only_bad_maprev.icf", true, 7}, FixtureCase{"missing_214.icf", true, 7},
        FixtureCase{"extra_215.icf", true, 8}, FixtureCase{"beyond_image.icf", false, 8}),
    // Named after the fixture file, without its extension.
    [](const auto& info) {
        const std::string file = info.param.file;
        return file.substr(0, file.find('.'));
    });

TEST_F(IcfFile, AFileThatCannotBeOpenedIsNamedWithTheReason) {
    const std::string missing = dir.File("missing.icf");
    struct Case {
        std::string path;
        std::string box;
    } cases[] = {
        {dir.Path(), BoxText(1, dir.Path(), "No file")},
        {missing, BoxText(1, missing, "System: No such file or directory.")},
    };
    for (const Case& c : cases) {
        boxes = plat::ScriptedMessageBox();
        boxes.Expect("", plat::IDOK);
        EXPECT_EQ(icf.Load(c.path), 1);
        ASSERT_EQ(boxes.Log().size(), 1u);
        EXPECT_EQ(boxes.Log()[0].text, c.box);
        EXPECT_EQ(icf.Problem().path, c.path);
    }
}

TEST_F(IcfFile, ReadsSingleLinesFromMemory) {
    struct Case {
        std::string text;
        int expected;
        int32_t address;
        uint8_t value;
    } cases[] = {
        {"44100000\n000001AB\n", 0, 0, 0xAB},     {"44100000\r\n#MapRev=1\r\n00FF01cd", 0, 0xFF, 0xCD},
        {"44100000\n000002AB\n", 6, 0, 0x5A},     {"44100000\n0100015A\n", 8, 0, 0x5A},
        {"44100000\n000001AB\r\r\n", 6, 0, 0x5A}, {"44100000", 0, 0, 0x5A},
    };
    for (const Case& c : cases) {
        image.Fill(0x5A);
        boxes = plat::ScriptedMessageBox();
        if (c.expected != 0) boxes.Expect("", plat::IDOK);
        EXPECT_EQ(icf.LoadFromMemory(c.text.data(), c.text.size()), c.expected) << c.text;
        EXPECT_EQ(image.GetByte(c.address), c.value) << c.text;
    }
}

TEST_F(IcfFile, HeaderTestDecidesInPlaceOfTheCodes) {
    struct Case {
        bool accept;
        int stored;
        int expected;
    } cases[] = {
        {true, 1, 0},  // accepted although code2 differs from the handler's
        {false, 1, 1}, // refused without a code of its own
        {false, 4, 4},
        {false, 0, 1}, // a refusal never reads as success
    };
    for (const Case& c : cases) {
        boxes = plat::ScriptedMessageBox();
        if (c.expected != 0) boxes.Expect("", plat::IDOK);
        int32_t seen1 = -1, seen2 = -1;
        icf.SetOnHeader([&](int32_t code1, int32_t code2, int& result) {
            seen1 = code1;
            seen2 = code2;
            if (!c.accept) result = c.stored;
            return c.accept;
        });
        EXPECT_EQ(icf.Load(kFixtures + "extra.icf"), c.expected);
        EXPECT_EQ(seen1, 0x4410);
        EXPECT_EQ(seen2, 0x000A);
        ExpectBoxFor(c.expected);
    }
}

TEST_F(IcfFile, MapRevisionTestSeesTheFileValueOrTheHandlersOwn) {
    std::vector<int32_t> seen;
    icf.SetOnMapRev([&](int32_t rev) {
        seen.push_back(rev);
        return true;
    });
    EXPECT_EQ(icf.Load(kFixtures + "good_lf.icf"), 0);
    EXPECT_EQ(icf.GetMapRev(), 1);
    icf.SetMapRev(-1);
    EXPECT_EQ(icf.Load(kFixtures + "good_no_maprev.icf"), 0);
    icf.SetMapRev(3);
    EXPECT_EQ(icf.Load(kFixtures + "good_no_maprev.icf"), 0);
    EXPECT_EQ(seen, (std::vector<int32_t>{1, -1, 3}));

    icf.SetOnMapRev(nullptr);
    boxes.Expect("", plat::IDOK);
    EXPECT_EQ(icf.Load(kFixtures + "good_lf.icf"), 5);
    ExpectBoxFor(5);
}

TEST_F(IcfFile, MapBitsAreLeastSignificantFirstAndStayInsideTheMap) {
    std::vector<uint8_t> map(2, 0);
    cmcIcfFile::SetMapBits(map, 0, 1, true);
    cmcIcfFile::SetMapBits(map, 7, 3, true);
    EXPECT_EQ(map, (std::vector<uint8_t>{0x81, 0x03}));
    cmcIcfFile::SetMapBits(map, 8, 1, false);
    EXPECT_EQ(map, (std::vector<uint8_t>{0x81, 0x02}));
    for (auto [first, count] : {std::pair{15, 2}, {-1, 2}, {0, 0}, {1, INT32_MAX}}) {
        cmcIcfFile::SetMapBits(map, first, count, true);
        EXPECT_EQ(map, (std::vector<uint8_t>{0x81, 0x02})) << first << "+" << count;
    }
}

TEST_F(IcfFile, BindingAnImageRequiresAllOfIt) {
    cmcEeprom small;
    small.SetSize(10);
    icf.SetImage(&small);
    EXPECT_EQ(icf.RequiredMap(), (std::vector<uint8_t>{0xFF, 0x03}));
    EXPECT_EQ(icf.ReadMap(), (std::vector<uint8_t>{0x00, 0x00}));
}

TEST_F(IcfFile, CoverageWithoutAListOrImageIsMissingData) {
    EXPECT_EQ(icf.CheckCoverage(nullptr), 7);
    cmcIcfFile unbound;
    RangeList all = {{0, 0}};
    EXPECT_EQ(unbound.CheckCoverage(&all), 7);
    // An empty list asks for nothing, which nothing read matches.
    RangeList none = {kRangeListEnd};
    EXPECT_EQ(icf.CheckCoverage(&none), 0);
}

TEST(RangeList, EndsAtTheFirstReversedOrInvalidPair) {
    struct Case {
        RangeList list;
        size_t used;
    } cases[] = {
        {{{0, 9}, {20, 20}}, 2},   {{{0, 9}, kRangeListEnd, {20, 30}}, 1},
        {{{-1, 4}, {0, 1}}, 0},    {{{0, 1}, {250, 256}}, 1},
        {{{0, 1}, {256, 256}}, 1}, {{}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RangesInUse(c.list, 256).size(), c.used);
}

// Save writes exactly this format, whatever the image size.
TEST_F(IcfFile, SaveWritesHeaderCommentRevisionAndLinesCutAt16ByteBoundaries) {
    cmcEeprom big;
    big.SetSize(0xFF80);
    for (int32_t a = 0; a < big.GetSize(); ++a)
        big.SetByte(a, Pattern(a));
    icf.SetImage(&big);
    icf.SetCode1(0x4410);
    icf.SetCode2(0x00AB);
    icf.SetComment("Two\r\nlines\nhere");
    icf.SetMapRev(1);
    std::string path = dir.File("out.icf");

    EXPECT_EQ(icf.Save(path, {{0x0007, 0x0024}, {0xFF7F, 0xFF7F}, kRangeListEnd, {0x30, 0x30}}), 0);

    auto hex = [](int32_t first, int32_t n) {
        std::string s;
        char buf[3];
        for (int32_t a = first; a < first + n; ++a) {
            std::snprintf(buf, sizeof buf, "%02X", Pattern(a));
            s += buf;
        }
        return s;
    };
    std::string expected = "441000AB\r\n"
                           "#Comment=Two lines here\r\n"
                           "#MapRev=1\r\n"
                           "000709" +
                           hex(0x07, 9) +
                           "\r\n"
                           "001010" +
                           hex(0x10, 16) +
                           "\r\n"
                           "002005" +
                           hex(0x20, 5) +
                           "\r\n"
                           "FF7F01" +
                           hex(0xFF7F, 1) + "\r\n";
    EXPECT_EQ(TempDir::ReadFile(path), expected);
    EXPECT_TRUE(boxes.Log().empty());
}

TEST_F(IcfFile, SaveThenLoadGivesTheSameImage) {
    cmcEeprom saved, loaded;
    saved.SetSize(0xFF80);
    uint32_t x = 12345;
    for (int32_t a = 0; a < saved.GetSize(); ++a) {
        x = x * 1103515245u + 12345u;
        saved.SetByte(a, static_cast<uint8_t>(x >> 16));
    }
    loaded.SetSize(0xFF80);
    const RangeList all = {{0, 0xFF7F}};
    std::string path = dir.File("round.icf");

    icf.SetImage(&saved);
    icf.SetMapRev(1);
    ASSERT_EQ(icf.Save(path, all), 0);
    icf.SetImage(&loaded);
    icf.SetMapRev(-1);
    EXPECT_EQ(icf.Load(path, &all), 0);
    EXPECT_EQ(icf.GetMapRev(), 1);
    EXPECT_TRUE(loaded.IsEqual(saved));
}

TEST_F(IcfFile, SaveReplacesAnExistingFile) {
    std::string path = dir.File("data.icf");
    TempDir::WriteFile(path, "old contents, longer than the new file will be ............................");
    ASSERT_EQ(icf.Save(path, {{0, 0}}), 0);
    EXPECT_EQ(TempDir::ReadFile(path), "44100000\r\n#Comment=\r\n#MapRev=-1\r\n0000015A\r\n");
    EXPECT_EQ(TempDir::Names(dir.Path()), std::vector<std::string>{"data.icf"});
}

// A reader takes no longer line than kLongestLine: the writer cuts the comment to fit.
TEST_F(IcfFile, ALongCommentIsCutToTheLongestLine) {
    icf.SetComment(std::string(2000, 'c'));
    const std::string path = dir.File("long.icf");
    ASSERT_EQ(icf.Save(path, {{0, 0}}), 0);
    EXPECT_EQ(TempDir::ReadFile(path),
              "44100000\r\n#Comment=" + std::string(cmcIcfFile::kLongestLine - 9, 'c') +
                  "\r\n#MapRev=-1\r\n0000015A\r\n");
    EXPECT_EQ(icf.Load(path), 0);
}

TEST_F(IcfFile, FailedSaveLeavesTheOldFileAsItWas) {
    const std::string old = "44100000\r\n#Comment=old\r\n";
    std::string path = dir.File("data.icf");
    TempDir::WriteFile(path, old);

    // The disk fills part way through: writes beyond 100 bytes fail.
    boxes.Expect("", plat::IDOK);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    int result = icf.Save(path, {{0, 255}});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_EQ(result, 2);
    ASSERT_EQ(boxes.Log().size(), 1u);
    EXPECT_EQ(boxes.Log()[0].text, BoxText(2, path, "System: File too large."));
    EXPECT_EQ(TempDir::ReadFile(path), old);
    EXPECT_EQ(TempDir::Names(dir.Path()), std::vector<std::string>{"data.icf"});
}

TEST_F(IcfFile, SaveRefusesAddressesTheFormatCannotHold) {
    cmcEeprom big;
    big.SetSize(0x10010);
    icf.SetImage(&big);
    std::string path = dir.File("big.icf");
    boxes.Expect("", plat::IDOK);
    EXPECT_EQ(icf.Save(path, {{0xFFF0, 0x10005}}), 2);
    ExpectBoxFor(2);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(IcfFile, SaveIntoAMissingFolderCannotOpen) {
    boxes.Expect("", plat::IDOK);
    EXPECT_EQ(icf.Save(dir.File("none/x.icf"), {{0, 1}}), 1);
    ASSERT_EQ(boxes.Log().size(), 1u);
    EXPECT_EQ(boxes.Log()[0].text, BoxText(1, dir.File("none/x.icf"), "System: No such file or directory."));
}

TEST_F(IcfFile, MessageBoxPerResultCode) {
    for (int code = -1; code <= 10; ++code) {
        boxes = plat::ScriptedMessageBox();
        bool shows = code >= 1 && code <= 9;
        if (shows) boxes.Expect("", plat::IDOK);
        ShowFileErrorMessage(code);
        if (!shows) {
            EXPECT_TRUE(boxes.Log().empty()) << code;
            continue;
        }
        ASSERT_EQ(boxes.Log().size(), 1u) << code;
        EXPECT_EQ(boxes.Log()[0].text, BoxText(code));
        EXPECT_EQ(boxes.Log()[0].caption, "Title");
        EXPECT_EQ(boxes.Log()[0].flags, plat::MB_OK | plat::MB_ICONWARNING);
    }
}

TEST(IcfFileShippedTexts, EveryFileMessageHasAText) {
    cmcGTex shipped;
    ASSERT_EQ(shipped.SetFile(std::string(TOLVANE_BIN_DIR) + "/QT4410R.OVL"), 1);
    ScopedTextTable useTexts(shipped);
    EXPECT_FALSE(shipped.GetText("GI_Sys_AppTitle").empty());
    EXPECT_FALSE(shipped.GetText("GI_Mess_FileErr_Headline").empty());
    for (int code = 1; code <= 9; ++code) {
        std::string text = GetMultiLineText(shipped, kFileKeys[code]);
        EXPECT_FALSE(text.empty()) << kFileKeys[code];
        plat::ScriptedMessageBox boxes;
        plat::ScopedMessageBoxes useBoxes(&boxes);
        boxes.Expect(text, plat::IDOK);
        ShowFileErrorMessage(code);
        EXPECT_TRUE(boxes.Done());
    }
}

TEST(IcfFileTexts, AMessageWithoutATextTableIsFatal) {
    cmcGTex* old = gGTex;
    gGTex = nullptr;
    EXPECT_THROW(ShowFileErrorMessage(1), plat::FatalError);
    gGTex = old;
}

} // namespace
