#include "ui/indMain.h"

#include "app/Document.h"
#include "cells/TextConv.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "platform/QtText.h"
#include "ui/AsciiCase.h"
#include "ui/SheetDefinition.h"
#include "ui/cuiSheet.h"
#include "ui/iuiTree.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>
#include <QTreeWidget>

#include <algorithm>
#include <cctype>

namespace {

constexpr char kMakerSwitch[] = "/vorplex";
constexpr char kChannelMemoryNode[] = "GI_Sheet_Memory_CH_Top";
constexpr char kBankBranchKey[] = "GI_Tree_Branch_Mch_Bank";
constexpr char kBankOperationKey[] = "GI_Tree_Branch_Mch_BankOperation";
constexpr int32_t kBankCount = 128;

// The bank branch's format line with the class word and the bank number in
// place; filled by hand, so that no other '%' of the line is ever read as a
// conversion.
std::string BankLine(const std::string& format, const std::string& word, int32_t bank) {
    std::string line;
    bool wordDone = false;
    bool bankDone = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            line += format[i];
            continue;
        }
        const char c = format[++i];
        if (c == 's' && !wordDone) {
            line += word;
            wordDone = true;
        } else if (c == 'd' && !bankDone) {
            line += std::to_string(bank);
            bankDone = true;
        } else if (c == '%') {
            line += '%';
        } else {
            line += '%';
            line += c;
        }
    }
    return line;
}

} // namespace

void indMain::CreateWindow(QMainWindow* form, const ImageList* treeImages, const ImageList* toolBarImages) {
    cuiMain::CreateWindow(form, treeImages, toolBarImages);
    for (const std::string& argument : arguments_)
        if (AsciiLower(argument) == kMakerSwitch) document_.EnterMakerMode();
}

indMain::indMain(Document& document) : cuiMain(document) {
    gEvMan->AddListener(&indMain::OnEventThunk, this);
}

indMain::~indMain() {
    gEvMan->RemoveListener(&indMain::OnEventThunk, this);
}

void indMain::OnEventThunk(void* user, const cmcEvent& ev) {
    if (ev.type == evDataReloaded) static_cast<indMain*>(user)->FilterTree();
}

void indMain::BuildTree() {
    // A new tree after a model change or maker mode: the bank the user was
    // on stays selected, so that the next tick brings its sheet back.
    const int bank = SelectedBank();
    cuiMain::BuildTree();
    SelectBank(bank);
}

int indMain::SelectedBank() const {
    QTreeWidgetItem* memory = tree_ ? tree_->FindNode(kChannelMemoryNode) : nullptr;
    QTreeWidgetItem* current = memory ? tree_->View()->currentItem() : nullptr;
    return current && current->parent() == memory ? memory->indexOfChild(current) : -1;
}

bool indMain::SelectBank(int bank) {
    QTreeWidgetItem* memory = tree_ && bank >= 0 ? tree_->FindNode(kChannelMemoryNode) : nullptr;
    if (!memory || bank >= memory->childCount()) return false;
    tree_->View()->setCurrentItem(memory->child(bank));
    return true;
}

void indMain::FilterTree() {
    if (!tree_) return;
    const std::string before = cuiTree::LinkOf(tree_->View()->currentItem());
    const int bank = SelectedBank();
    const int modelClass = GetModelClass();
    if (!document_.IsMakerMode()) RemoveTreeNodes(0);
    if (modelClass == 4 || modelClass == 5)
        RemoveTreeNodes(1);
    else
        RemoveTreeNodes(2);
    if (modelClass != 5) RemoveTreeNodes(3);
    if (modelClass != 3) RemoveTreeNodes(4);
    if (modelClass != 2) RemoveTreeNodes(5);
    if (modelClass == 5) RemoveTreeNodes(7);

    // Filtered away, the channel memory has no banks to show.
    if (QTreeWidgetItem* memory = tree_->FindNode(kChannelMemoryNode)) {
        const QSignalBlocker quiet(tree_->View());
        tree_->DeleteChildren(memory);
        memory->setText(0, plat::ToQString(gGTex->GetTextLine(kBankOperationKey, modelClass == 2 ? 1 : 0)));
        const std::string format = gGTex->GetTextLine(kBankBranchKey, 0);
        const std::string word = ModelKeySuffix();
        for (int32_t bank = 0; bank < kBankCount; ++bank) {
            // The node just added is the bank's: no search for it.
            QTreeWidgetItem* node = tree_->AddNode(memory, BankLine(format, word, bank));
            node->setText(0, plat::ToQString(FormatBankLabel(document_.WorkingImage(), bank)));
        }
        tree_->RefreshBankImages();
    }
    // The bank nodes are new ones: the bank that was selected is again, so
    // that Open brings back the sheet the user was on.
    const bool kept = SelectBank(bank);
    QTreeWidgetItem* now = tree_->View()->currentItem();
    if (!kept && now && now->isSelected() && cuiTree::LinkOf(now) != before) {
        QTreeWidgetItemIterator next(now);
        ++next;
        if (*next) tree_->View()->setCurrentItem(*next);
    }
    gEvMan->Send(evRefreshCaption);
}
