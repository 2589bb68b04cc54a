#pragma once
#include <cstdint>

class cmcEeprom;

namespace adj {

class indCloneMan;

// What the automatic adjustment reaches of the program around it: the image
// the cells edit, the copy of what the radio is known to hold, the clone
// manager, the main form's enabled state and whether the A/D window is open.
// The application manager implements it; tests fake it.
class AdjustWorkspace {
public:
    virtual ~AdjustWorkspace() = default;
    virtual cmcEeprom& WorkingImage() = 0;
    virtual cmcEeprom& RadioCopy() = 0;
    virtual indCloneMan& CloneMan() = 0;
    virtual bool MainFormEnabled() const = 0;
    virtual bool AdWindowOpen() const = 0;
    // The model word the radio answers to (model word A of every frame).
    virtual int ModelWord() const = 0;
};

} // namespace adj
