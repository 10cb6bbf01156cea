// Turning an import file into an imported item, and keeping references sound when one replaces
// another.
#include "core/PriceImport.h"

#include "core/ImportsFile.h"
#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/PriceStatistics.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

constexpr uint16_t kClassWordBase = 0x31C0;
constexpr size_t kImportNameLimit = 50;
constexpr size_t kNameAt = RecordLayout::Text;
constexpr size_t kSedolAt = 12; // within the price sub-record's stored head

ImportNameDialog& NameDialog()
{
    static ImportNameDialog dialog;
    return dialog;
}

// A message that ends a file's import: shown, or in a folder import collected or left out by the
// error level.
void Tell(ImportRun& run, const std::string& text)
{
    if (run.quiet && run.settings.errorLevel < 2) {
        if (run.settings.errorLevel == 1)
            run.collected.push_back(text);
        return;
    }
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

// A bad line: OK skips it, Cancel ends the import; error level 0 skips it unasked.
bool LineError(ImportRun& run, const std::filesystem::path& path, const std::string& message)
{
    ++run.skippedLines;
    if (run.settings.errorLevel == 0)
        return true;
    if (run.quiet && run.settings.errorLevel == 1) {
        run.collected.push_back(path.filename().string() + ": " + message);
        return true;
    }
    if (ShowMessage(message, {}, MsgButtons::OkCancel, MsgIcon::Exclamation) == MsgAnswer::Ok)
        return true;
    run.cancelled = true;
    return false;
}

uint8_t* CopyRecord(std::span<const uint8_t> record, uint16_t id)
{
    auto* block = static_cast<uint8_t*>(ProCalloc(uint32_t(record.size()) + kImportSpareBytes, 1, "Imported item"));
    std::memcpy(block, record.data(), record.size());
    StoreU16(block + RecordLayout::Id, id);
    const size_t sub = LoadU16(block + RecordLayout::FirstSubRecord);
    FinishImportedRecord(block, sub, record.size());
    return block;
}

// Links the node before the first whose name, over that name's length, sorts after the new one.
void LinkInNameOrder(RecordListNode* node)
{
    const std::string_view name = GetRecordName(node->record);
    RecordListNode** link = &ImportedItemList;
    while (*link) {
        const std::string_view other = GetRecordName((*link)->record);
        if (other.compare(name.substr(0, other.size())) > 0)
            break;
        link = &(*link)->next;
    }
    node->next = *link;
    *link = node;
}

void Repoint(RecordCursor* entries, size_t slots, const uint8_t* from, uint8_t* to)
{
    for (size_t i = 0; entries && i < slots && entries[i].record; ++i)
        if (entries[i].record == from)
            entries[i].record = to;
}

std::string TitleUpToDot(const std::filesystem::path& path)
{
    const std::string file = path.filename().string();
    return file.substr(0, file.find('.'));
}

} // namespace

std::vector<uint8_t> BuildImportedRecord(const std::string& name, const ImportKeywords& k, int16_t scale,
                                         PackedDate firstDate, double lastValue, std::span<const uint8_t> stream)
{
    const size_t n = name.size();
    const size_t sub = n + 32;
    std::vector<uint8_t> record(sub + SubRecordLayout::Stream + stream.size(), 0);
    StoreU16(&record[RecordLayout::Length], uint16_t(record.size()));
    StoreU16(&record[4], uint16_t(kClassWordBase | (k.currency & 7) | ((k.listing & 7) << 3) | ((k.event & 7) << 9)));
    record[6] = 0xFA;
    StoreU16(&record[8], k.nms);
    StoreU16(&record[RecordLayout::FirstSubRecord], uint16_t(sub));
    record[RecordLayout::TextLength] = uint8_t(n);
    std::memcpy(&record[kNameAt], name.data(), n);
    uint8_t* price = &record[sub];
    price[SubRecordLayout::Kind] = k.type;
    StoreF32(price + SubRecordLayout::IssueFigure, k.numShares);
    StoreU16(price + SubRecordLayout::PriceScale, uint16_t(scale));
    StoreU16(price + SubRecordLayout::FirstDate, firstDate);
    StoreU32(price + kSedolAt, k.sedol);
    StoreF32(price + kStatMarketValue, float(lastValue * k.numShares * 0.01));
    std::memcpy(price + SubRecordLayout::Stream, stream.data(), stream.size());
    return record;
}

RecordListNode* FindImportedItemByName(std::string_view name)
{
    for (RecordListNode* node = ImportedItemList; node; node = node->next)
        if (node->record && GetRecordName(node->record) == name)
            return node;
    return nullptr;
}

