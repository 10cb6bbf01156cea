// The InfoCentre's dialogs without the web engine: the contents on the demo library (boxes, nested
// sub-categories, "(Done)" and its refusal), the settings (the settings word, the ten category boxes
// and the survey box, the style sheet written only on a change), and the find and defer dialogs.
#include "infocentre/InCStore.h"
#include "infocentre/ui/HtmlCtrl.h"
#include "infocentre/ui/InCDeferDlg.h"
#include "infocentre/ui/InCFindDlg.h"
#include "infocentre/ui/InCMainDlg.h"
#include "infocentre/ui/InCSettingsDlg.h"

#include "devtools/lib/InfoCentreWriter.h"
#include "devtools/lib/TempFolder.h"
#include "platform/Clock.h"
#include "platform/FileOps.h"
#include "shell/TimerCallbacks.h"
#include "tests/support/FakeMessageBox.h"
#include "tests/support/PrivateRegistry.h"
#include "tests/support/ui/ControlById.h"
#include "tests/support/ui/Render.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <ctime>

using namespace qv;
using test::Control;

namespace {

namespace fs = std::filesystem;

struct NoWindow : InCDocumentWindow {
    void ReloadPage() override {}
};

struct RecordingHost : InCStoreHost {
    std::vector<uint16_t> opened;
    std::unique_ptr<InCDocumentWindow> CreateDocumentWindow(CInCStore&, uint16_t n, const InCDocSummary&, bool) override
    {
        opened.push_back(n);
        return std::make_unique<NoWindow>();
    }
    void InfoCentreLoaded(bool) override {}
};

struct InCDialogs : ::testing::Test {
    dev::TempFolder folder{"incdialogs"};
    fs::path content = folder / "Content";
    test::PrivateRegistry registry;
    test::FakeMessageBox messages;
    RecordingHost host;

    void SetUp() override { ClearTimerCallbacks(); }
    void TearDown() override { ClearTimerCallbacks(); }

    std::unique_ptr<CInCStore> Store()
    {
        auto store = std::make_unique<CInCStore>(content, false, &host);
        EXPECT_TRUE(store->LoadIndex());
        return store;
    }
};

int64_t At(int hour)
{
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 10;
    t.tm_hour = hour;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

} // namespace

// A box per category; the newsletters' sub-category of two opens as a nested dialog; a done form's
// button says so and refuses to open, another document opens (not as AutoView).
TEST_F(InCDialogs, ContentsShowTheCategoriesAndRefuseADoneForm)
{
    ASSERT_TRUE(dev::WriteDemoInfoCentre(content));
    auto store = Store();
    ASSERT_TRUE(store->SetEntryState(30, kInCFlagDone, CInCStore::Now()));

    CInCMainDlg contents(*store, "", std::nullopt, nullptr);
    EXPECT_EQ(contents.windowTitle(), "InfoCentre");
    EXPECT_FALSE(contents.ShowsDocumentTypes());
    QStringList boxes;
    for (QGroupBox* box : contents.findChildren<QGroupBox*>())
        boxes << box->title();
    EXPECT_TRUE(boxes.contains("Newsletters") && boxes.contains("Forms") && boxes.contains("Help")) << boxes.join(",").toStdString();
    EXPECT_EQ(contents.DocumentButton(10), nullptr) << "a sub-category of two is one button";
    EXPECT_NE(contents.findChild<QPushButton*>("6036"), nullptr);
    EXPECT_EQ(contents.findChild<QPushButton*>("6036")->text(), ". . .");
    test::SaveRender(test::RenderWidget(contents), "InCContentsDialog");

    QPushButton* form = contents.DocumentButton(30);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->text(), "Tell us about yourself (Done)");
    form->click();
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "You have already filled in this form and may only do so once");
    EXPECT_TRUE(host.opened.empty());

    contents.DocumentButton(20)->click();
    EXPECT_EQ(host.opened, std::vector<uint16_t>{20});

    CInCCategory letters("2026");
    letters.documents = {{"Newsletter: January", 10, 0}, {"Newsletter: February", 11, 0}};
    CInCMainDlg nested(*store, "Contents", letters, nullptr);
    EXPECT_EQ(nested.windowTitle(), "InfoCentre: Contents");
    ASSERT_NE(nested.DocumentButton(11), nullptr);
    EXPECT_EQ(nested.DocumentButton(11)->text(), "Newsletter: February");
}

