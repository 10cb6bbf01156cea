// Tests of the portfolio files "Quorva%03i.por".
#include "portfolio/PortfolioFile.h"

#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/RecordLists.h"
#include "core/SaveProtocol.h"
#include "core/ShareList.h"
#include "core/TaggedFile.h"
#include "devtools/lib/ShareListChain.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/Transaction.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace qv;
using namespace qv::test;

namespace {

using Pairs = std::vector<std::pair<uint32_t, uint32_t>>;

std::vector<uint8_t> TransactionBytes(const std::string& name, uint16_t id, uint8_t type = 1,
                                      std::vector<std::string> notes = {})
{
    TransactionFields f;
    f.texts[0] = name;
    for (size_t i = 0; i < notes.size(); ++i)
        f.texts[i + 1] = notes[i];
    f.shareId = id;
    f.type = type;
    f.flags = TransactionFlag::FloatValues;
    f.shares = 100;
    f.price = 2;
    f.date = 0x3000;
    f.portfolioNumber = 4;
    return *EncodeTransaction(f);
}

// The same record as a version-1 file stored it: the bytes 76-155 of today's layout did not exist
// yet, and six bytes from 70 (the length first) stood where they begin.
std::vector<uint8_t> AsVersion1(const std::vector<uint8_t>& current)
{
    std::vector<uint8_t> old(current.begin(), current.begin() + 70);
    old.resize(76, 0);
    old.insert(old.end(), current.begin() + 156, current.end());
    StoreU32(&old[0], uint32_t(old.size()));
    StoreU16(&old[70], uint16_t(old.size()));
    return old;
}

std::vector<uint8_t> FileImage(uint8_t version, const std::string& nameBlock, const Pairs& pairs,
                               const std::vector<std::vector<uint8_t>>& transactions)
{
    ByteWriter out;
    TaggedFileHeader h;
    h.tag = file_tag::kPortfolio;
    h.version = version;
    h.write(out);
    out.u8(uint8_t(nameBlock.size()));
    out.bytes(nameBlock.data(), nameBlock.size());
    out.u32(uint32_t(pairs.size() * 8 + 4));
    for (auto [id, second] : pairs) {
        out.u32(id);
        out.u32(second);
    }
    out.u32(0);
    if (version >= 2)
        for (int i = 0; i < 80; ++i)
            out.u8(uint8_t(i));
    size_t total = 0;
    for (const auto& t : transactions)
        total += t.size();
    out.u32(uint32_t(total));
    for (const auto& t : transactions)
        out.bytes(t.data(), t.size());
    return out.take();
}

class PortfolioFiles : public DatabaseFixture {
protected:
    void SetUp() override
    {
        SetProgramFolder(dir.path());
        Config() = ConfigState{};
        dev::DbFile db = OneEntry({dev::ShareRecord(0x4001, "Alpha Mining", 'O', "ALM"),
                                   dev::ShareRecord(0x4002, "Bravo Oil", 'O', "BRV")});
        Load(dev::WriteQuorvaDat(db));
    }
    void TearDown() override
    {
        FreePortfolioChain();
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
        GetPortfolioFileHooks() = PortfolioFileHooks{};
    }

    void put(const std::string& name, const std::vector<uint8_t>& bytes) { WriteFileBytes(AppPath(name), bytes); }
    std::vector<uint8_t> get(const std::string& name) { return ReadFileBytes(AppPath(name)).value_or(std::vector<uint8_t>{}); }

    static std::vector<std::string> Names(const Portfolio* p)
    {
        std::vector<std::string> names;
        for (const Transaction* t = p->transactions; t; t = t->next)
            names.emplace_back(t->text(0));
        return names;
    }

    dev::TempFolder dir;
};

} // namespace

