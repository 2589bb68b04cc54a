#pragma once
#include "cells/cmcCellCapsule.h"
#include "ui/PrintWalk.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class cmcCellObj;
class cuiSheet;
class QPainter;
struct ProgramProfile;
namespace plat {
class Printer;
}

// A print job of the open sheet or of every sheet the tree opens: the
// printer's set-up, the non-modal "Printing" dialog with its Cancel, one tree
// node's sheet a step, and each sheet rebuilt for the printer, shrunk until a
// page fits, split into pages and drawn with its header and footer. The
// window steps it from its periodic task; the sheets it builds read its walk.
class SheetPrintJob {
public:
    // A sheet of the definition, built in parent, of the program's own kinds.
    using SheetFactory =
        std::function<std::unique_ptr<cuiSheet>(QWidget* parent, const std::string& definition)>;
    // The cell of the tree's node n, null for a node without one; nothing
    // past the last node. Asked as the job goes: the tree may change under it.
    using TreeWalk = std::function<std::optional<const cmcCellObj*>(int32_t node)>;
    // The columns and rows each page takes, across and then down.
    struct Pages {
        std::vector<int32_t> cols, rows;
    };

    SheetPrintJob(const ProgramProfile& profile, SheetFactory sheets, TreeWalk tree);
    ~SheetPrintJob();
    SheetPrintJob(const SheetPrintJob&) = delete;
    SheetPrintJob& operator=(const SheetPrintJob&) = delete;

    // Over form, which waits disabled while the job runs: the sheet of
    // definition, or with all the sheet of every node that opens one. Without
    // a printer the user is told; a cancelled set-up starts nothing.
    void Start(QWidget* form, const std::string& definition, bool all);
    // One tree node's sheet, or the repeater sites after the LTR bank overview.
    void Step();

    bool IsActive() const { return walk_.active; }
    // The printed rectangle inside the margins, in the printer's pixels.
    const CellRect& Rect() const { return rect_; }
    QDialog* Dialog() const { return dialog_; }

    // Draws (or with measureOnly only measures) the fixed cells and the given
    // columns and rows from rect's top left; returns the rectangle covered.
    static CellRect DrawPage(QPainter* painter, cuiSheet& sheet, const CellRect& rect, int32_t firstCol,
                             int32_t firstRow, int32_t colCount, int32_t rowCount, bool measureOnly);
    static Pages Paginate(const cuiSheet& sheet, const CellRect& rect);

private:
    int32_t PrintSheet(plat::Printer& printer, const std::string& definition);
    CellRect DrawFrame(plat::Printer& printer, const cuiSheet& sheet, bool measureOnly);
    void ShowDialog();
    void End();

    const ProgramProfile& profile_;
    SheetFactory sheets_;
    TreeWalk tree_;

    QPointer<QWidget> form_;
    QPointer<QDialog> dialog_;
    plat::Printer* printer_ = nullptr;
    PrintWalk walk_;
    CellRect rect_;
    int32_t node_ = 0;
    bool all_ = false;
    bool pagePrinted_ = false;
    bool cancel_ = false;
    // The open sheet's, taken when the job starts.
    std::string definition_;
};
