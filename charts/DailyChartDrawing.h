// The user's drawing objects on a chart as the mouse and the commands handle them: each pane's object
// list loaded from the lines-and-text store, the press, move and release of the line tool, the
// selection by click and by the keyboard ring, the editing commands, the commit with its one-step undo,
// the context menu's choice and the figures the window draws. The daily chart places objects on its
// dates; any other chart through its time axis (DrawingAxis).
#pragma once

#include "chartmodel/DataArray.h"
#include "chartmodel/EodReadouts.h"
#include "chartmodel/LineObjects.h"
#include "chartmodel/PaneLayout.h"
#include "charts/LineStudyFigures.h"
#include "charts/TextBoxGeometry.h"
#include "core/KeyedItemStore.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace qv {

class CViewGraph;
class EodChartView;
struct DrawingTool;
struct CommandUi;
struct ModeReadoutInput;
struct GraphPane;
struct GraphSetting;

// What the window draws for one object: its main segment (when it has one) and its study's further
// lines, arcs and labels, clipped to its pane, and the handles of a selected object (the hit part's
// drawn small).
// A text box as drawn: its rectangle, colours, text and font, and its arrow.
struct DrawnTextBox {
    TextBoxBox box;
    bool transparent = false;
    bool outlineOnly = false;      // being dragged: the outline alone
    uint32_t frame = 0, fill = 0xFFFFFF, textColour = 0;
    uint32_t alignment = 0;        // 0 left, 1 centre, 2 right
    std::string text;
    std::array<uint8_t, 60> font{}; // the font description; an empty face name takes the chart font
    int32_t pointSize = 0;
    std::optional<TextBoxArrow> arrow;
};

struct DrawnLineObject {
    PaneBox pane;
    bool mainLine = true;
    ScreenPoint from, to;
    uint32_t pen = 0;
    uint32_t secondPen = 0;
    StudyShapes shapes;
    std::vector<ScreenPoint> handles;
    int smallHandle = -1; // index into handles; -1 none
    std::optional<DrawnTextBox> textBox;
    // A line study that carries an alarm shows a bell at its midpoint, outlined in the line's colour
    // over the chart's background; it rings with bit 2 of the alarm word.
    struct AlarmBell {
        ScreenPoint at;
        uint32_t outline = 0, fill = 0;
        bool ringing = false;
    };
    std::optional<AlarmBell> bell;
};

// The menu the chart's context menu shows and the flags it is built with; 0 for none.
struct ChartMenuChoice {
    uint32_t menu = 0;
    uint32_t flags = 1;
};

// A bar of a chart's data at its x, for the studies that measure the bars between their two points.
struct PlacedBar {
    int32_t x = 0;
    BarValues values;
};
// Over bars: the first, highest, lowest and last close (the volumes with `volume`) and the sum of the
// volumes; none without bars.
struct BarRangeValues {
    float first = 0, high = 0, low = 0, last = 0;
    double volume = 0;
};
std::optional<BarRangeValues> GetBarValuesInRange(std::span<const PlacedBar> bars, bool volume);

// A chart's time axis as its drawing objects see it: x to the stored position of a point and back,
// the texts of a point and an anchor, the position of the chart's latest data and the store kind of its objects.
// The intraday chart's positions are seconds from 2000 on the program calendar.
class DrawingAxis {
public:
    virtual ~DrawingAxis() = default;
    virtual bool HasPositions() const = 0;
    virtual int32_t PositionAtX(int32_t x) const = 0;
    virtual int32_t XOfPosition(int32_t position) const = 0;
    // A point's text (its moment and value) and the text of an anchor being moved.
    virtual std::string PointText(int32_t position, float value) const = 0;
    virtual std::string AnchorText(int32_t position) const = 0;
    virtual int32_t LastPosition() const = 0;
    virtual uint16_t StoreKind() const = 0;
    // The chart's bars from one position to another (either way round), the positions held to the
    // bars there are; none when the chart has no bars.
    virtual std::vector<PlacedBar> GetBarsInRange(int32_t from, int32_t to) const = 0;
};

class DailyChartDrawing {
public:
    // The shown share's store key, or none without a share.
    using ShareKeyFn = std::function<std::optional<uint32_t>()>;
    // The line style dialog on a pen and the chart background: the chosen pen and whether it also
    // becomes the default, or none when cancelled.
    struct StyleChoice {
        uint32_t pen = 0;
        bool asDefault = false;
    };
    using StyleDialogFn = std::function<std::optional<StyleChoice>(uint32_t pen, uint32_t background)>;
    // A word chosen in a dialog (a settings mask, a line's flags) and whether it becomes the default.
    struct WordChoice {
        uint16_t word = 0;
        bool asDefault = false;
    };
    // "Select setting to display" on the object's settings mask and the current setting.
    using SettingsDialogFn = std::function<std::optional<WordChoice>(uint16_t mask, int setting)>;
    // " Line Settings " on a partial trend's or quadrant's style flags.
    using LineSettingsDialogFn = std::function<std::optional<WordChoice>(uint16_t flags)>;

