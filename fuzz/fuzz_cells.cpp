// A random cell definition and what a user could type into that cell, run
// through the per-cell function on a model's start-up data: whatever the
// definition names and whatever is typed, nothing may end the program, read
// or write outside the image, or be undefined behaviour.
//
// Input: one byte picks the model and one the bank and site the open sheet
// shows; then the definition up to a line end; then two bytes per step: what
// the user does and with which key, text, list value, command or row. A step
// may bring another definition, up to its line end, and go on in that cell.
//
// The texts, lists and every model's start-up data are built once per
// process; each input starts from a copy of its model's start-up data in
// image buffers that stay, so that an input costs what its cells do.
#include "cells/LayoutCache.h"
#include "cells/PopupOpener.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "cells/indActiveCell.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/RowEdit.h"
#include "image/cmcEeprom.h"
#include "image/datClipCh.h"
#include "platform/Fatal.h"
#include "platform/HelpViewer.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/RecordingAppManager.h"
#include "tests/support/RecordingPopupOpener.h"
#include "tools/initdata/StartupImage.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int kModels = 10;
constexpr size_t kLongestDefinition = 256;
constexpr int kLongestText = 16;

void AbortOnFatal(const std::string& text) {
    std::fprintf(stderr, "fatal: %s\n", text.c_str());
    std::abort();
}

// Cells run by every input so far: inputs differ a hundredfold in length, so
// this and not the count of inputs says how much of the cells a run covered.
unsigned long long gCellsRun = 0;

void ReportCellsRun() {
    std::fprintf(stderr, "cells run: %llu\n", gCellsRun);
}

// Definitions come with the program and are trusted: one that names no
// category, cell or channel parameter ends the program by design. Such a
// definition is no finding, only the end of this input.
bool gParsing = false;
struct Refused {};

void OnFatal(const std::string& text) {
    if (gParsing) throw Refused{};
    AbortOnFatal(text);
}

// Every question gets its first answer, so the commands behind it run.
class AnswerFirst : public plat::MessageBoxService {
public:
    int Show(const std::string&, const std::string&, unsigned flags) override {
        return (flags & 0x0F) == plat::MB_YESNO || (flags & 0x0F) == plat::MB_YESNOCANCEL ? plat::IDYES
                                                                                          : plat::IDOK;
    }
};

class NoHelp : public plat::HelpViewer {
public:
    void SetHelpFile(const std::string&) override {}
    void ShowContextPopup(int32_t) override {}
    void ShowFinder() override {}
};

class NoClipboard : public plat::Clipboard {
public:
    void SetText(const std::string&) override {}
};

// What stays from one input to the next: services, settings, texts and the
// start-up data of every model.
struct Process {
    plat::ManualScheduler scheduler;
    plat::MemorySettingsStore store;
    std::unique_ptr<indEnviron> settings;
    cmcGTex texts;
    cmcEvMan* bus = nullptr;
    AnswerFirst boxes;
    NoHelp help;
    NoClipboard clipboard;
    cmcFCache lists;
    std::array<cmcEeprom, kModels> startup;
    // The buffers each input's working and reference images live in.
    cmcEeprom working;
    cmcEeprom reference;
    int32_t bank = 0;
    int32_t site = 0;

    Process() {
        plat::SetFatalHandler(OnFatal);
        std::atexit(ReportCellsRun);
        scheduler.Install();
        char dir[] = "/tmp/tolvane-fuzz-XXXXXX";
        if (mkdtemp(dir)) setenv("XDG_RUNTIME_DIR", dir, 1);
        settings = std::make_unique<indEnviron>("Morv Tolvane APP Exclusive Mutex", "Software\\Morv\\Tolvane",
                                                store);
        gEnviron = settings.get();
        if (texts.SetFile(TOLVANE_BIN_DIR "/QT4410R.OVL") != 1)
            AbortOnFatal("no overlay in " TOLVANE_BIN_DIR);
        gGTex = &texts;
        bus = new cmcEvMan;
        gEvMan = bus;
        gEvMan->AddListener(&Process::OnEvent, this);
        plat::SetMessageBoxes(&boxes);
        plat::SetHelpViewer(&help);
        plat::SetClipboard(&clipboard);
        static ScopedLayoutCache useLists(&lists);
        for (int model = 0; model < kModels; ++model)
            BuildStartupImage(startup[static_cast<size_t>(model)], model);
        working = startup[0];
        reference = startup[0];
    }

    // The main window's part: rows inserted and removed, and the open sheet's bank and site.
    static void OnEvent(void* user, const cmcEvent& ev) {
        auto* self = static_cast<Process*>(user);
        if (gAppManager)
            HandleRowEvent(ev, gAppManager->WorkingImage(), gAppManager->ReferenceImage(), GetModelClass());
        if (ev.mode != evModeSentWithAnswer) return;
        if (ev.type == evQueryBank) gEvMan->Answer(self->bank, 0);
        if (ev.type == evQuerySite) gEvMan->Answer(self->site, 0);
    }
};

