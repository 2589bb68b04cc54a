#pragma once
#include "app/Document.h"

#include <string>

// The cloning program's document: the model information of the radio
// series, the model change and the detection of a loaded image's model, the
// newer-data lockout, the normalisation, the clone areas, the checks and
// confirmations of a clone write, and maker mode.
class CloningDocument : public Document {
public:
    static constexpr uint16_t kModelCode = 0x4410;
    static constexpr int32_t kMemoryEnd = 0xFF7F;

    explicit CloningDocument(const ProgramProfile& profile,
                             const std::string& programDirectory = plat::ProgramDirectory());
    ~CloningDocument() override;

    void InitModelInfo() override;
    bool IsLockedOutNewerData(const cmcEeprom& image) override;
    void AfterLoad(cmcEeprom& image) override;
    void NormalizeImage(cmcEeprom& image, int mode) override;
    // The window's check, then the tree and the caption hear of it.
    void CheckWarnings(int* errors, int* warnings) override;
    bool CheckModel(int32_t code1, int32_t code2, int& result) override;
    RangeList CloneAreas(int32_t areaType) override;

    void ChangeModel(int32_t modelIndex, bool ask) override;
    // Asks the maker caution first; once on, maker mode stays on.
    void EnterMakerMode() override;
    // 1 (OK) lets maker mode in, and a clone write go on in maker mode.
    int ConfirmMakerCaution() override;
    int32_t GetCellHelpContext(const cmcCellCapsule& request) override;

    const std::string& MakerStatusText() const { return makerStatusText_; }

private:
    std::string makerStatusText_;
};
