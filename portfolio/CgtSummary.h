// The texts around the capital gains pass: a tax year's summary with its tax, the fixed tables
// (RPI, factors, taper, exemption and rates), the indicative tax take and the tax-year menu texts.
#pragma once

#include "core/PackedDate.h"
#include "portfolio/CgtTables.h"

#include <array>
#include <string>
#include <vector>

namespace qv {

struct Transaction;

// Tax years are given by index: 0 = 1990/91.
struct CgtSummaryInput {
    const Transaction* transactions = nullptr; // after a pass: fields 72 and 76 written
    std::array<float, kCgtTableYears> manualLosses{};
    std::array<double, kCgtTaxYears> lossesCarried{};
    int taxYear = 0;
};

// "Tax for tax year ..." with the shares sold, the chargeable gain, the tax at the basic and higher
// rates and the losses carried forward. From 1998/99 the exemption is taken off the total; before,
// the pass has already used it.
std::string CgtTaxYearSummary(const CgtSummaryInput& input);
// The caption of the summary: "Tax for tax year %s".
std::string CgtSummaryCaption(int taxYear);
// The tax-year label of an index ("1990/91", "2026/27").
std::string CgtYearLabel(int taxYear);
// The index in the pass's tables: clamped to the tax years a date can fall in.
int CgtTableYear(int taxYear);

// The RPI table (factors false) or the April 1998 factor table, and its caption.
std::string CgtRpiTableText(bool factors);
std::string CgtRpiTableCaption(bool factors);
std::string CgtTaperTableText();
std::string CgtExemptionTableText();

// The tax years of the summary commands, counted by calendar year: the year ending in last calendar
// year (-1), this one (0) or next (1). Indexes.
int CgtSummaryYearOf(PackedDate today, int offset);
// "Tax year %02i/%02i" of that year; the current one ends in "\t, (comma)".
std::string CgtSummaryMenuText(PackedDate today, int offset);

// The indicative tax take: gains per year, the residual (the valuation rows' gain) and the choices.
struct TaxTakeInput {
    std::array<double, kCgtTaxYears> yearGains{};
    double residual = 0;
    std::string name;
    bool ignoreExemption = false;
    bool doubleExemption = false;
    PackedDate today = 0;
};
std::vector<std::string> TaxTakeLines(const TaxTakeInput& input);

} // namespace qv
