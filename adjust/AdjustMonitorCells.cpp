// The A/D monitor rows (each reading as a decimal number, two hexadecimal
// digits and a physical value), the adjustment-parameter rows (a numeric view
// of the adjustment bytes), the two menu cells that open the monitor and
// read it anew, and the view menu's font size (which the open monitor
// follows) and tool bar. None of them changes the image.
#include "adjust/AdjustCells.h"
#include "adjust/AdjustManager.h"
#include "cells/CellFrame.h"
#include "cells/ConvSupport.h"
#include "cells/WindowCommands.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/indEnviron.h"
#include "image/cmcEeprom.h"

#include <cmath>
#include <string>
#include <string_view>

namespace adj {
namespace {

enum class Form : uint8_t { Volts, Battery, Percent, Temperature };

struct AdRow {
    const char* decimal;
    const char* hex;
    const char* physical;
    Form form;
};

// In the order of the manager's readings.
constexpr AdRow kAdRows[] = {
    {"CL_WinAD_BATTD", "CL_WinAD_BATTH", "CL_WinAD_BATTV", Form::Battery},
    {"CL_Maker_NOISD", "CL_Maker_NOISH", "CL_Maker_NOISV", Form::Volts},
    {"CL_Maker_SDD", "CL_Maker_SDH", "CL_Maker_SDV", Form::Volts},
    {"CL_Maker_LVIND", "CL_Maker_LVINH", "CL_Maker_LVINV", Form::Volts},
    {"CL_Maker_TEMPSD", "CL_Maker_TEMPSH", "CL_Maker_TEMPSV", Form::Temperature},
    {"CL_Maker_TXDETD", "CL_Maker_TXDETH", "CL_Maker_TXDETV", Form::Volts},
    {"CL_Maker_VOXTD", "CL_Maker_VOXTH", "CL_Maker_VOXTV", Form::Percent},
    {"CL_WinAD_FRQCD", "CL_WinAD_FRQCH", "CL_WinAD_FRQCV", Form::Volts},
    {"CL_WinAD_T1D", "CL_WinAD_T1H", "CL_WinAD_T1V", Form::Volts},
    {"CL_WinAD_T2D", "CL_WinAD_T2H", "CL_WinAD_T2V", Form::Volts},
    {"CL_WinAD_DEVD", "CL_WinAD_DEVH", "CL_WinAD_DEVV", Form::Volts},
    {"CL_WinAD_DTCSD", "CL_WinAD_DTCSH", "CL_WinAD_DTCSV", Form::Volts},
    {"CL_WinAD_SQLD", "CL_WinAD_SQLH", "CL_WinAD_SQLV", Form::Percent},
};

std::string CellName(const CellFrame& f) {
    return f.engine.Vocabulary().CellName(f.cellId);
}

// The row and which of its three cells the frame's cell is (0 D, 1 H, 2 V).
int32_t FindAdRow(std::string_view name, int32_t& column) {
    for (size_t i = 0; i < std::size(kAdRows); ++i) {
        const AdRow& row = kAdRows[i];
        const char* cells[] = {row.decimal, row.hex, row.physical};
        for (int32_t c = 0; c < 3; ++c)
            if (name == cells[c]) {
                column = c;
                return static_cast<int32_t>(i);
            }
    }
    return -1;
}

// The thermistor's B-parameter curve: B 4000, 47 kilohm at 25 degrees, fed
// from 5 V through 100 kilohm. Nothing at the rails, where it has no value.
std::string Celsius(int32_t r) {
    if (r <= 0 || r >= 255) return {};
    const double v = r * 5.0 / 255.0;
    const double ohms = (500000.0 - 100000.0 * v) / v;
    const double t = 1.0 / (1.0 / 298.15 + std::log(ohms / 47000.0) / 4000.0) - 273.15;
    // The degree sign is the code page's byte 0xB0 (octal 260).
    return conv::Format("%3.2f\260C", t);
}

std::string Physical(Form form, int32_t r) {
    switch (form) {
    case Form::Volts:
        return conv::Format("%3.2fV", r * 5.0 / 255.0);
    case Form::Battery:
        return conv::Format("%3.2fV", r * 5.0 * 4.0 / 255.0);
    case Form::Percent:
        return conv::Format("%3.2f%%", r * 100.0 / 255.0);
    case Form::Temperature:
        return Celsius(r);
    }
    return {};
}

void AdCell(CellFrame& f) {
    int32_t column = 0;
    const int32_t row = FindAdRow(CellName(f), column);
    if (row < 0 || !gAdjustManager) return;
    const int32_t r = gAdjustManager->AdReading(row);
    if (column == 0)
        f.Show(conv::Format("%3d", r));
    else if (column == 1)
        f.Show(conv::Format("%2X", r));
    else
        f.Show(Physical(kAdRows[row].form, r));
}

// --- Adjustment parameters

enum class Place : uint8_t { Unsigned, Signed, Word };

struct Parameter {
    const char* name;
    int32_t byte; // the high byte of a word
    Place place;
};

constexpr Parameter kParameters[] = {
    {"CL_ADP_SQL19", 164, Place::Unsigned},     {"CL_ADP_SQL10", 162, Place::Unsigned},
    {"CL_ADP_FrgWide", 163, Place::Unsigned},   {"CL_ADP_SQLOP1_OP", 102, Place::Unsigned},
    {"CL_ADP_SQLOP1_L1", 109, Place::Unsigned}, {"CL_ADP_SQLOP1_L2", 101, Place::Unsigned},
    {"CL_ADP_SQLOP1_L3", 108, Place::Unsigned}, {"CL_ADP_SQLOP1_L4", 83, Place::Unsigned},
    {"CL_ADP_SQLOP1_L5", 193, Place::Unsigned}, {"CL_ADP_SQLOP1_L6", 169, Place::Unsigned},
    {"CL_ADP_SQLOP1_L8", 84, Place::Unsigned},  {"CL_ADP_SQLOP1_L9", 85, Place::Unsigned},
    {"CL_ADP_SQLOP1_L0", 97, Place::Unsigned},  {"CL_ADP_SQLOP2_0P", 98, Place::Unsigned},
    {"CL_ADP_SQLCL1_L2", 175, Place::Unsigned}, {"CL_ADP_SMET_L3", 186, Place::Unsigned},
    {"CL_ADP_BATTN_NU0", 88, Place::Unsigned},  {"CL_ADP_BATTN_NU1", 89, Place::Unsigned},
    {"CL_ADP_BATTN_NU2", 90, Place::Unsigned},  {"CL_ADP_BATTN_ND1", 91, Place::Unsigned},
    {"CL_ADP_BATTN_ND2", 165, Place::Unsigned}, {"CL_ADP_BATTN_ND3", 166, Place::Unsigned},
    {"CL_ADP_SQLOP2_L1", 130, Place::Signed},   {"CL_ADP_SQLOP2_L2", 135, Place::Signed},
    {"CL_ADP_SQLOP2_L3", 140, Place::Signed},   {"CL_ADP_SQLOP2_L4", 145, Place::Signed},
    {"CL_ADP_SQLOP2_L5", 150, Place::Signed},   {"CL_ADP_SQLOP2_L6", 155, Place::Signed},
    {"CL_ADP_SQLOP2_L7", 160, Place::Signed},   {"CL_ADP_SQLOP2_L8", 129, Place::Signed},
    {"CL_ADP_SQLOP2_L9", 134, Place::Signed},   {"CL_ADP_SQLOP2_L0", 139, Place::Signed},
    {"CL_ADP_SQLSC_OP", 144, Place::Signed},    {"CL_ADP_SQLSC_L1", 149, Place::Signed},
    {"CL_ADP_SQLSC_L2", 154, Place::Signed},    {"CL_ADP_SQLSC_L3", 159, Place::Signed},
    {"CL_ADP_SQLSC_L4", 131, Place::Signed},    {"CL_ADP_SQLSC_L5", 136, Place::Signed},
    {"CL_ADP_SQLSC_L6", 141, Place::Signed},    {"CL_ADP_SQLSC_L7", 146, Place::Signed},
    {"CL_ADP_SQLSC_L8", 151, Place::Signed},    {"CL_ADP_SQLSC_L9", 156, Place::Signed},
    {"CL_ADP_SQLSC_L0", 161, Place::Signed},    {"CL_ADP_SQLCL1_L1", 174, Place::Signed},
    {"CL_ADP_SQLCL1_L4", 178, Place::Signed},   {"CL_ADP_SQLCL1_L5", 179, Place::Signed},
    {"CL_ADP_SQLCL1_L6", 180, Place::Signed},   {"CL_ADP_SQLCL1_L7", 127, Place::Signed},
    {"CL_ADP_SQLCL1_L8", 132, Place::Signed},   {"CL_ADP_SQLCL1_L9", 137, Place::Signed},
    {"CL_ADP_SQLCL1_L0", 142, Place::Signed},   {"CL_ADP_SQLCL2_OP", 147, Place::Signed},
    {"CL_ADP_SQLCL2_L1", 152, Place::Signed},   {"CL_ADP_SQLCL2_L2", 157, Place::Signed},
    {"CL_ADP_SQLCL2_L3", 128, Place::Signed},   {"CL_ADP_SQLCL2_L4", 133, Place::Signed},
    {"CL_ADP_SQLCL2_L5", 138, Place::Signed},   {"CL_ADP_SQLCL2_L6", 143, Place::Signed},
    {"CL_ADP_SQLCL2_L7", 148, Place::Signed},   {"CL_ADP_SQLCL2_L8", 153, Place::Signed},
    {"CL_ADP_SQLCL2_L9", 158, Place::Signed},   {"CL_ADP_SQLCL2_L0", 95, Place::Signed},
    {"CL_ADP_TAIL_L0", 94, Place::Signed},      {"CL_ADP_TAIL_L1", 93, Place::Signed},
    {"CL_ADP_TAIL_L2", 96, Place::Signed},      {"CL_ADP_TAIL_L3", 100, Place::Signed},
    {"CL_ADP_TAIL_L4", 107, Place::Signed},     {"CL_ADP_SMET_L0", 181, Place::Signed},
    {"CL_ADP_SMET_L1", 184, Place::Signed},     {"CL_ADP_SMET_L2", 185, Place::Signed},
    {"CL_ADP_BATTA_NU0", 182, Place::Signed},   {"CL_ADP_BATTA_NU1", 183, Place::Signed},
    {"CL_ADP_SQLCL1_OP", 172, Place::Word},     {"CL_ADP_SQLCL1_L3", 176, Place::Word},
    {"CL_ADP_TAIL_L5", 80, Place::Word},
};

void ParameterCell(CellFrame& f) {
    const std::string name = CellName(f);
    for (const Parameter& p : kParameters) {
        if (name != p.name) continue;
        const uint8_t b = f.image.GetByte(p.byte);
        if (p.place == Place::Unsigned) {
            f.Show(conv::Format("%3d", b));
        } else if (p.place == Place::Signed) {
            f.Show(conv::Format("%3d", static_cast<int8_t>(b)));
        } else {
            // A word in tenths, shown with three decimals of which the last two are 0.
            const int32_t w = b << 8 | f.image.GetByte(p.byte + 1);
            f.Show(conv::Format("%d.%03d", w / 10, w % 10 * 100));
        }
        return;
    }
}

// --- The monitor's menu cells

bool AdWindowOpen() {
    return gEnviron && gEnviron->AdWindowFlag != 0;
}

void OpenAdWindow() {
    if (gEnviron) gEnviron->AdWindowFlag = 1;
    if (!gEvMan) return;
    gEvMan->Post(evOpenAdWindow);
    gEvMan->Send(evRefreshMenusAndToolBar);
}

void ViewAd(CellFrame& f) {
    if (f.IsEnter()) OpenAdWindow();
    f.SetMenuState(CellFrame::kMenuChecked, AdWindowOpen());
}

void ViewAdUpdate(CellFrame& f) {
    if (!f.IsEnter()) return;
    if (AdWindowOpen() && gAdjustManager)
        gAdjustManager->ReadAdValues();
    else
        OpenAdWindow();
}

// A new font size reaches the main window through its sheet's rebuild, and
// the open monitor window through its own rebuild.
void ViewFontSize(CellFrame& f) {
    if (!gEnviron) return;
    if (f.IsEnter()) {
        gEnviron->FontSizePercentage = f.index;
        InstalledWindow().CloseSheetCmd();
        if (AdWindowOpen() && gEvMan) gEvMan->Send(evAdFontChanged);
    }
    f.SetMenuState(CellFrame::kMenuChecked, f.index == gEnviron->FontSizePercentage);
}

// The main window keeps the tool-bar setting as it shows or hides the bar.
void ViewToolBar(CellFrame& f) {
    if (f.IsEnter()) InstalledWindow().ToggleToolBar();
    f.SetMenuState(CellFrame::kMenuChecked, gEnviron && gEnviron->ToolbarVisible != 0);
}

} // namespace

void RegisterAdjustMonitorCells(CellCaseList& list) {
    for (const AdRow& row : kAdRows) {
        list.Add(row.decimal, AdCell);
        list.Add(row.hex, AdCell);
        list.Add(row.physical, AdCell);
    }
    for (const Parameter& p : kParameters)
        list.Add(p.name, ParameterCell);
    list.Add("CL_Menu_View_Ad", ViewAd);
    list.Add("CL_Menu_View_Ad_Update", ViewAdUpdate);
    list.Add("CL_Menu_View_FontSize", ViewFontSize);
    list.Add("CL_Menu_View_ToolBar", ViewToolBar);
}

} // namespace adj
