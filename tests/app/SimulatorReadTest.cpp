// The radio simulator as a user starts it, with a model's start-up data, and
// the program's clone read from it over a pseudo-terminal: the read is
// accepted as that model's data with the simulator's channels.
#include "foundation/ModelClass.h"
#include "image/datCh.h"
#include "tests/app/DocumentFixture.h"
#include "tests/support/ParamNames.h"
#include "tools/radiosim/RadioSim.h"
#include "tools/radiosim/StartupMemory.h"

namespace {

using apptest::DocumentFixture;

class SimulatorReadTest : public DocumentFixture, public ::testing::WithParamInterface<int32_t> {
protected:
    // Runs the clone manager's jobs, one after the other, until none is left.
    void Run(CloningDocument& app) {
        for (int t = 0; t < 300000 && app.CloneManager().IsBusy(); t += 10) {
            sim_.Pump();
            scheduler_.Advance(10);
        }
        ASSERT_FALSE(app.CloneManager().IsBusy());
    }

    testsupport::ScopedEnv comDir_{"TOLVANE_COM_DIR", dir_.Path()};
    radiosim::RadioSim sim_;
};

TEST_P(SimulatorReadTest, StartupDataOfEveryModelReadsAsThatModelWithItsChannels) {
    const int32_t model = GetParam();
    ASSERT_EQ(radiosim::ModelOfSuffix(testsupport::ModelName(model)), model);
    const radiosim::StartupMemory radio = radiosim::BuildStartupMemory(model);
    sim_.Memory() = radio.bytes;
    sim_.SetCloneEnd(radio.cloneEnd);
    sim_.SetInfoModel(model);
    sim_.SetPacing(false);
    ASSERT_TRUE(sim_.Open());
    ASSERT_FALSE(sim_.LinkAs(dir_.Path(), 5).empty());

    // The program as it starts without settings: the default model, COM5 chosen.
    CloningDocument& app = StartWithData();
    gEnviron->ComPort = 5;
    app.CloneManager().Driver().SetSettleWait([this](int) { sim_.Pump(); });
    app.CloneRead();
    Run(app);

    ASSERT_TRUE(boxes_.Log().empty()) << boxes_.Log().front().text;
    EXPECT_EQ(gEnviron->ModelType, model);
    EXPECT_TRUE(app.IsModified());
    EXPECT_EQ(app.ProgrammedChannelCount(), 5);
    datCh channel(&app.WorkingImage());
    EXPECT_EQ(channel.Load(ModelClassOf(model), 0).rxFreq, 146520000);
    EXPECT_EQ(channel.Load(ModelClassOf(model), 4).rxFreq, 446018750);
    // The read went as far as the end the radio told, in blocks of 16 bytes.
    int frames = 0;
    for (const radiosim::LogEntry& e : sim_.Log())
        frames += e.fromRadio && e.what == "E4" ? 1 : 0;
    EXPECT_EQ(frames, (radio.cloneEnd + 1) / 16);

    // What was read goes back: the channels are there, so the write is not refused.
    boxes_.Expect(Text("GI_Mess_Confirm_CloneWrite"), plat::IDOK);
    boxes_.Expect(Text("GI_Mess_CloneWrite_Succeeded"), plat::IDOK);
    app.CloneWrite();
    Run(app);
    EXPECT_EQ(boxes_.Log().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Models, SimulatorReadTest, ::testing::Range(0, 10), testsupport::ModelParamName());

} // namespace
