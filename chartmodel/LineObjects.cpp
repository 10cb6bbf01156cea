// Drawing-object nodes and their packed items in the lines-and-text store.
#include "chartmodel/LineObjects.h"

#include "core/KeyedItemStore.h"
#include "core/LinesAndTextFiles.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

constexpr size_t kItemHeadBytes = 8;
constexpr size_t kSectionHeadBytes = 8;
constexpr uint32_t kNewTextSubtype = 10;
constexpr uint8_t kNewLineStudyFlags = 7;
constexpr uint32_t kNewTextBoxWord = 1398;
constexpr size_t kFontHeightOffset = 56;
constexpr size_t kPointSizeOffset = 116;

LineObject* PushNode(LineObjectList& list, LineObjectKind kind, uint8_t flags)
{
    auto* node = new LineObject;
    node->kind = kind;
    node->flags = flags;
    node->owner = &list;
    node->next = list.head;
    list.head = node;
    return node;
}

size_t SectionSize(const LineObjectList& list, LineObjectKind kind)
{
    size_t size = 0;
    for (const LineObject* o = list.head; o; o = o->next)
        if (o->kind == kind && (o->flags & kLineObjectSaved))
            size += o->packedSize();
    return size;
}

// One object's extent inside a section from `at`: how many bytes to copy (none when its fixed part
// does not fit) and how far to step (0 ends the section).
struct ObjectStep {
    size_t copy = 0;
    size_t advance = 0;
};

ObjectStep StepOf(LineObjectKind kind, const uint8_t* at, size_t left)
{
    if (kind == LineObjectKind::Text) {
        size_t copy = std::min(left, kLineObjectStoredBytes);
        if (copy < kTextOffset)
            return {};
        size_t length = std::min<size_t>(LoadU32(at + kTextLengthOffset), copy - kTextOffset);
        return {copy, kTextOffset + length};
    }
    size_t copy = std::min(left, kLineObjectMaxBytes);
    if (copy < kLinePointsOffset)
        return {};
    int8_t count = int8_t(at[15]);
    if (count < 0)
        return {copy, 0};
    return {copy, kLinePointsOffset + kLinePointSize * size_t(count)};
}

} // namespace

uint32_t LineObject::subtype() const { return LoadU32(stored.data()); }
uint32_t LineObject::penOrTime() const { return LoadU32(stored.data() + 8); }
uint16_t LineObject::alarm() const { return LoadU16(stored.data() + 12); }
void LineObject::setAlarm(uint16_t word) { StoreU16(stored.data() + 12, word); }
uint8_t LineObject::capacity() const { return stored[14]; }
int8_t LineObject::pointCount() const { return int8_t(stored[15]); }
void LineObject::setPointCount(int8_t count) { stored[15] = uint8_t(count); }
int32_t LineObject::pointTime(int i) const { return LoadI32(stored.data() + kLinePointsOffset + kLinePointSize * size_t(i)); }
uint8_t* LineObject::point(int i) { return stored.data() + kLinePointsOffset + kLinePointSize * size_t(i); }
uint32_t LineObject::textLength() const { return LoadU32(stored.data() + kTextLengthOffset); }

size_t LineObject::packedSize() const
{
    if (kind == LineObjectKind::Text)
        return kTextOffset + std::min<size_t>(textLength(), kTextMaxLength);
    int count = std::clamp<int>(pointCount(), 0, int(kMaxLinePoints));
    return kLinePointsOffset + kLinePointSize * size_t(count);
}

TextBoxDefaults& DefaultTextBox()
{
    static TextBoxDefaults defaults;
    return defaults;
}

LineObject* AddLineObject(LineObjectList& list, uint32_t subtype, uint32_t pen)
{
    LineObject* node = PushNode(list, LineObjectKind::LineStudy, kNewLineStudyFlags);
    StoreU32(node->stored.data(), subtype);
    StoreU32(node->stored.data() + 8, pen);
    node->stored[14] = 2;
    node->stored[15] = 2;
    node->penCopy = pen;
    return node;
}

LineObject* AddPitchforkObject(LineObjectList& list, uint32_t firstWord, uint32_t pen)
{
    LineObject* node = PushNode(list, LineObjectKind::Pitchfork, kLineObjectSaved);
    StoreU32(node->stored.data(), firstWord);
    StoreU32(node->stored.data() + 8, pen);
    node->stored[14] = 3;
    node->penCopy = pen;
    return node;
}

LineObject* AddTextObject(LineObjectList& list)
{
    LineObject* node = PushNode(list, LineObjectKind::Text, kLineObjectSaved);
    uint8_t* s = node->stored.data();
    const TextBoxDefaults& defaults = DefaultTextBox();
    StoreU32(s, kNewTextSubtype);
    s[6] = defaults.option;
    StoreI32(s + 24, 100);
    StoreI32(s + 28, 50);
    StoreU32(s + 40, 0xFFFFFF);
    StoreU32(s + 52, kNewTextBoxWord);
    std::memcpy(s + 56, defaults.font.data(), defaults.font.size());
    // The text colour has a field of its own; offset 116 is the font's point size, as the font
    // description's height at 56 is read with it.
    StoreU32(s + 32, defaults.textColour);
    StoreI32(s + kPointSizeOffset, defaults.pointSize);
    return node;
}

void FreeLineObjectList(LineObjectList& list)
{
    while (LineObject* node = list.head) {
        list.head = node->next;
        delete node;
    }
}

bool IsAnchoredStudy(uint32_t subtype) { return subtype == 4 || subtype == 7 || subtype == 8; }

