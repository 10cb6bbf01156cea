// qvtool make-db FOLDER [SHARES [YEARS [SEED]]]: writes a random database of full-day histories.
#include "devtools/lib/PriceDatabase.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>
#include <cstdlib>

namespace qv::tool {
namespace {

using namespace std::chrono;

int RunMakeDb(const std::vector<std::string>& args)
{
    if (args.empty() || args.size() > 4) {
        std::fprintf(stderr, "usage: qvtool make-db FOLDER [SHARES [YEARS [SEED]]]\n");
        return 2;
    }
    int shares = args.size() > 1 ? std::atoi(args[1].c_str()) : 100;
    int years = args.size() > 2 ? std::atoi(args[2].c_str()) : 10;
    uint32_t seed = args.size() > 3 ? uint32_t(std::strtoul(args[3].c_str(), nullptr, 10)) : 1;
    if (shares < 1 || shares > 0x3FFF || years < 1 || years > 25) {
        std::fprintf(stderr, "qvtool: 1 to 16383 shares over 1 to 25 years\n");
        return 2;
    }
    try {
        sys_days last = sys_days{year{2026} / December / 31};
        dev::DemoDatabase db = dev::RandomDatabase(shares, years, last, seed);
        dev::CompFile comp = dev::DemoCompFile(db);
        if (!dev::WriteDatabaseFolder(args[0], dev::DemoDbFile(db), &comp)) {
            std::fprintf(stderr, "qvtool: cannot write the data files in %s\n", args[0].c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qvtool: database not written: %s\n", e.what());
        return 1;
    }
    std::printf("%d shares over %d years written to %s\n", shares, years, args[0].c_str());
    return 0;
}

const Verb kMakeDb("make-db", "make-db FOLDER [SHARES [YEARS [SEED]]]",
                   "writes a random database of full-day price histories", RunMakeDb);

} // namespace
} // namespace qv::tool
