// The rules of the graph design dialog over a working copy of a graph setting: the corrections made on
// opening, the box-value and reversal checks, the Light and Dark defaults, and the preview margins.
#pragma once

#include "core/ConfigRecords.h"

#include <cstdint>

namespace qv::graphdesign {

constexpr int kPageCount = 6;
constexpr int kPriceDisplayCloseLine = 0;
constexpr int kPriceDisplayPointFigure = 5;
constexpr int kPriceDisplayKagi = 6;
constexpr int kPriceDisplayRenko = 7;
constexpr int kPriceDisplayLineBreak = 8;
constexpr int kBoxOptionPercentOfValue = 1;
constexpr int kDefaultReversal = 3;
constexpr double kDefaultBoxValue = 1.0;

// Corrections on opening.
int CorrectTimeScale(int stored);
int CorrectReversal(int stored);
double CorrectBoxValue(double value);
int CorrectPage(int stored);
bool IsBoxChart(int priceDisplay);

// The box value's upper bound for a box option: 99 for "% of value", else 500.
int BoxValueLimit(int boxOption);
bool BoxValueValid(double value, int boxOption);
// The stored box value: value x 100 + 0.1, truncated.
uint16_t StoredBoxValue(double value);
bool ReversalValid(int value);
// The offset in the record of the reversal shown for a display: the line count for line break.
size_t ReversalOffset(int priceDisplay);

// Turns every price-colour-scheme colour drawn filled (style 5) solid; done when the display leaves
// "Close line".
void SolidifyFilledPriceColours(GraphSetting& record);

// "Light default" or "Dark default": sliders, price options and the colour table.
void ApplyColourDefaults(GraphSetting& record, bool dark);

// The white-space margin round the chart: in the dialog's preview white space x 2 + the frame pen's
// width, in the chart view white space x 3 + 1.
int PreviewMargin(const GraphSetting& record);
int ViewMargin(const GraphSetting& record);

// A price display chosen: point and figure and Renko tick "Grid" and show the stored reversal, line
// break shows 3, and these three clear the styles of the box-chart Up and Down pens; Kagi widens the
// Up pen to 3 when the Down pen has neither style nor width. Returns the reversal to show.
int ApplyDisplayChoice(GraphSetting& record, int display);
// The captions that follow the box option and the display.
const char* BoxValueCaption(int boxOption);
const char* ReversalCaption(int display, int boxOption);
const char* GridCaption(int display);

// Stores the face name of the chart text font, cut to 31 characters and terminated.
void SetChartFontFace(GraphSetting& record, const char* face);

} // namespace qv::graphdesign
