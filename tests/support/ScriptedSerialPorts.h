#pragma once
#include "clone/SerialPort.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace plat {

// Test double for the serial devices: every port it creates reads from one
// scripted input queue and records what is opened, set and written. Tests
// answer the program from onWrite; fuzzers feed the input queue.
class ScriptedSerialPorts : public SerialService {
public:
    ScriptedSerialPorts() = default;
    ~ScriptedSerialPorts() override;
    ScriptedSerialPorts(const ScriptedSerialPorts&) = delete;
    ScriptedSerialPorts& operator=(const ScriptedSerialPorts&) = delete;

    std::unique_ptr<SerialPort> CreatePort() override;
    // Installs this service; the POSIX devices come back on destruction.
    void Install();

    void Feed(const std::vector<uint8_t>& bytes) { input.insert(input.end(), bytes.begin(), bytes.end()); }

    // What the device does.
    int openError = 0; // the error number every open fails with; 0 opens
    std::function<bool(const SerialSettings&)> refuseSettings; // true refuses the settings
    int writeLimit = -1;                                       // bytes taken per write call; -1 all
    int outQueue = 0;                                          // reported output queue
    int readLimit = -1;                                        // bytes handed out per read call; -1 all
    std::deque<uint8_t> input;
    std::function<void(const uint8_t* data, int n)> onWrite; // called with the bytes taken

    // What the program did.
    bool isOpen = false;
    int opens = 0;
    int purges = 0;
    int drains = 0;
    std::vector<std::string> paths;
    std::vector<SerialSettings> settings;
    std::vector<int> writeSizes;
    std::vector<uint32_t> writeTimeouts;
    std::vector<uint8_t> written;

private:
    class Port;
    bool installed_ = false;
};

} // namespace plat
