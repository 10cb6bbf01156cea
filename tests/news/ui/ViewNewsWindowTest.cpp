// The news view on the demo news: its rows under each filter, the marks, the header strip and status
// texts, the story display with its moves, marks and saved files, and renders.
#include "news/ui/ViewNewsWindow.h"

#include "core/DateText.h"
#include "core/NewsUpdateFiles.h"
#include "core/ShareList.h"
#include "devtools/lib/DemoDatabase.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/DemoNews.h"
#include "devtools/lib/NewsUpdateWriter.h"
#include "devtools/lib/ShareListChain.h"
#include "devtools/lib/TempFolder.h"
#include "lists/CellValue.h"
#include "lists/ListSettings.h"
#include "news/NewsCells.h"
#include "news/NewsDatabase.h"
#include "news/NewsRealTime.h"
#include "news/NewsSearch.h"
#include "news/ui/NewsLimitDateDlg.h"
#include "news/ui/NewsPurgeDlg.h"
#include "news/ui/NewsSearchDlg.h"
#include "news/ui/NewsSearchTextDlg.h"
#include "news/ui/NewsStoryDlg.h"
#include "news/ui/NewsStoryWindow.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/ModalDialog.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/MessageDispatch.h"
#include "platform/Paths.h"
#include "platform/qt/QtText.h"
#include "support/DatabaseFixture.h"
#include "support/ui/Render.h"
#include "views/FrameState.h"
#include "views/ViewGroupFields.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QFileDialog>
#include <QClipboard>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QSpinBox>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <memory>
#include <sstream>

using namespace qv;
using namespace qv::test;

namespace {

const dev::DemoDatabase& Demo()
{
    static const dev::DemoDatabase demo =
        dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8});
    return demo;
}

NewsListDescription Describing(uint32_t flags, std::string shareName = "")
{
    NewsListDescription d;
    d.flags = flags;
    d.shareName = std::move(shareName);
    return d;
}

class ViewNewsWindow : public DatabaseFixture {
protected:
    ViewNewsWindow()
    {
        previous_ = ProgramFolder();
        SetProgramFolder(dir_.path());
        std::filesystem::create_directories(dir_.path() / "data");
        installed_ = SetNewsMergeHost(&NewsDatabaseMergeHost());
        Load(dev::WriteQuorvaDat(dev::DemoDbFile(Demo())));
        EXPECT_TRUE(dev::WriteDemoNews(dir_.path(), Demo()));
        ApplyNewsUpdateFiles();
        InstallNewsCells();
    }
    ~ViewNewsWindow() override
    {
        MainFrameState().activeView = nullptr;
        view.reset();
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
        TheNewsDatabase().free();
        SetNewsMergeHost(installed_);
        SetProgramFolder(previous_);
    }
    CViewNewsWnd& Make()
    {
        InstallNewsViewClass();
        view.reset(dynamic_cast<CViewNewsWnd*>(CreateViewWindowForKind(kViewNews)));
        EXPECT_NE(view, nullptr);
        view->setAttribute(Qt::WA_DeleteOnClose, false);
        view->list = CreateListSource(view.get(), 1, kFamilyNews, nullptr);
        view->resize(900, 420);
        MainFrameState().activeView = view.get();
        view->OnRefresh();
        return *view;
    }
    bool Enabled(uint32_t command)
    {
        CommandUi ui{command, false, std::nullopt, std::nullopt};
        EXPECT_TRUE(view->UpdateCommand(ui));
        return ui.enabled;
    }
    uint8_t StateOfRow(int32_t row) const
    {
        const uint32_t story = LoadU32(view->list->entries[row].record + NewsEntryLayout::Position);
        return TheNewsDatabase().catalogue().stories[story].state;
    }
    dev::TempFolder dir_;
    std::filesystem::path previous_;
    NewsMergeHost* installed_ = nullptr;
    std::unique_ptr<CViewNewsWnd> view;
};

TEST_F(ViewNewsWindow, ShowsEveryDemoStoryInTheNewsTableWithItsCounts)
{
    CViewNewsWnd& v = Make();
    const size_t stories = TheNewsDatabase().catalogue().stories.size();
    ASSERT_GT(stories, 100u);
    EXPECT_EQ(ShareListCount(v.list), int32_t(stories));
    EXPECT_EQ(v.list->columnLayout, SettingLayout(kListKindNews, v.list->tableSetting));
    v.RenderImage(v.size());
    EXPECT_GE(v.grid().columnCount(), 4);
    const auto items = NewsHeaderItems({});
    EXPECT_EQ(items[0].label, "FULL");
    // The demo shows the forms the story window has rules for: coded runs of blanks and a credit.
    size_t coded = 0, credited = 0;
    for (size_t story = 0; story < stories; ++story) {
        const std::string text = TheNewsDatabase().storyText(story, kNewsTitle | kNewsBody);
        coded += text.find("\tc") != std::string::npos ? 1 : 0;
        credited += text.find("(AFX") != std::string::npos ? 1 : 0;
    }
    EXPECT_GT(coded, 0u);
    EXPECT_EQ(credited, stories);
    SaveRender(RenderWidget(v), QStringLiteral("news-view"));
}

