// The NYSE/AMEX agreement for non-professional subscribers: nine pages of terms, the personal and
// employment answers and the acceptance; Finish packs the answers for the feed to send.
#pragma once

#include "realtime/AgreementBlock.h"

#include <QWizard>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qv {

class CNyseAgreementWizard : public QWizard {
    Q_OBJECT
public:
    // The page ids are the pages' templates.
    static constexpr int kPageIds[9] = {790, 27068, 27069, 27070, 27071, 27072, 27073, 27074, 27075};

    explicit CNyseAgreementWizard(QWidget* parent = nullptr);

    // Page 5
    QPushButton* section1Button() const { return section1_; }
    // Page 7
    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* addressEdit() const { return address_; }
    QListWidget* occupationList() const { return occupations_; }
    QLineEdit* otherEdit() const { return other_; }
    // Page 8
    QLineEdit* employerEdit(int field) const { return employer_[field]; }
    QPushButton* nextEmployerButton() const { return nextEmployer_; }
    size_t employersAdded() const { return employers_.size(); }
    // Page 9
    QPushButton* certifyButton() const { return certify_; }
    QPushButton* agreeButton() const { return agree_; }

    // The answers as the pages hold them, without the employer still being typed.
    AgreementAnswers answers() const;
    AgreementEntry typedEmployer() const;

protected:
    bool validateCurrentPage() override;

private:
    void BuildTermsPages();
    void BuildPersonalPage();
    void BuildEmployerPage();
    void BuildAcceptancePage();
    void PersonalChanged();
    void EmployerChanged();
    void AddEmployer();

    QPushButton* section1_ = nullptr;
    QLineEdit *name_ = nullptr, *address_ = nullptr, *other_ = nullptr;
    QListWidget* occupations_ = nullptr;
    QLineEdit* employer_[3] = {};
    QPushButton* nextEmployer_ = nullptr;
    QLabel* employerCount_ = nullptr;
    QPushButton *certify_ = nullptr, *agree_ = nullptr;
    std::vector<AgreementEntry> employers_;
};

// Runs the wizard (flagged as running meanwhile); true on Finish with the answers packed.
bool RunNyseAgreementWizard(QWidget* parent);

} // namespace qv
