// Formatting a channel sheet: the frequency and tone cells of all 512 rows,
// as a sheet paints them after a clone read.
#include "cells/FreqToneConv.h"
#include "cells/LayoutCache.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"
#include "platform/Fatal.h"
#include "platform/SettingsStore.h"

#include <benchmark/benchmark.h>

namespace {

// The program's globals over an image of 512 programmed channels with a mix
// of tones: CTCSS, DTCS normal and inverted, off, and transmit equal to receive.
class ChannelTable {
public:
    ChannelTable() {
        env_.ModelType = 0;
        gEnviron = &env_;
        image_.SetSize(layout::kImageSize);
        SetCurrentImage(&image_);
        texts_.SetFile(plat::ProgramDirectory() + "QT4410R.OVL");
        gGTex = &texts_;
        SetLayoutCache(&cache_);
        for (int32_t n = 0; n < layout::kChannelRows; ++n) {
            datCh record(&image_);
            record.Load(1, n);
            record.rxFreq = 136000000 + 12500 * n;
            record.txFreq = n % 3 == 0 ? record.rxFreq + 600000 : record.rxFreq;
            switch (n % 4) {
            case 0:
                record.rxTone = datTone{true, false, false, static_cast<int16_t>(n % 52), 0};
                break;
            case 1:
                record.rxTone = datTone{true, true, n % 8 == 1, 0, static_cast<int16_t>(n % 512)};
                break;
            case 2:
                record.rxTone = datTone{};
                break;
            default:
                record.rxTone = datTone{true, false, false, 12, 0};
                break;
            }
            record.txTone = n % 2 == 0 ? record.rxTone : datTone{true, false, false, 20, 0};
            record.Store(1, n);
        }
    }
    ~ChannelTable() {
        SetLayoutCache(nullptr);
        gGTex = nullptr;
        SetCurrentImage(nullptr);
        gEnviron = nullptr;
    }

    cmcEeprom& Image() { return image_; }

private:
    plat::MemorySettingsStore store_;
    indEnviron env_{"Tolvane Bench Mutex", "Software\\Morv\\TolvaneBench", store_};
    cmcEeprom image_;
    cmcGTex texts_;
    cmcFCache cache_;
};

void BM_FormatChannelSheet(benchmark::State& state) {
    ChannelTable table;
    cmcCellObj cell;
    cmcCellCapsule request;
    int64_t cells = 0;
    for (auto _ : state) {
        for (int32_t n = 0; n < layout::kChannelRows; ++n) {
            datCh record(&table.Image());
            record.Load(1, n);
            for (int column = 0; column < 4; ++column) {
                request.Clear();
                request.cell = &cell;
                int32_t out = 0;
                const bool receive = column % 2 == 0;
                if (column < 2)
                    ConvChannelFreqCell(request, record, receive, out);
                else
                    ConvCtcssDtcsCell(request, record, receive, out);
                benchmark::DoNotOptimize(request.displayText.data());
                ++cells;
            }
        }
    }
    state.SetItemsProcessed(cells);
}
BENCHMARK(BM_FormatChannelSheet)->Unit(benchmark::kMicrosecond);

} // namespace
