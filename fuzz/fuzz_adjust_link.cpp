// The adjustment link's replies: arbitrary bytes from the radio after each E8
// frame of a single item or of an item list (the A/D read among them), while
// the link waits for the radio's answer. Whatever arrives, the transfer must
// end once with one of the driver's result codes, store nothing but into the
// bytes the items named, and on success have sent every item of its list.
//
// Input: two bytes of shape, then the radio's replies, one after each frame
// the program writes, separated by "|#|". Shape byte 0: bit 7 a single item
// (else a list), bit 6 the line echoes what the program sends, bits 0-5 how
// many bytes one read of the port brings (1 + 4n). Shape byte 1: the list, the
// A/D read's thirteen answered items when it is a multiple of 4, else
// 1 + (b % 49) items of which every third goes unanswered.
#include "adjust/imcCloneDrv.h"
#include "platform/Fatal.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/ScriptedSerialPorts.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kModelWord = 0x4410;
constexpr int kAdReadings = 13;
constexpr int kReadItem = 3; // reads the A/D channel its value names
constexpr int kPeriodMs = 10;
const uint8_t kSeparator[] = {'|', '#', '|'};

void AbortOnFatal(const std::string&) {
    std::abort();
}

struct Outcome {
    int calls = 0;
    int code = -1;
};

void OnDone(void* user, dst_CDrv_Result* r) {
    auto* o = static_cast<Outcome*>(user);
    ++o->calls;
    o->code = r->result;
}

std::vector<std::vector<uint8_t>> SplitReplies(const uint8_t* data, size_t size) {
    std::vector<std::vector<uint8_t>> replies(1);
    for (size_t i = 0; i < size;) {
        if (size - i >= sizeof kSeparator && std::memcmp(data + i, kSeparator, sizeof kSeparator) == 0) {
            replies.emplace_back();
            i += sizeof kSeparator;
        } else {
            replies.back().push_back(data[i++]);
        }
    }
    return replies;
}

// The E8 frames among the bytes the program wrote.
int FramesSent(const std::vector<uint8_t>& written) {
    static const uint8_t kHead[] = {0xFE, 0xFE, 0xEE, 0xEF, 0xE8};
    int n = 0;
    for (size_t i = 0; i + sizeof kHead <= written.size(); ++i)
        n += std::memcmp(written.data() + i, kHead, sizeof kHead) == 0;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static plat::ManualScheduler sched;
    static const bool installed = (sched.Install(), plat::SetFatalHandler(&AbortOnFatal), true);
    (void)installed;
    if (size < 2) return 0;

    const bool single = (data[0] & 0x80) != 0;
    const bool echo = (data[0] & 0x40) != 0;
    const bool adRead = data[1] % 4 == 0;
    const int items = single ? 1 : adRead ? kAdReadings : 1 + data[1] % 49;
    const std::vector<std::vector<uint8_t>> replies = SplitReplies(data + 2, size - 2);

    plat::ScriptedSerialPorts ports;
    ports.Install();
    ports.readLimit = 1 + (data[0] & 0x3F) * 4;
    size_t next = 0;
    ports.onWrite = [&](const uint8_t* bytes, int n) {
        if (echo) ports.Feed(std::vector<uint8_t>(bytes, bytes + n));
        if (next < replies.size()) ports.Feed(replies[next++]);
    };

    // Each answer byte on its own in the heap, so that a store past it is seen.
    std::vector<std::unique_ptr<uint8_t>> answers;
    std::vector<uint8_t> values(static_cast<size_t>(items));
    std::vector<adj::ItemEntry> list;
    for (int i = 0; i < items; ++i) {
        const bool answered = single || adRead || i % 3 != 2;
        answers.emplace_back(answered ? new uint8_t(0) : nullptr);
        values[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 37);
        list.push_back({adRead ? kReadItem : i, &values[static_cast<size_t>(i)], answers.back().get()});
    }
    list.push_back(adj::ItemEntry{});

    Outcome outcome;
    {
        adj::imcCloneDrv drv;
        drv.SetSettleWait([](int) {});
        drv.SetModel(kModelWord, 0);
        bool started;
        if (single) {
            drv.SetSingle(kReadItem, 0x5A, answers[0].get());
            started = drv.StartWriteSingle(&OnDone, &outcome, kPeriodMs);
        } else {
            drv.SetItemTable(list.data());
            started = drv.StartWriteList(&OnDone, &outcome, kPeriodMs);
        }
        if (!started) std::abort();
        for (int tick = 0; tick < 20000 && drv.IsBusy(); ++tick)
            sched.Advance(kPeriodMs);
        if (drv.IsBusy()) std::abort();
    }
    const bool known =
        outcome.code == kCloneOk || outcome.code == kCloneTimeout || outcome.code == kCloneBadFrame;
    if (outcome.calls != 1 || !known) std::abort();
    if (outcome.code == kCloneOk && FramesSent(ports.written) != items) std::abort();
    return 0;
}
