// The InfoCentre store on a temporary content folder: filing, superseding, expiry, damaged names and
// indexes, unsafe attached names, the AutoView queues and schedule, the Next walk, and windows.
#include "infocentre/InCStore.h"

#include "devtools/lib/InfoCentreWriter.h"
#include "devtools/lib/TempFolder.h"
#include "infocentre/InCDate.h"
#include "platform/Clock.h"
#include "platform/FileOps.h"
#include "shell/TimerCallbacks.h"
#include "tests/support/FakeMessageBox.h"
#include "tests/support/PrivateRegistry.h"

#include <gtest/gtest.h>

using namespace qv;
using dev::InCDocumentSpec;

namespace {

namespace fs = std::filesystem;

struct FakeWindow : InCDocumentWindow {
    int* reloads;
    explicit FakeWindow(int* r) : reloads(r) {}
    void ReloadPage() override { ++*reloads; }
};

struct FakeHost : InCStoreHost {
    std::vector<std::pair<uint16_t, bool>> opened;
    std::vector<bool> loaded;
    int reloads = 0;
    std::unique_ptr<InCDocumentWindow> CreateDocumentWindow(CInCStore&, uint16_t n, const InCDocSummary&,
                                                            bool autoView) override
    {
        opened.emplace_back(n, autoView);
        return std::make_unique<FakeWindow>(&reloads);
    }
    void InfoCentreLoaded(bool ready) override { loaded.push_back(ready); }
};

InCDocumentSpec Doc(uint16_t n, std::string category = "General")
{
    InCDocumentSpec spec;
    spec.number = n;
    spec.title = "Document " + std::to_string(n);
    spec.category = std::move(category);
    char page[16];
    std::snprintf(page, sizeof page, "%05u.htm", n);
    spec.files = {page};
    return spec;
}

LocalDateTime Day(int y, int m, int d, int hour = 8)
{
    LocalDateTime t;
    t.year = y, t.month = m, t.day = d, t.hour = hour;
    return t;
}

struct StoreFixture : ::testing::Test {
    dev::TempFolder folder{"incstore"};
    fs::path content = folder / "Content";
    FixedClock clock{Day(2005, 3, 1)};
    test::PrivateRegistry registry;
    test::FakeMessageBox messages;
    FakeHost host;

    void SetUp() override { ClearTimerCallbacks(); }
    void TearDown() override { ClearTimerCallbacks(); }

    void Write(const InCDocumentSpec& spec) { ASSERT_TRUE(dev::WriteInCDocument(content, spec)); }

    std::vector<uint16_t> Filed(CInCStore& store)
    {
        std::vector<uint16_t> numbers;
        InCEntryHead head;
        while (store.Index()->ReadNextEntry(head, nullptr))
            if (!CInCIndex::TableBit(store.Index()->GetTable(), head.number))
                numbers.push_back(head.number);
        return numbers;
    }

    InCEntryHead Head(CInCStore& store, uint16_t n)
    {
        InCEntryHead head;
        EXPECT_TRUE(store.Index()->ReadEntryHead(n, head)) << n;
        return head;
    }
};

} // namespace

TEST(InCDate, PacksTheLocalDateAndStepsDays)
{
    FixedClock clock(Day(2005, 3, 1));
    EXPECT_EQ(InCDate(), MakeInCDate(2005, 3, 1));
    uint16_t later = InCDateAfterDays(30);
    EXPECT_EQ(later >> 9, 1);
    EXPECT_EQ((later >> 5) & 0x0F, 3);
    EXPECT_EQ(later & 0x1F, 31);
    clock.set(Day(2004, 12, 20));
    EXPECT_EQ(InCDateAfterDays(15), MakeInCDate(2005, 1, 4));
    EXPECT_LT(MakeInCDate(2004, 12, 31), MakeInCDate(2005, 1, 1));
}

