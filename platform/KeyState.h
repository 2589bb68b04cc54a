#pragma once

namespace plat {

// The keyboard's Shift key as it is now, wherever the question comes from: a
// key or click on a sheet and a converter stepping a value ask the same.
class KeyStateService {
public:
    virtual ~KeyStateService() = default;
    virtual bool ShiftDown() = 0;
};

// Test double and headless default: Shift as the test sets it.
class SettableKeyState : public KeyStateService {
public:
    bool ShiftDown() override { return shift; }
    bool shift = false;
};

KeyStateService& KeyState();
void SetKeyState(KeyStateService* service);

} // namespace plat
