#include "ui/MainCloneHost.h"

#include "cells/TextConv.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "ui/cuiMain.h"

cmcEeprom& MainCloneHost::WorkingImage() {
    return main_.WorkingImage();
}
int MainCloneHost::ModelCode() const {
    return main_.ModelCode();
}
int MainCloneHost::SubCode() const {
    return main_.SubCode();
}
bool MainCloneHost::IsMakerMode() const {
    return main_.IsMakerMode();
}
CloneInfoBlock& MainCloneHost::InfoBlock() {
    return main_.InfoBlock();
}
RadioIdentity& MainCloneHost::Identity() {
    return main_.RadioIdentity();
}

int MainCloneHost::ConfirmSave() {
    return main_.ConfirmSave(false);
}
int MainCloneHost::ConfirmMakerCaution() {
    return main_.ConfirmMakerCaution();
}
void MainCloneHost::EndEdit() {
    main_.EndEdit();
}
void MainCloneHost::SetModified() {
    main_.SetModified();
}
void MainCloneHost::SetFileName(const std::string& path) {
    main_.SetFileName(path);
}
void MainCloneHost::CloseSheet() {
    main_.CloseSheet();
}

void MainCloneHost::AfterLoad(cmcEeprom& image) {
    main_.AfterLoad(image);
}
void MainCloneHost::NormalizeImage(cmcEeprom& image, int mode) {
    main_.NormalizeImage(image, mode);
}
int MainCloneHost::Static2Dynamic(cmcEeprom& image, int mode) {
    return ::Static2Dynamic(image, mode);
}
int MainCloneHost::CheckImage(const cmcEeprom& image, bool strict) {
    return main_.CheckImage(image, strict);
}
bool MainCloneHost::IsLockedOutNewerData(const cmcEeprom& image) {
    return main_.IsLockedOutNewerData(image);
}
RangeList MainCloneHost::CloneAreas(int type) {
    return main_.CloneAreas(type);
}

int MainCloneHost::ProgrammedChannelCount() {
    return CountProgrammedInRange(main_.WorkingImage(), 0, layout::kChannelRows - 1);
}
int MainCloneHost::DataWarningCount() {
    int errors = 0;
    main_.CheckWarnings(&errors, nullptr);
    return errors;
}

void MainCloneHost::OpenCloneInformation() {
    main_.OpenCloneInformation();
}
void MainCloneHost::SendDataReloaded() {
    gEvMan->Send(evDataReloaded);
}
