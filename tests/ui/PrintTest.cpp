// Printing from the main window into a PDF file at 600 dpi: the printed
// rectangle, the page breaks, the font shrunk to fit, the pages of Print and
// Print All as pdfinfo and pdftotext read them, and the job's ends (Cancel,
// no printer, a cancelled set-up, a document that cannot start).
#include "image/RepeaterBlock.h"
#include "tests/ui/PrintFixture.h"

#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>

namespace {

using uitest::PrintFixture;

class PrintTest : public PrintFixture {};

TEST_F(PrintTest, MarginsOfTenMillimetresAt600DpiLeaveTheRectangleInside236Pixels) {
    Open("GI_Sheet_TPrintText");
    Window().Print(0);
    ASSERT_TRUE(Window().PrintJob().IsActive());
    const QSize page = printer_.PageSize();
    EXPECT_EQ(printer_.Resolution(), 600);
    const CellRect expected{236, 236, page.width() - 236, page.height() - 236};
    EXPECT_EQ(Window().PrintJob().Rect(), expected);
    EXPECT_FALSE(form_->isEnabled());
    RunJob();
    EXPECT_TRUE(form_->isEnabled());
}

TEST_F(PrintTest, ASheetForThePrinterScalesWithItsResolutionAndTakesItsPrintFontRatio) {
    struct Case {
        int dpi;
        int32_t scale;
    } cases[] = {{96, 1}, {240, 2}, {600, 5}};
    for (const Case& c : cases) {
        plat::PdfPrinter printer(dir_.File("unused.pdf"), c.dpi);
        std::unique_ptr<cuiSheet> sheet = Window().CreateSheet(&hidden_, "GI_Sheet_TPrintText");
        sheet->SetPrinter(&printer);
        sheet->Build();
        EXPECT_EQ(sheet->Scale(), c.scale) << c.dpi;
        EXPECT_EQ(sheet->Grid()->DefaultColWidth(), c.scale) << c.dpi;
    }
    const auto pixels = [](const cuiSheet& sheet) { return sheet.SheetPanel()->font().pixelSize(); };
    EXPECT_EQ(pixels(*BuildForPrinter("GI_Sheet_TPrintHalf")),
              pixels(*BuildForPrinter("GI_Sheet_TPrintText")) / 2);
    // On screen the ratio is no concern.
    const std::unique_ptr<cuiSheet> screen = Window().CreateSheet(&hidden_, "GI_Sheet_TPrintHalf");
    const std::unique_ptr<cuiSheet> plain = Window().CreateSheet(&hidden_, "GI_Sheet_TPrintText");
    screen->Build();
    plain->Build();
    EXPECT_EQ(screen->SheetPanel()->font(), plain->SheetPanel()->font());
}

TEST_F(PrintTest, APrintedBankHasARowForEachChannelAndNoneForANewOne) {
    FillBank(1, 3);
    const std::string definition = "[St_ChBank]" + BankSheetName() + ",Bank 1";
    const std::unique_ptr<cuiSheet> paper = BuildForPrinter(definition);
    const std::unique_ptr<cuiSheet> screen = Window().CreateSheet(&hidden_, definition);
    screen->Build();
    const int32_t headers = paper->Grid()->FixedRows();
    EXPECT_EQ(paper->RowCount(), headers + 3);
    EXPECT_EQ(screen->RowCount(), headers + 4);
}

// Every column of the grid sheet but the fixed one is as wide as the
// header's sample, every row as high as the others, so a rectangle of so
// many columns and rows tells the breaks.
TEST_F(PrintTest, PagesBreakAfterTheColumnsAndRowsThatFit) {
    std::unique_ptr<cuiSheet> sheet = BuildForPrinter("GI_Sheet_TPrintGrid");
    const cuiGrid& grid = *sheet->Grid();
    ASSERT_EQ(grid.ColCount(), 7);
    ASSERT_EQ(grid.RowCount(), 41);
    const int32_t x0 = grid.ColWidth(0);
    const int32_t w = grid.ColWidth(1);
    const int32_t y0 = grid.RowHeight(0);
    const int32_t h = grid.RowHeight(1);
    for (int c = 2; c < 7; ++c)
        ASSERT_EQ(grid.ColWidth(c), w);
    ASSERT_GT(w, x0);

    struct Case {
        int32_t width, height;
        std::vector<int32_t> cols, rows;
    } cases[] = {
        {x0 + 2 * w, y0 + 10 * h, {2, 2, 2}, {10, 10, 10, 10}},
        {x0 + 2 * w - 1, y0 + 10 * h - 1, {1, 1, 1, 1, 1, 1}, {9, 9, 9, 9, 4}},
        {x0 + 4 * w, y0 + 40 * h, {4, 2}, {40}},
        {x0 + 6 * w + 100, y0 + 25 * h, {6}, {25, 15}},
        {1, 1, {1, 1, 1, 1, 1, 1}, std::vector<int32_t>(40, 1)},
    };
    for (const Case& c : cases) {
        const SheetPrintJob::Pages pages =
            SheetPrintJob::Paginate(*sheet, CellRect{100, 200, 100 + c.width, 200 + c.height});
        EXPECT_EQ(pages.cols, c.cols) << c.width;
        EXPECT_EQ(pages.rows, c.rows) << c.height;
    }
}

// Paper has no selection and no colours: white cells are left as the paper
// is, coloured ones dark grey; the marks are drawn in black and white, the
// rule below a cell black.
TEST_F(PrintTest, PrintedCellsAreWhiteOrDarkGreyWithDrawnMarksAndBlackRules) {
    std::unique_ptr<cuiSheet> sheet = BuildForPrinter("GI_Sheet_TPrintMarks");
    ASSERT_NE(sheet->Images(), nullptr);
    const int32_t warned = sheet->GetCell(0, 0).cellId;
    sheet->SetOwnerCallback([warned](cmcCellCapsule& request, int32_t) {
        EXPECT_TRUE(request.markFlags.printing);
        request.displayText.clear();
        (request.cell->cellId == warned ? request.markFlags.warning : request.markFlags.error) = true;
        return 0;
    });
    const cuiGrid& grid = *sheet->Grid();
    const int w0 = grid.ColWidth(0), w1 = grid.ColWidth(1), h = grid.RowHeight(0);
    const QColor paper(255, 0, 255);
    QImage image(w0 + w1, h, QImage::Format_RGB32);
    image.fill(paper);
    {
        QPainter painter(&image);
        SheetPrintJob::DrawPage(&painter, *sheet, CellRect{0, 0, w0 + w1, h}, 0, 0, 2, 1, false);
    }
    struct Count {
        int paper = 0, white = 0, black = 0, grey = 0;
    };
    const auto count = [&](int left, int right, int top, int bottom) {
        Count n;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                const QColor c = image.pixelColor(x, y);
                n.paper += c == paper;
                n.white += c == QColor(Qt::white);
                n.black += c == QColor(Qt::black);
                n.grey += c == QColor(0x60, 0x60, 0x60);
            }
        return n;
    };
    const Count top0 = count(0, w0, 0, h / 3);
    EXPECT_GT(top0.paper, 0) << "a white cell is not filled";
    EXPECT_EQ(top0.grey, 0);
    EXPECT_EQ(count(0, w0, h - 1, h).black, w0) << "the rule below the cell";
    const Count mark0 = count(0, w0, h / 2 - 2, h - 1);
    EXPECT_GT(mark0.white, 0) << "the warning's white triangle";
    EXPECT_GT(mark0.black, 0) << "its outline and exclamation mark";
    const Count top1 = count(w0, w0 + w1, 0, h / 3);
    EXPECT_EQ(top1.paper, 0) << "a coloured cell is filled";
    EXPECT_GT(top1.grey, 0);
    const Count mark1 = count(w0, w0 + w1, h / 2 - 2, h - 1);
    EXPECT_GT(mark1.black, 0) << "the error's cross";
    EXPECT_EQ(mark1.white, 0);
}

