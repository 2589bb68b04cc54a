#pragma once
#include "adjust/AdjustAutomation.h"
#include "adjust/AdjustWorkspace.h"
#include "ui/cuiMain.h"

#include <functional>
#include <string>

class cmcGTex;
class QMainWindow;

namespace adj {

class AdjustDocument;

// What the adjustment link reaches of the main window: the document's images
// and clone manager, the main form's enabled state and the A/D window's flag.
// A base of the application manager, built before the link that uses it.
class MainWorkspace : public AdjustWorkspace {
public:
    MainWorkspace(AdjustDocument& document, const cuiMain& window);

    cmcEeprom& WorkingImage() override;
    cmcEeprom& RadioCopy() override;
    indCloneMan& CloneMan() override;
    bool MainFormEnabled() const override;
    bool AdWindowOpen() const override;
    int ModelWord() const override;

private:
    AdjustDocument& adjustDoc_;
    const cuiMain& window_;
};

// The adjustment program's application manager: the main window of the
// cloning program's framework with the program's title alone and five tree
// flags, and the link's automatic adjustment, which takes its steps on every
// bus event before anything else happens to it.
class indMain : public cuiMain, private MainWorkspace, public AdjustAutomation {
public:
    // The A/D monitor window's name: its placement record and its close request.
    static constexpr char kAdWindowName[] = "GI_Sheet_Win_AD";

    // Makes the A/D monitor window over form, captioned caption, with its
    // sheet from texts under name. The window keeps its own open mark (the
    // placement record's flag) and the settings' window flag, and closes on
    // event 42 with its name.
    using AdWindowFactory = std::function<void(QMainWindow* form, const std::string& caption, cmcGTex& texts,
                                               const std::string& name)>;

    // The document must be the adjustment program's.
    explicit indMain(Document& document);
    ~indMain() override;

    void SetAdWindowFactory(AdWindowFactory factory) { adWindowFactory_ = std::move(factory); }

    // The program's title alone: the data is never a file of the user's.
    void UpdateTitle() override;
    // Only the five model and mode flags remove nodes.
    void RemoveTreeNodes(int kind) override;

    // Event 25: the tree keeps the nodes of the model and mode, and the
    // channel memory is selected (or the node after it, when the selection moved).
    void FilterTree();
    // Event 40: opens the A/D monitor window, or closes it when its open mark is set.
    void OpenAdWindow();

private:
    static void OnEventThunk(void* user, const cmcEvent& ev);
    void OnEvent(const cmcEvent& ev);

    ScopedAdjustManager useManager_{this};
    AdWindowFactory adWindowFactory_;
};

} // namespace adj