// Marks write the story's state in the database and the row: one row, all rows, and the rows above
// or below the current one (both including it).
TEST_F(ViewNewsWindow, MarksWriteTheirRowsStories)
{
    CViewNewsWnd& v = Make();
    const int32_t rows = ShareListCount(v.list);
    v.list->current = 0;
    ASSERT_TRUE(v.RunCommand(26686)); // above as read, on the first row
    EXPECT_EQ(StateOfRow(0), kNewsStateRead);
    EXPECT_EQ(StateOfRow(1), kNewsStateUnread) << "the first row's 'above' is that row only";
    v.list->current = 5;
    ASSERT_TRUE(v.RunCommand(26689)); // below for keeping
    EXPECT_EQ(StateOfRow(4), kNewsStateUnread);
    EXPECT_EQ(StateOfRow(5), kNewsStateKept);
    EXPECT_EQ(StateOfRow(rows - 1), kNewsStateKept);
    ASSERT_TRUE(v.RunCommand(26643));
    EXPECT_EQ(StateOfRow(5), kNewsStateDelete);
    EXPECT_EQ(v.list->entries[5].record[NewsEntryLayout::Status], kNewsStateDelete) << "the row shows it";
    CommandUi ui{26643, false, std::nullopt, std::nullopt};
    ASSERT_TRUE(v.UpdateCommand(ui));
    EXPECT_TRUE(ui.checked.value_or(false)) << "the current story's state is checked";
    ASSERT_TRUE(v.RunCommand(26680)); // all unread
    for (int32_t r = 0; r < rows; ++r)
        ASSERT_EQ(StateOfRow(r), kNewsStateUnread) << r;
    EXPECT_TRUE(TheNewsDatabase().modified());
}

TEST_F(ViewNewsWindow, FiltersByShareListAndLatestStories)
{
    CViewNewsWnd& v = Make();
    const auto& stories = TheNewsDatabase().catalogue().stories;
    uint32_t share = 0;
    for (const NewsStory& s : stories)
        if (s.shareIds[0])
            share = s.shareIds[0];
    ASSERT_NE(share, 0u);
    v.ShowShareOnly(share);
    ASSERT_GT(ShareListCount(v.list), 0);
    for (uint32_t s : v.stories())
        EXPECT_EQ(stories[s].shareIds[0], share);
    EXPECT_EQ(NewsStatusTexts(Describing(v.flags(), "Alpha"))[1], "For Alpha");
    EXPECT_TRUE(v.RunCommand(26669));
    EXPECT_EQ(ShareListCount(v.list), int32_t(stories.size())) << "show all drops the filter";
    // Right after start-up every story came with this start's update files: latest only keeps the
    // unread ones.
    v.list->current = 0;
    v.RunCommand(26644);
    EXPECT_TRUE(v.RunCommand(26697));
    EXPECT_EQ(ShareListCount(v.list), int32_t(stories.size()) - 1);
    EXPECT_EQ(NewsHeaderItems(Describing(v.flags()))[0].label, "LATEST");
    EXPECT_TRUE(v.RunCommand(26982));
    EXPECT_EQ(ShareListCount(v.list), 0) << "no news alarm has triggered";
    EXPECT_EQ(NewsHeaderItems(Describing(v.flags()))[0].label, "ALARMS");
    EXPECT_FALSE(Enabled(26983)) << "no real-time news table";
    // With the table the alarm server sets, the alerted stories can be cleared after a Yes.
    SetRealTimeNewsTable({share});
    EXPECT_TRUE(Enabled(26983));
    const size_t asked = box.texts().size();
    box.queue(MsgAnswer::No);
    EXPECT_TRUE(v.RunCommand(26983));
    EXPECT_EQ(box.texts().size(), asked + 1);
    EXPECT_TRUE(HasRealTimeNewsTable()) << "No keeps the table";
    box.queue(MsgAnswer::Yes);
    EXPECT_TRUE(v.RunCommand(26983));
    EXPECT_EQ(box.texts().back(), "Are you sure you wish to clear the current news alarm stories?");
    EXPECT_TRUE(TheRealTimeNewsTable().matches().empty());
    EXPECT_EQ(ShareListCount(v.list), 0);
    ClearRealTimeNewsTable();
}

// A search shows the stories whose text has the words; Esc shows every story again; a typed letter
// opens the search with that letter.
TEST_F(ViewNewsWindow, ASearchShowsItsMatchesAndEscShowsEveryStoryAgain)
{
    CViewNewsWnd& v = Make();
    const int32_t all = ShareListCount(v.list);
    CNewsSearchDlg dialog(QStringLiteral("dividend"));
    dialog.RunSearch();
    ASSERT_FALSE(dialog.stories().empty());
    EXPECT_TRUE(dialog.status().startsWith(QStringLiteral("Search complete - %1 news items found").arg(dialog.stories().size())));
    v.ShowSearchResult("dividend", dialog.stories());
    ASSERT_EQ(ShareListCount(v.list), int32_t(dialog.stories().size()));
    for (uint32_t story : v.stories()) {
        std::string text = TheNewsDatabase().storyText(story, kNewsTitle | kNewsBody);
        for (char& c : text)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_NE(text.find("dividend"), std::string::npos) << story;
    }
    EXPECT_TRUE(Enabled(26771)) << "the search built the index";
    box.queue(MsgAnswer::Ok);
    v.RunCommand(26771);
    EXPECT_EQ(box.texts().back(), "Are you sure you would like to clear the news search index file?");
    EXPECT_FALSE(std::filesystem::exists(NewsDatabase::NewsFolder() / "INews.dat"));
    EXPECT_FALSE(Enabled(26771));
    CNewsSearchDlg again(QStringLiteral("dividend"));
    again.RunSearch();
    EXPECT_EQ(again.stories(), dialog.stories()) << "the next search indexes again and finds the same";
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&v, &esc);
    EXPECT_EQ(ShareListCount(v.list), all);
    EXPECT_TRUE(v.searchText().empty());

    QString seed;
    SetModalDialogRunner([&](QDialog& d) {
        if (auto* edit = d.findChild<QLineEdit*>())
            seed = edit->text();
        return int(QDialog::Rejected);
    });
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_O, Qt::NoModifier, QStringLiteral("o"));
    QApplication::sendEvent(&v, &typed);
    SetModalDialogRunner({});
    EXPECT_EQ(seed, QStringLiteral("o"));
}

