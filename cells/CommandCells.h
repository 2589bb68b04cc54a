#pragma once
#include <cstdint>
#include <optional>
#include <string>

class cmcCellCapsule;

// What the command cells and the frame's own commands share.

// The program's help file ("GI_Sys_MyHelpFile" beside the program) is named
// for the length of one request: a context number shows that topic's pop-up,
// none the viewer's finder.
void ShowProgramHelp(const cmcCellCapsule& request, std::optional<int32_t> context);

// The serial number (12 hexadecimal characters at offset 37) as the
// information sheet shows it; none when a character is no hexadecimal digit.
std::optional<std::string> FormatSerialNumber(const uint8_t* info);
