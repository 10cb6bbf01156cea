// The cash-account dialogs: naming a new account, its attachment to a portfolio, choosing an
// account, and one cash entry.
#pragma once

#include "core/PackedDate.h"
#include "platform/MessageDispatch.h"

#include <QDialog>

#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qv {

struct CashAccount;
class CCalcEdit;
class CDateEdit;

// Fills the combo with the ordinary portfolios by name, each with its number; the count.
int FillOrdinaryPortfolios(QComboBox& combo);

class CCashAccountName : public QDialog {
    Q_OBJECT
public:
    explicit CCashAccountName(QWidget* parent = nullptr);
    std::string name() const;
    bool attached() const;
    int32_t portfolioNumber() const;

private:
    void UpdateOk();
    QLineEdit* name_;
    QCheckBox* attach_;
    QComboBox* portfolios_;
    QPushButton* ok_ = nullptr;
};

class CCashAttachPortfolio : public QDialog {
    Q_OBJECT
public:
    CCashAttachPortfolio(int32_t attached, QWidget* parent = nullptr);
    // -1 for all portfolios.
    int32_t answer() const;

private:
    QCheckBox* attach_;
    QComboBox* portfolios_;
};

class CCashAccountSelect : public QDialog {
    Q_OBJECT
public:
    // Mode 1 deletes, 0 chooses (with " << new >>").
    CCashAccountSelect(int mode, QWidget* parent = nullptr);
    CashAccount* chosen() const { return chosen_; }
    void accept() override;

private:
    int mode_;
    QListWidget* list_;
    QPushButton* ok_ = nullptr;
    CashAccount* chosen_ = nullptr;
};

struct CashEntryAnswer {
    PackedDate date = 0;
    double amount = 0;
    uint8_t type = 0;
    std::string description; // up to 200 characters
    std::string reference;   // up to 19
};

class CCashCredit : public QDialog, public MessageTarget {
    Q_OBJECT
public:
    CCashCredit(const CashEntryAnswer& start, bool editing, QWidget* parent = nullptr);
    CashEntryAnswer answer() const;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

private:
    void UpdateTitle();
    bool editing_;
    CDateEdit* date_;
    CCalcEdit* amount_;
    QComboBox* type_;
    QLineEdit* description_;
    QLineEdit* reference_;
};

// The title of the entry dialog: "Add a Credit transaction", "Edit an Interest transaction" ...
std::string CashEntryTitle(uint8_t type, bool editing);

// Installs the new-account dialog and the chooser behind their seams; removes them.
void InstallCashDialogs();
void RemoveCashDialogs();

} // namespace qv
