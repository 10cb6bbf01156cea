// The share-prices export command: the active view's current share written as the chosen file type,
// the extension added when the name has none, the choice remembered, and a failed write reported.
#include "tools/ui/PriceExportCommand.h"

#include "shell/ui/DateEdit.h"
#include "support/ui/Render.h"
#include "tools/ui/ExportPricesDlg.h"

#include "core/ColumnDef.h"
#include "core/PriceExport.h"
#include "core/ShareList.h"
#include "core/VarInt.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Registry.h"
#include "support/DatabaseFixture.h"
#include "support/PriceFixtures.h"
#include "support/PrivateRegistry.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <fstream>

namespace qv {
namespace {

class PriceExportCommand : public test::DatabaseFixture {
protected:
    PriceExportCommand()
    {
        dev::DbRecord record = dev::ShareRecord(0x4001, "Abcdef Widgets", 0, "ABC");
        dev::DbSubRecord& sub = record.subRecords[0];
        sub.priceScale = 1;
        sub.firstDate = test::Date(2000, 5, 22);
        uint8_t buf[8];
        sub.body.assign(buf, EncodeVarInt(10025, buf));
        sub.body.push_back(kStreamEnd);
        Load(dev::WriteQuorvaDat(test::OneEntry({record})));
        entry_ = FindRecordById(0x4001, 0);
        list_.entries = &entry_;
        list_.capacity = 1;
        view_.list = &list_;
        MainFrameState().activeView = &view_;
    }
    ~PriceExportCommand() override
    {
        MainFrameState().activeView = nullptr;
        SetPriceExportChooser(nullptr);
        SetExportPricesDialog(nullptr);
    }

    // Answers the save dialog with `name` in the temporary folder and `format`, noting what was offered.
    void Choose(const std::string& name, int format)
    {
        SetPriceExportChooser([this, name, format](const std::string& offeredPath, int& chosen) {
            offered = offeredPath;
            offeredFormat = chosen;
            chosen = format;
            return name.empty() ? std::string() : (folder / name).string();
        });
    }

    std::string Text(const std::string& name)
    {
        std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(folder / name);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    }

