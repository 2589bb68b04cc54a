#pragma once
// The cloning program's main window over the shipped overlay with the
// printing fixture sheets joined to it, printing into a PDF file at 600 dpi,
// and poppler's tools to read what was printed.
#include "foundation/ModelClass.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/datCh.h"
#include "platform/QtPrinter.h"
#include "tests/support/BankFill.h"
#include "tests/ui/AppFixture.h"
#include "ui/TForm1.h"
#include "ui/cuiGrid.h"
#include "ui/cuiSheet.h"
#include "ui/iuiTree.h"

#include <QApplication>
#include <QSizeF>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace uitest {

class PrintFixture : public AppFixture {
protected:
    PrintFixture() {
        plat::SetPrinter(&printer_);
        const std::string fixture =
            testsupport::TempDir::ReadFile(TOLVANE_SOURCE_DIR "/tests/data/print/print.ovl");
        testsupport::TempDir::WriteFile(dir_.File("print.ovl"), fixture);
        StartWith(CloningDocumentFactory(), ProgramDirWithFixture(dir_.File("print.ovl")));
        LoadModel(0);
        window_ = std::make_unique<indMain>(Doc());
        form_ = std::make_unique<TForm1>(*window_);
        Settle();
    }
    ~PrintFixture() override {
        form_.reset();
        window_.reset();
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        plat::SetPrinter(nullptr);
    }

    void LoadModel(int32_t model) {
        gEnviron->ModelType = model;
        Doc().LoadStartupData();
    }
    void Settle() {
        scheduler_.Advance(100);
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void Tick(int n) {
        for (int i = 0; i < n; ++i) {
            scheduler_.Advance(indMain::kTaskIntervalMs);
            QApplication::processEvents();
        }
    }
    // Ticks until the job has ended.
    void RunJob() {
        for (int i = 0; i < 2000 && Window().PrintJob().IsActive(); ++i)
            Tick(1);
        // The bus delivers what the job's end posted.
        Tick(1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_FALSE(Window().PrintJob().IsActive());
    }
    // The open sheet becomes this one; the tree stays where it is.
    void Open(const std::string& definition) { Window().OpenSheet(definition); }
    // A print job of one sheet or all, from start to end.
    void Print(int32_t all) {
        Window().Print(all);
        RunJob();
    }

    std::unique_ptr<cuiSheet> BuildForPrinter(const std::string& definition) {
        std::unique_ptr<cuiSheet> sheet = Window().CreateSheet(&hidden_, definition);
        sheet->SetPrinter(&printer_);
        sheet->SetFontHeight(-75);
        sheet->Build();
        return sheet;
    }

    void AddTreeNode(const std::string& line) { Window().Tree()->AddNode(nullptr, line); }

    // Name of the bank sheets of the model in use.
    std::string BankSheetName() {
        const std::string link =
            cuiTree::LinkOf(Window().Tree()->FindNode("GI_Sheet_Memory_CH_Top")->child(0));
        return link.substr(link.find(']') + 1, link.find(',') - link.find(']') - 1);
    }

    // The receive frequency of channel row r of the bank, as its cell shows it.
    static int32_t Freq(int32_t row) { return testsupport::RowFrequency(row); }
    std::string FreqText(int32_t bank, int32_t row) {
        const int32_t f = Freq(GetBankFirstChannel(Doc().WorkingImage(), bank) + row);
        char text[32];
        std::snprintf(text, sizeof text, "%d.%06d", f / 1000000, f % 1000000);
        return text;
    }
    void FillBank(int32_t bank, int32_t count) { testsupport::FillBank(Doc().WorkingImage(), bank, count); }
    // Entry counts of repeater sites; every other site empty.
    void SetSites(const std::vector<std::pair<int32_t, int32_t>>& counts) {
        for (int32_t site = 0; site < 128; ++site)
            SetSiteChannelCount(Doc().WorkingImage(), site, 0);
        for (const auto& [site, count] : counts)
            SetSiteChannelCount(Doc().WorkingImage(), site, count);
    }

    // --- what poppler reads in the PDF
    static std::string Run(const std::string& command) {
        std::string out;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
                out.append(buffer, n);
            pclose(pipe);
        }
        return out;
    }
    // 0 when the file is no valid PDF.
    int PageCount() const {
        const std::string info = Run("pdfinfo '" + pdf_ + "' 2>/dev/null");
        std::smatch m;
        return std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : 0;
    }
    // The page size in PDF points.
    QSizeF PagePoints() const {
        const std::string info = Run("pdfinfo '" + pdf_ + "' 2>/dev/null");
        std::smatch m;
        if (!std::regex_search(info, m, std::regex("Page size:\\s+([0-9.]+) x ([0-9.]+)"))) return {};
        return QSizeF(std::stod(m[1]), std::stod(m[2]));
    }
    std::vector<std::string> PageTexts() const {
        std::vector<std::string> pages;
        for (int p = 1; p <= PageCount(); ++p)
            pages.push_back(Run("pdftotext -layout -f " + std::to_string(p) + " -l " + std::to_string(p) +
                                " '" + pdf_ + "' - 2>/dev/null"));
        return pages;
    }
    struct Word {
        double xMin, yMin, xMax, yMax;
        std::string text;
        double Height() const { return yMax - yMin; }
    };
    std::vector<Word> Words() const {
        const std::string html = Run("pdftotext -bbox '" + pdf_ + "' - 2>/dev/null");
        const std::regex word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                              "yMax=\"([0-9.]+)\">([^<]*)</word>");
        std::vector<Word> words;
        for (std::sregex_iterator it(html.begin(), html.end(), word), end; it != end; ++it)
            words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]),
                             std::stod((*it)[4]), (*it)[5]});
        return words;
    }
    static const Word* Find(const std::vector<Word>& words, const std::string& text) {
        for (const Word& w : words)
            if (w.text == text) return &w;
        return nullptr;
    }

    std::string pdf_ = dir_.File("out.pdf");
    plat::PdfPrinter printer_{pdf_, 600};
    QWidget hidden_;
    std::unique_ptr<TForm1> form_;
};

} // namespace uitest
