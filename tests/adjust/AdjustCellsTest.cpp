// The adjustment program's per-cell function: its frame numbers and the
// adjustment item, test channel, A/D and parameter cells, run through the
// program's engine against a recording adjustment manager.
#include "tests/adjust/AdjustCellFixture.h"

#include "adjust/AdjustConv.h"
#include "adjust/AdjustProfile.h"
#include "foundation/Globals.h"
#include "foundation/indEnviron.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"

#include <algorithm>

namespace adjtest {
namespace {

using Call = adj::RecordingAdjustManager::Call;

class AdjustFrameTest : public AdjustCellFixture {};

TEST_F(AdjustFrameTest, TheRowCommandsAreThePopupItemsEightyFourToNinetyThree) {
    const CellFrameNumbers::CommandCodes& c = adj::AdjustCellEngine().Numbers().commands;
    EXPECT_EQ(c.run, 84);
    EXPECT_EQ(c.copy, 85);
    EXPECT_EQ(c.insertRows, 91);
    EXPECT_EQ(c.help, 92);
    EXPECT_EQ(c.winCopy, 93);
    EXPECT_EQ(c.run, Id("CL_PMenu_Edit"));
}

TEST_F(AdjustFrameTest, Key256RunCommandAndEnterAllStartTheSweepOfAnAutomaticItem) {
    h.Key(Adj("CL_Adjust_BpfT1"), 256);
    h.Command(Adj("CL_Adjust_BpfT1"), 84);
    h.Key(Adj("CL_Adjust_BpfT1"), 13);
    const Call start{"StartSweep", static_cast<int32_t>(adj::Sweep::BpfT1), 84};
    EXPECT_EQ(CallsOf("StartSweep"), (std::vector<Call>{start, start, start}));
}

TEST_F(AdjustFrameTest, ADigitInABlankChannelsToneCellGoesToTheReceiveFrequency) {
    h.OpenBank(0);
    const auto out = h.Key({Category("CT_Mch"), Id("CL_Mch_CTone_R"), 0}, '5');
    EXPECT_EQ(out.request.jumpCell, Id("CL_Mch_FreqR"));
    EXPECT_EQ(out.text, "");
}

TEST_F(AdjustFrameTest, AKeyOnAnEmptyRepeaterEntryActsOnlyOnItsFrequency) {
    h.OpenSite(0);
    const auto out = h.Key({Category("CT_Rpt"), Id("CL_Rpt_FreqT"), 0}, '5');
    EXPECT_EQ(out.request.jumpCell, Id("CL_Rpt_FreqR"));
    EXPECT_EQ(out.text, "");
    // The transmit frequency's own case never ran on the key.
    const cmcEeprom& reference = h.app.ReferenceImage();
    EXPECT_TRUE(std::equal(reference.Data(), reference.Data() + reference.GetSize(), h.Image().Data()));
}

TEST_F(AdjustFrameTest, TheHelpCommandShowsTheContextInTheAdjustmentHelpFileAndHandlesTheRequest) {
    ScopedProgramProfile profile(adj::AdjustProfile());
    h.app.helpContextAnswer = 4711;
    const auto out = h.Command(Adj("CL_Adjust_High"), Id("CL_PMenu_Help"));
    ASSERT_EQ(h.help.shown.size(), 1u);
    EXPECT_EQ(h.help.shown[0].context, 4711);
    EXPECT_TRUE(h.help.shown[0].file.ends_with("QT4411R.html")) << h.help.shown[0].file;
    EXPECT_EQ(h.help.file, "");
    EXPECT_TRUE(man.calls.empty()); // the item's own case did not run
    EXPECT_EQ(out.text, "");
}

TEST_F(AdjustFrameTest, ADrawingRequestNeitherChecksWarningsNorUpdatesTheModifiedState) {
    h.Display(Adj("CL_Adjust_High"));
    EXPECT_EQ(h.app.Count("ScheduleWarningCheck"), 0);
    EXPECT_EQ(h.app.Count("UpdateModified"), 0);
    h.Key(Adj("CL_Adjust_High"), adj::kKeyRight);
    EXPECT_EQ(h.app.Count("ScheduleWarningCheck"), 1);
    EXPECT_EQ(h.app.Count("UpdateModified"), 1);
}

TEST_F(AdjustFrameTest, LabelsWithoutACaseShowTheirIdAndTheEmptyOnesNothing) {
    EXPECT_EQ(h.Key({0, Id("CL_Menu_File_Open"), 0}, 13, false).text, "9 *Yet*");
    EXPECT_EQ(h.Display({0, Id("CL_Dummy"), 0}).text, "1102 *Yet*");
    EXPECT_EQ(h.Display(Adj("CL_ADP_POW_MIN")).text, std::to_string(Id("CL_ADP_POW_MIN")) + " *Yet*");
    EXPECT_EQ(h.Display(Adj("CL_Adjust_AUTO10_Sweep")).text, "");
    EXPECT_EQ(h.Display(Adj("CL_Adjust_Rssi_Bar")).text, "");
}

class AdjustItemTest : public AdjustCellFixture {};

TEST_F(AdjustItemTest, ATypedValueIsStoredAndSentOnceARedrawSendsNothingMore) {
    const auto out = h.Commit(Adj("CL_Adjust_High"), "70");
    EXPECT_EQ(Byte(164), 70);
    EXPECT_TRUE(out.flags & 0x20);
    h.Display(Adj("CL_Adjust_High"));
    EXPECT_EQ(man.calls, (std::vector<Call>{{"SendAdjustCommand", 164, 70}}));
}

TEST_F(AdjustItemTest, ABalanceEditSetsAllFourBytesAndTheOthersGoOutAsTheirCellsDraw) {
    for (int32_t b : {102, 109, 116, 123}) {
        Byte(b) = 100;
        man.RadioCopy().SetByte(b, 100);
    }
    h.Key(Adj("CL_Adjust_BALN"), adj::kKeyRight);
    for (int32_t b : {102, 109, 116, 123})
        EXPECT_EQ(Byte(b), 101) << b;
    EXPECT_EQ(man.calls, (std::vector<Call>{{"SendAdjustCommand", 109, 101}}));
    for (const char* name : {"CL_Adjust_BALW", "CL_Adjust_BALM", "CL_Adjust_BALD", "CL_Adjust_BALN"})
        h.Display(Adj(name));
    EXPECT_EQ(man.calls, (std::vector<Call>{{"SendAdjustCommand", 109, 101},
                                            {"SendAdjustCommand", 102, 101},
                                            {"SendAdjustCommand", 116, 101},
                                            {"SendAdjustCommand", 123, 101}}));
}

TEST_F(AdjustItemTest, ASendTheBusyLinkRefusedGoesOutWithTheNextDraw) {
    man.sendAnswer = 1;
    h.Commit(Adj("CL_Adjust_Ref"), "40");
    EXPECT_EQ(man.RadioCopy().GetByte(169), 0);
    man.sendAnswer = 0;
    h.Display(Adj("CL_Adjust_Ref"));
    EXPECT_EQ(man.RadioCopy().GetByte(169), 40);
    h.Display(Adj("CL_Adjust_Ref"));
    EXPECT_EQ(CallsOf("SendAdjustCommand").size(), 2u);
}

TEST_F(AdjustItemTest, AfterAFailedTransferDrawingSendsNothingUntilTheUsersNextInputOnAnItem) {
    // The radio copy lags on an item, the test channel and the signal level.
    Byte(169) = 40;
    man.State().WorkBytes[0] = 5;
    man.State().RssiLevel = 7;
    man.State().RedrawSendsHeld = true;
    for (int pass = 0; pass < 3; ++pass)
        for (const char* name : {"CL_Adjust_Ref", "CL_Adjust_Ref_Bar", "CL_Adjust_ChNo", "CL_Adjust_Rssi"})
            h.Display(Adj(name));
    EXPECT_TRUE(man.calls.empty());
    // The user's key on an item lifts the hold: it sends, and drawing sends again.
    h.Key(Adj("CL_Adjust_Ref"), adj::kKeyRight);
    EXPECT_FALSE(man.State().RedrawSendsHeld);
    EXPECT_EQ(man.calls, (std::vector<Call>{{"SendAdjustCommand", 169, 41}}));
    h.Display(Adj("CL_Adjust_ChNo"));
    h.Display(Adj("CL_Adjust_Rssi"));
    EXPECT_EQ(CallsOf("SendCode"), (std::vector<Call>{{"SendCode", 0, 5}, {"SendCode", 32, 7}}));
}

TEST_F(AdjustItemTest, AListItemGoesOutByItsByteAndEnterStartsItsProcedure) {
    h.Commit(Adj("CL_Adjust_BpfT3"), "7");
    EXPECT_EQ(Byte(88), 7);
    h.Key(Adj("CL_Adjust_AUTO05"), 13);
    EXPECT_EQ(man.calls, (std::vector<Call>{{"SendAdjustCommand", 88, 7},
                                            {"StartSweep", static_cast<int32_t>(adj::Sweep::Auto05), 186}}));
}

TEST_F(AdjustItemTest, ASearchShowsItsErrorUntilItsMarkIsCleared) {
    EXPECT_EQ(h.Display(Adj("CL_Adjust_AUTO05_Sweep")).text, "Press Enter to start");
    man.State().TargetNotReached[1] = 1;
    EXPECT_EQ(h.Display(Adj("CL_Adjust_AUTO05_Sweep")).text, "Target not reached");
    EXPECT_EQ(h.Display(Adj("CL_Adjust_AUTO04_Sweep")).text, "Press Enter to start");
}

TEST_F(AdjustItemTest, TargetBarsShowVoltsAndTargetsAreNeverSent) {
    struct Case {
        uint8_t byte;
        const char* text;
    };
    for (const Case& c : {Case{0, "0.00V"}, Case{128, "2.50V"}, Case{255, "5.00V"}}) {
        Byte(170) = c.byte;
        EXPECT_EQ(h.Display(Adj("CL_Adjust_AUTO07_Bar")).text, c.text);
    }
    h.Commit(Adj("CL_Adjust_AUTO07"), "9");
    h.Key(Adj("CL_Adjust_AUTO07"), 13);
    EXPECT_EQ(Byte(170), 9);
    EXPECT_TRUE(man.calls.empty());
}

TEST_F(AdjustItemTest, TestChannelStepsWalkToTheNextProgrammedChannelAndWrap) {
    for (int32_t channel : {1, 5, 40})
        Byte(65378 + 30 * channel) = 0x08;
    man.State().WorkBytes[0] = 5;
    man.State().RadioChannel = 5;
    struct Case {
        bool up;
        uint8_t expected;
    };
    for (const Case& c : {Case{true, 40}, Case{true, 1}, Case{false, 40}, Case{false, 5}, Case{false, 1}}) {
        h.Key(Adj("CL_Adjust_ChNo"), c.up ? adj::kKeyRight : adj::kKeyLeft);
        EXPECT_EQ(man.State().WorkBytes[0], c.expected);
        EXPECT_EQ(man.State().RadioChannel, c.expected);
    }
    EXPECT_EQ(CallsOf("SendCode"), (std::vector<Call>{{"SendCode", 0, 40},
                                                      {"SendCode", 0, 1},
                                                      {"SendCode", 0, 40},
                                                      {"SendCode", 0, 5},
                                                      {"SendCode", 0, 1}}));
}

TEST_F(AdjustItemTest, ALoneProgrammedChannelStaysWhicheverWayItSteps) {
    Byte(65378 + 30 * 5) = 0x08;
    man.State().WorkBytes[0] = 5;
    man.State().RadioChannel = 5;
    h.Key(Adj("CL_Adjust_ChNo"), adj::kKeyRight);
    h.Key(Adj("CL_Adjust_ChNo"), adj::kKeyLeft);
    EXPECT_EQ(man.State().WorkBytes[0], 5);
    EXPECT_TRUE(man.calls.empty());
}

TEST_F(AdjustItemTest, EnterOnALevelItemStartsItOnlyWhenIdleAndAcceptsTheLevelAtSubStepFour) {
    man.State().AdjustPhase = 2;
    h.Key(Adj("CL_Adjust_AUTO13"), 13);
    EXPECT_EQ(man.State().AdjustPhase, 2);
    EXPECT_TRUE(man.calls.empty());

    man.State().LevelStep = 4;
    h.Commit(Adj("CL_Adjust_AUTO10"), "77");
    EXPECT_EQ(man.EditedLevel(2), 77);
    h.Key(Adj("CL_Adjust_AUTO10"), 13);
    EXPECT_EQ(man.State().LevelStep, 5);

    man.State() = adj::AdjustState();
    h.Commit(Adj("CL_Adjust_AUTO13"), "50");
    EXPECT_EQ(man.EditedLevel(8), 0); // dropped: the procedure does not wait on it
    h.Key(Adj("CL_Adjust_AUTO13"), 13);
    // The procedure marks itself running once its first command is out, not the cell.
    EXPECT_EQ(man.State().AdjustPhase, 0);
    EXPECT_EQ(CallsOf("StartSweep"),
              (std::vector<Call>{{"StartSweep", static_cast<int32_t>(adj::Sweep::Auto13), 101}}));
}

TEST_F(AdjustItemTest, ALevelBarShowsTheDrivenByteOnlyWhileItsProcedureRuns) {
    EXPECT_EQ(h.Display(Adj("CL_Adjust_AUTO10_Bar")).text, "Press Enter to start");
    man.State().AdjustPhase = 2;
    Byte(108) = 255;
    EXPECT_EQ(h.Display(Adj("CL_Adjust_AUTO10_Bar")).text, "[####################]");
}

TEST_F(AdjustItemTest, ThreeEntersCaptureTwoReadingsAndSendThemAsReferences) {
    h.Commit(Adj("CL_Adjust_AUTO01"), "50");
    EXPECT_EQ(Byte(166), 0);

    man.readAnswer = 90;
    h.Key(Adj("CL_Adjust_AUTO01"), 13); // live reading into 166
    EXPECT_EQ(Byte(166), 90);
    EXPECT_EQ(h.Display(Adj("CL_Adjust_AUTO01_Bar")).text, "RSSI S3 Level");
    h.Key(Adj("CL_Adjust_AUTO01"), 13); // first reference
    man.readAnswer = 40;
    h.Display(Adj("CL_Adjust_AUTO01")); // live reading into 165
    EXPECT_EQ(h.Display(Adj("CL_Adjust_AUTO01_Bar")).text, "RSSI S1 Level");
    man.driverBusy = true;
    h.Key(Adj("CL_Adjust_AUTO01"), 13); // waits for the link
    EXPECT_EQ(man.State().AdjustPhase, 1);
    man.driverBusy = false;
    const auto last = h.Display(Adj("CL_Adjust_AUTO01"));
    EXPECT_TRUE(last.flags & 0x20);

    std::vector<Call> sends;
    for (const Call& c : CallsOf("SendCode"))
        if (c.value != 3) sends.push_back(c);
    EXPECT_EQ(sends, (std::vector<Call>{{"SendCode", 22, 90}, {"SendCode", 21, 40}}));
    EXPECT_EQ(man.State().AdjustPhase, 0);
    EXPECT_EQ(man.State().LevelStep, 0);
    EXPECT_EQ(h.Display(Adj("CL_Adjust_AUTO01_Bar")).text, "Press Enter to start");
}

TEST_F(AdjustItemTest, TheSignalLevelStaysWithinOneToFourteenAndIsSent) {
    h.Commit(Adj("CL_Adjust_Rssi"), "20");
    EXPECT_EQ(man.State().RssiLevel, 14);
    h.Commit(Adj("CL_Adjust_Rssi"), "0");
    EXPECT_EQ(man.State().RssiLevel, 1);
    EXPECT_EQ(man.State().RadioRssiLevel, 1);
    EXPECT_EQ(CallsOf("SendCode"), (std::vector<Call>{{"SendCode", 32, 14}, {"SendCode", 32, 1}}));
}

TEST_F(AdjustItemTest, TheSelectedChannelsDataIsShownInMegahertzTruncatedToTenHertz) {
    man.State().WorkBytes[0] = 2;
    const int32_t record = 65378 + 30 * 2;
    const uint8_t rx[] = {0x88, 0xBB, 0xB7, 0xC0};
    const uint8_t tx[] = {0x08, 0xBB, 0xB7, 0xC9}; // 146,520,009 Hz
    for (int32_t i = 0; i < 4; ++i) {
        Byte(record + i) = rx[i];
        Byte(record + 4 + i) = tx[i];
    }
    Byte(record + 12) = 0x42;
    Byte(82490 + 22 * 2) = 0x01;
    EXPECT_EQ(h.Display(Adj("CL_Adjust_ChNoFreq")).text, "RX=146.52000, TX=146.52000");
    EXPECT_EQ(h.Display(Adj("CL_Adjust_ChGrp")).text, "CH Type=Mixed(Digital)");
    EXPECT_EQ(h.Display(Adj("CL_Adjust_RfPow")).text, "RF Power=Low1, Mode=Narrow");
}

class AdjustMonitorTest : public AdjustCellFixture {};

TEST_F(AdjustMonitorTest, EachReadingShowsDecimalHexAndItsPhysicalValue) {
    struct Case {
        int32_t reading; // index into the manager's readings
        uint8_t value;
        const char* cell;
        const char* text;
    };
    const Case cases[] = {
        {1, 255, "CL_Maker_NOISD", "255"},         {1, 255, "CL_Maker_NOISH", "FF"},
        {1, 255, "CL_Maker_NOISV", "5.00V"},       {0, 255, "CL_WinAD_BATTV", "20.00V"},
        {12, 255, "CL_WinAD_SQLV", "100.00%"},     {1, 128, "CL_Maker_NOISV", "2.51V"},
        {0, 128, "CL_WinAD_BATTV", "10.04V"},      {6, 128, "CL_Maker_VOXTV", "50.20%"},
        {4, 128, "CL_Maker_TEMPSV", "9.27\260C"},  {4, 64, "CL_Maker_TEMPSV", "-11.10\260C"},
        {4, 200, "CL_Maker_TEMPSV", "37.41\260C"}, {4, 0, "CL_Maker_TEMPSV", ""},
        {4, 255, "CL_Maker_TEMPSV", ""},           {4, 0, "CL_Maker_TEMPSD", "  0"},
        {4, 255, "CL_Maker_TEMPSH", "FF"},         {8, 10, "CL_WinAD_T1H", " A"},
    };
    for (const Case& c : cases) {
        man.adReadings = {};
        man.adReadings[static_cast<size_t>(c.reading)] = c.value;
        EXPECT_EQ(h.Display(Adj(c.cell)).text, c.text) << c.cell << " " << int(c.value);
    }
}

TEST_F(AdjustMonitorTest, ParametersShowTheirBytesSignedUnsignedOrAsAWord) {
    Byte(130) = 0xF6;
    Byte(164) = 0xF6;
    Byte(172) = 1234 >> 8;
    Byte(173) = 1234 & 0xFF;
    EXPECT_EQ(h.Display(Adj("CL_ADP_SQLOP2_L1")).text, "-10");
    EXPECT_EQ(h.Display(Adj("CL_ADP_SQL19")).text, "246");
    EXPECT_EQ(h.Display(Adj("CL_ADP_SQLCL1_OP")).text, "123.400");
}

TEST_F(AdjustMonitorTest, UpdateWithTheWindowClosedOpensItAndWithItOpenReads) {
    ASSERT_NE(gEnviron, nullptr);
    gEnviron->AdWindowFlag = 0;
    h.Key({0, Id("CL_Menu_View_Ad_Update"), 0}, 13, false);
    bool opened = false;
    for (const cmcEvent& ev : h.Events())
        opened = opened || ev.type == evOpenAdWindow;
    EXPECT_TRUE(opened);
    EXPECT_EQ(gEnviron->AdWindowFlag, 1);
    EXPECT_TRUE(man.calls.empty());
    EXPECT_TRUE(h.Display({0, Id("CL_Menu_View_Ad"), 0}).Checked());

    h.Key({0, Id("CL_Menu_View_Ad_Update"), 0}, 13, false);
    EXPECT_EQ(man.calls, (std::vector<Call>{{"ReadAdValues", 0, 0}}));
    gEnviron->AdWindowFlag = 0;
}

} // namespace
} // namespace adjtest

