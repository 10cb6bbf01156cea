// The program password's dialogs: "Program password settings" sets, changes or switches off the
// password; "Please enter password" asks for it.
#pragma once

#include "shell/ProgramPassword.h"

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace qv {

class CPasswordSettingsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPasswordSettingsDlg(QWidget* parent = nullptr);

    QLineEdit* currentEdit() const { return current_; }
    QLineEdit* newEdit() const { return new_; }
    QLineEdit* confirmEdit() const { return confirm_; }
    QCheckBox* lockBox() const { return lock_; }

    // OK: the settings' rules decide whether the dialog closes.
    void accept() override;

signals:
    // Help on the dialog (its topic) or on a control (its id + 0x10000).
    void helpRequested(uint32_t topic);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void tryUnlock(const QString& typed);
    void setLocked(bool locked);

    PasswordSettings settings_;
    QLineEdit* current_;
    QLineEdit* new_;
    QLineEdit* confirm_;
    QCheckBox* lock_;
};

class CPasswordEntryDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPasswordEntryDlg(QWidget* parent = nullptr);

    QLineEdit* passwordEdit() const { return edit_; }
    // The typed text, Windows-1252.
    std::string typed() const;

private:
    QLineEdit* edit_;
};

// The one "Please enter password" dialog serves every caller that asks for a password.
using CEnterPasswordDlg = CPasswordEntryDlg;

} // namespace qv
