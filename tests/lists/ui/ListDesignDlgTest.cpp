// The list design dialog: shared backgrounds, defaults with the column-formatting question, Preview
// then Cancel, the colour check that keeps the dialog open, library loads, and a render of each tab.
#include "lists/ui/ListDesignDlg.h"

#include "core/ColumnDef.h"
#include "core/ConfigState.h"
#include "shell/ui/StyleButton.h"
#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"

#include <QTabWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include <unistd.h>

using namespace qv;
using namespace qv::test;

namespace {

TableDesign Design()
{
    TableDesign d;
    ApplyDefaultDesign(d.style, false);
    SetStyleWord(d.style, StyleOffset::PointSize, 9);
    std::memcpy(d.style.data() + StyleOffset::Face, "Arial", 5);
    AppendColumnDef(d.layout, ColumnOf(kColumnField, 2).withWidth(120));
    AppendColumnDef(d.layout, ColumnOf(kColumnField, 7));
    d.layout.push_back(0);
    d.sort = 1;
    return d;
}

struct Applied {
    std::vector<TableDesign> designs;
    std::function<void(const TableDesign&)> hook()
    {
        return [this](const TableDesign& d) { designs.push_back(d); };
    }
};

} // namespace

TEST(ListDesignDlg, SharedBackgroundMovesAllItsSamples)
{
    Applied applied;
    CListDesignDlg dialog;
    dialog.SetData(Design(), 1, QStringLiteral("Prices"), 2, "/nonexistent", applied.hook());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("List design - Prices (Table 3)"));
    EXPECT_EQ(dialog.tabs()->count(), 5);
    // The background of "Negative numbers" changed: word 0 and every sample on it follow.
    dialog.setSampleColours(StyleOffset::Negative, 0x000080, 0x00CCFFCC);
    dialog.sampleChanged(StyleOffset::Negative);
    EXPECT_EQ(StyleWord(dialog.working().style, StyleOffset::Background), 0x00CCFFCCu);
    for (size_t s : {StyleOffset::Text, StyleOffset::Imported, StyleOffset::IntradayOnly})
        EXPECT_EQ(dialog.sample(s)->GetColour(1), 0x00CCFFCCu) << s;
    EXPECT_EQ(dialog.sample(StyleOffset::Background)->GetColour(0), 0x00CCFFCCu);
    EXPECT_NE(dialog.sample(StyleOffset::SelectedText)->GetColour(1), 0x00CCFFCCu);
    EXPECT_TRUE(applied.designs.empty());
}

// The caption names the kind's tables, the trade list's by its market; the tabs follow the kind.
TEST(ListDesignDlg, CaptionAndTabsPerKind)
{
    struct Case {
        int kind;
        int tradeMode;
        const char* caption;
        int tabs;
    } cases[] = {
        {2, 0, "List design - Prices (Table 3)", 5},      {6, 0, "List design - Prices (Table 3)", 5},
        {4, 0, "List design - Prices (Tran table 3)", 2}, {5, 0, "List design - Prices (Deal table 3)", 2},
        {7, 0, "List design - Prices (Cash table 3)", 2}, {8, 0, "List design - Prices (News table 3)", 2},
        {10, 0, "List design - Prices (Trade table 3)", 3}, {10, 1, "List design - Prices (Quote table 3)", 3},
        {10, 2, "List design - Prices (T & Q table 3)", 3},
    };
    for (const Case& c : cases) {
        CListDesignDlg dialog;
        dialog.SetData(Design(), c.kind, QStringLiteral("Prices"), 2, "/nonexistent", nullptr, c.tradeMode);
        EXPECT_EQ(dialog.windowTitle(), QString::fromLatin1(c.caption)) << c.kind;
        EXPECT_EQ(dialog.tabs()->count(), c.tabs) << c.kind;
    }
    // A table still under the name it is numbered by is named once.
    CListDesignDlg plain, transactions;
    plain.SetData(Design(), 1, QStringLiteral("Table 1"), 0, "/nonexistent", nullptr);
    EXPECT_EQ(plain.windowTitle(), QStringLiteral("List design - Table 1"));
    transactions.SetData(Design(), 4, QStringLiteral("Table 1"), 0, "/nonexistent", nullptr);
    EXPECT_EQ(transactions.windowTitle(), QStringLiteral("List design - Table 1 (Tran table 1)"));
}

