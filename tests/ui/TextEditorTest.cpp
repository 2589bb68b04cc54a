#include "cells/TextEscape.h"
#include "foundation/cmcEvMan.h"
#include "platform/QtText.h"
#include "tests/support/BankFill.h"
#include "tests/ui/EditorFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/cuiGrid.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>

using namespace uitest;

namespace {

// The channel sheet of the fixtures: channel n's name is column 4 of row n + 1.
constexpr int kNameCol = 4;

class TextEditorTest : public EditorFixture {
protected:
    void SetUp() override { Open("GI_Sheet_TChan"); }

    std::string Name(int32_t row = 0) {
        datCh ch(&Doc().WorkingImage());
        ch.Load(ModelClassOf(gEnviron->ModelType), row);
        return std::string(ch.name.begin(), ch.name.end());
    }
    void SetName(const std::string& bytes, int32_t row = 0) {
        testsupport::NameChannel(Doc().WorkingImage(), row, bytes);
    }
    cuiFText& Editor() {
        EXPECT_TRUE(editors_.text);
        return *editors_.text;
    }
    std::string EditText() { return plat::FromQString(Editor().EditBox()->text()); }
};

std::string Blanks(std::string text) {
    text.resize(12, ' ');
    return text;
}

TEST_F(TextEditorTest, OpensOnTheEscapedFieldOrOnTheTypedKeyAndStoresWhatItShows) {
    struct Case {
        const char* name;
        std::string field;
        int openKey;
        std::string shown;  // the edit box at opening
        bool allSelected;   // else the caret is at the end
        std::string typed;  // typed into the edit box before OK
        std::string stored; // the field after OK
    } cases[] = {
        {"percent doubled", "A%B", Qt::Key_Return, "A%%B", true, "", Blanks("A%B")},
        {"extra character escaped", "A\xB0", Qt::Key_Return, "A%B0", true, "", Blanks("A\xB0")},
        {"backspace opens like Enter", "AB", Qt::Key_Backspace, "AB", true, "Q", Blanks("Q")},
        {"a typed letter replaces the text", "NAME", Qt::Key_X, "x", false, "", Blanks("x")},
        {"typing goes on after the letter", "NAME", Qt::Key_X, "x", false, "yz", Blanks("xyz")},
        {"a percent that starts no escape stays", "", Qt::Key_Return, "", true, "%G1", Blanks("%G1")},
        {"an escape typed in is one byte", "", Qt::Key_Return, "", true, "%8A!", Blanks("\x8A!")},
        {"cut to the field width", "", Qt::Key_Return, "", true, "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetName(c.field);
        OpenAt(kNameCol, 1, c.openKey);
        ASSERT_TRUE(editors_.text);
        EXPECT_EQ(EditText(), c.shown);
        QLineEdit* box = Editor().EditBox();
        if (c.allSelected) {
            EXPECT_EQ(plat::FromQString(box->selectedText()), c.shown);
        } else {
            EXPECT_FALSE(box->hasSelectedText());
            EXPECT_EQ(box->cursorPosition(), static_cast<int>(c.shown.size()));
        }
        QTest::keyClicks(box, plat::ToQString(c.typed));
        QTest::mouseClick(Editor().OkButton(), Qt::LeftButton);
        Drain();
        EXPECT_FALSE(editors_.text);
        EXPECT_EQ(Name(), c.stored);
    }
}

TEST_F(TextEditorTest, APaletteDoubleClickInsertsTheEscapedByteAtTheCaret) {
    SetName("AB");
    OpenAt(kNameCol, 1);
    QLineEdit* box = Editor().EditBox();
    box->setCursorPosition(1);
    cuiSheet& palette = *Editor().Palette();
    // The palette's cells are bytes 16 to 255, sixteen to a row.
    const int col = 0x8A % 16;
    const int row = (0x8A - 16) / 16;
    EXPECT_EQ(palette.GetCell(col, row).index, 0x8A);
    palette.SetCurrentCell(col, row);
    const QPoint at = palette.Grid()->CellRect(col, row).center();
    QTest::mouseDClick(palette.Grid()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QApplication::processEvents();
    EXPECT_EQ(EditText(), "A%8AB");
    EXPECT_EQ(box->cursorPosition(), 4);
    EXPECT_EQ(Editor().Bytes(), "A\x8A"
                                "B");
    // Space on a palette cell inserts it too, a typed character itself;
    // Enter in the palette confirms.
    palette.SendEdit(0, 0, ' ', 0);
    EXPECT_EQ(EditText(), "A%8A%10B");
    palette.SendEdit(0, 0, '%', 0);
    EXPECT_EQ(EditText(), "A%8A%10%%B");
    EXPECT_TRUE(box->hasFocus() || QApplication::focusWidget() == box);
    palette.SendEdit(0, 0, cmcCellCapsule::kKeyEnter, 0);
    Drain();
    EXPECT_FALSE(editors_.text);
    EXPECT_EQ(Name(), Blanks("A\x8A\x10%B"));
}

TEST_F(TextEditorTest, ThePaletteHoldsBytes16To255AndNoLowerOne) {
    SetName("");
    OpenAt(kNameCol, 1);
    cuiSheet& palette = *Editor().Palette();
    std::vector<int> seen;
    const int32_t flex = Id("Flex0");
    for (int r = 0; r < palette.RowCount(); ++r)
        for (int c = 0; c < palette.ColCount(); ++c)
            if (palette.GetCell(c, r).cellId == flex) seen.push_back(palette.GetCell(c, r).index);
    ASSERT_EQ(seen.size(), 240u);
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], static_cast<int>(16 + i));
}

// At the field's width the box takes no more: the first characters stay,
// the ones past the width are refused as they are typed; an escape counts
// as the one byte it stands for, even while it is being typed.
TEST_F(TextEditorTest, TheEditBoxTakesNoCharacterPastTheFieldsWidth) {
    const struct {
        const char* typed;
        const char* box;
        std::string stored;
    } cases[] = {
        {"ABCDEFGHIJKLMNO", "ABCDEFGHIJKL", "ABCDEFGHIJKL"},
        {"ABCDEFGHIJK%B0Z", "ABCDEFGHIJK%B0", "ABCDEFGHIJK\xB0"},
        {"%%%%%%%%%%%%%%%%%%%%%%%%%%", "%%%%%%%%%%%%%%%%%%%%%%%%", std::string(12, '%')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        SetName("");
        OpenAt(kNameCol, 1);
        QLineEdit* box = Editor().EditBox();
        box->selectAll();
        QTest::keyClicks(box, QString::fromLatin1(c.typed));
        EXPECT_EQ(box->text().toStdString(), c.box);
        QTest::keyClick(box, Qt::Key_Return);
        Drain();
        EXPECT_EQ(Name(), c.stored);
    }
}

TEST_F(TextEditorTest, CancelEscAndTheGridGoingAwayNeverStore) {
    const std::vector<std::function<void(cuiFText&)>> ends = {
        [](cuiFText& e) { QTest::mouseClick(e.CancelButton(), Qt::LeftButton); },
        [](cuiFText& e) { QTest::keyClick(e.EditBox(), Qt::Key_Escape); },
        [this](cuiFText&) { gEvMan->Send(evObjectDestroyed, 0, reinterpret_cast<intptr_t>(&Grid())); },
    };
    for (size_t i = 0; i < ends.size(); ++i) {
        SCOPED_TRACE(i);
        SetName("KEEP");
        OpenAt(kNameCol, 1);
        QTest::keyClicks(Editor().EditBox(), "gone");
        ends[i](Editor());
        Drain();
        EXPECT_FALSE(editors_.text);
        // A click elsewhere afterwards stores nothing either.
        ClickElsewhere();
        EXPECT_EQ(Name(), Blanks("KEEP"));
    }
}

TEST_F(TextEditorTest, AClickElsewhereAndTheEndOfEditingStore) {
    const std::vector<std::function<void()>> ends = {
        [this] { ClickElsewhere(); },
        [] { gEvMan->Send(evEndEditing); },
    };
    for (size_t i = 0; i < ends.size(); ++i) {
        SCOPED_TRACE(i);
        SetName("OLD");
        OpenAt(kNameCol, 1);
        QTest::keyClicks(Editor().EditBox(), "NEW");
        ends[i]();
        Drain();
        EXPECT_FALSE(editors_.text);
        EXPECT_EQ(Name(), Blanks("NEW"));
    }
}

// The text form ends at a byte 0 to 15; storing it back unchanged would lose
// that byte and every byte after it.
TEST_F(TextEditorTest, ATextLeftUnchangedKeepsBytesTheTextFormCannotShow) {
    const std::string field = std::string("AB\x01", 3) + "C";
    const std::vector<std::function<void(cuiFText&)>> ends = {
        [](cuiFText& e) { QTest::mouseClick(e.OkButton(), Qt::LeftButton); },
        [](cuiFText& e) { QTest::keyClick(e.EditBox(), Qt::Key_Return); },
        [this](cuiFText&) { ClickElsewhere(); },
        [](cuiFText&) { gEvMan->Send(evEndEditing); },
    };
    for (size_t i = 0; i < ends.size(); ++i) {
        SCOPED_TRACE(i);
        SetName(field);
        const std::vector<uint8_t> before = ImageBytes();
        OpenAt(kNameCol, 1);
        EXPECT_EQ(EditText(), "AB");
        ends[i](Editor());
        Drain();
        EXPECT_FALSE(editors_.text);
        EXPECT_EQ(Changed(before, ImageBytes()), std::vector<int32_t>{});
        EXPECT_EQ(Name(), Blanks(field));
    }
}

TEST_F(TextEditorTest, ThePreviewPaintsTheBytesInTheRadiosCharacters) {
    SetName("");
    OpenAt(kNameCol, 1);
    QWidget* preview = Editor().Preview();
    auto darkPixels = [&] {
        const QImage shot = preview->grab().toImage();
        int dark = 0;
        for (int y = 2; y < shot.height() - 2; ++y)
            for (int x = 2; x < shot.width() - 2; ++x)
                dark += qGray(shot.pixel(x, y)) < 64;
        return dark;
    };
    EXPECT_EQ(darkPixels(), 0);
    QTest::keyClicks(Editor().EditBox(), "H");
    const int one = darkPixels();
    EXPECT_GT(one, 0);
    QTest::keyClicks(Editor().EditBox(), "H");
    EXPECT_GT(darkPixels(), one);
    uitest::SavePicture(Editor().Form()->grab(), "editors15-text");
}

} // namespace
