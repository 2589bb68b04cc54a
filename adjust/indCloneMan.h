#pragma once
#include "adjust/AdjustLinkHost.h"
#include "adjust/imcCloneDrv.h"
#include "clone/indCloneMan.h"

#include <cstdint>
#include <string>

namespace adj {

// The adjustment program's clone manager: the cloning program's, on the
// adjustment link, with a link script that is only rebuilt when the wanted
// speed changes, reads always at high speed, and adjustment transfers
// (operation 4) of one item or a list, without a progress window.
class indCloneMan : public ::indCloneMan {
public:
    static constexpr int kSinglePeriodMs = 4;
    static constexpr int kEntryPeriodMs = 250; // single items while the radio enters adjustment use
    static constexpr int kListPeriodMs = 10;

    indCloneMan();

    // The application manager; none keeps the last speed here and runs no sweep.
    void SetHost(AdjustLinkHost* host) { host_ = host; }

    void BuildLinkScript(bool highSpeed, bool write) override;

    void SetItemTable(const ItemEntry* entries) { Link().SetItemTable(entries); }
    void SetSingle(int code, int value, uint8_t* readBack) { Link().SetSingle(code, value, readBack); }
    bool IsPending() { return Link().IsPending(); }
    // Each returns false, with nothing started, while the driver is busy.
    bool StartWriteSingle(Handler done, void* user);
    bool StartWriteList(Handler done, void* user);

    imcCloneDrv& Link() { return static_cast<imcCloneDrv&>(Driver()); }

protected:
    bool ReadAtHighSpeed() const override { return true; }
    void OnReadChecked(dst_CDrv_Result& result) override;
    void OnJobEnd(int operation, dst_CDrv_Result& result) override;
    std::string ErrorCaption() const override;

private:
    bool StartAdjust(bool list, bool highSpeed, Handler done, void* user);
    int32_t& LastSpeed() { return host_ ? host_->LastLinkSpeed() : ownLastSpeed_; }

    AdjustLinkHost* host_ = nullptr;
    int32_t ownLastSpeed_ = -1;
};

} // namespace adj
