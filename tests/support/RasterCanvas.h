// A chart canvas for tests: it rasterises what the chart's drawing routines draw into a grid of
// colours (one per pixel, -1 for nothing drawn), and keeps the captions and the order of the pens.
#pragma once

#include "chartmodel/ChartCanvas.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace qv::test {

class RasterCanvas : public ChartCanvas {
public:
    RasterCanvas(int width, int height) : width_(width), height_(height), pixels_(size_t(width * height), -1) {}

    void ClipToPane(const GraphPane*) override {}
    void SelectPen(uint32_t packedPen) override
    {
        pen_ = int64_t(packedPen & 0xFFFFFF);
        pens.push_back(uint32_t(pen_));
    }
    // Bresenham, both end points.
    void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) override
    {
        ++lines;
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            Set(x0, y0, pen_);
            if (x0 == x1 && y0 == y1)
                break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) override
    {
        fills.push_back({left, top, right, bottom, colour});
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                if (At(x, y) >= 0 && At(x, y) != int64_t(colour))
                    ++overdrawn;
                Set(x, y, colour);
            }
    }
    void PaneCaption(const GraphPane&, const std::string& text, uint32_t colour) override
    {
        captions.push_back(text);
        captionColours.push_back(colour);
    }

    void Text(int32_t x, int32_t y, const std::string& text, uint32_t, bool) override
    {
        texts.push_back({x, y, text});
    }

    int64_t At(int x, int y) const
    {
        return x < 0 || y < 0 || x >= width_ || y >= height_ ? -1 : pixels_[size_t(y * width_ + x)];
    }
    // Pixels of a colour in a column or a row.
    int CountInColumn(int x, int64_t colour) const
    {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            n += At(x, y) == colour;
        return n;
    }
    int CountInRow(int y, int64_t colour) const
    {
        int n = 0;
        for (int x = 0; x < width_; ++x)
            n += At(x, y) == colour;
        return n;
    }
    int Count(int64_t colour) const { return int(std::count(pixels_.begin(), pixels_.end(), colour)); }
    // The leftmost column holding the colour; -1 when none does.
    int FirstColumn(int64_t colour) const
    {
        for (int x = 0; x < width_; ++x)
            if (CountInColumn(x, colour) > 0)
                return x;
        return -1;
    }

    struct Fill {
        int32_t left, top, right, bottom;
        uint32_t colour;
    };
    struct Label {
        int32_t x, y;
        std::string text;
    };
    std::vector<Label> texts;
    std::vector<Fill> fills;
    std::vector<uint32_t> pens;
    std::vector<std::string> captions;
    std::vector<uint32_t> captionColours;
    int lines = 0;
    int overdrawn = 0;

private:
    void Set(int x, int y, int64_t colour)
    {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            pixels_[size_t(y * width_ + x)] = colour;
    }
    int width_, height_;
    std::vector<int64_t> pixels_;
    int64_t pen_ = 0;
};

} // namespace qv::test
