#include "adjust/AdjustDocument.h"

#include "adjust/AdjustImagePasses.h"
#include "adjust/indCloneMan.h"
#include "clone/CloneCommands.h"
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

} // namespace

AdjustDocument::AdjustDocument(const ProgramProfile& profile, const std::string& programDirectory)
    : CloningDocument(profile, programDirectory) {
    radioCopy_.SetSize(Capacity());
    // The adjustment link and its speed script run on this program's own clone manager.
    UseCloneManager<indCloneMan, AppCloneCommands>();
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

std::unique_ptr<Document> MakeAdjustDocument(const ProgramProfile& profile,
                                             const std::string& programDirectory) {
    return std::make_unique<AdjustDocument>(profile, programDirectory);
}

} // namespace adj