Process& TheProcess() {
    static Process* process = new Process;
    return *process;
}

cuiGrid* SomeGrid() {
    static char grid;
    return reinterpret_cast<cuiGrid*>(&grid);
}

// Keys a user can press on a cell: digits, letters, signs and the editing keys.
int32_t KeyOf(uint8_t b) {
    static const int32_t kKeys[] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A', 'F', 'Z', 'a',
                                    '.', '-', '+', '*', '#', ' ', 13,  27,  8,   9,   46,  256, 127, 0};
    return b < std::size(kKeys) ? kKeys[b] : b;
}

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool More() const { return pos_ < size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::string Text(size_t most, char end) {
        std::string text;
        while (pos_ < size_ && text.size() < most && data_[pos_] != static_cast<uint8_t>(end))
            text += static_cast<char>(data_[pos_++]);
        if (pos_ < size_ && data_[pos_] == static_cast<uint8_t>(end)) ++pos_;
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// False when the definition is refused (see OnFatal).
bool ParseDefinition(cmcCellObj& cell, const std::string& text, int32_t* chParams) {
    try {
        gParsing = true;
        cell.Parse(text, chParams, nullptr);
        gParsing = false;
        return true;
    } catch (const Refused&) {
        gParsing = false;
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Process& process = TheProcess();
    Input in(data, size);
    const int model = in.Byte() % kModels;
    const uint8_t place = in.Byte();
    process.bank = place % layout::kBanks;
    process.site = place % layout::kSites;
    gEnviron->ModelType = model;

    RecordingAppManager app;
    std::swap(app.WorkingImage(), process.working);
    std::swap(app.ReferenceImage(), process.reference);
    // Same size as what they held: the copies reuse the buffers.
    app.WorkingImage() = process.startup[static_cast<size_t>(model)];
    app.ReferenceImage() = process.startup[static_cast<size_t>(model)];
    ScopedAppManager useApp(&app);
    SetCurrentImage(&app.WorkingImage());
    datClipCh clip;
    SetProgramClipboard(&clip);
    struct Unbind {
        Process& process;
        RecordingAppManager& app;
        ~Unbind() {
            SetProgramClipboard(nullptr);
            SetCurrentImage(nullptr);
            std::swap(app.WorkingImage(), process.working);
            std::swap(app.ReferenceImage(), process.reference);
        }
    } unbind{process, app};
    RecordingPopupOpener popups;
    ScopedPopupOpener usePopups(&popups);

    int32_t chParams[cmcCellObj::kChParams] = {};
    cmcCellObj cell;
    if (!ParseDefinition(cell, in.Text(kLongestDefinition, '\n'), chParams)) return 0;

    int32_t bank = process.bank;
    while (in.More()) {
        const uint8_t step = in.Byte();
        if (step % 8 == 0 && step & 0x40) {
            // Another cell of the same sheet, its definition up to the next line end.
            cmcCellObj next;
            if (ParseDefinition(next, in.Text(kLongestDefinition, '\n'), chParams)) cell = next;
            continue;
        }
        const uint8_t arg = in.Byte();
        cmcCellCapsule request;
        request.cell = &cell;
        request.bank = bank;
        request.grid = request.editGrid = step & 0x80 ? nullptr : SomeGrid();
        cmcCellObj item;
        cmcCellCapsule itemRequest;
        switch (step % 8) {
        case 0: // shown
            break;
        case 1: // a key
            request.key = KeyOf(arg);
            break;
        case 2: // a typed text committed
            request.mode = cmcCellCapsule::kModeCommit;
            request.editText = in.Text(arg % kLongestText, '\n');
            break;
        case 3: // a value picked from the cell's list
            item.category = 0;
            item.cellId = cell.cellId;
            item.index = arg;
            itemRequest.cell = &item;
            request.mode = cmcCellCapsule::kModePick;
            request.linkedRequest = &itemRequest;
            break;
        case 4: // a command of the menus and row commands
            request.command = arg;
            break;
        case 5: // another row, before, inside and past the tables
            cell.index = static_cast<int8_t>(arg) * 5;
            continue;
        case 6: // a range of rows selected
            request.rangeSelected = true;
            request.rangeFirst = arg % 64;
            request.rangeLast = arg % 64 + arg / 64;
            request.command = 88 + arg % 8;
            break;
        default: // another bank
            bank = arg % (layout::kBanks + 2);
            continue;
        }
        indActiveCell::Execute(request, 1);
        ++gCellsRun;
        process.scheduler.Advance(20);
        // What the cells asked of the application manager is not looked at; a
        // long input would only pile it up.
        app.calls.clear();
        if (app.WorkingImage().GetSize() != layout::kImageSize)
            AbortOnFatal("the working image changed size");
    }
    process.scheduler.Advance(300);
    return 0;
}