TEST_F(PortfolioFiles, AFinalSaveWritesTheFileKeepsMemoryAndALoadGivesItBackByteExact)
{
    std::vector<uint8_t> image =
        FileImage(3, std::string("Income\x05\x00", 8), {{0x4002, 0}, {0x4001, 1}, {0x4999, 7}},
                  {TransactionBytes("Alpha Mining", 0x4001, 1, {"bought", "", "note 3"}),
                   TransactionBytes("Bravo Oil", 0x4002, 3), TransactionBytes("Gone plc", 0x4999, 2)});
    put("Quorva004.por", image);
    const std::vector<uint8_t> original = image;
    Portfolio* p = LoadPortfolio(4, false, 0, 0);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->name, "Income");
    EXPECT_EQ(p->flags, 5);
    EXPECT_EQ(CountPortfolioEntries(*p), 2u);
    EXPECT_EQ(p->entries[1].count, 1u);
    ASSERT_TRUE(p->missing);
    EXPECT_EQ(p->missing->id, 0x4999);
    EXPECT_EQ(p->missing->second, 7);
    EXPECT_EQ(Names(p), (std::vector<std::string>{"Alpha Mining", "Bravo Oil", "Gone plc"}));
    EXPECT_EQ(p->transactions->text(3), "note 3");

    // The share missing from the database is written back; the bytes are those that were read.
    std::vector<uint8_t> rebuilt = BuildPortfolioImage(*p);
    image.resize(rebuilt.size());
    StoreU32(&image[12], LoadU32(&rebuilt[12]));
    EXPECT_EQ(rebuilt, image);

    put("Quorva004.new", {1, 2, 3});
    ASSERT_TRUE(SavePortfolio(p, true));
    EXPECT_EQ(get("Quorva004.por"), rebuilt);
    EXPECT_EQ(get("Quorva004.old"), original);
    EXPECT_FALSE(ReadFileBytes(AppPath("Quorva004.new")));
    EXPECT_FALSE(ReadFileBytes(AppPath("por.tem")));
    // A save leaves memory as it was, so a second save (the exit after File > Save) writes it all again.
    EXPECT_EQ(Names(p), (std::vector<std::string>{"Alpha Mining", "Bravo Oil", "Gone plc"}));
    ASSERT_TRUE(p->missing);
    ASSERT_TRUE(SavePortfolio(p, true));
    EXPECT_EQ(get("Quorva004.por"), rebuilt);
    EXPECT_EQ(get("Quorva004.old"), rebuilt);
    TaggedFileHeader h;
    ByteReader in(rebuilt);
    h.read(in);
    uint32_t entryBytes = LoadU32(&rebuilt[16 + 9]);
    size_t transactionBytes = rebuilt.size() - (16 + 9 + 4 + entryBytes + 80 + 4);
    EXPECT_EQ(h.word12, 6 + entryBytes + transactionBytes + 10);
}

TEST_F(PortfolioFiles, AnInterimSaveWritesTheNewCopyOnlyAndOutranksTheFinalFileAtTheNextLoad)
{
    put("Quorva007.por", FileImage(3, std::string("Final\0\0", 7), {{0x4001, 0}}, {}));
    put("Quorva007.new", FileImage(3, std::string("Interim\0\0", 9), {{0x4002, 0}}, {}));
    put("Quorva012.por", FileImage(3, std::string("Other\0\0", 7), {}, {}));
    LoadPortfolios();
    int user = 0;
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->number < 1000) {
            ++user;
            if (p->number == 7) {
                EXPECT_EQ(p->name, "Interim");
            }
        }
    EXPECT_EQ(user, 2);

    Portfolio* seven = PortfolioChain();
    while (seven->number != 7)
        seven = seven->next;
    seven->name = "Changed";
    std::vector<uint8_t> final = get("Quorva007.por");
    ASSERT_TRUE(SavePortfolio(seven, false));
    EXPECT_EQ(get("Quorva007.por"), final);
    EXPECT_EQ(get("Quorva007.new"), BuildPortfolioImage(*seven));
}

