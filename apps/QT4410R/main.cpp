// The cloning program.
#include "platform/QtServices.h"
#include "ui/ProgramGlobals.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    plat::QtServices services;
    return RunCloningProgram(argc, argv);
}
