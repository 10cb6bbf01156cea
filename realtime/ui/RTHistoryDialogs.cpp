// The backfill, backfill progress and purge dialogs.
#include "realtime/ui/RTHistoryDialogs.h"

#include "core/DateText.h"
#include "core/StringPrintf.h"
#include "core/SystemDate.h"
#include "lists/ui/ColumnDialogs.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"
#include "realtime/store/RTStoreFiles.h"
#include "realtime/ui/RTFeedDialogs.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/FilteredEdit.h"
#include "shell/ui/GridListBox.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/SuppressibleMessage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {
namespace {

constexpr const char* kExchangeNames[1 + kLevelGroups] = {"London", "NASDAQ", "NYSE/AMEX", "Forex", "Indices"};
constexpr const char* kUsNote = "Due to the large volume of data involved, backfill of\nUS exchange data is only "
                                "available outside of US\nexchange hours. Backfill of London Stock Exchange\ndata is "
                                "available all day.";
constexpr const char* kWaitBackfill = "Please wait until the intraday backfill has completed before purging";
constexpr uint16_t kIntradayOptionsPage = 0x1000;
constexpr uint8_t kLondonData = 1, kOtherData = 2;

QString Text(const std::string& s) { return FromCp1252(s); }

QLabel* Bold(QWidget* parent)
{
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

} // namespace

CRTBackfillDlg::CRTBackfillDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Intraday backfill"));
    caption1_ = Bold(this);
    caption2_ = Bold(this);
    auto* exchanges = new QVBoxLayout;
    for (int i = 0; i <= kLevelGroups; ++i) {
        boxes_[size_t(i)] = new QCheckBox(QString::fromLatin1(kExchangeNames[i]));
        boxes_[size_t(i)]->setObjectName(QString::fromLatin1(kExchangeNames[i]));
        connect(boxes_[size_t(i)], &QCheckBox::toggled, this, [this] { ExchangeChanged(); });
        exchanges->addWidget(boxes_[size_t(i)]);
    }
    boxes_[0]->setChecked(true);
    selectAll_ = new QPushButton(QStringLiteral("Select All"));
    levels_ = new QPushButton(QStringLiteral("Select Delivery Levels"));
    exchanges->addWidget(selectAll_);
    exchanges->addWidget(levels_);
    exchanges->addStretch();
    // The day in the first column and "PARTIAL" after the tab in the second.
    auto* days = new CGridListBox(true);
    days->SetNoLines(true);
    days->SetColumnCallback([](int rowWidth) {
        GridColumns columns;
        columns.stops[0] = 2;
        columns.stops[1] = rowWidth * 3 / 5;
        return columns;
    });
    days_ = days;
    days_->setObjectName(QStringLiteral("days"));
    days_->setSelectionMode(QAbstractItemView::MultiSelection);
    days_->setMinimumWidth(260);
    note_ = new QLabel;
    overwrite_ = new QCheckBox(QStringLiteral("Overwrite specified days"));
    overwrite_->setChecked(true);
    auto* list = new QVBoxLayout;
    list->addWidget(days_);
    list->addWidget(note_);
    list->addWidget(overwrite_);
    auto* middle = new QHBoxLayout;
    middle->addLayout(exchanges);
    middle->addLayout(list, 1);
    request_button_ = new QPushButton(QStringLiteral("Request"));
    request_button_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(request_button_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption1_);
    layout->addWidget(caption2_);
    layout->addLayout(middle);
    layout->addLayout(buttons);
    setMinimumWidth(540);

    connect(selectAll_, &QPushButton::clicked, this, [this] { days_->selectAll(); });
    connect(levels_, &QPushButton::clicked, this, [this] {
        CRTFeedLevelsDlg dialog(this);
        if (RunModalDialog(dialog) == QDialog::Accepted)
            EnableExchanges();
    });
    connect(days_, &QListWidget::itemSelectionChanged, this, [this] { UpdateRequest(); });
    connect(request_button_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    EnableExchanges();
    caption1_->setText(QStringLiteral("Please wait"));
    caption2_->setText(QStringLiteral("Querying server for available days."));
    UpdateRequest();
    RequestRTBackfillDays();
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { Tick(); });
    timer_->start(kTickMs);
}

