// What the intraday alarm server reads of the market: prices, quotes and bars of a share's day, the
// exchanges' times, the recent-updates ring, the drawn lines with alarms and the clocks. The store's
// answers by default; tests give their own.
#pragma once

#include "realtime/alarms/AlarmRules.h"
#include "realtime/alarms/IndicatorAlarms.h"

#include "core/PackedDate.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

struct Portfolio;
struct RTAlarmSettings;

// The user portfolio with that number in the program's chain; null when there is none.
const Portfolio* UserPortfolio(uint16_t number);

// A drawn line with an alarm on one share.
struct ShareLine {
    uint32_t key = 0;
    AlarmLine line;
};

// The drawn lines with an alarm in one packed lines-and-text item of a share whose two ends lie on the
// day (day number = time / 86400); a line whose alarm word is not a side, or whose price is not a
// number, is passed over. False when the item holds a section of a kind other than 1-3.
bool CollectAlarmLines(std::span<const uint8_t> item, uint32_t shareKey, uint32_t today, std::vector<ShareLine>& lines);

class AlarmMarket {
public:
    virtual ~AlarmMarket() = default;

    virtual int32_t ConnectionStep() const;
    virtual uint32_t Now() const;        // seconds since 1970
    virtual uint32_t Ticks() const;      // milliseconds, wrapping
    virtual uint32_t Today() const;      // the packed date of today
    virtual uint32_t LatestTime(uint8_t exchange) const;
    virtual uint32_t OpenTime(uint8_t exchange) const;
    virtual std::string ZoneLabel(uint8_t exchange) const;
    virtual std::string ShareName(uint32_t key) const;

    // Prices of the current day (0 when there is none).
    virtual float LatestPrice(uint32_t key) const;
    virtual float TodayHigh(uint32_t key) const;
    virtual float OpenPrice(uint32_t key) const;
    // The close `days` trading days back.
    virtual float CloseDaysBack(uint32_t key, int days) const;
    virtual std::vector<AlarmQuote> Quotes(uint32_t key) const;
    // The day's bars of the length when the share's day data is in memory; false otherwise.
    virtual bool Bars(uint32_t key, int32_t barLength, int32_t start, int32_t end, std::vector<AlarmBar>& bars,
                      int32_t& firstTime) const;
    // The stop-loss high of a share since a time (seconds since 1970): the mid prices of its day's
    // quotes after it, the daily highs of the days between its day and today, and today's high; 0 when
    // none is positive.
    float HighSince(uint32_t key, uint32_t from) const;
    // The quotes of an earlier day the intraday store holds for the share (none when it holds none).
    virtual std::vector<AlarmQuote> DayQuotes(uint32_t key, PackedDate day) const;
    // The highest daily high of the end-of-day history strictly between two days; 0 when none.
    virtual float DailyHighBetween(uint32_t key, PackedDate after, PackedDate before) const;

    // The shares of the recent-updates ring from `index` up to its newest, wrapping from 499 to 0;
    // `index` becomes the newest.
    virtual std::vector<uint32_t> UpdatesSince(uint16_t& index) const;
    // The shares the settings' source names (the whole list, the FTSE 100, or a portfolio).
    virtual std::vector<uint32_t> SourceShares(RTAlarmSettings& settings) const;
    // The drawn lines with an alarm whose ends both lie on today; false (after telling the user) when
    // the store is corrupt.
    virtual bool Lines(std::vector<ShareLine>& lines) const;
};

} // namespace qv
