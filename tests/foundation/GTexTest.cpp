#include "foundation/cmcGTex.h"
#include "foundation/cmcHelpGTex.h"
#include "platform/Fatal.h"
#include "tests/support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>
#include <list>
#include <string>
#include <vector>

using testsupport::TempDir;

namespace {

std::string MissingText(const std::string& key) {
    return "GTEX Error !\nThe index '" + key + "' was not found.";
}

void ExpectFatal(const std::function<void()>& lookup, const std::string& key) {
    try {
        lookup();
        ADD_FAILURE() << "no fatal error for '" << key << "'";
    } catch (const plat::FatalError& e) {
        EXPECT_EQ(std::string(e.what()), MissingText(key));
    }
}

std::string Join(const std::vector<std::string>& lines, const std::string& eol) {
    std::string out;
    for (const std::string& line : lines)
        out += line + eol;
    return out;
}

enum class Kind { File, Lines };

void PrintTo(Kind kind, std::ostream* os) {
    *os << (kind == Kind::File ? "file" : "array");
}

// The format rules hold for a file and for an in-memory array alike, so these
// tests run over both.
class GTexSource : public ::testing::TestWithParam<Kind> {
protected:
    // Binds the table to the lines: a file with LF line ends, or a null-ended array.
    void Bind(cmcGTex& table, const std::vector<std::string>& lines) {
        if (GetParam() == Kind::File) {
            std::string path = dir_.File("t" + std::to_string(files_++) + ".ovl");
            TempDir::WriteFile(path, Join(lines, "\n"));
            ASSERT_EQ(table.SetFile(path), 1);
            return;
        }
        const std::vector<std::string>& held = texts_.emplace_back(lines);
        std::vector<const char*>& ptrs = arrays_.emplace_back();
        for (const std::string& s : held)
            ptrs.push_back(s.c_str());
        ptrs.push_back(nullptr);
        ASSERT_EQ(table.SetLines(ptrs.data()), 1);
    }

