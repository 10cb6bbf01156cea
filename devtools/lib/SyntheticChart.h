// A chart view with a synthetic model, for tests, renders and benchmarks of the chart view: a random
// walk of daily bars in the price pane, its volume as columns, and one line per indicator record of
// each add-on window in use. Base is CViewGraph, or its window CViewGraphWnd.
#pragma once

#include "chartmodel/GraphModel.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/ViewGraph.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace qv::dev {

struct SyntheticBars {
    std::vector<float> open, high, low, close, volume;
};

// A reproducible random walk of n bars around 250p.
inline SyntheticBars MakeSyntheticBars(int n)
{
    SyntheticBars bars;
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return double(seed >> 8) / double(1u << 24);
    };
    double price = 250;
    for (int i = 0; i < n; ++i) {
        double open = price;
        price = std::max(5.0, price * (1 + (next() - 0.49) * 0.04));
        double high = std::max(open, price) * (1 + next() * 0.015);
        double low = std::min(open, price) * (1 - next() * 0.015);
        bars.open.push_back(float(open));
        bars.high.push_back(float(high));
        bars.low.push_back(float(low));
        bars.close.push_back(float(price));
        bars.volume.push_back(float(200000 + next() * 1800000));
    }
    return bars;
}

// Gives a setting two add-on windows (of 150 and 120 per mille) and a visible volume pane.
inline void SetUpSyntheticSetting(GraphSetting& setting)
{
    namespace gs = graphsetting;
    setting = {};
    gs::SetU8(setting, gs::kVolumePane, 1);
    gs::SetU8(setting, gs::kPriceDisplay, 1);
    gs::SetU16(setting, gs::kVolumePaneHeight, 200);
    gs::SetU16(setting, gs::kScaleFlags, 3);
    gs::SetU32(setting, gs::kGridDensityH, 2);
    gs::SetU32(setting, gs::kBackground, 0xFFFFFF);
    gs::SetU32(setting, gs::kGridPenH, 0xC0C0C0);
    gs::SetU32(setting, gs::kFramePen, 0x404040);
    gs::SetU8(setting, gs::kWhiteSpace, 1);
    gs::SetU32(setting, gs::kTextSize, 8);
    std::memcpy(setting.data() + gs::kFontFace, "Arial", 5);
    const int16_t heights[2] = {150, 120};
    for (int w = 0; w < 2; ++w) {
        auto slot = gs::IndicatorSlot(setting, w, 0);
        slot[gs::kSlotType] = uint8_t(10 + w);
        StoreU16(slot.data() + gs::kSlotHeightWeight, uint16_t(heights[w]));
    }
}

template <typename Base>
class SyntheticChart : public Base {
public:
    explicit SyntheticChart(int bars) : Base(0), data_(MakeSyntheticBars(bars)) {}

    const SyntheticBars& data() const { return data_; }
    int32_t FirstDataIndex() const override { return 0; }
    int32_t LastDataIndex() const override { return int32_t(data_.close.size()) - 1; }

protected:
    int32_t FirstShown() const { return this->shownRange[0] > 0 ? this->shownRange[0] : 0; }
    int32_t LastShown() const
    {
        int32_t last = this->shownRange[1] > 0 ? this->shownRange[1] : LastDataIndex();
        return std::clamp(last, FirstShown(), LastDataIndex());
    }

    void BuildTimeBands() override
    {
        this->FreeTimeBands();
        TimeBand* band = this->timeBands;
        if (!band) {
            band = NewTimeBand(0);
            this->timeBands = band;
        }
        band->shown = 1;
        band->firstBar = FirstShown();
        band->left = this->plotRect[0];
        band->right = this->plotRect[2];
        band->scale.firstIndex = 0;
        band->scale.lastIndex = LastShown() - FirstShown();
        band->scale.firstX = this->plotRect[0] + 2;
        band->scale.lastX = this->plotRect[2] - 2;
    }

    void BuildSeries() override
    {
        TimeBand* band = this->timeBands;
        if (!band || band->series)
            return;
        int32_t first = FirstShown();
        int32_t count = LastShown() - first + 1;
        if (GraphPane* price = this->FindPane(kPanePrice)) {
            GraphSeries* series = AddSeries(band, price, 1u << 24);
            this->AddValueRange(series);
            PlotElement* e = AddPlotElement(series, 2, 0x18000, 0x008000, 0, 2, 0x0000C0, 0, 0, 0);
            auto* bars = static_cast<uint8_t*>(InitDataArray(e->values, kArrayBars, count, 0, 0));
            for (int32_t i = 0; i < count; ++i) {
                const float v[5] = {data_.open[size_t(first + i)], data_.high[size_t(first + i)],
                                    data_.low[size_t(first + i)], data_.close[size_t(first + i)],
                                    data_.volume[size_t(first + i)]};
                std::memcpy(bars + size_t(i) * 20, v, sizeof v);
            }
        }
        if (GraphPane* volume = this->FindPane(kPaneVolume))
            AddLine(band, volume, 2u << 24, 4, 0x806040, data_.volume, first, count);
    }

    GraphSeries* BuildIndicatorSeries(int window, int record, GraphSeries*) override
    {
        TimeBand* band = this->timeBands;
        GraphPane* pane = this->FindPane(kPaneFirstAddOn + uint32_t(window));
        if (!band || !pane || band->series == nullptr || record != 0)
            return nullptr;
        for (GraphSeries* s = band->series; s; s = s->next)
            if (s->pane == pane)
                return s;
        int32_t first = FirstShown();
        int32_t count = LastShown() - first + 1;
        std::vector<float> values(data_.close.size());
        float average = data_.close[0];
        for (size_t i = 0; i < values.size(); ++i) {
            average += (data_.close[i] - average) / (window == 0 ? 10.0f : 3.0f);
            values[i] = window == 0 ? data_.close[i] - average : 50 + 40 * std::sin(float(i) / 9.0f);
        }
        return AddLine(band, pane, uint32_t(20 + window) << 24, 1, window == 0 ? 0xC00000 : 0x008080, values,
                       first, count);
    }

private:
    GraphSeries* AddLine(TimeBand* band, GraphPane* pane, uint32_t key, uint32_t style, uint32_t colour,
                         const std::vector<float>& values, int32_t first, int32_t count)
    {
        GraphSeries* series = AddSeries(band, pane, key);
        this->AddValueRange(series);
        PlotElement* e = AddPlotElement(series, style, 0, colour, 0, 1, 0, 0, 0, 0);
        auto* out = static_cast<float*>(InitDataArray(e->values, kArrayFloats, count, 0, 0));
        std::copy(values.begin() + first, values.begin() + first + count, out);
        return series;
    }

    SyntheticBars data_;
};

} // namespace qv::dev
