#include "adjust/AdjustVocabulary.h"
#include "cells/cmcCellObj.h"
#include "cells/indActiveCell.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"
#include "platform/Fatal.h"
#include "tests/image/ScopedModel.h"
#include "tests/support/ManualScheduler.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <string>

namespace {

std::string FatalText(const std::function<void()>& f) {
    try {
        f();
    } catch (const plat::FatalError& e) {
        return e.what();
    }
    return "(no fatal error)";
}

class AdjustVocabularyTest : public ::testing::Test {
protected:
    ScopedCellEngine engine_{adj::AdjustCellEngine()};
};

TEST_F(AdjustVocabularyTest, EmptyNamesAreNone) {
    EXPECT_EQ(indActiveCell::CategoryIndex(""), 27);
    EXPECT_EQ(indActiveCell::CellIndex(""), 1103);
    EXPECT_EQ(indActiveCell::CellName(1103), "");
    EXPECT_EQ(indActiveCell::CellName(-1), "");
    EXPECT_EQ(indActiveCell::CategoryInfo(27), 0);
    EXPECT_EQ(FatalText([] { indActiveCell::CategoryInfo(28); }), "Unknown Cell Category. (28)");
    EXPECT_EQ(FatalText([] { indActiveCell::CategoryIndex("CT_Ltr_Op"); }),
              "Cannot use the specified category.\n'CT_Ltr_Op'");
    EXPECT_EQ(FatalText([] { indActiveCell::CellIndex("CL_Mdc_Msg_RX"); }),
              "Cannot use the specified cell.\n'CL_Mdc_Msg_RX'");
}

TEST_F(AdjustVocabularyTest, TheIdsThePerCellFunctionSwitchesOn) {
    struct Case {
        const char* name;
        int32_t id;
    };
    const Case cases[] = {
        {"CL_Null", 0},
        {"Flex0", 1},
        {"CL_Menu_File_New", 8},
        {"CL_Menu_File_Open", 9},
        {"CL_Menu_View_Ad", 19},
        {"CL_Menu_View_Ad_Update", 20},
        {"CL_Model_Lmr", 27},
        {"CL_Model_ZuroPmr_Mob", 36},
        {"CL_Help_About", 37},
        {"CallSheet", 44},
        {"CL_PMenu_Edit", 84},
        {"CL_FBits", 105},
        {"CL_KDisp_Key_Conv_RightUp", 294},
        {"CL_KDisp_Key_Conv_DialCw", 298},
        {"CL_KDisp_Key_Conv_P0", 300},
        {"CL_KDisp_Key_SmTr_RightUp", 308},
        {"CL_KDisp_Key_SmTr_Opf2", 321},
        {"CL_CEdit", 442},
        {"CL_Select_TX_Code", 517},
        {"CL_Adjust_ChGrp", 669},
        {"CL_Adjust_Ref", 673},
        {"CL_Adjust_Ref_Bar", 674},
        {"CL_Adjust_BpfAll", 699},
        {"CL_Adjust_BpfT1", 701},
        {"CL_Adjust_MOD_M_H_Sweep", 790},
        {"CL_ADP_GAIN_LV6", 1050},
        {"CL_WinAD_BATTD", 1051},
        {"CL_WinAD_BATTV", 1053},
        {"CL_Maker_NOISD", 1054},
        {"CL_Maker_VOXTV", 1077},
        {"CL_WinAD_FRQCD", 1078},
        {"CL_WinAD_SQLV", 1101},
        {"CL_Dummy", 1102},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(indActiveCell::CellIndex(c.name), c.id) << c.name;
        EXPECT_EQ(indActiveCell::CellName(c.id), c.name) << c.id;
    }
    // Every label of the table answers its own position.
    std::set<std::string> names;
    for (int32_t id = 0; id < 1103; ++id) {
        const std::string name = indActiveCell::CellName(id);
        ASSERT_FALSE(name.empty()) << id;
        EXPECT_TRUE(names.insert(name).second) << name;
        if (name.find('[') == std::string::npos) {
            EXPECT_EQ(indActiveCell::CellIndex(name), id) << name;
        }
    }
}

TEST_F(AdjustVocabularyTest, EveryFamilyHoldsItsFixedIds) {
    // The families by id, as the per-cell function switches on them; a
    // reserved id (a name holding '[') may stand inside a family.
    struct Family {
        int32_t first, last;
        const char* prefix;
    };
    const Family families[] = {
        {0, 0, "CL_Null"},          {1, 7, "Flex"},
        {8, 26, "CL_Menu_"},        {27, 36, "CL_Model_"},
        {37, 38, "CL_Help_"},       {39, 43, "CL_Menu_"},
        {44, 44, "CallSheet"},      {45, 52, "CL_Check_"},
        {53, 65, "CL_CloneInfo_"},  {66, 82, "CL_EeDebugWin_"},
        {83, 93, "CL_PMenu_"},      {94, 98, "CL_Bank_"},
        {99, 104, "CL_Mch_"},       {105, 105, "CL_FBits"},
        {106, 108, "CL_Misc_"},     {109, 163, "CL_Mch_"},
        {164, 246, "CL_Msk_"},      {247, 281, "CL_Digi_"},
        {282, 284, "CL_Grp_"},      {285, 292, "CL_Rpt_"},
        {293, 293, "CL_Mch_"},      {294, 342, "CL_KDisp_"},
        {343, 357, "CL_SetM_"},     {358, 371, "CL_USetM_"},
        {372, 417, "CL_Comm_"},     {418, 441, "CL_Exp_"},
        {442, 442, "CL_CEdit"},     {443, 450, "CL_Dtmf_"},
        {451, 453, "CL_CTone_"},    {454, 457, "CL_ScanList_"},
        {458, 466, "CL_ScanComm_"}, {467, 489, "CL_2T"},
        {490, 509, "CL_5TRx_"},     {510, 516, "CL_5TTx_"},
        {517, 518, "CL_Select_"},   {519, 539, "CL_5TTx_"},
        {540, 546, "CL_UTone_"},    {547, 668, "CL_Maker_"},
        {669, 790, "CL_Adjust_"},   {791, 1050, "CL_ADP_"},
        {1051, 1053, "CL_WinAD_"},  {1054, 1077, "CL_Maker_"},
        {1078, 1101, "CL_WinAD_"},  {1102, 1102, "CL_Dummy"},
    };
    int32_t next = 0;
    for (const Family& f : families) {
        EXPECT_EQ(f.first, next) << f.prefix;
        next = f.last + 1;
        for (int32_t id = f.first; id <= f.last; ++id) {
            const std::string name = indActiveCell::CellName(id);
            EXPECT_TRUE(name.starts_with(f.prefix) || name.starts_with('[')) << id << " " << name;
        }
    }
    EXPECT_EQ(next, 1103);
    // Holes stand where the cloning program has its own.
    for (int32_t id : {63, 64, 587})
        EXPECT_TRUE(indActiveCell::CellName(id).starts_with('[')) << id;
}

TEST_F(AdjustVocabularyTest, TheActionCodesAreThePopupItemsLabels84To93) {
    const CellFrameNumbers::CommandCodes& c = adj::AdjustCellEngine().Numbers().commands;
    const int32_t codes[] = {c.run,   c.copy,       c.paste,      c.carryUp, c.carryDown,
                             c.clear, c.deleteRows, c.insertRows, c.help,    c.winCopy};
    const char* const items[] = {
        "CL_PMenu_Edit",  "CL_PMenu_Copy",   "CL_PMenu_Paste",  "CL_PMenu_CarryUp", "CL_PMenu_CarryDown",
        "CL_PMenu_Clear", "CL_PMenu_Delete", "CL_PMenu_Insert", "CL_PMenu_Help",    "CL_PMenu_WinCopy"};
    for (int32_t k = 0; k < 10; ++k) {
        EXPECT_EQ(codes[k], 84 + k) << items[k];
        EXPECT_EQ(indActiveCell::CellName(84 + k), items[k]);
    }
}

TEST_F(AdjustVocabularyTest, LabelsBeyondTheFixedTableLeaveTheEmptyLabelInPlace) {
    const CellVocabulary& v = adj::AdjustCellVocabulary();
    EXPECT_EQ(v.NoCell(), 1103);
    for (const char* name :
         {"CL_Mch_AreaBit", "CL_Mch_RxNac", "CL_Mch_TxNac", "CL_Digi_NacCh_RxNac", "CL_Digi_NacCh_TxNac",
          "CL_Digi_NacCh_Sel", "CL_ScanList_DispText", "CL_Grp_HomeRptCh", "CL_Rpt_AreaBit",
          "CL_ScanList_PwrSave", "CL_ScanComm_PwrOnScan", "CL_Mch_Unit_Hex", "CL_Maker_mPOWB1",
          "CL_Maker_mRSSISL"}) {
        const int32_t id = indActiveCell::CellIndex(name);
        EXPECT_GT(id, 1103) << name;
        EXPECT_LT(id, v.CellCount()) << name;
        EXPECT_EQ(indActiveCell::CellName(id), name);
    }
    // A fresh cell still carries the empty label, and the table has a slot for every id.
    EXPECT_EQ(cmcCellObj().cellId, 1103);
    const CellCaseTable& table = adj::AdjustCellEngine().Cases();
    EXPECT_EQ(table.Size(), v.CellCount());
    EXPECT_TRUE(table.IsEmptyId(1103));
    EXPECT_FALSE(table.IsEmptyId(1104));
    // The maker's parameter rows past the fixed table have no case.
    const int32_t last = indActiveCell::CellIndex("CL_Maker_mRSSISL");
    EXPECT_EQ(last, v.CellCount() - 1);
    EXPECT_FALSE(table.Has(last));
}

TEST_F(AdjustVocabularyTest, CategoriesAndTheirRecordKinds) {
    testimage::ScopedModel model(2); // P25 handheld: class 3
    struct Case {
        const char* name;
        int32_t id, kind;
    };
    const Case cases[] = {
        {"CT_Null", 0, 0},          {"CT_Mch", 2, 3},          {"CT_Mch_Check", 3, 3},
        {"CT_CEdit", 4, 8},         {"CT_2Tone_Code", 10, 15}, {"CT_UserTone", 12, 14},
        {"CT_MSK_IdGroup", 15, 18}, {"CT_DIG_NacCh", 24, 24},  {"CT_Rpt", 25, 25},
        {"CT_ADJ", 26, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(indActiveCell::CategoryIndex(c.name), c.id) << c.name;
        EXPECT_EQ(indActiveCell::CategoryInfo(c.id), c.kind) << c.name;
    }
}

TEST_F(AdjustVocabularyTest, OnlyFlagsZeroToFourAreRecognised) {
    struct Case {
        const char* definition;
        uint8_t flags;
    };
    const Case cases[] = {
        {"{(Flag0=1)}", 0x04}, {"{(Flag4=1)}", 0x40},          {"{(Flag5=1)}", 0x00},
        {"{(Flag7=1)}", 0x00}, {"{(Flag2=1)(Flag6=1)}", 0x10},
    };
    for (const Case& c : cases) {
        cmcCellObj cell;
        cell.Parse(c.definition, nullptr, nullptr);
        EXPECT_EQ(cell.flags, c.flags) << c.definition;
        EXPECT_EQ(cell.flags2, 0) << c.definition;
        EXPECT_EQ(cell.category, 27);
        EXPECT_EQ(cell.cellId, 1103);
    }
}

TEST_F(AdjustVocabularyTest, EveryNameInTheShippedOverlayResolves) {
    // Every category and cell name a definition of the overlay names.
    std::ifstream in(TOLVANE_BIN_DIR "/QT4411R.OVL");
    ASSERT_TRUE(in) << "the overlay is built beside the tests";
    const std::regex name(R"(\b(CT|CL)_[A-Za-z0-9_]+)");
    std::string line;
    int keys = 0;
    while (std::getline(in, line)) {
        if (line.starts_with('#')) {
            ++keys;
            continue;
        }
        for (auto it = std::sregex_iterator(line.begin(), line.end(), name); it != std::sregex_iterator();
             ++it) {
            const std::string n = it->str();
            if (n.starts_with("CT_"))
                EXPECT_NO_THROW(indActiveCell::CategoryIndex(n)) << n;
            else
                EXPECT_NO_THROW(indActiveCell::CellIndex(n)) << n;
        }
    }
    EXPECT_GT(keys, 40);
    // The keys this program reads itself.
    cmcGTex texts;
    texts.SetFile(TOLVANE_BIN_DIR "/QT4411R.OVL");
    for (const char* key :
         {"GI_Sys_AppTitle_ADJ", "GI_App_InitialFile", "GI_Sys_LockoutNewerData", "GI_AppUnitIdMax",
          "GI_AppMess_DataTooLarge", "GI_Mess_CloneErr5317_Head", "GI_Mess_Confirm_CloneWrite",
          "GI_AppMess_CloneErr_NoActualCh", "GI_Mess_DataError", "GI_AppMess_ChangeModel",
          "GI_Mess_Maker_Caution", "GI_Sys_MyHelpFile_ADJ"})
        EXPECT_NO_THROW(texts.GetText(key)) << key;
    EXPECT_EQ(texts.GetTextLine("GI_App_InitialFile", 9), "QT4411R_PmrZ_Mob.icf");
}

TEST_F(AdjustVocabularyTest, SiteRanges) {
    cmcEeprom image;
    image.SetSize(layout::kImageSize);
    image.SetByte(107210 + 5, 12);
    EXPECT_EQ(adj::GetSiteRange(image, 5), (adj::SiteRange{5, 0, 19, 12}));
    EXPECT_EQ(adj::GetSiteRange(image, 0), (adj::SiteRange{0, 0, 19, 0}));
    EXPECT_EQ(adj::GetSiteRange(image, 128), adj::SiteRange{});
    EXPECT_EQ(adj::GetSiteRange(image, -1), adj::SiteRange{});
    // Without a sheet to answer, the current site's range is all zero.
    plat::ManualScheduler scheduler;
    scheduler.Install();
    cmcEvMan bus;
    cmcEvMan* old = gEvMan;
    gEvMan = &bus;
    EXPECT_EQ(adj::GetCurrentSiteRange(image), adj::SiteRange{});
    bus.AddListener(
        [](void*, const cmcEvent& ev) {
            if (ev.type == evQuerySite) gEvMan->Answer(5, 0);
        },
        nullptr);
    EXPECT_EQ(adj::GetCurrentSiteRange(image), (adj::SiteRange{5, 0, 19, 12}));
    gEvMan = old;
}

} // namespace

namespace {

TEST(AdjustEngineTest, RowsFitByWhatTheProgramsPackingSpends) {
    // Room for one more channel of bank 0 by the adjustment program's costs
    // (58 bytes), which the cloning program's test would refuse.
    cmcEeprom image;
    image.SetSize(layout::kImageSize);
    image.SetWord(layout::kHdrEndAddress, static_cast<uint16_t>(layout::kDynamicEnd - 58));
    image.SetWord(layout::kHdrBlock3Address, static_cast<uint16_t>(layout::kDynamicEnd - 10));
    const FitsTest fits = adj::AdjustCellEngine().Numbers().fitsDynamicArea;
    EXPECT_EQ(fits(image, 2, 1, 0), 1);
    EXPECT_EQ(CloningCellEngine().Numbers().fitsDynamicArea(image, 2, 1, 0), 0);
    EXPECT_EQ(MaxFittingCount(image, 2, 5, 0, fits), 1);
}

} // namespace
