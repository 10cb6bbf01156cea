// The capital gains tax pass over a portfolio's transactions: every disposal matched under the UK
// identification rules of its date, its gains written back into the record, and the computation text.
#pragma once

#include "portfolio/CgtReportLines.h"
#include "portfolio/CgtTables.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace qv {

struct Portfolio;
struct Transaction;

// The pass's own mark for a gain not calculated (fields 72 and 76).
constexpr float kCgtNotCalculated = -9.99e31f;

// A share's price in pounds on a date, for the value of the rest of a holding after a capital receipt.
using CgtPriceOnDate = std::function<double(uint16_t shareId, uint8_t line, PackedDate date)>;

struct CgtInputs {
    Transaction* transactions = nullptr; // in list order: by share and line, then date
    // Losses brought into each tax year entered by hand; negative for none.
    std::array<float, kCgtTableYears> manualLosses{};
    CgtPriceOnDate price;
    PackedDate today = 0; // the years run to this date's tax year; 0 for the system's date
};

struct CgtPassResult {
    std::array<double, kCgtTaxYears> yearGains{};      // chargeable gains per tax year
    double valuationGain = 0;                          // potential chargeable gain of the 'Latest' rows
    std::array<double, kCgtTaxYears> lossesCarried{};  // losses left at the end of each tax year
    std::string title;                                 // the title line without its line break
    std::string report;                                // assembled text; empty when nothing was kept
};

// Runs the pass; disposals get their gains in fields 72 and 76 whatever the filter asks for.
CgtPassResult CapitalGainsReport(const CgtInputs& inputs, const CgtReportFilter& filter, bool keepText = true);

// The manual losses of a portfolio (its last 80 bytes, 20 little-endian f32; 0xFF fill for none).
std::array<float, kCgtTableYears> PortfolioManualLosses(const Portfolio& portfolio);

// The losses carried forward of the last pass, program-wide.
std::array<double, kCgtTaxYears>& CgtLossesCarriedForward();

// Prices from the loaded database: the raw close (pence) of the share's line on the date, in pounds.
CgtPriceOnDate DatabaseCgtPrice();

// The silent pass the holdings pass ends with: every share, every year, no text.
void RunSilentCapitalGains(Portfolio& portfolio, const CgtPriceOnDate& price);

} // namespace qv