// The letters typed straight after the one that opened the search all reach its field, sent with no
// delay between them, while the dialog does not have the keyboard yet.
TEST_F(ViewNewsWindow, TypingASearchKeepsEveryLetter)
{
    CViewNewsWnd& v = Make();
    QString field;
    SetModalDialogRunner([&](QDialog& d) {
        QTest::keyClicks(&v, QStringLiteral("ebrafish"), Qt::NoModifier, 0);
        QTest::keyClick(&v, Qt::Key_Left, Qt::NoModifier, 0);
        QApplication::processEvents();
        if (auto* edit = d.findChild<QLineEdit*>())
            field = edit->text();
        return int(QDialog::Rejected);
    });
    QTest::keyClick(&v, Qt::Key_Z, Qt::NoModifier, 0);
    SetModalDialogRunner({});
    EXPECT_EQ(field, QStringLiteral("zebrafish"));
    EXPECT_EQ(ShareListCount(v.list), int32_t(TheNewsDatabase().catalogue().stories.size()))
        << "the keys did not reach the list meanwhile";
}

// Esc shows every story again from each narrowed mode, as the menu's "Show all news stories  ESC" says.
TEST_F(ViewNewsWindow, EscLeavesOneShareCurrentListAndAlertedStories)
{
    CViewNewsWnd& v = Make();
    const int32_t all = ShareListCount(v.list);
    uint32_t share = 0;
    for (const NewsStory& s : TheNewsDatabase().catalogue().stories)
        share = s.shareIds[0] ? s.shareIds[0] : share;
    const auto esc = [&] { QTest::keyClick(&v, Qt::Key_Escape, Qt::NoModifier, 0); };
    const std::pair<const char*, std::function<void()>> modes[] = {
        {"one share", [&] { v.ShowShareOnly(share); }},
        {"current list", [&] { v.ShowListNews(); }},
        {"alerted stories", [&] { v.RunCommand(26982); }},
    };
    for (const auto& [name, narrow] : modes) {
        narrow();
        EXPECT_NE(v.flags() & (news_list::kOneShare | news_list::kCurrentList | news_list::kAlarms), 0u) << name;
        esc();
        EXPECT_EQ(v.flags(), 0u) << name;
        EXPECT_EQ(ShareListCount(v.list), all) << name;
    }
}

// A purge keeps the newest stories within its limit and the kept ones, drops those marked for
// deletion, rewrites the story files smaller and leaves a database that loads and reads the same.
TEST_F(ViewNewsWindow, APurgeRemovesTheStoriesOutsideItsLimitButKeepsTheKeptOnes)
{
    CViewNewsWnd& v = Make();
    NewsDatabase& news = TheNewsDatabase();
    const size_t total = news.catalogue().stories.size();
    ASSERT_GT(total, 150u);
    news.setStoryState(0, kNewsStateKept);
    news.setStoryState(total - 1, kNewsStateDelete);
    const std::string keptText = news.storyText(0, kNewsTitle | kNewsBody);
    const std::string newestText = news.storyText(total - 2, kNewsTitle | kNewsBody);
    const auto storyFile = std::filesystem::file_size(NewsDatabase::NewsFolder() / "DNews.dat");

    int dialogs = 0;
    SetModalDialogRunner([&](QDialog& d) {
        ++dialogs;
        auto* purge = dynamic_cast<CNewsPurgeDlg*>(&d);
        if (!purge)
            return int(QDialog::Rejected);
        purge->SetMethod(NewsPurgeMethod::Stories);
        purge->SetStories(QStringLiteral("1000000"));
        EXPECT_EQ(purge->limit(), 5000u) << "a limit past the highest goes back to the last one";
        purge->SetStories(QStringLiteral("100"));
        SaveRender(RenderWidget(*purge), QStringLiteral("news-purge-dialog"));
        EXPECT_TRUE(purge->estimateText().contains(QStringLiteral("After purge: 100 stories"))) << purge->estimateText().toStdString();
        EXPECT_FALSE(purge->estimateText().contains(QStringLiteral("Mbytes (100.0%)"))) << "the demo's files are below the base";
        return int(QDialog::Accepted);
    });
    v.RunCommand(26646); // the warning's default is Cancel: nothing goes
    EXPECT_EQ(news.catalogue().stories.size(), total);
    ASSERT_FALSE(box.texts().empty());
    EXPECT_EQ(box.texts().back().rfind("WARNING - Purging will permanently remove news stories.", 0), 0u);
    box.queue(MsgAnswer::Ok);
    v.RunCommand(26646);
    SetModalDialogRunner({});
    EXPECT_EQ(dialogs, 2);
    ASSERT_EQ(news.catalogue().stories.size(), 100u);
    EXPECT_EQ(ShareListCount(v.list), 100);
    EXPECT_EQ(news.storyText(0, kNewsTitle | kNewsBody), keptText) << "the kept story stays, first";
    EXPECT_EQ(news.storyText(99, kNewsTitle | kNewsBody), newestText) << "the one marked for deletion went";
    EXPECT_LT(std::filesystem::file_size(NewsDatabase::NewsFolder() / "DNews.dat"), storyFile);
    news.load();
    ASSERT_EQ(news.catalogue().stories.size(), 100u);
    EXPECT_EQ(news.storyText(0, kNewsTitle | kNewsBody), keptText);
    EXPECT_EQ(news.title(99), newestText.substr(0, newestText.find('\n')).substr(0, 80));
}

