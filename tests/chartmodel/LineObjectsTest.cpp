// Drawing objects: new nodes, the packed item's sections and sizes, and unpacking damaged items.
#include "chartmodel/LineObjects.h"

#include "core/KeyedItemStore.h"
#include "core/LinesAndTextFiles.h"
#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qv;

namespace {

struct ListGuard {
    LineObjectList list;
    ~ListGuard()
    {
        FreeLineObjectList(list);
        LinesAndTextStore().FreeItems();
    }
};

std::vector<LineObjectKind> Kinds(const LineObjectList& list)
{
    std::vector<LineObjectKind> kinds;
    for (const LineObject* o = list.head; o; o = o->next)
        kinds.push_back(o->kind);
    return kinds;
}

std::vector<uint8_t> Section(LineObjectKind kind, std::vector<uint8_t> objects, uint32_t length = 0)
{
    std::vector<uint8_t> section(8);
    StoreU32(section.data(), length ? length : uint32_t(8 + objects.size()));
    StoreU32(section.data() + 4, uint32_t(kind));
    section.insert(section.end(), objects.begin(), objects.end());
    return section;
}

std::vector<uint8_t> Item(std::vector<std::vector<uint8_t>> sections)
{
    std::vector<uint8_t> item(8);
    for (auto& s : sections)
        item.insert(item.end(), s.begin(), s.end());
    StoreU32(item.data(), uint32_t(item.size()));
    return item;
}

std::vector<uint8_t> StoredLine(int8_t count, uint32_t pen = 0x10FF0000)
{
    std::vector<uint8_t> bytes(16 + 8 * std::max<int>(count, 0));
    StoreU32(bytes.data(), 3);
    StoreU32(bytes.data() + 8, pen);
    bytes[14] = 2;
    bytes[15] = uint8_t(count);
    return bytes;
}

} // namespace

TEST(LineObjects, PacksTextsFirstWithTheSizesOfTheirKinds)
{
    ListGuard g;
    AddLineObject(g.list, 1, 0x10FF0000);
    LineObject* text = AddTextObject(g.list);
    StoreU32(text->stored.data() + kTextLengthOffset, 5);
    std::memcpy(text->stored.data() + kTextOffset, "Hello", 5);
    AddLineObject(g.list, 2, 0x20FF0000);
    LineObject* unsaved = AddLineObject(g.list, 3, 0);
    unsaved->flags = 0; // not stored

    std::vector<uint8_t> item = PackLineObjects(g.list);
    ASSERT_EQ(item.size(), 225u);
    EXPECT_EQ(LoadU32(item.data()), 225u);
    EXPECT_EQ(LoadU32(item.data() + 8), 8u + 137);   // the text section comes first
    EXPECT_EQ(LoadU32(item.data() + 12), 3u);
    EXPECT_EQ(LoadU32(item.data() + 8 + 145), 8u + 64);
    EXPECT_EQ(LoadU32(item.data() + 8 + 145 + 4), 1u);
    EXPECT_EQ(LoadU32(item.data() + 8 + 145 + 8), 2u); // list order: the newest study first

    LineObjectsSize(g.list, 0x4001, 0, 0);
    uint8_t* blob = LinesAndTextStore().GetItem(0x4001, 0, 0);
    ASSERT_NE(blob, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(blob, blob + BlobLength(blob)), item);

    // Loading appends each object at the head: the stored order comes out reversed.
    LineObjectList loaded;
    LoadLineObjectsFor(loaded, 0x4001, 0, 0);
    EXPECT_EQ(Kinds(loaded), (std::vector{LineObjectKind::LineStudy, LineObjectKind::LineStudy, LineObjectKind::Text}));
    EXPECT_EQ(loaded.head->subtype(), 1u);
    EXPECT_EQ(loaded.head->penCopy, 0x10FF0000u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(loaded.head->next->next->stored.data() + kTextOffset)), "Hello");
    FreeLineObjectList(loaded);
}

TEST(LineObjects, OnlyUnsavedObjectsClearTheItem)
{
    ListGuard g;
    LinesAndTextStore().SetItem(0x4001, 0, 0, MakeBlob(std::vector<uint8_t>(20, 1)));
    AddPitchforkObject(g.list, 0, 0)->flags = 0;
    LineObjectsSize(g.list, 0x4001, 0, 0);
    EXPECT_EQ(LinesAndTextStore().GetItem(0x4001, 0, 0), nullptr);
}

