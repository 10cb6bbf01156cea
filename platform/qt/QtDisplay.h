// The Qt display host: the application's screens and its font database.
#pragma once

#include "platform/Display.h"

namespace qv {

class QtDisplayHost : public DisplayHost {
public:
    std::optional<std::vector<ScreenRect>> monitorRects() const override;
    ScreenRect desktopRect() const override;
    bool hasFontFamily(const std::string& face) const override;
};

} // namespace qv
