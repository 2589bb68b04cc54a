// The adjustment program.
#include "adjust/ui/AdjustProgram.h"
#include "platform/QtServices.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    plat::QtServices services;
    return adj::RunAdjustProgram(argc, argv);
}
