// A tax year's capital gains summary, the fixed tax tables as text and the indicative tax take.
#include "portfolio/CgtSummary.h"

#include "core/DateText.h"
#include "core/FormatNumber.h"
#include "core/StringPrintf.h"
#include "portfolio/Transaction.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

namespace L = TransactionLayout;

constexpr int kSell = 2;
constexpr int kOtherReduction = 5;
constexpr int kFirstTaperYear = 8;  // 1998/99: from here the summary takes the exemption off

std::string Money(double v) { return FormatMoney(v, true, false); }
std::string Pounds(double v) { return FormatMoney(v, false, false); }

float FieldF(const Transaction& t, size_t at)
{
    float v;
    std::memcpy(&v, t.bytes.data() + at, sizeof v);
    return v;
}

bool IgnoredInGains(const Transaction& t) { return (t.bytes[L::Flags] & TransactionFlag::IgnoreInGains) != 0; }

PackedDate YearStart(int taxYear) { return PackDate(6, 4, std::min(1990 + taxYear, 2027)); }

bool InTaxYear(PackedDate date, int taxYear)
{
    const int start = 1990 + taxYear;
    if (start > 2027)
        return false;
    const PackedDate end = start + 1 > 2027 ? kLastPackedDate : PackDate(5, 4, start + 1);
    return date >= YearStart(taxYear) && date <= end;
}

double LossesBroughtIn(const CgtSummaryInput& in, bool& override)
{
    override = in.taxYear >= 0 && in.taxYear < kCgtTableYears && in.manualLosses[size_t(in.taxYear)] >= 0;
    if (override)
        return in.manualLosses[size_t(in.taxYear)];
    const int before = CgtTableYear(in.taxYear - 1);
    return in.taxYear > 0 ? in.lossesCarried[size_t(before)] : 0.0;
}

// The share lines; the total chargeable gain to `total`, false when nothing was sold.
bool AppendShareLines(std::string& out, const CgtSummaryInput& in, double& total)
{
    bool any = false;
    double sold = 0;
    double gain = 0;
    for (const Transaction* t = in.transactions; t; t = t->next) {
        if (IgnoredInGains(*t))
            continue;
        const int type = t->type();
        if ((type == kSell || type == kOtherReduction) && InTaxYear(t->date(), in.taxYear)) {
            sold += FieldF(*t, L::Shares);
            gain += std::max(double(FieldF(*t, L::GainAfterLosses)), 0.0);
        }
        if (type != kLatestRowType)
            continue;
        if (sold > 0) {
            if (!any)
                out += "Share name\tNumber sold\tChargeable gain\n";
            any = true;
            out += StringPrintf("%s\t%g\t%s\n", std::string(t->text(0)).c_str(), sold, Money(gain).c_str());
            total += gain;
        }
        sold = 0;
        gain = 0;
    }
    return any;
}

void AppendTax(std::string& out, int taxYear, double total)
{
    const int year = CgtTableYear(taxYear);
    const CgtYearRates rates = CgtRatesOfYear(year);
    out += StringPrintf("\nTotal chargeable gain\t\t%s\n", Money(total).c_str());
    double taxable = total;
    if (year >= kFirstTaperYear)
        taxable = std::max(total - double(rates.exemption), 0.0);
    const char* marker = year >= kCgtEstimatedFrom ? "*" : "";
    out += StringPrintf("After CGT exemption %s%s\t\t%s\n\n", Pounds(rates.exemption).c_str(), marker,
                        Money(taxable).c_str());
    const CgtTaxTake tax = CgtTaxOn(year, taxable);
    out += StringPrintf("Tax if starting at Basic rate (%i%%%s)\t\t%s\n", tax.basicRate, marker,
                        Money(tax.atBasic).c_str());
    out += StringPrintf("Tax if at Higher rate (%i%%%s)\t\t%s", rates.higherRate, marker, Money(tax.atHigher).c_str());
    if (*marker)
        out += "\n\n* Estimated";
}

std::string RateRange(int rate, double from, double to)
{
    return StringPrintf("%i%% %s-%s", rate, Pounds(from).c_str(), Pounds(to).c_str());
}

std::string TaperRow(double (*taper)(int))
{
    std::string row;
    for (int years = 0; years <= 10; ++years)
        row += StringPrintf("\t%g%%", taper(years));
    return row;
}

} // namespace

int CgtTableYear(int taxYear) { return std::clamp(taxYear, 0, kCgtLastTaxYear); }

std::string CgtYearLabel(int taxYear)
{
    const int start = 1990 + taxYear;
    return StringPrintf("%i/%02i", start, (start + 1) % 100);
}

std::string CgtSummaryCaption(int taxYear) { return "Tax for tax year " + CgtYearLabel(taxYear); }

std::string CgtTaxYearSummary(const CgtSummaryInput& in)
{
    std::string out = StringPrintf("Tax for tax year %s\n\n", CgtYearLabel(in.taxYear).c_str());
    bool override = false;
    const double broughtIn = LossesBroughtIn(in, override);
    out += StringPrintf("Capital losses from previous years %s%s\n\n", Money(broughtIn).c_str(),
                        override ? " (override)" : "");
    double total = 0;
    if (!AppendShareLines(out, in, total))
        out += "\nNo sales so no CGT liability\n";
    else if (total <= 0.001)
        out += "\nNo chargeable gain\n";
    else
        AppendTax(out, in.taxYear, total);
    out += StringPrintf("\n\nCapital losses carried forward %s\n\n",
                        Money(in.lossesCarried[size_t(CgtTableYear(in.taxYear))]).c_str());
    return out;
}