TEST_F(PortfolioFiles, PresetPortfoliosComeFirstInTheirOrderAndTheCurrentListTakesAlarmsGlobal)
{
    for (const char* name : {"Cheap shares", "Other"}) {
        auto filter = std::make_unique<DMFilter>();
        filter->name = name;
        InsertFilter(std::move(filter));
    }
    ASSERT_EQ(FindFilterPosition("Cheap shares"), 2);
    StoreU16(Config().optionsA.data() + OptionBlockA::kFilterPosition, 2);
    LoadPortfolios();
    std::vector<std::pair<uint16_t, std::string>> chain;
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        chain.emplace_back(p->number, p->name);
    std::vector<std::pair<uint16_t, std::string>> expected = {
        {0xFF05, "Cheap shares"}, {0xFF04, "Alarms - Global"}, {0xFF03, "Alarms"},
        {0xFF02, "New Highs"},    {0xFF01, "New Lows"}};
    EXPECT_EQ(chain, expected);
    EXPECT_EQ(PortfolioChain()->type, kFilterPreset);
    EXPECT_EQ(PortfolioChain()->changed, 1);
    ASSERT_TRUE(CurrentShareList());
    EXPECT_EQ(CurrentShareList()->source, PortfolioChain()->next);

    // Saving the filter-fed portfolio only records where its filter stands.
    StoreU16(Config().optionsA.data() + OptionBlockA::kFilterPosition, 0);
    EXPECT_TRUE(SavePortfolio(PortfolioChain(), true));
    EXPECT_EQ(LoadU16(Config().optionsA.data() + OptionBlockA::kFilterPosition), 2);
    ClearFilterList();
}

// On a first start no filter position is stored: the filter-fed portfolio takes the current filter's
// name, so that it shows shares at once; without any filter it keeps the default name.
TEST_F(PortfolioFiles, AFirstStartNamesTheFilterFedPortfolioAfterTheCurrentFilter)
{
    StoreU16(Config().optionsA.data() + OptionBlockA::kFilterPosition, 0);
    LoadPortfolios();
    EXPECT_EQ(PortfolioChain()->name.str(), "Data Mining Results");
    EXPECT_EQ(PortfolioChain()->changed, 0);
    for (const char* name : {"Value", "Momentum"}) {
        auto filter = std::make_unique<DMFilter>();
        filter->name = name;
        InsertFilter(std::move(filter));
    }
    SetCurrentFilter(FilterList()[1].get());
    LoadPortfolios();
    EXPECT_EQ(PortfolioChain()->number, kFilterPortfolioNumber);
    EXPECT_EQ(PortfolioChain()->name.str(), "Value");
    EXPECT_EQ(PortfolioChain()->changed, 1) << "marked for filling";
    ClearFilterList();
}

// A group's file names its members only; loaded, it holds their shares and transactions at once,
// before any view has shown it.
TEST_F(PortfolioFiles, AGroupLoadedHoldsItsMembersSharesAndTransactions)
{
    put("Quorva004.por", FileImage(3, std::string("Income\0\0", 8), {{0x4001, 0}},
                                   {TransactionBytes("Alpha Mining", 0x4001)}));
    put("Quorva009.por", FileImage(3, std::string("All\0\x03", 5), {{5, 0}}, {}));
    LoadPortfolios();
    Portfolio* group = PortfolioChain();
    while (group && group->number != 9)
        group = group->next;
    ASSERT_TRUE(group);
    ASSERT_EQ(group->type, kGroupPortfolio);
    EXPECT_EQ(Names(group), (std::vector<std::string>{"Alpha Mining"}));
    EXPECT_EQ(CountPortfolioEntries(*group), 1u);
}

TEST_F(PortfolioFiles, TheSplashCountsThePortfolioFilesLoaded)
{
    for (int n : {1, 2, 3, 4})
        put("Quorva00" + std::to_string(n) + ".por", FileImage(3, std::string("P\0\0", 3), {}, {}));
    std::vector<int> positions;
    std::vector<std::string> texts;
    GetPortfolioFileHooks().splashStatus = [&](const std::string& text, int position) {
        texts.push_back(text);
        positions.push_back(position);
    };
    LoadPortfolios();
    EXPECT_EQ(positions, (std::vector<int>{87, 90, 92, 95}));
    EXPECT_EQ(texts.back(), "Loading portfolio P (4 of 4)");
}

TEST_F(PortfolioFiles, NameBlocksOfOlderFilesEndInFlagsAndTypeOnlyWhenSmall)
{
    struct Case {
        uint8_t version;
        std::string block;
        std::string name;
        uint8_t flags, type;
    } cases[] = {
        {2, std::string("Growth\x03", 7), "Growth", 3, 0},
        {2, std::string("Growth\x03\x00", 8), "Growth", 3, 0},
        {2, "Growth", "Growth", 0, 0},
        {2, "Caf\xE9", "Caf\xE9", 0, 0},         // a last byte of 0x80 or more is a letter
        {3, std::string("Caf\xE9\x00\x00", 6), "Caf\xE9", 0, 0},
        {3, std::string("Growth\x90\x03", 8), "Growth", 0x90, 3}, // the version's layout holds
    };
    uint16_t number = 20;
    for (const Case& c : cases) {
        put("Quorva0" + std::to_string(number) + ".por", FileImage(c.version, c.block, {}, {}));
        Portfolio* p = LoadPortfolio(number++, false, 0, 0);
        ASSERT_TRUE(p) << c.block;
        EXPECT_EQ(p->name, c.name);
        EXPECT_EQ(p->flags, c.flags) << c.block;
        EXPECT_EQ(p->type, c.type) << c.block;
    }
}