    test::PrivateRegistry registry;
    dev::TempFolder folder{"export"};
    RecordCursor entry_{};
    ShareList list_{};
    CViewBase view_{kViewList};
    std::string offered;
    int offeredFormat = 0;
};

TEST_F(PriceExportCommand, WritesTheChosenTypeAddsItsExtensionAndRemembersTheChoice)
{
    Choose("prices", kExportDailyCsv);
    EXPECT_TRUE(ExportCurrentSharePrices());
    EXPECT_EQ(Text("prices.csv"), "Date,Open,High,Low,Close,Volume\r\n2000-05-22,100.25,100.25,100.25,100.25,0\r\n");
    EXPECT_EQ(offeredFormat, kExportCsv) << "the first export offers the first type";
    EXPECT_EQ(std::filesystem::path(offered).filename(), "ABC.csv") << "named after the ticker";

    Choose("again.prn", kExportPrn);
    EXPECT_TRUE(ExportCurrentSharePrices());
    EXPECT_EQ(offeredFormat, kExportDailyCsv);
    EXPECT_EQ(std::filesystem::path(offered).parent_path(), folder.path()) << "the last folder is offered";
    EXPECT_EQ(Text("again.prn"), "<ticker>,<date>,<close>\r\nABC,000522,100.25\r\n");
    EXPECT_EQ(Registry::Instance().getString("Settings", "ExportFile"), "again");
}

TEST_F(PriceExportCommand, CancelWritesNothingAndAFailedWriteIsReported)
{
    Choose("", kExportCsv);
    EXPECT_FALSE(ExportCurrentSharePrices());
    EXPECT_TRUE(std::filesystem::is_empty(folder.path())) << "nothing written on Cancel";
    EXPECT_TRUE(box.shown().empty());

    // A folder where the file would go: it cannot be put in place.
    std::filesystem::create_directory(folder / "blocked.csv");
    Choose("blocked.csv", kExportCsv);
    EXPECT_FALSE(ExportCurrentSharePrices());
    ASSERT_EQ(box.shown().size(), 1u);
    EXPECT_EQ(box.shown()[0].text, "Export failed\nPossibly not enough disk space");

    MainFrameState().activeView = nullptr;
    Choose("none.csv", kExportCsv);
    EXPECT_FALSE(ExportCurrentSharePrices()) << "no view, no share";
    EXPECT_FALSE(std::filesystem::exists(folder / "none.csv"));
}

TEST_F(PriceExportCommand, TheTableExportWritesAFileForEachShareOrOneForAll)
{
    ExportPricesChoice offered;
    SetExportPricesDialog([&](ExportPricesChoice& choice) {
        offered = choice;
        choice.folder = folder.path().string();
        choice.format = kExportExp;
        return true;
    });
    EXPECT_EQ(ExportTablePrices(), 1);
    EXPECT_EQ(offered.file, "out") << "the stored file name by default";
    EXPECT_EQ(Text("ABC.exp"), "Abcdef Widgets\r\n22/05/2000,100.25\r\n");

    SetExportPricesDialog([&](ExportPricesChoice& choice) {
        offered = choice;
        choice.singleFile = true;
        choice.file = "all";
        choice.format = kExportCsv;
        return true;
    });
    EXPECT_EQ(ExportTablePrices(), 1);
    EXPECT_EQ(offered.folder, folder.path().string()) << "the folder was kept";
    EXPECT_EQ(Text("all.csv"), "ABC,22/05/2000,100.25\r\n");
    // The one file is written over only when the user says so.
    const size_t asked = box.shown().size();
    std::ofstream(folder / "all.csv", std::ios::binary) << "kept";
    box.queue(MsgAnswer::No);
    EXPECT_EQ(ExportTablePrices(), 0);
    ASSERT_EQ(box.shown().size(), asked + 1);
    EXPECT_EQ(box.shown().back().text, (folder / "all.csv").string() + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(Text("all.csv"), "kept");
    box.queue(MsgAnswer::Yes);
    EXPECT_EQ(ExportTablePrices(), 1);
    EXPECT_EQ(Text("all.csv"), "ABC,22/05/2000,100.25\r\n");

    SetExportPricesDialog([](ExportPricesChoice& choice) {
        choice.allData = false;
        choice.fromDate = test::Date(2000, 5, 22);
        return true;
    });
    EXPECT_EQ(ExportTablePrices(), 0) << "no day after the from-date";
    SetExportPricesDialog([](ExportPricesChoice&) { return false; });
    EXPECT_EQ(ExportTablePrices(), 0);
}

TEST_F(PriceExportCommand, ThePricesDialogShowsTheFolderOrTheFile)
{
    ExportPricesChoice choice;
    choice.folder = "/home/user/Export";
    choice.file = "prices";
    choice.format = kExportPrn;
    CExportPricesDlg dialog(choice);
    EXPECT_EQ(dialog.pathText()->text(), QStringLiteral("/home/user/Export"));
    dialog.singleFileBox()->setChecked(true);
    EXPECT_EQ(dialog.pathText()->text(), QStringLiteral("/home/user/Export/prices.prn"));
    EXPECT_EQ(dialog.pathGroup()->title(), QStringLiteral(" Export file "));
    dialog.formatList()->setCurrentIndex(kExportExp - 1);
    EXPECT_EQ(dialog.pathText()->text(), QStringLiteral("/home/user/Export/prices.exp"));
    EXPECT_FALSE(dialog.fromField()->edit()->isEnabled());
    dialog.afterButton()->setChecked(true);
    EXPECT_TRUE(dialog.fromField()->edit()->isEnabled());
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("ExportPricesDlg"));
}

TEST_F(PriceExportCommand, TablesAndDetailsAreWrittenAsTheViewsShowThem)
{
    std::vector<uint8_t> layout;
    AppendColumnDef(layout, ColumnOf(kColumnField, 0));
    AppendColumnDef(layout, ColumnOf(kColumnField, 0x0F));
    layout.push_back(0);
    list_.columnLayout = layout.data();
    Choose("table", kExportCsv);
    EXPECT_TRUE(ExportCurrentTable());
    const std::string table = Text("table.csv");
    const size_t lineEnd = table.find("\r\n");
    ASSERT_NE(lineEnd, std::string::npos);
    EXPECT_EQ(std::count(table.begin(), table.begin() + ptrdiff_t(lineEnd), ','), 2) << table;
    const std::string row = table.substr(lineEnd + 2);
    EXPECT_EQ(row.substr(0, 2), "1,") << "field code 0 is the row number";
    EXPECT_EQ(std::count(row.begin(), row.end(), ','), 2) << "each cell ends with the delimiter";
    EXPECT_EQ(row.substr(row.size() - 2), "\r\n");
    list_.columnLayout = nullptr;

    Choose("details", kExportExp);
    EXPECT_TRUE(ExportCurrentShareDetails());
    const std::string details = Text("details.exp");
    EXPECT_NE(details.find("\r\n"), std::string::npos);
    EXPECT_EQ(details.size() - details.rfind("\r\n"), 2u) << "every line ends with CR LF";
}

} // namespace
} // namespace qv
