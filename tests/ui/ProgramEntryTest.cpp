// The program's entry around its message loop.
#include "platform/Fatal.h"
#include "tests/support/ScriptedMessageBox.h"
#include "ui/ProgramRun.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// An exception that escapes the loop is shown, and the run has failed: a
// script or a session that started the program must learn of it.
TEST(RunMessageLoop, AnEscapedExceptionIsShownAndFailsTheRun) {
    plat::ScriptedMessageBox boxes;
    plat::ScopedMessageBoxes useBoxes{&boxes};
    boxes.Expect("the loop broke", plat::IDOK);
    EXPECT_EQ(RunMessageLoop([] { throw std::runtime_error("the loop broke"); }), 1);
    ASSERT_EQ(boxes.Log().size(), 1u);
    EXPECT_EQ(boxes.Log()[0].caption, plat::ProgramFileName());
    EXPECT_EQ(boxes.Log()[0].flags, plat::MB_OK | plat::MB_ICONERROR);

    bool ran = false;
    EXPECT_EQ(RunMessageLoop([&] { ran = true; }), 0);
    EXPECT_TRUE(ran);
    EXPECT_EQ(boxes.Log().size(), 1u) << "a loop that ends normally shows nothing";
}

} // namespace
