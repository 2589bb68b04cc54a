#include "adjust/AdjustLayout.h"
#include "adjust/AdjustRecords.h"
#include "image/BankSite.h"
#include "image/PartitionTable.h"
#include "tests/adjust/AdjustDocumentFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace {

using adjtest::AdjustDocumentFixture;

std::vector<uint8_t> Radio(const cmcEeprom& image) {
    return {image.Data(), image.Data() + 0xFF80};
}

// Where block `id` of the image's packed area lies; -1 when it has none.
int32_t BlockOffset(const cmcEeprom& image, uint16_t id) {
    const int32_t n = image.GetWord(layout::kHdrOwnEntry + 4);
    cmcEeprom copy = image;
    if (!LoadPtbl(copy)) return -1;
    const uint8_t* e = FindPtblEntry(copy.Data() + layout::kPtblCopy, n, id);
    return e ? static_cast<int32_t>(DynamicOffset(copy, ReadPtblEntry(e).address)) : -1;
}

class AdjustDocumentTest : public AdjustDocumentFixture {};

TEST_F(AdjustDocumentTest, EveryModelsStartupDataLoadsThroughTheProgramsPath) {
    adj::AdjustDocument& doc = StartAdjust();
    for (int32_t model = 0; model < 10; ++model) {
        gEnviron->ModelType = model;
        doc.LoadStartupData();
        const cmcEeprom reference = AdjustStartup(model, true);
        EXPECT_TRUE(doc.ReferenceImage().IsEqual(reference)) << model;
        cmcEeprom packed = reference;
        ASSERT_EQ(adj::Static2DynamicInit(packed), 0) << model;
        EXPECT_TRUE(doc.WorkingImage().IsEqual(packed)) << model;
        // Its header is a radio's: revision byte 1, the bank-name table whole.
        EXPECT_EQ(reference.GetByte(264), 1);
        const cmcEeprom raw = AdjustStartup(model, false);
        const int32_t names = BlockOffset(raw, 13);
        ASSERT_GE(names, 0);
        cmcEeprom probe = raw;
        ASSERT_TRUE(LoadPtbl(probe));
        const uint8_t* e =
            FindPtblEntry(probe.Data() + layout::kPtblCopy, probe.GetWord(layout::kHdrOwnEntry + 4), 13);
        EXPECT_EQ(ReadPtblEntry(e).count, 128) << model;
    }
}

TEST_F(AdjustDocumentTest, PackThenUnpackKeepsTheStaticTables) {
    StartAdjust();
    for (int32_t model = 0; model < 10; ++model) {
        gEnviron->ModelType = model;
        cmcEeprom reference = AdjustStartup(model, true);
        // A few channels and repeater entries, so that the counted tables carry records.
        SetBankChannelCount(reference, 0, 3);
        SetBankChannelCount(reference, 127, 2);
        SetSiteChannelCount(reference, 0, 4);
        for (int32_t i = 0; i < 5; ++i)
            reference.SetWord(65408 + 30 * i, static_cast<uint16_t>(0x0800 + i));
        ASSERT_EQ(adj::Static2DynamicInit(reference), 0);
        cmcEeprom unpacked = reference;
        std::fill(unpacked.Data() + layout::kStaticStart, unpacked.Data() + layout::kPtblCopy, uint8_t{0x5A});
        adj::UnpackDynamicArea(unpacked);
        for (const layout::StaticTable& t : adj::AdjustLayout().Tables()) {
            if (t.packOrder == 0 || t.id == 8 || t.id == 40) continue;
            int32_t records = t.records;
            if (t.count == layout::PackCount::ChannelsBelowBank127) records = t.id == 45 ? 3 : 5;
            if (t.count == layout::PackCount::UsedPool) records = 4;
            EXPECT_TRUE(std::equal(reference.Data() + t.offset, reference.Data() + t.Record(records),
                                   unpacked.Data() + t.offset))
                << "model " << model << " table " << t.id;
        }
        EXPECT_EQ(Radio(unpacked), Radio(reference)) << model;
    }
}

TEST_F(AdjustDocumentTest, NormalisingTwiceChangesNothingMore) {
    adj::AdjustDocument& doc = StartAdjust();
    for (int32_t model = 0; model < 10; ++model) {
        gEnviron->ModelType = model;
        doc.LoadStartupData();
        for (int mode : {0, 1}) {
            cmcEeprom once = doc.WorkingImage();
            doc.NormalizeImage(once, mode);
            cmcEeprom twice = once;
            doc.NormalizeImage(twice, mode);
            EXPECT_TRUE(twice.IsEqual(once)) << "model " << model << " mode " << mode;
        }
    }
}

