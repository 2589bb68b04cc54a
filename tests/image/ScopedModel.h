#pragma once
#include "foundation/Globals.h"
#include "foundation/indEnviron.h"
#include "platform/SettingsStore.h"
#include "tests/support/TempDir.h"

#include <cstdint>

namespace testimage {

// Settings whose model is the current model for the scope, as the program's
// start-up would make them, kept in memory.
class ScopedModel {
public:
    explicit ScopedModel(int32_t modelIndex) : old_(gEnviron) {
        env_.ModelType = modelIndex;
        gEnviron = &env_;
    }
    ~ScopedModel() { gEnviron = old_; }
    ScopedModel(const ScopedModel&) = delete;
    ScopedModel& operator=(const ScopedModel&) = delete;

    // The settings themselves, for a test that changes the model or another setting on the way.
    indEnviron& Env() { return env_; }

private:
    indEnviron* old_;
    testsupport::TempDir runtime_;
    testsupport::ScopedEnv runtimeEnv_{"XDG_RUNTIME_DIR", runtime_.Path()};
    plat::MemorySettingsStore store_;
    indEnviron env_{"Morv Tolvane APP Exclusive Mutex", "Software\\Morv\\Tolvane", store_};
};

} // namespace testimage
