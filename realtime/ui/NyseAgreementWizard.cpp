// The NYSE/AMEX agreement wizard's pages and their enabling rules.
#include "realtime/ui/NyseAgreementWizard.h"

#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "platform/qt/QtText.h"
#include "realtime/AgreementPages.h"
#include "realtime/feed/RTFeedClient.h"
#include "shell/ui/ModalDialog.h"

#include <QAbstractButton>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWizardPage>

#include <functional>

namespace qv {
namespace {

constexpr const char* kCaption = "NYSE Agreement for Non-Professional Subscribers";
constexpr const char* kHeading = "AGREEMENT FOR MARKET DATA DISPLAY SERVICES";
constexpr const char* kOther = "other... (see below)";

struct Block {
    const char* heading;
    const char* text;
};

// A page whose Next (or Finish) follows a rule of its own.
class AgreementPage : public QWizardPage {
public:
    explicit AgreementPage(std::function<bool()> complete = {}) : complete_(std::move(complete)) {}
    bool isComplete() const override { return !complete_ || complete_(); }
    void recheck() { emit completeChanged(); }

private:
    std::function<bool()> complete_;
};

QLabel* Label(const QString& text, int points, bool bold)
{
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    QFont font(QStringLiteral("Arial"), points);
    font.setBold(bold);
    if (points)
        label->setFont(font);
    return label;
}

// The heading in Arial bold 16, then each block's title in Arial bold 12 over its text.
QVBoxLayout* PageLayout(QWizardPage* page, std::initializer_list<Block> blocks)
{
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Label(QString::fromLatin1(kHeading), 16, true));
    for (const Block& b : blocks) {
        if (*b.heading)
            layout->addWidget(Label(QString::fromLatin1(b.heading), 12, true));
        if (*b.text)
            layout->addWidget(Label(QString::fromLatin1(b.text), 0, false));
    }
    return layout;
}

AgreementPage* Page(QWizard& wizard, int index, std::function<bool()> complete = {})
{
    auto* page = new AgreementPage(std::move(complete));
    page->setObjectName(QString::number(CNyseAgreementWizard::kPageIds[index]));
    wizard.setPage(CNyseAgreementWizard::kPageIds[index], page);
    return page;
}

QLineEdit* Edit(int maxChars)
{
    auto* edit = new QLineEdit;
    edit->setMaxLength(maxChars);
    return edit;
}

std::string Text(const QLineEdit* edit) { return ToCp1252(edit->text().trimmed()); }

} // namespace

CNyseAgreementWizard::CNyseAgreementWizard(QWidget* parent) : QWizard(parent)
{
    setWindowTitle(QString::fromLatin1(kCaption));
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnStartPage);
    BuildTermsPages();
    BuildPersonalPage();
    BuildEmployerPage();
    BuildAcceptancePage();
    setStartId(kPageIds[0]);
}

