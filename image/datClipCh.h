#pragma once
#include "image/cmcClipCh.h"

#include <memory>

// The clipboard the program creates. A pasted row never takes over the
// image-wide references (reference channels A, B and C, a site's marked
// entry) of the row it replaces unless the paste keeps attributes, which the
// paste and clear commands do: then the destination keeps all of its own. A
// plain paste (moves and swaps) carries the pasted rows' references along.
// The bank bits and the switch of reference C always stay with the position.
class datClipCh : public cmcClipCh {
public:
    datClipCh() : scratch(std::make_unique<datCh>()) {}
    ~datClipCh() override = default;

    void StoreOne(cmcEeprom& image, int32_t kind, int32_t row, datCh& record) override;
    void PasteKeepingAttributes(cmcEeprom& image, int32_t kind, int32_t first, int32_t n);

protected:
    // What stays with the position whatever is pasted: the switch of
    // reference C and the two bank bits.
    virtual void KeepPositionFlags(datCh& out, const datCh& destination) const;

private:
    bool keepAttributes = false;
    // The destination row, read before a row is written over it.
    std::unique_ptr<datCh> scratch;
};

// The one clipboard of the copy and paste commands, owned by the main window.
// Asking for it before it is set is an internal inconsistency.
datClipCh& ProgramClipboard();
void SetProgramClipboard(datClipCh* clipboard);
