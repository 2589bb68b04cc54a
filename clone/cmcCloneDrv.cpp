#include "clone/cmcCloneDrv.h"

#include "foundation/TextUtil.h"
#include "foundation/cmcTask.h"
#include "image/cmcEeprom.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

constexpr uint8_t kGo = 0xFB;
constexpr uint8_t kRefuse = 0xFA;
constexpr char kMaker[] = "Morv Inc.";
constexpr int kMakerLength = 9;
// Result code of a data frame that was stored; the job goes on.
constexpr int kAccepted = 1;

int HexValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsBcdByte(uint8_t b) {
    return (b >> 4) <= 9 && (b & 0x0F) <= 9;
}

void Hex2(cmcBuff& out, unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    out.Add(static_cast<uint8_t>(digits[value >> 4 & 0x0F]));
    out.Add(static_cast<uint8_t>(digits[value & 0x0F]));
}

} // namespace

cmcCloneDrv::cmcCloneDrv() : task_(new cmcTask) {
    task_->SetHandler(&cmcCloneDrv::OnTaskTick, this);
    settle_ = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
}

cmcCloneDrv::~cmcCloneDrv() {
    if (alive_) *alive_ = false;
    cmcTask::Dispose(task_);
}

void cmcCloneDrv::SetModel(int a, int b) {
    modelA_ = a;
    modelB_ = b;
}

void cmcCloneDrv::SetImageSize(int bound) {
    imageBound_ = bound;
}

void cmcCloneDrv::SetPort(int port, const std::string& settings) {
    portNumber_ = port;
    mainSettings_ = settings;
}

void cmcCloneDrv::SetCommandLeadIn(int n) {
    cmdLeadIn_ = n;
}

void cmcCloneDrv::SetDataLeadIns(int later, int first) {
    dataLeadInLater_ = later;
    dataLeadInFirst_ = first;
}

void cmcCloneDrv::SetAck(int period, int phase) {
    if (period > 0) ackPeriod_ = period;
    if (phase > 0) ackPhase_ = phase;
}

void cmcCloneDrv::SetTimeout(int baseMs) {
    if (baseMs > 0) baseTimeout_ = baseMs;
}

void cmcCloneDrv::SetGoTimeout(int ms) {
    if (ms > 0) goTimeout_ = ms;
}

void cmcCloneDrv::SetSettleWait(SettleWait wait) {
    settle_ = std::move(wait);
}

void cmcCloneDrv::BeginJob(int operation, DoneHandler handler, void* user, int periodMs) {
    handler_ = handler;
    user_ = user;
    portBytes_ = frames_ = dataBytes_ = 0;
    itemIndex_ = 0;
    operation_ = operation;
    state_ = kSettle;
    decided_ = false;
    result_ = std::make_unique<dst_CDrv_Result>(operation, modelA_, modelB_, imageBound_);
    task_->SetInterval(periodMs);
}

bool cmcCloneDrv::SetRanges(const RangeList& ranges, int32_t last) {
    std::vector<AddressRange> used;
    for (const AddressRange& r : ranges) {
        if (r.last < r.first) break;
        if (r.first < 0 || r.last > last) return false;
        used.push_back(r);
    }
    ranges_ = std::move(used);
    hasRanges_ = true;
    rangeIndex_ = 0;
    return true;
}

bool cmcCloneDrv::StartInfo(DoneHandler handler, void* user) {
    if (IsBusy()) return false;
    hasRanges_ = false;
    ranges_.clear();
    BeginJob(kOpInfo, handler, user, 10);
    return true;
}

bool cmcCloneDrv::StartRead(const RangeList& ranges, DoneHandler handler, void* user) {
    if (IsBusy()) return false;
    // Frames carry 16-bit addresses, and every requested address has a bit in the image's mask.
    if (!SetRanges(ranges, std::min<int32_t>(imageBound_ - 1, 0xFFFF))) return false;
    BeginJob(kOpRead, handler, user, 10);
    return true;
}

bool cmcCloneDrv::StartWrite(const cmcEeprom& image, const RangeList& ranges, DoneHandler handler,
                             void* user) {
    if (IsBusy()) return false;
    // An empty list would end in a good end acknowledgement with nothing written.
    const int32_t last = std::min<int32_t>({imageBound_ - 1, image.GetSize() - 1, kRadioLast});
    if (!SetRanges(ranges, last) || ranges_.empty()) {
        ranges_.clear();
        return false;
    }
    address_ = ranges_.front().first;
    BeginJob(kOpWrite, handler, user, 10);
    const int32_t n = std::min(image.GetSize(), result_->image.GetSize());
    std::memcpy(result_->image.Data(), image.Data(), static_cast<size_t>(n));
    return true;
}

