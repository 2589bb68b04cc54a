#include "cells/cmcCellObj.h"
#include "platform/CodePage.h"
#include "tests/cells/CellTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using celltest::FatalText;
using celltest::ScopedOverlay;

namespace {

constexpr ColorValue kRed = 0x0000FF;
constexpr ColorValue kYellow = 0x00FFFF;

class CellObjTest : public ::testing::Test {
protected:
    // Parses one definition with the fixture's channel parameters and no parent.
    cmcCellObj Parsed(const std::string& definition, cmcCellObj* parent = nullptr) {
        cmcCellObj cell;
        cell.Parse(definition, ch_.data(), parent);
        return cell;
    }

    std::array<int32_t, cmcCellObj::kChParams> ch_{};
    ScopedOverlay overlay_{{
        "#CellModel_Sel",
        "S^(Color=clYellow)",
        "#CellModel_Outer",
        "W($Sel)!S",
        "#CellModel_Loop",
        "S($Loop)",
        "#CellModel_PingA",
        "($PingB)",
        "#CellModel_PingB",
        "B($PingA)",
        "#CellModel_Empty",
        "#End_Of_Ovl",
    }};
};

TEST_F(CellObjTest, NewCellHasTheDefaults) {
    cmcCellObj cell;
    EXPECT_EQ(cell.parent, nullptr);
    EXPECT_EQ(cell.chParams, nullptr);
    EXPECT_EQ(cell.GetAddress(), (CellAddress{30, 963, 0}));
    EXPECT_FALSE(cell.argument);
    EXPECT_EQ(cell.imageIndex, -1);
    EXPECT_EQ(cell.layout, 0);
    EXPECT_EQ(cell.flags, 0);
    EXPECT_EQ(cell.flags2, 0);
    EXPECT_EQ(cell.color, 0x80000005u);
    EXPECT_EQ(cell.font, nullptr);
    EXPECT_FALSE(cell.popupMenu);
    EXPECT_FALSE(cell.caption);
    EXPECT_EQ(cell.GetCaption(), "");
    EXPECT_EQ(cell.GetPopupMenu(), nullptr);
}

TEST_F(CellObjTest, AttributeLettersAndNegation) {
    cmcCellObj parent;
    parent.layout = cmcCellObj::kLayoutW | cmcCellObj::kLayoutB | 0x02;
    parent.flags = cmcCellObj::kFlagS | cmcCellObj::kFlagT;
    struct Case {
        const char* definition;
        uint8_t layout, flags;
    } cases[] = {
        {"", 0x92, 0x03},
        {"{<}", 0x90, 0x03},
        {"{^}", 0x91, 0x03},
        {"{>~}", 0x92, 0x03},
        {"{-}", 0x96, 0x03},
        {"{_}", 0x9A, 0x03},
        {"{_~}", 0x92, 0x03},
        {"{H+}", 0xF2, 0x03},
        {"{!W!B}", 0x02, 0x03},
        {"{!S}", 0x92, 0x02},
        {"{!T}", 0x92, 0x01},
        {"{!!S}", 0x92, 0x02},             // the second '!' is negated and negates again
        {"{!xS}", 0x92, 0x03},             // another character takes the negation
        {"{\\!S}", 0x92, 0x03},            // an escaped '!' does not negate
        {"{!\\xS}", 0x92, 0x02},           // a skipped character does not take it
        {"{!(Color=clRed)S}", 0x92, 0x03}, // the option takes it
        {"{!}{S}", 0x92, 0x02},            // groups are one attribute text
        {"{!S", 0x92, 0x02},               // an unclosed group runs to the end
        {"{Q?1S}", 0x92, 0x03},            // other characters are ignored
        {"{(Flag0=1 !S}", 0x92, 0x03},     // an unclosed option is dropped with the rest
    };
    for (const Case& c : cases) {
        cmcCellObj cell = Parsed(c.definition, &parent);
        EXPECT_EQ(cell.layout, c.layout) << c.definition;
        EXPECT_EQ(cell.flags, c.flags) << c.definition;
    }
}

TEST_F(CellObjTest, LettersSetWhatTheyNameWithoutAParent) {
    struct Case {
        const char* definition;
        uint8_t flags;
    } cases[] = {
        {"{S}", 0x01}, {"{!S}", 0x00}, {"{!(Color=clRed)S}", 0x01}, {"{\\!S}", 0x01}, {"{!TS}", 0x01}};
    for (const Case& c : cases)
        EXPECT_EQ(Parsed(c.definition).flags, c.flags) << c.definition;
}

TEST_F(CellObjTest, Options) {
    cmcCellObj parent;
    parent.flags = cmcCellObj::kFlag0 << 2; // Flag2
    parent.flags2 = cmcCellObj::kFlag7;
    parent.color = kYellow;
    struct Case {
        const char* definition;
        uint8_t flags, flags2;
        ColorValue color;
        int32_t imageIndex;
        const char* popupMenu; // null: none
    } cases[] = {
        {"", 0x10, 0x02, kYellow, -1, nullptr},
        {"{(Color=clRed)}", 0x10, 0x02, kRed, -1, nullptr},
        {"{(Color=clNoSuch)}", 0x10, 0x02, kYellow, -1, nullptr},
        {"{(ColorclRed)}", 0x10, 0x02, kYellow, -1, nullptr},
        {"{(ImageIndex=12)}", 0x10, 0x02, kYellow, 12, nullptr},
        {"{(ImageIndex 12)}", 0x10, 0x02, kYellow, -1, nullptr},
        {"{(PopupMenu=GI_PopupMenu_Mch)}", 0x10, 0x02, kYellow, -1, "GI_PopupMenu_Mch"},
        {"{(PopupMenu)}", 0x10, 0x02, kYellow, -1, nullptr},
        {"{(Flag0=1)}", 0x14, 0x02, kYellow, -1, nullptr},
        {"{(Flag5=1)}", 0x90, 0x02, kYellow, -1, nullptr},
        {"{(Flag2=0)}", 0x00, 0x02, kYellow, -1, nullptr},
        {"{(Flag6=1)}", 0x10, 0x03, kYellow, -1, nullptr},
        {"{(Flag7=0)}", 0x10, 0x00, kYellow, -1, nullptr},
        {"{(Flag8=1)}", 0x10, 0x02, kYellow, -1, nullptr},
        {"{(Flag1=2)}", 0x10, 0x02, kYellow, -1, nullptr},
        {"{(Flag1:1)}", 0x10, 0x02, kYellow, -1, nullptr},
        {"{(Nothing=1)}", 0x10, 0x02, kYellow, -1, nullptr},
        {"{($Sel)}", 0x11, 0x02, kYellow, -1, nullptr},
    };
    for (const Case& c : cases) {
        cmcCellObj cell = Parsed(c.definition, &parent);
        EXPECT_EQ(cell.flags, c.flags) << c.definition;
        EXPECT_EQ(cell.flags2, c.flags2) << c.definition;
        EXPECT_EQ(cell.color, c.color) << c.definition;
        EXPECT_EQ(cell.imageIndex, c.imageIndex) << c.definition;
        EXPECT_EQ(cell.popupMenu.value_or("(none)"), c.popupMenu ? c.popupMenu : "(none)") << c.definition;
    }
}

TEST_F(CellObjTest, ModelsAreReadInPlaceAndMayHoldModels) {
    cmcCellObj cell = Parsed("{>($Outer)T}");
    // Outer: W, then Sel (S, centre, yellow), then !S.
    EXPECT_EQ(cell.layout, cmcCellObj::kLayoutW | 1);
    EXPECT_EQ(cell.flags, cmcCellObj::kFlagT);
    EXPECT_EQ(cell.color, kYellow);
    // The same model twice in a row is no loop; a model without lines adds nothing.
    cmcCellObj twice = Parsed("{($Sel)($Sel)($Empty)}");
    EXPECT_EQ(twice.flags, cmcCellObj::kFlagS);
}

TEST_F(CellObjTest, ModelThatRefersBackToItselfIsFatal) {
    EXPECT_EQ(FatalText([&] { Parsed("{($Loop)}"); }),
              "The cell model refers back to itself.\n'CellModel_Loop'");
    EXPECT_EQ(FatalText([&] { Parsed("{($PingA)}"); }),
              "The cell model refers back to itself.\n'CellModel_PingA'");
}

TEST_F(CellObjTest, MissingModelIsTheTextTablesFatalError) {
    EXPECT_EQ(FatalText([&] { Parsed("{($Nope)}"); }),
              "GTEX Error !\nThe index 'CellModel_Nope' was not found.");
}

TEST_F(CellObjTest, FontOptionStartsFromTheParentsOwnFont) {
    cmcCellObj parent;
    parent.font = std::make_unique<FontDesc>();
    parent.font->face = "Courier New";
    parent.font->SetSize(10);

    cmcCellObj cell = Parsed("{(Font=,,clRed)}", &parent);
    ASSERT_NE(cell.font, nullptr);
    EXPECT_EQ(cell.font->face, "Courier New");
    EXPECT_EQ(cell.font->Size(), 10);
    EXPECT_EQ(cell.font->color, kRed);
    EXPECT_EQ(parent.font->color, FontDesc().color) << "the parent's font is not touched";

    // Without a parent font the cell's own starts as a default font; a second
    // option works on the same font.
    cmcCellObj own = Parsed("{(Font=,Arial)(Font=,,,,12)}");
    ASSERT_NE(own.font, nullptr);
    EXPECT_EQ(own.font->face, "Arial");
    EXPECT_EQ(own.font->Size(), 12);

    EXPECT_EQ(Parsed("A", &parent).font, nullptr) << "a parent's font is not copied without the option";
}

TEST_F(CellObjTest, CellReferences) {
    cmcCellObj parent;
    parent.category = 2;
    parent.index = 4;
    ch_[3] = 17;
    struct Case {
        const char* definition;
        CellAddress address;
        const char* argument; // null: none
    } cases[] = {
        {"{(%CT_Mch.CL_Mch_FreqR[5]:abc)}", {2, 127, 5}, "abc"},
        {"{(%CT_Rpt.CL_Rpt_FreqR)}", {26, 340, 4}, nullptr},
        {"{(%.)}", {30, 963, 4}, nullptr},
        {"{(%CL_Null)}", {2, 0, 4}, nullptr},
        {"{(%[7])}", {2, 963, 7}, nullptr},
        {"{(%Flex0[@ch3])}", {2, 1, 17}, nullptr},
        {"{(%Flex0[ -2 ])}", {2, 1, -2}, nullptr},
        {"{(%CL_Mch_No:1.5)}", {2, 124, 4}, "1.5"},
        {"{(%CT_BankOp.CL_Mch_No[1]:1.5)}", {13, 124, 1}, "1.5"},
        {"{(%Flex1:GI_Sheet_Sel.Pwr)}", {2, 2, 4}, "GI_Sheet_Sel.Pwr"},
        {"{(%CallSheet:a\\:b\\\\c\\)d)}", {2, 46, 4}, "a:b\\c)d"},
        {"{(%CallSheet:)}", {2, 46, 4}, ""},
    };
    for (const Case& c : cases) {
        cmcCellObj cell = Parsed(c.definition, &parent);
        EXPECT_EQ(cell.GetAddress(), c.address) << c.definition;
        EXPECT_EQ(cell.argument.value_or("(none)"), c.argument ? c.argument : "(none)") << c.definition;
    }
}

TEST_F(CellObjTest, UnknownNamesInAReferenceAreFatal) {
    struct Case {
        const char* definition;
        const char* text;
    } cases[] = {
        {"{(%CT_Nope.CL_Null)}", "Cannot use the specified category.\n'CT_Nope'"},
        {"{(%CL_Nope)}", "Cannot use the specified cell.\n'CL_Nope'"},
        {"{(%CL_Null.Flex0)}", "Cannot use the specified category.\n'CL_Null'"},
        {"{(%CT_Mch)}", "Cannot use the specified cell.\n'CT_Mch'"},
        {"{(%CL_Mch_No:1.5)}", "(no fatal error)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FatalText([&] { Parsed(c.definition); }), c.text) << c.definition;
}

TEST_F(CellObjTest, ChannelParameters) {
    ch_ = {0, 5, 0, 0, 0, 0, 0, 0, 0, 41};
    Parsed("{(@ch1++)(@ch2 = 42)(@ch3=\t-3)(@ch9 ++)(@ch4)}");
    EXPECT_EQ(ch_, (std::array<int32_t, 10>{0, 6, 42, -3, 0, 0, 0, 0, 0, 42}));
    // Later definitions see the changes: the array is the caller's.
    EXPECT_EQ(Parsed("{(@ch1++)(%Flex0[@ch1])}").index, 7);
}

TEST_F(CellObjTest, BadChannelParameterIsFatal) {
    const char* cases[] = {
        "{(@ch++)}",         "{(@ch12=3)}", "{(@chx=1)}", "{(%Flex0[@ch])}",
        "{(%Flex0[@ch10])}", "\\(@ch)",     "\\(ch1)",
    };
    for (const char* c : cases)
        EXPECT_EQ(FatalText([&] { Parsed(c); }), "Ch No. Error") << c;
    // No parameter array at all.
    for (const char* c : {"{(@ch1++)}", "{(%Flex0[@ch1])}", "A\\(@ch1)"}) {
        cmcCellObj cell;
        EXPECT_EQ(FatalText([&] { cell.Parse(c, nullptr, nullptr); }), "Ch No. Error") << c;
    }
}

TEST_F(CellObjTest, Captions) {
    ch_[1] = 5;
    ch_[2] = 1234567;
    ch_[3] = -70;
    struct Case {
        const char* definition;
        const char* caption; // null: none
        const char* rest;
    } cases[] = {
        {"x|y|z", "x", "y|z"},
        {"x\\|y", "x|y", ""},
        {" \t\x01 Freq \r", "Freq", ""},
        {"A\\nB\\NC", "A\nB\nC", ""},
        {"A\\_B", "A B", ""},
        {"\\{S}x", "x", ""}, // braces cannot be escaped: the group opens and the backslash escapes the x
        {"Ch\\(@ch1+2)", "Ch7", ""},
        {"Ch\\( @ch1 + 2 )!", "Ch7!", ""},
        {"\\(@ch1-2)", "3", ""},
        {"\\(@ch1)", "5", ""},
        {"\\(@ch2)", "123456", ""},
        {"\\(@ch3-99999)", "-10006", ""},
        {"Ch\\(@ch1", "Ch5", ""},
        {"\\x\\\\", "x\\", ""},
        {"{S}|rest", nullptr, "rest"},
        {"{S} ", nullptr, ""},
        {"", nullptr, ""},
        {"|", nullptr, ""},
        {"A{S}B", "AB", ""},
        {"A}B", "AB", ""},
    };
    for (const Case& c : cases) {
        cmcCellObj cell;
        std::string rest = cell.Parse(c.definition, ch_.data(), nullptr);
        EXPECT_EQ(rest, c.rest) << c.definition;
        EXPECT_EQ(cell.caption.value_or("(none)"), c.caption ? c.caption : "(none)") << c.definition;
    }
}

TEST_F(CellObjTest, DoubleByteCharactersAreNeverSpecial) {
    struct ScopedPage {
        plat::DoubleByteCodePage page;
        ScopedPage() { plat::SetCodePage(&page); }
        ~ScopedPage() { plat::SetCodePage(nullptr); }
    } scoped;
    // 0x7C '|', 0x7B '{', 0x5C '\' and 0x29 ')' as trail bytes of double-byte characters.
    cmcCellObj cell;
    std::string rest = cell.Parse("A\x83\x7C\x83\x7B\x83\x5C"
                                  "B|C",
                                  ch_.data(), nullptr);
    EXPECT_EQ(rest, "C");
    ASSERT_TRUE(cell.caption);
    EXPECT_EQ(*cell.caption, "A\x83\x7C\x83\x7B\x83\x5C"
                             "B");

    cmcCellObj ref;
    ref.Parse("{(%Flex0:\x83\x29\x83\x5C)}", ch_.data(), nullptr);
    ASSERT_TRUE(ref.argument);
    EXPECT_EQ(*ref.argument, "\x83\x29\x83\x5C");
}

TEST_F(CellObjTest, InheritsTheParentsValuesButNotItsFontOrMenu) {
    cmcCellObj parent;
    parent.category = 2;
    parent.cellId = 127;
    parent.index = 9;
    parent.argument = "arg";
    parent.imageIndex = 3;
    parent.layout = 0x41;
    parent.flags = 0x81;
    parent.flags2 = 0x02;
    parent.color = kRed;
    parent.font = std::make_unique<FontDesc>();
    parent.popupMenu = "GI_PopupMenu";
    parent.caption = "Parent";

    cmcCellObj cell;
    EXPECT_EQ(cell.Parse("{}|next", ch_.data(), &parent), "next");
    EXPECT_EQ(cell.parent, &parent);
    EXPECT_EQ(cell.chParams, nullptr) << "kept only while parsing";
    EXPECT_EQ(cell.GetAddress(), (CellAddress{2, 127, 9}));
    ASSERT_TRUE(cell.argument);
    EXPECT_EQ(*cell.argument, "arg");
    EXPECT_EQ(cell.imageIndex, 3);
    EXPECT_EQ(cell.layout, 0x41);
    EXPECT_EQ(cell.flags, 0x81);
    EXPECT_EQ(cell.flags2, 0x02);
    EXPECT_EQ(cell.color, kRed);
    EXPECT_EQ(cell.font, nullptr);
    EXPECT_FALSE(cell.popupMenu);
    ASSERT_NE(cell.GetPopupMenu(), nullptr);
    EXPECT_EQ(*cell.GetPopupMenu(), "GI_PopupMenu");
    EXPECT_FALSE(cell.caption) << "a definition without caption text clears the inherited one";

    cmcCellObj copy;
    EXPECT_EQ(copy.Parse("{(@ch1++)S(%CL_Null)}Own|next", ch_.data(), &parent, true), "next");
    EXPECT_EQ(copy.GetCaption(), "Parent") << "count-only keeps the parent's caption";
    EXPECT_EQ(copy.flags, 0x81);
    EXPECT_EQ(copy.cellId, 127);
    EXPECT_EQ(ch_[1], 0) << "count-only changes no channel parameter";
}

TEST_F(CellObjTest, WithoutParentCategoryAndIndexStay) {
    cmcCellObj cell;
    cell.Parse("{(%CT_Rpt.CL_Rpt_No[12]:a)>}Cap", ch_.data(), nullptr);
    cell.Parse("Other", ch_.data(), nullptr);
    EXPECT_EQ(cell.GetAddress(), (CellAddress{26, 963, 12}));
    EXPECT_FALSE(cell.argument);
    EXPECT_EQ(cell.layout, 0);
    EXPECT_EQ(cell.GetCaption(), "Other");
}

TEST_F(CellObjTest, ParsingALineCellByCell) {
    std::string rest = "{(%Flex0[1])}One|{(%Flex0[2])}Two|{(%Flex0[3])}Three";
    std::vector<std::string> captions;
    while (!rest.empty()) {
        cmcCellObj cell;
        rest = cell.Parse(rest, ch_.data(), nullptr);
        captions.push_back(cell.GetCaption() + "/" + std::to_string(cell.index));
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"One/1", "Two/2", "Three/3"}));
}

TEST_F(CellObjTest, AssignMakesADeepCopy) {
    cmcCellObj parent;
    cmcCellObj source =
        Parsed("{(%CT_Mch.CL_Mch_Text[3]:arg)(PopupMenu=GI_P)(Font=,Arial)S}Caption", &parent);
    cmcCellObj copy;
    copy.caption = "old";
    copy.Assign(source);
    EXPECT_EQ(copy.parent, &parent);
    EXPECT_EQ(copy.GetAddress(), source.GetAddress());
    EXPECT_EQ(copy.argument, source.argument);
    EXPECT_EQ(copy.popupMenu, source.popupMenu);
    EXPECT_EQ(copy.caption, source.caption);
    EXPECT_EQ(copy.flags, source.flags);
    ASSERT_NE(copy.font, nullptr);
    EXPECT_NE(copy.font.get(), source.font.get());
    EXPECT_EQ(*copy.font, *source.font);
    source.font->face = "Other";
    source.caption->append("!");
    EXPECT_EQ(copy.font->face, "Arial");
    EXPECT_EQ(copy.GetCaption(), "Caption");

    cmcCellObj plain;
    copy.Assign(plain);
    EXPECT_EQ(copy.font, nullptr);
    EXPECT_FALSE(copy.caption);
}

TEST_F(CellObjTest, PopupMenuIsTheFirstNonEmptyUpTheParents) {
    cmcCellObj grand, parent, cell;
    parent.parent = &grand;
    cell.parent = &parent;
    EXPECT_EQ(cell.GetPopupMenu(), nullptr);
    grand.popupMenu = "GI_Grand";
    parent.popupMenu = "";
    ASSERT_NE(cell.GetPopupMenu(), nullptr);
    EXPECT_EQ(*cell.GetPopupMenu(), "GI_Grand");
    cell.popupMenu = "GI_Own";
    EXPECT_EQ(*cell.GetPopupMenu(), "GI_Own");
}

TEST_F(CellObjTest, AddressAndCaptionAccessors) {
    cmcCellObj cell = Parsed("{(%CT_DTMF.CL_Dtmf_Code[15])}");
    CellAddress a;
    cell.GetAddress(a);
    EXPECT_EQ(a, (CellAddress{5, 523, 15}));
    EXPECT_EQ(cell.GetCaption(), "");
    cell.SetCaption("Code");
    EXPECT_EQ(cell.GetCaption(), "Code");
}

} // namespace
