// A table style read for drawing: the stored record's fields with the values a damaged or hand-made
// file may hold brought into range (line interval 1-6, odd white space 1-9, a point size the font
// chooser offers).
#pragma once

#include <cstdint>
#include <string>

namespace qv {

struct TableStyle;

constexpr int kMinPointSize = 6;
constexpr int kMaxPointSize = 72;
constexpr int kFallbackPointSize = 9;
constexpr int kNoHorizontalLines = 6;

struct ListStyle {
    uint32_t background = 0xFFFFFF;
    uint32_t currentText = 0;
    uint32_t currentBackground = 0;
    int whiteSpace = 3;
    uint32_t text = 0;
    int lineInterval = 1;
    uint32_t horizontalPen = 0;
    uint32_t verticalPen = 0;
    uint32_t headingBackground = 0;
    uint32_t headingText = 0;
    uint32_t negative = 0;
    uint32_t imported = 0;
    uint32_t flash[3]{};
    uint32_t currentFlash[3]{};
    uint32_t intradayOnly = 0;
    uint32_t arrows[3]{}; // up, down, same
    // The small graphs: the graph pen word, the tick colours up, down and same, the volume split's
    // buy, sell and unknown, the thermograph's up and down.
    uint32_t graphPen = 0xFF;
    uint32_t tickPens[3]{};
    uint32_t volumeSplit[3]{};
    uint32_t thermograph[2]{};
    bool wrapColumns = false;
    uint8_t fontFlags = 0; // bit 0 bold, 1 italic, 2 underline
    int pointSize = kFallbackPointSize;
    std::string face;
    uint32_t alternateBackground = 0xFFFFFF;
    bool shadeAlternate = false;
    bool noPlainVerticals = false;
};

ListStyle ReadListStyle(const TableStyle& style);

// The background of a row off the current row: the alternate colour on even rows (0-based) when
// shading is on.
uint32_t RowBackground(const ListStyle& style, int rowIndex);

} // namespace qv
