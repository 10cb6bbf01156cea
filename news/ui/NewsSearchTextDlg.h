// The share search-text editor and the list of shares whose search text the user changed.
#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace qv {

// "Edit share's news search text": the share's own text, or its default with "Use default search".
class CNewsSearchTextDlg : public QDialog {
    Q_OBJECT
public:
    CNewsSearchTextDlg(uint32_t shareId, QWidget* parent = nullptr);

    QLineEdit* textField() const { return text_; }
    QCheckBox* defaultBox() const { return default_; }
    QString countText() const;

    void accept() override;

private:
    void UseDefault(bool on);

    uint32_t shareId_;
    QString own_;
    QString default_text_;
    QLineEdit* text_ = nullptr;
    QCheckBox* default_ = nullptr;
    QLabel* count_ = nullptr;
};

// "Shares with modified search text": pick one to edit, or clear them all.
class CNewsModifiedSharesDlg : public QDialog {
    Q_OBJECT
public:
    explicit CNewsModifiedSharesDlg(QWidget* parent = nullptr);

    QListWidget* shareList() const { return list_; }
    QString countText() const;
    void EditSelected();
    void ClearAll();

private:
    void Fill();

    QListWidget* list_ = nullptr;
    QLabel* count_ = nullptr;
};

// "%d shares have modified search text".
QString ModifiedSharesText();

} // namespace qv
