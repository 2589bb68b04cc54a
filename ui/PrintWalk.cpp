#include "ui/PrintWalk.h"

namespace {

const PrintWalk kIdle;
const PrintWalk* gWalk = &kIdle;

} // namespace

const PrintWalk& CurrentPrintWalk() {
    return *gWalk;
}

void SetCurrentPrintWalk(const PrintWalk* walk) {
    gWalk = walk ? walk : &kIdle;
}
