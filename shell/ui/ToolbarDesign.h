// "Toolbar design": edits a working copy of all toolbars (buttons, side, size, views, names), which
// OK copies back into the program's toolbars and writes to "Toolbar.cfg"; Cancel changes nothing.
#pragma once

#include "shell/UserToolbars.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace qv {

class CAccelListBox;

class CToolbarDesign : public QDialog {
public:
    CToolbarDesign(const ToolbarSet& program, int32_t viewKind, QWidget* parent = nullptr);

    // OK's work: the shown toolbar saved, empty toolbars dropped, the copy put into `program` and
    // the file written.
    void Apply(ToolbarSet& program);

    void SetTab(int tab);
    void SelectToolbar(int index);
    void AddSelected();      // ">"
    void RemoveSelected();   // "<"
    void AddAll();           // ">>"
    void RemoveAll();        // "<<"
    void MoveSelected(int by); // "up" -1, "down" +1
    void NewToolbar();
    void RenameToolbar();
    void DeleteToolbar();
    void DefaultButtons();

    const ToolbarSet& copy() const { return copy_; }
    CAccelListBox* available() const { return available_; }
    CAccelListBox* included() const { return included_; }
    QPushButton* button(int id) const;

private:
    void LoadToolbar();
    void FillAvailable();
    void SaveShown();
    void UpdateEnables();
    std::vector<uint16_t> IncludedCodes() const;
    QString EntryText(uint16_t code) const;

    ToolbarSet copy_;
    int32_t viewKind_;
    bool loading_ = false;
    int tab_ = 0;
    QComboBox* toolbars_;
    QComboBox* side_;
    QButtonGroup* sizes_;
    std::array<QCheckBox*, 10> views_{};
    QCheckBox* hide_;
    QTabBar* tabs_;
    CAccelListBox* available_;
    CAccelListBox* included_;
    QComboBox* portfolios_;
};

} // namespace qv
