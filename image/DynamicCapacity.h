#pragma once
#include <cstdint>

class cmcEeprom;

// Whether more channels or repeater entries still fit the radio's dynamic
// area, judged from the two header words that packing keeps up to date: where
// block 3 begins (272) and where the used data ends (274). `mode` is the bank
// the channels go to: bank 127's channels also widen the blocks before block 3.

// Cell categories the test knows; every other category always fits while the
// used data ends inside the area.
constexpr int kCategoryChannel = 2;
constexpr int kCategoryRepeater = 26;
constexpr int32_t kBank127Mode = 127;

// 1 when n more entries of the category fit, else 0. Without an image, of the
// current image.
int FitsDynamicArea(int category, int32_t n, int32_t mode);
int FitsDynamicArea(const cmcEeprom& image, int category, int32_t n, int32_t mode);

// A program's test of the same question, by what its own packing spends.
using FitsTest = int (*)(const cmcEeprom& image, int category, int32_t n, int32_t mode);

// The largest count from n downwards that fits; -1 when not even 0 entries do.
// Without a test, by this layer's.
int32_t MaxFittingCount(int category, int32_t n, int32_t mode);
int32_t MaxFittingCount(const cmcEeprom& image, int category, int32_t n, int32_t mode,
                        FitsTest fits = nullptr);
