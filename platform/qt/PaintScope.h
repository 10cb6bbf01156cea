// Marks the time a window spends in its own paint, so that progress shown from inside it (a chart that
// refills its share list as it draws) asks for a later repaint instead of painting another window then.
#pragma once

namespace qv {

class PaintScope {
public:
    PaintScope();
    ~PaintScope();
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    // A nested synchronous paint would end the painter of the paint under way.
    static bool Active();
};

} // namespace qv
