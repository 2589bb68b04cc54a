#include "cells/RecordingAppManager.h"
#include "cells/AppManager.h"

#include <gtest/gtest.h>

TEST(RecordingAppManager, InstallsForTheScopeAndRecordsCallsInOrder) {
    ASSERT_EQ(gAppManager, nullptr);
    RecordingAppManager app;
    {
        ScopedAppManager scope(&app);
        ASSERT_EQ(gAppManager, &app);
        gAppManager->ChangeModel(7, true);
        gAppManager->SetFileName("/tmp/a.icf");
        EXPECT_EQ(gAppManager->GetFileName(), "/tmp/a.icf");
        app.checkModelAnswer = false;
        app.checkModelResult = 4;
        int result = 1;
        EXPECT_FALSE(gAppManager->CheckModel(0x4410, 5, result));
        EXPECT_EQ(result, 4);
    }
    EXPECT_EQ(gAppManager, nullptr);
    EXPECT_EQ(app.Names(), (std::vector<std::string>{"ChangeModel", "SetFileName", "CheckModel"}));
    EXPECT_EQ(app.calls[0], (RecordingAppManager::Call{"ChangeModel", 7, 1, "", nullptr}));
    EXPECT_EQ(app.ModelCode(), 0x4410);
}