TEST_F(StoreFixture, FilesNewDocumentsAndSkipsBadNamesAndMismatchedNumbers)
{
    Write(Doc(3));
    Write(Doc(65535, "Top"));
    InCDocumentSpec mismatched = Doc(42);
    mismatched.fileNumber = 43;
    Write(mismatched);
    WriteFileBytes(content / "12.InC", dev::InCDescriptorBytes(Doc(12)));
    WriteFileBytes(content / "ABCDE.InC", dev::InCDescriptorBytes(Doc(1)));
    auto cut = dev::InCDescriptorBytes(Doc(5));
    cut.resize(cut.size() - 3);
    WriteFileBytes(content / "00005.InC", cut);

    CInCStore store(content, false, &host);
    ASSERT_TRUE(store.LoadIndex());
    EXPECT_EQ(Filed(store), (std::vector<uint16_t>{3, 65535}));
    EXPECT_EQ(Head(store, 3).flags, kInCFlagNew);
    EXPECT_TRUE(fs::exists(content / "inc.css"));
    EXPECT_FALSE(fs::exists(content / "index.tem"));
    // The descriptor that failed to read is not withdrawn and is filed once it reads.
    EXPECT_FALSE(CInCIndex::TableBit(store.Index()->GetTable(), 5));
    EXPECT_EQ(store.NextNew(), 3);
    EXPECT_TRUE(store.MoreNew());
    EXPECT_EQ(store.GetCategories().count("Top"), 1u);
    EXPECT_TRUE(store.Ready());
}

TEST_F(StoreFixture, SupersededDocumentsLoseTheirFilesAndStayWithdrawn)
{
    InCDocumentSpec old = Doc(7);
    old.files.push_back("picture7.gif");
    Write(old);
    WriteFileBytes(content / "picture7.gif", std::vector<uint8_t>{1});
    InCDocumentSpec replacement = Doc(9);
    replacement.superseded = {7, 9};
    Write(replacement);

    {
        CInCStore store(content, false, &host);
        ASSERT_TRUE(store.LoadIndex());
        EXPECT_EQ(Filed(store), (std::vector<uint16_t>{9}));
        EXPECT_TRUE(CInCIndex::TableBit(store.Index()->GetTable(), 7));
        EXPECT_EQ(store.Index()->GetTable()[0] & 0x80, 0x80);
    }
    for (const char* gone : {"00007.InC", "00007.htm", "picture7.gif"})
        EXPECT_FALSE(fs::exists(content / gone)) << gone;
    // The document that names itself keeps its files.
    EXPECT_TRUE(fs::exists(content / "00009.InC"));
    EXPECT_TRUE(fs::exists(content / "00009.htm"));

    Write(Doc(7));
    CInCStore store(content, false, &host);
    ASSERT_TRUE(store.LoadIndex());
    EXPECT_EQ(Filed(store), (std::vector<uint16_t>{9}));
}

TEST_F(StoreFixture, AttachedNamesOutsideTheContentFolderAreNeverDeleted)
{
    WriteFileBytes(folder / "Quorva.dat", std::vector<uint8_t>{1});
    fs::path outside = fs::temp_directory_path() / "qv-incstore-outside.txt";
    WriteFileBytes(outside, std::vector<uint8_t>{1});
    InCDocumentSpec victim = Doc(7);
    victim.files = {"..\\Quorva.dat", "../Quorva.dat", outside.string(), "sub/../00007.htm"};
    Write(victim);
    WriteFileBytes(content / "00007.htm", std::vector<uint8_t>{1});
    InCDocumentSpec replacement = Doc(8);
    replacement.superseded = {7};
    Write(replacement);

    CInCStore store(content, false, &host);
    ASSERT_TRUE(store.LoadIndex());
    EXPECT_TRUE(fs::exists(folder / "Quorva.dat"));
    EXPECT_TRUE(fs::exists(outside));
    EXPECT_FALSE(fs::exists(content / "00007.htm"));
    fs::remove(outside);

    struct Case {
        const char* name;
        bool inside;
    };
    for (Case c : {Case{"a.htm", true}, {"sub\\b.gif", true}, {"..", false}, {"a/../../x", false}, {"/etc/passwd", false},
                   {"", false}, {".", false}})
        EXPECT_EQ(ContentFilePath(content, c.name).has_value(), c.inside) << c.name;
}

