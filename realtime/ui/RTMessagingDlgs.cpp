// The member messaging dialogs over TheMemberMessaging().
#include "realtime/ui/RTMessagingDlgs.h"

#include "core/StringPrintf.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "platform/qt/QtText.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/messaging/MemberMessaging.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "views/FrameState.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr const char* kNotConnected =
    "You are not currently connected to an intraday feed.\rThe message will be sent when you next connect.";
constexpr const char* kClearContacts = "Are you sure you want to clear your contact list?";
constexpr const char* kNicknameTaken = "The nickname %s is already in use.  Please choose another.";
constexpr const char* kChoiceTexts[3] = {"Leave off my send list", "Include on my send list", "Block this person"};
constexpr const char* kProfileLabels[ContactRecord::kTexts] = {
    "Nick name", "Actual name", "Email", "Age", "Investment approach", "Investment horizon", "Years with Quorvantis",
    "Years investing", "Other"};
constexpr const char* kPrivacyLabels[3] = {"Allow others to contact me", "Allow others to know if I am connected",
                                           "Alert me to incoming messages"};
constexpr uint32_t kPrivacyFlags[3] = {kContactAccepts, kContactShowsConnected, kContactAlerts};
constexpr const char* kPolicy =
    "Quorvantis messaging lets members of the intraday service write short messages to each other and to "
    "Quorvantis administration, support and the wishlist.\n\n"
    "1. Be courteous. Messages that abuse, threaten or harass another member are not allowed.\n"
    "2. Do not use messaging to tip, ramp or otherwise promote shares, or to pass on information that is not "
    "public. Nothing a member writes is investment advice.\n"
    "3. Do not send advertising, chain letters or the same message to many members.\n"
    "4. Members choose who may contact them: respect a member who has blocked you or does not accept messages.\n"
    "5. Messages pass through the Quorvantis servers and may be read by Quorvantis staff to enforce this "
    "policy. A member who breaks it may lose the use of messaging.\n\n"
    "Messages are kept only while the program runs.";

// Texts of the messaging code break their lines with "\r\n" or "\r".
std::string PlainBreaks(std::string text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
            continue;
        }
        out += '\n';
        if (i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    return out;
}

QString Text(const std::string& text) { return FromCp1252(PlainBreaks(text)); }

MemberMessaging& Messaging() { return TheMemberMessaging(); }

QWidget* Parent()
{
    if (auto* frame = dynamic_cast<QWidget*>(MainFrameTarget()))
        return frame;
    return QApplication::activeWindow();
}

QString PaneText(const MemberMessage& m, const std::vector<ContactRecord>& contacts)
{
    return Text(StringPrintf("From: %s\r\nTo: %s\r\nSent: %02i/%02i/%02i %02d:%02d\r\nSubject: %s\r\n\r\n%s",
                             MemberName(m.sender, contacts).c_str(), MemberName(m.receiver, contacts).c_str(),
                             DayOfMonth(m.date), MonthOfYear(m.date), TwoDigitYear(m.date), int(m.time / 3600 % 24),
                             int(m.time / 60 % 60), m.subject.c_str(), m.text.c_str()));
}

QPushButton* Button(QLayout* layout, const char* text, QWidget* owner, std::function<void()> run)
{
    auto* b = new QPushButton(QString::fromLatin1(text), owner);
    layout->addWidget(b);
    QObject::connect(b, &QPushButton::clicked, owner, [run = std::move(run)] { run(); });
    return b;
}

// The dialog's topic is its template's resource help id.
constexpr uint32_t HelpTopicOf(int templateId) { return 0x20000u + uint32_t(templateId); }

// A Help button (id 9) showing the dialog's topic; F1 on a control shows the control's topic.
void AddHelpButton(QDialog& dialog, QLayout* layout, int templateId)
{
    auto* help = new QPushButton(QStringLiteral("Help"), &dialog);
    help->setObjectName(QStringLiteral("9"));
    layout->addWidget(help);
    InstallDialogHelp(dialog, HelpTopicOf(templateId), help);
}

} // namespace

