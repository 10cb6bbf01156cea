// The feed's settings and the rules of its dialogs that need no window.
#include "realtime/RTFeedSettings.h"

#include "core/ConfigDefaults.h"
#include "core/ConfigState.h"
#include "core/StringPrintf.h"
#include "platform/ByteOrder.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"

#include <algorithm>

namespace qv {
namespace {

// Option block A places (docs/DATA.md): a stamp, then the fields in this order.
constexpr size_t kStamp = 720;
constexpr size_t kPurgeMode = 721;
constexpr size_t kPurgeLimit = 722;
constexpr size_t kPurgeMethod = 723;
constexpr size_t kKeepDays = 724;
constexpr size_t kPurgeDate = 726;
constexpr size_t kKeepMBytes = 728;
constexpr size_t kDelivery = 732;
constexpr size_t kBackfill = 736;
constexpr size_t kFlags = 740;
constexpr size_t kOverseas = 741;
constexpr size_t kUpdateRate = 742;
constexpr size_t kUserMinutes = 744; // u16 open and close minutes per exchange, to 819
constexpr size_t kUserSeconds = 820; // u32 open and close seconds per exchange, to 971
static_assert(kUserSeconds + 8 * kMarketHoursExchanges <= 980, "the feed settings end before the colour selector's");

enum : uint8_t {
    kFlagLevelsChosen = 1,
    kFlagNoAlert = 2,
    kFlagPriorityBackfill = 4,
    kFlagAutoConnect = 8,
    kFlagNoZodNews = 16,
    kFlagUsNoteOff = 32,
};

constexpr uint32_t Hm(uint32_t h, uint32_t m) { return h * 3600 + m * 60; }

} // namespace

uint32_t PackDeliveryLevels(const std::array<int, kLevelGroups>& levels)
{
    uint32_t word = kLondonAtMax;
    for (int g = 0; g < kLevelGroups; ++g)
        word |= uint32_t(std::clamp(levels[size_t(g)], 0, 3)) << (2 * g);
    return word;
}

uint32_t PackBackfillLevels(const std::array<int, kLevelGroups>& delivery, int backfillRow)
{
    std::array<int, kLevelGroups> levels{};
    for (int g = 0; g < kLevelGroups; ++g)
        levels[size_t(g)] = std::min(backfillRow, delivery[size_t(g)]);
    return PackDeliveryLevels(levels);
}

int BackfillRowLevel(uint32_t backfillWord)
{
    int level = 0;
    for (int g = 0; g < kLevelGroups; ++g)
        level = std::max(level, GroupLevel(backfillWord, g));
    return level;
}

uint32_t BackfillExchangeMask(const BackfillChoice& choice, uint32_t backfillWord)
{
    uint32_t mask = 0;
    for (int g = 0; g < kLevelGroups; ++g)
        if (choice.groups[size_t(g)])
            mask |= 3u << (2 * g);
    mask &= backfillWord & 0xFF;
    if (choice.london)
        mask |= kLondonAtMax;
    return mask;
}

std::vector<uint8_t> PackBackfillRequest(const BackfillChoice& choice, uint32_t backfillWord)
{
    std::vector<uint8_t> record(8 + 2 * choice.days.size());
    StoreU32(record.data(), BackfillExchangeMask(choice, backfillWord));
    StoreU16(record.data() + 4, choice.overwrite ? 1 : 0);
    StoreU16(record.data() + 6, uint16_t(choice.days.size()));
    for (size_t i = 0; i < choice.days.size(); ++i)
        StoreU16(record.data() + 8 + 2 * i, choice.days[i]);
    return record;
}

std::vector<uint32_t> AgreementCommands(uint32_t deliveryWord, uint32_t completedMask)
{
    std::vector<uint32_t> commands;
    if ((deliveryWord & 0x0C) && !(completedMask & kNyseAgreementDone))
        commands.push_back(kCommandNyseAgreement);
    if ((deliveryWord & 0xC3) && !(completedMask & kNasdaqAgreementDone))
        commands.push_back(kCommandNasdaqAgreement);
    return commands;
}

PurgeOutcome RTPurgeOutcome(const std::vector<RTHistoryDay>& history, PurgeMethod method, uint32_t keepDays,
                            uint32_t keepMBytes, PackedDate from)
{
    PurgeOutcome kept;
    const uint64_t limit = uint64_t(keepMBytes) * 1024 * 1024;
    for (auto d = history.rbegin(); d != history.rend(); ++d) {
        bool keep = false;
        switch (method) {
        case PurgeMethod::Time: keep = uint32_t(kept.days) < keepDays; break;
        case PurgeMethod::Storage: keep = kept.bytes + d->bytes <= limit; break;
        case PurgeMethod::Date: keep = d->day >= from; break;
        }
        if (!keep)
            break;
        ++kept.days;
        kept.bytes += d->bytes;
    }
    return kept;
}

PurgeDue PurgeDueOnNewDay(const RTFeedSettings& settings, const std::vector<RTHistoryDay>& history)
{
    if (settings.purgeMode > 1 || history.empty())
        return PurgeDue::None;
    PurgeOutcome kept = RTPurgeOutcome(history, PurgeLimitMethod(settings), settings.keepDays, settings.keepMBytes, 0);
    if (size_t(kept.days) >= history.size())
        return PurgeDue::None;
    return settings.purgeMode == 0 ? PurgeDue::Automatic : PurgeDue::Reminder;
}

PurgeMethod PurgeLimitMethod(const RTFeedSettings& settings)
{
    return settings.purgeLimit == 1 ? PurgeMethod::Storage : PurgeMethod::Time;
}

std::string PurgeMBytesText(uint64_t bytes) { return StringPrintf("%0.2f", double(bytes / 1024) / 1024.0); }

const std::array<MarketHours, kMarketHoursExchanges>& DefaultMarketHours()
{
    static const std::array<MarketHours, kMarketHoursExchanges> table{{
        {"LSE", Hm(8, 0), Hm(16, 30)},
        {"NYSE", Hm(9, 30), Hm(16, 0)},
        {"AMEX", Hm(9, 30), Hm(16, 0)},
        {"NASDAQ(NM)", Hm(9, 30), Hm(16, 0)},
        {"NASDAQ(SC)", Hm(9, 30), Hm(16, 0)},
        {"NASDAQ Indices", Hm(9, 30), Hm(16, 0)},
        {"Euronext", Hm(8, 0), Hm(17, 30)},
        {"XETRA", Hm(9, 0), Hm(20, 0)},
        {"FOREX", Hm(7, 0), Hm(17, 0)},
        {"US Indices", Hm(9, 30), Hm(16, 0)},
        {"UK Indices", Hm(8, 0), Hm(16, 30)},
        {"European Indices (EET)", Hm(8, 0), Hm(17, 30)},
        {"European Indices (CET)", Hm(8, 0), Hm(17, 30)},
        {"European Indices (WET)", Hm(8, 0), Hm(17, 30)},
        {"European Indices (UTC)", Hm(8, 0), Hm(17, 30)},
        {"Global Indices", Hm(0, 0), Hm(24, 0)},
        {"Gilts", Hm(8, 0), Hm(16, 30)},
        {"Unit Trusts", Hm(8, 0), Hm(16, 30)},
        {"London Bullion Market", Hm(8, 0), Hm(16, 30)},
    }};
    return table;
}

RTFeedSettings ReadRTFeedSettings(const OptionBlockA& block)
{
    RTFeedSettings s;
    for (int i = 0; i < kMarketHoursExchanges; ++i) {
        s.userOpen[size_t(i)] = DefaultMarketHours()[size_t(i)].open;
        s.userClose[size_t(i)] = DefaultMarketHours()[size_t(i)].close;
    }
    const uint8_t* b = block.data();
    if (b[kStamp] != 1)
        return s;
    s.purgeMode = std::min<uint8_t>(b[kPurgeMode], 2);
    s.purgeLimit = b[kPurgeLimit] ? 1 : 0;
    s.purgeMethod = PurgeMethod(std::min<uint8_t>(b[kPurgeMethod], 2));
    s.keepDays = LoadU16(b + kKeepDays);
    s.purgeDate = LoadU16(b + kPurgeDate);
    s.keepMBytes = LoadU32(b + kKeepMBytes);
    s.deliveryLevels = LoadU32(b + kDelivery) | kLondonAtMax;
    s.backfillLevels = LoadU32(b + kBackfill) | kLondonAtMax;
    const uint8_t flags = b[kFlags];
    s.levelsChosen = flags & kFlagLevelsChosen;
    s.disconnectAlert = !(flags & kFlagNoAlert);
    s.priorityBackfill = flags & kFlagPriorityBackfill;
    s.autoConnect = flags & kFlagAutoConnect;
    s.zodNewsDisabled = flags & kFlagNoZodNews;
    s.usBackfillNoteOff = flags & kFlagUsNoteOff;
    s.overseasHistory = std::min<uint8_t>(b[kOverseas], 5);
    s.updateRate = std::clamp<uint8_t>(b[kUpdateRate], 1, 25);
    for (size_t i = 0; i < size_t(kMarketHoursExchanges); ++i) {
        s.userOpen[i] = std::min<uint32_t>(LoadU32(b + kUserSeconds + 8 * i), 86400);
        s.userClose[i] = std::min<uint32_t>(LoadU32(b + kUserSeconds + 8 * i + 4), 86400);
    }
    return s;
}

void RemapOldLevelWords(OptionBlockA& block)
{
    uint8_t* b = block.data();
    if (b[kStamp] != 1)
        return;
    auto remap = [](uint32_t old, int newBit) {
        uint32_t word = kLondonAtMax;
        for (int g = 0; g < kLevelGroups; ++g)
            if (old >> g & 1)
                word |= 1u << (2 * g + newBit);
        return word;
    };
    StoreU32(b + kDelivery, remap(LoadU32(b + kDelivery), 1));
    StoreU32(b + kBackfill, remap(LoadU32(b + kBackfill), 0));
}

void WriteRTFeedSettings(OptionBlockA& block, const RTFeedSettings& s)
{
    uint8_t* b = block.data();
    b[kStamp] = 1;
    b[kPurgeMode] = s.purgeMode;
    b[kPurgeLimit] = s.purgeLimit;
    b[kPurgeMethod] = uint8_t(s.purgeMethod);
    StoreU16(b + kKeepDays, s.keepDays);
    StoreU16(b + kPurgeDate, s.purgeDate);
    StoreU32(b + kKeepMBytes, s.keepMBytes);
    StoreU32(b + kDelivery, s.deliveryLevels);
    StoreU32(b + kBackfill, s.backfillLevels);
    b[kFlags] = uint8_t((s.levelsChosen ? kFlagLevelsChosen : 0) | (s.disconnectAlert ? 0 : kFlagNoAlert) |
                        (s.priorityBackfill ? kFlagPriorityBackfill : 0) | (s.autoConnect ? kFlagAutoConnect : 0) |
                        (s.zodNewsDisabled ? kFlagNoZodNews : 0) | (s.usBackfillNoteOff ? kFlagUsNoteOff : 0));
    b[kOverseas] = s.overseasHistory;
    b[kUpdateRate] = s.updateRate;
    for (size_t i = 0; i < size_t(kMarketHoursExchanges); ++i) {
        StoreU16(b + kUserMinutes + 4 * i, uint16_t(s.userOpen[i] / 60));
        StoreU16(b + kUserMinutes + 4 * i + 2, uint16_t(s.userClose[i] / 60));
        StoreU32(b + kUserSeconds + 8 * i, s.userOpen[i]);
        StoreU32(b + kUserSeconds + 8 * i + 4, s.userClose[i]);
    }
}

namespace {
// Offsets of the global alarm settings past the move rows (see core/ConfigDefaults' layout).
constexpr size_t kMaBytes = AlarmSettingsLayout::MoveBytes;
constexpr size_t kKept116 = AlarmSettingsLayout::Threshold + 4;
} // namespace

RTAlarmSettings RTAlarmSettings::Read(const RTAlarmSettingsRecord& record)
{
    using namespace AlarmSettingsLayout;
    const uint8_t* p = record.data();
    RTAlarmSettings s;
    s.source = p[Flag];
    s.portfolio = LoadU16(p + Flag + 2);
    s.mode = LoadU32(p + Word);
    for (size_t i = 0; i < kSlots; ++i)
        std::copy_n(p + Moves + i * MoveRowSize, MoveRowSize, s.moves[i].begin());
    s.maOn = p[kMaBytes];
    s.shortCount = p[kMaBytes + 1];
    s.shortType = p[kMaBytes + 2];
    s.longCount = p[kMaBytes + 3];
    s.longType = p[kMaBytes + 4];
    s.barMinutes = p[kMaBytes + 5];
    s.triggerLevel = LoadF32(p + Threshold);
    std::copy_n(p + kKept116, s.kept116.size(), s.kept116.begin());
    int16_t* words[] = {&s.macdLong, &s.macdShort, &s.macdSignal, &s.rsiCount, &s.rsiSmoothing, &s.rsiLow, &s.rsiHigh,
                        &s.stochCount, &s.stochSlowing, &s.stochSignal, &s.stochMaType, &s.stochLow, &s.stochHigh,
                        &s.stochChecks, &s.maCrossFlags};
    for (size_t i = 0; i < std::size(words); ++i)
        *words[i] = LoadI16(p + Indicators + 2 * i);
    return s;
}

void RTAlarmSettings::Write(RTAlarmSettingsRecord& record) const
{
    using namespace AlarmSettingsLayout;
    uint8_t* p = record.data();
    p[Flag] = source;
    p[Flag + 1] = 0;
    StoreU16(p + Flag + 2, portfolio);
    StoreU32(p + Word, mode);
    for (size_t i = 0; i < kSlots; ++i)
        std::copy(moves[i].begin(), moves[i].end(), p + Moves + i * MoveRowSize);
    const uint8_t ma[6] = {maOn, shortCount, shortType, longCount, longType, barMinutes};
    std::copy(std::begin(ma), std::end(ma), p + kMaBytes);
    StoreF32(p + Threshold, triggerLevel);
    std::copy(kept116.begin(), kept116.end(), p + kKept116);
    const int16_t words[] = {macdLong, macdShort, macdSignal, rsiCount, rsiSmoothing, rsiLow, rsiHigh, stochCount,
                             stochSlowing, stochSignal, stochMaType, stochLow, stochHigh, stochChecks, maCrossFlags};
    for (size_t i = 0; i < std::size(words); ++i)
        StoreI16(p + Indicators + 2 * i, words[i]);
}

RTAlarmSettings RTAlarmSettings::Defaults()
{
    RTAlarmSettingsRecord record;
    SetDefaultAlarmMoves(record);
    SetDefaultAlarmIndicators(record);
    return Read(record);
}

RTAlarmSettings RTAlarmSettings::Current() { return Read(Config().intradayAlarms.settings); }

void RTAlarmSettings::Store() const { Write(Config().intradayAlarms.settings); }

IntradayAlarmActions RTAlarmSettings::Actions()
{
    const IntradayAlarmConfig& c = Config().intradayAlarms;
    const uint8_t* b = c.actions.data();
    IntradayAlarmActions a;
    a.showDialog = b[0] & 1;
    a.audio = b[0] & 2;
    a.log = b[0] & 4;
    a.wave = b[0] & 8;
    a.flash = b[0] & 16;
    a.startDelay = LoadU32(b + 1) >= 900 ? 900 : 0;
    a.limit = b[5] != 0;
    const uint16_t minutes = LoadU16(b + 6);
    a.minutes = minutes == 0 ? 60 : std::min<uint16_t>(minutes, 1440);
    a.logFile = c.logFile.value_or("");
    a.soundFile = c.soundFile.value_or("");
    return a;
}

void RTAlarmSettings::SetActions(const IntradayAlarmActions& a)
{
    IntradayAlarmConfig& c = Config().intradayAlarms;
    uint8_t* b = c.actions.data();
    b[0] = uint8_t((a.showDialog ? 1 : 0) | (a.audio ? 2 : 0) | (a.log ? 4 : 0) | (a.wave ? 8 : 0) | (a.flash ? 16 : 0));
    StoreU32(b + 1, a.startDelay);
    b[5] = a.limit ? 1 : 0;
    StoreU16(b + 6, a.minutes);
    c.logFile = a.logFile;
    c.soundFile = a.soundFile;
}

RTFeedSettings CurrentRTFeedSettings() { return ReadRTFeedSettings(Config().optionsA); }

uint8_t RTRollUpLevel(const RTFeedSettings& settings)
{
    return settings.overseasHistory ? uint8_t(std::min<int>(settings.overseasHistory - 1, 4)) : 0;
}

void ApplyRTFeedSettings(const RTFeedSettings& settings)
{
    TheRTStore().rollUpLevel = RTRollUpLevel(settings);
    TheRTEngine().updateRate = uint8_t(std::clamp<int>(settings.updateRate, 1, 25));
}

void StoreRTFeedSettings(const RTFeedSettings& settings)
{
    WriteRTFeedSettings(Config().optionsA, settings);
    ApplyRTFeedSettings(settings);
}

} // namespace qv
