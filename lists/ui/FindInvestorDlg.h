// "Find an investor": the investor's name narrows a list of the dealings view's rows as the user types.
#pragma once

#include "lists/InvestorSearch.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qv {

class CFindInvestorDlg : public QDialog {
public:
    // Marks the rows' entries in the block; the seed text starts the search at once.
    CFindInvestorDlg(std::span<const RecordCursor> rows, const QString& seed, QWidget* parent = nullptr);

    // The row record of the chosen dealing, or null.
    uint8_t* chosen() const { return chosen_; }
    QLineEdit* edit() const { return edit_; }
    QListWidget* list() const { return list_; }
    QCheckBox* firstLetterBox() const { return firstLetter_; }
    void refill();

private:
    void onSelection(int row);

    std::vector<InvestorMatch> matches_;
    uint8_t* chosen_ = nullptr;
    QLineEdit* edit_ = nullptr;
    QListWidget* list_ = nullptr;
    QCheckBox* firstLetter_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// Runs the dialog for a dealings view's rows; the index of the chosen row, or -1.
int32_t RunFindInvestor(std::span<const RecordCursor> rows, const QString& seed, QWidget* parent);

} // namespace qv
