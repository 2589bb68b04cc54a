// The cells of pop-up list labels, menu and tool-bar commands, model choice,
// help, sheet links, warning checks, the radio's information sheet and the
// row pop-up menu (ids 1..96).
#include "cells/cloning/CommandCells.h"

#include "cells/AppManager.h"
#include "cells/CellCases.h"
#include "cells/CellEngine.h"
#include "cells/CellFrame.h"
#include "cells/CellIds.h"
#include "cells/ConvSupport.h"
#include "cells/FieldForm.h"
#include "cells/TextConv.h"
#include "cells/WindowCommands.h"
#include "cells/cloning/ChannelCells.h"
#include "cells/cmcCellObj.h"
#include "foundation/ByteUtil.h"
#include "foundation/Globals.h"
#include "foundation/ProgramProfile.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/BankSite.h"
#include "image/datCh.h"
#include "image/datClipCh.h"
#include "platform/Fatal.h"
#include "platform/HelpViewer.h"
#include "platform/MessageBox.h"

#include <array>
#include <cctype>
#include <initializer_list>
#include <optional>
#include <string>

namespace {

// The Edit menu's command is its cell's id.
constexpr int32_t kEditMenuCommand = cellid::CL_Menu_Edit_Top;

AppManager& App() {
    if (!gAppManager) plat::Fatal("No application manager.");
    return *gAppManager;
}

indEnviron& Env() {
    if (!gEnviron) plat::Fatal("No program settings.");
    return *gEnviron;
}

std::string Line(CellFrame& f, const char* key, int32_t n) {
    return conv::TextsOf(f.request).GetTextLine(key, n);
}

void Check(CellFrame& f, bool on) {
    f.SetMenuState(CellFrame::kMenuChecked, on);
}

// ---- pop-up list labels ----

void Caption(CellFrame& f) {
    f.Show(f.cell.GetCaption());
}

void Number(CellFrame& f) {
    f.Show(conv::Format("%3d", f.index + 1));
}

// The choices of a PMR-Z signalling column that the column would mark.
void FlexMark(CellFrame& f) {
    f.Show(f.cell.GetCaption());
    const cmcCellCapsule* opener = f.request.linkedRequest;
    if (!opener || !opener->cell) return;
    const cmcCellObj& parent = *opener->cell;
    f.LoadRow(f.engine.Vocabulary().CategoryInfo(parent.category), parent.index);
    SetSignallingMark(f, parent.cellId, f.index);
}

// ---- menu commands ----

// The file and clone commands by cell name, so that the adjustment program
// takes them for its own ids.
void SaveCommand(AppManager& app) {
    if (app.IsUntitled())
        app.SaveAsDialog();
    else
        app.SaveFile(app.GetFileName());
}

struct NamedCommand {
    const char* cell;
    void (*run)(AppManager& app);
};

constexpr NamedCommand kFileCommands[] = {
    {"CL_Menu_File_New", [](AppManager& app) { app.NewFile(); }},
    {"CL_Menu_File_Open", [](AppManager& app) { app.OpenDialog(); }},
    {"CL_Menu_File_Save", SaveCommand},
    {"CL_Menu_File_SaveAs", [](AppManager& app) { app.SaveAsDialog(); }},
    {"CL_Menu_File_Exit", [](AppManager&) { InstalledWindow().CloseMainForm(); }},
    {"CL_Menu_Clone_Read", [](AppManager& app) { app.CloneRead(); }},
    {"CL_Menu_Clone_Write", [](AppManager& app) { app.CloneWrite(); }},
    {"CL_Menu_Clone_Info", [](AppManager& app) { app.ReadCloneInfo(); }},
};

void FileCommand(CellFrame& f) {
    if (!f.IsEnter()) return;
    const std::string name = form::CellNameOf(f);
    for (const NamedCommand& c : kFileCommands)
        if (name == c.cell) c.run(App());
}

void PrintCommand(CellFrame& f) {
    const bool current = form::CellNameOf(f) == "CL_Menu_File_Print_Current";
    if (f.IsEnter()) InstalledWindow().Print(current ? 0 : 1);
    if (current) f.SetMenuState(CellFrame::kMenuDisabled, !InstalledWindow().IsOpenSheetPrintable());
}

// One item per recent file: its text beside its number, the full path opened.
void RecentFile(CellFrame& f) {
    indEnviron& env = Env();
    const std::string entry = env.Recent.Get(f.index, env.CurrentDirectory);
    if (f.IsEnter() && !entry.empty()) App().OpenFile(env.Recent.Get(f.index, ""));
    f.SetMenuState(CellFrame::kMenuDisabled, entry.empty());
    f.SetMenuState(CellFrame::kMenuHidden, entry.empty() && f.index != 0);
    if (entry.empty()) return;
    const std::string caption = conv::Format("&%d %s", f.index + 1, entry.c_str());
    f.Show(caption);
    f.cell.SetCaption(caption);
    f.SetMenuState(CellFrame::kMenuCaptionChanged, true);
}

// An Edit menu without items gets a single "no item" entry. The click comes
// as the menu is about to show: the entry must be in it before it does.
void EditTop(CellFrame& f) {
    if (!f.IsEnter()) return;
    if (InstalledWindow().MainMenuSubItemCount(kEditMenuCommand) == 0 && gEvMan)
        gEvMan->SendText(evBuildMenuItems, InstalledWindow().MainMenuContext(), kEditMenuCommand,
                         "GI_PMenu_NoItem");
}

void ViewCommand(CellFrame& f) {
    indEnviron& env = Env();
    if (f.cellId == cellid::CL_Menu_View_FontSize) {
        if (f.IsEnter()) {
            env.FontSizePercentage = f.index;
            InstalledWindow().CloseSheetCmd();
        }
        Check(f, f.index == env.FontSizePercentage);
    } else {
        if (f.IsEnter()) InstalledWindow().ToggleToolBar();
        Check(f, env.ToolbarVisible != 0);
    }
}

// Told apart by name: the adjustment program takes the case for its own ids.
void PortCommand(CellFrame& f) {
    indEnviron& env = Env();
    const std::string name = form::CellNameOf(f);
    if (name == "CL_Menu_Port_Com") {
        if (f.IsEnter()) {
            env.ComPort = f.index;
            if (gEvMan) gEvMan->Send(evRefreshMenusAndToolBar);
        }
        Check(f, f.index == env.ComPort);
    } else if (name == "CL_Menu_Port_Usb") {
        if (f.IsEnter()) InstalledWindow().SelectComPort();
        Check(f, env.ComPort > 4);
    } else {
        if (f.IsEnter()) env.ComSpeedHigh = f.index;
        Check(f, f.index == env.ComSpeedHigh);
    }
}

void ModelChoice(CellFrame& f) {
    // The ten model cells stand in model order in both programs' tables.
    const int32_t model = f.cellId - f.engine.Vocabulary().CellIndex("CL_Model_Lmr");
    if (f.IsEnter()) App().ChangeModel(model, true);
    Check(f, Env().ModelType == model);
}

// ---- help and sheets ----

void HelpAbout(CellFrame& f) {
    if (f.IsEnter() && gEvMan) gEvMan->Post(evShowAbout);
}

void HelpContents(CellFrame& f) {
    if (f.IsEnter()) ShowProgramHelp(f.request, std::nullopt);
}

void CallSheet(CellFrame& f) {
    if (f.IsEnter() && f.cell.argument && !f.cell.argument->empty())
        InstalledWindow().OpenSheet(*f.cell.argument);
}

// ---- warning checks ----

// The probed cells go by name, so that each program's engine finds its own
// ids for them; a cell the program does not have is not probed.
struct MarkProbe {
    const char* category;
    const char* cell;
    bool error; // the error mark, else the warning mark
};

// ORs the marks the probes find at the index into the frame's marks.
void ProbeAt(CellFrame& f, std::initializer_list<MarkProbe> probes, int32_t index) {
    const CellVocabulary& v = f.engine.Vocabulary();
    for (const MarkProbe& p : probes) {
        const std::optional<int32_t> cell = v.FindCell(p.cell);
        if (!cell) continue;
        const CellEngine::Marks marks = f.engine.QueryMarks(v.CategoryIndex(p.category), *cell, index);
        if (p.error)
            f.SetError(marks.error);
        else
            f.SetWarning(marks.warning);
    }
}

void ProbeRange(CellFrame& f, std::initializer_list<MarkProbe> probes, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        ProbeAt(f, probes, i);
}

void CheckChannels(CellFrame& f) {
    if (!f.model.pmrZ && !f.model.p25) return;
    if (!IsValidBank(f.bank)) return;
    const int32_t first = GetBankFirstChannel(f.image, f.bank);
    const int32_t end = std::min(first + GetBankChannelCount(f.image, f.bank), 512);
    for (int32_t row = first; row < end; ++row) {
        if (f.model.pmrZ) {
            ProbeAt(f,
                    {{"CT_Mch_Check", "CL_Mch_Moni", false},
                     {"CT_Mch_Check", "CL_Mch_Sel", true},
                     {"CT_Mch_Check", "CL_Mch_Call", true},
                     {"CT_Mch_Check", "CL_Mch_PTT", true},
                     {"CT_Mch_Check", "CL_Mch_CH_Mute", false}},
                    row);
        }
        if (f.model.p25) ProbeAt(f, {{"CT_Mch_Check", "CL_Mch_TxNac", true}}, row);
    }
}

void CheckUserTones(CellFrame& f) {
    ProbeRange(f, {{"CT_UserTone", "CL_UTone_Dec_Low", false}, {"CT_UserTone", "CL_UTone_Dec_High", false}},
               15);
}

void CheckMsk(CellFrame& f) {
    if (!f.model.pmrZ) return;
    const std::string name = f.engine.Vocabulary().CellName(f.cellId);
    if (name == "CL_Check_Msk_IdRange") {
        ProbeAt(f, {{"CT_Null", "CL_Msk_AdrRange_Killer", true}}, 0);
    } else if (name == "CL_Check_Msk_OwnIdGroup") {
        ProbeRange(f, {{"CT_MSK_IdGroup", "CL_Msk_IdGroup_Adr", true}}, 8);
    } else {
        ProbeAt(
            f,
            {{"CT_Null", "CL_Msk_Cfg_Status_FixBaseId", true}, {"CT_Null", "CL_Msk_Cfg_Gps_FixBaseId", true}},
            0);
    }
}

void CheckNacChannels(CellFrame& f) {
    if (f.model.p25) ProbeRange(f, {{"CT_DIG_NacCh", "CL_Digi_NacCh_TxNac", true}}, 40);
}

void CheckLtrRepeaters(CellFrame& f) {
    if (f.model.ltr) ProbeRange(f, {{"CT_BankOp", "CL_Mch_Rpt", true}}, 128);
}

// ---- the radio's information block ----

const uint8_t* Info() {
    return App().InfoBlock().data();
}

void InfoModel(CellFrame& f) {
    const uint8_t* info = Info();
    const int32_t handheld = (info[51] & 4) != 0 ? 1 : 0;
    const int32_t tenKey = (info[51] & 8) != 0 ? 1 : 0;
    const uint8_t* bits = info + 125;
    int32_t modelClass = 0;
    if (GetBitMsb(bits, 2, 2))
        modelClass = 4;
    else if (GetBitMsb(bits, 2, 1))
        modelClass = 3;
    else if (GetBitMsb(bits, 2, 3))
        modelClass = 2;
    else if (GetBitMsb(bits, 2, 7))
        modelClass = 1;
    const int32_t model = handheld ? modelClass : modelClass + 5;
    f.Show(Line(f, "GI_AppInd_Model", model) + "\n" + Line(f, "GI_Mess_CloneInfo_Model", handheld) + "\n" +
           Line(f, "GI_Mess_CloneInfo_TenKey", tenKey));
}

void InfoRevision(CellFrame& f) {
    const uint8_t revision = Info()[34];
    f.Show(conv::Format("%d.%d", revision >> 4, revision & 15));
}

// A comment of the radio, shown as text and never changed: the converter works
// on a copy and sees no key.
void InfoComment(CellFrame& f) {
    std::array<uint8_t, 16> text{};
    // By name: the adjustment program shows the comments under its own ids.
    const int32_t offset = form::CellNameOf(f) == "CL_CloneInfo_Comment1" ? 2 : 18;
    std::copy_n(Info() + offset, text.size(), text.begin());
    const int32_t key = f.request.key;
    f.request.key = 0;
    ConvTextCell(f.request, text.data(), static_cast<int32_t>(text.size()), f.result);
    f.request.key = key;
}

void InfoOption(CellFrame& f) {
    const uint8_t* info = Info();
    std::string text;
    auto add = [&](const char* key) { text += Line(f, key, 0) + "\n"; };
    if (info[50] & 32) add((info[50] & 16) ? "GI_Mess_CloneInfo_Opt_Kx25" : "GI_Mess_CloneInfo_Opt_Kx24");
    if (info[50] & 4) add("GI_Mess_CloneInfo_Opt_Kx22");
    if (info[50] & 8) add("GI_Mess_CloneInfo_Opt_Kx28");
    if (info[51] & 64) add("GI_Mess_CloneInfo_Opt_Kx21");
    const int32_t digital = (info[51] >> 4) & 3;
    if ((info[51] & 1) == 0 && (digital == 1 || digital == 2)) {
        text += Line(f, "GI_Mess_CloneInfo_Opt_Digi", digital);
        if (info[76] != 0) {
            if (std::optional<uint32_t> sum = InfoHexAt(info, 82, 4))
                text += conv::Format("(Rev:%1c.%1c:$%04X)", info[76], info[77], *sum);
            else
                text += conv::Format("(Rev:%1c.%1c)", info[76], info[77]);
        }
        text += "\n";
    }
    f.Show(text);
}

void InfoOverVoltage(CellFrame& f) {
    if (Info()[53] & 32) f.Show(Line(f, "GI_Mess_CloneInfo_OverVolt", 0));
}

void InfoSerial(CellFrame& f) {
    f.Show(FormatSerialNumber(Info()).value_or(" "));
}

void InfoChecksum(CellFrame& f) {
    const std::optional<uint32_t> sum = InfoHexAt(Info(), 60, 4);
    f.Show(sum ? conv::Format("$%04X", *sum) : " ");
}

void Nothing(CellFrame&) {}

// ---- the row pop-up menu ----

void Disable(CellFrame& f, bool on) {
    if (on) f.SetMenuState(CellFrame::kMenuDisabled, true);
}

// The row after the last one of the open site, or any row of an empty site.
bool IsNewEntry(const CellFrame& f) {
    return f.index > f.siteRange.last || f.siteRange.count == 0;
}

void PopupNoItem(CellFrame& f) {
    Disable(f, true);
    f.SetMenuState(CellFrame::kMenuHidden, InstalledWindow().MainMenuSubItemCount(kEditMenuCommand) != 1);
}

void DisableLikeCopy(CellFrame& f) {
    const int32_t kind = f.recordKind;
    if (IsChannelKind(kind)) Disable(f, f.newRow);
    if (kind == kindRepeaterPool) Disable(f, IsNewEntry(f));
    if (kind == kindFiveToneRx || kind == kindTwoTone) Disable(f, f.index == 0);
    if (kind == kindMskStatus) Disable(f, f.index == 23);
}

void PopupCopy(CellFrame& f) {
    DisableLikeCopy(f);
}

void PopupPaste(CellFrame& f) {
    Disable(f, !ProgramClipboard().CanPaste(f.recordKind));
    DisableLikeCopy(f);
}

void PopupCarry(CellFrame& f) {
    const int32_t kind = f.recordKind;
    const bool up = f.cellId == cellid::CL_PMenu_CarryUp;
    const int32_t first = datCh::FieldMin(kind);
    const int32_t last = datCh::FieldMax(kind);
    if (up)
        Disable(f, f.index <= first || f.index > last);
    else
        Disable(f, f.index < first || f.index >= last);
    if (IsChannelKind(kind)) Disable(f, f.newRow || f.index == (up ? f.bankRange.first : f.bankRange.last));
    if (kind == kindRepeaterPool)
        Disable(f, IsNewEntry(f) || f.index == (up ? f.siteRange.first : f.siteRange.last));
    if (kind == kindFiveToneRx || kind == kindTwoTone) Disable(f, f.index == 0);
}

} // namespace

