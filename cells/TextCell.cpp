#include "cells/TextCell.h"

#include "cells/CellCanvas.h"
#include "cells/ConvSupport.h"
#include "cells/PopupOpener.h"
#include "cells/RadioFont.h"
#include "cells/TextEscape.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/indEnviron.h"
#include "image/CurrentImage.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr ColorValue kWhite = 0xFFFFFF;
constexpr ColorValue kBlack = 0x000000;
constexpr ColorValue kOlive = 0x008080;
constexpr ColorValue kGrey = 0x808080;
constexpr int32_t kCharsPerLine = 12;
constexpr int32_t kRecordUserChar = 6;

int32_t CutToMultiple(int32_t size, int32_t unit) {
    return size >= unit ? size / unit * unit : size;
}

} // namespace

void PaintTextCell(const cmcCellCapsule& request, std::string_view bytes, int32_t count, int32_t perLine,
                   int32_t lines, bool frames) {
    CellCanvas* canvas = request.canvas;
    if (!canvas || !request.cellRect || count <= 0 || perLine <= 0) return;
    const cmcEeprom& image = CurrentImage();
    const GlyphFormat format = CurrentGlyphFormat(image);
    const bool large = format.large;
    const CellRect& cell = *request.cellRect;
    const int32_t cellWidth = cell.right - cell.left;
    const int32_t cellHeight = cell.bottom - cell.top;

    perLine = std::min(perLine, count);
    // A small font paints one line only: it stops at the field's end.
    canvas->NoteGlyphs(perLine, large ? std::min(lines, 2) : 1, format.width, format.height);
    const int32_t available = (large && lines == 2) ? (cellHeight - 4) / 2 : cellHeight - 2;
    int32_t height = CutToMultiple(available, format.height);
    int32_t width = CutToMultiple((cellWidth - 2) / perLine, format.width);
    width = std::min(width, format.width * height / format.height);
    height = std::min(height, width * format.height / format.width);
    if (width <= 0 || height <= 0) return;

    const bool centred = request.cell && (request.cell->layout & cmcCellObj::kAlignHMask) == 1;
    const int32_t left = cell.left + (centred ? (cellWidth - width - 1) / 2 : 1);
    const int32_t firstTop = cell.top + (available - height) / 2 + 1;

    const ColorValue saved = canvas->BrushColor();
    ColorValue ink = canvas->FontColor();
    if (request.markFlags.printing) ink = ink == kWhite ? kWhite : kBlack;

    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto at = static_cast<int32_t>(i);
        const int32_t line = at / perLine;
        if (line >= 2) break;
        // Characters past the field show in olive where the display has room for them.
        if (at >= count && !large) break;
        canvas->SetBrushColor(at >= count ? kOlive : ink);
        const int32_t x = left + (at % perLine) * (width + 1);
        const int32_t top = firstTop + line * (available + 2);
        const GlyphBytes glyph = DisplayGlyph(image, static_cast<uint8_t>(bytes[i]));
        for (int32_t c = 0; c < format.width; ++c) {
            const int32_t x0 = x + c * width / format.width;
            const int32_t x1 = std::max(x + (c + 1) * width / format.width, x0 + 1);
            for (int32_t r = 0; r < format.height; ++r) {
                if (!GlyphDot(glyph, format, c, r)) continue;
                const int32_t y0 = top + r * height / format.height;
                const int32_t y1 = std::max(top + (r + 1) * height / format.height, y0 + 1);
                canvas->FillRect(x0, y0, x1, y1);
            }
        }
        if (frames) canvas->FrameRect(x, top, x + width + 1, top + height + 1, kGrey);
    }
    canvas->SetBrushColor(saved);
}

