#include "cells/FreqToneConv.h"

#include "cells/ConvKeys.h"
#include "cells/ConvSupport.h"
#include "cells/ListConv.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"
#include "image/datCh.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

using conv::HasKey;
using conv::kKeyBackspace;
using conv::kKeySpace;

namespace {

constexpr int32_t kAlignCentre = 1;
constexpr int32_t kAlignRight = 2;
constexpr int64_t kHzPerMHz = 1000000;
constexpr const char* kSameAsReceive = "<-";

void Align(cmcCellCapsule& request, int32_t alignment) {
    if (!request.cell) return;
    request.cell->layout = static_cast<uint8_t>((request.cell->layout & ~cmcCellObj::kAlignHMask) |
                                                (alignment & cmcCellObj::kAlignHMask));
}

std::string FrequencyText(int64_t hz) {
    return conv::Format("%lld.%06lld", static_cast<long long>(hz / kHzPerMHz),
                        static_cast<long long>(hz % kHzPerMHz));
}

// Megahertz as typed, in hertz on the raster; none when the text gives no
// frequency. Rounded after the limit, a typed frequency above the range
// reaches the top of the raster; rounded before it (roundFirst), it stays
// short of it and finds no raster point.
std::optional<int32_t> TypedFrequency(const std::string& editText, bool roundFirst) {
    std::string t;
    for (char c : editText)
        if ((c >= '0' && c <= '9') || c == '.') t += c;
    if (t.size() > 9) t.resize(9);
    if (t.find_first_of("0123456789") == std::string::npos) return std::nullopt;
    double mhz = 0;
    std::from_chars(t.data(), t.data() + t.size(), mhz);
    const double hz = roundFirst ? std::clamp(mhz * double(kHzPerMHz) + 0.5, 0.0, 799999999.5)
                                 : std::clamp(mhz * double(kHzPerMHz), 0.0, 799999999.5) + 0.5;
    const int32_t onRaster = RoundUpToChannelStep(static_cast<int32_t>(hz), false);
    if (onRaster <= 0) return std::nullopt;
    return onRaster;
}

int32_t LimitFrequency(int64_t hz) {
    return static_cast<int32_t>(std::clamp<int64_t>(hz, 0, datCh::kMaxFreq));
}

std::string DtcsText(const datTone& tone) {
    const int code = tone.dcsCode & 0x1FF;
    return conv::Format("%d%d%d%c", code >> 6 & 7, code >> 3 & 7, code & 7, tone.dcsInverted ? 'i' : 'N');
}

// Three octal digits and nothing, 'I' or 'N' after them.
std::optional<datTone> TypedDtcs(const std::string& typed) {
    if (typed.size() < 3 || typed.size() > 4) return std::nullopt;
    for (size_t i = 0; i < 3; ++i)
        if (typed[i] < '0' || typed[i] > '7') return std::nullopt;
    if (typed.size() == 4 && typed[3] != 'I' && typed[3] != 'N') return std::nullopt;
    datTone tone;
    tone.on = true;
    tone.dcs = true;
    tone.dcsInverted = typed.size() == 4 && typed[3] == 'I';
    tone.dcsCode = static_cast<int16_t>(64 * (typed[0] - '0') + 8 * (typed[1] - '0') + (typed[2] - '0'));
    return tone;
}

// A CTCSS choice from the tone list: the off item turns the tone off.
void ChooseCtcss(datTone& tone, int32_t item) {
    tone.dcs = false;
    tone.dcsInverted = false;
    tone.dcsCode = 0;
    tone.on = item != kToneOffItem;
    tone.ctcss = static_cast<int16_t>(item == kToneOffItem ? 0 : item);
}

} // namespace

int32_t RoundUpToChannelStep(int32_t frequency, bool wide) {
    const int64_t f = frequency;
    int64_t window = 100000;
    while (window > 1 && f % window != 0)
        window /= 10;
    const int64_t step = wide ? 1250 : 625;
    const int64_t rasterA = wide ? 5000 : 2500;
    const int64_t rasterB = wide ? 6250 : 3125;
    for (int64_t c = f - f % 100000; c <= f + window - 1; c += step)
        if (c >= f && (c % rasterA == 0 || c % rasterB == 0)) return static_cast<int32_t>(c);
    return -1;
}

int ConvFrequency(cmcCellCapsule& request, ChannelFrequencies& record, bool isReceive,
                  const FrequencyOptions& options, int32_t& out) {
    int32_t value = isReceive ? record.rxFreq : record.txFreq;
    bool blank = true;
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit) {
        if (std::optional<int32_t> typed = TypedFrequency(request.editText, options.roundBeforeLimit)) {
            value = *typed;
            blank = false;
            changed = 1;
        }
    }
    value = LimitFrequency(value);

    if (isReceive) {
        if (changed) {
            const int32_t oldRx = record.rxFreq;
            record.rxFreq = value;
            if (!record.programmed) {
                int64_t tx = value;
                if (options.offset != 0) {
                    tx = int64_t(value) + options.offset - (value >= 470000000 ? 2000000 : 0);
                    const int32_t onRaster = RoundUpToChannelStep(LimitFrequency(tx), false);
                    if (onRaster >= 0) tx = onRaster;
                }
                record.txFreq = LimitFrequency(tx);
                if (options.blankByInUse) record.rxFreqTopBit = blank;
            } else if (oldRx == record.txFreq) {
                record.txFreq = value;
            }
            record.programmed = !blank;
        }
        if (!options.blankByInUse && record.rxFreq == 0) record.rxFreqTopBit = blank;
    } else if (changed) {
        record.txFreq = value;
    }

    const bool blankChannel = options.blankByInUse ? !record.programmed : record.rxFreq == 0;
    const std::string text = FrequencyText(value);
    Align(request, kAlignRight);
    if (blankChannel) {
        conv::Show(request, std::string());
    } else if (!isReceive && record.txFreq == record.rxFreq) {
        Align(request, kAlignCentre);
        conv::Show(request, kSameAsReceive);
    } else {
        conv::Show(request, text);
    }
    if (HasKey(request)) {
        const int32_t key = request.key;
        if (key == '.') {
            conv::OpenEditorAt(request, text, static_cast<int32_t>(text.find('.') + 1), out);
        } else if (key == '=' && !isReceive) {
            conv::OpenEditorOn(request, FrequencyText(record.rxFreq), out);
        } else if (conv::IsDigitKey(key)) {
            conv::OpenEditor(request, text, out);
        } else if (conv::IsEnter(request) || key == kKeySpace || key == kKeyBackspace) {
            conv::OpenEditorOn(request, blankChannel ? std::string() : text, out);
        }
        if (out == cmcCellCapsule::kResultOpenEditor) Align(request, kAlignRight);
    }
    return changed;
}

