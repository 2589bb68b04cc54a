#include "image/ModelPasses.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/ImageUnpacking.h"
#include "image/PartitionTable.h"
#include "image/RecordLayout.h"
#include "image/cmcEeprom.h"
#include "image/cmcIcfFile.h"
#include "tests/image/RecordFixture.h"
#include "tests/image/ScopedModel.h"
#include "tests/image/StartupData.h"
#include "tests/support/ParamNames.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using recordtest::G;
using recordtest::S;
using recordtest::X;

namespace {

using testsupport::PrintTo;

void PutDword(cmcEeprom& image, int32_t at, uint32_t v) {
    image.SetWord(at, static_cast<uint16_t>(v >> 16));
    image.SetWord(at + 2, static_cast<uint16_t>(v));
}

// The image's first n bytes as an image of their own.
void KeepFirst(cmcEeprom& image, int32_t n) {
    cmcEeprom shorter;
    shorter.SetSize(n);
    shorter.Write(0, image.Data(), n);
    image = shorter;
}

std::vector<uint8_t> Bytes(const cmcEeprom& image, int32_t at, int32_t length) {
    return {image.Data() + at, image.Data() + at + length};
}

// Model passes on real start-up data: the reference is a model's start-up file
// expanded as a model change expands it, the image starts as a copy of it.
class ModelPassesTest : public ::testing::Test {
protected:
    ModelPassesTest() : oldTexts_(gGTex) {
        texts_.SetFile(std::string(TOLVANE_BIN_DIR) + "/QT4410R.OVL");
        gGTex = &texts_;
    }
    ~ModelPassesTest() override { gGTex = oldTexts_; }

    // The start-up file of a model as read, still packed.
    cmcEeprom StartupFile(int index) {
        cmcEeprom file;
        EXPECT_EQ(testimage::LoadCloneFile(testimage::StartupFilePath(texts_, index), file), cmcIcfFile::kOk);
        return file;
    }

    void UseModel(int index) {
        model_.reset();
        model_.emplace(index);
        index_ = index;
        ref_ = StartupFile(index);
        Dynamic2Static(ref_);
        image_ = ref_;
    }

    // Mode 0 unpacks first, so the test's static tables go into the dynamic area beforehand.
    void Normalize(int mode) {
        if (mode == 0) {
            ASSERT_EQ(Static2DynamicInit(image_, ModelClassOf(index_)), 0);
        }
        NormalizeImage(image_, ref_, index_, mode, Packing());
    }

    // The plain packing of the model the test uses.
    ImagePacking Packing() const { return PackingFor(ModelClassOf(index_)); }

    void SetChannelFreq(int32_t row, uint32_t hz) { PutDword(image_, S(row, 0), hz); }