void CRTBackfillDlg::EnableExchanges()
{
    const uint32_t backfill = CurrentRTFeedSettings().backfillLevels;
    for (int g = 0; g < kLevelGroups; ++g) {
        QCheckBox* box = boxes_[size_t(g + 1)];
        box->setEnabled(GroupLevel(backfill, g) != 0);
        if (!box->isEnabled())
            box->setChecked(false);
    }
}

void CRTBackfillDlg::Tick()
{
    if (known_)
        return;
    FeedServerInfo& info = TheFeedServerInfo();
    std::optional<std::vector<BackfillDayInfo>> days;
    {
        std::lock_guard guard(info.mutex);
        if (info.daysAnswered)
            days = info.days;
    }
    if (days) {
        timer_->stop();
        ShowDays(*days);
        return;
    }
    if (++ticks_ < kWaitTicks)
        return;
    timer_->stop();
    caption1_->setText(QStringLiteral("Service Unavailable."));
    caption2_->setText(QStringLiteral("The intraday server did not respond to the request for\nbackfill information. "
                                      "Please try again later."));
    for (QCheckBox* box : boxes_)
        box->setEnabled(false);
    selectAll_->setEnabled(false);
    levels_->setEnabled(false);
    days_->setEnabled(false);
    overwrite_->setEnabled(false);
}

void CRTBackfillDlg::ShowDays(const std::vector<BackfillDayInfo>& days)
{
    known_ = true;
    serverDays_ = days;
    caption1_->setText(QStringLiteral("Please select the exchanges you wish to backfill and the days available will "
                                      "be shown. Multiple days can be selected."));
    caption2_->setText(QStringLiteral("If the data on a particular day is not available for all the selected "
                                      "exchanges, this will be indicated."));
    Rebuild();
}

void CRTBackfillDlg::ExchangeChanged()
{
    Rebuild();
    bool foreign = false;
    for (int g = 1; g <= kLevelGroups; ++g)
        foreign |= boxes_[size_t(g)]->isChecked();
    RTFeedSettings s = CurrentRTFeedSettings();
    if (!foreign || s.usBackfillNoteOff || !isVisible())
        return;
    CSuppressibleMessage note(Text(kUsNote), CSuppressibleMessage::Options{.singleButton = true}, this);
    note.run();
    if (note.suppressChecked()) {
        s.usBackfillNoteOff = true;
        StoreRTFeedSettings(s);
    }
}

void CRTBackfillDlg::Rebuild()
{
    if (!known_)
        return;
    const BackfillChoice choice = Choice();
    bool foreign = false;
    for (bool g : choice.groups)
        foreign |= g;
    const PackedDate today = GetTodayDate(0);
    days_->clear();
    uint8_t union_ = 0;
    for (const BackfillDayInfo& d : serverDays_) {
        const bool partial = (choice.london && !(d.available & kLondonData)) || (foreign && !(d.available & kOtherData));
        std::string text = FormatDateWithDay(d.day);
        if (d.day == today)
            text += " (today)";
        if (partial)
            text += "\tPARTIAL";
        auto* item = new QListWidgetItem(Text(text), days_);
        item->setData(Qt::UserRole, int(d.day));
        union_ |= d.available;
    }
    const char* which = union_ == (kLondonData | kOtherData) ? "Both London and non-London"
                        : union_ == kLondonData              ? "Only London"
                                                             : "Only non-London";
    note_->setText(union_ ? QStringLiteral(" data available for %1").arg(QString::fromLatin1(which)) : QString());
    UpdateRequest();
}

BackfillChoice CRTBackfillDlg::Choice() const
{
    BackfillChoice c;
    c.london = boxes_[0]->isChecked();
    for (int g = 0; g < kLevelGroups; ++g)
        c.groups[size_t(g)] = boxes_[size_t(g + 1)]->isChecked();
    c.overwrite = overwrite_->isChecked();
    for (int row = 0; row < days_->count(); ++row)
        if (days_->item(row)->isSelected())
            c.days.push_back(PackedDate(days_->item(row)->data(Qt::UserRole).toInt()));
    return c;
}

