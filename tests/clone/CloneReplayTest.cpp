// Clone jobs recorded against the radio simulator over a pseudo-terminal and
// replayed from the recording: the radio's replies, one by one, are the
// clone driver fuzz target's input, and its seed corpus must stay whole
// transfers. With TOLVANE_WRITE_CLONE_SEEDS naming a folder, the recordings
// are written there as seeds.
#include "clone/cmcCloneDrv.h"
#include "fuzz/CloneDrvReplay.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/TempDir.h"
#include "tools/radiosim/RadioSim.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

using clonereplay::Bytes;
using clonereplay::Job;

constexpr int32_t kImageSize = 148298;

cmcEeprom Patterned() {
    cmcEeprom image;
    image.SetSize(kImageSize);
    for (int32_t a = 0; a < kImageSize; ++a)
        image.SetByte(a, static_cast<uint8_t>(a * 7 + (a >> 8)));
    return image;
}

class CloneReplayTest : public ::testing::Test {
protected:
    struct Recording {
        Job job;
        int code = -1;
        cmcEeprom image;
        Bytes sentToRadio;
    };

    static void OnDone(void* user, dst_CDrv_Result* r) {
        auto* rec = static_cast<Recording*>(user);
        rec->code = r->result;
        rec->image = r->image;
    }

    // The job as the fuzz target runs it, over the line to the simulator; the
    // radio's replies as the simulator logged them become the job's replies.
    Recording Record(uint8_t settings) {
        radiosim::RadioSim sim;
        EXPECT_TRUE(sim.Open());
        EXPECT_FALSE(sim.LinkAs(dir.Path(), 5).empty());
        sim.FillPattern("random");
        Recording rec;
        rec.job.settings = settings;
        cmcCloneDrv drv;
        drv.SetSettleWait([&](int) { sim.Pump(); });
        drv.SetModel(0x4410, 0);
        drv.SetImageSize(kImageSize);
        drv.SetPort(5, "9600,N,8,1");
        drv.SetCommandLeadIn(clonereplay::kCommandLeadIn);
        drv.SetEndCount(1);
        drv.SetWaitGo(1);
        drv.SetAck(rec.job.AckPeriod(), 0);
        const RangeList ranges = rec.job.Ranges();
        if (rec.job.Kind() == clonereplay::kRead)
            EXPECT_TRUE(drv.StartRead(ranges, &OnDone, &rec));
        else if (rec.job.Kind() == clonereplay::kInfo)
            EXPECT_TRUE(drv.StartInfo(&OnDone, &rec));
        else
            EXPECT_TRUE(drv.StartWrite(source, ranges, &OnDone, &rec));
        for (int t = 0; t < 200000 && drv.IsBusy(); ++t) {
            sim.Pump();
            sched.Advance(clonereplay::kTickMs);
        }
        EXPECT_FALSE(drv.IsBusy());
        for (const radiosim::LogEntry& e : sim.Log()) {
            if (e.fromRadio)
                rec.job.replies.push_back(e.bytes);
            else
                rec.sentToRadio.insert(rec.sentToRadio.end(), e.bytes.begin(), e.bytes.end());
        }
        if (rec.job.IsWrite())
            rec.image.Write(0, sim.Memory().data(), static_cast<int32_t>(sim.Memory().size()));
        return rec;
    }

    testsupport::TempDir dir;
    testsupport::ScopedEnv env{"TOLVANE_COM_DIR", dir.Path()};
    plat::ManualScheduler sched;
    bool installed = (sched.Install(), true);
    const cmcEeprom source = Patterned();
};

TEST_F(CloneReplayTest, ParseTakesLengthPrefixedRepliesAndCutsTheLastShort) {
    const Bytes input = {0x31, 0x20, 0x00, 0x02, 0xFB, 0xFB, 0x00, 0x00, 0x00, 0x05, 0xFE, 0xFE, 0x00};
    const Job job = clonereplay::Parse(input.data(), input.size());
    EXPECT_EQ(job.Kind(), clonereplay::kWrite);
    EXPECT_EQ(job.AckPeriod(), 64);
    EXPECT_EQ(job.readSize, 0x20);
    ASSERT_EQ(job.replies.size(), 3u);
    EXPECT_EQ(job.replies[0], (Bytes{0xFB, 0xFB}));
    EXPECT_TRUE(job.replies[1].empty());
    EXPECT_EQ(job.replies[2], (Bytes{0xFE, 0xFE, 0x00}));
    // A lone length byte is a reply of nothing.
    const Bytes odd = {0x00, 0x00, 0x07};
    ASSERT_EQ(clonereplay::Parse(odd.data(), odd.size()).replies.size(), 1u);
    EXPECT_TRUE(clonereplay::Parse(odd.data(), odd.size()).replies[0].empty());
}

// Each job recorded at the radio replays to the same end from its recording:
// the read brings the radio's memory, the write sends the same bytes.
TEST_F(CloneReplayTest, RecordedJobsReplayToTheSameEnd) {
    const char* seeds = std::getenv("TOLVANE_WRITE_CLONE_SEEDS");
    const struct {
        const char* name;
        uint8_t settings;
    } kJobs[] = {{"read", clonereplay::kRead},
                 {"write", clonereplay::kWrite},
                 {"write_whole", clonereplay::kWriteWhole},
                 {"info", clonereplay::kInfo}};
    for (const auto& j : kJobs) {
        SCOPED_TRACE(j.name);
        const Recording rec = Record(j.settings);
        ASSERT_EQ(rec.code, kCloneOk);
        const clonereplay::Outcome replay = clonereplay::Run(rec.job, source, kImageSize, sched);
        ASSERT_TRUE(replay.finished);
        EXPECT_EQ(replay.code, kCloneOk);
        EXPECT_EQ(replay.repliesTaken, rec.job.replies.size());
        if (rec.job.Kind() == clonereplay::kRead) {
            EXPECT_EQ(rec.job.replies.size(), 4088u + 1u); // a reply per frame and the end frame
            for (int32_t a = 0; a <= cmcCloneDrv::kRadioLast; ++a)
                ASSERT_EQ(replay.image.GetByte(a), rec.image.GetByte(a)) << a;
        } else {
            EXPECT_EQ(replay.written, rec.sentToRadio);
        }
        if (rec.job.IsWrite()) {
            const AddressRange area = rec.job.Ranges().front();
            for (int32_t a = area.first; a <= area.last; ++a)
                ASSERT_EQ(rec.image.GetByte(a), source.GetByte(a)) << a;
        }
        if (seeds) {
            const Bytes bytes = clonereplay::Serialize(rec.job);
            std::ofstream(std::string(seeds) + "/" + j.name, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
    }
}

// The fuzz target's seeds are whole transfers that end well.
TEST_F(CloneReplayTest, SeedCorpusHoldsWholeTransfers) {
    int found = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TOLVANE_SOURCE_DIR) +
                                                                 "/fuzz/corpus/fuzz_clone_drv")) {
        SCOPED_TRACE(entry.path().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const Job job = clonereplay::Parse(bytes.data(), bytes.size());
        const clonereplay::Outcome replay = clonereplay::Run(job, source, kImageSize, sched);
        ASSERT_TRUE(replay.finished);
        EXPECT_EQ(replay.code, kCloneOk);
        ++found;
    }
    EXPECT_GE(found, 4);
}

} // namespace
