#pragma once
#include "cells/RecordForm.h"
#include "cells/cloning/ToneScanMakerLists.h"

#include <array>
#include <cstddef>
#include <cstdint>

struct CellFrame;

// What the signalling cells share about decoding a call: the decode options of
// a receive code, the same record fields with the same lists in a five-tone
// receive code (record kind 10) and a DTMF decode code (kind 25); and the
// window of frequencies a tone decoder accepts around its tone.
namespace decode {

// The receive ABC code converter on a record field.
int RxAbc(CellFrame& frame, int32_t& value);

struct Option {
    const char* fiveTone; // the option's cell on the five-tone receive sheet
    const char* dtmf;     // and on the DTMF decode sheet
    recform::Member field;
    form::Conv conv;
    recform::ValueConvert convert = nullptr;
    // The five-tone heading row has no code to answer or pass on.
    recform::Heading heading = recform::Heading::Edited;
};

using recform::Heading;

// clang-format off
inline constexpr Option kOptions[] = {
    {"CL_5TRx_IdDec", "CL_Dtmf_Decode_IdDec", &datCh::decIdDec, form::Sel(tsmlist::kOnOff2)},
    {"CL_5TRx_Bell", "CL_Dtmf_Decode_Bell", &datCh::decBell, form::Sel(tsmlist::kRxBell)},
    {"CL_5TRx_EmerCancel", "CL_Dtmf_Decode_EmerCancel", &datCh::decEmerCancel, form::Sel(tsmlist::kOnOff2)},
    {"CL_5TRx_Abc", "CL_Dtmf_Decode_Abc", &datCh::decAbc, {}, RxAbc, Heading::Dashed},
    {"CL_5TRx_Exo", "CL_Dtmf_Decode_Exo", &datCh::decExo, form::Sel(tsmlist::kOnOff2)},
    {"CL_5TRx_Beep", "CL_Dtmf_Decode_Beep", &datCh::decBeep, form::Sel(tsmlist::kRxBeep)},
    {"CL_5TRx_AutoTx", "CL_Dtmf_Decode_AutoTx", &datCh::decAutoTx, form::Sel(tsmlist::kOnOff2), nullptr, Heading::Dashed},
    {"CL_5TRx_Aud", "CL_Dtmf_Decode_Aud", &datCh::decAud, form::Sel(tsmlist::kRxAudio)},
    {"CL_5TRx_Stun", "CL_Dtmf_Decode_Stun", &datCh::decStun, form::Sel(tsmlist::kRxStun)},
    {"CL_5TRx_Scan", "CL_Dtmf_Decode_Scan", &datCh::decScan, form::Sel(tsmlist::kRxScan)},
    {"CL_5TRx_Sfunc", "CL_Dtmf_Decode_Sfunc", &datCh::decSfunc, form::Sel(tsmlist::kOnOff2)},
};
// clang-format on

enum class Family : uint8_t { FiveTone, Dtmf };

// The options as rows of one sheet's cells; either sheet's cells keep a
// record of the other kind that their category loaded.
constexpr std::array<recform::Row, std::size(kOptions)> RowsOf(Family family) {
    const bool fiveTone = family == Family::FiveTone;
    const recform::Kinds kinds = fiveTone ? recform::Kinds{recform::kFiveToneRx, recform::kDtmfRx}
                                          : recform::Kinds{recform::kDtmfRx, recform::kFiveToneRx};
    std::array<recform::Row, std::size(kOptions)> rows{};
    for (size_t i = 0; i < rows.size(); ++i) {
        const Option& o = kOptions[i];
        const char* name = fiveTone ? o.fiveTone : o.dtmf;
        rows[i] = recform::Field(name, kinds, o.field, o.conv, o.heading);
        rows[i].value = o.convert;
    }
    return rows;
}

inline constexpr auto kFiveToneRows = RowsOf(Family::FiveTone);
inline constexpr auto kDtmfRows = RowsOf(Family::Dtmf);

// The band a decoder accepts around a tone (both in tenths of a hertz): the
// frequency less and more percent of it, each rounded half up, held to
// lowest..highest.
struct Window {
    int32_t low = 0;
    int32_t high = 0;
};
Window WindowAround(int32_t frequency, int32_t percent, int32_t lowest, int32_t highest);

} // namespace decode
