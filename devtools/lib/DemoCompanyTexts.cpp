// Business descriptions of the demo's invented companies, put together from sentences per trade.
#include "devtools/lib/DemoCompanyTexts.h"

#include <cctype>
#include <map>

namespace qv::dev {

namespace {

using Sentences = std::vector<const char*>;

// First sentences by trade. Slots: {R} a region, {T} a British town, {N} a small count, {M} a sum in
// pounds, {Y} a year.
const std::map<std::string_view, Sentences>& OpeningsByTrade()
{
    static const std::map<std::string_view, Sentences> openings = {
        {"Mining", {"Explores for and mines gold and copper in {R}, with {N} producing mines.",
                    "Mines coal and iron ore in {R} and sells most of its output under long-term contracts."}},
        {"Holdings", {"Holding company of a group with interests in property, distribution and engineering.",
                      "Holding company for {N} businesses supplying building materials in the UK and {R}."}},
        {"Group", {"Diversified group making packaging, labels and printed cartons at {N} plants.",
                   "Industrial group supplying pumps, valves and controls to the water and oil industries."}},
        {"Pharmaceuticals", {"Develops and sells prescription medicines for heart disease and diabetes.",
                             "Makes generic medicines at plants in {T} and {R}, with {N} products in trials."}},
        {"Engineering", {"Designs and builds gearboxes, turbines and precision parts for industry in {R}.",
                         "Engineering group serving the rail, defence and power markets from {T}."}},
        {"Retail", {"Runs {N} stores selling clothing and homeware across the UK.",
                    "Retailer of furniture, carpets and beds through shops and its own website."}},
        {"Estates", {"Owns and manages farmland, forestry and let cottages around {T}.",
                     "Invests in shopping centres and retail parks in the south of England."}},
        {"Energy", {"Explores for and produces oil and gas in the North Sea and {R}.",
                    "Supplies gas and electricity to homes and small businesses, with wind farms near {T}."}},
        {"Brewers", {"Brews ales and lagers in {T} and runs {N} pubs and inns.",
                     "Regional brewer and pub operator; its beers are sold in {R}."}},
        {"Telecom", {"Provides broadband, telephone and data services to businesses in the UK and {R}.",
                     "Operates a fibre network linking {N} towns in the north of England."}},
        {"Software", {"Writes accounting and payroll software for small firms, sold by subscription.",
                      "Develops software for banks and insurers, with offices in {T} and {R}."}},
        {"Insurance", {"Underwrites motor, home and travel insurance for private customers.",
                       "Specialist insurer of ships, aircraft and energy risks at Lloyd's."}},
        {"Foods", {"Makes biscuits, cakes and snacks for supermarkets at {N} bakeries.",
                   "Produces chilled ready meals and sauces at its factories near {T}."}},
        {"Logistics", {"Runs warehouses and a fleet of lorries for retailers across the UK and {R}.",
                       "Freight forwarder moving goods by sea and air between the UK and {R}."}},
        {"Media", {"Publishes regional newspapers and magazines and runs local radio stations.",
                   "Produces television programmes and films, and sells their rights in {R}."}},
        {"Minerals", {"Quarries limestone and sand in {R}, supplying builders and road makers.",
                      "Explores for lithium and rare earths in {R}; no mine is in production yet."}},
        {"Aerospace", {"Makes wing parts, landing gear and engine components for aircraft builders.",
                       "Supplies flight controls and cabin systems, from plants in {T} and {R}."}},
        {"Housing", {"Builds family homes on {N} sites across the Midlands and the south of England.",
                     "Housebuilder and land developer, completing some {N}00 homes a year."}},
        {"Leisure", {"Operates {N} hotels, golf courses and holiday parks in the UK.",
                     "Runs bowling alleys, cinemas and gyms in towns across the UK."}},
        {"Resources", {"Explores for oil, gas and minerals in {R} through joint ventures.",
                       "Owns stakes in mines and oilfields in {R}, and trades in metals."}},
        {"Bank", {"Retail and business bank with {N}0 branches, mainly in the north of England.",
                  "Lends to small businesses and property buyers, funded by savers' deposits."}},
        {"Utilities", {"Supplies water and treats waste water for homes and businesses around {T}.",
                       "Owns and runs electricity networks serving {N} million homes."}},
        {"Chemicals", {"Makes speciality chemicals, coatings and adhesives for industry in {R}.",
                       "Produces fertilisers, plastics and industrial gases at plants near {T}."}},
        {"Motors", {"Sells and services new and used cars through {N}0 dealerships.",
                    "Makes car parts, brakes and exhausts for vehicle builders in {R}."}},
        {"Textiles", {"Spins, weaves and dyes wool and cotton cloth at mills near {T}.",
                      "Makes workwear, uniforms and technical fabrics, selling mainly in {R}."}},
        {"Shipping", {"Owns and charters {N} tankers and bulk carriers trading worldwide.",
                      "Runs ferries and port services between the UK and {R}."}},
        {"Technology", {"Designs microchips, sensors and electronic systems for makers in {R}.",
                        "Supplies IT services, data centres and cloud hosting to UK businesses."}},
        {"Healthcare", {"Runs private hospitals, clinics and care homes across the UK.",
                        "Makes medical devices, wound dressings and surgical instruments."}},
        {"Construction", {"Builds roads, bridges and schools for public and private clients.",
                          "Civil engineering and building contractor, working mainly in {R}."}},
        {"Properties", {"Owns and lets offices and warehouses in London and the south east.",
                        "Develops and lets shops, flats and offices in the centre of {T}."}},
        {"Investment Trust", {"Invests in shares of companies in {R}, aiming for long-term capital growth.",
                              "Investment trust holding a spread of UK shares, aiming for a rising income.",
                              "Invests in smaller companies in the UK and {R}; the managers are based in {T}.",
                              "Investment trust backing unquoted technology and healthcare businesses."}},
        {"Split Capital Trust", {"Split capital trust with income and capital shares, investing in UK equities.",
                                 "Split capital trust investing in shares and bonds in {R}, due to wind up in {Y}."}},
    };
    return openings;
}

// Second sentences that suit any company.
const Sentences kClosings = {
    "Listed in London since {Y}.",
    "The head office is in {T}.",
    "Turnover last year was {M}.",
    "About {N},000 staff work for the group, most of them in the UK.",
    "It has paid a dividend every year since {Y}.",
};

const char* const kRegions[] = {"Europe",       "West Africa",     "South America",  "Australia",
                                "North America", "Scandinavia",     "the Far East",   "Ireland",
                                "India",         "the Middle East", "Eastern Europe", "southern Africa"};
const char* const kTowns[] = {"Leeds",   "Bristol",   "Aberdeen", "Norwich",    "Derby",   "Swindon",
                              "Cardiff", "Glasgow",   "Preston",  "Ipswich",    "Reading", "Newcastle",
                              "Exeter",  "Sheffield", "Belfast",  "Peterborough"};

// Portable draws from the engine's raw output.
int Below(std::mt19937& rng, int n) { return int((double(rng()) + 0.5) / 4294967296.0 * n); }

template <size_t N>
const char* Pick(std::mt19937& rng, const char* const (&list)[N])
{
    return list[Below(rng, int(N))];
}

std::string Fill(std::mt19937& rng, std::string_view pattern)
{
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '{' || i + 2 >= pattern.size() || pattern[i + 2] != '}') {
            out += pattern[i];
            continue;
        }
        switch (pattern[i + 1]) {
        case 'R': out += Pick(rng, kRegions); break;
        case 'T': out += Pick(rng, kTowns); break;
        case 'N': out += std::to_string(2 + Below(rng, 28)); break;
        case 'Y': out += std::to_string(1965 + Below(rng, 50)); break;
        case 'M': out.append("\xA3").append(std::to_string(5 + Below(rng, 900))).append("m"); break;
        }
        i += 2;
    }
    return out;
}

