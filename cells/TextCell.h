#pragma once
#include <cstdint>
#include <string_view>

class cmcCellCapsule;

// The cells of the radio's texts: a fixed-width text field shown in the
// radio's own dots and edited in the text editor, and a user-defined
// character edited in the character editor. Both paint with PaintTextCell.

// Paints the bytes as radio display characters in the request's cell, when the
// request has a canvas: count characters, perLine to a line, at most lines
// lines (and never more than two); with frames each character gets a grey frame.
void PaintTextCell(const cmcCellCapsule& request, std::string_view bytes, int32_t count, int32_t perLine,
                   int32_t lines, bool frames);

// A text field of width bytes, blank-padded or (zeroTerminated) ended by a 0
// byte. A commit or the text editor's answer (mode 1 or 2) stores the
// unescaped edit text, padded or cut to the width; Enter, backspace or a
// printable key opens the text editor (out = 1). Returns 1 on a change.
int EditTextCell(cmcCellCapsule& request, uint8_t* field, int32_t width, bool zeroTerminated, int32_t& out);

// The user-defined character of the request cell's index n (code 16 + n) in
// the current display type, kept in the kind-6 record n of the current image.
// The character editor's answer (mode 2) is one '0' or '1' a dot, row after
// row from the top, each row from the left (dot (x, y) at x + y * width), the
// order the editor keeps its dots in for both programs; Enter opens the
// editor on the dots in the same order (out = 1).
int UserCharCell(cmcCellCapsule& request, int32_t& out);
