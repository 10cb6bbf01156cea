// "Enter name of Filter": one prompt and one edit; the caller sets the prompt and the starting
// name and reads the name after OK. For filters the caption tells a new name from a renaming, and with
// the name check OK waits for a name that no filter has yet.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class CFilterNameDlg : public QDialog {
public:
    explicit CFilterNameDlg(QWidget* parent = nullptr);
    void SetPrompt(const QString& prompt);
    void SetName(const QString& name);
    QString Name() const;
    QLineEdit* edit() const { return edit_; }
    // "Edit Filter Name" when renaming, else "Enter Filter Name".
    void SetRenaming(bool renaming);
    // OK only while the name is not empty and no filter of the list has exactly that name (letter
    // case counts); tested again on every change of the text.
    void SetNameCheck(bool on);
    // Refused, like its greyed button, while the name check fails.
    void accept() override;

private:
    void checkName();

    QLabel* prompt_;
    QLineEdit* edit_;
    QPushButton* ok_ = nullptr;
    bool nameCheck_ = false;
};

} // namespace qv
