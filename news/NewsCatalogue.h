// The news catalogue "News.dat": the dictionary header with its word store, the hash table, the
// users' share search texts, the story records and the day records, as one file image.
#pragma once

#include "news/NewsRecords.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

// Dictionary sizes by size class.
inline constexpr std::array<uint32_t, 7> kNewsDictionaryPrimes = {16417,  32771,  65537,  128717,
                                                                  245771, 512741, 1299827};

struct NewsCatalogue {
    NewsHeader header;
    std::vector<uint32_t> hashTable;
    std::vector<uint8_t> searchTexts;
    std::vector<NewsStory> stories;
    std::vector<NewsDay> days;

    uint32_t prime() const { return kNewsDictionaryPrimes.at(header.u16(news_header::kSizeClass)); }
    // A first day record whose index length is 0 means no index has been built yet.
    bool indexed() const { return !days.empty() && days.front().indexLength != 0; }
};

enum class NewsCatalogueStatus {
    Loaded,
    TooShort, // 76 bytes or less: treated as missing
    Damaged,  // an unknown version, a bad size class, or a count beyond the file
};

struct NewsCatalogueLoad {
    NewsCatalogueStatus status = NewsCatalogueStatus::Damaged;
    int droppedSearchTexts = 0; // share entries whose text offset lay outside the block
};

// Reads a catalogue image. Without the story-text file the tables are made empty, as a new
// database has them. Old minor versions are upgraded and the latest-story date is raised to the
// newest story's.
NewsCatalogueLoad ParseNewsCatalogue(std::span<const uint8_t> image, bool storyFileExists, NewsCatalogue& out);

// The image a save writes: versions 2 and 4, the day count that of the day table.
std::vector<uint8_t> NewsCatalogueImage(NewsCatalogue& catalogue);

// A new, empty catalogue: size class 2, one week's search limit, the default options (with the
// search limit flag when asked), no words, stories or days. The code words are added by the caller.
NewsCatalogue EmptyNewsCatalogue(bool limitOn = false);

// The share ids whose search text the user changed, and their texts.
struct NewsSearchText {
    uint32_t shareId = 0;
    std::string text;
};
std::vector<NewsSearchText> NewsSearchTexts(const NewsCatalogue& catalogue);
// Writes the block anew from the texts (an empty block is 8 bytes with no entries) and sets the
// header's count and size.
void StoreNewsSearchTexts(NewsCatalogue& catalogue, const std::vector<NewsSearchText>& texts);
// Gives a share its own search text, replacing the one it had in its place; an empty `text` removes
// the share's entry (the share searches with its default text again). Entries with bad offsets are
// dropped, the others kept.
void SetNewsSearchText(NewsCatalogue& catalogue, uint32_t shareId, const std::string& text);

} // namespace qv
