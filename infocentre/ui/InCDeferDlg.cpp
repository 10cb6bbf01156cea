// The defer dialog of the InfoCentre document window.
#include "infocentre/ui/InCDeferDlg.h"

#include "platform/Registry.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <ctime>

namespace qv {

namespace {

int MinutesOf(const QTimeEdit* edit)
{
    return edit->time().msecsSinceStartOfDay() / 60000;
}

QWidget* Row(QWidget* parent, QRadioButton* choice, std::initializer_list<QWidget*> more)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(choice);
    for (QWidget* widget : more)
        layout->addWidget(widget);
    layout->addStretch();
    return row;
}

QTimeEdit* TimeEdit(QWidget* parent, const char* id, int minutes)
{
    auto* edit = new QTimeEdit(QTime(minutes / 60, minutes % 60), parent);
    edit->setObjectName(id);
    edit->setDisplayFormat("HH:mm");
    return edit;
}

} // namespace

uint16_t RememberedDeferWord()
{
    return uint16_t(Registry::Instance().getU32("Settings", "InCDefer").value_or(uint32_t(DeferChoice::Tomorrow)));
}

void RememberDeferWord(uint16_t word)
{
    Registry::Instance().setU32("Settings", "InCDefer", word);
}

CInCDeferDlg::CInCDeferDlg(int64_t now, QWidget* parent) : QDialog(parent), now_(now)
{
    setWindowTitle("Defer document viewing");
    setObjectName("Defer document viewing");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    std::time_t t = std::time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const int nowMinutes = local.tm_hour * 60 + local.tm_min;
    todayMidnight_ = now - nowMinutes * 60 - local.tm_sec;
    const DeferForm form = DeferDefaults(nowMinutes, RememberedDeferWord());

    const char* labels[] = {"in", "today", "tomorrow", "on", "no, I've finished with this document for now"};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        choices_[i] = new QRadioButton(labels[i], this);
        choices_[i]->setObjectName(QString::number(3987 + i));
        group->addButton(choices_[i], i);
    }
    hours_ = new QSpinBox(this);
    hours_->setObjectName("3992");
    hours_->setRange(1, 24);
    hours_->setValue(form.hours);
    today_ = TimeEdit(this, "3997", form.todayMinutes);
    tomorrow_ = TimeEdit(this, "3998", form.tomorrowMinutes);
    onDay_ = TimeEdit(this, "3999", form.dayMinutes);
    days_ = new QComboBox(this);
    days_->setObjectName("3993");
    for (int d = 0; d < 7; ++d)
        days_->addItem(QLocale::c().dayName((local.tm_wday + 6 + d) % 7 + 1));
    days_->setCurrentIndex(form.dayOffset);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Show this document again:", this));
    advancedRows_[0] = Row(this, choices_[0], {hours_, new QLabel("hours", this)});
    advancedRows_[1] = Row(this, choices_[1], {new QLabel("at", this), today_});
    advancedRows_[2] = Row(this, choices_[3], {days_, new QLabel("at", this), onDay_});
    layout->addWidget(advancedRows_[0]);
    layout->addWidget(advancedRows_[1]);
    layout->addWidget(Row(this, choices_[2], {new QLabel("at", this), tomorrow_}));
    layout->addWidget(advancedRows_[2]);
    layout->addWidget(choices_[4]);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    toggle_ = buttons->addButton("Advanced >>", QDialogButtonBox::ActionRole);
    toggle_->setObjectName("3995");
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CInCDeferDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CInCDeferDlg::reject);
    connect(toggle_, &QPushButton::clicked, this, [this] { SetAdvanced(!advanced_); });

    choices_[int(form.choice)]->setChecked(true);
    SetAdvanced(form.advanced);
}

void CInCDeferDlg::SetAdvanced(bool advanced)
{
    advanced_ = advanced;
    for (QWidget* row : advancedRows_)
        row->setVisible(advanced);
    toggle_->setText(advanced ? "<< Basic" : "Advanced >>");
    // The basic form offers only tomorrow and finished.
    const DeferChoice choice = Form().choice;
    if (!advanced && choice != DeferChoice::Tomorrow && choice != DeferChoice::Finished)
        choices_[int(DeferChoice::Tomorrow)]->setChecked(true);
    adjustSize();
}

DeferForm CInCDeferDlg::Form() const
{
    DeferForm form;
    for (int i = 0; i < 5; ++i)
        if (choices_[i]->isChecked())
            form.choice = DeferChoice(i);
    form.advanced = advanced_;
    form.hours = hours_->value();
    form.todayMinutes = MinutesOf(today_);
    form.tomorrowMinutes = MinutesOf(tomorrow_);
    form.dayOffset = days_->currentIndex();
    form.dayMinutes = MinutesOf(onDay_);
    return form;
}

std::optional<int64_t> CInCDeferDlg::DueTime() const
{
    return DeferDueTime(Form(), now_, todayMidnight_);
}

void CInCDeferDlg::accept()
{
    RememberDeferWord(DeferSettingsWord(Form()));
    QDialog::accept();
}

} // namespace qv
