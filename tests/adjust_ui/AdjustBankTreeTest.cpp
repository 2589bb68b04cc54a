// The adjustment program's channel memory in its tree: one node per bank
// under "Channel memory", captioned from the bank names of the data, each
// opening its bank's channel sheet for every model.
#include "adjust/AdjustRecords.h"
#include "adjust/AdjustVocabulary.h"
#include "adjust/ui/AdjustMain.h"
#include "cells/CellEngine.h"
#include "cells/TextConv.h"
#include "foundation/ModelClass.h"
#include "foundation/indEnviron.h"
#include "image/BankSite.h"
#include "tests/adjust/AdjustDocumentFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/TForm1.h"
#include "ui/cuiGrid.h"
#include "ui/cuiSheet.h"
#include "ui/iuiTree.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTreeWidget>

#include <string>
#include <vector>

namespace {

constexpr int32_t kBanks = 128;
constexpr int32_t kFilledBank = 2;
constexpr int32_t kFilledCount = 3;

class AdjustBankTreeTest : public adjtest::AdjustDocumentFixture {
protected:
    void Settle() {
        scheduler_.Advance(300);
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The bank nodes' captions that differ from the bank labels of the working image.
    std::vector<std::string> WrongCaptions(QTreeWidgetItem* memory) {
        std::vector<std::string> wrong;
        for (int32_t bank = 0; bank < memory->childCount(); ++bank) {
            const std::string shown = memory->child(bank)->text(0).toStdString();
            if (shown != FormatBankLabel(Doc().WorkingImage(), bank)) wrong.push_back(shown);
        }
        return wrong;
    }

    // Gives the bank count channels in use, each receiving on its own frequency.
    static int32_t RowFrequency(int32_t row) { return 150000000 + row * 12500; }
    void FillBank(int32_t bank, int32_t count) {
        cmcEeprom& image = Doc().WorkingImage();
        SetBankChannelCount(image, bank, count);
        const int32_t first = GetBankFirstChannel(image, bank);
        for (int32_t row = first; row < first + count; ++row) {
            // A fresh record: in use, every switch off.
            adj::datCh ch(&image);
            ch.rxFreq = ch.txFreq = static_cast<uint32_t>(RowFrequency(row));
            ch.Store(GetModelClass(), row);
        }
    }

    static int Column(cuiSheet& sheet, const char* cell) {
        const int32_t id = adj::AdjustCellVocabulary().CellIndex(cell);
        for (int c = 0; c < sheet.ColCount(); ++c)
            if (sheet.GetCell(c, sheet.FirstSelectableRow()).cellId == id) return c;
        return -1;
    }

    ScopedCellEngine engine_{adj::AdjustCellEngine()};
};

TEST_F(AdjustBankTreeTest, EveryModelsTreeOpensABanksChannelsFromItsNode) {
    StartAdjust();
    for (int32_t model = 0; model < 10; ++model) {
        SCOPED_TRACE("model " + std::to_string(model));
        gEnviron->ModelType = model;
        adj::indMain window(Doc());
        TForm1 form(window);
        form.resize(1000, 600);
        Settle();
        ASSERT_NE(window.Tree(), nullptr);
        QTreeWidget* view = window.Tree()->View();
        QTreeWidgetItem* memory = window.Tree()->FindNode("GI_Sheet_Memory_CH_Top");
        ASSERT_NE(memory, nullptr);
        ASSERT_EQ(memory->childCount(), kBanks);
        for (int32_t bank = 0; bank < kBanks; ++bank)
            ASSERT_EQ(iuiTree::BankOfNode(memory->child(bank)), bank);
        EXPECT_EQ(WrongCaptions(memory), std::vector<std::string>{}) << "after start-up";

        // New renames every bank node after the start-up data's names.
        memory->child(kFilledBank)->setText(0, QStringLiteral("stale"));
        ASSERT_EQ(Doc().NewFile(), 0);
        Settle();
        EXPECT_EQ(WrongCaptions(memory), std::vector<std::string>{}) << "after New";

        FillBank(kFilledBank, kFilledCount);
        const int32_t first = GetBankFirstChannel(Doc().WorkingImage(), kFilledBank);
        view->expandItem(memory);
        QTreeWidgetItem* node = memory->child(kFilledBank);
        view->scrollToItem(node);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(node).center());
        EXPECT_EQ(window.Sheet(), nullptr) << "the sheet waits for the change delay";
        Settle();
        cuiSheet* sheet = window.Sheet();
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->GetDefinition(), "[St_ChBank]GI_Sheet_Mch,Bank 2");
        // The header, the bank's channels and the empty row for a new one.
        ASSERT_EQ(sheet->RowCount(), 1 + kFilledCount + 1);
        const int rx = Column(*sheet, "CL_Mch_FreqR");
        ASSERT_GE(rx, 0);
        for (int32_t r = 0; r < kFilledCount; ++r)
            EXPECT_EQ(sheet->GetCell(rx, sheet->FirstSelectableRow() + r).index, first + r);
        // Two of them as the user sees them: a handheld and a P25 model.
        if (model == 0 || model == 2) {
            uitest::SavePicture(form.grab(), QStringLiteral("adjust-bank-sheet-%1").arg(model));
            sheet->SetCurrentCell(sheet->ColCount() - 1, sheet->FirstSelectableRow());
            QApplication::processEvents();
            uitest::SavePicture(form.grab(), QStringLiteral("adjust-bank-sheet-%1-right").arg(model));
        }

        // A receive frequency typed on the bank's second channel lands in its record.
        sheet->Grid()->setFocus();
        sheet->SetCurrentCell(rx, sheet->FirstSelectableRow() + 1);
        QTest::keyClick(sheet->Grid(), Qt::Key_1);
        ASSERT_TRUE(sheet->EditorVisible());
        QTest::keyClicks(sheet->Editor(), QStringLiteral("46.52"));
        QTest::keyClick(sheet->Editor(), Qt::Key_Return);
        const int32_t kind = GetModelClass();
        adj::datCh ch(&Doc().WorkingImage());
        EXPECT_EQ(ch.Load(kind, first + 1).rxFreq, 146520000u);
        EXPECT_EQ(ch.Load(kind, first).rxFreq, static_cast<uint32_t>(RowFrequency(first)));
        EXPECT_EQ(ch.Load(kind, first + 2).rxFreq, static_cast<uint32_t>(RowFrequency(first + 2)));
        window.CloseSheet();
        Settle();
    }
}

} // namespace

namespace {

// The tree's channel check marks the node the bank is opened from: a PMR-Z
// channel that selects no one is an error on its bank's node.
TEST_F(AdjustBankTreeTest, AChannelErrorMarksItsBanksNode) {
    StartAdjust();
    gEnviron->ModelType = 4;
    adj::indMain window(Doc());
    TForm1 form(window);
    Settle();
    QTreeWidgetItem* memory = window.Tree()->FindNode("GI_Sheet_Memory_CH_Top");
    ASSERT_NE(memory, nullptr);
    window.Tree()->View()->expandItem(memory);
    FillBank(kFilledBank, 1);
    Doc().CheckWarnings(nullptr, nullptr);
    Settle();
    EXPECT_EQ(cuiTree::OverlayOf(memory->child(kFilledBank)), cuiTree::kOverlayError);
    EXPECT_EQ(cuiTree::OverlayOf(memory->child(kFilledBank - 1)), -1);
}

} // namespace
