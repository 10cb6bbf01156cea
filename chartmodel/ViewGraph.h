// The chart view that every daily and intraday chart is made of: the pane layout of one graph
// setting (caption strip, price, volume, strip and up to four add-on windows), the build-and-draw
// sequence, value axes, pane resizing, the mouse protocol (hover modes, time-range selection,
// previous and next share, the full-range toggle), the title and the status texts, and the
// settings-changed broadcast. The daily and intraday views derive from it and fill the data hooks;
// the window side (chartmodel/ui/ViewGraphWindow) draws and feeds it mouse, key and paint events.
//
// Drawing goes through the virtual drawing hooks below, which do nothing here: the window carries
// them out on its painter. Everything else is plain rules, testable without a window.
#pragma once

#include "chartmodel/AxisTicks.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/ViewGraphBase.h"
#include "core/ConfigRecords.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class ChartCanvas;
struct CommandUi;
class CGraphSeriesLayout;
struct PlotElement;
struct ModeReadoutInput;
struct IndicatorRecord;
struct WindowUsage;
struct StopShareKey;

// Window messages of the chart view.
constexpr uint32_t MSG_GRAPH_REFRESH_FLAG = 0x400 + 68;     // 1092: sets the refresh flag
constexpr uint32_t MSG_GRAPH_SETTINGS_TIMEOUT = 0x400 + 84; // 1108: a waiting settings change
constexpr uint32_t kSettingsWaitMs = 60000;
constexpr uint32_t kWheelGapMs = 25;

// Mouse-key flags of the mouse handlers.
constexpr uint32_t kMouseKeyLeft = 1;
constexpr uint32_t kMouseKeyShift = 4;
constexpr uint32_t kMouseKeyControl = 8;

// Redraw-mask bits read by the build.
constexpr uint32_t kRedrawLayout = 1;
constexpr uint32_t kRedrawClearPaneLists = 4;
constexpr uint32_t kRedrawAddOnSeries = 8;
constexpr uint32_t kRedrawLayoutAlt = 0x200;
constexpr uint32_t kRedrawValueRanges = 0x800;

// The moving-average commands 26760-26763.
constexpr uint32_t kCommandFirstMovingAverage = 26760;
constexpr uint32_t kCommandLastMovingAverage = 26763;

// The hundredfold and thousandfold scaling of a pane's value axis, kept apart: the price pane may be
// shown in hundreds (a separate flag), any pane without decimals in thousands (factor 1000^power).
struct PaneAxisState {
    int32_t tickSpacing = 1;
    int32_t labelSpacing = 1;
    int maxDecimals = 2;
    int gridDensity = 0;
    bool hundreds = false;
    double factor = 1;
    int power = 0;
};

// Where the paint goes: the screen, or a printer with its printable size.
struct DrawDevice {
    bool printer = false;
    int32_t clientWidth = 0, clientHeight = 0;
    int32_t printableWidth = 0, printableHeight = 0;
};

// The printed chart: the rectangle drawn into and the scale factors of printable size over client size.
struct PrintGeometry {
    int32_t width = 0, height = 0;
    float horizontal = 1.0f, vertical = 1.0f;
};
PrintGeometry ComputePrintGeometry(const DrawDevice& device);

// The two end marks of an add-on window: circles of this size inside its right edge, the first (red)
// at the top, which deletes the window, the second (green) at the foot, which zooms it.
constexpr int32_t kEndMarkSize = 10;
// 1 or 2 for the end mark of the pane under (x, y), 0 for none.
int EndMarkAt(const GraphPane& pane, int32_t margin, int32_t x, int32_t y);

// The style's background kind that shades every pane from top to bottom.
constexpr uint32_t kShadedBackground = 4;
// Scale flags of the style: titles on the add-on windows, the latest price shown on the right.
constexpr uint16_t kAddOnTitlesFlag = 16;
constexpr uint16_t kLatestPriceFlag = 32;

// A label of a pane's own value axis, at its row.
struct OwnAxisLabel {
    std::string text;
    int32_t row = 0;
};

class CViewGraph : public virtual CViewGraphBase {
public:
    explicit CViewGraph(int32_t viewKind = 0);
    ~CViewGraph() override;

