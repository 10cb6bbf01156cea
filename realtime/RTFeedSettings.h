// The feed's settings in option block A (levels, purge, display and connection flags, market hours),
// the level words' packing, the backfill request record, the purge outcome and the agreements check.
#pragma once

#include "core/ConfigRecords.h"
#include "core/PackedDate.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// Exchange groups of the level words, two bits each from bit 0; London takes bits 8-9, always 3.
enum LevelGroup : int { kLevelNasdaq = 0, kLevelNyseAmex = 1, kLevelForex = 2, kLevelIndices = 3 };
constexpr int kLevelGroups = 4;
constexpr uint32_t kLondonAtMax = 0x300;
constexpr int kLevelMax = 3, kLevelNormal = 2, kLevelMin = 1, kLevelNone = 0;
inline constexpr std::array<const char*, kLevelGroups> kLevelGroupNames{"NASDAQ", "NYSE/AMEX", "Forex", "Indices"};

inline int GroupLevel(uint32_t word, int group) { return int((word >> (2 * group)) & 3); }
// The radio column of a level ("Max" first) and back.
inline int LevelColumn(int level) { return 3 - level; }
// The delivery word of the four groups' levels, London at Max.
uint32_t PackDeliveryLevels(const std::array<int, kLevelGroups>& levels);
// The backfill word: each group the smaller of the backfill row and its delivery level; London at Max.
uint32_t PackBackfillLevels(const std::array<int, kLevelGroups>& delivery, int backfillRow);
// An older configuration's two level words kept one bit per group (bit 4 London): in the delivery
// word each moves to the upper bit of its group's pair ("Normal"), in the backfill word to the lower
// ("Min"), so that backfill stays within delivery; London is at Max in both. Words never stored are
// left to their defaults.
void RemapOldLevelWords(OptionBlockA& block);
// The backfill row a dialog opens with: the largest of the stored backfill levels.
int BackfillRowLevel(uint32_t backfillWord);

// The backfill request: u32 exchange mask, u16 overwrite, u16 day count, then the days.
struct BackfillChoice {
    bool london = true;
    std::array<bool, kLevelGroups> groups{};
    bool overwrite = true;
    std::vector<PackedDate> days;
};
// The ticked groups' bit pairs masked by the backfill word, London's 0x300 unmasked.
uint32_t BackfillExchangeMask(const BackfillChoice& choice, uint32_t backfillWord);
std::vector<uint8_t> PackBackfillRequest(const BackfillChoice& choice, uint32_t backfillWord);

// The agreement commands to post after connecting, given the delivery word and the mask of the
// agreements the server reports completed (bit 0 NYSE/AMEX, bit 1 NASDAQ).
constexpr uint32_t kCommandNyseAgreement = 27063;
constexpr uint32_t kNyseAgreementDone = 1, kNasdaqAgreementDone = 2; // bits of the completed mask
constexpr uint32_t kCommandNasdaqAgreement = 27064;
std::vector<uint32_t> AgreementCommands(uint32_t deliveryWord, uint32_t completedMask);

// The purge dialog's methods.
enum class PurgeMethod : uint8_t { Time = 0, Storage = 1, Date = 2 };
struct RTHistoryDay {
    PackedDate day = 0;
    uint64_t bytes = 0;
};
struct PurgeOutcome {
    int32_t days = 0;
    uint64_t bytes = 0;
};
// What stays of a history (oldest day first): the newest keepDays days, the newest days whose sizes
// stay within keepMBytes, or the days from the date on.
PurgeOutcome RTPurgeOutcome(const std::vector<RTHistoryDay>& history, PurgeMethod method, uint32_t keepDays,
                            uint32_t keepMBytes, PackedDate from);
// What a new trading day asks of the purge settings: with "Automatic purge" or "Remind me to purge",
// the purge dialog opens (automatically closing, or as a reminder) once the history holds more than
// the days or MBytes it keeps; with "Manual purge", nothing.
enum class PurgeDue : uint8_t { None, Automatic, Reminder };
struct RTFeedSettings;
PurgeDue PurgeDueOnNewDay(const RTFeedSettings& settings, const std::vector<RTHistoryDay>& history);
// The purge dialog's method that the page's limit choice stands for: days kept or MBytes kept.
PurgeMethod PurgeLimitMethod(const RTFeedSettings& settings);
// "%0.2f" of a size in MBytes, as the purge dialog shows it.
std::string PurgeMBytesText(uint64_t bytes);

// Market hours: 19 exchanges, default and user-defined open and close, in seconds of the day.
constexpr int kMarketHoursExchanges = 19;
struct MarketHours {
    const char* name;
    uint32_t open, close;
};
const std::array<MarketHours, kMarketHoursExchanges>& DefaultMarketHours();