TEST_F(StoreFixture, CountsBeyondTheFileAreRefused)
{
    auto bytes = dev::InCDescriptorBytes(Doc(4));
    InCDocRecord record;
    ASSERT_TRUE(ParseInCDescriptor(bytes, 4, record));
    EXPECT_EQ(record.summary.firstFile, "00004.htm");
    EXPECT_FALSE(ParseInCDescriptor(bytes, 5, record));
    // The superseded count sits after the three texts; the file total after that.
    size_t countAt = 22 + 1 + record.summary.title.size() + 1 + record.category.size() + 1;
    auto big = bytes;
    big[countAt] = 0xFF, big[countAt + 1] = 0xFF;
    EXPECT_FALSE(ParseInCDescriptor(big, 4, record));
    big = bytes;
    big[countAt + 2] = 0xFF;
    EXPECT_FALSE(ParseInCDescriptor(big, 4, record));
    for (size_t n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(ParseInCDescriptor(std::span(bytes.data(), n), 4, record)) << n;
}

TEST_F(StoreFixture, DayCountExpiryIsFixedAtFilingAndDeletesOnTheDay)
{
    InCDocumentSpec seminar = Doc(6);
    seminar.displayFlags = 0x06;
    seminar.expiry = 30;
    Write(seminar);
    InCDocumentSpec dated = Doc(8);
    dated.displayFlags = 0x02;
    dated.expiry = MakeInCDate(2005, 3, 1);
    Write(dated);
    {
        CInCStore store(content, false, &host);
        ASSERT_TRUE(store.LoadIndex());
        EXPECT_EQ(Filed(store), (std::vector<uint16_t>{6}));
        InCEntryHead head = Head(store, 6);
        EXPECT_EQ(head.flags, kInCFlagNew | kInCFlagExpires);
        EXPECT_EQ(EntryExpiry(head), MakeInCDate(2005, 3, 31));
        EXPECT_FALSE(fs::exists(content / "00008.InC"));
    }
    clock.set(Day(2005, 3, 30));
    {
        CInCStore store(content, false, &host);
        ASSERT_TRUE(store.LoadIndex());
        EXPECT_EQ(Filed(store), (std::vector<uint16_t>{6}));
    }
    clock.set(Day(2005, 3, 31));
    CInCStore store(content, false, &host);
    ASSERT_TRUE(store.LoadIndex());
    EXPECT_TRUE(Filed(store).empty());
    EXPECT_TRUE(CInCIndex::TableBit(store.Index()->GetTable(), 6));
    EXPECT_FALSE(fs::exists(content / "00006.InC"));
    EXPECT_FALSE(store.Ready());
}

TEST_F(StoreFixture, ABadIndexIsSetAsideAndAStoredStateSurvivesANewDocument)
{
    Write(Doc(20));
    ASSERT_TRUE(WriteFileBytes(content / "index.dat", std::vector<uint8_t>(300000, 'x')));
    {
        CInCStore store(content, false, &host);
        ASSERT_TRUE(store.LoadIndex());
        EXPECT_TRUE(fs::exists(content / "index.bad"));
        store.Defer(20, CInCStore::Now() + 3600);
    }
    Write(Doc(10));
    CInCStore store(content, false, &host);
    ASSERT_TRUE(store.LoadIndex());
    EXPECT_EQ(Filed(store), (std::vector<uint16_t>{10, 20}));
    InCEntryHead deferred = Head(store, 20);
    EXPECT_EQ(deferred.flags, kInCFlagDeferred | kInCFlagOpened);
    EXPECT_EQ(deferred.time, CInCStore::Now() + 3600);
    ASSERT_EQ(store.Schedule().size(), 1u);
    EXPECT_EQ(store.NextNew(), 10);
}

TEST_F(StoreFixture, TheTimerRebuildsFirstThenOpensDeferralsInTimeOrder)
{
    Write(Doc(1));
    Write(Doc(2));
    CInCStore store(content, false, &host);
    EXPECT_EQ(PendingTimerCallbacks(), 1);
    EXPECT_FALSE(store.OnTimer(5));
    RunTimerCallbacks();
    ASSERT_TRUE(store.Loaded());
    EXPECT_EQ(host.loaded, std::vector<bool>{true});
    // "On start up" is clear by default: nothing opened by itself.
    EXPECT_TRUE(host.opened.empty());

    int64_t nine = CInCStore::Now() + 3600, ten = nine + 3600;
    store.Defer(1, ten);
    store.Defer(2, nine);
    ASSERT_EQ(store.Schedule().size(), 2u);
    EXPECT_EQ(store.Schedule().front().number, 2);
    RunTimerCallbacks();
    EXPECT_TRUE(host.opened.empty());
    clock.set(Day(2005, 3, 1, 10));
    RunTimerCallbacks();
    RunTimerCallbacks();
    EXPECT_EQ(host.opened, (std::vector<std::pair<uint16_t, bool>>{{2, true}, {1, true}}));
    EXPECT_EQ(Head(store, 2).flags & 0xF0, kInCFlagNotAutoViewed);
}

TEST_F(StoreFixture, AutoViewAtStartUpFollowsTheSettingsWord)
{
    Registry::Instance().setU32("Settings", "InfoCentreFlags", 3);
    InCDocumentSpec first = Doc(65535);
    first.displayFlags = 0x08;
    Write(first);
    Write(Doc(4));
    CInCStore store(content, false, &host);
    RunTimerCallbacks();
    EXPECT_EQ(host.opened, (std::vector<std::pair<uint16_t, bool>>{{65535, true}}));
    EXPECT_EQ(store.PriorityQueue(), std::vector<uint16_t>{65535});
}

TEST_F(StoreFixture, ASecondDisplayIsRefusedExceptTheIntroduction)
{
    InCDocumentSpec intro = Doc(1, "Ludrin Ossery");
    intro.title = "Introduction";
    Write(intro);
    Write(Doc(2));
    InCDocumentSpec blank = Doc(3);
    blank.files.clear();
    Write(blank);
    CInCStore store(content, false, &host);
    ASSERT_TRUE(store.LoadIndex());
    EXPECT_EQ(store.Introduction(), 1);
    EXPECT_TRUE(store.ShowIntroduction());
    EXPECT_FALSE(store.ShowIntroduction());
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(store.OpenDocument(2, false));
    EXPECT_FALSE(store.OpenDocument(2, true));
    EXPECT_FALSE(store.OpenDocument(3, false));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Quorvantis cannot create a second display of this InfoCentre document.",
                                                          "Quorvantis cannot retrieve InfoCentre document number 00003.\n"}));
    EXPECT_TRUE(store.IsOpen(0));
    store.RefreshOtherWindows(2);
    EXPECT_EQ(host.reloads, 1);
    CInCStore bare(content, false, nullptr);
    ASSERT_TRUE(bare.LoadIndex());
    EXPECT_FALSE(bare.OpenDocument(2, false));
    EXPECT_EQ(messages.shown().size(), 2u);
}

