#pragma once
#include "cells/cmcCellCapsule.h"

#include <cstdint>
#include <string>

// What every converter does with a request once it knows the value's text:
// the text goes to displayText with the whole text selected, and an accepted
// key asks the host for its in-place editor. Shared by the converter families.
namespace conv {

constexpr int32_t kKeyBackspace = 8;
constexpr int32_t kKeySpace = 32;

inline bool IsEnter(const cmcCellCapsule& request) {
    return request.IsEnter();
}
inline bool IsDigitKey(int32_t key) {
    return key >= '0' && key <= '9';
}
inline bool IsHexKey(int32_t key) {
    return IsDigitKey(key) || (key >= 'A' && key <= 'F') || (key >= 'a' && key <= 'f');
}
inline bool IsPrintableKey(int32_t key) {
    return key >= 32 && key <= 126;
}
// A key the cell may act on: typed keys mean something only where an editor can open.
inline bool HasKey(const cmcCellCapsule& request) {
    return request.editGrid != nullptr && request.key != 0;
}

// The value's text, whole text selected.
void Show(cmcCellCapsule& request, std::string text);

// Asks for the in-place editor: with Enter it opens on the given text (whole
// text selected), with any other key on that key's character alone, caret behind it.
void OpenEditor(cmcCellCapsule& request, const std::string& enterText, int32_t& out);

// Asks for the in-place editor on the given text, whole text selected, whatever the key.
void OpenEditorOn(cmcCellCapsule& request, const std::string& text, int32_t& out);

// The same, with the selection starting at from (the rest of the text selected).
void OpenEditorAt(cmcCellCapsule& request, const std::string& text, int32_t from, int32_t& out);

// Leading and trailing blanks, tabs and control characters removed.
std::string Trimmed(const std::string& text);
std::string UpperCased(std::string text);

// printf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace conv

class cmcGTex;
namespace conv {
// The text table of the request, else the program's.
cmcGTex& TextsOf(const cmcCellCapsule& request);
// Line 0 of a key of that table.
std::string FirstLine(const cmcCellCapsule& request, const char* key);
} // namespace conv

class cmcCellObj;
namespace conv {
// The item cell of a pick (mode 2 with a linked request that carries a cell); null otherwise.
const cmcCellObj* PickedItem(const cmcCellCapsule& request);
// A copy of the request to hand to a pop-up opened while a pick is taken: the
// pop-up answers with a pick of its own.
cmcCellCapsule OpenerOf(const cmcCellCapsule& request);
// The list cell id of a pick; 0 without one.
int32_t PickedList(const cmcCellCapsule& request);
} // namespace conv