CMessagePane::CMessagePane(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(420, 160);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void CMessagePane::SetText(const QString& text)
{
    text_ = text;
    update();
}

void CMessagePane::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(QFont(QStringLiteral("Arial"), 10));
    p.drawText(rect().adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text_);
}

// Messages

CRTMessagesDlg::CRTMessagesDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Real time Messages"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    layout->addLayout(left, 1);
    title_ = new QLabel(this);
    left->addWidget(title_);
    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setColumnCount(1);
    list_->setMinimumHeight(150);
    left->addWidget(list_);
    pane_ = new CMessagePane(this);
    left->addWidget(pane_, 1);
    auto* buttons = new QVBoxLayout;
    layout->addLayout(buttons);
    switch_ = Button(buttons, "View outbox", this, [this] { ShowOutbox(!outbox_); });
    delete_ = Button(buttons, "Delete", this, [this] { ToggleDelete(); });
    reply_ = Button(buttons, "Reply", this, [this] { Reply(); });
    Button(buttons, "Compose", this, [this] {
        CRTComposeMessageDlg compose(0, {}, this);
        RunModalDialog(compose);
    });
    Button(buttons, "Contacts", this, [this] { RunContactList(this); });
    Button(buttons, "Profile", this, [this] { EditMessagingProfile(this); });
    buttons->addStretch(1);
    Button(buttons, "Close", this, [this] { reject(); });
    AddHelpButton(*this, buttons, kTemplateId);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { SelectionChanged(); });
    listener_ = Messaging().Subscribe([this] {
        Messaging().MarkAllAnnounced();
        Fill();
    });
    Messaging().MarkAllAnnounced();
    Fill();
    Messaging().StartPolling();
}

CRTMessagesDlg::~CRTMessagesDlg()
{
    Messaging().StopPolling();
    Messaging().Unsubscribe(listener_);
    Messaging().PurgeDeleted();
    Messaging().RemindNicknameReport();
}

void CRTMessagesDlg::ShowOutbox(bool outbox)
{
    outbox_ = outbox;
    list_->setCurrentItem(nullptr);
    Fill();
}

void CRTMessagesDlg::Fill()
{
    const int current = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
    messages_ = outbox_ ? Messaging().Outbox() : Messaging().Inbox();
    const std::vector<ContactRecord> contacts = Messaging().Named();
    title_->setText(Text(StringPrintf(outbox_ ? "Real time MESSAGE OUTBOX (%d messages)" : "Real time MESSAGE INBOX (%d messages)",
                                      int(messages_.size()))));
    list_->setHeaderLabels({outbox_ ? QStringLiteral("To") : QStringLiteral("From")});
    switch_->setText(outbox_ ? QStringLiteral("View inbox") : QStringLiteral("View outbox"));
    const QSignalBlocker block(list_);
    list_->clear();
    if (messages_.empty()) {
        auto* none = new QTreeWidgetItem(list_, {QStringLiteral("< No messages >")});
        none->setFlags(Qt::ItemIsEnabled);
    }
    for (size_t i = 0; i < messages_.size(); ++i)
        new QTreeWidgetItem(list_, {Text(MessageLine(int(i + 1), messages_[i], outbox_, contacts))});
    if (current >= 0 && size_t(current) < messages_.size())
        list_->setCurrentItem(list_->topLevelItem(current));
    else if (!messages_.empty())
        list_->setCurrentItem(list_->topLevelItem(0));
    SelectionChanged();
}

void CRTMessagesDlg::SelectionChanged()
{
    const int at = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
    const bool selected = at >= 0 && size_t(at) < messages_.size();
    delete_->setEnabled(selected);
    reply_->setEnabled(selected && !outbox_);
    const bool marked = selected && (messages_[size_t(at)].flags & kMessageDeleted);
    delete_->setText(marked ? QStringLiteral("Undelete") : QStringLiteral("Delete"));
    pane_->SetText(selected ? PaneText(messages_[size_t(at)], Messaging().Named()) : QString());
}

void CRTMessagesDlg::ToggleDelete()
{
    if (!list_->currentItem())
        return;
    const int at = list_->indexOfTopLevelItem(list_->currentItem());
    if (at >= 0 && Messaging().ToggleDeleted(outbox_, size_t(at)))
        Fill();
}