// Stories that came after the load stay "latest" when a purge renumbers the stories before them.
TEST_F(ViewNewsWindow, LatestOnlyStillShowsThisStartsStoriesAfterAPurge)
{
    NewsDatabase& news = TheNewsDatabase();
    news.free();
    dev::NewsUpdateInput input;
    const PackedDate day = PackDate(9, 12, 2026);
    for (uint16_t i = 0; i < 4; ++i)
        input.stories.push_back({day, uint16_t(3600 + i), "GBRFIN Zebrafish news " + std::to_string(i) + "\nBody."});
    WriteFileBytes(NewsDatabase::DataFolder() / dev::NewsUpdateFileName(day), dev::WriteNewsUpdate(input));
    ApplyNewsUpdateFiles();
    const size_t total = news.catalogue().stories.size();
    ASSERT_EQ(news.latestBoundary(), total - 4);
    CViewNewsWnd& v = Make();
    const auto latestTitles = [&] {
        std::vector<std::string> titles;
        for (uint32_t story : v.stories())
            titles.push_back(news.title(story));
        return titles;
    };
    ASSERT_TRUE(v.RunCommand(26697));
    const std::vector<std::string> before = latestTitles();
    ASSERT_EQ(before.size(), 4u);
    SetModalDialogRunner([](QDialog& d) {
        auto* purge = dynamic_cast<CNewsPurgeDlg*>(&d);
        if (!purge)
            return int(QDialog::Rejected);
        purge->SetMethod(NewsPurgeMethod::Stories);
        purge->SetStories(QStringLiteral("100"));
        return int(QDialog::Accepted);
    });
    box.queue(MsgAnswer::Ok);
    v.RunCommand(26646);
    SetModalDialogRunner({});
    ASSERT_EQ(news.catalogue().stories.size(), 100u);
    EXPECT_EQ(news.latestBoundary(), 96u);
    EXPECT_EQ(latestTitles(), before) << "the view's rows after the purge";
    ASSERT_EQ(ShareListCount(v.list), 4);
}

// The estimate keeps a 0.391 Mbyte base, but never more than the catalogue: a database smaller than
// the base still shrinks with its stories.
TEST(NewsPurgeEstimateTest, KeepsTheBaseAndScalesTheRest)
{
    constexpr uint64_t kMbyte = 1024 * 1024;
    const std::vector<bool> half = {true, false, true, false}, none(4, false), all(4, true);
    const struct {
        const char* name;
        NewsFileSizes files;
        const std::vector<bool>& gone;
        int storiesAfter;
        double mbytesAfter;
    } cases[] = {
        {"large, half gone", {kMbyte, kMbyte}, half, 2, 0.391 + (2 - 0.391) / 2},
        {"large, nothing gone", {kMbyte, kMbyte}, none, 4, 2.0},
        {"large, all gone", {kMbyte, kMbyte}, all, 0, 0.391},
        {"small catalogue, half gone", {kMbyte / 4, kMbyte / 8}, half, 2, 0.25 + 0.125 / 2},
        {"small catalogue, all gone", {kMbyte / 4, kMbyte / 8}, all, 0, 0.25},
    };
    for (const auto& c : cases) {
        const NewsPurgeEstimate e = EstimateNewsPurge(c.gone, c.files);
        EXPECT_EQ(e.storiesBefore, 4) << c.name;
        EXPECT_EQ(e.storiesAfter, c.storiesAfter) << c.name;
        EXPECT_NEAR(e.mbytesBefore, double(c.files.catalogue + c.files.stories) / kMbyte, 1e-9) << c.name;
        EXPECT_NEAR(e.mbytesAfter, c.mbytesAfter, 1e-9) << c.name;
    }
}

// The frame takes a view off its list before deleting it, and another window may keep that list as
// its parent: the list must not keep rows in the entries that go with the view.
TEST_F(ViewNewsWindow, ItsListKeepsNoRowsOnceTheViewGoes)
{
    CViewNewsWnd& v = Make();
    ShareList* kept = v.list;
    ASSERT_GT(ShareListCount(kept), 0);
    MainFrameState().activeView = nullptr;
    v.list = nullptr;
    view.reset();
    EXPECT_EQ(ShareListCount(kept), 0);
    EXPECT_EQ(kept->entries[0].record, nullptr);
}

TEST(NewsListRows, SelectsByFlagsWithinTheListLimitAndDescribesTheList)
{
    std::vector<NewsStory> stories(6);
    for (size_t i = 0; i < stories.size(); ++i) {
        stories[i].state = kNewsStateUnread;
        stories[i].shareIds[1] = uint32_t(100 + i);
    }
    stories[2].state = kNewsStateKept;
    std::vector<uint32_t> list(300, 1);
    list[250] = 103; // the 251st share counts
    list[251] = 104; // the 252nd does not
    const struct {
        NewsRowFilter filter;
        std::vector<uint32_t> rows;
    } cases[] = {
        {{0, 0, {}, 0}, {0, 1, 2, 3, 4, 5}},
        {{news_list::kOneShare, 0, {}, 0}, {}},
        {{news_list::kOneShare, 101, {}, 0}, {1}},
        {{news_list::kCurrentList, 0, list, 0}, {3}},
        {{news_list::kLatestOnly, 0, {}, 2}, {3, 4, 5}},
        {{news_list::kLatestOnly, 0, {}, 0}, {0, 1, 3, 4, 5}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SelectNewsStories(stories, c.filter), c.rows) << c.filter.flags;

    NewsListDescription d;
    d.stories = 318;
    d.rows = 12;
    d.limitOn = true;
    d.limitWeeks = 4;
    d.flags = news_list::kCurrentList;
    d.portfolioName = "Demo";
    auto items = NewsHeaderItems(d);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].value, "News for portfolio Demo");
    EXPECT_EQ(items[1].value, "  318");
    EXPECT_EQ(items[3].value, "  4 wks");
    EXPECT_EQ(NewsStatusTexts(d)[1], "Port Demo");
    EXPECT_EQ(NewsStatusTexts(d)[2], "Latest news");
    d.searchText = "oil";
    EXPECT_EQ(NewsHeaderItems(d)[0].value, "News Search result on <oil>");
    d.currentPortfolio = "Mine";
    EXPECT_EQ(NewsStatusTexts(d), (std::array<std::string, 3>{"ZOD News", "Search <oil>", "Curr. Port: Mine"}));
}