void cmcCloneDrv::OnTaskTick(void* user, cmcTask*) {
    static_cast<cmcCloneDrv*>(user)->OnTick();
}

void cmcCloneDrv::OnTick() {
    bool alive = true;
    bool* outer = alive_;
    alive_ = &alive;
    if (state_ != kIdle) RunStep();
    if (state_ != kIdle && state_ != kClose && port_.HasWriteError()) {
        if (!decided_) result_->result = kClonePortWriteError;
        state_ = kClose;
    }
    if (state_ == kClose) Finish(); // the done handler may free this driver
    if (!alive) {
        if (outer) *outer = false;
        return;
    }
    alive_ = outer;
    if (state_ == kIdle) task_->SetInterval(-1);
}

void cmcCloneDrv::Finish() {
    port_.Close();
    state_ = kIdle;
    rx_.Clear();
    frame_.Clear();
    echo_.Clear();
    std::unique_ptr<dst_CDrv_Result> result = std::move(result_);
    DoneHandler handler = handler_;
    void* user = user_;
    handler_ = nullptr;
    user_ = nullptr;
    if (handler) handler(user, result.get());
}

uint32_t cmcCloneDrv::TimeoutFor(int next) const {
    if (next == kScript && !script_.empty()) return static_cast<uint32_t>(scriptTimeout_);
    if (next == kInfoReply) return static_cast<uint32_t>(infoTimeout_);
    if (next == kWaitGo) return static_cast<uint32_t>(goTimeout_);
    if (next == kEndAck) return static_cast<uint32_t>(endAckTimeout_);
    return static_cast<uint32_t>(baseTimeout_);
}

void cmcCloneDrv::ReadPort() {
    uint8_t scratch[256];
    const int n = port_.Read(scratch, sizeof scratch);
    if (n > 0) {
        rx_.Append(scratch, n);
        portBytes_ += n;
    }
}

void cmcCloneDrv::Send(const cmcBuff& bytes) {
    if (bytes.Size() == 0) return;
    port_.Write(bytes.Data(), bytes.Size());
    echo_.AppendBuff(bytes);
    portBytes_ += bytes.Size();
}

bool cmcCloneDrv::OpenAndDrain(const std::string& settings) {
    if (!port_.Reopen(portNumber_, settings)) {
        result_->portFailure = port_.OpenFailure();
        return false;
    }
    if (settle_) settle_(kSettleMs);
    uint8_t byte;
    for (int dropped = 0; dropped < 65535 && port_.Read(&byte, 1) == 1; ++dropped) {
    }
    return true;
}

