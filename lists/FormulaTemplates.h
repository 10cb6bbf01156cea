// The formula templates of the column catalogues: the token expressions of the shares catalogue's 29
// formula columns (and the transactions catalogue's "Price %"), as one table that the catalogues copy
// byte for byte. docs/DATA.md lists each in shorthand.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

struct FormulaTemplate {
    int index;                   // the template's position in its catalogue (= its field code)
    const char* title;           // Windows-1252
    std::vector<uint8_t> tokens; // ended by 0xFF
    uint8_t decimals = 2;        // format byte B of the column
};

// The shares catalogue's formula templates in catalogue order.
const std::vector<FormulaTemplate>& ShareFormulaTemplates();
// The transactions catalogue's template 28, "Price %".
const FormulaTemplate& TransactionPriceTemplate();

// A formula column record made from a template: kind 4, the template's index as field code, the
// expression at byte 28 and the title after it; width 60, right-justified, the template's decimals.
std::vector<uint8_t> FormulaTemplateColumn(const FormulaTemplate& t);

} // namespace qv
