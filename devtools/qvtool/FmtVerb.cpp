// qvtool fmt: formats a value with one of the number, money, value or price routines.
#include "devtools/qvtool/Verbs.h"

#include "core/FormatNumber.h"
#include "core/FormatValue.h"
#include "platform/TextCodec.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace qv::tool {
namespace {

const char* kUsage =
    "usage: qvtool fmt ROUTINE VALUE [OPTION=N ...]\n"
    "  amount                     FormatAmount\n"
    "  money      [decimals] [four] [brackets]\n"
    "  sig        digits=N unit=U reserve=R\n"
    "  magnitude                  FindMagnitude and GetMagnitudeWord\n"
    "  value      style=N auto limit=N zero=N nosep\n"
    "  price      style=N limit=N zero=N nosep currency=N mode=N percent unscaled euro\n"
    "  clock      [12h]           VALUE in seconds since midnight\n"
    "  parse                      ParseDecimal of VALUE\n"
    "  style bits: 0-3 decimals, 16 fraction glyph, 32 plus sign, 64 k/m/b suffix\n";

using Options = std::map<std::string, std::string>;

double Number(const Options& o, const char* key, double fallback)
{
    auto it = o.find(key);
    return it == o.end() || it->second.empty() ? fallback : std::strtod(it->second.c_str(), nullptr);
}

bool Flag(const Options& o, const char* key)
{
    return o.count(key) != 0;
}

ValueTextRequest Request(double value, const Options& o)
{
    ValueTextRequest r;
    r.value = float(value);
    r.style = uint8_t(Number(o, "style", 0));
    r.autoDecimals = Flag(o, "auto");
    r.digitLimit = uint32_t(Number(o, "limit", 0));
    r.zeroMode = uint8_t(Number(o, "zero", 0));
    r.noSeparators = Flag(o, "nosep");
    return r;
}

void Show(const std::string& text)
{
    std::printf("\"%s\"\n", Cp1252ToUtf8(text).c_str());
}

int Run(const std::vector<std::string>& args)
{
    if (args.size() < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string& routine = args[0];
    Options o;
    for (size_t i = 2; i < args.size(); ++i) {
        size_t eq = args[i].find('=');
        o[args[i].substr(0, eq)] = eq == std::string::npos ? "" : args[i].substr(eq + 1);
    }
    if (routine == "parse") {
        double out = 0;
        bool ok = ParseDecimal(out, args[1]);
        std::printf("%s %.17g\n", ok ? "number" : "not a number", out);
        return 0;
    }
    double value = std::strtod(args[1].c_str(), nullptr);
    CurrentFormatOptions().negativeMoneyInBrackets = Flag(o, "brackets");
    CurrentFormatOptions().plainEuroSign = Flag(o, "euro");
    if (routine == "amount") {
        Show(FormatAmount(value));
    } else if (routine == "money") {
        Show(FormatMoney(value, Flag(o, "decimals"), Flag(o, "four")));
    } else if (routine == "sig") {
        Show(FormatSignificantDigits(value, int(Number(o, "digits", 3)), Number(o, "unit", 1),
                                     int(Number(o, "reserve", 0))));
    } else if (routine == "magnitude") {
        int exponent = 0;
        double power = FindMagnitude(value, exponent);
        std::printf("%g exponent %d \"%s\"\n", power, exponent, std::string(GetMagnitudeWord(exponent)).c_str());
    } else if (routine == "value") {
        ValueTextRequest r = Request(value, o);
        int length = FormatValueText(r);
        Show(r.out);
        std::printf("length %d suffix '%s'\n", length, r.suffix ? std::string(1, r.suffix).c_str() : "");
    } else if (routine == "price") {
        ValueTextRequest r = Request(value, o);
        int length = FormatPriceText(r, GetCurrencyUnitSymbols(int(Number(o, "currency", 0))),
                                     int(Number(o, "mode", 0)), Flag(o, "percent"), Flag(o, "unscaled"));
        Show(r.out);
        std::printf("length %d\n", length);
    } else if (routine == "clock") {
        Show(FormatClockTime(uint32_t(value), !Flag(o, "12h")));
    } else {
        std::fprintf(stderr, "qvtool fmt: unknown routine '%s'\n%s", routine.c_str(), kUsage);
        return 2;
    }
    return 0;
}

const Verb fmt("fmt", "fmt ROUTINE VALUE [OPTION=N ...]", "formats a value with a number or price routine", Run);

} // namespace
} // namespace qv::tool
