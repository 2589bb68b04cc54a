// The adjustment program's channel clipboard beside the cloning program's:
// which of the flags that stay with a position a plain paste leaves alone.
#include "adjust/AdjustClipboard.h"
#include "image/BankSite.h"
#include "tests/image/RowEditFixture.h"

namespace {

class AdjustClipboardTest : public rowtest::RowEditFixture {
protected:
    // Row 3 (the SmarTrunk bank 1) pasted plainly over row 1 (bank 0), then
    // bank 2 (row 5) made a bank of the second kind and row 5 pasted over row 0.
    void PasteAcrossBanks(::datClipCh& clip) {
        clip.Copy(image, kKind, 3, 1);
        clip.Paste(image, kKind, 1, 1);
        SetBankFlagB(image, 2, true);
        clip.Copy(image, kKind, 5, 1);
        clip.Paste(image, kKind, 0, 1);
    }
};

TEST_F(AdjustClipboardTest, APlainPasteKeepsBitsThreeAndFourOfThePositionOnly) {
    adj::datClipCh adjust;
    PasteAcrossBanks(adjust);
    EXPECT_EQ(RxFreq(0), Freq(5));
    EXPECT_TRUE(IsBankFlagB(image, 0)) << "the second bank bit travels with the row";
    EXPECT_FALSE(IsSmarTrunkBank(image, 0)) << "the first bank bit stays with the position";
    EXPECT_EQ(image.GetByte(layout::kRefCFlags) & 0x20, 0x20) << "reference C stays on";
}

TEST_F(AdjustClipboardTest, TheCloningProgramsKeepsAllThree) {
    ::datClipCh cloning;
    PasteAcrossBanks(cloning);
    EXPECT_EQ(RxFreq(0), Freq(5));
    EXPECT_FALSE(IsBankFlagB(image, 0));
    EXPECT_FALSE(IsSmarTrunkBank(image, 0));
}

} // namespace