// The trade of "First Trade" or "First Trade 2".
std::string_view TradeOf(std::string_view name)
{
    size_t space = name.find(' ');
    std::string_view trade = space == std::string_view::npos ? std::string_view{} : name.substr(space + 1);
    size_t last = trade.rfind(' ');
    if (last != std::string_view::npos && std::isdigit(static_cast<unsigned char>(trade[last + 1])))
        trade = trade.substr(0, last);
    return trade;
}

} // namespace

std::string DemoCompanyText(std::mt19937& rng, std::string_view companyName)
{
    const auto& openings = OpeningsByTrade();
    auto found = openings.find(TradeOf(companyName));
    const Sentences& first = found != openings.end() ? found->second : openings.at("Group");
    std::string text = Fill(rng, first[size_t(Below(rng, int(first.size())))]);
    if (Below(rng, 2))
        text.append(" ").append(Fill(rng, kClosings[size_t(Below(rng, int(kClosings.size())))]));
    return text;
}

const std::vector<std::string>& DemoTextPhrases()
{
    // Raw symbols: a word that starts in lower case after a blank carries the 0x80 marker before it.
    static const std::vector<std::string> phrases = {"ing ", "tion", "ers ", "\x80" "and ", "\x80" "the ",
                                                     "\x80" "in ", "\x80" "of ", "es, "};
    return phrases;
}

const std::vector<std::string>& DemoTextWords()
{
    static const std::vector<std::string> words = {"companies", "company", "businesses", "England", "Europe",
                                                   "London", "insurance", "property", "supplies", "shares"};
    return words;
}

} // namespace qv::dev
