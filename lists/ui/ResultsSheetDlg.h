// The results sheet: the "Headline results" and "Advanced results && ratios" pages through which a
// result column is added or changed, with "Add Now" for several columns in one visit.
#pragma once

#include "lists/ResultsSheetRules.h"

#include <QDialog>
#include <QWidget>

#include <functional>
#include <vector>

class QButtonGroup;
class QLabel;
class QPushButton;
class QTabWidget;

namespace qv {

class CResultsBasic : public QWidget {
    Q_OBJECT
public:
    explicit CResultsBasic(QWidget* parent = nullptr);
    BasicResultChoice choice() const { return choice_; }
    void setChoice(const BasicResultChoice& choice);
    bool periodEnabled(int period) const;
    bool typeEnabled(int type) const;
    QString description() const;

signals:
    void changed();

private:
    void readButtons();
    void applyRules();

    BasicResultChoice choice_;
    QButtonGroup* years_;
    QButtonGroup* periods_;
    QButtonGroup* figures_;
    QButtonGroup* types_;
};

class CResultsAdvanced : public QWidget {
    Q_OBJECT
public:
    explicit CResultsAdvanced(QWidget* parent = nullptr);
    AdvancedResultChoice choice() const { return choice_; }
    void setChoice(const AdvancedResultChoice& choice);
    bool yearEnabled(int year) const;
    bool typeEnabled(int type) const;
    bool optionShown(int option) const;
    QString optionLabel(int option) const;
    QString description() const;

signals:
    void changed();

private:
    void readButtons();
    void applyRules();

    AdvancedResultChoice choice_;
    QButtonGroup* years_;
    QButtonGroup* items_;
    QButtonGroup* options_;
    QButtonGroup* types_;
};

class CResultsV2 : public QDialog {
    Q_OBJECT
public:
    // adding: "Add a result column" with "Add Now"; else "Edit a result column". page: 0 basic,
    // 1 advanced, -1 the page last used (kept in the option block when the sheet closes).
    CResultsV2(bool adding, int page, int columnCount, QWidget* parent = nullptr);
    CResultsBasic& basic() { return *basic_; }
    CResultsAdvanced& advanced() { return *advanced_; }
    int activePage() const;
    void setActivePage(int page);
    QString description() const;
    QPushButton* addNowButton() const { return addNow_; }
    // "Add Now": the caller adds the column and returns the table's new column count.
    void setAddNow(std::function<int(const CResultsV2&)> add);
    void addNow();
    void done(int result) override;

private:
    void refresh();

    CResultsBasic* basic_;
    CResultsAdvanced* advanced_;
    QTabWidget* tabs_;
    QLabel* description_;
    QPushButton* addNow_ = nullptr;
    int columnCount_;
    std::function<int(const CResultsV2&)> add_;
};

} // namespace qv
