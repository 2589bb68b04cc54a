#pragma once

namespace plat {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
};

// The desktop: the primary display's size and the work area (the desktop
// without task bars and panels).
class ScreenService {
public:
    virtual ~ScreenService() = default;
    virtual Rect WorkArea() = 0;
    virtual Rect PrimaryScreen() = 0;
};

// Test double and headless default: a fixed desktop.
class FixedScreen : public ScreenService {
public:
    FixedScreen(Rect screen, Rect workArea) : screen_(screen), work_(workArea) {}
    Rect WorkArea() override { return work_; }
    Rect PrimaryScreen() override { return screen_; }
    Rect screen_, work_;
};

ScreenService& Screen();
void SetScreen(ScreenService* service);

} // namespace plat
