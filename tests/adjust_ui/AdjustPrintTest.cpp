// The adjustment program prints as the cloning program does, on its own
// texts: the open sheet, and every sheet of its tree, into a PDF file.
#include "platform/QtPrinter.h"
#include "tests/adjust_ui/AdjustMainFixture.h"
#include "ui/TForm1.h"
#include "ui/cuiSheet.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class AdjustPrintTest : public adjwintest::AdjustMainFixture {
protected:
    AdjustPrintTest() { plat::SetPrinter(&printer_); }
    ~AdjustPrintTest() override {
        form_.reset();
        window_.reset();
        plat::SetPrinter(nullptr);
    }
    void Tick(int n) {
        for (int i = 0; i < n; ++i) {
            scheduler_.Advance(cuiMain::kTaskIntervalMs);
            QApplication::processEvents();
        }
    }
    void PrintAndWait(int32_t all) {
        window_->Print(all);
        for (int i = 0; i < 4000 && window_->PrintJob().IsActive(); ++i)
            Tick(1);
        Tick(1);
        ASSERT_FALSE(window_->PrintJob().IsActive());
    }
    std::string PdfText() const {
        std::string out;
        if (FILE* pipe = popen(("pdftotext -layout '" + pdf_ + "' - 2>/dev/null").c_str(), "r")) {
            char buffer[4096];
            size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
                out.append(buffer, n);
            pclose(pipe);
        }
        return out;
    }

    std::string pdf_ = dir_.File("adjust.pdf");
    plat::PdfPrinter printer_{pdf_, 150};
    std::unique_ptr<TForm1> form_;
};

TEST_F(AdjustPrintTest, TheOpenSheetAndEverySheetOfTheTreePrintUnderTheProgramsTitle) {
    adj::indMain& app = StartAdjust();
    form_ = std::make_unique<TForm1>(app);
    Tick(6);
    app.OpenSheet("GI_Sheet_Adj_Tx");
    Tick(2);
    ASSERT_NE(app.Sheet(), nullptr);

    PrintAndWait(0);
    const std::string one = PdfText();
    EXPECT_NE(one.find("Transmitter"), std::string::npos) << one;
    EXPECT_NE(one.find(gGTex->GetText("GI_Sys_AppTitle_ADJRev")), std::string::npos) << one;
    EXPECT_NE(one.find(gGTex->GetText("GI_Sys_Maker")), std::string::npos) << one;

    // Every sheet the tree opens goes onto paper without a missing text.
    PrintAndWait(1);
    const std::string all = PdfText();
    EXPECT_NE(all.find("Receiver"), std::string::npos);
    EXPECT_TRUE(boxes_.Log().empty()) << boxes_.Log().front().text;
    EXPECT_TRUE(form_->isEnabled());
}

} // namespace