    cmcGTex texts_;
    cmcGTex* oldTexts_;
    plat::ScriptedMessageBox noBoxes_;
    plat::ScopedMessageBoxes boxes_{&noBoxes_};
    std::optional<testimage::ScopedModel> model_;
    int index_ = 0;
    cmcEeprom ref_;
    cmcEeprom image_;
};

// ---- Header and model checks ----

struct HeaderCase {
    const char* name;
    std::function<void(cmcEeprom&)> change;
    int loose;
    int strict;
};

class CheckImageHeaderTest : public ModelPassesTest, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(CheckImageHeaderTest, AcceptsOnlyAWritableHeader) {
    cmcEeprom image = StartupFile(0);
    GetParam().change(image);
    const cmcEeprom before = image;
    EXPECT_EQ(CheckImageHeader(image, false), GetParam().loose);
    EXPECT_EQ(CheckImageHeader(image, true), GetParam().strict);
    EXPECT_TRUE(image.IsEqual(before));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckImageHeaderTest,
    ::testing::Values(
        HeaderCase{"AsPacked", [](cmcEeprom&) {}, 0, 0},
        HeaderCase{"ImageCode", [](cmcEeprom& i) { i.SetWord(0, 0x4406); }, 1, 1},
        HeaderCase{"Version", [](cmcEeprom& i) { i.SetByte(2, 2); }, 1, 1},
        HeaderCase{"WriteFlagOne", [](cmcEeprom& i) { i.SetByte(264, 1); }, 0, 0},
        HeaderCase{"WriteFlagTwo", [](cmcEeprom& i) { i.SetByte(264, 2); }, 1, 1},
        HeaderCase{"Signature", [](cmcEeprom& i) { i.SetByte(256, 'm'); }, 0, 1},
        HeaderCase{"ModelCode", [](cmcEeprom& i) { i.SetWord(266, 0x4411); }, 0, 1},
        HeaderCase{"EndSignature",
                   [](cmcEeprom& i) { i.SetWord(274, static_cast<uint16_t>(i.GetWord(274) - 1)); }, 0, 1},
        // The end and base words place the signature before the image's first byte.
        HeaderCase{"EndBeforeImage",
                   [](cmcEeprom& i) {
                       i.SetWord(274, 0);
                       i.SetWord(276, 0xFFFF);
                   },
                   0, 1},
        // An image that ends before the place the header names.
        HeaderCase{"EndPastShortImage",
                   [](cmcEeprom& i) {
                       KeepFirst(i, 300);
                       i.SetWord(274, 0x1000);
                       i.SetWord(276, 0);
                   },
                   0, 1},
        HeaderCase{"JustTheLooseHeader", [](cmcEeprom& i) { KeepFirst(i, 265); }, 0, 1},
        HeaderCase{"TooShortForHeader", [](cmcEeprom& i) { KeepFirst(i, 200); }, 1, 1}),
    testsupport::CaseName());

TEST(ModelPassesCodes, ModelAndSubCode) {
    struct Case {
        uint16_t code1, code2;
        bool ok;
        int result;
    };
    for (const Case& c :
         {Case{0x4410, 0, true, -1}, Case{0x4410, 256, true, -1}, Case{0x4411, 0, false, 3},
          Case{0x4411, 7, false, 3}, Case{0x4410, 1, false, 4}, Case{0x4410, 0x4410, false, 4}}) {
        int result = -1;
        EXPECT_EQ(CheckModelCodes(c.code1, c.code2, result), c.ok) << std::hex << c.code1 << " " << c.code2;
        EXPECT_EQ(result, c.result) << std::hex << c.code1 << " " << c.code2;
    }
}

TEST(ModelPassesCodes, CloneAreasOfEachType) {
    struct Case {
        int type;
        int32_t first, last;
    };
    for (const Case& c : {Case{0, 0x100, 0xFF7F}, Case{1, 0, 0xFF7F}, Case{2, 0, 0xFF7F}, Case{3, 0, 0xFF7F},
                          Case{4, 0, 0xFF7F}, Case{5, 0, 0xD6}, Case{-1, 0, 0xFF7F}}) {
        const RangeList areas = CloneAreasFor(c.type);
        ASSERT_EQ(areas.size(), 2u) << c.type;
        EXPECT_EQ(areas[0].first, c.first) << c.type;
        EXPECT_EQ(areas[0].last, c.last) << c.type;
        EXPECT_EQ(areas[1].first, kRangeListEnd.first);
        EXPECT_EQ(areas[1].last, kRangeListEnd.last);
    }
}

// ---- Model detection ----

TEST(ModelPassesDetect, FormFactorAndFirstClassBitInOrder) {
    struct Case {
        uint8_t byte12, bits0, bits1;
        int index;
    };
    const Case cases[] = {
        {0x20, 0x21, 0x00, 4}, // PMR-Z before LTR
        {0x20, 0x80, 0x00, 0}, // bit 0 is not consulted
        {0x00, 0x80, 0x00, 5}, {0x00, 0x10, 0x00, 7}, {0x20, 0x01, 0x00, 1},
        {0x20, 0x50, 0x00, 3}, {0xDF, 0x0E, 0xFF, 5}, // bits 4..6 and the second byte are no class
        {0xFF, 0x7F, 0x00, 4},
    };
    cmcEeprom image;
    image.SetSize(layout::kImageSize);
    for (const Case& c : cases) {
        image.SetByte(12, c.byte12);
        image.SetByte(layout::kClassBits, c.bits0);
        image.SetByte(layout::kClassBits + 1, c.bits1);
        EXPECT_EQ(DetectModelIndex(image), c.index) << std::hex << int(c.byte12) << " " << int(c.bits0);
    }
    cmcEeprom shorter;
    shorter.SetSize(13);
    shorter.SetByte(12, 0x20);
    EXPECT_EQ(DetectModelIndex(shorter), 0) << "class bits beyond the image read as none";
}

// ---- Newer-data lockout ----

TEST_F(ModelPassesTest, LockoutReadsTheNewerDataByteOfTheRadioPart) {
    UseModel(3);
    struct Case {
        const char* text;
        uint8_t newer;
        bool locked;
    };
    for (const Case& c :
         {Case{"0", 1, false}, Case{"1", 0, false}, Case{"1", 1, true}, Case{" 2 newer", 9, true},
          Case{"none", 1, false}, Case{"", 1, false}, Case{"-1", 1, true}}) {
        cmcEeprom image = ref_;
        image.SetByte(layout::kNewerDataByte, c.newer);
        ASSERT_EQ(Static2DynamicInit(image, ModelClassOf(3)), 0);
        // Only the packed block holds it: the test unpacks a copy.
        image.SetByte(layout::kNewerDataByte, 0);
        const cmcEeprom before = image;
        EXPECT_EQ(IsLockedOutNewerData(image, c.text, Packing()), c.locked) << c.text << " " << int(c.newer);
        EXPECT_TRUE(image.IsEqual(before));
    }
}

// ---- Normalisation ----

class NormalizeModeTest : public ModelPassesTest, public ::testing::WithParamInterface<int> {};

TEST_P(NormalizeModeTest, ClearsTheNewerDataByteSoThatItsOwnSaveIsNeverLockedOut) {
    UseModel(2);
    image_.SetByte(layout::kNewerDataByte, 5);
    image_.SetByte(layout::kNewerDataByte + 1,
                   static_cast<uint8_t>(~ref_.GetByte(layout::kNewerDataByte + 1)));
    Normalize(GetParam());
    EXPECT_EQ(image_.GetByte(layout::kNewerDataByte), 0);
    EXPECT_EQ(image_.GetByte(layout::kNewerDataByte + 1), ref_.GetByte(layout::kNewerDataByte + 1));
    if (GetParam() == 0) {
        ASSERT_EQ(Static2DynamicInit(image_, ModelClassOf(2)), 0);
    }
    EXPECT_FALSE(IsLockedOutNewerData(image_, "1", Packing()));
}

// Unpacking stops the counts the same way after loading.
TEST_F(ModelPassesTest, BankCountsStopAtTheChannelTableBeforeWriting) {
    UseModel(0);
    SetBankChannelCount(image_, 0, 300);
    SetBankChannelCount(image_, 1, 200);
    SetBankChannelCount(image_, 2, 20);
    SetBankChannelCount(image_, 3, 1);
    SetSiteChannelCount(image_, 0, 255);
    for (int32_t s = 1; s < 12; ++s)
        SetSiteChannelCount(image_, s, 230);
    Normalize(1);
    EXPECT_EQ(GetBankChannelCount(image_, 0), 300);
    EXPECT_EQ(GetBankChannelCount(image_, 1), 200);
    EXPECT_EQ(GetBankChannelCount(image_, 2), 0);
    EXPECT_EQ(GetBankChannelCount(image_, 3), 0);
    EXPECT_EQ(GetSiteChannelCount(image_, 10), 230) << "255 + 10 x 230 = 2555";
    EXPECT_EQ(GetSiteChannelCount(image_, 11), 0);
}

TEST_P(NormalizeModeTest, CommentTextsBecomePrintable) {
    UseModel(5);
    const uint8_t comment[32] = {'A',  0x01, 0x7F, 0x80, 0xFF, '~',  ' ', 0x00, 'z', 'Z',  '0',
                                 0x1F, 0x20, 0x7E, 0x90, 'x',  0x0A, 'b', 0xA0, 'c', 0x09, 0x0D,
                                 '!',  0xE0, 'd',  0x81, 'e',  0x7F, 'f', 0x00, 'g', 'h'};
    image_.Write(layout::kComment1, comment, 32);
    Normalize(GetParam());
    std::string text(reinterpret_cast<const char*>(image_.Data() + layout::kComment1), 32);
    EXPECT_EQ(text, "A    ~  zZ0  ~ x b c  ! d e f gh");
}

TEST_P(NormalizeModeTest, KeyAssignmentsDecideTheKeyFunctionFlags) {
    UseModel(0);
    struct Case {
        std::vector<uint8_t> keys;
        uint8_t before93826, after93826;
        bool bit93822;
    };
    const Case cases[] = {
        {{49}, 0xE0, 0x44, false},        // only bit 0x40 may stay
        {{49}, 0x00, 0x04, false},        // and is not set by the key
        {{51, 53}, 0xFF, 0xBB, false},    // 0x04 and 0x40 go, bits 0x01 and 0x10 stay
        {{48, 32}, 0x2E, 0x22, true},     // 0x0C go with their keys
        {{52, 50, 0}, 0x00, 0x0C, false}, // 52 is a 0x04 key
        {{}, 0xF0, 0x10, false},
    };
    for (const Case& c : cases) {
        image_ = ref_;
        for (int32_t i = 0; i < 16; ++i)
            image_.SetByte(93860 + i, i < static_cast<int32_t>(c.keys.size()) ? c.keys[i] : 0);
        image_.SetByte(93826, c.before93826);
        image_.SetByte(93822, static_cast<uint8_t>(image_.GetByte(93822) ^ 0x01));
        Normalize(GetParam());
        EXPECT_EQ(image_.GetByte(93826), c.after93826) << int(c.keys.size()) << " " << int(c.before93826);
        EXPECT_EQ((image_.GetByte(93822) & 0x01) != 0, c.bit93822);
    }
}

TEST_P(NormalizeModeTest, SortedIndexesKeepEqualKeysInOrder) {
    UseModel(3);
    const layout::StaticTable& ids = layout::Table(34);
    const layout::StaticTable& groups = layout::Table(35);
    for (int32_t i = 0; i < ids.records; ++i)
        PutDword(image_, ids.Record(i), 0xFFFFFFFF);
    PutDword(image_, ids.Record(0), 0x01000000);
    PutDword(image_, ids.Record(1), 0x00FFFFFF);
    PutDword(image_, ids.Record(7), 0x01000000);
    for (int32_t i = 0; i < groups.records; ++i)
        image_.SetWord(groups.Record(i), 0xFFFF);
    const uint16_t keys[] = {5, 3, 5, 3, 0x0100, 0x00FF};
    for (int32_t i = 0; i < 6; ++i)
        image_.SetWord(groups.Record(i), keys[i]);
    image_.SetWord(groups.Record(249), 3);
    Normalize(GetParam());

    std::vector<uint8_t> idOrder{1, 0, 7, 2, 3, 4, 5, 6};
    for (int i = 8; i < ids.records; ++i)
        idOrder.push_back(static_cast<uint8_t>(i));
    EXPECT_EQ(Bytes(image_, layout::Table(38).offset, 100), idOrder);
    std::vector<uint8_t> groupOrder{1, 3, 249, 0, 2, 5, 4};
    for (int i = 6; i < 249; ++i)
        groupOrder.push_back(static_cast<uint8_t>(i));
    EXPECT_EQ(Bytes(image_, layout::Table(39).offset, 250), groupOrder);
}

TEST_P(NormalizeModeTest, StartUpChannelOfEachBankAndOfTheRadio) {
    UseModel(0);
    constexpr uint32_t kTop = 0x80000000u, kFreq = 146520000u;
    SetBankChannelCount(image_, 0, 3);
    SetBankChannelCount(image_, 1, 2);
    SetBankChannelCount(image_, 2, 2);
    SetBankChannelCount(image_, 16, 2);
    image_.SetByte(G(0, 0), 5); // programmed by its group ID only: not in use in an LMR bank
    SetChannelFreq(1, kFreq | kTop);
    SetChannelFreq(2, kFreq);
    SetChannelFreq(3, kFreq | kTop);
    SetChannelFreq(4, kFreq | kTop);
    SetChannelFreq(8, kFreq);
    image_.SetWord(layout::Table(62).Record(2), 0x1234);
    image_.SetWord(layout::Table(62).Record(40), 0x0001);
    Normalize(GetParam());

    const layout::StaticTable& t62 = layout::Table(62);
    EXPECT_EQ(image_.GetWord(t62.Record(0)), 2) << "the first in use without the top bit";
    EXPECT_EQ(image_.GetWord(t62.Record(1)), 0) << "else the first in use";
    EXPECT_EQ(image_.GetWord(t62.Record(2)), 0) << "cleared";
    EXPECT_EQ(image_.GetWord(t62.Record(16)), 1);
    EXPECT_EQ(image_.GetWord(t62.Record(40)), 0);
    EXPECT_EQ(image_.GetWord(82242), 2);
    EXPECT_EQ(image_.GetByte(82248) & 0x0F, ref_.GetByte(82248) & 0x0F);
    EXPECT_EQ(image_.GetByte(G(0, 0)), 0) << "a channel out of use loses its group ID";
    EXPECT_EQ(Bytes(image_, S(0, 0), 30), Bytes(ref_, S(0, 0), 30));

    // The radio's start-up channel in a bank above 15 marks byte 82248.
    image_ = ref_;
    SetBankChannelCount(image_, 16, 2);
    SetChannelFreq(1, kFreq);
    Normalize(GetParam());
    EXPECT_EQ(image_.GetWord(82242), 1);
    EXPECT_EQ(image_.GetByte(82248) & 0x0F, 1);
}

TEST_P(NormalizeModeTest, UnprogrammedChannelBecomesTheReferenceRecords) {
    UseModel(0);
    SetBankChannelCount(image_, 0, 4);
    for (int32_t i = 8; i < 30; ++i)
        image_.SetByte(S(2, i), static_cast<uint8_t>(0xA5 + i));
    for (int32_t i = 0; i < 22; ++i)
        image_.SetByte(X(2, i), static_cast<uint8_t>(0x5A + 3 * i));
    for (int32_t row : {3, 100})
        for (int32_t i = 12; i < 30; ++i)
            image_.SetByte(S(row, i), 0xFF);
    SetChannelFreq(3, 440000000);
    Normalize(GetParam());
    for (int32_t row : {2, 100}) {
        EXPECT_EQ(Bytes(image_, S(row, 0), 30), Bytes(ref_, S(row, 0), 30)) << row;
        EXPECT_EQ(Bytes(image_, X(row, 0), 22), Bytes(ref_, X(row, 0), 22)) << row;
    }
    EXPECT_EQ(image_.GetWord(S(3, 0)), 440000000u >> 16) << "a programmed channel stays";
    EXPECT_EQ(image_.GetByte(S(3, 20)), 0xFF);
    EXPECT_EQ(image_.GetByte(S(3, 12)) & 0x80, ref_.GetByte(S(3, 12)) & 0x80);
}

// A second normalisation finds nothing left to do, for every model and both
// modes, on data that needed the first one.
TEST_P(NormalizeModeTest, SecondNormalisationChangesNothing) {
    for (int model = 0; model < 10; ++model) {
        SCOPED_TRACE(model);
        UseModel(model);
        const uint8_t comment[4] = {0x01, 'A', 0xFF, 0x7F};
        image_.Write(layout::kComment1, comment, 4);
        image_.SetByte(93860, 49);
        image_.SetByte(93826, 0xE0);
        image_.SetByte(93870, 30);
        image_.SetWord(81868 + 4 * 2, 1000);
        image_.SetByte(layout::kNewerDataByte, 3);
        SetChannelFreq(0, 146520000);
        SetChannelFreq(1, 446000000);
        Normalize(GetParam());
        const cmcEeprom once = image_;
        NormalizeImage(image_, ref_, index_, GetParam(), Packing());
        for (int32_t a = 0; a < layout::kImageSize; ++a)
            ASSERT_EQ(image_.GetByte(a), once.GetByte(a)) << "address " << a;
    }
}

INSTANTIATE_TEST_SUITE_P(BothModes, NormalizeModeTest, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param == 0 ? "AfterLoading" : "BeforeWriting"; });

