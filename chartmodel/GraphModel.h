// The graph object model of one chart window: panes (horizontal strips), time bands (vertical strips
// with their own time axis), the series of a band drawn in a pane, the plot elements of a series and
// the value ranges that map a series' values to rows. Every record is a zero-filled guarded
// allocation in a singly linked list, new records at the head.
#pragma once

#include "chartmodel/DataArray.h"
#include "chartmodel/LineObjects.h"
#include "core/Memory.h"

#include <cstdint>
#include <new>

namespace qv {

struct GraphSeries;
struct PlotElement;
struct ValueRange;

// Grid-line flags.
enum GridLineFlags : uint32_t {
    kGridFixedLevel = 1,   // kept by a keep-fixed free
    kGridPixel = 2,        // the position is a pixel, not a value
    kGridEveryPane = 4,    // a time line drawn in every visible pane
    kGridTickLeft = 8,     // only a short tick at the left edge
    kGridTickRight = 16,   // only a short tick at the right edge
};

struct GridLine {
    uint32_t flags;
    int32_t pixel;
    float value;
    GridLine* next;
};

// Maps indexes firstIndex..lastIndex to pixels firstX..lastX. The x table, when set, holds one x per
// index from firstIndex on; it is a guarded allocation owned by the scale.
struct TimeScale {
    uint32_t kind;
    int32_t firstIndex;
    int32_t lastIndex;
    int32_t firstX;
    int32_t lastX;
    int32_t* xTable;
};

struct GraphPane {
    uint32_t id;               // 1 and 2 always receive time lines
    uint8_t showTitles;
    uint8_t visible;
    uint8_t flagA;
    uint8_t flagB;             // 1 at creation
    uint8_t flagC;
    int32_t left, top, right, bottom;
    GraphSeries* firstSeries;  // the first series added in this pane
    LineObjectList lineObjects; // the user's drawing objects, freed with the pane
    GridLine* gridLines;
    int32_t fixedLevelCount;
    int32_t keptA;             // 1 at creation
    int32_t keptB;             // 1 at creation
    int32_t thousandsIndex;    // 0-3: "num", "th", "M", "B"
    int32_t keptC;             // 1 at creation
    int32_t titleUnitMode;     // 3 at creation; the unit word goes on the first title only at 0
    int32_t keptD;
    GraphPane* next;
};

constexpr int kBandArrays = 9;

struct TimeBand {
    uint8_t shown;
    uint16_t word;
    int32_t firstBar;          // global bar number of the band's first bar
    int32_t left, right;
    int32_t lineFrom, lineTo;  // time lines are drawn only when lineTo > lineFrom
    DataArray arrays[kBandArrays];
    uint32_t word2;
    GridLine* timeLines;       // pixel field: the x position
    TimeScale scale;
    uint32_t word3, word4;
    GraphSeries* series;
    TimeBand* next;
};

constexpr int kSeriesTitleSize = 256;

struct GraphSeries {
    uint32_t studyKey;
    char title[kSeriesTitleSize];
    uint32_t defaultColour;    // the first colour of the first element added
    uint8_t ownsTimeScale;
    GraphPane* pane;
    PlotElement* elements;     // head of the element list
    PlotElement* firstElement; // the first element added
    TimeBand* band;
    TimeScale* timeScale;      // the band's, or one of its own
    ValueRange* range;
    GraphSeries* next;
};

// Plot-element flags read by this model and the drawers.
enum PlotElementFlags : uint32_t {
    kElementFrontLayer = 0x100,
    kElementCentred = 0x2000,   // points sit half a step to the right
    kElementTwoPart = 0x200000, // the second values form a chained second part
    kElementDotSized = 0x400000, // dots of tick items: each item's second value is its diameter in pixels
};

constexpr int kElementColours = 5;
constexpr uint32_t kMixCopyPen = 13;

struct PlotElement {
    uint32_t style;            // 1-12
    uint32_t shape;            // marker shape of style 11
    uint32_t flags;
    uint32_t aux;
    uint32_t word;
    uint32_t mixMode;          // 13 (copy pen) at creation
    uint32_t words[5];         // words[0]: the display offset of a second part; words[1]: the
                               // reference box number of style 6
    int32_t colourCount;       // 1-5
    uint32_t colours[kElementColours]; // the fourth and fifth are the gradient's ends
    uint32_t extraColour;
    uint32_t extra[5];         // extra[0], extra[1]: box size and inset of style 6
    DataArray values;
    DataArray second;
    GraphSeries* series;
    PlotElement* next;
};

enum ValueRangeFlags : uint8_t {
    kRangeLogarithmic = 1,
    kRangeWholeNumbers = 4,
    kRangeFixed = 0x10,        // set by the pane's scale settings: no drawing widens or pads it
};

struct ValueRange {
    float minimum;             // FLT_MAX at creation
    float maximum;             // -FLT_MAX at creation
    int32_t yTop;              // row of the maximum
    int32_t yBottom;           // row of the minimum
    float spare;
    uint8_t flags;
    GraphSeries* series;
    ValueRange* next;
};

// Empty when the minimum is not below the maximum: its series is not drawn.
inline bool IsRangeEmpty(const ValueRange& range) { return !(range.minimum < range.maximum); }

// A level line of an indicator pane (16 bytes).
struct LevelLine {
    float value;
    uint32_t colour;
    uint32_t pen;
    uint32_t flags;
};

// Chart-label flags.
enum ChartLabelFlags : uint32_t {
    kLabelTop = 1,
    kLabelBottom = 2,
    kLabelLeft = 4,
    kLabelRight = 8,
    kLabelCentreX = 16,
    kLabelCentreY = 32,
    kLabelBoxed = 64,
    kLabelOpaque = 128,
};

struct ChartLabel {
    uint32_t flags;
    uint32_t textColour;
    uint32_t backColour;
    int32_t size;              // points, at least 2
    int32_t margin;
    int32_t verticalGap;       // -1 for a boxed label
    char* text;                // owned copy
    int32_t priority;
    uint8_t drawn;
    int32_t left, top, right, bottom;
    ChartLabel* partner;
    ChartLabel* next;
};

// A zero-filled guarded record.
template <typename T>
T* NewGraphRecord(const char* context)
{
    return new (ProCalloc(1, sizeof(T), context)) T{};
}

TimeBand* NewTimeBand(uint32_t scaleKind);
GraphSeries* AddSeries(TimeBand* band, GraphPane* pane, uint32_t studyKey);
// Gives the series a cleared time scale of its own, freeing a previous own one.
void AddSeriesTimeScale(GraphSeries* series, uint32_t kind);
// New element at the head of the series' list; the count is clamped to 1-5 and every colour beyond it
// becomes the first.
PlotElement* AddPlotElement(GraphSeries* series, uint32_t style, uint32_t flags, uint32_t colour1,
                            uint32_t aux, int32_t colourCount, uint32_t colour2, uint32_t colour3,
                            uint32_t colour4, uint32_t colour5);
// The earliest-added series of the band drawn in the pane, or null.
GraphSeries* FindSeries(const TimeBand* band, const GraphPane* pane);

GridLine* AddGridLine(GridLine*& list);
GridLine* AddGridLinePixel(GridLine*& list, uint32_t flags, int32_t pixel);
// Frees every node, or with keepFixed only those without the fixed-level flag, keeping the others in
// reversed order; returns how many it kept.
int FreeGridLines(GridLine*& list, bool keepFixed);
// Replaces the pane's grid lines by the first n (at most 5) values as fixed levels.
void SetPaneLevels(GraphPane* pane, int32_t n, const float values[5]);

void CopyLevelLine(LevelLine& to, const LevelLine& from);
// Four values from the source's four; or, when asked, the first three set to the source's fourth;
// zeros without a source.
void CopyLevelValues(float to[4], const float* from, bool fourthIntoFirstThree);

// Frees a time scale's x table.
void FreeTimeScaleTable(TimeScale& scale);

} // namespace qv
