// The special edition's set-up wizard.
#include "tools/ui/VexaWizard.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "core/ConfigState.h"
#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QWizardPage>

namespace qv {
namespace {

constexpr const char* kCaption = "Ludrin Ossery Special Edition";

QWizardPage* MakePage(const char* id, std::initializer_list<QWidget*> widgets)
{
    auto* page = new QWizardPage;
    page->setObjectName(QString::fromLatin1(id));
    auto* layout = new QVBoxLayout(page);
    for (QWidget* w : widgets) {
        w->setParent(page);
        layout->addWidget(w);
    }
    layout->addStretch();
    return page;
}

QLabel* Text(const char* text)
{
    auto* label = new QLabel(QString::fromLatin1(text));
    label->setWordWrap(true);
    return label;
}

} // namespace

CVexaWizard::CVexaWizard(QWidget* parent)
    : QWizard(parent), tables_(new QListWidget), graphs_(new QListWidget), tableText_(Text("")), graphText_(Text(""))
{
    setObjectName(QStringLiteral("850"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setWizardStyle(QWizard::ClassicStyle);
    tables_->setObjectName(QString::number(kTables));
    graphs_->setObjectName(QString::number(kGraphs));
    tableText_->setObjectName(QString::number(kTableText));
    graphs_->setSelectionMode(QAbstractItemView::MultiSelection);
    const ConfigState& config = Config();
    for (size_t i = 0; i < kSettingSlots; ++i) {
        tables_->addItem(FromCp1252(config.listTables.designs[i].name.value_or("")));
        graphs_->addItem(FromCp1252(config.dailyGraphs.names[i].value_or("")));
    }
    setPage(Welcome, MakePage("850", {Text("Welcome to the Ludrin Ossery Special Edition of Quorvantis."),
                                  Text("This special edition of Quorvantis contains 1 list table, 2 graph settings and 3 "
                                       "Data Mining filters."),
                                  Text("This wizard will help you set up Ludrin Ossery's settings so you can start using them "
                                       "in your copy of Quorvantis."),
                                  Text("You can enable or disable these features later from the Ludrin Ossery tab of the "
                                       "Options dialog.")}));
    setPage(Table, MakePage("27268", {Text("First, please select which list table should be replaced by Ludrin Ossery's list table."),
                                  tableText_, tables_,
                                  Text("Your own table is kept, and you can choose another table later from the Options "
                                       "dialog.")}));
    setPage(Graphs, MakePage("27269", {Text("Now, please select two graph settings to be replaced by Ludrin Ossery's settings."),
                                   graphText_, graphs_}));
    setPage(Finish, MakePage("27270", {Text("Ludrin Data Mining filters are available from the Select Filter button in Data Mining."),
                                   Text("Setup is now complete. Click the Finish button below to save your settings.")}));
    for (int id : pageIds())
        page(id)->setTitle(QString::fromLatin1(kCaption));
    setOption(QWizard::HaveCustomButton1);
    setButtonText(QWizard::CustomButton1, QStringLiteral("Documentation"));
    button(QWizard::CustomButton1)->setObjectName(QString::number(kDocumentation));
    button(QWizard::CustomButton1)->setToolTip(QStringLiteral("Click this button to open the documentation"));
    connect(this, &QWizard::customButtonClicked, this, [] { ShowDialogHelp(0x10000 + kDocumentation); });
    connect(graphs_, &QListWidget::itemSelectionChanged, this, &CVexaWizard::GraphSelectionChanged);
}

void CVexaWizard::initializePage(int id)
{
    const ConfigState& config = Config();
    if (id == Table) {
        const std::optional<uint8_t> unused = FirstUnusedListTable(config.listTables);
        tableText_->setText(unused ? QStringLiteral("Table %1 appears not to be in use. To replace this table just click Next. "
                                                    "If you want to use a different table, select it below.")
                                         .arg(*unused + 1)
                                   : QStringLiteral("Quorvantis couldn't find an unused list table. Please a table to "
                                                    "replace below."));
        tables_->setCurrentRow(unused.value_or(3));
    } else if (id == Graphs) {
        std::array<bool, kSettingSlots> differs{};
        for (size_t i = 0; i < kSettingSlots; ++i)
            differs[i] = GraphSettingDiffersFromDefault(config.dailyGraphs.records[i], false);
        const std::optional<uint8_t> pair = FirstUnusedGraphPair(differs);
        graphText_->setText(pair ? QStringLiteral("Quorvantis found two sequential unused graph settings. To replace these "
                                                  "settings just click Next.")
                                 : QStringLiteral("Quorvantis couldn't find two unused graph settings that were sequential."));
        const uint8_t first = pair.value_or(3);
        pair_ = {first, uint8_t(first + 1)};
        GraphSelectionChanged();
    }
    QWizard::initializePage(id);
}

void CVexaWizard::GraphSelectionChanged()
{
    // A newly selected entry joins the two; a deselected one of the two comes back.
    std::vector<uint8_t> added;
    for (int row = 0; row < graphs_->count(); ++row)
        if (graphs_->item(row)->isSelected() && !pair_.selected(uint8_t(row)))
            added.push_back(uint8_t(row));
    for (uint8_t row : added)
        pair_.select(row);
    const QSignalBlocker block(graphs_);
    for (int row = 0; row < graphs_->count(); ++row)
        graphs_->item(row)->setSelected(pair_.selected(uint8_t(row)));
}

EditionChoice CVexaWizard::choice() const
{
    EditionChoice c;
    c.enabled = true;
    const int row = tables_->currentRow();
    c.table = row >= 0 && tables_->currentItem()->isSelected() ? uint8_t(row) : kNoSlot;
    c.graphs = pair_.ordered();
    return c;
}

bool RunVexaWizard()
{
    CVexaWizard wizard(QApplication::activeWindow());
    if (RunModalDialog(wizard) != QDialog::Accepted)
        return false;
    FinishEditionSetUp(wizard.choice());
    return true;
}

} // namespace qv
