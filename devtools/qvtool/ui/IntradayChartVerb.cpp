// qvtool intraday-chart FOLDER ID OUT.png [--days N] [--period N] [--style N] [--levels] [--size W H]: a share's
// stored intraday days (ID: the share id, decimal or 0x hexadecimal, or its EPIC) built and drawn headless by the intraday chart
// window itself, saved as a PNG.
#include "chartmodel/GraphSettingDefaults.h"
#include "charts/IntradayChart.h"
#include "core/ConfigState.h"
#include "core/Database.h"
#include "core/RecordLookup.h"
#include "devtools/qvtool/Verbs.h"
#include "devtools/qvtool/ui/PaintingApplication.h"
#include "realtime/store/RTStore.h"
#include "realtime/ui/ViewGraphRTWindow.h"
#include "views/ViewKinds.h"

#include <QImage>
#include <cstdio>
#include <cstdlib>

namespace qv::tool {
namespace {

constexpr const char* kUsage =
    "intraday-chart FOLDER ID OUT.png [--days N] [--period N] [--style N] [--levels] [--size WIDTH HEIGHT]";

struct Options {
    int days = -1, period = -1, style = -1;
    bool levels = false; // the previous day's high, low and close
    int width = 1200, height = 700;
};

bool ParseOptions(const std::vector<std::string>& args, Options& o)
{
    for (size_t i = 3; i < args.size(); ++i) {
        const bool more = i + 1 < args.size();
        if (args[i] == "--days" && more) {
            if (!ParseNumber(args[++i], 1, kMaxDaysViewed, o.days))
                return false;
        } else if (args[i] == "--period" && more) {
            if (!ParseNumber(args[++i], 0, kBarPeriodCount - 1, o.period))
                return false;
        } else if (args[i] == "--style" && more) {
            if (!ParseNumber(args[++i], 0, 4, o.style))
                return false;
        } else if (args[i] == "--levels") {
            o.levels = true;
        } else if (args[i] == "--size" && i + 2 < args.size()) {
            if (!ParseNumber(args[i + 1], 100, 8000, o.width) || !ParseNumber(args[i + 2], 100, 8000, o.height))
                return false;
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

// The share by its id (decimal, or hexadecimal after "0x") or, failing that, its EPIC.
RecordCursor FindShare(const std::string& id)
{
    char* end = nullptr;
    const long number = std::strtol(id.c_str(), &end, 0);
    if (!id.empty() && *end == '\0' && number > 0 && number <= 0xFFFF) {
        const RecordCursor& cursor = GetRecordCursor(uint16_t(number));
        if (cursor.record)
            return cursor;
    }
    return FindByEpic(id);
}

int RunIntradayChart(const std::vector<std::string>& args)
{
    Options options;
    if (args.size() < 3 || !ParseOptions(args, options)) {
        std::fprintf(stderr, "usage: qvtool %s\n", kUsage);
        return 2;
    }
    if (!LoadFolderDatabase(args[0]))
        return 1;
    const RecordCursor share = FindShare(args[1]);
    if (!share.record) {
        std::fprintf(stderr, "qvtool: no share %s\n", args[1].c_str());
        FreeDatabase(true);
        return 1;
    }
    InitRTStore();
    const auto app = MakePaintingApplication();
    GraphSetting& setting = Config().intradayGraphs.records[0];
    InitGraphSetting(setting, true);
    namespace gs = graphsetting;
    if (options.days > 0)
        gs::SetU8(setting, intraday::kDaysViewed, uint8_t(options.days - 1));
    if (options.period >= 0)
        gs::SetU32(setting, intraday::kBarPeriodIndex, uint32_t(options.period));
    if (options.style >= 0)
        gs::SetU8(setting, intraday::kPriceStyle, uint8_t(options.style));
    if (options.levels)
        gs::SetU16(setting, gs::kDisplayFlags,
                   uint16_t(gs::U16(setting, gs::kDisplayFlags) | intraday::kPrevHigh | intraday::kPrevLow | intraday::kPrevClose));
    int result = 0;
    {
        CViewGraphRTWnd chart(kViewIntradayChart);
        chart.chart.ShowShare(DescribeIntradayShare(share));
        const QImage image = chart.RenderToImage(options.width, options.height);
        if (!image.save(QString::fromStdString(args[2]), "PNG")) {
            std::fprintf(stderr, "qvtool: cannot write %s\n", args[2].c_str());
            result = 1;
        } else {
            std::printf("%s: %d days held, %d shown%s%s\n", chart.chart.ChartTitle().c_str(),
                        int(chart.chart.heldDays().size()), int(chart.chart.sets().size()),
                        chart.noDataText.empty() ? "" : ", ", chart.noDataText.c_str());
        }
    }
    CloseRTStore();
    FreeDatabase(true);
    return result;
}

const Verb kIntradayChart("intraday-chart", kUsage, "render a share's intraday chart of its stored days to a PNG",
                          RunIntradayChart);

} // namespace
} // namespace qv::tool
