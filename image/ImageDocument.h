#pragma once
#include "image/RangeList.h"

#include <array>
#include <cstdint>
#include <string>

class cmcEeprom;

// The information block of the radio's last information reply: byte 0 its
// length, byte 35 the revision, bytes 37 on the serial number, bytes 56..59
// the clone-area end as four hex characters; bytes the reply did not carry
// are 0.
using CloneInfoBlock = std::array<uint8_t, 127>;
// Information words 1 and 2 of that reply, high byte first.
using RadioIdentity = std::array<uint8_t, 4>;

// The document (the images the user edits, the file, the model and what the
// radio last told) as both the cells and the clone commands see it. Their
// own views (AppManager, CloneHost) add what only they ask for; one object,
// the program's document, answers both.
class ImageDocument {
public:
    virtual ~ImageDocument() = default;

    // What the user edits.
    virtual cmcEeprom& WorkingImage() = 0;
    // The program's model words: the word the radio must report as its
    // information word 1 and the first header word of a clone data file, and
    // the second word.
    virtual uint16_t ModelCode() const = 0;
    virtual uint16_t SubCode() const = 0;
    // Maker mode widens the cloned area and lets the maker cells act; once on,
    // it stays on for the run.
    virtual bool IsMakerMode() const = 0;
    // The radio's answer to the last information request; the clone commands fill it.
    virtual CloneInfoBlock& InfoBlock() = 0;
    virtual RadioIdentity& Identity() = 0;

    // The program's packing: its static tables into the radio's dynamic area,
    // in its own layout (mode 0 plain, 1 for a clone write). 0 when everything
    // fitted; otherwise the image must be neither stored nor sent.
    virtual int Static2Dynamic(cmcEeprom& image, int mode) = 0;
    // 0 when the image is acceptable, 1 otherwise; strict (a freshly read
    // image) also checks the signatures and the model.
    virtual int CheckImage(const cmcEeprom& image, bool strict) = 0;
    // The ranges of an area type (0 user clone write, 1 maker write and
    // clone read, 2 file save, 3 file open and start-up data, 5 repeater
    // file), ended by {1, 0}.
    virtual RangeList CloneAreas(int32_t areaType) = 0;

    // The question before unsaved data is dropped: 6 Yes, 7 No, 2 Cancel.
    // With another set, the question of saving under another name.
    virtual int ConfirmSave(bool another) = 0;
    // Ends any cell editing; every file, print and clone command does it first.
    virtual void EndEdit() = 0;
    virtual void SetModified() = 0;
    // Stores the file path (empty: untitled) and updates the title.
    virtual void SetFileName(const std::string& path) = 0;
    virtual void CloseSheet() = 0;
};
