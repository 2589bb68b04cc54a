// The row pop-up menu's item states and the tree's check cells of the
// adjustment program, run through its engine on its start-up data.
#include "tests/adjust/AdjustCellFixture.h"

#include "adjust/AdjustRecords.h"
#include "foundation/ModelClass.h"
#include "image/BankSite.h"

namespace adjtest {
namespace {

// Bank 0 holds channel rows 0..3, site 0 entries 0..2; the clipboard holds
// a two-tone code.
class AdjustPopupStateTest : public AdjustCellFixture {
protected:
    AdjustPopupStateTest() {
        h.LoadStartupData(0);
        SetBankChannelCount(h.Image(), 0, 4);
        SetBankChannelCount(h.Image(), 1, 2);
        SetSiteChannelCount(h.Image(), 0, 3);
        h.OpenBank(0);
        h.OpenSite(0);
        h.clip.Copy(h.Image(), 15, 1, 1);
    }

    // Whether the item is disabled on the menu opened on row `row` of the category.
    bool Disabled(const char* category, int32_t row, const char* item) {
        cmcCellObj openedOn;
        openedOn.category = Category(category);
        openedOn.index = row;
        cmcCellCapsule opener;
        opener.cell = &openedOn;
        return h
            .Run({Category("CT_PopupMenu"), Id(item), 0},
                 [&](cmcCellCapsule& r) { r.linkedRequest = &opener; })
            .Disabled();
    }
};

TEST_F(AdjustPopupStateTest, EachItemIsRefusedOnTheRowsItsKindKeepsClosed) {
    struct {
        const char* category;
        int32_t row;
        const char* item;
        bool disabled;
    } cases[] = {
        // Channel rows: the bank's new row takes no command; moves stop at the bank's ends.
        {"CT_Mch", 1, "CL_PMenu_Copy", false},
        {"CT_Mch", 4, "CL_PMenu_Copy", true},
        {"CT_Mch", 4, "CL_PMenu_Delete", true},
        {"CT_Mch", 0, "CL_PMenu_CarryUp", true},
        {"CT_Mch", 0, "CL_PMenu_CarryDown", false},
        {"CT_Mch", 3, "CL_PMenu_CarryDown", true},
        {"CT_Mch", 3, "CL_PMenu_CarryUp", false},
        // Nothing of a channel's kind on the clipboard.
        {"CT_Mch", 1, "CL_PMenu_Paste", true},
        // Receive codes and two-tone codes: row 0 is fixed.
        {"CT_RX_Code", 0, "CL_PMenu_Copy", true},
        {"CT_RX_Code", 1, "CL_PMenu_Copy", false},
        {"CT_RX_Code", 1, "CL_PMenu_CarryUp", true},
        {"CT_2Tone_Code", 0, "CL_PMenu_Clear", true},
        {"CT_2Tone_Code", 2, "CL_PMenu_Paste", false},
        {"CT_2Tone_Code", 0, "CL_PMenu_Paste", true},
        // Status messages: row 23 refuses the whole-row items only.
        {"CT_MSK_Msg_Status", 23, "CL_PMenu_Copy", true},
        {"CT_MSK_Msg_Status", 23, "CL_PMenu_Delete", true},
        {"CT_MSK_Msg_Status", 22, "CL_PMenu_Copy", false},
        {"CT_MSK_Msg_Status", 22, "CL_PMenu_CarryDown", true},
        // Repeater entries: none after the site's last.
        {"CT_Rpt", 2, "CL_PMenu_Copy", false},
        {"CT_Rpt", 3, "CL_PMenu_Copy", true},
        {"CT_Rpt", 2, "CL_PMenu_CarryDown", true},
        {"CT_Rpt", 1, "CL_PMenu_CarryUp", false},
        // Scan lists have no fixed row here.
        {"CT_Scan", 0, "CL_PMenu_Copy", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Disabled(c.category, c.row, c.item), c.disabled)
            << c.category << " row " << c.row << " " << c.item;
}

// A PMR-Z bank whose channels' signalling settings are checked from the tree.
class AdjustCheckCellsTest : public AdjustCellFixture {
protected:
    AdjustCheckCellsTest() {
        h.Env().ModelType = kPmrZModel;
        h.LoadStartupData(kPmrZModel);
        SetBankChannelCount(h.Image(), 0, 3);
        for (int32_t r = 0; r < 3; ++r)
            SetOption(r, kClean);
    }
    // Monitor 6, selective call 1, call and PTT clear, channel mute set.
    static constexpr uint32_t kClean = 6u << 6 | 1u << 10 | 1u << 14;
    static constexpr int32_t kPmrZModel = 4;

    void SetOption(int32_t row, uint32_t w) {
        adj::datCh ch(&h.Image());
        ch.Load(GetModelClass(), row);
        ch.rxFreq = ch.txFreq = 446006250;
        ch.optionW = w;
        ch.Store(GetModelClass(), row);
    }
    std::pair<bool, bool> Marks() {
        const auto out = h.Display({Category("CT_Null"), Id("CL_Check_Mch"), 0});
        return {out.request.markFlags.warning, out.request.markFlags.error};
    }
};

TEST_F(AdjustCheckCellsTest, TheChannelCheckGathersTheMarksOfTheBanksChannels) {
    ASSERT_EQ(GetModelClass(), 5);
    EXPECT_EQ(Marks(), std::make_pair(false, false));
    struct {
        const char* what;
        uint32_t w;
        bool warning, error;
    } cases[] = {
        {"monitor 5", (kClean & ~(15u << 6)) | 5u << 6, true, false},
        {"selective call 2", (kClean & ~(3u << 10)) | 2u << 10, false, true},
        {"PTT set", kClean | 1u << 13, false, true},
        {"channel mute clear", kClean & ~(1u << 14), true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetOption(2, c.w);
        EXPECT_EQ(Marks(), std::make_pair(c.warning, c.error));
    }
    // The LMR models do not check these settings.
    h.Env().ModelType = 0;
    EXPECT_EQ(Marks(), std::make_pair(false, false));
}

TEST_F(AdjustCheckCellsTest, TheChecksOfThisProgramHaveTheirCasesAndTheOthersNone) {
    for (const char* check : {"CL_Check_Mch", "CL_Check_User_Tone_Encode", "CL_Check_Msk_IdRange",
                              "CL_Check_Msk_OwnIdGroup", "CL_Check_Msk_Config", "CL_Check_Dig_Nacch"})
        EXPECT_EQ(h.Display({Category("CT_Null"), Id(check), 0}).text, "") << check;
    for (const char* check : {"CL_Check_SetMode", "CL_Check_Common"})
        EXPECT_EQ(h.Display({Category("CT_Null"), Id(check), 0}).text, std::to_string(Id(check)) + " *Yet*");
}

} // namespace
} // namespace adjtest
