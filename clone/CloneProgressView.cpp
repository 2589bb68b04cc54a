#include "clone/CloneProgressView.h"

#include <cstdint>

int ProgressFilledCells(int done, int total) {
    if (total <= 0) return 0;
    return static_cast<int>(static_cast<int64_t>(done) * (kProgressCells + 1) / total);
}

std::vector<ProgressSpan> ProgressSpans(int width, int done, int total) {
    const int w = (width + 1) / kProgressCells;
    const int filled = ProgressFilledCells(done, total);
    std::vector<ProgressSpan> spans;
    if (w <= 0) return spans;
    spans.reserve(2 * kProgressCells);
    for (int i = 0; i < kProgressCells; ++i) {
        spans.push_back({w * i, w - 1, i < filled ? kProgressFilled : kProgressEmpty});
        spans.push_back({w * i + w - 1, 1, kProgressEmpty});
    }
    return spans;
}
