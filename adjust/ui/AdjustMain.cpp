#include "adjust/ui/AdjustMain.h"

#include "adjust/AdjustAutomation.h"
#include "adjust/AdjustDocument.h"
#include "adjust/indCloneMan.h"
#include "adjust/ui/cuiMenu.h"
#include "adjust/ui/iuiRptSetWin.h"
#include "adjust/ui/iuiSh_Mch.h"
#include "adjust/ui/iuiTree.h"
#include "adjust/ui/iuiWinAd.h"
#include "cells/CellEngine.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "platform/QtText.h"
#include "ui/SheetDefinition.h"

#include <QMainWindow>
#include <QTreeWidget>

namespace adj {

namespace {

constexpr char kChannelMemoryNode[] = "GI_Sheet_Memory_CH_Top";
// The A/D monitor's title names the window beside the program.
constexpr char kAdWindowCaption[] = "GI_AppInd_AdWindow_Caption";
// Flags 5 to 7 mean nothing to this program's tree.
constexpr int kLastTreeFlag = 4;

AdjustDocument& AdjustDocOf(Document& document) {
    return dynamic_cast<AdjustDocument&>(document);
}

} // namespace

// --- the application manager -----------------------------------------------

indMain::indMain(Document& document)
    : cuiMain(document), doc_(AdjustDocOf(document)), automation_(doc_.Automation()),
      useManager_(&automation_) {
    SetProgramClipboard(&adjustClipboard_);
    doc_.JoinMainForm([this] { return MainFormEnabled(); });
    // Registered after the window's own listener, so heard before it: the
    // automatic adjustment steps before any event is handled.
    gEvMan->AddListener(&indMain::OnEventThunk, this);
}

indMain::~indMain() {
    gEvMan->RemoveListener(&indMain::OnEventThunk, this);
    // The A/D window reads through this manager: it goes first, now, as the
    // event loop that would have deleted it later has ended.
    if (adWindow_) {
        adWindow_->Close();
        delete adWindow_.data();
    }
    doc_.JoinMainForm({});
    // The window's parts still live until the base goes: they keep a clipboard.
    SetProgramClipboard(&clipboard_);
}

bool indMain::MainFormEnabled() const {
    const QMainWindow* form = Form();
    return form && form->isEnabled();
}

bool indMain::AdWindowOpen() const {
    return gEnviron && gEnviron->AdWindowFlag != 0;
}

void indMain::OpenRepeaterSettings(const cmcCellCapsule& request) {
    if (repeaterWindow_ || !form_) return;
    // The window owns itself and ends when it is closed.
    repeaterWindow_ = new adj::iuiRptSetWin(InstalledCellEngine(), form_,
                                            gGTex->GetTextLine(cuiMain::document_.Profile().titleKey, 0),
                                            *gGTex, kRepeaterSheet, treeImages_, request);
}

std::unique_ptr<::cuiMenu> indMain::CreateMenu(const CellEngine& engine, QWidget* root,
                                               const std::string& key) {
    return std::make_unique<adj::cuiMenu>(engine, root, *gGTex, key);
}

std::unique_ptr<::iuiTree> indMain::CreateTree(QWidget* parent, const std::string& key) {
    return std::make_unique<adj::iuiTree>(parent, *gGTex, key, treeImages_,
                                          cuiMain::document_.WorkingImage());
}

std::unique_ptr<cuiSheet> indMain::CreateSheet(QWidget* parent, const std::string& definition) {
    const SheetDefinition d = SheetDefinition::Split(definition);
    if (!d.type.empty() || !d.params.starts_with('R')) return cuiMain::CreateSheet(parent, definition);
    auto sheet = std::make_unique<adj::iuiSh_Mch>(InstalledCellEngine(), parent, nullptr, 0, 0, *gGTex,
                                                  d.name, treeImages_);
    sheet->SetDefinition(definition);
    sheet->SetParams(d.params);
    return sheet;
}

void indMain::UpdateTitle() {
    if (!form_) return;
    form_->setWindowTitle(plat::ToQString(gGTex->GetTextLine(cuiMain::document_.Profile().titleKey, 0)));
}

void indMain::RemoveTreeNodes(int kind) {
    if (kind > kLastTreeFlag) return;
    cuiMain::RemoveTreeNodes(kind);
}

void indMain::OnEventThunk(void* user, const cmcEvent& ev) {
    static_cast<indMain*>(user)->OnEvent(ev);
}

void indMain::OnEvent(const cmcEvent& ev) {
    // The pass itself stands still while an item waits or the link is busy;
    // what follows is handled whatever the link does.
    automation_.StepPass();
    if (ev.type == evOpenAdWindow) OpenAdWindow();
    if (ev.type == evDataReloaded) FilterTree();
}

void indMain::FilterTree() {
    if (!tree_) return;
    QTreeWidget* view = tree_->View();
    const std::string before = cuiTree::LinkOf(view->currentItem());
    if (!cuiMain::document_.IsMakerMode()) RemoveTreeNodes(0);
    if (IsModelPmr() || IsModelPmrZ())
        RemoveTreeNodes(1);
    else
        RemoveTreeNodes(2);
    if (!IsModelPmrZ()) RemoveTreeNodes(3);
    if (!IsModelP25()) RemoveTreeNodes(4);
    // The bank nodes are the tree's own lines: their captions follow the
    // names of the data just loaded.
    cuiMain::document_.PostBankCaptions();

    if (QTreeWidgetItem* memory = tree_->FindNode(kChannelMemoryNode)) view->setCurrentItem(memory);
    QTreeWidgetItem* now = view->currentItem();
    if (now && cuiTree::LinkOf(now) != before) {
        QTreeWidgetItemIterator next(now);
        ++next;
        if (*next) view->setCurrentItem(*next);
    }
    gEvMan->Send(evRefreshCaption);
}

void indMain::OpenAdWindow() {
    if (!form_) return;
    iuiWinAd* opened =
        ToggleAdWindow(InstalledCellEngine(), form_, gGTex->GetTextLine(kAdWindowCaption, 0), *gGTex,
                       treeImages_, [this](const std::string& name) {
                           std::optional<iuiWinAd::SheetPosition> at;
                           if (const std::optional<SheetPosition> p = FindSheetPosition(name))
                               at = iuiWinAd::SheetPosition{p->col, p->row, p->leftCol, p->topRow};
                           return at;
                       });
    if (opened) adWindow_ = opened;
}

iuiWinAd* indMain::AdWindow() const {
    return adWindow_ && !adWindow_->IsClosed() ? adWindow_.data() : nullptr;
}

} // namespace adj