TEST(NewsStoryText, ExportsTheBodyWithTabsBlanksAndEscapes)
{
    NewsStoryHeader h;
    h.subject = "Results";
    h.company = "A & B";
    h.date = PackDate(1, 2, 2024);
    h.seconds = 9 * 3600 + 30 * 60;
    const std::string text = "Title <1>\n\tea  b\nx\tY";
    const std::string plain = NewsStoryExportText(h, text, false);
    EXPECT_NE(plain.find("Subject: Results\r\nCompany: A & B\r\nDate: "), std::string::npos) << plain;
    EXPECT_NE(plain.find("Title <1>\r\n\r\n    a  b\r\nx\tY"), std::string::npos) << plain;
    const std::string html = NewsStoryExportText(h, text, true);
    EXPECT_NE(html.find("Company: A &amp; B<BR>"), std::string::npos) << html;
    EXPECT_NE(html.find("<BR><BR><B><P>Title &lt;1&gt;</P></B><BR>"), std::string::npos) << html;
    EXPECT_NE(html.find("&nbsp;&nbsp;&nbsp;&nbsp;a &nbsp;b<BR>"), std::string::npos) << "a tab with e is four blanks; two blanks give ' &nbsp;'";
    EXPECT_EQ(NewsReadableText("a\tcb\r\n"), "a  b\n");
    const std::string document = NewsStoryHtmlDocument(h, text);
    EXPECT_EQ(document.rfind("<HTML><HEAD><TITLE>Quorvantis</TITLE></HEAD><BODY><FONT FACE=\"courier\" SIZE=\"-1\">", 0), 0u);
    EXPECT_NE(document.find("Output from Quorvantis. For more information please visit our "), std::string::npos);
}

// The story display opens on the current row and marks an unread story read; Next and Previous move
// the view's row; keep and delete are exclusive; ".htm" saves HTML and ".txt" text.
TEST_F(ViewNewsWindow, TheStoryDisplayStepsMarksAndSaves)
{
    CViewNewsWnd& v = Make();
    v.list->current = 1;
    CNewsStoryDlg dialog(v);
    EXPECT_EQ(StateOfRow(1), kNewsStateRead) << "opening an unread story reads it";
    const uint32_t first = dialog.story();
    EXPECT_FALSE(dialog.storyText().isEmpty());
    dialog.Step(1);
    EXPECT_EQ(v.list->current, 2);
    EXPECT_NE(dialog.story(), first);
    dialog.Step(-1);
    EXPECT_EQ(dialog.story(), first);
    dialog.keepBox()->click();
    EXPECT_EQ(StateOfRow(1), kNewsStateKept);
    dialog.deleteBox()->click();
    EXPECT_EQ(StateOfRow(1), kNewsStateDelete);
    EXPECT_FALSE(dialog.keepBox()->isChecked());
    dialog.deleteBox()->click();
    EXPECT_EQ(StateOfRow(1), kNewsStateRead);
    dialog.keepBox()->click();
    CNewsStoryDlg again(v);
    EXPECT_EQ(StateOfRow(1), kNewsStateKept) << "opening a kept story leaves it kept";

    const auto html = dir_.path() / "story.htm";
    const auto text = dir_.path() / "story.txt";
    ASSERT_TRUE(dialog.SaveTo(html));
    ASSERT_TRUE(dialog.SaveTo(text));
    auto read = [](const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    EXPECT_EQ(read(html).rfind("<HTML>", 0), 0u);
    EXPECT_EQ(read(text).rfind("Subject: ", 0), 0u);
    EXPECT_FALSE(dialog.SaveTo(dir_.path() / "missing" / "story.txt"));
    EXPECT_EQ(box.texts().back(), "Unable to create file");
    dialog.headerLinesBox()->setChecked(false);
    EXPECT_TRUE(dialog.headerFields()->isHidden());
    SaveRender(RenderWidget(again), QStringLiteral("news-story-display"));

    // The story's popup menu (654): copy to the clipboard and select all.
    std::unique_ptr<QMenu> menu(dialog.CreateStoryMenu());
    std::map<uint32_t, QAction*> items;
    for (QAction* action : menu->actions())
        items[action->data().toUInt()] = action;
    ASSERT_EQ(items.size(), 2u);
    ASSERT_TRUE(items.count(26698) && items.count(26699));
    items[26699]->trigger();
    EXPECT_TRUE(dialog.storyWindow()->allSelected());
    items[26698]->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("Subject: ")));
}

// The story display, purge and modified-shares dialogs have Help; the purge's Options opens the news
// options page; its date field has room for both its lines; Save starts in a folder that exists and
// proposes a file name.
TEST_F(ViewNewsWindow, NewsDialogsHaveHelpAndTheirButtonsWork)
{
    CViewNewsWnd& v = Make();
    v.list->current = 1;
    const auto button = [](QDialog& d, const char* text) -> QPushButton* {
        for (QPushButton* b : d.findChildren<QPushButton*>())
            if (b->text() == QLatin1String(text))
                return b;
        return nullptr;
    };
    std::vector<uint32_t> topics;
    DialogHelpHost previous = SetDialogHelpHost([&](uint32_t topic, bool) { topics.push_back(topic); });
    const auto installedSheet = FrameDialogs().optionsSheet;
    FrameDialogs().optionsSheet = {};
    CNewsStoryDlg story(v);
    CNewsPurgeDlg purge;
    CNewsModifiedSharesDlg modified;
    for (QDialog* d : {static_cast<QDialog*>(&story), static_cast<QDialog*>(&purge), static_cast<QDialog*>(&modified)}) {
        QPushButton* help = button(*d, "Help");
        ASSERT_NE(help, nullptr) << d->windowTitle().toStdString();
        help->click();
    }
    SetDialogHelpHost(std::move(previous));
    EXPECT_EQ(topics, (std::vector<uint32_t>{0x20000 + 634, 0x20000 + 636, 0x20000 + 662}));

    EXPECT_FALSE(button(purge, "Options")->isEnabled()) << "no options sheet to open";
    std::vector<uint16_t> pages;
    FrameDialogs().optionsSheet = [&](uint16_t mask) {
        pages.push_back(mask);
        return true;
    };
    CNewsPurgeDlg withSheet;
    ASSERT_TRUE(button(withSheet, "Options")->isEnabled());
    button(withSheet, "Options")->click();
    FrameDialogs().optionsSheet = installedSheet;
    EXPECT_EQ(pages, std::vector<uint16_t>{0x0100});
    purge.adjustSize();
    auto* date = purge.findChild<CDateEdit*>();
    ASSERT_NE(date, nullptr);
    EXPECT_GE(date->height(), 2 * date->edit()->sizeHint().height()) << "the typed and the long date both whole";

    QString folder, proposed;
    SetModalDialogRunner([&](QDialog& d) {
        if (auto* files = dynamic_cast<QFileDialog*>(&d)) {
            folder = files->directory().absolutePath();
            proposed = files->selectedFiles().value(0);
        }
        return int(QDialog::Rejected);
    });
    button(story, "&Save")->click();
    SetModalDialogRunner({});
    EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    EXPECT_TRUE(proposed.endsWith(QLatin1String(".htm"))) << proposed.toStdString();
    EXPECT_TRUE(QFileInfo(QFileInfo(proposed).absolutePath()).isDir()) << proposed.toStdString();
}

