// "Enter name of Filter": one prompt and one edit; the caller sets the prompt and the starting
// name and reads the name after OK.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace qv {

class CFilterNameDlg : public QDialog {
public:
    explicit CFilterNameDlg(QWidget* parent = nullptr);
    void SetPrompt(const QString& prompt);
    void SetName(const QString& name);
    QString Name() const;
    QLineEdit* edit() const { return edit_; }

private:
    QLabel* prompt_;
    QLineEdit* edit_;
};

} // namespace qv
