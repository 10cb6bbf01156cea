// The RPI, taper and yearly rate tables of the capital gains tax engine.
#include "portfolio/CgtTables.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

// As published, March 1982 to April 1998.
constexpr std::array<double, kRpiMonths> kRpi = {
79.44, 81.04, 81.62, 81.85, 81.88, 81.90, 81.85, 82.26, 82.66, 82.51, 
82.61, 82.97, 83.12, 84.28, 84.64, 84.84, 85.30, 85.68, 86.06, 86.36, 
86.67, 86.89, 86.84, 87.20, 87.48, 88.64, 88.97, 89.20, 89.10, 89.94, 
90.11, 90.67, 90.95, 90.87, 91.20, 91.94, 92.80, 94.78, 95.21, 95.41, 
95.23, 95.49, 95.44, 95.59, 95.92, 96.05, 96.25, 96.60, 96.73, 97.67, 
97.85, 97.79, 97.52, 97.82, 98.30, 98.45, 99.29, 99.62, 100.0, 100.4, 
100.6, 101.8, 101.9, 101.9, 101.8, 102.1, 102.4, 102.9, 103.4, 103.3, 
103.3, 103.7, 104.1, 105.8, 106.2, 106.6, 106.7, 107.9, 108.4, 109.5, 
110.0, 110.3, 111.0, 111.8, 112.3, 114.3, 115.0, 115.4, 115.5, 115.8, 
116.6, 117.5, 118.5, 118.8, 119.5, 120.2, 121.4, 125.1, 126.2, 126.7, 
126.8, 128.1, 129.3, 130.3, 130.0, 129.9, 130.2, 130.9, 131.4, 133.1, 
133.5, 134.1, 133.8, 134.1, 134.6, 135.1, 135.6, 135.7, 135.6, 136.3, 
136.7, 138.8, 139.3, 139.3, 138.8, 138.9, 139.4, 139.9, 139.7, 139.2, 
137.9, 138.8, 139.3, 140.6, 141.1, 141.0, 140.7, 141.3, 141.9, 141.8, 
141.6, 141.9, 141.3, 142.1, 142.5, 144.2, 144.7, 144.7, 144.0, 144.7, 
145.0, 145.2, 145.3, 146.0, 146.0, 146.9, 147.5, 149.0, 149.6, 149.8, 
149.1, 149.9, 150.6, 149.8, 149.8, 150.7, 150.2, 150.9, 151.5, 152.6, 
152.9, 153.0, 152.4, 153.1, 153.8, 153.8, 153.9, 154.4, 154.4, 155.0, 
155.4, 156.3, 156.9, 157.5, 157.5, 158.5, 159.3, 159.5, 159.6, 160.0, 
159.5, 160.3, 160.8, 162.6, 
};

constexpr std::array<double, 11> kNonBusiness = {100, 100, 100, 95, 90, 85, 80, 75, 70, 65, 60};
constexpr std::array<double, 11> kBusinessBefore = {100, 92.5, 85, 77.5, 70, 62.5, 55, 47.5, 40, 32.5, 25};
constexpr std::array<double, 11> kBusinessAfter = {100, 50, 25, 25, 25, 25, 25, 25, 25, 25, 25};

constexpr std::array<CgtYearRates, kCgtLastRatesYear + 1> kRates = {{
    {5000, 0, 20, 20700, 25, 40},    {5500, 0, 20, 20700, 25, 40},    {5800, 2000, 20, 23700, 25, 40},
    {5800, 2500, 20, 23700, 25, 40}, {5800, 3000, 20, 23700, 25, 40}, {6000, 3200, 20, 24300, 25, 40},
    {6300, 3900, 20, 25500, 24, 40}, {6500, 4100, 20, 26100, 23, 40}, {6800, 4300, 20, 27100, 23, 40},
    {7100, 1500, 10, 28000, 23, 40}, {7200, 1520, 10, 28400, 22, 40}, {7500, 1880, 10, 29400, 22, 40},
    {7700, 1920, 10, 29900, 22, 40}, {7900, 1960, 10, 30500, 22, 40}, {8200, 2020, 10, 31400, 22, 40},
    {8400, 2080, 10, 32000, 22, 40}, {8600, 2140, 10, 32600, 22, 40}, {8200, 2020, 10, 30500, 22, 40},
    {8200, 2020, 10, 30500, 22, 40},
}};
static_assert(kRates.size() == kCgtLastRatesYear + 1);

double TaperAt(const std::array<double, 11>& table, int years)
{
    return table[size_t(std::clamp(years, 0, 10))];
}

} // namespace

const std::array<double, kRpiMonths>& RpiTable() { return kRpi; }

int CgtMonthIndex(PackedDate date)
{
    int index = (FullYear(date) - 1982) * 12 + MonthOfYear(date) - 3;
    return std::clamp(index, 0, kRpiMonths - 1);
}

double RpiOfMonth(int monthIndex) { return kRpi[size_t(std::clamp(monthIndex, 0, kRpiMonths - 1))]; }

double IndexationFactor(int monthIndex)
{
    double rpi = RpiOfMonth(monthIndex);
    return std::round((kRpi.back() - rpi) / rpi * 1000.0) / 1000.0;
}

int CgtTaxYearIndex(PackedDate date)
{
    if (date >= CgtDate::Valuation)
        return kCgtValuationYear;
    return std::min(((int(date) - 101) >> 9) - 90, kCgtLastTaxYear);
}

double NonBusinessTaper(int years) { return TaperAt(kNonBusiness, years); }
double BusinessTaperBefore2002(int years) { return TaperAt(kBusinessBefore, years); }
double BusinessTaperAfter2002(int years) { return TaperAt(kBusinessAfter, years); }

CgtYearRates CgtRatesOfYear(int taxYear)
{
    return kRates[size_t(std::clamp(taxYear, 0, kCgtLastRatesYear))];
}

double AnnualExemption(int taxYear) { return CgtRatesOfYear(taxYear).exemption; }

int CgtBasicRate(int taxYear)
{
    return taxYear >= kCgtFlatBasicFrom ? kCgtFlatBasicRate : CgtRatesOfYear(taxYear).basicRate;
}

CgtTaxTake CgtTaxOn(int taxYear, double taxable)
{
    const CgtYearRates rates = CgtRatesOfYear(taxYear);
    const int r = CgtBasicRate(taxYear);
    double basic = r * taxable / 100;
    if (taxable > rates.basicBand)
        basic += (taxable - rates.basicBand) * (rates.higherRate - r) / 100;
    return {r, basic, rates.higherRate * taxable / 100};
}

} // namespace qv
