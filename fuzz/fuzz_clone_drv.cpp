// Arbitrary bytes from the radio while the driver waits for an information
// reply or reads data frames. The first byte picks the job and how many bytes
// each read of the port brings; the rest is what the radio sends after the
// request. Whatever arrives, the job must end with one of the driver's result
// codes and store nothing outside its image.
#include "clone/cmcCloneDrv.h"
#include "platform/Fatal.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/ScriptedSerialPorts.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void AbortOnFatal(const std::string&) {
    std::abort();
}

struct Outcome {
    int calls = 0;
    int code = -1;
    int receivedBytes = 0;
    int imageSize = 0;
};

void OnDone(void* user, dst_CDrv_Result* r) {
    auto* o = static_cast<Outcome*>(user);
    ++o->calls;
    o->code = r->result;
    o->receivedBytes = r->received.Size();
    o->imageSize = r->image.GetSize();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static plat::ManualScheduler sched;
    static const bool installed = (sched.Install(), plat::SetFatalHandler(&AbortOnFatal), true);
    (void)installed;
    if (size < 1) return 0;

    const bool info = (data[0] & 0x80) != 0;
    plat::ScriptedSerialPorts ports;
    ports.Install();
    ports.readLimit = 1 + (data[0] & 0x7F) * 4;
    const std::vector<uint8_t> reply(data + 1, data + size);
    ports.onWrite = [&](const uint8_t*, int) { ports.Feed(reply); };

    constexpr int kBound = 0x400;
    Outcome outcome;
    {
        cmcCloneDrv drv;
        drv.SetSettleWait([](int) {});
        drv.SetModel(0x4410, 0);
        drv.SetImageSize(kBound);
        const bool started = info ? drv.StartInfo(&OnDone, &outcome)
                                  : drv.StartRead({{0, 0x1FF}, {0x300, 0x3FF}, {1, 0}}, &OnDone, &outcome);
        if (!started) std::abort();
        for (int tick = 0; tick < 20000 && drv.IsBusy(); ++tick)
            sched.Advance(10);
        if (drv.IsBusy()) std::abort();
    }
    const int allowed[] = {kCloneOk,      kCloneTimeout, kCloneBadFrame, kCloneEndCount,
                           kCloneMissing, kCloneOutside, kCloneBadInfo};
    bool known = false;
    for (int code : allowed)
        known = known || outcome.code == code;
    if (outcome.calls != 1 || !known || outcome.imageSize != kBound || outcome.receivedBytes > kBound / 8)
        std::abort();
    return 0;
}
