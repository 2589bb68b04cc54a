#include "adjust/AdjustDocument.h"

#include "adjust/AdjustAutomation.h"
#include "adjust/AdjustCloneCommands.h"
#include "adjust/AdjustImagePasses.h"
#include "adjust/indCloneMan.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/ImageLayout.h"
#include "image/ModelPasses.h"

namespace adj {

namespace {

// This program tests the class bits in its own order: PMR-Z, PMR, P25, LTR.
constexpr ClassBit kClassBitOrder[] = {{2, 4}, {1, 3}, {3, 2}, {7, 1}};

// The only data revision this program's radios carry.
constexpr uint8_t kDataRevision = 1;

} // namespace

// What the automatic adjustment reaches of the session: the document's
// images, clone manager and model word, the joined form's answer, and the
// settings' mark of the A/D window.
class AdjustDocument::Workspace : public AdjustWorkspace {
public:
    explicit Workspace(AdjustDocument& document) : doc_(document) {}

    cmcEeprom& WorkingImage() override { return doc_.WorkingImage(); }
    cmcEeprom& RadioCopy() override { return doc_.RadioCopy(); }
    indCloneMan& CloneMan() override { return doc_.AdjustCloneMan(); }
    bool MainFormEnabled() const override { return doc_.formEnabled_ && doc_.formEnabled_(); }
    bool AdWindowOpen() const override { return gEnviron && gEnviron->AdWindowFlag != 0; }
    int ModelWord() const override { return doc_.ModelCode(); }

private:
    AdjustDocument& doc_;
};

AdjustDocument::AdjustDocument(const ProgramProfile& profile, const std::string& programDirectory)
    : CloningDocument(profile, programDirectory) {
    radioCopy_.SetSize(Capacity());
    // The commands hold the manager: they go first and come back on the new one.
    cloneCommands_.reset();
    cloneMan_ = std::make_unique<indCloneMan>();
    cloneCommands_ = std::make_unique<AdjustCloneCommands>(*this, *cloneMan_);
    workspace_ = std::make_unique<Workspace>(*this);
    automation_ = std::make_unique<AdjustAutomation>(*workspace_);
}

AdjustDocument::~AdjustDocument() = default;

int AdjustDocument::Static2Dynamic(cmcEeprom& image, int mode) {
    if (mode == kPackCloneWrite) SetToleranceLimits(image, InfoBlock()[kInfoDataVersion], GetModelClass());
    return adj::Static2Dynamic(image, mode);
}

void AdjustDocument::Dynamic2Static(cmcEeprom& image) {
    adj::Dynamic2Static(image, nullptr);
}

void AdjustDocument::AfterLoad(cmcEeprom& image) {
    UnpackDynamicArea(image, &radioCopy_);
    ChangeModel(DetectModelIndex(image, kClassBitOrder), false);
    NormalizeImage(image, 0);
}

void AdjustDocument::NormalizeImage(cmcEeprom& image, int mode) {
    adj::NormalizeImage(image, reference_, gEnviron->ModelType, mode, &radioCopy_);
}

bool AdjustDocument::IsLockedOutNewerData(const cmcEeprom& image) {
    // The byte is in the static tables only once the radio's area is
    // unpacked: judged on a scratch copy, the image itself stays as it came.
    if (ParseLeadingDecimal(gGTex->GetText("GI_Sys_LockoutNewerData")) == 0) return false;
    if (!image.IsValidAddress(layout::kNewerDataByte)) return false;
    cmcEeprom scratch(image);
    UnpackDynamicArea(scratch);
    return scratch.GetByte(layout::kNewerDataByte) != 0;
}

int AdjustDocument::CheckImage(const cmcEeprom& image, bool strict) {
    if (CloningDocument::CheckImage(image, strict) != 0) return 1;
    return image.GetByte(AppCloneCommands::kRevisionByte) == kDataRevision ? 0 : 1;
}

void AdjustDocument::LoadStartupData() {
    CloningDocument::LoadStartupData();
    radioCopy_ = working_;
}

int AdjustDocument::NewFile() {
    if (CloningDocument::NewFile() != 0) return 1;
    radioCopy_ = working_;
    return 0;
}

indCloneMan& AdjustDocument::AdjustCloneMan() {
    return static_cast<indCloneMan&>(*cloneMan_);
}

void AdjustDocument::JoinMainForm(std::function<bool()> enabled) {
    formEnabled_ = std::move(enabled);
}

std::unique_ptr<Document> MakeAdjustDocument(const ProgramProfile& profile,
                                             const std::string& programDirectory) {
    return std::make_unique<AdjustDocument>(profile, programDirectory);
}

} // namespace adj