// The home repeater of an LTR bank: after loading, the bank takes it from its first channel that names
// one; before writing, every channel takes it back from the bank.
TEST_F(ModelPassesTest, LtrHomeRepeaterFollowsTheBankBothWays) {
    UseModel(1);
    const int32_t pool1 = layout::kPool + layout::kPoolEntrySize * 1 + 8;
    const int32_t pool2 = layout::kPool + layout::kPoolEntrySize * 2 + 8;
    const int32_t group = layout::kGroupRecords;
    SetBankFlagB(image_, 0, 1);
    SetBankChannelCount(image_, 0, 3);
    SetSiteChannelCount(image_, 0, 3);
    PutDword(image_, layout::kPool, 851000000);
    image_.SetByte(G(0, 0), 1);
    image_.SetByte(G(1, 0), 2);
    image_.SetByte(G(1, 2), 2);
    image_.SetByte(S(1, 12), static_cast<uint8_t>(image_.GetByte(S(1, 12)) | 0x40));
    image_.SetByte(X(1, 0), static_cast<uint8_t>((image_.GetByte(X(1, 0)) & 0x7C) | 0x80 | 0x02));
    image_.SetByte(G(2, 2), 4);
    image_.SetByte(pool1, 0x00);
    const cmcEeprom loaded = image_;

    Normalize(0);
    EXPECT_EQ(image_.GetByte(group + 7), 2);
    EXPECT_EQ(image_.GetByte(group) & 0x80, 0x80);
    EXPECT_EQ(image_.GetByte(pool1) & 0x38, 0x20 | 2 << 3);
    EXPECT_EQ(image_.GetWord(layout::Table(62).Record(0)), 0);

    image_ = loaded;
    image_.SetByte(group + 7, 3);
    image_.SetByte(group, static_cast<uint8_t>(image_.GetByte(group) & 0x7F));
    image_.SetByte(pool2, 0x20 | 1 << 3);
    Normalize(1);
    ASSERT_EQ(LoadPtbl(image_), 1) << "packed for the write";
    for (int32_t row : {0, 1}) {
        EXPECT_EQ(image_.GetByte(G(row, 2)), 3) << row;
        EXPECT_EQ(image_.GetByte(S(row, 12)) & 0x40, 0x40) << row;
        EXPECT_EQ(image_.GetByte(X(row, 0)) & 0x83, 0x01) << row;
    }
    EXPECT_EQ(image_.GetByte(G(2, 2)), 4) << "a channel out of use keeps its own";

    // A home repeater beyond the site's entries links to no other site's entry.
    image_ = loaded;
    image_.SetByte(group + 7, 5);
    SetSiteChannelCount(image_, 1, 3);
    const uint8_t otherSite = image_.GetByte(layout::kPool + layout::kPoolEntrySize * 4 + 8);
    Normalize(1);
    EXPECT_EQ(image_.GetByte(G(1, 2)), 5);
    EXPECT_EQ(image_.GetByte(X(1, 0)) & 0x03, 0x02) << "kept";
    EXPECT_EQ(image_.GetByte(layout::kPool + layout::kPoolEntrySize * 4 + 8), otherSite);
}

