#pragma once
#include "clone/SerialPort.h"

namespace plat {

// A serial port on a POSIX terminal device (termios), also a pseudo-terminal.
class PosixSerialPort : public SerialPort {
public:
    PosixSerialPort() = default;
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    int Open(const std::string& path) override;
    bool Configure(const SerialSettings& settings) override;
    bool Purge() override;
    bool Drain(uint32_t timeoutMs) override;
    int Read(uint8_t* buffer, int n) override;
    int Write(const uint8_t* data, int n, uint32_t timeoutMs) override;
    int InQueue() override;
    int OutQueue() override;
    void Close() override;

private:
    int fd_ = -1;
};

} // namespace plat
