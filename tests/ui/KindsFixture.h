#pragma once
// The sheet kinds over the shipped overlay and a model's start-up data, with
// the document (no window) carrying out the row events 26 to 29 as the
// program does, and the real cell engine. Replay pauses are recorded
// instead of slept.
#include "cells/CellEngine.h"
#include "cells/LayoutCache.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/BankSite.h"
#include "image/datCh.h"
#include "image/datClipCh.h"
#include "tests/app/DocumentFixture.h"
#include "tests/support/BankFill.h"
#include "tests/support/RecordingSleep.h"
#include "ui/AppIcons.h"
#include "ui/cuiSheet.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>

namespace uitest {

class KindsFixture : public apptest::DocumentFixture {
protected:
    KindsFixture() {
        // The shipped overlay with the fixture sheets of tests/data joined to it.
        const std::string program = ProgramDirWithFixture(TOLVANE_SOURCE_DIR "/tests/data/sheets/kinds.ovl");
        StartWith(CloningDocumentFactory(), program);
        SetProgramClipboard(&clip_);
        host_.resize(1200, 600);
    }
    ~KindsFixture() override {
        // The sheet and whatever it left behind go while the cells still have their clipboard.
        sheet_.reset();
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetProgramClipboard(nullptr);
    }

    // The model's start-up data as the working image.
    void LoadModel(int32_t model) {
        gEnviron->ModelType = model;
        Doc().LoadStartupData();
    }

    // The receive frequency programmed into channel row r.
    static int32_t Freq(int32_t row) { return testsupport::RowFrequency(row); }

    // Gives the bank count channels, each programmed with its row's frequency.
    void FillBank(int32_t bank, int32_t count) { testsupport::FillBank(Doc().WorkingImage(), bank, count); }

    // Builds the sheet in the shown host window with its grid focused.
    template <class Sheet> Sheet& Show(std::unique_ptr<Sheet> sheet, const std::string& params) {
        Sheet& s = *sheet;
        sheet_ = std::move(sheet);
        s.SetParams(params);
        s.Build();
        host_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host_));
        host_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&host_));
        s.Grid()->setFocus();
        QApplication::processEvents();
        return s;
    }
    template <class Sheet> Sheet& Open(const std::string& name, const std::string& params) {
        return Show(
            std::make_unique<Sheet>(CloningCellEngine(), &host_, nullptr, 0, 0, *gGTex, name, &images_),
            params);
    }

    std::pair<int, int> Current() { return {sheet_->Grid()->Col(), sheet_->Grid()->Row()}; }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(sheet_->Grid(), Qt::Key(key), mods);
    }
    int32_t Id(const char* cellName) { return CloningCellEngine().Vocabulary().CellIndex(cellName); }
    // The first column whose channel-row cell has the id; -1 when none.
    int ColumnOf(cuiSheet& sheet, int row, const char* cellName) {
        for (int c = 0; c < sheet.ColCount(); ++c)
            if (sheet.GetCell(c, row).cellId == Id(cellName)) return c;
        return -1;
    }

    // What the main window provides the cells with.
    datClipCh clip_;
    cmcFCache lists_;
    ScopedLayoutCache useLists_{&lists_};
    plat::RecordingSleep sleeps_;
    plat::ScopedSleeper sleeper_{&sleeps_};
    ImageList images_ = MakeTreeImageList();
    QWidget host_;
    std::unique_ptr<cuiSheet> sheet_;
};

} // namespace uitest
