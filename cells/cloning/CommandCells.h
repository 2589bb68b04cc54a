#pragma once
#include <cstdint>
#include <optional>
#include <string>

class cmcCellCapsule;

// What the command cells and the frame's own commands share.

// The program's help file (its profile's help file key names it, beside the program) is named
// for the length of one request: a context number shows that topic's pop-up,
// none the viewer's finder.
void ShowProgramHelp(const cmcCellCapsule& request, std::optional<int32_t> context);

// The n characters at the offset of the radio's information block as one
// hexadecimal number; none when one of them is no hexadecimal digit.
std::optional<uint32_t> InfoHexAt(const uint8_t* info, int32_t offset, int32_t n);

// The serial number (12 hexadecimal characters at offset 37) as the
// information sheet shows it; none when a character is no hexadecimal digit.
std::optional<std::string> FormatSerialNumber(const uint8_t* info);

// Every overlay key that the frame and the command cells read, with the
// number of lines the cells take from it; the profile's keys are the profile's.
struct CommandCellKey {
    const char* key;
    int32_t lines;
};
inline constexpr CommandCellKey kCommandCellKeys[] = {
    {"GI_AppUnitIdMax", 1},
    {"GI_AppInd_Model", 10},
    {"GI_Mess_CloneInfo_Model", 2},
    {"GI_Mess_CloneInfo_TenKey", 2},
    {"GI_Mess_CloneInfo_Opt_Kx21", 1},
    {"GI_Mess_CloneInfo_Opt_Kx22", 1},
    {"GI_Mess_CloneInfo_Opt_Kx24", 1},
    {"GI_Mess_CloneInfo_Opt_Kx25", 1},
    {"GI_Mess_CloneInfo_Opt_Kx28", 1},
    {"GI_Mess_CloneInfo_Opt_Digi", 3},
    {"GI_Mess_CloneInfo_OverVolt", 1},
};
