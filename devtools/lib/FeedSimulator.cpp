// The feed stand-in: one thread accepts on 127.0.0.1, one thread serves each connection.
#include "devtools/lib/FeedSimulator.h"

#include "core/TimeZones.h"
#include "devtools/lib/FeedEncoder.h"
#include "platform/ByteOrder.h"
#include "platform/Clock.h"
#include "platform/FileOps.h"
#include "realtime/feed/FeedFrame.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/feed/FeedServerInfo.h"
#include "realtime/feed/RTBackfill.h"
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTStoreFiles.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <optional>

namespace qv::dev {
namespace {

constexpr uint32_t kOpen = 8 * 3600, kClose = 16 * 3600 + 30 * 60;
constexpr size_t kRecordsPerBlock = 64;
constexpr int kBackfillBlockPaceMs = 8;

bool IsWeekendDay(PackedDate d) { return WeekdayOf(d) >= 5; }

// Prices are sent in hundredths, which the definitions' price scale 2 (a factor of 0.01) undoes.
constexpr uint8_t kCodedPriceScale = 2;
int32_t Coded(float price) { return int32_t(std::lround(double(price) * 100.0)); }

bool SendAll(int fd, const std::vector<uint8_t>& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += size_t(n);
    }
    return true;
}

// An event at its time of the share's market, served when London's clock reaches it.
struct TimedEvent {
    uint32_t time;
    uint16_t share;
    const IntradayEvent* event;
    bool index;
    uint32_t serve;
};

std::vector<TimedEvent> Timeline(const std::vector<SimulatedShare>& shares, PackedDate day)
{
    std::vector<TimedEvent> timeline;
    for (const SimulatedShare& s : shares) {
        const int32_t shift = (GetMarketUtcBias(s.market, day) - GetMarketUtcBias(0, day)) * 60;
        for (const IntradayEvent& e : s.events)
            timeline.push_back({e.time, s.share, &e, s.index, uint32_t(std::max<int64_t>(0, int64_t(e.time) + shift))});
    }
    std::stable_sort(timeline.begin(), timeline.end(), [](const TimedEvent& a, const TimedEvent& b) { return a.serve < b.serve; });
    return timeline;
}

std::vector<uint8_t> U16Payload(PackedDate day)
{
    std::vector<uint8_t> out(2);
    StoreU16(out.data(), day);
    return out;
}

std::vector<uint8_t> EventRecord(PackedDate day, const TimedEvent& t, bool first, float previousClose)
{
    const IntradayEvent& e = *t.event;
    // An index value stands as bid and offer alike, from the index source.
    if (t.index) {
        FeedPriceItem item{Coded(e.bid), Coded(e.bid), std::nullopt, 0, 0, std::nullopt, std::nullopt};
        if (first) {
            item.open = Coded(e.bid);
            item.close = Coded(previousClose);
        }
        return FeedPriceRecord(kIndexValueSource, day, t.time, {{t.share, {item}}});
    }
    FeedPriceItem item{Coded(e.bid), Coded(e.offer), std::nullopt, 0, 0, std::nullopt, std::nullopt};
    if (e.trade) {
        item.trade = Coded(e.price);
        item.volume = e.volume;
        item.direction = 1;
    }
    if (first) {
        item.open = Coded(e.trade ? e.price : (e.bid + e.offer) / 2);
        item.close = Coded(previousClose);
    }
    return FeedPriceRecord(0, day, t.time, {{t.share, {item}}});
}

// The answer to a gap request of the served day: London's shares' quotes and trades within the
// request's stretch up to the time the connection has had the day to, each event a quote item and, when it traded, a
// trade item; records of at most 256 items, frames of about 256 KB. A request for another day or
// source is answered with nothing.
std::vector<std::vector<uint8_t>> GapAnswer(const RTRequestFields& request, PackedDate day,
                                            const std::vector<TimedEvent>& timeline, uint32_t now)
{
    std::vector<std::vector<uint8_t>> frames(1);
    if (request.day != day || request.sourceOrKind != 0)
        return frames;
    std::vector<std::vector<uint8_t>> items;
    auto flush = [&] {
        if (items.empty())
            return;
        std::vector<uint8_t> record = FeedBackfillRecord(day, items);
        if (frames.back().size() + record.size() > (256u << 10))
            frames.emplace_back();
        frames.back().insert(frames.back().end(), record.begin(), record.end());
        items.clear();
    };
    for (const TimedEvent& t : timeline) {
        if (t.index || t.serve < request.start || t.serve >= request.end || t.serve > now)
            continue;
        const IntradayEvent& e = *t.event;
        items.push_back(FeedBackfillItem(1, t.share, t.time, Coded(e.bid), Coded(e.offer)));
        if (e.trade)
            items.push_back(FeedBackfillItem(2, t.share, t.time, Coded(e.price), e.volume));
        if (items.size() >= 256)
            flush();
    }
    flush();
    return frames;
}

} // namespace

