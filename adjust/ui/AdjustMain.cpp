#include "adjust/ui/AdjustMain.h"

#include "adjust/AdjustDocument.h"
#include "adjust/indCloneMan.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "platform/QtText.h"
#include "ui/iuiTree.h"

#include <QMainWindow>
#include <QTreeWidget>

namespace adj {

namespace {

constexpr char kChannelMemoryNode[] = "GI_Sheet_Memory_CH_Top";
// Flags 5 to 7 mean nothing to this program's tree.
constexpr int kLastTreeFlag = 4;

AdjustDocument& AdjustDocOf(Document& document) {
    return dynamic_cast<AdjustDocument&>(document);
}

} // namespace

// --- what the link reaches -------------------------------------------------

MainWorkspace::MainWorkspace(AdjustDocument& document, const cuiMain& window)
    : adjustDoc_(document), window_(window) {}

cmcEeprom& MainWorkspace::WorkingImage() {
    return adjustDoc_.WorkingImage();
}

cmcEeprom& MainWorkspace::RadioCopy() {
    return adjustDoc_.RadioCopy();
}

indCloneMan& MainWorkspace::CloneMan() {
    return static_cast<indCloneMan&>(adjustDoc_.CloneManager());
}

bool MainWorkspace::MainFormEnabled() const {
    const QMainWindow* form = window_.Form();
    return form && form->isEnabled();
}

bool MainWorkspace::AdWindowOpen() const {
    return gEnviron && gEnviron->AdWindowFlag != 0;
}

int MainWorkspace::ModelWord() const {
    return adjustDoc_.ModelCode();
}

// --- the application manager -----------------------------------------------

indMain::indMain(Document& document)
    : cuiMain(document), MainWorkspace(AdjustDocOf(document), *this),
      AdjustAutomation(static_cast<MainWorkspace&>(*this)) {
    // Registered after the window's own listener, so heard before it: the
    // automatic adjustment steps before any event is handled.
    gEvMan->AddListener(&indMain::OnEventThunk, this);
}

indMain::~indMain() {
    gEvMan->RemoveListener(&indMain::OnEventThunk, this);
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
    StepPass();
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
    const indEditFormPos* placement = gEnviron->FindEditFormPos(kAdWindowName);
    if (placement && placement->Flag != 0) {
        gEvMan->SendTextOnly(evCloseNamedWindow, kAdWindowName);
        return;
    }
    if (!adWindowFactory_ || !form_) return;
    adWindowFactory_(form_, gGTex->GetTextLine(cuiMain::document_.Profile().titleKey, 0), *gGTex,
                     kAdWindowName);
}

} // namespace adj
