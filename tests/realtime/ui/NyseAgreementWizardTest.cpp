// The NYSE/AMEX agreement wizard walked page by page: each page's enabling rule on the wizard's
// buttons, the employer limit, Finish packing a typed employer, and Cancel leaving nothing to send.
#include "realtime/ui/NyseAgreementWizard.h"

#include "realtime/AgreementPages.h"
#include "shell/ui/ModalDialog.h"
#include "support/ui/Render.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

namespace qv {
namespace {

class NyseAgreementWizardTest : public ::testing::Test {
protected:
    ~NyseAgreementWizardTest() override
    {
        TheAgreementOutbox() = AgreementOutbox{};
        SetModalDialogRunner(nullptr);
    }
    static bool NextEnabled(QWizard& w) { return w.button(QWizard::NextButton)->isEnabled(); }
    static void Render(QWizard& w) { test::SaveRender(test::RenderWidget(w), QStringLiteral("NyseAgreement_%1").arg(w.currentId())); }
    static void TypeEmployer(CNyseAgreementWizard& w, const char* name, const char* title, const char* job)
    {
        w.employerEdit(0)->setText(QString::fromLatin1(name));
        w.employerEdit(1)->setText(QString::fromLatin1(title));
        w.employerEdit(2)->setText(QString::fromLatin1(job));
    }
};

TEST_F(NyseAgreementWizardTest, EachPageHoldsNextUntilItsRuleAndFinishPacksTheTypedEmployerLast)
{
    SetModalDialogRunner([](QDialog& d) {
        auto& w = dynamic_cast<CNyseAgreementWizard&>(d);
        w.restart();
        EXPECT_EQ(w.windowTitle(), "NYSE Agreement for Non-Professional Subscribers");
        for (int page = 0; page < 4; ++page) {
            EXPECT_EQ(w.currentId(), CNyseAgreementWizard::kPageIds[page]);
            EXPECT_TRUE(NextEnabled(w));
            Render(w);
            w.next();
        }
        // Page 5: Back only until section 1 is agreed, and agreed it stays.
        EXPECT_FALSE(NextEnabled(w));
        w.section1Button()->click();
        EXPECT_EQ(w.section1Button()->text(), "Section 1 Agreed");
        EXPECT_FALSE(w.section1Button()->isEnabled());
        EXPECT_TRUE(NextEnabled(w));
        Render(w);
        w.back();
        w.next();
        EXPECT_TRUE(NextEnabled(w));
        w.next();
        Render(w);
        w.next();

        // Page 7: the typed occupation only with "other" chosen, and then needed.
        EXPECT_EQ(w.currentId(), 27073);
        EXPECT_FALSE(NextEnabled(w));
        w.nameEdit()->setText("Ann Example");
        w.addressEdit()->setText("1 Lane, Town");
        EXPECT_FALSE(NextEnabled(w));
        EXPECT_FALSE(w.otherEdit()->isEnabled());
        w.occupationList()->item(kOtherOccupation)->setSelected(true);
        EXPECT_TRUE(w.otherEdit()->isEnabled());
        EXPECT_FALSE(NextEnabled(w));
        w.otherEdit()->setText("Pilot");
        EXPECT_TRUE(NextEnabled(w));
        w.occupationList()->item(4)->setSelected(true);
        w.nameEdit()->clear();
        EXPECT_FALSE(NextEnabled(w));
        w.nameEdit()->setText("Ann Example");
        Render(w);
        w.next();

        // Page 8: one employer added, a second typed and left for Finish.
        EXPECT_TRUE(NextEnabled(w));
        EXPECT_FALSE(w.nextEmployerButton()->isEnabled());
        TypeEmployer(w, "Firm, 2 Road", "Clerk", "");
        EXPECT_FALSE(NextEnabled(w));
        EXPECT_FALSE(w.nextEmployerButton()->isEnabled());
        w.employerEdit(2)->setText("Filing");
        EXPECT_TRUE(w.nextEmployerButton()->isEnabled());
        w.nextEmployerButton()->click();
        EXPECT_EQ(w.employersAdded(), 1u);
        EXPECT_TRUE(w.employerEdit(0)->text().isEmpty());
        TypeEmployer(w, "Shop", "Owner", "Sales");
        Render(w);
        w.next();

        // Page 9: certify, then agree, then Finish.
        QAbstractButton* finish = w.button(QWizard::FinishButton);
        EXPECT_FALSE(finish->isEnabled());
        EXPECT_FALSE(w.agreeButton()->isEnabled());
        w.certifyButton()->click();
        EXPECT_EQ(w.certifyButton()->text(), "Certified");
        EXPECT_FALSE(w.certifyButton()->isEnabled());
        EXPECT_FALSE(finish->isEnabled());
        w.agreeButton()->click();
        EXPECT_EQ(w.agreeButton()->text(), "Section 2 Agreed");
        EXPECT_TRUE(finish->isEnabled());
        Render(w);
        finish->click();
        return w.result();
    });
    EXPECT_TRUE(RunNyseAgreementWizard(nullptr));
    const AgreementOutbox& outbox = TheAgreementOutbox();
    EXPECT_TRUE(outbox.toSend);
    EXPECT_FALSE(outbox.wizardRunning);
    const std::string block(outbox.block.begin(), outbox.block.end());
    const std::string tail("Ann Example\0" "1 Lane, Town\0\x02" "Office assistant\0Pilot\0\x02"
                           "Firm, 2 Road\0Clerk\0Filing\0Shop\0Owner\0Sales\0", 93);
    ASSERT_GE(block.size(), tail.size());
    EXPECT_EQ(block.substr(block.size() - tail.size()), tail);
}

TEST_F(NyseAgreementWizardTest, AfterEightEmployersNoMoreCanBeTypedOrAdded)
{
    CNyseAgreementWizard w;
    for (int i = 0; i < 8; ++i) {
        TypeEmployer(w, "Firm", "Clerk", "Filing");
        ASSERT_TRUE(w.nextEmployerButton()->isEnabled()) << i;
        w.nextEmployerButton()->click();
    }
    EXPECT_EQ(w.employersAdded(), 8u);
    EXPECT_FALSE(w.nextEmployerButton()->isEnabled());
    EXPECT_FALSE(w.employerEdit(0)->isEnabled());
    EXPECT_TRUE(EmployerPageComplete(w.typedEmployer()));
}

TEST_F(NyseAgreementWizardTest, CancelLeavesNothingToSendAndTheRunningFlagIsSetOnlyMeanwhile)
{
    bool runningMeanwhile = false;
    SetModalDialogRunner([&runningMeanwhile](QDialog& d) {
        runningMeanwhile = TheAgreementOutbox().wizardRunning;
        d.reject();
        return d.result();
    });
    EXPECT_FALSE(RunNyseAgreementWizard(nullptr));
    EXPECT_TRUE(runningMeanwhile);
    EXPECT_FALSE(TheAgreementOutbox().wizardRunning);
    EXPECT_FALSE(TheAgreementOutbox().toSend);
    EXPECT_TRUE(TheAgreementOutbox().block.empty());
}

} // namespace
} // namespace qv
