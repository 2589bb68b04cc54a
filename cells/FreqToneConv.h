#pragma once
#include <cstdint>
#include <string>

class cmcCellCapsule;
class datCh;
struct datTone;

// The channel cells for receive and transmit frequency and for the receive
// and transmit tone squelch (CTCSS tone or DTCS code). They work on a channel
// row record and follow the request protocol of the cell engine (see
// NumberConv.h).

// The channel raster's frequency for a typed one: the typed digits fix a
// window (146.52 MHz looks in 146.520000..146.529999), and the first frequency
// in it at or above the typed one that is a multiple of 2500 or 3125 Hz (5000
// or 6250 when wide) is the answer; -1 when the window holds none.
int32_t RoundUpToChannelStep(int32_t frequency, bool wide);

// The receive (isReceive) or transmit frequency of a channel. A new receive
// frequency takes an equal transmit frequency with it, and on a channel that
// was not programmed sets the transmit frequency to itself plus offset.
int ConvFrequencyCell(cmcCellCapsule& request, datCh& record, bool isReceive, int32_t offset, int32_t& out);

// The same on the fields of any program's channel record. A program whose
// records say themselves whether they are in use (blankByInUse) shows a
// channel not in use as blank whatever its frequency and marks the receive
// word's top bit only when a frequency first makes it one. roundBeforeLimit
// rounds a typed frequency before holding it to the range, so that one above
// the range finds no raster point and changes nothing.
struct ChannelFrequencies {
    int32_t rxFreq = 0;
    int32_t txFreq = 0;
    bool programmed = false;
    bool rxFreqTopBit = false;
};
struct FrequencyOptions {
    int32_t offset = 0;
    bool blankByInUse = false;
    bool roundBeforeLimit = false;
};
int ConvFrequency(cmcCellCapsule& request, ChannelFrequencies& record, bool isReceive,
                  const FrequencyOptions& options, int32_t& out);
int ConvChannelFreqCell(cmcCellCapsule& request, datCh& record, bool isReceive, int32_t& out);

// The receive or transmit tone of a channel, from the tone list or typed as a
// tone name or a DTCS code ("023N", "754I").
int ConvCtcssDtcsCell(cmcCellCapsule& request, datCh& record, bool isReceive, int32_t& out);
// The same on a row's two tones wherever its record keeps them.
int ConvToneCell(cmcCellCapsule& request, datTone& rxTone, datTone& txTone, bool isReceive, int32_t& out);

// How many of the comma-separated items on the lines of listKey (up to the
// next key) begin with the typed text, and the number of the first of them.
int32_t MatchListPrefix(const cmcCellCapsule& request, const std::string& listKey, const std::string& typed,
                        int32_t& firstIndex);
