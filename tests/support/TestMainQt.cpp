#include "platform/Fatal.h"
#include "tests/support/ProcessStateCheck.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    plat::SetFatalHandler(plat::ThrowingFatalHandler);
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::InstallProcessStateCheck();
    return RUN_ALL_TESTS();
}