// The story window under a search: its found words, the header box moving the window and flipping
// the header's bit for the next display, a resize showing the first line again.
TEST_F(ViewNewsWindow, TheStoryWindowShowsFoundWordsAndFollowsTheHeaderBox)
{
    CViewNewsWnd& v = Make();
    CNewsSearchDlg search(QStringLiteral("dividend"));
    search.RunSearch();
    ASSERT_FALSE(search.stories().empty());
    EXPECT_EQ(search.progressBar()->value(), search.progressBar()->maximum());
    SaveRender(RenderWidget(search), QStringLiteral("news-search-dialog"));
    v.ShowSearchResult("dividend", search.stories());
    v.list->current = 0;
    {
        CNewsStoryDlg dialog(v);
        CNewsStoryWindow* window = dialog.storyWindow();
        ASSERT_TRUE(window->hasFoundList());
        ASSERT_FALSE(window->found().empty());
        EXPECT_EQ(dialog.foundCount()->text(), QString::number(window->found().size()));
        EXPECT_FALSE(dialog.locateNextButton()->isHidden());
        EXPECT_FALSE(dialog.locateNextButton()->isEnabled()) << "a story shorter than a page";
        EXPECT_EQ(window->geometry().top(), 78);
        window->LocateNext();
        SaveRender(RenderWidget(dialog), QStringLiteral("news-story-display-found"));
        dialog.headerLinesBox()->click();
        EXPECT_TRUE(dialog.headerFields()->isHidden());
        EXPECT_EQ(window->geometry().top(), 5);
        EXPECT_EQ(window->textArea().top(), 11);
        EXPECT_TRUE(TheNewsDatabase().catalogue().header.u32(news_header::kOptions) & (1u << 20));

        std::string longStory = "Title\n";
        for (int i = 0; i < 100; ++i)
            longStory += "line\n";
        window->SetStory(longStory, "date", nullptr);
        window->ScrollKey(Qt::Key_PageDown);
        ASSERT_GT(window->scroll().top(), 0);
        const QSize before = dialog.size();
        dialog.resize(before + QSize(40, 30));
        QResizeEvent resized(dialog.size(), before);
        QApplication::sendEvent(&dialog, &resized);
        EXPECT_EQ(window->scroll().top(), 0) << "a resize loads the story again from its first line";
        EXPECT_EQ(dialog.story(), LoadU32(v.list->entries[0].record + NewsEntryLayout::Position));
    }
    CNewsStoryDlg next(v);
    EXPECT_FALSE(next.headerLinesBox()->isChecked()) << "the next display opens with the header hidden";
    EXPECT_EQ(next.storyWindow()->geometry().top(), 5);
    next.headerLinesBox()->click();
    EXPECT_FALSE(TheNewsDatabase().catalogue().header.u32(news_header::kOptions) & (1u << 20));

    // Moving to the next share moves the view's row and shows its story in the open display.
    const uint32_t second = LoadU32(v.list->entries[1].record + NewsEntryLayout::Position);
    ASSERT_TRUE(v.RunCommand(20618));
    EXPECT_EQ(v.list->current, 1);
    EXPECT_EQ(next.story(), second);
    EXPECT_FALSE(Enabled(20606)) << "no loop while a story display is open";
    EXPECT_FALSE(Enabled(26778));
}

// A search that is told to stop ends with what it weighed so far; a day index of length 1 is
// rebuilt before the search, which then finds the same.
TEST_F(ViewNewsWindow, ASearchStopsWhenAskedAndRebuildsADamagedIndex)
{
    Make();
    NewsDatabase& news = TheNewsDatabase();
    const std::vector<NewsSearchTerm> terms = MakeNewsSearchWords(news, 0, "'raises dividend'");
    const std::vector<NewsMatch> all = PerformNewsSearch(news, terms);
    ASSERT_GT(all.size(), 2u);
    int steps = 0;
    const std::vector<NewsMatch> stopped =
        PerformNewsSearch(news, terms, 0, UINT32_MAX, nullptr, [&](uint32_t, uint32_t) { return ++steps < 2; });
    EXPECT_LT(stopped.size(), all.size());
    ASSERT_GT(news.catalogue().days.size(), 1u);
    news.catalogue().days[1].indexLength = 1;
    EXPECT_EQ(PerformNewsSearch(news, terms), all);
    EXPECT_GE(news.catalogue().days[1].indexLength, 8u);
    news.catalogue().days[0].indexOffset = 1u << 30;
    EXPECT_EQ(PerformNewsSearch(news, terms), all) << "a section beyond the file: the index is built again";
    EXPECT_LT(news.catalogue().days[0].indexOffset, 1u << 30);
}