void CNyseAgreementWizard::BuildTermsPages()
{
    QVBoxLayout* layout = PageLayout(Page(*this, 0), {
        {"Who is a non-professional subscriber",
         "A non-professional subscriber is a natural person who receives market data for his or her own "
         "personal investment only, and not for any business, trade or profession. Such a person is not "
         "registered or qualified with any securities agency, exchange or association, and does not act as "
         "an investment adviser or for any firm, bank or other organisation."},
        {"Use allowed",
         "A non-professional subscriber may view the market data on his or her own screens and use it to "
         "manage his or her own investments. The data may not be passed on, sold or shown to anyone else."},
    });
    layout->addStretch();
    layout = PageLayout(Page(*this, 1), {
        {"", "Vendor offers to provide the subscriber with market data from the exchanges on the terms of "
             "this agreement. By accepting it the subscriber agrees to these terms with Vendor and with each "
             "exchange whose data is received."},
        {"1. Market data", "\"Market data\" means the last sale prices, quotations, volumes and other "
                           "information about securities traded on the exchanges, and any data taken from them."},
        {"2. Proprietary nature", "The market data belongs to the exchanges. The subscriber gains no right in "
                                  "it other than the use allowed here, and will not remove any notice of ownership."},
    });
    layout->addStretch();
    layout = PageLayout(Page(*this, 2), {
        {"3. Enforcement", "The exchanges may enforce this agreement directly against the subscriber, and "
                           "may ask Vendor to stop the data to a subscriber who breaks it."},
        {"4. Data not guaranteed",
         "Neither the exchanges nor Vendor guarantee that the market data is timely, correct or complete. "
         "They are not liable for any loss that comes from a delay, fault or gap in the data, or from its use."},
    });
    layout->addStretch();
    layout = PageLayout(Page(*this, 3), {
        {"5. Permitted use", "The subscriber uses the market data only as a non-professional subscriber, on "
                             "the devices Vendor supplies it to, and will not redistribute it in any form."},
        {"6. Discontinuance", "Vendor or any exchange may stop, change or limit the market data at any time "
                              "without notice."},
        {"7. Duration", "This agreement lasts while the subscriber receives market data from Vendor. Either "
                        "side may end it by notice; sections 2, 3 and 4 continue after it ends."},
    });
    layout->addStretch();
    // Next waits for the acceptance; coming back keeps it.
    AgreementPage* page5 = Page(*this, 4, [this] { return section1_ && !section1_->isEnabled(); });
    layout = PageLayout(page5, {
        {"8. Miscellaneous", "This agreement is governed by the law of the State of New York. If any part of "
                             "it cannot be enforced, the rest stands. The subscriber may not assign it."},
        {"", "By pressing the button below the subscriber accepts Section 1 of this agreement."},
    });
    section1_ = new QPushButton(QStringLiteral("I Agree"));
    layout->addWidget(section1_, 0, Qt::AlignLeft);
    layout->addStretch();
    connect(section1_, &QPushButton::clicked, this, [this, page5] {
        section1_->setText(QStringLiteral("Section 1 Agreed"));
        section1_->setEnabled(false);
        page5->recheck();
    });
    layout = PageLayout(Page(*this, 5), {
        {"SECTION 2: NONPROFESSIONAL SUBSCRIBER", ""},
        {"9. Subscriber's status", "The subscriber declares that he or she is a non-professional subscriber "
                                   "and will tell Vendor at once if that changes."},
        {"10. Records", "The subscriber allows Vendor and the exchanges to check that the market data is "
                        "used as this agreement allows, and to keep the answers given here."},
    });
    layout->addStretch();
}

void CNyseAgreementWizard::BuildPersonalPage()
{
    AgreementPage* page = Page(*this, 6, [this] { return PersonalPageComplete(answers()); });
    QVBoxLayout* layout = PageLayout(page, {
        {"11. Personal and employment data",
         "The exchanges ask every non-professional subscriber for the following. Please give your name and "
         "address, and choose every occupation that applies to you."},
    });
    name_ = Edit(kAgreementNameChars);
    address_ = Edit(kAgreementAddressChars);
    occupations_ = new QListWidget;
    occupations_->setSelectionMode(QAbstractItemView::MultiSelection);
    for (int i = 0; i < kOccupationCount; ++i)
        occupations_->addItem(QString::fromLatin1(i == kOtherOccupation ? kOther : OccupationText(i)));
    other_ = Edit(kAgreementOtherChars);
    other_->setEnabled(false);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name"), name_);
    form->addRow(QStringLiteral("Address"), address_);
    form->addRow(QStringLiteral("Occupation"), occupations_);
    form->addRow(QStringLiteral("Occupation not listed above"), other_);
    layout->addLayout(form);
    for (QLineEdit* edit : {name_, address_, other_})
        connect(edit, &QLineEdit::textChanged, this, [this, page] { page->recheck(); });
    connect(occupations_, &QListWidget::itemSelectionChanged, this, [this, page] {
        other_->setEnabled(occupations_->item(kOtherOccupation)->isSelected());
        page->recheck();
    });
}

