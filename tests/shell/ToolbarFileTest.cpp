// "Toolbar.cfg": byte-exact writing and reading back, old and damaged files, and the key upgrades.
#include "shell/ToolbarFile.h"

#include "devtools/lib/TempFolder.h"
#include "core/SaveProtocol.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "shell/KeyTable.h"
#include "shell/UserToolbars.h"
#include "tests/support/FakeMessageBox.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qv {
namespace {

AcceleratorKey Key(uint16_t key, uint8_t modifiers, uint16_t command) { return {key, modifiers, 0, command, 0}; }

ToolbarSet SampleSet()
{
    ToolbarSet set;
    set.screen = {1024, 768};
    set.SetDefaultToolbars(-1);
    set.toolbars[1]->dock = kSideFloating;
    set.toolbars[2]->reserved = {1, 2};
    set.toolbars[0]->entries[3].reserved[5] = 9;
    set.portfolioTargets[8] = 12;
    return set;
}

struct Loaded {
    ToolbarSet set;
    std::vector<AcceleratorKey> keys;
    std::vector<AcceleratorKey> fixed = FixedKeys();
    ToolbarLoadReport report;
};

Loaded Load(const std::vector<uint8_t>& bytes, bool swap = false)
{
    Loaded l;
    l.report = LoadToolbarImage(std::span<const uint8_t>(bytes), swap, l.set, l.keys, l.fixed);
    return l;
}

// A section 1 header and its targets block, then what the case adds.
ByteWriter Header(uint8_t sub, uint16_t blockSize, uint16_t count, uint32_t area = 768)
{
    ByteWriter w;
    w.bytes("ZQAD", 4);
    w.u8(1);
    w.u8(sub);
    w.u16(0);
    w.u16(blockSize);
    w.u16(count);
    w.u32(area);
    return w;
}

void Block(ByteWriter& w, uint32_t count, const std::string& name, uint8_t dock, uint8_t size, uint32_t mask)
{
    w.u32(count);
    if (name.size() >= 64)
        w.bytes(name.data(), 64);
    else
        w.fixedText(name, 64);
    w.u8(dock);
    w.u8(size);
    w.u16(0);
    w.u32(mask);
}

void Entries(ByteWriter& w, const std::vector<uint16_t>& codes)
{
    for (uint16_t c : codes) {
        w.u16(c);
        w.u16(0);
        w.zeros(8);
    }
}

void KeySection(ByteWriter& w, uint8_t sub, const std::vector<AcceleratorKey>& keys, uint32_t size = UINT32_MAX)
{
    w.bytes("ZQAF", 4);
    w.u8(1);
    w.u8(sub);
    w.zeros(6);
    w.u32(size == UINT32_MAX ? uint32_t(keys.size() * 8) : size);
    for (const AcceleratorKey& k : keys) {
        w.u16(k.key);
        w.u8(k.modifiers);
        w.u8(0x5A); // state flags as written; cleared on reading
        w.u16(k.command);
        w.u16(0);
    }
}

TEST(ToolbarFile, WrittenFileReadsBackByteIdentical)
{
    ToolbarSet set = SampleSet();
    std::vector<AcceleratorKey> keys{Key('Q', kAccelCtrl, 25002), Key('[', 0, 20619)};
    std::vector<uint8_t> image = WriteToolbarFile(set, keys);

    // Header, the targets block and the first toolbar's block, as stored.
    ASSERT_GE(image.size(), 16u + 36 + 76);
    EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "ZQAD");
    EXPECT_EQ(image[4], 1);
    EXPECT_EQ(image[5], 2);
    EXPECT_EQ(LoadU16(&image[8]), 36);
    EXPECT_EQ(LoadU16(&image[10]), 4);
    EXPECT_EQ(LoadU32(&image[12]), 768u);
    EXPECT_EQ(LoadU32(&image[16 + 32]), 12u);
    EXPECT_EQ(LoadU32(&image[52]), set.toolbars[0]->count + 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&image[56])), "Main bar");
    size_t keysAt = image.size() - 16 - 16;
    EXPECT_EQ(std::string(image.begin() + long(keysAt), image.begin() + long(keysAt) + 4), "ZQAF");
    EXPECT_EQ(LoadU32(&image[keysAt + 12]), 16u);

    Loaded back = Load(image);
    EXPECT_FALSE(back.report.toolbarsDamaged);
    ASSERT_EQ(back.set.Count(), 4u);
    EXPECT_EQ(back.set.toolbars[1]->dock, kSideFloating);
    EXPECT_EQ(back.keys, keys);
    EXPECT_EQ(WriteToolbarFile(back.set, back.keys), image);
}

