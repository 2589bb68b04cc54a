#pragma once
#include "image/ImageDocument.h"

class cmcEeprom;

// What the clone commands need of the program's document beyond what the
// cells need of it too: the passes over a read image or one to be written,
// the checks before a write and the windows a command ends in. The document
// implements it; tests use a recording double.
class CloneHost : public virtual ImageDocument {
public:
    // The maker caution before a write in maker mode: IDOK to go on.
    virtual int ConfirmMakerCaution() = 0;

    // Model detection, unpacking and normalisation after a read; the
    // normalisation alone (mode 1) before a write.
    virtual void AfterLoad(cmcEeprom& image) = 0;
    virtual void NormalizeImage(cmcEeprom& image, int mode) = 0;
    virtual bool IsLockedOutNewerData(const cmcEeprom& image) = 0;

    // Checks before a write.
    virtual int ProgrammedChannelCount() = 0;
    virtual int DataWarningCount() = 0;

    // The information window over the main form, showing the sheet "GI_Sheet_CloneInfo".
    virtual void OpenCloneInformation() = 0;
    // Event 25: the data was reloaded.
    virtual void SendDataReloaded() = 0;
};
