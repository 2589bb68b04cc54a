#include "cells/RadioFont.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcEvMan.h"
#include "image/cmcEeprom.h"
#include "tests/ui/EditorFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/cuiToolBar.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace uitest;

namespace {

// The fixture sheet's cell of user character 3.
constexpr int kCharCol = 2;
constexpr int kChar = 3;
// Where the image keeps user character n: handheld glyphs in the 49-byte
// bodies, mobile ones in the 24-byte heads.
constexpr int32_t kBodies = 94630;
constexpr int32_t kHeads = 94246;

struct DisplayType {
    const char* name;
    int32_t model; // 0 handheld, 5 mobile
    bool large;    // image byte 93824 bit 2
    int32_t width, height;
};
constexpr DisplayType kTypes[] = {
    {"handheld large", 0, true, 7, 19},
    {"handheld small", 0, false, 7, 32},
    {"mobile large", 5, true, 5, 8},
    {"mobile small", 5, false, 5, 17},
};

// The image byte and bit of dot (x, y) of user character n, from the layout
// the radio's glyphs have.
std::pair<int32_t, uint8_t> DotPlace(const DisplayType& t, int n, int x, int y) {
    if (t.model == 0 && t.large) return {kBodies + 49 * n + 3 * x + y / 8, uint8_t(0x80 >> (y % 8))};
    if (t.model == 0) return {kBodies + 49 * n + 21 + 4 * x + y / 8, uint8_t(0x80 >> (y % 8))};
    if (t.large) return {kHeads + 24 * n + x, uint8_t(1 << y)};
    return {kHeads + 24 * n + 6 + 3 * x + y / 8, uint8_t(1 << (y % 8))};
}

class GlyphEditorTest : public EditorFixture {
protected:
    void SetUp() override { Use(kTypes[2]); }

    // Makes the display type current with user character 3 empty.
    void Use(const DisplayType& t) {
        gEnviron->ModelType = t.model;
        cmcEeprom& image = Doc().WorkingImage();
        image.SetByte(kDisplayFlagsByte, t.large ? kLargeGlyphBit : 0);
        for (int32_t a = 0; a < 24; ++a)
            image.SetByte(kHeads + 24 * kChar + a, 0);
        for (int32_t a = 0; a < 49; ++a)
            image.SetByte(kBodies + 49 * kChar + a, 0);
        if (!sheet_) Open("GI_Sheet_TEdit");
    }
    void SetDot(const DisplayType& t, int x, int y) {
        const auto [address, mask] = DotPlace(t, kChar, x, y);
        cmcEeprom& image = Doc().WorkingImage();
        image.SetByte(address, image.GetByte(address) | mask);
    }

    cuiCEdit& OpenEditor() {
        OpenAt(kCharCol, 1);
        EXPECT_TRUE(editors_.glyph);
        return *editors_.glyph;
    }
    cuiCEdit& Editor() { return *editors_.glyph; }
    QPoint At(int x, int y) { return Editor().GetDotRect(x, y).center(); }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QWidget* grid = Editor().DotGrid();
        QMouseEvent event(type, at, grid->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(grid, &event);
    }
    // Presses at one place, moves to another and lets go there.
    void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonPress, from, button, button);
        Send(QEvent::MouseMove, to, Qt::NoButton, button);
        Send(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    }
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) { Drag(at, at, button); }
    void Tool(int32_t image) {
        for (QToolButton* button : Editor().ToolBar()->Buttons()) {
            const cmcCellObj* cell = cuiToolBar::CellOf(button);
            if (cell && cell->imageIndex == image) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        ADD_FAILURE() << "no tool button with image " << image;
    }
    std::set<std::pair<int, int>> DotsOn() {
        std::set<std::pair<int, int>> on;
        for (int y = 0; y < Editor().Height(); ++y)
            for (int x = 0; x < Editor().Width(); ++x)
                if (Editor().Dot(x, y)) on.insert({x, y});
        return on;
    }
    void Ok() {
        QTest::mouseClick(Editor().OkButton(), Qt::LeftButton);
        Drain();
    }
};

