#include "clone/indCloneMan.h"

#include "foundation/Globals.h"
#include "foundation/ProgramProfile.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"
#include "foundation/cmcTask.h"
#include "foundation/indEnviron.h"
#include "image/cmcEeprom.h"
#include "platform/MessageBox.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace {

// The lines of "GI_Mess_CloneErr_Check".
enum CheckLine {
    kCheckPower,
    kCheckCable,
    kCheckComPort,
    kCheckOtherProgram,
    kCheckModel,
    kCheckVersion,
    kCheckRestart,
    kCheckWait
};

// The lines of "GI_AppMess_CloneErr_Port".
enum PortLine { kPortDevice, kPortPermission, kPortMissing, kPortInUse, kPortInUseHint };

// The hint lines that go with a result code. Where the radio answered and the
// program refused what it sent, power and cable are not the cause.
std::vector<int> CheckLines(int code) {
    switch (code) {
    case 9:  // data outside the radio's memory
    case 11: // another model, or an information block that is not whole
    case 14: // data of a newer version
    case 15: // a read image that is not valid
        return {kCheckModel, kCheckVersion};
    case 10:
        return {kCheckPower, kCheckComPort, kCheckOtherProgram};
    case 12:
        return {kCheckPower, kCheckCable, kCheckComPort, kCheckOtherProgram, kCheckModel, kCheckVersion};
    case 13:
        return {kCheckRestart, kCheckWait};
    case 16:
        return {};
    default:
        return {kCheckPower, kCheckCable, kCheckComPort, kCheckOtherProgram};
    }
}

std::vector<std::string> CheckTexts(const std::vector<int>& lines) {
    std::vector<std::string> texts;
    for (int line : lines)
        texts.push_back(gGTex->GetTextLine("GI_Mess_CloneErr_Check", line));
    return texts;
}

// A port that is there but cannot be opened: the device and why, and what
// the user can do about it in place of cable or power hints.
std::string PortFailureLine(const plat::PortOpenFailure& port, std::vector<std::string>& hints) {
    cmcGTex& texts = *gGTex;
    const auto line = [&texts](int n) { return texts.GetTextLine("GI_AppMess_CloneErr_Port", n); };
    switch (port.error) {
    case EACCES:
    case EPERM:
        hints = {line(kPortPermission)};
        break;
    case EBUSY:
        hints = {line(kPortInUseHint)};
        return FormatOneText(line(kPortInUse), port.path);
    default:
        hints = CheckTexts({kCheckComPort, kCheckOtherProgram});
        break;
    }
    return FormatOneText(FormatOneText(line(kPortDevice), port.path), std::strerror(port.error));
}

int RangeTotal(const RangeList& ranges) {
    int total = 0;
    for (const AddressRange& r : ranges) {
        if (r.last < r.first) break;
        total += r.last - r.first + 1;
    }
    return total;
}

} // namespace

std::string indCloneMan::SpeedFrame(const char* settings, int modelA, int d1, int d2) {
    char text[128];
    std::snprintf(text, sizeof text,
                  "(%s)FEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFE EEEF E8 %04X%04X 01 %02X%02X FD", settings,
                  static_cast<unsigned>(modelA & 0xFFFF), 0u, static_cast<unsigned>(d1),
                  static_cast<unsigned>(d2));
    return text;
}

int indCloneMan::ComPortSetting() {
    return gEnviron ? gEnviron->ComPort : 1;
}

bool indCloneMan::ComSpeedHighSetting() {
    return gEnviron ? gEnviron->ComSpeedHigh != 0 : true;
}

indCloneMan::indCloneMan() : indCloneMan(std::make_unique<cmcCloneDrv>()) {}

indCloneMan::indCloneMan(std::unique_ptr<cmcCloneDrv> driver)
    : driver_(std::move(driver)), task_(new cmcTask) {
    task_->SetHandler(&indCloneMan::OnProgressTick, this);
}

indCloneMan::~indCloneMan() {
    cmcTask::Dispose(task_);
    driver_.reset();
    if (view_) view_->Close();
}

void indCloneMan::SetProgressView(std::unique_ptr<CloneProgressView> view) {
    if (view_) view_->Close();
    view_ = std::move(view);
}

void indCloneMan::SetInfoHandler(Handler handler, void* user) {
    infoCheck_ = handler;
    infoCheckUser_ = user;
}

void indCloneMan::SetReadDoneHandler(Handler handler, void* user) {
    readCheck_ = handler;
    readCheckUser_ = user;
}

void indCloneMan::SetJob(int operation, Handler handler, void* user) {
    operation_ = operation;
    job_ = handler;
    jobUser_ = user;
}

bool indCloneMan::StartInfo(Handler handler, void* user) {
    if (IsBusy()) return false;
    BuildLinkScript(false, false);
    if (!driver_->StartInfo(&indCloneMan::DriverDone, this)) return false;
    SetJob(kOpInfo, handler, user);
    SetMainFormEnabled(false);
    return true;
}

bool indCloneMan::StartRead(const RangeList& ranges, Handler handler, void* user) {
    if (IsBusy()) return false;
    BuildLinkScript(ReadAtHighSpeed(), false);
    if (!driver_->StartRead(ranges, &indCloneMan::DriverDone, this)) return false;
    SetJob(kOpRead, handler, user);
    StartProgress(ranges);
    return true;
}

