#include "cells/NumberConv.h"

#include "cells/ConvKeys.h"
#include "cells/ConvSupport.h"
#include "cells/cmcCellCapsule.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

using conv::Format;
using conv::HasKey;
using conv::kKeyBackspace;
using conv::kKeySpace;

bool HasDigit(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// v on the nearest multiple of step, halves away from zero.
int64_t NearestMultiple(int64_t v, int64_t step) {
    const int64_t s = step < 0 ? -step : step;
    const int64_t a = v < 0 ? -v : v;
    const int64_t r = (2 * a + s) / (2 * s) * s;
    return v < 0 ? -r : r;
}

namespace {

// The longest decimal number at the front of the text; 0 when there is none.
// Independent of the process locale, which the window toolkit may change.
double ReadReal(const std::string& text) {
    double value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc()) return 0;
    return value;
}

int64_t PowerOfTen(int32_t n) {
    int64_t p = 1;
    for (int32_t i = 0; i < n && i < 18; ++i)
        p *= 10;
    return p;
}

int32_t ClampTo(int64_t v, int32_t lo, int32_t hi) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, lo, std::max(lo, hi)));
}

int64_t FloorMultiple(int64_t v, int64_t step) {
    int64_t q = v / step;
    if ((v % step != 0) && ((v < 0) != (step < 0))) --q;
    return q * step;
}

// The whole part keeps its sign also when it is 0, so that -0.5 does not read as 0.5.
std::string FormatDecimal(int64_t value, int64_t unitsPerWhole, int64_t fraction, int32_t fractionDigits) {
    const int64_t whole = (value < 0 ? -value : value) / unitsPerWhole;
    const std::string wholeText = (value < 0 ? "-" : "") + std::to_string(whole);
    if (fractionDigits <= 0) return Format("%3s", wholeText.c_str());
    return Format("%3s.%0*lld", wholeText.c_str(), fractionDigits, static_cast<long long>(fraction));
}

// Up to n trailing zeros of the decimals go; a bare '.' goes with the last of them.
void TrimZeros(std::string& text, int32_t n) {
    if (text.find('.') == std::string::npos) return;
    for (int32_t i = 0; i < n && !text.empty(); ++i) {
        if (text.back() == '0') {
            text.pop_back();
        } else {
            if (text.back() == '.') text.pop_back();
            break;
        }
    }
}

template <typename T>
int ConvNarrowIntCell(cmcCellCapsule& request, T& field, int32_t minimum, int32_t maximum, int32_t& out) {
    int32_t value = field;
    const int changed = ConvIntCell(request, value, minimum, maximum, 0, 1, nullptr, false, false, out);
    if (changed) field = static_cast<T>(value);
    return changed;
}

} // namespace

void StripNonDigits(std::string& text, std::string_view extra) {
    std::erase_if(
        text, [extra](char c) { return !(c >= '0' && c <= '9') && extra.find(c) == std::string_view::npos; });
}

std::string StripNonDigitsText(std::string text, std::string_view extra) {
    StripNonDigits(text, extra);
    return text;
}

int32_t TextToRoundedInt(const std::string& text) {
    std::string reduced = StripNonDigitsText(text, ".-");
    if (reduced.size() > 9) reduced.resize(9);
    return static_cast<int32_t>(std::llround(ReadReal(reduced)));
}

int ClampToRange(int32_t lo, int32_t hi, int32_t& value) {
    const int32_t was = value;
    if (value < lo) value = lo;
    if (value > hi) value = hi;
    return value != was ? 1 : 0;
}

int ConvIntCell(cmcCellCapsule& request, int32_t& value, int32_t minimum, int32_t maximum, int32_t offset,
                int32_t step, const char* fixedText, bool clamp, bool saturate, int32_t& out) {
    if (step <= 0) step = 1;
    int changed = 0;
    if (clamp) changed |= ClampToRange(minimum, maximum, value);
    if (request.mode == cmcCellCapsule::kModeCommit && HasDigit(request.editText)) {
        int64_t v = int64_t(TextToRoundedInt(request.editText)) - offset;
        if (step != 1) v = NearestMultiple(v, step);
        value = ClampTo(v, minimum, maximum);
        changed = 1;
    }
    if (HasKey(request) && (request.key == kKeySpace || request.key == kKeyBackspace)) {
        int64_t v = int64_t(value) + (request.key == kKeySpace ? step : -step);
        if (v < minimum) v = saturate ? minimum : maximum;
        if (v > maximum) v = saturate ? maximum : minimum;
        value = static_cast<int32_t>(FloorMultiple(v, step));
        changed = 1;
    }
    if (clamp) changed |= ClampToRange(minimum, maximum, value);
    conv::Show(request, fixedText ? std::string(fixedText) : Format("%lld", (long long)value + offset));
    if (HasKey(request)) {
        const int32_t key = request.key;
        if (conv::IsDigitKey(key) || (key == '-' && minimum < 0) || conv::IsEnter(request))
            conv::OpenEditor(request, conv::Trimmed(request.displayText), out);
    }
    return changed;
}

