#pragma once
#include "platform/KeyState.h"

namespace testsupport {

// Shift held (or released) for the lifetime of the scope, whatever reading of
// the keyboard was installed; the one before is put back at its end.
class ScopedShift {
public:
    explicit ScopedShift(bool down = true) : before_(&plat::KeyState()) {
        state_.shift = down;
        plat::SetKeyState(&state_);
    }
    ~ScopedShift() { plat::SetKeyState(before_); }
    ScopedShift(const ScopedShift&) = delete;
    ScopedShift& operator=(const ScopedShift&) = delete;

private:
    plat::SettableKeyState state_;
    plat::KeyStateService* before_;
};

} // namespace testsupport
