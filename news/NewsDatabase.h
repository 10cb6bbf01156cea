// The news database in memory: the catalogue, the dictionary's code table and the last day block
// read; its load with the fallbacks, its save through the save protocol, the merge of an update
// file, the verify after loading, the story texts and titles.
#pragma once

#include "core/NewsUpdateFiles.h"
#include "core/SaveProtocol.h"
#include "news/NewsCatalogue.h"
#include "news/NewsDayBlock.h"
#include "news/NewsDictionary.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qv {

// Parts of a story's text: the code prefix, the title line, the body.
enum NewsTextPart : int { kNewsPrefix = 1, kNewsTitle = 2, kNewsBody = 4 };

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

    // The story's text, the parts chosen by the mode bits (title and body joined by a line feed).
    std::string storyText(size_t story, int mode);
    // The dictionary ids of a story's text; nothing when its day or block cannot be read.
    std::optional<std::vector<uint32_t>> storyWords(size_t story);
    // The story's title as the title file holds it (at most 80 characters).
    std::string title(size_t story);
    // The stories' titles rebuilt from their texts into TNews.dat.
    bool rebuildTitles();

private:
    const NewsDayBlock* dayBlock(PackedDate date, bool& noFile);
    void verify();
    void removeMarkedStories();
    void applyPrefix(NewsStory& story, const std::vector<uint32_t>& words);
    std::string titleOf(const std::vector<uint32_t>& words);
    bool appendDayBlock(NewsDay& day, const std::vector<uint8_t>& block);
    void setAsideFiles();

    NewsCatalogue c_;
    NewsCodeTable codes_;
    std::optional<NewsDayBlock> cachedBlock_;
    PackedDate cachedDate_ = 0;
    bool loaded_ = false;
    bool modified_ = false;
};

NewsDatabase& TheNewsDatabase();

// The merge host the start-up pass uses: the news lock, the load and the merge of this database.
NewsMergeHost& NewsDatabaseMergeHost();

} // namespace qv
