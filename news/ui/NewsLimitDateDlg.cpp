// The search-date limit and statistics dialogs.
#include "news/ui/NewsLimitDateDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qv {

CNewsLimitDateDlg::CNewsLimitDateDlg(bool limitOn, uint16_t weeks, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Limit search date"));
    limit_ = new QCheckBox(QStringLiteral("Search history limit"), this);
    weeks_ = new QSpinBox(this);
    weeks_->setRange(0, 0xFFFF);
    weeks_->setValue(weeks);
    limit_->setChecked(limitOn);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(limit_);
    row->addWidget(weeks_);
    row->addWidget(new QLabel(QStringLiteral("weeks."), this));
    row->addStretch(1);
    auto* whole = new QVBoxLayout(this);
    whole->addWidget(new QLabel(QStringLiteral("Limit the number of weeks that will be searched."), this));
    whole->addLayout(row);
    whole->addWidget(buttons);
}

bool CNewsLimitDateDlg::limitOn() const { return limit_->isChecked(); }
uint16_t CNewsLimitDateDlg::weeks() const { return uint16_t(weeks_->value()); }

CNewsStatsDlg::CNewsStatsDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("News stats"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* whole = new QVBoxLayout(this);
    whole->addStretch(1);
    whole->addWidget(buttons);
    resize(300, 160);
}

} // namespace qv