TEST_F(PrintTest, AContinuedColumnStaysOnThePageOfTheColumnBeforeIt) {
    std::unique_ptr<cuiSheet> sheet = BuildForPrinter("GI_Sheet_TPrintPlus");
    const cuiGrid& grid = *sheet->Grid();
    const int32_t x0 = grid.ColWidth(0);
    const int32_t w = grid.ColWidth(1);
    // Narrower than two columns: the continued ones still join the first.
    EXPECT_EQ(SheetPrintJob::Paginate(*sheet, CellRect{0, 0, x0 + w, 100000}).cols, std::vector<int32_t>{5});
    sheet = BuildForPrinter("GI_Sheet_TPrintPairs");
    EXPECT_EQ(SheetPrintJob::Paginate(*sheet, CellRect{0, 0, x0 + w, 100000}).cols,
              (std::vector<int32_t>{2, 2}));
}

TEST_F(PrintTest, ContinuedColumnsWiderThanThePaperPrintOnOnePageInASmallerFont) {
    Open("GI_Sheet_TPrintText");
    Print(0);
    const std::vector<Word> plain = Words();
    Open("GI_Sheet_TPrintPlus");
    Print(0);
    ASSERT_EQ(PageCount(), 1);
    const std::vector<Word> shrunk = Words();

    const Word* before = Find(plain, "Label");
    const Word* after = Find(shrunk, "Label");
    ASSERT_TRUE(before && after);
    EXPECT_LT(after->Height(), 0.9 * before->Height()) << "the font is reduced";
    for (const char* text : {"First", "Second", "Third", "Fourth", "Fifth"}) {
        const Word* word = Find(shrunk, text);
        ASSERT_NE(word, nullptr) << text;
        EXPECT_LE(word->xMax, PagePoints().width()) << text << " lies on the paper";
    }
}

