#include "ui/SheetPrintJob.h"

#include "cells/CellEngine.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/ProgramProfile.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "platform/MessageBox.h"
#include "platform/QtPrinter.h"
#include "platform/QtText.h"
#include "platform/Sleep.h"
#include "ui/SheetDefinition.h"
#include "ui/cuiGrid.h"
#include "ui/cuiSheet.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kInchPerMm = 0.03937007874015748;
constexpr int kPointsPerInch = 72;
constexpr int32_t kSites = 128;
constexpr int kFittingAttempts = 3;
// The sheet that shows one repeater site, printed for every site after the
// LTR bank overview.
constexpr const char* kSiteSheet = "GI_Sheet_RptSetWin,R 9";
constexpr const char* kSiteOverviewSheet = "GI_Sheet_BankOpLtr";
// The '+' letter of a cell definition: the cell continues the one on its left.
constexpr uint8_t kContinuesLeft = cmcCellObj::kLayoutPlus;

// A font size in points as a height in the printer's pixels, rounded as the
// printer's own conversion does.
int32_t PointsToPixels(int32_t points, int dpi) {
    return static_cast<int32_t>((static_cast<int64_t>(points) * dpi + kPointsPerInch / 2) / kPointsPerInch);
}

int32_t ReadNumber(const std::string& key) {
    std::string text = gGTex->GetTextLine(key, 0);
    return ParseLeadingDecimal(TrimBlanks(text));
}

// Text drawn with its top left at (x, y), as the printer's canvas places it.
void TextAt(QPainter& painter, int x, int y, const std::string& text) {
    painter.drawText(x, y + painter.fontMetrics().ascent(), plat::ToQString(text));
}

} // namespace

SheetPrintJob::SheetPrintJob(const ProgramProfile& profile, SheetFactory sheets, TreeWalk tree)
    : profile_(profile), sheets_(std::move(sheets)), tree_(std::move(tree)) {
    SetCurrentPrintWalk(&walk_);
}

SheetPrintJob::~SheetPrintJob() {
    SetCurrentPrintWalk(nullptr);
    delete dialog_.data();
}

void SheetPrintJob::Start(QWidget* form, const std::string& definition, bool all) {
    if (walk_.active) return;
    plat::Printer& printer = plat::Printers();
    if (!printer.HasPrinter()) {
        plat::ShowMessageBox(GetMultiLineText(*gGTex, "GI_Sys_Printer_NoPrinter"), BoxCaption(),
                             plat::MB_OK | plat::MB_ICONERROR);
        return;
    }
    if (!printer.Setup(form)) return;
    form_ = form;
    definition_ = definition;

    if (form_) form_->setEnabled(false);
    cancel_ = false;
    ShowDialog();
    plat::Sleeper().Sleep(10);

    pagePrinted_ = false;
    const int dpi = printer.Resolution();
    const std::string margins = gGTex->GetTextLine("GI_Sys_Printer_Margins", 0);
    const auto mm = [&](int n) {
        std::string field = GetField(margins, ',', n).value_or(std::string());
        return static_cast<int32_t>(ParseLeadingDecimal(TrimBlanks(field)) * dpi * kInchPerMm);
    };
    const QSize page = printer.PageSize();
    rect_ = {mm(0), mm(1), page.width() - mm(2), page.height() - mm(3)};

    node_ = 0;
    printer_ = &printer;
    walk_ = PrintWalk{};
    walk_.active = true;
    all_ = all;
}

void SheetPrintJob::ShowDialog() {
    const auto line = [](int n) { return gGTex->GetTextLine("GI_Sys_Printer_PrintingDialog", n); };
    auto* dialog = new QDialog(form_, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                          Qt::MSWindowsFixedSizeDialogHint);
    dialog->setObjectName("printingDialog");
    dialog->setWindowTitle(plat::ToQString(line(0)));
    dialog->setModal(false);
    // The label shows the text as it stands: '&' is no accelerator here.
    auto* label = new QLabel(plat::ToQString(line(1)), dialog);
    label->setTextFormat(Qt::PlainText);
    label->adjustSize();
    auto* button = new QPushButton(plat::ToQString(line(2)), dialog);
    button->setDefault(true);
    const int labelW = label->width();
    const int labelH = label->height();
    const int buttonW = static_cast<int>(labelW * 1.2);
    const int buttonH = button->sizeHint().height();
    button->resize(buttonW, buttonH);
    const int clientW = 2 * labelW;
    const int clientH = 3 * (labelH + buttonH);
    dialog->setFixedSize(clientW, clientH);
    label->move((clientW - labelW) / 2, 2 * labelH);
    button->move((clientW - buttonW) / 2, static_cast<int>(clientH - 1.5 * buttonH));
    QObject::connect(button, &QPushButton::clicked, [this] { cancel_ = true; });
    // Esc is the Cancel button's too, and never closes the dialog under the job.
    QObject::connect(dialog, &QDialog::rejected, [this, dialog] {
        cancel_ = true;
        if (dialog_ == dialog) dialog->show();
    });
    if (form_) {
        const QRect f = form_->geometry();
        dialog->move(f.center() - QPoint(clientW / 2, clientH / 2));
    }
    dialog->setEnabled(true);
    dialog->show();
    dialog_ = dialog;
}