std::string CgtRpiTableCaption(bool factors)
{
    return StringPrintf("RPI figures used for Capital Gains Tax %s April 1998", factors ? "post" : "pre");
}

std::string CgtRpiTableText(bool factors)
{
    std::string out = "Year\tJan\tFeb\tMar\tApr\tMay\tJun\tJul\tAug\tSep\tOct\tNov\tDec\n";
    for (int year = 1982; year <= 1998; ++year) {
        out += StringPrintf("%i", year);
        for (int month = 1; month <= 12; ++month) {
            const int index = (year - 1982) * 12 + month - 3;
            if (index >= kRpiMonths)
                break;
            if (index < 0) {
                out += "\t";
                continue;
            }
            if (factors)
                out += StringPrintf("\t%.*f", 3, IndexationFactor(index));
            else
                out += StringPrintf("\t%.*f", year <= 1986 ? 2 : 1, RpiOfMonth(index));
        }
        out += "\n";
    }
    if (factors)
        out += "\nThis the ratio by which the cost base can be increased.\nSo if a share was purchased in May 93 for a "
               "total cost of \xA3" "1,000 and sold after April 98\n           the cost base is (1+0.15) x \xA3"
               "1,000 = \xA3" "1,150";
    return out;
}

std::string CgtTaperTableText()
{
    std::string years;
    for (int y = 0; y <= 10; ++y)
        years += StringPrintf("\t  %i", y);
    std::string out = "Capital Gains Tax taper for non-business assets\n" + years + "\n" + TaperRow(NonBusinessTaper);
    out += "\n\nNote: From 6 April 2000 AIM and unquotes shares count as business assets";
    out += "\n\nCapital Gains Tax taper for business assets before 6 April 2002\n" + years + "\n" +
           TaperRow(BusinessTaperBefore2002);
    out += "\n\nCapital Gains Tax taper for business assets after 6 April 2002\n" + years + "\n" +
           TaperRow(BusinessTaperAfter2002);
    return out;
}

std::string CgtExemptionTableText()
{
    std::string out;
    for (int block = 0; block < 5; ++block) {
        std::string year = "Year", exemption = "CGT Exemption", lower = "Lower rate", basic = "Basic rate",
                    higher = "Higher rate";
        for (int i = block * 3; i < block * 3 + 3; ++i) {
            const CgtYearRates r = CgtRatesOfYear(i);
            year += "\t" + CgtYearLabel(i);
            exemption += "\t" + Pounds(r.exemption);
            lower += "\t";
            if (r.lowerBand != 0)
                lower += RateRange(r.lowerRate, 0, r.lowerBand);
            basic += "\t" + RateRange(r.basicRate, r.lowerBand + 1, r.basicBand);
            higher += StringPrintf("\t%i%% Over %s", r.higherRate, Pounds(r.basicBand).c_str());
        }
        out += year + "\n" + exemption + "\n" + lower + "\n" + basic + "\n" + higher + "\n\n";
    }
    out += "Note that from 2000/2001 the Basic rate for CGT is 20%";
    return out;
}

int CgtSummaryYearOf(PackedDate today, int offset) { return FullYear(today) + offset - 1 - 1990; }

std::string CgtSummaryMenuText(PackedDate today, int offset)
{
    const int start = FullYear(today) + offset - 1;
    std::string text = StringPrintf("Tax year %02i/%02i", start % 100, (start + 1) % 100);
    if (offset == 0)
        text += "\t, (comma)";
    return text;
}

std::vector<std::string> TaxTakeLines(const TaxTakeInput& in)
{
    std::vector<std::string> lines{"Indicative tax take for " + in.name, "",
                                   "\tExemption\tTaxable\tBasic rate\tHigher rate"};
    // The tax year today falls in (6 April starts one), as years since 1985: rows up to the next three.
    const int n = YearField(PackedDate(in.today - 101)) - 85;
    auto gainOf = [&](int i) { return i >= 0 && i <= kCgtLastTaxYear ? in.yearGains[size_t(i)] : 0.0; };
    bool planningGains = false;
    for (int i = n - 4; i <= n - 2; ++i)
        if (gainOf(i) > 0)
            planningGains = true;
    for (int i = 0; i < n; ++i) {
        const bool last = i == n - 1;
        if (!(i < n - 4 || last || planningGains))
            continue;
        if (i == n - 4)
            lines.push_back("Planning");
        const CgtYearRates rates = CgtRatesOfYear(i);
        const double g = last ? in.residual : gainOf(i);
        double t = g;
        if (!in.ignoreExemption) {
            t -= rates.exemption;
            if (in.doubleExemption)
                t -= rates.exemption;
        }
        t = std::max(t, 0.0);
        const CgtTaxTake tax = CgtTaxOn(i, t);
        const double basic = tax.atBasic;
        const double higher = tax.atHigher;
        if (last)
            lines.push_back(StringPrintf("Residual\t%s\t%s\t%s\t%s", Pounds(rates.exemption).c_str(), Pounds(g).c_str(),
                                         Pounds(basic).c_str(), Pounds(higher).c_str()));
        else
            lines.push_back(StringPrintf("Year %s\t%s%c\t%s\t%s\t%s", CgtYearLabel(i).c_str(),
                                         Pounds(rates.exemption).c_str(), i >= n - 4 ? '*' : ' ', Pounds(g).c_str(),
                                         Pounds(basic).c_str(), Pounds(higher).c_str()));
    }
    lines.push_back("");
    lines.push_back("These figures assume that the tax rate starts either at the bottom of the Basic rate");
    lines.push_back("   or in the Higher rate.  Allowance is made for carry-over losses.");
    lines.push_back("Most tax payer will pay between the two figures.");
    return lines;
}

} // namespace qv
