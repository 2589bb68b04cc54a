#include "platform/InstanceLock.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using plat::InstanceLock;
using testsupport::ScopedEnv;
using testsupport::TempDir;

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstReleases) {
    TempDir dir;
    ScopedEnv env("XDG_RUNTIME_DIR", dir.Path());
    InstanceLock first("Morv Tolvane APP Exclusive Mutex");
    EXPECT_EQ(first.GetState(), InstanceLock::State::Acquired);
    EXPECT_EQ(InstanceLock::LockFilePath("Morv Tolvane APP Exclusive Mutex"),
              dir.Path() + "/Morv Tolvane APP Exclusive Mutex.lock");
    {
        InstanceLock second("Morv Tolvane APP Exclusive Mutex");
        EXPECT_EQ(second.GetState(), InstanceLock::State::HeldElsewhere);
        InstanceLock other("Another Mutex");
        EXPECT_EQ(other.GetState(), InstanceLock::State::Acquired);
    }
    first.Release();
    InstanceLock third("Morv Tolvane APP Exclusive Mutex");
    EXPECT_EQ(third.GetState(), InstanceLock::State::Acquired);
}

TEST(InstanceLock, LockFileThatCannotBeCreatedIsAFailureNotAnotherInstance) {
    ScopedEnv env("XDG_RUNTIME_DIR", "/nonexistent/tolvane/dir");
    InstanceLock lock("Morv Tolvane APP Exclusive Mutex");
    EXPECT_EQ(lock.GetState(), InstanceLock::State::Failed);
    EXPECT_NE(lock.Error().find("/nonexistent/tolvane/dir"), std::string::npos);
}
