#include "platform/KeyState.h"

namespace plat {
namespace {
SettableKeyState gDefault;
KeyStateService* gKeyState = &gDefault;
} // namespace

KeyStateService& KeyState() {
    return *gKeyState;
}

void SetKeyState(KeyStateService* service) {
    gKeyState = service ? service : &gDefault;
}

} // namespace plat