// Documents beyond what a box holds are paged by "More..." in the same places; categories beyond
// what the screen holds become one "Document Types" box of category buttons, each a nested dialog.
TEST_F(InCDialogs, ContentsPageLongBoxesAndListTypesWhenTheyDoNotFit)
{
    auto write = [this](uint16_t n, const std::string& category) {
        dev::InCDocumentSpec spec;
        spec.number = n;
        spec.title = "Document " + std::to_string(n);
        spec.category = category;
        spec.files = {"d" + std::to_string(n) + ".htm"};
        ASSERT_TRUE(dev::WriteInCDocument(content, spec));
    };
    for (uint16_t n = 1; n <= 120; ++n)
        write(n, "Long");
    {
        auto store = Store();
        CInCMainDlg contents(*store, "", std::nullopt, nullptr);
        QPushButton* more = Control<QPushButton>(contents, 1097);
        ASSERT_FALSE(more->isHidden());
        EXPECT_FALSE(contents.DocumentButton(1)->isHidden());
        EXPECT_TRUE(contents.DocumentButton(120)->isHidden());
        more->click();
        EXPECT_TRUE(contents.DocumentButton(1)->isHidden());
        int shownPages = 1;
        while (contents.DocumentButton(120)->isHidden() && shownPages++ < 20)
            more->click();
        EXPECT_FALSE(contents.DocumentButton(120)->isHidden());
    }
    for (uint16_t n = 200; n < 260; ++n)
        write(n, "Category " + std::to_string(n));
    auto store = Store();
    CInCMainDlg contents(*store, "", std::nullopt, nullptr);
    EXPECT_TRUE(contents.ShowsDocumentTypes());
    EXPECT_EQ(contents.DocumentButton(1), nullptr);
    QStringList labels;
    for (QPushButton* button : contents.findChildren<QPushButton*>())
        labels << button->text();
    EXPECT_TRUE(labels.contains(" Long ") && labels.contains(" Category 259 ")) << labels.join("|").toStdString();
}

// Twelve categories: the first ten are offered, checked unless disabled; OK writes the settings word,
// the cleared boxes and the survey line, and leaves "inc.css" alone unless the style changed.
TEST_F(InCDialogs, SettingsWriteTheWordTheDisabledCategoriesAndTheStyleOnlyOnAChange)
{
    for (uint16_t n = 1; n <= 12; ++n) {
        dev::InCDocumentSpec spec;
        spec.number = n;
        char name[16];
        std::snprintf(name, sizeof name, "Cat%02u", unsigned(n));
        spec.category = name;
        spec.files = {std::string(name) + ".htm"};
        ASSERT_TRUE(dev::WriteInCDocument(content, spec));
    }
    ASSERT_TRUE(WriteDisabledCategories(content, {"Cat02"}));
    auto store = Store();
    const fs::path css = content / "inc.css";
    ASSERT_TRUE(fs::exists(css));
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(css, old);

    {
        CInCSettingsDlg settings(*store, nullptr);
        for (int i = 0; i < 10; ++i) {
            auto* box = Control<QCheckBox>(settings, 4010 + i);
            EXPECT_FALSE(box->isHidden()) << i;
            EXPECT_EQ(box->text(), QString::asprintf("Cat%02d", i + 1));
            EXPECT_EQ(box->isChecked(), i != 1) << i;
        }
        EXPECT_TRUE(Control<QCheckBox>(settings, 3865)->isChecked());
        test::SaveRender(test::RenderWidget(settings), "InCSettingsDialog");
        Control<QCheckBox>(settings, 4008)->setChecked(true);
        Control<QCheckBox>(settings, 4009)->setChecked(false);
        Control<QCheckBox>(settings, 4012)->setChecked(false);
        Control<QCheckBox>(settings, 3865)->setChecked(false);
        settings.accept();
        EXPECT_FALSE(settings.StyleChanged());
    }
    EXPECT_EQ(InfoCentreSettings(), 1);
    EXPECT_EQ(ReadDisabledCategories(content), (std::vector<std::string>{"Cat02", "Cat03", kSurveyCategory}));
    EXPECT_EQ(fs::last_write_time(css), old);

    CInCSettingsDlg settings(*store, nullptr);
    EXPECT_FALSE(Control<QCheckBox>(settings, 3865)->isChecked());
    Control<QCheckBox>(settings, 4009)->setChecked(true);
    Control<QSlider>(settings, 4020)->setValue(4);
    settings.accept();
    EXPECT_TRUE(settings.StyleChanged());
    EXPECT_EQ(InfoCentreSettings(), 3);
    InCStyle written;
    ASSERT_TRUE(ReadIncCss(written, css));
    EXPECT_EQ(written.padding, 4);
}

