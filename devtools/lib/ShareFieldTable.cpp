// The share database's field table as the demo writes it.
#include "devtools/lib/ShareFieldTable.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace qv::dev {

namespace {

constexpr uint8_t kDivide = 0x40;
constexpr int kCodes = 97; // entries 1-95 the fields, 96 and 97 the item-name tables

// Field types of the cell code.
enum : uint8_t {
    kU8 = 0,
    kU16 = 1,
    kText = 4,
    kBitField = 7,
    kDate = 10,
    kCodedText = 22,
    kMoney = 34,
    kFloatMoney = 35,
};

// The record offset of a price sub-record's byte.
constexpr uint8_t Sub(int offset) { return uint8_t(256 - offset); }

std::vector<uint8_t> Texts(const std::vector<std::string>& names)
{
    std::vector<uint8_t> out;
    for (const std::string& n : names) {
        out.push_back(uint8_t(n.size()));
        out.insert(out.end(), n.begin(), n.end());
    }
    return out;
}

// A sector list read through a byte table first: stored index i (from 1) is text i - 1.
std::vector<uint8_t> MappedTexts(const std::vector<std::string>& names)
{
    std::vector<uint8_t> out(256, 0xFF);
    for (size_t i = 0; i < names.size(); ++i)
        out[i + 1] = uint8_t(i);
    std::vector<uint8_t> texts = Texts(names);
    out.insert(out.end(), texts.begin(), texts.end());
    return out;
}

// The names of the sub-record kinds 0-19, by kind.
std::vector<std::string> ShareTypeNames()
{
    return {"Other",   "Index",      "Preference", "Preference", "Warrant",       "Convertible", "Other",
            "Ordinary", "Income",    "Capital",    "Ordinary",   "Ordinary",      "Other",       "Gilt",
            "Unit trust", "Other",   "Exchange rate", "Commodity", "Bond",        "ETF"};
}

struct ItemName {
    uint8_t type;
    uint8_t code;
    const char* name;
};

std::vector<uint8_t> ItemNames(std::initializer_list<ItemName> names)
{
    std::vector<uint8_t> out;
    for (const ItemName& n : names) {
        std::string text = n.name;
        out.push_back(uint8_t(3 + text.size()));
        out.push_back(n.type);
        out.push_back(n.code);
        out.insert(out.end(), text.begin(), text.end());
    }
    out.push_back(0);
    return out;
}

} // namespace

std::vector<uint8_t> EncodeFieldEntry(const FieldEntrySpec& spec)
{
    if (spec.name.size() > 255)
        throw std::length_error("a field-table entry's name is too long");
    std::vector<uint8_t> e;
    e.reserve(10 + spec.name.size() + spec.data.size());
    for (uint8_t b : {uint8_t(0), uint8_t(0), spec.type, spec.offset, uint8_t(spec.name.size())})
        e.push_back(b);
    for (char c : spec.name)
        e.push_back(uint8_t(c));
    for (uint8_t b : {spec.widthFlag, spec.textFlag, uint8_t(0)})
        e.push_back(b);
    e.insert(e.end(), spec.data.begin(), spec.data.end());
    e.push_back(uint8_t(spec.scale));
    e.push_back(uint8_t(spec.scale >> 8));
    if (e.size() > 0xFFFF)
        throw std::length_error("a field-table entry is too long");
    e[0] = uint8_t(e.size());
    e[1] = uint8_t(e.size() >> 8);
    return e;
}

std::vector<uint8_t> EncodeFieldTable(const std::vector<FieldEntrySpec>& specs)
{
    std::vector<uint8_t> table;
    for (const FieldEntrySpec& s : specs) {
        std::vector<uint8_t> e = EncodeFieldEntry(s);
        table.insert(table.end(), e.begin(), e.end());
    }
    return table;
}

const std::vector<std::string>& DemoSectorNames()
{
    static const std::vector<std::string> names = {
        "Mining", "Oil & Gas", "Pharmaceuticals", "Engineering", "General Retailers", "Real Estate", "Beverages",
        "Telecommunication Services", "Software & Computer Services", "Insurance", "Food Producers", "Transport",
        "Media & Entertainment", "Aerospace & Defence", "Construction & Building", "Leisure & Hotels", "Banks",
        "Utilities", "Chemicals", "Automobiles & Parts", "Household Goods & Textiles", "Investment Companies",
        "Health", "General Financial"};
    return names;
}

const std::vector<std::string>& DemoConsensusNames()
{
    static const std::vector<std::string> names = {"Strong sell", "Sell", "Moderate sell", "Underweight", "Hold",
                                                   "Overweight", "Moderate buy", "Buy", "Strong buy"};
    return names;
}

const std::vector<std::string>& DemoIndustryNames()
{
    static const std::vector<std::string> names = {
        "Resources", "Basic Industries", "General Industrials", "Cyclical Consumer Goods",
        "Non-Cyclical Consumer Goods", "Cyclical Services", "Non-Cyclical Services", "Utilities",
        "Information Technology", "Financials"};
    return names;
}

const std::vector<std::string>& DemoSubSectorNames()
{
    static const std::vector<std::string> names = {"Large companies", "Mid-sized companies", "Smaller companies"};
    return names;
}

int DemoIndustryOfSector(int sector)
{
    static constexpr std::array<int, 24> kIndustry = {0, 0, 4, 2, 5, 9, 4, 6, 8, 9, 4, 5,
                                                      5, 2, 1, 5, 9, 7, 1, 3, 3, 9, 4, 9};
    return sector >= 0 && sector < int(kIndustry.size()) ? kIndustry[size_t(sector)] : 0;
}

