// Date positions of the daily chart's drawing objects: a point placed at an x comes back to the same
// date at the x of that date, for single-day and multi-week bars, inside the history and past its
// ends, so that stored lines stay where they were drawn.
#include "charts/DailyChartDrawing.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/ViewGraphEOD.h"
#include "core/ConfigState.h"
#include "devtools/lib/SyntheticDays.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

namespace gs = graphsetting;

class DrawingPositions : public ::testing::TestWithParam<uint8_t> {
protected:
    DrawingPositions() : saved_(Config().dailyGraphs.records[0]) { InitGraphSetting(Config().dailyGraphs.records[0], false); }
    ~DrawingPositions() override { Config().dailyGraphs.records[0] = saved_; }

    // Two paints, as on the screen: the first one's ranges size the value axes of the second.
    void Paint()
    {
        view.textHeight = 12;
        view.digitWidth = 7;
        view.OnDraw(&dc_, DrawDevice{false, 900, 600, 0, 0});
        view.OnDraw(&dc_, DrawDevice{false, 900, 600, 0, 0});
    }

    std::vector<DayRecord> days = dev::MakeSyntheticDays(700);
    CViewGraphEOD view{0};

private:
    GraphSetting saved_;
    int dc_ = 0;
};

TEST_P(DrawingPositions, APointComesBackToItsDate)
{
    gs::SetU8(Config().dailyGraphs.records[0], gs::kBarPeriod, GetParam());
    view.eod.SetHistory(days.data(), int32_t(days.size()), 1);
    // Show the middle of the history, so that dates lie before and after the shown bars.
    Paint();
    const TimeBand* band = view.timeBands;
    ASSERT_NE(band, nullptr);
    const int32_t mid = (band->left + band->right) / 2;
    ASSERT_TRUE(view.eod.ZoomToDragRange(mid - 200, mid + 150));
    Paint();
    band = view.timeBands;
    ASSERT_NE(band, nullptr);
    ASSERT_GT(view.eod.firstVisible(), 0);

    DailyChartDrawing& drawing = view.drawing;
    for (int32_t x = band->left - 150; x <= band->right + 150; x += 7) {
        const int32_t position = drawing.DatePositionAtX(x);
        const int32_t back = drawing.XOfDatePosition(position);
        EXPECT_EQ(drawing.DatePositionAtX(back), position) << "x " << x;
    }
    // Dates later in the history never lie further left.
    int32_t lastX = INT32_MIN;
    for (size_t i = 0; i + 1 < days.size(); i += 5) {
        const int32_t x = drawing.XOfDatePosition(days[i].date);
        EXPECT_GE(x, lastX) << "day " << i;
        lastX = x;
    }
    // Past the last day the positions count on by trading days.
    const int32_t lastDate = days[days.size() - 2].date;
    EXPECT_GT(drawing.XOfDatePosition(lastDate + 20), drawing.XOfDatePosition(lastDate));
}

INSTANTIATE_TEST_SUITE_P(BarPeriods, DrawingPositions, ::testing::Values(uint8_t(0), uint8_t(6)));

} // namespace
} // namespace qv
