#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace plat {

// Line settings of a serial port, as the program's settings texts give them.
struct SerialSettings {
    int baud = 9600;
    int dataBits = 8;
    int parity = 0;   // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int stopBits = 0; // 0 one, 1 one and a half, 2 two
    uint8_t xonChar = 0x11;
    uint8_t xoffChar = 0x13;
};

// One serial device, opened for exclusive reading and writing: one program
// holds it at a time, whoever runs it, and never longer than it is open (a
// program that dies leaves it free). Reads never wait; a write blocks until
// every byte is taken or its time-out runs out.
class SerialPort {
public:
    virtual ~SerialPort() = default;
    // Opens an existing device: 0, or the system's error number when it is
    // missing (ENOENT), held by another program or another port (EBUSY), not
    // the user's to use (EACCES) or not a terminal (ENOTTY).
    virtual int Open(const std::string& path) = 0;
    // Raw 8-bit transfer at the settings, no flow control, DTR off and RTS on.
    virtual bool Configure(const SerialSettings& settings) = 0;
    // Drops whatever waits in either direction.
    virtual bool Purge() = 0;
    // Waits until the output queue is empty, at most timeoutMs; false when bytes are still queued then.
    virtual bool Drain(uint32_t timeoutMs) = 0;
    // Up to n bytes that are waiting; 0 when none, -1 when the read fails.
    virtual int Read(uint8_t* buffer, int n) = 0;
    // The number of bytes the device took within timeoutMs; -1 when the write fails at once.
    virtual int Write(const uint8_t* data, int n, uint32_t timeoutMs) = 0;
    // Bytes waiting in the input and output queues; -1 when the query fails.
    virtual int InQueue() = 0;
    virtual int OutQueue() = 0;
    virtual void Close() = 0;
};

// Why a port could not be opened: its device path and the system's error
// number. No error: the port opened, or it was never tried.
struct PortOpenFailure {
    std::string path;
    int error = 0;

    // The device is not there at all (or has no hardware behind it), as
    // opposed to one that is there but cannot be used.
    bool IsMissing() const;
};

// Where serial ports come from: the POSIX devices unless another service is installed.
class SerialService {
public:
    virtual ~SerialService() = default;
    virtual std::unique_ptr<SerialPort> CreatePort() = 0;
};

SerialService& SerialPorts();
// Installs a service (tests, fuzzers); null restores the POSIX devices.
void SetSerialPorts(SerialService* service);

// The device path of a COM port number: COM1-4 are /dev/ttyS0-3, COM5 and up
// /dev/ttyUSB0 and up. When TOLVANE_COM_DIR names a folder, every port is that
// folder's entry "COM<n>" instead (usually a link to a device or pseudo-terminal).
// Empty for numbers below 1.
std::string ComPortPath(int number);

} // namespace plat
