#pragma once
#include "image/RangeList.h"

#include <array>
#include <cstdint>
#include <string>

class cmcEeprom;

// The information block of the radio's last information reply: byte 0 its
// length, byte 35 the revision, bytes 56..59 the clone-area end as four hex
// characters; bytes the reply did not carry are 0.
using CloneInfoBlock = std::array<uint8_t, 127>;
// Information words 1 and 2 of that reply, high byte first.
using RadioIdentity = std::array<uint8_t, 4>;

// What the clone commands need of the application manager, which owns the
// working image and the windows. The main window implements it; tests use a
// recording double.
class CloneHost {
public:
    virtual ~CloneHost() = default;

    virtual cmcEeprom& WorkingImage() = 0;
    // The word the radio must report as information word 1, and the second word of the model check.
    virtual int ModelCode() const = 0;
    virtual int SubCode() const = 0;
    virtual bool IsMakerMode() const = 0;
    virtual CloneInfoBlock& InfoBlock() = 0;
    virtual RadioIdentity& Identity() = 0;

    // Offers to save unsaved changes: IDYES, IDNO or IDCANCEL.
    virtual int ConfirmSave() = 0;
    // The maker caution before a write in maker mode: IDOK to go on.
    virtual int ConfirmMakerCaution() = 0;
    // Ends any cell editing.
    virtual void EndEdit() = 0;
    virtual void SetModified() = 0;
    // Empty: untitled.
    virtual void SetFileName(const std::string& path) = 0;
    virtual void CloseSheet() = 0;

    // The image-layout passes: model detection and unpacking after a read,
    // normalisation (mode 1 before a write) and packing (mode 1 for a clone write; 0 when all fitted).
    virtual void AfterLoad(cmcEeprom& image) = 0;
    virtual void NormalizeImage(cmcEeprom& image, int mode) = 0;
    virtual int Static2Dynamic(cmcEeprom& image, int mode) = 0;
    // 0 when the image is acceptable; strict also checks signature and model.
    virtual int CheckImage(const cmcEeprom& image, bool strict) = 0;
    virtual bool IsLockedOutNewerData(const cmcEeprom& image) = 0;
    // The ranges to clone for an area type (0 normal, 1 maker mode), ended by {1, 0}.
    virtual RangeList CloneAreas(int type) = 0;

    // Checks before a write.
    virtual int ProgrammedChannelCount() = 0;
    virtual int DataWarningCount() = 0;

    // The information window over the main form, showing the sheet "GI_Sheet_CloneInfo".
    virtual void OpenCloneInformation() = 0;
    // Event 25: the data was reloaded.
    virtual void SendDataReloaded() = 0;
};
