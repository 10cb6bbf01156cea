// The DDE price server's topic table, item values and advise pushes.
#include "shell/DdeServer.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/Database.h"
#include "core/Document.h"
#include "core/FormatValue.h"
#include "core/PackedDate.h"
#include "core/PriceStatistics.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/SystemDate.h"
#include "resources/MessageIds.h"
#include "shell/FeedClient.h"
#include "shell/ViewGroups.h"

#include <limits>

namespace qv {
namespace {

constexpr std::string_view kSystemTopic = "System";
// The letters that name share types 0-10 before a name.
constexpr std::string_view kTypeLetters = "AIZPWVNUMCO";
// Topic and item counts are 16-bit, link counts 8-bit.
constexpr size_t kMaxEntries = std::numeric_limits<uint16_t>::max();
constexpr uint8_t kMaxLinks = std::numeric_limits<uint8_t>::max();

// Tables grow to capacity + capacity / 2 + 1.
template <typename T>
void GrowForOneMore(std::vector<T>& table)
{
    if (table.size() == table.capacity())
        table.reserve(table.capacity() + table.capacity() / 2 + 1);
}

uint32_t ShareKey(uint16_t shareId, uint32_t subId) { return shareId | (subId << 16); }

uint32_t EntryKey(const DdeTopicEntry& entry) { return ShareKey(entry.shareId, entry.subId); }

// The record of a share id in the database as it is now; null when it holds none.
uint8_t* CurrentRecord(uint16_t shareId, uint32_t subId)
{
    RecordCursor found = FindRecordById(shareId, subId);
    if (!found.record || RecordLength(found.record) == 0 || RecordId(found.record) != shareId)
        return nullptr;
    return found.record;
}

// The last priced day of the cursor's price stream, as the load worked it out (with the user's
// corrections) into the stream's statistics room.
bool LastDayOfStream(const RecordCursor& share, DdeLastDay& out)
{
    const uint8_t* sub = GetSubRecord(share, share.count);
    if (!sub)
        return false;
    StreamStatistics last = ReadStreamStatistics(sub);
    if (last.lastDate == 0)
        return false;
    out = DdeLastDay{last.lastOpen, last.lastHigh, last.lastLow, last.lastClose, last.lastVolume, last.lastDate};
    return true;
}

} // namespace

DdeHooks DefaultDdeHooks()
{
    DdeHooks hooks;
    hooks.lastDay = LastDayOfStream;
    hooks.refreshHeld = [] { return RefreshHoldFlag != 0 || ReloadInProgress; };
    hooks.realTimeOn = [] { return Config().optionsA.data()[OptionBlockA::kRealTimeOption] != 0; };
    hooks.feed = &TheDdeRTFeed();
    return hooks;
}

CDDEServer::CDDEServer(DdeHooks hooks, AdvisePoster poster) : hooks_(std::move(hooks)), poster_(std::move(poster))
{
}

intptr_t CDDEServer::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t)
{
    if (message == WM_COMMAND && (wParam & 0xFFFF) == ID_REFRESH)
        OnRefresh();
    else if (message == MSG_DDE_PRICE_UPDATE)
        OnPriceUpdate();
    return 0;
}

bool CDDEServer::realTimeOn() const { return hooks_.realTimeOn && hooks_.realTimeOn(); }

// Requests are refused while the entries are detached; a refresh hold found set detaches them.
bool CDDEServer::refusedForNow()
{
    if (detached_)
        return true;
    if (hooks_.refreshHeld && hooks_.refreshHeld()) {
        DetachItems();
        return true;
    }
    return false;
}

std::optional<RecordCursor> CDDEServer::FindDdeTopicShare(std::string_view topic) const
{
    std::string wanted = CanonicalDdeTopic(topic);
    if (!MainRecordBlock || !hooks_.lastDay)
        return std::nullopt;
    PackedDate today = GetTodayDate(0);
    std::string code;
    for (uint8_t* record = MainRecordBlock; RecordLength(record) != 0; record = NextRecord(record)) {
        int subRecords = CountSubRecords(record);
        for (int n = 0; n < subRecords; ++n) {
            RecordCursor cursor{record, uint32_t(n)};
            if (GetShareFileCode(cursor, code, false))
                continue;
            std::string name = std::string(ExchangeCodeOfClass(GetRecordClass(&cursor))) + ":" + code;
            if (name != wanted)
                continue;
            DdeLastDay day;
            if (hooks_.lastDay(cursor, day) && day.date != 0 && DaysBetween(day.date, today) <= hooks_.staleShareDays)
                return cursor;
        }
    }
    return std::nullopt;
}

