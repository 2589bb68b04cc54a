#include "clone/cmcComm.h"

#include "foundation/TextUtil.h"
#include "foundation/cmcTask.h"
#include "platform/Timer.h"

#include <algorithm>
#include <cstdlib>

cmcComm::cmcComm() : writer_(new cmcTask) {
    writer_->SetHandler(&cmcComm::OnWriter, this);
}

cmcComm::~cmcComm() {
    Close();
    cmcTask::Dispose(writer_);
}

std::string cmcComm::Field(const std::string& text, char separator, int n) {
    return GetField(text, separator, n).value_or(std::string());
}

bool cmcComm::ParseSettings(const std::string& text) {
    plat::SerialSettings s;
    const std::string baud = Field(text, ',', 0);
    char* end = nullptr;
    const long b = std::strtol(baud.c_str(), &end, 10);
    // The write time-out divides by the baud rate.
    if (end == baud.c_str() || b <= 0 || b > 4000000) return false;
    s.baud = static_cast<int>(b);
    switch (Field(text, ',', 1).c_str()[0]) {
    case 'O':
    case 'o':
        s.parity = 1;
        break;
    case 'E':
    case 'e':
        s.parity = 2;
        break;
    case 'M':
    case 'm':
        s.parity = 3;
        break;
    case 'S':
    case 's':
        s.parity = 4;
        break;
    default:
        s.parity = 0;
        break;
    }
    s.dataBits = std::clamp(std::atoi(Field(text, ',', 2).c_str()), 4, 8);
    const std::string stop = Field(text, ',', 3);
    s.stopBits = stop == "1.5" ? 1 : stop == "2" ? 2 : 0;
    settings_ = s;
    return true;
}

bool cmcComm::Open(int port, const std::string& settings) {
    if (IsOpen()) return false;
    openFailure_ = {plat::ComPortPath(port), 0};
    std::unique_ptr<plat::SerialPort> device = plat::SerialPorts().CreatePort();
    if (!device) return false;
    openFailure_.error = device->Open(openFailure_.path);
    if (openFailure_.error != 0) return false;
    port_ = port;
    writeFailed_ = 0;
    lineMicros_ = 0;
    if (!Apply(*device, settings)) {
        device->Close();
        return false;
    }
    device_ = std::move(device);
    return true;
}

bool cmcComm::Reopen(int port, const std::string& settings) {
    if (!IsOpen() || port != port_) {
        Close();
        return Open(port, settings);
    }
    // Closed for a moment, the device would be free for another program.
    writer_->SetInterval(-1);
    pending_.SetSize(0);
    writeFailed_ = 0;
    lineMicros_ = 0;
    openFailure_ = {plat::ComPortPath(port), 0};
    // A device that does not empty its queue in the line time loses the rest to the purge.
    device_->Drain(WriteTimeout(OutQueue()));
    if (!Apply(*device_, settings)) {
        Close();
        return false;
    }
    return true;
}

bool cmcComm::Apply(plat::SerialPort& device, const std::string& settings) {
    return device.Purge() && ParseSettings(settings) && device.Configure(settings_);
}

void cmcComm::Close() {
    writer_->SetInterval(-1);
    if (device_) {
        device_->Close();
        device_.reset();
    }
    pending_.SetSize(0);
    writeFailed_ = 0;
    lineMicros_ = 0;
}

int cmcComm::Read(uint8_t* buffer, int length) {
    if (!device_ || length <= 0) return 0;
    return std::max(device_->Read(buffer, length), 0);
}

int cmcComm::Write(const uint8_t* data, int length) {
    if (!device_ || length <= 0) return 0;
    writer_->SetInterval(-1);
    pending_.Append(data, length);
    RunWriter();
    return 0;
}

int cmcComm::InQueue() {
    return device_ ? std::max(device_->InQueue(), 0) : 0;
}

int cmcComm::OutQueue() {
    return device_ ? std::max(device_->OutQueue(), 0) : 0;
}

int cmcComm::PendingOut() {
    return std::max(OutQueue(), OnTheLine()) + pending_.Size();
}

uint32_t cmcComm::CharMicros() const {
    const uint32_t bits =
        1 + settings_.dataBits + (settings_.parity != 0 ? 1 : 0) + (settings_.stopBits != 0 ? 2 : 1);
    return static_cast<uint32_t>(
        (1000000u * static_cast<uint64_t>(bits) + static_cast<uint64_t>(settings_.baud) - 1) /
        static_cast<uint64_t>(settings_.baud));
}

int cmcComm::OnTheLine() {
    const uint32_t now = plat::SystemClock().TickCount();
    const uint64_t passed = static_cast<uint64_t>(now - lineTick_) * 1000u;
    lineMicros_ = passed < lineMicros_ ? lineMicros_ - passed : 0;
    lineTick_ = now;
    const uint64_t perChar = CharMicros();
    return static_cast<int>((lineMicros_ + perChar - 1) / perChar);
}

void cmcComm::PutOnTheLine(int n) {
    if (n <= 0) return;
    OnTheLine();
    lineMicros_ += static_cast<uint64_t>(n) * CharMicros();
}

uint32_t cmcComm::WriteTimeout(int n) const {
    return static_cast<uint32_t>(n) * (100000u / static_cast<uint32_t>(settings_.baud)) + 3000u;
}

void cmcComm::OnWriter(void* user, cmcTask*) {
    static_cast<cmcComm*>(user)->RunWriter();
}

void cmcComm::DropPending(int n) {
    if (n >= pending_.Size()) {
        pending_.SetSize(0);
    } else if (n > 0) {
        pending_.Set(pending_.Data() + n, pending_.Size() - n);
    }
}

void cmcComm::RunWriter() {
    const int n = std::min(pending_.Size(), chunkSize_);
    if (!device_ || n == 0) {
        writer_->SetInterval(-1);
        return;
    }
    if (OutQueue() != 0) {
        writer_->SetInterval(10);
        return;
    }
    const int written = device_->Write(pending_.Data(), n, WriteTimeout(n));
    PutOnTheLine(written);
    if (written < n) {
        writeFailed_ = 1;
        DropPending(written);
        writer_->SetInterval(-1);
        return;
    }
    DropPending(n);
    writer_->SetInterval(pending_.Size() > 0 ? 10 : -1);
}
