// The InfoCentre's find dialog: the text, its direction, whole word and case; each Find Next
// searches the document window's page and the dialog stays for the next.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace qv {

class CInCFindDlg : public QDialog {
    Q_OBJECT
public:
    // `find` searches the page: the text and the search flags of the HTML control.
    using Finder = std::function<void(const QString& text, uint32_t flags)>;
    CInCFindDlg(Finder find, const QString& seed, QWidget* parent);

    // The search flags the dialog's choices give.
    uint32_t Flags() const;
    QLineEdit* edit() const { return edit_; }

    void reject() override;

private:
    void FindNext();

    Finder find_;
    QLineEdit* edit_ = nullptr;
    QRadioButton* up_ = nullptr;
    QRadioButton* down_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
};

} // namespace qv
