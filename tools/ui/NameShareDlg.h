// "Please give this share a name": the name of an item whose import file names none.
#pragma once

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;

namespace qv {

class CNameShareDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFileName = 1522, kName = 1521;
    static constexpr int kNameLimit = 50;

    explicit CNameShareDlg(const QString& fileName, QWidget* parent = nullptr);

    QLineEdit* nameField() const { return name_; }
    QString name() const;

private:
    QLineEdit* name_;
};

// Runs the dialog for the file; the typed name (Windows-1252), none when cancelled.
std::optional<std::string> AskImportName(const std::string& fileName);

} // namespace qv