void SheetPrintJob::End() {
    walk_ = PrintWalk{};
    all_ = false;
    printer_ = nullptr;
    definition_.clear();
    if (form_) {
        form_->setEnabled(true);
        form_->activateWindow();
    }
    if (dialog_) {
        QDialog* dialog = dialog_;
        dialog_ = nullptr;
        dialog->hide();
        dialog->deleteLater();
    }
    gEvMan->Post(evRedrawSheet);
}

void SheetPrintJob::Step() {
    if (!walk_.active || !printer_) return;
    plat::Printer& printer = *printer_;
    if (node_ == 0 && !walk_.sitePass && !printer.Printing() &&
        !printer.BeginDoc(gGTex->GetText(profile_.titleKey))) {
        End();
        plat::ShowMessageBox(GetMultiLineText(*gGTex, "GI_Sys_Printer_Failed"), BoxCaption(),
                             plat::MB_OK | plat::MB_ICONERROR);
        return;
    }

    const cmcCellObj* cell = tree_(node_).value_or(nullptr);
    // One sheet: the one taken when the job started, tree or no tree.
    std::string definition = definition_;
    bool due = !all_;
    if (all_) {
        // Only a node that opens a sheet has one to print; the others' words
        // name no sheet.
        due = cell && cell->argument &&
              cell->cellId == InstalledCellEngine().Vocabulary().CellIndex("CallSheet");
        if (due) definition = *cell->argument;
    }
    if (due) {
        if (walk_.sitePass) {
            for (int32_t site = 0; site < kSites; ++site) {
                if (GetSiteChannelCount(CurrentImage(), site) == 0) continue;
                walk_.site = site;
                PrintSheet(printer, kSiteSheet);
            }
            walk_.sitePass = false;
            walk_.site = 0;
        } else {
            PrintSheet(printer, definition);
            if (SheetDefinition::Split(definition).name == kSiteOverviewSheet &&
                GetTotalSiteChannels(CurrentImage()) > 0)
                walk_.sitePass = true;
        }
    }
    if (walk_.sitePass) return;

    ++node_;
    if (all_ && tree_(node_)) return;

    printer.EndDoc();
    End();
}

int32_t SheetPrintJob::PrintSheet(plat::Printer& printer, const std::string& definition) {
    auto* hidden = new QWidget(form_);
    hidden->hide();
    int32_t h = -PointsToPixels(ReadNumber("GI_Sys_Printer_FontPoints"), printer.Resolution());
    std::unique_ptr<cuiSheet> sheet;
    const auto build = [&] {
        sheet = sheets_(hidden, definition);
        sheet->SetPrinter(&printer);
        sheet->SetFontHeight(h);
        sheet->Build();
    };
    build();
    const CellRect inner = DrawFrame(printer, *sheet, true);
    const Pages pages = Paginate(*sheet, inner);

    int32_t printed = 0;
    bool stop = false;
    int32_t firstRow = sheet->Grid()->FixedRows();
    for (const int32_t rows : pages.rows) {
        int32_t firstCol = sheet->Grid()->FixedCols();
        for (const int32_t cols : pages.cols) {
            for (int attempt = 0; attempt < kFittingAttempts && !stop; ++attempt) {
                if (!sheet) build();
                if (!sheet->IsPrintable() || cancel_) {
                    stop = true;
                    break;
                }
                CellRect c = DrawPage(nullptr, *sheet, inner, firstCol, firstRow, cols, rows, true);
                c.right = std::max(c.right, c.left + 1);
                c.bottom = std::max(c.bottom, c.top + 1);
                if (c.right <= inner.right && c.bottom <= inner.bottom) break;
                const double s = std::min(static_cast<double>(inner.bottom - inner.top) / (c.bottom - c.top),
                                          static_cast<double>(inner.right - inner.left) / (c.right - c.left));
                // A height of 0 would be the platform's default size, no shrink at all.
                h = std::max(1, static_cast<int32_t>(std::abs(h) * s));
                sheet.reset();
            }
            if (!stop && !sheet) build();
            if (stop || !sheet->IsPrintable() || cancel_) {
                stop = true;
                break;
            }
            if (pagePrinted_) printer.NewPage();
            const CellRect cells = DrawFrame(printer, *sheet, false);
            DrawPage(&printer.Painter(), *sheet, cells, firstCol, firstRow, cols, rows, false);
            pagePrinted_ = true;
            ++printed;
            firstCol += cols;
        }
        if (stop) break;
        firstRow += rows;
    }
    sheet.reset();
    delete hidden;
    return printed;
}

