// The global alarm rows' dialog.
#include "tools/ui/GlobalAlarmsDlg.h"

#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "tools/alarms/ShareAlarmRecord.h"
#include "tools/options/ui/OptionPages.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr uint32_t kHelpTopic = 0x20000 + 562;

QLineEdit* Field(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    edit->setMaximumWidth(50);
    return edit;
}

} // namespace

CGlobalAlarmsDlg::CGlobalAlarmsDlg(const std::vector<MoveCriterion>& rows, QWidget* parent)
    : QDialog(parent), rows_(rows)
{
    setObjectName(QStringLiteral("562"));
    setWindowTitle(QStringLiteral("Set or edit global alarm settings"));
    rows_.resize(6);
    auto* moves = new QHBoxLayout;
    for (int side = 0; side < 2; ++side) {
        auto* box = new QGroupBox(side == 0 ? QStringLiteral(" Percentage increase in price ")
                                            : QStringLiteral(" Percentage decrease in price "),
                                  this);
        auto* grid = new QGridLayout(box);
        for (int i = 0; i < 3; ++i) {
            const int id = side == 0 ? kRiseOn[i] : kFallOn[i];
            auto* on = new QCheckBox(box);
            on->setObjectName(QString::number(id));
            rows6_[3 * side + i] = {on, Field(box, id + 1), Field(box, id + 2)};
            grid->addWidget(on, i, 0);
            grid->addWidget(rows6_[3 * side + i].percent, i, 1);
            grid->addWidget(new QLabel(QStringLiteral("%  in"), box), i, 2);
            grid->addWidget(rows6_[3 * side + i].days, i, 3);
            grid->addWidget(new QLabel(QStringLiteral("days"), box), i, 4);
            connect(on, &QCheckBox::toggled, this, &CGlobalAlarmsDlg::Enable);
        }
        moves->addWidget(box);
    }
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kHelpTopic);
    QPushButton* defaults = buttons->addButton(QStringLiteral("Default"), QDialogButtonBox::ResetRole);
    defaults->setObjectName(QString::number(kDefault));
    connect(defaults, &QPushButton::clicked, this, &CGlobalAlarmsDlg::SetDefaults);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(moves);
    layout->addWidget(buttons);
    Show(rows_);
}

void CGlobalAlarmsDlg::Show(const std::vector<MoveCriterion>& rows)
{
    for (size_t i = 0; i < 6 && i < rows.size(); ++i) {
        rows6_[i].on->setChecked(rows[i].enabled);
        rows6_[i].percent->setText(QString::number(double(rows[i].threshold)));
        rows6_[i].days->setText(QString::number(rows[i].kind));
    }
    Enable();
}

void CGlobalAlarmsDlg::SetDefaults() { Show(DefaultGlobalAlarmRows()); }

void CGlobalAlarmsDlg::Enable()
{
    for (Row& row : rows6_) {
        row.percent->setEnabled(row.on->isChecked());
        row.days->setEnabled(row.on->isChecked());
    }
}

void CGlobalAlarmsDlg::accept()
{
    std::vector<MoveCriterion> rows = rows_;
    for (int i = 0; i < 6; ++i) {
        const Row& row = rows6_[i];
        const bool rise = i < 3;
        MoveCriterion& c = rows[size_t(i)];
        c.enabled = row.on->isChecked();
        const int percentMost = rise ? kRisePercentMost : kFallPercentMost;
        const int daysMost = rise ? kRiseDaysMost : kFallDaysMost[i - 3];
        if (c.enabled && (!CheckWholeField(row.percent, 1, percentMost) || !CheckWholeField(row.days, 1, daysMost)))
            return;
        // A row that is off keeps what its fields show when they hold values it can take ("Default").
        bool ok = false;
        const int percent = row.percent->text().trimmed().toInt(&ok);
        if (ok && percent >= 1 && percent <= percentMost)
            c.threshold = float(percent);
        const int days = row.days->text().trimmed().toInt(&ok);
        if (ok && days >= 1 && days <= daysMost)
            c.kind = uint8_t(days);
    }
    rows_ = std::move(rows);
    QDialog::accept();
}

bool EditGlobalAlarms()
{
    CGlobalAlarmsDlg dialog(GetAlarmPortfolioHooks().globalCriteria, QApplication::activeWindow());
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    GetAlarmPortfolioHooks().globalCriteria = dialog.rows();
    AlarmChanges().globalAlarms = true;
    RefillGlobalAlarmPortfolio();
    return true;
}

} // namespace qv
