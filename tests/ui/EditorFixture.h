#pragma once
// A sheet on the offscreen screen (see SheetFixture) whose cells open the
// real pop-up editors, and helpers to find the one open and drive it.
#include "cells/CellEngine.h"
#include "cells/PopupOpener.h"
#include "tests/ui/SheetFixture.h"
#include "ui/cuiCEdit.h"
#include "ui/cuiFBitsR.h"
#include "ui/cuiFText.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

namespace uitest {

// Opens the editors as the program does; the lists stay recorded.
class EditorOpener : public RecordingPopupOpener {
public:
    void OpenBitsEditor(const cmcCellCapsule& request, cmcGTex* texts, int32_t value, int32_t firstDigit,
                        int32_t lastDigit, int32_t style, int32_t markStyle,
                        const std::string& dialogKey) override {
        RecordingPopupOpener::OpenBitsEditor(request, texts, value, firstDigit, lastDigit, style, markStyle,
                                             dialogKey);
        bits = new cuiFBitsR(CloningCellEngine(), request, *texts, value, firstDigit, lastDigit, style,
                             markStyle, dialogKey);
    }
    void OpenTextEditor(const cmcCellCapsule& request, cmcGTex* texts, const std::string& bytes,
                        bool openedByEnter, int32_t maxLength) override {
        RecordingPopupOpener::OpenTextEditor(request, texts, bytes, openedByEnter, maxLength);
        text = new cuiFText(CloningCellEngine(), request, *texts, bytes, openedByEnter, maxLength);
    }
    void OpenCharEditor(const cmcCellCapsule& request, int32_t dotSize, int32_t width, int32_t height,
                        const std::vector<uint8_t>& dots) override {
        RecordingPopupOpener::OpenCharEditor(request, dotSize, width, height, dots);
        glyph = new cuiCEdit(CloningCellEngine(), request, dotSize, width, height, dots, &toolImages);
    }

    QPointer<cuiFBitsR> bits;
    QPointer<cuiFText> text;
    QPointer<cuiCEdit> glyph;
    // The main window's tool-bar pictures.
    ImageList toolImages = MakeToolBarImageList();
};

class EditorFixture : public SheetFixture {
protected:
    // The program's texts with the editors' fixture sheets joined to them.
    EditorFixture() {
        std::string overlay = testsupport::TempDir::ReadFile(dir_.File("program/QT4410R.OVL"));
        overlay.erase(overlay.rfind("#End_Of_Ovl"));
        overlay += testsupport::TempDir::ReadFile(TOLVANE_SOURCE_DIR "/tests/data/editors/editors.ovl");
        overlay += "#End_Of_Ovl\n";
        testsupport::TempDir::WriteFile(dir_.File("editors.ovl"), overlay);
        texts_.SetFile(dir_.File("editors.ovl"));
        programTexts_ = gGTex;
        gGTex = &texts_;
    }
    ~EditorFixture() override {
        sheet_.reset();
        Drain();
        gGTex = programTexts_;
    }

    // The whole image as it is now, to compare after an edit.
    std::vector<uint8_t> ImageBytes() {
        const cmcEeprom& image = Doc().WorkingImage();
        std::vector<uint8_t> bytes(static_cast<size_t>(image.GetSize()));
        for (int32_t a = 0; a < image.GetSize(); ++a)
            bytes[static_cast<size_t>(a)] = image.GetByte(a);
        return bytes;
    }
    // The addresses whose bytes differ.
    static std::vector<int32_t> Changed(const std::vector<uint8_t>& before,
                                        const std::vector<uint8_t>& after) {
        std::vector<int32_t> at;
        for (size_t a = 0; a < before.size(); ++a)
            if (before[a] != after[a]) at.push_back(static_cast<int32_t>(a));
        return at;
    }

    // Makes the cell current and opens its editor with Enter.
    void OpenAt(int col, int row, int key = Qt::Key_Return) {
        Sheet().SetCurrentCell(col, row);
        QApplication::processEvents();
        Key(key);
        QApplication::processEvents();
    }

    // Lets a released editor window go.
    static void Drain() {
        for (int i = 0; i < 3; ++i) {
            QApplication::processEvents();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // A click elsewhere: the sheet's window becomes the active one again.
    void ClickElsewhere() {
        host_.activateWindow();
        QApplication::setActiveWindow(&host_);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&host_));
        Drain();
    }

    cmcGTex texts_;
    cmcGTex* programTexts_ = nullptr;
    EditorOpener editors_;
    ScopedPopupOpener useEditors_{&editors_};
};

} // namespace uitest