    DailyChartDrawing(CViewGraph& view, EodChartView& eod, ShareKeyFn shareKey);
    // Objects on another chart's time axis, whose bars the measuring studies read through it.
    DailyChartDrawing(CViewGraph& view, const DrawingAxis& axis, ShareKeyFn shareKey);
    ~DailyChartDrawing();
    DailyChartDrawing(const DailyChartDrawing&) = delete;
    DailyChartDrawing& operator=(const DailyChartDrawing&) = delete;

    void SetStyleDialog(StyleDialogFn dialog) { styleDialog_ = std::move(dialog); }
    // On a chart of its own time axis, the position ranges (from, to) of the setting's trend studies.
    using TrendRangesFn = std::function<std::vector<std::pair<int32_t, int32_t>>()>;
    void SetTrendRanges(TrendRangesFn ranges) { trendRanges_ = std::move(ranges); }
    // The text box's dialogs: the text editor (the new text, or none when cancelled) and the arrow
    // dialog on the arrow's style and size (the new pair, or none).
    struct TextBoxDialogs {
        std::function<std::optional<std::string>(const std::string& text)> editText;
        std::function<std::optional<std::pair<uint32_t, uint32_t>>(uint32_t style, uint32_t size)> arrow;
        // The box's colours, transparency and font: the stored bytes of a text object (its fields as
        // charts/TextBoxGeometry.h places them) changed in place; false when cancelled. `asDefault`
        // answers whether they also become the program's default for new boxes.
        std::function<bool(uint8_t* stored, bool& asDefault)> boxColours;
        // The font chooser on the box's font description and point size; false when cancelled.
        std::function<bool(uint8_t* stored)> font;
    };
    void SetTextBoxDialogs(TextBoxDialogs dialogs) { textDialogs_ = std::move(dialogs); }
    void SetSettingsDialog(SettingsDialogFn dialog) { settingsDialog_ = std::move(dialog); }
    void SetLineSettingsDialog(LineSettingsDialogFn dialog) { lineSettingsDialog_ = std::move(dialog); }
    // The right-hand Shift key is the one held: a line it starts by a click extends only rightwards.
    void SetRightShift(bool right) { rightShift_ = right; }

    // The build: every pane's objects read again from the store, unless an object is held.
    void Reload();
    // The store key of a pane's objects; none without a share or a series in the pane.
    std::optional<KeyedItemKey> PaneKey(const GraphPane& pane) const;

    // The mouse in modes 10-12; a release answers true when the mode stays (an object stays selected).
    void Press(uint32_t keys, int32_t x, int32_t y);
    void Move(uint32_t keys, int32_t x, int32_t y);
    bool Release(uint32_t keys, int32_t x, int32_t y);
    // A press with no mode active: Shift starts a line with the press itself; otherwise the object
    // under the point is selected and starts to move. True when a drawing mode started.
    bool IdlePress(uint32_t keys, int32_t x, int32_t y);
    // The mode was cancelled: the selection goes.
    void Deselect();

    bool RunCommand(uint32_t command);
    bool UpdateCommand(CommandUi& ui) const;
    // The context menu at a point: selects the object under it when no mode runs.
    ChartMenuChoice ContextMenu(int32_t x, int32_t y);
    // The commit after the menu: a working copy taken for the menu goes back to stage 2.
    void AfterContextMenu();
    // The held object's readout: selected, or the date and price of the end being dragged, and its
    // two ends as its description.
    void FillReadout(ModeReadoutInput& in) const;
    // The price pane's trend line for the trend readout: the selected straight line or regression
    // there, else the setting's trend; a regression by its fitted closes. None without one.
    std::optional<TrendLineEnds> PriceTrendLine() const;

    // The objects to draw in the present setting, the selected one with its handles.
    std::vector<DrawnLineObject> Figures();

    LineObjectList& PaneObjects(uint32_t paneId) { return lists_[paneId % kLayoutPanes]; }
    const LineObject* selected() const { return selected_; }
    // The line tool's object is still being placed.
    bool placing() const { return placing_; }
    // The selected line study's alarm word set and the objects saved; false without one.
    bool SetSelectedAlarm(uint16_t word);
    bool HasUndo() const { return undo_.has_value(); }

