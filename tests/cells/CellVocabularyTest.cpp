#include "cells/CellVocabulary.h"
#include "cells/CellEngine.h"
#include "cells/CellIds.h"
#include "cells/cmcCellObj.h"
#include "cells/indActiveCell.h"
#include "foundation/Globals.h"
#include "foundation/indEnviron.h"
#include "platform/Fatal.h"
#include "tests/image/ScopedModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <span>
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

TEST(CellVocabulary, CellNamesAndIdsBothWays) {
    struct Case {
        const char* name;
        int32_t id;
    } cases[] = {
        {"CL_Null", 0},
        {"Flex0", 1},
        {"FlexCHSelNum", 11},
        {"CL_Menu_File_New", 12},
        {"CallSheet", 46},
        {"CL_CloneInfo_CheckSum", 65},
        {"CL_CloneInfo_Dummy", 68},
        {"CL_FBits", 120},
        {"CL_Mch_No", 124},
        {"CL_Mch_SQL_Type", 200},
        {"CL_Mch_AreaBit", 348},
        {"CL_CEdit", 521},
        {"CL_2TTx_Freq_1st", 599},
        {"CL_Maker_ClShift", 700},
        {"CL_Maker_RollStart_RX", 702},
        {"CL_Maker_mRSSISL", 810},
        {"CL_Mdc_General_Log_Action_Type", 961},
        {"CL_Check_MDC_Status", 962},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(indActiveCell::CellIndex(c.name), c.id) << c.name;
        EXPECT_EQ(indActiveCell::CellName(c.id), c.name) << c.id;
    }
}

TEST(CellVocabulary, EveryIdHasADistinctNameThatLeadsBack) {
    std::set<std::string> seen;
    for (int32_t id = 0; id < 963; ++id) {
        std::string name = indActiveCell::CellName(id);
        ASSERT_FALSE(name.empty()) << id;
        EXPECT_TRUE(seen.insert(name).second) << name;
        EXPECT_EQ(indActiveCell::CellIndex(name), id) << name;
    }
}

TEST(CellVocabulary, IdsWithoutASettingHaveNamesNoDefinitionCanSpell) {
    // A cell name in a definition ends at the first '[' or ':'.
    for (int32_t id : {66, 67, 701}) {
        std::string name = indActiveCell::CellName(id);
        EXPECT_NE(name.find('['), std::string::npos) << name;
    }
}

TEST(CellVocabulary, NoneIsTheEmptyName) {
    EXPECT_EQ(indActiveCell::CategoryIndex(""), 30);
    EXPECT_EQ(indActiveCell::CellIndex(""), 963);
    EXPECT_EQ(indActiveCell::CellName(963), "");
    EXPECT_EQ(indActiveCell::CellName(-1), "");
    EXPECT_EQ(CloningCellVocabulary().CategoryName(30), "");
}

TEST(CellVocabulary, UnknownNamesAreFatal) {
    EXPECT_EQ(FatalText([] { indActiveCell::CategoryIndex("CT_Nothing"); }),
              "Cannot use the specified category.\n'CT_Nothing'");
    EXPECT_EQ(FatalText([] { indActiveCell::CellIndex("CL_Nothing"); }),
              "Cannot use the specified cell.\n'CL_Nothing'");
    // Names are case-sensitive.
    EXPECT_EQ(FatalText([] { indActiveCell::CellIndex("cl_null"); }),
              "Cannot use the specified cell.\n'cl_null'");
}

TEST(CellVocabulary, CategoryAndCellNamesNeverAnswerForEachOther) {
    // Both vocabularies are in use, in either order, before the cross lookups.
    indActiveCell::CellIndex("CL_Mch_FreqR");
    indActiveCell::CategoryIndex("CT_Mch");
    EXPECT_EQ(FatalText([] { indActiveCell::CategoryIndex("CL_Null"); }),
              "Cannot use the specified category.\n'CL_Null'");
    EXPECT_EQ(FatalText([] { indActiveCell::CategoryIndex("CL_Mch_FreqR"); }),
              "Cannot use the specified category.\n'CL_Mch_FreqR'");
    EXPECT_EQ(FatalText([] { indActiveCell::CellIndex("CT_Mch"); }),
              "Cannot use the specified cell.\n'CT_Mch'");
    EXPECT_EQ(FatalText([] { indActiveCell::CellIndex("CT_Null"); }),
              "Cannot use the specified cell.\n'CT_Null'");
}

class CategoryTest : public ::testing::Test {
protected:
    testimage::ScopedModel model_{0};
    indEnviron& env_ = model_.Env();
};

