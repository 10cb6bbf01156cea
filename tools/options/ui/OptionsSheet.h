// `COptions`: the one property sheet of the program's options, with the pages a mask chooses, OK,
// Cancel and Help and no Apply; OK keeps the sheet open on a page that refuses its values.
#pragma once

#include "tools/options/OptionRules.h"

#include <QDialog>

#include <cstdint>
#include <vector>

class QTabWidget;

namespace qv {

class COptionPage;

class COptions : public QDialog {
    Q_OBJECT
public:
    explicit COptions(uint16_t pageMask, QWidget* parent = nullptr, bool forPortfolioView = false);

    // QDialog::Accepted or Rejected.
    int DoModal();
    void accept() override;
    void done(int result) override;

    QTabWidget* tabs() const { return tabs_; }
    std::vector<OptionPage> pages() const;
    COptionPage* page(OptionPage which) const;

private:
    QTabWidget* tabs_;
    std::vector<COptionPage*> pages_;
    int shown_ = -1; // the page the user is on: leaving it checks it first
};

// Runs the sheet for the frame's options commands and the other openers; true on OK. A mask that
// chooses no page shows nothing.
bool RunOptionsSheet(uint16_t pageMask);
void InstallOptionsSheet();

} // namespace qv
