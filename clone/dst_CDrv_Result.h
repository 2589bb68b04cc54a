#pragma once
#include "clone/SerialPort.h"
#include "foundation/cmcBuff.h"
#include "image/cmcEeprom.h"

// Clone result codes. The clone commands add their own codes to the same number space.
enum CloneResult : int {
    kCloneOk = 0,
    kClonePortNotOpened = 2,
    kCloneEchoMismatch = 4,
    kCloneTimeout = 5,
    kCloneBadFrame = 6,       // bad frame or information reply, refusal byte, end frame text
    kCloneEndCount = 7,       // end frame count differs from the frames received
    kCloneMissing = 8,        // requested addresses missing
    kCloneOutside = 9,        // address outside the image, or not requested
    kCloneBadEndAck = 10,     // end acknowledgement wrong
    kCloneBadInfo = 11,       // information reply too short for what it claims
    kClonePortWriteError = 17 // the port took fewer bytes than it was given
};

// The outcome of one clone job, handed to the job's done handler. The driver
// owns it; the handler borrows it and copies what it keeps.
struct dst_CDrv_Result {
    dst_CDrv_Result(int op, int word1, int word2, int imageBound)
        : operation(op), info1(word1), info2(word2) {
        image.SetSize(imageBound);
    }

    int operation; // 1 information, 2 read, 3 write
    int result = kClonePortNotOpened;
    int info1; // information words, big-endian in the reply
    int info2;
    cmcBuff payload;  // information reply bytes after the words, as received
    cmcEeprom image;  // what was read, or the image being written
    cmcBuff received; // bit k mod 8 of byte k div 8 set when address k was stored
    // With kClonePortNotOpened: the device and why it could not be opened.
    plat::PortOpenFailure portFailure;

    bool WasReceived(int32_t address) const {
        return address >= 0 && address / 8 < received.Size() &&
               (received.Data()[address / 8] >> (address % 8) & 1) != 0;
    }
};
