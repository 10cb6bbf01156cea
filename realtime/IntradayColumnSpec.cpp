// The intraday column choice, its record and its name.
#include "realtime/IntradayColumnSpec.h"

#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qv {
namespace {

using C = IntradayChoice;

constexpr const char* kLetterNames[] = {
    "Today's open", "Today's close", "Bid", "Offer", "Mid", "Spread %", "VWAP", "Price time", "Price time since",
    "Trade", "Intraday Volume", "Trade value", "Trade count", "Trade time", "Trade time since",
};

constexpr uint8_t kFormMask = uint8_t(~kIntradayPreviousDaysBit);
constexpr size_t kMostTemplateBytes = 99;

bool KeepsTradeKind(uint8_t kind) { return kind >= kIntradayLastTrade && kind <= kIntradayUnknowns; }

} // namespace

const char* IntradayLetterName(uint8_t letter)
{
    return letter >= 'G' && letter <= 'U' ? kLetterNames[letter - 'G'] : "";
}

CIntradayColumnSpec CIntradayColumnSpec::Initial()
{
    CIntradayColumnSpec spec;
    spec.Choose(C::MidBidOffer);
    return spec;
}

void CIntradayColumnSpec::Use(IntradayChoice& group, IntradayChoice initial)
{
    if (group != C::None)
        return;
    group = initial;
    Choose(initial);
}

void CIntradayColumnSpec::Drop(IntradayChoice& group)
{
    if (group == C::None)
        return;
    group = C::None;
    if (&group == &highLow || &group == &value)
        form &= kIntradayPreviousDaysBit;
    if (&group == &days)
        form &= kFormMask;
}