std::string CDDEServer::GetDdeTopicName(const RecordCursor& share) const
{
    std::string code;
    GetShareFileCode(share, code, false);
    return std::string(ExchangeCodeOfClass(GetRecordClass(&share))) + "_" + code;
}

DdeValue CDDEServer::ItemValue(const RecordCursor& share, const DdeItemCode& code) const
{
    DdeValue value;
    if (code.group == kDdeGroupIntraday) {
        if (hooks_.feed)
            value = hooks_.feed->columnValue(ShareKey(RecordId(share.record), share.count), code.field,
                                             code.qualifier);
        return value;
    }
    value.type = kDdeText;
    switch (code.field) {
    case kDdeFieldEpic: {
        std::string code;
        GetShareFileCode(share, code, false);
        value.text = std::string(ExchangeCodeOfClass(GetRecordClass(&share)));
        value.text.push_back(':');
        value.text.append(code);
        return value;
    }
    case kDdeFieldCurrency: {
        char minor = GetCurrencyUnitSymbols(int(GetShareFieldType(&share, 0))).minor;
        value.text = minor ? std::string(1, minor) : std::string();
        return value;
    }
    case kDdeFieldName: {
        const uint8_t* sub = GetSubRecord(share, share.count);
        uint8_t kind = sub ? SubRecordKindOf(sub) : 0xFF;
        if (hooks_.typePrefix && kind < kTypeLetters.size())
            value.text = std::string(1, kTypeLetters[kind]) + " - ";
        value.text += GetRecordName(share.record);
        return value;
    }
    default:
        break;
    }
    DdeLastDay day;
    if (!hooks_.lastDay || !hooks_.lastDay(share, day))
        return DdeValue{};
    value.type = kDdeFloat;
    switch (code.field) {
    case kDdeFieldOpen:
        value.number = day.open;
        break;
    case kDdeFieldHigh:
        value.number = day.high;
        break;
    case kDdeFieldLow:
        value.number = day.low;
        break;
    case kDdeFieldVolume:
        value.number = day.volume;
        break;
    default: // "price" and "close"
        value.number = day.close;
        break;
    }
    return value;
}

std::optional<CDDEServer::ResolvedItem> CDDEServer::resolveItem(std::string_view topic, std::string_view item)
{
    if (refusedForNow())
        return std::nullopt;
    std::optional<RecordCursor> share = FindDdeTopicShare(topic);
    std::optional<DdeItemCode> code = ParseDdeItemName(item, realTimeOn());
    if (!share || !code)
        return std::nullopt;
    return ResolvedItem{*share, *code};
}

std::optional<DdeValue> CDDEServer::GetDdeItemValue(std::string_view topic, std::string_view item)
{
    std::optional<ResolvedItem> resolved = resolveItem(topic, item);
    if (!resolved)
        return std::nullopt;
    return ItemValue(resolved->share, resolved->code);
}

std::optional<std::string> CDDEServer::RenderDdeItem(std::string_view topic, std::string_view item, int formatKind)
{
    if (formatKind < 0 || formatKind > 2 || topic == kSystemTopic)
        return std::nullopt;
    std::optional<DdeValue> value = GetDdeItemValue(topic, item);
    if (!value)
        return std::nullopt;
    return EncodeDdeData(*value, formatKind);
}

std::optional<DdeLinkKey> CDDEServer::AddAdviseLink(std::string_view topic, std::string_view item)
{
    std::optional<ResolvedItem> resolved = resolveItem(topic, item);
    if (!resolved)
        return std::nullopt;
    const RecordCursor& share = resolved->share;
    const DdeItemCode& code = resolved->code;
    DdeLinkKey key{RecordId(share.record), share.count, code};
    uint32_t wanted = ShareKey(key.shareId, key.subId);
    DdeTopicEntry* entry = nullptr;
    for (DdeTopicEntry& e : topics_) {
        if (EntryKey(e) == wanted)
            entry = &e;
    }
    bool newTopic = entry == nullptr;
    if (newTopic) {
        if (topics_.size() >= kMaxEntries)
            return std::nullopt;
        GrowForOneMore(topics_);
        entry = &topics_.emplace_back(DdeTopicEntry{share.record, key.shareId, key.subId, {}});
    }
    DdeItemCode* found = nullptr;
    for (DdeItemCode& c : entry->items) {
        if (c.sameItem(code))
            found = &c;
    }
    if (found) {
        // The count is one byte; a link more would wrap it and lose every link on the item.
        if (found->links == kMaxLinks)
            return std::nullopt;
        ++found->links;
    } else {
        if (entry->items.size() >= kMaxEntries)
            return std::nullopt;
        GrowForOneMore(entry->items);
        DdeItemCode added = code;
        added.links = 1;
        entry->items.push_back(added);
    }
    if (newTopic)
        rebuildWatchList();
    return key;
}

