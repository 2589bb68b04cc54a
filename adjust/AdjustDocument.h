#pragma once
#include "app/CloningDocument.h"

#include <string>

namespace adj {

// The adjustment program's document: the cloning program's, with its own
// layout for packing, unpacking and the start-up data, its normalisation,
// the tolerance limits a clone write sends, the newer-data lockout judged on
// the unpacked image, and the radio copy, what the radio is known to hold.
class AdjustDocument : public CloningDocument {
public:
    // The data version in the radio's information reply: it sets the tolerance.
    static constexpr int kInfoDataVersion = 34;

    explicit AdjustDocument(const ProgramProfile& profile,
                            const std::string& programDirectory = plat::ProgramDirectory());
    ~AdjustDocument() override;

    // Mode 1 (the copy a clone write sends) gets the tolerance limits first,
    // so that they go out with it.
    int Static2Dynamic(cmcEeprom& image, int mode) override;
    void Dynamic2Static(cmcEeprom& image) override;
    void AfterLoad(cmcEeprom& image) override;
    void NormalizeImage(cmcEeprom& image, int mode) override;
    bool IsLockedOutNewerData(const cmcEeprom& image) override;

    cmcEeprom& RadioCopy() { return radioCopy_; }

private:
    cmcEeprom radioCopy_;
};

// How the adjustment program makes its document.
std::unique_ptr<Document> MakeAdjustDocument(const ProgramProfile& profile,
                                             const std::string& programDirectory);

} // namespace adj
