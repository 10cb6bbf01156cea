// `CIntradayColumnSpec`: the choice of an intraday list column that the basic and advanced "Add an
// Intraday column" dialogs hand back and forth, its rules (one radio choice at a time), the column
// record it becomes and the column's generated name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

// The radio buttons of the advanced dialog, one id each (0 is none).
enum class IntradayChoice : uint16_t {
    None = 0,
    // " Price "
    MidBidOffer, Bid, Offer, SpreadPercent, Vwap, PriceTime, PriceTimeSince,
    // " Trades "
    TradePrice, Volume, Value, Count, TradeTime, TradeTimeSince,
    // " Volume Type "
    Total, TotalBuys, TotalSells, TotalUnknowns, LastTrade,
    // " Graphs "
    Graph, SpreadGraph, Thermograph, BuySellBar, TickChanges,
    // " Open / Close "
    TodaysOpen, TodaysClose,
    // " Price Type "
    Price, High, Low, Range, Average,
    // " Value "
    LatestValue, PercentFromOpen, ChangeFromOpen, PercentFromClose, ChangeFromClose,
    // " High/Low "
    HighLowValue, HighLowTime, HighLowTimeSince,
    // " Time "
    Today, PreviousDays,
};

// The radio buttons of the basic dialog.
enum class IntradayBasic : uint16_t {
    None = 0, PriceMid, PricePercentFromOpen, PricePercentFromClose, Open, High, Low, Close, Volume, Graph, Thermograph,
};

// Value kinds, forms and display kinds of an intraday column.
enum IntradayValueKind : uint8_t {
    kIntradayLatest = 0, kIntradayHigh = 1, kIntradayLow = 2, kIntradayRange = 3, kIntradayLastTrade = 4,
    kIntradayTotal = 5, kIntradayBuys = 6, kIntradaySells = 7, kIntradayUnknowns = 8, kIntradayAverage = 9,
};
constexpr uint8_t kIntradayPreviousDaysBit = 0x20; // in the form: the days-back count applies
enum IntradayDisplay : uint8_t {
    kIntradayShowValue = 1, kIntradayShowGraph = 3, kIntradayShowTicks = 4, kIntradayShowThermograph = 5,
    kIntradayShowBuySellBar = 7,
};
constexpr uint16_t kMostIntradayDaysBack = 1000;
constexpr uint16_t kIntradayGraphWidth = 100;

// The option bytes of an intraday column record (kind 0x82): 27 value kind, 28 form, 29-30 u16 days
// back; byte 3 the display kind, byte 5 the format byte.
namespace IntradayColumnLayout {
constexpr size_t Display = 3, Format = 5, Width = 24, Letter = 26, ValueKind = 27, Form = 28, DaysBack = 29, Size = 31;
}

struct CIntradayColumnSpec {
    uint8_t valueKind = 0;
    uint8_t form = 0;
    uint16_t daysBack = 0;
    uint8_t display = kIntradayShowValue;
    uint8_t letter = 'K';
    uint8_t format = 16;
    uint8_t basicGroup = 0; // 0 price, 1 volume, 2 graph, 3 open/close
    // The choice in each radio group; None while the group is not in use.
    IntradayChoice main = IntradayChoice::None; // the tab's own group: price, trades, graphs, open/close
    IntradayChoice volumeType = IntradayChoice::None;
    IntradayChoice priceType = IntradayChoice::None;
    IntradayChoice highLow = IntradayChoice::None;
    IntradayChoice value = IntradayChoice::None;
    IntradayChoice days = IntradayChoice::None;
    IntradayBasic basic = IntradayBasic::None;

    // A new spec: Mid bid/offer, Price, Latest Value.
    static CIntradayColumnSpec Initial();

    // Applies one radio choice of the advanced dialog, then derives the format byte.
    void Choose(IntradayChoice control);
    // Applies one choice of the basic dialog.
    void ChooseBasic(IntradayBasic control);
    // The basic choice shown for the spec's basic group when it comes back from the advanced dialog.
    IntradayBasic BasicOfGroup() const;

    // The column record made from a template of the shares catalogue (the letter's template); empty
    // when the template is not sound (its length byte 0 or 100 and more).
    std::vector<uint8_t> BuildColumn(std::span<const uint8_t> templ) const;

    // The name of an intraday column record, cut to `capacity` bytes with its NUL.
    static size_t GetTitle(const uint8_t* column, char* text, size_t capacity);
    static std::string Title(const uint8_t* column);

private:
    void Use(IntradayChoice& group, IntradayChoice initial);
    void Drop(IntradayChoice& group);
    void DeriveFormat();
};

// The days typed into the days box as the column keeps them: counted only with "Previous days:",
// at most 1000 (`clamped` tells the caller to say so).
uint16_t IntradayDaysFromText(const std::string& text, bool previousDays, bool& clamped);
constexpr const char* kIntradayDaysMessage = "Maximum number of days behind is 1,000";

// The letter's column name ("Today's open" .. "Trade time since"); "" outside 'G'-'U'.
const char* IntradayLetterName(uint8_t letter);

} // namespace qv