    // The setting in use and its record; the style record is the active one or the private copy.
    int32_t SettingIndex() const;
    // The shown share as the setting record store keys it; false without a list or a current entry.
    virtual bool ShownShare(StopShareKey& share) const;
    GraphSetting* ActiveSetting() const;
    const GraphSetting* StyleRecord() const { return styleRecord; }
    // Daily chart, special-edition settings in force and one of its two setting numbers.
    bool ComputeSettingsLocked() const;

    // Paint and build.
    void OnDraw(void* dc, const DrawDevice& device);
    virtual void AttachGraphSource(void* dc, const GraphSetting* style, int32_t left, int32_t top, int32_t right,
                                   int32_t bottom, int outputKind, int32_t margin, bool offscreen, bool addOns);
    void BuildAndDraw(void* dc, int outputKind);
    void LayoutPanes();
    // The price and volume panes show their series' titles, the add-on windows when the style's
    // scale flags ask; the volume title carries its axis unit.
    void SetPaneTitles();
    // A press on an add-on window's end mark: the first deletes the window (not while the settings are
    // locked), the second toggles its zoom. False when the point is on no end mark.
    bool PressEndMark(int32_t x, int32_t y);
    // A click at the plot's left or right end steps the shown range one unit back or on; false when
    // it cannot.
    virtual bool StepAtPlotEnd(int direction);
    // The caption of an add-on window that built no series: each indicator's name with " - no data";
    // empty for any other pane.
    std::vector<std::string> EmptyPaneCaption(const GraphPane& pane) const;
    // The width of a text in the chart's label font.
    virtual int32_t TextWidth(const std::string& text) const;
    // The chart's background at a row: the shade of the pane there, or the plain background.
    uint32_t BackgroundAtRow(int32_t y) const override;
    void CreatePanes();
    int32_t DrawValueAxis(GraphPane* pane, bool draw);
    // The lowest visible pane below the caption line, under which the time axis labels stand; null
    // for none.
    const GraphPane* LowestPane() const;
    int32_t DrawOwnValueAxis(GraphPane* pane, const std::vector<OwnAxisLabel>& labels, bool draw);
    void ResizePane(int32_t x, int32_t y);
    PaneLayoutInput LayoutInput() const;

    // Mouse and keys.
    void OnMouseMove(uint32_t keys, int32_t x, int32_t y);
    void OnLButtonDown(uint32_t keys, int32_t x, int32_t y);
    void OnLButtonUp(uint32_t keys, int32_t x, int32_t y);
    virtual void OnDoubleClick(uint32_t keys, int32_t x, int32_t y);
    // delta > 0: away from the user (previous share).
    void OnMouseWheel(int32_t delta);
    void OnKeyDown(uint32_t keyCode);
    void OnKeyUp(uint32_t keyCode);
    bool CancelMode() override;
    void PreviousShare() override;
    void NextShare() override;
    void UpdateGraphTitle() override { UpdateTitle(); }
    void UpdateTitle();
    std::string BuildTitle() const;

    // Takes the graph source from the view's list: a portfolio's value (4) or profit (8) from the
    // view, whose history is built (BuildSourceHistory); a build that fails, or none yet, falls back to
    // the share (0). Then the title and the source's description.
    void AttachSource();
    void OnRefresh() override;

    // Program messages: the settings-changed message, 1092, 1108 and the moving-average commands.
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    // Sends the settings-changed message to the visible views of this kind showing this setting
    // (mask 0), or for each set bit 0-11 of the mask to those showing that setting.
    void NotifyGraphSettings(uint32_t mask);
    void ToggleMovingAverage(int line);
    // The menu state of the four moving-average commands; false for any other command.
    bool UpdateCommandUi(CommandUi& ui) const;

    // The indicator, add-on window, moving-average and stop-loss commands (ViewGraphIndicators.cpp);
    // false for any other command.
    bool OnIndicatorCommand(uint32_t command);
    bool UpdateIndicatorCommandUi(CommandUi& ui) const;
    // Opens the add-indicator dialog for the type and places the record it confirms.
    void AddAnalytic(int type, int k, bool isNew);
    void EditAnalyticLines(int k);

    // Time ranges (the view's own bodies work in the units of the index: bars, or the intraday
    // view's seconds).
    virtual void XRangeToIndexRange(int32_t x0, int32_t x1, int32_t& first, int32_t& last) const;
    virtual void SetTimeRangeFromX(int32_t x0, int32_t x1);
    virtual int32_t FirstDataIndex() const { return 0; }
    virtual int32_t LastDataIndex() const { return 0; }
    virtual int32_t ScrollShownRange(int32_t index) { return index; }