TEST_F(GlyphEditorTest, ALeftClickPaintsTheDotAndOkStoresExactlyItsBit) {
    for (const DisplayType& t : kTypes) {
        SCOPED_TRACE(t.name);
        Use(t);
        const cmcEeprom before = Doc().WorkingImage();
        OpenEditor();
        ASSERT_EQ(Editor().Width(), t.width);
        ASSERT_EQ(Editor().Height(), t.height);
        Click(At(2, 5));
        EXPECT_EQ(DotsOn(), (std::set<std::pair<int, int>>{{2, 5}}));
        const QImage shot = Editor().DotGrid()->grab().toImage();
        EXPECT_EQ(QColor(shot.pixel(At(2, 5))), QColor(Qt::black));
        EXPECT_EQ(QColor(shot.pixel(At(3, 5))),
                  Editor().IsUsable(3, 5) ? QColor(Qt::white) : QColor(0x80, 0x80, 0x80));
        uitest::SavePicture(Editor().Form()->grab(),
                            QString("editors15-glyph-%1").arg(QString(t.name).replace(' ', '-')));
        Ok();
        EXPECT_FALSE(editors_.glyph);
        const auto [address, mask] = DotPlace(t, kChar, 2, 5);
        for (int32_t a = 0; a < before.GetSize(); ++a) {
            const uint8_t expected = a == address ? uint8_t(before.GetByte(a) | mask) : before.GetByte(a);
            if (Doc().WorkingImage().GetByte(a) != expected) ADD_FAILURE() << "byte " << a;
        }
    }
}

TEST_F(GlyphEditorTest, TheEditorOpensOnTheStoredDotsInEachDisplayType) {
    for (const DisplayType& t : kTypes) {
        SCOPED_TRACE(t.name);
        Use(t);
        SetDot(t, 1, 0);
        SetDot(t, 0, 4);
        OpenEditor();
        EXPECT_EQ(DotsOn(), (std::set<std::pair<int, int>>{{1, 0}, {0, 4}}));
        QTest::mouseClick(Editor().CancelButton(), Qt::LeftButton);
        Drain();
    }
}

TEST_F(GlyphEditorTest, TheRightButtonErasesAndTheMiddleOneDoesNothing) {
    const DisplayType& t = kTypes[2];
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 8; ++y)
            SetDot(t, x, y);
    OpenEditor();
    Click(At(1, 1), Qt::RightButton);
    Click(At(2, 2), Qt::MiddleButton);
    Drag(At(3, 3), At(4, 4), Qt::MiddleButton);
    std::set<std::pair<int, int>> expected;
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 8; ++y)
            if (!(x == 1 && y == 1)) expected.insert({x, y});
    EXPECT_EQ(DotsOn(), expected);
    // The pen erases dot by dot along the drag: only where it went.
    Drag(At(0, 6), At(4, 6), Qt::RightButton);
    expected.erase({0, 6});
    expected.erase({4, 6});
    EXPECT_EQ(DotsOn(), expected);
    Tool(cuiCEdit::kImageRectangle);
    Drag(At(1, 2), At(2, 3), Qt::RightButton);
    for (int x = 1; x <= 2; ++x)
        for (int y = 2; y <= 3; ++y)
            expected.erase({x, y});
    EXPECT_EQ(DotsOn(), expected);
    Tool(cuiCEdit::kImagePen);
}

TEST_F(GlyphEditorTest, TheRectangleClampsToTheGlyphAndThePenIgnoresPositionsOutside) {
    OpenEditor();
    // Left of and above the first dot: outside, not dot 0.
    EXPECT_TRUE(Editor().HitTest(1, 10).outside);
    EXPECT_TRUE(Editor().HitTest(10, 0).outside);
    EXPECT_FALSE(Editor().HitTest(2, 2).outside);
    Click(QPoint(1, At(0, 0).y()));
    Click(QPoint(At(0, 0).x(), 1));
    Drag(At(0, 0), QPoint(-20, -20));
    Drag(At(1, 0), QPoint(-1, At(1, 0).y()));
    EXPECT_EQ(DotsOn(), (std::set<std::pair<int, int>>{{0, 0}, {1, 0}}));
    Tool(cuiCEdit::kImageRectangle);
    EXPECT_EQ(Editor().CurrentTool(), cuiCEdit::kRectangle);
    const QRect last = Editor().GetDotRect(4, 7);
    Drag(At(3, 5), QPoint(last.right() + 40, last.bottom() + 40));
    std::set<std::pair<int, int>> expected{{0, 0}, {1, 0}};
    for (int x = 3; x < 5; ++x)
        for (int y = 5; y < 8; ++y)
            expected.insert({x, y});
    EXPECT_EQ(DotsOn(), expected);
}

TEST_F(GlyphEditorTest, AShiftOfTwoMovesColumnsThreeAndFourToZeroAndOne) {
    const DisplayType& t = kTypes[2];
    SetDot(t, 3, 2);
    SetDot(t, 4, 6);
    OpenEditor();
    Tool(cuiCEdit::kImageShift);
    Drag(At(0, 0), At(2, 0));
    EXPECT_EQ(DotsOn(), (std::set<std::pair<int, int>>{{0, 2}, {1, 6}}));
    // A shift is a stroke like the others: the glyph stays shifted.
    Ok();
    const auto [a0, m0] = DotPlace(t, kChar, 0, 2);
    const auto [a1, m1] = DotPlace(t, kChar, 1, 6);
    EXPECT_EQ(Doc().WorkingImage().GetByte(a0), m0);
    EXPECT_EQ(Doc().WorkingImage().GetByte(a1), m1);
    EXPECT_EQ(Doc().WorkingImage().GetByte(DotPlace(t, kChar, 3, 0).first), 0);
    EXPECT_EQ(Doc().WorkingImage().GetByte(DotPlace(t, kChar, 4, 0).first), 0);
}