TEST_F(AdjustDocumentTest, NormalisationRules) {
    adj::AdjustDocument& doc = StartAdjust();
    gEnviron->ModelType = 0;
    doc.LoadStartupData();
    struct Case {
        const char* what;
        std::vector<std::pair<int32_t, uint8_t>> set;
        int32_t at;
        uint8_t mask, expected;
    };
    const Case cases[] = {
        {"key 32 sets 93822 bit 0", {{93860, 32}}, 93822, 0x01, 0x01},
        {"no key 32 clears it",
         {{93822, 0x01},
          {93860, 0},
          {93861, 0},
          {93862, 0},
          {93863, 0},
          {93864, 0},
          {93865, 0},
          {93866, 0},
          {93867, 0},
          {93868, 0},
          {93869, 0},
          {93870, 0},
          {93871, 0},
          {93872, 0},
          {93873, 0},
          {93874, 0},
          {93875, 0}},
         93822,
         0x01,
         0x00},
        {"key 48 sets 93826 bit 1", {{93861, 48}}, 93826, 0x02, 0x02},
        {"key 53 sets 93826 bit 3", {{93875, 53}}, 93826, 0x08, 0x08},
        {"a set function bit stays", {{93826, 0x04}}, 93826, 0x04, 0x04},
        {"bit 5 goes without bit 1", {{93826, 0x20}}, 93826, 0x20, 0x00},
        {"bit 5 stays with bit 1", {{93826, 0x22}}, 93826, 0x22, 0x22},
        {"dial 1", {{93870, 1}}, 93871, 0xFF, 2},
        {"dial 30", {{93870, 30}}, 93871, 0xFF, 31},
        {"dial 64", {{93886, 64}}, 93887, 0xFF, 65},
        {"dial 72", {{93886, 72}}, 93887, 0xFF, 73},
        {"dial 5", {{93870, 5}, {93871, 9}}, 93871, 0xFF, 0},
        {"newer data cleared", {{98934, 7}}, 98934, 0xFF, 0},
        {"handheld bit", {{12, 0x00}}, 12, 0x20, 0x20},
    };
    for (const Case& c : cases) {
        cmcEeprom image = doc.ReferenceImage();
        for (const auto& [at, v] : c.set)
            image.SetByte(at, v);
        doc.NormalizeImage(image, 1);
        EXPECT_EQ(image.GetByte(c.at) & c.mask, c.expected) << c.what;
    }
}

TEST_F(AdjustDocumentTest, NormalisationRebuildsChannelsAndStartChannels) {
    adj::AdjustDocument& doc = StartAdjust();
    gEnviron->ModelType = 0;
    doc.LoadStartupData();
    cmcEeprom image = doc.ReferenceImage();
    SetBankChannelCount(image, 0, 2);
    SetBankChannelCount(image, 1, 4);
    // Channel 3 (bank 1's second) is the first in use; channel 1's records
    // hold rubbish but no receive frequency; channel 4 has its top bit set.
    image.SetWord(65408 + 30 * 3, 0x0850);
    image.SetWord(65408 + 30 * 4, 0x8850);
    image.SetByte(82512 + 22 * 1 + 7, 0x5A);
    image.SetByte(65408 + 30 * 1 + 20, 0x5A);
    doc.NormalizeImage(image, 1);
    EXPECT_EQ(image.GetWord(82242), 3);
    EXPECT_EQ(image.GetWord(82256), 0);
    EXPECT_EQ(image.GetWord(82256 + 2), 1); // within bank 1
    EXPECT_EQ(image.GetWord(65408 + 30 * 3), 0x0850);
    EXPECT_EQ(image.GetByte(82512 + 22 * 1 + 7), doc.ReferenceImage().GetByte(82512 + 22 * 1 + 7));
    EXPECT_EQ(image.GetByte(65408 + 30 * 1 + 20), doc.ReferenceImage().GetByte(65408 + 30 * 1 + 20));
}

TEST_F(AdjustDocumentTest, IndexesSortStably) {
    adj::AdjustDocument& doc = StartAdjust();
    gEnviron->ModelType = 2;
    doc.LoadStartupData();
    cmcEeprom image = doc.ReferenceImage();
    // Individual IDs 3 and 7 share the smallest key, ID 0 the largest.
    for (int32_t i = 0; i < 100; ++i)
        image.SetWord(100528 + 16 * i + 2, static_cast<uint16_t>(500 + i));
    image.SetWord(100528 + 16 * 3 + 2, 1);
    image.SetWord(100528 + 16 * 7 + 2, 1);
    image.SetWord(100528 + 16 * 0, 0x7FFF);
    image.SetWord(102128 + 14 * 9, 0);
    for (int32_t i = 0; i < 250; ++i)
        image.SetWord(102128 + 14 * i, static_cast<uint16_t>(1000 - i));
    doc.NormalizeImage(image, 1);
    EXPECT_EQ(image.GetByte(105676), 3);
    EXPECT_EQ(image.GetByte(105677), 7);
    EXPECT_EQ(image.GetByte(105678), 1);
    EXPECT_EQ(image.GetByte(105676 + 99), 0);
    EXPECT_EQ(image.GetByte(105936), 249);
    EXPECT_EQ(image.GetByte(105936 + 249), 0);
}

