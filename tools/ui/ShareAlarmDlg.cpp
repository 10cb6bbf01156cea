// The share alarm editor.
#include "tools/ui/ShareAlarmDlg.h"

#include "core/DateText.h"
#include "core/FormatValue.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/SettingRecordStore.h"
#include "core/SystemDate.h"
#include "lists/ui/ColumnDialogs.h"
#include "portfolio/AlarmPortfolios.h"
#include "platform/qt/QtText.h"
#include "portfolio/PresetPortfolios.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
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

constexpr uint32_t kHelpTopic = 0x20000 + 560;

QLineEdit* Field(QWidget* parent, int id, int width = 60)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    edit->setMaximumWidth(width);
    return edit;
}

QCheckBox* Box(QWidget* parent, int id, const QString& text)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::number(id));
    return box;
}

QString Number(float v) { return QString::number(double(v), 'g', 6); }

} // namespace

CShareAlarmDlg::CShareAlarmDlg(const QString& name, const QString& code, const QString& priceLine,
                               const ShareAlarmRecord& record, PackedDate today, QWidget* parent)
    : QDialog(parent), record_(record), today_(today)
{
    setObjectName(QStringLiteral("560"));
    setWindowTitle(QStringLiteral("Set or edit alarms for %1 (%2)").arg(name, code));
    auto* fixed = new QGroupBox(QStringLiteral(" Fixed price "), this);
    increaseOn_ = Box(fixed, kIncreaseOn, QStringLiteral("Price increases to"));
    increase_ = Field(fixed, kIncreaseLevel);
    decreaseOn_ = Box(fixed, kDecreaseOn, QStringLiteral("Price decreases to"));
    decrease_ = Field(fixed, kDecreaseLevel);
    auto* fixedGrid = new QGridLayout(fixed);
    fixedGrid->addWidget(increaseOn_, 0, 0);
    fixedGrid->addWidget(increase_, 0, 1);
    fixedGrid->addWidget(decreaseOn_, 1, 0);
    fixedGrid->addWidget(decrease_, 1, 1);

    auto moveBox = [this](const QString& title, const int* ids, Row* rows) {
        auto* box = new QGroupBox(title, this);
        auto* grid = new QGridLayout(box);
        for (int i = 0; i < 3; ++i) {
            rows[i] = {Box(box, ids[i], QString()), Field(box, ids[i] + 1, 50), Field(box, ids[i] + 2, 40)};
            grid->addWidget(rows[i].on, i, 0);
            grid->addWidget(rows[i].percent, i, 1);
            grid->addWidget(new QLabel(QStringLiteral("%  in"), box), i, 2);
            grid->addWidget(rows[i].days, i, 3);
            grid->addWidget(new QLabel(QStringLiteral("days"), box), i, 4);
        }
        return box;
    };
    QGroupBox* rises = moveBox(QStringLiteral(" Percentage increase in price "), kRiseOn, rises_);
    QGroupBox* falls = moveBox(QStringLiteral(" Percentage decrease in price "), kFallOn, falls_);

    auto* stop = new QGroupBox(QStringLiteral(" Stop-loss "), this);
    stopOn_ = Box(stop, kStopOn, QString());
    stopPercent_ = Field(stop, kStopPercent, 50);
    stopCapped_ = Box(stop, kStopCapped, QStringLiteral("Down as well as up"));
    auto* stopRow = new QHBoxLayout(stop);
    stopRow->addWidget(stopOn_);
    stopRow->addWidget(stopPercent_);
    stopRow->addWidget(new QLabel(QStringLiteral("percent from high"), stop));
    stopRow->addWidget(stopCapped_);
    stopRow->addStretch();

    dealings_ = Box(this, kDealings, QStringLiteral("Directors' Dealings"));
    dateOn_ = Box(this, kDateOn, QStringLiteral("On this"));
    date_ = MakeDialogDateField(this, 18112, record.date ? record.date : PackedDate(today + 7), "alarmDate");
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(dateOn_);
    dateRow->addWidget(date_);
    dateRow->addWidget(new QLabel(QStringLiteral("date only"), this));
    dateRow->addStretch();
    note_ = Field(this, kNote, 16777215);

    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kHelpTopic);
    QPushButton* defaults = buttons->addButton(QStringLiteral("Default"), QDialogButtonBox::ResetRole);
    defaults->setObjectName(QString::number(kDefault));
    connect(defaults, &QPushButton::clicked, this, &CShareAlarmDlg::SetDefaults);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(priceLine, this));
    layout->addWidget(fixed);
    auto* moves = new QHBoxLayout;
    moves->addWidget(rises);
    moves->addWidget(falls);
    layout->addLayout(moves);
    layout->addWidget(stop);
    layout->addWidget(dealings_);
    layout->addLayout(dateRow);
    layout->addWidget(new QLabel(QStringLiteral("Alarm note:"), this));
    layout->addWidget(note_);
    layout->addWidget(buttons);

    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, &CShareAlarmDlg::Enable);
    Show(record);
}

