// The base of every chart view: it owns the graph object model of one chart window (panes, time
// bands, series, plot elements, value ranges), maps values to rows and pixels to bars and back, finds
// what lies under the mouse and keeps the chart's mouse mode with its cursor id. The window side
// (chartmodel/ui/GraphViewWindow) loads the cursors and paints.
#pragma once

#include "chartmodel/ChartModes.h"
#include "chartmodel/GraphModel.h"
#include "views/ViewBase.h"

#include <cstdint>
#include <string>

namespace qv {

class CViewGraphBase : public virtual CViewBase {
public:
    explicit CViewGraphBase(int32_t viewKind = 0);
    ~CViewGraphBase() override;
    CViewGraphBase(const CViewGraphBase&) = delete;
    CViewGraphBase& operator=(const CViewGraphBase&) = delete;

    // Model building; the derived views call these while they rebuild.
    GraphPane* AddPane(uint32_t id);
    ValueRange* AddValueRange(GraphSeries* series);
    GraphPane* FindPane(uint32_t id) const;
    // Each free does nothing unless the mode's redraw mask allows the model to be freed.
    void FreeTimeBands();
    void FreeAllSeries();
    void FreeBandSeries(TimeBand* band);
    void FreeSeriesElements(GraphSeries* series);
    void FreePlotElement(PlotElement* element);
    void FreePanes();
    void FreeValueRanges();
    void FreeQueuedLabels();
    // Before a build that makes the series and value ranges (and, with `bands`, the time bands)
    // anew: the old ones go whatever the mode's mask, since the build replaces them either way.
    void FreeForRebuild(bool bands);

    // Hit tests: the pane, band and series under a point (nulls outside every pane).
    void HitTestPane(int32_t x, int32_t y, GraphPane** pane, TimeBand** band, GraphSeries** series) const;
    void HitTestAt(int32_t x, int32_t y);

    // Mapping.
    int32_t ValueToY(const ValueRange* range, float value, bool clamp) const;
    float YToValue(const ValueRange* range, int32_t row) const;
    virtual int32_t XToIndexScale(const TimeScale* scale, int32_t x) const;
    virtual int32_t XToBar(int32_t x) const;
    virtual int32_t IndexToXScale(const TimeScale* scale, int32_t index) const;
    virtual int32_t BarToX(int32_t bar) const;
    int32_t ScaledTextSize(int32_t available, int32_t needed) const;

    // Mode and cursor.
    virtual uint32_t SetMode(bool active, uint32_t mode, uint32_t subtype, uint32_t stage, uint32_t mask);
    virtual bool CancelMode();
    void UpdateCursor(bool force);

    // The view's own operations, empty here; the chart views fill them.
    virtual void UpdateGraphTitle() {}
    virtual void PreviousShare() {}
    virtual void NextShare() {}
    virtual bool AllowsModeKeys() const { return true; }
    virtual uint32_t BackgroundAtRow(int32_t) const { return 0; }
    virtual void FullRedraw(uint32_t) {}

    // Focus: the hit test at the last mouse position on focus; none on losing it.
    void OnSetFocus() override;
    void OnGraphKillFocus();

    // The members every chart view shares.
    float horizontalScale = 1.0f;
    float verticalScale = 1.0f;
    uint8_t flags[3] = {};
    uint32_t gradient[64] = {};
    std::string labelFontFace;
    int32_t labelFontHeight = 0;
    int32_t baseTextSize = 12;
    int32_t paneMargin = 0;
    int32_t barHalfWidth = 0;
    int32_t timeLineOffset = 0;
    int32_t frameEndOffset = 0;
    uint32_t labelBackground = 0;
    uint32_t labelFramePen = 0;
    int32_t labelMargin = 0;
    int32_t digitWidth = 1;
    int32_t textHeight = 1;
    TimeBand* timeBands = nullptr;
    TimeBand* currentBand = nullptr;
    void* workBuffer = nullptr;
    int32_t labelClampLeft = 0;
    int32_t labelClampRight = 0;
    int32_t titleOrigin = 0;
    GraphPane* panes = nullptr;
    ValueRange* valueRanges = nullptr;
    GraphPane* currentPane = nullptr;
    GraphSeries* currentSeries = nullptr;
    ChartLabel* queuedLabels = nullptr;
    ChartModeRecord modeRecord;
    // Off the window until the mouse first moves over it.
    int32_t lastMouseX = -1;
    int32_t lastMouseY = -1;
    uint32_t currentCursor = kCursorArrow;
    std::string printText;
    // Set by the chart views when the next paint must rebuild and draw the whole chart (FullRedraw);
    // cleared by that paint.
    uint8_t fullRedraw = 0;

protected:
    // Shows the cursor of the id on the window; nothing without a window.
    virtual void ApplyCursor(uint32_t) {}

private:
    bool MayFree() const { return (modeRecord.mask & kRedrawFreeModel) != 0; }
    void FreeSeries(GraphSeries* series);
    const TimeBand* BandAtX(int32_t x) const;
    const TimeBand* BandOfBar(int32_t bar) const;
};

// The view under the mouse, program-wide; cleared when that view goes.
CViewGraphBase* ViewUnderMouse();
void SetViewUnderMouse(CViewGraphBase* view);

} // namespace qv
