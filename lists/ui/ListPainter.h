// Replays a list table's drawing steps with a QPainter, and measures text for the heading rules
// with a QFont.
#pragma once

#include "lists/ListHeadings.h"
#include "lists/ListPaintPlan.h"

#include <QFont>
#include <QFontMetrics>

#include <array>
#include <vector>

class QPainter;

namespace qv {

struct ListStyle;

class QtTextMetrics : public TextMetrics {
public:
    explicit QtTextMetrics(const QFont& font) : metrics_(font) {}
    // Measured on a device (a printer) at its own resolution.
    QtTextMetrics(const QFont& font, const QPaintDevice* device) : metrics_(font, device) {}
    int TextWidth(std::string_view text) const override;
    int LineHeight() const override { return metrics_.height(); }

private:
    QFontMetrics metrics_;
};

// The list font and its seven variants (bit 0 bold, bit 1 italic, bit 2 underline added); bold is
// 700 on a normal base and 900 on a bold one.
using ListFonts = std::array<QFont, 8>;
ListFonts MakeListFonts(const ListStyle& style, int pixelSizeOverride = 0);

void ReplayPaintOps(QPainter& painter, const std::vector<PaintOp>& ops, const ListFonts& fonts);

// Draws the partner's emblem, 32 x 32 at (x, y).
void DrawPartnerEmblem(QPainter& painter, int x, int y);

} // namespace qv
