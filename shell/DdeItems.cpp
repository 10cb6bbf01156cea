// Item names and codes, exchange codes, topic texts and the three delivered formats of the DDE
// price server.
#include "shell/DdeItems.h"

#include "core/FormatNumber.h"
#include "core/FormatValue.h"
#include "core/TimeZones.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace qv {
namespace {

struct ItemEntry {
    std::string_view name;
    uint8_t group;
    uint8_t field;
    bool qualifiable;
};

constexpr std::array<ItemEntry, 16> kItems{{
    {"epic", kDdeGroupEndOfDay, kDdeFieldEpic, false},
    {"currency", kDdeGroupEndOfDay, kDdeFieldCurrency, false},
    {"name", kDdeGroupEndOfDay, kDdeFieldName, false},
    {"price", kDdeGroupEndOfDay, kDdeFieldPrice, false},
    {"open", kDdeGroupEndOfDay, kDdeFieldOpen, false},
    {"high", kDdeGroupEndOfDay, kDdeFieldHigh, false},
    {"low", kDdeGroupEndOfDay, kDdeFieldLow, false},
    {"close", kDdeGroupEndOfDay, kDdeFieldClose, false},
    {"volume", kDdeGroupEndOfDay, kDdeFieldVolume, false},
    {"mid", kDdeGroupIntraday, 75, true},
    {"bid", kDdeGroupIntraday, 73, true},
    {"offer", kDdeGroupIntraday, 74, true},
    {"trade", kDdeGroupIntraday, 80, true},
    {"RTopen", kDdeGroupIntraday, 71, true},
    {"RTvolume", kDdeGroupIntraday, kDdeFieldRTVolume, false},
    {"time", kDdeGroupIntraday, kDdeFieldTime, false},
}};

constexpr uint32_t kQualifierRTVolume = 5;

constexpr std::array<std::string_view, 12> kExchangeCodes{"LSE", "NYSE", "AMEX", "NNM",  "NSC", "NAS",
                                                          "ENXT", "GER", "FX",   "USI", "UKI", "EI"};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

DdeItemCode CodeOf(const ItemEntry& e, uint32_t qualifier)
{
    DdeItemCode code;
    code.group = e.group;
    code.field = e.field;
    code.qualifier = e.field == kDdeFieldRTVolume ? kQualifierRTVolume : qualifier;
    return code;
}

std::optional<uint32_t> ParseQualifier(std::string_view q)
{
    if (q.empty())
        return 0u;
    if (SameText(q, "high"))
        return 1u;
    if (SameText(q, "low"))
        return 2u;
    return std::nullopt;
}

} // namespace

std::optional<DdeItemCode> ParseDdeItemName(std::string_view item, bool realTimeOn)
{
    for (const ItemEntry& e : kItems) {
        if (e.group == kDdeGroupEndOfDay && SameText(item, e.name))
            return CodeOf(e, 0);
    }
    if (!realTimeOn)
        return std::nullopt;
    size_t split = item.find('_');
    std::string_view name = item.substr(0, split);
    bool hasQualifier = split != std::string_view::npos;
    std::string_view qualifierText = hasQualifier ? item.substr(split + 1) : std::string_view{};
    for (const ItemEntry& e : kItems) {
        if (e.group != kDdeGroupIntraday || !SameText(name, e.name))
            continue;
        if (!e.qualifiable)
            return hasQualifier ? std::nullopt : std::optional(CodeOf(e, 0));
        std::optional<uint32_t> qualifier = ParseQualifier(qualifierText);
        if (!qualifier)
            return std::nullopt;
        return CodeOf(e, *qualifier);
    }
    return std::nullopt;
}

std::string DdeItemName(const DdeItemCode& code)
{
    for (const ItemEntry& e : kItems) {
        if (e.group != code.group || e.field != code.field)
            continue;
        std::string name(e.name);
        if (e.qualifiable && code.qualifier == 1)
            name += "_high";
        else if (e.qualifiable && code.qualifier == 2)
            name += "_low";
        return name;
    }
    return {};
}

std::string_view ExchangeCodeOfClass(int32_t recordClass)
{
    if (recordClass < 0 || recordClass >= int32_t(kExchangeCodes.size()))
        return kDdeDefaultExchange;
    return kExchangeCodes[size_t(recordClass)];
}

std::string CanonicalDdeTopic(std::string_view topic)
{
    std::string upper(topic);
    for (char& c : upper)
        c = Upper(c);
    size_t split = upper.find('_');
    if (split == std::string::npos)
        return std::string(kDdeDefaultExchange) + ":" + upper;
    return upper.substr(0, split) + ":" + upper.substr(split + 1);
}

int GetDdeFormatKind(std::string_view formatName)
{
    if (formatName == kDdeTextFormat)
        return 0;
    if (formatName == "XlTable")
        return 1;
    if (formatName == "Rich Text Format")
        return 2;
    return -1;
}

std::string FormatDdeValue(const DdeValue& value)
{
    switch (value.type) {
    case kDdeNumber:
    case kDdeFloat: {
        ValueTextRequest req;
        req.value = float(value.number);
        req.autoDecimals = 1;
        req.noSeparators = 1;
        req.zeroMode = 1;
        FormatValueText(req);
        if (req.suffix)
            req.out += req.suffix;
        return req.out;
    }
    case kDdeTime: {
        std::string text = FormatClockTime(uint32_t(value.number), true);
        if (value.zone >= 0 && value.zone <= 255) {
            std::string_view zone = GetTimeZoneAbbrev(uint8_t(value.zone));
            if (!zone.empty()) {
                text.push_back(' ');
                text.append(zone);
            }
        }
        return text;
    }
    case kDdeText:
        return value.text;
    default:
        return {};
    }
}

std::string XlTableNumberBlock(double value)
{
    std::string block(20, '\0');
    auto* p = reinterpret_cast<uint8_t*>(block.data());
    const uint16_t head[6] = {16, 4, 1, 1, 1, 8};
    for (size_t i = 0; i < 6; ++i)
        StoreU16(p + 2 * i, head[i]);
    StoreF64(p + 12, value);
    return block;
}

std::string XlTableTextBlock(std::string_view text)
{
    // The count is one byte, so a longer text is cut to 255 characters.
    size_t n = std::min<size_t>(text.size(), 255);
    std::string block(13 + n, '\0');
    auto* p = reinterpret_cast<uint8_t*>(block.data());
    const uint16_t head[6] = {16, 4, 1, 1, 2, uint16_t(n + 1)};
    for (size_t i = 0; i < 6; ++i)
        StoreU16(p + 2 * i, head[i]);
    p[12] = uint8_t(n);
    block.replace(13, n, text.substr(0, n));
    return block;
}

std::string RtfEscape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        auto byte = uint8_t(c);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (byte >= 0x80) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\'%02x", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

std::string EncodeDdeData(const DdeValue& value, int formatKind)
{
    bool number = value.type == kDdeNumber || value.type == kDdeFloat;
    switch (formatKind) {
    case 0: {
        std::string text = FormatDdeValue(value);
        text += '\0';
        return text;
    }
    case 1:
        return number ? XlTableNumberBlock(value.number) : XlTableTextBlock(FormatDdeValue(value));
    case 2:
        return "{\\rtf1\\ansi{" + RtfEscape(FormatDdeValue(value)) + "}}";
    default:
        return {};
    }
}

} // namespace qv
