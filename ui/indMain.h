#pragma once
#include "ui/cuiMain.h"

// The cloning program's main window: the maker-mode switch of the command
// line and the maker panel of the status bar.
class indMain : public cuiMain {
public:
    explicit indMain(Document& document);
    ~indMain() override;

    // The window, then "/vorplex" in the program's arguments, in any letter
    // case, asks for maker mode.
    void CreateWindow(QMainWindow* form, const ImageList* treeImages,
                      const ImageList* toolBarImages) override;
    void BuildTree() override;
    // White on dark red, just before the last panel.
    void ShowMakerPanel(const std::string& text) override;

    // Event 25: the tree keeps the nodes of the model and mode and gets one
    // node a bank under the channel-memory node.
    void FilterTree();
    // The bank whose node is selected under the channel memory, or -1.
    int SelectedBank() const;
    // False when there is no such bank node.
    bool SelectBank(int bank);

private:
    static void OnEventThunk(void* user, const cmcEvent& ev);
    QPointer<QLabel> makerPanel_;
};
