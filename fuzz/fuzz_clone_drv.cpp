// Whole clone jobs against a radio that answers with arbitrary bytes: the
// read of the whole clone area, the write of a model's start-up image (go
// byte, acknowledgements, end acknowledgement) and the information query,
// each reply of the radio mutated on its own (the input format is in
// CloneDrvReplay.h). Whatever arrives, the job must end once, with one of the
// driver's result codes, store nothing outside its image, and claim success
// only when it has it: a read then holds exactly the requested addresses, a
// write has sent every byte of its ranges.
#include "fuzz/CloneDrvReplay.h"
#include "image/ImageLayout.h"
#include "platform/Fatal.h"
#include "tools/initdata/StartupImage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void AbortOnFatal(const std::string& text) {
    std::fprintf(stderr, "fatal: %s\n", text.c_str());
    std::abort();
}

plat::ManualScheduler* gSched;
cmcEeprom* gSource;

bool IsMarked(const clonereplay::Bytes& map, int32_t a) {
    const size_t i = static_cast<size_t>(a / 8);
    return i < map.size() && (map[i] >> (a % 8) & 1);
}

int HexDigit(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Takes the program's data frames apart as a radio would and stores them in
// an image; false for a frame a radio could not take. Returns the number of
// data frames and the count the end frame carries (-1 without one).
bool TakeWrite(const clonereplay::Bytes& wire, cmcEeprom& into, int& frames, int& endCount) {
    frames = 0;
    endCount = -1;
    size_t i = 0;
    while (i + 4 < wire.size()) {
        if (!(wire[i] == 0xFE && wire[i + 1] == 0xEE && wire[i + 2] == 0xEF)) {
            ++i;
            continue;
        }
        const uint8_t cmd = wire[i + 3];
        size_t end = i + 4;
        while (end < wire.size() && wire[end] != 0xFD)
            ++end;
        if (end == wire.size()) return false;
        if (cmd == 0xE4) {
            const size_t digits = end - (i + 4);
            if (digits % 2 != 0 || digits < 8) return false;
            std::vector<uint8_t> b;
            unsigned sum = 0;
            for (size_t k = i + 4; k < end; k += 2) {
                const int hi = HexDigit(wire[k]), lo = HexDigit(wire[k + 1]);
                if (hi < 0 || lo < 0) return false;
                b.push_back(static_cast<uint8_t>(hi << 4 | lo));
                sum += b.back();
            }
            if (sum % 256 != 0 || b.size() != size_t{b[2]} + 4u) return false;
            const int32_t address = b[0] << 8 | b[1];
            for (int k = 0; k < b[2]; ++k)
                into.SetByte(address + k, b[3 + static_cast<size_t>(k)]);
            ++frames;
        } else if (cmd == 0xE5) {
            const std::string text(wire.begin() + static_cast<long>(i) + 4,
                                   wire.begin() + static_cast<long>(end));
            if (text.rfind("Morv Inc.", 0) != 0) return false;
            endCount = text.size() == 11 ? HexDigit(static_cast<uint8_t>(text[9])) * 16 +
                                               HexDigit(static_cast<uint8_t>(text[10]))
                                         : -1;
        }
        i = end + 1;
    }
    return true;
}

void CheckOutcome(const clonereplay::Job& job, const clonereplay::Outcome& o) {
    static const int kCodes[] = {kCloneOk,      kCloneTimeout, kCloneBadFrame,  kCloneEndCount,
                                 kCloneMissing, kCloneOutside, kCloneBadEndAck, kCloneBadInfo};
    bool known = false;
    for (int code : kCodes)
        known = known || o.code == code;
    if (!o.finished || o.calls != 1 || !known) std::abort();
    if (o.image.GetSize() != layout::kImageSize) std::abort();
    if (o.received.size() > static_cast<size_t>(layout::kImageSize + 7) / 8) std::abort();

    const AddressRange area = job.Ranges().front();
    if (job.Kind() == clonereplay::kRead) {
        // Nothing but what arrived: the result image starts all zeros.
        for (int32_t a = 0; a < o.image.GetSize(); ++a) {
            const bool marked = IsMarked(o.received, a);
            if (!marked && o.image.GetByte(a) != 0) std::abort();
            if (o.code == kCloneOk && marked != (a >= area.first && a <= area.last)) std::abort();
        }
    } else if (job.IsWrite() && o.code == kCloneOk) {
        cmcEeprom sent;
        sent.SetSize(layout::kImageSize);
        int frames = 0, endCount = -1;
        if (!TakeWrite(o.written, sent, frames, endCount)) std::abort();
        for (int32_t a = area.first; a <= area.last; ++a)
            if (sent.GetByte(a) != gSource->GetByte(a)) std::abort();
        const bool counted = (job.settings & clonereplay::kNoEndCount) == 0;
        if (counted ? endCount != frames % 256 : endCount != -1) std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    plat::SetFatalHandler(AbortOnFatal);
    gSched = new plat::ManualScheduler;
    gSched->Install();
    gSource = new cmcEeprom;
    BuildStartupImage(*gSource, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const clonereplay::Job job = clonereplay::Parse(data, size);
    const clonereplay::Outcome outcome = clonereplay::Run(job, *gSource, layout::kImageSize, *gSched);
    CheckOutcome(job, outcome);
    return 0;
}
