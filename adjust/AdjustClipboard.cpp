#include "adjust/AdjustClipboard.h"

namespace adj {

void datClipCh::KeepPositionFlags(::datCh& out, const ::datCh& destination) const {
    out.refCOff = destination.refCOff;
    out.smarTrunkBank = destination.smarTrunkBank;
}

} // namespace adj
