// The channel sheets of the ten models with every channel column their class
// has, and values typed and picked into them with real keys, as a dealer
// sets a channel up.
#include "cells/CellEngine.h"
#include "image/BankSite.h"
#include "image/ImageLayout.h"
#include "image/datCh.h"
#include "tests/ui/KindsFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/ProgramPopupOpener.h"
#include "ui/cuiFlector.h"
#include "ui/cuiGrid.h"
#include "ui/iuiSh_ChBank.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using uitest::KindsFixture;

constexpr int32_t kModels = 10;

// The channel columns, by the name of their first entry, every class has.
const std::vector<std::string> kEveryClass = {
    "CL_Mch_Atr",          "CL_Mch_Inh",       "CL_Mch_FreqR",     "CL_Mch_FreqT",     "CL_Mch_TxInh",
    "CL_Mch_Nar",          "CL_Mch_CTone_R",   "CL_Mch_CTone_T",   "CL_Mch_Text",      "CL_Mch_Compander",
    "CL_Mch_PwrSave",      "CL_Mch_Tot",       "CL_Mch_RfPo",      "CL_Mch_Lockout",   "CL_Mch_Scan",
    "CL_Mch_AutoChScan",   "CL_Mch_AutoReset", "CL_Mch_Log",       "CL_Mch_Scan_Inc",  "CL_Mch_Scan_List",
    "CL_Mch_Scan_ListSel", "CL_Mch_Scrm_On",   "CL_Mch_Scrm_Type", "CL_Mch_Scrm_Code", "CL_Mch_Sql_Tight",
    "CL_Mch_Moni",         "CL_Mch_Sel",       "CL_Mch_Call",      "CL_Mch_PTT",       "CL_Mch_CH_Mute",
};

// What each class has besides, and the variant names its columns take.
struct ClassColumns {
    const char* name;
    std::vector<std::string> more;
    std::vector<std::string> variants; // suffixes, most particular first
};

const std::vector<std::string> kLmrFamily = {"CL_Mch_2Tone", "CL_Mch_RxCNo2", "CL_Mch_Mdc_System"};
const std::vector<std::string> kPmrFamily = {"CL_Mch_Form",  "CL_Mch_Rpt_C", "CL_Mch_Rpt_L",
                                             "CL_Mch_Stn_C", "CL_Mch_Stn_L", "CL_Mch_Id_C",
                                             "CL_Mch_Id_L",  "CL_Mch_Pos",   "CL_Mch_RxCNo"};

