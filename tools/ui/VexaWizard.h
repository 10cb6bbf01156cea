// The special edition's set-up wizard: which list table and which two graph settings the edition's
// own replace; Finish stores the choice and switches the edition on.
#pragma once

#include "tools/options/EditionWizardRules.h"
#include "tools/options/OptionRules.h"

#include <QWizard>

class QLabel;
class QListWidget;

namespace qv {

class CVexaWizard : public QWizard {
    Q_OBJECT
public:
    enum Page { Welcome = 0, Table = 1, Graphs = 2, Finish = 3 };
    static constexpr int kDocumentation = 3266, kTableText = 4094, kTables = 4093, kGraphs = 4095;

    explicit CVexaWizard(QWidget* parent = nullptr);

    QListWidget* tables() const { return tables_; }
    QListWidget* graphs() const { return graphs_; }
    QLabel* tableText() const { return tableText_; }
    QLabel* graphText() const { return graphText_; }
    // The choice the pages hold: the table (255 for none) and the two graph settings in order.
    EditionChoice choice() const;

protected:
    void initializePage(int id) override;

private:
    void GraphSelectionChanged();

    QListWidget *tables_, *graphs_;
    QLabel *tableText_, *graphText_;
    GraphPairChoice pair_;
};

// Runs the wizard; on Finish the choice is stored and the edition switched on. True on Finish.
bool RunVexaWizard();

} // namespace qv
