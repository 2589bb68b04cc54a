#include "platform/QtPrinter.h"

#include "platform/Fatal.h"
#include "platform/QtText.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>

namespace plat {
namespace {

Printer* gPrinter = nullptr;

} // namespace

Printer& Printers() {
    if (!gPrinter) Fatal("No printer service installed.");
    return *gPrinter;
}

void SetPrinter(Printer* printer) {
    gPrinter = printer;
}

QtPrinterBase::QtPrinterBase() {
    printer_.setCopyCount(1);
}

bool QtPrinterBase::BeginDoc(const std::string& title) {
    printer_.setDocName(ToQString(title));
    return painter_.begin(&printer_);
}

void QtPrinterBase::NewPage() {
    printer_.newPage();
}

void QtPrinterBase::EndDoc() {
    if (painter_.isActive()) painter_.end();
}

int QtPrinterBase::Resolution() const {
    return printer_.logicalDpiY();
}

QSize QtPrinterBase::PageSize() const {
    return QSize(printer_.width(), printer_.height());
}

bool QtPrinterService::HasPrinter() {
    // Qt's dialog always offers the PDF file output, which is a printer of
    // its own here, whether or not the system has any.
    return true;
}

bool QtPrinterService::Setup(QWidget* parent) {
    QPrintDialog dialog(&printer_, parent);
    return dialog.exec() == QDialog::Accepted;
}

PdfPrinter::PdfPrinter(const std::string& path, int dpi) {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setOutputFileName(ToQString(path));
    printer_.setResolution(dpi);
    printer_.setPageSize(QPageSize(QPageSize::A4));
    printer_.setFullPage(true);
}

bool PdfPrinter::Setup(QWidget*) {
    ++setups;
    return setupAnswer;
}

} // namespace plat
