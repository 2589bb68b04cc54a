#include "platform/Fatal.h"
#include "platform/QtServices.h"
#include "tests/support/ProcessStateCheck.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    plat::SetFatalHandler(plat::ThrowingFatalHandler);
    // Widgets see Shift as the events QTest sends have it.
    plat::QtKeyState keys;
    plat::SetKeyState(&keys);
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::InstallProcessStateCheck();
    return RUN_ALL_TESTS();
}
