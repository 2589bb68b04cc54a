#include "cells/CodeConv.h"

#include "cells/ConvKeys.h"
#include "cells/ConvSupport.h"
#include "cells/PopupOpener.h"
#include "cells/cmcCellCapsule.h"
#include "foundation/ByteUtil.h"
#include "image/datCh.h"

#include <algorithm>
#include <charconv>

using conv::HasKey;
using conv::kKeyBackspace;
using conv::kKeySpace;

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Keeps digits and the characters of extra.
std::string Reduced(const std::string& text, std::string_view extra) {
    std::string r;
    for (char c : text)
        if ((c >= '0' && c <= '9') || extra.find(c) != std::string_view::npos) r += c;
    return r;
}

// The hexadecimal digits of a typed text, padded on the left with '0' and cut to n.
std::string HexDigitsOf(const std::string& text, int32_t n, bool allowLetters) {
    std::string digits = Reduced(text, allowLetters ? "abcdefABCDEF" : "");
    if (digits.size() < static_cast<size_t>(n)) digits.insert(0, static_cast<size_t>(n) - digits.size(), '0');
    digits.resize(static_cast<size_t>(n));
    return digits;
}

} // namespace

int ConvDtmfCodeCell(cmcCellCapsule& request, std::span<uint8_t> digits, uint8_t& count, int32_t maxDigits,
                     int32_t& out) {
    maxDigits = std::clamp<int32_t>(maxDigits, 0, static_cast<int32_t>(digits.size()));
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit) {
        std::string typed = conv::UpperCased(Reduced(request.editText, "abcdefABCDEF*#"));
        if (typed.size() > static_cast<size_t>(maxDigits)) typed.resize(static_cast<size_t>(maxDigits));
        std::fill_n(digits.begin(), maxDigits, uint8_t(0));
        for (size_t i = 0; i < typed.size(); ++i) {
            const char c = typed[i];
            digits[i] = static_cast<uint8_t>(c == '*' ? 14 : c == '#' ? 15 : HexValue(c));
        }
        count = static_cast<uint8_t>(typed.size());
        changed = 1;
    }
    if (count > maxDigits) count = static_cast<uint8_t>(maxDigits);
    std::string text;
    for (int32_t i = 0; i < count; ++i)
        text += "0123456789ABCD*#"[digits[static_cast<size_t>(i)] & 15];
    conv::Show(request, text);
    if (HasKey(request)) {
        const int32_t key = request.key;
        if (key == kKeySpace || key == kKeyBackspace)
            conv::OpenEditorOn(request, text, out);
        else if (conv::IsEnter(request) || conv::IsHexKey(key) || key == '*' || key == '#')
            conv::OpenEditor(request, text, out);
    }
    return changed;
}

int ConvToneCode(cmcCellCapsule& request, std::span<uint8_t, 4> code, uint8_t* mark, int32_t groupDigit,
                 int32_t maxDigits, int32_t& out) {
    constexpr int32_t kNibbles = 8;
    maxDigits = std::clamp<int32_t>(maxDigits, 0, kNibbles);
    int changed = 0;
    // An empty text is no new code: nothing is written.
    if (request.mode == cmcCellCapsule::kModeCommit && !request.editText.empty()) {
        std::string typed = Reduced(request.editText, mark ? "abcdefgABCDEFG*+" : "abcdefgABCDEFG*");
        std::erase_if(typed, [](char c) { return c == 'f' || c == 'F'; });
        typed = conv::UpperCased(typed);
        if (typed.size() > static_cast<size_t>(maxDigits)) typed.resize(static_cast<size_t>(maxDigits));
        uint8_t marks = 0;
        int32_t n = 0;
        for (char c : typed) {
            int digit = HexValue(c);
            if (c == '+') {
                digit = 0;
                marks |= static_cast<uint8_t>(0x80 >> n);
            } else if (c == '*' || c == 'G') {
                digit = groupDigit & 15;
            }
            SetNibble(code.data(), n++, digit);
        }
        // The code ends with a nibble 15 where the field has room for one.
        while (n < std::min(maxDigits + 1, kNibbles))
            SetNibble(code.data(), n++, 15);
        if (mark) *mark = marks;
        changed = 1;
    }
    std::string text;
    const uint8_t marks = mark ? *mark : 0;
    for (int32_t j = 0; j < kNibbles; ++j) {
        const int digit = GetNibble(code.data(), j);
        if (digit == 15) break;
        if (marks & (0x80 >> j))
            text += '+';
        else if (digit == groupDigit)
            text += '*';
        else
            text += "0123456789ABCDE*"[digit];
    }
    conv::Show(request, text);
    if (HasKey(request)) {
        const int32_t key = request.key;
        if (key == kKeySpace || key == kKeyBackspace)
            conv::OpenEditorOn(request, text, out);
        else if (conv::IsEnter(request) || conv::IsHexKey(key) || key == '*' || key == 'G' || key == 'g' ||
                 key == '#' || key == '+')
            conv::OpenEditor(request, text, out);
    }
    return changed;
}

