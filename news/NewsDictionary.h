// The news word dictionary: the word store in the catalogue header, its hash table with quadratic
// probing and size classes, case variants, and the code-number table of the news codes.
#pragma once

#include "news/NewsCatalogue.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace qv {

// A word's id carries its case mode in the two low bits: 0 as stored (lower case), 1 all upper
// case, 2 first letter upper case, 3 a case variant (the id is then the variant's own offset).
// Ids below 128 are single characters.
constexpr uint32_t kNewsCaseMask = 3;
constexpr size_t kNewsMaxWord = 30;

// The class of a single character: 0 letter, 1 digit, 2 blank or tab, 3 other printable, 4 control.
int NewsCharacterClass(unsigned char c);

struct NewsWordText {
    int wordClass = 0; // 0 letters, 1 digits, 2 blank or tab, 3 other printable, 4 control
    std::string text;
};

class NewsDictionary {
public:
    explicit NewsDictionary(NewsCatalogue& catalogue) : c_(catalogue) {}

    // h = h * 131 + byte over the bytes, wrapping in 32 bits, taken as signed; the slot is h mod P
    // made non-negative.
    static uint32_t HomeSlot(std::string_view word, uint32_t prime);

    struct Lookup {
        bool found = false;
        uint32_t slot = 0; // the word's slot, or where it would go
    };
    // The word as stored (lower case).
    Lookup find(std::string_view word) const;
    // The id a slot holds (case mode 0).
    uint32_t slotId(uint32_t slot) const { return c_.hashTable.at(slot) & 0xFFFFFF; }

    // Adds the word (cut to 30 characters) when new and returns its id with its case mode; a word of
    // one character returns the character, one of 128 or more as a blank. Resizes first when the
    // table is half full; resized() then tells the caller the index must be rebuilt.
    uint32_t add(std::string_view word, int wordClass);
    NewsWordText text(uint32_t id, bool applyCase) const;
    // The id of the stored lower-case word behind an id of any case mode (a character stays itself).
    uint32_t baseId(uint32_t id) const;

    // 2 × occupied slots ≥ P.
    bool needsResize() const;
    // Picks the size class (2 with force; else by the index and the story count, then up while
    // still too full) and re-inserts the words. True when an index exists and must be rebuilt.
    bool resize(bool force);
    bool resized() const { return resized_; }

private:
    size_t entryAt(uint32_t id) const { return news_header::kWordStore + (id & ~kNewsCaseMask); }
    bool entryFits(uint32_t id, size_t length) const;
    bool slotHolds(uint32_t slot, std::string_view word) const;
    uint32_t append(std::string_view lower, int wordClass);
    uint32_t variant(uint32_t base, uint32_t mask);
    void reserve(size_t bytes);

    NewsCatalogue& c_;
    bool resized_ = false;
};

// The news codes: eight lists of three-letter codes numbered in one run from 0 ("~~~").
class NewsCodeTable {
public:
    static constexpr int kLists = 8;
    static constexpr uint32_t kLimit = 160; // numbers at or above count as no code

    // Adds every code to the dictionary, maps each code word's id to its number and writes the
    // running totals into the header. A code in two lists keeps its first number.
    void build(NewsDictionary& dictionary, NewsCatalogue& catalogue);
    // The code number of a word id; 0 for a word that is no code.
    uint32_t number(uint32_t id) const;
    bool empty() const { return numbers_.empty(); }

    static std::string_view Code(uint32_t number);
    static std::string_view Name(uint32_t number);
    static uint32_t Count();
    // The first number after list k (0-7): the running totals the header keeps.
    static uint32_t ListEnd(int list);

private:
    std::map<uint32_t, uint32_t> numbers_;
};

} // namespace qv