TEST_F(PortfolioFiles, AVersion1FileGrowsEachTransactionBy80BytesAndKeepsDefaultSettings)
{
    std::vector<uint8_t> current = TransactionBytes("Alpha Mining", 0x4001, 8, {"kept"});
    std::vector<uint8_t> v1 = AsVersion1(current);
    v1[11] &= 0x7F; // integer values, as the oldest files held them
    StoreI32(&v1[12], 250);
    StoreI32(&v1[40], 300);
    put("Quorva002.por", FileImage(1, std::string("Old\0\0", 5), {{0x4001, 0}}, {v1}));
    Portfolio* p = LoadPortfolio(2, false, 0, 0);
    ASSERT_TRUE(p);
    for (uint8_t b : p->settings)
        EXPECT_EQ(b, 0xFF);
    ASSERT_TRUE(p->transactions);
    const std::vector<uint8_t>& r = p->transactions->bytes;
    EXPECT_EQ(r.size(), v1.size() + 80);
    EXPECT_EQ(LoadU16(&r[70]), r.size());
    EXPECT_EQ(LoadF32(&r[12]), 250.0f);
    EXPECT_EQ(LoadF32(&r[40]), 300.0f);
    EXPECT_EQ(r[6], kLatestRowType); // type 8 of the older files
    EXPECT_EQ(LoadU16(&r[88]), 2);
    EXPECT_EQ(p->transactions->text(0), "Alpha Mining");
    EXPECT_EQ(p->transactions->text(1), "kept");
}

// Lengths that do not add up refuse the whole file: what a damaged file would leave is not
// loaded in silence, and the file is kept whole beside the folder's other files.
TEST_F(PortfolioFiles, ATransactionLengthThatDoesNotAddUpRefusesTheFile)
{
    std::vector<uint8_t> good = TransactionBytes("Alpha Mining", 0x4001);
    for (uint32_t length : {0u, 1u, 3u, 100u, 0x10000000u, 0x80000090u, 0x1000u, 60000u, uint32_t(good.size() + 1)}) {
        std::vector<uint8_t> bad = good;
        StoreU32(&bad[0], length);
        const std::vector<uint8_t> image = FileImage(3, std::string("Bad\0\0", 5), {}, {bad, good});
        put("Quorva003.por", image);
        EXPECT_FALSE(LoadPortfolio(3, false, 0, 0)) << length;
        EXPECT_EQ(get("Quorva003.bad"), image) << length;
        ForceDelete(AppPath("Quorva003.bad"));
    }
    EXPECT_EQ(box.texts(), std::vector<std::string>(9, "Portfolio is badly formatted"));
}

// A file cut anywhere, or whose second half was written over, is refused with its message, kept
// whole as ".bad", and never becomes the backup: the last good copy (".old") survives the exit.
TEST_F(PortfolioFiles, ACutOrHalfOverwrittenFileIsRefusedAndTheBackupSurvives)
{
    const std::vector<uint8_t> whole =
        FileImage(3, std::string("Growth\0\0", 8), {{0x4001, 0}, {0x4002, 3}},
                  {TransactionBytes("Alpha Mining", 0x4001, 1, {"bought"}), TransactionBytes("Bravo Oil", 0x4002, 1),
                   TransactionBytes("Bravo Oil", 0x4002, 2)});
    std::vector<std::vector<uint8_t>> damaged;
    for (size_t cut = TaggedFileHeader::kSize; cut < whole.size(); cut += 13)
        damaged.emplace_back(whole.begin(), whole.begin() + ptrdiff_t(cut));
    for (uint8_t fill : {0xA5, 0x00, 0xFF}) {
        std::vector<uint8_t> overwritten = whole;
        std::fill(overwritten.begin() + ptrdiff_t(whole.size() / 2), overwritten.end(), fill);
        damaged.push_back(overwritten);
    }
    std::vector<uint8_t> trailing = whole;
    trailing.push_back(0);
    damaged.push_back(trailing);
    for (const std::vector<uint8_t>& bytes : damaged) {
        put("Quorva006.old", whole);
        put("Quorva006.por", bytes);
        LoadPortfolios();
        ASSERT_TRUE(SaveAllPortfolios(true)) << bytes.size();
        EXPECT_EQ(get("Quorva006.bad"), bytes) << bytes.size();
        EXPECT_EQ(get("Quorva006.old"), whole) << bytes.size();
        EXPECT_FALSE(ReadFileBytes(AppPath("Quorva006.por"))) << bytes.size();
        ForceDelete(AppPath("Quorva006.bad"));
        FreePortfolioChain();
    }
    EXPECT_EQ(box.texts(), std::vector<std::string>(damaged.size(), "Portfolio is badly formatted"));
}