PackedDate SimulatedFeedDay(PackedDate today)
{
    while (IsWeekendDay(today))
        today = PreviousWeekday(today, false);
    return today;
}

std::vector<IntradayEvent> SimulatedShareDay(uint16_t share, PackedDate day, float previousClose)
{
    // A small move from the previous close, the same for the same share and day.
    uint32_t h = (uint32_t(share) * 2654435761u) ^ (uint32_t(day) * 40503u);
    float move = (float(h % 801) - 400.0f) / 10000.0f; // -4% .. +4%
    float close = previousClose * (1.0f + move);
    float open = previousClose * (1.0f + move * 0.25f);
    float high = std::max(open, close) * 1.006f, low = std::min(open, close) * 0.994f;
    return GenerateIntradayDay(share, day, {previousClose, open, high, low, close});
}

std::vector<IntradayEvent> SimulatedShareDay(const SimulatedShare& share, PackedDate day)
{
    std::vector<IntradayEvent> events = SimulatedShareDay(share.share, day, share.previousClose);
    if (!share.index)
        return events;
    const MarketHours& hours = DefaultMarketHours()[std::min<size_t>(share.market, size_t(kMarketHoursExchanges) - 1)];
    return AsIndexValues(events, hours.open, hours.close);
}

FeedSimulator::FeedSimulator(FeedSimulatorOptions options)
    : options_(std::move(options)), agreements_(options_.agreements)
{
}

FeedSimulator::~FeedSimulator() { Stop(); }