// A share search too long for one step runs from the event loop: Esc stops it with the stories found
// so far, and a rebuild asked for meanwhile runs once it has stopped.
TEST_F(ViewNewsWindow, EscStopsTheViewsShareSearchAndAPendingRebuildFollows)
{
    CViewNewsWnd& v = Make();
    v.list->current = 0;
    const uint32_t id = v.CurrentRowShare();
    ASSERT_NE(id, 0u);
    NewsDatabase& news = TheNewsDatabase();
    ASSERT_TRUE(news.catalogue().header.u32(news_header::kOptions) & (1u << 13)) << "share search on";
    // Enough stories for three steps, every third naming the word.
    const uint32_t before = uint32_t(news.catalogue().stories.size());
    dev::NewsUpdateInput input;
    const PackedDate day = PackDate(9, 12, 2026);
    for (uint32_t i = 0; before + i < 3 * NewsSearchRun::kStoriesPerStep; ++i)
        input.stories.push_back({day, 0, i % 3 ? "GBR Quiet day\nNothing here" : "GBR Flotsam found\nMore flotsam"});
    ASSERT_TRUE(WriteFileBytes(NewsDatabase::DataFolder() / dev::NewsUpdateFileName(day), dev::WriteNewsUpdate(input)));
    ApplyNewsUpdateFiles();
    StoreNewsSearchTexts(news.catalogue(), {{id, "flotsam"}});
    std::vector<uint32_t> named, namedInFirstStep;
    for (uint32_t s = 0; s < news.catalogue().stories.size(); ++s) {
        if (news.storyText(s, kNewsTitle | kNewsBody).find("lotsam") == std::string::npos)
            continue;
        named.push_back(s);
        if (s < NewsSearchRun::kStoriesPerStep)
            namedInFirstStep.push_back(s);
    }
    ASSERT_FALSE(namedInFirstStep.empty());
    ASSERT_LT(namedInFirstStep.size(), named.size());

    const int builds = v.builds();
    v.ShowShareOnly(id); // the first step runs at once
    ASSERT_TRUE(v.searching());
    EXPECT_EQ(ShareListCount(v.list), 0) << "no rows while the search runs";
    EXPECT_FALSE(Enabled(26646)) << "no purge while a list is built";
    v.BuildNewsList(); // asked again meanwhile: put off
    EXPECT_EQ(v.newsRefreshPending, 1);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&v, &esc);
    EXPECT_FALSE(v.searching());
    QCoreApplication::processEvents(); // the next step ends the stopped search
    EXPECT_EQ(v.builds(), builds + 1);
    EXPECT_EQ(v.stories(), namedInFirstStep) << "the stories found before Esc";
    for (int turns = 0; turns < 100 && (v.builds() == builds + 1 || v.building()); ++turns) {
        DeliverPostedMessages();
        QCoreApplication::processEvents();
    }
    EXPECT_FALSE(v.building());
    EXPECT_EQ(v.builds(), builds + 2) << "the rebuild asked for during the search";
    EXPECT_EQ(v.stories(), named);
    EXPECT_EQ(v.newsRefreshPending, 0);
}

// The share search-text editor: its own text or the default; "Use default search" drops the entry;
// an entry with a bad offset is dropped alone. The modified-shares list and its "Clear all".
TEST_F(ViewNewsWindow, TheShareSearchTextDialogsEditTheBlock)
{
    CViewNewsWnd& v = Make();
    v.list->current = 0;
    const uint32_t id = v.CurrentRowShare();
    ASSERT_NE(id, 0u);
    NewsCatalogue& c = TheNewsDatabase().catalogue();
    StoreNewsSearchTexts(c, {{id, "'own words'"}, {0xFFF0, "'nobody'"}, {id + 1, "'bad'"}});
    StoreU32(&c.searchTexts[c.searchTexts.size() - 4], 5000); // the last entry's offset lies beyond the block
    const size_t blockSize = c.searchTexts.size();
    {
        CNewsSearchTextDlg dialog(id);
        EXPECT_EQ(dialog.textField()->text(), QStringLiteral("'own words'"));
        EXPECT_FALSE(dialog.defaultBox()->isChecked());
        EXPECT_EQ(dialog.countText(), QStringLiteral("2 shares have modified search text"));
        EXPECT_EQ(c.searchTexts.size(), blockSize) << "opening leaves the block as it is";
        SaveRender(RenderWidget(dialog), QStringLiteral("news-search-text-dialog"));
        dialog.defaultBox()->click();
        EXPECT_FALSE(dialog.textField()->isEnabled());
        EXPECT_EQ(ToCp1252(dialog.textField()->text()), DefaultNewsSearchText(id));
        dialog.accept();
    }
    ASSERT_EQ(NewsSearchTexts(c).size(), 1u) << "the share's entry and the bad one go; the other stays";
    EXPECT_EQ(NewsSearchTexts(c)[0].text, "'nobody'");
    EXPECT_EQ(ModifiedSharesText(), QStringLiteral("1 shares have modified search text"));
    {
        CNewsSearchTextDlg dialog(id);
        EXPECT_TRUE(dialog.defaultBox()->isChecked());
        dialog.defaultBox()->click();
        dialog.textField()->setText(QStringLiteral("'mine'"));
        dialog.accept();
    }
    EXPECT_EQ(ShareNewsSearchText(TheNewsDatabase(), id), "'mine'");

    // The frame's command edits the share the news view shows.
    v.ShowShareOnly(id);
    EXPECT_EQ(v.OwnShareId(), id);
    QString shown;
    SetModalDialogRunner([&](QDialog& d) {
        if (auto* edit = dynamic_cast<CNewsSearchTextDlg*>(&d))
            shown = edit->textField()->text();
        return int(QDialog::Rejected);
    });
    ASSERT_NE(FindCommandDialog(26701), nullptr);
    EXPECT_FALSE((*FindCommandDialog(26701))());
    SetModalDialogRunner({});
    EXPECT_EQ(shown, QStringLiteral("'mine'"));
    CNewsModifiedSharesDlg shares;
    ASSERT_EQ(shares.shareList()->count(), 2);
    EXPECT_EQ(shares.shareList()->item(0)->text(), QStringLiteral("<Unknown Share>"));
    EXPECT_EQ(shares.countText(), QStringLiteral("2 shares have modified search text"));
    SaveRender(RenderWidget(shares), QStringLiteral("news-modified-shares-dialog"));
    shares.ClearAll();
    EXPECT_EQ(shares.shareList()->count(), 0);
    EXPECT_EQ(c.searchTexts.size(), 8u);
    EXPECT_EQ(c.header.u32(news_header::kSearchTextCount), 0u);
}