void cmcCloneDrv::RunStep() {
    int next = state_ + 1;
    bool progress = true;
    const bool timedOut = timeout_.Remaining() == 0;
    bool hold = false;

    if (!echoCheck_) {
        echo_.SetSize(0);
    } else if (state_ != kDrain && echo_.Size() > 0) {
        ReadPort();
        progress = false;
        while (rx_.Size() > 0 && echo_.Size() > 0) {
            if (rx_.Data()[0] != echo_.Data()[0]) {
                // Both bytes stay, so the echo never drains and the job ends at its time-out.
                if (!decided_) result_->result = kCloneEchoMismatch;
                break;
            }
            rx_.TakeFront();
            echo_.TakeFront();
            progress = true;
        }
        if (echo_.Size() == 0) echo_.Clear();
        hold = echo_.Size() > (state_ == kWriteData ? 128 : 0);
    }

    if (hold) {
        next = state_;
    } else {
        switch (state_) {
        case kSettle:
            break;
        case kScript: {
            if (!script_.empty() && script_[0] == '(' && port_.PendingOut() > 0) {
                // A switch waits for the line: bytes still to go would be cut off by the
                // close and the purge, or cross at the new speed.
                next = kScript;
                progress = false;
                break;
            }
            const bool wrote = RunScriptPiece(next);
            if (next == kDrain) break;
            progress = wrote;
            if (!script_.empty() || port_.PendingOut() > 0) {
                next = kScript;
                if (!script_.empty()) progress = true;
            } else {
                next = kReopen;
            }
            break;
        }
        case kReopen:
            if (!OpenAndDrain(mainSettings_)) {
                result_->result = kClonePortNotOpened;
                next = kDrain;
            } else if (operation_ == kOpInfo) {
                next = kInfoSend;
            } else if (operation_ == kOpRead) {
                next = kReadSend;
            } else if (operation_ == kOpWrite) {
                next = kWriteSend;
            } else {
                next = InitialState(operation_);
            }
            break;
        case kInfoSend:
        case kReadSend:
        case kWriteSend:
            SendCommand(state_ == kInfoSend ? 0xE0 : state_ == kReadSend ? 0xE2 : 0xE3);
            frame_.SetSize(0);
            if (state_ == kWriteSend && !waitGo_) next = kWriteData;
            break;
        case kInfoReply: {
            cmcBuff frame;
            if (!ExtractFrame(frame)) {
                next = state_;
                progress = false;
                break;
            }
            result_->result = CheckInfoReply(frame);
            next = kDrain;
            break;
        }
        case kReadData:
            ReadData(next, progress);
            break;
        case kWaitGo:
        case kWaitAck:
            TakeWriteByte(next, progress);
            break;
        case kWriteData:
            next = kWriteData;
            SendDataFrames(next, progress);
            break;
        case kEndSend:
            SendEndFrame();
            break;
        case kEndAck: {
            cmcBuff frame;
            if (!ExtractFrame(frame)) {
                next = state_;
                progress = false;
                break;
            }
            static const uint8_t ack[] = {kFrameLead, 0xEF, 0xEE, 0xE6, 0x00};
            const bool good = frame.Size() == 5 && std::memcmp(frame.Data(), ack, 5) == 0;
            result_->result = good ? kCloneOk : kCloneBadEndAck;
            next = kDrain;
            break;
        }
        case kDrain:
            decided_ = true;
            if (port_.PendingOut() > 0) {
                next = state_;
                progress = false;
            } else {
                next = kClose;
            }
            break;
        case kClose:
            next = kClose;
            break;
        default:
            next = Step(state_, progress);
            // A state nobody knows must still end the job: port closed, handler called.
            if (next == kIdle) next = kClose;
            break;
        }
    }

    if (next != state_) progress = true;
    if (progress) {
        timeout_.Start(TimeoutFor(next));
    } else if (timedOut) {
        if (state_ == kDrain) {
            // The result was settled before the wait for the output; a slow line does not change it.
            next = kClose;
        } else {
            result_->result = echoCheck_ && echo_.Size() > 0 ? kCloneEchoMismatch : kCloneTimeout;
            next = kDrain;
        }
    }
    if (next == kDrain) decided_ = true;
    if (rx_.Size() > 4096) rx_.Compact();
    if (echo_.Size() > 4096) echo_.Compact();
    state_ = next;
}

bool cmcCloneDrv::RunScriptPiece(int& next) {
    if (script_.empty()) return false;
    if (script_[0] == '(') {
        const size_t close = script_.find(')');
        const std::string settings =
            script_.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        script_.erase(0, close == std::string::npos ? script_.size() : close + 1);
        if (!OpenAndDrain(settings)) {
            result_->result = kClonePortNotOpened;
            script_.clear();
            next = kDrain;
        }
        return false;
    }
    const size_t open = script_.find('(');
    const std::string hex = script_.substr(0, open);
    script_.erase(0, open == std::string::npos ? script_.size() : open);
    const cmcBuff bytes = HexToBytes(hex);
    Send(bytes);
    return bytes.Size() > 0;
}

void cmcCloneDrv::SendCommand(int cmd) {
    char text[64];
    std::snprintf(text, sizeof text, "FEFE EE EF %02X %04X %04X FD", cmd & 0xFF, modelA_ & 0xFFFF,
                  modelB_ & 0xFFFF);
    cmcBuff bytes;
    bytes.AppendFill(kFrameLead, cmdLeadIn_ > 0 ? cmdLeadIn_ : 0);
    bytes.AppendBuff(HexToBytes(text));
    Send(bytes);
}

std::string cmcCloneDrv::EndText() const {
    std::string text = kMaker;
    if (endCount_) {
        char count[8];
        std::snprintf(count, sizeof count, "%02X", frames_ & 0xFF);
        text += count;
    }
    return text;
}

void cmcCloneDrv::SendEndFrame() {
    cmcBuff bytes = HexToBytes("FEFE EE EF E5");
    const std::string text = EndText();
    bytes.Append(text.data(), static_cast<int32_t>(text.size()));
    bytes.Add(kFrameEnd);
    Send(bytes);
}

bool cmcCloneDrv::AtBlockEnd() const {
    return rangeIndex_ < ranges_.size() && address_ != ranges_[rangeIndex_].first && ackPeriod_ != 0 &&
           address_ % ackPeriod_ == ackPhase_;
}

