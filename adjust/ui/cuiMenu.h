#pragma once
#include "ui/cuiMenu.h"

namespace adj {

// The adjustment program's menus: its cells keep bit 0x40 of their state
// between refreshes, so a refresh clears only the bits it reads.
class cuiMenu : public ::cuiMenu {
public:
    using ::cuiMenu::cuiMenu;

protected:
    uint8_t RefreshClearedBits() const override { return kReadStateBits; }
};

} // namespace adj
