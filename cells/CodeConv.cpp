#include "cells/CodeConv.h"

#include "cells/ConvKeys.h"
#include "cells/ConvSupport.h"
#include "cells/LayoutCache.h"
#include "cells/ListConv.h"
#include "cells/PopupOpener.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "foundation/ByteUtil.h"
#include "foundation/ModelClass.h"
#include "image/cmcEeprom.h"
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
                     const std::string& dialogKey, int32_t& out, const DigitSetZ& z) {
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
    if (HasKey(request) || (z.keysWithoutGrid && key != 0)) {
        if (key == kKeySpace) {
            value = (value & set.Mask()) ? value & ~set.Mask() : value | set.Mask();
            changed = 1;
        } else if (key == kKeyBackspace) {
            value ^= set.Mask();
            changed = 1;
        } else if (key == 'z' || key == 'Z') {
            toggle(z.digit - first);
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
        else if (digit == z.digit && (style == 3 || z.alwaysShown))
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

namespace {

constexpr int32_t kKeyOptionByte = 93826;
constexpr int32_t kKeyOptionChanged = 0x20;
constexpr int32_t kAbcCodeItem = 1;
constexpr int32_t kAbcCodeMax = 32;

} // namespace

int32_t KeyOptionId(int32_t key) {
    switch (key) {
    case '0':
    case '3':
        return 11;
    case '1':
    case '4':
        return 12;
    case '2':
    case '5':
        return 13;
    case '6':
    case '9':
        return 21;
    case '7':
    case ':':
        return 22;
    case '8':
    case ';':
        return 23;
    default:
        return 0;
    }
}

int32_t GetKeyOptionHL(const cmcEeprom& image, int32_t id) {
    if (id < 11 || id > 13) return 0;
    return image.GetByte(kKeyOptionByte) >> (5 + id - 11) & 1;
}

void SetKeyOptionHL(cmcEeprom& image, int32_t id, int32_t high) {
    if (id < 11 || id > 13) return;
    const auto mask = static_cast<uint8_t>(1 << (5 + id - 11));
    const uint8_t byte = image.GetByte(kKeyOptionByte);
    image.SetByte(kKeyOptionByte,
                  high ? static_cast<uint8_t>(byte | mask) : static_cast<uint8_t>(byte & ~mask));
}

int ConvKeyOptionCell(cmcCellCapsule& request, cmcEeprom& image, uint8_t& key, int32_t& changeFlags,
                      const std::string& listKey, int32_t& out) {
    const std::string optionKey = ConvKeyText(ConvKey::KeyOptHL);
    int changed = 0;
    const int32_t picked = conv::PickedList(request);
    if (picked == listcell::Flex0) {
        key = static_cast<uint8_t>(conv::PickedItem(request)->index);
        changed = 1;
        const int32_t id = KeyOptionId(key);
        if (id != 0) {
            Popups().OpenList(conv::OpenerOf(request), listcell::FlexKeyOpt, GetKeyOptionHL(image, id),
                              request.texts, optionKey);
            out = cmcCellCapsule::kResultPopupOpened;
        }
        conv::Show(request, LayoutCache().Text(listKey, listcell::Flex0, key));
    } else if (picked == listcell::FlexKeyOpt) {
        const int32_t id = KeyOptionId(key);
        if (id >= 11 && id <= 13) {
            SetKeyOptionHL(image, id, conv::PickedItem(request)->index ? 1 : 0);
            changeFlags |= kKeyOptionChanged;
            changed = 1;
        }
        conv::Show(request, LayoutCache().Text(listKey, listcell::Flex0, key));
    } else {
        changed = ConvSelByteCell(request, listKey, key, out);
    }
    const int32_t id = KeyOptionId(key);
    if (id != 0 && out != cmcCellCapsule::kResultOpenEditor)
        conv::Show(request, request.displayText + (GetKeyOptionHL(image, id) ? " /H" : " /L"));
    return changed;
}

std::string DialsListKey() {
    return ConvKeyText(IsModelPmrZ() ? ConvKey::DialsConvPmrZ : ConvKey::DialsConv);
}

std::string ModelKeysListKey() {
    const int32_t model = (GetModelClass() - 1) + (IsModelMobile() ? 5 : 0);
    return ConvKeyText(static_cast<ConvKey>(static_cast<int32_t>(ConvKey::KeysConvLmr) + model));
}

int ConvDialsCell(cmcCellCapsule& request, cmcEeprom& image, uint8_t& key, int32_t& changeFlags,
                  int32_t& out) {
    return ConvKeyOptionCell(request, image, key, changeFlags, DialsListKey(), out);
}

int ConvModelKeysCell(cmcCellCapsule& request, cmcEeprom& image, uint8_t& key, int32_t& changeFlags,
                      int32_t& out) {
    return ConvKeyOptionCell(request, image, key, changeFlags, ModelKeysListKey(), out);
}

int ConvRxAbcCodeCell(cmcCellCapsule& request, int32_t& value, int32_t& out) {
    const std::string selKey = ConvKeyText(ConvKey::RxAbcSel);
    const std::string codeKey = ConvKeyText(ConvKey::RxAbcCode);
    auto isCode = [](int32_t v) { return v >= 1 && v <= kAbcCodeMax; };
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit) {
        const std::string text = conv::UpperCased(conv::Trimmed(request.editText));
        if (text.starts_with("OF")) value = 0;
        const std::string digits = Reduced(request.editText, "");
        if (!digits.empty()) {
            int64_t n = 0;
            std::from_chars(digits.data(), digits.data() + std::min<size_t>(digits.size(), 18), n);
            value = static_cast<int32_t>(std::clamp<int64_t>(n, 0, kAbcCodeMax));
        }
        changed = 1;
    }
    const int32_t picked = conv::PickedList(request);
    if (picked == listcell::Flex0) {
        const int32_t item = conv::PickedItem(request)->index;
        if (item == kAbcCodeItem) {
            Popups().OpenList(conv::OpenerOf(request), listcell::Flex1, value, request.texts, codeKey);
            out = cmcCellCapsule::kResultPopupOpened;
        } else {
            value = item;
            changed = 1;
        }
    } else if (picked == listcell::Flex1) {
        value = conv::PickedItem(request)->index;
        changed = 1;
    }

    const int32_t key = request.key;
    if (HasKey(request) && (conv::IsDigitKey(key) || key == '.' || key == 'O' || key == 'o')) {
        conv::OpenEditor(request, std::string(), out);
        return changed;
    }
    int32_t shown = isCode(value) ? kAbcCodeItem : value;
    if (HasKey(request) && (key == kKeySpace || key == kKeyBackspace)) {
        cmcFCache& cache = LayoutCache();
        cache.Text(selKey, listcell::Flex0, shown);
        const int32_t delta = key == kKeySpace ? 1 : -1;
        int32_t next = shown;
        if (cache.Step(selKey, listcell::Flex0, shown, delta, next) && next == kAbcCodeItem)
            cache.Step(selKey, listcell::Flex0, next, delta, next);
        if (next != value) {
            value = next;
            changed = 1;
        }
        shown = isCode(value) ? kAbcCodeItem : value;
    }
    cmcCellCapsule plain = request;
    plain.key = (HasKey(request) && conv::IsEnter(request)) ? key : 0;
    plain.mode = cmcCellCapsule::kModeFormat;
    plain.linkedRequest = nullptr;
    ConvSelCell(plain, selKey, shown, out);
    conv::Show(request, isCode(value) ? conv::Format("%d", value) : plain.displayText);
    return changed;
}