void cmcCloneDrv::BuildDataFrame() {
    const AddressRange& range = ranges_[rangeIndex_];
    int32_t n = blockSize_ - address_ % blockSize_;
    if (n > range.last - address_ + 1) n = range.last - address_ + 1;
    const int leadIn = frames_ == 0 ? dataLeadInFirst_ : dataLeadInLater_;
    frame_.AppendFill(kFrameLead, leadIn > 0 ? leadIn : 0);
    frame_.Append("\xFE\xFE\xEE\xEF\xE4", 5);
    unsigned sum =
        static_cast<unsigned>(address_ >> 8) + static_cast<unsigned>(address_) + static_cast<unsigned>(n);
    Hex2(frame_, static_cast<unsigned>(address_ >> 8));
    Hex2(frame_, static_cast<unsigned>(address_));
    Hex2(frame_, static_cast<unsigned>(n));
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t b = result_->image.GetByte(address_ + i);
        sum += b;
        Hex2(frame_, b);
    }
    Hex2(frame_, (0x100 - (sum & 0xFF)) & 0xFF);
    frame_.Add(kFrameEnd);
    ++frames_;
    address_ += n;
    dataBytes_ += n;
}

void cmcCloneDrv::SendDataFrames(int& next, bool& progress) {
    for (int built = 0; built < 8; ++built) {
        // A frame held back at the end of a block goes out alone: no frame may
        // follow it before the radio has acknowledged the block.
        if (frame_.Size() == 0 || !AtBlockEnd()) {
            if (rangeIndex_ >= ranges_.size()) {
                // Frames still held go out before the end frame.
                if (frame_.Size() == 0) {
                    if (port_.PendingOut() == 0) next = kEndSend;
                    return;
                }
            } else if (address_ > ranges_[rangeIndex_].last) {
                if (++rangeIndex_ < ranges_.size()) address_ = ranges_[rangeIndex_].first;
            } else {
                BuildDataFrame();
            }
        }
        // Frames wait here while the line still has a lot to send.
        if (next != kWriteData || frame_.Size() == 0 || port_.PendingOut() > 4 * frame_.Size()) return;
        Send(frame_);
        frame_.SetSize(0);
        progress = true;
        if (AtBlockEnd()) {
            next = kWaitAck;
            return;
        }
    }
}

void cmcCloneDrv::TakeWriteByte(int& next, bool& progress) {
    ReadPort();
    const int byte = rx_.TakeFront();
    if (byte == kGo) {
        next = kWriteData;
    } else if (byte == kRefuse) {
        result_->result = kCloneBadFrame;
        next = kDrain;
    } else {
        next = state_;
        progress = false;
    }
}

bool cmcCloneDrv::ExtractFrame(cmcBuff& frame) {
    ReadPort();
    bool found = false;
    while (rx_.Size() > 0) {
        const int byte = rx_.TakeFront();
        if (frame_.Size() >= kFrameLimit) {
            // A frame this long is no frame of ours: drop it and hand on a byte no check accepts.
            frame_.SetSize(0);
            frame.SetSize(0);
            frame.Add(0x00);
            return true;
        }
        if (byte == kFrameLead) {
            frame_.SetSize(0);
            frame_.Add(kFrameLead);
        } else if (frame_.Size() == 0) {
            continue;
        } else if (byte == kFrameEnd) {
            frame.Assign(frame_);
            frame_.SetSize(0);
            found = true;
        } else {
            frame_.Add(static_cast<uint8_t>(byte));
        }
    }
    return found;
}

int cmcCloneDrv::CheckInfoReply(const cmcBuff& frame) {
    static const uint8_t head[] = {kFrameLead, 0xEF, 0xEE, 0xE1};
    // A reply too short to hold the radio's two words is as bad as any other frame.
    if (frame.Size() < 8 || std::memcmp(frame.Data(), head, 4) != 0) return kCloneBadFrame;
    const uint8_t* d = frame.Data();
    for (int i = 4; i < 8; ++i)
        if (!IsBcdByte(d[i])) return kCloneBadFrame;
    result_->info1 = d[4] << 8 | d[5];
    result_->info2 = d[6] << 8 | d[7];
    result_->payload.Set(d + 8, frame.Size() - 8);
    // A block that stops before the end it announces is kept only as far as it came.
    const cmcBuff& payload = result_->payload;
    if (payload.Size() == 0 || payload.Data()[0] > payload.Size()) return kCloneBadInfo;
    return kCloneOk;
}