// The backup is replaced only by a file that reads back whole: one damaged on the disk after it was
// loaded is set aside at the next save instead of being rotated into ".old".
TEST_F(PortfolioFiles, OnlyAFileThatReadsBackWholeBecomesTheBackup)
{
    const std::vector<uint8_t> first = FileImage(3, std::string("Kept\0\0", 6), {{0x4001, 0}},
                                                 {TransactionBytes("Alpha Mining", 0x4001)});
    put("Quorva008.por", first);
    put("Quorva008.old", {9, 9, 9});
    Portfolio* p = LoadPortfolio(8, false, 0, 0);
    ASSERT_TRUE(p);
    ASSERT_TRUE(SavePortfolio(p, false));
    EXPECT_TRUE(PortfolioImageReadsWhole(get("Quorva008.new")));
    ASSERT_TRUE(SavePortfolio(p, true));
    EXPECT_EQ(get("Quorva008.old"), first);
    const std::vector<uint8_t> saved = get("Quorva008.por");
    EXPECT_TRUE(PortfolioImageReadsWhole(saved));
    FreePortfolioChain();

    p = LoadPortfolio(8, false, 0, 0);
    ASSERT_TRUE(p);
    std::vector<uint8_t> cut = saved;
    cut.resize(cut.size() / 2);
    put("Quorva008.por", cut);
    ASSERT_TRUE(SavePortfolio(p, true));
    EXPECT_EQ(get("Quorva008.old"), first);
    EXPECT_EQ(get("Quorva008.bad"), cut);
    EXPECT_EQ(get("Quorva008.por"), saved);
}

TEST_F(PortfolioFiles, DamagedAndRenamedTransactionsAreRebuilt)
{
    std::vector<uint8_t> lost = TransactionBytes("A\x05z", 0x4777);
    std::memset(&lost[136], 'r', 20); // a reference without its zero
    std::vector<uint8_t> renamed = TransactionBytes("Old Bravo Name", 0x4002, 1, {"my note", "second"});
    std::vector<uint8_t> unknown = TransactionBytes("Delisted plc", 0x4555);
    put("Quorva005.por", FileImage(3, std::string("Mixed\0\0", 7), {}, {lost, renamed, unknown}));
    Portfolio* p = LoadPortfolio(5, false, 0, 0);
    ASSERT_TRUE(p);
    EXPECT_EQ(Names(p), (std::vector<std::string>{"Bravo Oil", "Delisted plc", "Lost Share"}));
    const Transaction* t = p->transactions;
    EXPECT_EQ(t->text(1), "my note"); // only the name is replaced
    EXPECT_EQ(t->text(2), "second");
    const Transaction* l = t->next->next;
    EXPECT_EQ(l->bytes.size(), 190u);
    EXPECT_EQ(l->bytes[136], 0);
    EXPECT_EQ(LoadU16(&l->bytes[8]), 0x4777);
}