int ConvToneCodeCell(cmcCellCapsule& request, datCh& record, int32_t maxDigits, bool isReceive,
                     int32_t& out) {
    if (isReceive)
        return ConvToneCode(request, record.codeHead, &record.codeByte28, record.globalByte, maxDigits, out);
    return ConvToneCode(request, record.txCode, nullptr, record.globalByte, maxDigits, out);
}

int ConvHexNibblesCell(cmcCellCapsule& request, int32_t& value, int32_t digits, bool allowLetters,
                       int32_t& out) {
    digits = std::clamp<int32_t>(digits, 1, 8);
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit) {
        uint32_t v = 0;
        for (char c : HexDigitsOf(request.editText, digits, allowLetters))
            v = v << 4 | static_cast<uint32_t>(HexValue(c));
        value = static_cast<int32_t>(v);
        changed = 1;
    }
    std::string text;
    for (int32_t i = digits - 1; i >= 0; --i)
        text += kHexDigits[(static_cast<uint32_t>(value) >> (4 * i)) & 15];
    conv::Show(request, text);
    if (HasKey(request)) {
        const int32_t key = request.key;
        if (key == kKeySpace || key == kKeyBackspace)
            conv::OpenEditorOn(request, text, out);
        else if (conv::IsEnter(request) || conv::IsHexKey(key))
            conv::OpenEditor(request, text, out);
    }
    return changed;
}

int ConvHexStringCell(cmcCellCapsule& request, std::span<int32_t> digits, int32_t length, bool allowLetters,
                      int32_t& out) {
    length = std::clamp<int32_t>(length, 0, static_cast<int32_t>(digits.size()));
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit) {
        const std::string typed = HexDigitsOf(request.editText, length, allowLetters);
        for (int32_t i = 0; i < length; ++i)
            digits[static_cast<size_t>(i)] = HexValue(typed[static_cast<size_t>(i)]);
        changed = 1;
    }
    std::string text;
    for (int32_t i = 0; i < length; ++i)
        text += kHexDigits[digits[static_cast<size_t>(i)] & 15];
    conv::Show(request, text);
    if (HasKey(request)) {
        const int32_t key = request.key;
        const bool letter = conv::IsHexKey(key) && !conv::IsDigitKey(key);
        if (conv::IsEnter(request) || conv::IsDigitKey(key) || (allowLetters && letter))
            conv::OpenEditor(request, text, out);
    }
    return changed;
}

int ConvSingleDigitCell(cmcCellCapsule& request, int32_t& value, bool allowF, int32_t& out) {
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit) {
        if (!request.editText.empty()) {
            const char c = conv::UpperCased(request.editText.substr(0, 1))[0];
            const int digit = HexValue(c);
            if (digit >= 0 && (digit < 15 || allowF)) value = digit;
        }
        changed = 1;
    }
    std::string text;
    if (value >= 0 && value <= 15) text = std::string(1, kHexDigits[value]);
    conv::Show(request, text);
    if (HasKey(request)) {
        const int32_t key = request.key;
        if (conv::IsHexKey(key) && (allowF || (key != 'F' && key != 'f')))
            conv::OpenEditor(request, text, out);
    }
    return changed;
}

