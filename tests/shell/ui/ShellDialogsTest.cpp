// The shell's own dialogs: the update messages in tabs, the password dialogs locked and unlocked,
// the About box with and without the real-time option, the training page, and the commands that
// open them (enabled by their rules, never waiting for a person in an unattended run).
#include "shell/ui/ShellDialogs.h"

#include "core/Database.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Registry.h"
#include "shell/AppServices.h"
#include "shell/ProgramPassword.h"
#include "shell/StartupChecks.h"
#include "shell/UpdateMessages.h"
#include "shell/ui/AboutDlg.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/PasswordDlgs.h"
#include "shell/ui/Statics.h"
#include "shell/ui/UpdateMessagesDlg.h"
#include "support/FakeMessageBox.h"
#include "support/PrivateRegistry.h"
#include "support/ui/Render.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace qv;

namespace {

// Sets QV_AUTO_ANSWER for the test's lifetime.
class Unattended {
public:
    Unattended() { ::setenv("QV_AUTO_ANSWER", "1", 1); }
    ~Unattended() { ::unsetenv("QV_AUTO_ANSWER"); }
};

class TrainingGraph : public CViewBase {
public:
    TrainingGraph() : CViewBase(0) {}
    uint8_t GraphTrainingMode() const override { return 1; }
};

} // namespace

TEST(UpdateMessagesDlg, TabsShowTheirBodiesAndTheCheckBoxIsStoredOnClosing)
{
    test::PrivateRegistry registry;
    dev::TempFolder folder{"messages"};
    EXPECT_EQ(CUpdateMessagesDlg("Hi", folder / "Message.prv").dateLine()->text(), QString()) << "no message file";
    ASSERT_TRUE(WriteFileBytes(folder / "Message.prv", std::vector<uint8_t>{2, 0, 0, 0, 'H', 'i'}));
    CUpdateMessagesDlg dialog("Prices are in for Monday.~SH~Results\r\ntoday~SS~Three companies reported.~SH~Dividends"
                              "~SS~Two dividends declared.\r\nBoth final.",
                              folder / "Message.prv");
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Review last Pelmor update messages"));
    EXPECT_TRUE(dialog.dateLine()->text().startsWith(QStringLiteral("Last Update: "))) << dialog.dateLine()->text().toStdString();
    ASSERT_EQ(dialog.tabs()->count(), 3);
    EXPECT_EQ(dialog.tabs()->tabText(1), QStringLiteral("Results  today"));
    EXPECT_EQ(dialog.text()->toPlainText(), QStringLiteral("Prices are in for Monday."));
    dialog.tabs()->setCurrentIndex(2);
    EXPECT_EQ(dialog.text()->toPlainText(), QStringLiteral("Two dividends declared.\nBoth final."));
    EXPECT_TRUE(dialog.displayAfterUpdate()->isChecked());
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("update-messages"));

    dialog.displayAfterUpdate()->setChecked(false);
    dialog.reject();
    EXPECT_FALSE(DisplayUpdateMessageAfterUpdate());
}

TEST(PasswordDlgs, ALockedDialogOpensWithTheCurrentPasswordOnly)
{
    test::PrivateRegistry registry;
    test::FakeMessageBox boxes;
    Registry::Instance().setString(kPasswordSection, kPasswordValue, EncodePassword(MakeOnFlag(3), "SESAME"));
    CPasswordSettingsDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Program password settings"));
    EXPECT_TRUE(dialog.currentEdit()->isEnabled());
    EXPECT_FALSE(dialog.newEdit()->isEnabled());
    EXPECT_FALSE(dialog.lockBox()->isEnabled());
    EXPECT_TRUE(dialog.lockBox()->isChecked());
    EXPECT_EQ(dialog.newEdit()->maxLength(), 16);
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("password-settings-locked"));

    dialog.currentEdit()->setText(QStringLiteral("sesam"));
    EXPECT_FALSE(dialog.newEdit()->isEnabled());
    dialog.currentEdit()->setText(QStringLiteral("sesame"));
    EXPECT_FALSE(dialog.currentEdit()->isEnabled());
    EXPECT_TRUE(dialog.newEdit()->isEnabled());
    EXPECT_TRUE(dialog.lockBox()->isEnabled());
    EXPECT_EQ(dialog.newEdit()->text(), QStringLiteral("sesame"));
    EXPECT_EQ(dialog.confirmEdit()->text(), QStringLiteral("sesame"));

    // A new password, mistyped once: the box offers Retry and the dialog stays.
    dialog.newEdit()->setText(QStringLiteral("open up"));
    dialog.confirmEdit()->setText(QStringLiteral("open upp"));
    boxes.queue(MsgAnswer::Retry);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    dialog.confirmEdit()->setText(QStringLiteral("open up"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(PasswordUnlocks("OPEN UP", ReadStoredPassword(), ""));

    std::vector<uint32_t> topics;
    QObject::connect(&dialog, &CPasswordSettingsDlg::helpRequested, [&](uint32_t topic) { topics.push_back(topic); });
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
    EXPECT_EQ(topics, std::vector<uint32_t>{86471});
}

TEST(PasswordDlgs, WithoutAPasswordTheDialogOpensUnlockedAndTheEntryDialogAsks)
{
    test::PrivateRegistry registry;
    CPasswordSettingsDlg dialog;
    EXPECT_FALSE(dialog.currentEdit()->isEnabled());
    EXPECT_TRUE(dialog.newEdit()->isEnabled());
    EXPECT_FALSE(dialog.lockBox()->isChecked());
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("password-settings-unlocked"));

    CPasswordEntryDlg entry;
    EXPECT_EQ(entry.windowTitle(), QStringLiteral("Please enter password"));
    EXPECT_EQ(entry.passwordEdit()->maxLength(), 16);
    ASSERT_NE(entry.findChild<QLabel*>(), nullptr);
    QStringList labels;
    for (QLabel* label : entry.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Quorvantis")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Version 3.74  ")));
    entry.passwordEdit()->setText(QStringLiteral("se\u00E7ret"));
    EXPECT_EQ(entry.typed(), "se\xE7ret");
    test::SaveRender(test::RenderWidget(entry), QStringLiteral("password-entry"));
}

