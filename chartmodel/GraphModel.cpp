// Building the graph object model: bands, series, plot elements, grid lines and level lines.
#include "chartmodel/GraphModel.h"

#include <algorithm>

namespace qv {
TimeBand* NewTimeBand(uint32_t scaleKind)
{
    auto* band = NewGraphRecord<TimeBand>("Time band");
    band->scale.kind = scaleKind;
    return band;
}

GraphSeries* AddSeries(TimeBand* band, GraphPane* pane, uint32_t studyKey)
{
    auto* series = NewGraphRecord<GraphSeries>("Graph series");
    series->studyKey = studyKey;
    series->pane = pane;
    series->band = band;
    if (band) {
        series->timeScale = &band->scale;
        series->next = band->series;
        band->series = series;
    }
    if (pane && !pane->firstSeries)
        pane->firstSeries = series;
    return series;
}

void FreeTimeScaleTable(TimeScale& scale)
{
    ProFree(scale.xTable);
    scale.xTable = nullptr;
}

void AddSeriesTimeScale(GraphSeries* series, uint32_t kind)
{
    if (series->ownsTimeScale && series->timeScale) {
        FreeTimeScaleTable(*series->timeScale);
        ProFree(series->timeScale);
    }
    series->timeScale = NewGraphRecord<TimeScale>("Time scale");
    series->timeScale->kind = kind;
    series->ownsTimeScale = 1;
}

PlotElement* AddPlotElement(GraphSeries* series, uint32_t style, uint32_t flags, uint32_t colour1,
                            uint32_t aux, int32_t colourCount, uint32_t colour2, uint32_t colour3,
                            uint32_t colour4, uint32_t colour5)
{
    auto* element = NewGraphRecord<PlotElement>("Plot element");
    element->style = style;
    element->flags = flags;
    element->aux = aux;
    element->mixMode = kMixCopyPen;
    element->colourCount = std::clamp(colourCount, 1, kElementColours);
    const uint32_t given[kElementColours] = {colour1, colour2, colour3, colour4, colour5};
    for (int i = 0; i < kElementColours; ++i)
        element->colours[i] = i < element->colourCount ? given[i] : colour1;
    element->series = series;
    if (!series->firstElement) {
        series->firstElement = element;
        series->defaultColour = colour1;
    }
    element->next = series->elements;
    series->elements = element;
    return element;
}

GraphSeries* FindSeries(const TimeBand* band, const GraphPane* pane)
{
    GraphSeries* found = nullptr;
    for (GraphSeries* s = band ? band->series : nullptr; s; s = s->next)
        if (s->pane == pane)
            found = s;
    return found;
}

GridLine* AddGridLine(GridLine*& list)
{
    auto* line = NewGraphRecord<GridLine>("Grid line");
    line->next = list;
    list = line;
    return line;
}

GridLine* AddGridLinePixel(GridLine*& list, uint32_t flags, int32_t pixel)
{
    GridLine* line = AddGridLine(list);
    line->flags = flags | kGridPixel;
    line->pixel = pixel;
    return line;
}

int FreeGridLines(GridLine*& list, bool keepFixed)
{
    GridLine* kept = nullptr;
    int count = 0;
    for (GridLine* line = list; line;) {
        GridLine* next = line->next;
        if (keepFixed && (line->flags & kGridFixedLevel)) {
            line->next = kept;
            kept = line;
            ++count;
        } else {
            ProFree(line);
        }
        line = next;
    }
    list = kept;
    return count;
}

void SetPaneLevels(GraphPane* pane, int32_t n, const float values[5])
{
    FreeGridLines(pane->gridLines, false);
    pane->fixedLevelCount = n;
    for (int32_t i = 0; i < std::min(n, 5); ++i) {
        GridLine* line = AddGridLine(pane->gridLines);
        line->flags = kGridFixedLevel;
        line->value = values[i];
    }
}

void CopyLevelLine(LevelLine& to, const LevelLine& from) { to = from; }

void CopyLevelValues(float to[4], const float* from, bool fourthIntoFirstThree)
{
    if (!from) {
        std::fill(to, to + 4, 0.0f);
        return;
    }
    if (fourthIntoFirstThree) {
        std::fill(to, to + 3, from[3]);
        return;
    }
    std::copy(from, from + 4, to);
}

} // namespace qv