// The limit dialog stores the weeks and the flag; 26778 turns the flag over; the statistics page.
TEST_F(ViewNewsWindow, TheLimitAndStatisticsCommands)
{
    CViewNewsWnd& v = Make();
    v.list->current = 0;
    ASSERT_TRUE(Enabled(26779));
    QStringList titles;
    SetModalDialogRunner([&](QDialog& d) {
        titles << d.windowTitle();
        if (auto* limit = dynamic_cast<CNewsLimitDateDlg*>(&d)) {
            limit->limitBox()->setChecked(true);
            limit->weeksField()->setValue(6);
            SaveRender(RenderWidget(d), QStringLiteral("news-limit-date-dialog"));
        } else {
            auto* stats = dynamic_cast<CNewsStatsDlg*>(&d);
            EXPECT_NE(stats, nullptr);
            if (stats) {
                EXPECT_TRUE(stats->text().startsWith(QStringLiteral("Stories held: %1\n").arg(TheNewsDatabase().catalogue().stories.size())));
            }
            SaveRender(RenderWidget(d), QStringLiteral("news-stats-dialog"));
        }
        return int(QDialog::Accepted);
    });
    v.RunCommand(26779);
    v.RunCommand(26696);
    SetModalDialogRunner({});
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Limit search date"), QStringLiteral("News stats")}));
    const NewsHeader& header = TheNewsDatabase().catalogue().header;
    EXPECT_EQ(header.u16(news_header::kLimitWeeks), 6);
    EXPECT_TRUE(header.u8(news_header::kLimitFlagByte) & news_header::kLimitFlagBit);
    CommandUi ui{26778, false, std::nullopt, std::nullopt};
    v.UpdateCommand(ui);
    EXPECT_EQ(ui.checked, std::optional<bool>(true));
    CommandUi weeks{26779, false, std::nullopt, std::nullopt};
    v.UpdateCommand(weeks);
    EXPECT_FALSE(weeks.checked.has_value()) << "the weeks dialog's item is no check box";
    v.RunCommand(26778);
    EXPECT_FALSE(header.u8(news_header::kLimitFlagByte) & news_header::kLimitFlagBit);
    EXPECT_EQ(header.u16(news_header::kLimitWeeks), 6);
}

TEST(NewsStatisticsTest, CountsTheStoriesByMarkAndSpansTheirDates)
{
    NewsCatalogue c = EmptyNewsCatalogue();
    const struct {
        uint8_t state;
        PackedDate date;
    } stories[] = {{kNewsStateUnread, PackDate(3, 2, 2025)}, {kNewsStateUnread, PackDate(1, 2, 2025)},
                   {kNewsStateRead, PackDate(4, 2, 2025)},   {kNewsStateKept, PackDate(2, 2, 2025)},
                   {kNewsStateDelete, 0},                     {9, PackDate(2, 2, 2025)}};
    for (const auto& s : stories) {
        NewsStory story;
        story.state = s.state;
        story.storyDate = s.date;
        c.stories.push_back(story);
    }
    c.days.resize(2);
    c.header.setU32(news_header::kWordCount, 1234);
    const std::vector<std::string> expected = {
        "Stories held: 6",
        "Unread: 2   Read: 1   Kept: 1   To delete on purge: 1",
        "Days held: 2",
        "Stories from " + FormatLongDate(PackDate(1, 2, 2025)) + " to " + FormatLongDate(PackDate(4, 2, 2025)),
        "Words in the dictionary: 1234",
        "Search index: not built",
        "News files: 1.500 Mbytes",
    };
    EXPECT_EQ(NewsStatisticsLines(c, {1024 * 1024, 512 * 1024}), expected);
    EXPECT_EQ(NewsStatisticsLines(EmptyNewsCatalogue(), {})[3], "Words in the dictionary: 0") << "no dates without stories";
}

// The view keeps its mode in its list's news mode word, and a view made on a list (as a layout
// makes it) starts in the mode the word holds.
TEST_F(ViewNewsWindow, ItsModeLivesInItsListsNewsModeWord)
{
    CViewNewsWnd& v = Make();
    ASSERT_TRUE(v.RunCommand(26697));
    EXPECT_TRUE(GetViewGroupFields(v.list).newsMode & news_list::kLatestOnly);
    CViewNewsWnd second;
    second.list = CreateListSource(&second, 1, kFamilyNews, nullptr);
    ViewGroupFields fields = GetViewGroupFields(second.list);
    fields.newsMode = news_list::kLatestOnly | news_list::kOneShare;
    SetViewGroupFields(second.list, fields);
    second.OnRefresh();
    EXPECT_EQ(second.flags(), news_list::kLatestOnly) << "one share's news is not restored without its share";
    EXPECT_EQ(GetViewGroupFields(second.list).newsMode, news_list::kLatestOnly);
    // Portfolio news: the list's shares' stories, one share's mode dropped.
    second.ShowShareOnly(0x4001);
    second.ShowListNews();
    EXPECT_EQ(second.flags(), news_list::kLatestOnly | news_list::kCurrentList);
    EXPECT_EQ(second.OwnShareId(), 0u);
}

} // namespace
