// The tree over a small list: marks over ranges of nodes, and the bank
// nodes' captions and pictures from the bus.
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "tests/ui/AppFixture.h"
#include "ui/AppIcons.h"
#include "ui/iuiTree.h"

#include <QColor>
#include <QImage>
#include <QTreeWidget>
#include <QWidget>

#include <string>
#include <vector>

namespace {

using uitest::AppFixture;

const char* const kLines[] = {
    "#Fx_Tree_BasicCell",
    "{}",
    "#Fx_Tree_Body",
    "+Top{(%CL_Null:top)}",
    " +A{(%CL_Null:a)}",
    "  +A1{(%CL_Null:a1)}",
    " +B{(%CallSheet:[St_ChBank]GI_Sheet_Mch_Lmr,Bank 3)}",
    " +C{(%CallSheet:[St_ChBank]GI_Sheet_Mch_Lmr,Bank 300)}",
    " +D{(%CallSheet:[St_Common]GI_Sheet_X,Bank 3)}",
    "+Later{(%CL_Null:later)}",
    " +L1{(%CL_Null:a1)}",
    "#End_Of_Ovl",
    nullptr,
};

class TreeTest : public AppFixture {
protected:
    TreeTest() {
        Start();
        texts_.SetLines(kLines);
        tree_ = std::make_unique<iuiTree>(&owner_, texts_, "Fx_Tree", &images_, Doc().WorkingImage());
        tree_->Build();
    }
    ~TreeTest() override { tree_.reset(); }
    QTreeWidgetItem* N(const char* link) { return tree_->FindNode(link); }

    cmcGTex texts_;
    ImageList images_ = MakeTreeImageList();
    QWidget owner_;
    std::unique_ptr<iuiTree> tree_;
};

TEST_F(TreeTest, MarksCoverANodesRangeAndShowOnCollapsedAncestorsOnly) {
    QTreeWidgetItem* top = N("top");
    QTreeWidgetItem* a = N("a");
    a->setExpanded(false);
    EXPECT_EQ(tree_->MarkOverlays(top, {"a1"}, cuiTree::kOverlayError), 1)
        << "stops before the later top node";
    EXPECT_EQ(cuiTree::OverlayOf(a->child(0)), cuiTree::kOverlayError);
    EXPECT_EQ(cuiTree::OverlayOf(a), cuiTree::kOverlayError) << "collapsed: shows what it hides";
    EXPECT_EQ(cuiTree::OverlayOf(top), -1) << "expanded: left alone";
    EXPECT_EQ(cuiTree::OverlayOf(N("later")->child(0)), -1);

    tree_->ClearOverlays(N("later"));
    EXPECT_EQ(cuiTree::OverlayOf(a), cuiTree::kOverlayError) << "another branch's clear leaves it";
    tree_->ClearOverlays(top);
    EXPECT_EQ(cuiTree::OverlayOf(a), -1);
    EXPECT_EQ(cuiTree::OverlayOf(a->child(0)), -1);
}

TEST_F(TreeTest, BankEventsTouchOnlyBankNodesWithANumberInRange) {
    SetBankChannelCount(Doc().WorkingImage(), 3, 2);
    gEvMan->Send(evRebuildTree);
    EXPECT_EQ(cuiTree::ImageOf(N("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 3")), iuiTree::kImageBank + 1);
    EXPECT_EQ(iuiTree::BankOfNode(N("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 300")), -1);
    EXPECT_EQ(iuiTree::BankOfNode(N("[St_Common]GI_Sheet_X,Bank 3")), -1);

    gEvMan->SendText(evSetBankNodeText, 0, 3, "4: ALPHA");
    gEvMan->SendText(evSetBankNodeText, 0, 7, "8: NONE");
    gEvMan->SendText(evSetBankNodeText, 0, 300, "301: FAR");
    std::vector<std::string> captions;
    for (QTreeWidgetItemIterator it(tree_->View()); *it; ++it)
        captions.push_back((*it)->text(0).toStdString());
    EXPECT_EQ(captions, (std::vector<std::string>{"Top", "A", "A1", "4: ALPHA", "C", "D", "Later", "L1"}));
}

TEST_F(TreeTest, DeletingABranchKeepsTheOtherNodesCells) {
    const cmcCellObj* kept = cuiTree::CellOf(N("later")->child(0));
    tree_->DeleteChildren(N("a"));
    EXPECT_EQ(N("a")->childCount(), 0);
    ASSERT_EQ(N("a1"), N("later")->child(0)) << "the later branch's node of the same link is found now";
    EXPECT_EQ(cuiTree::CellOf(N("a1")), kept);
}

} // namespace

namespace {

// The pictures of a bank node: its kind (conventional, SmarTrunk, LTR) and
// whether it holds channels, each a picture of its own; an empty bank's is
// mostly the white of an outline, a used bank's mostly its kind's colour.
TEST(TreeImagesTest, EachBankKindEmptyOrUsedHasAPictureOfItsOwn) {
    const ImageList images = MakeTreeImageList();
    ASSERT_GE(images.size(), 10);
    std::vector<QImage> banks;
    for (int i = 4; i <= 9; ++i)
        banks.push_back(images[i].pixmap(16, 16).toImage());
    for (size_t a = 0; a < banks.size(); ++a)
        for (size_t b = a + 1; b < banks.size(); ++b)
            EXPECT_NE(banks[a], banks[b]) << a + 4 << " and " << b + 4;
    const auto whiteShare = [](const QImage& image) {
        int white = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                white += image.pixelColor(x, y) == QColor(Qt::white);
        return white;
    };
    for (size_t kind = 0; kind < 3; ++kind)
        EXPECT_GT(whiteShare(banks[2 * kind]), 2 * whiteShare(banks[2 * kind + 1])) << "kind " << kind;
}

} // namespace
