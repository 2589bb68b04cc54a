#pragma once
#include <array>
#include <cstdint>

class cmcEeprom;

// The start of the group addresses in the 12-bit Zuro MSK address space
// (0..4095): addresses below it are individual ones. The cells of the MSK
// address and ID-group settings check their values against the limits that
// follow from it.
class datZuroAdr {
public:
    struct Limit {
        int32_t minimum = 0;
        int32_t maximum = 0;
        int32_t spare = 0;
    };
    static constexpr int kLimits = 46;
    static constexpr int32_t kMaxAddress = 4095;
    // Limit entries the cells use: the killer address, and ID group g at kIdGroup + g
    // (group 0 among the individual addresses, the others among the group addresses).
    static constexpr int kKiller = 5;
    static constexpr int kIdGroup = 6;

    // Binds the image and reads the value from it.
    explicit datZuroAdr(cmcEeprom* image);
    virtual ~datZuroAdr() = default;

    void Load();
    // Writes the low 16 bits of the value and derives the limits again.
    void Store();
    virtual void DeriveLimits();

    int32_t groupAddressStart = 0;
    std::array<Limit, kLimits> limits{};
    cmcEeprom* image = nullptr;
};