void CNyseAgreementWizard::BuildEmployerPage()
{
    AgreementPage* page = Page(*this, 7, [this] { return EmployerPageComplete(typedEmployer()); });
    QVBoxLayout* layout = PageLayout(page, {
        {"11. Personal and employment data (continued)",
         "Please give each of your employers, pressing \"Next Employer\" after each one. Leave the fields "
         "empty if you have no employer."},
    });
    const char* const labels[3] = {"Name and address of employer", "Job title and/or position",
                                   "Description of employment function"};
    auto* form = new QFormLayout;
    for (int i = 0; i < 3; ++i) {
        employer_[i] = Edit(kAgreementEmployerChars[size_t(i)]);
        form->addRow(QString::fromLatin1(labels[i]), employer_[i]);
        connect(employer_[i], &QLineEdit::textChanged, this, [this, page] {
            EmployerChanged();
            page->recheck();
        });
    }
    layout->addLayout(form);
    nextEmployer_ = new QPushButton(QStringLiteral("Next Employer"));
    employerCount_ = new QLabel;
    layout->addWidget(nextEmployer_, 0, Qt::AlignLeft);
    layout->addWidget(employerCount_);
    layout->addStretch();
    connect(nextEmployer_, &QPushButton::clicked, this, &CNyseAgreementWizard::AddEmployer);
    EmployerChanged();
}

void CNyseAgreementWizard::BuildAcceptancePage()
{
    AgreementPage* page = Page(*this, 8, [this] { return !certify_->isEnabled() && !agree_->isEnabled(); });
    QVBoxLayout* layout = PageLayout(page, {
        {"12. Certification",
         "The subscriber certifies that the answers given in this agreement are true and complete, that he "
         "or she is a non-professional subscriber, and that he or she has read and accepts Section 2."},
    });
    certify_ = new QPushButton(QStringLiteral("I certify the above information is correct"));
    agree_ = new QPushButton(QStringLiteral("I Agree"));
    agree_->setEnabled(false);
    layout->addWidget(certify_, 0, Qt::AlignLeft);
    layout->addWidget(agree_, 0, Qt::AlignLeft);
    layout->addStretch();
    connect(certify_, &QPushButton::clicked, this, [this] {
        certify_->setText(QStringLiteral("Certified"));
        certify_->setEnabled(false);
        agree_->setEnabled(true);
    });
    connect(agree_, &QPushButton::clicked, this, [this, page] {
        agree_->setText(QStringLiteral("Section 2 Agreed"));
        agree_->setEnabled(false);
        page->recheck();
    });
    setOption(QWizard::HaveFinishButtonOnEarlyPages, false);
}

void CNyseAgreementWizard::EmployerChanged()
{
    const bool full = employers_.size() >= kMaxAgreementEmployers;
    // With the most added, nothing more can be typed that Finish would have to drop.
    for (QLineEdit* edit : employer_)
        edit->setEnabled(!full);
    nextEmployer_->setEnabled(EmployerAddEnabled(typedEmployer(), employers_.size()));
    employerCount_->setText(QStringLiteral("Employers added: %1 of %2").arg(employers_.size()).arg(kMaxAgreementEmployers));
}

void CNyseAgreementWizard::AddEmployer()
{
    if (!EmployerAddEnabled(typedEmployer(), employers_.size()))
        return;
    employers_.push_back(typedEmployer());
    for (QLineEdit* edit : employer_)
        edit->clear();
    EmployerChanged();
}

AgreementAnswers CNyseAgreementWizard::answers() const
{
    AgreementAnswers a;
    a.account = Registry::Instance().getString("Comms", "Account").value_or("");
    a.subscriber[0] = Text(name_);
    a.subscriber[1] = Text(address_);
    for (int i = 0; i < occupations_->count(); ++i)
        if (occupations_->item(i)->isSelected())
            a.occupations.push_back(i);
    a.otherOccupation = Text(other_);
    a.entries = employers_;
    return a;
}

AgreementEntry CNyseAgreementWizard::typedEmployer() const
{
    AgreementEntry e;
    for (int i = 0; i < 3; ++i)
        e.texts[i] = employer_[i] ? Text(employer_[i]) : std::string();
    return e;
}

bool CNyseAgreementWizard::validateCurrentPage()
{
    if (currentId() != kPageIds[8])
        return QWizard::validateCurrentPage();
    if (FinishAgreement(answers(), typedEmployer()))
        return true;
    ShowMessage(kAgreementTooLong, {}, MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

bool RunNyseAgreementWizard(QWidget* parent)
{
    AgreementOutbox& outbox = TheAgreementOutbox();
    outbox.wizardRunning = true;
    CNyseAgreementWizard wizard(parent);
    const bool finished = RunModalDialog(wizard) == QDialog::Accepted;
    outbox.wizardRunning = false;
    // Sent at once while connected; otherwise the next log-on sends them.
    if (finished)
        SendRTAgreement();
    return finished;
}

} // namespace qv