// Two-tone decode windows are 2 % either side of the tones, worked out before a write only.
TEST_F(ModelPassesTest, TwoToneWindowsBeforeWriting) {
    struct Case {
        int mode;
        uint16_t f1, f2;
        uint16_t rx[4];
    };
    const Case cases[] = {
        {1, 1000, 2000, {980, 1020, 1960, 2040}},
        {1, 3301, 0, {3235, 3367, 0, 0}},    // 3234.98 and 3367.02, rounded
        {1, 65535, 1, {64224, 65535, 1, 1}}, // held inside the word
        {0, 1000, 2000, {7, 7, 7, 7}},       // left as they are after loading
    };
    UseModel(0);
    for (const Case& c : cases) {
        image_ = ref_;
        const int32_t n = 3;
        image_.SetWord(81868 + 4 * n, c.f1);
        image_.SetWord(81868 + 4 * n + 2, c.f2);
        for (int32_t k = 0; k < 4; ++k)
            image_.SetWord(95406 + 8 * n + 2 * k, 7);
        Normalize(c.mode);
        for (int32_t k = 0; k < 4; ++k)
            EXPECT_EQ(image_.GetWord(95406 + 8 * n + 2 * k), c.rx[k]) << c.mode << " " << c.f1 << " " << k;
    }
}