void CIntradayColumnSpec::Choose(IntradayChoice control)
{
    // What most whole-column choices share: the value reads of one kind, no type groups.
    const auto plainColumn = [this](uint8_t newLetter) {
        Drop(priceType);
        Drop(volumeType);
        Drop(highLow);
        Drop(value);
        letter = newLetter;
        display = kIntradayShowValue;
    };
    const auto smallGraph = [this](uint8_t newLetter, uint8_t newDisplay) {
        Drop(priceType);
        Drop(volumeType);
        Drop(value);
        Drop(highLow);
        Use(days, C::Today);
        letter = newLetter;
        display = newDisplay;
    };
    switch (control) {
    case C::MidBidOffer:
    case C::Bid:
    case C::Offer:
        main = control;
        if (control == C::MidBidOffer)
            basicGroup = 0;
        Use(priceType, C::Price);
        Drop(volumeType);
        letter = control == C::MidBidOffer ? 'K' : control == C::Bid ? 'I' : 'J';
        display = kIntradayShowValue;
        break;
    case C::SpreadPercent:
        main = control;
        plainColumn('L');
        Drop(days);
        valueKind = kIntradayLatest;
        break;
    case C::Vwap:
        main = control;
        plainColumn('M');
        Use(days, C::Today);
        valueKind = kIntradayLatest;
        break;
    case C::PriceTime:
    case C::TradeTime:
        main = control;
        plainColumn(control == C::PriceTime ? 'N' : 'T');
        Drop(days);
        break;
    case C::PriceTimeSince:
        main = control;
        plainColumn('O');
        break;
    case C::TradeTimeSince:
        main = control;
        plainColumn('U');
        Use(days, C::Today);
        break;
    case C::TradePrice:
        main = control;
        basicGroup = 1;
        Use(priceType, C::Price);
        Drop(volumeType);
        letter = 'P';
        if (KeepsTradeKind(valueKind))
            valueKind = kIntradayLatest;
        display = kIntradayShowValue;
        break;
    case C::Volume:
    case C::Value:
    case C::Count:
        main = control;
        Drop(priceType);
        Drop(highLow);
        Drop(value);
        Use(volumeType, C::Total);
        Use(days, C::Today);
        letter = control == C::Volume ? 'Q' : control == C::Value ? 'R' : 'S';
        display = kIntradayShowValue;
        // A count of one last trade says nothing: Count takes the total instead.
        if (control == C::Count && volumeType == C::LastTrade)
            Choose(C::Total);
        break;
    case C::Price:
        priceType = control;
        Use(value, C::LatestValue);
        Drop(highLow);
        Drop(days);
        if (!KeepsTradeKind(valueKind))
            valueKind = kIntradayLatest;
        display = kIntradayShowValue;
        break;
    case C::High:
    case C::Low:
        priceType = control;
        valueKind = control == C::High ? kIntradayHigh : kIntradayLow;
        Drop(value);
        Use(highLow, C::HighLowValue);
        Use(days, C::Today);
        display = kIntradayShowValue;
        break;
    case C::Range:
    case C::Average:
        priceType = control;
        valueKind = control == C::Range ? kIntradayRange : kIntradayAverage;
        Drop(value);
        Drop(highLow);
        Use(days, C::Today);
        display = kIntradayShowValue;
        break;
    case C::Total:
    case C::TotalBuys:
    case C::TotalSells:
    case C::TotalUnknowns:
        volumeType = control;
        valueKind = uint8_t(kIntradayTotal + (uint16_t(control) - uint16_t(C::Total)));
        Drop(priceType);
        Use(volumeType, C::Total);
        Use(days, C::Today);
        display = kIntradayShowValue;
        break;
    case C::LastTrade:
        volumeType = control;
        valueKind = kIntradayLastTrade;
        Drop(priceType);
        Drop(days);
        display = kIntradayShowValue;
        break;
    case C::LatestValue:
    case C::PercentFromOpen:
    case C::PercentFromClose:
    case C::ChangeFromOpen:
    case C::ChangeFromClose: {
        value = control;
        const uint8_t f = control == C::LatestValue        ? 0
                          : control == C::PercentFromOpen  ? 1
                          : control == C::PercentFromClose ? 2
                          : control == C::ChangeFromOpen   ? 5
                                                           : 6;
        form = uint8_t((form & kIntradayPreviousDaysBit) | f);
        break;
    }
    case C::HighLowValue:
    case C::HighLowTime:
    case C::HighLowTimeSince:
        highLow = control;
        form = uint8_t((form & kIntradayPreviousDaysBit) |
                       (control == C::HighLowValue ? 0 : control == C::HighLowTime ? 3 : 4));
        Use(days, C::Today);
        break;
    case C::Today:
        days = control;
        form &= kFormMask;
        break;
    case C::PreviousDays:
        days = control;
        form |= kIntradayPreviousDaysBit;
        break;
    case C::Graph:
    case C::SpreadGraph:
    case C::Thermograph:
        main = control;
        if (control == C::Graph)
            basicGroup = 2;
        smallGraph(control == C::SpreadGraph ? 'L' : 'K', control == C::Thermograph ? kIntradayShowThermograph : kIntradayShowGraph);
        break;
    case C::TickChanges:
    case C::BuySellBar:
        main = control;
        smallGraph('P', control == C::TickChanges ? kIntradayShowTicks : kIntradayShowBuySellBar);
        break;
    case C::TodaysOpen:
    case C::TodaysClose:
        main = control;
        Drop(priceType);
        Drop(volumeType);
        Drop(value);
        Drop(highLow);
        Use(days, C::Today);
        display = kIntradayShowValue;
        if (control == C::TodaysOpen) {
            basicGroup = 3;
            letter = 'G';
            valueKind = kIntradayLatest;
        } else {
            letter = 'H';
            if (KeepsTradeKind(valueKind))
                valueKind = kIntradayLatest;
        }
        break;
    case C::None: break;
    }
    DeriveFormat();
}

void CIntradayColumnSpec::DeriveFormat()
{
    const uint8_t f = form & kFormMask;
    if (f == 1 || f == 2) {
        format = 2;
        return;
    }
    switch (letter) {
    case 'L': format = 2; break;
    case 'N':
    case 'O':
    case 'S':
    case 'T':
    case 'U': format = 0; break;
    case 'Q': format = 195; break;
    case 'R': format = 64; break;
    default: format = 16; break;
    }
}

