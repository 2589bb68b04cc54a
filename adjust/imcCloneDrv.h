#pragma once
#include "clone/cmcCloneDrv.h"

#include <cstdint>

namespace adj {

// One entry of an item list: the item code (0xFF ends the list), the byte
// whose value is sent (read when the entry's frame is built; null sends 0) and
// the byte that takes the radio's answer (null: no answer awaited).
struct ItemEntry {
    int code = 0xFF;
    const uint8_t* value = nullptr;
    uint8_t* readBack = nullptr;
};

// The adjustment link: on the clone driver's port and link script, sets one
// adjustment item of the radio (mode 4) or a list of them (mode 5) with E8
// frames, reading a byte back where asked. Clone read, write and the
// information query run on the same object as in the base.
class imcCloneDrv : public cmcCloneDrv {
public:
    enum TransferMode : int { kModeSingle = 4, kModeList = 5 };
    enum ItemState : int { kListEntry = 15, kSendItem = 17, kAwaitReply = 18 };
    static constexpr int kTableSize = 50;
    static constexpr int kListEnd = 0xFF;

    imcCloneDrv();

    // Copies the list up to and including its end entry; at most 50 entries,
    // the last of which always ends the list. The list counts as pending.
    void SetItemTable(const ItemEntry* entries);
    // One item to send; readBack null: no answer awaited. The item counts as pending.
    void SetSingle(int code, int value, uint8_t* readBack);
    // An item or list handed over whose frame has not gone out yet.
    bool IsPending() const { return pending_; }
    // A transfer that ended before its frame went out leaves nothing waiting.
    void ClearPending() { pending_ = false; }

    // Each returns false, changing nothing, while the driver is busy; the step
    // task runs at the given period.
    bool StartWriteSingle(DoneHandler done, void* user, int periodMs);
    bool StartWriteList(DoneHandler done, void* user, int periodMs);

    const ItemEntry& Entry(int i) const { return table_[i]; }
    using cmcCloneDrv::Mode;
    using cmcCloneDrv::StateNow;

protected:
    int InitialState(int mode) override;
    int Step(int state, bool& progress) override;

private:
    int TakeEntry();
    int SendItem();
    int AwaitReply(bool& progress);

    bool pending_ = false;
    int code_ = 0;
    int value_ = 0;
    uint8_t* readBack_ = nullptr;
    ItemEntry table_[kTableSize];
};

} // namespace adj