// Columns whose margins alone are wider than the paper shrink the font to
// its least, not to nothing, which would be the platform's default size.
TEST_F(PrintTest, AFontShrunkAsFarAsItGoesStaysAtOnePixel) {
    Open("GI_Sheet_TPrintMany");
    Print(0);
    ASSERT_EQ(PageCount(), 1);
    const std::vector<Word> words = Words();
    const Word* label = Find(words, "Label");
    ASSERT_NE(label, nullptr);
    // One pixel at 600 dpi is 0.12 points.
    EXPECT_LT(label->Height(), 1.0);
}

TEST_F(PrintTest, PrintAllGivesAPageEachForTheBanksWithChannelsAndTheSheetsThatPrint) {
    FillBank(0, 3);
    FillBank(2, 2);
    AddTreeNode("+Printed{(%CallSheet:GI_Sheet_TPrintText)}");
    AddTreeNode("+Never{(%CallSheet:GI_Sheet_TPrintNever)}");
    AddTreeNode("+Nothing{(%CL_Null)}");
    Open("GI_Sheet_TPrintText");
    ListenToTheBus();
    Window().Print(1);
    RunJob();

    // A bank sheet is wider than the paper: its columns take more than one page.
    const std::string head = Text("GI_AppInd_MchSheet_Printer_Head");
    const std::vector<std::string> sheets = {head + " 1:", head + " 3:", "Print text"};
    const std::vector<std::string> pages = PageTexts();
    ASSERT_GE(pages.size(), 3u);
    std::vector<size_t> order;
    std::string banks[2];
    for (const std::string& page : pages) {
        const auto found = std::find_if(sheets.begin(), sheets.end(), [&](const std::string& title) {
            return page.find(title) != std::string::npos;
        });
        // The shipped settings sheets print too; no other bank does.
        if (found == sheets.end()) {
            EXPECT_EQ(page.find(head + " "), std::string::npos) << page;
            continue;
        }
        order.push_back(static_cast<size_t>(found - sheets.begin()));
        if (order.back() < 2) banks[order.back()] += page;
        EXPECT_NE(page.find(Text("GI_Sys_AppTitleRev")), std::string::npos) << page;
        EXPECT_NE(page.find(Text("GI_Sys_Maker")), std::string::npos) << page;
    }
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_EQ(std::set<size_t>(order.begin(), order.end()).size(), 3u) << "every sheet printed";
    for (int row = 0; row < 3; ++row)
        EXPECT_NE(banks[0].find(FreqText(0, row)), std::string::npos) << row;
    for (int row = 0; row < 2; ++row)
        EXPECT_NE(banks[1].find(FreqText(2, row)), std::string::npos) << row;
    const auto fixture = std::find_if(pages.begin(), pages.end(), [](const std::string& page) {
        return page.find("Print text") != std::string::npos;
    });
    ASSERT_NE(fixture, pages.end());
    EXPECT_NE(fixture->find("Shaded"), std::string::npos) << *fixture;
    for (const std::string& page : pages)
        EXPECT_EQ(page.find("Hidden"), std::string::npos) << page;
    EXPECT_EQ(events_[evRedrawSheet], 1);
    EXPECT_TRUE(form_->isEnabled());
    EXPECT_EQ(Window().PrintJob().Dialog(), nullptr);
}

