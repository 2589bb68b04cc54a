#include "image/CurrentImage.h"
#include "image/cmcEeprom.h"
#include "platform/Fatal.h"

#include <gtest/gtest.h>

TEST(CurrentImage, IsTheImageLastSetAndFatalWhileUnset) {
    SetCurrentImage(nullptr);
    try {
        CurrentImage();
        FAIL();
    } catch (const plat::FatalError& e) {
        EXPECT_STREQ(e.what(), "No current memory image.");
    }
    cmcEeprom img;
    SetCurrentImage(&img);
    EXPECT_EQ(&CurrentImage(), &img);
    SetCurrentImage(nullptr);
}