    // Positions: on the daily chart the date of a day of the history, counted on past its last day by
    // trading days; on another chart its axis's.
    int32_t DatePositionAtX(int32_t x) const;
    int32_t XOfDatePosition(int32_t position) const;

private:
    struct SavedItem {
        KeyedItemKey key;
        std::vector<uint8_t> blob; // empty: the item held nothing
    };

    std::array<LineObjectList*, kLayoutPanes> Lists();
    GraphPane* PaneOf(const LineObjectList* list) const;
    GraphPane* SeriesPaneAt(int32_t x, int32_t y) const;
    bool ShareSource() const;
    int Setting() const;
    void UpdateScreen(LineObject& object) const;
    void UpdateAllScreens();
    void SetPoint(LineObject& object, int index, const GraphPane& pane, int32_t x, int32_t y) const;
    ScreenPoint PointOnScreen(const LineObject& object, int index, const GraphPane& pane) const;
    void StartLine(GraphPane& pane, uint32_t modeSubtype, int32_t x, int32_t y);
    bool SelectAt(int32_t x, int32_t y, bool drag);
    void StartPitchfork(GraphPane& pane, int32_t x, int32_t y);
    // A text box anchored at the press, with the text the editor gives; none when it gives none.
    void PlaceTextBox(GraphPane& pane, int32_t x, int32_t y);
    // The box's anchor on the screen and its scale.
    ScreenPoint TextAnchor(const LineObject& object, const GraphPane& pane) const;
    DrawnTextBox TextFigure(const LineObject& object, const GraphPane& pane) const;
    bool RunTextBoxCommand(uint32_t command);
    void Select(LineObject* object, uint16_t part, uint32_t stage);
    void FollowMouse(uint32_t keys, int32_t x, int32_t y);
    // A held text box dragged (dx, dy) from the press: moved by its body (the anchor stays), by its
    // fixed point (the anchor goes along), or resized by a corner or an edge.
    void FollowTextBox(const GraphPane& pane, int32_t dx, int32_t dy);
    void FinishLine(ScreenPoint release);
    void CommitMove(bool shift);
    void Commit();
    void SaveObjects(LineObjectList& list);
    void UndoLastSave();
    void DeleteAll();
    void StepRing(bool forward);
    void StartTool(const DrawingTool& tool);
    void ChangeStyle();
    void ChangeSettingsMask();
    void ChangeLineSettings();
    StudyShapes StudyFigure(const LineObject& object, const GraphPane& pane, bool dragging) const;
    // Regression, quadrant and percentage change over the bars between the two dates; while dragged,
    // with the time guides of the two dates.
    void AddMeasuredStudy(const LineObject& object, const GraphPane& pane, bool dragging, StudyShapes& shapes) const;
    // The setting's "Display trends": a regression study made anew for each drawing (trend line and
    // confidence channel by the block's two flags) over its range; never saved or selected.
    void AddTrendLineFromSetting();
    void AddSettingTrend(const GraphSetting& setting, const GraphPane& price, int32_t from, float fromPrice, int32_t to,
                         float toPrice);
    void DescribeOnBoxes(ModeReadoutInput& in, bool moving, int held) const;
    int32_t BarOfDatePosition(int32_t position) const;
    // The bars between two positions: the daily chart's, or the axis's.
    std::vector<PlacedBar> BarsBetween(int32_t from, int32_t to) const;
    int32_t BarAtX(int32_t x) const;
    int32_t XOfBar(int32_t bar) const;
    int32_t DayIndexOfBar(int32_t bar) const;
    int32_t BarOfDayIndex(int32_t day) const;

    bool HasPositions() const;
    int32_t LastPosition() const;

    CViewGraph& view_;
    EodChartView* eod_ = nullptr;
    const DrawingAxis* axis_ = nullptr;
    ShareKeyFn shareKey_;
    StyleDialogFn styleDialog_;
    TextBoxDialogs textDialogs_;
    SettingsDialogFn settingsDialog_;
    LineSettingsDialogFn lineSettingsDialog_;
    std::array<LineObjectList, kLayoutPanes> lists_{};
    LineObjectList settingTrend_;   // the trend of the setting, rebuilt by every drawing
    int32_t trendDeviation_ = 0;    // its channel's width
    TrendRangesFn trendRanges_;
    LineObject* selected_ = nullptr;
    LineObject work_;               // the selected object as the drag changes it
    bool placing_ = false;          // the line tool's object before its release
    ScreenPoint press_;
    bool menuCopy_ = false;
    bool rightShift_ = false;
    std::optional<SavedItem> undo_;
    std::optional<uint32_t> loadedShare_; // the share whose objects the lists hold
};

} // namespace qv
