// The display host and its headless default.
#include "platform/Display.h"

#include <atomic>

namespace qv {
namespace {

class HeadlessDisplay : public DisplayHost {
public:
    std::optional<std::vector<ScreenRect>> monitorRects() const override { return std::nullopt; }
    ScreenRect desktopRect() const override { return ScreenRect{0, 0, 800, 600}; }
    bool hasFontFamily(const std::string&) const override { return false; }
};

HeadlessDisplay g_headless;
std::atomic<DisplayHost*> g_host{&g_headless};

} // namespace

DisplayHost* SetDisplayHost(DisplayHost* host)
{
    return g_host.exchange(host ? host : &g_headless);
}

const DisplayHost& Display() { return *g_host.load(); }

} // namespace qv
