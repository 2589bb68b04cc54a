#pragma once
#include "clone/SerialPort.h"
#include "foundation/cmcBuff.h"

#include <cstdint>
#include <memory>
#include <string>

class cmcTask;

// One serial port for the clone link. Reads never wait; writes go into a
// pending buffer that a timer task hands to the device in chunks, one chunk
// whenever the device's output queue is empty, so the driver never waits for
// the line. A chunk the device does not take in full sets the write-failed flag.
//
// A device write returns as soon as the system has the bytes, long before
// they are on the line, and a pseudo-terminal reports no output queue at
// all. So the port also counts the time the bytes it handed over need on the
// line at its settings: until that has passed they are output still to go,
// and a speed switch, a purge or a close would cut them off.
class cmcComm {
public:
    cmcComm();
    ~cmcComm();
    cmcComm(const cmcComm&) = delete;
    cmcComm& operator=(const cmcComm&) = delete;

    // Opens COM<port> with a settings text "baud,parity,data bits,stop bits"
    // ("9600,n,8,1"). False when already open or when any step fails; a port
    // that failed after the device was opened is closed again.
    bool Open(int port, const std::string& settings);
    // Why the last open failed: the device and the system's reason (no
    // error when the device opened and a later step failed).
    const plat::PortOpenFailure& OpenFailure() const { return openFailure_; }
    // Switches the port to other settings as a close and an open would, but
    // keeps the device, and with it the hold on it, when COM<port> is already
    // open: the output still queued goes out first, then both queues are
    // dropped. Otherwise Open. A failure leaves the port closed.
    bool Reopen(int port, const std::string& settings);
    void Close();
    bool IsOpen() const { return device_ != nullptr; }
    bool HasWriteError() const { return writeFailed_ != 0; }

    // At most length waiting bytes; 0 when closed, nothing waits or the read fails.
    int Read(uint8_t* buffer, int length);
    // Queues the bytes and starts handing them to the device at once.
    int Write(const uint8_t* data, int length);

    // Bytes in the device's queues; 0 when closed or the query fails.
    int InQueue();
    int OutQueue();
    // Output not yet on the line: what is still pending here, and the device's
    // output queue or the bytes still inside their line time, whichever is more.
    int PendingOut();

    // Field n of a text split at one separator (the settings text); empty past the last.
    static std::string Field(const std::string& text, char separator, int n);

    int PortNumber() const { return port_; }
    const plat::SerialSettings& Settings() const { return settings_; }
    // The device gets this long for a chunk of n bytes: the line time with a
    // wide margin (100000 / baud ms a byte) and 3 s on top.
    uint32_t WriteTimeout(int n) const;
    // Microseconds a character takes on the line: start bit, data bits, parity and stop bits.
    uint32_t CharMicros() const;

private:
    bool ParseSettings(const std::string& text);
    // The queues dropped and the settings text put in force.
    bool Apply(plat::SerialPort& device, const std::string& settings);
    static void OnWriter(void* user, cmcTask* task);
    void RunWriter();
    void DropPending(int n);
    // Bytes handed to the device whose line time has not passed yet.
    int OnTheLine();
    // Counts n bytes just handed to the device: they follow whatever is still on the line.
    void PutOnTheLine(int n);

    std::unique_ptr<plat::SerialPort> device_;
    int port_ = 0;
    plat::PortOpenFailure openFailure_;
    int writeFailed_ = 0;
    int chunkSize_ = 1024;
    cmcBuff pending_;
    plat::SerialSettings settings_;
    cmcTask* writer_;
    // The line time still to run for the bytes handed over, as of lineTick_.
    uint64_t lineMicros_ = 0;
    uint32_t lineTick_ = 0;
};
