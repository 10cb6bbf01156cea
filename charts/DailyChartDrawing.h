// The user's drawing objects on a daily chart as the mouse and the commands handle them: each pane's
// object list loaded from the lines-and-text store, the press, move and release of the line tool, the
// selection by click and by the keyboard ring, the editing commands, the commit with its one-step undo,
// the context menu's choice and the figures the window draws.
#pragma once

#include "chartmodel/LineObjects.h"
#include "chartmodel/PaneLayout.h"
#include "charts/LineStudyFigures.h"
#include "core/KeyedItemStore.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace qv {

class CViewGraph;
class EodChartView;
struct DrawingTool;
struct CommandUi;
struct ModeReadoutInput;
struct GraphPane;

// What the window draws for one object: its main segment (when it has one) and its study's further
// lines, arcs and labels, clipped to its pane, and the handles of a selected object (the hit part's
// drawn small).
struct DrawnLineObject {
    PaneBox pane;
    bool mainLine = true;
    ScreenPoint from, to;
    uint32_t pen = 0;
    uint32_t secondPen = 0;
    StudyShapes shapes;
    std::vector<ScreenPoint> handles;
    int smallHandle = -1; // index into handles; -1 none
};

// The menu the chart's context menu shows and the flags it is built with; 0 for none.
struct ChartMenuChoice {
    uint32_t menu = 0;
    uint32_t flags = 1;
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
    ~DailyChartDrawing();
    DailyChartDrawing(const DailyChartDrawing&) = delete;
    DailyChartDrawing& operator=(const DailyChartDrawing&) = delete;

    void SetStyleDialog(StyleDialogFn dialog) { styleDialog_ = std::move(dialog); }
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

    // The objects to draw in the present setting, the selected one with its handles.
    std::vector<DrawnLineObject> Figures();

    LineObjectList& PaneObjects(uint32_t paneId) { return lists_[paneId % kLayoutPanes]; }
    const LineObject* selected() const { return selected_; }
    bool HasUndo() const { return undo_.has_value(); }

    // Date positions: the date of a day of the history, counted on past its last day by trading days.
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
    void Select(LineObject* object, uint16_t part, uint32_t stage);
    void FollowMouse(uint32_t keys, int32_t x, int32_t y);
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
    void AddMeasuredStudy(const LineObject& object, const GraphPane& pane, StudyShapes& shapes) const;
    void DescribeOnBoxes(ModeReadoutInput& in, bool moving, int held) const;
    int32_t BarOfDatePosition(int32_t position) const;
    int32_t BarAtX(int32_t x) const;
    int32_t XOfBar(int32_t bar) const;
    int32_t DayIndexOfBar(int32_t bar) const;
    int32_t BarOfDayIndex(int32_t day) const;

    CViewGraph& view_;
    EodChartView& eod_;
    ShareKeyFn shareKey_;
    StyleDialogFn styleDialog_;
    SettingsDialogFn settingsDialog_;
    LineSettingsDialogFn lineSettingsDialog_;
    std::array<LineObjectList, kLayoutPanes> lists_{};
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
