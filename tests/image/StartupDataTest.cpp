#include "tests/image/StartupData.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcGTex.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/ImageUnpacking.h"
#include "image/PartitionTable.h"
#include "image/RangeList.h"
#include "image/cmcEeprom.h"
#include "image/cmcIcfFile.h"
#include "tests/image/ScopedModel.h"
#include "tests/support/ParamNames.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using testsupport::TempDir;

namespace {

const RangeList kWholeRadio{{0, 0xFF7F}, kRangeListEnd};

// The start-up data files as the program finds them: beside it, named by the
// shipped overlay, loaded with the checks of the start-up load.
class StartupDataTest : public ::testing::TestWithParam<int32_t> {
protected:
    StartupDataTest() : oldTexts_(gGTex) {
        texts_.SetFile(std::string(TOLVANE_BIN_DIR) + "/QT4410R.OVL");
        gGTex = &texts_;
    }
    ~StartupDataTest() override { gGTex = oldTexts_; }

    std::string Path() { return testimage::StartupFilePath(texts_, GetParam()); }

    static int Load(const std::string& path, cmcEeprom& image) {
        return testimage::LoadCloneFile(path, image);
    }

    static int Save(const std::string& path, cmcEeprom& image) {
        cmcIcfFile file;
        file.SetImage(&image);
        file.SetCode1(0x4410);
        file.SetCode2(0);
        file.SetMapRev(1);
        return file.Save(path, kWholeRadio);
    }

    // The header test of a clone write.
    static void ExpectWritableHeader(const cmcEeprom& image) {
        const uint8_t* p = image.Data();
        EXPECT_EQ(image.GetWord(0), 0x4405);
        EXPECT_EQ(p[2], 1);
        EXPECT_LT(p[264], 2);
        EXPECT_EQ(std::memcmp(p + 256, "MORV Inc", 8), 0);
        EXPECT_EQ(image.GetWord(266), 0x4410);
        const int32_t end = image.GetWord(274) - image.GetWord(276) + 504;
        ASSERT_TRUE(image.IsValidRange(end, 8));
        EXPECT_EQ(std::memcmp(p + end, "MORV Inc", 8), 0);
        EXPECT_EQ(CheckImageHeader(image, true), 0);
    }

    testimage::ScopedModel model_{GetParam()};
    plat::ScriptedMessageBox noBoxes_;
    plat::ScopedMessageBoxes boxes_{&noBoxes_};
    cmcGTex texts_;
    cmcGTex* oldTexts_;
};

bool AllBlank(const cmcEeprom& image, int32_t at, int32_t length) {
    for (int32_t i = 0; i < length; ++i)
        if (image.GetByte(at + i) != 0x20) return false;
    return true;
}

} // namespace

TEST_P(StartupDataTest, LoadsAsTheModelItIsFor) {
    cmcEeprom image;
    ASSERT_EQ(Load(Path(), image), cmcIcfFile::kOk);
    ExpectWritableHeader(image);
    // The model is told after unpacking, from the class bits of table 8.
    UnpackImage(image, ModelClassOf(GetParam()), PackingFor(ModelClassOf(GetParam())));
    EXPECT_EQ(DetectModelIndex(image), GetParam());
}

// Every table takes its bytes from its own block: a template record is the
// table's own record, never the start of the next block.
TEST_P(StartupDataTest, HoldsABlockForEveryTableWithItsTemplate) {
    cmcEeprom image;
    ASSERT_EQ(Load(Path(), image), cmcIcfFile::kOk);
    ASSERT_EQ(LoadPtbl(image), 1);
    const int32_t n = PtblEntryCount(image);
    for (const layout::StaticTable& t : layout::kStaticTables) {
        SCOPED_TRACE(t.id);
        const uint8_t* e = FindPtblEntry(image.Data() + layout::kPtblCopy, n, t.id);
        ASSERT_NE(e, nullptr);
        const PtblEntry entry = ReadPtblEntry(e);
        EXPECT_EQ(entry.recordSize, t.recordSize);
        EXPECT_GE(entry.count, t.expand == layout::ExpandKind::FirstIntoAll ? 1 : t.records);
        EXPECT_TRUE(
            InDynamicArea(DynamicOffset(image, entry.address), int64_t{entry.recordSize} * entry.count));
    }
}