int ConvByteCell(cmcCellCapsule& request, uint8_t& value, int32_t minimum, int32_t maximum, int32_t& out) {
    return ConvNarrowIntCell(request, value, minimum, maximum, out);
}

int ConvIntCell16(cmcCellCapsule& request, uint16_t& value, int32_t minimum, int32_t maximum, int32_t& out) {
    return ConvNarrowIntCell(request, value, minimum, maximum, out);
}

int ConvIntCell16Signed(cmcCellCapsule& request, int16_t& value, int32_t minimum, int32_t maximum,
                        int32_t& out) {
    return ConvNarrowIntCell(request, value, minimum, maximum, out);
}

int ConvNumberCell(cmcCellCapsule& request, int32_t& value, int32_t width, int32_t minimum, int32_t maximum,
                   bool noPad, int32_t& out) {
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit && HasDigit(request.editText)) {
        const int32_t v = TextToRoundedInt(request.editText);
        if (v >= minimum && v <= maximum) {
            value = v;
            changed = 1;
        }
    }
    if (HasKey(request) && (request.key == kKeySpace || request.key == kKeyBackspace)) {
        int64_t v = int64_t(value) + (request.key == kKeySpace ? 1 : -1);
        if (v < minimum) v = maximum;
        if (v > maximum) v = minimum;
        value = static_cast<int32_t>(v);
        changed = 1;
    }
    conv::Show(request, noPad ? Format("%d", value) : Format("%0*d", width, value));
    if (HasKey(request)) {
        const int32_t key = request.key;
        if (conv::IsDigitKey(key) || (key == '-' && minimum < 0) || conv::IsEnter(request))
            conv::OpenEditor(request, conv::Trimmed(request.displayText), out);
    }
    return changed;
}

int ConvHexValueCell(cmcCellCapsule& request, int32_t& value, int32_t minimum, int32_t maximum,
                     int32_t digits, int32_t& out) {
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit) {
        std::string text = conv::Trimmed(request.editText);
        if (text.size() > static_cast<size_t>(digits) + 1) text.resize(static_cast<size_t>(digits) + 1);
        const bool allHex = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
            return conv::IsHexKey(static_cast<unsigned char>(c));
        });
        if (allHex) {
            uint64_t v = 0;
            std::from_chars(text.data(), text.data() + text.size(), v, 16);
            value = ClampTo(static_cast<int64_t>(std::min<uint64_t>(v, INT64_MAX)), minimum, maximum);
            changed = 1;
        }
    }
    conv::Show(request, Format("%0*X", digits, static_cast<unsigned>(value)));
    if (HasKey(request)) {
        const int32_t key = request.key;
        if (conv::IsEnter(request) || key == kKeySpace || key == kKeyBackspace)
            conv::OpenEditorOn(request, conv::Trimmed(request.displayText), out);
        else if (conv::IsHexKey(key))
            conv::OpenEditor(request, std::string(), out);
    }
    return changed;
}

int ConvFixedCell(cmcCellCapsule& request, int32_t& value, int32_t scaleDigits, int32_t shownDigits,
                  double minimum, double maximum, int32_t step, bool spaceSteps, int32_t trimZeros,
                  bool blankOnEdit, int32_t& out) {
    if (step <= 0) step = 1;
    const int64_t scale = PowerOfTen(scaleDigits);
    const auto rawMin = static_cast<int32_t>(std::llround(minimum * double(scale)));
    const auto rawMax = static_cast<int32_t>(std::llround(maximum * double(scale)));
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit) {
        std::string reduced = StripNonDigitsText(request.editText, ".-");
        if (reduced.size() > 9) reduced.resize(9);
        if (!reduced.empty()) {
            const double product = std::clamp(ReadReal(reduced) * double(scale), -1073741826.0, 1073741822.0);
            int64_t v = std::llround(product);
            v = v / step * step;
            value = ClampTo(v, rawMin, rawMax);
            changed = 1;
        }
    }
    if (HasKey(request) && spaceSteps && (request.key == kKeySpace || request.key == kKeyBackspace)) {
        int64_t v = int64_t(value) + (request.key == kKeySpace ? step : -step);
        if (v < rawMin) v = rawMax;
        if (v > rawMax) v = rawMin;
        value = static_cast<int32_t>(v);
        changed = 1;
    }
    const int64_t magnitude = value < 0 ? -int64_t(value) : int64_t(value);
    int64_t fraction = magnitude % scale;
    if (shownDigits >= scaleDigits)
        fraction *= PowerOfTen(shownDigits - scaleDigits);
    else
        fraction /= PowerOfTen(scaleDigits - shownDigits);
    std::string text = FormatDecimal(value, scale, fraction, shownDigits);
    TrimZeros(text, trimZeros);
    conv::Show(request, text);
    if (HasKey(request)) {
        const int32_t key = request.key;
        const std::string trimmed = conv::Trimmed(text);
        if (key == '.') {
            const size_t dot = trimmed.find('.');
            conv::OpenEditorAt(request, trimmed,
                               static_cast<int32_t>(dot == std::string::npos ? trimmed.size() : dot + 1),
                               out);
        } else if (conv::IsEnter(request) || (key == kKeySpace && !spaceSteps)) {
            conv::OpenEditorOn(request, blankOnEdit ? std::string() : trimmed, out);
        } else if (conv::IsDigitKey(key) || key == '-') {
            conv::OpenEditor(request, trimmed, out);
        }
    }
    return changed;
}

