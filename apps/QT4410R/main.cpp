// The cloning program.
#include "platform/QtServices.h"
#include "ui/ProgramRun.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    plat::QtServices services;
    return RunProgram(CloningProfile(), CloningProgramMakers(), argc, argv);
}