namespace {

// Where the digits of a digit set lie in its value.
struct DigitSet {
    int32_t first, last, width;
    int32_t Bit(int32_t position) const { return width <= 8 ? 7 - position : width - 1 - position; }
    bool Has(int32_t position) const { return position >= 0 && position < width; }
    int32_t Mask() const {
        int32_t mask = 0;
        for (int32_t p = 0; p < width; ++p)
            mask |= 1 << Bit(p);
        return mask;
    }
};

// The bit-field editor shows column k (k = 1 at the left) as bit 26 - k of its word.
constexpr int32_t kEditorFirstBit = 25;

} // namespace

int ConvDigitSetCell(cmcCellCapsule& request, int32_t& value, int32_t first, int32_t last, int32_t style,
                     const std::string& dialogKey, int32_t& out) {
    const DigitSet set{first, last, std::clamp<int32_t>(last - first + 1, 0, 26)};
    int changed = 0;
    auto toggle = [&](int32_t position) {
        if (!set.Has(position)) return;
        value ^= 1 << set.Bit(position);
        changed = 1;
    };
    if (request.mode == cmcCellCapsule::kModePick) {
        int32_t word = 0;
        const std::string& text = request.editText;
        auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), word);
        if (ec == std::errc() && !text.empty()) {
            int32_t v = value & ~set.Mask();
            for (int32_t p = 0; p < set.width; ++p)
                if (word >> (kEditorFirstBit - p) & 1) v |= 1 << set.Bit(p);
            value = v;
            changed = 1;
        }
    }
    const int32_t key = request.key;
    if (HasKey(request)) {
        if (key == kKeySpace) {
            value = (value & set.Mask()) ? value & ~set.Mask() : value | set.Mask();
            changed = 1;
        } else if (key == kKeyBackspace) {
            value ^= set.Mask();
            changed = 1;
        } else if (key == 'z' || key == 'Z') {
            toggle(17 - first);
        } else if (conv::IsDigitKey(key)) {
            const int32_t digit = key - '0';
            if (digit >= first && digit <= last)
                toggle(digit - first);
            else if (digit == 0 && style != 3)
                toggle(10 - first);
        } else if (style == 3 && ((key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z'))) {
            const int32_t digit = (key | 0x20) - 'a' + 10;
            if (digit >= first && digit <= last - 1) toggle(digit - first);
        }
    }
    std::string text;
    for (int32_t p = 0; p < set.width; ++p) {
        if (!(value >> set.Bit(p) & 1)) {
            text += '_';
            continue;
        }
        const int32_t digit = first + p;
        if (digit == 10 && style != 3)
            text += '0';
        else if (digit == 17 && style == 3)
            text += 'Z';
        else if (digit >= 0 && digit <= 9)
            text += static_cast<char>('0' + digit);
        else
            text += static_cast<char>('A' + digit - 10);
    }
    text += '\n';
    conv::Show(request, text);
    if (HasKey(request)) {
        if (conv::IsEnter(request)) {
            int32_t word = 0;
            for (int32_t p = 0; p < set.width; ++p)
                if (value >> set.Bit(p) & 1) word |= 1 << (kEditorFirstBit - p);
            Popups().OpenBitsEditor(request, request.texts, word, first, last, style, 1, dialogKey);
            out = cmcCellCapsule::kResultPopupOpened;
        } else if (conv::IsHexKey(key)) {
            request.selStart = static_cast<int32_t>(text.size());
            request.selLength = 0;
        }
    }
    return changed;
}

int GetBitReversed24(const uint8_t* bytes, int32_t length, int32_t n) {
    if (n < 0 || n > 23) return 0;
    return GetBitMsb(bytes, length, 23 - n);
}