int ConvScaledCell(cmcCellCapsule& request, int32_t& value, int32_t scaleDigits, int32_t shownDigits,
                   double minimum, double maximum, int32_t step, bool spaceSteps, bool blankOnEdit,
                   int32_t& out) {
    return ConvFixedCell(request, value, scaleDigits, shownDigits, minimum, maximum, step, spaceSteps, 0,
                         blankOnEdit, out);
}

int ConvRangeCell(cmcCellCapsule& request, int32_t& value, int32_t unitsPerWhole, int32_t minimum,
                  int32_t maximum, int32_t offMode, int32_t trimZeros, int32_t& out) {
    if (unitsPerWhole <= 0) unitsPerWhole = 1;
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit) {
        std::string number = StripNonDigitsText(request.editText, ".");
        if (number.size() > 9) number.resize(9);
        if (!number.empty()) {
            const double units = std::trunc((ReadReal(number) + 0.0005) * unitsPerWhole);
            value = ClampTo(static_cast<int64_t>(std::clamp(units, -9e18, 9e18)), minimum, maximum);
            changed = 1;
        }
        std::string letters = request.editText;
        std::erase_if(letters,
                      [](char c) { return std::string_view("ofOF").find(c) == std::string_view::npos; });
        if (letters.size() > 1 && conv::UpperCased(letters.substr(0, 2)) == "OF") {
            value = 0;
            changed = 1;
        }
    }
    if (HasKey(request) && (request.key == kKeySpace || request.key == kKeyBackspace)) {
        int64_t v = int64_t(value) + (request.key == kKeySpace ? 1 : -1);
        if (v < minimum) v = maximum;
        if (v > maximum) v = minimum;
        value = static_cast<int32_t>(v);
        changed = 1;
    }
    std::string text;
    if (request.key != 0 || offMode != 1 || value != 0) {
        const int64_t magnitude = value < 0 ? -int64_t(value) : int64_t(value);
        text = FormatDecimal(value, unitsPerWhole, magnitude * 1000 / unitsPerWhole % 1000, 3);
        TrimZeros(text, trimZeros);
    } else {
        text = conv::FirstLine(request, ConvKeyText(ConvKey::TimerOff));
    }
    conv::Show(request, text);
    if (HasKey(request)) {
        const int32_t key = request.key;
        if (conv::IsEnter(request) || conv::IsDigitKey(key) || key == '.' || key == 'O' || key == 'o')
            conv::OpenEditor(request, conv::Trimmed(text), out);
    }
    return changed;
}

int ConvByteRangeCell(cmcCellCapsule& request, uint8_t& field, int32_t unitsPerWhole, int32_t offMode,
                      int32_t& out) {
    int32_t value = field;
    const int changed = ConvRangeCell(request, value, unitsPerWhole, 0, 255, offMode, 0, out);
    if (changed) field = static_cast<uint8_t>(value);
    return changed;
}

int ConvTimeCell(cmcCellCapsule& request, int32_t& value, int32_t minimumSeconds, int32_t maximumSeconds,
                 int32_t stepSeconds, int32_t& out) {
    if (stepSeconds <= 0) stepSeconds = 1;
    const int32_t perMinute = std::max(1, 60 / stepSeconds);
    const int32_t lo = minimumSeconds / stepSeconds;
    const int32_t hi = maximumSeconds / stepSeconds;
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit) {
        const std::string text = StripNonDigitsText(request.editText, ":");
        if (text.size() <= 5) {
            const size_t colon = text.find(':');
            auto leadingNumber = [](const std::string& part) {
                int64_t n = 0;
                std::from_chars(part.data(), part.data() + part.size(), n);
                return n;
            };
            const int64_t minutes = leadingNumber(text.substr(0, colon));
            const int64_t seconds = colon == std::string::npos ? 0 : leadingNumber(text.substr(colon + 1));
            int64_t v = seconds / stepSeconds + perMinute * minutes;
            if (2 * (seconds % stepSeconds) >= stepSeconds) ++v;
            value = ClampTo(v, lo, hi);
            changed = 1;
        }
    }
    if (HasKey(request) && (request.key == kKeySpace || request.key == kKeyBackspace)) {
        int64_t v = int64_t(value) + (request.key == kKeySpace ? 1 : -1);
        if (v < lo) v = hi;
        if (v > hi) v = lo;
        value = static_cast<int32_t>(v);
        changed = 1;
    }
    conv::Show(request, Format("%2d:%02d", value / perMinute, stepSeconds * (value % perMinute)));
    if (HasKey(request)) {
        const int32_t key = request.key;
        if (conv::IsEnter(request) || conv::IsDigitKey(key) || key == ':')
            conv::OpenEditor(request, conv::Trimmed(request.displayText), out);
    }
    return changed;
}