    TempDir dir_;
    int files_ = 0;
    std::list<std::vector<std::string>> texts_;
    std::list<std::vector<const char*>> arrays_;
};

INSTANTIATE_TEST_SUITE_P(Sources, GTexSource, ::testing::Values(Kind::File, Kind::Lines),
                         [](const auto& info) { return info.param == Kind::File ? "File" : "Array"; });

const std::vector<std::string> kFourKeys = {"#A", "a0", "a1", "#B", "b0", "b1",
                                            "#C", "c0", "c1", "#D", "d0", "#End_Of_Ovl"};

TEST_P(GTexSource, IndexesOnlyAsFarAsTheKeyAskedFor) {
    struct Case {
        std::string key;
        int keysIndexed;
        long lineReads; // index lines up to the key's line, then its line 0
    };
    for (const Case& c : {Case{"A", 1, 2}, Case{"B", 2, 5}, Case{"C", 3, 8}, Case{"D", 4, 11}}) {
        SCOPED_TRACE(c.key);
        cmcGTex table;
        Bind(table, kFourKeys);
        EXPECT_EQ(table.KeyCount(), 0) << "binding reads nothing";
        EXPECT_EQ(table.GetText(c.key), std::string(1, static_cast<char>(c.key[0] + 'a' - 'A')) + "0");
        EXPECT_EQ(table.KeyCount(), c.keysIndexed);
        EXPECT_EQ(table.SourceLineReads(), c.lineReads);
        EXPECT_EQ(table.KeyListPosition("End_Of_Ovl"), -1);
    }
}

TEST_P(GTexSource, NothingAfterEndOfOvlIsEverIndexed) {
    cmcGTex table;
    Bind(table, {"#A", "a", "#End_Of_Ovl", "#Late", "late"});
    ExpectFatal([&] { table.GetText("Late"); }, "Late");
    EXPECT_EQ(table.KeyCount(), 2) << "the end key is recorded, nothing after it";
    EXPECT_EQ(table.KeyListPosition("End_Of_Ovl"), 1);
    ExpectFatal([&] { table.GetText("Late"); }, "Late");
    EXPECT_EQ(table.GetText("A"), "a") << "the table still answers after a failed lookup";
}

TEST_P(GTexSource, KeysMatchByteForByte) {
    cmcGTex table;
    Bind(table, {"#Abc", "x", "#ABC", "y", "#a b ", "z", "#End_Of_Ovl"});
    struct Case {
        std::string key, text;
    };
    for (const Case& c : {Case{"Abc", "x"}, Case{"ABC", "y"}, Case{"a b ", "z"}})
        EXPECT_EQ(table.GetText(c.key), c.text);
    for (const std::string key : {"abc", "aBC", "a b", " a b ", "Abc "})
        ExpectFatal([&] { table.GetText(key); }, key);
}

TEST_P(GTexSource, HashAloneAndLinesBeforeTheFirstKeyOpenNothing) {
    cmcGTex table;
    Bind(table, {"preamble", "more", "#K", "k0", "#", "after", "#End_Of_Ovl"});
    EXPECT_EQ(table.GetText("K"), "k0");
    EXPECT_EQ(table.GetTextLine("K", 1), "#");
    EXPECT_EQ(table.GetTextLine("K", 2), "after") << "a \"#\" line does not end the key's lines";
    EXPECT_EQ(GetMultiLineText(table, "K"), "k0") << "but list readers stop there";
    ExpectFatal([&] { table.GetText(""); }, "");
    ExpectFatal([&] { table.GetText("preamble"); }, "preamble");
    EXPECT_EQ(table.KeyCount(), 2);
}

TEST_P(GTexSource, LinesPastAKeyRunIntoTheNextKey) {
    cmcGTex table;
    Bind(table, {"#Three", "l0", "l1", "l2", "#Next", "n0", "#Gaps", "", "g1", "", "#Empty", "#End_Of_Ovl"});
    EXPECT_EQ(table.GetTextLine("Three", 2), "l2");
    EXPECT_EQ(table.GetTextLine("Three", 3), "#Next");
    EXPECT_EQ(table.GetTextLine("Three", 4), "n0");
    struct Case {
        std::string key, joined;
    };
    for (const Case& c :
         {Case{"Three", "l0\nl1\nl2"}, Case{"Next", "n0"}, Case{"Gaps", "\ng1\n"}, Case{"Empty", ""}}) {
        EXPECT_EQ(GetMultiLineText(table, c.key), c.joined) << c.key;
    }
}

TEST_P(GTexSource, LinesOfAKeyInTurnCostOneReadEach) {
    cmcGTex table;
    Bind(table, {"#K", "v0", "v1", "v2", "v3", "v4", "v5", "v6", "#End_Of_Ovl"});
    EXPECT_EQ(table.GetText("K"), "v0");
    for (int n = 1; n <= 6; ++n) {
        long before = table.SourceLineReads();
        EXPECT_EQ(table.GetTextLine("K", n), "v" + std::to_string(n));
        EXPECT_EQ(table.SourceLineReads() - before, 1) << "line " << n;
    }
}

TEST_P(GTexSource, AnEarlierLineRestartsFromLineZero) {
    cmcGTex table;
    Bind(table, {"#K", "v0", "v1", "v2", "v3", "v4", "v5", "v6", "#End_Of_Ovl"});
    EXPECT_EQ(table.GetTextLine("K", 5), "v5");
    long before = table.SourceLineReads();
    EXPECT_EQ(table.GetTextLine("K", 2), "v2");
    EXPECT_EQ(table.GetTextLine("K", 3), "v3");
    EXPECT_EQ(table.GetTextLine("K", 3), "v3");
    EXPECT_EQ(table.GetTextLine("K", 6), "v6");
    if (GetParam() == Kind::Lines) {
        // Lines 0..2 again, then 3 from the cursor, 0..3 again, then 4..6 from the cursor.
        EXPECT_EQ(table.SourceLineReads() - before, 3 + 1 + 4 + 3);
    } else {
        EXPECT_EQ(table.SourceLineReads() - before, 1) << "only line 6 is new to the cache";
    }
}

TEST_P(GTexSource, KeysFoundPastTheEleventhMoveToTheHead) {
    std::vector<std::string> lines;
    for (int i = 0; i < 15; ++i) {
        lines.push_back("#K" + std::to_string(i));
        lines.push_back("v" + std::to_string(i));
    }
    lines.push_back("#End_Of_Ovl");
    for (int again = 0; again < 12; ++again) {
        SCOPED_TRACE(again);
        cmcGTex table;
        Bind(table, lines);
        for (int i = 0; i < 12; ++i)
            table.GetText("K" + std::to_string(i));
        ASSERT_EQ(table.KeyListPosition("K11"), 11);
        EXPECT_EQ(table.GetText("K" + std::to_string(again)), "v" + std::to_string(again));
        int expected = again > 10 ? 0 : again;
        EXPECT_EQ(table.KeyListPosition("K" + std::to_string(again)), expected);
        if (again > 10) {
            EXPECT_EQ(table.KeyListPosition("K0"), 1);
        }
    }
}

TEST_P(GTexSource, FirstDefinitionOfAKeyWins) {
    const std::vector<std::string> lines = {"#A",     "first", "#B", "b",          "#A",
                                            "second", "#C",    "c",  "#End_Of_Ovl"};
    for (bool indexAllFirst : {false, true}) {
        SCOPED_TRACE(indexAllFirst);
        cmcGTex table;
        Bind(table, lines);
        if (indexAllFirst) {
            EXPECT_EQ(table.GetText("C"), "c");
        }
        EXPECT_EQ(table.GetText("A"), "first");
        EXPECT_EQ(GetMultiLineText(table, "A"), "first");
    }
}

TEST_P(GTexSource, MultiLineTextOfTheLastKeyStopsAtTheEndOfTheSource) {
    cmcGTex table;
    Bind(table, {"#A", "a", "#B", "b1", "b2"});
    EXPECT_EQ(GetMultiLineText(table, "B"), "b1\nb2");
    EXPECT_FALSE(table.TryGetTextLine("B", 2).has_value());
    EXPECT_EQ(table.TryGetTextLine("B", 1), "b2");
    ExpectFatal([&] { table.GetTextLine("B", 2); }, "B");
    ExpectFatal([&] { table.TryGetTextLine("Z", 0); }, "Z");
}

TEST_P(GTexSource, NegativeLineNumberIsFatal) {
    cmcGTex table;
    Bind(table, {"#K", "v0", "v1", "#End_Of_Ovl"});
    ExpectFatal([&] { table.GetTextLine("K", -1); }, "K");
    EXPECT_EQ(table.GetTextLine("K", 1), "v1") << "the key's cursor is untouched";
}

// A file needs no line ends to be of one kind.
class GTexFile : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes) {
        std::string path = dir_.File("t" + std::to_string(files_++) + ".ovl");
        TempDir::WriteFile(path, bytes);
        return path;
    }
    TempDir dir_;
    int files_ = 0;
};

