#include "cells/ConvSupport.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace conv {

void Show(cmcCellCapsule& request, std::string text) {
    request.displayText = std::move(text);
    request.selStart = 0;
    request.selLength = static_cast<int32_t>(request.displayText.size());
}

void OpenEditor(cmcCellCapsule& request, const std::string& enterText, int32_t& out) {
    if (IsEnter(request)) {
        OpenEditorOn(request, enterText, out);
        return;
    }
    out = cmcCellCapsule::kResultOpenEditor;
    request.displayText = std::string(1, static_cast<char>(request.key));
    request.selStart = static_cast<int32_t>(request.displayText.size());
    request.selLength = 0;
}

void OpenEditorOn(cmcCellCapsule& request, const std::string& text, int32_t& out) {
    out = cmcCellCapsule::kResultOpenEditor;
    Show(request, text);
}

void OpenEditorAt(cmcCellCapsule& request, const std::string& text, int32_t from, int32_t& out) {
    out = cmcCellCapsule::kResultOpenEditor;
    request.displayText = text;
    const auto length = static_cast<int32_t>(text.size());
    request.selStart = from < length ? from : length;
    request.selLength = length - request.selStart;
}

std::string Trimmed(const std::string& text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t first = 0, last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::string UpperCased(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::vector<char> buffer(static_cast<size_t>(n > 0 ? n : 0) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, again);
    va_end(again);
    return std::string(buffer.data(), static_cast<size_t>(n > 0 ? n : 0));
}

} // namespace conv

#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "platform/Fatal.h"

namespace conv {

cmcGTex& TextsOf(const cmcCellCapsule& request) {
    if (request.texts) return *request.texts;
    if (!gGTex) plat::Fatal("No text table for the cell.");
    return *gGTex;
}

std::string FirstLine(const cmcCellCapsule& request, const char* key) {
    return TextsOf(request).GetTextLine(key, 0);
}

} // namespace conv

#include "cells/cmcCellObj.h"

namespace conv {

const cmcCellObj* PickedItem(const cmcCellCapsule& request) {
    if (request.mode != cmcCellCapsule::kModePick || !request.linkedRequest) return nullptr;
    return request.linkedRequest->cell;
}

cmcCellCapsule OpenerOf(const cmcCellCapsule& request) {
    cmcCellCapsule opener = request;
    opener.mode = cmcCellCapsule::kModeFormat;
    opener.linkedRequest = nullptr;
    opener.key = 0;
    return opener;
}

int32_t PickedList(const cmcCellCapsule& request) {
    const cmcCellObj* item = PickedItem(request);
    return item ? item->cellId : 0;
}

} // namespace conv
