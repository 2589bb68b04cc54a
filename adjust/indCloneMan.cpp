#include "adjust/indCloneMan.h"

#include "adjust/AdjustProfile.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"

#include <memory>

namespace adj {

indCloneMan::indCloneMan() : ::indCloneMan(std::make_unique<imcCloneDrv>()) {}

void indCloneMan::BuildLinkScript(bool highSpeed, bool write) {
    (void)write; // the radio's write flag is not set on this link
    cmcCloneDrv& d = Driver();
    int32_t& last = LastSpeed();
    const int32_t wanted = highSpeed ? 1 : 0;
    // Radio and port already run at this speed: the transfer goes straight to the reopened port.
    if (wanted != last || d.PortNumber() != ComPortSetting()) {
        last = wanted;
        const int a = d.ModelA();
        std::string script = SpeedFrame("38400,N,8,1", a, 0x32, 0x37) + "(9600,N,8,1)";
        script +=
            highSpeed ? SpeedFrame("9600,N,8,1", a, 0x30, 0x39) : SpeedFrame("38400,N,8,1", a, 0x32, 0x37);
        d.SetPort(ComPortSetting(), highSpeed ? "38400,N,8,1" : "9600,N,8,1");
        d.SetCommandLeadIn(0);
        d.SetDataLeadIns(0, 0);
        d.SetScript(script);
    }
    d.SetEchoCheck(0);
    d.SetEndCount(1);
    d.SetWaitGo(1);
    d.SetAck(128, 0);
    d.SetTimeout(1000);
}

bool indCloneMan::StartWriteSingle(Handler done, void* user) {
    return StartAdjust(false, host_ && host_->PeakSweepRunning(), done, user);
}

bool indCloneMan::StartWriteList(Handler done, void* user) {
    return StartAdjust(true, true, done, user);
}

bool indCloneMan::StartAdjust(bool list, bool highSpeed, Handler done, void* user) {
    if (IsBusy()) return false;
    BuildLinkScript(highSpeed, false);
    SetMainFormEnabled(false);
    const int period = list                                   ? kListPeriodMs
                       : host_ && host_->EnteringAdjustment() ? kEntryPeriodMs
                                                              : kSinglePeriodMs;
    const bool started = list ? Link().StartWriteList(&DriverDone, this, period)
                              : Link().StartWriteSingle(&DriverDone, this, period);
    if (!started) {
        SetMainFormEnabled(true);
        return false;
    }
    SetJob(kOpAdjust, done, user);
    return true;
}

void indCloneMan::OnReadChecked(dst_CDrv_Result&) {
    if (host_) host_->RefreshModelCaption();
}

void indCloneMan::OnJobEnd(int, dst_CDrv_Result& result) {
    // A transfer that ended before its frame went out must not hold every sequence back.
    Link().ClearPending();
    // Radio and port may stand at either speed after a failure: the next transfer switches again.
    if (result.result != kCloneOk) LastSpeed() = -1;
}

std::string indCloneMan::ErrorCaption() const {
    return gGTex->GetTextLine(AdjustProfile().boxCaptionKey, 0);
}

} // namespace adj
