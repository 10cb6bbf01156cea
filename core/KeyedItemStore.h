// Variable-length binary items kept in memory under (share, kind, sub-key) and saved whole to one
// file: the lines-and-text store "Graph.cfg", the price corrections "EditPrice.cfg" and the intraday
// market items "RTMarket.cfg" all use it.
#pragma once

#include <cstdint>
#include <forward_list>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// A guarded-memory block whose first u32 is its total length, that word included.
struct BlobFree {
    void operator()(uint8_t* blob) const;
};
using Blob = std::unique_ptr<uint8_t, BlobFree>;

inline constexpr uint32_t kBlobLengthBytes = 4;
// A zeroed blob of the given total length (at least the length word).
Blob MakeBlob(uint32_t length);
// A blob holding the length word and then the given bytes.
Blob MakeBlob(std::span<const uint8_t> body);
uint32_t BlobLength(const uint8_t* blob);

struct KeyedItemKey {
    uint32_t share = 0;
    uint16_t kind = 0;
    uint32_t subKey = 0;
    bool operator==(const KeyedItemKey&) const = default;
};

// Walks the items of a store image from an offset (10 key bytes, then the blob whole): the visitor
// gets each key and blob; a short read ends the walk, as the store's own load does. True when the
// walk ended exactly at the end of the image; false for an item cut short or longer than the file.
bool ForEachImageItem(std::span<const uint8_t> image, size_t from,
                      const std::function<void(const KeyedItemKey&, Blob)>& visit);

// The key of a share's items: its record id plus the extra word of its share-list entry above it.
inline uint32_t ShareItemKey(uint16_t recordId, uint16_t extraWord)
{
    return recordId + (uint32_t(extraWord) << 16);
}

// An item as the record-taking operations exchange it; the blob is lent, not owned.
struct KeyedItemRecord {
    KeyedItemKey key;
    uint8_t* blob = nullptr;
};

// ItemsCut: the items before one cut short or longer than the file were read; the file is damaged.
enum class KeyedStoreHeader { Items, ItemsCut, OlderGraphFile, Corrupted };

class KeyedItemStore {
public:
    static constexpr uint8_t kWrittenVersion = 9;
    static constexpr size_t kHeaderSize = 16;
    static constexpr size_t kKeySize = 10;

    // Conversions of older stores that need the chart model; a step left empty is skipped.
    struct Upgrades {
        // Files older than version 4 beyond "EODGraph.cfg": "RTLines.cfg", "RTGraph.cfg" and the
        // drawing objects kept among the setting records.
        std::function<void(KeyedItemStore&)> mergeOlderLineFiles;
        // The study key of a market-breadth item (type 18-30, source 0-3).
        std::function<uint32_t(uint32_t subKey)> breadthStudyKey;
        // Text objects' font heights in a line-and-text blob.
        std::function<void(uint8_t* blob)> fixTextSizes;
    };

    KeyedItemStore() = default;
    ~KeyedItemStore();
    KeyedItemStore(const KeyedItemStore&) = delete;
    KeyedItemStore& operator=(const KeyedItemStore&) = delete;

    // Records the name, reads the file from the program folder and upgrades older contents; false
    // when the file cannot be opened. A file with a corrupted header is set aside (".bad") and the
    // store starts empty.
    bool Load(std::string_view fileName);
    // Writes the file through its temporary name; with freeItems every item is freed afterwards.
    // False, with the file on disk unchanged and the user told, when it cannot be written or when
    // the last load found the file but could not read it.
    bool Save(bool freeItems);
    // Saves with freeing when any item is held, then frees the deferred blob.
    void Close();

    // Puts, replaces or clears (null) an item; the store takes the blob.
    void SetItem(uint32_t share, uint16_t kind, uint32_t subKey, Blob blob);
    // The item's blob, owned by the store and valid until the item is replaced twice; null if none.
    uint8_t* GetItem(uint32_t share, uint16_t kind, uint32_t subKey) const;
    bool LookupItem(KeyedItemRecord& record) const;
    void StoreItem(const KeyedItemKey& key, Blob blob);
    // Pushes an item at the head without looking for one of the same key.
    void AddItem(const KeyedItemKey& key, Blob blob);

    // Moves the setting-record block out of item (0, 2, 0) into the program's setting records
    // (stores of version 4 and above), and puts a compacted copy of them back (the program's block is
    // left as it is).
    void LoadSettingRecords();
    void StoreSettingRecords();

    // The file's image: header and every item with a blob longer than its length word, newest
    // first. The version becomes the written one.
    std::vector<uint8_t> WriteImage();
    // Reads an image's items onto the head of the list; a short read ends the list silently.
    KeyedStoreHeader ReadImage(std::span<const uint8_t> image);

    void SetUpgrades(Upgrades upgrades) { upgrades_ = std::move(upgrades); }
    // For the merge of older files: "EODGraph.cfg" read into the store and deleted, and the version
    // the later upgrades start from.
    void MergeEodGraphFile() { mergeEodGraphFile(); }
    void SetVersion(int32_t version) { version_ = version; }
    void RunUpgrades();

    int32_t version() const { return version_; }
    uint8_t secondVersion() const { return second_; }
    const std::string& fileName() const { return name_; }
    bool empty() const { return items_.empty(); }
    void ForEachItem(const std::function<void(const KeyedItemKey&, const uint8_t* blob)>& visit) const;
    void FreeItems();

private:
    struct Item {
        KeyedItemKey key;
        Blob blob;
    };

    Item* find(const KeyedItemKey& key) const;
    bool readItems(std::span<const uint8_t> bytes, size_t from, std::forward_list<Item>& into);
    void mergeEodGraphFile();
    void upgradeBreadthKeys();
    void upgradeTextSizes();
    void upgradeLineStyles();

    std::string name_;
    bool nameSet_ = false;
    bool unreadable_ = false; // the file exists but could not be read: a save must not replace it
    int32_t version_ = -1;
    uint8_t second_ = 0;
    mutable std::forward_list<Item> items_;
    Blob deferred_;
    Upgrades upgrades_;
};

} // namespace qv
