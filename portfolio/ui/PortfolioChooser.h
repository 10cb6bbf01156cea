// The portfolio chooser: the one dialog through which the user names a portfolio, in a mode that
// sets its wording and what it lists (with new portfolios and groups, the filter list, the pre-set
// buttons, Delete and the advanced part).
#pragma once

#include <QDialog>

#include <cstdint>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace qv {

struct Portfolio;

class CPortfolioChooser : public QDialog {
public:
    explicit CPortfolioChooser(QWidget* parent = nullptr);

    // Sets the mode's wording and fills the lists; modes 0, 3 and 6 also set the extended flag.
    void SetPortfolioChooserMode(int mode);
    // Shows the Delete button (cleared when the dialog opens).
    void SetShowDelete(bool show);
    // The portfolio whose group narrows mode 9 and which merge leaves out (by default the current
    // share list's).
    void SetCurrentPortfolio(const Portfolio* current);
    // 1 (the default): a new portfolio made here becomes an undo step of its own.
    void SetUndoFlag(int flag) { undoFlag_ = flag; }

    Portfolio* chosen() const { return chosen_; }
    int mode() const { return mode_; }
    bool extended() const { return extended_; }
    QListWidget* portfolioList() const { return portfolios_; }
    QListWidget* filterList() const { return filters_; }

    void accept() override;
    void reject() override;
    // Fills both lists again and lays the window out.
    void Refill();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The mode's prompt, title and help, and the lists filled for it.
    void ApplyMode();
    void Activate(bool portfolioList);
    void UpdateOk();
    void Layout();
    void ChoosePreset(uint16_t number);
    void DeleteOne();
    void ToggleAdvanced();
    bool AcceptPortfolio();
    bool AcceptFilter();

    int mode_ = 0;
    bool extended_ = false;
    bool showDelete_ = false;
    int undoFlag_ = 1;
    bool activePortfolios_ = true;
    bool currentGiven_ = false;
    const Portfolio* current_ = nullptr;
    Portfolio* chosen_ = nullptr;
    QLabel* prompt_;
    QListWidget* portfolios_;
    QLabel* filterTitle_;
    QListWidget* filters_;
    QGroupBox* presets_;
    QPushButton* advanced_;
    QPushButton* delete_;
    QPushButton* ok_;
};

// The chooser run modally in a mode; the chosen portfolio, null on Cancel.
Portfolio* RunPortfolioChooser(int mode, bool showDelete, QWidget* parent, const Portfolio* current = nullptr);

} // namespace qv
