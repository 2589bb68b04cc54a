#include "foundation/indEnviron.h"

#include "platform/Screen.h"
#include "platform/SettingsStore.h"

#include <algorithm>

namespace {

const char* const kGlobal = "Global";
const char* const kRecent = "Recent File List";
const char* const kView = "View Option";
const char* const kWindow = "Window Position";
const char* const kSetup = "Setup";
const char* const kEditForm = "EditForm Position";
const char* const kEditFormValues[] = {"Left", "Top", "Width", "Height", "WindowState"};

std::string RecentName(int i) {
    return "Recent" + std::to_string(i);
}
std::string EditFormName(const std::string& form, const char* value) {
    return form + "_" + value;
}

// Reads values until the first one that is unusable; after that the whole
// set is worthless, so the caller throws every value away.
class SettingsReader {
public:
    explicit SettingsReader(const plat::SettingsStore& store) : store_(store) {}

    int32_t Integer(const char* group, const std::string& name) {
        plat::SettingsValue v = store_.Get(group, name);
        if (v.type != plat::ValueType::Integer) failed_ = true;
        return v.integer;
    }

    // A text that is simply not there is an empty one; a value of another type
    // is as bad as a broken integer.
    std::string Text(const char* group, const std::string& name) {
        plat::SettingsValue v = store_.Get(group, name);
        if (v.type == plat::ValueType::String) return v.text;
        if (v.type != plat::ValueType::Missing || !v.text.empty()) failed_ = true;
        return std::string();
    }

    bool Failed() const { return failed_; }

private:
    const plat::SettingsStore& store_;
    bool failed_ = false;
};

} // namespace

indEnviron::indEnviron(const std::string& mutexName, const std::string& registryPath,
                       const std::string& settingsFile, int32_t comSpeedHighDefault)
    : mutexName_(mutexName), registryPath_(registryPath), comSpeedHighDefault_(comSpeedHighDefault),
      lock_(mutexName) {
    // A second instance must not even read the file: it belongs to the first.
    if (lock_.GetState() == plat::InstanceLock::State::Acquired) {
        ownStore_ = std::make_unique<plat::IniSettingsStore>(
            settingsFile.empty() ? plat::SettingsFilePath(registryPath) : plat::ConfigFilePath(settingsFile));
        store_ = ownStore_.get();
    }
    Start();
}

indEnviron::indEnviron(const std::string& mutexName, const std::string& registryPath,
                       plat::SettingsStore& store, int32_t comSpeedHighDefault)
    : mutexName_(mutexName), registryPath_(registryPath), comSpeedHighDefault_(comSpeedHighDefault),
      lock_(mutexName), store_(&store) {
    Start();
}

void indEnviron::Start() {
    if (lock_.GetState() != plat::InstanceLock::State::Acquired) {
        store_ = nullptr;
        return;
    }
    firstInstance_ = true;
    if (!Read() || Marker != ValidMarker) SetDefaults();
}

indEnviron::~indEnviron() {
    if (firstInstance_ && Marker == ValidMarker) Write();
    lock_.Release();
}

bool indEnviron::Read() {
    SettingsReader r(*store_);
    Marker = r.Integer(kGlobal, "BBT");
    ComPort = std::clamp(r.Integer(kGlobal, "ComPort"), 1, 256);
    ComSpeedHigh = std::clamp(r.Integer(kGlobal, "ComSpeedHigh"), 0, 1);
    CurrentDirectory = r.Text(kGlobal, "Current Directory");
    for (int i = 0; i < RecentMax; ++i)
        Recent.Add(r.Text(kRecent, RecentName(i)));
    FontSizePercentage = std::clamp(r.Integer(kView, "FontSize Percentage"), 25, 1000);
    ToolbarVisible = r.Integer(kView, "Toolbar Visible") != 0 ? 1 : 0;
    WindowLeft = r.Integer(kWindow, "Left");
    WindowTop = r.Integer(kWindow, "Top");
    WindowWidth = r.Integer(kWindow, "Width");
    WindowHeight = r.Integer(kWindow, "Height");
    SplitterV = r.Integer(kWindow, "SplitterV");
    ModelType = r.Integer(kSetup, "ModelType");
    return !r.Failed();
}

