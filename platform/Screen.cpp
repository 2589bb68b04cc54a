#include "platform/Screen.h"

namespace plat {
namespace {
FixedScreen gDefault({0, 0, 1024, 768}, {0, 0, 1024, 768});
ScreenService* gScreen = &gDefault;
} // namespace

ScreenService& Screen() {
    return *gScreen;
}
void SetScreen(ScreenService* service) {
    gScreen = service ? service : &gDefault;
}

} // namespace plat