namespace adjtest {
namespace {

class AdjustOtherCellsTest : public AdjustCellFixture {
protected:
    void SetSerial(const std::string& chars) {
        auto& info = h.app.InfoBlock();
        info.fill(' ');
        std::copy(chars.begin(), chars.end(), info.begin() + 37);
    }
};

TEST_F(AdjustOtherCellsTest, TheUsbPortIsCheckedFromPortFiveAndAComPortOnlyAtItsOwn) {
    struct Case {
        int32_t port;
        bool usb;
        bool com2;
    };
    for (const Case& c :
         {Case{2, false, true}, Case{4, false, false}, Case{5, true, false}, Case{9, true, false}}) {
        h.Env().ComPort = c.port;
        EXPECT_EQ(h.Display({0, Id("CL_Menu_Port_Usb"), 0}).Checked(), c.usb) << c.port;
        EXPECT_EQ(h.Display({0, Id("CL_Menu_Port_Com"), 2}).Checked(), c.com2) << c.port;
    }
}

TEST_F(AdjustOtherCellsTest, TheFileAndCloneCommandsRunTheManagersOperationsOnEnterOnly) {
    struct Case {
        const char* cell;
        const char* call;
    };
    for (const Case& c : {Case{"CL_Menu_File_New", "NewFile"}, Case{"CL_Menu_File_Exit", "CloseMainForm"},
                          Case{"CL_Menu_Clone_Read", "CloneRead"}, Case{"CL_Menu_Clone_Write", "CloneWrite"},
                          Case{"CL_Menu_Clone_Info", "ReadCloneInfo"}}) {
        h.Display({0, Id(c.cell), 0});
        EXPECT_EQ(h.app.Count(c.call), 0) << c.cell;
        h.Key({0, Id(c.cell), 0}, 13, false);
        EXPECT_EQ(h.app.Count(c.call), 1) << c.cell;
    }
    // The read itself marks the adjustment state; the menu cell only starts it.
    EXPECT_EQ(man.State().AdjustPhase, 0);
}

TEST_F(AdjustOtherCellsTest, AModelCellIsCheckedForItsOwnModelAndChangesToIt) {
    h.Env().ModelType = 3;
    EXPECT_TRUE(h.Display({0, Id("CL_Model_Pmr"), 0}).Checked());
    EXPECT_FALSE(h.Display({0, Id("CL_Model_Pmr_Mob"), 0}).Checked());
    h.Key({0, Id("CL_Model_ZuroPmr_Mob"), 0}, 13, false);
    EXPECT_EQ(h.app.Count("ChangeModel"), 1);
}

TEST_F(AdjustOtherCellsTest, ChannelsLeftAreFiveHundredTwelveLessTheProgrammedOnes) {
    h.LoadStartupData(0);
    const int32_t total = std::stoi(h.Display({0, Id("CL_Bank_UsedTotal"), 0}).text);
    EXPECT_EQ(std::stoi(h.Display({0, Id("CL_Bank_UsedLeft"), 0}).text), 512 - total);
}

TEST_F(AdjustOtherCellsTest, TheSerialNumberIsAByteAndATwentyFourBitNumberInDecimal) {
    struct Case {
        const char* chars;
        const char* shown;
    };
    for (const Case& c : {Case{"0A00FFFF1234", "1065535"}, Case{"FF0000010000", "25500001"},
                          Case{"0A00FFFF123", " "}, Case{"0A00FFFF123G", " "}}) {
        SetSerial(c.chars);
        EXPECT_EQ(h.Display({0, Id("CL_CloneInfo_Esn"), 0}).text, c.shown) << c.chars;
    }
}

TEST_F(AdjustOtherCellsTest, CopyingTheSerialNumberCopiesWhatTheCellShows) {
    SetSerial("0A00FFFF1234");
    h.Command({0, Id("CL_CloneInfo_Esn"), 0}, 93);
    EXPECT_EQ(h.clipboard.texts, (std::vector<std::string>{"1065535"}));
}

} // namespace
} // namespace adjtest

