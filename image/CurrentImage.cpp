#include "image/CurrentImage.h"

#include "platform/Fatal.h"

namespace {
cmcEeprom* gCurrentImage = nullptr;
}

cmcEeprom& CurrentImage() {
    if (!gCurrentImage) plat::Fatal("No current memory image.");
    return *gCurrentImage;
}

void SetCurrentImage(cmcEeprom* image) {
    gCurrentImage = image;
}
