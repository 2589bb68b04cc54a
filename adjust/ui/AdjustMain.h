#pragma once
#include "adjust/AdjustClipboard.h"
#include "adjust/AdjustManager.h"
#include "adjust/ui/PopupOpener.h"
#include "adjust/ui/iuiWinAd.h"
#include "ui/cuiMain.h"

#include <QPointer>

#include <string>

namespace adj {

class AdjustAutomation;
class AdjustDocument;

// The adjustment program's application manager: the main window of the
// cloning program's framework with the program's title alone and five tree
// flags. The document's automatic adjustment takes its steps on every bus
// event before anything else happens to it; the window joins the session
// with the form's answer to whether it takes input, and the cells reach the
// automation as the adjustment manager while the window is up.
class indMain : public cuiMain {
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

    // The document's automatic adjustment.
    AdjustAutomation& Automation() const { return automation_; }
    bool MainFormEnabled() const;
    // The settings' window flag: the link tells the window of fresh readings while it is up.
    bool AdWindowOpen() const;

private:
    static void OnEventThunk(void* user, const cmcEvent& ev);
    void OnEvent(const cmcEvent& ev);

    AdjustDocument& doc_;
    AdjustAutomation& automation_;
    ScopedAdjustManager useManager_;
    adj::datClipCh adjustClipboard_;
    adj::PopupOpener adjustPopups_;
    QPointer<iuiWinAd> adWindow_;
};

} // namespace adj
