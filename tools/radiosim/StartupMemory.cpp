#include "tools/radiosim/StartupMemory.h"

#include "foundation/ModelClass.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"
#include "tools/initdata/StartupImage.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace radiosim {
namespace {

constexpr int32_t kRadioEnd = layout::kDynamicEnd;

// Two banks: three VHF simplex channels, then two UHF ones.
struct Channel {
    int bank;
    int32_t hertz;
    const char* name;
};
constexpr Channel kChannels[] = {
    {0, 146520000, "SIM VHF 1"}, {0, 146540000, "SIM VHF 2"}, {0, 146560000, "SIM VHF 3"},
    {1, 446006250, "SIM UHF 1"}, {1, 446018750, "SIM UHF 2"},
};

void Program(cmcEeprom& image, int model) {
    int counts[2] = {};
    for (const Channel& c : kChannels)
        ++counts[c.bank];
    for (int bank = 0; bank < 2; ++bank)
        image.SetWord(layout::kBankCounts + 2 * bank, static_cast<uint16_t>(counts[bank]));
    // The channels of a model class are records of the kind with its number.
    const int32_t kind = ModelClassOf(model);
    datCh channel(&image);
    for (int32_t row = 0; row < static_cast<int32_t>(std::size(kChannels)); ++row) {
        const Channel& c = kChannels[row];
        channel.Load(kind, row);
        channel.rxFreq = c.hertz;
        channel.txFreq = c.hertz;
        channel.name.fill(' ');
        std::memcpy(channel.name.data(), c.name, std::min(std::strlen(c.name), channel.name.size()));
        channel.Store(kind, row);
    }
}

} // namespace

const std::vector<std::string>& ModelSuffixes() {
    static const std::vector<std::string> suffixes = {"Lmr",     "LmrLtr",  "LmrP25",     "Pmr",
                                                      "PmrZ",    "Lmr_Mob", "LmrLtr_Mob", "LmrP25_Mob",
                                                      "Pmr_Mob", "PmrZ_Mob"};
    return suffixes;
}

std::optional<int> ModelOfSuffix(const std::string& suffix) {
    const std::vector<std::string>& all = ModelSuffixes();
    for (size_t i = 0; i < all.size(); ++i)
        if (strcasecmp(all[i].c_str(), suffix.c_str()) == 0) return static_cast<int>(i);
    return std::nullopt;
}

StartupMemory BuildStartupMemory(int model) {
    cmcEeprom image;
    BuildStartupImage(image, model);
    Program(image, model);
    Static2DynamicInit(image, ModelClassOf(model));
    StartupMemory memory;
    memory.model = model;
    memory.bytes.assign(image.Data(), image.Data() + kRadioEnd);
    // The packed data ends with the maker's signature; the radio reports the
    // block that holds its last byte as the end of its clone area.
    const int32_t last = int32_t{image.GetWord(layout::kHdrEndAddress)} - image.GetWord(layout::kHdrBase) +
                         layout::kDynamicStart - 1;
    memory.cloneEnd = std::clamp(last, 0, kRadioEnd - 1) | 15;
    return memory;
}

} // namespace radiosim
