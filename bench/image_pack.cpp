// Packing a full image's static tables into the dynamic area, and unpacking
// that area again: every row edit and every load pays for one of them.
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/ImageUnpacking.h"
#include "image/cmcEeprom.h"

#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

constexpr int kLtr = 2;

// An LTR radio with all 512 channels in banks 0..126 and 500 repeaters: the
// most the packing copies without the bank-127 merge coming into it.
cmcEeprom FullImage() {
    cmcEeprom image;
    image.SetSize(layout::kImageSize);
    uint32_t x = 1;
    for (int32_t a = layout::kStaticStart; a < layout::kPtblCopy; ++a) {
        x = x * 1103515245u + 12345u;
        image.SetByte(a, static_cast<uint8_t>(x >> 16));
    }
    for (int32_t b = 0; b < layout::kBanks; ++b)
        image.SetWord(layout::kBankCounts + 2 * b, b < 127 ? 4 : 0);
    image.SetWord(layout::kBankCounts, 4 + 512 - 4 * 127);
    for (int32_t s = 0; s < layout::kSites; ++s)
        image.SetByte(layout::kSiteCounts + s, s < 50 ? 10 : 0);
    image.SetByte(layout::kBankFlags, 0);
    if (Static2DynamicInit(image, kLtr) != 0) std::abort();
    return image;
}

void BM_Pack(benchmark::State& state) {
    cmcEeprom image = FullImage();
    for (auto _ : state)
        benchmark::DoNotOptimize(Static2DynamicInit(image, kLtr));
    state.SetBytesProcessed(state.iterations() * image.GetWord(layout::kHdrEndAddress));
}
BENCHMARK(BM_Pack);

void BM_Unpack(benchmark::State& state) {
    const cmcEeprom full = FullImage();
    cmcEeprom image = full;
    const ImagePacking repack = PackingFor(kLtr);
    for (auto _ : state) {
        UnpackImage(image, kLtr, repack);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * full.GetWord(layout::kHdrEndAddress));
}
BENCHMARK(BM_Unpack);

// The reference expansion of a start-up image: most tables filled record by
// record from one template.
void BM_ExpandReference(benchmark::State& state) {
    cmcEeprom image = FullImage();
    for (auto _ : state) {
        Dynamic2Static(image);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ExpandReference);

} // namespace
