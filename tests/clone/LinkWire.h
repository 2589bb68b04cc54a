#pragma once
// Frames as they must appear on the wire between program and radio, built
// here from the protocol's byte layout, and the simulator's log read back in
// the same terms.
#include "image/cmcEeprom.h"
#include "tools/radiosim/RadioSim.h"

#include <cstdio>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace linkwire {

using Bytes = std::vector<uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

inline Bytes Fe(int n) {
    return Bytes(static_cast<size_t>(n), 0xFE);
}

// The link script's settings frames: line speed (item 01) and write flag (item 55).
inline Bytes SpeedFrame(uint8_t d1, uint8_t d2) {
    return Fe(20) + Bytes{0xEE, 0xEF, 0xE8, 0x44, 0x10, 0x00, 0x00, 0x01, d1, d2, 0xFD};
}
inline Bytes WriteFlagFrame(bool write) {
    return Bytes{0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x44,
                 0x10, 0x00, 0x00, 0x55, 0x30, static_cast<uint8_t>(write ? 0x31 : 0x30),
                 0xFD};
}
inline Bytes Command(uint8_t cmd, int leadIn) {
    return Fe(leadIn) + Bytes{0xFE, 0xFE, 0xEE, 0xEF, cmd, 0x44, 0x10, 0x00, 0x00, 0xFD};
}
inline Bytes ProgramDataFrame(const cmcEeprom& image, int address, int n) {
    char text[8];
    unsigned sum = static_cast<unsigned>(address >> 8) + static_cast<unsigned>(address & 0xFF) +
                   static_cast<unsigned>(n);
    std::snprintf(text, sizeof text, "%04X%02X", address, n);
    std::string s = text;
    for (int i = 0; i < n; ++i) {
        const uint8_t b = image.GetByte(address + i);
        sum += b;
        std::snprintf(text, sizeof text, "%02X", b);
        s += text;
    }
    std::snprintf(text, sizeof text, "%02X", (256 - sum % 256) % 256);
    s += text;
    return Bytes{0xFE, 0xFE, 0xEE, 0xEF, 0xE4} + Text(s) + Bytes{0xFD};
}

struct Wire {
    int baud;
    std::string what;
    Bytes bytes;
    bool operator==(const Wire& o) const { return baud == o.baud && what == o.what && bytes == o.bytes; }
};

inline void PrintTo(const Wire& w, std::ostream* os) {
    *os << w.baud << " " << w.what << " " << radiosim::RadioSim::Hex(w.bytes);
}

// What crossed the line in one direction, noise bursts at one speed joined.
inline std::vector<Wire> Sent(const radiosim::RadioSim& sim, bool fromRadio) {
    std::vector<Wire> out;
    for (const radiosim::LogEntry& e : sim.Log()) {
        if (e.fromRadio != fromRadio) continue;
        if (!out.empty() && e.what == "noise" && out.back().what == "noise" && out.back().baud == e.baud)
            out.back().bytes = out.back().bytes + e.bytes;
        else
            out.push_back({e.baud, e.what, e.bytes});
    }
    return out;
}

// A set of the simulator's faults.
inline radiosim::Faults With(const std::function<void(radiosim::Faults&)>& set) {
    radiosim::Faults f;
    set(f);
    return f;
}

// The program's side of a job's start: the link script, then the command frame.
inline std::vector<Wire> LinkScript(bool high, bool write, uint8_t cmd) {
    std::vector<Wire> w = {
        {38400, "noise", SpeedFrame(0x32, 0x37)}, // the radio starts at 9600: noise to it
        {9600, "E8", WriteFlagFrame(write)},
    };
    if (high) {
        w.push_back({9600, "E8", SpeedFrame(0x30, 0x39)});
        w.push_back({38400, "E" + std::string(1, "0123456789ABCDEF"[cmd & 0x0F]), Command(cmd, 48)});
    } else {
        w.push_back({38400, "noise", SpeedFrame(0x32, 0x37)});
        w.push_back({9600, "E" + std::string(1, "0123456789ABCDEF"[cmd & 0x0F]), Command(cmd, 12)});
    }
    return w;
}

} // namespace linkwire
