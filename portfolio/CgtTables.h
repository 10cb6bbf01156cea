// The fixed tables of the capital gains tax engine: the monthly RPI to April 1998, the indexation
// factors, the taper percentages and the yearly exemption and rates, with the month and tax-year indexes.
#pragma once

#include "core/PackedDate.h"

#include <array>
#include <cstdint>

namespace qv {

constexpr int kRpiMonths = 194;     // March 1982 .. April 1998
// Tax years by index: 0 = 1990/91 .. 37 = 2027/28, the last a date can fall in; the valuation rows
// (date 65534) have a slot of their own after them.
constexpr int kCgtLastTaxYear = 37;
constexpr int kCgtValuationYear = kCgtLastTaxYear + 1;
constexpr int kCgtTaxYears = kCgtValuationYear + 1;
constexpr int kCgtTableYears = 20;    // the years a portfolio stores manual losses for
constexpr int kCgtLastRatesYear = 18; // 2008/09: its exemption and rates carry on for later years
constexpr int kCgtEstimatedFrom = 14; // 2004/05 on the tables are estimates

// Dates that bound the eras of the share-identification rules.
namespace CgtDate {
constexpr PackedDate Apr1965 = PackDate(6, 4, 1965);
constexpr PackedDate Mar1982First = PackDate(1, 3, 1982);
constexpr PackedDate Mar1982 = PackDate(31, 3, 1982);
constexpr PackedDate Apr1982 = PackDate(6, 4, 1982);
constexpr PackedDate Jan1990 = PackDate(1, 1, 1990);
constexpr PackedDate Apr1990 = PackDate(6, 4, 1990);
constexpr PackedDate Jan1996 = PackDate(1, 1, 1996);
constexpr PackedDate Mar1998 = PackDate(17, 3, 1998);
constexpr PackedDate Apr1998First = PackDate(1, 4, 1998);
constexpr PackedDate Apr1998 = PackDate(6, 4, 1998);
constexpr PackedDate Valuation = 65534;
} // namespace CgtDate
static_assert(CgtDate::Apr1965 == 33381 && CgtDate::Apr1982 == 42085 && CgtDate::Apr1998 == 50277);

// The RPI (January 1987 = 100) of month index 0 (March 1982) .. 193 (April 1998).
const std::array<double, kRpiMonths>& RpiTable();
// (year - 1982) x 12 + month - 3, clamped to 0..193.
int CgtMonthIndex(PackedDate date);
double RpiOfMonth(int monthIndex);
// The published factor from the month to April 1998: (RPI April 1998 - RPI) / RPI to three decimals.
double IndexationFactor(int monthIndex);
// ((date - 101) >> 9) - 90; negative before 6 April 1990; the valuation date gives kCgtValuationYear.
int CgtTaxYearIndex(PackedDate date);

// Percent of a gain that stays chargeable after whole years 0..10 of taper.
double NonBusinessTaper(int years);
double BusinessTaperBefore2002(int years);
double BusinessTaperAfter2002(int years);

struct CgtYearRates {
    float exemption;
    float lowerBand;
    int32_t lowerRate;
    float basicBand;
    int32_t basicRate;
    int32_t higherRate;
};
// The year's exemption and income tax rates; years after 2008/09 take that year's (estimated) figures.
CgtYearRates CgtRatesOfYear(int taxYear);
double AnnualExemption(int taxYear);

// The rate gains are taxed at for someone whose income stops at the bottom of the basic-rate band:
// the income tax basic rate up to 1999/2000, a flat 20 % for gains from 2000/01 on (the tables' 22 %
// from then on is the income tax rate, not the CGT one).
constexpr int kCgtFlatBasicFrom = 10;
constexpr int kCgtFlatBasicRate = 20;
int CgtBasicRate(int taxYear);

// The tax on a year's taxable gain, starting at the basic rate (the part above the basic-rate band at
// the higher rate) and all at the higher rate. The summary and the tax display both show these.
struct CgtTaxTake {
    int basicRate;
    double atBasic;
    double atHigher;
};
CgtTaxTake CgtTaxOn(int taxYear, double taxable);

} // namespace qv
