// "Add Criteria" / "Edit Criteria": a criterion's kind and parameter with the kind's settings (average
// type and periods, result year and type, advanced variant, two dates, the look-back period) and, when
// editing, its Low and High bounds.
#pragma once

#include "core/PackedDate.h"
#include "datamining/AddCriteriaRules.h"
#include "lists/ColumnDialogRules.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {

class CDateChoiceGroup;

class CAddCriteriaDlg : public QDialog {
    Q_OBJECT
public:
    // The fields the dialog opens on and, after OK, gives back; `reference` is the date the period
    // words count back from.
    CAddCriteriaDlg(const CriterionDialogFields& fields, bool editMode, PackedDate reference, QWidget* parent = nullptr);

    const CriterionDialogFields& fields() const { return fields_; }
    void accept() override;
    // Chooses a kind as the user does, keeping the old kind's parameter and setting.
    void chooseKind(int kind);

private:
    void build();
    void fillParameters();
    void fillResultLists();
    void fillVariants();
    void showControls();
    void showFields(const CriterionDialogFields& f);
    uint32_t currentSetting() const;
    void restoreSetting(uint32_t setting);
    void editLookBack();
    void restoreDefaults();
    void refreshLookBackWords();

    CriterionDialogFields fields_;
    bool editMode_;
    PackedDate reference_;
    int kind_ = 0;
    KindChoiceMemory memory_;
    HighLowPeriod custom_{1, 250};

    QComboBox* kinds_ = nullptr;
    QComboBox* parameters_ = nullptr;
    QComboBox* variants_ = nullptr;
    QComboBox* years_ = nullptr;
    QComboBox* settings_ = nullptr;
    QGroupBox* average_ = nullptr;
    QComboBox* averageType_ = nullptr;
    QLineEdit* periodOne_ = nullptr;
    QLineEdit* periodTwo_ = nullptr;
    CDateChoiceGroup* firstDate_ = nullptr;
    CDateChoiceGroup* secondDate_ = nullptr;
    QGroupBox* lookBack_ = nullptr;
    QRadioButton* globalLookBack_ = nullptr;
    QRadioButton* customLookBack_ = nullptr;
    QPushButton* editLookBack_ = nullptr;
    QLabel* globalWords_ = nullptr;
    QLineEdit* low_ = nullptr;
    QLineEdit* high_ = nullptr;
};

// Installs the dialog as the one EditCriterion opens.
void InstallCriterionDialog();

} // namespace qv
