// The dialog that records or edits one transaction: its type, the figures kept in step, the cash
// account, the date, the notes and the capital gains choices.
#pragma once

#include "portfolio/TransactionRecording.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {

class CDateEdit;

// The price unit a type starts in: pounds for the whole-amount types, else pence.
bool TypeDefaultsToPounds(int type);

struct TransactionDialogSetup {
    std::string portfolioName;
    std::string shareName;
    struct Line {
        std::string text;
        uint8_t shareType = 31;
    };
    std::vector<Line> lines;
    int line = 0;
    int type = 1;
    bool editing = false;
    PackedDate date = 0;
    uint32_t time = 0;
    PackedDate today = 0;
    double latestPrice = 0; // pounds; a new debit starts with it
    double previousHolding = 0;
    struct Account {
        std::string name;
        uint16_t number = 0;
    };
    std::vector<Account> accounts;
    uint16_t cashAccount = 0;
    std::optional<TransactionFields> record; // the record edited
    // The shares of the chosen line held at the end of a date, the edited record left out; a sale
    // of more asks first. None: no check.
    std::function<double(PackedDate date, int line)> holdingOn;
};

class CTransactionRecord : public QDialog {
    Q_OBJECT
public:
    CTransactionRecord(const TransactionDialogSetup& setup, QWidget* parent = nullptr);

    const TransactionAnswer& answer() const { return answer_; }
    const TransactionFigures& figures() const { return figures_; }
    // The layout again (after the options changed).
    void ApplyLayout();

    void accept() override;

private:
    QLineEdit* AddNumber(int id);
    void TypeChanged();
    void ShowFigures();
    void NumberEdited(int id);
    bool PriceInPence() const;
    void DateChanged();
    void UpdateGainsChoices();
    void ToggleGains();
    void OpenOptions();
    void FillFromRecord(const TransactionFields& record);
    bool ConfirmSaleBeyondHolding(int type, PackedDate date);

    TransactionDialogSetup setup_;
    TransactionFigures figures_;
    TransactionAnswer answer_;
    QComboBox* type_ = nullptr;
    QComboBox* line_ = nullptr;
    QComboBox* cash_ = nullptr;
    CDateEdit* date_ = nullptr;
    QLineEdit* note_ = nullptr;
    QLineEdit* reference_ = nullptr;
    QCheckBox* ignore_ = nullptr;
    QCheckBox* ignorePounds_ = nullptr;
    QCheckBox* smallReceipt_ = nullptr;
    QLineEdit* ignoredAmount_ = nullptr;
    QRadioButton* pence_ = nullptr;
    QRadioButton* pounds_ = nullptr;
    QRadioButton* historic_ = nullptr;
    QRadioButton* base1965_ = nullptr;
    QRadioButton* base1982_ = nullptr;
    QLineEdit* value1965_ = nullptr;
    QLineEdit* value1982_ = nullptr;
    QWidget* gains_ = nullptr;
    QPushButton* gainsButton_ = nullptr;
    QLabel* splitText_ = nullptr;
    QLabel* hiddenCharges_ = nullptr;
    std::vector<std::pair<int, QLineEdit*>> numbers_;
    std::vector<std::pair<int, QLabel*>> labels_;
    int typeShown_ = -1;
};

// Control ids of the figures.
namespace TransactionControl {
constexpr int Type = 1128, Shares = 1129, Price = 1130, Total = 1131, Broker = 1132, Stamp = 1133, Levy = 1134;
constexpr int Previous = 1716, RateOrNew = 1717, CreditOrRatio = 1718;
constexpr int Line = 2140, Cash = 2141, Date = 2540, Note = 2131, Reference = 2132;
constexpr int Ignore = 1681, IgnorePounds = 1684, SmallReceipt = 1682, IgnoredAmount = 1685;
constexpr int Pence = 2134, Pounds = 2135;
constexpr int Historic = 2839, Base1965 = 1719, Base1982 = 1720, Value1965 = 1721, Value1982 = 1722;
constexpr int Options = 1715, ShowGains = 1714, GainsHelp = 26417;
} // namespace TransactionControl

} // namespace qv
