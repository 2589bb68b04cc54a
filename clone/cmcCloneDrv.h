#pragma once
#include "clone/cmcComm.h"
#include "clone/dst_CDrv_Result.h"
#include "foundation/cmcBuff.h"
#include "foundation/cmcTick.h"
#include "image/RangeList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class cmcEeprom;
class cmcTask;

// The clone protocol driver: moves the memory image between the program and
// the radio, one job at a time (information, read or write), as a state
// machine stepped every 10 ms by a timer task. A job plays the link script
// (speed switches and settings frames), reopens the port at the main
// settings, exchanges command, data and end frames, closes the port and hands
// its result to the done handler.
//
// The adjustment program's link derives from it: InitialState picks the
// first state of its own modes after the port is reopened, and Step runs the
// states this class has no case for (15 to 18 are left free for it).
class cmcCloneDrv {
public:
    using DoneHandler = void (*)(void* user, dst_CDrv_Result* result);
    // Waits the given milliseconds after each port open, for the line and the radio to settle.
    using SettleWait = std::function<void(int ms)>;

    enum State : int {
        kIdle = 0,
        kSettle = 2,
        kScript = 3,
        kReopen = 4,
        kInfoSend = 5,
        kInfoReply = 6,
        kReadSend = 7,
        kReadData = 8,
        kWriteSend = 9,
        kWaitGo = 10,
        kWriteData = 11,
        kWaitAck = 12,
        kEndSend = 13,
        kEndAck = 14,
        kDrain = 19,
        kClose = 20
    };
    enum Operation : int { kOpInfo = 1, kOpRead = 2, kOpWrite = 3 };

    // A frame opens with lead-in bytes and closes with its end byte.
    static constexpr uint8_t kFrameLead = 0xFE;
    static constexpr uint8_t kFrameEnd = 0xFD;
    static constexpr int kFrameLimit = 521;       // bytes a frame in assembly may hold, its first FE included
    static constexpr int32_t kRadioLast = 0xFF7F; // the radio's memory ends here
    static constexpr int kSettleMs = 100;

    cmcCloneDrv();
    virtual ~cmcCloneDrv();
    cmcCloneDrv(const cmcCloneDrv&) = delete;
    cmcCloneDrv& operator=(const cmcCloneDrv&) = delete;

    // Settings of the next job; a running job keeps what it started with.
    void SetModel(int a, int b);
    void SetImageSize(int bound);
    void SetPort(int port, const std::string& settings);
    void SetCommandLeadIn(int n);
    void SetDataLeadIn(int n) { SetDataLeadIns(n, n); }
    void SetDataLeadIns(int later, int first);
    void SetScript(const std::string& text) { script_ = text; }
    void SetEndCount(int flag) { endCount_ = flag != 0; }
    void SetEchoCheck(int flag) { echoCheck_ = flag != 0; }
    void SetWaitGo(int flag) { waitGo_ = flag != 0; }
    // Arguments of 0 or below keep the old value.
    void SetAck(int period, int phase);
    void SetTimeout(int baseMs);
    void SetGoTimeout(int ms);
    void SetSettleWait(SettleWait wait);

    // Each returns false while a job runs. A read takes a list of ranges to
    // cover; a write sends the ranges of the image and refuses an empty list or
    // one that reaches outside the image or the radio's memory.
    bool StartInfo(DoneHandler handler, void* user);
    bool StartRead(const RangeList& ranges, DoneHandler handler, void* user);
    bool StartWrite(const cmcEeprom& image, const RangeList& ranges, DoneHandler handler, void* user);
    bool IsBusy() const { return state_ != kIdle; }

    int ModelA() const { return modelA_; }
    int ModelB() const { return modelB_; }
    int PortNumber() const { return portNumber_; }
    const std::string& MainSettings() const { return mainSettings_; }
    int CommandLeadIn() const { return cmdLeadIn_; }
    // Counters of the running job: port bytes, data frames and image bytes (the progress bar's measure).
    int PortByteCount() const { return portBytes_; }
    int FrameCount() const { return frames_; }
    int DataByteCount() const { return dataBytes_; }

