// qvtool news FOLDER [--story N] [--search TEXT] [--merge FILE]: the news database of a program
// folder, worked on in a copy: the days and stories with their titles, one story's text, a search,
// and the merge of one update file.
#include "core/NewsUpdateFiles.h"
#include "core/StringPrintf.h"
#include "devtools/lib/TempFolder.h"
#include "devtools/qvtool/Verbs.h"
#include "news/NewsDatabase.h"
#include "news/NewsSearch.h"
#include "platform/Paths.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace qv::tool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = "news FOLDER [--story N] [--search TEXT] [--merge FILE]";

std::string DayText(PackedDate d) { return StringPrintf("%02d/%02d/%04d", DayOfMonth(d), MonthOfYear(d), FullYear(d)); }

struct Options {
    std::string folder;
    long story = -1;
    std::string search;
    bool searching = false;
    std::string merge;
};

bool ParseOptions(const std::vector<std::string>& args, Options& o)
{
    if (args.empty())
        return false;
    o.folder = args[0];
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size())
            return false;
        if (a == "--story") {
            char* end = nullptr;
            o.story = std::strtol(args[++i].c_str(), &end, 10);
            if (*end || o.story < 0)
                return false;
        } else if (a == "--search") {
            o.search = args[++i];
            o.searching = true;
        } else if (a == "--merge") {
            o.merge = args[++i];
        } else {
            return false;
        }
    }
    return true;
}

std::string CodeText(uint8_t number) { return number ? std::string(NewsCodeTable::Code(number)) : "-"; }

void PrintSummary(NewsDatabase& news)
{
    const NewsCatalogue& c = news.catalogue();
    std::printf("days: %zu, stories: %zu\n", c.days.size(), c.stories.size());
    for (size_t i = 0; i < c.stories.size(); ++i) {
        const NewsStory& s = c.stories[i];
        std::printf("%5zu  %s %02u:%02u  %-3s %-3s %-3s %05u  %s\n", i, DayText(s.storyDate).c_str(), s.time * 2 / 3600,
                    s.time * 2 / 60 % 60, CodeText(s.country).c_str(), CodeText(s.industry).c_str(), CodeText(s.subject).c_str(),
                    unsigned(s.shareIds[0]), news.title(i).c_str());
    }
}

int Run(const std::vector<std::string>& args)
{
    Options o;
    if (!ParseOptions(args, o)) {
        std::fprintf(stderr, "usage: qvtool %s\n", kUsage);
        return 2;
    }
    if (!fs::is_directory(fs::path(o.folder) / "data")) {
        std::fprintf(stderr, "qvtool news: %s holds no data folder\n", o.folder.c_str());
        return 1;
    }
    // The folder is copied so that the merge of its waiting updates changes nothing of it.
    dev::TempFolder copy;
    std::error_code error;
    fs::copy(fs::path(o.folder) / "data", copy.path() / "data", fs::copy_options::recursive, error);
    if (!o.merge.empty())
        fs::copy_file(o.merge, copy.path() / "data" / fs::path(o.merge).filename(), fs::copy_options::overwrite_existing, error);
    if (error) {
        std::fprintf(stderr, "qvtool news: cannot copy %s\n", o.folder.c_str());
        return 1;
    }
    fs::path previous = ProgramFolder();
    SetProgramFolder(copy.path());
    NewsMergeHost* installed = SetNewsMergeHost(&NewsDatabaseMergeHost());
    NewsUpdateOutcome outcome = ApplyNewsUpdateFiles();
    NewsDatabase& news = TheNewsDatabase();
    if (outcome.found)
        std::printf("updates: %d merged, %d kept, %d set aside\n", outcome.merged, outcome.kept, outcome.setAside);
    if (o.story >= 0) {
        if (size_t(o.story) >= news.catalogue().stories.size()) {
            std::fprintf(stderr, "qvtool news: no story %ld\n", o.story);
        } else {
            std::printf("%s\n", news.storyText(size_t(o.story), kNewsPrefix | kNewsTitle | kNewsBody).c_str());
        }
    } else if (o.searching) {
        std::vector<NewsMatch> matches = PerformNewsSearch(news, MakeNewsSearchWords(news, 0, o.search));
        std::printf("matches: %zu\n", matches.size());
        for (const NewsMatch& m : matches)
            std::printf("%5u  %s\n", m.story, news.title(m.story).c_str());
    } else {
        PrintSummary(news);
    }
    news.free();
    SetNewsMergeHost(installed);
    SetProgramFolder(previous);
    return 0;
}

const Verb kVerb("news", kUsage, "the news database: stories, a story's text, a search, a merge", Run);

} // namespace
} // namespace qv::tool
