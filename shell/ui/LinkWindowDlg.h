// "Link window": picks another window whose share list the current window joins.
#pragma once

#include "shell/WindowLinking.h"

#include <QDialog>
#include <vector>

class QListWidget;

namespace qv {

class CViewBase;
struct ShareList;

class CLinkWindowDlg : public QDialog {
    Q_OBJECT
public:
    // Lists the candidates for the active view, named by the titles the function gives.
    CLinkWindowDlg(const CViewBase* active, ViewTitleFn title, QWidget* parent = nullptr);

    QListWidget* list() const { return list_; }
    // The share list of the chosen line (after OK), or null.
    ShareList* chosen() const { return chosen_; }
    // Shows the dialog modally; unattended runs answer Cancel at once.
    ShareList* Run();

    void accept() override;

private:
    QListWidget* list_;
    ShareList* chosen_ = nullptr;
};

} // namespace qv