void CRTMessagesDlg::Reply()
{
    const int at = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
    if (outbox_ || at < 0 || size_t(at) >= messages_.size())
        return;
    const MemberMessage m = messages_[size_t(at)];
    CRTComposeMessageDlg compose(m.sender, ReplySubject(m.subject), this);
    RunModalDialog(compose);
}

// Compose

CRTComposeMessageDlg::CRTComposeMessageDlg(int32_t receiver, const std::string& subject, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Compose real time message"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    to_ = new QComboBox(this);
    for (int32_t address : {kAddressAdministration, kAddressSupport, kAddressWishlist})
        to_->addItem(Text(FixedAddressName(address)), address);
    for (const ContactRecord& c : Messaging().Contacts())
        to_->addItem(Text(c.nickname()), c.member);
    if (receiver) {
        int at = to_->findData(receiver);
        if (at < 0) {
            to_->addItem(Text(MemberName(receiver, Messaging().Contacts())), receiver);
            at = to_->count() - 1;
        }
        to_->setCurrentIndex(at);
    }
    form->addRow(QStringLiteral("To:"), to_);
    subject_ = new QLineEdit(Text(subject), this);
    subject_->setMaxLength(int(MemberMessage::kMaxSubject));
    form->addRow(QStringLiteral("Subject:"), subject_);
    text_ = new QPlainTextEdit(this);
    text_->setMinimumSize(420, 180);
    layout->addWidget(text_, 1);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    buttons->addStretch(1);
    Button(buttons, "Post", this, [this] { Post(); })->setDefault(true);
    Button(buttons, "Cancel", this, [this] { reject(); });
}

int32_t CRTComposeMessageDlg::receiver() const { return to_->currentData().toInt(); }

void CRTComposeMessageDlg::Post()
{
    const PostRefusal refusal = CheckPost(Messaging().Profile(), receiver(), Messaging().Contacts());
    if (refusal == PostRefusal::OwnProfileClosed) {
        if (ShowMessage(PlainBreaks(PostRefusalText(refusal)), {}, MsgButtons::OkCancel, MsgIcon::Exclamation) == MsgAnswer::Ok)
            EditMessagingProfile(this);
        return;
    }
    if (refusal != PostRefusal::None) {
        ShowMessage(PlainBreaks(PostRefusalText(refusal)), {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (!EnsureMessagingPolicy(this))
        return;
    std::string text = ToCp1252(text_->toPlainText());
    if (text.size() > MemberMessage::kMaxText)
        text.resize(MemberMessage::kMaxText);
    if (!Messaging().Post(receiver(), ToCp1252(subject_->text()), text) && RTConnectionStep() < kFeedConnected)
        ShowMessage(PlainBreaks(kNotConnected), {}, MsgButtons::Ok, MsgIcon::Information);
    accept();
}

// Contact list

CRTContactListDlg::CRTContactListDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Messaging contact list"));
    auto* layout = new QGridLayout(this);
    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({QStringLiteral("Contact")});
    list_->setMinimumSize(220, 240);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(list_, 0, 0, 2, 1);
    details_ = new QLabel(this);
    details_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    details_->setMinimumWidth(320);
    details_->setWordWrap(true);
    layout->addWidget(details_, 0, 1);
    auto* choiceBox = new QVBoxLayout;
    layout->addLayout(choiceBox, 1, 1);
    choices_ = new QButtonGroup(this);
    for (uint32_t c = 0; c < 3; ++c) {
        auto* radio = new QRadioButton(QString::fromLatin1(kChoiceTexts[c]), this);
        choices_->addButton(radio, int(c));
        choiceBox->addWidget(radio);
    }
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons, 2, 0, 1, 2);
    Button(buttons, "Clear contacts", this, [this] { ClearContacts(); });
    buttons->addStretch(1);
    Button(buttons, "Close", this, [this] { accept(); });
    AddHelpButton(*this, buttons, kTemplateId);
    connect(choices_, &QButtonGroup::idClicked, this, [this](int id) { SetChoice(uint32_t(id)); });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { SelectionChanged(); });
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) { ContextMenu(at); });
    listener_ = Messaging().Subscribe([this] { Fill(); });
    Fill();
}