TEST_F(PortfolioFiles, ADamagedFileGivesItsMessageIsSetAsideAndTheOthersLoad)
{
    std::vector<uint8_t> truncated = FileImage(3, std::string("Cut\0\0", 5), {{0x4001, 0}}, {});
    truncated.resize(truncated.size() - 60);
    std::vector<uint8_t> negative = FileImage(3, std::string("Neg\0\0", 5), {}, {});
    StoreI32(&negative[16 + 6], -8);
    std::vector<uint8_t> future = FileImage(4, std::string("New\0\0", 5), {}, {});
    put("Quorva001.por", truncated);
    put("Quorva002.por", negative);
    put("Quorva003.por", future);
    put("Quorva004.por", FileImage(3, std::string("Fine\0\0", 6), {{0x4001, 0}}, {}));
    LoadPortfolios();
    std::vector<std::string> names;
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->number < 1000)
            names.push_back(p->name);
    EXPECT_EQ(names, std::vector<std::string>{"Fine"});
    EXPECT_EQ(box.texts(), (std::vector<std::string>{"Portfolio is badly formatted", "Portfolio is badly formatted",
                                                     "Quorvantis is too old to load portfolio"}));
    EXPECT_FALSE(ReadFileBytes(AppPath("Quorva001.por")));
    EXPECT_TRUE(ReadFileBytes(AppPath("Quorva001.bad")));
}

TEST_F(PortfolioFiles, SavesThatCannotBeMadeAnswerFalseAndAllTheOthersAreStillSaved)
{
    LoadPortfolios();
    Portfolio* chain = PortfolioChain();
    auto append = [&](uint16_t number, const char* name) {
        auto* p = new Portfolio;
        p->number = number;
        p->name = name;
        ResetPortfolioEntries(*p);
        AppendToChain(p);
    };
    append(1000, "Too high");
    append(8, "Eight");
    EXPECT_FALSE(SaveAllPortfolios(true));
    EXPECT_TRUE(ReadFileBytes(AppPath("Quorva008.por")));
    EXPECT_EQ(box.texts(), std::vector<std::string>{"Unable to save portfolio\nToo high"});
    EXPECT_EQ(MakePortfolioFileName(1000, false), std::nullopt);
    EXPECT_EQ(MakePortfolioFileName(7, true), "Quorva007.new");

    FreeDatabase(true);
    EXPECT_FALSE(SavePortfolio(chain->next->next->next->next->next->next, true));
}

TEST_F(PortfolioFiles, AReloadShowsEachListItsPortfolioAgain)
{
    put("Quorva003.por", FileImage(3, std::string("Three\0\0", 7), {{0x4001, 0}, {0x4002, 0}}, {}));
    put("Quorva009.por", FileImage(3, std::string("Nine\0\0", 6), {{0x4002, 0}}, {}));
    LoadPortfolios();
    ShareList* nine = GetShareListForSource(FindPortfolioByNumber(9));
    SetShareListSource(CurrentShareList(), FindPortfolioByNumber(3), 0, 0, true, false);
    ASSERT_TRUE(SaveAllPortfolios(false));
    EXPECT_EQ(StoredCurrentPortfolioNumber(), 3);

    LoadPortfolios();
    ASSERT_TRUE(nine->source);
    EXPECT_EQ(nine->source->number, 9);
    EXPECT_EQ(ShareListCount(nine), 1);
    ASSERT_TRUE(CurrentShareList()->source);
    EXPECT_EQ(CurrentShareList()->source->number, 3);
    EXPECT_EQ(ShareListCount(CurrentShareList()), 2);
}

TEST_F(PortfolioFiles, ASaveTheDiskRefusesKeepsTheOldFileAndEverythingInMemory)
{
    std::vector<uint8_t> image = FileImage(3, std::string("Kept\0\0", 6), {{0x4001, 0}},
                                           {TransactionBytes("Alpha Mining", 0x4001)});
    put("Quorva002.por", image);
    Portfolio* p = LoadPortfolio(2, false, 0, 0);
    ASSERT_TRUE(p);
    for (SaveStep failing : {SaveStep::Write, SaveStep::Flush, SaveStep::Replace}) {
        SetSaveFaultHook([failing](SaveStep step) { return step == failing; });
        EXPECT_FALSE(SavePortfolio(p, true));
        EXPECT_EQ(get("Quorva002.por"), image);
        EXPECT_FALSE(ReadFileBytes(AppPath("por.tem")));
        EXPECT_TRUE(p->transactions);
    }
    SetSaveFaultHook({});
    EXPECT_TRUE(SavePortfolio(p, true));
    EXPECT_EQ(get("Quorva002.old"), image);
}