    // The three readout texts of the status bar panes 1-3.
    void UpdateStatusTexts();
    // The mode's texts for panes 2 and 3 while a mode with texts of its own is active (ViewGraphModes.cpp).
    void ModeReadout(std::array<std::string, 3>& texts) const;
    // The texts the mode readout asks of the chart: the selected time range, and the anchor date of an
    // index (empty here).
    virtual std::string SelectedRangeText() const { return {}; }
    // The status texts while a time range is selected between two x positions: its anchor and its span.
    virtual std::array<std::string, 2> TimeRangeStatusTexts(int32_t x0, int32_t x1) const;
    // The caption line's left text: the setting name, "Edit Mode: " and the name in price-edit mode,
    // or the training caption while a training mark is placed.
    std::string CaptionLeftText() const;
    // A pane's caption: the series' title, after "Training: " while a training mark is placed or
    // "Edit Mode: " while prices are edited.
    std::string BuildPaneCaption(const GraphSeries& series) const;
    // The training flag the frame's commands read.
    uint8_t GraphTrainingMode() const override { return trainingMode; }

    // The members every chart view carries.
    uint32_t graphSourceKind = 0;      // 0 share; 1, 2 list; 4 portfolio value, 8 its profit or loss
    const GraphSetting* styleRecord = nullptr;
    GraphSetting privateCopy{};
    uint8_t privateCopyOn = 0;
    void* paintDC = nullptr;
    uint8_t offscreenAllowed = 0;
    int32_t labelUnit = 8;
    uint32_t backgroundColour = 0xFFFFFF;
    uint32_t backgroundKind = 0;       // kShadedBackground: the panes shade from shadeColours[0] down to [1]
    uint32_t shadeColours[2] = {};
    int32_t outerRect[4] = {};
    int32_t plotRect[4] = {};
    int32_t selectionAnchors[2] = {};
    int32_t shownRange[2] = {};
    int32_t scrollAnchor[2] = {};
    std::string cachedTitle;
    std::string noDataText;
    uint8_t settingsLocked = 0;
    uint8_t trainingMode = 0;
    int32_t trainingMark = -1;
    uint8_t priceEditMode = 0;
    uint32_t priceEditField = 0;
    uint8_t priceShown = 1, volumeShown = 1, addOnsShown = 1, topStrip = 0, bottomStrip = 0, stripShown = 0,
            stripAtBottom = 0;
    uint8_t boxChart = 0;
    uint32_t drawingObjectKey = 0;
    int32_t lastDrawnSetting = -1;
    uint8_t crossHairs = 0;
    int32_t currentAddOn = 4;
    std::array<std::string, 4> readoutParts;
    std::array<std::string, 3> statusTexts;
    uint8_t fullRange = 1;
    int32_t rangeBounds[2] = {0x7FFFFFFF, 0x7FFFFFFF};
    uint32_t viewFlags = 0;            // bit 0 a drag scrolls; bit 1 the price pane shows a box chart
    uint8_t windowShown = 0;
    uint8_t refreshFlag = 0;
    uint64_t pendingChangeMs = 0;      // when the first waiting settings change came; 0 none
    uint64_t lastWheelMs = 0;
    uint8_t wheelHandled = 0;
    int32_t axisWidth = 0;
    int32_t resizeStartY = 0;
    uint32_t resizePaneId = 0;
    int32_t shareHeight = 0;
    std::array<PaneAxisState, kLayoutPanes> paneAxis{};
    uint8_t leftLabels = 1, rightLabels = 1;

protected:
    // Clock in milliseconds for the wheel and the settings wait; tests replace it.
    virtual uint64_t NowMs() const;

