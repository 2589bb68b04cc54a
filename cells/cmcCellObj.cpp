#include "cells/cmcCellObj.h"

#include "cells/CellVocabulary.h"
#include "foundation/Globals.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"
#include "platform/CodePage.h"
#include "platform/Fatal.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <vector>

cmcCellObj::cmcCellObj()
    : category(CurrentCellVocabulary().NoCategory()), cellId(CurrentCellVocabulary().NoCell()) {
    Reset();
}

void cmcCellObj::FreeMembers() {
    argument.reset();
    caption.reset();
    font.reset();
    popupMenu.reset();
}

void cmcCellObj::Assign(const cmcCellObj& source) {
    FreeMembers();
    parent = source.parent;
    chParams = source.chParams;
    category = source.category;
    cellId = source.cellId;
    index = source.index;
    argument = source.argument;
    imageIndex = source.imageIndex;
    layout = source.layout;
    flags = source.flags;
    flags2 = source.flags2;
    color = source.color;
    if (source.font) font = std::make_unique<FontDesc>(*source.font);
    popupMenu = source.popupMenu;
    caption = source.caption;
}

void cmcCellObj::Reset() {
    FreeMembers();
    cellId = CurrentCellVocabulary().NoCell();
    imageIndex = -1;
    layout = 0;
    flags = 0;
    flags2 = 0;
    color = kDefaultColor;
    if (!parent) return;
    category = parent->category;
    cellId = parent->cellId;
    index = parent->index;
    argument = parent->argument;
    imageIndex = parent->imageIndex;
    layout = parent->layout;
    flags = parent->flags;
    flags2 = parent->flags2;
    color = parent->color;
    caption = parent->caption;
}

const std::string* cmcCellObj::GetPopupMenu() const {
    for (const cmcCellObj* c = this; c; c = c->parent)
        if (c->popupMenu && !c->popupMenu->empty()) return &*c->popupMenu;
    return nullptr;
}

