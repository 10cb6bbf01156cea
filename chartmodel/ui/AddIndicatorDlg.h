// The add-indicator dialogs: the plain "Add Indicator" dialog and the thirteen dialogs of the types
// with parameters of their own, over one base that holds the record, its copy for Cancel, the target
// radios and the colour buttons. The dialog edits a record of the caller's; Preview hands the applied
// record to the caller to write where it stands and redraw.
#pragma once

#include "chartmodel/IndicatorPlacement.h"
#include "chartmodel/IndicatorRecord.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {

class CStyleButton;

struct AddIndicatorContext {
    bool editing = false;          // the record lies in the setting
    bool openedFromWindow = false; // the command named an existing record
    WindowUsage usage;
    uint32_t background = 0xFFFFFF;
    bool dailyChart = true;
    // Writes an applied (or, on Cancel, restored) record where it stands and redraws.
    std::function<void(const IndicatorRecord&)> preview;
};

class CAddIndicatorDlg : public QDialog {
    Q_OBJECT
public:
    // The dialog of the type (the plain one for every type without its own), set up for the record.
    static std::unique_ptr<CAddIndicatorDlg> Create(IndicatorRecord& record, const AddIndicatorContext& context,
                                                    QWidget* parent = nullptr);
    ~CAddIndicatorDlg() override;

    // Validates the fields and writes them into the record; false (a message shown, the record
    // untouched) when a field is out of range.
    bool Apply();
    int target() const { return target_; }
    uint32_t helpTopic() const { return helpTopic_; }
    bool locked() const { return locked_; }

    void accept() override;
    void reject() override;

protected:
    CAddIndicatorDlg(int templateId, const QString& caption, IndicatorRecord& record, const AddIndicatorContext& context,
                     QWidget* parent);

    // Set-up after construction: the copy, title, default styles and the controls' values.
    void Init();
    // The derived dialog's fields from the record (defaults for a new one) and into it.
    virtual void LoadFields(const IndicatorRecord&) {}
    virtual bool ReadFields(IndicatorRecord&) { return true; }
    virtual void LockFields() {}
    virtual int ColourCount() const { return 1; }

    bool isNew() const { return !context_.editing; }
    int Initial(int stored, int fallback) const { return isNew() ? fallback : stored; }

    // Controls, each named by its id.
    QLabel* AddLabel(int id, const QString& text);
    QLineEdit* AddNumber(int id, const QString& label, QLabel** labelOut = nullptr);
    QCheckBox* AddCheck(int id, const QString& text);
    // A button across the fields' row; Enter stays with OK while it has the focus.
    QPushButton* AddButton(int id, const QString& text);
    QComboBox* AddList(int id, const QString& label, const QStringList& items);
    QRadioButton* AddRadio(int id, const QString& text, QButtonGroup* group);
    // A colour/style button for style word `word` (1-4); colourOnly makes it a colour box.
    CStyleButton* AddColour(int id, const QString& label, int word, bool colourOnly = false);
    // The periods field 1072: 1..999, or low..999.
    void AddPeriods(int fallback, int low = 1);
    void HidePeriods();
    // A whole number in low..high, else "Enter a number between low and high" with the focus back.
    bool ReadNumber(QLineEdit* edit, int low, int high, int& value);
    static void SetU8Low(int16_t& field, int value) { field = int16_t((field & 0xFF00) | (value & 0xFF)); }

    IndicatorRecord& record_;
    IndicatorRecord copy_;
    AddIndicatorContext context_;
    int type_;
    bool locked_;
    bool light_;
    int target_ = kTargetNewWindow;
    uint32_t helpTopic_;
    QGridLayout* fields_;
    QLineEdit* periods_ = nullptr;
    QLabel* periodsLabel_ = nullptr;
    QLabel* colourLabel_ = nullptr;
    int periodsLow_ = 1;
    int periodsFallback_ = 20;
    QPushButton* previewButton_ = nullptr;
    QCheckBox* setDefault_ = nullptr;
    std::vector<QRadioButton*> targets_;

private:
    struct ColourButton {
        CStyleButton* button;
        int word;
        bool colourOnly;
    };
    void BuildCommon();
    void SetTargets();
    int ReadTarget() const;
    std::vector<ColourButton> colours_;
    int row_ = 0;
};

// The item that a new correlation, beta or relative-to record starts from: the last chosen in any such
// dialog (the FTSE 100 index at start).
struct OtherItem {
    uint16_t id = 0xB605;
    uint16_t type = 0;
};
OtherItem& LastOtherItem();

} // namespace qv
