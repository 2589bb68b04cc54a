#pragma once
#include "clone/CloneHost.h"
#include "clone/dst_CDrv_Result.h"
#include "image/RangeList.h"

#include <cstdint>
#include <string>

class indCloneMan;

// The clone read, write and information commands of the main window: chains
// of clone-manager jobs that check what the radio reports and bring a read
// image into the working image. Only a successful read changes the working
// image. Every command ends silently while the manager is busy.
//
// The constructor installs the information and read checks in the manager.
// The manager's jobs call back into this object: keep it alive as long as
// the manager can run a job for it.
class CloneCommands {
public:
    static constexpr int kRevisionMax = 1;
    static constexpr int kInfoCloneEnd = 56; // four hex characters
    static constexpr int kInfoRevision = 35;
    // A reply must carry the block up to the clone-area end.
    static constexpr int kInfoMinLength = kInfoCloneEnd + 4;

    CloneCommands(CloneHost& host, indCloneMan& manager);
    virtual ~CloneCommands();
    CloneCommands(const CloneCommands&) = delete;
    CloneCommands& operator=(const CloneCommands&) = delete;

    void CloneRead();
    virtual void CloneWrite();
    void ReadCloneInfo();

    // The last address of the clone area from an information block: bytes
    // 56..59 as hex (either case; another character counts 0 but keeps its
    // place), rounded down to 16 plus 15, and never past the radio's memory.
    static int32_t CloneAreaEnd(const CloneInfoBlock& block);

    // The checks the manager runs on every information reply and read image.
    void CheckInfoReply(dst_CDrv_Result& result);
    void CheckReadImage(dst_CDrv_Result& result);

    // Job handlers.
    void OnReadInfo(dst_CDrv_Result& result);
    void OnReadDone(dst_CDrv_Result& result);
    virtual void OnWriteConnected(dst_CDrv_Result& result);
    void OnWriteDone(dst_CDrv_Result& result);
    void OnCloneInfo(dst_CDrv_Result& result);

    // The ranges of the running read or write; empty otherwise.
    const RangeList& PendingAreas() const { return pending_; }

protected:
    // What a program adds to the read: the read was accepted and is under
    // way; it ended without a new image (the link failed, the radio was not
    // ours or its image was refused); the image read went into the working
    // image (read as the radio sent it, before the after-load pass); the image
    // was loaded (before the sheet closes and the reload is told).
    virtual void OnReadStarted() {}
    virtual void OnReadFailed() {}
    virtual void OnReadTaken(const cmcEeprom& read) { (void)read; }
    virtual void OnReadLoaded() {}
    // Whether the radio that answered a write's information query may take
    // the data; on false the write stops there, the user told why.
    virtual bool AcceptsWriteRadio() { return true; }

    // Starts an information job whose handler is OnWriteConnected.
    bool StartWriteQuery();
    // Starts the write over areas with OnWriteDone. A write the driver refuses
    // (ranges outside the image or the radio's memory) is reported and dropped.
    bool StartWriteJob(const cmcEeprom& image, RangeList areas);
    void ShowAreaRefused();
    std::string AppTitle() const;

    CloneHost& host_;
    indCloneMan& man_;

private:
    static void InfoCheckThunk(void* user, dst_CDrv_Result* result);
    static void ReadCheckThunk(void* user, dst_CDrv_Result* result);
    static void ReadInfoThunk(void* user, dst_CDrv_Result* result);
    static void ReadDoneThunk(void* user, dst_CDrv_Result* result);
    static void WriteConnectedThunk(void* user, dst_CDrv_Result* result);
    static void WriteDoneThunk(void* user, dst_CDrv_Result* result);
    static void CloneInfoThunk(void* user, dst_CDrv_Result* result);

    RangeList pending_;
};

// The application manager's clone write: it refuses an image without
// programmed channels or with data warnings, asks for confirmation after a
// first information reply, and after a second one writes a normalised,
// packed copy up to the end of the used data.
class AppCloneCommands : public CloneCommands {
public:
    using CloneCommands::CloneCommands;

    void CloneWrite() override;
    void OnWriteConnected(dst_CDrv_Result& result) override;

    static constexpr int32_t kUsedEnd = 274; // big-endian word: end of the used data
    static constexpr int32_t kRevisionByte = 264;
    static constexpr int32_t kWriteBlock = 128;

private:
    bool confirmed_ = false;
};
