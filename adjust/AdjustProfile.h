#pragma once
#include "foundation/ProgramProfile.h"

namespace adj {

// The adjustment program, QT4411R: its own single-instance guard and
// settings, its caption, no help overlay, the slow link on a first start,
// and only clone data files of map revision 1.
const ProgramProfile& AdjustProfile();

} // namespace adj