int EditTextCell(cmcCellCapsule& request, uint8_t* field, int32_t width, bool zeroTerminated, int32_t& out) {
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit || request.mode == cmcCellCapsule::kModePick) {
        std::string bytes = UnescapeText(request.editText);
        bytes.resize(static_cast<size_t>(width), zeroTerminated ? '\0' : ' ');
        std::copy(bytes.begin(), bytes.end(), field);
        changed = 1;
    }
    std::string text(reinterpret_cast<const char*>(field), static_cast<size_t>(width));
    text.resize(std::min(text.find('\0'), text.size()));
    if (!zeroTerminated) text.erase(text.find_last_not_of(' ') + 1);

    const int32_t paintWidth = IsLargeGlyphs(CurrentImage()) ? width : kCharsPerLine;
    if (request.canvas) {
        PaintTextCell(request, text, paintWidth, kCharsPerLine, (paintWidth + 11) / 12, false);
        conv::Show(request, std::string());
    } else {
        conv::Show(request, text);
    }
    if (conv::HasKey(request)) {
        const int32_t key = request.key;
        const bool enter = conv::IsEnter(request) || key == conv::kKeyBackspace;
        if (enter || conv::IsPrintableKey(key)) {
            Popups().OpenTextEditor(request, request.texts,
                                    enter ? text : std::string(1, static_cast<char>(key)), enter, width);
            out = cmcCellCapsule::kResultPopupOpened;
        }
    }
    return changed;
}

int UserCharCell(cmcCellCapsule& request, int32_t& out) {
    const int32_t n = request.cell ? request.cell->index : -1;
    if (n < 0 || n >= kUserChars) return 0;
    cmcEeprom& image = CurrentImage();
    const GlyphFormat format = CurrentGlyphFormat(image);
    auto glyphOf = [](const datCh& record) {
        GlyphBytes glyph{};
        std::copy(record.row6Head.begin(), record.row6Head.end(), glyph.begin());
        std::copy(record.row6Body.begin(), record.row6Body.end(), glyph.begin() + kGlyphHeadBytes);
        glyph[kGlyphHeadBytes + record.row6Body.size()] = record.row6Tail;
        return glyph;
    };

    int changed = 0;
    if (request.mode == cmcCellCapsule::kModePick) {
        datCh record(&image);
        record.Load(kRecordUserChar, n);
        GlyphBytes glyph = glyphOf(record);
        ClearGlyph(glyph, format);
        // A short answer leaves the dots it does not reach clear.
        const std::string& dots = request.editText;
        for (int32_t r = 0; r < format.height; ++r)
            for (int32_t c = 0; c < format.width; ++c) {
                const auto at = static_cast<size_t>(c + r * format.width);
                if (at < dots.size() && dots[at] != '0') SetGlyphDot(glyph, format, c, r, true);
            }
        std::copy(glyph.begin(), glyph.begin() + kGlyphHeadBytes, record.row6Head.begin());
        std::copy(glyph.begin() + kGlyphHeadBytes, glyph.begin() + kGlyphHeadBytes + 48,
                  record.row6Body.begin());
        record.row6Tail = glyph[kGlyphHeadBytes + 48];
        record.Store(kRecordUserChar, n);
        changed = 1;
    }

    const std::string code(1, static_cast<char>(kFirstUserChar + n));
    PaintTextCell(request, code, 1, kCharsPerLine, 1, true);

    if (conv::HasKey(request) && conv::IsEnter(request)) {
        datCh record(&image);
        record.Load(kRecordUserChar, n);
        const GlyphBytes glyph = glyphOf(record);
        std::vector<uint8_t> dots;
        dots.reserve(static_cast<size_t>(format.width * format.height));
        for (int32_t r = 0; r < format.height; ++r)
            for (int32_t c = 0; c < format.width; ++c)
                dots.push_back(GlyphDot(glyph, format, c, r) ? 1 : 0);
        const int32_t percent = gEnviron ? gEnviron->FontSizePercentage : 100;
        Popups().OpenCharEditor(request, std::max(14, 14 * percent / 100), format.width, format.height, dots);
        out = cmcCellCapsule::kResultPopupOpened;
    }
    return changed;
}
