// The keyed item store: its list of items, its file image, loading with the upgrades of older
// stores, and saving through a temporary file.
#include "core/KeyedItemStore.h"

#include "core/Memory.h"
#include "core/SaveProtocol.h"
#include "core/SettingRecordStore.h"
#include "core/SettingRecordsV4.h"
#include "core/TaggedFile.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <vector>

namespace qv {

namespace {

constexpr uint8_t kMagic[4] = {'Z', 'Q', 'A', 'N'};
constexpr uint8_t kOlderMagic[4] = {'Z', 'Q', 'A', 'C'};
constexpr int32_t kFirstItemVersion = 4;
constexpr int32_t kBreadthKeysVersion = 6;
constexpr int32_t kTextSizesVersion = 7;
constexpr int32_t kLineStylesVersion = 9;
constexpr int32_t kEodGraphVersion = 3;
constexpr uint16_t kDrawingKindDaily = 0;
constexpr uint16_t kDrawingKindIntraday = 1;
constexpr uint16_t kLineStyleKind = 8;
constexpr uint32_t kPriceChannelType = 15;
constexpr uint32_t kBreadthFirst = 22;
constexpr uint32_t kBreadthLast = 34;
constexpr uint32_t kBreadthSources = 3;
constexpr const char* kTemporaryName = "Graph.tem";
constexpr uint16_t kSettingRecordsKind = 2;
constexpr uint32_t kSettingBlobHead = 8;
constexpr int32_t kConvertedSettingsVersion = 5;

bool ReadKey(ByteReader& in, KeyedItemKey& key)
{
    in.u32(key.share);
    in.u16(key.kind);
    in.u32(key.subKey);
    return in.ok();
}

void ShowCorruptedHeader(const std::string& name)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "Line/text database file (%s) appears to have a corrupted header. Please contact "
                  "Quorvantis support.",
                  name.c_str());
    ShowMessage(text);
}

} // namespace

void BlobFree::operator()(uint8_t* blob) const { ProFree(blob); }

Blob MakeBlob(uint32_t length)
{
    length = std::max(length, kBlobLengthBytes);
    Blob blob(static_cast<uint8_t*>(ProCalloc(length, 1, "Keyed item")));
    StoreU32(blob.get(), length);
    return blob;
}

Blob MakeBlob(std::span<const uint8_t> body)
{
    Blob blob = MakeBlob(uint32_t(body.size() + kBlobLengthBytes));
    if (!body.empty())
        std::memcpy(blob.get() + kBlobLengthBytes, body.data(), body.size());
    return blob;
}

uint32_t BlobLength(const uint8_t* blob) { return blob ? LoadU32(blob) : 0; }

KeyedItemStore::~KeyedItemStore() = default;

KeyedItemStore::Item* KeyedItemStore::find(const KeyedItemKey& key) const
{
    for (auto& item : items_)
        if (item.key == key)
            return &item;
    return nullptr;
}

void KeyedItemStore::SetItem(uint32_t share, uint16_t kind, uint32_t subKey, Blob blob)
{
    KeyedItemKey key{share, kind, subKey};
    if (Item* item = find(key)) {
        deferred_ = std::move(item->blob);
        item->blob = std::move(blob);
        return;
    }
    if (!blob || BlobLength(blob.get()) == kBlobLengthBytes)
        return;
    AddItem(key, std::move(blob));
}

uint8_t* KeyedItemStore::GetItem(uint32_t share, uint16_t kind, uint32_t subKey) const
{
    Item* item = find({share, kind, subKey});
    return item ? item->blob.get() : nullptr;
}

bool KeyedItemStore::LookupItem(KeyedItemRecord& record) const
{
    record.blob = GetItem(record.key.share, record.key.kind, record.key.subKey);
    return record.blob != nullptr;
}

void KeyedItemStore::StoreItem(const KeyedItemKey& key, Blob blob)
{
    SetItem(key.share, key.kind, key.subKey, std::move(blob));
}

void KeyedItemStore::AddItem(const KeyedItemKey& key, Blob blob)
{
    items_.push_front(Item{key, std::move(blob)});
}

void KeyedItemStore::ForEachItem(
    const std::function<void(const KeyedItemKey&, const uint8_t* blob)>& visit) const
{
    for (const auto& item : items_)
        visit(item.key, item.blob.get());
}

