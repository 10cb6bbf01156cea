// qvfeed FOLDER [--port N] [--speed N] [--refuse STEP] [--agreements MASK] [--levels WORD]
// [--hole HH:MM-HH:MM]: the feed stand-in on 127.0.0.1, serving the demo shares of FOLDER's intraday
// store as if live, until it is ended. SIGUSR1 drops the open connections. --hole leaves London's
// shares' records of that stretch out of the day, sending them only to the gap requests for it. --refuse answers every log-on with a refusal step
// (11-14); --agreements and --levels set what the log-on reports (3 and 0x3FF when not given). A
// NYSE/AMEX agreement the program sends is recorded: later log-ons report it completed.
#include "devtools/lib/FeedSimulator.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_drop = 0;
void OnSignal(int) { g_stop = 1; }
void OnDrop(int) { g_drop = 1; }

int Usage()
{
    std::fprintf(stderr, "usage: qvfeed FOLDER [--port N] [--speed N] [--refuse 11-14] [--agreements N] [--levels N] "
                         "[--hole HH:MM-HH:MM]\n");
    return 2;
}

// "HH:MM-HH:MM" as seconds [from, to); false unless from < to within the day.
bool ParseHole(const char* text, uint32_t& from, uint32_t& to)
{
    unsigned h1 = 0, m1 = 0, h2 = 0, m2 = 0;
    char end = 0;
    if (std::sscanf(text, "%u:%u-%u:%u%c", &h1, &m1, &h2, &m2, &end) != 4 || m1 > 59 || m2 > 59 || h1 > 24 || h2 > 24)
        return false;
    from = h1 * 3600 + m1 * 60;
    to = h2 * 3600 + m2 * 60;
    return from < to && to <= 86400;
}

} // namespace

int main(int argc, char** argv)
{
    qv::dev::FeedSimulatorOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if ((a == "--port" || a == "--speed") && i + 1 < argc) {
            char* end = nullptr;
            double v = std::strtod(argv[++i], &end);
            if (!end || *end || v < 0)
                return Usage();
            (a == "--port" ? void(options.port = int(v)) : void(options.speed = v));
        } else if ((a == "--refuse" || a == "--agreements" || a == "--levels") && i + 1 < argc) {
            char* end = nullptr;
            unsigned long v = std::strtoul(argv[++i], &end, 0);
            if (!end || *end || (a == "--refuse" && (v < 11 || v > 14)))
                return Usage();
            if (a == "--refuse")
                options.refuseStep = int(v);
            else
                (a == "--agreements" ? options.agreements : options.levels) = uint32_t(v);
        } else if (a == "--hole" && i + 1 < argc) {
            if (!ParseHole(argv[++i], options.holeFrom, options.holeTo))
                return Usage();
        } else if (options.folder.empty() && a.rfind("--", 0) != 0) {
            options.folder = a;
        } else {
            return Usage();
        }
    }
    if (options.folder.empty())
        return Usage();
    qv::dev::FeedSimulator simulator(options);
    std::string error;
    if (!simulator.Start(&error)) {
        std::fprintf(stderr, "qvfeed: %s\n", error.c_str());
        return 1;
    }
    qv::PackedDate day = simulator.day();
    std::printf("qvfeed: serving %zu shares of %02d/%02d/%04d on 127.0.0.1:%d\n", simulator.shares().size(),
                qv::DayOfMonth(day), qv::MonthOfYear(day), qv::FullYear(day), simulator.port());
    std::fflush(stdout);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGUSR1, OnDrop);
    size_t agreementsShown = 0;
    while (!g_stop) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::vector<qv::dev::ReceivedAgreement> received = simulator.agreements().received();
        for (; agreementsShown < received.size(); ++agreementsShown) {
            const qv::dev::ReceivedAgreement& a = received[agreementsShown];
            std::printf("qvfeed: NYSE/AMEX agreement received for account \"%s\" (%s, %zu employers)\n",
                        a.account.c_str(), a.name.c_str(), a.employers.size());
            std::fflush(stdout);
        }
        if (!g_drop)
            continue;
        g_drop = 0;
        simulator.DropConnections();
        std::printf("qvfeed: connections dropped\n");
        std::fflush(stdout);
    }
    simulator.Stop();
    return 0;
}
