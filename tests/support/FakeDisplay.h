// A display host for tests: fixed monitors, desktop and font families, installed for its lifetime.
#pragma once

#include "platform/Display.h"

#include <algorithm>

namespace qv::test {

class FakeDisplay : public DisplayHost {
public:
    FakeDisplay() : previous_(SetDisplayHost(this)) {}
    ~FakeDisplay() override { SetDisplayHost(previous_); }
    FakeDisplay(const FakeDisplay&) = delete;
    FakeDisplay& operator=(const FakeDisplay&) = delete;

    std::optional<std::vector<ScreenRect>> monitors;
    ScreenRect desktop{0, 0, 1024, 768};
    std::vector<std::string> families;
    mutable std::vector<std::string> asked;

    std::optional<std::vector<ScreenRect>> monitorRects() const override { return monitors; }
    ScreenRect desktopRect() const override { return desktop; }
    bool hasFontFamily(const std::string& face) const override
    {
        asked.push_back(face);
        return std::find(families.begin(), families.end(), face) != families.end();
    }

private:
    DisplayHost* previous_;
};

} // namespace qv::test
