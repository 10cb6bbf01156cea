// The window side of the chart's drawing objects: their lines and handles on the chart's painter, the
// line style dialog on an object's pen, and the context menus the chart chooses.
#pragma once

#include "charts/DailyChartDrawing.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QPainter;
class QPoint;
class QWidget;

namespace qv {

// Each object's main segment clipped to its pane; a selected object's handles inverted, 7 by 7
// pixels, the hit part's 3 by 3.
void PaintDrawingObjects(QPainter& painter, const std::vector<DrawnLineObject>& objects);

// "Select the line type and colour" on the pen.
std::optional<DailyChartDrawing::StyleChoice> RunLineStyleDialog(uint32_t pen, uint32_t background, QWidget* parent);

// "Set box colours" on a text object's stored bytes: its text, fill and frame colours, transparency,
// font and point size change on OK (true); `asDefault` takes the dialog's default option.
bool RunTextBoxColours(uint8_t* stored, bool& asDefault, QWidget* parent);
// The font chooser on a text object's font and point size; true when one was chosen.
bool RunTextBoxFont(uint8_t* stored, QWidget* parent);

// The command of a key on the chart: Tab and Shift+Tab step through the lines, Del deletes the
// selected one and Shift+Del all of the setting's; 0 for another key (Qt key codes).
uint32_t DrawingKeyCommand(int key, bool shift);

// Shows the built menu at the global point and runs the chosen command; nothing in unattended runs.
void TrackChartMenu(uint32_t menuId, uint32_t flags, const QPoint& global, QWidget* parent,
                    const std::function<void(uint32_t command)>& run);

} // namespace qv
