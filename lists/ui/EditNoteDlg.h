// "Edit a note": one line of up to 200 characters for a note of a share (or any owner), with
// "Delete" to clear it.
#pragma once

#include <QDialog>

class QLineEdit;

namespace qv {

class CEditNoteDlg : public QDialog {
    Q_OBJECT
public:
    // Titled "Edit <what> for <owner>"; without an owner "Edit Text", and "Delete" is greyed.
    CEditNoteDlg(const QString& what, const QString& owner, const QString& text, QWidget* parent = nullptr);
    QString text() const;
    // The dialog was left by "Delete".
    bool deleted() const { return deleted_; }

private:
    QLineEdit* edit_;
    bool deleted_ = false;
};

} // namespace qv