TEST(ToolbarFile, DamagedAndOldFiles)
{
    // Each case: the file, and what the load must give.
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool damaged;
        size_t toolbars;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}, true, 4});
    cases.push_back({"other magic", [] { auto b = Header(2, 36, 0).take(); b[0] = 'X'; return b; }(), true, 4});
    cases.push_back({"other version", [] { auto b = Header(2, 36, 0).take(); b[4] = 2; return b; }(), true, 4});
    cases.push_back({"count above 64", [] { auto w = Header(2, 36, 65); w.zeros(36); return w.take(); }(), true, 4});
    cases.push_back({"cut in the targets", [] { auto w = Header(2, 36, 1); w.zeros(20); return w.take(); }(), true, 4});
    cases.push_back({"toolbar entries past 64", [] {
                         auto w = Header(2, 36, 1);
                         w.zeros(36);
                         Block(w, 65, "x", 1, 0, 1);
                         Entries(w, std::vector<uint16_t>(65, 4));
                         return w.take();
                     }(), true, 4});
    cases.push_back({"zero toolbars", [] { auto w = Header(2, 36, 0); w.zeros(36); return w.take(); }(), false, 0});
    cases.push_back({"oversized targets block skipped", [] {
                         auto w = Header(2, 40, 1);
                         for (uint32_t i = 1; i <= 10; ++i)
                             w.u32(i);
                         Block(w, 2, "t", 9, 7, 1);
                         Entries(w, {4, 0xFFFF});
                         return w.take();
                     }(), false, 1});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Loaded l = Load(c.bytes);
        EXPECT_EQ(l.report.toolbarsDamaged, c.damaged);
        EXPECT_EQ(l.set.Count(), c.toolbars);
        if (c.damaged) {
            EXPECT_EQ(l.set.toolbars[0]->name, "Main bar");
        }
    }
    Loaded skipped = Load(cases.back().bytes);
    EXPECT_EQ(skipped.set.portfolioTargets[8], 9u);
    // A side past the table is top and a size past it large.
    EXPECT_EQ(skipped.set.toolbars[0]->dock, kSideTop);
    EXPECT_EQ(skipped.set.toolbars[0]->size, kButtonsLarge);
    EXPECT_EQ(skipped.set.toolbars[0]->Codes(), std::vector<uint16_t>{4});
}

TEST(ToolbarFile, NamesAndFullToolbarsStayInsideTheirFields)
{
    auto w = Header(2, 36, 2);
    w.zeros(36);
    Block(w, 64, std::string(64, 'N'), 1, 0, 1);
    std::vector<uint16_t> full(63, 4);
    full.push_back(5); // the 64th entry is no terminator: it must not stay
    Entries(w, full);
    Block(w, 1, "empty", 1, 0, 1);
    Entries(w, {0xFFFF});
    Loaded l = Load(w.take());
    ASSERT_EQ(l.set.Count(), 2u);
    EXPECT_EQ(l.set.toolbars[0]->name, std::string(63, 'N'));
    EXPECT_EQ(l.set.toolbars[0]->count, 63u);
    EXPECT_EQ(l.set.toolbars[0]->entries[63].code, kEndOfButtons);
    EXPECT_EQ(l.set.toolbars[1]->count, 0u);
}