CellRect SheetPrintJob::DrawFrame(plat::Printer& printer, const cuiSheet& sheet, bool measureOnly) {
    const CellRect& rect = rect_;
    QFont font = sheet.SheetPanel()->font();
    const int32_t h = PointsToPixels(ReadNumber("GI_Sys_Printer_FrameFont"), printer.Resolution());
    font.setPixelSize(std::max(1, h));
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    const int32_t b = static_cast<int32_t>(0.1 * h + 1);
    CellRect out = rect;
    QPainter* painter = measureOnly ? nullptr : &printer.Painter();
    const QFontMetrics fm(font, &printer.Device());
    const auto rightAligned = [&](const std::string& text) {
        return rect.right - 1 - fm.horizontalAdvance(plat::ToQString(text));
    };
    if (painter) {
        painter->save();
        painter->setFont(font);
        painter->setPen(Qt::black);
        // The title with the program's revision, keyed after the title.
        const std::string rev = gGTex->GetText(profile_.titleKey + "Rev");
        TextAt(*painter, rect.left, rect.top, sheet.GetTitle());
        TextAt(*painter, rightAligned(rev), rect.top, rev);
    }
    out.top += h + b;
    if (painter) painter->fillRect(QRect(rect.left, out.top, rect.right - rect.left, b), Qt::black);
    out.top += 5 * b;

    if (painter) {
        const std::string maker = gGTex->GetText("GI_Sys_Maker");
        TextAt(*painter, rightAligned(maker), rect.bottom - h - 1, maker);
    }
    out.bottom -= h + b;
    if (painter) {
        painter->fillRect(QRect(rect.left, out.bottom - b, rect.right - rect.left, b), Qt::black);
        painter->restore();
    }
    out.bottom -= 5 * b;
    return out;
}

CellRect SheetPrintJob::DrawPage(QPainter* painter, cuiSheet& sheet, const CellRect& rect, int32_t firstCol,
                                 int32_t firstRow, int32_t colCount, int32_t rowCount, bool measureOnly) {
    const cuiGrid& grid = *sheet.Grid();
    const auto onPage = [](int32_t i, int32_t fixed, int32_t first, int32_t count) {
        return i < fixed || (i >= first && i < first + count);
    };
    CellRect covered{rect.left, rect.top, rect.left, rect.top};
    int32_t y = rect.top;
    for (int32_t r = 0; r < grid.RowCount(); ++r) {
        if (!onPage(r, grid.FixedRows(), firstRow, rowCount)) continue;
        int32_t x = rect.left;
        for (int32_t c = 0; c < grid.ColCount(); ++c) {
            if (!onPage(c, grid.FixedCols(), firstCol, colCount)) continue;
            if (!measureOnly && painter)
                sheet.DrawCell(*painter, c, r, QRect(x, y, grid.ColWidth(c), grid.RowHeight(r)));
            x += grid.ColWidth(c);
        }
        covered.right = x;
        y += grid.RowHeight(r);
    }
    covered.bottom = y;
    return covered;
}

SheetPrintJob::Pages SheetPrintJob::Paginate(const cuiSheet& sheet, const CellRect& rect) {
    const cuiGrid& grid = *sheet.Grid();
    const int32_t width = rect.right - rect.left;
    const int32_t height = rect.bottom - rect.top;
    Pages pages;

    // A column continuing the one on its left is no place for a break.
    const auto isBreak = [&](int32_t c) {
        for (int32_t r = 0; r < grid.FixedRows(); ++r)
            if (sheet.GetCellId(c, r).cell->layout & kContinuesLeft) return false;
        return true;
    };
    int32_t x0 = 0;
    for (int32_t c = 0; c < grid.FixedCols(); ++c)
        x0 += grid.ColWidth(c);
    for (int32_t first = grid.FixedCols(); first < grid.ColCount();) {
        int32_t sum = x0;
        int32_t n = 0;
        int32_t taken = grid.ColCount() - first;
        for (int32_t k = 0; first + k < grid.ColCount(); ++k) {
            if (k > 0 && isBreak(first + k)) n = k;
            sum += grid.ColWidth(first + k);
            if (n > 0 && sum > width) {
                taken = n;
                break;
            }
        }
        pages.cols.push_back(std::max(taken, 1));
        first += pages.cols.back();
    }

    int32_t y0 = 0;
    for (int32_t r = 0; r < grid.FixedRows(); ++r)
        y0 += grid.RowHeight(r);
    for (int32_t first = grid.FixedRows(); first < grid.RowCount();) {
        int32_t sum = y0 + grid.RowHeight(first);
        int32_t n = 1;
        while (first + n < grid.RowCount() && sum + grid.RowHeight(first + n) <= height) {
            sum += grid.RowHeight(first + n);
            ++n;
        }
        pages.rows.push_back(n);
        first += n;
    }
    return pages;
}
