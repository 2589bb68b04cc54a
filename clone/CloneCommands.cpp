#include "clone/CloneCommands.h"

#include "clone/cmcCloneDrv.h"
#include "clone/indCloneMan.h"
#include "foundation/Globals.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcGTex.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cstring>

namespace {

int HexDigit(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

CloneCommands* Self(void* user) {
    return static_cast<CloneCommands*>(user);
}

} // namespace

CloneCommands::CloneCommands(CloneHost& host, indCloneMan& manager) : host_(host), man_(manager) {
    man_.SetInfoHandler(&CloneCommands::InfoCheckThunk, this);
    man_.SetReadDoneHandler(&CloneCommands::ReadCheckThunk, this);
}

CloneCommands::~CloneCommands() {
    man_.SetInfoHandler(nullptr, nullptr);
    man_.SetReadDoneHandler(nullptr, nullptr);
}

void CloneCommands::InfoCheckThunk(void* user, dst_CDrv_Result* r) {
    Self(user)->CheckInfoReply(*r);
}
void CloneCommands::ReadCheckThunk(void* user, dst_CDrv_Result* r) {
    Self(user)->CheckReadImage(*r);
}
void CloneCommands::ReadInfoThunk(void* user, dst_CDrv_Result* r) {
    Self(user)->OnReadInfo(*r);
}
void CloneCommands::ReadDoneThunk(void* user, dst_CDrv_Result* r) {
    Self(user)->OnReadDone(*r);
}
void CloneCommands::WriteConnectedThunk(void* user, dst_CDrv_Result* r) {
    Self(user)->OnWriteConnected(*r);
}
void CloneCommands::WriteDoneThunk(void* user, dst_CDrv_Result* r) {
    Self(user)->OnWriteDone(*r);
}
void CloneCommands::CloneInfoThunk(void* user, dst_CDrv_Result* r) {
    Self(user)->OnCloneInfo(*r);
}

std::string CloneCommands::AppTitle() const {
    return BoxCaption();
}

int32_t CloneCommands::CloneAreaEnd(const CloneInfoBlock& block) {
    int32_t value = 0;
    for (int i = kInfoCloneEnd; i < kInfoCloneEnd + 4; ++i)
        value = value * 16 + HexDigit(block[static_cast<size_t>(i)]);
    // The radio's memory ends at 0xFF7F; asking for more could only fail the read.
    return std::min<int32_t>((value & ~15) + 15, cmcCloneDrv::kRadioLast);
}

// --- Clone read

void CloneCommands::CloneRead() {
    if (host_.ConfirmSave(false) == plat::IDCANCEL) return;
    if (man_.IsBusy()) return;
    man_.SetModel(host_.ModelCode(), 0);
    if (man_.StartInfo(&CloneCommands::ReadInfoThunk, this)) OnReadStarted();
}

void CloneCommands::CheckInfoReply(dst_CDrv_Result& result) {
    if (result.result != kCloneOk) return;
    if (result.info1 != host_.ModelCode()) {
        result.result = kCloneBadInfo;
        return;
    }
    RadioIdentity& id = host_.Identity();
    id = {static_cast<uint8_t>(result.info1 >> 8), static_cast<uint8_t>(result.info1),
          static_cast<uint8_t>(result.info2 >> 8), static_cast<uint8_t>(result.info2)};
    // The block must say its own length and reach the clone-area end; only the bytes that came are used.
    const int32_t size = result.payload.Size();
    if (size < kInfoMinLength || result.payload.Data()[0] != size) {
        result.result = kCloneBadInfo;
        return;
    }
    CloneInfoBlock& block = host_.InfoBlock();
    block.fill(0);
    std::memcpy(block.data(), result.payload.Data(),
                std::min<size_t>(static_cast<size_t>(size), block.size()));
    if (block[kInfoRevision] > kRevisionMax) result.result = 14;
}

void CloneCommands::OnReadInfo(dst_CDrv_Result& result) {
    if (result.result != kCloneOk || man_.IsBusy()) {
        OnReadFailed();
        return;
    }
    RangeList areas = host_.CloneAreas(1);
    if (!areas.empty()) areas.front().last = CloneAreaEnd(host_.InfoBlock());
    man_.SetImageSize(host_.WorkingImage().GetSize());
    pending_ = std::move(areas);
    if (!man_.StartRead(pending_, &CloneCommands::ReadDoneThunk, this)) {
        pending_.clear();
        ShowAreaRefused();
        OnReadFailed();
    }
}

void CloneCommands::CheckReadImage(dst_CDrv_Result& result) {
    if (result.result != kCloneOk) return;
    if (host_.CheckImage(result.image, true) != 0)
        result.result = 15;
    else if (host_.IsLockedOutNewerData(result.image))
        result.result = 16;
}

void CloneCommands::OnReadDone(dst_CDrv_Result& result) {
    pending_.clear();
    if (result.result != kCloneOk) {
        OnReadFailed();
        return;
    }
    cmcEeprom& work = host_.WorkingImage();
    work.Write(0, result.image.Data(), std::min(work.GetSize(), result.image.GetSize()));
    OnReadTaken(result.image);
    host_.AfterLoad(work);
    host_.SetModified();
    host_.SetFileName("");
    OnReadLoaded();
    host_.CloseSheet();
    host_.SendDataReloaded();
}

// --- Clone write

bool CloneCommands::StartWriteQuery() {
    man_.SetModel(host_.ModelCode(), 0);
    return man_.StartInfo(&CloneCommands::WriteConnectedThunk, this);
}

void CloneCommands::CloneWrite() {
    host_.EndEdit();
    if (man_.IsBusy()) return;
    StartWriteQuery();
}

void CloneCommands::OnWriteConnected(dst_CDrv_Result& result) {
    if (result.result != kCloneOk || man_.IsBusy()) return;
    cmcEeprom& work = host_.WorkingImage();
    man_.SetImageSize(work.GetSize());
    host_.NormalizeImage(work, 1);
    StartWriteJob(work, host_.CloneAreas(host_.IsMakerMode() ? 1 : 0));
}

bool CloneCommands::StartWriteJob(const cmcEeprom& image, RangeList areas) {
    pending_ = std::move(areas);
    if (man_.StartWrite(image, pending_, &CloneCommands::WriteDoneThunk, this)) return true;
    pending_.clear();
    ShowAreaRefused();
    return false;
}

void CloneCommands::ShowAreaRefused() {
    plat::ShowMessageBox(GetMultiLineText(*gGTex, "GI_AppMess_CloneErr_Area"), AppTitle(),
                         plat::MB_OK | plat::MB_ICONERROR);
}

void CloneCommands::OnWriteDone(dst_CDrv_Result& result) {
    pending_.clear();
    if (result.result != kCloneOk) return;
    host_.CloseSheet();
    plat::ShowMessageBox(GetMultiLineText(*gGTex, "GI_Mess_CloneWrite_Succeeded"), AppTitle(),
                         plat::MB_OK | plat::MB_ICONINFORMATION);
}

// --- Clone information

void CloneCommands::ReadCloneInfo() {
    if (man_.IsBusy()) return;
    man_.SetModel(host_.ModelCode(), 0);
    man_.StartInfo(&CloneCommands::CloneInfoThunk, this);
}

void CloneCommands::OnCloneInfo(dst_CDrv_Result& result) {
    if (result.result == kCloneOk) host_.OpenCloneInformation();
}

// --- The application manager's write

void AppCloneCommands::CloneWrite() {
    const char* refusal = nullptr;
    if (host_.ProgrammedChannelCount() == 0)
        refusal = "GI_AppMess_CloneErr_NoActualCh";
    else if (host_.DataWarningCount() > 0)
        refusal = "GI_Mess_DataError";
    if (refusal) {
        plat::ShowMessageBox(GetMultiLineText(*gGTex, refusal), AppTitle(), plat::MB_OK | plat::MB_ICONERROR);
        return;
    }
    confirmed_ = false;
    CloneCommands::CloneWrite();
}

void AppCloneCommands::OnWriteConnected(dst_CDrv_Result& result) {
    if (result.result != kCloneOk || man_.IsBusy()) {
        confirmed_ = false;
        return;
    }
    if (!AcceptsWriteRadio()) return;
    if (!confirmed_) {
        if (host_.IsMakerMode() && host_.ConfirmMakerCaution() != plat::IDOK) return;
        const int answer = plat::ShowMessageBox(GetMultiLineText(*gGTex, "GI_Mess_Confirm_CloneWrite"),
                                                AppTitle(), plat::MB_OKCANCEL | plat::MB_ICONWARNING);
        if (answer != plat::IDOK) return;
        confirmed_ = true;
        StartWriteQuery();
        return;
    }
    confirmed_ = false;
    cmcEeprom copy = host_.WorkingImage();
    man_.SetImageSize(copy.GetSize());
    RangeList areas = host_.CloneAreas(host_.IsMakerMode() ? 1 : 0);
    host_.NormalizeImage(copy, 1);
    // A copy whose tables did not fit has a partition table that is not its own: never send it.
    if (host_.Static2Dynamic(copy, 1) != 0 || areas.empty() ||
        !copy.IsValidRange(layout::kHdrEndAddress, 2)) {
        ShowAreaRefused();
        return;
    }
    areas.front().last = (copy.GetWord(layout::kHdrEndAddress) & ~(kWriteBlock - 1)) + kWriteBlock - 1;
    copy.SetByte(kRevisionByte, host_.InfoBlock()[CloneCommands::kInfoRevision]);
    StartWriteJob(copy, std::move(areas));
}
