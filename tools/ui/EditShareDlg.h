// The share editor: "Share fundamentals" and "Share price" pages over one imported item, with the
// price adjustment and anomaly-level dialogs its price page opens.
#pragma once

#include "tools/ShareEditing.h"

#include <QDialog>

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace qv {

class CDateEdit;
class CPriceListBox;

class CEditShareFun : public QWidget {
    Q_OBJECT
public:
    static constexpr int kName = 1507, kSedol = 1500, kShares = 1505, kNms = 1501;
    static constexpr int kType = 1541, kListing = 1512, kCurrency = 1514, kEvent = 1516;

    CEditShareFun(const ShareFundamentals& fundamentals, QWidget* parent = nullptr);
    // The fields read back; none (with the message shown) when one cannot be read.
    std::optional<ShareFundamentals> Read() const;
    QLineEdit* field(int id) const;
    QComboBox* list(int id) const;

private:
    QLineEdit *name_, *sedol_, *shares_, *nms_;
    QComboBox *type_, *listing_, *currency_, *event_;
};

class CEditSharePrice : public QWidget {
    Q_OBJECT
public:
    CEditSharePrice(EditedItem& item, QWidget* parent = nullptr);

    CPriceListBox* list() const { return list_; }
    // The buttons' operations, each on the selected row.
    void Adjust();
    void Interpolate();
    void NextAnomaly();
    void SetStart();
    CDateEdit* startField() const { return start_; }

    // The price adjustment dialog, replaceable by tests: given the selected row's date, the date to
    // adjust through and the multiplier (none when cancelled).
    struct Adjustment {
        PackedDate date = 0;
        double multiplier = 1;
    };
    using AdjustChooser = std::function<std::optional<Adjustment>(PackedDate date)>;
    static void SetAdjustChooser(AdjustChooser chooser);

private:
    void Refill();
    int SelectedElement() const;

    EditedItem& item_;
    CPriceListBox* list_;
    CDateEdit* start_;
};

class CEditShare : public QDialog {
    Q_OBJECT
public:
    // Opens on the record; `title` the sheet's caption.
    CEditShare(const uint8_t* record, QWidget* parent = nullptr);

    void accept() override;
    // The rebuilt record after OK.
    const std::vector<uint8_t>& record() const { return result_; }
    QTabWidget* tabs() const { return tabs_; }
    CEditShareFun* fundamentals() const { return fun_; }
    CEditSharePrice* prices() const { return price_; }
    EditedItem& item() { return item_; }

private:
    EditedItem item_;
    QTabWidget* tabs_;
    CEditShareFun* fun_;
    CEditSharePrice* price_;
    std::vector<uint8_t> result_;
};

class CPriceAdjustDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFactor = 1502, kMultiply = 1822, kDivide = 1823, kDate = 1829;

    CPriceAdjustDlg(PackedDate date, QWidget* parent = nullptr);
    void accept() override;
    double multiplier() const { return multiplier_; }
    // The date the prices are adjusted through, as the user left it.
    PackedDate date() const { return date_; }
    QLineEdit* factorField() const { return factor_; }
    QRadioButton* divideButton() const { return divide_; }
    CDateEdit* dateField() const { return dateField_; }

private:
    QLineEdit* factor_;
    QRadioButton* multiply_;
    QRadioButton* divide_;
    CDateEdit* dateField_;
    double multiplier_ = 1;
    PackedDate date_ = 0;
};

class CAnomalyLevelDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLevel = 1520;

    explicit CAnomalyLevelDlg(int level, QWidget* parent = nullptr);
    void accept() override;
    int level() const { return level_; }
    QLineEdit* levelField() const { return field_; }

private:
    QLineEdit* field_;
    int level_;
};

// Runs the sheet on a record; the rebuilt record on OK, none on Cancel.
std::optional<std::vector<uint8_t>> RunEditShare(const uint8_t* record);
// Runs the anomaly-level dialog on the program-wide cutoff.
void RunAnomalyLevelDialog();

} // namespace qv
