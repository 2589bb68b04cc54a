#include "tests/app/DocumentFixture.h"

namespace {

using apptest::DocumentFixture;

class ModelChangeTest : public DocumentFixture {};

TEST_F(ModelChangeTest, TheModelCommandAsksThenLoadsTheNewModelsStartupData) {
    CloningDocument& app = StartWithData();
    ASSERT_EQ(gEnviron->ModelType, 5);
    const std::string question = GetMultiLineText(*gGTex, "GI_AppMess_ChangeModel");

    boxes_.Expect(question, plat::IDCANCEL);
    app.ChangeModel(7, true);
    EXPECT_EQ(gEnviron->ModelType, 5);

    app.WorkingImage().SetByte(layout::kComment1, 'Z');
    app.SetFileName(Documents() + "/old.icf");
    boxes_.Expect(question, plat::IDOK);
    app.ChangeModel(7, true);
    // Exactly the new model's data: nothing of the old model's tables survives.
    ExpectModelData(app, 7);
    EXPECT_TRUE(app.IsUntitled());
    EXPECT_FALSE(app.UpdateModified());

    // The current model and indexes that name no model change nothing, and ask nothing.
    app.ChangeModel(7, true);
    app.ChangeModel(10, true);
    app.ChangeModel(-1, false);
    EXPECT_EQ(gEnviron->ModelType, 7);
}

TEST_F(ModelChangeTest, OpeningAnotherModelsFileSwitchesToItWithoutAQuestion) {
    CloningDocument& app = StartWithData();
    cmcEeprom p25 = StartupImage(2, false);
    const std::string path = Documents() + "/p25.icf";
    WriteIcf(path, p25);

    ASSERT_EQ(app.OpenFile(path), 0);
    EXPECT_EQ(gEnviron->ModelType, 2);
    EXPECT_TRUE(app.ReferenceImage().IsEqual(StartupImage(2, true)));
    EXPECT_EQ(app.GetFileName(), path) << "the data read is kept";
    EXPECT_FALSE(app.IsModified());
}

TEST_F(ModelChangeTest, AStoredModelIndexThatNamesNoModelStartsWithModelZero) {
    CloningDocument& app = Start();
    gEnviron->ModelType = 42;
    app.LoadStartupData();
    EXPECT_EQ(gEnviron->ModelType, 0);
    EXPECT_TRUE(app.ReferenceImage().IsEqual(StartupImage(0, true)));
}

} // namespace
