// The DDE price server's vocabulary: item codes and their names, exchange codes, topic texts, the
// served clipboard formats and the byte forms a value is delivered in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

constexpr uint8_t kDdeGroupEndOfDay = 1;
constexpr uint8_t kDdeGroupIntraday = 130;

// An item as the topic table keeps it (8 bytes in the stored layout).
struct DdeItemCode {
    uint32_t qualifier = 0; // 0 none, 1 "high", 2 "low", 5 the real-time volume
    uint8_t group = 0;      // kDdeGroupEndOfDay or kDdeGroupIntraday
    uint8_t field = 0;      // column field code
    uint8_t links = 0;      // advise links on the item
    uint8_t zero = 0;

    bool sameItem(const DdeItemCode& o) const
    {
        return group == o.group && field == o.field && qualifier == o.qualifier;
    }
};
static_assert(sizeof(DdeItemCode) == 8);

// Field codes of the items that read the last day's prices.
constexpr uint8_t kDdeFieldEpic = 128;
constexpr uint8_t kDdeFieldCurrency = 129;
constexpr uint8_t kDdeFieldName = 15;
constexpr uint8_t kDdeFieldPrice = 17;
constexpr uint8_t kDdeFieldOpen = 65;
constexpr uint8_t kDdeFieldHigh = 66;
constexpr uint8_t kDdeFieldLow = 67;
constexpr uint8_t kDdeFieldClose = 2;
constexpr uint8_t kDdeFieldVolume = 68;
constexpr uint8_t kDdeFieldRTVolume = 81;
constexpr uint8_t kDdeFieldTime = 78;

// Parses an item text (names compared without regard to case). End-of-day items take the whole text
// and no qualifier; intraday items exist only while the real-time option is on and take "_high" or
// "_low" where allowed. Nothing for anything else.
std::optional<DdeItemCode> ParseDdeItemName(std::string_view item, bool realTimeOn);
// The item's text as advises are posted under: its name, and "_high" or "_low" when qualified.
std::string DdeItemName(const DdeItemCode& code);

// The exchange code of a record class; classes outside the table are London shares ("LSE").
std::string_view ExchangeCodeOfClass(int32_t recordClass);
constexpr std::string_view kDdeDefaultExchange = "LSE";

// A topic in canonical form: "EXCHANGE:CODE", upper case; "LSE" when no exchange is named.
std::string CanonicalDdeTopic(std::string_view topic);

// The served formats: 0 text, 1 "XlTable", 2 "Rich Text Format", -1 anything else.
constexpr std::string_view kDdeTextFormat = "CF_TEXT";
int GetDdeFormatKind(std::string_view formatName);

// Value types of an item value.
enum DdeValueType : int {
    kDdeNone = 0,
    kDdeNumber = 1,
    kDdeFloat = 4,
    kDdeTime = 5,
    kDdeText = 6,
};

struct DdeValue {
    int type = kDdeNone;
    double number = 0;   // numbers, and seconds of the day for a time
    int zone = -1;       // a time's zone number, -1 for none
    std::string text;    // text values (Windows-1252)
};

// The text of a value: empty for none; a number by the value-text formatter; a clock time with its
// zone's abbreviation; a text as it is.
std::string FormatDdeValue(const DdeValue& value);

// The bytes delivered in a format: text with its terminating zero; an "XlTable" number block for
// numbers and a text block for everything else; "{\rtf1\ansi{" + escaped text + "}}".
std::string EncodeDdeData(const DdeValue& value, int formatKind);
// The "XlTable" blocks and the escaped Rich Text body, for the encoder and its tests.
std::string XlTableNumberBlock(double value);
std::string XlTableTextBlock(std::string_view text);
std::string RtfEscape(std::string_view text);

} // namespace qv