std::vector<uint8_t> PackLineObjects(const LineObjectList& list)
{
    static constexpr LineObjectKind kOrder[] = {LineObjectKind::Text, LineObjectKind::LineStudy, LineObjectKind::Pitchfork};
    size_t total = kItemHeadBytes;
    for (LineObjectKind kind : kOrder)
        if (size_t size = SectionSize(list, kind))
            total += kSectionHeadBytes + size;
    if (total == kItemHeadBytes)
        return {};
    std::vector<uint8_t> item(total);
    StoreU32(item.data(), uint32_t(total));
    size_t at = kItemHeadBytes;
    for (LineObjectKind kind : kOrder) {
        size_t size = SectionSize(list, kind);
        if (size == 0)
            continue;
        StoreU32(item.data() + at, uint32_t(kSectionHeadBytes + size));
        StoreU32(item.data() + at + 4, uint32_t(kind));
        at += kSectionHeadBytes;
        for (const LineObject* o = list.head; o; o = o->next) {
            if (o->kind != kind || !(o->flags & kLineObjectSaved))
                continue;
            size_t bytes = o->packedSize();
            std::memcpy(item.data() + at, o->stored.data(), bytes);
            at += bytes;
        }
    }
    return item;
}

void LineObjectsSize(const LineObjectList& list, uint32_t shareKey, uint16_t kind, uint32_t subKey)
{
    std::vector<uint8_t> item = PackLineObjects(list);
    Blob blob;
    if (!item.empty()) {
        blob = MakeBlob(uint32_t(item.size()));
        std::memcpy(blob.get(), item.data(), item.size());
    }
    LinesAndTextStore().SetItem(shareKey, kind, subKey, std::move(blob));
}

void ForEachPackedObject(std::span<uint8_t> item, const std::function<void(LineObjectKind, std::span<uint8_t>)>& visit)
{
    if (item.size() < kItemHeadBytes)
        return;
    size_t end = std::min<size_t>(LoadU32(item.data()), item.size());
    size_t at = kItemHeadBytes;
    while (at + kSectionHeadBytes <= end) {
        uint32_t length = LoadU32(item.data() + at);
        auto kind = LineObjectKind(LoadU32(item.data() + at + 4));
        if (length < kSectionHeadBytes)
            return;
        size_t sectionEnd = std::min<size_t>(at + size_t(length), end);
        bool known = kind == LineObjectKind::Text || kind == LineObjectKind::LineStudy || kind == LineObjectKind::Pitchfork;
        for (size_t o = at + kSectionHeadBytes; known && o < sectionEnd;) {
            ObjectStep step = StepOf(kind, item.data() + o, sectionEnd - o);
            if (step.copy == 0)
                break;
            visit(kind, item.subspan(o, step.copy));
            if (step.advance == 0)
                break;
            o += step.advance;
        }
        at = sectionEnd;
    }
}

void UnpackLineObjects(LineObjectList& list, std::span<const uint8_t> item)
{
    std::vector<uint8_t> copy(item.begin(), item.end());
    ForEachPackedObject(copy, [&](LineObjectKind kind, std::span<uint8_t> bytes) {
        LineObject* node = kind == LineObjectKind::Text ? AddTextObject(list)
                         : kind == LineObjectKind::Pitchfork ? AddPitchforkObject(list, 0, 0)
                                                             : AddLineObject(list, 0, 0);
        node->stored.fill(0);
        std::memcpy(node->stored.data(), bytes.data(), bytes.size());
        if (kind == LineObjectKind::Text) {
            size_t room = bytes.size() > kTextOffset ? bytes.size() - kTextOffset : 0;
            size_t length = std::min<size_t>(node->textLength(), room);
            StoreU32(node->stored.data() + kTextLengthOffset, uint32_t(length));
            node->stored[kTextOffset + length] = 0;
            return;
        }
        size_t room = bytes.size() > kLinePointsOffset ? (bytes.size() - kLinePointsOffset) / kLinePointSize : 0;
        node->setPointCount(int8_t(std::clamp<int>(node->pointCount(), 0, int(room))));
        if (kind == LineObjectKind::LineStudy)
            node->penCopy = node->penOrTime();
    });
}

void LoadLineObjects(LineObjectList& list, const KeyedItemKey& key)
{
    KeyedItemRecord record{key, nullptr};
    if (!LinesAndTextStore().LookupItem(record) || record.blob == nullptr)
        return;
    UnpackLineObjects(list, std::span<const uint8_t>(record.blob, BlobLength(record.blob)));
}

void LoadLineObjectsFor(LineObjectList& list, uint32_t shareKey, uint16_t kind, uint32_t subKey)
{
    LoadLineObjects(list, KeyedItemKey{shareKey, kind, subKey});
}

void FixOldTextSizes(uint8_t* blob, int pixelsPerInchY)
{
    if (blob == nullptr || pixelsPerInchY <= 0)
        return;
    ForEachPackedObject(std::span<uint8_t>(blob, BlobLength(blob)), [&](LineObjectKind kind, std::span<uint8_t> object) {
        if (kind != LineObjectKind::Text || object.size() < kPointSizeOffset + 4)
            return;
        int32_t first = LoadI32(object.data() + kFontHeightOffset);
        int32_t second = LoadI32(object.data() + kPointSizeOffset);
        if (first >= 0 || second >= 0)
            return;
        StoreI32(object.data() + kFontHeightOffset, second);
        StoreI32(object.data() + kPointSizeOffset, int32_t(0.5 - double(second) * 72.0 / pixelsPerInchY));
    });
}

} // namespace qv
