// The member messaging dialogs: messages (inbox and outbox), compose, contact list, profile, the
// message alert and the messaging policy; and their installation on the frame's commands.
#pragma once

#include "realtime/messaging/MemberRecords.h"

#include <QDialog>

#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace qv {

// The message pane, drawn by the dialog in Arial.
class CMessagePane : public QWidget {
public:
    explicit CMessagePane(QWidget* parent);
    void SetText(const QString& text);
    const QString& text() const { return text_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString text_;
};

class CRTMessagesDlg : public QDialog {
public:
    static constexpr int kTemplateId = 717;
    explicit CRTMessagesDlg(QWidget* parent = nullptr);
    ~CRTMessagesDlg() override;

    bool showingOutbox() const { return outbox_; }
    QLabel* title() const { return title_; }
    QTreeWidget* list() const { return list_; }
    CMessagePane* pane() const { return pane_; }
    QPushButton* switchButton() const { return switch_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* replyButton() const { return reply_; }

    void ShowOutbox(bool outbox);
    void ToggleDelete();
    void Reply();
    // Fills the list afresh, keeping the selection.
    void Fill();

private:
    void SelectionChanged();
    std::vector<MemberMessage> messages_;
    bool outbox_ = false;
    int listener_ = 0;
    QLabel* title_;
    QTreeWidget* list_;
    CMessagePane* pane_;
    QPushButton *switch_, *delete_, *reply_;
};

class CRTComposeMessageDlg : public QDialog {
public:
    static constexpr int kTemplateId = 26969;
    // Addressed to the receiver (0: the first of the list) with the subject.
    CRTComposeMessageDlg(int32_t receiver, const std::string& subject, QWidget* parent = nullptr);

    QComboBox* toList() const { return to_; }
    QLineEdit* subjectEdit() const { return subject_; }
    QPlainTextEdit* textEdit() const { return text_; }
    int32_t receiver() const;
    // Post: the refusals, else the message queued (and the note when not connected).
    void Post();

private:
    QComboBox* to_;
    QLineEdit* subject_;
    QPlainTextEdit* text_;
};

class CRTContactListDlg : public QDialog {
public:
    static constexpr int kTemplateId = 747;
    explicit CRTContactListDlg(QWidget* parent = nullptr);
    ~CRTContactListDlg() override;

    QTreeWidget* list() const { return list_; }
    QLabel* details() const { return details_; }
    QButtonGroup* choices() const { return choices_; }
    void SetChoice(uint32_t choice);
    void ClearContacts();
    void Fill();

private:
    const ContactRecord* Selected() const;
    void SelectionChanged();
    void ContextMenu(const QPoint& at);
    std::vector<ContactRecord> contacts_;
    int listener_ = 0;
    QTreeWidget* list_;
    QLabel* details_;
    QButtonGroup* choices_;
};

class CRTMessagingProfileDlg : public QDialog {
public:
    static constexpr int kTemplateId = 748;
    explicit CRTMessagingProfileDlg(QWidget* parent = nullptr);

    QLineEdit* field(int index) const { return fields_[index]; }
    QPlainTextEdit* notes() const { return notes_; }
    QCheckBox* privacy(int index) const { return privacy_[index]; }
    ContactRecord record() const;
    // OK: a nickname a contact has keeps the dialog open.
    void accept() override;

private:
    QLineEdit* fields_[ContactRecord::kTexts - 1] = {};
    QPlainTextEdit* notes_;
    QCheckBox* privacy_[3] = {};
};

class CRTMessageAlertDlg : public QDialog {
public:
    static constexpr int kTemplateId = 756;
    enum Result { Ignore = 0, View = 1, NoMoreAlerts = 2 };
    CRTMessageAlertDlg(const MemberMessage& message, const std::string& sender, QWidget* parent = nullptr);
};

class CRTMessagingPolicyDlg : public QDialog {
public:
    static constexpr int kTemplateId = 764;
    explicit CRTMessagingPolicyDlg(QWidget* parent = nullptr);
};

// The dialogs as the frame and the other dialogs run them.
bool RunMessagesDialog(QWidget* parent);
bool EditMessagingProfile(QWidget* parent);
bool RunContactList(QWidget* parent);
// The alert for the newest message not yet announced, when the profile asks for alerts; true when
// the user chose to view it.
bool RunMessageAlert(QWidget* parent);
// The policy until the user accepts it (remembered); true once accepted.
bool EnsureMessagingPolicy(QWidget* parent);

// 26938, 26946, 26947 and the frame's messaging seams.
void InstallMemberMessaging();

} // namespace qv