void CRTBackfillDlg::UpdateRequest() { request_button_->setEnabled(known_ && !days_->selectedItems().isEmpty()); }

void CRTBackfillDlg::accept()
{
    BackfillChoice c = Choice();
    if (c.days.empty())
        return;
    request_ = PackBackfillRequest(c, CurrentRTFeedSettings().backfillLevels);
    QDialog::accept();
}

CRTBackfillProgressDlg::CRTBackfillProgressDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Backfill progress"));
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("status"));
    detail_ = new QLabel;
    detail_->setObjectName(QStringLiteral("detail"));
    overall_ = new QProgressBar;
    overall_->setTextVisible(false);
    perExchange_ = new QWidget;
    auto* grid = new QGridLayout(perExchange_);
    for (int i = 0; i < 5; ++i) {
        grid->addWidget(new QLabel(QString::fromLatin1(kExchangeNames[i])), i, 0);
        bars_[size_t(i)] = new QProgressBar;
        bars_[size_t(i)]->setTextVisible(false);
        grid->addWidget(bars_[size_t(i)], i, 1);
    }
    perExchange_->setVisible(false);
    moreButton_ = new QPushButton(QStringLiteral("More Info >>"));
    auto* abort = new QPushButton(QStringLiteral("Abort"));
    auto* abortAll = new QPushButton(QStringLiteral("Abort All"));
    auto* close = new QPushButton(QStringLiteral("Close"));
    close->setDefault(true);
    connect(moreButton_, &QPushButton::clicked, this, [this] { ToggleMore(); });
    connect(abort, &QPushButton::clicked, this, [] { AbortRTBackfill(false); });
    connect(abortAll, &QPushButton::clicked, this, [] { AbortRTBackfill(true); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(moreButton_);
    buttons->addStretch();
    buttons->addWidget(abort);
    buttons->addWidget(abortAll);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(overall_);
    layout->addWidget(detail_);
    layout->addWidget(perExchange_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(420);
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] { Refresh(); });
    timer->start(1000);
    Refresh();
}

void CRTBackfillProgressDlg::Refresh()
{
    const FeedServerInfo& info = TheFeedServerInfo();
    if (RTConnectionStep() < kFeedBackfilling) {
        status_->setText(QStringLiteral("Backfill Status: None in progress"));
        detail_->setText(QStringLiteral("No backfill in progress"));
        overall_->setRange(0, 1);
        overall_->setValue(0);
        for (QProgressBar* bar : bars_) {
            bar->setRange(0, 1);
            bar->setValue(0);
        }
        return;
    }
    const uint32_t total = info.backfillTotal, done = std::min<uint32_t>(info.backfillDone, info.backfillTotal);
    // The stand-in's feed backfills London only.
    status_->setText(total ? QStringLiteral("Currently backfilling %1 ").arg(QString::fromLatin1(kExchangeNames[0]))
                           : QStringLiteral("Awaiting information"));
    detail_->setText(QStringLiteral("%1 of %2").arg(done).arg(total));
    overall_->setRange(0, int(std::max<uint32_t>(total, 1)));
    overall_->setValue(int(done));
    bars_[0]->setRange(0, int(std::max<uint32_t>(total, 1)));
    bars_[0]->setValue(int(done));
}

void CRTBackfillProgressDlg::ToggleMore()
{
    more_ = !more_;
    perExchange_->setVisible(more_);
    moreButton_->setText(more_ ? QStringLiteral("<< Less Info") : QStringLiteral("More Info >>"));
}