void indEnviron::SetDefaults() {
    Marker = ValidMarker;
    ComPort = 1;
    ComSpeedHigh = comSpeedHighDefault_;
    CurrentDirectory.clear();
    Recent.Clear();
    FontSizePercentage = 100;
    ToolbarVisible = 1;
    plat::Rect screen = plat::Screen().PrimaryScreen();
    WindowWidth = std::min(static_cast<int32_t>(screen.width * 0.9), 800);
    WindowHeight = std::min(static_cast<int32_t>(screen.height * 0.9), 600);
    WindowLeft = (screen.width - WindowWidth) / 2;
    WindowTop = static_cast<int32_t>((screen.height - WindowHeight) * 0.3);
    SplitterV = 200;
    ModelType = 5;
}

void indEnviron::Write() {
    plat::SettingsStore& s = *store_;
    s.SetInteger(kGlobal, "BBT", Marker);
    s.SetInteger(kGlobal, "ComPort", ComPort);
    s.SetInteger(kGlobal, "ComSpeedHigh", ComSpeedHigh);
    s.SetString(kGlobal, "Current Directory", CurrentDirectory);
    // The stored paths, never the menu texts: those may have lost their directory.
    for (int i = 0; i < RecentMax; ++i)
        s.SetString(kRecent, RecentName(i), Recent.Path(i));
    s.SetInteger(kView, "FontSize Percentage", FontSizePercentage);
    s.SetInteger(kView, "Toolbar Visible", ToolbarVisible);
    s.SetInteger(kWindow, "Left", WindowLeft);
    s.SetInteger(kWindow, "Top", WindowTop);
    s.SetInteger(kWindow, "Width", WindowWidth);
    s.SetInteger(kWindow, "Height", WindowHeight);
    s.SetInteger(kWindow, "SplitterV", SplitterV);
    s.SetInteger(kSetup, "ModelType", ModelType);
    for (const indEditFormPos& p : editForms_) {
        const int32_t values[] = {p.Left, p.Top, p.Width, p.Height, p.WindowState};
        for (size_t i = 0; i < std::size(values); ++i)
            s.SetInteger(kEditForm, EditFormName(p.Name, kEditFormValues[i]), values[i]);
    }
    // One replacement of the whole file: a failure leaves the previous settings
    // intact, and at exit there is nobody left to tell.
    s.Flush();
}

indEditFormPos* indEnviron::FindEditFormPos(const std::string& name) {
    for (indEditFormPos& p : editForms_)
        if (p.Name == name) return &p;
    if (Marker != ValidMarker || !store_) return nullptr;
    int32_t values[std::size(kEditFormValues)];
    for (size_t i = 0; i < std::size(values); ++i) {
        plat::SettingsValue v = store_->Get(kEditForm, EditFormName(name, kEditFormValues[i]));
        if (v.type != plat::ValueType::Integer) return nullptr;
        values[i] = v.integer;
    }
    indEditFormPos p;
    p.Name = name;
    p.Left = values[0];
    p.Top = values[1];
    p.Width = values[2];
    p.Height = values[3];
    p.WindowState = values[4];
    editForms_.push_front(std::move(p));
    return &editForms_.front();
}

indEditFormPos& indEnviron::SetEditFormPos(const std::string& name, int32_t left, int32_t top, int32_t width,
                                           int32_t height, int32_t col, int32_t row, int32_t leftCol,
                                           int32_t topRow, int32_t windowState, int32_t flag) {
    indEditFormPos* found = FindEditFormPos(name);
    if (found) {
        auto it = std::find_if(editForms_.begin(), editForms_.end(),
                               [found](const indEditFormPos& p) { return &p == found; });
        editForms_.splice(editForms_.begin(), editForms_, it);
    } else {
        editForms_.emplace_front();
        editForms_.front().Name = name;
    }
    indEditFormPos& p = editForms_.front();
    p.Left = left;
    p.Top = top;
    p.Width = width;
    p.Height = height;
    p.Col = col;
    p.Row = row;
    p.LeftCol = leftCol;
    p.TopRow = topRow;
    p.WindowState = windowState;
    p.Flag = flag;
    return p;
}