TEST_F(GTexFile, UnboundOrUnopenableTablesAreFatal) {
    cmcGTex unbound;
    ExpectFatal([&] { unbound.GetText("GI_Sys_AppTitle"); }, "GI_Sys_AppTitle");
    cmcGTex noFile;
    noFile.SetFile(dir_.File("absent.ovl"));
    ExpectFatal([&] { noFile.GetText("GI_Sys_AppTitle"); }, "GI_Sys_AppTitle");
    cmcGTex noName;
    EXPECT_EQ(noName.SetFile(""), 1);
    ExpectFatal([&] { noName.GetText("K"); }, "K");
    EXPECT_EQ(noName.SetFile(Write("#K\nv\n")), 0) << "an empty name still binds";
    cmcGTex noArray;
    EXPECT_EQ(noArray.SetLines(nullptr), 1);
    ExpectFatal([&] { noArray.GetText("K"); }, "K");
}

TEST_F(GTexFile, BindingTwiceKeepsTheFirstBinding) {
    std::string first = Write("#K\nfirst\n");
    std::string second = Write("#K\nsecond\n");
    static const char* const kFirst[] = {"#K", "first", "#End_Of_Ovl"};
    static const char* const kSecond[] = {"#K", "second", "#End_Of_Ovl"};
    using Binder = std::function<int(cmcGTex&)>;
    Binder fileFirst = [&](cmcGTex& t) { return t.SetFile(first); };
    Binder fileSecond = [&](cmcGTex& t) { return t.SetFile(second); };
    Binder arrayFirst = [&](cmcGTex& t) { return t.SetLines(kFirst); };
    Binder arraySecond = [&](cmcGTex& t) { return t.SetLines(kSecond); };
    struct Case {
        Binder a, b;
    };
    for (const Case& c : {Case{fileFirst, fileSecond}, Case{fileFirst, arraySecond},
                          Case{arrayFirst, fileSecond}, Case{arrayFirst, arraySecond}}) {
        cmcGTex table;
        EXPECT_EQ(c.a(table), 1);
        EXPECT_EQ(c.b(table), 0);
        EXPECT_EQ(table.GetText("K"), "first");
        EXPECT_EQ(c.b(table), 0) << "nor after the first lookup";
    }
    cmcHelpGTex help;
    EXPECT_EQ(help.SetFileName(first), 1);
    EXPECT_EQ(help.SetFileName(second), 0);
    EXPECT_EQ(help.GetText("K", 0), "first");
}

