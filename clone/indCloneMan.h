#pragma once
#include "clone/CloneProgressView.h"
#include "clone/cmcCloneDrv.h"
#include "clone/dst_CDrv_Result.h"
#include "image/RangeList.h"

#include <memory>
#include <string>

class cmcEeprom;
class cmcTask;

// The application's face of the clone link. For each job it sets the driver
// up with the link script that brings radio and port to the wanted speed,
// shows the "Cloning" window while a read or write runs, lets the main
// window's checks judge the driver's result, reports a failure in words and
// then calls the job's own handler.
//
// The adjustment program's manager derives from it: it brings its own driver,
// builds a script of its own, reads always at high speed, refreshes its model
// caption after a read, runs transfers of its own operation codes and captions
// the error box with its own title.
class indCloneMan {
public:
    // Called as handler(user, result); the result is the driver's, borrowed.
    using Handler = cmcCloneDrv::DoneHandler;

    // 4: an adjustment transfer of the adjustment program's link (one item or a list).
    enum Operation : int { kOpNone = 0, kOpInfo = 1, kOpRead = 2, kOpWrite = 3, kOpAdjust = 4 };

    static constexpr int kProgressPeriodMs = 30;
    static constexpr int kWriteGoTimeoutMs = 20000;
    static constexpr int kWriteTimeoutMs = 2000;

    indCloneMan();
    virtual ~indCloneMan();
    indCloneMan(const indCloneMan&) = delete;
    indCloneMan& operator=(const indCloneMan&) = delete;

    // The window layer's progress window and main form; none leaves both alone.
    void SetProgressView(std::unique_ptr<CloneProgressView> view);
    CloneProgressView* ProgressView() { return view_.get(); }

    void SetModel(int a, int b) { driver_->SetModel(a, b); }
    void SetImageSize(int n) { driver_->SetImageSize(n); }
    // The check of every information reply and of every read image: each may change the result code.
    void SetInfoHandler(Handler handler, void* user);
    void SetReadDoneHandler(Handler handler, void* user);
    bool IsBusy() const { return driver_->IsBusy(); }

    // Each returns false, with nothing started, while a job runs or when the
    // driver refuses the job (a write whose ranges do not fit the radio).
    bool StartInfo(Handler handler, void* user);
    bool StartRead(const RangeList& ranges, Handler handler, void* user);
    bool StartWrite(const cmcEeprom& image, const RangeList& ranges, Handler handler, void* user);

    // Sets the driver up for the next job: port, speeds, lead-ins and the script of speed and settings
    // frames.
    virtual void BuildLinkScript(bool highSpeed, bool write);
    // The message box for a clone result code; none for 0. A port that is
    // there but could not be opened is named with the system's reason.
    void ShowCloneError(int code, const plat::PortOpenFailure& port = {});
    // The text of that box; empty for 0.
    static std::string CloneErrorText(int code, const plat::PortOpenFailure& port = {});

    // The bar as the paint box of the given width shows the running job.
    std::vector<ProgressSpan> ProgressCells(int width) const;
    void PaintProgress();

    cmcCloneDrv& Driver() { return *driver_; }
    int Total() const { return total_; }
    int OperationNow() const { return operation_; }

protected:
    // For a manager with a driver of its own kind.
    explicit indCloneMan(std::unique_ptr<cmcCloneDrv> driver);

    // Stores the operation and the job's handler; the driver's job is started with DriverDone.
    void SetJob(int operation, Handler handler, void* user);
    static void DriverDone(void* user, dst_CDrv_Result* result);
    void SetMainFormEnabled(bool enabled);
    void OpenProgress();
    void CloseProgress();

    // A settings frame of the link script: wake-up bytes, then item 01 (the line
    // speed) set to the two digits, sent at the given port settings.
    static std::string SpeedFrame(const char* settings, int modelA, int d1, int d2);
    static int ComPortSetting();
    static bool ComSpeedHighSetting();

    // Whether reads run at the high speed: the speed setting here.
    virtual bool ReadAtHighSpeed() const;
    // After the read check has run on a read's result.
    virtual void OnReadChecked(dst_CDrv_Result& result) {}
    // After the error box: the main form back and the progress window gone.
    virtual void EndJobWindows(int operation) { CloseProgress(); }
    // Every job's end, after the error box and before the job's own handler, with its result.
    virtual void OnJobEnd(int operation, dst_CDrv_Result& result) {}
    virtual std::string ErrorCaption() const;

private:
    static void OnProgressTick(void* user, cmcTask* task);
    void OnDriverDone(dst_CDrv_Result& result);
    void StartProgress(const RangeList& ranges);

    std::unique_ptr<CloneProgressView> view_;
    Handler infoCheck_ = nullptr;
    void* infoCheckUser_ = nullptr;
    Handler readCheck_ = nullptr;
    void* readCheckUser_ = nullptr;
    Handler job_ = nullptr;
    void* jobUser_ = nullptr;
    std::unique_ptr<cmcCloneDrv> driver_;
    int total_ = 0;
    int operation_ = kOpNone;
    cmcTask* task_;
};