std::vector<std::string> Join(std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const ClassColumns kClasses[] = {
    {"LMR", kLmrFamily, {}},
    {"LTR",
     Join({kLmrFamily,
           {"CL_Grp_RxId", "CL_Grp_TxId", "CL_Grp_TxInh", "CL_Grp_HomeRptCh", "CL_Grp_PhonePriv",
            "CL_Grp_BlockIdEnable", "CL_Grp_BlockIdStart", "CL_Grp_BlockIdEnd", "CL_Mch_RxCNoDtmf",
            "CL_Mch_DtmfDec"}}),
     {"_Ltr"}},
    {"P25",
     Join({kLmrFamily,
           {"CL_Mch_Dig_Sig", "CL_Mch_RxNac", "CL_Mch_TxNac", "CL_Mch_Unit_Hex", "CL_Mch_Unit_Dec",
            "CL_Mch_TG_List", "CL_Mch_Fast_Mute", "CL_Mch_SQL_Type", "CL_Digi_Grp_Op_Strapped"}}),
     {"_Dig"}},
    {"PMR", Join({kPmrFamily, {"CL_Mch_Mdc_System"}}), {"_Pmr"}},
    {"PMR-Z",
     Join({kPmrFamily,
           {"CL_Mch_Msk_Sig", "CL_Mch_Msk_SendStatus", "CL_Mch_Msk_Rpt", "CL_Mch_Msk_Stn",
            "CL_Mch_Msk_RxCNo"}}),
     {"_Zuro", "_Pmr"}},
};

const char* const kAllVariants[] = {"_Pmr", "_Zuro", "_Ltr", "_Dig"};

class ChannelColumnsTest : public KindsFixture {
protected:
    iuiSh_ChBank& OpenBank(int32_t bank) {
        return Open<iuiSh_ChBank>("GI_Sheet_Mch_" + ModelKeySuffix(), "Bank " + std::to_string(bank));
    }
    // The grid row of the bank's first channel.
    static int FirstChannelRow(cuiSheet& sheet) {
        for (int r = 0; r < sheet.RowCount(); ++r)
            if (sheet.GetCell(0, r).cellId == CloningCellEngine().Vocabulary().CellIndex("CL_Mch_No"))
                return r;
        return -1;
    }
    // Lets released pop-ups go.
    static void Settle() {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Moves the cursor onto the cell, with the arrow keys as the user does.
    void MoveTo(cuiSheet& sheet, int col, int row) {
        for (int i = 0; i < 200 && Current().second < row; ++i)
            Key(Qt::Key_Down);
        for (int i = 0; i < 200 && Current().second > row; ++i)
            Key(Qt::Key_Up);
        for (int i = 0; i < 200 && Current().first < col; ++i)
            Key(Qt::Key_Right);
        for (int i = 0; i < 200 && Current().first > col; ++i)
            Key(Qt::Key_Left);
        ASSERT_EQ(Current(), std::make_pair(col, row)) << sheet.Name();
    }
    // Enter opens the list; a click on the item of that value picks it.
    void Pick(int32_t value) {
        Key(Qt::Key_Return);
        cuiFlector* list = popups_.LastOpened();
        ASSERT_NE(list, nullptr);
        cuiSheet& items = *list->Sheet();
        for (int r = 0; r < items.RowCount(); ++r)
            for (int c = 0; c < items.ColCount(); ++c)
                if (items.GetCell(c, r).flags & cmcCellObj::kFlagS && items.GetCell(c, r).index == value) {
                    QTest::mouseClick(items.Grid()->viewport(), Qt::LeftButton, {},
                                      items.Grid()->CellRect(c, r).center());
                    Settle();
                    return;
                }
        FAIL() << "no item " << value;
    }
    // Types the text: the first key opens the in-place editor, Enter commits it.
    void Type(cuiSheet& sheet, const QString& text) {
        QTest::keyClicks(sheet.Grid(), text.left(1));
        ASSERT_TRUE(sheet.EditorVisible());
        QTest::keyClicks(sheet.Editor(), text.mid(1));
        QTest::keyClick(sheet.Editor(), Qt::Key_Return);
        Settle();
    }

    ProgramPopupOpener popups_;
};

// Each class's sheet has every channel column of its class, each in the
// class's own variant where the engine has one and in no other class's,
// and nothing twice.
TEST_F(ChannelColumnsTest, EachModelClassHasItsColumnsInItsVariant) {
    const CellVocabulary& words = CloningCellEngine().Vocabulary();
    for (int32_t model = 0; model < kModels; ++model) {
        const ClassColumns& cls = kClasses[model % 5];
        SCOPED_TRACE(std::string(cls.name) + (model >= 5 ? " mobile" : " handheld"));
        LoadModel(model);
        FillBank(0, 2);
        iuiSh_ChBank& sheet = OpenBank(0);
        const int row = FirstChannelRow(sheet);
        ASSERT_GT(row, 0);
        std::vector<std::string> shown;
        for (int c = 1; c < sheet.ColCount(); ++c) {
            // Hidden columns of the other kind of bank count too.
            const cmcCellObj& cell = sheet.GetCell(c, row);
            if (CloningCellEngine().Cases().IsEmptyId(cell.cellId)) continue;
            shown.push_back(words.CellName(cell.cellId));
        }
        std::set<std::string> expected(kEveryClass.begin(), kEveryClass.end());
        expected.insert(cls.more.begin(), cls.more.end());
        std::set<std::string> columns;
        for (const std::string& name : shown) {
            std::string base = name;
            for (const char* v : kAllVariants)
                if (base.ends_with(v)) base.resize(base.size() - std::string(v).size());
            EXPECT_TRUE(columns.insert(base).second) << base << " twice";
            // The variant is the class's own, the most particular the engine has.
            std::string want = base;
            for (const std::string& v : cls.variants)
                if (words.FindCell(base + v)) {
                    want = base + v;
                    break;
                }
            EXPECT_EQ(name, want);
        }
        EXPECT_EQ(columns, expected);
        sheet_.reset();
    }
}

// Every column stands under a heading in the row above its caption: a
// heading cell or one that continues the heading on its left, so that a
// printed page never splits a group.
TEST_F(ChannelColumnsTest, ColumnsStandUnderTheirGroupsHeading) {
    for (int32_t model : {1, 2, 4}) {
        SCOPED_TRACE(model);
        LoadModel(model);
        FillBank(0, 1);
        iuiSh_ChBank& sheet = OpenBank(0);
        ASSERT_EQ(FirstChannelRow(sheet), 2) << "a heading row and a caption row";
        EXPECT_EQ(sheet.Grid()->FixedCols(), 1);
        EXPECT_EQ(sheet.Grid()->FixedRows(), 2);
        std::set<std::string> headings;
        for (int c = 1; c < sheet.ColCount(); ++c) {
            const cmcCellObj& head = sheet.GetCell(c, 0);
            if (head.layout & cmcCellObj::kLayoutPlus) continue;
            headings.insert(head.GetCaption());
        }
        EXPECT_GE(headings.size(), 5u);
        EXPECT_TRUE(headings.contains("Signalling"));
        EXPECT_TRUE(headings.contains("Scrambler"));
        sheet_.reset();
    }
}

// A value typed or picked in a column through the sheet's keys lands in its
// own bits of the image and changes nothing else.
TEST_F(ChannelColumnsTest, TypedAndPickedValuesLandInTheirBytes) {
    struct Case {
        int32_t model;
        const char* column;
        const char* typed;                      // typed text, or nullptr to pick
        int32_t picked;                         // the list value picked
        std::function<void(cmcEeprom&)> before; // the channel's state the column needs
        std::function<void(datCh&)> expect;     // the channel's fields after
    };
    const auto field = [](auto member, auto value) {
        return [member, value](datCh& ch) { ch.*member = value; };
    };
    // Channel 0 of the current model's kind, changed before the sheet opens.
    const auto channel = [](std::function<void(datCh&)> change) {
        return [change](cmcEeprom& image) {
            datCh ch(&image);
            const int32_t kind = ModelClassOf(gEnviron->ModelType);
            ch.Load(kind, 0);
            change(ch);
            ch.Store(kind, 0);
        };
    };
    const auto digital = channel([](datCh& ch) { ch.chS12Low2 = 1; });
    // A group of an LTR bank is there once it has its receive ID.
    const auto groupOfAnLtrBank = [receiveId = channel([](datCh& ch) { ch.grpRxId = 5; })](cmcEeprom& image) {
        SetBankFlagB(image, 0, 1);
        receiveId(image);
    };
    const auto nothing = [](cmcEeprom&) {};
    const Case cases[] = {
        {0, "CL_Mch_Compander", nullptr, 1, nothing, field(&datCh::chBitX3b4, true)},
        {5, "CL_Mch_Tot", nullptr, 1, nothing, field(&datCh::chBitX0b4, true)},
        {0, "CL_Mch_Mdc_System", nullptr, 2, nothing, field(&datCh::mdcSystem, uint8_t{2})},
        {1, "CL_Grp_BlockIdStart", "12", 0, groupOfAnLtrBank, field(&datCh::grpByte4, uint8_t{12})},
        {6, "CL_Mch_2Tone", nullptr, 3, nothing, field(&datCh::twoTone, 3)},
        {2, "CL_Mch_Dig_Sig", nullptr, 3, nothing, field(&datCh::chS12Low2, uint8_t{3})},
        {7, "CL_Digi_Grp_Op_Strapped", nullptr, 1, digital, field(&datCh::grpOpStrapped, true)},
        {2, "CL_Mch_Unit_Dec", "1234", 0, digital, field(&datCh::unitId, 1234)},
        {3, "CL_Mch_Pos", nullptr, 2, nothing, field(&datCh::pos, uint8_t{2})},
        {8, "CL_Mch_Id_L", nullptr, 1, nothing, field(&datCh::idL, true)},
        {4, "CL_Mch_Msk_Sig", nullptr, 1, nothing, field(&datCh::chX3b3, true)},
        {9, "CL_Mch_Form_Zuro", nullptr, 2, nothing, field(&datCh::formZuro, uint8_t{2})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.model) + " " + c.column);
        LoadModel(c.model);
        FillBank(0, 2);
        cmcEeprom& image = Doc().WorkingImage();
        c.before(image);
        iuiSh_ChBank& sheet = OpenBank(0);
        const int col = ColumnOf(sheet, FirstChannelRow(sheet), c.column);
        ASSERT_GT(col, 0);
        MoveTo(sheet, col, FirstChannelRow(sheet));
        const cmcEeprom was = image;
        if (c.typed)
            Type(sheet, QString::fromLatin1(c.typed));
        else
            Pick(c.picked);
        cmcEeprom expected = was;
        channel(c.expect)(expected);
        EXPECT_FALSE(image.IsEqual(was)) << "nothing stored";
        std::string differ;
        for (int32_t a = 0; a < image.GetSize(); ++a)
            if (image.GetByte(a) != expected.GetByte(a))
                differ += " " + std::to_string(a) + ": " + std::to_string(image.GetByte(a)) + " not " +
                          std::to_string(expected.GetByte(a));
        EXPECT_EQ(differ, "");
        sheet_.reset();
        Settle();
    }
}

// The two-tone transmit sheet's rows are the codes 1 to 10, and user tone
// 15's timings have a row of their own: typed into, they land in their bytes.
TEST_F(ChannelColumnsTest, TwoToneCodeTenAndUserToneFifteenTakeTypedValues) {
    LoadModel(0);
    {
        cuiSheet& sheet = Open<cuiSheet>("GI_Sheet_Set_TwoToneTx", "");
        const int last = sheet.RowCount() - 1;
        EXPECT_EQ(sheet.GetCell(1, 1).index, 1) << "the first row is code 1";
        EXPECT_EQ(sheet.GetCell(1, last).index, 10) << "the last row is code 10";
        const int col = ColumnOf(sheet, last, "CL_2TTx_Freq_1st");
        MoveTo(sheet, col, last);
        const cmcEeprom was = Doc().WorkingImage();
        Type(sheet, "1234.5");
        cmcEeprom expected = was;
        datCh code(&expected);
        code.Load(13, 10);
        code.ttTx1Freq = 12345;
        code.Store(13, 10);
        EXPECT_TRUE(Doc().WorkingImage().IsEqual(expected));
        sheet_.reset();
    }
    {
        cuiSheet& sheet = Open<cuiSheet>("GI_Sheet_Set_UserTone", "");
        const int last = sheet.RowCount() - 1;
        const int period = ColumnOf(sheet, last, "CL_UTone_TonePeriod");
        const int timer = ColumnOf(sheet, last, "CL_UTone_NotoneTimer");
        ASSERT_GT(period, 0);
        ASSERT_GT(timer, 0);
        EXPECT_EQ(sheet.GetCell(period, last).index, 15);
        MoveTo(sheet, period, last);
        const cmcEeprom was = Doc().WorkingImage();
        Type(sheet, "0.1");
        MoveTo(sheet, timer, last);
        Type(sheet, "0.2");
        cmcEeprom expected = was;
        expected.SetByte(95531, 100);
        expected.SetByte(95532, 20);
        EXPECT_TRUE(Doc().WorkingImage().IsEqual(expected));
        sheet_.reset();
    }
}

// The shortest run of ink pixels, across and down, in the rectangle of the
// picture: a radio-display dot drawn at two pixels or more leaves no run
// shorter than two. 0 when there is no ink at all.
int ShortestInkRun(const QImage& picture, const QRect& area) {
    int shortest = 0;
    // Along lines of the rectangle, across (x) or down (y).
    const auto along = [&](bool across) {
        const int lines = across ? area.height() : area.width();
        const int length = across ? area.width() : area.height();
        for (int l = 0; l < lines; ++l) {
            int run = 0;
            for (int i = 0; i <= length; ++i) {
                const QPoint at = across ? QPoint(area.left() + i, area.top() + l)
                                         : QPoint(area.left() + l, area.top() + i);
                if (i < length && qGray(picture.pixel(at)) < 100) {
                    ++run;
                } else if (run > 0) {
                    if (shortest == 0 || run < shortest) shortest = run;
                    run = 0;
                }
            }
        }
    };
    along(true);
    along(false);
    return shortest;
}

class ChannelColumnsOnScreenTest : public ChannelColumnsTest {
protected:
    void Name(int32_t row, const std::string& text) {
        testsupport::NameChannel(Doc().WorkingImage(), row, text);
    }
};

// The P25, PMR-Z and LTR sheets scrolled to their new columns, with the
// names in the radio's dots at two pixels a dot or more.
TEST_F(ChannelColumnsOnScreenTest, SheetsScrolledToTheirNewColumns) {
    const struct {
        int32_t model;
        bool ltrBank;
        bool largeGlyphs; // the display's other glyph form: a mobile's is 8 dots high
        const char* column;
        const char* picture;
    } cases[] = {
        {2, false, false, "CL_Digi_Grp_Op_Strapped", "channels-p25"},
        {4, false, false, "CL_Mch_Msk_RxCNo", "channels-pmrz"},
        {1, true, false, "CL_Mch_RxCNoDtmf", "channels-ltr"},
        {7, false, true, "CL_Mch_Unit_Dec", "channels-p25-mobile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture);
        LoadModel(c.model);
        SetBankFlagB(Doc().WorkingImage(), 0, c.ltrBank ? 1 : 0);
        cmcEeprom& image = Doc().WorkingImage();
        const uint8_t form = image.GetByte(layout::kDisplayForm);
        image.SetByte(layout::kDisplayForm,
                      c.largeGlyphs ? form | layout::kDisplayFormBit : form & ~layout::kDisplayFormBit);
        FillBank(0, 4);
        Name(0, "PUMP HOUSE");
        Name(1, "YARD 2");
        {
            datCh ch(&Doc().WorkingImage());
            ch.Load(ModelClassOf(c.model), 1);
            ch.scanMember = 0x1FFFF;
            ch.Store(ModelClassOf(c.model), 1);
        }
        host_.resize(1000, 420);
        iuiSh_ChBank& sheet = OpenBank(0);
        const int row = FirstChannelRow(sheet);
        const int name = ColumnOf(sheet, row, "CL_Mch_Text");
        MoveTo(sheet, name, row);
        const QImage atName = uitest::GrabOnScreen(host_, QString(c.picture) + "-name");
        const double ratio = atName.width() / static_cast<double>(host_.width());
        // The current cell is drawn in the highlight: the next row's name is in ink.
        QRect next = sheet.Grid()->CellRect(name, row + 1).adjusted(1, 1, -1, -1);
        next.moveTopLeft(sheet.Grid()->viewport()->mapTo(&host_, next.topLeft()));
        EXPECT_GE(ShortestInkRun(atName, QRect(next.topLeft() * ratio, next.size() * ratio)), 2);
        EXPECT_GE(sheet.Grid()->RowHeight(row), 2 * 8 + 2);
        // The scan lists of the second channel: their digits whole inside the cell.
        QRect scan = sheet.Grid()->CellRect(
            ColumnOf(sheet, row, IsModelPmrZ() ? "CL_Mch_Scan_Zuro" : "CL_Mch_Scan"), row + 1);
        if (!scan.isEmpty()) {
            scan.moveTopLeft(sheet.Grid()->viewport()->mapTo(&host_, scan.topLeft()));
            // Only what the grid shows of a cell at its right edge.
            scan &= QRect(sheet.Grid()->viewport()->mapTo(&host_, QPoint(0, 0)),
                          sheet.Grid()->viewport()->size());
            const QRect area = QRect(scan.topLeft() * ratio, scan.size() * ratio) & atName.rect();
            int top = -1, bottom = -1;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (qGray(atName.pixel(x, y)) < 100) {
                        if (top < 0) top = y;
                        bottom = y;
                    }
            EXPECT_GT(top, area.top() + 1) << "digits clipped at the top";
            EXPECT_LT(bottom, area.bottom() - 1);
        }
        MoveTo(sheet, ColumnOf(sheet, row, c.column), row);
        uitest::GrabOnScreen(host_, c.picture);
        EXPECT_GT(sheet.Grid()->LeftCol(), 1) << "scrolled to the column";
        sheet_.reset();
        Settle();
    }
}

// A name typed half way: each character shows in the editor as it is typed.
TEST_F(ChannelColumnsOnScreenTest, ANameTypedHalfWay) {
    LoadModel(7);
    FillBank(0, 2);
    Name(0, "OLD NAME");
    iuiSh_ChBank& sheet = OpenBank(0);
    const int row = FirstChannelRow(sheet);
    MoveTo(sheet, ColumnOf(sheet, row, "CL_Mch_Text"), row);
    QTest::keyClicks(sheet.Grid(), "P");
    QLineEdit* box = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->findChild<QLineEdit*>()) box = w->findChild<QLineEdit*>();
    ASSERT_NE(box, nullptr);
    for (const char* more : {"U", "M", "P", " "}) {
        QTest::keyClicks(box, more);
        EXPECT_TRUE(box->text().endsWith(QString::fromLatin1(more)));
    }
    EXPECT_EQ(box->text(), "PUMP ");
    uitest::GrabOnScreen(*box->window(), "channels-name-typing");
    QTest::keyClick(box, Qt::Key_Escape);
    Settle();
}

} // namespace
