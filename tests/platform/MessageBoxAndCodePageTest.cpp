#include "platform/CodePage.h"
#include "platform/Fatal.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(ScriptedMessageBox, AnswersInOrderAndRefusesUnexpectedBoxes) {
    ScriptedMessageBox boxes;
    ScopedMessageBoxes scope(&boxes);
    boxes.Expect("Save", IDYES).Expect("", IDCANCEL);
    EXPECT_EQ(ShowMessageBox("Save changes?", "QT4410R", MB_YESNOCANCEL | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(ShowMessageBox("anything", "QT4410R", MB_OKCANCEL), IDCANCEL);
    EXPECT_TRUE(boxes.Done());
    EXPECT_THROW(ShowMessageBox("one too many", "QT4410R", MB_OK), ScriptedMessageBox::Unexpected);
    ASSERT_EQ(boxes.Log().size(), 2u);
    EXPECT_EQ(boxes.Log()[0].flags, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION));
    boxes.Expect("Open", IDOK);
    EXPECT_THROW(ShowMessageBox("Close?", "QT4410R", MB_OK), ScriptedMessageBox::Unexpected);
}

TEST(Fatal, TestHandlerThrowsWithTheText) {
    EXPECT_THROW(Fatal("Out of cmcBuff element !"), FatalError);
    try {
        Fatal("GTEX Error !");
    } catch (const FatalError& e) {
        EXPECT_STREQ(e.what(), "GTEX Error !");
    }
    EXPECT_FALSE(ProgramFileName().empty());
    EXPECT_EQ(ProgramFileName().find('/'), std::string::npos);
}

TEST(CodePage, DefaultPageHasOnlySingleBytes) {
    const char text[] = "\x82\x2C,";
    EXPECT_EQ(ByteKindAt(text, 0), ByteKind::Single);
    EXPECT_EQ(ByteKindAt(text, 1), ByteKind::Single);
}

TEST(CodePage, DoubleBytePageClassifiesLeadAndTrailBytes) {
    DoubleByteCodePage sjis;
    SetCodePage(&sjis);
    const char text[] = "a\x82\x2C,\x82";
    EXPECT_EQ(ByteKindAt(text, 0), ByteKind::Single);
    EXPECT_EQ(ByteKindAt(text, 1), ByteKind::Lead);
    EXPECT_EQ(ByteKindAt(text, 2), ByteKind::Trail) << "a trail byte equal to ',' is no comma";
    EXPECT_EQ(ByteKindAt(text, 3), ByteKind::Single);
    EXPECT_EQ(ByteKindAt(text, 4), ByteKind::Single) << "a lead byte before the end is a byte of its own";
    SetCodePage(nullptr);
    EXPECT_EQ(CompareNoCase("C:\\Data\\File", "c:\\data\\FILE"), 0);
}
