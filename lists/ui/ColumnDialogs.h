// The list view's small column dialogs: borders and shading, the column's name, a number, the
// high/low look-back period, the date of a price, the two dates of a price change, and adding a
// price high/low column. Each only collects values; the calling command stores them.
#pragma once

#include "lists/ColumnDialogRules.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qv {

class CDateEdit;
class CStyleButton;

class CColumnStyleDlg : public QDialog {
    Q_OBJECT
public:
    // The table's own text and background colours are what "Default" puts in the colour boxes.
    CColumnStyleDlg(const ColumnAppearance& appearance, uint32_t tableText, uint32_t tableBackground,
                    QWidget* parent = nullptr);
    ColumnAppearance appearance() const;
    void setAppearance(const ColumnAppearance& appearance);
    void resetToDefault();
    // The preview: called with the dialog's settings, it returns the table drawn around the column.
    void setPreviewSource(std::function<QImage(const ColumnAppearance&, QSize)> source);

private:
    void updateEnabling();
    void refreshPreview();

    uint32_t tableText_;
    uint32_t tableBackground_;
    QCheckBox* background_;
    QCheckBox* mix_;
    QCheckBox* textColour_;
    QCheckBox* textStyle_;
    QCheckBox* bold_;
    QCheckBox* italic_;
    QCheckBox* underline_;
    CStyleButton* backgroundBox_;
    CStyleButton* textBox_;
    QComboBox* left_;
    QComboBox* right_;
    QLabel* preview_;
    std::function<QImage(const ColumnAppearance&, QSize)> previewSource_;
};

class CColumnNameDlg : public QDialog {
    Q_OBJECT
public:
    CColumnNameDlg(const QString& current, const QString& defaultName, QWidget* parent = nullptr);
    QString name() const;

private:
    QString defaultName_;
    QLineEdit* edit_;
    bool useDefault_ = false;
};

// A whole number with a prompt and a note, optionally limited to 10..1000.
class CTextEntryDlg : public QDialog {
    Q_OBJECT
public:
    CTextEntryDlg(const QString& caption, const QString& prompt, const QString& note, uint32_t helpTopic, int value,
                  bool limited, QWidget* parent = nullptr);
    int value() const;
    void accept() override;

private:
    QLineEdit* edit_;
    bool limited_;
};

// A date field for a dialog's layout, its messages going nowhere: the dialogs read it when they close.
CDateEdit* MakeDialogDateField(QWidget* parent, int controlId, PackedDate date, const char* name);

// The class library's refusal of a number outside its field's range.
QString NumberRangeMessage(int low, int high);
// Checks a whole-number field against its range; refuses with the range message and puts the focus
// there when it is outside.
bool CheckNumberField(QLineEdit* edit, int low, int high);

class CHighLowSettingsDlg : public QDialog {
    Q_OBJECT
public:
    CHighLowSettingsDlg(bool global, HighLowPeriod period, PackedDate defaultDate, QWidget* parent = nullptr);
    HighLowPeriod period() const;
    void choose(int kind);
    void accept() override;

private:
    void updateEnabling();

    QButtonGroup* kinds_;
    QLineEdit* tradingDays_;
    QLineEdit* days_;
    CDateEdit* date_;
};

// One group of the six date choices, as "Select date of price" and each half of the price change show it.
class CDateChoiceGroup;

class CPriceDateDlg : public QDialog {
    Q_OBJECT
public:
    CPriceDateDlg(int unit, int value, PackedDate defaultDate, QWidget* parent = nullptr);
    // The choice as the caller's unit and value.
    std::pair<int, int> choice() const;
    CDateChoiceGroup& group() { return *group_; }
    void accept() override;

private:
    CDateChoiceGroup* group_;
};

class CPriceChangeDlg : public QDialog {
    Q_OBJECT
public:
    CPriceChangeDlg(std::pair<int, int> first, std::pair<int, int> second, PackedDate firstDate, PackedDate secondDate,
                    QWidget* parent = nullptr);
    std::pair<int, int> first() const;
    std::pair<int, int> second() const;
    CDateChoiceGroup& firstGroup() { return *first_; }
    CDateChoiceGroup& secondGroup() { return *second_; }
    void accept() override;

private:
    CDateChoiceGroup* first_;
    CDateChoiceGroup* second_;
};

class CDateChoiceGroup : public QWidget {
    Q_OBJECT
public:
    CDateChoiceGroup(const QString& title, bool firstOfChange, PackedDate defaultDate, int idBase, QWidget* parent);
    void setChoice(int unit, int value);
    std::pair<int, int> choice() const;
    int selected() const;
    void select(int choice);
    // Empty when the chosen field holds a number within its range, else the refusal.
    QString check() const;
    // Names the six choices and their fields (the date field first) by control ids.
    void nameControls(const std::array<int, 6>& choiceIds, const std::array<int, 6>& fieldIds);
    // Lets the distances start at 0 instead of 1.
    void allowZero() { lowest_ = 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QButtonGroup* choices_;
    CDateEdit* date_;
    std::array<QLineEdit*, 6> numbers_{};
    int lowest_ = 1;
};

// Where the high/low dialogs keep the program-wide periods; the caller reads and stores them.
struct HighLowPeriods {
    HighLowPeriod global{1, 250};
    HighLowPeriod lastColumn{1, 250};
};

class CHighLowColumnDlg : public QDialog {
    Q_OBJECT
public:
    // A new column: global period, the display and highs/lows given, the last column period offered.
    CHighLowColumnDlg(HighLowPeriods& periods, bool lows, int display, PackedDate defaultDate, QWidget* parent = nullptr);
    // An existing column.
    CHighLowColumnDlg(HighLowPeriods& periods, int fieldCode, int subKind, HighLowPeriod own, PackedDate defaultDate,
                      QWidget* parent = nullptr);
    bool lows() const;
    int display() const;
    bool customPeriod() const;
    HighLowPeriod ownPeriod() const { return own_; }
    // The column's field code and sub-kind: a global code, or 94 with sub-kind display x 2 + lows.
    std::pair<int, int> fieldCodeAndSubKind() const;
    void editGlobal();
    void editOwn();

private:
    void build(bool lows, int display, bool custom);
    void refreshButtons();

    HighLowPeriods& periods_;
    HighLowPeriod own_;
    PackedDate defaultDate_;
    QButtonGroup* highLow_ = nullptr;
    QButtonGroup* display_ = nullptr;
    QButtonGroup* source_ = nullptr;
    std::array<QRadioButton*, 4> displayButtons_{};
    QPushButton* globalButton_ = nullptr;
    QPushButton* ownButton_ = nullptr;
};

// "Select date of volume": the date of a volume-on-a-date column, as the six date choices.
class CVolumeDateDlg : public QDialog {
    Q_OBJECT
public:
    CVolumeDateDlg(int unit, int value, PackedDate defaultDate, QWidget* parent = nullptr);
    std::pair<int, int> choice() const;
    CDateChoiceGroup& group() { return *group_; }
    void accept() override;

private:
    CDateChoiceGroup* group_;
};

// "Select length of volume average": the trading days an average-volume column spans (2..240).
class CVolumeAverageDlg : public QDialog {
    Q_OBJECT
public:
    CVolumeAverageDlg(int days, QWidget* parent = nullptr);
    int days() const;
    void accept() override;

private:
    QLineEdit* days_;
};

} // namespace qv