void ShowProgramHelp(const cmcCellCapsule& request, std::optional<int32_t> context) {
    const std::string path =
        plat::ProgramDirectory() + conv::FirstLine(request, RunningProfile().helpFileKey.c_str());
    plat::HelpViewer& help = plat::Help();
    // Without its file the viewer would open nothing and say nothing.
    if (!help.HasFile(path)) {
        cmcGTex& texts = request.texts ? *request.texts : *gGTex;
        plat::ShowMessageBox(FormatOneText(GetMultiLineText(texts, "GI_AppMess_HelpNotFound"), path),
                             BoxCaption(texts), plat::MB_OK | plat::MB_ICONERROR);
        return;
    }
    help.SetHelpFile(path);
    if (context)
        help.ShowContextPopup(*context);
    else
        help.ShowFinder();
    help.SetHelpFile("");
}

std::optional<std::string> FormatSerialNumber(const uint8_t* info) {
    const std::optional<uint32_t> a = InfoHexAt(info, 37, 4);
    const std::optional<uint32_t> b = InfoHexAt(info, 41, 2);
    const std::optional<uint32_t> c = InfoHexAt(info, 43, 6);
    if (!a || !b || !c) return std::nullopt;
    return conv::Format("%04u%02u%05lu", *a, *b, static_cast<unsigned long>(*c));
}

