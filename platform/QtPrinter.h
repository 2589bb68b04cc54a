#pragma once
#include <QPainter>
#include <QPrinter>
#include <QSize>

#include <memory>
#include <string>

class QWidget;

namespace plat {

// The printer the print commands draw on: whether there is one at all, its
// set-up dialog, and one document at a time drawn through its painter in
// printer pixels. Pages are the printable area; the resolution is the
// printer's vertical one, used for both directions.
class Printer {
public:
    virtual ~Printer() = default;
    // A printer or a file output to print into is offered.
    virtual bool HasPrinter() = 0;
    // The set-up dialog over parent; false when it was cancelled.
    virtual bool Setup(QWidget* parent) = 0;
    // False when no document could be started (printer error, file not writable).
    virtual bool BeginDoc(const std::string& title) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual bool Printing() const = 0;
    // Pixels per inch.
    virtual int Resolution() const = 0;
    // The printable area in printer pixels.
    virtual QSize PageSize() const = 0;
    // Valid while a document is open.
    virtual QPainter& Painter() = 0;
    // What fonts are measured against, document open or not.
    virtual QPaintDevice& Device() = 0;
};

// A QPrinter behind the interface: the program's printer and, in PDF
// format, the file output.
class QtPrinterBase : public Printer {
public:
    bool BeginDoc(const std::string& title) override;
    void NewPage() override;
    void EndDoc() override;
    bool Printing() const override { return painter_.isActive(); }
    int Resolution() const override;
    QSize PageSize() const override;
    QPainter& Painter() override { return painter_; }
    QPaintDevice& Device() override { return Qp(); }

protected:
    // The QPrinter, made on first use: making one loads the system's print
    // back end, which a program that never prints should not wait for at start.
    QPrinter& Qp() const;
    // Settings of a fresh QPrinter.
    virtual void Configure(QPrinter&) const {}

private:
    mutable std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
};

// The system's printers with Qt's print dialog, which always offers
// printing into a PDF file besides them.
class QtPrinterService : public QtPrinterBase {
public:
    bool HasPrinter() override;
    bool Setup(QWidget* parent) override;
};

// Test double: prints into a PDF file at a chosen resolution on A4, the
// whole sheet printable, with scripted answers for the printer's presence
// and the set-up dialog.
class PdfPrinter : public QtPrinterBase {
public:
    PdfPrinter(const std::string& path, int dpi);

    bool HasPrinter() override { return hasPrinter; }
    bool Setup(QWidget* parent) override;

    bool hasPrinter = true;
    bool setupAnswer = true;
    int setups = 0;

protected:
    void Configure(QPrinter& printer) const override;

private:
    std::string path_;
    int dpi_;
};

// The installed printer; none installed is a fatal error.
Printer& Printers();
void SetPrinter(Printer* printer);

} // namespace plat