void KeyedItemStore::FreeItems() { items_.clear(); }

std::vector<uint8_t> KeyedItemStore::WriteImage()
{
    version_ = kWrittenVersion;
    ByteWriter out;
    out.bytes(kMagic, sizeof kMagic);
    out.u8(kWrittenVersion);
    out.u8(0);
    out.zeros(6);
    out.u32(0);
    // A load puts each item it reads at the head of the list, so the list runs newest first: the
    // items are written oldest first, and a load and a save give the file back in its own order
    // (and the same one of two items of a key is found after every load).
    std::vector<const Item*> oldestFirst;
    for (const auto& item : items_)
        oldestFirst.push_back(&item);
    for (auto it = oldestFirst.rbegin(); it != oldestFirst.rend(); ++it) {
        const Item& item = **it;
        uint32_t length = BlobLength(item.blob.get());
        if (length <= kBlobLengthBytes)
            continue;
        out.u32(item.key.share);
        out.u16(item.key.kind);
        out.u32(item.key.subKey);
        out.bytes(item.blob.get(), length);
    }
    return out.take();
}

bool ForEachImageItem(std::span<const uint8_t> image, size_t from,
                      const std::function<void(const KeyedItemKey&, Blob)>& visit)
{
    ByteReader in(image);
    in.seek(from);
    KeyedItemKey key;
    while (!in.atEnd()) {
        uint32_t length = 0;
        if (!ReadKey(in, key) || !in.u32(length))
            return false;
        if (length <= kBlobLengthBytes)
            continue;
        // The length comes from the file: it can claim no more than the file still holds.
        if (length - kBlobLengthBytes > in.remaining())
            return false;
        Blob blob = MakeBlob(length);
        in.bytes(blob.get() + kBlobLengthBytes, length - kBlobLengthBytes);
        visit(key, std::move(blob));
    }
    return in.ok();
}

bool KeyedItemStore::readItems(std::span<const uint8_t> bytes, size_t from, std::forward_list<Item>& into)
{
    return ForEachImageItem(bytes, from,
                            [&into](const KeyedItemKey& key, Blob blob) { into.push_front(Item{key, std::move(blob)}); });
}

KeyedStoreHeader KeyedItemStore::ReadImage(std::span<const uint8_t> image)
{
    if (image.size() >= kHeaderSize && std::memcmp(image.data(), kOlderMagic, 4) == 0)
        return KeyedStoreHeader::OlderGraphFile;
    if (image.size() < kHeaderSize || std::memcmp(image.data(), kMagic, 4) != 0 ||
        image[4] < kFirstItemVersion)
        return KeyedStoreHeader::Corrupted;
    version_ = image[4];
    second_ = image[5];
    return readItems(image, kHeaderSize, items_) ? KeyedStoreHeader::Items : KeyedStoreHeader::ItemsCut;
}

bool KeyedItemStore::Load(std::string_view fileName)
{
    name_ = fileName;
    nameSet_ = !name_.empty();
    version_ = -1;
    fs::path path = AppPath(name_);
    std::vector<uint8_t> image;
    {
        ExclusiveFile file;
        if (!file.open(path, ExclusiveFile::Mode::Read) || !file.readAll(image)) {
            // A file that is there but cannot be read must not be replaced by an empty store.
            std::error_code ec;
            unreadable_ = fs::exists(path, ec);
            return false;
        }
    }
    unreadable_ = false;
    switch (ReadImage(image)) {
    case KeyedStoreHeader::Corrupted:
        ShowCorruptedHeader(name_);
        // The next save writes a new file; the damaged one is kept beside it.
        SetRejectedFileAside(path);
        break;
    case KeyedStoreHeader::ItemsCut: {
        // What was read is kept; the whole file is kept too before a save can write the rest away.
        const size_t count = size_t(std::distance(items_.begin(), items_.end()));
        SetDamagedFileAside(path, KeptItemsText(count, "item", "items"));
        break;
    }
    case KeyedStoreHeader::Items:
    case KeyedStoreHeader::OlderGraphFile: break;
    }
    RunUpgrades();
    return true;
}

