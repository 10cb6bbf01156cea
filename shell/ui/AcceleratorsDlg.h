// "Keyboard accelerators": gives any catalogue command a key, on a working copy of the program's
// key table that OK puts in place and writes to "Toolbar.cfg"; and "Keys available for use as
// accelerators", which shows which keys are free.
#pragma once

#include "core/DefaultAccelerators.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTabBar;

namespace qv {

class CAccelListBox;
class CShortcutKeyCtrl;

class CAcceleratorsDlg : public QDialog {
public:
    explicit CAcceleratorsDlg(QWidget* parent = nullptr);

    void SetTab(int tab);
    // Chooses the command of the code in the list.
    bool SelectCode(uint16_t code);
    // The buttons' actions; Set answers the message it showed, empty when the key was set.
    QString OnSet();
    void OnClear();
    void OnClearAll();
    void OnDefault();
    void OnAvailableKeys();
    // OK: the working table replaces the program's and the file is written.
    void Apply();

    const std::vector<AcceleratorKey>& working() const { return working_; }
    CShortcutKeyCtrl* keyField() const { return key_; }
    CAccelListBox* list() const { return list_; }
    QString systemText() const;
    QString assignedText() const;

private:
    void FillList();
    void OnCommandChosen();
    void OnKeyChanged();
    uint16_t ChosenCode() const;

    std::vector<AcceleratorKey> working_;
    QTabBar* tabs_;
    CAccelListBox* list_;
    QLabel* system_;
    QLabel* assigned_;
    CShortcutKeyCtrl* key_;
    QComboBox* portfolios_;
    int tab_ = 0;
};

class CAccelKeysDlg : public QDialog {
public:
    CAccelKeysDlg(const std::vector<AcceleratorKey>& table, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const std::vector<AcceleratorKey>& table_;
};

} // namespace qv
