// The daily and intraday stop-loss dialogs.
#include "chartmodel/ui/StopLossDlg.h"

#include "charts/IntradayChartView.h"
#include "core/RecordCursor.h"
#include "core/TimeZones.h"

#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "realtime/RTMarketTable.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/FilteredEdit.h"
#include "shell/ui/StyleButton.h"
#include "shell/ui/TimeEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace qv {

namespace {

constexpr uint32_t kStopLossHelp = 91626;

template <class W>
W* Named(W* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

QString Percent(double value) { return QString::number(value, 'f', 2); }

} // namespace

void SetIntradayStopTimes(StopLossContext& context, const RecordCursor* entry)
{
    const auto& hours = ExchangeTimesTable();
    if (context.individual) {
        const uint8_t market = entry && entry->record ? IntradayMarketOf(*entry) : 0;
        context.resetTime = market < hours.size() ? hours[market].first : hours[0].first;
        const std::optional<StopRecord> own = ShareStopRecord(context.share, true);
        const std::string_view zone = GetMarketTimeZoneName(market, own ? own->startDate : context.latestTradingDate);
        if (!zone.empty())
            context.zoneName = std::string(zone);
    } else {
        const int64_t open = int64_t(hours[0].first) + int64_t(GetMarketUtcBias(0, context.today)) * 60;
        context.resetTime = uint32_t(std::clamp<int64_t>(open, 0, 86399));
    }
}

CStopLossDlg::CStopLossDlg(const StopLossContext& context, QWidget* parent)
    : QDialog(parent), context_(context), percent_(Named(new QLineEdit(this), 1339)), date_(new CDateEdit(this)),
      pen_(Named(new CStyleButton(this), 1457)),
      moveBoth_(Named(new QCheckBox(QStringLiteral("Move down as well as up"), this), 1262)),
      startAtDate_(Named(new QCheckBox(QStringLiteral("Start at date"), this), 1264)),
      stopLoss_(Named(new QRadioButton(QStringLiteral("Stop-Loss"), this), 3420)),
      stopGain_(Named(new QRadioButton(QStringLiteral("Stop-Gain"), this), 3421)),
      applyTo_(Named(new QLabel(this), 2126))
{
    const bool intraday = context.intraday;
    setObjectName(QString::number(intraday ? 27245 : 342));

    if (context.individual) {
        std::optional<StopRecord> own = ShareStopRecord(context.share, intraday);
        shareBefore_ = own;
        if (own) {
            record_ = *own;
        } else {
            record_ = StopRecord{0, context.latestTradingDate, NewStopRecordPen(), intraday ? 1.0f : 10.0f, 0};
            isNew_ = true;
        }
        mask_ = uint16_t(IndividualStopMask(intraday) | (1u << context.setting));
    } else {
        record_ = GlobalStopRecord(intraday);
        mask_ = uint16_t(GlobalStopMask(intraday) | (1u << context.setting));
    }
    globalBefore_ = GlobalStopRecord(intraday);
    maskBefore_ = context.individual ? IndividualStopMask(intraday) : GlobalStopMask(intraday);
    penBefore_ = NewStopRecordPen();

    auto* group = new QButtonGroup(this);
    group->addButton(stopLoss_);
    group->addButton(stopGain_);
    pen_->setFixedSize(110, 24);
    date_->Create(1829, this, QRect(0, 0, 220, 24), nullptr, record_.startDate);
    date_->setMinimumWidth(220);

    auto* grid = new QGridLayout(this);
    int row = 0;
    grid->addWidget(stopLoss_, row, 0);
    grid->addWidget(stopGain_, row++, 1);
    grid->addWidget(percent_, row, 0);
    grid->addWidget(new QLabel(QStringLiteral("percent"), this), row++, 1);
    grid->addWidget(moveBoth_, row++, 0, 1, 2);
    grid->addWidget(startAtDate_, row, 0);
    grid->addWidget(date_, row++, 1);
    if (intraday) {
        startTime_ = Named(new QCheckBox(QStringLiteral("Start time"), this), 3658);
        time_ = new CTimeEdit(this);
        time_->Create(3665, this, QRect(0, 0, 120, 24), nullptr, nullptr, true);
        time_->setMinimumSize(120, 24);
        zone_ = Named(new QLabel(context.individual ? FromCp1252(context.zoneName) : QStringLiteral("GMT"), this), 3716);
        grid->addWidget(startTime_, row, 0);
        grid->addWidget(time_, row, 1);
        grid->addWidget(zone_, row++, 2);
        auto* basis = new QButtonGroup(this);
        const char* names[] = {"Mid", "Bid", "Offer"};
        for (int i = 0; i < 3; ++i) {
            basis_[size_t(i)] = Named(new QRadioButton(QString::fromLatin1(names[i]), this), 3660 + i);
            basis->addButton(basis_[size_t(i)]);
            grid->addWidget(basis_[size_t(i)], row, i);
        }
        ++row;
        reset_ = Named(new QPushButton(QStringLiteral("Reset start date/time to now"), this), 3659);
        reset_->setEnabled(context.feedState >= 7);
        grid->addWidget(reset_, row++, 0, 1, 2);
        connect(reset_, &QPushButton::clicked, this, [this] { ResetToNow(); });
        connect(startTime_, &QCheckBox::toggled, this, [this] {
            UpdateEnabling();
            UpdateTitle();
        });
    }
    grid->addWidget(new QLabel(QStringLiteral("Line"), this), row, 0);
    grid->addWidget(pen_, row++, 1);
    grid->addWidget(applyTo_, row, 0);
    auto* select = Named(new QPushButton(QStringLiteral("Select Settings"), this), 26566);
    grid->addWidget(select, row++, 1);
    connect(select, &QPushButton::clicked, this, [this] { SelectSettings(); });

    auto* buttons = OkCancelHelpButtons(*this, kStopLossHelp);
    auto* preview = buttons->addButton(QStringLiteral("Preview"), QDialogButtonBox::ApplyRole);
    preview->setObjectName(QStringLiteral("18127"));
    connect(preview, &QPushButton::clicked, this, [this] { Apply(); });
    delete_ = Named(buttons->addButton(QStringLiteral("Delete"), QDialogButtonBox::ActionRole), 26564);
    deleteAll_ = Named(buttons->addButton(QStringLiteral("Delete All"), QDialogButtonBox::ActionRole), 26565);
    connect(delete_, &QPushButton::clicked, this, [this] { Delete(); });
    connect(deleteAll_, &QPushButton::clicked, this, [this] { DeleteAll(); });
    grid->addWidget(buttons, row, 0, 1, 3);

    if (context.individual) {
        delete_->setEnabled(!isNew_);
        deleteAll_->setEnabled(AnyShareStopRecord(intraday));
    } else {
        delete_->hide();
        deleteAll_->hide();
    }

    connect(date_->edit(), &QLineEdit::textEdited, this, [this] { startAtDate_->setChecked(true); });
    connect(percent_, &QLineEdit::editingFinished, this, [this] { CheckPercent(); });
    connect(startAtDate_, &QCheckBox::toggled, this, [this] {
        UpdateEnabling();
        UpdateTitle();
    });
    connect(stopLoss_, &QRadioButton::toggled, this, [this] { UpdateTitle(); });
    ShowRecord();
}

CStopLossDlg::~CStopLossDlg()
{
    // A dialog that goes while shown hides in QDialog's destructor, and the field losing the focus
    // then would check its text on a dialog that is no longer whole.
    percent_->disconnect(this);
}

void CStopLossDlg::ShowRecord()
{
    percent_->setText(Percent(record_.percent));
    pen_->CreateFromPackedStyle(record_.pen, context_.background, false);
    moveBoth_->setChecked(record_.flags & StopFlag::MoveBothWays);
    startAtDate_->setChecked(record_.flags & StopFlag::StartAtDate);
    (record_.flags & StopFlag::StopGain ? stopGain_ : stopLoss_)->setChecked(true);
    if (context_.intraday) {
        startTime_->setChecked(record_.flags & StopFlag::StartTime);
        time_->SetTime(int(record_.startTime), true);
        basis_[size_t(std::min((record_.flags & StopFlag::PriceBasisMask) >> 4, 2))]->setChecked(true);
    }
    ShowMask();
    UpdateEnabling();
    UpdateTitle();
}

void CStopLossDlg::UpdateEnabling()
{
    bool atDate = startAtDate_->isChecked();
    date_->EnableWindow(atDate);
    if (!context_.intraday)
        return;
    if (!atDate)
        startTime_->setChecked(false);
    startTime_->setEnabled(atDate);
    time_->EnableWindow(startTime_->isChecked());
    zone_->setEnabled(startTime_->isChecked());
}

void CStopLossDlg::UpdateTitle()
{
    const char* kind = stopGain_->isChecked() ? "gain" : "loss";
    if (context_.intraday) {
        setWindowTitle(QStringLiteral("%1 Intraday Stop-%2 settings")
                           .arg(context_.individual ? QStringLiteral("This Graph's") : QStringLiteral("Global"),
                                QString::fromLatin1(kind)));
    } else if (context_.individual) {
        setWindowTitle(QStringLiteral("Set this Graph's Stop-Loss settings"));
    } else {
        setWindowTitle(QStringLiteral("Change the Global Stop-%1 settings").arg(QString::fromLatin1(kind)));
    }
}

QString CStopLossDlg::applyText() const { return applyTo_->text(); }

void CStopLossDlg::ShowMask() { applyTo_->setText(QString::fromStdString(StopApplyText(mask_, context_.setting))); }

void CStopLossDlg::CheckPercent()
{
    bool ok = false;
    double value = percent_->text().trimmed().toDouble(&ok);
    percent_->setText(Percent(CheckStopPercent(ok ? value : 0)));
}

void CStopLossDlg::SelectSettings()
{
    uint16_t mask = mask_;
    if (!context_.selectSettings || !context_.selectSettings(context_.setting, mask))
        return;
    mask_ = (mask & 0x8000) ? kAllSettingsMask : uint16_t(mask & kAllSettingsMask);
    ShowMask();
}

void CStopLossDlg::ResetToNow()
{
    date_->date = context_.today;
    date_->FormatDate(true);
    time_->SetTime(int(context_.resetTime), true);
    startAtDate_->setChecked(true);
    startTime_->setChecked(true);
}

void CStopLossDlg::Apply()
{
    CheckPercent();
    const bool intraday = context_.intraday;
    uint16_t flags = uint16_t(record_.flags & ~(StopFlag::StopGain | StopFlag::MoveBothWays | StopFlag::StartAtDate |
                                                StopFlag::StartTime | StopFlag::PriceBasisMask));
    if (stopGain_->isChecked())
        flags |= StopFlag::StopGain;
    if (moveBoth_->isChecked())
        flags |= StopFlag::MoveBothWays;
    if (startAtDate_->isChecked())
        flags |= StopFlag::StartAtDate;
    if (intraday) {
        if (startTime_->isChecked())
            flags |= StopFlag::StartTime;
        for (int i = 0; i < 3; ++i)
            if (basis_[size_t(i)]->isChecked())
                flags |= uint16_t(i << 4);
        record_.startTime = uint32_t(std::max(0, time_->ReadTime()));
    }
    record_.flags = flags;
    PackedDate typed = date_->ReadDate();
    record_.startDate = typed != 0 ? typed : date_->date;
    record_.pen = pen_->GetColour(0) | pen_->GetPackedStyle();
    record_.percent = float(percent_->text().toDouble());
    if (context_.individual) {
        SetIndividualStopMask(intraday, mask_);
        SetNewStopRecordPen(record_.pen);
        StoreShareStopRecord(context_.share, intraday, record_);
        isNew_ = false;
    } else {
        SetGlobalStopMask(intraday, mask_);
        SetGlobalStopRecord(intraday, record_);
    }
    if (context_.notify)
        context_.notify();
}

void CStopLossDlg::accept()
{
    Apply();
    QDialog::accept();
}

void CStopLossDlg::reject()
{
    const bool intraday = context_.intraday;
    if (context_.individual) {
        SetIndividualStopMask(intraday, maskBefore_);
        SetNewStopRecordPen(penBefore_);
        if (shareBefore_)
            StoreShareStopRecord(context_.share, intraday, *shareBefore_);
        else
            DeleteShareStopRecord(context_.share, intraday);
    } else {
        SetGlobalStopMask(intraday, maskBefore_);
        SetGlobalStopRecord(intraday, globalBefore_);
    }
    if (context_.notify)
        context_.notify();
    QDialog::reject();
}

void CStopLossDlg::Delete()
{
    DeleteShareStopRecord(context_.share, context_.intraday);
    if (context_.notify)
        context_.notify();
    QDialog::done(QDialog::Accepted);
}

void CStopLossDlg::DeleteAll()
{
    const char* question = context_.intraday
                               ? "Are you sure you want to delete all individual intraday stop-loss settings?"
                               : "Are you sure you want to delete all individual stop-loss settings?";
    if (ShowMessage(question, {}, MsgButtons::OkCancel, MsgIcon::Question) != MsgAnswer::Ok)
        return;
    DeleteAllShareStopRecords(context_.intraday);
    if (context_.notify)
        context_.notify();
    QDialog::done(QDialog::Accepted);
}

} // namespace qv