TEST_F(ModelPassesTest, HeaderAndModelBytesComeFromTheReference) {
    UseModel(6);
    cmcEeprom other = StartupFile(3); // a handheld PMR file opened as a mobile LTR
    UnpackImage(other, ModelClassOf(3), PackingFor(ModelClassOf(3)));
    image_ = other;
    NormalizeImage(image_, ref_, 6, 1, Packing());
    EXPECT_EQ(Bytes(image_, 0, 4), Bytes(ref_, 0, 4));
    EXPECT_EQ(Bytes(image_, 256, 12), Bytes(ref_, 256, 12));
    EXPECT_EQ(Bytes(image_, 93892, 3), Bytes(ref_, 93892, 3));
    EXPECT_EQ(image_.GetByte(12) & 0x20, 0);
    EXPECT_EQ(DetectModelIndex(image_), 6);
    EXPECT_EQ(CheckImageHeader(image_, true), 0);

    // A model index that names no model is taken as the first.
    cmcEeprom first = other, wild = other;
    UseModel(0);
    NormalizeImage(first, ref_, 0, 1, Packing());
    NormalizeImage(wild, ref_, 12, 1, Packing());
    EXPECT_TRUE(wild.IsEqual(first));
}

// Before a write the normalisation packs once, in the caller's layout: the
// radio part is the caller's packing's alone.
TEST_F(ModelPassesTest, NormalisationBeforeWritingPacksWithTheCallersPacking) {
    UseModel(2);
    SetChannelFreq(0, 146520000);
    const std::vector<uint8_t> radio =
        Bytes(image_, layout::kDynamicStart, layout::kDynamicEnd - layout::kDynamicStart);
    int packs = 0;
    NormalizeImage(image_, ref_, index_, 1, [&](cmcEeprom& image) {
        EXPECT_EQ(&image, &image_);
        ++packs;
        return 0;
    });
    EXPECT_EQ(packs, 1);
    EXPECT_EQ(Bytes(image_, layout::kDynamicStart, layout::kDynamicEnd - layout::kDynamicStart), radio);
}

TEST_F(ModelPassesTest, AfterLoadDetectsChangesAndNormalises) {
    UseModel(0);
    cmcEeprom image = StartupFile(7);
    image.SetByte(layout::kHdrSignature, 'x');
    std::vector<int> changes;
    // The packing follows the model change, as the document's does.
    const ImagePacking packing = [this](cmcEeprom& i) { return Static2DynamicInit(i, ModelClassOf(index_)); };
    const int index = AfterLoadImage(
        image, ref_,
        [&](int to) {
            changes.push_back(to);
            index_ = to;
            ref_ = StartupFile(to);
            Dynamic2Static(ref_);
        },
        packing);
    EXPECT_EQ(index, 7);
    EXPECT_EQ(changes, std::vector<int>{7});
    EXPECT_EQ(DetectModelIndex(image), 7);
    EXPECT_EQ(image.GetByte(layout::kHdrSignature), 'M');
    EXPECT_EQ(image.GetByte(layout::kNewerDataByte), 0);
}

} // namespace
