// The two small portfolio dialogs: the new-name dialog and the one that adjusts which portfolios a
// group includes.
#pragma once

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qv {

struct Portfolio;

class CNewName : public QDialog {
public:
    CNewName(const QString& title, const QString& line, const std::string& name, bool allowDuplicates,
             QWidget* parent = nullptr);
    std::string name() const;
    QLineEdit* edit() const { return edit_; }

private:
    void UpdateOk();
    QLineEdit* edit_;
    QPushButton* ok_ = nullptr;
    bool allowDuplicates_;
};

// Edits the group's member list in place; Cancel puts the list it had back.
class CAdjustPortfolios : public QDialog {
public:
    explicit CAdjustPortfolios(Portfolio& group, QWidget* parent = nullptr);
    void accept() override;
    void reject() override;
    QListWidget* excluded() const { return excluded_; }
    QListWidget* included() const { return included_; }

private:
    void Refill();
    void AddSelected();
    void RemoveSelected();
    void AddAll();
    void RemoveAll();
    Portfolio& group_;
    std::vector<uint16_t> copy_;
    std::vector<uint16_t> keys_;
    QListWidget* excluded_;
    QListWidget* included_;
};

// The installed name question: CNewName titled by the mode; duplicates are not allowed.
bool AskPortfolioNameDialog(const Portfolio& portfolio, int mode, std::string& name, QWidget* parent);

} // namespace qv
