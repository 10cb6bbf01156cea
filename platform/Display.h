// The screens and fonts of the display, through a host that the window layer or a test installs.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qv {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

class DisplayHost {
public:
    virtual ~DisplayHost() = default;
    // The rectangle of every monitor in desktop coordinates, or nothing when the window library
    // cannot enumerate them.
    virtual std::optional<std::vector<ScreenRect>> monitorRects() const = 0;
    // The desktop window's rectangle.
    virtual ScreenRect desktopRect() const = 0;
    // True when a font family of that face (Windows-1252 text, compared without regard to case)
    // covers the Latin characters.
    virtual bool hasFontFamily(const std::string& face) const = 0;
};

// Installs the host (null restores the headless host, which knows no monitors, a desktop of
// 800 x 600 and no fonts). The previous host is returned.
DisplayHost* SetDisplayHost(DisplayHost* host);
const DisplayHost& Display();

} // namespace qv
