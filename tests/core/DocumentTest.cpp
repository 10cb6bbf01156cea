// Opening the database with its restore loop, and the reload command.
#include "core/Document.h"

#include "core/Database.h"
#include "core/DatabaseNeighbours.h"
#include "core/Memory.h"
#include "core/RecordLists.h"
#include "devtools/lib/DatabaseWriter.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/ProgramExit.h"
#include "resources/MessageIds.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::dev;

namespace {

const char* kRestorePrevious = "Unable to find the data file Quorva.dat\nRestore previous copy?";
const char* kRestoreOld = "Unable to find the data file Quorva.dat\n\nAttempting to restore earlier version";
const std::string kMissing = std::string("Unable to find the data file Quorva.dat\n\nQuorvantis is unable to continue\n\n"
                                         "Ring Pelmor Information on ") +
                             kHelpTelephone + " for help";

std::vector<uint8_t> Database(uint16_t date)
{
    DbFile file;
    file.date = date;
    file.entries.emplace_back().records = {ShareRecord(0x4001, "Alpha", 'O', "ALP")};
    return WriteQuorvaDat(file);
}

class Document : public ::testing::Test {
protected:
    Document() : previousFolder_(ProgramFolder())
    {
        SetProgramFolder(folder.path());
        std::filesystem::create_directories(folder / "data");
    }
    ~Document() override
    {
        GetDatabaseNeighbours() = {};
        FreeDatabase(true);
        SetProgramFolder(previousFolder_);
    }
    void Put(const char* name, uint16_t date) { WriteFileBytes(folder / "data" / name, Database(date)); }
    bool Has(const char* name) { return std::filesystem::exists(folder / "data" / name); }
    // The code the opening ends the program with, or -1 when it opened a database.
    int Open(std::optional<std::filesystem::path> dataFile = std::nullopt)
    {
        try {
            CDoc doc(dataFile);
            openedDate = DatabaseDate;
        } catch (const ProgramEnded& ended) {
            return ended.code;
        }
        return -1;
    }

    TempFolder folder;
    test::FakeMessageBox box;
    ThrowOnProgramEnd catchEnd;
    uint16_t openedDate = 0;

private:
    std::filesystem::path previousFolder_;
};

} // namespace

TEST_F(Document, OpensThePresentFileWithoutAsking)
{
    Put("Quorva.dat", 11);
    Put("Quorva.prv", 22);
    EXPECT_EQ(Open(), -1);
    EXPECT_EQ(openedDate, 11);
    EXPECT_TRUE(box.shown().empty());
}

TEST_F(Document, RestoresThePreviousCopyWhenTheUserAgrees)
{
    Put("Quorva.prv", 22);
    Put("Quorva.old", 33);
    box.queue(MsgAnswer::Ok);
    EXPECT_EQ(Open(), -1);
    EXPECT_EQ(openedDate, 22);
    EXPECT_EQ(box.texts(), std::vector<std::string>{kRestorePrevious});
    EXPECT_EQ(box.shown()[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(box.shown()[0].icon, MsgIcon::Exclamation);
    EXPECT_FALSE(Has("Quorva.prv"));
    EXPECT_TRUE(Has("Quorva.old"));
}

TEST_F(Document, FallsBackToTheOldCopyThenGivesUpWithCode1)
{
    Put("Quorva.prv", 22);
    Put("Quorva.old", 33);
    box.queue(MsgAnswer::Cancel);
    EXPECT_EQ(Open(), -1);
    EXPECT_EQ(openedDate, 33);
    EXPECT_EQ(box.texts(), (std::vector<std::string>{kRestorePrevious, kRestoreOld}));
    EXPECT_EQ(box.shown()[1].icon, MsgIcon::Stop);
    EXPECT_TRUE(Has("Quorva.prv"));

    FreeDatabase(true);
    std::filesystem::remove(folder / "data" / "Quorva.dat");
    std::filesystem::remove(folder / "data" / "Quorva.prv");
    test::FakeMessageBox fresh;
    EXPECT_EQ(Open(), 1);
    EXPECT_EQ(fresh.texts(), (std::vector<std::string>{kRestoreOld, kMissing}));
}

TEST_F(Document, AFileThatExistsButCannotBeOpenedIsNeverReplaced)
{
    Put("Quorva.dat", 11);
    Put("Quorva.prv", 22);
    Put("Quorva.old", 33);
    ExclusiveFile holder;
    ASSERT_TRUE(holder.open(folder / "data" / "Quorva.dat", ExclusiveFile::Mode::Read));
    box.queue(MsgAnswer::Ok);
    EXPECT_EQ(Open(), 1);
    EXPECT_EQ(box.texts(), (std::vector<std::string>{kRestorePrevious, kRestoreOld, kMissing}));
    holder.close();
    EXPECT_EQ(*ReadFileBytes(folder / "data" / "Quorva.dat"), Database(11));
    EXPECT_TRUE(Has("Quorva.prv"));
    EXPECT_TRUE(Has("Quorva.old"));
}

TEST_F(Document, ACommandLineDataFileIsUsedWithoutRestoring)
{
    Put("Quorva.prv", 22);
    WriteFileBytes(folder / "other.dat", Database(44));
    EXPECT_EQ(Open(std::filesystem::path("OTHER.DAT")), -1);
    EXPECT_EQ(openedDate, 44);
    FreeDatabase(true);
    EXPECT_EQ(Open(folder / "missing.dat"), 1);
    EXPECT_EQ(box.texts(), std::vector<std::string>{kMissing});
}

TEST_F(Document, ReloadRunsItsStepsInOrderAroundANewLoad)
{
    Put("Quorva.dat", 11);
    std::vector<std::string> steps;
    DatabaseNeighbours& n = GetDatabaseNeighbours();
    n.loadImports = [&] {
        steps.push_back(ReloadInProgress ? "imports" : "imports outside reload");
        auto* record = static_cast<uint8_t*>(ProCalloc(1, 100, "imported"));
        StoreU16(record + 2, 0xF001);
        ImportedItemList = NewListNode(record, 0);
        ImportedItemCount = 1;
    };
    n.freeUnusedViewGroups = [&] { steps.push_back("groups"); };
    n.loadPortfolios = [&] { steps.push_back("portfolios"); };
    n.loadCashAccounts = [&] { steps.push_back("cash"); };
    n.applyNewsUpdateFiles = [&] { steps.push_back("news"); };
    n.refreshAllViewGroups = [&] { steps.push_back(ReloadInProgress ? "refresh during reload" : "refresh"); };
    n.recalculateAfterLoad = [&] { steps.push_back("recalculate"); };
    n.freeFixedSourceLists = [&] { steps.push_back("free sources"); };

    CDoc doc;
    EXPECT_FALSE(doc.onCommand(ID_REFRESH));
    Put("Quorva.dat", 12);
    EXPECT_TRUE(doc.onCommand(ID_RELOAD_ALL_DATA));
    EXPECT_EQ(steps, (std::vector<std::string>{"free sources", "imports", "groups", "portfolios", "cash", "news",
                                               "refresh", "recalculate"}));
    EXPECT_EQ(DatabaseDate, 12);
    EXPECT_EQ(doc.elementCount(), 1);
    EXPECT_EQ(TotalItemCount, 2); // the imported item counts
    EXPECT_FALSE(ReloadInProgress);

    std::filesystem::remove(folder / "data" / "Quorva.dat");
    Put("Quorva.prv", 22);
    EXPECT_THROW(doc.ReloadAllData(), ProgramEnded);
    EXPECT_EQ(box.texts(), std::vector<std::string>{kMissing}); // no restore on reload
    ReloadInProgress = false;
}