TEST_F(CategoryTest, NamesIdsAndRecordKinds) {
    struct Case {
        const char* name;
        int32_t id;
        int32_t kind;
    } cases[] = {
        {"CT_Null", 0, 0},
        {"CT_PopupMenu", 1, 0},
        {"CT_Mch", 2, 1},
        {"CT_Mch_Check", 3, 1},
        {"CT_CEdit", 4, 6},
        {"CT_DTMF", 5, 7},
        {"CT_Scan", 6, 8},
        {"CT_CTone", 7, 9},
        {"CT_RX_Code", 8, 10},
        {"CT_TX_Code", 9, 11},
        {"CT_2Tone_Code", 10, 13},
        {"CT_2ToneTX_Common", 11, 14},
        {"CT_UserTone", 12, 12},
        {"CT_BankOp", 13, 15},
        {"CT_MSK_AdrRange", 14, 0},
        {"CT_MSK_IdGroup", 15, 16},
        {"CT_MSK_CallList", 16, 17},
        {"CT_MSK_Msg_Status", 17, 18},
        {"CT_MSK_Msg_ShortTxt", 18, 19},
        {"CT_MSK_TimingErr", 19, 0},
        {"CT_MSK_Cfg", 20, 0},
        {"CT_DIG_Inv", 21, 20},
        {"CT_DIG_Tg", 22, 21},
        {"CT_DIG_Op", 23, 0},
        {"CT_DIG_NacCh", 24, 22},
        {"CT_DIG_Status", 25, 23},
        {"CT_Rpt", 26, 24},
        {"CT_Ltr_Op", 27, 0},
        {"CT_DTMF_Rx", 28, 25},
        {"CT_MDC_Alias", 29, 26},
    };
    env_.ModelType = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(indActiveCell::CategoryIndex(c.name), c.id) << c.name;
        EXPECT_EQ(CloningCellVocabulary().CategoryName(c.id), c.name);
        EXPECT_EQ(indActiveCell::CategoryInfo(c.id), c.kind) << c.name;
    }
    EXPECT_EQ(indActiveCell::CategoryInfo(30), 0);
}

TEST_F(CategoryTest, ChannelCategoriesFollowAModelChangeAtOnce) {
    struct Case {
        int32_t model;
        int32_t kind;
    } cases[] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 1}, {9, 5}};
    for (const Case& c : cases) {
        env_.ModelType = c.model;
        EXPECT_EQ(indActiveCell::CategoryInfo(2), c.kind) << c.model;
        EXPECT_EQ(indActiveCell::CategoryInfo(3), c.kind) << c.model;
        EXPECT_EQ(indActiveCell::CategoryInfo(26), 24);
    }
}

TEST(CellVocabulary, CategoryInfoOutsideTheTableIsFatal) {
    EXPECT_EQ(FatalText([] { indActiveCell::CategoryInfo(31); }), "Unknown Cell Category. (31)");
    EXPECT_EQ(FatalText([] { indActiveCell::CategoryInfo(-1); }), "Unknown Cell Category. (-1)");
}

TEST(CellVocabulary, TheInstalledEnginesVocabularyGivesCellsTheirNoneIds) {
    static const CellVocabulary::Category categories[] = {{"CT_Null", 0}, {"CT_ADJ", 0}};
    static const char* const cells[] = {"CL_Null", "Flex0", "CL_Adjust_Ref"};
    CellVocabulary own(categories, cells);
    CellEngine engine(own, {}, nullptr);
    {
        ScopedCellEngine use(engine);
        EXPECT_EQ(&CurrentCellVocabulary(), &own);
        cmcCellObj cell;
        EXPECT_EQ(cell.category, 2);
        EXPECT_EQ(cell.cellId, 3);
        EXPECT_EQ(indActiveCell::CellIndex("CL_Adjust_Ref"), 2);
        EXPECT_EQ(FatalText([] { indActiveCell::CellIndex("CL_Mch_FreqR"); }),
                  "Cannot use the specified cell.\n'CL_Mch_FreqR'");
    }
    EXPECT_EQ(&CurrentCellVocabulary(), &CloningCellVocabulary());
    EXPECT_EQ(cmcCellObj().cellId, 963);
}

TEST(CellVocabulary, FindCellAnswersWithoutAFatalError) {
    EXPECT_EQ(CloningCellVocabulary().FindCell("CL_Mch_FreqR"), 127);
    EXPECT_EQ(CloningCellVocabulary().FindCell("CL_Adjust_Ref"), std::nullopt);
    EXPECT_EQ(CloningCellVocabulary().FindCell(""), std::nullopt);
}

// Every category and cell id the code names, against the vocabulary.
struct NamedId {
    const char* name;
    int32_t id;
};

#define TOLVANE_NAMED_ID(name, id) NamedId{#name, id},
const NamedId kNamedCategories[] = {TOLVANE_CLONING_CATEGORY_IDS(TOLVANE_NAMED_ID)};
const NamedId kNamedCells[] = {TOLVANE_CLONING_CELL_IDS(TOLVANE_NAMED_ID)};
#undef TOLVANE_NAMED_ID

TEST(CellIds, EveryNamedIdIsItsNamesIdInTheCloningVocabulary) {
    const CellVocabulary& v = CloningCellVocabulary();
    for (const NamedId& c : kNamedCategories) {
        EXPECT_EQ(v.CategoryIndex(c.name), c.id) << c.name;
        EXPECT_EQ(v.CategoryName(c.id), c.name) << c.id;
    }
    for (const NamedId& c : kNamedCells) {
        EXPECT_EQ(v.CellIndex(c.name), c.id) << c.name;
        EXPECT_EQ(v.CellName(c.id), c.name) << c.id;
    }
}

TEST(CellIds, NoIdHasTwoNames) {
    for (const auto& list :
         {std::span<const NamedId>(kNamedCategories), std::span<const NamedId>(kNamedCells)}) {
        std::set<int32_t> ids;
        for (const NamedId& c : list)
            EXPECT_TRUE(ids.insert(c.id).second) << c.name;
    }
}

} // namespace
