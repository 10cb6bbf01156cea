// qvtool make-demo FOLDER [--to DD/MM/YYYY]: writes the demo database into FOLDER/data; qvtool
// demo-version prints the version of the generator, which make-demo stamps into FOLDER.
#include "devtools/lib/PriceDatabase.h"
#include "devtools/qvtool/Verbs.h"
#include "platform/Clock.h"

#include <algorithm>
#include <cstdio>

namespace qv::tool {
namespace {

using namespace std::chrono;

// The last day a demo can reach: PackedDate holds years up to 2027.
const sys_days kLastDemoDay = sys_days{year{2027} / December / 31};

bool ParseDay(const std::string& text, sys_days& out)
{
    unsigned d = 0, m = 0;
    int y = 0;
    if (std::sscanf(text.c_str(), "%u/%u/%d", &d, &m, &y) != 3)
        return false;
    year_month_day ymd{year{y}, month{m}, day{d}};
    if (!ymd.ok() || y < 2010)
        return false;
    out = sys_days{ymd};
    return true;
}

int RunMakeDemo(const std::vector<std::string>& args)
{
    if (args.size() != 1 && !(args.size() == 3 && args[1] == "--to")) {
        std::fprintf(stderr, "usage: qvtool make-demo FOLDER [--to DD/MM/YYYY]\n");
        return 2;
    }
    sys_days last;
    if (args.size() == 3) {
        if (!ParseDay(args[2], last)) {
            std::fprintf(stderr, "qvtool: '%s' is not a date from 2010 on\n", args[2].c_str());
            return 2;
        }
    } else {
        LocalDateTime now = NowLocal();
        sys_days today{year{now.year} / month{unsigned(now.month)} / day{unsigned(now.day)}};
        last = dev::LastTradingDayBefore(std::min(today, kLastDemoDay + days{1}));
    }
    std::string error;
    if (!dev::WriteDemoFolder(args[0], std::min(last, kLastDemoDay), &error)) {
        std::fprintf(stderr, "qvtool: demo database not written: %s\n", error.c_str());
        return 1;
    }
    std::printf("demo database written to %s\n", args[0].c_str());
    return 0;
}

int RunDemoVersion(const std::vector<std::string>& args)
{
    if (!args.empty()) {
        std::fprintf(stderr, "usage: qvtool demo-version\n");
        return 2;
    }
    std::printf("%d\n", dev::kDemoGeneratorVersion);
    return 0;
}

const Verb kMakeDemo("make-demo", "make-demo FOLDER [--to DD/MM/YYYY]",
                     "writes the demo database (fixed seed) to FOLDER/data", RunMakeDemo);
const Verb kDemoVersion("demo-version", "demo-version",
                        "prints the demo generator's version, which make-demo stamps into its folder",
                        RunDemoVersion);

} // namespace
} // namespace qv::tool
