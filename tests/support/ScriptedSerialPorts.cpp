#include "tests/support/ScriptedSerialPorts.h"

#include <algorithm>
#include <cerrno>

namespace plat {

class ScriptedSerialPorts::Port : public SerialPort {
public:
    explicit Port(ScriptedSerialPorts* owner) : o_(owner) {}
    ~Port() override { Close(); }

    int Open(const std::string& path) override {
        o_->paths.push_back(path);
        if (path.empty()) return ENOENT;
        if (o_->openError != 0) return o_->openError;
        if (open_ || o_->isOpen) return EBUSY;
        open_ = o_->isOpen = true;
        ++o_->opens;
        return 0;
    }
    bool Configure(const SerialSettings& s) override {
        o_->settings.push_back(s);
        return open_ && !(o_->refuseSettings && o_->refuseSettings(s));
    }
    bool Purge() override {
        ++o_->purges;
        return open_;
    }
    bool Drain(uint32_t) override {
        ++o_->drains;
        return open_ && o_->outQueue == 0;
    }
    int Read(uint8_t* buffer, int n) override {
        if (!open_) return -1;
        int k = std::min<int>(n, static_cast<int>(o_->input.size()));
        if (o_->readLimit >= 0) k = std::min(k, o_->readLimit);
        for (int i = 0; i < k; ++i) {
            buffer[i] = o_->input.front();
            o_->input.pop_front();
        }
        return k;
    }
    int Write(const uint8_t* data, int n, uint32_t timeoutMs) override {
        if (!open_) return -1;
        o_->writeSizes.push_back(n);
        o_->writeTimeouts.push_back(timeoutMs);
        const int k = o_->writeLimit >= 0 ? std::min(n, o_->writeLimit) : n;
        o_->written.insert(o_->written.end(), data, data + k);
        if (o_->onWrite) o_->onWrite(data, k);
        return k;
    }
    int InQueue() override { return open_ ? static_cast<int>(o_->input.size()) : -1; }
    int OutQueue() override { return open_ ? o_->outQueue : -1; }
    void Close() override {
        if (open_) o_->isOpen = false;
        open_ = false;
    }

private:
    ScriptedSerialPorts* o_;
    bool open_ = false;
};

ScriptedSerialPorts::~ScriptedSerialPorts() {
    if (installed_) SetSerialPorts(nullptr);
}

std::unique_ptr<SerialPort> ScriptedSerialPorts::CreatePort() {
    return std::make_unique<Port>(this);
}

void ScriptedSerialPorts::Install() {
    SetSerialPorts(this);
    installed_ = true;
}

} // namespace plat