TEST_F(GTexFile, CacheEvictsTheLeastRecentlyUsedLine) {
    std::string text;
    for (int i = 0; i <= 64; ++i)
        text += "#K" + std::to_string(i) + "\nv" + std::to_string(i) + "\n";
    cmcGTex table;
    table.SetFile(Write(text));
    auto key = [](int i) { return "K" + std::to_string(i); };
    for (int i = 0; i < 64; ++i)
        table.GetText(key(i));
    EXPECT_EQ(table.CacheCount(), 64);

    long before = table.SourceLineReads();
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(table.GetText(key(i)), "v" + std::to_string(i));
    EXPECT_EQ(table.SourceLineReads(), before) << "64 lines are served from the cache";

    // K0's line was used longest ago, so the 65th line takes its place.
    EXPECT_EQ(table.GetText(key(64)), "v64");
    EXPECT_EQ(table.CacheCount(), 64);
    before = table.SourceLineReads();
    EXPECT_EQ(table.GetText(key(63)), "v63");
    EXPECT_EQ(table.SourceLineReads(), before);
    EXPECT_EQ(table.GetText(key(0)), "v0");
    EXPECT_EQ(table.SourceLineReads(), before + 1) << "the evicted line is read from the file again";
    EXPECT_EQ(table.CacheCount(), 64);
}

TEST_F(GTexFile, CrLfAndLfFilesGiveTheSameLines) {
    const std::vector<std::string> lines = {"head", "#A", "a0",          "",   "a\rmid", "#", "#B",
                                            "b0",   "#C", "#End_Of_Ovl", "#D", "d0"};
    std::string mixed;
    for (size_t i = 0; i < lines.size(); ++i)
        mixed += lines[i] + (i % 2 ? "\r\n" : "\n");
    struct Reading {
        std::vector<std::string> lineOf; // lines 0..6 of A, then 0..2 of B and C
        std::string multiA, multiB;
    };
    auto read = [&](const std::string& bytes) {
        cmcGTex table;
        table.SetFile(Write(bytes));
        Reading r;
        for (int n = 0; n < 7; ++n)
            r.lineOf.push_back(table.GetTextLine("A", n));
        for (const char* key : {"B", "C"})
            for (int n = 0; n < 3; ++n)
                r.lineOf.push_back(table.GetTextLine(key, n));
        r.multiA = GetMultiLineText(table, "A");
        r.multiB = GetMultiLineText(table, "B");
        ExpectFatal([&] { table.GetText("D"); }, "D");
        return r;
    };
    Reading lf = read(Join(lines, "\n"));
    EXPECT_EQ(lf.lineOf, (std::vector<std::string>{"a0", "", "a\rmid", "#", "#B", "b0", "#C", "b0", "#C",
                                                   "#End_Of_Ovl", "#End_Of_Ovl", "#D", "d0"}));
    EXPECT_EQ(lf.multiA, "a0\n\na\rmid");
    EXPECT_EQ(lf.multiB, "b0");
    for (const std::string& bytes : {Join(lines, "\r\n"), mixed}) {
        Reading other = read(bytes);
        EXPECT_EQ(other.lineOf, lf.lineOf);
        EXPECT_EQ(other.multiA, lf.multiA);
        EXPECT_EQ(other.multiB, lf.multiB);
    }
}

TEST_F(GTexFile, LastLineNeedsNoLineEnd) {
    cmcGTex table;
    table.SetFile(Write("#A\r\na0\r\n#B\r\nb0"));
    EXPECT_EQ(GetMultiLineText(table, "B"), "b0");
    EXPECT_EQ(GetMultiLineText(table, "A"), "a0");
}