CRTContactListDlg::~CRTContactListDlg() { Messaging().Unsubscribe(listener_); }

void CRTContactListDlg::Fill()
{
    const int32_t member = Selected() ? Selected()->member : 0;
    contacts_ = Messaging().Contacts();
    const QSignalBlocker block(list_);
    list_->clear();
    for (const ContactRecord& c : contacts_) {
        auto* item = new QTreeWidgetItem(list_, {Text((c.connected() ? "( Connected ) " : "") + c.nickname())});
        if (c.member == member)
            list_->setCurrentItem(item);
    }
    SelectionChanged();
}

const ContactRecord* CRTContactListDlg::Selected() const
{
    const int at = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
    return at >= 0 && size_t(at) < contacts_.size() ? &contacts_[size_t(at)] : nullptr;
}

void CRTContactListDlg::SelectionChanged()
{
    const ContactRecord* c = Selected();
    details_->setText(Text(ContactDetails(c)));
    for (QAbstractButton* b : choices_->buttons())
        b->setEnabled(c != nullptr);
    choices_->setExclusive(false);
    for (QAbstractButton* b : choices_->buttons())
        b->setChecked(c && uint32_t(choices_->id(b)) == c->choice());
    choices_->setExclusive(true);
}

void CRTContactListDlg::SetChoice(uint32_t choice)
{
    if (const ContactRecord* c = Selected())
        Messaging().SetContactChoice(c->member, choice);
}

void CRTContactListDlg::ClearContacts()
{
    if (ShowMessage(kClearContacts, {}, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes)
        Messaging().ClearContacts();
}

void CRTContactListDlg::ContextMenu(const QPoint& at)
{
    QTreeWidgetItem* item = list_->itemAt(at);
    if (!item)
        return;
    list_->setCurrentItem(item);
    const ContactRecord* c = Selected();
    QMenu menu(this);
    for (uint32_t choice = 0; choice < 3; ++choice) {
        QAction* action = menu.addAction(QString::fromLatin1(kChoiceTexts[choice]));
        action->setCheckable(true);
        action->setChecked(c && c->choice() == choice);
        connect(action, &QAction::triggered, this, [this, choice] { SetChoice(choice); });
    }
    menu.exec(list_->viewport()->mapToGlobal(at));
}

// Profile

CRTMessagingProfileDlg::CRTMessagingProfileDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("My Messaging profile"));
    const ContactRecord& p = Messaging().Profile();
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    for (size_t i = 0; i + 1 < ContactRecord::kTexts; ++i) {
        fields_[i] = new QLineEdit(Text(p.texts[i]), this);
        fields_[i]->setMaxLength(i == 0 ? int(ContactRecord::kMaxNickname) : 80);
        form->addRow(QString::fromLatin1(kProfileLabels[i]), fields_[i]);
    }
    notes_ = new QPlainTextEdit(Text(p.texts[ContactRecord::kTexts - 1]), this);
    notes_->setFixedHeight(80);
    form->addRow(QString::fromLatin1(kProfileLabels[ContactRecord::kTexts - 1]), notes_);
    for (int i = 0; i < 3; ++i) {
        privacy_[i] = new QCheckBox(QString::fromLatin1(kPrivacyLabels[i]), this);
        privacy_[i]->setChecked((p.flags & kPrivacyFlags[i]) != 0);
        layout->addWidget(privacy_[i]);
    }
    layout->addWidget(OkCancelHelpButtons(*this, HelpTopicOf(kTemplateId)));
}

ContactRecord CRTMessagingProfileDlg::record() const
{
    ContactRecord r = Messaging().Profile();
    for (size_t i = 0; i + 1 < ContactRecord::kTexts; ++i)
        r.texts[i] = ToCp1252(fields_[i]->text().trimmed());
    r.texts[ContactRecord::kTexts - 1] = ToCp1252(notes_->toPlainText());
    for (int i = 0; i < 3; ++i)
        r.flags = privacy_[i]->isChecked() ? r.flags | kPrivacyFlags[i] : r.flags & ~kPrivacyFlags[i];
    return r;
}

