// The tax-year choosers of the capital gains summary and the dividend report.
#include "portfolio/ui/TaxYearDlgs.h"

#include "core/SystemDate.h"
#include "lists/ui/ColumnDialogs.h"
#include "platform/MessageBox.h"
#include "portfolio/DividendReport.h"
#include "shell/ui/DialogHelp.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv {

// The up and down arrows beside a year field.
class CYearStepper : public QWidget {
public:
    CYearStepper(int id, QWidget* parent) : QWidget(parent)
    {
        setObjectName(QString::number(id));
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        up = new QToolButton(this);
        up->setArrowType(Qt::UpArrow);
        down = new QToolButton(this);
        down->setArrowType(Qt::DownArrow);
        for (QToolButton* b : {up, down}) {
            b->setFixedSize(18, 11);
            b->setAutoRepeat(true);
            layout->addWidget(b);
        }
    }
    QToolButton* up;
    QToolButton* down;
};

CTaxYearChooser::CTaxYearChooser(int year, int low, int high, int editId, int spinId, int staticId, QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(this)), text_(new QLabel(this)), stepper_(new CYearStepper(spinId, this)),
      year_(std::clamp(year, low, high)), low_(low), high_(high)
{
    edit_->setObjectName(QString::number(editId));
    text_->setObjectName(QString::number(staticId));
    edit_->setMaxLength(4);
    edit_->setFixedWidth(60);
    connect(stepper_->up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(stepper_->down, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        bool ok = false;
        const int typed = text.toInt(&ok);
        if (ok && typed >= low_ && typed <= high_)
            text_->setText(YearText(typed));
    });
}

void CTaxYearChooser::Show(int year)
{
    year_ = std::clamp(year, low_, high_);
    edit_->setText(QString::number(year_));
    text_->setText(YearText(year_));
}

void CTaxYearChooser::Step(int by)
{
    bool ok = false;
    int typed = edit_->text().toInt(&ok);
    if (!ok)
        typed = year_;
    const int next = typed + by;
    if (next < low_ || next > high_)
        return;
    Show(next);
}

void CTaxYearChooser::accept()
{
    bool ok = false;
    const int typed = edit_->text().trimmed().toInt(&ok);
    if (!ok || typed < low_ || typed > high_) {
        ShowMessage((ok ? NumberRangeMessage(low_, high_) : QStringLiteral("Please enter an integer.")).toStdString(), {},
                    MsgButtons::Ok, MsgIcon::Exclamation);
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    year_ = typed;
    QDialog::accept();
}

int CSelectTaxYear::LastYear()
{
    const PackedDate today = GetTodayDate(0);
    const int start = FullYear(PackedDate(today - 101)); // the tax year today falls in starts 6 April
    return std::clamp(start, 1990, 2027);
}

CSelectTaxYear::CSelectTaxYear(int year, QWidget* parent)
    : CTaxYearChooser(year, 1990, LastYear(), 1680, 1687, 1688, parent)
{
    setObjectName(QStringLiteral("413"));
    setWindowTitle(QStringLiteral("Select tax year"));
    const int last = LastYear();
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("CGT for tax year starting 6th April"), this), 0, 0);
    grid->addWidget(edit_, 0, 1);
    grid->addWidget(stepper_, 0, 2);
    grid->addWidget(text_, 0, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(
        new QLabel(QStringLiteral("You can see the tax for all years between 1990/1 and %1/%2").arg(last).arg((last + 1) % 10),
                   this));
    layout->addWidget(OkCancelHelpButtons(*this, 0x20000 + 413));
    Show(year);
}

QString CSelectTaxYear::YearText(int year) const { return QStringLiteral("ending 5th April %1").arg(year + 1); }

CDividendTaxYear::CDividendTaxYear(int year, QWidget* parent)
    : CTaxYearChooser(year, kDividendFirstYear, kDividendLastYear, 1883, 2844, 2845, parent)
{
    setObjectName(QStringLiteral("692"));
    setWindowTitle(QStringLiteral("Select the tax for dividend display"));
    auto* row = new QHBoxLayout;
    row->addWidget(edit_);
    row->addWidget(stepper_);
    row->addWidget(text_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    InstallControlHelp(*this);
    Show(year);
}

QString CDividendTaxYear::YearText(int year) const { return QStringLiteral("Tax year %1/%2").arg(year).arg(year + 1); }

} // namespace qv
