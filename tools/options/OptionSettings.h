// The settings the options sheet edits, each with one place: the holders the program reads (lists,
// charts, clipboard, switches, rates, portfolios), the holders of the price files and the alarm
// portfolio added here, their places in the option blocks (core/ConfigRecords.h) and the
// communications settings, which live in the registry like the account they belong with.
#pragma once

#include "core/ConfigState.h"

#include <cstdint>
#include <string>

namespace qv {

// Export and import of price files (the Export and Import pages). Format bytes: bits 0-1 the date
// order (day month year, month day year, year month day), bit 3 a four-digit year, bit 4 a date
// separator; export bit 5 adjusted prices, bit 6 the latest price line of a transaction table, bit 7
// OHLCV in a share's history. Export byte 2: bit 0 prices in pence, bit 1 no header line.
struct PriceFileOptions {
    uint8_t exportFormat = 0x18;
    uint8_t exportFormat2 = 0;
    char exportSeparator = ',';
    char exportDateSeparator = '/';
    uint8_t importFormat = 0x18;
    char importSeparator = ',';
    char importDateSeparator = '/';
    bool importDateSeparatorUsed = true;
    bool importReplaceDates = true;
    bool importFileNameForShare = true;
    bool importNoCommaDecimal = true; // "Allow comma as decimal point" cleared
    uint8_t importErrorLevel = 1;     // 0 none, 1 at the end, 2 every error
    uint8_t importOverwrite = 0;      // 0 append, 1 replace
    bool operator==(const PriceFileOptions&) const = default;
};
PriceFileOptions& PriceFileSettings();

// The "Alarms" pre-set portfolio's settings (the Pre-set Portfolios page); its check-back is the
// range the alarm portfolios test (`GetAlarmPortfolioHooks().range`: 0 none, 1 the last days, 2 back
// to the previous update), 1 day by default.
struct AlarmPortfolioOptions {
    bool showAlarmList = true;        // the list of alarms after each update
    bool goToAlarms = false;          // the "Alarms" portfolio after each update
    bool intermediateRises = false;
    bool operator==(const AlarmPortfolioOptions&) const = default;
};
AlarmPortfolioOptions& AlarmPortfolioSettings();

// Where an options sheet of three pages or more opens.
uint8_t& RememberedOptionsPage();

// The Lists page's list scale by button: 0 "80%", 1 "90%", 2 "100%" (control ids 1208-1210).
inline constexpr int kListScaleButtonFirst = 1208;
uint8_t& ListScaleButton();
// The intraday settings of the Lists page, kept while the real-time option is off.
struct MicrographOptions {
    bool stepped = false;
    bool autoResort = false;
    int16_t startOffset = 0; // seconds
    bool operator==(const MicrographOptions&) const = default;
};
MicrographOptions& MicrographSettings();

// Holders <-> option blocks. Storing writes every place and the stamp; loading a block without the
// stamp (a file older than these places) stores the holders' defaults first.
void StoreOptionHolders(ConfigState& state);
void LoadOptionHolders(ConfigState& state);
// Start-up's defaults: every holder to its defaults, then into the blocks.
void ResetOptionHolders();
void SetOptionBlockDefaults(ConfigState& state);
// What a configuration may lack: the rates when the first is 0, and the list scale applied.
void ApplyOldOptionDefaults();

// The end-of-day update connection (Communications page), kept in the registry section "Comms".
struct CommsSettings {
    uint8_t method = 2;                // 0 "Modem (Windows)", 1 "Modem (Direct)", 2 "Internet"
    int32_t modem = 0;
    int32_t port = 0;                  // "COM1" ...
    int32_t speed = 6;                 // "2400" ... "115200"
    std::string address, alternativeAddress, phone, alternativePhone;
    std::string account;               // at most 7 characters
    std::string password;              // plain here, scrambled in the registry; at most 9
    bool winsock2 = true;
    bool noUpdateAlert = false;        // "Alert me when end of day update is complete" cleared
    std::string dialCommand = "ATDT";
    std::string initString = "AT&F";
    int32_t dialTimeout = 120;
    bool dialUpEnabled = false;
    bool useExistingConnection = true;
    std::string dialUpUser, dialUpPassword;
    std::string modemName;
    bool operator==(const CommsSettings&) const = default;
};
inline constexpr size_t kAccountLength = 7;
inline constexpr size_t kCommsPasswordLength = 9;
inline constexpr size_t kModemStringLength = 255;
inline constexpr int32_t kDialTimeoutMax = 900;

CommsSettings LoadCommsSettings();
void SaveCommsSettings(const CommsSettings& settings);
// The stored form of the comms password and back.
std::string ScrambleCommsPassword(const std::string& plain);
std::string UnscrambleCommsPassword(const std::string& stored);

} // namespace qv
