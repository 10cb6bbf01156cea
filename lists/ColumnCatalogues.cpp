// Catalogue templates as data: widths are pixels for a 12-point list font, converted on adding.
#include "lists/ColumnCatalogues.h"

#include "core/ColumnDef.h"
#include "core/ColumnSpec.h"
#include "lists/FormulaTemplates.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace qv {
namespace {

constexpr uint8_t kLeft = 0;
constexpr uint8_t kPence = 2 << 2;
constexpr uint8_t kFractions = 0x10;
constexpr uint8_t kThousands = 0x40;

struct ShareRow {
    uint8_t code;
    uint8_t kind;
    uint16_t width;
    bool text;
    uint8_t formatA;
    uint8_t formatB;
};

ColumnDefSpec SpecOf(const ShareRow& row)
{
    ColumnDefSpec spec = ColumnOf(row.kind, row.code).withWidth(row.width).withFormatA(row.formatA).withFormatB(row.formatB);
    if (row.text)
        spec.withAlign(kLeft).withTextColumn(true);
    return spec;
}

// A computed price-history column: the fixed 4, then the first date (unit, count) and the second.
ColumnDefSpec HistorySpec(uint8_t code, uint8_t subKind, uint8_t formatB, uint8_t formatA = 0)
{
    return ColumnOf(kColumnPriceHistory, code).withWidth(70).withFormatA(formatA).withFormatB(formatB).withSubKind(subKind)
        .withParameters(std::vector<uint8_t>{4, 0, 0, 0, 0, 0, 0});
}

ShareRow PlainShareRow(int n)
{
    const uint8_t code = uint8_t(n);
    switch (n) {
    case 0: return {0, kColumnField, 40, false, 0, 0};
    case 2: case 4: case 5: case 6: case 7: case 62: case 92: return {code, kColumnField, 80, true, 0, 0};
    case 3: return {129, kColumnField, 60, true, 0, 0};
    case 8: case 50: return {code, kColumnField, 100, true, 0, 0};
    case 15: case 24: case 25: case 26: case 93: return {code, kColumnField, 160, true, 0, 0};
    case 16: return {code, kColumnField, 80, false, 0, 0};
    case 17: case 19: case 20: case 52: case 53: case 65: case 66: case 67:
        return {code, kColumnField, 60, false, kPence, kFractions};
    case 18: return {code, kColumnField, 60, false, kPence | 2, kFractions | 0x20};
    case 9: case 14: case 23: case 68: return {code, kColumnField, 80, false, 0, kThousands | 1};
    case 69: return {70, kColumnField, 80, false, 0, kThousands | 1};
    case 70: return {code, kColumnField, 80, false, 0, kThousands | 1};
    case 49: case 51: return {code, kColumnField, 50, false, 0, 0};
    case 86: return {code, kColumnField, 10, false, 0, 0};
    default: return {code, kColumnField, 60, false, 0, 2};
    }
}

const FormulaTemplate* ShareFormula(int n)
{
    for (const FormulaTemplate& t : ShareFormulaTemplates())
        if (t.index == n)
            return &t;
    return nullptr;
}

void AppendRecord(std::vector<uint8_t>& out, std::vector<uint8_t> record)
{
    out.insert(out.end(), record.begin(), record.end());
}

std::vector<uint8_t> BuildShares()
{
    std::vector<uint8_t> out;
    for (int n = 0; n < 94; ++n) {
        if (n == 1) {
            out.push_back(1); // the empty template
            continue;
        }
        if (const FormulaTemplate* t = ShareFormula(n)) {
            AppendRecord(out, FormulaTemplateColumn(*t));
            continue;
        }
        switch (n) {
        case 30: case 56: AppendColumnDef(out, HistorySpec(uint8_t(n), 0, kFractions)); continue;
        case 31: case 57: AppendColumnDef(out, HistorySpec(uint8_t(n), 0, 2)); continue;
        case 87: case 88: AppendColumnDef(out, HistorySpec(uint8_t(n), 0, kThousands | 1)); continue;
        case 45: AppendColumnDef(out, ColumnOf(kColumnNote, 45).withWidth(160).withAlign(kLeft).withTextColumn(true)); continue;
        default: break;
        }
        if (n >= 71 && n <= 85) {
            AppendColumnDef(out, ColumnOf(kColumnIntraday, uint8_t(n)).withFormatB(2).withParameters(std::vector<uint8_t>(4, 0)));
            continue;
        }
        AppendColumnDef(out, SpecOf(PlainShareRow(n)));
    }
    out.push_back(0);
    return out;
}

// A family catalogue: template 0 the row number, then the family's own kind for codes 1..count-1,
// with the text codes left-justified.
std::vector<uint8_t> BuildFamily(uint8_t kind, int count, std::initializer_list<int> textCodes, std::initializer_list<int> wideCodes)
{
    std::vector<uint8_t> out;
    AppendColumnDef(out, ColumnOf(kColumnField, 0).withWidth(40));
    for (int n = 1; n < count; ++n) {
        const bool text = std::find(textCodes.begin(), textCodes.end(), n) != textCodes.end();
        const bool wide = std::find(wideCodes.begin(), wideCodes.end(), n) != wideCodes.end();
        ColumnDefSpec spec = ColumnOf(kind, uint8_t(n)).withWidth(uint16_t(wide ? 160 : text ? 80 : 60)).withFormatB(uint8_t(text ? 0 : 2));
        if (text)
            spec.withAlign(kLeft).withTextColumn(true);
        AppendColumnDef(out, spec);
    }
    out.push_back(0);
    return out;
}

// The trade list's templates: the time, the quoted prices in pence with fractions (as a share's price
// column shows them), the volume, and the texts and the trade's value at their own widths.
std::vector<uint8_t> BuildTrades()
{
    struct TradeRow {
        uint16_t width;
        bool text;
        uint8_t formatA, formatB;
    };
    static constexpr TradeRow kRows[] = {
        {30, false, 0, 0}, {60, false, 0, 0}, {60, false, kPence, kFractions}, {60, false, kPence, kFractions},
        {60, false, kPence, kFractions}, {60, false, kPence, kFractions}, {60, false, 0, 0},
        {120, true, 0, 0}, {120, true, 0, 0}, {120, true, 0, 0}, {60, false, 0, 2}, {80, true, 0, 0},
        {120, true, 0, 0}};
    std::vector<uint8_t> out;
    for (uint8_t n = 0; n < std::size(kRows); ++n) {
        const TradeRow& row = kRows[n];
        ColumnDefSpec spec = ColumnOf(n == 0 ? kColumnField : kColumnTrade, n).withWidth(row.width)
                                 .withFormatA(row.formatA).withFormatB(row.formatB);
        if (row.text)
            spec.withAlign(kLeft).withTextColumn(true);
        if (TradeColumnShowsMoves(n))
            spec.withAlign(uint8_t(spec.align | kColumnUpDownArrow));
        AppendColumnDef(out, spec);
    }
    out.push_back(0);
    return out;
}

std::vector<uint8_t> BuildTransactions()
{
    std::vector<uint8_t> out = BuildFamily(kColumnField, 28, {1, 2, 3, 4, 17, 18, 19, 20, 21, 22, 23, 24}, {3, 22});
    out.pop_back();
    AppendRecord(out, FormulaTemplateColumn(TransactionPriceTemplate()));
    AppendColumnDef(out, ColumnOf(kColumnNote, 29).withWidth(160).withAlign(kLeft).withTextColumn(true));
    // Template 30: the time of day the transaction was recorded at (its field 29).
    AppendColumnDef(out, ColumnOf(kColumnField, 29).withWidth(60));
    out.push_back(0);
    return out;
}

std::vector<uint8_t> BuildHighLow()
{
    std::vector<uint8_t> out;
    // The high and the low are prices: in pence with fractions, as the price column shows them.
    for (uint8_t sub = 0; sub < 8; ++sub)
        AppendColumnDef(out, HistorySpec(94, sub, sub < 4 ? kFractions : 2, sub < 2 ? kPence : 0));
    out.push_back(0);
    return out;
}

// Field columns for the company-data codes from `first` (96 or 128) on: dates, then texts.
std::vector<uint8_t> BuildItemColumns(int first, int count)
{
    std::vector<uint8_t> out;
    for (int code = first; code < first + count; ++code) {
        const bool text = code >= 0x70;
        ColumnDefSpec spec = ColumnOf(kColumnField, uint8_t(code)).withWidth(text ? 120 : 60);
        if (text && code != 0x70 && code != 0x73 && code != 0x74)
            spec.withAlign(kLeft);
        spec.withTextColumn(text && code != 0x73 && code != 0x74);
        AppendColumnDef(out, spec);
    }
    out.push_back(0);
    return out;
}

struct Catalogues {
    std::vector<uint8_t> bytes[7];
    std::vector<uint8_t> items96 = BuildItemColumns(96, 32);
    std::vector<uint8_t> items128 = BuildItemColumns(128, 2);
    Catalogues()
    {
        bytes[0] = BuildShares();
        bytes[1] = BuildTransactions();
        bytes[2] = BuildFamily(kColumnDealing, 14, {1, 2, 4, 8, 9, 10, 11}, {1, 10, 11});
        bytes[3] = BuildFamily(kColumnCash, 11, {2, 3, 4, 9, 10}, {2, 9});
        bytes[4] = BuildFamily(kColumnNews, 11, {3, 4, 5, 6, 7, 8, 9, 10}, {4, 5, 9, 10});
        bytes[5] = BuildTrades();
        bytes[6] = BuildHighLow();
    }
};

const Catalogues& All()
{
    static const Catalogues catalogues;
    return catalogues;
}

} // namespace

std::span<const uint8_t> CatalogueBytes(Catalogue catalogue)
{
    return All().bytes[size_t(catalogue)];
}

std::span<const uint8_t> CatalogueTemplate(Catalogue catalogue, int n)
{
    return CatalogueEntry(CatalogueBytes(catalogue), n);
}

int CatalogueSize(Catalogue catalogue)
{
    int n = 0;
    while (!CatalogueTemplate(catalogue, n).empty())
        ++n;
    return n;
}

void InstallColumnCatalogues()
{
    ColumnCatalogue& tables = ColumnCatalogueTables();
    tables.main = CatalogueBytes(Catalogue::Shares);
    tables.indexed = CatalogueBytes(Catalogue::HighLow);
    tables.second = All().items96;
    tables.third = All().items128;
}

} // namespace qv
