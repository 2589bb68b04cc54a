#pragma once
// A sheet on the offscreen screen as the cloning program shows it: the
// program's globals over the shipped overlay with the fixture sheets of
// tests/data/sheets joined to it, the stored model's start-up data with
// three programmed channels in bank 0, the open bank answered on the bus as
// the bank sheet answers it, and the real cell engine. Replay pauses are
// recorded instead of slept.
#include "cells/CellEngine.h"
#include "cells/LayoutCache.h"
#include "cells/PopupOpener.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/datCh.h"
#include "image/datClipCh.h"
#include "tests/app/DocumentFixture.h"
#include "tests/support/RecordingPopupOpener.h"
#include "tests/support/RecordingSleep.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/AppIcons.h"
#include "ui/cuiSheet.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace uitest {

class SheetFixture : public apptest::DocumentFixture {
protected:
    // The receive frequencies of the programmed rows 0, 1 and 2 of bank 0.
    static int32_t Freq(int32_t row) { return 150000000 + row * 12500; }

    SheetFixture() {
        const std::string program = ProgramDirWithFixture(TOLVANE_SOURCE_DIR "/tests/data/sheets/sheets.ovl");

        StartWith(CloningDocumentFactory(), program);
        Doc().LoadStartupData();
        cmcEeprom& image = Doc().WorkingImage();
        SetBankChannelCount(image, 0, 3);
        datCh ch(&image);
        const int32_t kind = ModelClassOf(gEnviron->ModelType);
        for (int32_t row = 0; row < 3; ++row) {
            ch.Load(kind, row);
            ch.rxFreq = ch.txFreq = Freq(row);
            ch.name = {'C', 'H', static_cast<uint8_t>('0' + row)};
            ch.Store(kind, row);
        }
        gEvMan->AddListener(&SheetFixture::AnswerBank, this);
        SetProgramClipboard(&clip_);
        host_.resize(900, 500);
    }
    ~SheetFixture() override {
        sheet_.reset();
        if (gEvMan) gEvMan->RemoveListener(&SheetFixture::AnswerBank, this);
        SetProgramClipboard(nullptr);
    }

    // Builds the sheet in the shown host window and gives its grid the focus.
    cuiSheet& Open(const std::string& name, const std::function<void(cuiSheet&)>& before = {}) {
        sheet_ = std::make_unique<cuiSheet>(CloningCellEngine(), &host_, opening_.get(), initialCell_,
                                            initialIndex_, *gGTex, name, &images_);
        if (before) before(*sheet_);
        sheet_->Build();
        host_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host_));
        host_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&host_));
        sheet_->Grid()->setFocus();
        QApplication::processEvents();
        return *sheet_;
    }
    cuiSheet& Sheet() { return *sheet_; }
    cuiGrid& Grid() { return *sheet_->Grid(); }

    // The current cell as (column, row).
    std::pair<int, int> Current() { return {Grid().Col(), Grid().Row()}; }

    // Clicks with the mouse in the middle of a cell.
    QPoint Centre(int col, int row) { return Grid().CellRect(col, row).center(); }

    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(&Grid(), Qt::Key(key), mods);
    }

    int32_t Id(const char* cellName) { return CloningCellEngine().Vocabulary().CellIndex(cellName); }

    // An owner that records every edit request and draw, and hands both on to
    // the cell engine unless told otherwise.
    struct Edit {
        int32_t col = -1, row = -1;
        cmcCellCapsule request;
    };
    struct Recorder {
        std::vector<Edit> edits;
        std::set<std::pair<int, int>> draws;
        // The text each cell was last drawn with.
        std::map<std::pair<int, int>, std::string> texts;
        std::function<int32_t(cmcCellCapsule&)> onEdit;
        std::function<void(cmcCellCapsule&)> onDraw;
    };
    void RecordOwner(cuiSheet& sheet) {
        sheet.SetOwnerCallback([this, &sheet](cmcCellCapsule& request, int32_t edit) -> int32_t {
            const auto at = Find(sheet, request.cell);
            if (!edit) {
                recorder_.draws.insert(at);
                const int32_t r = CloningCellEngine().Execute(request, 0);
                if (recorder_.onDraw) recorder_.onDraw(request);
                recorder_.texts[at] = request.displayText;
                return r;
            }
            recorder_.edits.push_back({at.first, at.second, request});
            if (recorder_.onEdit) return recorder_.onEdit(request);
            return CloningCellEngine().Execute(request, 1);
        });
    }
    static std::pair<int, int> Find(cuiSheet& sheet, const cmcCellObj* cell) {
        for (int r = 0; r < sheet.RowCount(); ++r)
            for (int c = 0; c < sheet.ColCount(); ++c)
                if (&sheet.GetCell(c, r) == cell) return {c, r};
        return {-1, -1};
    }

    // Paints what is pending and forgets the draws seen so far.
    void Settle() {
        QApplication::processEvents();
        recorder_.draws.clear();
    }

    QImage Shot(const std::string& name) {
        QImage shot = sheet_->SheetPanel()->grab().toImage();
        uitest::SavePicture(shot, QString::fromStdString("sheet13-" + name));
        return shot;
    }

    static void AnswerBank(void*, const cmcEvent& ev) {
        if (ev.type == evQueryBank && ev.mode == evModeSentWithAnswer) gEvMan->Answer(0, 0);
    }

    // What the main window provides the cells with.
    datClipCh clip_;
    cmcFCache lists_;
    ScopedLayoutCache useLists_{&lists_};
    RecordingPopupOpener popups_;
    ScopedPopupOpener usePopups_{&popups_};
    plat::RecordingSleep sleeps_;
    plat::ScopedSleeper sleeper_{&sleeps_};
    ImageList images_ = MakeTreeImageList();
    QWidget host_;
    std::unique_ptr<cmcCellCapsule> opening_;
    int32_t initialCell_ = 0;
    int32_t initialIndex_ = 0;
    std::unique_ptr<cuiSheet> sheet_;
    Recorder recorder_;
};

} // namespace uitest
