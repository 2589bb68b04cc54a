#include "ui/indMain.h"

#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/ImagePacking.h"
#include "image/ImageUnpacking.h"
#include "image/ModelPasses.h"
#include "platform/MessageBox.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

#include <algorithm>
#include <cctype>

namespace {

constexpr int32_t kModels = 10;
constexpr char kMakerSwitch[] = "/vorplex";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

indMain::indMain(const std::string& programDirectory) : cuiMain(kProgramName, kImageMap, programDirectory) {
    InitModelInfo();
    // The write refuses empty or faulty data and asks before it sends a packed copy.
    UseCloneCommands<AppCloneCommands>();
}

indMain::~indMain() = default;

void indMain::InitModelInfo() {
    cuiMain::InitModelInfo();
    memoryEnd_ = kMemoryEnd;
    modelCode_ = kModelCode;
    subCode_ = 0;
}

void indMain::CreateWindow(QMainWindow* form, const ImageList* treeImages, const ImageList* toolBarImages) {
    cuiMain::CreateWindow(form, treeImages, toolBarImages);
    for (const std::string& argument : arguments_)
        if (Lower(argument) == kMakerSwitch) EnterMakerMode();
}

void indMain::BuildTree() {
    cuiMain::BuildTree();
    // The model's caption goes on the tree's first node once the tree is built.
}

bool indMain::IsLockedOutNewerData(const cmcEeprom& image) {
    return ::IsLockedOutNewerData(image, gGTex->GetText("GI_Sys_LockoutNewerData"));
}

void indMain::AfterLoad(cmcEeprom& image) {
    AfterLoadImage(image, reference_, [this](int modelIndex) { ChangeModel(modelIndex, false); });
}

void indMain::NormalizeImage(cmcEeprom& image, int mode) {
    ::NormalizeImage(image, reference_, gEnviron->ModelType, mode);
}

void indMain::CheckWarnings(int* errors, int* warnings) {
    cuiMain::CheckWarnings(errors, warnings);
    gEvMan->Post(evRebuildTree);
    gEvMan->Post(evRefreshCaption);
}

bool indMain::CheckModel(int32_t code1, int32_t code2, int& result) {
    // The header holds four hexadecimal digits per word; anything wider is no code of ours.
    if (code1 < 0 || code1 > 0xFFFF) return result = 3, false;
    if (code2 < 0 || code2 > 0xFFFF) return result = 4, false;
    return CheckModelCodes(static_cast<uint16_t>(code1), static_cast<uint16_t>(code2), result);
}

RangeList indMain::CloneAreas(int32_t areaType) {
    return CloneAreasFor(areaType);
}

void indMain::ChangeModel(int32_t modelIndex, bool ask) {
    // Only the ten models exist; an index from anywhere else changes nothing.
    if (modelIndex < 0 || modelIndex >= kModels) return;
    if (modelIndex == gEnviron->ModelType) return;
    if (ask && plat::ShowMessageBox(GetMultiLineText(*gGTex, "GI_AppMess_ChangeModel"), AppTitle(),
                                    plat::MB_OKCANCEL | plat::MB_ICONWARNING) != plat::IDOK)
        return;
    gEnviron->ModelType = modelIndex;
    LoadInitialFile(modelIndex);
    Dynamic2Static(reference_);
    if (ask) {
        ResetWorkingImage();
        SetFileName(std::string());
    }
    BuildTree();
}

void indMain::EnterMakerMode() {
    if (makerMode_ || ConfirmMakerCaution() != plat::IDOK) return;
    makerMode_ = true;
    BuildTree();
    makerStatusText_ = gGTex->GetText("GI_StatusPanel_Maker");
    if (!statusBar_) return;
    makerPanel_ = new QLabel(QString::fromLocal8Bit(makerStatusText_.c_str()), statusBar_);
    makerPanel_->setObjectName(QStringLiteral("MakerPanel"));
    makerPanel_->setAlignment(Qt::AlignCenter);
    makerPanel_->setAutoFillBackground(true);
    QPalette palette = makerPanel_->palette();
    palette.setColor(QPalette::Window, QColor(128, 0, 0));
    palette.setColor(QPalette::WindowText, QColor(255, 255, 255));
    makerPanel_->setPalette(palette);
    const QFontMetrics metrics(statusBar_->font());
    makerPanel_->setFixedWidth(metrics.horizontalAdvance(makerPanel_->text()) +
                               metrics.horizontalAdvance(QStringLiteral("XX")));
    InsertStatusPanel(makerPanel_);
}

int32_t indMain::GetCellHelpContext(const cmcCellCapsule&) {
    // The help topics are looked up through the layout cache once the sheets use it.
    return 0;
}
