#include "cells/AppManager.h"

#include "image/ImagePacking.h"
#include "platform/Fatal.h"

AppManager* gAppManager = nullptr;

int PackImage(cmcEeprom& image) {
    if (!gAppManager) plat::Fatal("No application manager.");
    return gAppManager->Static2Dynamic(image, kPackPlain);
}