TEST_F(AdjustDocumentTest, ToleranceLimitsGoOutWithTheWrite) {
    adj::AdjustDocument& doc = StartAdjust();
    gEnviron->ModelType = 5;
    doc.LoadStartupData();
    doc.InfoBlock()[adj::AdjustDocument::kInfoDataVersion] = 0x10;
    cmcEeprom copy = doc.WorkingImage();
    copy.SetWord(81868 + 4 * 2, 1000);
    ASSERT_EQ(doc.Static2Dynamic(copy, 1), 0);
    const int32_t windows = BlockOffset(copy, 12);
    ASSERT_GE(windows, 0);
    // Block 12 carries the windows from 95414 on: code 2's first tone at 95406 + 16.
    EXPECT_EQ(copy.GetWord(windows + 95406 + 16 - 95414), 970);
    EXPECT_EQ(copy.GetWord(windows + 95406 + 18 - 95414), 1030);
    // A PMR radio's windows stay.
    gEnviron->ModelType = 8;
    doc.LoadStartupData();
    cmcEeprom pmr = doc.WorkingImage();
    pmr.SetWord(81868 + 4 * 2, 1000);
    ASSERT_EQ(doc.Static2Dynamic(pmr, 1), 0);
    EXPECT_EQ(pmr.GetWord(BlockOffset(pmr, 12) + 95406 + 16 - 95414), 0);
}

TEST_F(AdjustDocumentTest, SaveThenLoadKeepsTheRadioPart) {
    adj::AdjustDocument& doc = StartAdjust();
    for (int32_t model = 0; model < 10; ++model) {
        gEnviron->ModelType = model;
        doc.LoadStartupData();
        SetBankChannelCount(doc.WorkingImage(), 3, 2);
        doc.WorkingImage().SetWord(65408, 0x0850);
        const std::string path = dir_.File("m" + std::to_string(model) + ".icf");
        ASSERT_EQ(doc.SaveFile(path), 0) << model;
        const std::vector<uint8_t> saved = Radio(doc.WorkingImage());
        const std::string text = testsupport::TempDir::ReadFile(path);
        EXPECT_NE(text.find("\n#MapRev=1\r\n"), std::string::npos);
        cmcEeprom read;
        read.SetSize(layout::kImageSize);
        cmcIcfFile file;
        file.SetImage(&read);
        file.SetOnMapRev([](int32_t rev) { return rev == 1; });
        file.SetOnHeader([](int32_t, int32_t, int&) { return true; });
        ASSERT_EQ(file.Load(path), cmcIcfFile::kOk);
        EXPECT_EQ(Radio(read), saved) << model;
        ASSERT_EQ(doc.OpenFile(path), 0) << model;
        EXPECT_EQ(Radio(doc.WorkingImage()), saved) << model;
        EXPECT_EQ(gEnviron->ModelType, model);
    }
}

TEST_F(AdjustDocumentTest, LoadingSelectsTheModelByItsClassBits) {
    adj::AdjustDocument& doc = StartAdjust();
    struct Case {
        uint8_t handheld;
        uint8_t bits0, bits1;
        int32_t model;
    };
    const Case cases[] = {
        {0x20, 0x00, 0x00, 0}, {0x00, 0x00, 0x00, 5}, {0x20, 0x01, 0x00, 1},
        {0x20, 0x10, 0x00, 2}, {0x20, 0x40, 0x00, 3}, {0x00, 0x20, 0x00, 9},
        {0x20, 0x41, 0x00, 3}, {0x00, 0x50, 0x00, 8}, {0x20, 0x60, 0x00, 4},
    };
    gEnviron->ModelType = 0;
    doc.LoadStartupData();
    for (const Case& c : cases) {
        cmcEeprom image = doc.WorkingImage();
        image.SetByte(12, c.handheld);
        // The class bits travel in block 8 of the radio's area (table 8 from 93776).
        cmcEeprom radio = image;
        const int32_t classBlock = BlockOffset(radio, 8);
        ASSERT_GE(classBlock, 0);
        radio.SetByte(classBlock + 94210 - 93776, c.bits0);
        radio.SetByte(classBlock + 94211 - 93776, c.bits1);
        const std::string path = dir_.File("class.icf");
        WriteIcf(path, radio);
        ASSERT_EQ(doc.OpenFile(path), 0);
        EXPECT_EQ(gEnviron->ModelType, c.model) << int(c.bits0) << " " << int(c.handheld);
    }
}

