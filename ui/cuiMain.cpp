#include "ui/cuiMain.h"

#include "cells/TextConv.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/indActiveCell.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/cmcHelpGTex.h"
#include "foundation/cmcTask.h"
#include "foundation/indEnviron.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/ImageUnpacking.h"
#include "image/ModelPasses.h"
#include "image/RowEdit.h"
#include "image/cmcIcfFile.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "ui/CloneProgressWindow.h"
#include "ui/ComPortDialog.h"
#include "ui/MainCloneHost.h"
#include "ui/QtConvert.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <strings.h>

namespace {

constexpr int32_t kModels = 10;
constexpr int32_t kBankLabelMax = 34;
constexpr int32_t kCommentPart = 16;
constexpr int32_t kFileFormat = 1;
constexpr char kUntitled[] = "Untitled";
// The information cells that say something about a radio (58 and 61 have nothing to show).
constexpr int32_t kCloneInfoCells[] = {56, 57, 59, 60, 62, 63, 64, 65};

// The hourglass while a file is read or written.
class WaitCursor {
public:
    WaitCursor() {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        set_ = true;
    }
    ~WaitCursor() {
        if (set_) QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool set_ = false;
};

std::string NamePart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return std::filesystem::current_path().string();
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// A text from the overlay used as a format for one text argument.
std::string FormatWith(std::string format, const std::string& argument) {
    const size_t at = format.find("%s");
    if (at != std::string::npos) format.replace(at, 2, argument);
    return format;
}

std::string& TrimTrailingBlanks(std::string& text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

QString FromBytes(const std::string& s) {
    return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

cmcGTex& Texts() {
    return *gGTex;
}

} // namespace

cuiMain::cuiMain(const std::string& programName, int32_t capacity, const std::string& programDirectory)
    : capacity_(capacity), programName_(programName), programDirectory_(programDirectory),
      previousManager_(gAppManager) {
    gGTex->SetFile(programDirectory_ + programName_ + ".OVL");
    gHelpGTex->SetFileName(programDirectory_ + programName_ + "H.OVL");
    InitDirectory();
    working_.SetSize(capacity_);
    reference_.Assign(working_);
    task_ = new cmcTask;
    task_->SetHandler(&cuiMain::OnTaskThunk, this);
    gEvMan->AddListener(&cuiMain::OnEventThunk, this);
    gAppManager = this;
    SetCurrentImage(&working_);
    InitModelInfo();
    cloneMan_ = std::make_unique<indCloneMan>();
    cloneHost_ = std::make_unique<MainCloneHost>(*this);
    cloneCommands_ = std::make_unique<CloneCommands>(*cloneHost_, *cloneMan_);
}

cuiMain::~cuiMain() {
    cloneCommands_.reset();
    cloneMan_.reset();
    cmcTask::Dispose(task_);
    gEvMan->RemoveListener(&cuiMain::OnEventThunk, this);
    if (&CurrentImage() == &working_) SetCurrentImage(nullptr);
    if (gAppManager == this) gAppManager = previousManager_;
}

void cuiMain::InitModelInfo() {
    memoryEnd_ = 0;
    modelCode_ = 0;
    subCode_ = 0;
}

std::string cuiMain::AppTitle() const {
    return Texts().GetText("GI_Sys_AppTitle");
}

// --- start-up data ---------------------------------------------------------

void cuiMain::SetUpLoad(cmcIcfFile& file, cmcEeprom& image) {
    file.SetImage(&image);
    file.SetCode1(modelCode_);
    file.SetCode2(subCode_);
    file.SetOnMapRev([](int32_t rev) { return rev < 2; });
    file.SetOnHeader([this](int32_t c1, int32_t c2, int& result) { return CheckModel(c1, c2, result); });
}

void cuiMain::ResetWorkingImage() {
    working_ = reference_;
    Static2DynamicInit(working_);
    ClearModified();
}

void cuiMain::LoadInitialFile(int32_t modelIndex) {
    // A model index from a hand-edited settings file must not pick a line
    // past the list of start-up files.
    if (modelIndex < 0 || modelIndex >= kModels) modelIndex = 0;
    const std::string path = programDirectory_ + Texts().GetTextLine("GI_App_InitialFile", modelIndex);
    // A fresh image, so nothing of the previous model's tables survives in
    // the bytes the file does not hold.
    cmcEeprom image;
    image.SetSize(capacity_);
    const RangeList areas = CloneAreas(3);
    cmcIcfFile file;
    SetUpLoad(file, image);
    if (file.Load(path, &areas) != cmcIcfFile::kOk) plat::Fatal("Cannot open '" + path + "'.");
    reference_ = image;
}

void cuiMain::LoadStartupData() {
    if (gEnviron->ModelType < 0 || gEnviron->ModelType >= kModels) gEnviron->ModelType = 0;
    LoadInitialFile(gEnviron->ModelType);
    Dynamic2Static(reference_);
    ResetWorkingImage();
    CloseSheet();
    snapshot_ = reference_;
}

// --- the window ------------------------------------------------------------

void cuiMain::CreateWindow(QMainWindow* form, const ImageList* treeImages, const ImageList* toolBarImages) {
    form_ = form;
    treeImages_ = treeImages;
    toolBarImages_ = toolBarImages;

    LoadStartupData();

    form->menuBar()->setNativeMenuBar(false);
    toolBar_ = new QToolBar(form);
    toolBar_->setObjectName(QStringLiteral("GI_ToolBar_Main"));
    toolBar_->setMovable(false);
    form->addToolBar(toolBar_);
    toolBar_->setVisible(gEnviron->ToolbarVisible != 0);
    gEvMan->Send(evRefreshMenusAndToolBar);

    splitter_ = new QSplitter(Qt::Horizontal, form);
    treePanel_ = new QFrame(splitter_);
    treePanel_->setObjectName(QStringLiteral("TreePanel"));
    treePanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    treePanel_->setLineWidth(2);
    treePanel_->setMinimumWidth(kSplitterMinSize);
    sheetPanel_ = new QFrame(splitter_);
    sheetPanel_->setObjectName(QStringLiteral("SheetPanel"));
    sheetPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sheetPanel_->setLineWidth(2);
    splitter_->addWidget(treePanel_);
    splitter_->addWidget(sheetPanel_);
    splitter_->setHandleWidth(3);
    splitter_->setChildrenCollapsible(false);
    splitter_->setOpaqueResize(true);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    form->setCentralWidget(splitter_);

    BuildTree();

    const int treeWidth = std::max<int>(gEnviron->SplitterV, kSplitterMinSize);
    splitter_->setSizes({treeWidth, std::max(form->width() - treeWidth, kSplitterMinSize)});

    statusBar_ = form->statusBar();
    statusBar_->setSizeGripEnabled(false);
    messagePanel_ = new QLabel(statusBar_);
    messagePanel_->setObjectName(QStringLiteral("MessagePanel"));
    messagePanel_->setMinimumWidth(100);
    messagePanel_->setAutoFillBackground(true);
    statusBar_->addWidget(messagePanel_, 1);
    auto* lastPanel = new QLabel(statusBar_);
    lastPanel->setFixedWidth(statusBar_->sizeHint().height());
    statusBar_->addWidget(lastPanel, 0);
    statusPanels_ = 2;
    SetStatusMessage(messageTextColor_, messageBackColor_, messageText_);

    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, form,
                     [this](Qt::ApplicationState state) { inactive_ = state != Qt::ApplicationActive; });

    if (capacity_ < kImageMap) plat::Fatal("Self Check Error.\nEEPROM Map is too large.");

    cloneMan_->SetProgressView(std::make_unique<CloneProgressWindow>(form));

    task_->SetInterval(kTaskIntervalMs);
    form->show();
}

void cuiMain::BuildTree() {
    // The tree of sheets is built from "GI_Tree_Main" once the sheets exist.
}

void cuiMain::OnFormShown() {
    UpdateTitle();
}

bool cuiMain::CloseQuery() {
    if (form_ && !form_->isEnabled()) return false;
    if (ConfirmSave(false) == plat::IDCANCEL) return false;
    if (form_) {
        const QRect r = form_->normalGeometry();
        gEnviron->WindowLeft = r.left();
        gEnviron->WindowTop = r.top();
        gEnviron->WindowWidth = r.width();
        gEnviron->WindowHeight = r.height();
    }
    if (treePanel_) gEnviron->SplitterV = treePanel_->width();
    return true;
}

void cuiMain::OnFormClosed() {
    task_->SetInterval(-1);
    CloseSheet();
    form_ = nullptr;
}

void cuiMain::UpdateTitle() {
    if (!form_) return;
    const std::string name = IsUntitled() ? std::string(kUntitled) : NamePart(fileName_);
    form_->setWindowTitle(FromBytes(name + " - " + AppTitle()));
}

int32_t cuiMain::MainMenuSubItemCount(int32_t) const {
    return -1;
}

intptr_t cuiMain::MainMenuContext() const {
    return reinterpret_cast<intptr_t>(form_ ? form_->menuBar() : nullptr);
}

void cuiMain::CloseMainForm() {
    if (form_) form_->close();
}

void cuiMain::ToggleToolBar() {
    gEnviron->ToolbarVisible = gEnviron->ToolbarVisible ? 0 : 1;
    if (toolBar_) toolBar_->setVisible(gEnviron->ToolbarVisible != 0);
}

void cuiMain::InsertStatusPanel(QLabel* panel) {
    if (!statusBar_) return;
    statusBar_->insertWidget(statusPanels_ - 1, panel, 0);
    ++statusPanels_;
}

void cuiMain::SetStatusMessage(uint32_t textColor, uint32_t backColor, const std::string& text) {
    messageTextColor_ = textColor;
    messageBackColor_ = backColor;
    messageText_ = text;
    if (!messagePanel_) return;
    QPalette palette = messagePanel_->palette();
    palette.setColor(QPalette::WindowText, ToQColor(textColor, palette));
    palette.setColor(QPalette::Window, ToQColor(backColor, palette));
    messagePanel_->setPalette(palette);
    messagePanel_->setText(FromBytes(text));
}

// --- events and the periodic task -----------------------------------------

void cuiMain::OnEventThunk(void* user, const cmcEvent& ev) {
    static_cast<cuiMain*>(user)->OnEvent(ev);
}

void cuiMain::OnEvent(const cmcEvent& ev) {
    switch (ev.type) {
    case evRefreshMenusAndToolBar:
        gEvMan->Send(evUpdateMenus);
        gEvMan->Send(evUpdateToolBar);
        break;
    case evStatusText:
        SetStatusMessage(static_cast<uint32_t>(ev.p1), static_cast<uint32_t>(ev.p2), ev.Text());
        break;
    case evTakeImageSnapshot:
        snapshot_ = working_;
        break;
    case evInsertChannelRow:
    case evRemoveChannelRow:
    case evInsertPoolRow:
    case evRemovePoolRow:
        HandleRowEvent(ev, working_, reference_, GetModelClass());
        break;
    default:
        // The About box and the debug windows answer their events once they exist.
        break;
    }
}

void cuiMain::OnTaskThunk(void* user, cmcTask*) {
    static_cast<cuiMain*>(user)->OnTick();
}

void cuiMain::OnTick() {
    if (warningDelay_ && warningDelay_->Remaining() == 0) {
        warningDelay_.reset();
        CheckWarnings(nullptr, nullptr);
        gEvMan->Post(evRedrawImageDebug);
    }
}

void cuiMain::ScheduleWarningCheck() {
    if (!warningDelay_) warningDelay_.emplace();
    warningDelay_->Start(kWarningDelayMs);
}

void cuiMain::CheckWarnings(int* errors, int* warnings) {
    if (errors) *errors = 0;
    if (warnings) *warnings = 0;
    // The marks go on the tree's nodes: without a tree there is nothing to check.
}

// --- checks ------------------------------------------------------------------

int cuiMain::CheckImage(const cmcEeprom& image, bool strict) {
    return CheckImageHeader(image, strict);
}

bool cuiMain::IsLockedOutNewerData(const cmcEeprom&) {
    return false;
}

void cuiMain::AfterLoad(cmcEeprom&) {}

void cuiMain::NormalizeImage(cmcEeprom&, int) {}

bool cuiMain::CheckModel(int32_t code1, int32_t code2, int& result) {
    if (code1 != modelCode_) return result = cmcIcfFile::kModel, false;
    if (code2 != subCode_) return result = cmcIcfFile::kExtra, false;
    return true;
}

RangeList cuiMain::CloneAreas(int32_t) {
    return RangeList{{0, 0xFF7F}, kRangeListEnd};
}

// --- file state --------------------------------------------------------------

void cuiMain::InitDirectory() {
    lastDirectory_ = gEnviron->CurrentDirectory;
    if (lastDirectory_.empty()) lastDirectory_ = plat::FileDialogs().DocumentsFolder();
    // Never the program's own directory: untitled data is saved where the user keeps files.
    if (lastDirectory_.empty()) {
        const char* home = std::getenv("HOME");
        lastDirectory_ = home && *home ? home : std::filesystem::current_path().string();
    }
}

void cuiMain::RememberDirectory(const std::string& path) {
    lastDirectory_ = FolderOf(path);
    gEnviron->CurrentDirectory = lastDirectory_;
}

std::string cuiMain::GetFileName() const {
    if (!fileName_.empty()) return fileName_;
    std::string dir = lastDirectory_;
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir + kUntitled;
}

void cuiMain::SetFileName(const std::string& path) {
    fileName_ = path;
    UpdateTitle();
}

void cuiMain::SetModified() {
    modified_ = true;
    UpdateTitle();
}

void cuiMain::ClearModified() {
    saved_ = working_;
    modified_ = false;
    UpdateTitle();
}

bool cuiMain::UpdateModified() {
    if (!modified_ && working_.IsDifferent(saved_)) SetModified();
    return modified_;
}

void cuiMain::EndEdit() {
    gEvMan->Send(evEndEditing);
}

int cuiMain::ConfirmSave(bool another) {
    EndEdit();
    const std::string question =
        another ? Texts().GetText("GI_Mess_Confirm_WriteAnother")
                : FormatWith(Texts().GetText("GI_Mess_Confirm_WriteFile"), NamePart(GetFileName()));
    if (!modified_) return plat::IDYES;
    int answer = plat::ShowMessageBox(question, AppTitle(), plat::MB_YESNOCANCEL | plat::MB_ICONWARNING);
    if (answer == plat::IDYES) {
        const int saved = IsUntitled() || another ? SaveAsDialog() : SaveFile(GetFileName());
        if (saved != 0) answer = plat::IDCANCEL;
    }
    return answer;
}

// --- file commands -----------------------------------------------------------

int cuiMain::NewFile() {
    if (ConfirmSave(false) == plat::IDCANCEL) return 1;
    ResetWorkingImage();
    SetFileName(std::string());
    CloseSheet();
    for (int32_t bank = 0; bank < layout::kBanks; ++bank)
        gEvMan->PostText(evSetBankNodeText, 0, bank,
                         FormatBankLabel(working_, bank).substr(0, kBankLabelMax));
    return 0;
}

int cuiMain::OpenDialog() {
    EndEdit();
    plat::FileDialogRequest request;
    request.defaultExtension = Texts().GetTextLine("GI_Sys_Dialog_FOpen", 0);
    request.filter = Texts().GetTextLine("GI_Sys_Dialog_FOpen", 1);
    request.initialDir = lastDirectory_;
    const std::optional<std::string> path = plat::FileDialogs().OpenFileName(request);
    if (!path) return 1;
    return OpenFile(*path);
}

int cuiMain::OpenFile(const std::string& path) {
    const bool same = strcasecmp(path.c_str(), GetFileName().c_str()) == 0;
    if (ConfirmSave(same) == plat::IDCANCEL) return 1;

    cmcEeprom image;
    image.SetSize(working_.GetSize());
    WaitCursor wait;
    const RangeList areas = CloneAreas(3);
    cmcIcfFile file;
    SetUpLoad(file, image);
    if (file.Load(path) != cmcIcfFile::kOk) return 1; // the loader has told the user
    if (CheckImage(image, false) != 0) {
        ShowFileErrorMessage(cmcIcfFile::kData);
        return 1;
    }
    if (IsLockedOutNewerData(image)) {
        ShowFileErrorMessage(cmcIcfFile::kNewer);
        return 1;
    }
    if (const int coverage = file.CheckCoverage(&areas); coverage != cmcIcfFile::kOk) {
        ShowFileErrorMessage(coverage);
        return 1;
    }

    RememberDirectory(path);
    SetFileName(path);
    gEnviron->Recent.AddTop(path);
    working_ = image;
    AfterLoad(working_);
    ClearModified();
    CloseSheet();
    gEvMan->Send(evDataReloaded);
    return 0;
}

int cuiMain::SaveAsDialog() {
    plat::FileDialogRequest request;
    request.defaultExtension = Texts().GetTextLine("GI_Sys_Dialog_FOpen", 0);
    request.filter = Texts().GetTextLine("GI_Sys_Dialog_FOpen", 1);
    request.fileName = NamePart(GetFileName());
    request.initialDir = lastDirectory_;
    const std::optional<std::string> path = plat::FileDialogs().SaveFileName(request);
    if (!path) return 1;
    return SaveFile(*path);
}

std::string cuiMain::SaveComment() const {
    auto part = [this](int32_t at) {
        std::string text;
        for (int32_t i = 0; i < kCommentPart; ++i) {
            const uint8_t c = working_.GetByte(at + i);
            text += IsPrintable(c) ? static_cast<char>(c) : ' ';
        }
        return text;
    };
    std::string comment = part(layout::kComment1);
    TrimTrailingBlanks(comment);
    comment += part(layout::kComment2);
    return TrimTrailingBlanks(comment);
}

int cuiMain::SaveFile(const std::string& path) {
    EndEdit();
    NormalizeImage(working_, 1);
    if (Static2DynamicInit(working_) != 0) {
        // The partition table of such an image is not its own: storing it would
        // give a file that no radio and no program can use.
        plat::ShowMessageBox(GetMultiLineText(Texts(), "GI_AppMess_DataTooLarge"), AppTitle(),
                             plat::MB_OK | plat::MB_ICONERROR);
        return 1;
    }
    WaitCursor wait;
    cmcIcfFile file;
    file.SetImage(&working_);
    file.SetCode1(modelCode_);
    file.SetCode2(subCode_);
    file.SetMapRev(kFileFormat);
    file.SetComment(SaveComment());
    if (file.Save(path, CloneAreas(2)) != cmcIcfFile::kOk) return 1; // the writer has told the user

    RememberDirectory(path);
    SetFileName(path);
    gEnviron->Recent.AddTop(path);
    ClearModified();
    return 0;
}

// --- the parts that join the window later -----------------------------------

void cuiMain::Print(int32_t) {}
void cuiMain::CloseSheet() {}
void cuiMain::CloseSheetCmd() {
    CloseSheet();
}
void cuiMain::OpenSheet(const std::string&) {}
void cuiMain::OpenRepeaterSettings(const cmcCellCapsule&) {}

// --- the clone link ------------------------------------------------------------

void cuiMain::CloneRead() {
    cloneCommands_->CloneRead();
}

void cuiMain::CloneWrite() {
    cloneCommands_->CloneWrite();
}

void cuiMain::ReadCloneInfo() {
    cloneCommands_->ReadCloneInfo();
}

void cuiMain::SelectComPort() {
    ComPortDialog::Run(form_);
}

int cuiMain::ConfirmMakerCaution() {
    return plat::ShowMessageBox(GetMultiLineText(Texts(), "GI_Mess_Maker_Caution"), AppTitle(),
                                plat::MB_OKCANCEL | plat::MB_ICONWARNING);
}

void cuiMain::OpenCloneInformation() {
    // The information window with its sheet "GI_Sheet_CloneInfo" comes with
    // the sheets; until then the cells' texts go into a box, one after the other.
    std::string text;
    for (const int32_t id : kCloneInfoCells) {
        cmcCellObj cell;
        cell.category = 0;
        cell.cellId = id;
        cmcCellCapsule request;
        request.cell = &cell;
        indActiveCell::Execute(request, 0);
        std::string shown = request.displayText;
        while (!shown.empty() && (shown.back() == '\n' || shown.back() == ' '))
            shown.pop_back();
        if (!shown.empty()) text += shown + "\n";
    }
    plat::ShowMessageBox(text, AppTitle(), plat::MB_OK | plat::MB_ICONINFORMATION);
}
