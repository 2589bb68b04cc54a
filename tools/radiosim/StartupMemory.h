#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace radiosim {

// The memory of a radio of one model as it comes from the factory, with a
// few channels programmed in two banks, so that a clone read gives data the
// program accepts and a clone write of it is not refused for want of
// channels.
struct StartupMemory {
    int model = 0;              // index 0..9
    std::vector<uint8_t> bytes; // addresses 0..0xFF7F
    int32_t cloneEnd = 0;       // the last address of the data in use, at the end of a 16-byte block
};

// The ten models by the name their start-up data carries ("Lmr", "LmrLtr_Mob"...).
const std::vector<std::string>& ModelSuffixes();
// The model of a suffix, in any letter case; none for an unknown one.
std::optional<int> ModelOfSuffix(const std::string& suffix);

StartupMemory BuildStartupMemory(int model);

} // namespace radiosim
