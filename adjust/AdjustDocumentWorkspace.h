#pragma once
#include "adjust/AdjustDocument.h"
#include "adjust/AdjustWorkspace.h"
#include "adjust/indCloneMan.h"

namespace adj {

// The document's half of what the automatic adjustment reaches: its images,
// its clone manager and its model word. Whether the main form takes input
// and whether the A/D window is open are the application manager's answers.
class AdjustDocumentWorkspace : public AdjustWorkspace {
public:
    explicit AdjustDocumentWorkspace(AdjustDocument& document) : doc_(document) {}

    cmcEeprom& WorkingImage() override { return doc_.WorkingImage(); }
    cmcEeprom& RadioCopy() override { return doc_.RadioCopy(); }
    indCloneMan& CloneMan() override { return doc_.AdjustCloneMan(); }
    int ModelWord() const override { return doc_.ModelCode(); }

protected:
    AdjustDocument& doc_;
};

} // namespace adj