TEST_F(PrintTest, TheLtrBankOverviewIsFollowedByAPageForEachSiteWithEntries) {
    LoadModel(1);
    SetSites({{1, 2}, {3, 1}});
    Open("GI_Sheet_BankOpLtr");
    Window().Print(0);
    RunJob();
    const std::vector<std::string> pages = PageTexts();
    // The overview takes the pages it needs; the pages of each site follow
    // (a site as wide as two sheets of paper takes two).
    ASSERT_GE(pages.size(), 3u);
    const auto isSite = [](const std::string& page) { return page.find("(Site:") != std::string::npos; };
    const size_t sites =
        static_cast<size_t>(std::find_if(pages.begin(), pages.end(), isSite) - pages.begin());
    ASSERT_GE(sites, 1u);
    for (size_t page = 0; page < sites; ++page)
        EXPECT_NE(pages[page].find("LTR banks"), std::string::npos) << pages[page];
    // pdftotext gives runs of blanks as one.
    const std::string head = Text("GI_AppInd_RptSheet_Printer_Head");
    std::vector<std::string> order;
    for (size_t page = sites; page < pages.size(); ++page) {
        ASSERT_TRUE(isSite(pages[page])) << pages[page];
        for (const char* site : {" (Site: 2)", " (Site: 4)"})
            if (pages[page].find(head + site) != std::string::npos && (order.empty() || order.back() != site))
                order.push_back(site);
    }
    EXPECT_EQ(order, (std::vector<std::string>{" (Site: 2)", " (Site: 4)"}));
    // The site sheet's lines for paper only.
    EXPECT_NE(pages[sites].find("Printed sites"), std::string::npos) << pages[sites];
}

TEST_F(PrintTest, EachPrintedSitePageHoldsItsOwnEntries) {
    LoadModel(1);
    // Two entries in site 1 and one in site 3, each with a frequency of its own.
    SetSites({{1, 2}, {3, 1}});
    const int32_t rx[] = {451012500, 452025000, 463037500};
    datCh entry(&Doc().WorkingImage());
    for (int32_t row = 0; row < 3; ++row) {
        entry.Load(kindRepeaterPool, row);
        entry.poolRxFreq = rx[row];
        entry.poolTxFreq = rx[row] + 5000000;
        entry.Store(kindRepeaterPool, row);
    }
    Open("GI_Sheet_BankOpLtr");
    Window().Print(0);
    RunJob();
    const std::vector<std::string> pages = PageTexts();
    ASSERT_GE(pages.size(), 3u);
    // Each site's pages, however many its columns take.
    std::string site2, site4;
    for (const std::string& page : pages) {
        if (page.find("(Site: 2)") != std::string::npos) site2 += page;
        if (page.find("(Site: 4)") != std::string::npos) site4 += page;
    }
    ASSERT_NE(site2.find("(Site: 2)"), std::string::npos) << site2;
    ASSERT_NE(site4.find("(Site: 4)"), std::string::npos) << site4;
    const auto shows = [](const std::string& page, int32_t hz) {
        char text[32];
        std::snprintf(text, sizeof text, "%d.%06d", hz / 1000000, hz % 1000000);
        return page.find(std::string(text).substr(0, 7)) != std::string::npos;
    };
    EXPECT_TRUE(shows(site2, rx[0])) << site2;
    EXPECT_TRUE(shows(site2, rx[1])) << site2;
    EXPECT_FALSE(shows(site2, rx[2])) << site2;
    EXPECT_TRUE(shows(site4, rx[2])) << site4;
    EXPECT_FALSE(shows(site4, rx[0])) << site4;
    EXPECT_FALSE(shows(site4, rx[1])) << site4;
}