TEST(InCFindDlg, SearchesWithTheChosenFlagsAndEndsInTheSelection)
{
    std::vector<std::pair<QString, uint32_t>> searches;
    CInCFindDlg find([&](const QString& text, uint32_t flags) { searches.emplace_back(text, flags); }, "g", nullptr);
    EXPECT_EQ(find.edit()->text(), "g");
    EXPECT_EQ(find.edit()->cursorPosition(), 1);
    EXPECT_TRUE(Control<QRadioButton>(find, 3507)->isChecked());
    test::SaveRender(test::RenderWidget(find), "InCFindDialog");

    find.edit()->setText("gilt");
    Control<QPushButton>(find, 3508)->click();
    Control<QRadioButton>(find, 3506)->setChecked(true);
    Control<QCheckBox>(find, 3509)->setChecked(true);
    Control<QCheckBox>(find, 3510)->setChecked(true);
    Control<QPushButton>(find, 3508)->click();
    find.reject();
    ASSERT_EQ(searches.size(), 3u);
    EXPECT_EQ(searches[0], std::make_pair(QString("gilt"), 0u));
    EXPECT_EQ(searches[1], std::make_pair(QString("gilt"), kFindUp | kFindWholeWord | kFindMatchCase));
    EXPECT_EQ(searches[2].second, kFindInSelection);
}

// The basic form remembered "today" opens on "tomorrow" at 08:00; the advanced one's "in 2 hours" at
// 14:00 is due at 16:00, and its form and choice are remembered.
TEST(InCDeferDlg, BasicAndAdvancedFormsAndTheRememberedWord)
{
    test::PrivateRegistry registry;
    RememberDeferWord(uint16_t(DeferChoice::Today));
    CInCDeferDlg basic(At(14), nullptr);
    EXPECT_FALSE(basic.Form().advanced);
    EXPECT_EQ(basic.Form().choice, DeferChoice::Tomorrow);
    EXPECT_TRUE(Control<QRadioButton>(basic, 3987)->isHidden() || !Control<QRadioButton>(basic, 3987)->isVisibleTo(&basic));
    EXPECT_EQ(basic.DueTime(), At(14) + 18 * 3600);
    test::SaveRender(test::RenderWidget(basic), "InCDeferDialogBasic");

    Control<QPushButton>(basic, 3995)->click();
    EXPECT_TRUE(basic.Form().advanced);
    Control<QRadioButton>(basic, 3987)->setChecked(true);
    Control<QSpinBox>(basic, 3992)->setValue(2);
    EXPECT_EQ(basic.DueTime(), At(16));
    basic.accept();
    EXPECT_EQ(RememberedDeferWord(), 0x100 | uint16_t(DeferChoice::InHours));

    CInCDeferDlg advanced(At(14), nullptr);
    EXPECT_EQ(advanced.Form().choice, DeferChoice::InHours);
    EXPECT_EQ(Control<QComboBox>(advanced, 3993)->count(), 7);
    EXPECT_EQ(Control<QComboBox>(advanced, 3993)->currentIndex(), 2);
    Control<QRadioButton>(advanced, 3991)->setChecked(true);
    EXPECT_FALSE(advanced.DueTime());
    test::SaveRender(test::RenderWidget(advanced), "InCDeferDialogAdvanced");
}