TEST(ToolbarFile, SubVersionOneLosesCode18AndGetsDigitKeys)
{
    auto w = Header(1, 36, 2);
    w.zeros(36);
    Block(w, 4, "Main bar", 1, 0, kAllViews);
    Entries(w, {4, 18, 5, 0xFFFF});
    Block(w, 3, "Other", 3, 1, 1);
    Entries(w, {18, 6, 0xFFFF});
    KeySection(w, 1, {Key('Q', kAccelCtrl, 25002)});
    Loaded l = Load(w.take());
    EXPECT_EQ(l.set.toolbars[0]->Codes(), (std::vector<uint16_t>{4, 5}));
    EXPECT_EQ(l.set.toolbars[1]->Codes(), std::vector<uint16_t>{6});
    // Ctrl+Q stays; the letter keys come with the digit keys, less the fixed keys they repeat.
    ASSERT_GE(l.keys.size(), 1u + 12 + 5);
    EXPECT_EQ(l.keys[0], Key('Q', kAccelCtrl, 25002));
    EXPECT_EQ(std::count_if(l.keys.begin(), l.keys.end(), [](auto& k) { return k.key == 'D'; }), 1);
    EXPECT_EQ(std::count_if(l.keys.begin(), l.keys.end(), [](auto& k) { return k.key == 'P'; }), 0);
    for (const AcceleratorKey& k : l.keys)
        EXPECT_EQ(k.state, 0);

    // With a bracket key in use only the digit keys come; with a digit key none.
    for (auto [keys, expected] : {std::pair{std::vector{Key('[', 0, 20618)}, size_t(13)},
                                  std::pair{std::vector{Key('3', kAccelCtrl, 26731)}, size_t(1)}}) {
        auto k = Header(2, 36, 0);
        k.zeros(36);
        KeySection(k, 0, keys);
        EXPECT_EQ(Load(k.take()).keys.size(), expected);
    }
}

TEST(ToolbarFile, SubVersionZeroReadsOneToolbarIntoTheDefaults)
{
    auto w = Header(0, 36, 1, 24);
    Entries(w, {4, 18});
    for (uint32_t target : {5, 6, 7, 8})
        w.u32(target);
    w.zeros(20);
    KeySection(w, 2, {});
    Loaded l = Load(w.take());
    ASSERT_EQ(l.set.Count(), 4u);
    EXPECT_EQ(l.set.toolbars[0]->name, "My Toolbar");
    EXPECT_EQ(l.set.toolbars[0]->Codes(), std::vector<uint16_t>{4});
    // Targets 1-3 go to the default settings bar's built-in lists; the others are the file's.
    EXPECT_EQ(l.set.portfolioTargets[0], 0xFF02u);
    EXPECT_EQ(l.set.portfolioTargets[3], 8u);
    EXPECT_TRUE(l.keys.empty());
}

TEST(ToolbarFile, KeysAreRemappedAndReconciledWithTheFixedKeys)
{
    auto w = Header(2, 36, 0);
    w.zeros(36);
    KeySection(w, 2,
               {Key('[', 0, 20603), Key(']', 0, 20602), Key('B', kAccelCtrl, 21115), Key('P', kAccelCtrl, 26119),
                Key('Z', kAccelCtrl, 25002)});
    Loaded l = Load(w.take());
    EXPECT_EQ(l.keys, (std::vector<AcceleratorKey>{Key('[', 0, 20618), Key(']', 0, 20619),
                                                   Key('B', kAccelCtrl, 26181), Key('Z', kAccelCtrl, 25002)}));
    for (const AcceleratorKey& f : l.fixed)
        EXPECT_EQ(f.state, f.key == 'Z' ? 1 : 0) << char(f.key);

    // A foreign key section leaves no keys; a size past the file reads the whole records there are.
    auto foreign = Header(2, 36, 0);
    foreign.zeros(36);
    foreign.bytes("ZQAX", 4);
    foreign.zeros(12);
    EXPECT_TRUE(Load(foreign.take()).keys.empty());
    auto big = Header(2, 36, 0);
    big.zeros(36);
    KeySection(big, 2, {Key('Q', kAccelCtrl, 25002), Key('W', kAccelCtrl, 25000)}, 0xFFFFFFF0u);
    auto bytes = big.take();
    bytes.resize(bytes.size() - 3);
    EXPECT_EQ(Load(bytes).keys, std::vector<AcceleratorKey>{Key('Q', kAccelCtrl, 25002)});
}