TEST_P(StartupDataTest, ExpandsIntoBlankTablesAndPacksAsAWritableImage) {
    cmcEeprom image;
    ASSERT_EQ(Load(Path(), image), cmcIcfFile::kOk);
    Dynamic2Static(image);
    const layout::StaticTable& channels = layout::Table(2);
    for (int32_t r = 0; r < channels.records; ++r) {
        ASSERT_TRUE(AllBlank(image, channels.Record(r) + 14, 12)) << "channel name " << r;
        ASSERT_EQ(image.GetByte(channels.Record(r)), 0) << "no frequency, so not programmed";
        ASSERT_EQ(image.GetByte(channels.Record(r) + 8) & 0x80, 0x80) << "tone off";
    }
    for (int32_t b = 0; b < layout::kBanks; ++b) {
        EXPECT_TRUE(AllBlank(image, layout::Table(13).Record(b), 12)) << "bank name " << b;
        EXPECT_EQ(image.GetWord(layout::kBankCounts + 2 * b), 0);
    }
    EXPECT_TRUE(AllBlank(image, layout::kComment1, 32));
    EXPECT_TRUE(AllBlank(image, layout::Table(22).offset, 48));
    EXPECT_TRUE(AllBlank(image, layout::Table(59).Record(499), 12));
    EXPECT_TRUE(AllBlank(image, layout::Table(60).Record(4) + 180, 12));
    EXPECT_EQ(image.GetByte(layout::kNewerDataByte), 0);

    // The address plan: individual addresses below G, groups from G on.
    const int32_t g = image.GetWord(99256);
    EXPECT_GT(g, 0);
    EXPECT_LE(g, 4095);
    EXPECT_LT(image.GetWord(99260), g) << "killer address";
    EXPECT_LT(image.GetWord(layout::Table(29).Record(0)), g);
    for (int32_t k = 1; k < 8; ++k) {
        EXPECT_GE(image.GetWord(layout::Table(29).Record(k)), g) << "ID group " << k;
        EXPECT_LE(image.GetWord(layout::Table(29).Record(k)), 4095);
    }

    const int modelClass = ModelClassOf(GetParam());
    ASSERT_EQ(Static2DynamicInit(image, modelClass), 0);
    ExpectWritableHeader(image);
    const int entries[] = {0, 51, 57, 53, 51, 36};
    EXPECT_EQ(image.GetWord(layout::kHdrOwnEntry + 4), entries[modelClass]);
    EXPECT_EQ(DetectModelIndex(image), GetParam());
}

// What the program saves it opens again unchanged, and saves byte for byte
// the same: unpacking and packing lose nothing of the radio's part.
TEST_P(StartupDataTest, SaveOpenSaveGivesTheSameFile) {
    const int modelClass = ModelClassOf(GetParam());
    cmcEeprom image;
    ASSERT_EQ(Load(Path(), image), cmcIcfFile::kOk);
    Dynamic2Static(image);
    image.SetWord(layout::kBankCounts + 4, 3);
    image.SetWord(layout::kBank127Count, 2);
    ASSERT_EQ(Static2DynamicInit(image, modelClass), 0);

    TempDir dir;
    ASSERT_EQ(Save(dir.File("first.icf"), image), cmcIcfFile::kOk);
    cmcEeprom opened;
    ASSERT_EQ(Load(dir.File("first.icf"), opened), cmcIcfFile::kOk);
    UnpackImage(opened, modelClass, PackingFor(modelClass));
    ASSERT_EQ(Static2DynamicInit(opened, modelClass), 0);
    ASSERT_EQ(Save(dir.File("second.icf"), opened), cmcIcfFile::kOk);
    EXPECT_TRUE(TempDir::ReadFile(dir.File("first.icf")) == TempDir::ReadFile(dir.File("second.icf")));
}

INSTANTIATE_TEST_SUITE_P(EveryModel, StartupDataTest, ::testing::Range(0, 10), testsupport::ModelParamName());
