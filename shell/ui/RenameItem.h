// Two small naming dialogs: "Rename ..." names a setting, table or layout, and the function-key
// dialog chooses which of the twelve F2-F4 combinations a table or setting is saved to.
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace qv {

// The word for what is named: a view kind (0-11) or -2 for a layout; empty for an unknown kind.
QString NamedKindWord(int kind, bool dataMiningTables);

class CRenameItem : public QDialog {
    Q_OBJECT
public:
    CRenameItem(int kind, const QString& name, bool current, bool dataMiningTables = false, QWidget* parent = nullptr);

    QString name() const;
    // An unknown kind closes the dialog as cancelled as soon as it runs.
    bool kindKnown() const { return known_; }
    int exec() override;

private:
    bool known_;
    QLineEdit* edit_;
};

class CTableKey : public QDialog {
    Q_OBJECT
public:
    CTableKey(const QString& name, int keyIndex, QWidget* parent = nullptr);

    // F-key position (0 F2, 1 F3, 2 F4) + 3 x Shift + 6 x Ctrl.
    int keyIndex() const;
    QString name() const;

private:
    QLineEdit* edit_;
    QRadioButton* keys_[3];
    QCheckBox* shift_;
    QCheckBox* ctrl_;
};

} // namespace qv