TEST(ToolbarFile, MissingFileGivesDefaultsAndSwapMakesAFreshMainBar)
{
    Loaded l;
    LoadToolbarImage(std::nullopt, false, l.set, l.keys, l.fixed);
    EXPECT_EQ(l.set.toolbars[0]->name, "Main bar");
    EXPECT_FALSE(l.keys.empty());
    const Loaded next = Load(WriteToolbarFile(l.set, l.keys));
    EXPECT_EQ(next.keys, l.keys) << "the next start keeps the keys the first exit writes";
    EXPECT_EQ(WriteToolbarFile(next.set, next.keys), WriteToolbarFile(l.set, l.keys));

    ToolbarSet user = SampleSet();
    user.toolbars[0]->SetEntries({ToolbarEntry{4, 0, {}}});
    Loaded swapped = Load(WriteToolbarFile(user, {}), true);
    ASSERT_EQ(swapped.set.Count(), 5u);
    EXPECT_EQ(swapped.set.toolbars[0]->name, "PrevMainBar");
    EXPECT_EQ(swapped.set.toolbars[4]->name, "Main bar");
}

TEST(ToolbarFile, ProgramFileIsSavedThroughItsPlanAndADamagedOneSetAside)
{
    dev::TempFolder folder;
    fs::path previous = ProgramFolder();
    SetProgramFolder(folder.path());
    test::FakeMessageBox box;
    ToolbarSet saved;
    saved.CopyToolbarsFrom(ProgramToolbars());
    auto savedKeys = KeyTable();

    ProgramToolbars().ClearToolbars();
    ProgramToolbars().AddToolbar(-1);
    KeyTable() = {Key('Q', kAccelCtrl, 25002)};
    EXPECT_TRUE(SaveToolbarConfig());
    auto written = ReadFileBytes(folder.path() / "Toolbar.cfg");
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, WriteToolbarFile(ProgramToolbars(), KeyTable()));
    LoadToolbarConfig(false);
    EXPECT_EQ(ProgramToolbars().Count(), 1u);
    EXPECT_EQ(KeyTable().size(), 1u);

    // A save the disk refuses keeps the old file and says so.
    ProgramToolbars().AddToolbar(-1);
    SetSaveFaultHook([](SaveStep step) { return step == SaveStep::Replace; });
    EXPECT_FALSE(SaveToolbarConfig());
    SetSaveFaultHook(nullptr);
    EXPECT_EQ(ReadFileBytes(folder.path() / "Toolbar.cfg"), written);
    ASSERT_EQ(box.texts().size(), 1u);
    EXPECT_EQ(box.texts()[0], "Unable to save Toolbar.cfg. The previous file has been kept.");

    std::ofstream(folder.path() / "Toolbar.cfg", std::ios::binary) << "ZQAD\x01\x02";
    LoadToolbarConfig(false);
    EXPECT_EQ(ProgramToolbars().toolbars[0]->name, "Main bar");
    EXPECT_TRUE(fs::exists(folder.path() / "Toolbar.bad"));
    EXPECT_FALSE(fs::exists(folder.path() / "Toolbar.cfg"));
    ASSERT_EQ(box.texts().size(), 2u);

    ProgramToolbars().CopyToolbarsFrom(saved);
    KeyTable() = savedKeys;
    for (AcceleratorKey& f : MutableFixedKeys())
        f.state = 0;
    SetProgramFolder(previous);
}

} // namespace
} // namespace qv
