// The find-an-investor dialog.
#include "lists/ui/FindInvestorDlg.h"

#include "core/CodedText.h"
#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "lists/DirectorsDealings.h"
#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr uint32_t kFindInvestorHelpTopic = 86463;

template <typename T>
T* Named(T* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

} // namespace

CFindInvestorDlg::CFindInvestorDlg(std::span<const RecordCursor> rows, const QString& seed, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Find an investor"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Type in the investor's name"), this));
    layout->addWidget(new QLabel(QStringLiteral("Investor name"), this));
    edit_ = Named(new QLineEdit(seed, this), 1104);
    layout->addWidget(edit_);
    list_ = Named(new QListWidget(this), 1103);
    layout->addWidget(list_, 1);
    firstLetter_ = Named(new QCheckBox(QStringLiteral("Start from first letter"), this), 1085);
    firstLetter_->setChecked(Config().optionsA.data()[OptionBlockA::kFindContains] == 0);
    layout->addWidget(firstLetter_);
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kFindInvestorHelpTopic);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);
    InstallControlHelp(*this);

    MarkInvestorRows(DealingsMainBlock, rows);
    connect(edit_, &QLineEdit::textChanged, this, [this] { refill(); });
    connect(firstLetter_, &QCheckBox::toggled, this, [this](bool on) {
        Config().optionsA.data()[OptionBlockA::kFindContains] = on ? 0 : 1;
        refill();
    });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { onSelection(row); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (chosen_)
            accept();
    });
    resize(340, 360);
    refill();
}

void CFindInvestorDlg::refill()
{
    list_->blockSignals(true);
    list_->clear();
    matches_ = FindInvestors(DealingsMainBlock, DealingsInfo(), DealingsCodingTables(),
                             ToCp1252(edit_->text()), firstLetter_->isChecked());
    for (const InvestorMatch& match : matches_)
        list_->addItem(FromCp1252(match.name));
    list_->blockSignals(false);
    if (matches_.empty()) {
        list_->addItem(QStringLiteral("No match found"));
        ok_->setEnabled(false);
        chosen_ = nullptr;
        return;
    }
    ok_->setEnabled(true);
    list_->setCurrentRow(0);
    onSelection(0);
}

void CFindInvestorDlg::onSelection(int row)
{
    if (row >= 0 && size_t(row) < matches_.size())
        chosen_ = matches_[size_t(row)].record;
}

int32_t RunFindInvestor(std::span<const RecordCursor> rows, const QString& seed, QWidget* parent)
{
    CFindInvestorDlg dialog(rows, seed, parent);
    if (RunModalDialog(dialog) != QDialog::Accepted || !dialog.chosen())
        return -1;
    for (size_t i = 0; i < rows.size() && rows[i].record; ++i)
        if (rows[i].record == dialog.chosen())
            return int32_t(i);
    return -1;
}

} // namespace qv