int ConvFrequencyCell(cmcCellCapsule& request, datCh& record, bool isReceive, int32_t offset, int32_t& out) {
    ChannelFrequencies f{record.rxFreq, record.txFreq, record.programmed, record.rxFreqTopBit};
    const int changed = ConvFrequency(
        request, f, isReceive, {.offset = offset, .blankByInUse = false, .roundBeforeLimit = false}, out);
    record.rxFreq = f.rxFreq;
    record.txFreq = f.txFreq;
    record.programmed = f.programmed;
    record.rxFreqTopBit = f.rxFreqTopBit;
    return changed;
}

int ConvChannelFreqCell(cmcCellCapsule& request, datCh& record, bool isReceive, int32_t& out) {
    return ConvFrequencyCell(request, record, isReceive, 0, out);
}

int32_t MatchListPrefix(const cmcCellCapsule& request, const std::string& listKey, const std::string& typed,
                        int32_t& firstIndex) {
    const std::string wanted = conv::UpperCased(conv::Trimmed(typed));
    cmcGTex& texts = conv::TextsOf(request);
    int32_t matches = 0;
    int32_t number = 0;
    firstIndex = -1;
    for (int32_t n = 0;; ++n) {
        std::optional<std::string> line = texts.TryGetTextLine(listKey, n);
        if (!line || line->starts_with('#')) break;
        for (std::string item : SplitFields(*line, ",")) {
            TrimBlanks(item);
            if (conv::UpperCased(item).starts_with(wanted)) {
                if (matches++ == 0) firstIndex = number;
            }
            ++number;
        }
    }
    return matches;
}

int ConvCtcssDtcsCell(cmcCellCapsule& request, datCh& record, bool isReceive, int32_t& out) {
    return ConvToneCell(request, record.rxTone, record.txTone, isReceive, out);
}

int ConvToneCell(cmcCellCapsule& request, datTone& rxTone, datTone& txTone, bool isReceive, int32_t& out) {
    datTone& tone = isReceive ? rxTone : txTone;
    const bool transmitFollows = isReceive && rxTone == txTone;
    const char* listKey = ConvKeyText(ConvKey::ToneList);
    int changed = 0;

    // Space and backspace turn a DTCS code between normal and inverted.
    bool keyTaken = false;
    if (HasKey(request) && tone.on && tone.dcs &&
        (request.key == kKeySpace || request.key == kKeyBackspace)) {
        tone.dcsInverted = !tone.dcsInverted;
        changed = 1;
        keyTaken = true;
    }

    if (conv::PickedList(request) == listcell::FlexDtcs) {
        // The DTCS item asks for the code: the editor opens on it.
        if (request.reeditClosure) {
            conv::Show(request, DtcsText(tone));
            request.reeditClosure(request, 0);
        }
        return 0;
    }

    if (request.mode == cmcCellCapsule::kModeCommit && out != cmcCellCapsule::kResultOpenEditor) {
        const std::string typed = conv::UpperCased(conv::Trimmed(request.editText));
        if (std::optional<datTone> dtcs = TypedDtcs(typed)) {
            tone = *dtcs;
            changed = 1;
        } else {
            int32_t first = -1;
            const int32_t matches = MatchListPrefix(request, ConvKeyText(ConvKey::CtcssNames), typed, first);
            if (first >= 0 && (matches == 1 || (matches > 1 && typed.size() > 1))) {
                ChooseCtcss(tone, first);
                changed = 1;
            }
        }
    }

    int32_t item = !tone.on ? kToneOffItem : tone.dcs ? kToneDtcsItem : tone.ctcss;
    const int32_t key = request.key;
    if (keyTaken) request.key = 0;
    if (ConvListCell(request, listKey, listcell::Flex0, item, out)) {
        ChooseCtcss(tone, item);
        changed = 1;
    }
    request.key = key;

    if (tone.on && tone.dcs) conv::Show(request, DtcsText(tone));
    Align(request, kAlignRight);
    if (!isReceive && tone.on && txTone == rxTone) {
        Align(request, kAlignCentre);
        conv::Show(request, kSameAsReceive);
    }
    if (HasKey(request) && !keyTaken && key > kKeySpace && key <= 126) {
        Align(request, kAlignRight);
        conv::OpenEditor(request, std::string(), out);
    }
    if (changed && transmitFollows) txTone = rxTone;
    return changed;
}