TEST_F(GlyphEditorTest, ClearAsksAndEmptiesTheGlyphOnlyOnOk) {
    const DisplayType& t = kTypes[2];
    for (const int answer : {plat::IDCANCEL, plat::IDOK}) {
        SCOPED_TRACE(answer);
        SetDot(t, 2, 3);
        OpenEditor();
        boxes_.Expect("cleared", answer);
        Tool(cuiCEdit::kImageClear);
        ASSERT_EQ(boxes_.Log().size(), 1u);
        EXPECT_EQ(boxes_.Log()[0].caption, gGTex->GetTextLine(RunningProfile().titleKey, 0));
        EXPECT_EQ(boxes_.Log()[0].flags, plat::MB_ICONWARNING | plat::MB_OKCANCEL);
        boxes_ = plat::ScriptedMessageBox();
        EXPECT_EQ(DotsOn().size(), answer == plat::IDOK ? 0u : 1u);
        Ok();
        EXPECT_EQ(Doc().WorkingImage().GetByte(DotPlace(t, kChar, 2, 3).first),
                  answer == plat::IDOK ? 0 : 0x08);
    }
}

TEST_F(GlyphEditorTest, OffDotsTheDisplayDoesNotShowAreGrey) {
    struct Case {
        int type;
        std::vector<std::pair<int, int>> usable, outside;
    } cases[] = {
        {0, {{0, 1}, {5, 17}}, {{6, 5}, {3, 0}, {3, 18}}},
        {1, {{0, 0}, {5, 31}}, {{6, 0}, {6, 31}}},
        {2, {{0, 1}, {4, 7}}, {{0, 0}, {4, 0}}},
        {3, {{0, 2}, {4, 13}}, {{0, 1}, {4, 14}, {2, 16}}},
    };
    for (const Case& c : cases) {
        const DisplayType& t = kTypes[c.type];
        SCOPED_TRACE(t.name);
        Use(t);
        OpenEditor();
        const QImage shot = Editor().DotGrid()->grab().toImage();
        for (auto [x, y] : c.usable) {
            EXPECT_TRUE(Editor().IsUsable(x, y)) << x << "," << y;
            EXPECT_EQ(QColor(shot.pixel(At(x, y))), QColor(Qt::white)) << x << "," << y;
        }
        for (auto [x, y] : c.outside) {
            EXPECT_FALSE(Editor().IsUsable(x, y)) << x << "," << y;
            EXPECT_EQ(QColor(shot.pixel(At(x, y))), QColor(0x80, 0x80, 0x80)) << x << "," << y;
        }
        QTest::mouseClick(Editor().CancelButton(), Qt::LeftButton);
        Drain();
    }
}

TEST_F(GlyphEditorTest, CancelAndTheGridGoingAwayStoreNothingAndTheMainWindowWaits) {
    const std::vector<std::function<void()>> ends = {
        [this] { QTest::mouseClick(Editor().CancelButton(), Qt::LeftButton); },
        [this] { QTest::keyClick(Editor().Form(), Qt::Key_Escape); },
        [this] { gEvMan->Send(evObjectDestroyed, 0, reinterpret_cast<intptr_t>(&Grid())); },
    };
    for (size_t i = 0; i < ends.size(); ++i) {
        SCOPED_TRACE(i);
        const cmcEeprom before = Doc().WorkingImage();
        OpenEditor();
        EXPECT_FALSE(host_.isEnabled());
        EXPECT_TRUE(Editor().Form()->isEnabled());
        Click(At(1, 1));
        ends[i]();
        Drain();
        EXPECT_FALSE(editors_.glyph);
        EXPECT_TRUE(host_.isEnabled());
        EXPECT_TRUE(Doc().WorkingImage().IsEqual(before));
    }
}

TEST_F(GlyphEditorTest, ThePreviewShowsTheGlyphFourPixelsADot) {
    OpenEditor();
    Click(At(1, 2));
    QWidget* preview = Editor().Preview();
    const QImage shot = preview->grab().toImage();
    const QRect on = Editor().GetPreviewDotRect(1, 2);
    const QRect off = Editor().GetPreviewDotRect(2, 2);
    EXPECT_EQ(on.size(), QSize(4, 4));
    EXPECT_EQ(QColor(shot.pixel(on.topLeft() + QPoint(1, 1))), QColor(Qt::black));
    EXPECT_EQ(QColor(shot.pixel(off.topLeft() + QPoint(1, 1))), QColor(Qt::white));
}

} // namespace
