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

QPrinter& QtPrinterBase::Qp() const {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setCopyCount(1);
        Configure(*printer_);
    }
    return *printer_;
}

bool QtPrinterBase::BeginDoc(const std::string& title) {
    Qp().setDocName(ToQString(title));
    return painter_.begin(&Qp());
}

void QtPrinterBase::NewPage() {
    Qp().newPage();
}

void QtPrinterBase::EndDoc() {
    if (painter_.isActive()) painter_.end();
}

int QtPrinterBase::Resolution() const {
    return Qp().logicalDpiY();
}

QSize QtPrinterBase::PageSize() const {
    return QSize(Qp().width(), Qp().height());
}

bool QtPrinterService::HasPrinter() {
    // Qt's dialog always offers the PDF file output, which is a printer of
    // its own here, whether or not the system has any.
    return true;
}

bool QtPrinterService::Setup(QWidget* parent) {
    QPrintDialog dialog(&Qp(), parent);
    return dialog.exec() == QDialog::Accepted;
}

PdfPrinter::PdfPrinter(const std::string& path, int dpi) : path_(path), dpi_(dpi) {}

void PdfPrinter::Configure(QPrinter& printer) const {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(ToQString(path_));
    printer.setResolution(dpi_);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
}

bool PdfPrinter::Setup(QWidget*) {
    ++setups;
    return setupAnswer;
}

} // namespace plat