bool CDDEServer::RemoveAdviseLink(const DdeLinkKey& key)
{
    uint32_t wanted = ShareKey(key.shareId, key.subId);
    for (auto entry = topics_.begin(); entry != topics_.end(); ++entry) {
        if (EntryKey(*entry) != wanted)
            continue;
        auto& items = entry->items;
        for (auto it = items.begin(); it != items.end(); ++it) {
            if (!it->sameItem(key.item))
                continue;
            if (it->links >= 2) {
                --it->links;
                return true;
            }
            items.erase(it);
            if (items.empty()) {
                topics_.erase(entry);
                rebuildWatchList();
            }
            return true;
        }
        return false;
    }
    return false;
}

void CDDEServer::DetachItems()
{
    for (DdeTopicEntry& entry : topics_)
        entry.record = nullptr;
    detached_ = true;
}

// Finds every entry's record again by its share id; a share the new database no longer holds
// loses its entry, as nothing could be served for it.
void CDDEServer::reattach()
{
    std::erase_if(topics_, [](DdeTopicEntry& entry) {
        entry.record = CurrentRecord(entry.shareId, entry.subId);
        return entry.record == nullptr;
    });
    rebuildWatchList();
    detached_ = false;
}

void CDDEServer::postAdvise(uint16_t shareId, uint32_t subId, const DdeItemCode& code)
{
    RecordCursor share{CurrentRecord(shareId, subId), subId};
    if (!poster_ || !share.record)
        return;
    std::string topic = GetDdeTopicName(share);
    std::string item = DdeItemName(code);
    poster_(topic, item);
    // London shares are also followed under their bare code.
    std::string_view exchange = ExchangeCodeOfClass(GetRecordClass(&share));
    if (exchange == kDdeDefaultExchange)
        poster_(std::string_view(topic).substr(exchange.size() + 1), item);
}

void CDDEServer::OnRefresh()
{
    if (hooks_.refreshHeld && hooks_.refreshHeld()) {
        DetachItems();
        return;
    }
    reattach();
    // Posting may call back into the table, so the walk goes over a copy.
    std::vector<DdeLinkKey> posts;
    for (const DdeTopicEntry& entry : topics_) {
        for (const DdeItemCode& code : entry.items) {
            if (code.group == kDdeGroupEndOfDay)
                posts.push_back(DdeLinkKey{entry.shareId, entry.subId, code});
        }
    }
    for (const DdeLinkKey& post : posts)
        postAdvise(post.shareId, post.subId, post.item);
    if (priceUpdatePending_)
        OnPriceUpdate();
}

void CDDEServer::OnPriceUpdate()
{
    DdeIntradayFeed* feed = hooks_.feed;
    if (!feed || feed->connectionState() < kFeedConnected)
        return;
    // While detached the update waits for the refresh that re-attaches the entries, rather than
    // posting itself again and again.
    if (refusedForNow()) {
        priceUpdatePending_ = true;
        return;
    }
    priceUpdatePending_ = false;
    std::vector<DdeLinkKey> posts;
    for (const DdeTopicEntry& entry : topics_) {
        uint32_t key = EntryKey(entry);
        std::optional<uint32_t> marks = feed->changeMarks(key);
        if (!marks || (*marks & 3) == 0)
            continue;
        for (const DdeItemCode& code : entry.items) {
            if (code.group != kDdeGroupIntraday)
                continue;
            int changed = feed->decodeColumnFlags(code.field, *marks);
            if (code.field != kDdeFieldRTVolume && (changed == 0 || changed == 3))
                continue;
            posts.push_back(DdeLinkKey{entry.shareId, entry.subId, code});
        }
        feed->clearChangeMarks(key);
    }
    for (const DdeLinkKey& post : posts)
        postAdvise(post.shareId, post.subId, post.item);
}

void CDDEServer::rebuildWatchList()
{
    if (!hooks_.feed)
        return;
    std::vector<uint32_t> keys;
    keys.reserve(topics_.size());
    for (const DdeTopicEntry& entry : topics_)
        keys.push_back(EntryKey(entry));
    hooks_.feed->setWatchList(keys);
}

} // namespace qv