void cmcCloneDrv::ReadData(int& next, bool& progress) {
    ReadPort();
    next = state_;
    progress = false;
    while (rx_.Size() > 0) {
        const int byte = rx_.TakeFront();
        if (byte == kFrameLead) {
            frame_.SetSize(0);
            frame_.Add(kFrameLead);
            continue;
        }
        if (frame_.Size() == 0) continue;
        if (byte != kFrameEnd) {
            frame_.Add(static_cast<uint8_t>(byte));
            if (frame_.Size() > kFrameLimit) {
                frame_.SetSize(0);
                result_->result = kCloneBadFrame;
                next = kDrain;
                return;
            }
            continue;
        }
        int code = CheckFrame(frame_);
        frame_.SetSize(0);
        if (code == kAccepted) {
            ++frames_;
            progress = true;
            continue;
        }
        if (code == kCloneOk && hasRanges_) code = CheckCoverage();
        result_->result = code;
        next = kDrain;
        return;
    }
}

int cmcCloneDrv::CheckFrame(const cmcBuff& frame) {
    if (frame.Size() < 12 || frame.Size() > 522) return kCloneBadFrame;
    const uint8_t* d = frame.Data();
    if (d[0] != kFrameLead || d[1] != 0xEF || d[2] != 0xEE) return kCloneBadFrame;
    if (d[3] == 0xE4) return CheckDataFrame(frame);
    if (d[3] == 0xE5) return CheckEndFrame(frame);
    return kCloneBadFrame;
}

int cmcCloneDrv::CheckDataFrame(const cmcBuff& frame) {
    const uint8_t* text = frame.Data() + 4;
    const int chars = frame.Size() - 4;
    if (chars % 2 != 0) return kCloneBadFrame;
    std::vector<uint8_t> bytes(static_cast<size_t>(chars / 2));
    for (int i = 0; i < chars; i += 2) {
        const int hi = HexValue(text[i]);
        const int lo = HexValue(text[i + 1]);
        if (hi < 0 || lo < 0) return kCloneBadFrame;
        bytes[static_cast<size_t>(i / 2)] = static_cast<uint8_t>(hi << 4 | lo);
    }
    if (bytes.size() < 4) return kCloneBadFrame;
    const int n = bytes[2];
    if (static_cast<int>(bytes.size()) != n + 4) return kCloneBadFrame;
    unsigned sum = 0;
    for (uint8_t b : bytes)
        sum += b;
    if ((sum & 0xFF) != 0) return kCloneBadFrame;
    const int32_t address = bytes[0] << 8 | bytes[1];
    cmcEeprom& image = result_->image;
    if (!image.IsValidRange(address, n)) return kCloneOutside;
    image.Write(address, bytes.data() + 3, n);
    cmcBuff& received = result_->received;
    const int32_t need = (address + n + 7) / 8;
    if (received.Size() < need) {
        received.SetFillByte(0);
        received.SetSize(need);
    }
    for (int32_t a = address; a < address + n; ++a)
        received.Data()[a / 8] |= static_cast<uint8_t>(1u << (a % 8));
    dataBytes_ += n;
    return kAccepted;
}

int cmcCloneDrv::CheckEndFrame(const cmcBuff& frame) const {
    const std::string want = EndText();
    const int length = frame.Size() - 4;
    const char* text = reinterpret_cast<const char*>(frame.Data() + 4);
    if (length != static_cast<int>(want.size()) || std::memcmp(text, kMaker, kMakerLength) != 0)
        return kCloneBadFrame;
    return std::memcmp(text, want.data(), want.size()) == 0 ? kCloneOk : kCloneEndCount;
}

int cmcCloneDrv::CheckCoverage() const {
    const cmcEeprom& image = result_->image;
    const int32_t maskSize = (image.GetSize() + 7) / 8;
    const cmcBuff& received = result_->received;
    if (received.Size() > maskSize) return kCloneOutside;
    std::vector<uint8_t> mask(static_cast<size_t>(maskSize), 0);
    for (const AddressRange& r : ranges_)
        for (int32_t a = r.first; a <= r.last; ++a)
            mask[static_cast<size_t>(a / 8)] |= static_cast<uint8_t>(1u << (a % 8));
    bool missing = false;
    for (int32_t i = 0; i < maskSize; ++i) {
        const uint8_t got = i < received.Size() ? received.Data()[i] : 0;
        if (got & ~mask[static_cast<size_t>(i)]) return kCloneOutside;
        if (mask[static_cast<size_t>(i)] & ~got) missing = true;
    }
    return missing ? kCloneMissing : kCloneOk;
}
