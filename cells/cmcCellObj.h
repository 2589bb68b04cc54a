#pragma once
#include "foundation/ColorName.h"
#include "foundation/FontDesc.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Which setting a cell shows: category, cell id, and the record or item index.
struct CellAddress {
    int32_t category = 0;
    int32_t cellId = 0;
    int32_t index = 0;

    bool operator==(const CellAddress&) const = default;
};

// A parsed cell definition: the setting it names and how it looks. Every
// grid cell, menu item, tool-bar button and tree node is one. A cell starts
// from its parent's values, so a sheet's basic cell gives the defaults for
// all of its cells.
class cmcCellObj {
public:
    // "@ch0".."@ch9": the channel parameters a definition may read and change.
    static constexpr int kChParams = 10;

    // layout
    static constexpr uint8_t kAlignHMask = 0x03; // 0 left, 1 centre, 2 right
    static constexpr uint8_t kAlignVMask = 0x0C; // 0, 1, 2 shifted by 2
    static constexpr uint8_t kLayoutW = 0x10;
    static constexpr uint8_t kLayoutH = 0x20;
    static constexpr uint8_t kLayoutPlus = 0x40;
    static constexpr uint8_t kLayoutB = 0x80;
    // flags; Flag0..Flag5 are bits 2..7
    static constexpr uint8_t kFlagS = 0x01; // selectable: takes the grid cursor
    static constexpr uint8_t kFlagT = 0x02;
    static constexpr uint8_t kFlag0 = 0x04;
    // flags2
    static constexpr uint8_t kFlag6 = 0x01;
    static constexpr uint8_t kFlag7 = 0x02;

    // clWindow, the system window colour.
    static constexpr ColorValue kDefaultColor = clWindow;

    cmcCellObj();
    ~cmcCellObj() = default;
    cmcCellObj(const cmcCellObj& other) { Assign(other); }
    cmcCellObj& operator=(const cmcCellObj& other) {
        if (this != &other) Assign(other);
        return *this;
    }

    // Drops the argument, caption, font and pop-up menu name.
    void FreeMembers();
    // A deep copy: own texts and an own font with the source font's attributes.
    void Assign(const cmcCellObj& source);
    // Back to the defaults, then to the parent's values when there is a parent
    // (its font and pop-up menu name stay with the parent). The category, index,
    // parent and channel parameters are kept.
    void Reset();

    // Fills the cell from the first definition of the text and returns the rest
    // behind its '|'. With noParse the definition is only consumed and the cell
    // is a plain copy of the parent. chParams is an array of kChParams values
    // that "@chN" in the definition reads and changes.
    std::string Parse(const std::string& definition, int32_t* chParams, cmcCellObj* parent,
                      bool noParse = false);

    void SetCaption(const std::string& text) { caption = text; }
    std::string GetCaption() const { return caption.value_or(std::string()); }
    // The first non-empty pop-up menu name on the cell and then up its parents;
    // null when none has one.
    const std::string* GetPopupMenu() const;
    void GetAddress(CellAddress& out) const { out = CellAddress{category, cellId, index}; }
    CellAddress GetAddress() const { return CellAddress{category, cellId, index}; }

    cmcCellObj* parent = nullptr;
    // Set only while a definition is parsed.
    int32_t* chParams = nullptr;
    int32_t category;
    int32_t cellId;
    int32_t index = 0;
    std::optional<std::string> argument;
    int32_t imageIndex = -1;
    uint8_t layout = 0;
    // Also carries state outputs of the per-cell function for the host.
    uint8_t flags = 0;
    uint8_t flags2 = 0;
    ColorValue color = kDefaultColor;
    // None: the parent's or the host's font.
    std::unique_ptr<FontDesc> font;
    std::optional<std::string> popupMenu;
    std::optional<std::string> caption;
};
