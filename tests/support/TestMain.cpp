#include "platform/Fatal.h"
#include "tests/support/ProcessStateCheck.h"

#include <gtest/gtest.h>

// Fatal errors throw in tests, so a test can expect them instead of the process ending.
int main(int argc, char** argv) {
    plat::SetFatalHandler(plat::ThrowingFatalHandler);
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::InstallProcessStateCheck();
    return RUN_ALL_TESTS();
}
