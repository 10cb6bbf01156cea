// The column record of the list tables and the layouts that hold them: the record's fields by offset,
// reaching column n of a layout, the one check every loaded layout passes, and building records.
//
// A layout is column records back to back, each starting with its own u8 length, ended by a length
// byte of 0; a record of length 1 is a filler. All numbers are little-endian. The 27-byte records made
// on the spot to format one value (a field column, or a wide partner-view column) come from
// core/ColumnSpec (InitColumnSpec, InitColumnSpecWide).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

// Offsets within a column record.
namespace ColumnDefLayout {
constexpr size_t Length = 0;       // u8, the whole record
constexpr size_t TitleOffset = 1;  // u8, offset of the user's own NUL-ended title; 0 for none
constexpr size_t Kind = 2;         // u8, ColumnKind
constexpr size_t Align = 3;        // u8, low four bits the alignment 0-2, the rest drawing flags
constexpr size_t FormatA = 4;      // u8, bits 0-1 zero style, 2-3 money unit, 4 automatic decimals
constexpr size_t FormatB = 5;      // u8, bits 0-3 decimals, 4 fractions, 5 "+", 6 k/m/b, 7 significant figures
constexpr size_t Option = 6;       // u8, signed year of results columns; Yes/No style of formulas
constexpr size_t Appearance = 7;   // 10 bytes: the column's own colours, borders and text style
constexpr size_t AppearanceSize = 10;
constexpr size_t TextColumn = 17;  // u8, bit 0: a text-valued column
constexpr size_t Display = 18;     // 5 bytes of display options, copied with the record
constexpr size_t SubKind = 23;     // u8, sub-kind 0-7 of a highs-and-lows column (field code 94)
constexpr size_t Width = 24;       // u16, pixels, 10-20000
constexpr size_t FieldCode = 26;   // u8
constexpr size_t Parameters = 27;  // the kind's parameters
// Formula (kind 4): byte 27 the expression's length plus one, the expression from 28 ended by 0xFF,
// then the NUL-ended title at 27 + byte 27.
constexpr size_t FormulaLength = 27;
constexpr size_t Expression = 28;
// Price history (kind 8).
constexpr size_t HistoryFour = 27;    // u8, 4 in every template
constexpr size_t FirstUnit = 28;      // u8, bits 0-2 date unit, bit 7 percentage
constexpr size_t FirstCount = 29;     // u16
constexpr size_t SecondUnit = 31;     // u8, bits 0-2 date unit
constexpr size_t SecondCount = 32;    // u16
// Intraday (kind 0x82): u32 whose high 16 bits, negated, are the days back.
constexpr size_t IntradayWord = 27;
} // namespace ColumnDefLayout

constexpr size_t kColumnDefBytes = 27;      // a plain column
constexpr size_t kPriceHistoryDefBytes = 34; // with both dates
constexpr int kMaxLayoutColumns = 120;
constexpr uint16_t kMinColumnWidth = 10;
constexpr uint16_t kMaxColumnWidth = 20000;
constexpr uint8_t kExpressionEnd = 0xFF;

enum ColumnKind : uint8_t {
    kColumnField = 1,
    kColumnResults = 2,
    kColumnFormula = 4,
    kColumnPriceHistory = 8,
    kColumnHolding = 0x10,
    kColumnDealing = 0x20,
    kColumnNote = 0x40,
    kColumnCash = 0x80,
    kColumnNews = 0x81,
    kColumnIntraday = 0x82,
    kColumnTrade = 0x83,
    kColumnResultsChange = 0x84,
    kColumnPartnerView = 0x85,
};

// Record n of the layout (from 0). A number of 120 or more means record 2, a negative one record 0.
// When the layout ends first, the terminator (a record whose length byte is 0), which callers take
// as "no column". Null for a null layout. The layout must have passed ValidateColumnLayout.
const uint8_t* GetColumnDef(const uint8_t* layout, int n);
uint8_t* GetColumnDef(uint8_t* layout, int n);

// The column a signed column number names (|n| - 1, 120 and up falling back to 2), as the sort and
// the sort settings use it.
int ColumnOfSignedNumber(int signedColumn);

// The bytes of a layout up to and including its terminator, when it is sound: every length inside the
// buffer, a terminator, at most 120 records, no record of 2-26 bytes, a title offset inside its record
// with the title's NUL inside it, and for a formula its length byte, its 0xFF and its NUL-ended title
// inside the record. 0 when it is not.
size_t ValidateColumnLayout(std::span<const uint8_t> layout);

// Number of records in a layout (fillers included); the layout must be valid.
int CountColumnDefs(const uint8_t* layout);

// Fields of a record.
inline uint8_t ColumnDefKind(const uint8_t* def) { return def[ColumnDefLayout::Kind]; }
inline uint8_t ColumnDefCode(const uint8_t* def) { return def[ColumnDefLayout::FieldCode]; }
inline int8_t ColumnDefYear(const uint8_t* def) { return int8_t(def[ColumnDefLayout::Option]); }
uint16_t ColumnDefWidth(const uint8_t* def);
// The user's own title, or null when the record has none.
const char* ColumnDefOwnTitle(const uint8_t* def);
// The title of a formula record (after the expression), or null when the record is not a formula.
const char* ColumnDefFormulaTitle(const uint8_t* def);

// What a built record holds; the rest of it is zero.
struct ColumnDefSpec {
    uint8_t kind = kColumnField;
    uint8_t code = 0;
    uint16_t width = 60;
    uint8_t align = 1;      // 0 left, 1 right, 2 centred
    uint8_t formatA = 0;
    uint8_t formatB = 0;
    int8_t option = 0;      // year of results columns
    bool textColumn = false;
    uint8_t subKind = 0;
    std::vector<uint8_t> parameters; // bytes from 27 on
    std::string ownTitle;            // the user's own title, empty for none

    ColumnDefSpec& withWidth(uint16_t v) { width = v; return *this; }
    ColumnDefSpec& withAlign(uint8_t v) { align = v; return *this; }
    ColumnDefSpec& withFormatA(uint8_t v) { formatA = v; return *this; }
    ColumnDefSpec& withFormatB(uint8_t v) { formatB = v; return *this; }
    ColumnDefSpec& withOption(int8_t v) { option = v; return *this; }
    ColumnDefSpec& withTextColumn(bool v) { textColumn = v; return *this; }
    ColumnDefSpec& withSubKind(uint8_t v) { subKind = v; return *this; }
    ColumnDefSpec& withParameters(std::vector<uint8_t> v) { parameters = std::move(v); return *this; }
    ColumnDefSpec& withOwnTitle(std::string v) { ownTitle = std::move(v); return *this; }
};
inline ColumnDefSpec ColumnOf(uint8_t kind, uint8_t code)
{
    ColumnDefSpec spec;
    spec.kind = kind;
    spec.code = code;
    return spec;
}
// Appends the record to a layout under construction (without a terminator).
void AppendColumnDef(std::vector<uint8_t>& layout, const ColumnDefSpec& spec);

} // namespace qv
