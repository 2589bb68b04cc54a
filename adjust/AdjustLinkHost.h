#pragma once
#include <cstdint>

namespace adj {

// What the adjustment program's clone manager asks of its application
// manager: the speed the link script was last built for, which it keeps up
// to date, and the state of the running procedures that sets the pace.
class AdjustLinkHost {
public:
    virtual ~AdjustLinkHost() = default;
    // The speed flag (1 high, 0 normal) the script was last built for; -1 none yet.
    virtual int32_t& LastLinkSpeed() = 0;
    // A peak sweep runs: its frames go at the high speed.
    virtual bool PeakSweepRunning() const = 0;
    // The radio is being put into adjustment use: single items go slowly.
    virtual bool EnteringAdjustment() const = 0;
    // After a read was checked: the model caption of the tree follows the model read.
    virtual void RefreshModelCaption() {}
};

} // namespace adj
