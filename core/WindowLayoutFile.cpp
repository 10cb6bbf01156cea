// "View.cfg" (and the older "Views.cfg"): the window layouts on disk, their older sub-versions and
// the save of one layout that copies the others from the file.
#include "core/WindowLayoutFile.h"

#include "core/ConfigState.h"
#include "core/SaveProtocol.h"
#include "core/TaggedFile.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <algorithm>
#include <span>

namespace qv {

namespace {

constexpr size_t kTradeListModeOption = 564;
constexpr size_t kStoredWindowSize = 156; // the size word counts each window so
constexpr size_t kHeaderPadding = kLayoutFileHeaderSize - TaggedFileHeader::kSize;

struct LayoutFileHeader {
    uint8_t subVersion = 0;
    uint8_t current = 0;
    uint32_t windowCount = 0;
};

// The tag and the version are not tested: the sub-version alone says how the rest is laid out.
std::optional<LayoutFileHeader> ReadHeader(ByteReader& in)
{
    TaggedFileHeader tagged;
    if (!tagged.read(in) || !in.skip(kHeaderPadding))
        return std::nullopt;
    LayoutFileHeader header;
    header.subVersion = tagged.subVersion;
    header.current = tagged.byte6;
    header.windowCount = tagged.word8;
    return header;
}

std::function<void()>& BeforeSaveHook()
{
    static std::function<void()> hook;
    return hook;
}

// One stored layout: all its bytes, and within them its name bytes and its records.
struct LayoutEntry {
    std::span<const uint8_t> whole;
    std::span<const uint8_t> name;
    std::span<const uint8_t> records;
};

// Reads the next entry; false when its counts promise more than the file holds.
bool ReadEntry(std::span<const uint8_t> image, ByteReader& in, LayoutEntry& entry)
{
    size_t start = in.position();
    uint32_t count = 0, nameLength = 0;
    if (!in.u32(count) || !in.u32(nameLength))
        return false;
    if (uint64_t(count) * kLayoutWindowRecordSize + nameLength > in.remaining())
        return false;
    entry.name = in.take(nameLength);
    entry.records = in.take(size_t(count) * kLayoutWindowRecordSize);
    entry.whole = image.subspan(start, in.position() - start);
    return in.ok();
}

int StoredSlotCount(uint8_t subVersion) { return subVersion >= 3 ? kLayoutSlotCount : kUserLayoutCount; }

std::vector<LayoutEntry> ReadEntries(std::span<const uint8_t> image, ByteReader& in, uint8_t subVersion)
{
    std::vector<LayoutEntry> entries;
    LayoutEntry entry;
    while (int(entries.size()) < StoredSlotCount(subVersion) && ReadEntry(image, in, entry))
        entries.push_back(entry);
    return entries;
}

std::vector<LayoutWindowRecord> Records(std::span<const uint8_t> bytes)
{
    std::vector<LayoutWindowRecord> records(bytes.size() / kLayoutWindowRecordSize);
    for (size_t i = 0; i < records.size(); ++i)
        std::copy_n(bytes.begin() + i * kLayoutWindowRecordSize, kLayoutWindowRecordSize, records[i].begin());
    return records;
}

WindowLayout LayoutFromEntry(const LayoutEntry& entry)
{
    WindowLayout layout;
    auto end = std::find(entry.name.begin(), entry.name.end(), uint8_t(0));
    layout.name.assign(entry.name.begin(), end);
    layout.windows = Records(entry.records);
    return layout;
}

bool Selected(int layout, int slot) { return layout < 0 || layout == slot; }

// Sub-version 0 held the records of the first layout only, their count in the header.
void ReadFirstLayoutOnly(ByteReader& in, const LayoutFileHeader& header, WindowLayout& slot)
{
    if (uint64_t(header.windowCount) * kLayoutWindowRecordSize > in.remaining())
        return;
    slot.windows = Records(in.take(size_t(header.windowCount) * kLayoutWindowRecordSize));
}

void ConvertOlderRecords(WindowLayoutSet& set, uint8_t subVersion, uint8_t tradeListMode)
{
    for (int slot = 0; slot < kUserLayoutCount; ++slot) {
        for (LayoutWindowRecord& record : set.layouts[slot].windows) {
            uint8_t* r = record.data();
            if (subVersion < 2) {
                r[101] = tradeListMode;
                StoreU32(r + 108, 0);
                std::fill(r + 93, r + 96, uint8_t(0));
                std::fill(r + 128, r + kLayoutWindowRecordSize, uint8_t(0));
            }
            if (subVersion < 4) {
                r[68] = 1;
                StoreU16(r + 102, 0);
                StoreU32(r + 116, 0);
                StoreU32(r + 120, 0);
            }
        }
    }
}

// A single-window record without a usable rectangle is dropped; older files get it rebuilt.
void SettleSingleWindowLayout(WindowLayoutSet& set, bool haveFile, uint8_t subVersion,
                              const LayoutLoadContext& context)
{
    WindowLayout& single = set.layouts[kSingleWindowLayout];
    bool keep = context.configVersion >= 3 && haveFile && (subVersion == 0 || subVersion >= 3);
    if (!keep) {
        single.name = DefaultLayoutName(kSingleWindowLayout);
        single.windows = {context.singleWindowRecord};
        return;
    }
    if (!single.windows.empty()) {
        const uint8_t* first = single.windows.front().data();
        if (LoadI32(first + 80) <= 0 || LoadI32(first + 84) <= 0)
            single.windows.clear();
    }
}

void WriteLayout(ByteWriter& out, const WindowLayout& layout)
{
    out.u32(uint32_t(layout.windows.size()));
    out.u32(uint32_t(layout.name.size() + 1));
    out.cString(layout.name);
    for (const LayoutWindowRecord& record : layout.windows)
        out.bytes(record.data(), record.size());
}

} // namespace

LayoutLoadContext LayoutContextFromConfig(uint8_t displayFlags)
{
    const ConfigState& config = Config();
    LayoutLoadContext context;
    context.configVersion = config.version;
    context.multipleWindows = config.optionsA.bytes[OptionBlockA::kMultipleWindows] != 0;
    context.tradeListMode = config.optionsA.bytes[kTradeListModeOption];
    context.singleWindowRecord = FillSingleWindowRecord(config.optionsA, config.optionsB, displayFlags);
    return context;
}

LayoutLoadOutcome ApplyLayoutFile(const std::optional<std::vector<uint8_t>>& image, int layout,
                                  const LayoutLoadContext& context, WindowLayoutSet& set)
{
    FreeLayouts(set, layout);
    std::span<const uint8_t> bytes = image ? std::span<const uint8_t>(*image) : std::span<const uint8_t>();
    ByteReader in(bytes);
    LayoutFileHeader header;
    std::optional<LayoutFileHeader> found = image ? ReadHeader(in) : std::nullopt;
    bool haveFile = found.has_value();
    if (haveFile)
        header = *found;
    std::array<bool, kLayoutSlotCount> read{};

    if (!haveFile || header.subVersion == 0) {
        set.current = 0;
        if (haveFile && Selected(layout, 0))
            ReadFirstLayoutOnly(in, header, set.layouts[0]);
    } else {
        if (layout < 0)
            set.current = header.current <= kSingleWindowLayout ? header.current : 0;
        std::vector<LayoutEntry> entries = ReadEntries(bytes, in, header.subVersion);
        for (size_t slot = 0; slot < entries.size(); ++slot)
            if (Selected(layout, int(slot))) {
                set.layouts[slot] = LayoutFromEntry(entries[slot]);
                read[slot] = true;
            }
    }
    for (int slot = 0; slot < kUserLayoutCount; ++slot)
        if (Selected(layout, slot) && !read[slot])
            set.layouts[slot].name = DefaultLayoutName(slot);
    SettleSingleWindowLayout(set, haveFile, header.subVersion, context);

    LayoutLoadOutcome outcome;
    if (haveFile && layout < 0)
        ConvertOlderRecords(set, header.subVersion, context.tradeListMode);
    outcome.rewrite = haveFile && header.subVersion < kLayoutFileSubVersion;
    if (context.multipleWindows) {
        if (set.current >= kSingleWindowLayout)
            set.current = 0;
        return outcome;
    }
    const auto& single = set.layouts[kSingleWindowLayout].windows;
    outcome.answer = single.empty() ? 0 : int32_t(LoadU32(single.front().data() + 20));
    set.current = kSingleWindowLayout;
    return outcome;
}

std::vector<uint8_t> BuildLayoutFile(const WindowLayoutSet& set, int layout,
                                     const std::optional<std::vector<uint8_t>>& oldImage)
{
    std::vector<LayoutEntry> oldEntries;
    if (layout >= 0 && oldImage) {
        ByteReader in(*oldImage);
        std::optional<LayoutFileHeader> header = ReadHeader(in);
        if (header && header->subVersion > 0)
            oldEntries = ReadEntries(*oldImage, in, header->subVersion);
    }
    uint32_t total = 0;
    for (const WindowLayout& slot : set.layouts)
        total += uint32_t(slot.windows.size());

    TaggedFileHeader header;
    header.tag = file_tag::kWindowLayouts;
    header.version = kLayoutFileVersion;
    header.subVersion = kLayoutFileSubVersion;
    header.byte6 = uint8_t(set.current);
    header.word8 = total;
    header.word12 = uint32_t(kLayoutFileHeaderSize + kStoredWindowSize * total);
    ByteWriter out;
    header.write(out);
    out.zeros(kHeaderPadding);
    for (int slot = 0; slot < kLayoutSlotCount; ++slot) {
        bool copy = layout >= 0 && slot != layout && size_t(slot) < oldEntries.size();
        if (copy)
            out.bytes(oldEntries[slot].whole.data(), oldEntries[slot].whole.size());
        else
            WriteLayout(out, set.layouts[slot]);
    }
    return out.take();
}

int LoadViews(int layout, const LayoutLoadContext& context)
{
    std::optional<std::vector<uint8_t>> image = ReadFileBytes(AppPath("View.cfg"));
    if (!image)
        image = ReadFileBytes(AppPath("Views.cfg"));
    LayoutLoadOutcome outcome = ApplyLayoutFile(image, layout, context, WindowLayouts());
    if (outcome.rewrite)
        SaveViews(-1);
    return outcome.answer;
}

void SetBeforeLayoutSaveHook(std::function<void()> hook) { BeforeSaveHook() = std::move(hook); }

bool SaveViews(int layout)
{
    if (BeforeSaveHook())
        BeforeSaveHook()();
    std::optional<std::vector<uint8_t>> old;
    if (layout >= 0)
        old = ReadFileBytes(AppPath("View.cfg"));
    std::vector<uint8_t> image = BuildLayoutFile(WindowLayouts(), layout, old);
    return SaveFileImage(WindowLayoutSavePlan(), image) == SaveResult::Saved;
}

} // namespace qv
