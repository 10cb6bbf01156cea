// The import commands: one chosen file, a folder imported quietly with one report at the end, the
// naming dialog, deleting an item with its portfolio entries and transactions, and the dialogs'
// renders.
#include "tools/ui/PriceImportCommands.h"

#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "devtools/lib/TempFolder.h"
#include "platform/Registry.h"
#include "portfolio/Transaction.h"
#include "support/DatabaseFixture.h"
#include "support/PrivateRegistry.h"
#include "support/ui/Render.h"
#include "tools/ImportedItemDeletion.h"
#include "tools/options/OptionSettings.h"
#include "tools/ui/ImportFolderDlg.h"
#include "tools/ui/NameShareDlg.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <fstream>

namespace qv {
namespace {

class PriceImportCommands : public test::DatabaseFixture {
protected:
    PriceImportCommands() { saved_ = PriceFileSettings(); }
    ~PriceImportCommands() override
    {
        PriceFileSettings() = saved_;
        SetImportFileChooser(nullptr);
        SetImportFolderChooser(nullptr);
        SetImportNameDialog(nullptr);
        MainFrameState().activeView = nullptr;
        FreeRecordList(&ImportedItemList, &ImportedItemCount);
    }

    std::filesystem::path Write(const std::string& name, const std::string& text)
    {
        std::ofstream(folder / name, std::ios::binary) << text;
        return folder / name;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (RecordListNode* node = ImportedItemList; node; node = node->next)
            names.emplace_back(GetRecordName(node->record));
        return names;
    }

