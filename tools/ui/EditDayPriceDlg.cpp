// The one-day price editor.
#include "tools/ui/EditDayPriceDlg.h"

#include "chartmodel/EodPriceEdit.h"
#include "chartmodel/TrainingMode.h"
#include "core/DateText.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdio>

namespace qv {
namespace {

constexpr const char* kNames[5] = {"Open", "High", "Low", "Close", "Volume"};

float DayRecord::*const kFields[5] = {&DayRecord::open, &DayRecord::high, &DayRecord::low, &DayRecord::close,
                                      &DayRecord::volume};

QString Value(float v, bool volume) { return QString::number(double(v), 'f', volume ? 0 : 2); }

// Each warning may be turned off for good.
bool& WarningsOff()
{
    static bool off = false;
    return off;
}

// "Editing the Opening price above the High will update the High price also." and the like; the high
// or low then moves to the price.
void KeepInsideHighAndLow(DayRecord& day)
{
    auto warn = [](const char* which, bool above) {
        if (WarningsOff())
            return;
        char text[160];
        std::snprintf(text, sizeof text, "Editing the %s price %s the %s will update the %s price also.", which,
                      above ? "above" : "below", above ? "High" : "Low", above ? "High" : "Low");
        WarningsOff() = SuppressibleInfo() ? SuppressibleInfo()(text) : false;
    };
    for (const bool open : {true, false}) {
        const float price = open ? day.open : day.close;
        const char* which = open ? "Opening" : "Closing";
        if (price > day.high) {
            warn(which, true);
            day.high = price;
        }
        if (price < day.low && price > 0) {
            warn(which, false);
            day.low = price;
        }
    }
}

} // namespace

CEditDayPriceDlg::CEditDayPriceDlg(const DayPriceEdit& edit, QWidget* parent)
    : QDialog(parent), edit_(edit), saved_(new QRadioButton(QStringLiteral("Values will be saved"), this)),
      temporary_(new QRadioButton(QStringLiteral("Values are temporary"), this))
{
    setObjectName(QStringLiteral("27278"));
    setWindowTitle(QStringLiteral("Edit Prices for ") + FromCp1252(edit_.shareName));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Edited Values"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Original Values"), this), 0, 2);
    for (int i = 0; i < 5; ++i) {
        const bool volume = i == 4;
        fields_[i] = new QLineEdit(Value(edit_.edited.*kFields[i], volume), this);
        fields_[i]->setObjectName(QString::number(kOpen + i));
        grid->addWidget(new QLabel(QString::fromLatin1(kNames[i]), this), i + 1, 0);
        grid->addWidget(fields_[i], i + 1, 1);
        grid->addWidget(new QLabel(Value(edit_.original.*kFields[i], volume), this), i + 1, 2);
    }
    auto* date = new QLabel(QString::fromStdString(FormatDateWithDay(edit_.edited.date)), this);
    date->setObjectName(QString::number(kDate));
    auto* status = new QLabel(PriceRecordDiffers(&edit_.edited, &edit_.original) ? QStringLiteral("Edited")
                                                                                   : QStringLiteral("Not edited"),
                              this);
    status->setObjectName(QString::number(kStatus));
    saved_->setObjectName(QString::number(kSaved));
    temporary_->setObjectName(QString::number(kTemporary));
    auto* group = new QButtonGroup(this);
    group->addButton(saved_);
    group->addButton(temporary_);
    (edit_.saved ? saved_ : temporary_)->setChecked(true);
    temporary_->setEnabled(edit_.temporaryAllowed);
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, 0x20000 + 27278);
    QPushButton* reset = buttons->addButton(QStringLiteral("Reset"), QDialogButtonBox::ActionRole);
    reset->setObjectName(QString::number(kReset));
    QPushButton* resetAll = buttons->addButton(QStringLiteral("Reset All"), QDialogButtonBox::ActionRole);
    resetAll->setObjectName(QString::number(kResetAll));
    connect(reset, &QPushButton::clicked, this, &CEditDayPriceDlg::Reset);
    connect(resetAll, &QPushButton::clicked, this, &CEditDayPriceDlg::ResetAll);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(date);
    layout->addLayout(grid);
    layout->addWidget(saved_);
    layout->addWidget(temporary_);
    layout->addWidget(status);
    layout->addWidget(buttons);
}

QLineEdit* CEditDayPriceDlg::field(int id) const
{
    return id >= kOpen && id <= kVolume ? fields_[id - kOpen] : nullptr;
}

void CEditDayPriceDlg::accept()
{
    DayRecord day = edit_.edited;
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        const float value = fields_[i]->text().trimmed().remove(QLatin1Char(',')).toFloat(&ok);
        if (!ok || value < 0) {
            ShowMessage("Please type a number of 0 or more", {}, MsgButtons::Ok, MsgIcon::Exclamation);
            fields_[i]->setFocus();
            return;
        }
        day.*kFields[i] = value;
    }
    KeepInsideHighAndLow(day);
    edit_.edited = day;
    edit_.saved = saved_->isChecked();
    answer_ = DayPriceAnswer::Ok;
    QDialog::accept();
}

void CEditDayPriceDlg::Reset()
{
    answer_ = DayPriceAnswer::Reset;
    QDialog::accept();
}

void CEditDayPriceDlg::ResetAll()
{
    if (ShowMessage(kPriceEditResetQuestion, {}, MsgButtons::OkCancel, MsgIcon::Question) != MsgAnswer::Ok)
        return;
    answer_ = DayPriceAnswer::ResetAll;
    QDialog::accept();
}

DayPriceAnswer RunEditDayPrice(DayPriceEdit& edit)
{
    CEditDayPriceDlg dialog(edit, QApplication::activeWindow());
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return DayPriceAnswer::Cancel;
    edit = dialog.edit();
    return dialog.answer();
}

} // namespace qv