CRTPurgeHistoryDlg::CRTPurgeHistoryDlg(bool automatic, QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(automatic ? QStringLiteral("Auto purge intraday history") : QStringLiteral("Purge Intraday History"));
    for (const auto& [day, bytes] : ListRTHistory())
        history_.push_back({day, bytes});
    const RTFeedSettings s = CurrentRTFeedSettings();
    method_ = new QButtonGroup(this);
    auto* time = new QRadioButton(QStringLiteral("Keep"));
    auto* storage = new QRadioButton(QStringLiteral("Keep"));
    auto* date = new QRadioButton(QStringLiteral("Purge items up to"));
    method_->addButton(time, int(PurgeMethod::Time));
    method_->addButton(storage, int(PurgeMethod::Storage));
    method_->addButton(date, int(PurgeMethod::Date));
    days_ = new QLineEdit;
    days_->setObjectName(QStringLiteral("days"));
    days_->setValidator(new QIntValidator(0, 65535, days_));
    mbytes_ = new QLineEdit;
    mbytes_->setObjectName(QStringLiteral("mbytes"));
    mbytes_->setValidator(new QIntValidator(0, 1000000, mbytes_));
    // The reminder opens on the limit it measured the history by (the page's days or MBytes), not on
    // whatever method the dialog was last left with.
    const PurgeMethod opening = automatic ? PurgeLimitMethod(s) : s.purgeMethod;
    date_ = MakeDialogDateField(this, 0, opening == PurgeMethod::Date && s.purgeDate ? s.purgeDate : GetTodayDate(25),
                                "date");
    auto* grid = new QGridLayout;
    grid->addWidget(time, 0, 0);
    grid->addWidget(days_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("days")), 0, 2);
    grid->addWidget(storage, 1, 0);
    grid->addWidget(mbytes_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("MBytes")), 1, 2);
    grid->addWidget(date, 2, 0);
    grid->addWidget(date_, 2, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Note : Items up to this date will be purged")), 3, 0, 1, 3);
    auto* columns = new QGridLayout;
    columns->addWidget(new QLabel(QStringLiteral("Before purge")), 0, 1);
    columns->addWidget(new QLabel(QStringLiteral("After purge")), 0, 2);
    columns->addWidget(new QLabel(QStringLiteral("Days")), 1, 0);
    columns->addWidget(new QLabel(QStringLiteral("MBytes")), 2, 0);
    beforeDays_ = new QLabel;
    beforeMb_ = new QLabel;
    afterDays_ = new QLabel;
    afterMb_ = new QLabel;
    beforeDays_->setObjectName(QStringLiteral("beforeDays"));
    beforeMb_->setObjectName(QStringLiteral("beforeMb"));
    afterDays_->setObjectName(QStringLiteral("afterDays"));
    afterMb_->setObjectName(QStringLiteral("afterMb"));
    columns->addWidget(beforeDays_, 1, 1);
    columns->addWidget(beforeMb_, 2, 1);
    columns->addWidget(afterDays_, 1, 2);
    columns->addWidget(afterMb_, 2, 2);
    auto* purge = new QPushButton(QStringLiteral("Purge intraday history"));
    auto* dontPurge = new QPushButton(QStringLiteral("Don't purge"));
    auto* options = new QPushButton(QStringLiteral("Options"));
    dontPurge->setDefault(true);
    connect(purge, &QPushButton::clicked, this, [this] { Purge(); });
    connect(dontPurge, &QPushButton::clicked, this, [this] { DontPurge(); });
    connect(options, &QPushButton::clicked, this, [this] {
        Store(false);
        if (FrameDialogs().optionsSheet)
            FrameDialogs().optionsSheet(kIntradayOptionsPage);
        ShowStored();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(purge);
    buttons->addWidget(dontPurge);
    buttons->addWidget(options);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    ShowStored();
    method_->button(int(opening))->setChecked(true);
    connect(method_, &QButtonGroup::idClicked, this, [this] { Enable(); Recompute(); });
    connect(days_, &QLineEdit::textChanged, this, [this] { Recompute(); });
    connect(mbytes_, &QLineEdit::textChanged, this, [this] { Recompute(); });
    connect(date_->edit(), &QLineEdit::textChanged, this, [this] { Recompute(); });
    Enable();
    int64_t sizeKb = 0;
    int32_t days = 0;
    GetRTHistorySize(sizeKb, days);
    beforeDays_->setText(QString::number(days));
    beforeMb_->setText(Text(StringPrintf("%0.2f", double(sizeKb) / 1024.0)));
    Recompute();
    if (automatic) {
        autoTimer_ = new QTimer(this);
        autoTimer_->setSingleShot(true);
        connect(autoTimer_, &QTimer::timeout, this, [this] { DontPurge(); });
        autoTimer_->start(kAutomaticCloseMs);
    }
}

void CRTPurgeHistoryDlg::ShowStored()
{
    const RTFeedSettings s = CurrentRTFeedSettings();
    days_->setText(QString::number(s.keepDays));
    mbytes_->setText(QString::number(s.keepMBytes));
}

PurgeMethod CRTPurgeHistoryDlg::Method() const { return PurgeMethod(std::max(method_->checkedId(), 0)); }

void CRTPurgeHistoryDlg::Enable()
{
    days_->setEnabled(Method() == PurgeMethod::Time);
    mbytes_->setEnabled(Method() == PurgeMethod::Storage);
    date_->EnableWindow(Method() == PurgeMethod::Date);
}

void CRTPurgeHistoryDlg::Recompute()
{
    const PackedDate from = date_->ReadDate() ? date_->ReadDate() : date_->date;
    PurgeOutcome after = RTPurgeOutcome(history_, Method(), days_->text().toUInt(), mbytes_->text().toUInt(), from);
    afterDays_->setText(QString::number(after.days));
    afterMb_->setText(Text(PurgeMBytesText(after.bytes)));
}

QString CRTPurgeHistoryDlg::BeforeText() const { return beforeDays_->text() + QLatin1Char(' ') + beforeMb_->text(); }
QString CRTPurgeHistoryDlg::AfterText() const { return afterDays_->text() + QLatin1Char(' ') + afterMb_->text(); }

void CRTPurgeHistoryDlg::Store(bool withDate)
{
    RTFeedSettings s = CurrentRTFeedSettings();
    s.purgeMethod = Method();
    // The days and MBytes methods are the Intraday page's limit choice, one setting seen from two places.
    if (s.purgeMethod != PurgeMethod::Date)
        s.purgeLimit = s.purgeMethod == PurgeMethod::Storage ? 1 : 0;
    s.keepDays = uint16_t(std::min(days_->text().toUInt(), 65535u));
    s.keepMBytes = mbytes_->text().toUInt();
    if (withDate)
        s.purgeDate = date_->ReadDate() ? date_->ReadDate() : date_->date;
    StoreRTFeedSettings(s);
}

void CRTPurgeHistoryDlg::Purge()
{
    Store(true);
    const RTFeedSettings s = CurrentRTFeedSettings();
    PurgeOutcome keep = RTPurgeOutcome(history_, s.purgeMethod, s.keepDays, s.keepMBytes, s.purgeDate);
    PurgeRTHistory(keep.days, autoTimer_ != nullptr, keep.days);
    accept();
}

void CRTPurgeHistoryDlg::DontPurge() { reject(); }

void CRTPurgeHistoryDlg::reject()
{
    Store(false);
    QDialog::reject();
}

void RunNewDayPurgeCheck(QWidget* parent)
{
    std::vector<RTHistoryDay> history;
    for (const auto& [day, bytes] : ListRTHistory())
        history.push_back({day, bytes});
    const RTFeedSettings s = CurrentRTFeedSettings();
    switch (PurgeDueOnNewDay(s, history)) {
    case PurgeDue::None: return;
    case PurgeDue::Automatic: {
        // "Automatic purge" cuts the history to its limit straight away, asking only the purge's question.
        const PurgeOutcome keep = RTPurgeOutcome(history, PurgeLimitMethod(s), s.keepDays, s.keepMBytes, 0);
        PurgeRTHistory(keep.days, true, keep.days);
        return;
    }
    case PurgeDue::Reminder: RunPurgeDialog(true, parent); return;
    }
}

bool RunPurgeDialog(bool automatic, QWidget* parent)
{
    if (RTConnectionStep() >= kFeedBackfilling) {
        ShowMessage(kWaitBackfill, {}, MsgButtons::Ok, MsgIcon::Information);
        return false;
    }
    CRTPurgeHistoryDlg dialog(automatic, parent);
    return RunModalDialog(dialog) == QDialog::Accepted;
}

} // namespace qv