TEST_F(AdjustDocumentTest, AFileOfTheClonerWithTheSameCodesLoads) {
    adj::AdjustDocument& doc = StartAdjust();
    gEnviron->ModelType = 0;
    doc.LoadStartupData();
    cmcEeprom image = doc.WorkingImage();
    const std::string path = dir_.File("cloner.icf");
    WriteIcf(path, image, 0x4410, 256);
    ASSERT_EQ(doc.OpenFile(path), 0);
    EXPECT_EQ(Radio(doc.WorkingImage()), Radio(image));
}

TEST_F(AdjustDocumentTest, TheClonersStartupFileOpens) {
    // Written by the cloning program's tool with the same codes and revision:
    // this program's reader takes it as it is.
    adj::AdjustDocument& doc = StartAdjust();
    gEnviron->ModelType = 5;
    doc.LoadStartupData();
    ASSERT_EQ(doc.OpenFile(TOLVANE_BIN_DIR "/QT4410R_LmrP25.icf"), 0);
    EXPECT_EQ(gEnviron->ModelType, 2);
    EXPECT_EQ(doc.WorkingImage().GetWord(0), 0x4405);
}

TEST_F(AdjustDocumentTest, ARangeFromMidLineWritesAShortFirstLine) {
    StartAdjust();
    cmcEeprom image = AdjustStartup(0, false);
    cmcIcfFile file;
    file.SetImage(&image);
    file.SetCode1(0x4410);
    file.SetCode2(0);
    file.SetMapRev(1);
    const std::string path = dir_.File("range.icf");
    ASSERT_EQ(file.Save(path, RangeList{{0x105, 0x125}, kRangeListEnd}), cmcIcfFile::kOk);
    std::istringstream lines(testsupport::TempDir::ReadFile(path));
    std::string line;
    std::vector<std::string> data;
    while (std::getline(lines, line))
        if (!line.empty() && line[0] != '#') data.push_back(line.substr(0, 6));
    EXPECT_EQ(data, (std::vector<std::string>{"441000", "01050B", "011010", "012006"}));
}

TEST_F(AdjustDocumentTest, AnOverflowIsNeverSaved) {
    adj::AdjustDocument& doc = StartAdjust();
    gEnviron->ModelType = 0;
    doc.LoadStartupData();
    SetBankChannelCount(doc.WorkingImage(), 0, 512);
    for (int32_t s = 0; s < 13; ++s)
        SetSiteChannelCount(doc.WorkingImage(), s, 200);
    for (int32_t n = 0; n < 512; ++n)
        doc.WorkingImage().SetWord(65408 + 30 * n, 0x0800);
    boxes_.Expect(Text("GI_AppMess_DataTooLarge"), plat::IDOK);
    const std::string path = dir_.File("big.icf");
    EXPECT_EQ(doc.SaveFile(path), 1);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(boxes_.Log().back().caption, Text("GI_Sys_AppTitle_ADJ"));
    // The write preparation answers the overflow too.
    cmcEeprom copy = doc.WorkingImage();
    EXPECT_EQ(doc.Static2Dynamic(copy, 1), 1);
}

TEST_F(AdjustDocumentTest, NewerDataIsJudgedOnTheUnpackedImage) {
    adj::AdjustDocument& doc = StartAdjust();
    gEnviron->ModelType = 0;
    doc.LoadStartupData();
    cmcEeprom image = doc.WorkingImage();
    EXPECT_FALSE(doc.IsLockedOutNewerData(image));
    // The byte set in the packed block only, not in the static table.
    const int32_t block = BlockOffset(image, 21);
    ASSERT_GE(block, 0);
    image.SetByte(block, 1);
    const cmcEeprom before = image;
    EXPECT_TRUE(doc.IsLockedOutNewerData(image));
    EXPECT_TRUE(image.IsEqual(before));
}

TEST_F(AdjustDocumentTest, LoadingPutsTheCalibrationBlockIntoTheRadioCopy) {
    adj::AdjustDocument& doc = StartAdjust();
    gEnviron->ModelType = 0;
    doc.LoadStartupData();
    cmcEeprom image = doc.WorkingImage();
    const int32_t block = BlockOffset(image, 6);
    ASSERT_GE(block, 0);
    for (int32_t j = 0; j < 32; ++j)
        image.SetByte(block + j, static_cast<uint8_t>(0xA0 + j));
    const std::string path = dir_.File("cal.icf");
    WriteIcf(path, image);
    ASSERT_EQ(doc.OpenFile(path), 0);
    for (int32_t j = 0; j < 32; ++j)
        EXPECT_EQ(doc.RadioCopy().GetByte(adj::kRadioBlock + j), 0xA0 + j) << j;
}

} // namespace
