// The "Add an Intraday column" dialogs: the advanced one (697) with its four tabs of radio groups and
// the basic one (698), which hand one choice back and forth, and `AddIntradayColumn`, which runs them
// for a list view's command 26809.
#pragma once

#include "realtime/IntradayColumnSpec.h"

#include <QDialog>

#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;

namespace qv {

// Puts a prepared column record into the list; false when the list took none.
using IntradayColumnInsert = std::function<bool(std::span<const uint8_t> record)>;

// Which dialog and which tab of the advanced one the user took last (program-wide).
struct IntradayColumnMemory {
    bool advanced = false;
    int tab = 0;
};
IntradayColumnMemory& TheIntradayColumnMemory();

class CIntradayColumnDlgBase : public QDialog {
public:
    CIntradayColumnDlgBase(const CIntradayColumnSpec& spec, IntradayColumnInsert insert, QWidget* parent);

    const CIntradayColumnSpec& spec() const { return spec_; }
    const std::string& daysText() const { return daysText_; }
    void SetDaysText(const std::string& text) { daysText_ = text; }
    bool columnAdded() const { return added_; }
    void SetColumnAdded(bool added) { added_ = added; }
    // The user asked for the other dialog; where its switching button stood on the screen.
    bool switchAsked() const { return switch_; }
    QPoint switchPosition() const { return switchPos_; }
    // Places the dialog so that its switching button stands where the other one's did.
    void PlaceSwitchButtonAt(QPoint screen);

    // The column record of the spec, from the shares catalogue's template of its letter; empty when
    // the template is not sound.
    std::vector<uint8_t> BuildColumn() const;

    void accept() override;
    // "Add Now": builds the column, inserts it at once and leaves the dialog open.
    void AddNow();

protected:
    // After every choice: the radio buttons and the groups shown follow the spec.
    virtual void ShowSpec() = 0;
    // The days box's text into the spec; false never (a count above 1000 is cut, with a message).
    void ReadDays();
    void Chose();
    void SwitchDialog(QPushButton* button);

    CIntradayColumnSpec spec_;
    std::string daysText_;
    IntradayColumnInsert insert_;
    QPushButton* switchButton_ = nullptr;

private:
    bool added_ = false;
    bool switch_ = false;
    QPoint switchPos_;
};

class CIntradayColumnAdvDlg : public CIntradayColumnDlgBase {
public:
    static constexpr int kTemplateId = 697;
    static constexpr const char* kVolumePrompt =
        "Select one option from each of the boxes to specify the real time column type";
    static constexpr const char* kPricePrompt = "Select one option from each of the boxes to specify the intraday column";

    CIntradayColumnAdvDlg(const CIntradayColumnSpec& spec, IntradayColumnInsert insert, QWidget* parent = nullptr);

    // One radio choice, as a click on its button.
    void Choose(IntradayChoice choice);
    // Switches to tab 0-3, which chooses the tab's first control.
    void SelectTab(int tab);
    int currentTab() const;
    QAbstractButton* button(IntradayChoice choice) const;
    QGroupBox* group(const char* title) const;
    QLineEdit* daysEdit() const { return daysEdit_; }
    QLabel* volumePrompt() const { return volumePrompt_; }
    QLabel* pricePrompt() const { return pricePrompt_; }

protected:
    void ShowSpec() override;

private:
    QGroupBox* AddGroup(const char* title, std::initializer_list<std::pair<IntradayChoice, const char*>> buttons);
    static int TabOf(IntradayChoice main);
    QTabBar* tabs_;
    std::map<IntradayChoice, QAbstractButton*> buttons_;
    std::map<std::string, QGroupBox*> groups_;
    QLineEdit* daysEdit_;
    QLabel *volumePrompt_, *pricePrompt_;
    bool showing_ = false;
};

class CIntradayColumnDlg : public CIntradayColumnDlgBase {
public:
    static constexpr int kTemplateId = 698;

    CIntradayColumnDlg(const CIntradayColumnSpec& spec, IntradayColumnInsert insert, QWidget* parent = nullptr);
    void Choose(IntradayBasic choice);
    QAbstractButton* button(IntradayBasic choice) const;

protected:
    void ShowSpec() override;

private:
    QButtonGroup* radios_;
};

// Command 26809 of a list view: the remembered dialog, switching between the two until OK or Cancel;
// on OK the column is inserted unless "Add Now" already added it and nothing was chosen since.
void AddIntradayColumn(QWidget* parent, const IntradayColumnInsert& insert);
// Gives the list views' command 26809 these dialogs.
void InstallIntradayColumnDialogs();

} // namespace qv