void KeyedItemStore::RunUpgrades()
{
    if (version_ < kFirstItemVersion) {
        if (upgrades_.mergeOlderLineFiles)
            upgrades_.mergeOlderLineFiles(*this);
        else
            mergeEodGraphFile();
    }
    if (version_ < kBreadthKeysVersion)
        upgradeBreadthKeys();
    if (version_ < kTextSizesVersion)
        upgradeTextSizes();
    if (version_ < kLineStylesVersion)
        upgradeLineStyles();
}

// "EODGraph.cfg": two u32 header words (version, second version), then items as in the store.
void KeyedItemStore::mergeEodGraphFile()
{
    fs::path path = AppPath("EODGraph.cfg");
    auto bytes = ReadFileBytes(path);
    if (!bytes)
        return;
    ByteReader in(*bytes);
    uint32_t version = 0, second = 0;
    in.u32(version);
    in.u32(second);
    if (!in.ok())
        return;
    version_ = int32_t(version);
    second_ = uint8_t(second);
    if (version == kEodGraphVersion)
        readItems(*bytes, in.position(), items_);
    ForceDelete(path);
}

void KeyedItemStore::upgradeBreadthKeys()
{
    for (auto& item : items_) {
        if (item.key.kind != kDrawingKindDaily && item.key.kind != kDrawingKindIntraday)
            continue;
        uint32_t type = item.key.subKey >> 24;
        if (type < kBreadthFirst || type > kBreadthLast)
            continue;
        if ((item.key.subKey & 0xFFFFFF) > kBreadthSources) {
            deferred_ = std::move(item.blob);
        } else if (upgrades_.breadthStudyKey) {
            item.key.subKey = upgrades_.breadthStudyKey(item.key.subKey);
        }
    }
}

void KeyedItemStore::upgradeTextSizes()
{
    if (!upgrades_.fixTextSizes)
        return;
    for (auto& item : items_)
        if (item.blob && (item.key.kind == kDrawingKindDaily || item.key.kind == kDrawingKindIntraday))
            upgrades_.fixTextSizes(item.blob.get());
}

// Two default pens of the price channel were stored with a fill flag that they must not carry.
void KeyedItemStore::upgradeLineStyles()
{
    static constexpr uint32_t kWrong[2][2] = {{0x20800000, 0x800000}, {0x20FFC0C0, 0xFFC0C0}};
    for (uint32_t share : {0u, 1u}) {
        uint8_t* blob = GetItem(share, kLineStyleKind, kPriceChannelType);
        if (BlobLength(blob) < 16)
            continue;
        for (const auto& pair : kWrong)
            if (LoadU32(blob + 8) == pair[0] && LoadU32(blob + 12) == pair[1])
                StoreU32(blob + 8, pair[1]);
    }
}

bool KeyedItemStore::Save(bool freeItems)
{
    auto image = WriteImage();
    bool ok = true;
    if (nameSet_) {
        ok = !unreadable_ && SaveFileImage(PlainSavePlan(name_, kTemporaryName), image) == SaveResult::Saved;
        if (!ok)
            ShowMessage("Unable to save " + name_ + ". The previous file has been kept.", {}, MsgButtons::Ok,
                        MsgIcon::Exclamation);
    }
    if (freeItems)
        FreeItems();
    return ok;
}

void KeyedItemStore::LoadSettingRecords()
{
    if (version_ < kFirstItemVersion)
        return;
    uint8_t* blob = GetItem(0, kSettingRecordsKind, 0);
    uint32_t length = BlobLength(blob);
    if (length >= kSettingBlobHead)
        SettingRecords().load({blob + kSettingBlobHead, length - kSettingBlobHead});
    SetItem(0, kSettingRecordsKind, 0, nullptr);
    if (version_ == kFirstItemVersion) {
        ConvertSettingRecordsV4();
        version_ = kConvertedSettingsVersion;
    }
}

void KeyedItemStore::StoreSettingRecords()
{
    // A compacted copy: the program's own block keeps its run-time records while it goes on.
    SettingRecordStore kept;
    kept.load(SettingRecords().bytes());
    auto block = kept.bytes();
    Blob blob = MakeBlob(uint32_t(kSettingBlobHead + block.size()));
    std::copy(block.begin(), block.end(), blob.get() + kSettingBlobHead);
    SetItem(0, kSettingRecordsKind, 0, std::move(blob));
}

void KeyedItemStore::Close()
{
    if (!empty())
        Save(true);
    deferred_.reset();
}

} // namespace qv