uint8_t* AddImportedItem(std::span<const uint8_t> record)
{
    const uint16_t id = NewImportedId();
    if (id == 0) {
        ShowMessage("More than 4000 imports would be created", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return nullptr;
    }
    uint8_t* block = CopyRecord(record, id);
    LinkInNameOrder(NewListNode(block, 0));
    ++ImportedItemCount;
    return block;
}

void RepointRecordEntries(const uint8_t* from, uint8_t* to)
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        Repoint(p->entries, PortfolioEntrySlots(*p), from, to);
    for (ShareList* list = ShareListChain(); list; list = list->next)
        Repoint(list->entries, size_t(list->capacity), from, to);
}

uint8_t* ReplaceImportedItem(RecordListNode* item, std::span<const uint8_t> record)
{
    uint8_t* old = item->record;
    uint8_t* block = CopyRecord(record, RecordId(old));
    LinkInNameOrder(NewListNode(block, 0));
    RepointRecordEntries(old, block);
    RemoveListNode(&ImportedItemList, item);
    ProFree(old);
    return block;
}

void SetImportNameDialog(ImportNameDialog dialog) { NameDialog() = std::move(dialog); }

namespace {

// One series of the file as an imported item; true when the caller should stop.
bool ImportOneSeries(ImportSeries& series, const std::filesystem::path& path, ImportRun& run)
{
    const std::string shownPath = path.string();
    // The values must read back as they are: a range too wide for any scale, or a value the scale
    // would lose, is refused whole.
    const std::optional<int16_t> scale = ChooseImportScale(series.days);
    const bool fullDays =
        std::any_of(series.days.begin(), series.days.end(), [](const ImportDay& day) { return day.full(); });
    // The stream's room in the largest record, whatever name the item is given.
    const size_t room = kImportFullRecordLimit - (kImportNameLimit + 32 + SubRecordLayout::Stream);
    const std::optional<std::vector<uint8_t>> stream =
        scale ? EncodeImportStream(series.days, *scale, room) : std::nullopt;
    if (!stream) {
        Tell(run, "Prices too large\n\n" + shownPath);
        return true;
    }
    if (series.name.empty() && run.settings.fileNameForShare)
        series.name = TitleUpToDot(path).substr(0, kImportNameLimit);
    if (series.name.empty()) {
        std::optional<std::string> typed = NameDialog() ? NameDialog()(path.filename().string()) : std::nullopt;
        if (!typed || typed->empty()) {
            run.cancelled = true;
            return true;
        }
        series.name = typed->substr(0, kImportNameLimit);
    }
    const std::vector<uint8_t> record = BuildImportedRecord(series.name, series.keywords, *scale,
                                                            series.days.front().date, series.days.back().value, *stream);
    if (record.size() > ImportRecordLimit(fullDays)) {
        Tell(run, "Too much data...\n\n" + shownPath + " was not imported");
        return true;
    }
    RecordListNode* existing = run.settings.replace ? FindImportedItemByName(series.name) : nullptr;
    uint8_t* made = existing ? ReplaceImportedItem(existing, record) : AddImportedItem(record);
    if (!made)
        return true;
    run.createdId = RecordId(made);
    run.createdIds.push_back(run.createdId);
    return false;
}

} // namespace

bool ImportPriceFile(const std::filesystem::path& path, ImportRun& run)
{
    run.createdId = 0;
    run.createdIds.clear();
    const std::string shownPath = path.string();
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path);
    if (!bytes) {
        Tell(run, "Unable to open Import file\n\n" + shownPath);
        return true;
    }
    std::vector<ImportSeries> all;
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    auto lineError = [&](const std::string& message) { return LineError(run, path, message); };
    ImportTextResult read = ReadImportText(text, run.settings, shownPath, lineError, all);
    if (read == ImportTextResult::Cancelled)
        return true;
    std::erase_if(all, [](const ImportSeries& series) { return series.days.empty(); });
    if (read == ImportTextResult::NoDays || all.empty()) {
        const std::string message = "Unable to import " + shownPath + "\nCheck the settings in Import Options";
        if (run.quiet) {
            Tell(run, message);
            return false;
        }
        run.cancelled = ShowMessage(message, {}, MsgButtons::OkCancel, MsgIcon::Exclamation) != MsgAnswer::Ok;
        return run.cancelled;
    }
    for (ImportSeries& series : all)
        if (ImportOneSeries(series, path, run))
            return true;
    return false;
}

} // namespace qv