TEST_F(PrintTest, TheOpenSheetPrintsEvenWhenItClosedBeforeTheFirstTick) {
    FillBank(1, 2);
    Open("[St_ChBank]" + BankSheetName() + ",Bank 1");
    Window().Print(0);
    Window().CloseSheet();
    RunJob();
    const std::vector<std::string> pages = PageTexts();
    ASSERT_FALSE(pages.empty());
    for (const std::string& page : pages)
        EXPECT_NE(page.find(Text("GI_AppInd_MchSheet_Printer_Head") + " 2:"), std::string::npos) << page;
}

TEST_F(PrintTest, CancelDuringPrintAllEndsAValidDocumentOfThePagesPrinted) {
    FillBank(0, 3);
    FillBank(1, 3);
    FillBank(2, 3);
    Open("GI_Sheet_TPrintText");
    ListenToTheBus();
    Window().Print(1);
    QDialog* dialog = Window().PrintJob().Dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isEnabled());
    // The document with the two nodes above the banks, then bank 1's pages.
    Tick(3);
    ASSERT_TRUE(Window().PrintJob().IsActive());
    QPushButton* cancel = dialog->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    RunJob();
    const std::vector<std::string> pages = PageTexts();
    ASSERT_FALSE(pages.empty()) << "a valid document of the pages printed";
    for (const std::string& page : pages)
        EXPECT_NE(page.find(Text("GI_AppInd_MchSheet_Printer_Head") + " 1:"), std::string::npos) << page;
    EXPECT_EQ(events_[evRedrawSheet], 1);
    EXPECT_TRUE(form_->isEnabled());
}

TEST_F(PrintTest, WithoutAPrinterTheBoxSaysSoAndNothingElseHappens) {
    Open("GI_Sheet_TPrintText");
    printer_.hasPrinter = false;
    boxes_.Expect(GetMultiLineText(*gGTex, "GI_Sys_Printer_NoPrinter"), plat::IDOK);
    Window().Print(1);
    EXPECT_EQ(printer_.setups, 0);
    EXPECT_FALSE(Window().PrintJob().IsActive());
    EXPECT_TRUE(form_->isEnabled());
    ASSERT_EQ(boxes_.Log().size(), 1u);
    EXPECT_EQ(boxes_.Log()[0].caption, AppTitle());
}

TEST_F(PrintTest, ACancelledSetUpPrintsNothing) {
    Open("GI_Sheet_TPrintText");
    printer_.setupAnswer = false;
    Window().Print(0);
    EXPECT_EQ(printer_.setups, 1);
    EXPECT_FALSE(Window().PrintJob().IsActive());
    EXPECT_EQ(Window().PrintJob().Dialog(), nullptr);
    Tick(5);
    EXPECT_FALSE(std::filesystem::exists(pdf_));
    EXPECT_TRUE(form_->isEnabled());
}

TEST_F(PrintTest, ADocumentThatCannotStartIsReportedAndTheFormComesBack) {
    plat::PdfPrinter unwritable(dir_.File("no/such/folder/out.pdf"), 600);
    plat::SetPrinter(&unwritable);
    Open("GI_Sheet_TPrintText");
    ListenToTheBus();
    Window().Print(0);
    boxes_.Expect(GetMultiLineText(*gGTex, "GI_Sys_Printer_Failed"), plat::IDOK);
    RunJob();
    plat::SetPrinter(&printer_);
    EXPECT_FALSE(Window().PrintJob().IsActive());
    EXPECT_TRUE(form_->isEnabled());
    EXPECT_EQ(Window().PrintJob().Dialog(), nullptr);
    EXPECT_EQ(events_[evRedrawSheet], 1);
}

TEST_F(PrintTest, WithoutAnOpenSheetPrintAllDoesNothing) {
    Window().CloseSheet();
    Window().Print(1);
    EXPECT_EQ(printer_.setups, 0);
    EXPECT_FALSE(Window().PrintJob().IsActive());
}

} // namespace