bool FeedSimulator::Start(std::string* error)
{
    LocalDateTime now = NowLocal();
    day_ = options_.day ? options_.day : SimulatedFeedDay(PackDate(now.day, now.month, now.year));
    // The shares and their last closes come from the folder's intraday store: its newest day
    // before the served one, read without the program's own store.
    auto index = ReadFileBytes(options_.folder / "data" / "RT.dat");
    std::optional<RTShareTable> table = index ? ParseRTIndex(*index) : std::nullopt;
    std::filesystem::path dayFile;
    PackedDate last = 0;
    std::error_code ec;
    for (const auto& f : std::filesystem::directory_iterator(options_.folder / "data" / "RT", ec)) {
        PackedDate d = RTHistoryFileDay(f.path().filename().string());
        if (d && d < day_ && d > last) {
            last = d;
            dayFile = f.path();
        }
    }
    auto bytes = last ? ReadFileBytes(dayFile) : std::nullopt;
    if (!table || !bytes) {
        if (error)
            *error = "no intraday store with a day before the served day in " + options_.folder.string();
        return false;
    }
    RTFileReader read = [&](uint64_t at, size_t n, uint8_t* out) {
        if (at > bytes->size() || n > bytes->size() - at)
            return false;
        std::copy_n(bytes->data() + at, n, out);
        return true;
    };
    std::unique_ptr<RTDayRecord> record = ParseRTDayFile(read, bytes->size());
    for (RTDayShareEntry& e : record ? record->entries : std::vector<RTDayShareEntry>{}) {
        if ((e.key >> 16) != 0 || LoadRTShareTicks(read, bytes->size(), e, kRTLoadSummary) != 0 ||
            e.ticks.size() < kRTSummaryWords)
            continue;
        RTDaySummary summary = ReadRTDaySummary(std::span<const uint32_t, kRTSummaryWords>(e.ticks.data(), kRTSummaryWords));
        SimulatedShare share;
        share.share = RTKeyShare(e.key);
        // An index's last value is its last quote's.
        share.index = e.source == kIndexValueSource;
        share.market = e.exchange;
        const float last = share.index ? (summary.bid + summary.offer) / 2 : summary.lastTrade;
        if (last <= 0)
            continue;
        RTKeySlot at = FindRTKeySlot(*table, e.key);
        if (at.found)
            if (const RTInstrument* x = table->Instrument(table->keys[table->slotIndex[at.slot]].instrument)) {
                share.shortName = std::string(table->NameAt(x->shortName));
                share.longName = std::string(table->NameAt(x->longName));
                share.storedSequence = x->sequence;
            }
        share.previousClose = last;
        share.events = SimulatedShareDay(share, day_);
        shares_.push_back(std::move(share));
    }

    listen_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK); // the loopback interface only
    addr.sin_port = htons(uint16_t(options_.port));
    socklen_t len = sizeof addr;
    if (listen_ < 0 || bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listen_, 8) != 0 ||
        getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        if (error)
            *error = std::string("cannot listen on 127.0.0.1:") + std::to_string(options_.port) + ": " + std::strerror(errno);
        return false;
    }
    port_ = ntohs(addr.sin_port);
    start_ = std::chrono::steady_clock::now();
    // Paced by the clock, or from the opening N times faster; a given day or a weekend's last
    // weekday is served whole.
    uint32_t clock = uint32_t(now.hour * 3600 + now.minute * 60 + now.second);
    if (options_.speed > 1.0)
        startSeconds_ = kOpen;
    else if (options_.day || IsWeekendDay(PackDate(now.day, now.month, now.year)))
        startSeconds_ = kClose;
    else
        startSeconds_ = clock;
    acceptThread_ = std::thread([this] { AcceptLoop(); });
    return true;
}

void FeedSimulator::Stop()
{
    stop_ = true;
    if (listen_ >= 0)
        shutdown(listen_, SHUT_RDWR);
    if (acceptThread_.joinable())
        acceptThread_.join();
    {
        std::lock_guard guard(clientsMutex_);
        for (int fd : clientFds_)
            shutdown(fd, SHUT_RDWR);
    }
    for (std::thread& t : clients_)
        if (t.joinable())
            t.join();
    clients_.clear();
    if (listen_ >= 0)
        close(listen_);
    listen_ = -1;
}

uint32_t FeedSimulator::Now() const
{
    double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    return uint32_t(std::min<double>(86399.0, startSeconds_ + elapsed * std::max(1.0, options_.speed)));
}

void FeedSimulator::AcceptLoop()
{
    while (!stop_) {
        pollfd p{listen_, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0)
            continue;
        int fd = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::lock_guard guard(clientsMutex_);
        clientFds_.push_back(fd);
        clients_.emplace_back([this, fd] { Serve(fd); });
        ++connections_;
    }
}

