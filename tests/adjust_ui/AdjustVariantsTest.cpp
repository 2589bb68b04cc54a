// Where the adjustment program's menus, bit-field editor, glyph editor and
// tree behave otherwise than the cloning program's, each beside the cloning
// program's class over the same input, so that both rules stay.
#include "adjust/AdjustVocabulary.h"
#include "adjust/ui/cuiCEdit.h"
#include "adjust/ui/cuiFBitsR.h"
#include "adjust/ui/cuiMenu.h"
#include "adjust/ui/iuiTree.h"
#include "cells/CellEngine.h"
#include "cells/RadioFont.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "tests/adjust/AdjustDocumentFixture.h"
#include "ui/AppIcons.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace {

class AdjustVariantsTest : public adjtest::AdjustDocumentFixture {
protected:
    AdjustVariantsTest() { StartAdjust(); }
    int32_t Id(const char* name) { return adj::AdjustCellVocabulary().CellIndex(name); }

    ScopedCellEngine engine_{adj::AdjustCellEngine()};
};

// The About item's cell leaves bit 0x40 alone: what stays of it after a
// refresh is the menu's doing.
template <class Menu> bool KeepsUnreadBit(const CellEngine& engine, int32_t itemCell) {
    QMenuBar bar;
    Menu menu(engine, &bar, *gGTex, "GI_Menu_Main");
    menu.Build();
    QAction* item = menu.FindItemByCommand(nullptr, itemCell);
    if (!item) return false;
    cmcCellObj* cell = ::cuiMenu::CellOf(item);
    cell->flags2 |= ::cuiMenu::kUnreadStateBit;
    menu.RefreshAll();
    return (cell->flags2 & ::cuiMenu::kUnreadStateBit) != 0;
}

TEST_F(AdjustVariantsTest, AMenuRefreshKeepsBit0x40WhereTheCloningProgramsClearsIt) {
    EXPECT_TRUE(KeepsUnreadBit<adj::cuiMenu>(adj::AdjustCellEngine(), Id("CL_Help_About")));
    EXPECT_FALSE(KeepsUnreadBit<::cuiMenu>(adj::AdjustCellEngine(), Id("CL_Help_About")));
}

TEST_F(AdjustVariantsTest, LabelKindThreeNamesBitsNineToTwelve) {
    struct Case {
        int32_t kind;
        int32_t bit;
        const char* adjust;
        const char* cloning;
    };
    const Case cases[] = {
        {3, 9, "9", "9"}, {3, 10, "0", "A"}, {3, 11, "Z", "B"}, {3, 12, "12", "C"}, {3, 17, "17", "Z"},
        {3, 0, "0", "0"}, {1, 11, "B", "B"}, {2, 10, "0", "0"}, {4, 1, "A", "A"},   {6, 2, "B10", "B10"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(adj::cuiFBitsR::Label(c.kind, c.bit, 12), c.adjust) << c.kind << " " << c.bit;
        EXPECT_EQ(::cuiFBitsR::CloningLabel(c.kind, c.bit, 12), c.cloning) << c.kind << " " << c.bit;
    }
}

TEST_F(AdjustVariantsTest, GreyDotsFollowTheModelAndTheDisplayForm) {
    constexpr int32_t kW = 8;
    constexpr int32_t kH = 16;
    struct Case {
        int32_t model;
        bool large;
        int32_t x;
        int32_t y;
        bool grey;
    };
    const Case cases[] = {
        // Handheld: the last column, the top three rows and the bottom two, in either form.
        {0, false, kW - 1, 5, true},
        {0, false, 3, 2, true},
        {0, false, 3, 3, false},
        {4, true, 3, kH - 3, false},
        {4, true, 3, kH - 2, true},
        {2, true, 0, 0, true},
        // Mobile, large form: row 0 and the last column only.
        {5, true, 3, 0, true},
        {5, true, 3, 1, false},
        {9, true, 3, kH - 1, false},
        {9, true, kW - 1, 8, true},
        // Mobile, small form: also row 1 and the bottom three rows.
        {5, false, 3, 1, true},
        {5, false, 3, 2, false},
        {7, false, 3, kH - 4, false},
        {7, false, 3, kH - 3, true},
    };
    for (const Case& c : cases) {
        gEnviron->ModelType = c.model;
        Doc().WorkingImage().SetByte(kDisplayFlagsByte, c.large ? kLargeGlyphBit : 0);
        cmcCellCapsule request;
        auto* editor =
            new adj::cuiCEdit(adj::AdjustCellEngine(), request, 6, kW, kH, std::vector<uint8_t>(kW * kH, 0));
        EXPECT_EQ(!editor->IsUsable(c.x, c.y), c.grey)
            << "model " << c.model << (c.large ? " large " : " small ") << c.x << "," << c.y;
        delete editor->Form();
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

const char* const kTreeLines[] = {
    "#Fx_Tree_BasicCell",
    "{}",
    "#Fx_Tree_Body",
    "+Top{(%CL_Null:top)}",
    " +B{(%CallSheet:[St_ChBank]GI_Sheet_Mch_Lmr,Bank 3)}",
    " +C{(%CallSheet:[St_ChBank]GI_Sheet_Mch_Lmr,Bank 4)}",
    " +B again{(%CallSheet:[St_ChBank]GI_Sheet_Mch_Lmr_Mob,Bank 3)}",
    "#End_Of_Ovl",
    nullptr,
};

template <class Tree> std::vector<std::string> CaptionsAfterBankEvents(const cmcEeprom& image) {
    cmcGTex texts;
    texts.SetLines(kTreeLines);
    const ImageList images = MakeTreeImageList();
    QWidget owner;
    Tree tree(&owner, texts, "Fx_Tree", &images, image);
    tree.Build();
    gEvMan->SendText(evSetBankNodeText, 0, 3, "4: ALPHA");
    gEvMan->Send(evBankNodeTextFromImage, 0, 4);
    std::vector<std::string> captions;
    for (QTreeWidgetItemIterator it(tree.View()); *it; ++it)
        captions.push_back((*it)->text(0).toStdString());
    return captions;
}

TEST_F(AdjustVariantsTest, Event36RenamesEveryNodeOfTheBankAnd37IsIgnored) {
    EXPECT_EQ(CaptionsAfterBankEvents<adj::iuiTree>(Doc().WorkingImage()),
              (std::vector<std::string>{"Top", "4: ALPHA", "C", "4: ALPHA"}));
    const std::vector<std::string> cloning = CaptionsAfterBankEvents<::iuiTree>(Doc().WorkingImage());
    EXPECT_EQ(cloning[1], "4: ALPHA");
    EXPECT_EQ(cloning[3], "B again");
    EXPECT_NE(cloning[2], "C") << "the cloning program's tree takes bank 4's caption from the image";
}

} // namespace