namespace {

bool IsLead(const std::string_view text, size_t i) {
    return i + 1 < text.size() && plat::CurrentCodePage().IsLeadByte(static_cast<uint8_t>(text[i]));
}

// Bytes of the character at i: 2 for a double-byte character, else 1.
size_t CharLen(const std::string_view text, size_t i) {
    return IsLead(text, i) ? 2 : 1;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlankChar(char c) {
    return c == ' ' || c == '\t';
}

size_t SkipBlanksFrom(std::string_view text, size_t i) {
    while (i < text.size() && IsBlankChar(text[i]))
        ++i;
    return i;
}

// A signed decimal number at the start of the text (after blanks), as far as
// it goes; 0 without digits. Saturates instead of overflowing.
int32_t ReadDecimal(std::string_view text) {
    size_t i = SkipBlanksFrom(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t(INT32_MAX) + 1);
    value = negative ? -value : value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

[[noreturn]] void ChNoError() {
    plat::Fatal("Ch No. Error");
}

// Reads the single digit N of "@chN" at text[i] (just behind "@ch") and
// returns the parameter it names; anything else is fatal.
int32_t& ChannelParameter(int32_t* chParams, std::string_view text, size_t i) {
    if (!chParams || i >= text.size() || !IsDigit(text[i]) || (i + 1 < text.size() && IsDigit(text[i + 1])))
        ChNoError();
    return chParams[text[i] - '0'];
}

// Reads one definition into a cell. Model expansions are followed on a stack
// of the models being read, so a model that names itself, directly or through
// others, is caught instead of recursing for ever.
class DefinitionParser {
public:
    explicit DefinitionParser(cmcCellObj& cell) : cell_(cell) {}

    void Parse(std::string_view definition) {
        std::string attributes, caption;
        Split(definition, attributes, caption);
        Attributes(attributes);
        Caption(caption);
    }

private:
    static void Split(std::string_view text, std::string& attributes, std::string& caption) {
        bool inGroup = false;
        for (size_t i = 0; i < text.size();) {
            size_t n = CharLen(text, i);
            char c = text[i];
            if (n == 1 && c == '{') {
                inGroup = true;
            } else if (n == 1 && c == '}') {
                inGroup = false;
            } else {
                (inGroup ? attributes : caption).append(text.substr(i, n));
            }
            i += n;
        }
    }

    void Attributes(std::string_view text) {
        // A '!' negates the next character read, whatever it is; a character
        // skipped by '\' is not read.
        bool pending = false;
        for (size_t i = 0; i < text.size();) {
            size_t n = CharLen(text, i);
            char c = text[i];
            if (n == 1 && c == '\\') {
                i += 1;
                if (i < text.size()) i += CharLen(text, i);
                continue;
            }
            bool negated = pending;
            pending = false;
            if (n == 2) {
                i += 2;
            } else if (c == '(') {
                size_t end = OptionEnd(text, i + 1);
                if (end == std::string_view::npos) return; // an unclosed option is dropped
                Option(text.substr(i + 1, end - i - 1));
                i = end + 1;
            } else {
                if (c == '!') pending = true;
                Letter(c, negated);
                i += 1;
            }
        }
    }

    // Position of the ')' that closes an option whose text starts at i.
    static size_t OptionEnd(std::string_view text, size_t i) {
        while (i < text.size()) {
            size_t n = CharLen(text, i);
            if (n == 1 && text[i] == ')') return i;
            if (n == 1 && text[i] == '\\' && i + 1 < text.size()) n += CharLen(text, i + 1);
            i += n;
        }
        return std::string_view::npos;
    }

    void Letter(char c, bool negated) {
        uint8_t& layout = cell_.layout;
        auto setBit = [negated](uint8_t& bits, uint8_t mask) {
            bits = negated ? static_cast<uint8_t>(bits & ~mask) : static_cast<uint8_t>(bits | mask);
        };
        auto align = [&layout](uint8_t mask, int shift, int value) {
            layout = static_cast<uint8_t>((layout & ~mask) | (value << shift));
        };
        switch (c) {
        case '<':
            align(cmcCellObj::kAlignHMask, 0, 0);
            break;
        case '^':
            align(cmcCellObj::kAlignHMask, 0, 1);
            break;
        case '>':
            align(cmcCellObj::kAlignHMask, 0, 2);
            break;
        case '~':
            align(cmcCellObj::kAlignVMask, 2, 0);
            break;
        case '-':
            align(cmcCellObj::kAlignVMask, 2, 1);
            break;
        case '_':
            align(cmcCellObj::kAlignVMask, 2, 2);
            break;
        case 'W':
            setBit(layout, cmcCellObj::kLayoutW);
            break;
        case 'H':
            setBit(layout, cmcCellObj::kLayoutH);
            break;
        case '+':
            setBit(layout, cmcCellObj::kLayoutPlus);
            break;
        case 'B':
            setBit(layout, cmcCellObj::kLayoutB);
            break;
        case 'S':
            setBit(cell_.flags, cmcCellObj::kFlagS);
            break;
        case 'T':
            setBit(cell_.flags, cmcCellObj::kFlagT);
            break;
        default:
            break;
        }
    }

    static std::string_view AfterEquals(std::string_view text) {
        size_t eq = text.find('=');
        return eq == std::string_view::npos ? std::string_view() : text.substr(eq + 1);
    }

    void Option(std::string_view text) {
        if (text.starts_with('$')) {
            Model(std::string(text.substr(1)));
        } else if (text.starts_with("Color")) {
            if (text.find('=') == std::string_view::npos) return;
            if (std::optional<ColorValue> color = ColorFromName(std::string(AfterEquals(text))))
                cell_.color = *color;
        } else if (text.starts_with("Font")) {
            if (!cell_.font) {
                cell_.font = std::make_unique<FontDesc>();
                if (cell_.parent && cell_.parent->font) *cell_.font = *cell_.parent->font;
            }
            ParseFontDesc(std::string(AfterEquals(text)), *cell_.font);
        } else if (text.starts_with('%')) {
            Reference(text.substr(1));
        } else if (text.starts_with("@ch")) {
            ChannelOption(text);
        } else if (text.starts_with("ImageIndex")) {
            if (text.find('=') != std::string_view::npos) cell_.imageIndex = ReadDecimal(AfterEquals(text));
        } else if (text.starts_with("PopupMenu")) {
            if (text.find('=') != std::string_view::npos) cell_.popupMenu = std::string(AfterEquals(text));
        } else if (text.starts_with("Flag")) {
            FlagOption(text);
        }
    }

    void Model(const std::string& name) {
        const std::string key = "CellModel_" + name;
        if (std::find(models_.begin(), models_.end(), key) != models_.end())
            plat::Fatal("The cell model refers back to itself.\n'" + key + "'");
        if (!gGTex) plat::Fatal("GTEX Error !\nThe index '" + key + "' was not found.");
        // A model without lines has no attributes; the next key's lines are not its own.
        std::optional<std::string> line = gGTex->TryGetTextLine(key, 0);
        if (!line || line->starts_with('#')) return;
        models_.push_back(key);
        Attributes(*line);
        models_.pop_back();
    }

    void ChannelOption(std::string_view text) {
        int32_t& param = ChannelParameter(cell_.chParams, text, 3);
        size_t i = SkipBlanksFrom(text, 4);
        std::string_view rest = text.substr(i);
        if (rest.starts_with("++")) {
            param = static_cast<int32_t>(static_cast<uint32_t>(param) + 1u);
        } else if (rest.starts_with('=')) {
            param = ReadDecimal(rest.substr(1));
        }
    }

    void FlagOption(std::string_view text) {
        if (text.size() < 7 || !InRange(text[4], '0', '7') || text[5] != '=' ||
            (text[6] != '0' && text[6] != '1'))
            return;
        int k = text[4] - '0';
        // A flag the program's cells do not know leaves the cell as it is.
        if (k >= CurrentCellVocabulary().OptionFlags()) return;
        bool on = text[6] == '1';
        uint8_t& bits = k < 6 ? cell_.flags : cell_.flags2;
        uint8_t mask =
            k < 6 ? static_cast<uint8_t>(cmcCellObj::kFlag0 << k) : static_cast<uint8_t>(1 << (k - 6));
        bits = on ? static_cast<uint8_t>(bits | mask) : static_cast<uint8_t>(bits & ~mask);
    }

    // "<category>.<cell>[<index>]:<argument>", every part optional. The name
    // part ends at the first '[' or ':', so a dot in an argument is never
    // taken for the category's.
    void Reference(std::string_view text) {
        size_t headEnd = text.size();
        for (size_t i = 0; i < text.size(); i += CharLen(text, i)) {
            if (CharLen(text, i) == 1 && (text[i] == '[' || text[i] == ':')) {
                headEnd = i;
                break;
            }
        }
        std::string_view head = text.substr(0, headEnd);
        size_t dot = std::string_view::npos;
        for (size_t i = 0; i < head.size(); i += CharLen(head, i)) {
            if (CharLen(head, i) == 1 && head[i] == '.' && (i == 0 || head[i - 1] != '\\')) {
                dot = i;
                break;
            }
        }
        const CellVocabulary& names = CurrentCellVocabulary();
        std::string_view cellName = head;
        if (dot != std::string_view::npos) {
            cell_.category = names.CategoryIndex(std::string(head.substr(0, dot)));
            cellName = head.substr(dot + 1);
        }
        cell_.cellId = names.CellIndex(std::string(cellName));

        std::string_view rest = text.substr(headEnd);
        if (rest.starts_with('[')) {
            size_t close = rest.find(']');
            std::string_view inner =
                rest.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
            size_t at = SkipBlanksFrom(inner, 0);
            if (inner.substr(at).starts_with("@ch"))
                cell_.index = ChannelParameter(cell_.chParams, inner, at + 3);
            else
                cell_.index = ReadDecimal(inner);
            rest = close == std::string_view::npos ? std::string_view() : rest.substr(close + 1);
        }
        size_t colon = rest.find(':');
        if (colon != std::string_view::npos) cell_.argument = Unescape(rest.substr(colon + 1));
    }

    static std::string Unescape(std::string_view text) {
        std::string out;
        out.reserve(text.size());
        for (size_t i = 0; i < text.size();) {
            size_t n = CharLen(text, i);
            if (n == 1 && text[i] == '\\') {
                if (++i >= text.size()) break;
                n = CharLen(text, i);
            }
            out.append(text.substr(i, n));
            i += n;
        }
        return out;
    }

    static bool IsTrimmed(char c) {
        uint8_t b = static_cast<uint8_t>(c);
        return b <= 0x20 || b == 0x7F;
    }

    void Caption(std::string_view text) {
        size_t begin = 0, end = text.size();
        while (begin < end && IsTrimmed(text[begin]))
            ++begin;
        // A trail byte is never a blank or control character, so trimming from the end cannot split a
        // character.
        while (end > begin && IsTrimmed(text[end - 1]))
            --end;
        text = text.substr(begin, end - begin);
        if (text.empty()) {
            cell_.caption.reset();
            return;
        }
        std::string out;
        out.reserve(text.size());
        for (size_t i = 0; i < text.size();) {
            size_t n = CharLen(text, i);
            if (n == 2 || text[i] != '\\') {
                out.append(text.substr(i, n));
                i += n;
                continue;
            }
            if (++i >= text.size()) break;
            n = CharLen(text, i);
            char c = text[i];
            if (n == 1 && (c == 'N' || c == 'n')) {
                out += '\n';
            } else if (n == 1 && c == '_') {
                out += ' ';
            } else if (n == 1 && c == '(') {
                size_t close = text.find(')', i + 1);
                std::string_view ref = text.substr(
                    i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1);
                out += ParameterText(ref);
                if (close == std::string_view::npos) break;
                i = close + 1;
                continue;
            } else {
                out.append(text.substr(i, n));
            }
            i += n;
        }
        cell_.caption = std::move(out);
    }

    // "@chN" or "@chN+k" (blanks anywhere), as decimal text of at most six characters.
    std::string ParameterText(std::string_view ref) {
        std::string packed;
        for (char c : ref)
            if (!IsBlankChar(c)) packed += c;
        if (!packed.starts_with("@ch")) ChNoError();
        int64_t value = ChannelParameter(cell_.chParams, packed, 3);
        std::string_view rest = std::string_view(packed).substr(4);
        if (rest.starts_with('+')) rest.remove_prefix(1);
        if (!rest.empty()) value += ReadDecimal(rest);
        return std::to_string(value).substr(0, 6);
    }

    cmcCellObj& cell_;
    std::vector<std::string> models_;
};

// End of the first definition: the first '|' that is neither escaped nor part
// of a double-byte character; the size when there is none.
size_t DefinitionEnd(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        size_t n = CharLen(text, i);
        if (n == 1 && text[i] == '|') return i;
        if (n == 1 && text[i] == '\\' && i + 1 < text.size()) n += CharLen(text, i + 1);
        i += n;
    }
    return text.size();
}

} // namespace

std::string cmcCellObj::Parse(const std::string& definition, int32_t* params, cmcCellObj* parentCell,
                              bool noParse) {
    std::string_view text(definition);
    size_t end = DefinitionEnd(text);
    parent = parentCell;
    Reset();
    if (!noParse) {
        chParams = params;
        DefinitionParser(*this).Parse(text.substr(0, end));
        chParams = nullptr;
    }
    return end < text.size() ? definition.substr(end + 1) : std::string();
}