struct RTFeedSettings {
    uint8_t purgeMode = 2;         // history page: 0 "Automatic purge", 1 "Remind me to purge", 2 "Manual purge"
    uint8_t purgeLimit = 0;        // 0 keep n days, 1 keep n MBytes
    PurgeMethod purgeMethod = PurgeMethod::Time; // the purge dialog's
    uint16_t keepDays = 25;
    uint32_t keepMBytes = 100;
    PackedDate purgeDate = 0;
    uint32_t deliveryLevels = 0x3FF;
    uint32_t backfillLevels = 0x3FF;
    bool levelsChosen = false;
    bool disconnectAlert = true;   // stored inverted
    bool priorityBackfill = false;
    // Start-up connects only with it; a program that never stored the settings connects, as every
    // run with the feed did before the choice was offered.
    bool autoConnect = true;
    bool zodNewsDisabled = false;
    bool usBackfillNoteOff = false;
    uint8_t overseasHistory = 0;   // 0 none, else 1 + the snapshot list's index
    uint8_t updateRate = 4;        // intraday views repainted n times a second, 1-25
    std::array<uint32_t, kMarketHoursExchanges> userOpen{}, userClose{}; // seconds
    bool operator==(const RTFeedSettings&) const = default;
};
// What an intraday alarm does (the "Intraday Alarms" page): the 13-byte action block holds byte 0 the
// flags, u32 the start delay in seconds at 1, the limit flag at 5 and u16 the minutes at 6; the log
// and sound file names follow it in the configuration.
struct IntradayAlarmActions {
    bool showDialog = true, audio = false, log = false, wave = false, flash = false;
    uint32_t startDelay = 0; // 0 at market open, 900 fifteen minutes later
    bool limit = false;
    uint16_t minutes = 60;   // 1-1440
    std::string logFile, soundFile;
    bool operator==(const IntradayAlarmActions&) const = default;
};
// The global intraday alarm settings, read from and written to the configuration's 156-byte record
// (core/ConfigDefaults' AlarmSettingsLayout). A count stored negative keeps its test off.
struct RTAlarmSettings {
    static constexpr size_t kSlots = 6;
    uint8_t source = 0;          // 0 the whole share list, 1 FTSE 100, 2 a portfolio
    uint16_t portfolio = 0;
    uint32_t mode = 1;
    // Each move row's 16 stored bytes: {f32 percentage, i16 count, 2 pad, i32 kind, u8 on, 3 pad}.
    std::array<std::array<uint8_t, 16>, kSlots> moves{};
    uint8_t maOn = 0, shortCount = 6, shortType = 0, longCount = 12, longType = 0;
    uint8_t barMinutes = 44;     // the defaults store 44; the global dialog stores 5
    float triggerLevel = 0.1f;   // percent
    std::array<uint8_t, 8> kept116{};
    int16_t macdLong = -26, macdShort = 13, macdSignal = 9;
    int16_t rsiCount = -20, rsiSmoothing = 3, rsiLow = 30, rsiHigh = 70;
    // The stochastic's two further values in stored order: the calculator's slowing (its period3),
    // then its signal count (period2).
    int16_t stochCount = -20, stochSlowing = 9, stochSignal = 2, stochMaType = 0, stochLow = 30, stochHigh = 70;
    int16_t stochChecks = 0;     // bit 0 "Check levels", bit 1 "Check for crosses"
    int16_t maCrossFlags = 3;    // bit 0 golden crosses, bit 1 dead crosses

    static RTAlarmSettings Read(const RTAlarmSettingsRecord& record);
    void Write(RTAlarmSettingsRecord& record) const;
    static RTAlarmSettings Defaults();
    // The program's (Config()) settings.
    static RTAlarmSettings Current();
    void Store() const;
    bool operator==(const RTAlarmSettings&) const = default;

    static IntradayAlarmActions Actions();
    static void SetActions(const IntradayAlarmActions& actions);
};

// The settings as option block A holds them; a block that never held them gives the defaults.
RTFeedSettings ReadRTFeedSettings(const OptionBlockA& block);
void WriteRTFeedSettings(OptionBlockA& block, const RTFeedSettings& settings);
// The program's (Config()) settings.
RTFeedSettings CurrentRTFeedSettings();
// Stores the settings and applies what the store and the engine take from them.
void StoreRTFeedSettings(const RTFeedSettings& settings);
// The roll-up level of older days (0 none, 1-4 bars of 1, 5, 10 or 15 minutes) the snapshot choice
// of "Access previous days of overseas intraday history" gives; 0 while the box is clear.
uint8_t RTRollUpLevel(const RTFeedSettings& settings);
void ApplyRTFeedSettings(const RTFeedSettings& settings);

} // namespace qv
