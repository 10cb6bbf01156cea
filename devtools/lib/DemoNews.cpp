// The demo's news: stories made from templates about the demo companies, with code prefixes of
// countries, industries, subjects and five-digit share numbers, some tables laid out with coded
// runs of blanks (a tab and a letter) and an agency credit, one update file per trading day.
#include "devtools/lib/DemoNews.h"

#include "core/StringPrintf.h"
#include "devtools/lib/NewsUpdateWriter.h"
#include "platform/FileOps.h"

#include <random>

namespace qv::dev {

namespace {

const char* const kIndustries[] = {"FIN", "OIL", "MET", "RET", "TEL", "ENG", "PRO", "HTH", "UTI", "TRN"};
// The story window draws an agency's credit, "(AF" up to its ")", in its own colour.
const char* const kCredit = "\n(AFX Quorvantis Demo Newswire)";

std::string Name(const DemoRecord& r) { return r.name; }

std::string CompanyStory(std::mt19937& rng, const DemoRecord& r)
{
    std::string industry = kIndustries[rng() % std::size(kIndustries)];
    std::string share = StringPrintf("%05u", unsigned(r.id));
    int pence = 1 + int(rng() % 40);
    switch (rng() % 5) {
    case 0:
        return "GBR" + industry + "ERN" + share + " " + Name(r) + " reports higher profits\n" + Name(r) +
               " said profit before tax rose " + std::to_string(pence) + " per cent in the half year.\n\tcRevenue\te" +
               std::to_string(100 + rng() % 900) + "m\n\tcProfit\tf" + std::to_string(10 + rng() % 90) + "m" + kCredit;
    case 1:
        return "GBR" + industry + "DIV" + share + " " + Name(r) + " raises dividend to " + std::to_string(pence) +
               "p\nThe board of " + Name(r) + " proposed a final dividend of " + std::to_string(pence) +
               "p a share, payable next month." + kCredit;
    case 2:
        return "GBR" + industry + "ORD" + share + " " + Name(r) + " wins contract\n" + Name(r) +
               " has won a contract worth about " + std::to_string(pence * 3) + " million pounds." + kCredit;
    case 3:
        return "GBR" + industry + "MNA" + share + " " + Name(r) + " in talks on acquisition\n" + Name(r) +
               " confirmed it is in early talks about a possible acquisition. There is no certainty an offer "
               "will be made." +
               kCredit;
    default:
        return "GBR" + industry + "MGT" + share + " " + Name(r) + " appoints new chairman\n" + Name(r) +
               " announced the appointment of a new chairman with immediate effect." + kCredit;
    }
}

std::string MarketStory(std::mt19937& rng)
{
    int points = 5 + int(rng() % 80);
    if (rng() % 2)
        return "GBRSTKCLO London shares close " + std::string(rng() % 2 ? "higher" : "lower") + "\nThe FTSE 100 index moved " +
               std::to_string(points) + " points by the close.\n\tcFTSE 100\te" + std::to_string(5000 + rng() % 2000) +
               "\n\tcFTSE 250\te" + std::to_string(9000 + rng() % 3000) + kCredit;
    return "GBRMONCBK Bank of England holds interest rates\nThe Monetary Policy Committee left Bank Rate unchanged." +
           std::string(kCredit);
}

} // namespace

bool WriteDemoNews(const std::filesystem::path& folder, const DemoDatabase& demo)
{
    std::vector<const DemoRecord*> companies;
    for (const DemoRecord& r : demo.records)
        if (!r.description.empty())
            companies.push_back(&r);
    if (companies.empty())
        return true;
    std::mt19937 rng(kDemoSeed + 62);
    PackedDate day = demo.databaseDate;
    for (int n = 0; n < kDemoNewsDays && day; ++n, day = PreviousWeekday(day, false)) {
        NewsUpdateInput input;
        int stories = 6 + int(rng() % 10);
        for (int i = 0; i < stories; ++i) {
            uint16_t time = uint16_t((7 * 3600 + i * 1800 + int(rng() % 900)) / 2);
            std::string text = i % 5 == 4 ? MarketStory(rng) : CompanyStory(rng, *companies[rng() % companies.size()]);
            input.stories.push_back({day, time, text});
        }
        if (!WriteFileBytes(folder / "data" / NewsUpdateFileName(day), WriteNewsUpdate(input)))
            return false;
    }
    return true;
}

} // namespace qv::dev