std::vector<uint8_t> DemoShareFieldTable()
{
    std::vector<FieldEntrySpec> specs(kCodes);
    auto set = [&](int code, FieldEntrySpec spec) { specs[size_t(code - 1)] = std::move(spec); };
    // Prices and earnings are kept in pence (type 34, shown as they are); the market value in pounds
    // millions (type 35, shown as pounds).
    // Fields the demo does not keep are named all the same, so that their columns and detail items
    // have headings; their cells stay empty.
    for (const auto& [code, name] : std::initializer_list<std::pair<int, const char*>>{
             {4, "Listing"}, {5, "Indices"}, {6, "Special events"},
             {9, "Shares in issue"}, {11, "Dividend"}, {14, "NMS (000s)"}, {51, "Identifier"}, {62, "TechMark"},
             {68, "Day volume"}, {70, "Capital (results currency)"}})
        set(code, {0x3F, 0, name, {}, 0, 1, 0});
    // The brokers' consensus: company-data fields of the same numbers (offset 0), the ratings as u16
    // bit fields whose low byte is the rating, the number of analysts a byte.
    set(kConsensusField, {kBitField, 0, "Consensus", Texts(DemoConsensusNames()), 0x00FF, 1, 0});
    set(kAnalystsField, {kU8, 0, "Analysts", {}, 0, 1, 0});
    set(kPreviousConsensusField, {kBitField, 0, "Previous consensus", Texts(DemoConsensusNames()), 0x00FF, 1, 0});
    // The share type is the price sub-record's kind byte (with the byte behind it, always 0, as a u16),
    // so a share in several classes tells its lines apart ("Ordinary", "Preference").
    set(7, {kBitField, Sub(2), "Share type", Texts(ShareTypeNames()), 0x00FF, 0, 1});
    set(10, {kMoney, 12, "EPS", {}, 0, 1, 0});
    set(13, {kU16 | kDivide, 20, "P/E", {}, 100, 1, 0});
    set(15, {kText, 26, "Name", {}, 0, 0, 1});
    set(16, {kDate, Sub(40), "Date", {}, 0, 1, 0});
    set(17, {kMoney, Sub(24), "Price", {}, 0, 1, 0});
    set(18, {kMoney, Sub(28), "Change", {}, 0, 1, 0});
    set(19, {kMoney, Sub(32), "High", {}, 0, 1, 0});
    set(20, {kMoney, Sub(36), "Low", {}, 0, 1, 0});
    set(21, {kU16 | kDivide, Sub(42), "Volatility", {}, 10000, 1, 0});
    // Beta and, through the same entry, the correlation byte before it.
    set(22, {kU8 | kDivide, Sub(44), "Beta", {}, 100, 1, 0});
    set(23, {kFloatMoney, Sub(20), "Capital (m)", {}, 0, 1, 0});
    set(24, {kBitField, kSectorWordOffset, "Main sector", MappedTexts(DemoIndustryNames()), kIndustryMask, 0, 1});
    set(25, {kBitField, kSectorWordOffset, "Sector", MappedTexts(DemoSectorNames()), kSectorMask, 0, 1});
    set(26, {kBitField, kSectorWordOffset, "Sub-sector", Texts(DemoSubSectorNames()), kSubSectorMask, 0, 1});
    // Offset 0: the record's company-data field of the same number, here the coded description.
    set(30, {kCodedText, 0, "Description", {}, 0, 0, 1});
    // The dates of the period high and low, which "Days since high" and "Days since low" count from.
    set(52, {kDate, Sub(48), "Date of high", {}, 0, 1, 0});
    set(53, {kDate, Sub(50), "Date of low", {}, 0, 1, 0});
    set(65, {kMoney, Sub(60), "Open", {}, 0, 1, 0});
    set(66, {kMoney, Sub(64), "Day high", {}, 0, 1, 0});
    set(67, {kMoney, Sub(68), "Day low", {}, 0, 1, 0});
    set(kCodes - 1, {0x3F, 0, "Item names",
                     ItemNames({{0xF0, 0x60, "Float date"}, {0xF0, 0x61, "Interims announcement"},
                                {0xF0, 0x62, "Next interims"}, {0xF0, 0x63, "Year end"},
                                {0xF0, 0x64, "Next year end"}, {0xF0, 0x65, "Preliminary results"},
                                {0xF0, 0x66, "Next preliminary results"}, {0xF0, 0x67, "Annual report"},
                                {0xF0, 0x68, "Next annual report"}, {0xF0, 0x69, "AGM"}, {0xF0, 0x6A, "Next AGM"},
                                {0xF0, 0x6B, "Interims payment"}, {0xF0, 0x6C, "Interims ex-dividend"},
                                {0xF0, 0x6D, "Interims end"}, {0xF0, 0x6E, "Final ex-dividend"},
                                {0xF0, 0x6F, "Final payment"}, {0x00, 0x70, "Telephone"}, {0x00, 0x71, "Website"},
                                {0x00, 0x72, "E-mail"}, {0x00, 0x75, "Previous name"},
                                {0xE0, 115, "Results currency"}, {0x00, 118, "Detailed results 1"},
                                {0x00, 119, "Detailed results 2"}, {0x00, 120, "Detailed results 3"},
                                {0x00, 121, "Detailed results 4"}, {0x00, 122, "Detailed results 5"},
                                {0x00, 123, "Partner view"}}),
                     0, 1, 0});
    set(kCodes, {0x3F, 0, "Stream item names",
                 ItemNames({{0x00, 128, "EPIC"}, {0xE0, 129, "Currency"}, {0x00, 130, "SEDOL"}}), 0, 1, 0});
    return EncodeFieldTable(specs);
}

} // namespace qv::dev
