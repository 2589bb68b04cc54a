#include "image/CurrentImage.h"

#include "platform/Fatal.h"

namespace {
cmcEeprom* gCurrentImage = nullptr;
cmcEeprom* gReferenceImage = nullptr;
} // namespace

cmcEeprom& CurrentImage() {
    if (!gCurrentImage) plat::Fatal("No current memory image.");
    return *gCurrentImage;
}

void SetCurrentImage(cmcEeprom* image) {
    gCurrentImage = image;
}

cmcEeprom& ReferenceImage() {
    if (!gReferenceImage) plat::Fatal("No reference memory image.");
    return *gReferenceImage;
}

void SetReferenceImage(cmcEeprom* image) {
    gReferenceImage = image;
}
