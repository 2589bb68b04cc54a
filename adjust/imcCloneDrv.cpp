#include "adjust/imcCloneDrv.h"

#include "foundation/TextUtil.h"

#include <cstdio>

namespace adj {

namespace {

// A value digit as the radio takes it: ASCII, upper-case.
unsigned Digit(unsigned nibble) {
    return nibble < 10 ? 0x30 + nibble : 0x37 + nibble;
}

int DigitValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

imcCloneDrv::imcCloneDrv() = default;

void imcCloneDrv::SetItemTable(const ItemEntry* entries) {
    int i = 0;
    for (; i < kTableSize - 1 && (entries[i].code & 0xFF) != kListEnd; ++i)
        table_[i] = entries[i];
    // A longer list is cut: the last entry always ends it.
    table_[i] = ItemEntry{};
    pending_ = true;
}

void imcCloneDrv::SetSingle(int code, int value, uint8_t* readBack) {
    code_ = code;
    value_ = value;
    readBack_ = readBack;
    pending_ = true;
}

bool imcCloneDrv::StartWriteSingle(DoneHandler done, void* user, int periodMs) {
    if (IsBusy()) return false;
    BeginJob(kModeSingle, done, user, periodMs);
    return true;
}

bool imcCloneDrv::StartWriteList(DoneHandler done, void* user, int periodMs) {
    if (IsBusy()) return false;
    BeginJob(kModeList, done, user, periodMs);
    return true;
}

int imcCloneDrv::InitialState(int mode) {
    if (mode == kModeSingle) return kSendItem;
    if (mode == kModeList) return kListEntry;
    return cmcCloneDrv::InitialState(mode);
}

int imcCloneDrv::Step(int state, bool& progress) {
    switch (state) {
    case kListEntry:
        return TakeEntry();
    case kSendItem:
        return SendItem();
    case kAwaitReply:
        return AwaitReply(progress);
    default:
        return cmcCloneDrv::Step(state, progress);
    }
}

int imcCloneDrv::TakeEntry() {
    const ItemEntry& e = table_[itemIndex_];
    if ((e.code & 0xFF) == kListEnd) {
        Result()->result = kCloneOk;
        return kDrain;
    }
    code_ = e.code;
    // The value as it stands now: a list sends what the bytes hold when each frame is built.
    value_ = e.value ? *e.value : 0;
    readBack_ = e.readBack;
    ++itemIndex_;
    return kSendItem;
}

int imcCloneDrv::SendItem() {
    const unsigned value = static_cast<unsigned>(value_) & 0xFF;
    char text[64];
    std::snprintf(text, sizeof text, "FEFE EE EF E8 %04X %04X %02X %02X %02X FD",
                  static_cast<unsigned>(ModelA() & 0xFFFF), static_cast<unsigned>(ModelB() & 0xFFFF),
                  static_cast<unsigned>(code_ & 0xFF), Digit(value >> 4), Digit(value & 0x0F));
    cmcBuff bytes;
    bytes.AppendFill(kFrameLead, CommandLeadIn() > 0 ? CommandLeadIn() : 0);
    bytes.AppendBuff(HexToBytes(text));
    Send(bytes);
    FrameBuffer().SetSize(0);
    pending_ = false;
    if (readBack_) return kAwaitReply;
    if (Mode() == kModeList) return kListEntry;
    Result()->result = kCloneOk;
    return kDrain;
}

int imcCloneDrv::AwaitReply(bool& progress) {
    progress = false;
    cmcBuff frame;
    if (!ExtractFrame(frame)) return kAwaitReply;
    const uint8_t* f = frame.Data();
    const int hi = frame.Size() >= 11 ? DigitValue(f[9]) : -1;
    const int lo = frame.Size() >= 11 ? DigitValue(f[10]) : -1;
    // The echo of our own frame reads FE EE EF... and fails here; so does an
    // answer to an earlier item, which must not land in this item's byte.
    const bool accepted = frame.Size() >= 11 && f[0] == kFrameLead && f[1] == 0xEF && f[2] == 0xEE &&
                          f[3] == 0xE8 && f[4] == (ModelA() >> 8 & 0xFF) && f[5] == (ModelA() & 0xFF) &&
                          f[8] == (code_ & 0xFF) && hi >= 0 && lo >= 0;
    if (!accepted) {
        Result()->result = kCloneBadFrame;
        return kAwaitReply;
    }
    *readBack_++ = static_cast<uint8_t>(hi * 16 + lo);
    if (Mode() == kModeList) return kListEntry;
    Result()->result = kCloneOk;
    progress = true;
    return kDrain;
}

} // namespace adj
