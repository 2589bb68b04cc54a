// The clone manager: the link script on the wire, the error box texts, the
// progress bar, and the checks it runs before a job's own handler.
#include "foundation/TextUtil.h"
#include "tests/clone/CloneFixture.h"
#include "tests/support/ParamNames.h"
#include "tests/support/ScriptedSerialPorts.h"

#include <cerrno>
#include <optional>

namespace {

using testsupport::PrintTo;

using namespace clonetest;
using linkwire::Wire;

class CloneManTest : public CloneFixture {
protected:
    static void OnDone(void* user, dst_CDrv_Result* r) {
        auto* t = static_cast<CloneManTest*>(user);
        t->codes.push_back(r->result);
        t->enabledAtHandler = t->progress->mainEnabled;
        t->openAtHandler = t->progress->open;
    }
    static void PassCheck(void*, dst_CDrv_Result*) {}

    std::string Check(int line) { return texts.GetTextLine("GI_Mess_CloneErr_Check", line); }

    std::vector<int> codes;
    bool enabledAtHandler = false;
    bool openAtHandler = true;
};

struct ScriptCase {
    const char* name;
    bool high;
    bool write;
};

class LinkScriptTest : public CloneManTest, public ::testing::WithParamInterface<ScriptCase> {};

TEST_P(LinkScriptTest, SpeedAndWriteFlagFramesThenTheCommand) {
    const ScriptCase& c = GetParam();
    gEnviron->ComSpeedHigh = c.high;
    sim.SetCloneEnd(0x3FF);
    man.SetModel(0x4410, 0);
    man.SetImageSize(148298);
    man.SetReadDoneHandler(&PassCheck, nullptr);
    cmcEeprom image;
    image.SetSize(148298);
    if (c.write)
        ASSERT_TRUE(man.StartWrite(image, {{0x100, 0x17F}, kRangeListEnd}, &OnDone, this));
    else
        ASSERT_TRUE(man.StartRead({{0, 0x3FF}, kRangeListEnd}, &OnDone, this));
    EXPECT_EQ(man.Driver().PortNumber(), 5);
    Run();
    EXPECT_EQ(codes, std::vector<int>{kCloneOk});
    std::vector<Wire> sent = Sent(false);
    ASSERT_GE(sent.size(), 4u);
    sent.resize(4);
    EXPECT_EQ(sent, linkwire::LinkScript(c.high, c.write, c.write ? 0xE3 : 0xE2));
    EXPECT_EQ(sim.WriteFlag(), c.write);
    EXPECT_EQ(progress->opens, 1);
    EXPECT_FALSE(openAtHandler);
    EXPECT_TRUE(enabledAtHandler);
}

INSTANTIATE_TEST_SUITE_P(Scripts, LinkScriptTest,
                         ::testing::Values(ScriptCase{"read_high", true, false},
                                           ScriptCase{"read_normal", false, false},
                                           ScriptCase{"write_high", true, true},
                                           ScriptCase{"write_normal", false, true}),
                         testsupport::CaseName());

TEST_F(CloneManTest, InformationAtNormalSpeedWithoutACheckEndsWith11) {
    gEnviron->ComSpeedHigh = 1; // information always runs at normal speed
    boxes.Expect(Head(11), plat::IDOK);
    man.SetModel(0x4410, 0);
    ASSERT_TRUE(man.StartInfo(&OnDone, this));
    EXPECT_FALSE(progress->mainEnabled);
    EXPECT_FALSE(man.StartInfo(&OnDone, this)); // one job at a time
    Run();
    EXPECT_EQ(codes, std::vector<int>{kCloneBadInfo});
    EXPECT_TRUE(boxes.Done());
    EXPECT_EQ(progress->opens, 0);
    EXPECT_TRUE(enabledAtHandler);
    EXPECT_EQ(Sent(false), linkwire::LinkScript(false, false, 0xE0));
}

TEST_F(CloneManTest, ErrorBoxTexts) {
    EXPECT_EQ(indCloneMan::CloneErrorText(kCloneOk), "");
    man.ShowCloneError(kCloneOk); // no box: the script expects none

    gEnviron->ComPort = 7;
    const std::string port = indCloneMan::CloneErrorText(kClonePortNotOpened);
    EXPECT_NE(port.find("COM7"), std::string::npos) << port;
    EXPECT_EQ(port, FormatOneNumber(Head(2), 7) + "\n\n" + Check(0) + "\n" + Check(1) + "\n" + Check(2) +
                        "\n" + Check(3));

    EXPECT_EQ(indCloneMan::CloneErrorText(16), Head(16) + "\n\n");
    // The radio answered and the program refused what it sent: neither power nor cable is the cause.
    for (int code : {9, 11, 14, 15})
        EXPECT_EQ(indCloneMan::CloneErrorText(code), Head(code) + "\n\n" + Check(4) + "\n" + Check(5))
            << code;

    // Every result code has its own head line, and the hints exist.
    for (int code = 1; code <= kClonePortWriteError; ++code) {
        EXPECT_FALSE(Head(code).empty() || Head(code).starts_with('#')) << code;
        EXPECT_TRUE(indCloneMan::CloneErrorText(code).starts_with(code == 2 ? FormatOneNumber(Head(2), 7)
                                                                            : Head(code)))
            << code;
    }
    for (int line = 0; line <= 7; ++line)
        EXPECT_FALSE(Check(line).empty() || Check(line).starts_with('#')) << line;

    boxes.Expect(Head(16), plat::IDOK);
    man.ShowCloneError(16);
    ASSERT_EQ(boxes.Log().size(), 1u);
    EXPECT_EQ(boxes.Log()[0].text, Head(16) + "\n\n");
    EXPECT_EQ(boxes.Log()[0].caption, texts.GetTextLine("GI_Sys_AppTitle", 0));
    EXPECT_EQ(boxes.Log()[0].flags, plat::MB_OK | plat::MB_ICONERROR);
}

struct PortRefusal {
    const char* name;
    int error;
    int line;            // the line of "GI_AppMess_CloneErr_Port" under the head
    const char* reason;  // the system's words that the line gives; empty: none
    const char* hintKey; // where the hints come from
    std::vector<int> hints;
};

class PortRefusalTest : public CloneManTest, public ::testing::WithParamInterface<PortRefusal> {};

// The device refuses the open, is held by another program, or is not there:
// the box of the information job names the port and the device, says why and
// what to do about it, and nothing goes out on the port.
TEST_P(PortRefusalTest, TheBoxNamesTheDeviceAndTheReason) {
    const PortRefusal& c = GetParam();
    plat::ScriptedSerialPorts ports;
    ports.Install();
    ports.openError = c.error;
    const std::string device = plat::ComPortPath(5);
    std::string line = FormatOneText(texts.GetTextLine("GI_AppMess_CloneErr_Port", c.line), device);
    if (*c.reason) line = FormatOneText(line, c.reason);
    std::string text = FormatOneNumber(Head(kClonePortNotOpened), 5) + "\n" + line + "\n";
    for (int hint : c.hints)
        text += "\n" + texts.GetTextLine(c.hintKey, hint);
    boxes.Expect(text, plat::IDOK);

    man.SetModel(0x4410, 0);
    man.SetInfoHandler(&PassCheck, nullptr);
    ASSERT_TRUE(man.StartInfo(&OnDone, this));
    Run();
    EXPECT_EQ(codes, std::vector<int>{kClonePortNotOpened});
    ASSERT_EQ(boxes.Log().size(), 1u);
    EXPECT_EQ(boxes.Log()[0].text, text);
    EXPECT_EQ(ports.paths.front(), device);
    EXPECT_TRUE(ports.written.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Errors, PortRefusalTest,
    ::testing::Values(
        PortRefusal{"permission", EACCES, 0, "Permission denied", "GI_AppMess_CloneErr_Port", {1}},
        PortRefusal{"in_use", EBUSY, 3, "", "GI_AppMess_CloneErr_Port", {4}},
        PortRefusal{
            "no_terminal", ENOTTY, 0, "Inappropriate ioctl for device", "GI_Mess_CloneErr_Check", {2, 3}},
        PortRefusal{"missing", ENOENT, 2, "", "GI_Mess_CloneErr_Check", {0, 1, 2, 3}}),
    testsupport::CaseName());

// The words of the in-use box as the user reads them.
TEST_F(CloneManTest, APortInUseIsSaidToBeUsedByAnotherProgram) {
    gEnviron->ComPort = 5;
    const std::string text = indCloneMan::CloneErrorText(kClonePortNotOpened, {"/dev/ttyUSB0", EBUSY});
    EXPECT_NE(text.find("COM5"), std::string::npos) << text;
    EXPECT_NE(text.find("Another program is using the device /dev/ttyUSB0."), std::string::npos) << text;
    EXPECT_EQ(text.find("busy"), std::string::npos) << "the system's words say less than the box: " << text;
}

TEST_F(CloneManTest, PortLineIsNeverAFormatForMoreThanTheNumber) {
    static const char* const lines[] = {"#GI_Sys_AppTitle",
                                        "T",
                                        "#GI_Mess_CloneErr_Head",
                                        "",
                                        "x",
                                        "%s at %n COM%03d %d%% %x",
                                        "#GI_Mess_CloneErr_Check",
                                        "a",
                                        "b",
                                        "c",
                                        "d",
                                        "#End_Of_Ovl"};
    cmcGTex hostile;
    hostile.SetLines(lines);
    gGTex = &hostile;
    gEnviron->ComPort = 12;
    EXPECT_EQ(indCloneMan::CloneErrorText(kClonePortNotOpened), "%s at %n COM012 %d% %x\n\na\nb\nc\nd");
    gGTex = &texts;
}

struct CellsCase {
    int done, total, filled;
};

TEST(CloneProgressCells, FilledCellsAndTheirColumns) {
    const CellsCase cases[] = {
        {0, 65408, 0}, {32704, 65408, 16}, {65407, 65408, 32}, {65408, 65408, 32}, {100, 0, 0}};
    for (const CellsCase& c : cases) {
        const std::vector<ProgressSpan> spans = ProgressSpans(256, c.done, c.total);
        ASSERT_EQ(spans.size(), 64u);
        int filled = 0;
        for (int i = 0; i < 32; ++i) {
            const ProgressSpan& cell = spans[2 * i];
            const ProgressSpan& gap = spans[2 * i + 1];
            EXPECT_EQ(cell.left, 8 * i);
            EXPECT_EQ(cell.width, 7);
            EXPECT_EQ(gap.left, 8 * i + 7);
            EXPECT_EQ(gap.width, 1);
            EXPECT_EQ(gap.colour, kProgressEmpty);
            if (cell.colour == kProgressFilled) {
                EXPECT_EQ(filled, i); // filled cells come first
                ++filled;
            }
        }
        EXPECT_EQ(filled, c.filled) << c.done << "/" << c.total;
    }
}

} // namespace
