#include "adjust/AdjustConv.h"

#include "adjust/AdjustRecords.h"
#include "cells/CodeConv.h"
#include "cells/ConvSupport.h"
#include "cells/FreqToneConv.h"
#include "cells/ListConv.h"
#include "cells/NumberConv.h"
#include "cells/cmcCellCapsule.h"
#include "platform/KeyState.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace adj {

namespace {

constexpr int32_t kBarWidth = 20;
constexpr int32_t kShiftStep = 5;

// Thousandths per byte step of the scaled format, and its typed limits.
constexpr float kMilliPerStep = 10.9375f;
constexpr long double kStepPerMilli = 16.0L / 175.0L;
constexpr int32_t kScaledMin = 10, kScaledMax = 2789, kScaledStep = 11;
constexpr size_t kScaledDigits = 5;

} // namespace

int ConvIntStepCell(cmcCellCapsule& request, int32_t enterMode, int32_t& value, int32_t minimum,
                    int32_t maximum, int32_t offset, int32_t step, const char* fixedText, bool extraClamp,
                    int32_t& out) {
    if (step <= 0) step = 1;
    int result = 0;
    if (request.mode == cmcCellCapsule::kModeCommit && !StripNonDigitsText(request.editText, ".").empty()) {
        int64_t v = int64_t{TextToRoundedInt(request.editText)} - offset;
        if (step != 1) v = NearestMultiple(v, step);
        value = static_cast<int32_t>(std::max<int64_t>(minimum, std::min<int64_t>(v, maximum)));
        result = 1;
    }
    if (extraClamp) result |= ClampToRange(minimum, maximum, value);
    conv::Show(request, fixedText ? std::string(fixedText) : conv::Format("%d", value + offset));
    if (!conv::HasKey(request)) return result;

    const int32_t key = request.key;
    if (key == kKeyRight || key == kKeyLeft) {
        // Cut to the step first, then kept in range, so that a range that is
        // not made of whole steps still reaches both ends and never leaves them.
        const int64_t c = int64_t{value} + (key == kKeyRight ? step : -step);
        const int64_t cut = c / step * step;
        value = static_cast<int32_t>(std::clamp<int64_t>(cut, minimum, std::max(minimum, maximum)));
        return 1;
    }
    if (conv::IsDigitKey(key) || (key == '-' && minimum < 0) || (conv::IsEnter(request) && enterMode == 0)) {
        conv::OpenEditor(request, conv::Trimmed(request.displayText), out);
        return result;
    }
    if (conv::IsEnter(request) && enterMode == 1) return 2;
    return result;
}

int ConvAdjustCell(cmcCellCapsule& request, int32_t enterMode, int32_t& value, int32_t minimum,
                   int32_t maximum, int32_t& out) {
    // Asked as the key or text is taken, so that Shift held on any of them steps by 5.
    const int32_t step = plat::KeyState().ShiftDown() ? kShiftStep : 1;
    return ConvIntStepCell(request, enterMode, value, minimum, maximum, 0, step, nullptr, false, out);
}

void FormatLevelBar(cmcCellCapsule& request, int32_t value, int32_t minimum, int32_t maximum) {
    // A value outside its range still draws a bar of the bar's width.
    int64_t n = 0;
    if (maximum > minimum) n = (int64_t{value} - minimum) * kBarWidth / (int64_t{maximum} - minimum);
    n = std::clamp<int64_t>(n, 0, kBarWidth);
    request.displayText = "[" + std::string(static_cast<size_t>(n), '#') +
                          std::string(static_cast<size_t>(kBarWidth - n), '-') + "]";
}

int ConvScaledByteCell(cmcCellCapsule& request, int32_t& value, int32_t& out) {
    int result = 0;
    int32_t w = static_cast<int32_t>(static_cast<float>(value & 0xFF) * kMilliPerStep + 0.5f);
    if (request.mode == cmcCellCapsule::kModeCommit) {
        std::string typed = StripNonDigitsText(request.editText, ".-").substr(0, kScaledDigits);
        if (!typed.empty()) {
            // Read without the process locale, which the window toolkit may change.
            double typedValue = 0;
            if (std::from_chars(typed.data(), typed.data() + typed.size(), typedValue).ec != std::errc())
                typedValue = 0;
            const double milli = std::round(typedValue * 1000.0);
            w = static_cast<int32_t>(std::clamp(milli, double{kScaledMin}, double{kScaledMax}));
            result = 1;
        }
    }
    conv::Show(request, conv::Format("%3d.%03d", w / 1000, std::abs(w % 1000)));
    if (conv::HasKey(request)) {
        const int32_t key = request.key;
        if (key == '.') {
            out = cmcCellCapsule::kResultOpenEditor;
            request.selStart = static_cast<int32_t>(request.displayText.find('.')) + 1;
        } else if (key == conv::kKeySpace || key == conv::kKeyBackspace) {
            w += key == conv::kKeySpace ? kScaledStep : -kScaledStep;
            if (w < kScaledMin) w = kScaledMax;
            if (w > kScaledMax) w = kScaledMin;
            result = 1;
        } else if (conv::IsEnter(request) || conv::IsDigitKey(key) || key == '-') {
            conv::OpenEditor(request, conv::Trimmed(request.displayText), out);
        }
    }
    value = static_cast<int32_t>(static_cast<long double>(w) * kStepPerMilli + 0.5L) & 0xFF;
    return result;
}

int ConvToneCodeCell(cmcCellCapsule& request, datCh& record, int32_t digitCount, int32_t selector,
                     int32_t& out) {
    return ConvToneCode(request, record.code, selector == 1 ? &record.codeMarks : nullptr, record.wildcard,
                        digitCount, out);
}

int ConvFrequencyCell(cmcCellCapsule& request, datCh& record, bool rx, int32_t& out) {
    ChannelFrequencies f{static_cast<int32_t>(record.rxFreq), static_cast<int32_t>(record.txFreq),
                         record.InUse(), (record.flagC & 1) != 0};
    const int changed =
        ConvFrequency(request, f, rx, {.offset = 0, .blankByInUse = true, .roundBeforeLimit = true}, out);
    record.rxFreq = static_cast<uint32_t>(f.rxFreq);
    record.txFreq = static_cast<uint32_t>(f.txFreq);
    record.flagA = static_cast<uint8_t>((record.flagA & ~1) | (f.programmed ? 1 : 0));
    record.flagC = static_cast<uint8_t>((record.flagC & ~1) | (f.rxFreqTopBit ? 1 : 0));
    return changed;
}

int ConvFlagDigitsCell(cmcCellCapsule& request, int32_t& flags, int32_t first, int32_t last,
                       int32_t editorMode, const std::string& editorDefinition, int32_t& out) {
    constexpr int32_t kZNumber = 11;
    return ConvDigitSetCell(request, flags, first, last, editorMode, editorDefinition, out,
                            {.digit = kZNumber, .alwaysShown = true, .keysWithoutGrid = true});
}

int ConvMarkFlagsCell(cmcCellCapsule& request, const std::string& menuName, uint8_t& marks, int32_t& out) {
    constexpr int32_t kMarkItems = 5;
    return ConvAttributeCell(request, menuName, marks, out, kMarkItems);
}

int32_t CountProgrammedChannelRange(cmcEeprom& image, int32_t first, int32_t last) {
    constexpr int32_t kLastRow = 511;
    if (first < 0 || last > kLastRow || first > last) return -1;
    datCh row(&image);
    int32_t used = 0;
    for (int32_t n = first; n <= last; ++n)
        used += row.Load(GetModelClass(), n).InUse();
    return used;
}

} // namespace adj
