#include "foundation/ColorName.h"

#include "foundation/cmcHash.h"

namespace {

struct NamedColor {
    const char* name;
    ColorValue value;
};

// "clHightlightText" is spelt as the overlays spell it.
constexpr NamedColor kColors[] = {
    {"clAqua", 0xFFFF00},
    {"clBlack", 0x000000},
    {"clBlue", 0xFF0000},
    {"clDkGray", 0x808080},
    {"clFuchsia", 0xFF00FF},
    {"clGray", 0x808080},
    {"clGreen", 0x008000},
    {"clLime", 0x00FF00},
    {"clLtGray", 0xC0C0C0},
    {"clMaroon", 0x000080},
    {"clNavy", 0x800000},
    {"clOlive", 0x008080},
    {"clPurple", 0x800080},
    {"clRed", 0x0000FF},
    {"clSilver", 0xC0C0C0},
    {"clTeal", 0x808000},
    {"clWhite", 0xFFFFFF},
    {"clYellow", 0x00FFFF},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHightlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
};

const cmcHash& ColorTable() {
    static const cmcHash table = [] {
        cmcHash colors(101);
        for (const NamedColor& c : kColors)
            colors.Add(c.name, int32_t(c.value));
        return colors;
    }();
    return table;
}

} // namespace

std::optional<ColorValue> ColorFromName(const std::string& name) {
    const cmcHash::Entry* entry = ColorTable().Find(name);
    if (!entry) return std::nullopt;
    return ColorValue(entry->value);
}