TEST(AboutDlg, CountsNoticesAndTheShorterBoxWithoutRealTime)
{
    int32_t counts[KindCountSlots] = {};
    counts[KindCompanies] = 250;
    counts[KindOrdinary] = 240;
    counts[KindIndices] = 12;
    CAboutDlg plain(MakeAboutTexts(9, counts, false, 2026));
    CAboutDlg realTime(MakeAboutTexts(9, counts, true, 2026));
    EXPECT_EQ(plain.windowTitle(), QStringLiteral("About Quorvantis"));
    EXPECT_EQ(plain.versionLabel()->text(), QStringLiteral(" Database version 1.9 "));
    EXPECT_TRUE(plain.countLabel(2)->text().endsWith(QStringLiteral("252 total")));
    EXPECT_EQ(plain.noticeLabels().size(), 2);
    EXPECT_EQ(realTime.noticeLabels().size(), 7);
    EXPECT_LT(plain.height(), realTime.height());
    QImage image = test::RenderWidget(plain);
    EXPECT_EQ(image.pixelColor(image.width() - 2, image.height() - 2), QColor(0xFA, 0xFA, 0xFF));
    test::SaveRender(image, QStringLiteral("about-box"));
    test::SaveRender(test::RenderWidget(realTime), QStringLiteral("about-box-real-time"));
}

TEST(TrainingDlg, BoldTitleAndALinkWithItsTip)
{
    CTrainingDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Quorvantis Training"));
    EXPECT_TRUE(dialog.title()->font().bold());
    EXPECT_EQ(dialog.link()->toolTip(), QStringLiteral("View Quorvantis training information and products"));
    EXPECT_EQ(dialog.link()->target(), QString::fromLatin1(CTrainingDlg::kTarget));
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("training"));
}

TEST(ShellDialogs, CommandsAreEnabledByTheirRulesAndOpenTheirDialogs)
{
    test::PrivateRegistry registry;
    CMainFrame frame;
    std::vector<uint32_t> commands = {21109, 26168, 26103, 26781, 57664};
    EXPECT_FALSE(QueryCommandUi(57664).enabled) << "About is greyed until its dialog is installed";
    InstallShellDialogs(frame);
    for (uint32_t command : commands)
        EXPECT_TRUE(QueryCommandUi(command).enabled) << command;

    // A graph in training mode greys the message review only.
    TrainingGraph graph;
    MainFrameState().activeView = &graph;
    EXPECT_FALSE(QueryCommandUi(21109).enabled);
    EXPECT_FALSE(QueryCommandUi(26168).enabled);
    EXPECT_TRUE(QueryCommandUi(26103).enabled);
    MainFrameState().activeView = nullptr;

    std::vector<uint8_t> saved = StoredUpdateMessage();
    StoredUpdateMessage() = {};
    {
        test::FakeMessageBox boxes;
        EXPECT_TRUE(RouteCommand(26168));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, "No message stored");
        EXPECT_EQ(boxes.shown()[0].icon, MsgIcon::Exclamation);
    }
    StoredUpdateMessage() = {'H', 'i', 0};
    {
        Unattended unattended;
        testing::internal::CaptureStderr();
        for (uint32_t command : commands)
            EXPECT_TRUE(RouteCommand(command)) << command;
        std::string said = testing::internal::GetCapturedStderr();
        for (const char* caption : {"Review last Pelmor update messages", "Program password settings",
                                    "Quorvantis Training", "About Quorvantis"})
            EXPECT_NE(said.find(std::string("Dialog: ") + caption), std::string::npos) << said;
    }
    StoredUpdateMessage() = saved;
    RemoveShellDialogs();
    EXPECT_FALSE(QueryCommandUi(57664).enabled);
    EXPECT_FALSE(QueryCommandUi(26103).enabled);
}