void CRTMessagingProfileDlg::accept()
{
    const ContactRecord r = record();
    if (NicknameTaken(r.nickname(), Messaging().Contacts())) {
        ShowMessage(StringPrintf(kNicknameTaken, r.nickname().c_str()), {}, MsgButtons::Ok, MsgIcon::Exclamation);
        fields_[0]->setFocus();
        return;
    }
    Messaging().SetProfile(r);
    QDialog::accept();
}

// Alert

CRTMessageAlertDlg::CRTMessageAlertDlg(const MemberMessage& message, const std::string& sender, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Message alert") +
                   Text(StringPrintf(" ( %s @ %02d:%02d )", sender.c_str(), int(message.time / 3600 % 24),
                                     int(message.time / 60 % 60))));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("You have just received the following message"), this));
    auto* form = new QFormLayout;
    layout->addLayout(form);
    form->addRow(QStringLiteral("From:"), new QLabel(Text(sender), this));
    form->addRow(QStringLiteral("Subject:"), new QLabel(Text(message.subject), this));
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    Button(buttons, "View", this, [this] { done(View); })->setDefault(true);
    Button(buttons, "Ignore", this, [this] { done(Ignore); });
    Button(buttons, "Do not alert me in future", this, [this] { done(NoMoreAlerts); });
    // Wide enough for the caption's sender and time.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 160);
}

// Policy

CRTMessagingPolicyDlg::CRTMessagingPolicyDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Quorvantis messaging policy"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QPlainTextEdit(QString::fromLatin1(kPolicy), this);
    text->setReadOnly(true);
    text->setMinimumSize(460, 260);
    layout->addWidget(text);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    buttons->addStretch(1);
    Button(buttons, "I accept the above terms", this, [this] { accept(); });
    Button(buttons, "I do not accept", this, [this] { reject(); });
}

bool RunMessagesDialog(QWidget* parent)
{
    CRTMessagesDlg dialog(parent);
    RunModalDialog(dialog);
    return true;
}

bool EditMessagingProfile(QWidget* parent)
{
    CRTMessagingProfileDlg dialog(parent);
    return RunModalDialog(dialog) == QDialog::Accepted;
}

bool RunContactList(QWidget* parent)
{
    CRTContactListDlg dialog(parent);
    RunModalDialog(dialog);
    return true;
}

bool RunMessageAlert(QWidget* parent)
{
    MemberMessaging& m = Messaging();
    const std::optional<MemberMessage> newest = m.NewestUnannounced();
    m.MarkAllAnnounced();
    if (!newest || !(m.Profile().flags & kContactAlerts))
        return false;
    CRTMessageAlertDlg alert(*newest, MemberName(newest->sender, m.Contacts()), parent);
    const int result = RunModalDialog(alert);
    if (result == CRTMessageAlertDlg::NoMoreAlerts) {
        ContactRecord profile = m.Profile();
        profile.flags &= ~kContactAlerts;
        m.SetProfile(profile);
    }
    return result == CRTMessageAlertDlg::View;
}

bool EnsureMessagingPolicy(QWidget* parent)
{
    if (MemberMessaging::PolicyAccepted())
        return true;
    CRTMessagingPolicyDlg policy(parent);
    const bool accepted = RunModalDialog(policy) == QDialog::Accepted;
    MemberMessaging::SetPolicyAccepted(accepted);
    return accepted;
}

void InstallMemberMessaging()
{
    SetCommandDialog(26938, [] { return RunMessagesDialog(Parent()); });
    SetCommandDialog(26946, [] { return EditMessagingProfile(Parent()); });
    SetCommandDialog(26947, [] { return RunContactList(Parent()); });
    FrameDialogSeams& seams = FrameDialogs();
    seams.messageWaiting = [] { return Messaging().MessageWaiting(); };
    seams.messageAlert = [] { return RunMessageAlert(Parent()); };
    seams.nicknameInUse = [] { return Messaging().TakeNicknameReport(); };
}

} // namespace qv
