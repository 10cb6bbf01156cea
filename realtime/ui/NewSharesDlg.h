// "New Shares": the intraday store's instruments that the end-of-day database does not hold, shown
// for the user to see; OK and Cancel close it.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

namespace qv {

class CNewSharesDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kList = 3955;
    explicit CNewSharesDlg(const std::vector<std::string>& lines, QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }

private:
    QListWidget* list_;
};

// Opens the dialog on the store's new instruments; the answer changes nothing.
bool RunNewSharesDialog();

} // namespace qv