TEST(ListDesignDlg, PreviewThenCancelPutsTheOpeningDesignBack)
{
    Applied applied;
    const TableDesign opening = Design();
    CListDesignDlg dialog;
    dialog.SetData(opening, 1, QStringLiteral("Prices"), 0, "/nonexistent", applied.hook());
    ASSERT_TRUE(dialog.applyDefaults(true));
    EXPECT_TRUE(dialog.preview());
    ASSERT_EQ(applied.designs.size(), 1u);
    EXPECT_EQ(StyleWord(applied.designs[0].style, StyleOffset::Background), 0u);
    dialog.reject();
    ASSERT_EQ(applied.designs.size(), 2u);
    EXPECT_EQ(applied.designs[1], opening);
}

TEST(ListDesignDlg, ImportColourClashKeepsTheDialogOpen)
{
    FakeMessageBox boxes;
    Applied applied;
    CListDesignDlg dialog;
    TableDesign clash = Design();
    SetStyleWord(clash.style, StyleOffset::Imported, StyleWord(clash.style, StyleOffset::Text));
    dialog.SetData(clash, 2, QStringLiteral("Holdings"), 0, "/nonexistent", applied.hook());
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(applied.designs.empty());
    EXPECT_EQ(boxes.texts().back(), kImportTextClash);
}

TEST(ListDesignDlg, DefaultsAskAboutColumnFormatting)
{
    FakeMessageBox boxes;
    TableDesign formatted = Design();
    GetColumnDef(formatted.layout.data(), 0)[ColumnDefLayout::Appearance] = 2;
    CListDesignDlg dialog;
    dialog.SetData(formatted, 1, QStringLiteral("Prices"), 0, "/nonexistent", {});
    boxes.queue(MsgAnswer::Cancel);
    EXPECT_FALSE(dialog.applyDefaults(true));
    EXPECT_EQ(dialog.working(), formatted);
    boxes.queue(MsgAnswer::No);
    EXPECT_TRUE(dialog.applyDefaults(true));
    EXPECT_TRUE(LayoutHasCustomFormatting(dialog.working().layout));
    boxes.queue(MsgAnswer::Yes);
    EXPECT_TRUE(dialog.applyDefaults(false));
    EXPECT_FALSE(LayoutHasCustomFormatting(dialog.working().layout));
    EXPECT_EQ(boxes.shown().size(), 3u);
    // No formatting left: no question.
    EXPECT_TRUE(dialog.applyDefaults(true));
    EXPECT_EQ(boxes.shown().size(), 3u);
}

TEST(ListDesignDlg, LibrarySaveAndLoadAndDamagedFilesChangeNothing)
{
    FakeMessageBox boxes;
    const auto folder = std::filesystem::temp_directory_path() / ("qv-design-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    CListDesignDlg dialog;
    dialog.SetData(Design(), 1, QStringLiteral("Prices"), 0, folder, {});
    dialog.applyDefaults(true);
    const TableDesign dark = dialog.working();
    ASSERT_TRUE(dialog.saveToLibrary(folder / "dark.tab", QString::fromUtf8("Dark \u00A3"), QStringLiteral("Night")));
    {
        // The title is stored as the library menu reads it, in Windows-1252.
        std::ifstream in(folder / "dark.tab", std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto title = ReadTableFileTitle(text);
        ASSERT_TRUE(title);
        EXPECT_EQ(title->title, "Dark \xA3");
        EXPECT_EQ(title->description, "Night");
    }
    dialog.applyDefaults(false);
    std::ofstream(folder / "bad.tab", std::ios::binary) << "!x\r\n!y\r\n!z\r\nREV2\r\n";
    const TableDesign light = dialog.working();
    EXPECT_FALSE(dialog.loadFromLibrary(folder / "bad.tab"));
    EXPECT_EQ(boxes.texts().back(), kTableFileBadFormat);
    EXPECT_EQ(dialog.working(), light);
    EXPECT_TRUE(dialog.loadFromLibrary(folder / "dark.tab"));
    EXPECT_EQ(dialog.working(), dark);
    std::filesystem::remove_all(folder);
}

TEST(ListDesignDlg, RendersEachTab)
{
    CListDesignDlg dialog;
    dialog.SetData(Design(), 1, QStringLiteral("Prices"), 0, "/nonexistent", {});
    for (int tab = 0; tab < dialog.tabs()->count(); ++tab) {
        dialog.tabs()->setCurrentIndex(tab);
        dialog.adjustSize();
        SaveRender(RenderWidget(dialog), QStringLiteral("list-design-tab%1").arg(tab));
    }
    Config().optionsB.bytes[OptionBlockB::kDesignTab] = 0;
    CSaveTableDlg save;
    save.setValues(QStringLiteral("Dark prices"), QStringLiteral("For the evening"));
    save.adjustSize();
    SaveRender(RenderWidget(save), QStringLiteral("save-table"));
}