    // The step task's handler: one step of the running job.
    void OnTick();

protected:
    // The state after the port was reopened at the main settings, for an operation other than 1 to 3.
    virtual int InitialState(int mode) { return kInfoSend; }
    // One step of a state without a case here; returns the next state. 0 ends the job.
    virtual int Step(int state, bool& progress) { return kIdle; }

    // Starts a job of the operation: fresh result and counters, state 2, the step task at periodMs.
    void BeginJob(int operation, DoneHandler handler, void* user, int periodMs);
    // Reads what the port holds into the receive buffer; the last frame completed comes out in frame.
    bool ExtractFrame(cmcBuff& frame);
    // Writes bytes to the port, counting them and expecting them back as echo.
    void Send(const cmcBuff& bytes);

    int Mode() const { return operation_; }
    int StateNow() const { return state_; }
    dst_CDrv_Result* Result() { return result_.get(); }
    cmcComm& Port() { return port_; }
    cmcBuff& FrameBuffer() { return frame_; }
    int BaseTimeout() const { return baseTimeout_; }
    int itemIndex_ = 0; // the adjustment link's count of list entries sent

private:
    static void OnTaskTick(void* user, cmcTask* task);
    void RunStep();
    void Finish();
    bool OpenAndDrain(const std::string& settings);
    void ReadPort();
    bool RunScriptPiece(int& next);
    void SendCommand(int cmd);
    void SendDataFrames(int& next, bool& progress);
    // Appends the frame of the data at the current address to the frame buffer and moves past it.
    void BuildDataFrame();
    // The write stands after the last frame of a block the radio acknowledges.
    bool AtBlockEnd() const;
    void SendEndFrame();
    void TakeWriteByte(int& next, bool& progress);
    void ReadData(int& next, bool& progress);
    int CheckInfoReply(const cmcBuff& frame);
    int CheckFrame(const cmcBuff& frame);
    int CheckDataFrame(const cmcBuff& frame);
    int CheckEndFrame(const cmcBuff& frame) const;
    int CheckCoverage() const;
    std::string EndText() const;
    bool SetRanges(const RangeList& ranges, int32_t last);
    uint32_t TimeoutFor(int next) const;

    int modelA_ = 0;
    int modelB_ = 0;
    int imageBound_ = 1;
    int portNumber_ = 1;
    std::string mainSettings_ = "9600,n,8,1";
    int cmdLeadIn_ = 0;
    int dataLeadInLater_ = 0;
    int dataLeadInFirst_ = 0;
    int operation_ = 0;
    bool endCount_ = true;
    bool echoCheck_ = false;
    bool waitGo_ = false;
    int ackPeriod_ = 0;
    int ackPhase_ = 0;
    cmcComm port_;
    cmcBuff rx_;
    cmcBuff frame_;
    cmcBuff echo_;
    std::string script_;
    int portBytes_ = 0;
    int frames_ = 0;
    int dataBytes_ = 0;
    int blockSize_ = 16;
    std::vector<AddressRange> ranges_; // the job's ranges, without the end pair
    bool hasRanges_ = false;
    size_t rangeIndex_ = 0;
    int32_t address_ = 0;
    std::unique_ptr<dst_CDrv_Result> result_;
    bool decided_ = false; // the job's result stands; draining and closing no longer change it
    DoneHandler handler_ = nullptr;
    void* user_ = nullptr;
    int state_ = kIdle;
    cmcTick timeout_;
    int baseTimeout_ = 1000;
    int scriptTimeout_ = 1000;
    int endAckTimeout_ = 2000;
    int infoTimeout_ = 1000;
    int goTimeout_ = 1000;
    SettleWait settle_;
    cmcTask* task_;
    bool* alive_ = nullptr; // cleared by the destructor while a tick runs
};