    test::PrivateRegistry registry;
    dev::TempFolder folder{"import"};
    PriceFileOptions saved_;
};

TEST_F(PriceImportCommands, ImportsTheChosenFileWithACommaForCsvAndRemembersItsFolder)
{
    PriceFileSettings().importSeparator = '\t';
    const std::filesystem::path file = Write("Oil.csv", "Date,Close\n2024-03-04,78.5\n2024-03-05,79.25\n");
    std::string offered;
    SetImportFileChooser([&](const std::string& start) {
        offered = start;
        return file.string();
    });
    EXPECT_TRUE(ImportOneFile());
    EXPECT_EQ(Names(), std::vector<std::string>{"Oil"});
    EXPECT_EQ(Registry::Instance().getString("Settings", "ImportFolder").value_or(""), folder.path().string());
    EXPECT_TRUE(box.shown().empty());
    SetImportFileChooser([](const std::string&) { return std::string(); });
    EXPECT_FALSE(ImportOneFile());
    EXPECT_EQ(Names().size(), 1u);
}

TEST_F(PriceImportCommands, AFolderImportsQuietlyAndReportsOnceAtTheEnd)
{
    PriceFileSettings().importErrorLevel = 1;
    Write("a.exp", "Alpha\n04/03/2024,10\n05/03/2024,11\n");
    Write("b.exp", "Beta\n04/03/2024,10\n99/99/2024,11\n06/03/2024,12\n");
    Write("c.EXP", "// no days\n");
    Write("d.txt", "Delta\n04/03/2024,10\n");
    std::string chosenFolder, chosenExtension;
    SetImportFolderChooser([&](std::string& f, std::string& e) {
        chosenFolder = f;
        chosenExtension = e;
        f = folder.path().string();
        e = "exp";
        return true;
    });
    EXPECT_TRUE(ImportFolder());
    EXPECT_EQ(chosenExtension, "exp") << "the default extension";
    EXPECT_EQ(Names(), (std::vector<std::string>{"Alpha", "Beta"}));
    ASSERT_EQ(box.shown().size(), 1u);
    const std::string report = box.texts().front();
    EXPECT_NE(report.find("b.exp: Line 3: Import date not recognised\n\n99/99/2024,11"), std::string::npos) << report;
    EXPECT_NE(report.find("Unable to import " + (folder / "c.EXP").string()), std::string::npos) << report;
    EXPECT_EQ(Registry::Instance().getString("Settings", "ImportExt").value_or(""), "exp");

    PriceFileSettings().importErrorLevel = 0;
    FreeRecordList(&ImportedItemList, &ImportedItemCount);
    EXPECT_EQ(ImportFolderFiles(folder.path(), "exp"), 2);
    EXPECT_EQ(box.shown().size(), 1u) << "level 0 asks nothing";
}

TEST_F(PriceImportCommands, AFileWithoutANameAsksForOne)
{
    PriceFileSettings().importFileNameForShare = false;
    const std::filesystem::path file = Write("x.exp", "04/03/2024,10\n");
    std::string askedFor;
    SetImportNameDialog([&](const std::string& fileName) -> std::optional<std::string> {
        askedFor = fileName;
        return askedFor == "x.exp" ? std::optional<std::string>("Typed name") : std::nullopt;
    });
    SetImportFileChooser([&](const std::string&) { return file.string(); });
    EXPECT_TRUE(ImportOneFile());
    EXPECT_EQ(Names(), std::vector<std::string>{"Typed name"});
    SetImportNameDialog([](const std::string&) { return std::nullopt; });
    EXPECT_FALSE(ImportOneFile()) << "Cancel in the naming dialog makes nothing";
    EXPECT_EQ(Names().size(), 1u);
}

TEST_F(PriceImportCommands, DeletingAnItemTakesItsEntriesAndTransactions)
{
    const std::filesystem::path file = Write("Oil.csv", "Date,Close\n2024-03-04,78.5\n");
    SetImportFileChooser([&](const std::string&) { return file.string(); });
    ASSERT_TRUE(ImportOneFile());
    ASSERT_TRUE(ImportOneFile());
    uint8_t* first = ImportedItemList->record;
    uint8_t* second = ImportedItemList->next->record;
    auto* portfolio = new Portfolio;
    portfolio->name = "Mine";
    ResetPortfolioEntries(*portfolio);
    AddPortfolioEntry(*portfolio, RecordCursor{first, 0});
    AddPortfolioEntry(*portfolio, RecordCursor{second, 0});
    AppendToChain(portfolio);
    for (uint8_t type : {1, 15}) {
        TransactionFields fields;
        fields.shareId = RecordId(first);
        fields.type = type;
        auto* t = new Transaction;
        t->bytes = *EncodeTransaction(fields);
        InsertSortedByName(portfolio->transactions, t);
    }
    ShareList* list = CreateShareList(4, 4, kFamilyShares, nullptr, true);
    list->entries[0] = RecordCursor{first, 0};
    list->entries[1] = RecordCursor{second, 0};
    list->last = 1;
    CViewBase view(kViewList);
    view.list = list;
    MainFrameState().activeView = &view;

    EXPECT_EQ(DeleteImportedItemQuestion("Oil", CountImportedItemUse(RecordId(first))),
              "Are you sure you want to delete Oil?\n\nThis will delete 1 portfolio entries and 1 transactions");
    box.queue(MsgAnswer::Cancel);
    EXPECT_FALSE(DeleteCurrentImportedItem());
    EXPECT_EQ(Names().size(), 2u);
    box.queue(MsgAnswer::Ok);
    EXPECT_TRUE(DeleteCurrentImportedItem());
    EXPECT_EQ(Names().size(), 1u);
    EXPECT_EQ(portfolio->entries[0].record, second);
    EXPECT_EQ(portfolio->entries[1].record, nullptr);
    EXPECT_EQ(portfolio->transactions.get(), nullptr);
    EXPECT_EQ(list->entries[0].record, second);
    EXPECT_EQ(list->entries[1].record, nullptr);
    EXPECT_EQ(list->last, 0);

    box.queue(MsgAnswer::Ok);
    EXPECT_TRUE(DeleteEveryImportedItem());
    EXPECT_EQ(ImportedItemList, nullptr);
    EXPECT_EQ(portfolio->entries[0].record, nullptr);
    EXPECT_EQ(box.texts().back(),
              "Are you sure you want to delete ALL imported data?\n\nThis will delete ALL associated transactions");
    MainFrameState().activeView = nullptr;
    UnlinkFromChain(portfolio);
    ProFree(portfolio->entries);
    delete portfolio;
    view.list = nullptr; // the view outlives the lists freed here
    dev::FreeShareListChain();
}

TEST(ImportDialogs, FolderDialogBrowsesAndBothRender)
{
    CImportFolderDlg folderDialog(QStringLiteral("/home/user/Quorvantis/Import"), QStringLiteral("exp"));
    CImportFolderDlg::SetFileChooser([](const QString&) { return QStringLiteral("/data/prices/Brent Crude.csv"); });
    folderDialog.Browse();
    CImportFolderDlg::SetFileChooser(nullptr);
    EXPECT_EQ(folderDialog.folder(), QStringLiteral("/data/prices"));
    EXPECT_EQ(folderDialog.extension(), QStringLiteral("csv"));
    test::SaveRender(test::RenderWidget(folderDialog), QStringLiteral("ImportFolderDlg"));

    CNameShareDlg nameDialog(QStringLiteral("C:\\Import\\prices.exp"));
    nameDialog.nameField()->setText(QString(60, QLatin1Char('x')));
    EXPECT_EQ(nameDialog.name().size(), CNameShareDlg::kNameLimit);
    nameDialog.nameField()->setText(QStringLiteral("North Sea Oil"));
    test::SaveRender(test::RenderWidget(nameDialog), QStringLiteral("NameShareDlg"));
}

} // namespace
} // namespace qv
