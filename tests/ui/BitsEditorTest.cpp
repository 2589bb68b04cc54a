#include "cells/cmcCellObj.h"
#include "foundation/cmcEvMan.h"
#include "image/cmcEeprom.h"
#include "tests/ui/EditorFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/QtCellCanvas.h"
#include "ui/cuiGrid.h"

#include <QImage>
#include <QPainter>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace uitest;

namespace {

// The fixture sheet's scan-list cell of channel 0: lists 1 to 17, kind 3.
constexpr int kScanCol = 1;
// The editor's rows of labels and of check cells (an empty row above each).
constexpr int kLabelRow = 1;
constexpr int kCheckRow = 3;

class BitsEditorTest : public EditorFixture {
protected:
    void SetUp() override {
        SetScan(0);
        Open("GI_Sheet_TEdit");
    }

    uint32_t Scan() {
        datCh ch(&Doc().WorkingImage());
        ch.Load(ModelClassOf(gEnviron->ModelType), 0);
        return ch.scanMember;
    }
    void SetScan(uint32_t lists) { SetScanIn(Doc().WorkingImage(), lists); }
    static void SetScanIn(cmcEeprom& image, uint32_t lists) {
        datCh ch(&image);
        const int32_t kind = ModelClassOf(gEnviron->ModelType);
        ch.Load(kind, 0);
        ch.scanMember = lists;
        ch.Store(kind, 0);
    }
    // Scan list k (1..17) as the channel keeps it.
    static uint32_t List(int k) { return 1u << (17 - k); }

    cuiFBitsR& Editor() {
        EXPECT_TRUE(editors_.bits);
        return *editors_.bits;
    }
    // Column k's check cell, and its label above it.
    static int CheckCol(int k) { return 2 * k - 1; }
    void Click(int k, bool twice = false) {
        cuiGrid& grid = *Editor().Sheet()->Grid();
        const QPoint at = grid.CellRect(CheckCol(k), kCheckRow).center();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, at);
        if (twice) QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QApplication::processEvents();
    }
    void Space(int k) {
        cuiSheet& sheet = *Editor().Sheet();
        sheet.SetCurrentCell(CheckCol(k), kCheckRow);
        QTest::keyClick(sheet.Grid(), Qt::Key_Space);
        QApplication::processEvents();
    }
    // An editor over the scan cell with other labels, as another cell opens it.
    cuiFBitsR& OpenOver(int32_t value, int32_t first, int32_t last, int32_t kind) {
        OpenAt(kScanCol, 1);
        const cmcCellCapsule request = editors_.Log().back().request;
        QTest::mouseClick(Editor().CancelButton(), Qt::LeftButton);
        Drain();
        editors_.bits = new cuiFBitsR(CloningCellEngine(), request, *gGTex, value, first, last, kind, 1, "");
        QApplication::processEvents();
        return *editors_.bits;
    }
    std::vector<std::string> Labels(cuiFBitsR& e) {
        std::vector<std::string> labels;
        for (int k = 1; k <= e.Columns(); ++k)
            labels.push_back(e.Sheet()->GetCell(CheckCol(k), kLabelRow).GetCaption());
        return labels;
    }
};

TEST_F(BitsEditorTest, OkStoresExactlyTheTickedListsAndNothingElse) {
    OpenAt(kScanCol, 1);
    ASSERT_TRUE(editors_.bits);
    EXPECT_EQ(Editor().Columns(), 17);
    EXPECT_EQ(Labels(Editor())[2], "3");
    EXPECT_EQ(Labels(Editor())[9], "A");
    EXPECT_EQ(Labels(Editor())[16], "Z");
    Click(3, true);
    Space(10);
    Space(17);
    cmcEeprom expected = Doc().WorkingImage();
    SetScanIn(expected, List(3) | List(10) | List(17));
    QTest::mouseClick(Editor().OkButton(), Qt::LeftButton);
    Drain();
    EXPECT_FALSE(editors_.bits);
    EXPECT_EQ(Scan(), List(3) | List(10) | List(17));
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(expected));
}

TEST_F(BitsEditorTest, CancelEscAndTheGridGoingAwayWriteNothing) {
    const std::vector<std::function<void()>> ends = {
        [this] { QTest::mouseClick(Editor().CancelButton(), Qt::LeftButton); },
        [this] { QTest::keyClick(Editor().Sheet()->Grid(), Qt::Key_Escape); },
        [this] { gEvMan->Send(evObjectDestroyed, 0, reinterpret_cast<intptr_t>(&Grid())); },
    };
    for (size_t i = 0; i < ends.size(); ++i) {
        SCOPED_TRACE(i);
        SetScan(List(1));
        const cmcEeprom before = Doc().WorkingImage();
        OpenAt(kScanCol, 1);
        Space(2);
        Space(1);
        ends[i]();
        Drain();
        EXPECT_FALSE(editors_.bits);
        // Focus elsewhere after the end writes nothing either.
        ClickElsewhere();
        EXPECT_TRUE(Doc().WorkingImage().IsEqual(before));
    }
}

TEST_F(BitsEditorTest, AClickElsewhereAndTheEndOfEditingCommit) {
    const std::vector<std::function<void()>> ends = {
        [this] { ClickElsewhere(); },
        [] { gEvMan->Send(evEndEditing); },
    };
    for (size_t i = 0; i < ends.size(); ++i) {
        SCOPED_TRACE(i);
        SetScan(0);
        OpenAt(kScanCol, 1);
        Space(5);
        ends[i]();
        Drain();
        EXPECT_FALSE(editors_.bits);
        EXPECT_EQ(Scan(), List(5));
    }
}

