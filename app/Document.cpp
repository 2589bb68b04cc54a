#include "app/Document.h"

#include "app/DocumentWindow.h"
#include "cells/CellEngine.h"
#include "cells/TextConv.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/ProgramProfile.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/cmcHelpGTex.h"
#include "foundation/indEnviron.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/ImageUnpacking.h"
#include "image/ModelPasses.h"
#include "image/RowEdit.h"
#include "image/cmcIcfFile.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <strings.h>

namespace {

constexpr int32_t kBankLabelMax = 34;
constexpr int32_t kCommentPart = 16;
constexpr int32_t kFileFormat = 1;
constexpr char kUntitled[] = "Untitled";

// The hourglass over the window while a file is read or written.
class BusyWindow {
public:
    explicit BusyWindow(DocumentWindow* window) : window_(window) {
        if (window_) window_->ShowBusy(true);
    }
    ~BusyWindow() {
        if (window_) window_->ShowBusy(false);
    }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

private:
    DocumentWindow* window_;
};

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return std::filesystem::current_path().string();
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string& TrimTrailingBlanks(std::string& text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

cmcGTex& Texts() {
    return *gGTex;
}

} // namespace

Document::Document(const ProgramProfile& profile, int32_t capacity, const std::string& programDirectory)
    : profile_(profile), capacity_(capacity), programDirectory_(programDirectory),
      previousManager_(gAppManager) {
    gGTex->SetFile(programDirectory_ + profile_.programName + ".OVL");
    if (!profile_.helpOverlay.empty()) gHelpGTex->SetFileName(programDirectory_ + profile_.helpOverlay);
    InitDirectory();
    working_.SetSize(capacity_);
    reference_ = working_;
    gEvMan->AddListener(&Document::OnEventThunk, this);
    gAppManager = this;
    SetCurrentImage(&working_);
    InitModelInfo();
    cloneMan_ = std::make_unique<indCloneMan>();
    cloneCommands_ = std::make_unique<CloneCommands>(*this, *cloneMan_);
}

Document::~Document() {
    cloneCommands_.reset();
    cloneMan_.reset();
    gEvMan->RemoveListener(&Document::OnEventThunk, this);
    if (&CurrentImage() == &working_) SetCurrentImage(nullptr);
    if (gAppManager == this) gAppManager = previousManager_;
}

void Document::InitModelInfo() {
    memoryEnd_ = 0;
    modelCode_ = 0;
    subCode_ = 0;
}

std::string Document::AppTitle() const {
    return BoxCaption();
}

ImagePacking Document::Packing() {
    return [this](cmcEeprom& image) { return Static2Dynamic(image, kPackPlain); };
}

int Document::Static2Dynamic(cmcEeprom& image, int mode) {
    return ::Static2Dynamic(image, mode);
}

void Document::Dynamic2Static(cmcEeprom& image) {
    ::Dynamic2Static(image);
}

// --- start-up data ---------------------------------------------------------

int32_t Document::ValidModel(int32_t modelIndex) const {
    return modelIndex >= 0 && modelIndex < kModels ? modelIndex : profile_.fallbackModel;
}

void Document::SetUpLoad(cmcIcfFile& file, cmcEeprom& image) {
    file.SetImage(&image);
    file.SetCode1(modelCode_);
    file.SetCode2(subCode_);
    file.SetOnMapRev([this](int32_t rev) { return profile_.AcceptsMapRevision(rev); });
    file.SetOnHeader([this](int32_t c1, int32_t c2, int& result) { return CheckModel(c1, c2, result); });
}

void Document::ResetWorkingImage() {
    working_ = reference_;
    Static2Dynamic(working_, kPackPlain);
    ClearModified();
}

void Document::LoadInitialFile(int32_t modelIndex) {
    // A model index from a hand-edited settings file must not pick a line
    // past the list of start-up files.
    modelIndex = ValidModel(modelIndex);
    const std::string path = programDirectory_ + Texts().GetTextLine(profile_.startupFileKey, modelIndex);
    // A fresh image, so nothing of the previous model's tables survives in
    // the bytes the file does not hold.
    cmcEeprom image;
    image.SetSize(capacity_);
    const RangeList areas = CloneAreas(3);
    cmcIcfFile file;
    SetUpLoad(file, image);
    if (file.Load(path, &areas) != cmcIcfFile::kOk) plat::Fatal("Cannot open '" + path + "'.");
    reference_ = std::move(image);
}

void Document::LoadStartupData() {
    gEnviron->ModelType = ValidModel(gEnviron->ModelType);
    LoadInitialFile(gEnviron->ModelType);
    Dynamic2Static(reference_);
    ResetWorkingImage();
    CloseSheet();
    snapshot_ = reference_;
}

// --- the bus -----------------------------------------------------------------

void Document::OnEventThunk(void* user, const cmcEvent& ev) {
    static_cast<Document*>(user)->OnEvent(ev);
}

void Document::OnEvent(const cmcEvent& ev) {
    switch (ev.type) {
    case evTakeImageSnapshot:
        snapshot_ = working_;
        break;
    case evInsertChannelRow:
    case evRemoveChannelRow:
    case evInsertPoolRow:
    case evRemovePoolRow:
        if (const auto rowEvents = InstalledCellEngine().Numbers().rowEvents)
            rowEvents(ev, working_, reference_, GetModelClass());
        break;
    default:
        break;
    }
}

// --- checks ------------------------------------------------------------------

void Document::CheckWarnings(int* errors, int* warnings) {
    if (errors) *errors = 0;
    if (warnings) *warnings = 0;
    // The marks go on the tree's nodes: without a window there is nothing to check.
    if (window_) window_->MarkWarnings(errors, warnings);
}

int Document::CheckImage(const cmcEeprom& image, bool strict) {
    return CheckImageHeader(image, strict);
}

bool Document::IsLockedOutNewerData(const cmcEeprom&) {
    return false;
}

void Document::AfterLoad(cmcEeprom&) {}

void Document::NormalizeImage(cmcEeprom&, int) {}

bool Document::CheckModel(int32_t code1, int32_t code2, int& result) {
    if (code1 != modelCode_) return result = cmcIcfFile::kModel, false;
    if (code2 != subCode_) return result = cmcIcfFile::kExtra, false;
    return true;
}

RangeList Document::CloneAreas(int32_t) {
    return RangeList{{0, 0xFF7F}, kRangeListEnd};
}

int Document::ProgrammedChannelCount() {
    return CountProgrammedInRange(working_, 0, layout::kChannelRows - 1);
}

int Document::DataWarningCount() {
    int errors = 0;
    CheckWarnings(&errors, nullptr);
    return errors;
}

// --- file state --------------------------------------------------------------

void Document::InitDirectory() {
    lastDirectory_ = gEnviron->CurrentDirectory;
    if (lastDirectory_.empty()) lastDirectory_ = plat::FileDialogs().DocumentsFolder();
    // Never the program's own directory: untitled data is saved where the user keeps files.
    if (lastDirectory_.empty()) {
        const char* home = std::getenv("HOME");
        lastDirectory_ = home && *home ? home : std::filesystem::current_path().string();
    }
}

std::string Document::NamePart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void Document::UseFolderOf(const std::string& path) {
    lastDirectory_ = FolderOf(path);
}

void Document::RememberDirectory(const std::string& path) {
    UseFolderOf(path);
    gEnviron->CurrentDirectory = lastDirectory_;
}

std::string Document::GetFileName() const {
    return fileName_.empty() ? UntitledPath() : fileName_;
}

std::string Document::UntitledPath() const {
    std::string dir = lastDirectory_;
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir + kUntitled;
}

void Document::SetFileName(const std::string& path) {
    fileName_ = path;
    if (window_) window_->UpdateTitle();
}

void Document::SetModified() {
    modified_ = true;
    if (window_) window_->UpdateTitle();
}

void Document::ClearModified() {
    saved_ = working_;
    modified_ = false;
    if (window_) window_->UpdateTitle();
}

bool Document::UpdateModified() {
    if (!modified_ && working_.IsDifferent(saved_)) SetModified();
    return modified_;
}

void Document::EndEdit() {
    gEvMan->Send(evEndEditing);
}

int Document::ConfirmSave(bool another) {
    EndEdit();
    const std::string question =
        another ? Texts().GetText("GI_Mess_Confirm_WriteAnother")
                : FormatOneText(Texts().GetText("GI_Mess_Confirm_WriteFile"), NamePart(GetFileName()));
    if (!modified_) return plat::IDYES;
    int answer = plat::ShowMessageBox(question, AppTitle(), plat::MB_YESNOCANCEL | plat::MB_ICONWARNING);
    if (answer == plat::IDYES) {
        const int saved = IsUntitled() || another ? SaveAsDialog() : SaveFile(GetFileName());
        if (saved != 0) answer = plat::IDCANCEL;
    }
    return answer;
}

// --- file commands -----------------------------------------------------------

int Document::NewFile() {
    if (ConfirmSave(false) == plat::IDCANCEL) return 1;
    ResetWorkingImage();
    SetFileName(std::string());
    CloseSheet();
    PostBankCaptions();
    return 0;
}

void Document::PostBankCaptions() {
    for (int32_t bank = 0; bank < layout::kBanks; ++bank)
        gEvMan->PostText(evSetBankNodeText, 0, bank,
                         FormatBankLabel(working_, bank).substr(0, kBankLabelMax));
}

int Document::OpenDialog() {
    EndEdit();
    plat::FileDialogRequest request;
    request.defaultExtension = Texts().GetTextLine("GI_Sys_Dialog_FOpen", 0);
    request.filter = Texts().GetTextLine("GI_Sys_Dialog_FOpen", 1);
    request.initialDir = lastDirectory_;
    const std::optional<std::string> path = plat::FileDialogs().OpenFileName(request);
    if (!path) return 1;
    return OpenFile(*path);
}

int Document::OpenFile(const std::string& path) {
    const bool same = strcasecmp(path.c_str(), GetFileName().c_str()) == 0;
    if (ConfirmSave(same) == plat::IDCANCEL) return 1;

    cmcEeprom image;
    image.SetSize(working_.GetSize());
    BusyWindow busy(window_);
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
    working_ = std::move(image);
    AfterLoad(working_);
    ClearModified();
    CloseSheet();
    gEvMan->Send(evDataReloaded);
    return 0;
}

int Document::SaveAsDialog() {
    plat::FileDialogRequest request;
    request.defaultExtension = Texts().GetTextLine("GI_Sys_Dialog_FOpen", 0);
    request.filter = Texts().GetTextLine("GI_Sys_Dialog_FOpen", 1);
    request.fileName = NamePart(GetFileName());
    request.initialDir = lastDirectory_;
    const std::optional<std::string> path = plat::FileDialogs().SaveFileName(request);
    if (!path) return 1;
    return SaveFile(*path);
}

std::string Document::SaveComment() const {
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

int Document::SaveFile(const std::string& path) {
    EndEdit();
    NormalizeImage(working_, 1);
    if (Static2Dynamic(working_, kPackPlain) != 0) {
        // The partition table of such an image is not its own: storing it would
        // give a file that no radio and no program can use.
        plat::ShowMessageBox(GetMultiLineText(Texts(), "GI_AppMess_DataTooLarge"), AppTitle(),
                             plat::MB_OK | plat::MB_ICONERROR);
        return 1;
    }
    BusyWindow busy(window_);
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

// --- the clone link ------------------------------------------------------------

void Document::CloneRead() {
    cloneCommands_->CloneRead();
}

void Document::CloneWrite() {
    cloneCommands_->CloneWrite();
}

void Document::ReadCloneInfo() {
    cloneCommands_->ReadCloneInfo();
}

void Document::SendDataReloaded() {
    gEvMan->Send(evDataReloaded);
}

// --- what the window does for the document ----------------------------------

void Document::CloseSheet() {
    if (window_) window_->CloseSheet();
}

void Document::OpenCloneInformation() {
    if (window_) window_->OpenCloneInformation();
}

std::vector<std::string> Document::CompareWithSnapshot() {
    std::vector<std::string> lines;
    if (snapshot_.GetSize() != working_.GetSize()) {
        lines.emplace_back("Not match size !");
    } else {
        for (int32_t a = 0; a < working_.GetSize(); ++a) {
            const uint8_t before = snapshot_.GetByte(a);
            const uint8_t after = working_.GetByte(a);
            if (before == after) continue;
            char line[32];
            std::snprintf(line, sizeof line, "%04X : %02X -> %02X", static_cast<unsigned>(a), before, after);
            lines.emplace_back(line);
        }
    }
    snapshot_ = working_;
    return lines;
}
