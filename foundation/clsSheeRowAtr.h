#pragma once
#include <cstdint>

// What a sheet remembers of one of its grid rows: which line of its cell
// lines the row was built from, and whether the row's cells may join a
// multi-selection. A new entry stands for line 0 and may be selected.
class clsSheeRowAtr {
public:
    static constexpr uint8_t kSelect = 0x01;

    clsSheeRowAtr() = default;
    clsSheeRowAtr(int32_t line, bool select) : line(line), flags(select ? kSelect : 0) {}

    bool Select() const { return flags & kSelect; }
    bool operator==(const clsSheeRowAtr&) const = default;

    int32_t line = 0;
    uint8_t flags = kSelect;
};