TEST_F(BitsEditorTest, LabelsAndSpacersOfTheBuiltInSheet) {
    struct Case {
        int32_t first, last, kind;
        std::vector<std::string> labels;
    } cases[] = {
        {1, 8, 0, {"1", "2", "3", "4", "5", "6", "7", "8"}},
        {1, 10, 2, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}},
        {0,
         17,
         3,
         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F", "G", "Z"}},
        {0, 3, 6, {"B3", "B2", "B1", "B0"}},
        {1, 5, 5, {"RMC", "GGA", "GLL", "GSA", "VTG"}},
    };
    const int32_t fbits = Id("CL_FBits");
    const int32_t spacer = Id("CL_Misc_QuarterPillar");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        cuiFBitsR& e = OpenOver(0, c.first, c.last, c.kind);
        EXPECT_EQ(e.DefinitionLines().size(), 32u);
        EXPECT_EQ(Labels(e), c.labels);
        cuiSheet& sheet = *e.Sheet();
        int checks = 0, spacers = 0;
        for (int col = 0; col < sheet.ColCount(); ++col) {
            const cmcCellObj& cell = sheet.GetCell(col, kCheckRow);
            if (cell.cellId == fbits) {
                ++checks;
                EXPECT_EQ(cell.index, (col + 1) / 2);
            }
            spacers += cell.cellId == spacer;
        }
        EXPECT_EQ(checks, static_cast<int>(c.labels.size()));
        EXPECT_EQ(spacers, checks - 1);
        QTest::mouseClick(e.CancelButton(), Qt::LeftButton);
        Drain();
    }
}

TEST_F(BitsEditorTest, AFourthSentenceGreysOkAndMarksTheTickedCells) {
    cuiFBitsR& e = OpenOver(0, 1, 5, 5);
    auto errorAt = [&](int k) {
        QImage image(40, 40, QImage::Format_RGB32);
        QPainter painter(&image);
        QtCellCanvas canvas(painter, QPalette(), QFont());
        cmcCellCapsule request;
        e.Sheet()->PrepareRequest(CheckCol(k), kCheckRow, request);
        request.canvas = &canvas;
        e.CellCallback(request, 0);
        return request.markFlags.error;
    };
    for (int k = 1; k <= 3; ++k)
        Space(k);
    EXPECT_TRUE(e.OkButton()->isEnabled());
    EXPECT_FALSE(errorAt(1));
    Space(4);
    EXPECT_FALSE(e.OkButton()->isEnabled());
    EXPECT_TRUE(errorAt(1));
    EXPECT_TRUE(errorAt(4));
    EXPECT_FALSE(errorAt(5));
    uitest::SavePicture(Editor().Form()->grab(), "editors15-bits-sentences");
    Space(2);
    EXPECT_TRUE(e.OkButton()->isEnabled());
    EXPECT_FALSE(errorAt(1));
    // A click elsewhere confirms even while OK is greyed.
    Space(5);
    Space(2);
    EXPECT_FALSE(e.OkButton()->isEnabled());
    const int32_t value = e.Value();
    EXPECT_EQ(value, (1 << 25) | (1 << 24) | (1 << 23) | (1 << 22) | (1 << 21));
    ClickElsewhere();
    EXPECT_FALSE(editors_.bits);
    EXPECT_EQ(Scan(), List(1) | List(2) | List(3) | List(4) | List(5));
}

TEST_F(BitsEditorTest, SpaceOnALabelOrSpacerChangesNothing) {
    OpenAt(kScanCol, 1);
    cuiSheet& sheet = *Editor().Sheet();
    sheet.SendEdit(CheckCol(3), kLabelRow, ' ', 0);
    sheet.SendEdit(CheckCol(3) + 1, kCheckRow, ' ', 0);
    sheet.SendEdit(CheckCol(3), kLabelRow, cmcCellCapsule::kKeyMouseChoice, 0);
    EXPECT_EQ(Editor().Value(), 0);
    QTest::mouseClick(Editor().OkButton(), Qt::LeftButton);
    Drain();
    EXPECT_EQ(Scan(), 0u);
}

// A word has 26 columns: a wider field shows its first 26, the last of them
// bit 0, and no column names a bit below it.
TEST_F(BitsEditorTest, AtMost26ColumnsTheLastOneBitZero) {
    cuiFBitsR& e = OpenOver(0, 1, 32, 0);
    EXPECT_EQ(e.Columns(), 26);
    EXPECT_EQ(Labels(e).back(), "26");
    Space(26);
    EXPECT_EQ(e.Value(), 1);
    Space(1);
    EXPECT_EQ(e.Value(), (1 << 25) | 1);
    QTest::mouseClick(e.CancelButton(), Qt::LeftButton);
    Drain();
}

TEST_F(BitsEditorTest, TheCheckMarkIsDrawnInTheTickedCells) {
    SetScan(List(2));
    Sheet().Grid()->viewport()->update();
    OpenAt(kScanCol, 1);
    cuiGrid& grid = *Editor().Sheet()->Grid();
    // Away from the current cell, which is drawn highlighted.
    Editor().Sheet()->SetCurrentCell(CheckCol(5), kCheckRow);
    QApplication::processEvents();
    const QImage shot = grid.viewport()->grab().toImage();
    auto inkIn = [&](int k) {
        const QRect r = grid.CellRect(CheckCol(k), kCheckRow);
        int ink = 0;
        for (int y = r.top() + 1; y < r.bottom(); ++y)
            for (int x = r.left() + 1; x < r.right(); ++x)
                ink += qGray(shot.pixel(x, y)) < 96;
        return ink;
    };
    EXPECT_GT(inkIn(2), 10);
    EXPECT_EQ(inkIn(3), 0);
    uitest::SavePicture(Editor().Form()->grab(), "editors15-bits");
}

} // namespace
