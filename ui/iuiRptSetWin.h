#pragma once
#include "foundation/cmcEvMan.h"
#include "image/cmcEeprom.h"
#include "ui/iuiSh_Mch.h"

#include <QDialog>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CellEngine;
class cmcCellCapsule;
class cmcCellObj;
class cmcGTex;
struct cmcEvent;

// The window in which the user edits the repeater entries of one LTR site:
// the site's repeater sheet under a bar naming the site, with OK, Cancel,
// Load and Save. Edits go straight into the working image; a copy of the
// image taken at opening lets Cancel and the close box put back everything,
// also what Load brought in. It disables its owner while it is open and
// owns itself: once its form has closed it goes on the next turn of the
// event loop.
class iuiRptSetWin : public QObject {
public:
    // What Load and Save run for the window's site; their answer is not used.
    struct FileCommands {
        std::function<int(int32_t site)> load;
        std::function<int(int32_t site)> save;
    };

    // What a program changes of the window: whether it has the Load and
    // Save buttons, the site sheet's class, the event that redraws the
    // sheet, and whether Cancel asks before it puts the image back.
    struct Variant {
        using SheetMaker = std::function<std::unique_ptr<iuiSh_Mch>(
            const CellEngine& engine, QWidget* parent, const cmcCellCapsule& opening, cmcGTex& texts,
            const std::string& name, const cuiSheet::ImageList* images)>;
        bool fileButtons = true;
        SheetMaker makeSheet;
        int32_t redrawEvent = evRedrawSiteWindow;
        bool asksBeforeRestoring = true;
    };

    // opening: the request of the cell that asked (its index is the site).
    iuiRptSetWin(const CellEngine& engine, QWidget* owner, const std::string& caption, cmcGTex& texts,
                 const std::string& name, const cuiSheet::ImageList* images, const cmcCellCapsule& opening,
                 FileCommands files);
    iuiRptSetWin(const CellEngine& engine, QWidget* owner, const std::string& caption, cmcGTex& texts,
                 const std::string& name, const cuiSheet::ImageList* images, const cmcCellCapsule& opening,
                 FileCommands files, Variant variant);
    ~iuiRptSetWin() override;
    iuiRptSetWin(const iuiRptSetWin&) = delete;
    iuiRptSetWin& operator=(const iuiRptSetWin&) = delete;

    // 1 when the window may close: nothing changed since opening, or the user
    // agreed to drop the changes, which are then undone; 0 when it stays.
    int ConfirmWriteBack();
    void RedrawSheet();
    void InvalidateCells(const cmcCellObj& pattern, uint32_t flags);

    QDialog* Form() const { return form_; }
    iuiSh_Mch* Sheet() const { return sheet_.get(); }
    int32_t Site() const { return sheet_ ? sheet_->Site() : 0; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* LoadButton() const { return load_; }
    QPushButton* SaveButton() const { return save_; }
    QLabel* AreaLabel() const { return areaLabel_; }
    QWidget* SiteNameBox() const { return nameBox_; }

private:
    class GuardedForm;
    class NameBox;

    static void OnEventThunk(void* user, const cmcEvent& ev);
    void OnEvent(const cmcEvent& ev);
    void BuildHeader(QWidget* panel, cmcGTex& texts);
    void BuildButtons(QWidget* panel, cmcGTex& texts);
    // Whether a placement was stored under the name.
    bool RestorePlacement();
    void SavePlacement(bool initial);
    void PlaceFirstTime(bool placed);
    // The bar's label for the site's area bit.
    void RefreshHeader();
    // Closes without the question (OK, event 21, the owner going).
    void CloseKeeping();
    void OnCancel();
    // Closing was allowed: the placement is kept and the window goes.
    void OnClosed();
    // Load and Save commit the open edit and keep the window open.
    void RunFileCommand(const std::function<int(int32_t)>& command);
    bool MayClose();

    Variant variant_;
    cmcEeprom snapshot_;
    QPointer<QWidget> owner_;
    std::string name_;
    cmcGTex& texts_;
    FileCommands files_;
    QPointer<QDialog> form_;
    std::unique_ptr<iuiSh_Mch> sheet_;
    QPointer<QWidget> sheetPanel_;
    QPointer<QWidget> buttonPanel_;
    QPointer<QWidget> header_;
    QPointer<QWidget> nameBox_;
    QPointer<QLabel> areaLabel_;
    QPointer<QPushButton> ok_;
    QPointer<QPushButton> cancel_;
    QPointer<QPushButton> load_;
    QPointer<QPushButton> save_;
    bool keeping_ = false;
    bool closed_ = false;
    bool inFileCommand_ = false;
};