TEST(LineObjects, NewNodes)
{
    ListGuard g;
    DefaultTextBox().textColour = 0x123456;
    DefaultTextBox().pointSize = 12;
    LineObject* text = AddTextObject(g.list);
    DefaultTextBox() = TextBoxDefaults{};
    EXPECT_EQ(text->subtype(), 10u);
    EXPECT_EQ(LoadI32(text->stored.data() + 24), 100);
    EXPECT_EQ(LoadI32(text->stored.data() + 28), 50);
    EXPECT_EQ(LoadU32(text->stored.data() + 40), 0xFFFFFFu);
    EXPECT_EQ(LoadU32(text->stored.data() + 52), 1398u);
    EXPECT_EQ(LoadU32(text->stored.data() + 32), 0x123456u) << "the text colour field";
    EXPECT_EQ(LoadI32(text->stored.data() + 116), 12) << "offset 116 is the point size";
    LineObject* fork = AddPitchforkObject(g.list, 9, 0x55);
    EXPECT_EQ(fork->capacity(), 3);
    EXPECT_EQ(fork->pointCount(), 0);
    EXPECT_EQ(fork->flags, 1);
    LineObject* line = AddLineObject(g.list, 4, 0x66);
    EXPECT_EQ(line->flags, 7);
    EXPECT_EQ(line->pointCount(), 2);
    EXPECT_EQ(g.list.head, line);
    EXPECT_EQ(line->owner, &g.list);
    for (uint32_t subtype = 0; subtype < 12; ++subtype)
        EXPECT_EQ(IsAnchoredStudy(subtype), subtype == 4 || subtype == 7 || subtype == 8) << subtype;
}

TEST(LineObjects, DamagedItemsLoadSafely)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> item;
        size_t objects;
    };
    std::vector<uint8_t> longText(132 + 250, 'x');
    StoreU32(longText.data(), 10);
    StoreU32(longText.data() + kTextLengthOffset, 250);
    std::vector<uint8_t> hugeText(132 + 4, 'y');
    StoreU32(hugeText.data() + kTextLengthOffset, 0xFFFFFFF0);
    std::vector<Case> cases = {
        {"a count of -2 ends the section", Item({Section(LineObjectKind::LineStudy, StoredLine(-2))}), 1},
        {"a count past the section claims no more than it holds",
         Item({Section(LineObjectKind::LineStudy, StoredLine(100))}), 1},
        {"twenty points read to 144 bytes", Item({Section(LineObjectKind::LineStudy, StoredLine(20))}), 1},
        {"a text longer than 200 characters is cut", Item({Section(LineObjectKind::Text, longText)}), 1},
        {"a text length past the item", Item({Section(LineObjectKind::Text, hugeText)}), 1},
        {"a section of another kind is skipped", Item({Section(LineObjectKind(9), StoredLine(2)),
                                                       Section(LineObjectKind::Pitchfork, StoredLine(3))}), 1},
        {"a section length below its head ends the item", Item({Section(LineObjectKind::LineStudy, StoredLine(2), 4)}), 0},
        {"a section length past the item", Item({Section(LineObjectKind::LineStudy, StoredLine(2), 5000)}), 1},
        {"an item length past its bytes", [] {
             auto item = Item({Section(LineObjectKind::LineStudy, StoredLine(2))});
             StoreU32(item.data(), 100000);
             return item;
         }(), 1},
        {"a short item", {1, 2, 3}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LineObjectList list;
        UnpackLineObjects(list, c.item);
        EXPECT_EQ(Kinds(list).size(), c.objects);
        for (LineObject* o = list.head; o; o = o->next) {
            if (o->kind == LineObjectKind::Text) {
                EXPECT_LE(o->textLength(), kTextMaxLength);
                EXPECT_EQ(o->stored[kTextOffset + o->textLength()], 0);
            } else {
                EXPECT_GE(o->pointCount(), 0);
                EXPECT_LE(size_t(o->pointCount()), kMaxLinePoints);
            }
            EXPECT_LE(o->packedSize(), kLineObjectStoredBytes);
        }
        FreeLineObjectList(list);
    }
}

TEST(LineObjects, OldTextSizesBecomeAHeightAndPoints)
{
    ListGuard g;
    LineObject* oldText = AddTextObject(g.list);
    StoreI32(oldText->stored.data() + 56, -16);
    StoreI32(oldText->stored.data() + 116, -13);
    LineObject* newText = AddTextObject(g.list);
    StoreI32(newText->stored.data() + 56, -13);
    StoreI32(newText->stored.data() + 116, 10);
    AddLineObject(g.list, 0, 0xFFFFFFFF); // a line study's bytes at those places are not text
    std::vector<uint8_t> item = PackLineObjects(g.list);
    Blob blob = MakeBlob(uint32_t(item.size()));
    std::memcpy(blob.get(), item.data(), item.size());
    FixOldTextSizes(blob.get(), 96);
    LineObjectList fixed;
    UnpackLineObjects(fixed, std::span<const uint8_t>(blob.get(), item.size()));
    std::vector<std::pair<int32_t, int32_t>> sizes;
    for (LineObject* o = fixed.head; o; o = o->next)
        if (o->kind == LineObjectKind::Text)
            sizes.emplace_back(LoadI32(o->stored.data() + 56), LoadI32(o->stored.data() + 116));
    FreeLineObjectList(fixed);
    // Unpacked in reverse: the old text (packed second) comes first.
    EXPECT_EQ(sizes, (std::vector<std::pair<int32_t, int32_t>>{{-13, 10}, {-13, 10}}));
}