TEST_F(StoreFixture, NextWalksPriorityThenDueThenNewDocuments)
{
    InCDocumentSpec first = Doc(5);
    first.displayFlags = 0x08;
    Write(first);
    Write(Doc(6));
    Write(Doc(7));
    Write(Doc(8, "Hidden"));
    Write(Doc(9));
    WriteFileBytes(content / "disabled_categories.txt",
                   std::vector<uint8_t>{'H', 'i', 'd', 'd', 'e', 'n', ' ', ' ', '\r', '\n'});
    {
        CInCStore store(content, false, &host);
        ASSERT_TRUE(store.LoadIndex());
        store.Defer(9, CInCStore::Now() + 60);
    }
    clock.set(Day(2005, 3, 1, 9));
    CInCStore store(content, false, &host);
    ASSERT_TRUE(store.LoadIndex());
    EXPECT_EQ(store.DueQueue(), std::vector<uint16_t>{9});
    store.StartAutoView();
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0].first, 5);

    std::vector<std::pair<uint16_t, uint16_t>> walk; // number, mode
    uint16_t shown = 5;
    while (store.HasNext()) {
        InCDocSummary summary;
        uint16_t number = 0;
        ASSERT_NE(store.OpenNext(true, shown, number, summary), 0);
        store.SetEntryState(number, kInCFlagNotAutoViewed, 0);
        walk.emplace_back(number, store.Mode());
        shown = number;
        ASSERT_LT(walk.size(), 10u);
    }
    EXPECT_EQ(walk, (std::vector<std::pair<uint16_t, uint16_t>>{{9, 2}, {6, 3}, {7, 3}}));
    EXPECT_TRUE(store.IsOpen(7));
    EXPECT_FALSE(store.IsOpen(5));
}