namespace adjtest {
namespace {

class AdjustRowCommandTest : public AdjustCellFixture {
protected:
    int CountEvents(int32_t type) {
        int n = 0;
        for (const cmcEvent& ev : h.Events())
            n += ev.type == type;
        return n;
    }
    celltest::Outcome Command(int32_t category, int32_t row, int32_t first, int32_t last, int32_t code) {
        return h.Run({category, Id("CL_Mch_FreqR"), row}, [&](cmcCellCapsule& r) {
            r.command = code;
            r.rangeSelected = true;
            r.rangeFirst = first;
            r.rangeLast = last;
        });
    }
};

TEST_F(AdjustRowCommandTest, DeletingThreeUnusedRowsAsksNothingAndRemovesThreeRows) {
    h.OpenBank(0);
    SetBankChannelCount(CurrentImage(), 0, 5);
    Command(Category("CT_Mch"), 1, 1, 3, Id("CL_PMenu_Delete"));
    EXPECT_EQ(CountEvents(evRemoveChannelRow), 3);
    EXPECT_EQ(GetBankChannelCount(CurrentImage(), 0), 2);
}

TEST_F(AdjustRowCommandTest, InsertingThreeRowsSendsThreeEvents) {
    h.OpenBank(0);
    SetBankChannelCount(CurrentImage(), 0, 5);
    Command(Category("CT_Mch"), 1, 1, 3, Id("CL_PMenu_Insert"));
    EXPECT_EQ(CountEvents(evInsertChannelRow), 3);
    EXPECT_EQ(GetBankChannelCount(CurrentImage(), 0), 8);
}

TEST_F(AdjustMonitorTest, AFontSizeIsSetAndTellsTheOpenMonitorWindowOnly) {
    ASSERT_NE(gEnviron, nullptr);
    for (int32_t open : {0, 1}) {
        gEnviron->AdWindowFlag = open;
        gEnviron->FontSizePercentage = 100;
        h.Events();
        h.Key({0, Id("CL_Menu_View_FontSize"), 125}, 13, false);
        EXPECT_EQ(gEnviron->FontSizePercentage, 125);
        int told = 0;
        for (const cmcEvent& ev : h.Events())
            told += ev.type == evAdFontChanged ? 1 : 0;
        EXPECT_EQ(told, open) << open;
        EXPECT_TRUE(h.Display({0, Id("CL_Menu_View_FontSize"), 125}).Checked());
        EXPECT_FALSE(h.Display({0, Id("CL_Menu_View_FontSize"), 100}).Checked());
    }
    gEnviron->AdWindowFlag = 0;
    gEnviron->FontSizePercentage = 100;
}

TEST_F(AdjustMonitorTest, TheToolBarCellAsksTheMainWindowAndIsCheckedWhileShown) {
    ASSERT_NE(gEnviron, nullptr);
    const int32_t shown = gEnviron->ToolbarVisible;
    h.Key({0, Id("CL_Menu_View_ToolBar"), 0}, 13, false);
    EXPECT_EQ(h.app.Count("ToggleToolBar"), 1);
    for (int32_t visible : {0, 1}) {
        gEnviron->ToolbarVisible = visible;
        EXPECT_EQ(h.Display({0, Id("CL_Menu_View_ToolBar"), 0}).Checked(), visible != 0);
    }
    gEnviron->ToolbarVisible = shown;
}

} // namespace
} // namespace adjtest
