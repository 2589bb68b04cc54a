#pragma once
#include "adjust/AdjustAutomation.h"
#include "adjust/AdjustClipboard.h"
#include "adjust/AdjustDocumentWorkspace.h"
#include "adjust/ui/PopupOpener.h"
#include "adjust/ui/iuiWinAd.h"
#include "ui/cuiMain.h"

#include <QPointer>

#include <string>

namespace adj {

// The adjustment program's application manager: the main window of the
// cloning program's framework with the program's title alone and five tree
// flags, and the link's automatic adjustment, which takes its steps on every
// bus event before anything else happens to it. What the link reaches of
// the document comes from the document's half of the workspace; whether the
// main form takes input and whether the A/D window is open are answered here.
class indMain : public cuiMain, private AdjustDocumentWorkspace, public AdjustAutomation {
public:
    // The A/D monitor window's name: its placement record and its close request.
    static constexpr const char* kAdWindowName = iuiWinAd::kName;

    // The document must be the adjustment program's.
    explicit indMain(Document& document);
    ~indMain() override;

    // The program's title alone: the data is never a file of the user's.
    void UpdateTitle() override;
    // Only the five model and mode flags remove nodes.
    void RemoveTreeNodes(int kind) override;
    // The program's own site window: OK and Cancel over its site sheet.
    void OpenRepeaterSettings(const cmcCellCapsule& request) override;

    // The program's menus, tree and channel-pool sheets.
    std::unique_ptr<cuiSheet> CreateSheet(QWidget* parent, const std::string& definition) override;
    std::unique_ptr<::cuiMenu> CreateMenu(const CellEngine& engine, QWidget* root,
                                          const std::string& key) override;
    std::unique_ptr<::iuiTree> CreateTree(QWidget* parent, const std::string& key) override;

    // Event 25: the tree keeps the nodes of the model and mode, and the
    // channel memory is selected (or the node after it, when the selection moved).
    void FilterTree();
    // Event 40: opens the A/D monitor window, or closes it when its open mark is set.
    void OpenAdWindow();
    // The A/D monitor window while it is open.
    iuiWinAd* AdWindow() const;

    bool MainFormEnabled() const override;
    // The settings' window flag: the link tells the window of fresh readings while it is up.
    bool AdWindowOpen() const override;

private:
    static void OnEventThunk(void* user, const cmcEvent& ev);
    void OnEvent(const cmcEvent& ev);

    ScopedAdjustManager useManager_{this};
    adj::datClipCh adjustClipboard_;
    adj::PopupOpener adjustPopups_;
    QPointer<iuiWinAd> adWindow_;
};

} // namespace adj