void FeedSimulator::Serve(int fd)
{
    const std::vector<TimedEvent> timeline = Timeline(shares_, day_);
    // What the catch-up and the live records serve: the day less its hole.
    std::vector<TimedEvent> served;
    for (const TimedEvent& t : timeline)
        if (t.index || t.serve < options_.holeFrom || t.serve >= options_.holeTo)
            served.push_back(t);
    std::map<uint16_t, float> closes;
    for (const SimulatedShare& s : shares_)
        closes[s.share] = s.previousClose;

    int frames = 0;
    auto send = [&](uint8_t kind, uint8_t code, const std::vector<uint8_t>& payload) {
        using F = FeedSimulatorOptions::Fault;
        if (options_.faultAfter >= 0 && frames >= options_.faultAfter) {
            switch (options_.fault) {
            case F::Drop: return false;
            case F::Stall: std::this_thread::sleep_for(std::chrono::milliseconds(200)); return !stop_;
            case F::Malformed: {
                std::vector<uint8_t> junk(payload.size(), 0xA5);
                return SendAll(fd, EncodeFeedFrame(kind, code, junk));
            }
            case F::Oversized: {
                std::vector<uint8_t> header(kFeedFrameHeaderBytes, 0);
                header[0] = kind;
                StoreU32(header.data() + 4, kFeedMaxPayload + 1);
                SendAll(fd, header);
                return false;
            }
            case F::None: break;
            }
        }
        ++frames;
        return SendAll(fd, EncodeFeedFrame(kind, code, payload));
    };

    FeedFrameReader reader;
    std::deque<FeedFrame> pending;
    int abortBackfill = 0; // 1 the current day, 2 every day asked for
    // Between a backfill's blocks: an abort request stops it; other requests wait their turn.
    auto pollAbort = [&] {
        pollfd q{fd, POLLIN, 0};
        uint8_t buffer[4096];
        ssize_t n = poll(&q, 1, 0) > 0 ? recv(fd, buffer, sizeof buffer, 0) : 0;
        if (n > 0)
            reader.Add(std::span(buffer, size_t(n)));
        // Requests that came with the backfill's own are looked at too.
        FeedFrame f;
        while (reader.Next(f) == FeedFrameReader::Result::Frame) {
            if (f.kind == kFeedRequest && f.code == kRequestBackfillAbort)
                abortBackfill = std::max(abortBackfill, !f.payload.empty() && f.payload[0] ? 2 : 1);
            else
                pending.push_back(std::move(f));
        }
    };
    // A catch-up of the events [0, end) of a day: step 8 with the blocks to come, the blocks, step 7.
    // A backfill's blocks come paced, as a server's would, so that its progress can be followed.
    // A priority catch-up opens with step 9 and leaves the day's completion to the rest that follows.
    auto catchUp = [&](PackedDate day, const std::vector<TimedEvent>& events, size_t end, std::map<uint16_t, bool>& seen,
                       bool paced, bool priority = false) {
        // Blocks break at the hole's edges, and a block reaching into the hole says that London's
        // records of its stretch are lacking, so that the client asks for that stretch only.
        const bool holed = day == day_ && options_.holeFrom < options_.holeTo;
        auto side = [&](size_t i) { return int(events[i].serve >= options_.holeFrom) + int(events[i].serve >= options_.holeTo); };
        std::vector<size_t> starts;
        for (size_t i = 0; i < end; ++i)
            if (starts.empty() || i - starts.back() >= kRecordsPerBlock || (holed && side(i) != side(i - 1)))
                starts.push_back(i);
        std::vector<uint8_t> status = U16Payload(day);
        status.resize(6);
        StoreU32(status.data() + 2, uint32_t(starts.size()));
        bool ok = send(kFeedStatus, priority ? 9 : 8, status);
        uint32_t previousLast = 0;
        for (size_t b = 0; ok && b < starts.size(); ++b) {
            const size_t at = starts[b], to = b + 1 < starts.size() ? starts[b + 1] : end;
            std::vector<std::vector<uint8_t>> records;
            for (size_t i = at; i < to; ++i) {
                bool first = !seen[events[i].share];
                seen[events[i].share] = true;
                records.push_back(EventRecord(day, events[i], first, closes[events[i].share]));
            }
            const uint32_t last = events[to - 1].serve;
            uint32_t lacking = 0;
            if (holed && previousLast < options_.holeTo && last >= options_.holeFrom) {
                const uint32_t again = events[at].serve >= options_.holeTo ? events[at].serve : 0x1FFFFu;
                lacking = 1u | (again << 15);
            }
            previousLast = last;
            ok = send(kFeedCatchUpBlock, 0, FeedCatchUpBlock(events[at].serve * 20, records, lacking));
            if (!paced)
                continue;
            std::this_thread::sleep_for(std::chrono::milliseconds(kBackfillBlockPaceMs));
            pollAbort();
            if (abortBackfill)
                break;
        }
        return ok && (priority || send(kFeedStatus, 7, U16Payload(day)));
    };
    // The weekdays before the served day that a backfill can bring, newest first, and the day itself.
    auto backfillDays = [&] {
        std::vector<BackfillDayInfo> days{{day_, 1}};
        PackedDate d = day_;
        for (int i = 0; i < options_.backfillDays; ++i)
            days.push_back({d = PreviousWeekday(d, false), 1});
        return days;
    };
    // A backfill request: u32 exchanges, u16 overwrite, u16 count, the days. London's days are served
    // whole from the day generator; other exchanges have nothing here.
    auto backfill = [&](std::span<const uint8_t> request) {
        if (request.size() < 8 || !(LoadU32(request.data()) & 0x300))
            return true;
        size_t count = std::min<size_t>(LoadU16(request.data() + 6), (request.size() - 8) / 2);
        for (size_t i = 0; i < count; ++i) {
            PackedDate day = LoadU16(request.data() + 8 + 2 * i);
            if (day == day_)
                continue; // today's day comes live
            std::vector<SimulatedShare> shares = shares_;
            for (SimulatedShare& sh : shares)
                sh.events = SimulatedShareDay(sh, day);
            std::vector<TimedEvent> events = Timeline(shares, day);
            std::map<uint16_t, bool> seenThatDay;
            if (!catchUp(day, events, events.size(), seenThatDay, true))
                return false;
            if (abortBackfill == 2)
                break;
            abortBackfill = 0;
        }
        abortBackfill = 0;
        return true;
    };

    SimulatedMembers members(members_);
    auto sendAll = [&](const std::vector<FeedFrame>& frames) {
        bool ok = true;
        for (const FeedFrame& f : frames)
            ok = ok && send(f.kind, f.code, f.payload);
        return ok;
    };

    FeedFrame frame;
    bool loggedOn = false;
    size_t next = 0;
    // The time up to which this connection has had the day: a gap answer brings nothing later, which
    // the live records will bring.
    uint32_t sentUpTo = 0;
    std::map<uint16_t, bool> seen;
    bool alive = true;
    while (alive && !stop_) {
        pollfd p{fd, POLLIN, 0};
        int ready = poll(&p, 1, 20);
        if (ready > 0) {
            uint8_t buffer[4096];
            ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            reader.Add(std::span(buffer, size_t(n)));
        }
        FeedFrameReader::Result r = FeedFrameReader::Result::Frame;
        auto nextFrame = [&](FeedFrame& f) {
            if (pending.empty())
                return reader.Next(f);
            f = std::move(pending.front());
            pending.pop_front();
            return FeedFrameReader::Result::Frame;
        };
        while (alive && (r = nextFrame(frame)) == FeedFrameReader::Result::Frame) {
            if (frame.kind != kFeedRequest)
                continue;
            if (loggedOn && frame.code == kRequestBackfillDays) {
                alive = send(kFeedBackfillDays, 0, EncodeBackfillDays(backfillDays()));
                continue;
            }
            if (loggedOn && frame.code == kRequestBackfill) {
                alive = backfill(frame.payload);
                continue;
            }
            if (loggedOn && frame.code == kRequestGap && frame.payload.size() >= 10) {
                ++gapRequests_;
                RTRequestFields request = UnpackRTRequestRecord(std::span<const uint8_t, 10>(frame.payload.data(), 10));
                for (const std::vector<uint8_t>& answer : GapAnswer(request, day_, timeline, sentUpTo))
                    alive = alive && send(kFeedBackfillAnswer, 0, answer);
                continue;
            }
            if (loggedOn && frame.code == kRequestAgreement) {
                agreements_.Receive(frame.payload);
                continue;
            }
            if (loggedOn && SimulatedMembers::IsMessagingRequest(frame.code)) {
                alive = sendAll(members.Request(frame, SimulatedMembers::Clock::now()));
                continue;
            }
            if (frame.code != kFeedLogOn || loggedOn)
                continue;
            // The account, the password and the status information, each answered by its step.
            alive = send(kFeedStatus, 4, {}) && send(kFeedStatus, 5, {});
            if (alive && options_.refuseStep) {
                send(kFeedStatus, uint8_t(options_.refuseStep), {});
                alive = false;
                break;
            }
            std::vector<uint8_t> logOn(8);
            StoreU32(logOn.data(), agreements_.completed());
            StoreU32(logOn.data() + 4, options_.levels);
            alive = alive && send(kFeedStatus, kFeedLogOnStatus, logOn);
            loggedOn = true;
            // Definitions, then the day so far as catch-up blocks, then the day-complete status.
            // Prices go in hundredths (price scale 2); a definition older than the store's would be
            // ignored and leave the store's scale, so each one is the store's next.
            for (const SimulatedShare& s : shares_)
                send(kFeedDefinition, 0,
                     FeedInstrumentDefinition(MakeRTKey(0, s.share), s.shortName, s.longName,
                                              uint16_t(s.storedSequence + 1), kCodedPriceScale, 0, 1));
            uint32_t now = Now();
            size_t end = size_t(std::find_if(served.begin(), served.end(), [&](const TimedEvent& t) { return t.serve > now; }) -
                                served.begin());
            alive = alive && sendAll(members.LogOnFrames());
            // Shares the log-on names (u16 count, u32 keys after the day) come first, in a priority
            // catch-up, and the rest of the day after them.
            std::vector<uint16_t> priority;
            for (size_t i = 0; frame.payload.size() >= 4 && i < LoadU16(frame.payload.data() + 2) &&
                               4 + 4 * i + 4 <= frame.payload.size();
                 ++i)
                priority.push_back(RTKeyShare(LoadU32(frame.payload.data() + 4 + 4 * i)));
            {
                std::lock_guard guard(clientsMutex_);
                lastPriority_ = priority;
            }
            if (priority.empty()) {
                alive = alive && catchUp(day_, served, end, seen, false);
            } else {
                std::vector<TimedEvent> first, rest;
                for (size_t i = 0; i < end; ++i)
                    (std::find(priority.begin(), priority.end(), served[i].share) != priority.end() ? first : rest)
                        .push_back(served[i]);
                alive = alive && catchUp(day_, first, first.size(), seen, false, true) &&
                        catchUp(day_, rest, rest.size(), seen, false);
            }
            next = end;
            sentUpTo = now;
        }
        if (r == FeedFrameReader::Result::Bad)
            alive = false;
        if (!alive || !loggedOn)
            continue;
        alive = sendAll(members.Due(SimulatedMembers::Clock::now()));
        const uint32_t now = Now();
        for (; alive && next < served.size() && served[next].serve <= now; ++next) {
            bool first = !seen[served[next].share];
            seen[served[next].share] = true;
            alive = send(kFeedLiveRecord, 0, EventRecord(day_, served[next], first, closes[served[next].share]));
        }
        sentUpTo = now;
    }
    // Off the list before the number is free again, so a drop never reaches a later connection.
    {
        std::lock_guard guard(clientsMutex_);
        clientFds_.erase(std::remove(clientFds_.begin(), clientFds_.end(), fd), clientFds_.end());
    }
    close(fd);
}

void FeedSimulator::DropConnections()
{
    std::lock_guard guard(clientsMutex_);
    for (int fd : clientFds_)
        shutdown(fd, SHUT_RDWR);
}

} // namespace qv::dev
