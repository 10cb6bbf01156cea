// The criterion and filter choosers.
#include "datamining/ui/SelectListDlgs.h"

#include "datamining/CriterionText.h"
#include "shell/ui/DialogHelp.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace qv {
namespace {
constexpr uint32_t kChooserHelp = 0x20000 + 581;
} // namespace

CListChoiceDlg::CListChoiceDlg(QWidget* parent)
    : QDialog(parent), prompt_(new QLabel(this)), list_(new QListWidget(this))
{
    setObjectName(QStringLiteral("581"));
    prompt_->setObjectName(QStringLiteral("prompt"));
    list_->setObjectName(QStringLiteral("list"));
    list_->setMinimumWidth(360);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(list_);
    layout->addWidget(OkCancelHelpButtons(*this, kChooserHelp));
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

CSelectCriterionDlg::CSelectCriterionDlg(const DMFilter& filter, Mode mode, QWidget* parent) : CListChoiceDlg(parent)
{
    static const char* const kAxisWords[3] = {"x-axis", "y-axis", "z-axis (mark colour & size)"};
    if (mode == Mode::Edit) {
        prompt_->setText(QStringLiteral("Edit the criteria"));
        setWindowTitle(QStringLiteral("Edit criteria"));
    } else {
        const QString word = QString::fromLatin1(kAxisWords[int(mode)]);
        prompt_->setText(QStringLiteral("Select the criteria for the ") + word);
        setWindowTitle(QStringLiteral("Select ") + word + QStringLiteral(" criteria"));
        list_->addItem(QStringLiteral("<<UNSELECTED>>"));
        positions_.push_back(-1);
    }
    for (size_t i = 0; i < filter.criteria.size(); ++i) {
        const DMCriterion& c = filter.criteria[i];
        if (mode != Mode::Edit && c.mode == 0)
            continue;
        list_->addItem(QString::fromStdString(DescribeCriterion(c, true)));
        positions_.push_back(int(i));
        if (mode != Mode::Edit && filter.axes[size_t(mode)] == i + 1)
            list_->setCurrentRow(list_->count() - 1);
    }
    if (mode != Mode::Edit && list_->currentRow() < 0)
        list_->setCurrentRow(0);
}

int CSelectCriterionDlg::Chosen() const
{
    const int row = list_->currentRow();
    return row >= 0 && size_t(row) < positions_.size() ? positions_[size_t(row)] : -1;
}

CSelectFilterDlg::CSelectFilterDlg(const DMFilter* selected, bool writableOnly, bool offerNew, QWidget* parent)
    : CListChoiceDlg(parent)
{
    setWindowTitle(QStringLiteral("Select the filter"));
    prompt_->hide();
    if (offerNew && !writableOnly) {
        list_->addItem(QStringLiteral("<<new>>"));
        filters_.push_back(nullptr);
    }
    for (const auto& f : FilterList()) {
        if (writableOnly && f->readOnly())
            continue;
        list_->addItem(QString::fromStdString(f->name));
        filters_.push_back(f.get());
        if (f.get() == selected)
            list_->setCurrentRow(list_->count() - 1);
    }
}

DMFilter* CSelectFilterDlg::Chosen() const
{
    const int row = list_->currentRow();
    return row >= 0 && size_t(row) < filters_.size() ? filters_[size_t(row)] : nullptr;
}

} // namespace qv
