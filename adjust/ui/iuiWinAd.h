#pragma once
#include "adjust/ui/iuiSheet.h"

#include <QDialog>
#include <QFrame>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class CellEngine;
class cmcGTex;
struct cmcEvent;

namespace adj {

// The A/D monitor: a modeless, sizeable window over the main form with the
// sheet of the radio's A/D readings and two buttons, one asking the radio
// for fresh readings, one closing. There is one at most; the application
// manager opens it and a second request closes it. It keeps its placement,
// the sheet's position and whether it is open in the program's edit-form
// placements under its name, and owns itself: once closed, it goes with
// its form on a later turn of the event loop.
class iuiWinAd : public QObject {
public:
    // The name the manager opens the window under: the sheet's definition
    // and the key of its placement.
    static constexpr const char* kName = "GI_Sheet_Win_AD";
    // The buttons' captions (line 0 of each).
    static constexpr const char* kUpdateKey = "GI_AppInd_Update";
    static constexpr const char* kCloseKey = "GI_AppInd_Button_OkCancel";
    // The gap around and between the buttons, and their size.
    static constexpr int kGap = 5;
    static constexpr int kButtonWidth = 75;
    static constexpr int kButtonHeight = 25;

    // The sheet's current column and row, left column and top row.
    using SheetPosition = std::array<int32_t, 4>;
    // Where the main window last left a sheet of that name, if anywhere.
    using PositionLookup = std::function<std::optional<SheetPosition>(const std::string& name)>;

    // Builds, places and shows the window over parent, asks for a first
    // reading and starts listening on the bus. engine and images are handed
    // to every sheet the window builds.
    iuiWinAd(const CellEngine& engine, QWidget* parent, const std::string& caption, cmcGTex& texts,
             const std::string& name, const cuiSheet::ImageList* images = nullptr,
             PositionLookup lookup = {});
    ~iuiWinAd() override;
    iuiWinAd(const iuiWinAd&) = delete;
    iuiWinAd& operator=(const iuiWinAd&) = delete;

    // Keeps the placement with the open mark cleared, lets go of the form
    // and asks the main window to refresh; the object goes later.
    void Close();
    void SavePlacement(int32_t openMark);
    // 0 when a stored placement was applied, 1 when there is none.
    int32_t RestorePlacement();
    // Repaints every cell from the readings the manager holds.
    void RedrawValues();
    // Builds the sheet anew (its font changed), the window staying open.
    void RebuildSheet();

    QDialog* Form() const { return form_; }
    iuiSheet* Sheet() const { return sheet_.get(); }
    QFrame* ClientPanel() const { return client_; }
    QWidget* ButtonPanel() const { return buttons_; }
    QPushButton* UpdateButton() const { return update_; }
    QPushButton* CloseButton() const { return close_; }
    bool IsClosed() const { return closed_; }

private:
    class Window;

    static void OnEventThunk(void* user, const cmcEvent& ev);
    void OnBusEvent(const cmcEvent& ev);
    void CreateSheet();
    void PlaceByDefault();
    void KeepMinimumSize();
    // The buttons act only while the main form takes input (no transfer runs).
    bool MainFormEnabled() const;
    void OnUpdate();
    void OnCloseButton();

    const CellEngine& engine_;
    QPointer<QWidget> parent_;
    std::string name_;
    cmcGTex& texts_;
    const cuiSheet::ImageList* images_;
    PositionLookup lookup_;
    QPointer<QDialog> form_;
    QPointer<QFrame> client_;
    QPointer<QWidget> sheetHost_;
    QPointer<QWidget> buttons_;
    QPointer<QPushButton> update_;
    QPointer<QPushButton> close_;
    std::unique_ptr<iuiSheet> sheet_;
    bool closed_ = false;
};

// The manager's answer to a request for the A/D monitor: when the window
// is open (its placement carries the open mark) it is asked to close and
// null comes back; otherwise a new window over mainForm.
iuiWinAd* ToggleAdWindow(const CellEngine& engine, QWidget* mainForm, const std::string& caption,
                         cmcGTex& texts, const cuiSheet::ImageList* images = nullptr,
                         iuiWinAd::PositionLookup lookup = {});

} // namespace adj
