#pragma once
#include "clone/CloneHost.h"

class cuiMain;

// The main window as the clone commands see it. The commands and the cells
// both name the working image and the model words, in different shapes, so
// the main window hands the commands this view of itself instead of being a
// CloneHost too.
class MainCloneHost : public CloneHost {
public:
    explicit MainCloneHost(cuiMain& main) : main_(main) {}

    cmcEeprom& WorkingImage() override;
    int ModelCode() const override;
    int SubCode() const override;
    bool IsMakerMode() const override;
    CloneInfoBlock& InfoBlock() override;
    RadioIdentity& Identity() override;

    int ConfirmSave() override;
    int ConfirmMakerCaution() override;
    void EndEdit() override;
    void SetModified() override;
    void SetFileName(const std::string& path) override;
    void CloseSheet() override;

    void AfterLoad(cmcEeprom& image) override;
    void NormalizeImage(cmcEeprom& image, int mode) override;
    int Static2Dynamic(cmcEeprom& image, int mode) override;
    int CheckImage(const cmcEeprom& image, bool strict) override;
    bool IsLockedOutNewerData(const cmcEeprom& image) override;
    RangeList CloneAreas(int type) override;

    // Channels 0..511 of the working image.
    int ProgrammedChannelCount() override;
    // The errors that the main window's warning check finds; warnings alone do not stop a write.
    int DataWarningCount() override;

    void OpenCloneInformation() override;
    void SendDataReloaded() override;

private:
    cuiMain& main_;
};
