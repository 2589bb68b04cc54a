#pragma once
// What an adjustment program's sheet needs around it outside the program:
// a model's settings, virtual time, an event bus, a working image, and the
// program's cell engine installed.
#include "adjust/AdjustVocabulary.h"
#include "cells/CellEngine.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/CurrentImage.h"
#include "image/cmcEeprom.h"
#include "tests/image/ScopedModel.h"
#include "tests/support/ManualScheduler.h"

#include <utility>

namespace adjtest {

struct SheetScope {
    SheetScope() {
        image.SetSize(148298);
        SetCurrentImage(&image);
    }
    ~SheetScope() {
        SetCurrentImage(nullptr);
        gEvMan = oldBus;
    }
    SheetScope(const SheetScope&) = delete;
    SheetScope& operator=(const SheetScope&) = delete;

    testimage::ScopedModel model{0};
    plat::ManualScheduler sched;
    bool installed = (sched.Install(), true);
    cmcEvMan bus;
    cmcEvMan* oldBus = std::exchange(gEvMan, &bus);
    cmcEeprom image;
    ScopedCellEngine engine{adj::AdjustCellEngine()};
};

} // namespace adjtest