void CIntradayColumnSpec::ChooseBasic(IntradayBasic control)
{
    basic = control;
    switch (control) {
    case IntradayBasic::PriceMid:
    case IntradayBasic::PricePercentFromOpen:
    case IntradayBasic::PricePercentFromClose:
        Choose(C::MidBidOffer);
        Choose(C::Price);
        Choose(control == IntradayBasic::PriceMid               ? C::LatestValue
               : control == IntradayBasic::PricePercentFromOpen ? C::PercentFromOpen
                                                                : C::PercentFromClose);
        break;
    case IntradayBasic::High:
    case IntradayBasic::Low:
        Choose(C::MidBidOffer);
        Choose(control == IntradayBasic::High ? C::High : C::Low);
        Choose(C::HighLowValue);
        break;
    case IntradayBasic::Open: Choose(C::TodaysOpen); break;
    case IntradayBasic::Close: Choose(C::TodaysClose); break;
    case IntradayBasic::Volume:
        Choose(C::Volume);
        Choose(C::Total);
        break;
    case IntradayBasic::Graph: Choose(C::Graph); break;
    case IntradayBasic::Thermograph: Choose(C::Thermograph); break;
    case IntradayBasic::None: break;
    }
}

IntradayBasic CIntradayColumnSpec::BasicOfGroup() const
{
    switch (basicGroup) {
    case 1: return IntradayBasic::Volume;
    case 2: return IntradayBasic::Graph;
    case 3: return IntradayBasic::Open;
    default: return IntradayBasic::PriceMid;
    }
}

std::vector<uint8_t> CIntradayColumnSpec::BuildColumn(std::span<const uint8_t> templ) const
{
    namespace L = IntradayColumnLayout;
    if (templ.empty() || templ[0] == 0 || templ[0] > kMostTemplateBytes || templ[0] > templ.size() || templ[0] < L::Size)
        return {};
    std::vector<uint8_t> record(templ.begin(), templ.begin() + templ[0]);
    record[L::ValueKind] = valueKind;
    record[L::Form] = form;
    StoreU16(record.data() + L::DaysBack, daysBack);
    record[L::Display] = display;
    if (display >= kIntradayShowGraph)
        StoreU16(record.data() + L::Width, kIntradayGraphWidth);
    record[L::Format] = format;
    return record;
}

size_t CIntradayColumnSpec::GetTitle(const uint8_t* column, char* text, size_t capacity)
{
    if (!text || capacity == 0)
        return 0;
    const std::string title = Title(column);
    const size_t n = std::min(title.size(), capacity - 1);
    std::memcpy(text, title.data(), n);
    text[n] = 0;
    return n;
}

std::string CIntradayColumnSpec::Title(const uint8_t* column)
{
    namespace L = IntradayColumnLayout;
    if (!column || column[0] < L::Size)
        return {};
    const uint8_t letter = column[L::Letter];
    const uint8_t kind = column[L::ValueKind];
    const uint8_t form = column[L::Form] & kFormMask;
    const uint8_t display = column[L::Display] & 0x0F;
    std::string name = IntradayLetterName(letter);
    static constexpr const char* kTradeKinds[] = {" last trade", "", " buys", " sells", " unknowns"};
    static constexpr const char* kExtremes[] = {"", " high", " low", " range"};
    static constexpr const char* kForms[] = {"", " % from open", " % from close", " time ", " time since", " from open", " from close"};
    if (KeepsTradeKind(kind)) {
        name += kTradeKinds[kind - kIntradayLastTrade];
    } else {
        if (kind >= kIntradayHigh && kind <= kIntradayRange)
            name += kExtremes[kind];
        if (form < std::size(kForms))
            name += kForms[form];
    }
    switch (display) {
    case kIntradayShowGraph:
        if (letter != 'L')
            name = "Graph";
        break;
    case kIntradayShowTicks: name = "Tick changes"; break;
    case kIntradayShowThermograph: name = "Thermograph"; break;
    case kIntradayShowBuySellBar: name = "Buy/sell bar"; break;
    default: break;
    }
    if (kind == kIntradayAverage)
        name += " (average)";
    const uint16_t days = LoadU16(column + L::DaysBack);
    if (days > 0) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, " %i day%s ago", int(days), days > 1 ? "s" : "");
        name += suffix;
    }
    return name;
}

uint16_t IntradayDaysFromText(const std::string& text, bool previousDays, bool& clamped)
{
    clamped = false;
    if (!previousDays)
        return 0;
    unsigned long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        n = std::min<unsigned long>(n * 10 + unsigned(c - '0'), 100000);
    }
    if (n > kMostIntradayDaysBack) {
        clamped = true;
        return kMostIntradayDaysBack;
    }
    return uint16_t(n);
}

} // namespace qv
