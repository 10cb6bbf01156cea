// The chart view base: the model's lifetime, the value and time mappings, hit tests and the mode.
#include "chartmodel/ViewGraphBase.h"

#include "chartmodel/ChartMath.h"
#include "chartmodel/ValueMapping.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace qv {
namespace {

CViewGraphBase* viewUnderMouse = nullptr;

void FreeElementData(PlotElement* element)
{
    FreeDataArray(element->values);
    FreeDataArray(element->second);
    ProFree(element);
}

bool Contains(const GraphPane& pane, int32_t x, int32_t y)
{
    return x >= pane.left && x <= pane.right && y >= pane.top && y <= pane.bottom;
}

} // namespace

CViewGraphBase* ViewUnderMouse() { return viewUnderMouse; }
void SetViewUnderMouse(CViewGraphBase* view) { viewUnderMouse = view; }

CViewGraphBase::CViewGraphBase(int32_t viewKind) : CViewBase(viewKind) {}

CViewGraphBase::~CViewGraphBase()
{
    modeRecord = {1, 0, 0, 0, kRedrawAll};
    ProFree(workBuffer);
    workBuffer = nullptr;
    FreeTimeBands();
    FreeValueRanges();
    FreePanes();
    FreeQueuedLabels();
    if (viewUnderMouse == this)
        viewUnderMouse = nullptr;
}

GraphPane* CViewGraphBase::AddPane(uint32_t id)
{
    auto* pane = NewGraphRecord<GraphPane>("Graph pane");
    pane->id = id;
    pane->flagB = 1;
    pane->keptA = 1;
    pane->keptB = 1;
    pane->keptC = 1;
    pane->titleUnitMode = 3;
    pane->next = panes;
    panes = pane;
    return pane;
}

ValueRange* CViewGraphBase::AddValueRange(GraphSeries* series)
{
    auto* range = NewGraphRecord<ValueRange>("Value range");
    range->minimum = FLT_MAX;
    range->maximum = -FLT_MAX;
    range->series = series;
    if (series)
        series->range = range;
    range->next = valueRanges;
    valueRanges = range;
    return range;
}

GraphPane* CViewGraphBase::FindPane(uint32_t id) const
{
    for (GraphPane* p = panes; p; p = p->next)
        if (p->id == id)
            return p;
    return nullptr;
}

void CViewGraphBase::FreeSeries(GraphSeries* series)
{
    for (PlotElement* e = series->elements; e;) {
        PlotElement* next = e->next;
        FreeElementData(e);
        e = next;
    }
    if (series->ownsTimeScale && series->timeScale) {
        FreeTimeScaleTable(*series->timeScale);
        ProFree(series->timeScale);
    }
    if (series->range)
        series->range->series = nullptr;
    for (GraphPane* p = panes; p; p = p->next)
        if (p->firstSeries == series)
            p->firstSeries = nullptr;
    if (currentSeries == series)
        currentSeries = nullptr;
    ProFree(series);
}

void CViewGraphBase::FreeBandSeries(TimeBand* band)
{
    if (!MayFree() || !band)
        return;
    for (GraphSeries* s = band->series; s;) {
        GraphSeries* next = s->next;
        FreeSeries(s);
        s = next;
    }
    band->series = nullptr;
}

void CViewGraphBase::FreeAllSeries()
{
    if (!MayFree())
        return;
    for (TimeBand* b = timeBands; b; b = b->next)
        FreeBandSeries(b);
    currentSeries = nullptr;
}

void CViewGraphBase::FreeTimeBands()
{
    if (!MayFree())
        return;
    for (TimeBand* b = timeBands; b;) {
        TimeBand* next = b->next;
        FreeBandSeries(b);
        for (DataArray& array : b->arrays)
            FreeDataArray(array);
        FreeGridLines(b->timeLines, false);
        FreeTimeScaleTable(b->scale);
        ProFree(b);
        b = next;
    }
    timeBands = nullptr;
    currentBand = nullptr;
}

void CViewGraphBase::FreeForRebuild(bool bands)
{
    const uint32_t mask = modeRecord.mask;
    modeRecord.mask |= kRedrawFreeModel;
    FreeAllSeries();
    FreeValueRanges();
    if (bands)
        FreeTimeBands();
    modeRecord.mask = mask;
}

void CViewGraphBase::FreeSeriesElements(GraphSeries* series)
{
    if (!MayFree() || !series)
        return;
    for (PlotElement* e = series->elements; e;) {
        PlotElement* next = e->next;
        FreeElementData(e);
        e = next;
    }
    series->elements = nullptr;
    series->firstElement = nullptr;
}

void CViewGraphBase::FreePlotElement(PlotElement* element)
{
    if (!MayFree() || !element)
        return;
    GraphSeries* series = element->series;
    if (series) {
        PlotElement** link = &series->elements;
        while (*link && *link != element)
            link = &(*link)->next;
        if (*link)
            *link = element->next;
        if (series->firstElement == element) {
            series->firstElement = series->elements;
            while (series->firstElement && series->firstElement->next)
                series->firstElement = series->firstElement->next;
        }
    }
    FreeElementData(element);
}

void CViewGraphBase::FreePanes()
{
    if (!MayFree())
        return;
    for (GraphPane* p = panes; p;) {
        GraphPane* next = p->next;
        FreeGridLines(p->gridLines, false);
        FreeLineObjectList(p->lineObjects);
        ProFree(p);
        p = next;
    }
    for (TimeBand* b = timeBands; b; b = b->next)
        for (GraphSeries* s = b->series; s; s = s->next)
            s->pane = nullptr;
    panes = nullptr;
    currentPane = nullptr;
}

