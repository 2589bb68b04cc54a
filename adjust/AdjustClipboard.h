#pragma once
#include "image/datClipCh.h"

namespace adj {

// The adjustment program's channel clipboard: of the flags that stay with
// the position, it keeps the switch of reference C and the first bank bit
// only; the second bank bit travels with the pasted row.
class datClipCh : public ::datClipCh {
protected:
    void KeepPositionFlags(::datCh& out, const ::datCh& destination) const override;
};

} // namespace adj