bool indCloneMan::StartWrite(const cmcEeprom& image, const RangeList& ranges, Handler handler, void* user) {
    if (IsBusy()) return false;
    BuildLinkScript(ComSpeedHighSetting(), true);
    driver_->SetGoTimeout(kWriteGoTimeoutMs);
    driver_->SetTimeout(kWriteTimeoutMs);
    if (!driver_->StartWrite(image, ranges, &indCloneMan::DriverDone, this)) return false;
    SetJob(kOpWrite, handler, user);
    StartProgress(ranges);
    return true;
}

void indCloneMan::StartProgress(const RangeList& ranges) {
    total_ = RangeTotal(ranges);
    OpenProgress();
    task_->SetInterval(kProgressPeriodMs);
}

bool indCloneMan::ReadAtHighSpeed() const {
    return ComSpeedHighSetting();
}

void indCloneMan::BuildLinkScript(bool highSpeed, bool write) {
    const int a = driver_->ModelA();
    char text[96];
    std::string script = SpeedFrame("38400,N,8,1", a, 0x32, 0x37) + "(9600,N,8,1)";
    std::snprintf(text, sizeof text, "FEFE EEEF E8 %04X%04X 55 %02X%02X FD",
                  static_cast<unsigned>(a & 0xFFFF), 0u, 0x30u, write ? 0x31u : 0x30u);
    script += text;
    if (highSpeed)
        script += SpeedFrame("9600,N,8,1", a, 0x30, 0x39);
    else
        script += SpeedFrame("38400,N,8,1", a, 0x32, 0x37);
    driver_->SetPort(ComPortSetting(), highSpeed ? "38400,N,8,1" : "9600,N,8,1");
    driver_->SetCommandLeadIn(highSpeed ? 48 : 12);
    driver_->SetDataLeadIns(0, 0);
    driver_->SetScript(script);
    driver_->SetEchoCheck(0);
    driver_->SetEndCount(1);
    driver_->SetWaitGo(1);
    driver_->SetAck(128, 0);
    driver_->SetTimeout(1000);
}

void indCloneMan::DriverDone(void* user, dst_CDrv_Result* result) {
    static_cast<indCloneMan*>(user)->OnDriverDone(*result);
}

void indCloneMan::OnDriverDone(dst_CDrv_Result& result) {
    const int operation = operation_;
    if (operation == kOpInfo) {
        if (infoCheck_)
            infoCheck_(infoCheckUser_, &result);
        else
            result.result = kCloneBadInfo;
    } else if (operation == kOpRead) {
        if (readCheck_)
            readCheck_(readCheckUser_, &result);
        else
            result.result = kCloneMissing;
        OnReadChecked(result);
    }
    ShowCloneError(result.result, result.portFailure);
    EndJobWindows(operation);
    OnJobEnd(operation, result);
    // The handler may start the next job, which stores its own handler.
    Handler job = std::exchange(job_, nullptr);
    void* user = std::exchange(jobUser_, nullptr);
    operation_ = kOpNone;
    if (job) job(user, &result);
}

std::string indCloneMan::CloneErrorText(int code, const plat::PortOpenFailure& port) {
    if (code == kCloneOk) return {};
    cmcGTex& texts = *gGTex;
    std::vector<std::string> hints = CheckTexts(CheckLines(code));
    // A code the head key has no line for is reported with the general line 1.
    std::optional<std::string> head;
    if (code > 0) head = texts.TryGetTextLine("GI_Mess_CloneErr_Head", code);
    if (!head || head->starts_with('#')) head = texts.GetTextLine("GI_Mess_CloneErr_Head", 1);
    if (code == kClonePortNotOpened) head = FormatOneNumber(*head, ComPortSetting());
    // A missing port keeps the general words (the port setting or the cable
    // is wrong) and names the device the port stands for.
    if (code == kClonePortNotOpened && port.error != 0 && port.IsMissing() && !port.path.empty())
        *head += "\n" + FormatOneText(texts.GetTextLine("GI_AppMess_CloneErr_Port", kPortMissing), port.path);
    else if (code == kClonePortNotOpened && port.error != 0)
        *head += "\n" + PortFailureLine(port, hints);
    std::string text = *head + "\n\n";
    for (size_t i = 0; i < hints.size(); ++i)
        text += (i ? "\n" : "") + hints[i];
    return text;
}

std::string indCloneMan::ErrorCaption() const {
    return BoxCaption();
}

void indCloneMan::ShowCloneError(int code, const plat::PortOpenFailure& port) {
    const std::string text = CloneErrorText(code, port);
    if (text.empty()) return;
    plat::ShowMessageBox(text, ErrorCaption(), plat::MB_OK | plat::MB_ICONERROR);
}

void indCloneMan::SetMainFormEnabled(bool enabled) {
    if (view_) view_->SetMainFormEnabled(enabled);
}

void indCloneMan::OpenProgress() {
    if (!view_ || view_->IsOpen()) return;
    view_->Open([this](int width) { return ProgressCells(width); });
}

void indCloneMan::CloseProgress() {
    if (!view_) return;
    view_->SetMainFormEnabled(true);
    if (view_->IsOpen()) view_->Close();
}

std::vector<ProgressSpan> indCloneMan::ProgressCells(int width) const {
    return ProgressSpans(width, driver_->DataByteCount(), total_);
}

void indCloneMan::PaintProgress() {
    if (view_ && view_->IsOpen()) view_->Repaint();
}

void indCloneMan::OnProgressTick(void* user, cmcTask* task) {
    auto* self = static_cast<indCloneMan*>(user);
    self->PaintProgress();
    if (!self->IsBusy()) task->SetInterval(-1);
}