void CViewGraphBase::FreeValueRanges()
{
    if (!MayFree())
        return;
    for (ValueRange* r = valueRanges; r;) {
        ValueRange* next = r->next;
        if (r->series)
            r->series->range = nullptr;
        ProFree(r);
        r = next;
    }
    valueRanges = nullptr;
}

void CViewGraphBase::FreeQueuedLabels()
{
    for (ChartLabel* l = queuedLabels; l;) {
        ChartLabel* next = l->next;
        ProFree(l->text);
        ProFree(l);
        l = next;
    }
    queuedLabels = nullptr;
}

void CViewGraphBase::HitTestPane(int32_t x, int32_t y, GraphPane** pane, TimeBand** band,
                                 GraphSeries** series) const
{
    GraphPane* p = panes;
    while (p && !Contains(*p, x, y))
        p = p->next;
    TimeBand* b = nullptr;
    GraphSeries* s = nullptr;
    if (p) {
        b = timeBands;
        while (b && !(b->shown && x >= b->left && x <= b->right))
            b = b->next;
        s = b ? FindSeries(b, p) : p->firstSeries;
    }
    if (pane)
        *pane = p;
    if (band)
        *band = b;
    if (series)
        *series = s;
}

void CViewGraphBase::HitTestAt(int32_t x, int32_t y) { HitTestPane(x, y, &currentPane, &currentBand, &currentSeries); }

int32_t CViewGraphBase::ValueToY(const ValueRange* range, float value, bool clamp) const
{
    return MapValueToRow(range, value, clamp);
}

float CViewGraphBase::YToValue(const ValueRange* range, int32_t row) const { return MapRowToValue(range, row); }

int32_t CViewGraphBase::XToIndexScale(const TimeScale* scale, int32_t x) const
{
    if (!scale || scale->lastX <= scale->firstX)
        return scale ? scale->firstIndex : 0;
    double perIndex = double(scale->lastX - scale->firstX) / (double(scale->lastIndex) - scale->firstIndex);
    return SaturatingTrunc32(scale->firstIndex + std::trunc((x - double(scale->firstX)) / perIndex + 0.5));
}

int32_t CViewGraphBase::IndexToXScale(const TimeScale* scale, int32_t index) const
{
    if (!scale)
        return 0;
    int64_t slot = int64_t(index) - scale->firstIndex;
    if (scale->xTable && slot >= 0 && slot <= int64_t(scale->lastIndex) - scale->firstIndex)
        return scale->xTable[slot];
    if (scale->lastIndex == scale->firstIndex)
        return scale->firstX;
    double step = double(scale->lastX - scale->firstX) / (double(scale->lastIndex) - scale->firstIndex);
    return SaturatingTrunc32(scale->firstX + std::trunc(step * double(slot) + 0.5));
}

const TimeBand* CViewGraphBase::BandAtX(int32_t x) const
{
    const TimeBand* found = timeBands;
    for (const TimeBand* b = timeBands; b; b = b->next)
        if (b->left <= x)
            found = b;
    return found;
}

const TimeBand* CViewGraphBase::BandOfBar(int32_t bar) const
{
    const TimeBand* found = timeBands;
    for (const TimeBand* b = timeBands; b; b = b->next)
        if (b->firstBar <= bar)
            found = b;
    return found;
}

int32_t CViewGraphBase::XToBar(int32_t x) const
{
    const TimeBand* band = BandAtX(x);
    return band ? XToIndexScale(&band->scale, x) + band->firstBar : 0;
}

int32_t CViewGraphBase::BarToX(int32_t bar) const
{
    const TimeBand* band = BandOfBar(bar);
    return band ? IndexToXScale(&band->scale, bar - band->firstBar) : 0;
}

int32_t CViewGraphBase::ScaledTextSize(int32_t available, int32_t needed) const
{
    if (needed < 1 || needed <= available)
        return baseTextSize;
    return std::max(2, int32_t(int64_t(baseTextSize) * available / needed));
}

uint32_t CViewGraphBase::SetMode(bool active, uint32_t mode, uint32_t subtype, uint32_t stage, uint32_t mask)
{
    if (active)
        modeRecord = {1, mode, subtype, stage, mask};
    else
        modeRecord = {};
    return modeRecord.mask;
}

bool CViewGraphBase::CancelMode()
{
    if (modeRecord.active && modeRecord.mode == kModeRedrawing)
        return false;
    SetMode(false, 0, 0, 0, kRedrawAll);
    UpdateCursor(false);
    return true;
}

void CViewGraphBase::UpdateCursor(bool force)
{
    uint32_t id = ChartModeTable(modeRecord.mode, modeRecord.subtype).cursor;
    if (id == currentCursor && !force)
        return;
    currentCursor = id;
    ApplyCursor(id);
    UpdateGraphTitle();
}

void CViewGraphBase::OnSetFocus()
{
    CViewBase::OnSetFocus();
    HitTestAt(lastMouseX, lastMouseY);
}

void CViewGraphBase::OnGraphKillFocus()
{
    CViewBase::OnKillFocus();
    currentPane = nullptr;
    currentBand = nullptr;
    currentSeries = nullptr;
}

} // namespace qv
