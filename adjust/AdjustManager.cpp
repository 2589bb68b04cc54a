#include "adjust/AdjustManager.h"

namespace adj {

AdjustManager* gAdjustManager = nullptr;

} // namespace adj
