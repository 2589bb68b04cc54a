#pragma once
#include "ui/cuiMain.h"

// The cloning program's main window: the maker-mode switch of the command
// line, its tree of banks and its repeater files.
class indMain : public cuiMain {
public:
    explicit indMain(Document& document);
    ~indMain() override;

    // The window, then "/vorplex" in the program's arguments, in any letter
    // case, asks for maker mode.
    void CreateWindow(QMainWindow* form, const ImageList* treeImages,
                      const ImageList* toolBarImages) override;
    void BuildTree() override;

    // Event 25: the tree keeps the nodes of the model and mode and gets one
    // node a bank under the channel-memory node.
    void FilterTree();
    // The repeater data file of one site; kOpenSite takes the site that the
    // open repeater sheet shows. The dialogs return 0 when a file was
    // imported or exported, 1 when not (the user has been told why).
    static constexpr int32_t kOpenSite = -1;
    int ImportRepeaterDialog(int32_t site = kOpenSite) override;
    int ImportRepeaterFile(const std::string& path, int32_t site = kOpenSite);
    int ExportRepeaterDialog(int32_t site = kOpenSite) override;
    int ExportRepeaterFile(const std::string& path, int32_t site = kOpenSite);
    // The last repeater file, or "Untitled" in the last directory.
    std::string GetRepeaterFileName() const;
    void SetRepeaterFileName(const std::string& path) { repeaterFileName_ = path; }

    // The bank whose node is selected under the channel memory, or -1.
    int SelectedBank() const;
    // False when there is no such bank node.
    bool SelectBank(int bank);

private:
    static void OnEventThunk(void* user, const cmcEvent& ev);
    std::string repeaterFileName_;
};
