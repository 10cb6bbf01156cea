// Heading texts, wrapping, height, highlight and sort triangle of a list table.
#include "lists/ListHeadings.h"

#include "core/ColumnDef.h"
#include "lists/ColumnHeading.h"
#include "lists/ListGrid.h"

#include <algorithm>

namespace qv {

std::vector<std::string> WrapHeading(std::string_view heading, int width, const TextMetrics& metrics)
{
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < heading.size()) {
        size_t blank = heading.find(' ', pos);
        size_t end = blank == std::string_view::npos ? heading.size() : blank;
        if (end > pos)
            words.emplace_back(heading.substr(pos, end - pos));
        pos = end + 1;
    }
    std::vector<std::string> lines;
    for (std::string& word : words) {
        std::replace(word.begin(), word.end(), '_', ' ');
        if (!lines.empty()) {
            std::string joined = lines.back() + ' ' + word;
            if (metrics.TextWidth(joined) <= width) {
                lines.back() = std::move(joined);
                continue;
            }
        }
        lines.push_back(std::move(word));
    }
    return lines;
}

bool IsPartnerViewHeading(const uint8_t* column, std::string_view heading)
{
    return column && ColumnDefKind(column) == kColumnPartnerView && heading.starts_with("VG View");
}

void ListHeadings::BuildHeadings(const ShareList* list, const uint8_t* layout)
{
    texts.clear();
    int n = layout ? std::min(CountColumnDefs(layout), kMaxLayoutColumns) : 0;
    for (int c = 0; c < n; ++c) {
        const uint8_t* def = GetColumnDef(layout, c);
        texts.push_back(def[ColumnDefLayout::Length] >= kColumnDefBytes ? GetColumnHeading(list, def, false)
                                                                       : std::string());
    }
}

int ListHeadings::MeasureHeadingHeight(const ListGrid& grid, const TextMetrics& bold, bool onScreen)
{
    int tallest = kMinHeadingHeight;
    int n = std::min<int>(grid.columnCount(), int(texts.size()));
    for (int c = 0; c < n; ++c) {
        int width = grid.columnX(c + 1) - grid.columnX(c) - 4;
        int h = int(WrapHeading(texts[size_t(c)], width, bold).size()) * bold.LineHeight();
        if (onScreen && IsPartnerViewHeading(grid.column(c), texts[size_t(c)]))
            h += kEmblemRoom;
        tallest = std::max(tallest, h);
    }
    height = tallest;
    return height;
}

uint32_t HeadingHighlightColour(bool pressed)
{
    int t = pressed ? 5 : 7;
    auto channel = [t](int c) { return uint32_t((t * 255 + (10 - t) * c) / 10); };
    return channel(10) | channel(36) << 8 | channel(106) << 16;
}

SortTriangle SortTriangleFor(int right, int bottom, int direction, bool textColumn)
{
    bool up = (direction > 0) == textColumn;
    int base = up ? bottom - 5 : bottom - 10;
    int apex = up ? bottom - 10 : bottom - 5;
    return {{right - 15, right - 10, right - 5}, {base, apex, base}, up};
}

} // namespace qv
