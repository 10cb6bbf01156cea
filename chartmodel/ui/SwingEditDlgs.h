// The user's swing edits of a share: the list of them ("Swing edits for %s") with Add, Edit and
// Delete, and the dialog that edits one ("Edit swing event").
#pragma once

#include "chartmodel/SwingChart.h"
#include "core/DayRecord.h"

#include <QDialog>

#include <span>
#include <string>
#include <vector>

class QButtonGroup;
class QLabel;
class QListWidget;
class QPushButton;

namespace qv {

class CDateEdit;

// One edit: the date, looked up in the share's days (a date without prices disables the types and
// OK and stores date 0), and the type by its radio button.
class CEditSwingDlg : public QDialog {
public:
    CEditSwingDlg(SwingEdit& edit, const std::string& shareName, std::span<const DayRecord> days,
                  QWidget* parent = nullptr);
    void done(int result) override;
    // The date typed or chosen is looked up again (the date field does this as it changes).
    void DateChanged();

private:
    void ShowDayPrices();

    SwingEdit& edit_;
    std::span<const DayRecord> days_;
    CDateEdit* date_ = nullptr;
    QLabel* status_ = nullptr;
    QButtonGroup* types_ = nullptr;
    QPushButton* ok_ = nullptr;
    const DayRecord* day_ = nullptr;
};

// "%s\t%02i/%02i/%02i\t%s": day name, day, month, two-digit year and the type's text (none for an
// unknown type).
std::string SwingEditLine(const SwingEdit& edit);
// "Up swing", "Down swing", "Up trend", "Down trend"; empty for any other type.
const char* SwingEditTypeText(uint32_t type);

// The list, newest first. The caller's edits are sorted by date and written back on OK; the list grows
// as edits are added.
class CSwingEditListDlg : public QDialog {
public:
    CSwingEditListDlg(std::vector<SwingEdit>& edits, const std::string& shareName, std::span<const DayRecord> days,
                      QWidget* parent = nullptr);
    void done(int result) override;

    void Add();
    void Edit();
    void Delete();
    // The context menu's command (27273 add, 27281 edit, 27272 delete).
    void RunMenuCommand(uint32_t command);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Fill();
    void UpdateButtons();
    // The array index of the selected line; -1 without one.
    int SelectedEdit() const;

    std::vector<SwingEdit>& target_;
    std::vector<SwingEdit> edits_;
    std::string shareName_;
    std::span<const DayRecord> days_;
    QListWidget* list_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* edit_ = nullptr;
};

} // namespace qv
