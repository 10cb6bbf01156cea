// The "Show Future" dialog of the daily chart.
#include "chartmodel/ui/ShowFutureDlg.h"

#include "lists/ui/ColumnDialogs.h"
#include "platform/MessageBox.h"
#include "shell/ui/DialogHelp.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace qv {
namespace {
constexpr uint32_t kShowFutureHelp = 0x20000 + 580;
constexpr int kPercentUnit = 4;
// The largest amount of each unit: ten years ahead, or three quarters of the graph.
constexpr std::array<int, 5> kMaxima = {3650, 520, 120, 10, 75};
} // namespace

CShowFuture::CShowFuture(FutureSetting& future, std::function<void()> apply, QWidget* parent)
    : QDialog(parent), future_(future), original_(future), apply_(std::move(apply)),
      on_(new QCheckBox(QStringLiteral("Extend into the future"), this)), amount_(new QLineEdit(this))
{
    setObjectName(QStringLiteral("580"));
    setWindowTitle(QStringLiteral("Show Future"));
    on_->setObjectName(QStringLiteral("on"));
    amount_->setObjectName(QStringLiteral("amount"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(on_, 0, 0, 1, 3);
    grid->addWidget(amount_, 1, 0);
    const char* texts[5] = {"Days", "Weeks", "Months", "Years", "Percentage of graph width"};
    const char* names[5] = {"days", "weeks", "months", "years", "percent"};
    for (int u = 0; u < 5; ++u) {
        units_[size_t(u)] = new QRadioButton(QString::fromLatin1(texts[u]), this);
        units_[size_t(u)]->setObjectName(QString::fromLatin1(names[u]));
        grid->addWidget(units_[size_t(u)], 1 + u, 1, 1, 2);
    }
    limit_ = new QLabel(this);
    limit_->setObjectName(QStringLiteral("1967"));
    grid->addWidget(limit_, 2, 0);
    preview_ = new QPushButton(QStringLiteral("Preview"), this);
    preview_->setObjectName(QStringLiteral("preview"));
    grid->addWidget(preview_, 6, 0);
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kShowFutureHelp);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    grid->addWidget(buttons, 6, 1, 1, 2);
    connect(preview_, &QPushButton::clicked, this, &CShowFuture::preview);
    on_->setChecked(future.on != 0);
    amount_->setText(QString::number(future.amount));
    units_[size_t(std::min<int>(future.unit, kPercentUnit))]->setChecked(true);
    connect(amount_, &QLineEdit::textChanged, this, &CShowFuture::updateLimit);
    for (QRadioButton* unit : units_)
        connect(unit, &QRadioButton::toggled, this, &CShowFuture::updateLimit);
    updateLimit();
}

int CShowFuture::chosenUnit() const
{
    for (int u = 0; u < 5; ++u)
        if (units_[size_t(u)]->isChecked())
            return u;
    return 0;
}

// The label names the unit's maximum; OK and Preview wait for an amount within it.
void CShowFuture::updateLimit()
{
    const int unit = chosenUnit();
    const int high = kMaxima[size_t(unit)];
    limit_->setText(QStringLiteral(" (%1%2 max.)").arg(high).arg(unit == kPercentUnit ? QStringLiteral("%") : QString()));
    bool ok = false;
    const int amount = amount_->text().trimmed().toInt(&ok);
    const bool within = ok && amount >= 1 && amount <= high;
    ok_->setEnabled(within);
    preview_->setEnabled(within);
}

bool CShowFuture::store()
{
    const int unit = chosenUnit();
    const int high = kMaxima[size_t(unit)];
    bool ok = false;
    const int amount = amount_->text().trimmed().toInt(&ok);
    if (!ok || amount < 1 || amount > high) {
        ShowMessage((ok ? NumberRangeMessage(1, high) : QStringLiteral("Please enter an integer.")).toStdString(), {},
                    MsgButtons::Ok, MsgIcon::Exclamation);
        amount_->setFocus();
        amount_->selectAll();
        return false;
    }
    future_.on = on_->isChecked() ? 1 : 0;
    future_.unit = uint16_t(unit);
    future_.amount = uint16_t(amount);
    if (apply_)
        apply_();
    return true;
}

bool CShowFuture::preview()
{
    const bool stored = store();
    previewed_ = previewed_ || stored;
    return stored;
}

void CShowFuture::accept()
{
    if (store())
        QDialog::accept();
}

void CShowFuture::reject()
{
    future_ = original_;
    if (previewed_ && apply_)
        apply_();
    QDialog::reject();
}

} // namespace qv
