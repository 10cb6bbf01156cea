// The news database in memory: load, save, merge, verify, story texts and titles.
#include "news/NewsDatabase.h"

#include "core/ReadersWriterLock.h"
#include "news/NewsIndex.h"
#include "news/NewsLock.h"
#include "news/NewsTitles.h"
#include "news/NewsUpdateFile.h"
#include "platform/DebugOutput.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "resources/WebAddresses.h"
#include "shell/SplashStatus.h"

#include <algorithm>
#include <set>
#include <array>

namespace qv {

namespace fs = std::filesystem;
namespace nh = news_header;

namespace {

const char* const kStoryFiles[] = {"DNews.dat", "INews.dat", "TNews.dat"};
const char* const kWorkFiles[] = {"tempTNews.dat", "tempINews.dat", "workINews.dat", "tempDNews.dat"};

std::string SeriousErrorText()
{
    return std::string("We have encountered a serious error with the news database. The next time\r\n"
                       "you update Quorvantis, the last week of news will be downloaded. For further\r\n"
                       "historical news stories, please contact our support team on ") +
           kSupportTelephone + " or " + kSupportEmail;
}

// Moves a file aside as "<name>.bad", replacing an older one.
bool SetAside(const fs::path& file)
{
    std::error_code error;
    if (!fs::exists(file, error))
        return false;
    fs::path bad = file;
    bad += ".bad";
    return RenameReplace(file, bad);
}

bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

fs::path NewsDatabase::DataFolder() { return AppPath("data"); }
fs::path NewsDatabase::NewsFolder() { return AppPath("data") / "News"; }

void NewsDatabase::free()
{
    c_ = NewsCatalogue();
    codes_ = NewsCodeTable();
    cachedBlock_.reset();
    titleCache_.clear();
    samples_.clear();
    storiesAtLoad_ = 0;
    loaded_ = false;
    modified_ = false;
}

void NewsDatabase::recreate(bool deleteFiles)
{
    if (deleteFiles) {
        for (const char* name : kStoryFiles)
            ForceDelete(NewsFolder() / name);
        for (const char* name : kWorkFiles)
            ForceDelete(NewsFolder() / name);
    }
    free();
    c_ = EmptyNewsCatalogue();
    NewsDictionary dictionary(c_);
    codes_.build(dictionary, c_);
    loaded_ = true;
    modified_ = true;
}

void NewsDatabase::setAsideFiles()
{
    // Every file is set aside, whichever of them were there.
    bool any = SetAside(DataFolder() / "News.dat");
    any = SetAside(DataFolder() / "News.old") || any;
    for (const char* name : kStoryFiles)
        any = SetAside(NewsFolder() / name) || any;
    if (any) {
        OutputDebugText("News database damaged: its files are set aside as .bad");
        ShowMessage(SeriousErrorText(), {}, MsgButtons::Ok, MsgIcon::Stop);
    }
}

void NewsDatabase::load()
{
    // A work file left behind means a rebuild was cut short. (A file that is not there counts as
    // deleted, so each one is looked for first.)
    bool cutShort = false;
    std::error_code error;
    for (const char* name : kWorkFiles) {
        const fs::path work = NewsFolder() / name;
        if (fs::exists(work, error)) {
            ForceDelete(work);
            cutShort = true;
        }
    }
    if (cutShort) {
        ForceDelete(NewsFolder() / "TNews.dat");
        ForceDelete(NewsFolder() / "INews.dat");
    }
    free();
    bool storyFile = fs::exists(NewsFolder() / "DNews.dat", error);
    for (const char* name : {"News.dat", "News.old"}) {
        std::optional<std::vector<uint8_t>> image = ReadFileBytes(DataFolder() / name);
        if (!image)
            continue;
        NewsCatalogueLoad result = ParseNewsCatalogue(*image, storyFile, c_);
        if (result.status != NewsCatalogueStatus::Loaded) {
            OutputDebugText(std::string("News catalogue ") + name + " cannot be read");
            continue;
        }
        if (result.droppedSearchTexts)
            OutputDebugText("News search texts with bad offsets dropped: " + std::to_string(result.droppedSearchTexts));
        loaded_ = true;
        modified_ = std::string(name) != "News.dat";
        break;
    }
    if (!loaded_) {
        setAsideFiles();
        recreate(true);
        return;
    }
    if (cutShort)
        for (NewsDay& day : c_.days)
            day.indexOffset = day.indexLength = 0;
    // A catalogue whose code numbers were never built has stories without their codes.
    const bool codesNew = c_.header.u32(nh::kCodesBuilt) == 0;
    NewsDictionary dictionary(c_);
    codes_.build(dictionary, c_);
    if (codesNew)
        recodeStories();
    verify();
    readTitleSamples();
    storiesAtLoad_ = uint32_t(c_.stories.size());
}

SaveResult NewsDatabase::save(bool keepPrevious)
{
    if (!loaded_)
        return SaveResult::Skipped;
    std::vector<uint8_t> image = NewsCatalogueImage(c_);
    SavePlan plan{"data\\News.dat", "data\\News.tmp", keepPrevious ? "data\\News.old" : "", 0, {}};
    SaveResult result = SaveFileImage(plan, image);
    if (result == SaveResult::Saved)
        modified_ = false;
    else
        OutputDebugText("Exception Saving ZOD");
    return result;
}

// Stories whose day is gone are marked and removed; day blocks that lie beyond DNews.dat (an append
// cut short) are dropped with their stories; titles that no longer match are rebuilt; files that
// hold room no day uses are rewritten compactly.
void NewsDatabase::verify()
{
    std::error_code error;
    uintmax_t storyFileSize = fs::file_size(NewsFolder() / "DNews.dat", error);
    if (error)
        storyFileSize = 0;
    size_t before = c_.days.size();
    std::erase_if(c_.days, [&](const NewsDay& day) {
        return uint64_t(day.blockOffset) + day.blockLength > storyFileSize || day.blockOffset < kNewsFileHeaderSize;
    });
    bool marked = false;
    for (NewsStory& story : c_.stories) {
        bool hasDay = std::any_of(c_.days.begin(), c_.days.end(), [&](const NewsDay& d) { return d.date == story.dayDate; });
        if (!hasDay) {
            story.state = 3;
            marked = true;
        }
    }
    if (marked || before != c_.days.size()) {
        OutputDebugText("News verify: stories without a day removed");
        removeMarkedStories();
    }
    reindexTitles();
    if (filesHoldWaste() && !compactFiles())
        OutputDebugText("Exception Verifying ZOD - Stages 5");
}

// The titles go first, while the stories still carry their marks.
void NewsDatabase::removeMarkedStories()
{
    if (!purgeTitles())
        OutputDebugText("Exception Purging titles");
    // The stories before the latest boundary move down by those removed among them, so that "latest"
    // keeps meaning the stories that came after the load.
    const size_t boundary = std::min<size_t>(storiesAtLoad_, c_.stories.size());
    storiesAtLoad_ -= uint32_t(std::count_if(c_.stories.begin(), c_.stories.begin() + ptrdiff_t(boundary),
                                             [](const NewsStory& s) { return s.state == 3; }));
    std::erase_if(c_.stories, [](const NewsStory& s) { return s.state == 3; });
    ForceDelete(NewsFolder() / "INews.dat");
    for (NewsDay& day : c_.days)
        day.indexOffset = day.indexLength = 0;
    cachedBlock_.reset();
    titleCache_.clear();
    modified_ = true;
}

void NewsDatabase::clearIndex()
{
    ForceDelete(NewsFolder() / "INews.dat");
    for (NewsDay& day : c_.days)
        day.indexOffset = day.indexLength = 0;
    modified_ = true;
}

std::vector<bool> NewsDatabase::purgeChoice(NewsPurgeMethod method, uint32_t limit, PackedDate today) const
{
    const size_t n = c_.stories.size();
    std::vector<bool> gone(n, false);
    const int32_t cutoff = DateToDayNumber(today) - int32_t(limit) * 7;
    for (size_t i = 0; i < n; ++i) {
        const NewsStory& s = c_.stories[i];
        bool outside = false;
        switch (method) {
        case NewsPurgeMethod::Weeks: outside = DateToDayNumber(s.storyDate) < cutoff; break;
        case NewsPurgeMethod::Stories: outside = n - i > limit; break;
        case NewsPurgeMethod::Date: outside = s.storyDate < PackedDate(limit); break;
        }
        gone[i] = s.state == kNewsStateDelete || (outside && s.state != kNewsStateKept);
    }
    return gone;
}

size_t NewsDatabase::purge(NewsPurgeMethod method, uint32_t limit, PackedDate today)
{
    const std::vector<bool> gone = purgeChoice(method, limit, today);
    size_t removed = 0;
    for (size_t i = 0; i < gone.size(); ++i)
        if (gone[i]) {
            c_.stories[i].state = kNewsStateDelete;
            ++removed;
        }
    if (removed == 0)
        return 0;
    removeMarkedStories();
    std::set<PackedDate> used;
    for (const NewsStory& s : c_.stories)
        used.insert(s.dayDate);
    std::erase_if(c_.days, [&](const NewsDay& d) { return !used.count(d.date); });
    if (!compactFiles())
        OutputDebugText("News purge: the story files were not compacted");
    save(false);
    return removed;
}

bool NewsDatabase::filesHoldWaste() const
{
    uint64_t blocks = kNewsFileHeaderSize, sections = kNewsFileHeaderSize;
    bool indexed = false;
    for (const NewsDay& day : c_.days) {
        blocks += day.blockLength;
        sections += day.indexLength;
        indexed = indexed || day.indexLength != 0;
    }
    std::error_code error;
    uintmax_t storyFile = fs::file_size(NewsFolder() / "DNews.dat", error);
    if (!error && !c_.days.empty() && storyFile > blocks)
        return true;
    uintmax_t indexFile = fs::file_size(NewsFolder() / "INews.dat", error);
    return !error && indexed && indexFile > sections;
}

namespace {

// Copies length bytes at offset of one file to the end of another; the offset written at.
std::optional<uint32_t> CopyPiece(ExclusiveFile& in, ExclusiveFile& out, uint64_t& outSize, uint32_t offset,
                                  uint32_t length)
{
    std::vector<uint8_t> bytes(length);
    if (!in.seek(offset) || in.read(bytes.data(), bytes.size()) != (long long)bytes.size() ||
        !out.write(bytes.data(), bytes.size()))
        return std::nullopt;
    uint32_t at = uint32_t(outSize);
    outSize += length;
    return at;
}

bool StartCopy(ExclusiveFile& out, const fs::path& path, const char* tag)
{
    std::vector<uint8_t> header = NewsFileHeader(tag);
    return out.open(path, ExclusiveFile::Mode::Create) && out.write(header.data(), header.size());
}

} // namespace

bool NewsDatabase::compactFiles()
{
    const fs::path story = NewsFolder() / "DNews.dat", index = NewsFolder() / "INews.dat";
    const fs::path storyCopy = NewsFolder() / "tempDNews.dat", indexCopy = NewsFolder() / "tempINews.dat";
    ExclusiveFile storyIn, indexIn, storyOut, indexOut;
    std::error_code error;
    const bool hasIndex = c_.indexed() && fs::exists(index, error) && indexIn.open(index, ExclusiveFile::Mode::Read);
    bool ok = storyIn.open(story, ExclusiveFile::Mode::Read) && StartCopy(storyOut, storyCopy, "ZQDD") &&
              (!hasIndex || StartCopy(indexOut, indexCopy, "ZQDI"));
    std::vector<NewsDay> days = c_.days;
    uint64_t storySize = kNewsFileHeaderSize, indexSize = kNewsFileHeaderSize;
    for (size_t i = 0; ok && i < days.size(); ++i) {
        NewsDay& day = days[i];
        std::optional<uint32_t> at = CopyPiece(storyIn, storyOut, storySize, day.blockOffset, day.blockLength);
        ok = at.has_value();
        day.blockOffset = at.value_or(0);
        std::optional<uint32_t> section;
        if (ok && hasIndex && day.indexLength >= 8)
            section = CopyPiece(indexIn, indexOut, indexSize, day.indexOffset, day.indexLength);
        // A section that cannot be copied is built again by the next search.
        day.indexOffset = section.value_or(0);
        day.indexLength = section ? day.indexLength : 0;
    }
    ok = ok && storyOut.sync() && storyOut.close() && (!hasIndex || (indexOut.sync() && indexOut.close()));
    storyIn.close();
    indexIn.close();
    if (ok)
        ok = RenameReplace(storyCopy, story) && (hasIndex ? RenameReplace(indexCopy, index) : (ForceDelete(index), true));
    ForceDelete(storyCopy);
    ForceDelete(indexCopy);
    if (!ok)
        return false;
    c_.days = std::move(days);
    cachedBlock_.reset();
    modified_ = true;
    save(false);
    return true;
}

const NewsDayBlock* NewsDatabase::dayBlock(PackedDate date, bool& noFile)
{
    noFile = false;
    if (cachedBlock_ && cachedDate_ == date)
        return &*cachedBlock_;
    auto day = std::find_if(c_.days.begin(), c_.days.end(), [&](const NewsDay& d) { return d.date == date; });
    if (day == c_.days.end())
        return nullptr;
    ExclusiveFile file;
    if (!file.open(NewsFolder() / "DNews.dat", ExclusiveFile::Mode::Read)) {
        noFile = true;
        return nullptr;
    }
    cachedBlock_ = ReadDayBlock(file, *day);
    cachedDate_ = date;
    return cachedBlock_ ? &*cachedBlock_ : nullptr;
}

std::optional<std::vector<uint8_t>> NewsDatabase::ReadDayBytes(const ExclusiveFile& file, const NewsDay& day)
{
    std::vector<uint8_t> bytes(day.blockLength);
    if (file.readAt(day.blockOffset, bytes.data(), bytes.size()) != (long long)bytes.size())
        return std::nullopt;
    return bytes;
}

std::optional<NewsDayBlock> NewsDatabase::ReadDayBlock(const ExclusiveFile& file, const NewsDay& day)
{
    std::optional<std::vector<uint8_t>> bytes = ReadDayBytes(file, day);
    if (!bytes)
        return std::nullopt;
    return NewsDayBlock::Parse(*bytes);
}

std::optional<std::vector<uint32_t>> NewsDatabase::storyWords(size_t story)
{
    if (story >= c_.stories.size())
        return std::nullopt;
    const NewsStory& s = c_.stories[story];
    bool noFile = false;
    const NewsDayBlock* block = dayBlock(s.dayDate, noFile);
    if (!block)
        return std::nullopt;
    return block->storyWords(s.dayIndex, s.codeTable);
}

std::string NewsDatabase::storyText(size_t story, int mode)
{
    if (story >= c_.stories.size())
        return kNewsNoDayText;
    bool noFile = false;
    if (!dayBlock(c_.stories[story].dayDate, noFile))
        return noFile ? kNewsNoStoryFile : kNewsNoDayText;
    std::optional<std::vector<uint32_t>> words = storyWords(story);
    if (!words)
        return kNewsNoDayText;
    NewsDictionary dictionary(c_);
    std::string parts[3];
    int part = 0;
    bool lineFeed = false;
    for (uint32_t id : *words) {
        if (part == 0 && id == ' ') {
            part = 1;
            continue;
        }
        if (part == 1 && id == '\n') {
            part = 2;
            lineFeed = true;
            continue;
        }
        parts[part] += dictionary.text(id, true).text;
    }
    std::string out;
    bool any = false;
    auto add = [&out, &any](const std::string& text, const char* joint) {
        if (any)
            out += joint;
        out += text;
        any = true;
    };
    if (mode & kNewsPrefix)
        add(parts[0], " ");
    if (mode & kNewsTitle)
        add(parts[1], " ");
    if ((mode & kNewsBody) && (lineFeed || !parts[2].empty()))
        add(parts[2], "\n");
    return out;
}

// The code prefix (the characters before the first blank): three-letter codes set the country,
// industry and subject; five-digit numbers fill the three share ids. A run that is no code is
// ignored, so it cannot overwrite a code already found.
void NewsDatabase::applyPrefix(NewsStory& story, const std::vector<uint32_t>& words)
{
    NewsDictionary dictionary(c_);
    std::string prefix;
    for (uint32_t id : words) {
        if (id == ' ' || id == '\n')
            break;
        prefix += dictionary.text(id, true).text;
    }
    uint32_t countries = c_.header.u32(nh::kCodeTotals), industries = c_.header.u32(nh::kCodeTotals + 4);
    size_t share = 0;
    for (size_t i = 0; i < prefix.size();) {
        if (IsLetter(prefix[i]) && i + 3 <= prefix.size()) {
            std::string code = prefix.substr(i, 3);
            std::transform(code.begin(), code.end(), code.begin(), [](char c) { return char(c | 0x20); });
            uint32_t number = codes_.number(dictionary.add(code, 0));
            if (number != 0 && number < countries)
                story.country = uint8_t(number);
            else if (number != 0 && number < industries)
                story.industry = uint8_t(number);
            else if (number != 0)
                story.subject = uint8_t(number);
            i += 3;
        } else if (IsDigit(prefix[i]) && i + 5 <= prefix.size()) {
            uint32_t id = uint32_t(std::stoul(prefix.substr(i, 5)));
            if (share < story.shareIds.size())
                story.shareIds[share++] = id;
            i += 5;
        } else {
            ++i;
        }
    }
}

// The title line's words, as many as fit in 80 characters.
std::string NewsDatabase::titleOf(const std::vector<uint32_t>& words)
{
    NewsDictionary dictionary(c_);
    std::string title;
    bool inTitle = false;
    for (uint32_t id : words) {
        if (!inTitle) {
            inTitle = id == ' ';
            continue;
        }
        if (id == '\n')
            break;
        std::string text = dictionary.text(id, true).text;
        if (title.size() + text.size() > NewsTitleRecord::kMaxText)
            break;
        title += text;
    }
    return title;
}

std::string NewsDatabase::title(size_t story)
{
    std::optional<std::vector<uint32_t>> words = storyWords(story);
    return words ? titleOf(*words) : std::string();
}

bool NewsDatabase::rebuildTitles()
{
    ForceDelete(NewsFolder() / "TNews.dat");
    ForceDelete(NewsFolder() / "tempTNews.dat");
    std::vector<NewsTitleRecord> titles;
    for (size_t i = 0; i < c_.stories.size(); ++i)
        titles.push_back({uint32_t(i), title(i)});
    std::stable_sort(titles.begin(), titles.end());
    std::error_code error;
    fs::create_directories(NewsFolder(), error);
    if (!WriteNewsTitles(NewsFolder() / "TNews.dat", titles)) {
        OutputDebugText("Exception Rebuilding titles");
        return false;
    }
    readTitleSamples();
    return true;
}

bool NewsDatabase::reindexTitles()
{
    std::vector<NewsTitleRecord> titles;
    bool readable = ReadNewsTitles(NewsFolder() / "TNews.dat", titles);
    bool beyond = std::any_of(titles.begin(), titles.end(), [&](const NewsTitleRecord& t) { return t.story >= c_.stories.size(); });
    if (readable && !beyond && titles.size() == c_.stories.size())
        return true;
    if (rebuildTitles())
        return true;
    // The stories stay: a title file that cannot be written now is rebuilt at the next load.
    OutputDebugText("Exception Verifying ZOD - Stages 3");
    return false;
}

bool NewsDatabase::purgeTitles()
{
    std::vector<uint32_t> newNumber(c_.stories.size(), UINT32_MAX);
    uint32_t next = 0;
    for (size_t i = 0; i < c_.stories.size(); ++i)
        if (c_.stories[i].state != 3)
            newNumber[i] = next++;
    bool ok = RenumberNewsTitles(NewsFolder() / "TNews.dat", newNumber);
    titleCache_.clear();
    readTitleSamples();
    return ok;
}

void NewsDatabase::recodeStories()
{
    for (size_t i = 0; i < c_.stories.size(); ++i) {
        std::optional<std::vector<uint32_t>> words = storyWords(i);
        if (!words)
            continue;
        NewsStory& story = c_.stories[i];
        story.country = story.industry = story.subject = 0;
        std::array<uint32_t, 3> shares = story.shareIds;
        applyPrefix(story, *words);
        story.shareIds = shares;
    }
    modified_ = true;
}

void NewsDatabase::readTitleSamples()
{
    std::vector<NewsTitleRecord> titles;
    ReadNewsTitles(NewsFolder() / "TNews.dat", titles);
    samples_ = NewsTitleSamples(titles);
}

void NewsDatabase::setStoryState(size_t story, uint8_t state)
{
    if (story >= c_.stories.size() || c_.stories[story].state == state)
        return;
    c_.stories[story].state = state;
    modified_ = true;
}

const NewsTitleEntry* NewsDatabase::cachedTitle(size_t story, bool fill)
{
    if (const NewsTitleEntry* entry = titleCache_.find(uint32_t(story)))
        return entry;
    if (!fill || story >= c_.stories.size())
        return nullptr;
    std::vector<std::string> titles;
    for (size_t i = story; i < c_.stories.size() && titles.size() < NewsTitleCache::kEntries; ++i)
        titles.push_back(storyText(i, kNewsTitle));
    titleCache_.fill(uint32_t(story), titles);
    return titleCache_.find(uint32_t(story));
}

// Appends the block at the end of DNews.dat (after a new header when the file is new); a write cut
// short is taken back so that the file ends where it did.
bool NewsDatabase::appendDayBlock(NewsDay& day, const std::vector<uint8_t>& block)
{
    std::error_code error;
    fs::create_directories(NewsFolder(), error);
    fs::path path = NewsFolder() / "DNews.dat";
    ExclusiveFile file;
    if (!file.open(path, fs::exists(path, error) ? ExclusiveFile::Mode::ReadWrite : ExclusiveFile::Mode::Create))
        return false;
    uint64_t size = file.size().value_or(0);
    if (size < kNewsFileHeaderSize) {
        std::vector<uint8_t> header = NewsFileHeader("ZQDD");
        if (!file.resize(0) || !file.seek(0) || !file.write(header.data(), header.size()))
            return false;
        size = kNewsFileHeaderSize;
    }
    if (!file.seek(size) || !file.write(block.data(), block.size()) || !file.sync()) {
        file.resize(size);
        return false;
    }
    day.blockOffset = uint32_t(size);
    day.blockLength = uint32_t(block.size());
    return file.close();
}

NewsMergeResult NewsDatabase::merge(const fs::path& file)
{
    std::string name = file.filename().string();
    std::optional<PackedDate> date = NewsUpdateFileDate(name);
    if (!date) {
        SetAside(file);
        return NewsMergeResult::SetAside;
    }
    if (std::any_of(c_.days.begin(), c_.days.end(), [&](const NewsDay& d) { return d.date == *date; }))
        return NewsMergeResult::NotMerged;
    if (!loaded_)
        recreate(true);
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(file);
    if (!bytes)
        return NewsMergeResult::NotMerged;
    NewsUpdateRead read = ReadNewsUpdate(*bytes, *date);
    // A header this program cannot read (damaged, or of a version it does not know) would fail the
    // same way at every pass: it is set aside once, like a damaged body.
    if (read.status != NewsUpdateStatus::Read) {
        OutputDebugText("News update " + name + " damaged (" + read.fault + "); set aside");
        SetAside(file);
        return NewsMergeResult::SetAside;
    }
    const NewsUpdate& u = read.update;
    NewsCatalogue before = c_;
    NewsDictionary dictionary(c_);
    std::vector<uint32_t> ids;
    for (size_t i = 0; i < u.words.size(); ++i)
        ids.push_back(dictionary.add(u.words[i], u.wordClass(i)));
    // The index refers to hash slots, which a resize moves: it is built again once the day is in.
    const bool reindex = dictionary.resized() && c_.indexed();
    if (reindex) {
        ForceDelete(NewsFolder() / "INews.dat");
        for (NewsDay& day : c_.days)
            day.indexOffset = day.indexLength = 0;
    }
    NewsDayBlock block = NewsDayBlock::FromUpdate(u, ids);
    std::vector<NewsTitleRecord> titles;
    PackedDate latest = c_.header.u16(nh::kLatestDate);
    for (size_t i = 0; i < u.stories.size(); ++i) {
        NewsStory story;
        story.state = 1;
        story.storyDate = u.stories[i].date;
        story.time = u.stories[i].time;
        story.dayDate = *date;
        story.dayIndex = uint16_t(i);
        story.titleSymbols = u.stories[i].titleSymbols;
        story.codeTable = u.stories[i].codeTable;
        std::vector<uint32_t> words = *block.storyWords(i, story.codeTable);
        applyPrefix(story, words);
        titles.push_back({uint32_t(c_.stories.size()), titleOf(words)});
        latest = std::max(latest, story.storyDate);
        c_.stories.push_back(story);
    }
    NewsDay day;
    day.date = *date;
    day.storyCount = uint32_t(u.stories.size());
    if (!appendDayBlock(day, block.bytes())) {
        OutputDebugText("News update " + name + " could not be added to DNews.dat; kept");
        c_ = std::move(before);
        return NewsMergeResult::NotMerged;
    }
    c_.days.push_back(day);
    c_.header.setU16(nh::kLatestDate, latest);
    modified_ = true;
    if (!AddNewsTitles(NewsFolder() / "TNews.dat", titles))
        rebuildTitles();
    readTitleSamples();
    if (reindex) {
        std::unique_ptr<NewsReindexProgress> progress = MakeNewsReindexProgress();
        ReindexNews(*this, progress.get());
    }
    save(false);
    return NewsMergeResult::Merged;
}

NewsDatabase& TheNewsDatabase()
{
    static NewsDatabase database;
    return database;
}

NewsTitleEntry GetNewsTitle(size_t story, bool fill)
{
    // All news work runs on the user-interface thread, so a writer holding the lock now is a merge,
    // search or reindex further up this thread, dispatching messages: the title waits for the next
    // paint rather than for a lock that would never be released.
    if (NewsLock().WriterHolds())
        return NewsTitleEntry();
    AcquireNewsRead();
    const NewsTitleEntry* entry = TheNewsDatabase().cachedTitle(story, fill);
    NewsTitleEntry copy = entry ? *entry : NewsTitleEntry();
    ReleaseNewsRead();
    return copy;
}

const void* GetShareNewsEvents(const DayRecord*, size_t) { return nullptr; }

namespace {

class DatabaseMergeHost : public NewsMergeHost {
public:
    void showProgress(std::string_view text) override { SetSplashStatus(97, std::string(text)); }
    void lockExclusive() override { AcquireNewsWrite(); }
    void unlock() override { ReleaseNewsWrite(); }
    void loadNewsDatabase() override { TheNewsDatabase().load(); }
    NewsMergeResult mergeNewsUpdate(const std::string& fileName, const fs::path& folder) override
    {
        return TheNewsDatabase().merge(folder / fileName);
    }
};

} // namespace

NewsMergeHost& NewsDatabaseMergeHost()
{
    static DatabaseMergeHost host;
    return host;
}

} // namespace qv
