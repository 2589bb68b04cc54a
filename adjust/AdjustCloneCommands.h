#pragma once
#include "clone/CloneCommands.h"

namespace adj {

class AdjustDocument;

// The adjustment program's clone commands: the application manager's write,
// stopped on either information query when the radio's head is not the
// model's (handheld or mobile); a read that also fills the radio copy and,
// once loaded, leads into adjustment use. The read owns the adjustment
// phase of its entry: set while the read is under way, back to none when it
// ends without an image, so a failed read locks no procedure out.
class AdjustCloneCommands : public AppCloneCommands {
public:
    // Bit value 4 of this reply byte: the radio has a handheld head.
    static constexpr int kInfoHead = 51;
    static constexpr uint8_t kHandheldHead = 4;

    AdjustCloneCommands(AdjustDocument& document, ::indCloneMan& manager);

protected:
    void OnReadStarted() override;
    void OnReadFailed() override;
    void OnReadTaken(const cmcEeprom& read) override;
    void OnReadLoaded() override;
    bool AcceptsWriteRadio() override;

private:
    AdjustDocument& doc_;
};

} // namespace adj
