#pragma once
#include <string>

// What the document needs of the main window: its title, closing the sheet
// and building the tree again, the warning marks, the information window, the
// maker panel and the hourglass. The main window implements it; a document
// without a window does without all of it. What the cells ask of the window
// goes through WindowCommands.
class DocumentWindow {
public:
    virtual ~DocumentWindow() = default;

    // The file name or the modified state changed.
    virtual void UpdateTitle() = 0;

    virtual void CloseSheet() = 0;
    // The tree of sheets is built again (after a model change or in maker mode).
    virtual void BuildTree() = 0;

    // The warning check over the tree: marks the nodes and counts errors and
    // warnings (either output may be absent).
    virtual void MarkWarnings(int* errors, int* warnings) = 0;

    // What the radio told in its last information reply.
    virtual void OpenCloneInformation() = 0;
    // The panel that tells maker mode, with its text.
    virtual void ShowMakerPanel(const std::string& text) = 0;
    // The hourglass while a file is read or written: each true is ended by its own false.
    virtual void ShowBusy(bool busy) = 0;
};