std::string Pattern(size_t length) {
    std::string s(length, ' ');
    for (size_t i = 0; i < length; ++i)
        s[i] = static_cast<char>('a' + i % 26);
    return s;
}

TEST_F(GTexFile, OverlongLinesAreServedInPiecesOf8191Bytes) {
    constexpr size_t kMax = cmcGTex::kMaxLineBytes;
    for (size_t length : {kMax - 1, kMax, kMax + 1, 2 * kMax, 2 * kMax + 1, 20000ul}) {
        for (const char* eol : {"\n", "\r\n"}) {
            SCOPED_TRACE(testing::Message() << length << (eol[1] ? " CR LF" : " LF"));
            std::string longLine = Pattern(length);
            cmcGTex table;
            table.SetFile(Write(std::string("#K") + eol + longLine + eol + "#Next" + eol + "n0" + eol));
            std::vector<std::string> pieces;
            for (size_t at = 0; at < length; at += kMax)
                pieces.push_back(longLine.substr(at, kMax));
            for (size_t n = 0; n < pieces.size(); ++n)
                EXPECT_EQ(table.GetTextLine("K", static_cast<int>(n)), pieces[n]) << "piece " << n;
            EXPECT_EQ(table.GetTextLine("K", static_cast<int>(pieces.size())), "#Next");
            EXPECT_EQ(table.GetText("Next"), "n0");
        }
    }
}

TEST(GTexArray, OverlongLinesAreCut) {
    std::string longLine = Pattern(10000);
    const char* const lines[] = {"#K", longLine.c_str(), "after", "#End_Of_Ovl"};
    cmcGTex table;
    table.SetLines(lines);
    EXPECT_EQ(table.GetText("K"), longLine.substr(0, cmcGTex::kMaxLineBytes));
    EXPECT_EQ(table.GetTextLine("K", 1), "after");
    EXPECT_EQ(table.CacheCount(), 0) << "array lines need no cache";
}

// The array has nothing after its end line: any read there would overrun it.
TEST(GTexArray, NeverReadsPastItsEndLine) {
    static const char* const kLines[] = {"#A", "a", "#End_Of_Ovl"};
    cmcGTex table;
    table.SetLines(kLines);
    EXPECT_EQ(table.GetTextLine("A", 1), "#End_Of_Ovl");
    EXPECT_FALSE(table.TryGetTextLine("A", 2).has_value());
    ExpectFatal([&] { table.GetTextLine("A", 2); }, "A");
    EXPECT_EQ(table.TryGetTextLine("End_Of_Ovl", 0), std::nullopt);
    EXPECT_EQ(GetMultiLineText(table, "End_Of_Ovl"), "");
    ExpectFatal([&] { table.GetText("Z"); }, "Z");
}

TEST(GTexArray, WithoutAnEndLineItEndsAtItsNullEntry) {
    static const char* const kLines[] = {"#A", "a", "#B", "b", nullptr};
    cmcGTex table;
    table.SetLines(kLines);
    ExpectFatal([&] { table.GetText("Z"); }, "Z");
    EXPECT_EQ(GetMultiLineText(table, "B"), "b");
    ExpectFatal([&] { table.GetTextLine("B", 1); }, "B");
}

TEST_F(GTexFile, HelpTableFollowsTheSameRules) {
    // Never bound (a program without a help overlay): nothing to find, and nothing fatal.
    cmcHelpGTex help;
    EXPECT_EQ(help.GetText("Topic", 0), "");
    EXPECT_EQ(help.TryGetText("Topic", 0), std::nullopt);

    cmcHelpGTex bound;
    bound.SetFileName(
        Write("#Topics\r\nalpha\t10\r\nbeta\t20\r\n#\r\n#Other\r\nx\r\n#End_Of_Ovl\r\n#Late\r\n"));
    EXPECT_EQ(bound.GetText("Topics", 1), "beta\t20");
    EXPECT_EQ(bound.GetText("Topics", 0), "alpha\t10");
    EXPECT_EQ(bound.GetText("Topics", 2), "#");
    EXPECT_EQ(bound.GetText("Topics", 3), "#Other");
    ExpectFatal([&] { bound.GetText("Late", 0); }, "Late");
    ExpectFatal([&] { bound.GetText("topics", 0); }, "topics");
}

} // namespace
