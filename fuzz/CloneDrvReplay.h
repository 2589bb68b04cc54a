#pragma once
// A clone job of the driver replayed against recorded radio replies: the
// fuzz target's input format, shared with the test that keeps its seeds
// whole transfers.
//
// Input: a settings byte, a read-size byte, then the radio's successive
// replies, each as a two-byte big-endian length and its bytes (a short last
// one takes what is left). Settings bits 0-1 pick the job (0 read of the clone
// area, 1 write of the area above the header, 2 information, 3 write of the
// whole area); bit 2 drops the wait for the go byte, bit 3 the end frame's
// count; bits 4-5 pick the acknowledge period (128, none, 16, 64). The
// read-size byte is how many bytes one read of the port brings, 8 at least;
// below 8 every read takes all that has arrived.
//
// The first reply comes once the program has sent its command; each later
// one once the previous one has been taken up and, for the write and the
// information job, the program has sent something since: a radio answers
// what it was sent, and during a read it sends frame after frame.
#include "clone/cmcCloneDrv.h"
#include "image/cmcEeprom.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/ScriptedSerialPorts.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace clonereplay {

using Bytes = std::vector<uint8_t>;

enum JobKind : uint8_t { kRead = 0, kWrite = 1, kInfo = 2, kWriteWhole = 3 };
constexpr uint8_t kNoWaitGo = 0x04;
constexpr uint8_t kNoEndCount = 0x08;
constexpr int kTickMs = 10;
constexpr int kCommandLeadIn = 12;

struct Job {
    uint8_t settings = kRead;
    uint8_t readSize = 0;
    std::vector<Bytes> replies;

    int Kind() const { return settings & 3; }
    bool IsWrite() const { return Kind() == kWrite || Kind() == kWriteWhole; }
    int AckPeriod() const {
        static const int kPeriods[] = {128, 0, 16, 64};
        return kPeriods[settings >> 4 & 3];
    }
    RangeList Ranges() const {
        const int32_t first = Kind() == kWrite ? 0x100 : 0;
        return RangeList{{first, cmcCloneDrv::kRadioLast}, kRangeListEnd};
    }
};

inline Job Parse(const uint8_t* data, size_t size) {
    Job job;
    if (size > 0) job.settings = data[0];
    if (size > 1) job.readSize = data[1];
    size_t at = 2;
    while (at < size) {
        size_t n = data[at] << 8;
        if (at + 1 < size) n |= data[at + 1];
        at += 2;
        if (at > size) at = size;
        n = std::min(n, size - at);
        job.replies.emplace_back(data + at, data + at + n);
        at += n;
    }
    return job;
}

inline Bytes Serialize(const Job& job) {
    Bytes out{job.settings, job.readSize};
    for (const Bytes& r : job.replies) {
        out.push_back(static_cast<uint8_t>(r.size() >> 8));
        out.push_back(static_cast<uint8_t>(r.size()));
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

struct Outcome {
    bool finished = false;
    int calls = 0;
    int code = -1;
    cmcEeprom image;
    Bytes received; // the received-address bitmap
    Bytes written;  // everything the program sent
    size_t repliesTaken = 0;
};

namespace detail {
inline void OnDone(void* user, dst_CDrv_Result* r) {
    auto* o = static_cast<Outcome*>(user);
    ++o->calls;
    o->code = r->result;
    o->image = r->image;
    o->received.assign(r->received.Data(), r->received.Data() + r->received.Size());
}
} // namespace detail

// Runs the job on a driver set up as the clone manager sets it up, with the
// bound of an image of imageSize bytes; a write sends source. The scheduler
// must be installed.
inline Outcome Run(const Job& job, const cmcEeprom& source, int32_t imageSize, plat::ManualScheduler& sched) {
    plat::ScriptedSerialPorts ports;
    ports.Install();
    ports.readLimit = job.readSize < 8 ? -1 : job.readSize;
    bool sentSinceReply = false;
    ports.onWrite = [&](const uint8_t*, int) { sentSinceReply = true; };

    Outcome outcome;
    const RangeList ranges = job.Ranges();
    size_t input = 0;
    for (const Bytes& r : job.replies)
        input += r.size();
    {
        cmcCloneDrv drv;
        drv.SetSettleWait([](int) {});
        drv.SetModel(0x4410, 0);
        drv.SetImageSize(imageSize);
        drv.SetCommandLeadIn(kCommandLeadIn);
        drv.SetDataLeadIns(0, 0);
        drv.SetEchoCheck(0);
        drv.SetEndCount((job.settings & kNoEndCount) ? 0 : 1);
        drv.SetWaitGo((job.settings & kNoWaitGo) ? 0 : 1);
        if (job.AckPeriod() > 0) drv.SetAck(job.AckPeriod(), 0);
        bool started = false;
        switch (job.Kind()) {
        case kRead:
            started = drv.StartRead(ranges, &detail::OnDone, &outcome);
            break;
        case kInfo:
            started = drv.StartInfo(&detail::OnDone, &outcome);
            break;
        default:
            started = drv.StartWrite(source, ranges, &detail::OnDone, &outcome);
            break;
        }
        if (!started) return outcome;
        // Every reply is taken up a byte a tick at least, every stall ends at a
        // time-out, and a write sends its frames eight a tick.
        const size_t limit = input + 4 * job.replies.size() + 0x10000 / 8 + 20000;
        for (size_t tick = 0; tick < limit && drv.IsBusy(); ++tick) {
            const bool answering = job.Kind() == kRead || sentSinceReply;
            if (ports.input.empty() && !ports.written.empty() && answering &&
                outcome.repliesTaken < job.replies.size()) {
                ports.Feed(job.replies[outcome.repliesTaken++]);
                sentSinceReply = false;
            }
            sched.Advance(kTickMs);
        }
        outcome.finished = !drv.IsBusy();
    }
    outcome.written = ports.written;
    return outcome;
}

} // namespace clonereplay
