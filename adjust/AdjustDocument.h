#pragma once
#include "app/CloningDocument.h"

#include <functional>
#include <memory>
#include <string>

namespace adj {

class AdjustAutomation;
class indCloneMan;

// The adjustment program's document: the cloning program's, with its own
// layout for packing, unpacking and the start-up data, its normalisation,
// the tolerance limits a clone write sends, the newer-data lockout judged on
// the unpacked image, and the radio copy, what the radio is known to hold.
// Its data is only ever kept in the radio: it is never marked modified, so
// nothing asks to save it, and start-up, New and a read fill the working
// image and the radio copy alike. Its clone link is the adjustment link.
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
    // The header test, and revision byte 264 exactly 1.
    int CheckImage(const cmcEeprom& image, bool strict) override;

    void SetModified() override {}
    bool UpdateModified() override { return false; }
    void LoadStartupData() override;
    int NewFile() override;

    cmcEeprom& RadioCopy() { return radioCopy_; }
    indCloneMan& AdjustCloneMan();

    // The automatic adjustment of the session with the radio: its
    // procedures, its A/D readings and the link's speed.
    AdjustAutomation& Automation() { return *automation_; }
    // The main form joins the session with its answer to whether it takes
    // input (an empty answer parts it). A read of the radio leads into
    // adjustment use only while a form is joined; without one a read only
    // loads, and no procedure sends anything.
    void JoinMainForm(std::function<bool()> enabled);
    bool MainFormJoined() const { return static_cast<bool>(formEnabled_); }

private:
    class Workspace;

    cmcEeprom radioCopy_;
    std::function<bool()> formEnabled_;
    std::unique_ptr<Workspace> workspace_;
    std::unique_ptr<AdjustAutomation> automation_;
};

// How the adjustment program makes its document.
std::unique_ptr<Document> MakeAdjustDocument(const ProgramProfile& profile,
                                             const std::string& programDirectory);

} // namespace adj
