// Inside the cell code: one call's inputs and output, shared by the route files. Not for callers.
#pragma once

#include "core/ColumnDef.h"
#include "lists/CellNumber.h"
#include "lists/CellValue.h"

#include <cstdint>

namespace qv {

struct ShareList;

struct CellCall {
    uint8_t* record;
    uint32_t extra;
    const uint8_t* column;
    const ShareList* list;
    int family;
    int32_t number;
    uint32_t aux;
    CellText& out;
    bool text = false; // the cell is a text (export mode cuts and replaces commas in it)

    // Sets the cell's value and negative flag (FLT_MAX counts as no value).
    void value(float v);
    uint8_t kind() const { return column[ColumnDefLayout::Kind]; }
    uint8_t code() const { return column[ColumnDefLayout::FieldCode]; }
    uint8_t formatA() const { return column[ColumnDefLayout::FormatA]; }
    uint8_t formatB() const { return column[ColumnDefLayout::FormatB]; }
    uint8_t option() const { return column[ColumnDefLayout::Option]; }
    // Byte n of the column record, 0 past its end.
    uint8_t byte(size_t n) const { return n < column[ColumnDefLayout::Length] ? column[n] : 0; }
    uint16_t word(size_t n) const { return uint16_t(byte(n) | (byte(n + 1) << 8)); }
};

// Results of number cells: the value and its text.
void PlainNumber(CellCall& c, float value);
void MoneyNumber(CellCall& c, float pence);
void MoneyNumberInUnit(CellCall& c, float pence, int unit);
// A quoted price of a trade or quote row: in the share's minor unit unless the column asks for
// pounds, with fraction glyphs only for prices on a quarter, so that two different quotes never read
// alike.
void QuotedPrice(CellCall& c, float price);
void PackedNumber(CellCall& c, float value);
// A date cell (a PackedDate; 0 is empty).
void DateCell(CellCall& c, PackedDate date);
// A text cell.
void TextCell(CellCall& c, const char* text);
void TextCell(CellCall& c, const char* text, size_t n);
// Yes/No and tick cells: 0 is "Yes" (a tick).
void YesNoCell(CellCall& c, uint32_t value);
// The currency unit of the row.
int RowUnit(const CellCall& c);
// The close price of a share row's stream (0 when none).
float LatestClose(const CellCall& c);

// A 12-bit packed date (day - 1 in bits 0-4, month - 1 in 5-8, years from the base year in 9-11); 0
// for none.
PackedDate TwelveBitDate(uint32_t bits);
// The first year of the 12-bit dates: seven years before the database's latest date.
int DatabaseBaseYear();

// Routes by kind.
void ResultsRoute(CellCall& c);
void ResultsChangeRoute(CellCall& c);
void FormulaRoute(CellCall& c);
void PriceHistoryRoute(CellCall& c);
void HoldingRoute(CellCall& c);
void DealingRoute(CellCall& c);
void NoteRoute(CellCall& c);
void CashRoute(CellCall& c);
void NewsRoute(CellCall& c);
void IntradayRoute(CellCall& c);
void TradeRoute(CellCall& c);
void PartnerViewRoute(CellCall& c);
// The transaction family's own texts and fields; false when the code is not one of them.
bool TransactionField(CellCall& c);
// The name of a transaction type code ("" for unknown codes).
const char* TransactionTypeName(int type);

} // namespace qv