void CShareAlarmDlg::Show(const ShareAlarmRecord& r)
{
    increaseOn_->setChecked(r.increaseOn);
    increase_->setText(Number(r.increaseLevel));
    decreaseOn_->setChecked(r.decreaseOn);
    decrease_->setText(Number(r.decreaseLevel));
    for (int i = 0; i < 3; ++i) {
        rises_[i].on->setChecked(r.riseOn[i]);
        rises_[i].percent->setText(Number(r.risePercent[i]));
        rises_[i].days->setText(QString::number(r.riseDays[i]));
        falls_[i].on->setChecked(r.fallOn[i]);
        falls_[i].percent->setText(Number(r.fallPercent[i]));
        falls_[i].days->setText(QString::number(r.fallDays[i]));
    }
    stopOn_->setChecked(r.stopOn);
    stopPercent_->setText(Number(r.stopPercent));
    stopCapped_->setChecked(r.stopCapped);
    dealings_->setChecked(r.dealingsOn);
    dateOn_->setChecked(r.dateOn);
    date_->date = r.date;
    date_->FormatDate(true);
    note_->setText(QString::fromLatin1(r.note.c_str()));
    Enable();
}

void CShareAlarmDlg::SetDefaults() { Show(ShareAlarmRecord::Defaults(today_)); }

void CShareAlarmDlg::Enable()
{
    increase_->setEnabled(increaseOn_->isChecked());
    decrease_->setEnabled(decreaseOn_->isChecked());
    for (Row* rows : {rises_, falls_})
        for (int i = 0; i < 3; ++i) {
            rows[i].percent->setEnabled(rows[i].on->isChecked());
            rows[i].days->setEnabled(rows[i].on->isChecked());
        }
    stopPercent_->setEnabled(stopOn_->isChecked());
    stopCapped_->setEnabled(stopOn_->isChecked());
    date_->EnableWindow(dateOn_->isChecked());
}

bool CShareAlarmDlg::Read(ShareAlarmRecord& r)
{
    // Only the fields of alarms that are on are checked; the others keep what they held.
    auto real = [](QLineEdit* edit, double low, double high, float& out) {
        if (!edit->isEnabled())
            return true;
        if (!CheckRealField(edit, low, high))
            return false;
        out = edit->text().trimmed().toFloat();
        return true;
    };
    auto whole = [](QLineEdit* edit, int low, int high, uint8_t& out) {
        if (!edit->isEnabled())
            return true;
        if (!CheckWholeField(edit, low, high))
            return false;
        out = uint8_t(edit->text().trimmed().toInt());
        return true;
    };
    r.increaseOn = increaseOn_->isChecked();
    r.decreaseOn = decreaseOn_->isChecked();
    if (!real(increase_, 0.0001, 1e7, r.increaseLevel) || !real(decrease_, 0.0001, 1e7, r.decreaseLevel))
        return false;
    for (int i = 0; i < 3; ++i) {
        r.riseOn[i] = rises_[i].on->isChecked();
        r.fallOn[i] = falls_[i].on->isChecked();
        if (!real(rises_[i].percent, 0.01, 1000, r.risePercent[i]) || !whole(rises_[i].days, 1, 255, r.riseDays[i]) ||
            !real(falls_[i].percent, 0.01, 99.99, r.fallPercent[i]) || !whole(falls_[i].days, 1, 255, r.fallDays[i]))
            return false;
    }
    r.stopOn = stopOn_->isChecked();
    r.stopCapped = stopCapped_->isChecked();
    if (!real(stopPercent_, 0.01, 99.99, r.stopPercent))
        return false;
    r.dealingsOn = dealings_->isChecked();
    r.dateOn = dateOn_->isChecked();
    if (r.dateOn) {
        const PackedDate typed = date_->ReadDate();
        r.date = typed ? typed : date_->date;
    }
    r.note = note_->text().toLatin1().toStdString();
    return true;
}

void CShareAlarmDlg::accept()
{
    ShareAlarmRecord r = record_;
    if (!Read(r))
        return;
    record_ = std::move(r);
    QDialog::accept();
}

bool EditShareAlarms(uint16_t shareId, uint8_t stream)
{
    const uint8_t* share = FindShareRecord(shareId);
    if (!share)
        return false;
    const PackedDate today = GetTodayDate(0);
    ShareAlarmRecord record = ShareAlarmRecord::Defaults(today);
    if (const uint8_t* stored = GetSettingRecord(shareId, stream, kShareAlarmSettingId))
        if (auto read = ShareAlarmRecord::Read(std::span<const uint8_t>(stored, SettingDataSize(stored))))
            record = *read;
    const std::vector<AlarmDay> days = DecodeAlarmHistory(const_cast<uint8_t*>(share), stream, 0);
    const RecordCursor cursor{const_cast<uint8_t*>(share), stream};
    const QString price = days.empty() ? QStringLiteral("Current price: n/a")
                                       : FromCp1252(CurrentPriceText(cursor, double(days.back().close)));
    std::string code;
    GetShareFileCode(RecordCursor{const_cast<uint8_t*>(share), stream}, code, false);
    const std::string_view name = GetRecordName(share);
    CShareAlarmDlg dialog(QString::fromLatin1(name.data(), qsizetype(name.size())), QString::fromLatin1(code.c_str()),
                          price, record, today, QApplication::activeWindow());
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    StoreShareAlarmRecord(shareId, stream, dialog.record());
    return true;
}

} // namespace qv