    // The derived views' hooks (empty here).
    virtual void LoadShareData() {}
    virtual void RebuildModel() {}
    virtual void BuildTimeBands() {}
    virtual void BuildSeries() {}
    virtual void BuildPriceOverlaySteps() {}
    virtual void BuildPriceLineOverlay(int) {}
    virtual void DrawPriceOverlays() {}
    // Shading behind the grid and the series of a pane (the swing chart's trend regions).
    virtual void DrawPaneShading() {}
    virtual void BuildAxes() {}
    virtual void BuildLegendData() {}
    virtual void BuildFinalSteps() {}
    virtual GraphSeries* BuildIndicatorSeries(int, int, GraphSeries*) { return nullptr; }
    // A market graph (breadth types 18-30) of add-on window w, record r.
    virtual GraphSeries* BuildMarketGraphSeries(int, int) { return nullptr; }
    virtual void ReloadPaneLineObjects() {}
    // The held drawing object's part of the mode readout (modes 10-12).
    virtual void FillObjectReadout(ModeReadoutInput&) const {}
    virtual void BeforeIdlePress() {}
    // The drawing tools' mouse in modes 10-12, and a press with no mode that may start one (true when
    // it did); a release answers true while an object stays selected. The mode's cancel deselects.
    virtual void DrawingPress(uint32_t, int32_t, int32_t) {}
    virtual void DrawingMove(uint32_t, int32_t, int32_t) {}
    virtual bool DrawingRelease(uint32_t, int32_t, int32_t) { return false; }
    virtual bool DrawingIdlePress(uint32_t, int32_t, int32_t) { return false; }
    virtual void DrawingDeselect() {}
    // The title's text while a drawing object is selected; empty otherwise.
    virtual std::string DrawingTitle() const { return {}; }
    // A pane's own value axis in place of the ticked one (the box charts' banded prices): its labels
    // by row; none keeps the ticked axis. And rows of grid lines the pane adds to either.
    virtual std::vector<OwnAxisLabel> OwnValueAxis(const GraphPane&) const { return {}; }
    virtual std::vector<int32_t> OwnGridRows(const GraphPane&) const { return {}; }
    // A click on the plot that neither dragged nor stepped at an end.
    virtual void PlotClicked(int32_t, int32_t) {}
    // A drag that scrolls (view flags bit 0): its start point, then each point it reaches.
    virtual void BeginScrollDrag(int32_t, int32_t) {}
    virtual void ScrollToPoint(int32_t, int32_t) {}
    virtual bool BuildSourceHistory() { return false; }
    virtual std::string DescribeGraphSource() const { return {}; }
    virtual std::string SettingName() const;
    // Price editing: the bar under a point (choosing the part held), the drag of the held part to a
    // point, and the end of a drag.
    virtual int32_t BarForPriceEdit(int32_t, int32_t) { return -1; }
    virtual void DragPriceEdit(int32_t, int32_t) {}
    virtual void EndPriceEdit() {}
    virtual int32_t BarForTraining(int32_t, int32_t) const { return -1; }
    virtual void StoreTrainingMark(int32_t) {}
    virtual void RemoveTrainingMark(int32_t, int32_t) {}
    // The data readouts of status panes 2 and 3 outside a range selection.
    virtual void FillReadouts(std::array<std::string, 3>&) {}
    // The colouring rule of an element's points (up and down, volume, graduated), set on its layout
    // before the drawing walks it; single colour unless the view says otherwise.
    virtual void PrepareColouring(const PlotElement&, CGraphSeriesLayout&) const {}
    // The watermark texts of a pane by the style's watermark bits (the share's code and last close on
    // the price pane, the volume title and average on the volume pane); none by default.
    virtual std::vector<std::string> WatermarkTexts(uint32_t /*paneId*/, uint16_t /*bits*/) const { return {}; }
    // The last close and its text for the label beside the price axis; false when there is none.
    virtual bool LatestClose(float&, std::string&) const { return false; }
    // The minor currency symbol of the shown prices ('p'), 0 for none.
    virtual char PriceSymbol() const { return 0; }

    // Own steps the derived views may replace.
    // The width of the value axes; before the build it also places the plot rectangle.
    virtual void MeasureAxisLabels(bool afterBuild);
    virtual void ComputeValueRanges();
    virtual void BuildAddOnSeries();

