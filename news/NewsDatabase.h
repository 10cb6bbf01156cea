// The news database in memory: the catalogue, the dictionary's code table and the last day block
// read; its load with the fallbacks, its save through the save protocol, the merge of an update
// file, the verify after loading, the story texts and titles.
#pragma once

#include "core/NewsUpdateFiles.h"
#include "core/SaveProtocol.h"
#include "news/NewsCatalogue.h"
#include "news/NewsDayBlock.h"
#include "news/NewsDictionary.h"
#include "news/NewsTitleCache.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class ExclusiveFile;

// Parts of a story's text: the code prefix, the title line, the body.
enum NewsTextPart : int { kNewsPrefix = 1, kNewsTitle = 2, kNewsBody = 4 };

// How a purge limits the stories it keeps: by weeks before a date, by the newest n stories, or by a date.
enum class NewsPurgeMethod : int { Weeks = 0, Stories = 1, Date = 2 };

inline constexpr const char* kNewsNoStoryFile = "Error - Unable to load the main news data file 'DNews.dat'";
inline constexpr const char* kNewsNoDayText = "Error - No news text could be found for this day";

class NewsDatabase {
public:
    // The files below "data\" of the program folder.
    static std::filesystem::path DataFolder();
    static std::filesystem::path NewsFolder();

    // Loads News.dat (News.old when News.dat fails; both failing sets every news file aside as
    // ".bad" and makes an empty database), then builds the code table and verifies.
    void load();
    // Writes News.dat through the save protocol; on a failure the old file and memory stay.
    SaveResult save(bool keepPrevious);
    NewsMergeResult merge(const std::filesystem::path& file);
    // An empty database; with the flag the story files go too.
    void recreate(bool deleteFiles);
    void free();

    bool loaded() const { return loaded_; }
    bool modified() const { return modified_; }
    NewsCatalogue& catalogue() { return c_; }
    const NewsCatalogue& catalogue() const { return c_; }
    NewsDictionary dictionary() { return NewsDictionary(c_); }
    const NewsCodeTable& codes() const { return codes_; }

    // A story's state byte (read, unread, kept, to delete); the catalogue is saved with it.
    void setStoryState(size_t story, uint8_t state);
    // The story's text, the parts chosen by the mode bits (title and body joined by a line feed).
    std::string storyText(size_t story, int mode);
    // The dictionary ids of a story's text; nothing when its day or block cannot be read.
    std::optional<std::vector<uint32_t>> storyWords(size_t story);
    // The story's title as the title file holds it (at most 80 characters).
    std::string title(size_t story);
    // The title cache's entry for the story; on a miss, with fill, the titles of up to 100 stories
    // from it on are taken from their texts into the cache. Null when it is not there.
    const NewsTitleEntry* cachedTitle(size_t story, bool fill);
    // The samples of TNews.dat read at load and after every change of the title file.
    const std::vector<NewsTitleRecord>& titleSamples() const { return samples_; }
    // The number of stories held when the database was loaded: stories from it on are the latest.
    uint32_t latestBoundary() const { return storiesAtLoad_; }

    // Title maintenance, each through tempTNews.dat and followed by a new reading of the samples.
    // TNews.dat read whole: a record naming a story beyond the count, or a count that differs from
    // the stories', rebuilds it; a rebuild that fails recreates the database.
    bool reindexTitles();
    // The stories' titles rebuilt from their texts into TNews.dat.
    bool rebuildTitles();
    // The titles of stories of state 3 left out, the others renumbered to the places their stories
    // take once those are removed.
    bool purgeTitles();
    // Every story's country, industry and subject read again from its code prefix.
    void recodeStories();
    // DNews.dat and INews.dat rewritten day by day without the room no day uses, through
    // tempDNews.dat and tempINews.dat; the day records take the new offsets and News.dat is saved.
    // False (the old files kept) when a copy fails.
    bool compactFiles();
    // Deletes the word index file; every day loses its section, so the next search indexes again.
    void clearIndex();
    // The stories a purge removes: those outside the limit (weeks before `today`, beyond the newest
    // `limit` stories, or dated before the packed date `limit`) that are not kept, and every story
    // marked for deletion.
    std::vector<bool> purgeChoice(NewsPurgeMethod method, uint32_t limit, PackedDate today) const;
    // Removes them: their titles, their records, the days left without a story with their blocks and
    // sections (the story and index files rewritten through their temporary copies); the index is
    // rebuilt on the next search and the catalogue saved. The number of stories removed.
    size_t purge(NewsPurgeMethod method, uint32_t limit, PackedDate today);
    // True when the story or index file holds more than its header and the days' blocks and sections.
    bool filesHoldWaste() const;

    // The day's block read from DNews.dat (kept until another day's is asked for); null when the day
    // is unknown or its block unreadable, noFile set when DNews.dat cannot be opened.
    const NewsDayBlock* dayBlock(PackedDate date, bool& noFile);
    // A day's block read from DNews.dat opened for reading; nothing when unreadable or damaged.
    static std::optional<NewsDayBlock> ReadDayBlock(const ExclusiveFile& file, const NewsDay& day);
    // The block's bytes, unparsed; nothing when they cannot be read. Several threads may read blocks
    // of the same file at once.
    static std::optional<std::vector<uint8_t>> ReadDayBytes(const ExclusiveFile& file, const NewsDay& day);

private:
    void verify();
    void removeMarkedStories();
    void applyPrefix(NewsStory& story, const std::vector<uint32_t>& words);
    std::string titleOf(const std::vector<uint32_t>& words);
    bool appendDayBlock(NewsDay& day, const std::vector<uint8_t>& block);
    void setAsideFiles();
    void readTitleSamples();

    NewsCatalogue c_;
    NewsCodeTable codes_;
    std::optional<NewsDayBlock> cachedBlock_;
    PackedDate cachedDate_ = 0;
    NewsTitleCache titleCache_;
    std::vector<NewsTitleRecord> samples_;
    uint32_t storiesAtLoad_ = 0;
    bool loaded_ = false;
    bool modified_ = false;
};

NewsDatabase& TheNewsDatabase();

// The title cache's entry of a story, under the shared news lock (the caller must not hold the
// exclusive one); an empty entry when there is none.
NewsTitleEntry GetNewsTitle(size_t story, bool fill);

struct DayRecord;
// The daily chart asks for a share's news events over its price records; no list is kept, so the
// answer is always none and the chart shows no news events.
const void* GetShareNewsEvents(const DayRecord* prices, size_t count);

// The merge host the start-up pass uses: the news lock, the load and the merge of this database.
NewsMergeHost& NewsDatabaseMergeHost();

} // namespace qv
