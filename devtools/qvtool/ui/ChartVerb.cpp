// qvtool chart FOLDER EPIC OUT.png [WIDTH HEIGHT] [--style N] [--bars N] [--averages] [--dark] [--months N] [--box V,K[,O]]
// [--add EPIC]... [--indicator TYPE[,P1,P2,P3,FLAGS]]...: a share's daily chart with up to four added
// graphs and up to four indicator windows (one indicator each), in the Light or Dark design and limited
// to the last 1, 3, 6, 12, 24 or 60 months, built and drawn headless by the daily chart window
// itself, saved as a PNG.
#include "chartmodel/AddedGraphEntries.h"
#include "chartmodel/ChartRoutines.h"
#include "chartmodel/GraphDesign.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "core/ConfigState.h"
#include "core/Database.h"
#include "core/RecordAccess.h"
#include "devtools/qvtool/Verbs.h"
#include "devtools/qvtool/ui/PaintingApplication.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>

namespace qv::tool {
namespace {

constexpr const char* kUsage =
    "chart FOLDER EPIC OUT.png [WIDTH HEIGHT] [--style N] [--bars N] [--averages] [--dark] [--months N] [--add EPIC]... "
    "[--indicator TYPE[,P1,P2,P3,FLAGS]]... [--box VALUEx100,KIND[,OPTIONS]]";

// The months the date-range limit commands (26743-26748) keep.
constexpr int kLimitMonths[6] = {1, 3, 6, 12, 24, 60};
constexpr uint32_t kFirstLimitCommand = 26743;

struct ChartOptions {
    int width = 1200, height = 700;
    int style = -1, bars = -1;
    bool averages = false;
    bool dark = false;
    int limit = -1; // index into kLimitMonths
    std::vector<std::string> added;
    std::vector<IndicatorRecord> indicators;
    std::vector<int> box;  // box value x 100, box kind, box options
};

// TYPE[,P1,P2,P3,FLAGS]: a record with the first three pens of a new line set.
bool ParseIndicator(const std::string& text, IndicatorRecord& record)
{
    std::vector<int> fields;
    size_t start = 0;
    while (start <= text.size() && fields.size() < 5) {
        const size_t comma = std::min(text.find(',', start), text.size());
        int value = 0;
        if (!ParseNumber(text.substr(start, comma - start), fields.empty() ? 1 : -32768, fields.empty() ? 61 : 32767, value))
            return false;
        fields.push_back(value);
        start = comma + 1;
    }
    if (start <= text.size())
        return false;
    fields.resize(5, 0);
    record = IndicatorRecord::Of(fields[0], fields[4] & 0xFF, fields[1], fields[2], fields[3]);
    record.pens = {0x0000C0, 0xC00000, 0x008000, 0x808080};
    record.heightWeight = 120;
    return true;
}

// VALUEx100,KIND[,OPTIONS]: the box fields of the box and reversal styles.
bool ParseBox(const std::string& text, std::vector<int>& box)
{
    static constexpr int kHigh[3] = {50000, 4, 0xFFFF};
    size_t start = 0;
    while (start <= text.size() && box.size() < 3) {
        const size_t comma = std::min(text.find(',', start), text.size());
        int value = 0;
        if (!ParseNumber(text.substr(start, comma - start), 0, kHigh[box.size()], value))
            return false;
        box.push_back(value);
        start = comma + 1;
    }
    return start > text.size() && box.size() >= 2;
}

bool ParseOptions(const std::vector<std::string>& args, ChartOptions& o)
{
    size_t i = 3;
    if (args.size() >= 5 && args[3][0] != '-') {
        if (!ParseNumber(args[3], 100, 8000, o.width) || !ParseNumber(args[4], 100, 8000, o.height))
            return false;
        i = 5;
    }
    for (; i < args.size(); ++i) {
        if (args[i] == "--averages")
            o.averages = true;
        else if (args[i] == "--dark")
            o.dark = true;
        else if (args[i] == "--months" && i + 1 < args.size()) {
            const std::string& months = args[++i];
            for (int k = 0; k < 6; ++k)
                if (months == std::to_string(kLimitMonths[k]))
                    o.limit = k;
            if (o.limit < 0)
                return false;
        }
        else if (args[i] == "--add" && i + 1 < args.size() && o.added.size() < 4)
            o.added.push_back(args[++i]);
        else if (args[i] == "--indicator" && i + 1 < args.size() && o.indicators.size() < 4) {
            if (!ParseIndicator(args[++i], o.indicators.emplace_back()))
                return false;
        }
        else if (args[i] == "--box" && i + 1 < args.size()) {
            if (!ParseBox(args[++i], o.box))
                return false;
        }
        else if (args[i] == "--style" && i + 1 < args.size())
            if (!ParseNumber(args[++i], 0, 8, o.style))
                return false;
            else
                continue;
        else if (args[i] == "--bars" && i + 1 < args.size()) {
            if (!ParseNumber(args[++i], 0, 56, o.bars))
                return false;
        } else
            return false;
    }
    return true;
}

int RunChart(const std::vector<std::string>& args)
{
    ChartOptions options;
    if (args.size() < 3 || !ParseOptions(args, options)) {
        std::fprintf(stderr, "usage: qvtool %s\n", kUsage);
        return 2;
    }
    int exitCode = 0;
    std::optional<RecordCursor> cursor = LoadFolderShare({args[0], args[1]}, kUsage, exitCode);
    if (!cursor)
        return exitCode;
    const auto app = MakePaintingApplication();
    GraphSetting& setting = Config().dailyGraphs.records[0];
    InitGraphSetting(setting, false);
    if (options.dark)
        graphdesign::ApplyColourDefaults(setting, true);
    namespace gs = graphsetting;
    if (options.style >= 0)
        gs::SetU8(setting, gs::kPriceDisplay, uint8_t(options.style));
    if (options.bars >= 0)
        gs::SetU8(setting, gs::kBarPeriod, uint8_t(options.bars));
    if (!options.box.empty()) {
        gs::SetU16(setting, gs::kBoxValue, uint16_t(options.box[0]));
        gs::SetU8(setting, gs::kBoxValueOption, uint8_t(options.box[1]));
        if (options.box.size() > 2)
            gs::SetU16(setting, gs::kBoxChartFlags, uint16_t(options.box[2]));
    }
    for (int line = 0; options.averages && line < gs::kLines; ++line)
        gs::SetU32(setting, gs::kLineWords + 4 * size_t(line), gs::LineWord(setting, line) | 0xC0000000u);
    for (size_t k = 0; k < options.added.size(); ++k) {
        const RecordCursor item = FindByEpic(options.added[k]);
        if (!item.record) {
            std::fprintf(stderr, "qvtool: no share with the EPIC %s\n", options.added[k].c_str());
            FreeDatabase(true);
            return 1;
        }
        // Two pixels wide, in the colour a new line is offered.
        const uint32_t pen = PickLineColour(gs::U32(setting, gs::kBackground)) | (1u << 28);
        WriteAddedGraph(setting, int(k), {item.count, pen, RecordId(item.record)});
    }
    for (size_t w = 0; w < options.indicators.size(); ++w)
        options.indicators[w].Write(gs::IndicatorSlot(setting, int(w), 0));
    int result = 0;
    {
        CViewGraphEODWnd chart(kViewDailyChart);
        chart.eod.LoadShare(*cursor);
        QImage image = chart.RenderToImage(options.width, options.height);
        // The range limit works from the range the first build showed.
        if (options.limit >= 0 && chart.eod.RunCommand(kFirstLimitCommand + uint32_t(options.limit), false))
            image = chart.RenderToImage(options.width, options.height);
        if (!image.save(QString::fromStdString(args[2]), "PNG")) {
            std::fprintf(stderr, "qvtool: cannot write %s\n", args[2].c_str());
            result = 1;
        } else {
            std::printf("%s: %d days, %d shown%s%s\n", args[1].c_str(), int(chart.eod.days().size()),
                        chart.eod.visibleCount(), chart.noDataText.empty() ? "" : ", ",
                        chart.noDataText.c_str());
            for (size_t k = 0; k < options.added.size(); ++k) {
                const AddedGraphSlot& slot = chart.eod.addedGraphs().slot(int(k));
                std::printf("added %s: %d days\n", slot.name.c_str(), int(slot.days.size()));
            }
            for (size_t w = 0; w < options.indicators.size(); ++w) {
                const GraphSeries* series = chart.indicators.series(int(w), 0);
                const IndicatorResult* drawn = chart.indicators.result(int(w), 0);
                std::printf("window %d: %s, %d values\n", int(w) + 1, series ? series->title : "no series",
                            drawn && !drawn->lines.empty() ? int(drawn->lines.front().values.size()) : 0);
            }
        }
    }
    FreeDatabase(true);
    return result;
}

const Verb kChart("chart", kUsage, "render a share's daily chart to a PNG", RunChart);

} // namespace
} // namespace qv::tool