    // The window side: drawing and window calls, nothing here.
    // The canvas the chart's own drawing routines draw on during a paint; none outside one.
    virtual ChartCanvas* Canvas() { return nullptr; }
    virtual bool BeginOffscreen() { return false; }
    virtual void EndOffscreen() {}
    virtual void FillBackground(uint32_t) {}
    virtual void DrawCaptionLine() {}
    virtual void DrawNoData(const GraphPane&, const std::string&) {}
    virtual void DrawGraphLayer(bool) {}
    virtual void DrawPaneCaptions() {}
    // The last close beside the price axis when the style asks for it.
    virtual void DrawLatestPrice() {}
    // The watermarks behind the panes when the style asks for them.
    virtual void DrawWatermarks() {}
    virtual void DrawLevelLines() {}
    virtual void DrawTimeLines() {}
    virtual void DrawLineObjects() {}
    virtual void DrawPaneFrames(int32_t) {}
    virtual void DrawQueuedLabels() {}
    virtual void DrawCrossHairs() {}
    virtual void QueueChartText(int32_t, int32_t, const std::string&, uint32_t) {}
    virtual void InvertSelectionBar(int32_t, int32_t) {}
    virtual void RebuildNow() { InvalidateWindow(); }
    virtual void SetFrameTitle(const std::string&) {}
    virtual void ShowStatusTexts() {}
    virtual void CaptureMouse(bool) {}
    virtual void TrackMouseLeave() {}

    // The dialogs of the indicator and stop-loss commands, run by the window side (nothing here).
    // The add-indicator dialog edits the record; true on OK with the chosen target.
    virtual bool RunAddIndicatorDialog(IndicatorRecord&, bool /*editing*/, bool /*openedFromWindow*/,
                                       const WindowUsage&, int /*editedWindow*/, int /*editedIndex*/, int& /*target*/)
    {
        return false;
    }
    // The colour-only dialog over style words: entries of {slot, mode, label}.
    struct ColourEntry {
        int slot;
        int mode;
        const char* label;
    };
    virtual void RunIndicatorColourDialog(uint32_t*, int /*words*/, const ColourEntry*, int /*entries*/,
                                          uint32_t /*defaultsKey*/)
    {
    }
    virtual void RunMovingAverageDialog() {}
    virtual void RunStopLossDialog(bool /*individual*/) {}
    virtual void ShowHelpTopic(uint32_t) {}
    // Hands a command to the main frame.
    virtual void SendFrameCommand(uint32_t) {}
    // Shift held while the command came (the stop adjust commands reverse).
    virtual bool ShiftHeld() const { return false; }

private:
    void ApplyLayout(const PaneLayoutResult& layout);
    bool PriceInHundreds() const;
    void AttachStyle();
    bool IsDrawingTool() const;
    bool DragInProgress() const;
    void HoverDetect(uint32_t keys, int32_t x, int32_t y);
    int32_t ClampX(int32_t x) const;
    void DrawAxisPass(GraphPane* pane, const ValueRange* range, bool percent, bool secondPass, bool twoPasses,
                      bool draw, int32_t& width);
    void ResizeAddOnWindow(int window, int32_t paneBottom, int32_t y);
    void MoveInList(int step);

    bool mouseTracked_ = false;
    uint8_t hidden_ = 0;
};

// True when a visible daily or intraday chart other than this one remains; the legend closes when not.
bool OtherVisibleChartRemains(const CViewBase* self);

// The moving-average toggle on a setting: either display bit set saves both in the line's 2-bit slot
// of the program-wide word and clears them; both clear puts the slot back (0 gives bit 31 alone).
void ToggleMovingAverageWord(GraphSetting& setting, int line, uint32_t& savedWord);
// The program-wide word of saved display bits (bits 0-7 the moving averages, 8-9 the trend lines).
uint32_t& SavedDisplayBits();

// Program-wide chart options read by the chart view.
struct ChartViewOptions {
    uint8_t flickerFree = 1;       // draw through the off-screen image
    uint8_t hundreds = 0;          // show prices above 1000 in hundreds
    uint8_t legendOnFirstPaint = 0;
    uint8_t legendShown = 0;
    int32_t zoomPercent = 70;
    uint8_t spikeRemoval = 0;      // prices found to be spikes count as missing
    uint8_t crossHairs = 0;        // cross hairs follow the mouse over the charts
    uint8_t verticalLineOnly = 0;  // the cross hairs without their horizontal line
    // The Graph options page's other choices, and the cross hairs' style (a packed pen word, a word
    // and a byte the style control keeps).
    bool adjustedPrices = true;
    bool deflatedLine = false;
    bool relativeLine = false;
    bool relativePercentScale = false;
    bool epicInTitle = false;      // the share's title ends with its EPIC code
    bool exchangeInTitle = false;  // intraday
    bool alarmedLineMark = true;   // intraday
    uint32_t crossHairPen = 0x808080;
    uint32_t crossHairExtra = 0;
    uint8_t crossHairStyle = 0;
};
ChartViewOptions& ChartOptions();

} // namespace qv
