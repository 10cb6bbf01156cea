// Chart labels: placement, queue order and collisions.
#include "chartmodel/ChartLabels.h"

#include "core/Memory.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qv {

ChartLabel* NewChartLabel(std::string_view text, uint32_t flags, int32_t priority, uint32_t textColour,
                          int32_t size, uint32_t backColour, ChartLabel* partner, int32_t margin)
{
    if (text.empty())
        return nullptr;
    auto* label = NewGraphRecord<ChartLabel>("Chart label");
    label->text = static_cast<char*>(ProCalloc(text.size() + 1, 1, "Chart label text"));
    std::memcpy(label->text, text.data(), text.size());
    label->flags = flags;
    label->priority = priority;
    label->textColour = textColour;
    label->backColour = backColour;
    label->size = std::max(size, 2);
    label->margin = margin;
    label->verticalGap = (flags & kLabelBoxed) ? -1 : 0;
    label->partner = partner;
    label->drawn = 1;
    return label;
}

void FreeChartLabel(ChartLabel* label)
{
    if (!label)
        return;
    ProFree(label->text);
    ProFree(label);
}

void PlaceChartLabel(ChartLabel& label, int32_t x, int32_t y, int32_t width, int32_t height,
                     const LabelBounds& bounds)
{
    int32_t left = 0, right = 0, top = 0, bottom = 0;
    uint32_t f = label.flags;
    if (f & kLabelBoxed) {
        right = width + bounds.paneMargin + bounds.labelMargin;
        if (f & kLabelBottom) {
            top = -(height + bounds.paneMargin);
        } else {
            bottom = height + bounds.paneMargin;
        }
    } else {
        if (f & kLabelLeft) {
            right = width;
        } else if (f & kLabelRight) {
            left = -width;
        } else if (f & kLabelCentreX) {
            left = int32_t(std::trunc(0.5 - width / 2.0));
            right = (width + 1) / 2;
        }
        if (f & kLabelTop) {
            bottom = height;
        } else if (f & kLabelBottom) {
            top = -height;
        } else if (f & kLabelCentreY) {
            top = int32_t(std::trunc(0.5 - height / 2.0));
            bottom = (height + 1) / 2;
        }
    }
    label.left = x + left;
    label.right = x + right;
    label.top = y + top;
    label.bottom = y + bottom;
    int32_t shift = 0;
    if (label.left < bounds.clampLeft) {
        shift = bounds.clampLeft - label.left;
    } else if (bounds.clampRight > bounds.clampLeft && label.right > bounds.clampRight) {
        shift = bounds.clampRight - label.right;
    }
    label.left += shift;
    label.right += shift;
}

void QueueChartLabel(ChartLabel*& queue, ChartLabel* label)
{
    if (!label)
        return;
    ChartLabel** link = &queue;
    while (*link && (*link)->priority >= label->priority)
        link = &(*link)->next;
    label->next = *link;
    *link = label;
}

bool ChartLabelsCollide(const ChartLabel& a, const ChartLabel& b)
{
    bool partners = a.partner == &b || b.partner == &a;
    bool oneBoxed = ((a.flags ^ b.flags) & kLabelBoxed) != 0;
    int32_t gap = partners || oneBoxed ? 0 : std::min(a.margin, b.margin);
    int64_t across = int64_t(std::max(a.right, b.right)) - std::min(a.left, b.left);
    int64_t down = int64_t(std::max(a.bottom, b.bottom)) - std::min(a.top, b.top);
    int64_t widths = int64_t(a.right - a.left) + (b.right - b.left) + gap;
    int64_t heights = int64_t(a.bottom - a.top) + (b.bottom - b.top) + std::min(a.verticalGap, b.verticalGap);
    return across < widths && down < heights;
}

void ResolveLabelCollisions(ChartLabel* queue)
{
    for (ChartLabel* label = queue; label; label = label->next) {
        label->drawn = 1;
        for (ChartLabel* ahead = queue; ahead != label; ahead = ahead->next) {
            if (ahead->drawn && ahead->priority >= label->priority && ChartLabelsCollide(*label, *ahead)) {
                label->drawn = 0;
                break;
            }
        }
    }
}

} // namespace qv