void RegisterCommandCells(CellCaseList& list) {
    list.Add("Flex0", "Flex2", Caption);
    list.Add("FlexMark", FlexMark);
    list.Add("FlexDtcs", "FlexKeyOpt", Caption);
    list.Add("FlexZoneSel", Caption);
    list.Add("FlexZoneSelNum", Number);
    list.Add("FlexCHSel", Caption);
    list.Add("FlexCHSelNum", Number);

    list.Add("CL_Menu_File_New", "CL_Menu_File_SaveAs", FileCommand);
    list.Add("CL_Menu_File_Print_Current", "CL_Menu_File_Print_All", PrintCommand);
    list.Add("CL_Menu_File_Recent", RecentFile);
    list.Add("CL_Menu_File_Exit", FileCommand);
    list.Add("CL_Menu_Edit_Top", EditTop);
    list.Add("CL_Menu_View_FontSize", "CL_Menu_View_ToolBar", ViewCommand);
    list.Add("CL_Menu_Port_Com", "CL_Menu_Port_SpeedHigh", PortCommand);
    list.Add("CL_Menu_Clone_Read", "CL_Menu_Clone_Info", FileCommand);
    list.Add("CL_Model_Lmr", "CL_Model_ZuroPmr_Mob", ModelChoice);
    list.Add("CL_Help_About", HelpAbout);
    list.Add("CL_Help_Contents", HelpContents);
    list.Add("CallSheet", CallSheet);

    list.Add("CL_Check_Mch", CheckChannels);
    list.Add("CL_Check_User_Tone_Encode", CheckUserTones);
    list.Add("CL_Check_Msk_IdRange", "CL_Check_Msk_Config", CheckMsk);
    list.Add("CL_Check_Dig_Nacch", CheckNacChannels);
    list.Add("CL_Check_Ltr_Repeater", CheckLtrRepeaters);

    list.Add("CL_CloneInfo_Model", InfoModel);
    list.Add("CL_CloneInfo_Revision", InfoRevision);
    list.Add("CL_CloneInfo_Comment1", "CL_CloneInfo_Comment2", InfoComment);
    list.Add("CL_CloneInfo_Option", InfoOption);
    list.Add("CL_CloneInfo_OverVolt", InfoOverVoltage);
    list.Add("CL_CloneInfo_Esn", InfoSerial);
    list.Add("CL_CloneInfo_CheckSum", InfoChecksum);
    list.Add("CL_CloneInfo_Dummy", Nothing);

    list.Add("CL_PMenu_NoItem", PopupNoItem);
    list.Add("CL_PMenu_Copy", PopupCopy);
    list.Add("CL_PMenu_Paste", PopupPaste);
    list.Add("CL_PMenu_CarryUp", "CL_PMenu_CarryDown", PopupCarry);
    list.Add("CL_PMenu_Clear", "CL_PMenu_Delete", PopupCopy);
}

std::optional<uint32_t> InfoHexAt(const uint8_t* info, int32_t offset, int32_t n) {
    uint32_t value = 0;
    for (int32_t i = 0; i < n; ++i) {
        const int c = info[offset + i];
        if (!std::isxdigit(c)) return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(std::isdigit(c) ? c - '0' : std::toupper(c) - 'A' + 10);
    }
    return value;
}
