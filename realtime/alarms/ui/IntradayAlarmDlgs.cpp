// The intraday alarm dialogs and the alarm server's window-layer side.
#include "realtime/alarms/ui/IntradayAlarmDlgs.h"

#include "core/FormatValue.h"
#include "core/Portfolio.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/StringPrintf.h"
#include "platform/Beep.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "realtime/alarms/AlarmRules.h"
#include "realtime/alarms/AlarmServer.h"
#include "realtime/TimerQueue.h"
#include "realtime/alarms/ui/AlarmSound.h"
#include "realtime/store/RTShareTable.h"
#include "shell/FrameDialogSeams.h"
#include "shell/StartupSteps.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "views/FrameState.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <ctime>
#include <memory>

namespace qv {
namespace {

constexpr uint16_t kAlarmOptionsPage = 0x2000;
constexpr uint32_t kCommandReset = 26403, kCommandEdit = 26404, kCommandResetAll = 26405, kCommandLog = 26854;
constexpr int kHelpButton = 2158;
constexpr uint32_t kHelpTopicBase = 0x20000;
// The triggered list's refresh passes: the delay after a reset, before a first pass and before a later
// one; a pass's time and, from an empty list, its lines.
constexpr int32_t kRefreshAfterResetMs = 200, kRefreshFirstMs = 1000, kRefreshLaterMs = 2000;
constexpr uint32_t kPassMs = 30, kPassCheckLines = 4, kFirstPassLines = 50;
const QStringList kAverageTypes = {"Simple", "Exponential", "Weighted", "Triangular", "Variable"};

template <typename W> W* Named(W* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

QSpinBox* Spin(QWidget* parent, int id, int low, int high)
{
    auto* s = Named(new QSpinBox(parent), id);
    s->setRange(low, high);
    return s;
}

bool Confirm(const char* text)
{
    return ShowMessage(text, {}, MsgButtons::YesNo, MsgIcon::Question, 1) == MsgAnswer::Yes;
}

std::string ShareNameOf(uint16_t share)
{
    const uint8_t* record = FindShareRecord(share);
    return record ? std::string(GetRecordName(record)) : std::to_string(share);
}

// The Help button of a dialog, showing the topic of its template.
void AddHelp(QDialog& dialog, QDialogButtonBox& box, int templateId)
{
    QPushButton* help = box.addButton(QDialogButtonBox::Help);
    help->setObjectName(QString::number(kHelpButton));
    InstallDialogHelp(dialog, kHelpTopicBase + uint32_t(templateId), help);
}

QDialogButtonBox* OkCancel(QDialog* dialog, bool withDefault, const std::function<void()>& onDefault = {}, int helpFor = 0)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    if (helpFor)
        AddHelp(*dialog, *box, helpFor);
    if (withDefault) {
        QPushButton* d = Named(box->addButton(QStringLiteral("Default"), QDialogButtonBox::ResetRole), 3);
        QObject::connect(d, &QPushButton::clicked, dialog, onDefault);
    }
    return box;
}

bool ReadPercent(const QLineEdit* field, float low, float high, float& out)
{
    bool ok = false;
    const float v = field->text().toFloat(&ok);
    if (!ok || v < low || v > high)
        return false;
    out = v;
    return true;
}

// The main frame owns the modeless list, so that it closes with the frame.
QPointer<CIntradayAlarmsDlg>& TriggeredDialog()
{
    static QPointer<CIntradayAlarmsDlg> dialog;
    return dialog;
}

std::unique_ptr<CAlarmServer>& Server()
{
    static std::unique_ptr<CAlarmServer> server;
    return server;
}

QWidget* MainWindow()
{
    if (auto* frame = dynamic_cast<QWidget*>(MainFrameTarget()))
        return frame;
    return QApplication::activeWindow();
}

// A list box's tab stops as fractions of its width: each tab-separated field of a line starts at its
// stop, and the headings above the list stand at the same stops.
class TabStopDelegate : public QStyledItemDelegate {
public:
    TabStopDelegate(std::vector<double> stops, QObject* parent) : QStyledItemDelegate(parent), stops_(std::move(stops)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        const QString text = o.text;
        o.text.clear();
        QStyle* style = o.widget ? o.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &o, painter, o.widget);
        painter->save();
        painter->setPen(o.palette.color(o.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        DrawFields(*painter, o.rect.adjusted(2, 0, 0, 0), text, stops_);
        painter->restore();
    }

    static void DrawFields(QPainter& painter, const QRect& rect, const QString& text, const std::vector<double>& stops)
    {
        const QStringList fields = text.split(QLatin1Char('\t'));
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const int left = rect.left() + (i == 0 ? 0 : int(rect.width() * stops[size_t(std::min<qsizetype>(i - 1, qsizetype(stops.size()) - 1))]));
            const int right = i + 1 < fields.size() && size_t(i) < stops.size() ? rect.left() + int(rect.width() * stops[size_t(i)]) - 4
                                                                               : rect.right();
            painter.drawText(QRect(left, rect.top(), std::max(right - left, 1), rect.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, fields[i]);
        }
    }

private:
    std::vector<double> stops_;
};

class TabStopHeadings : public QWidget {
public:
    TabStopHeadings(QString headings, std::vector<double> stops, QWidget* parent)
        : QWidget(parent), headings_(std::move(headings)), stops_(std::move(stops))
    {
        setMinimumHeight(fontMetrics().height() + 4);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        TabStopDelegate::DrawFields(painter, rect().adjusted(4, 0, 0, 0), headings_, stops_);
    }

private:
    QString headings_;
    std::vector<double> stops_;
};

// The list box with its headings at the tab stops.
void AddTabbedList(QVBoxLayout* layout, QListWidget* list, const QString& headings, std::vector<double> stops)
{
    list->setItemDelegate(new TabStopDelegate(stops, list));
    layout->addWidget(new TabStopHeadings(headings, std::move(stops), list->parentWidget()));
    layout->addWidget(list);
}

} // namespace

std::string TriggeredAlarmLine(const IntradayAlarm& alarm, const std::string& shareName, const std::string& note)
{
    const std::time_t stamp = std::time_t(alarm.stamp);
    std::tm local{};
    localtime_r(&stamp, &local);
    std::string line = StringPrintf("%d:%2.2d\t%s\t%s", local.tm_hour, local.tm_min, shareName.c_str(), alarm.text.c_str());
    if (IsGlobalAlarmKind(alarm.kind))
        return line + "\tglobal alarm";
    if (!note.empty())
        line += "\t" + note;
    return line;
}

std::vector<std::string> ReviewAlarmLines(const RTShareAlarmRecord& r)
{
    std::vector<std::string> lines;
    if (r.aboveOn)
        lines.push_back(StringPrintf("Increase to %g", double(r.aboveLevel)));
    if (r.belowOn)
        lines.push_back(StringPrintf("Decrease to %g", double(r.belowLevel)));
    for (size_t i = 0; i < r.moves.size(); ++i) {
        const RTAlarmSlot& s = r.moves[i];
        if (s.on)
            lines.push_back(StringPrintf(i < 3 ? "Increase %.2f%% %s" : "Decrease %.2f%% %s",
                                         std::fabs(double(s.percentage)), IntervalText(s).c_str()));
    }
    if (r.stopOn)
        lines.push_back(StringPrintf("Stop-loss %f%%", double(r.stopPercent)));
    if (r.newsOn)
        lines.push_back("Directors' Dealings");
    if (r.timerOn) {
        const std::time_t t = std::time_t(r.timerTime);
        std::tm local{};
        localtime_r(&t, &local);
        char date[40];
        std::strftime(date, sizeof date, "%a %d/%m/%Y", &local);
        lines.push_back(StringPrintf("On date %s", date));
    }
    return lines;
}

// --- "Alarm Interval" ---

CAlarmIntervalDlg::CAlarmIntervalDlg(const RTAlarmSlot& slot, QWidget* parent) : QDialog(parent), slot_(slot)
{
    setObjectName(QStringLiteral("708"));
    setWindowTitle(QStringLiteral("Alarm Interval"));
    auto* grid = new QGridLayout(this);
    const char* names[] = {"Open Price", "Close Price", "Minutes ago", "Hours ago", "Trading Days ago"};
    minutes_ = Spin(this, 2804, 1, 1440);
    hours_ = Spin(this, 2811, 1, 24);
    days_ = Spin(this, 2817, 1, 250);
    QSpinBox* counts[] = {nullptr, nullptr, minutes_, hours_, days_};
    for (int i = 0; i < 5; ++i) {
        kinds_[size_t(i)] = new QRadioButton(QString::fromLatin1(names[i]), this);
        grid->addWidget(kinds_[size_t(i)], i, 0);
        if (counts[i])
            grid->addWidget(counts[i], i, 1);
        connect(kinds_[size_t(i)], &QRadioButton::toggled, this, [this] { Enable(); });
    }
    const int kindIndex = slot.kind == kIntervalSinceClose ? 1
                          : slot.kind == kIntervalMinutes  ? 2
                          : slot.kind == kIntervalHours    ? 3
                          : slot.kind == kIntervalDays     ? 4
                                                           : 0;
    kinds_[size_t(kindIndex)]->setChecked(true);
    minutes_->setValue(slot.kind == kIntervalMinutes ? slot.count : 30);
    hours_->setValue(slot.kind == kIntervalHours ? std::max(slot.count / 256, 1) : 1);
    days_->setValue(slot.kind == kIntervalDays ? slot.count : 1);
    grid->addWidget(OkCancel(this, false), 5, 0, 1, 2);
    Enable();
}

void CAlarmIntervalDlg::Enable()
{
    minutes_->setEnabled(kinds_[2]->isChecked());
    hours_->setEnabled(kinds_[3]->isChecked());
    days_->setEnabled(kinds_[4]->isChecked());
}

void CAlarmIntervalDlg::accept()
{
    constexpr int32_t kinds[] = {kIntervalSinceOpen, kIntervalSinceClose, kIntervalMinutes, kIntervalHours, kIntervalDays};
    for (size_t i = 0; i < kinds_.size(); ++i)
        if (kinds_[i]->isChecked())
            slot_.kind = kinds[i];
    slot_.count = slot_.kind == kIntervalMinutes ? int16_t(minutes_->value())
                  : slot_.kind == kIntervalHours ? int16_t(hours_->value() * 256)
                  : slot_.kind == kIntervalDays  ? int16_t(days_->value())
                                                 : int16_t(1);
    QDialog::accept();
}

// --- the move rows ---

AlarmMoveRows::AlarmMoveRows(float maxIncrease, QWidget* parent) : QWidget(parent), maxIncrease_(maxIncrease)
{
    auto* layout = new QHBoxLayout(this);
    constexpr int checks[] = {18000, 18020, 18040, 18010, 18030, 18050};
    for (int half = 0; half < 2; ++half) {
        auto* box = new QGroupBox(half == 0 ? QStringLiteral(" Percentage increase in price ")
                                            : QStringLiteral(" Percentage decrease in price "),
                                  this);
        auto* grid = new QGridLayout(box);
        for (int row = 0; row < 3; ++row) {
            const size_t i = size_t(half * 3 + row);
            checks_[i] = Named(new QCheckBox(box), checks[i]);
            percents_[i] = Named(new QLineEdit(box), checks[i] + 1);
            percents_[i]->setMaximumWidth(60);
            intervals_[i] = Named(new QPushButton(box), 2929 + int(i));
            grid->addWidget(checks_[i], row, 0);
            grid->addWidget(percents_[i], row, 1);
            grid->addWidget(new QLabel(QStringLiteral("%"), box), row, 2);
            grid->addWidget(intervals_[i], row, 3);
            connect(checks_[i], &QCheckBox::toggled, this, [this, i](bool on) {
                percents_[i]->setEnabled(on);
                intervals_[i]->setEnabled(on);
            });
            connect(intervals_[i], &QPushButton::clicked, this, [this, i] {
                CAlarmIntervalDlg chooser(moves_[i], this);
                if (RunModalDialog(chooser) != QDialog::Accepted)
                    return;
                moves_[i].kind = chooser.slot().kind;
                moves_[i].count = chooser.slot().count;
                intervals_[i]->setText(FromCp1252(IntervalText(moves_[i])));
            });
        }
        layout->addWidget(box);
    }
}

void AlarmMoveRows::Set(const std::array<RTAlarmSlot, 6>& moves)
{
    moves_ = moves;
    for (size_t i = 0; i < moves.size(); ++i) {
        checks_[i]->setChecked(moves[i].on);
        percents_[i]->setText(QString::number(std::fabs(double(moves[i].percentage)), 'g', 6));
        percents_[i]->setEnabled(moves[i].on);
        intervals_[i]->setEnabled(moves[i].on);
        intervals_[i]->setText(FromCp1252(IntervalText(moves[i])));
    }
}

bool AlarmMoveRows::Get(std::array<RTAlarmSlot, 6>& moves) const
{
    std::array<RTAlarmSlot, 6> out = moves_;
    for (size_t i = 0; i < out.size(); ++i) {
        out[i].on = checks_[i]->isChecked();
        float v = 0;
        if (!ReadPercent(percents_[i], 1, i < 3 ? maxIncrease_ : 99, v)) {
            if (!out[i].on)
                continue;
            ShowMessage("Invalid percentage value", {}, MsgButtons::Ok);
            percents_[i]->setFocus();
            return false;
        }
        out[i].percentage = i < 3 ? v : -v;
    }
    moves = out;
    return true;
}

// --- "Set or edit real time alarms for %s (%s)" ---

CShareRTAlarmsDlg::CShareRTAlarmsDlg(uint16_t share, uint8_t exchange, QWidget* parent)
    : QDialog(parent), share_(share), exchange_(exchange)
{
    setObjectName(QStringLiteral("707"));
    const uint8_t* rec = FindShareRecord(share);
    const std::string code = rec ? std::string(GetRecordTexts(rec).epic) : std::string();
    setWindowTitle(FromCp1252(StringPrintf("Set or edit real time alarms for %s (%s)", ShareNameOf(share).c_str(), code.c_str())));
    auto* layout = new QVBoxLayout(this);
    const float price = Server() ? Server()->market().LatestPrice(MakeRTKey(exchange, share)) : 0.0f;
    const RecordCursor cursor{const_cast<uint8_t*>(rec), 0};
    layout->addWidget(new QLabel(FromCp1252(rec ? CurrentPriceText(cursor, double(price))
                                                : StringPrintf("Current price: %g", double(price))),
                                 this));

    auto* fixed = new QGroupBox(QStringLiteral(" Fixed price "), this);
    auto* fixedGrid = new QGridLayout(fixed);
    aboveOn_ = Named(new QCheckBox(QStringLiteral("Mid price rises above"), fixed), 18080);
    above_ = Named(new QLineEdit(fixed), 18082);
    belowOn_ = Named(new QCheckBox(QStringLiteral("Mid price falls below"), fixed), 18090);
    below_ = Named(new QLineEdit(fixed), 18091);
    fixedGrid->addWidget(aboveOn_, 0, 0);
    fixedGrid->addWidget(above_, 0, 1);
    fixedGrid->addWidget(belowOn_, 1, 0);
    fixedGrid->addWidget(below_, 1, 1);
    layout->addWidget(fixed);

    moves_ = new AlarmMoveRows(1000, this);
    layout->addWidget(moves_);

    auto* stop = new QGroupBox(QStringLiteral(" Stop-loss "), this);
    auto* stopRow = new QHBoxLayout(stop);
    stopOn_ = Named(new QCheckBox(stop), 18100);
    stop_ = Named(new QLineEdit(stop), 18101);
    stopFrom_ = Named(new QDateTimeEdit(stop), 2641);
    stopRow->addWidget(stopOn_);
    stopRow->addWidget(stop_);
    stopRow->addWidget(new QLabel(QStringLiteral("percent from high since"), stop));
    stopRow->addWidget(stopFrom_);
    layout->addWidget(stop);

    auto* timer = new QGroupBox(QStringLiteral(" Timer "), this);
    auto* timerForm = new QFormLayout(timer);
    timerOn_ = Named(new QCheckBox(timer), 18110);
    timer_ = Named(new QDateTimeEdit(timer), 2540);
    auto* timerRow = new QHBoxLayout;
    timerRow->addWidget(timerOn_);
    timerRow->addWidget(timer_);
    timerForm->addRow(timerRow);
    newsOn_ = Named(new QCheckBox(QStringLiteral("News alarm on incoming stories"), timer), 2792);
    timerForm->addRow(newsOn_);
    note_ = Named(new QLineEdit(timer), 18111);
    note_->setMaxLength(200);
    timerForm->addRow(QStringLiteral("Alarm note:"), note_);
    layout->addWidget(timer);

    auto enable = [this] {
        above_->setEnabled(aboveOn_->isChecked());
        below_->setEnabled(belowOn_->isChecked());
        stop_->setEnabled(stopOn_->isChecked());
        stopFrom_->setEnabled(stopOn_->isChecked());
        timer_->setEnabled(timerOn_->isChecked());
    };
    for (QCheckBox* c : {aboveOn_, belowOn_, stopOn_, timerOn_})
        connect(c, &QCheckBox::toggled, this, enable);
    layout->addWidget(OkCancel(this, true, [this] { SetRecord(RTShareAlarmRecord::Defaults()); }, 707));
    auto stored = LoadShareAlarmRecord(share, exchange);
    if (!stored) {
        stored = RTShareAlarmRecord::Defaults();
        stored->stopFrom = uint32_t(std::time(nullptr));
        stored->timerTime = uint32_t(std::time(nullptr)) + 3600;
    }
    SetRecord(*stored);
    enable();
}

void CShareRTAlarmsDlg::SetRecord(const RTShareAlarmRecord& r)
{
    record_ = r;
    aboveOn_->setChecked(r.aboveOn);
    above_->setText(QString::number(double(r.aboveLevel), 'g', 8));
    belowOn_->setChecked(r.belowOn);
    below_->setText(QString::number(double(r.belowLevel), 'g', 8));
    moves_->Set(r.moves);
    stopOn_->setChecked(r.stopOn);
    stop_->setText(QString::number(double(r.stopPercent), 'g', 6));
    stopFrom_->setDateTime(QDateTime::fromSecsSinceEpoch(r.stopFrom ? r.stopFrom : std::time(nullptr)));
    timerOn_->setChecked(r.timerOn);
    timer_->setDateTime(QDateTime::fromSecsSinceEpoch(r.timerTime ? r.timerTime : std::time(nullptr)));
    newsOn_->setChecked(r.newsOn);
    note_->setText(FromCp1252(r.note));
}

void CShareRTAlarmsDlg::accept()
{
    RTShareAlarmRecord r = record_;
    if (!moves_->Get(r.moves))
        return;
    r.aboveOn = aboveOn_->isChecked();
    r.belowOn = belowOn_->isChecked();
    r.aboveLevel = above_->text().toFloat();
    r.belowLevel = below_->text().toFloat();
    r.stopOn = stopOn_->isChecked();
    if (r.stopOn && !ReadPercent(stop_, 0.01f, RTShareAlarmRecord::kMaxStopLoss, r.stopPercent)) {
        ShowMessage("Invalid stop loss value", {}, MsgButtons::Ok);
        stop_->setFocus();
        return;
    }
    r.stopFrom = uint32_t(stopFrom_->dateTime().toSecsSinceEpoch());
    r.timerOn = timerOn_->isChecked();
    r.timerTime = uint32_t(timer_->dateTime().toSecsSinceEpoch());
    r.newsOn = newsOn_->isChecked();
    r.note = ToCp1252(note_->text());
    if (!r.AnyAlarmSet())
        RemoveShareAlarmRecord(share_, exchange_);
    else
        StoreShareAlarmRecord(share_, exchange_, r);
    if (Server())
        Server()->OnShareRecordChanged(MakeRTKey(exchange_, share_));
    QDialog::accept();
}

// --- "Set or edit global intraday alarm settings" ---

CGlobalIntradayAlarmsDlg::CGlobalIntradayAlarmsDlg(const RTAlarmSettings& settings, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("710"));
    setWindowTitle(QStringLiteral("Set or edit global intraday alarm settings"));
    auto* layout = new QVBoxLayout(this);
    auto* source = new QGroupBox(QStringLiteral(" Source "), this);
    auto* sourceRow = new QHBoxLayout(source);
    sourceShares_ = new QRadioButton(QStringLiteral("Shares"), source);
    sourceFtse_ = new QRadioButton(QStringLiteral("FTSE 100"), source);
    sourceOther_ = new QRadioButton(QStringLiteral("Other:"), source);
    portfolios_ = new QComboBox(source);
    for (const Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio)
            portfolios_->addItem(FromCp1252(StringPrintf("Port: %s", p->name.c_str())), int(p->number));
    sourceOther_->setEnabled(portfolios_->count() > 0);
    for (QRadioButton* r : {sourceShares_, sourceFtse_, sourceOther_})
        sourceRow->addWidget(r);
    sourceRow->addWidget(portfolios_);
    connect(sourceOther_, &QRadioButton::toggled, portfolios_, &QWidget::setEnabled);
    layout->addWidget(source);

    tabs_ = new QTabWidget(this);
    moves_ = new AlarmMoveRows(1000, tabs_);
    tabs_->addTab(moves_, QStringLiteral("Percentages"));

    auto* ma = new QGroupBox(QStringLiteral(" Moving Averages "));
    auto* maForm = new QFormLayout(ma);
    shortCount_ = Spin(ma, 2808, 1, 99);
    longCount_ = Spin(ma, 2814, 1, 99);
    shortType_ = new QComboBox(ma);
    longType_ = new QComboBox(ma);
    shortType_->addItems(kAverageTypes);
    longType_->addItems(kAverageTypes);
    golden_ = Named(new QCheckBox(QStringLiteral("Check for golden crosses"), ma), 2791);
    dead_ = Named(new QCheckBox(QStringLiteral("Check for dead crosses"), ma), 3717);
    trigger_ = Named(new QLineEdit(ma), 3083);
    maForm->addRow(QStringLiteral("Short MA interval count"), shortCount_);
    maForm->addRow(QString(), shortType_);
    maForm->addRow(QStringLiteral("Long MA interval count"), longCount_);
    maForm->addRow(QString(), longType_);
    maForm->addRow(golden_);
    maForm->addRow(dead_);
    maForm->addRow(QStringLiteral("Trigger level for crosses"), trigger_);
    auto enableTrigger = [this] { trigger_->setEnabled(golden_->isChecked() || dead_->isChecked()); };
    connect(golden_, &QCheckBox::toggled, this, enableTrigger);
    connect(dead_, &QCheckBox::toggled, this, enableTrigger);
    tabs_->addTab(ma, QStringLiteral("Moving Av."));

    auto* macd = new QGroupBox(QStringLiteral(" MACD "));
    auto* macdForm = new QFormLayout(macd);
    macdOn_ = Named(new QCheckBox(QStringLiteral("Check for crosses"), macd), 2831);
    macdShort_ = Spin(macd, 2834, 1, 99);
    macdLong_ = Spin(macd, 2835, 1, 99);
    macdSignal_ = Spin(macd, 2836, 1, 99);
    macdForm->addRow(macdOn_);
    macdForm->addRow(QStringLiteral("Short MACD interval count"), macdShort_);
    macdForm->addRow(QStringLiteral("Long MACD interval count"), macdLong_);
    macdForm->addRow(QStringLiteral("MACD signal interval count"), macdSignal_);
    tabs_->addTab(macd, QStringLiteral("MACD"));

    auto* rsi = new QGroupBox(QStringLiteral(" RSI "));
    auto* rsiForm = new QFormLayout(rsi);
    rsiOn_ = Named(new QCheckBox(QStringLiteral("Check for crosses"), rsi), 2832);
    rsiCount_ = Spin(rsi, 2837, 1, 99);
    rsiHigh_ = Spin(rsi, 2838, 1, 99);
    rsiLow_ = Spin(rsi, 2839, 1, 99);
    rsiSmoothing_ = new QComboBox(rsi);
    rsiSmoothing_->addItems({"Simple", "Exponential", "Wilder"});
    rsiForm->addRow(rsiOn_);
    rsiForm->addRow(QStringLiteral("RSI interval count"), rsiCount_);
    rsiForm->addRow(QStringLiteral("RSI high percent"), rsiHigh_);
    rsiForm->addRow(QStringLiteral("RSI low percent"), rsiLow_);
    rsiForm->addRow(QString(), rsiSmoothing_);
    tabs_->addTab(rsi, QStringLiteral("RSI"));

    auto* stoch = new QGroupBox(QStringLiteral(" Stochastic Oscillator "));
    auto* stochForm = new QFormLayout(stoch);
    stochCrosses_ = Named(new QCheckBox(QStringLiteral("Check for crosses"), stoch), 2833);
    stochLevels_ = Named(new QCheckBox(QStringLiteral("Check levels"), stoch), 2991);
    stochCount_ = Spin(stoch, 2840, 1, 99);
    stochHigh_ = Spin(stoch, 2841, 1, 99);
    stochLow_ = Spin(stoch, 2842, 1, 99);
    stochSlowing_ = Spin(stoch, 2843, 1, 99);
    stochSignal_ = Spin(stoch, 2844, 1, 99);
    stochType_ = Named(new QComboBox(stoch), 3017);
    stochType_->addItems(kAverageTypes);
    stochForm->addRow(stochCrosses_);
    stochForm->addRow(stochLevels_);
    stochForm->addRow(QStringLiteral("Oscillator interval count"), stochCount_);
    stochForm->addRow(QStringLiteral("Oscillator high percent"), stochHigh_);
    stochForm->addRow(QStringLiteral("Oscillator low percent"), stochLow_);
    stochForm->addRow(QStringLiteral("Oscillator slowing"), stochSlowing_);
    stochForm->addRow(QStringLiteral("Signal interval count"), stochSignal_);
    stochForm->addRow(QString(), stochType_);
    tabs_->addTab(stoch, QStringLiteral("Stochastic"));
    layout->addWidget(tabs_);

    auto* limitRow = new QHBoxLayout;
    limit_ = Named(new QCheckBox(QStringLiteral("Limit alarms to the last"), this), 3144);
    minutes_ = Spin(this, 3145, 1, 1440);
    limitRow->addWidget(limit_);
    limitRow->addWidget(minutes_);
    limitRow->addWidget(new QLabel(QStringLiteral("minutes"), this));
    limitRow->addStretch();
    layout->addLayout(limitRow);
    layout->addWidget(OkCancel(this, true, [this] { Set(RTAlarmSettings::Defaults()); }, 710));
    Set(settings);
}

void CGlobalIntradayAlarmsDlg::Set(const RTAlarmSettings& s)
{
    settings_ = s;
    const int portfolio = portfolios_->findData(int(s.portfolio));
    const bool other = s.source == 2 && portfolio >= 0;
    (s.source == 1 ? sourceFtse_ : other ? sourceOther_ : sourceShares_)->setChecked(true);
    portfolios_->setCurrentIndex(std::max(portfolio, 0));
    portfolios_->setEnabled(other);
    std::array<RTAlarmSlot, 6> moves;
    for (size_t i = 0; i < moves.size(); ++i)
        moves[i] = RTAlarmSlot::Read(s.moves[i]);
    moves_->Set(moves);
    shortCount_->setValue(s.shortCount);
    longCount_->setValue(s.longCount);
    shortType_->setCurrentIndex(std::min<int>(s.shortType, 4));
    longType_->setCurrentIndex(std::min<int>(s.longType, 4));
    golden_->setChecked(s.maOn && (s.maCrossFlags & 1));
    dead_->setChecked(s.maOn && (s.maCrossFlags & 2));
    trigger_->setText(QString::number(double(s.triggerLevel), 'g', 6));
    trigger_->setEnabled(golden_->isChecked() || dead_->isChecked());
    macdOn_->setChecked(s.macdLong > 0);
    macdLong_->setValue(std::abs(s.macdLong));
    macdShort_->setValue(s.macdShort);
    macdSignal_->setValue(s.macdSignal);
    rsiOn_->setChecked(s.rsiCount > 0);
    rsiCount_->setValue(std::abs(s.rsiCount));
    rsiHigh_->setValue(s.rsiHigh);
    rsiLow_->setValue(s.rsiLow);
    rsiSmoothing_->setCurrentIndex(std::clamp<int>(s.rsiSmoothing, 1, 3) - 1);
    stochCrosses_->setChecked(s.stochCount > 0 && (s.stochChecks & 2));
    stochLevels_->setChecked(s.stochCount > 0 && (s.stochChecks & 1));
    stochCount_->setValue(std::abs(s.stochCount));
    stochHigh_->setValue(s.stochHigh);
    stochLow_->setValue(s.stochLow);
    stochSlowing_->setValue(s.stochSlowing);
    stochSignal_->setValue(s.stochSignal);
    stochType_->setCurrentIndex(std::clamp<int>(s.stochMaType, 0, 4));
    const IntradayAlarmActions a = RTAlarmSettings::Actions();
    limit_->setChecked(a.limit);
    minutes_->setValue(a.minutes);
}

void CGlobalIntradayAlarmsDlg::accept()
{
    RTAlarmSettings s = settings_;
    const bool crosses = golden_->isChecked() || dead_->isChecked();
    if (crosses && shortCount_->value() >= longCount_->value()) {
        ShowMessage("Short period must be shorter than long period", {}, MsgButtons::Ok);
        return;
    }
    std::array<RTAlarmSlot, 6> moves;
    if (!moves_->Get(moves))
        return;
    float trigger = s.triggerLevel;
    if (crosses && !ReadPercent(trigger_, 0, 99, trigger)) {
        ShowMessage("Invalid percentage value", {}, MsgButtons::Ok);
        return;
    }
    for (size_t i = 0; i < moves.size(); ++i)
        moves[i].Write(s.moves[i]);
    s.source = sourceFtse_->isChecked() ? 1 : sourceOther_->isChecked() ? 2 : 0;
    s.portfolio = s.source == 2 ? uint16_t(portfolios_->currentData().toInt()) : 0;
    s.maOn = crosses ? 1 : 0;
    s.maCrossFlags = int16_t((golden_->isChecked() ? 1 : 0) | (dead_->isChecked() ? 2 : 0));
    s.shortCount = uint8_t(shortCount_->value());
    s.longCount = uint8_t(longCount_->value());
    s.shortType = uint8_t(shortType_->currentIndex());
    s.longType = uint8_t(longType_->currentIndex());
    s.triggerLevel = trigger;
    // A test that is off keeps its count stored negative.
    s.macdLong = int16_t(macdOn_->isChecked() ? macdLong_->value() : -macdLong_->value());
    s.macdShort = int16_t(macdShort_->value());
    s.macdSignal = int16_t(macdSignal_->value());
    s.rsiCount = int16_t(rsiOn_->isChecked() ? rsiCount_->value() : -rsiCount_->value());
    s.rsiHigh = int16_t(rsiHigh_->value());
    s.rsiLow = int16_t(rsiLow_->value());
    s.rsiSmoothing = int16_t(rsiSmoothing_->currentIndex() + 1);
    s.stochChecks = int16_t((stochLevels_->isChecked() ? 1 : 0) | (stochCrosses_->isChecked() ? 2 : 0));
    s.stochCount = int16_t(s.stochChecks ? stochCount_->value() : -stochCount_->value());
    s.stochHigh = int16_t(stochHigh_->value());
    s.stochLow = int16_t(stochLow_->value());
    s.stochSlowing = int16_t(stochSlowing_->value());
    s.stochSignal = int16_t(stochSignal_->value());
    s.stochMaType = int16_t(stochType_->currentIndex());
    s.barMinutes = 5;
    settings_ = s;
    IntradayAlarmActions a = RTAlarmSettings::Actions();
    a.limit = limit_->isChecked();
    a.minutes = uint16_t(minutes_->value());
    RTAlarmSettings::SetActions(a);
    QDialog::accept();
}

// --- "Review individual share intraday alarms" ---

CReviewShareAlarmsDlg::CReviewShareAlarmsDlg(QWidget* parent) : QDialog(parent), list_(Named(new QListWidget(this), 1844))
{
    setObjectName(QStringLiteral("561"));
    setWindowTitle(QStringLiteral("Review individual share intraday alarms"));
    editShare = [this](uint16_t share, uint8_t exchange) { return EditShareRTAlarms(share, exchange, this); };
    auto* layout = new QVBoxLayout(this);
    list_->setMinimumSize(520, 240);
    AddTabbedList(layout, list_, QStringLiteral("Company name\tAlarm type\tOther"), {0.40, 0.75});
    auto* box = new QDialogButtonBox(this);
    QPushButton* edit = Named(box->addButton(QStringLiteral("Edit"), QDialogButtonBox::ActionRole), 18112);
    QPushButton* remove = Named(box->addButton(QStringLiteral("Delete"), QDialogButtonBox::ActionRole), 18114);
    box->addButton(QDialogButtonBox::Close);
    AddHelp(*this, *box, 561);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(edit, &QPushButton::clicked, this, [this] { OnCommand(kCommandEdit); });
    connect(remove, &QPushButton::clicked, this, [this] { OnCommand(kCommandReset); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OnCommand(kCommandEdit); });
    layout->addWidget(box);
    Fill();
}

void CReviewShareAlarmsDlg::Fill()
{
    list_->clear();
    keys_.clear();
    for (uint32_t key : ShareAlarmKeys()) {
        const auto record = LoadShareAlarmRecord(uint16_t(key), uint8_t(key >> 16));
        if (!record)
            continue;
        for (const std::string& line : ReviewAlarmLines(*record)) {
            list_->addItem(FromCp1252(ShareNameOf(uint16_t(key)) + "\t" + line));
            keys_.push_back(key);
        }
    }
    if (keys_.empty())
        list_->addItem(QStringLiteral(" No alarms"));
}

void CReviewShareAlarmsDlg::OnCommand(uint32_t command)
{
    const int row = list_->currentRow();
    if (command == kCommandResetAll) {
        if (!Confirm("Are you sure you want to delete all alarms?"))
            return;
        for (uint32_t key : ShareAlarmKeys())
            RemoveShareAlarmRecord(uint16_t(key), uint8_t(key >> 16));
    } else {
        if (row < 0 || size_t(row) >= keys_.size())
            return;
        const uint32_t key = keys_[size_t(row)];
        if (command == kCommandEdit) {
            editShare(uint16_t(key), uint8_t(key >> 16));
        } else {
            if (!Confirm("Are you sure you want to delete this alarm?"))
                return;
            RemoveShareAlarmRecord(uint16_t(key), uint8_t(key >> 16));
        }
    }
    if (Server())
        Server()->OnShareRecordChanged(0);
    Fill();
}

// --- "Intraday triggered alarms" ---

CIntradayAlarmsDlg::CIntradayAlarmsDlg(CAlarmServer& server, QWidget* parent)
    : QDialog(parent), server_(server), list_(Named(new QListWidget(this), 1834))
{
    setObjectName(QStringLiteral("719"));
    setWindowTitle(QStringLiteral("Intraday triggered alarms"));
    setModal(false);
    editShare = [this](uint16_t share, uint8_t exchange) { return EditShareRTAlarms(share, exchange, this); };
    editGlobal = [this] { return EditGlobalIntradayAlarms(this); };
    auto* layout = new QVBoxLayout(this);
    list_->setMinimumSize(560, 220);
    AddTabbedList(layout, list_, QStringLiteral("Local\tCompany name\tAlarm\tNote"), {0.08, 0.34, 0.75});
    auto* box = new QDialogButtonBox(this);
    QPushButton* edit = Named(box->addButton(QStringLiteral("Edit settings"), QDialogButtonBox::ActionRole), 18112);
    reset_ = Named(box->addButton(QStringLiteral("Reset alarm"), QDialogButtonBox::ActionRole), 2948);
    resetAll_ = Named(box->addButton(QStringLiteral("Reset all"), QDialogButtonBox::ActionRole), 26405);
    QPushButton* options = Named(box->addButton(QStringLiteral("Alarm options"), QDialogButtonBox::ActionRole), 18115);
    box->addButton(QDialogButtonBox::Close);
    AddHelp(*this, *box, 719);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::hide);
    connect(edit, &QPushButton::clicked, this, [this] { OnCommand(kCommandEdit); });
    connect(reset_, &QPushButton::clicked, this, [this] { OnCommand(kCommandReset); });
    connect(resetAll_, &QPushButton::clicked, this, [this] { OnCommand(kCommandResetAll); });
    connect(options, &QPushButton::clicked, this, [] {
        if (const auto& sheet = FrameDialogs().optionsSheet; sheet && sheet(kAlarmOptionsPage) && Server())
            Server()->ApplySettings();
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OnCommand(kCommandEdit); });
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        const std::pair<const char*, uint32_t> items[] = {{"Edit settings", kCommandEdit}, {"&Reset alarm", kCommandReset},
                                                          {"Reset &all alarms", kCommandResetAll}, {"View log file", kCommandLog}};
        for (const auto& [text, command] : items) {
            QAction* action = menu.addAction(QString::fromLatin1(text));
            const uint32_t c = command;
            connect(action, &QAction::triggered, this, [this, c] { OnCommand(c); });
        }
        menu.exec(list_->mapToGlobal(at));
    });
    layout->addWidget(box);
    Reset();
}

CIntradayAlarmsDlg::~CIntradayAlarmsDlg()
{
    if (refreshPending_)
        TimerQueue().RemoveMessage(*this);
}

intptr_t CIntradayAlarmsDlg::onProgramMessage(uint32_t message, uintptr_t, intptr_t)
{
    if (message != kWindowTimerMessage)
        return 0;
    // One pass per scheduling: the entry goes before the pass, which may schedule the next.
    if (refreshPending_)
        TimerQueue().RemoveMessage(*this);
    refreshPending_ = false;
    RefreshPass();
    return 1;
}

void CIntradayAlarmsDlg::ScheduleRefresh(int32_t intervalMs)
{
    if (refreshPending_)
        return;
    refreshPending_ = true;
    TimerQueue().AddMessage(*this, uint32_t(intervalMs >= 0 ? intervalMs : passRan_ ? kRefreshLaterMs : kRefreshFirstMs));
}

void CIntradayAlarmsDlg::Reset()
{
    list_->clear();
    for (IntradayAlarm& a : server_.alarms().alarms())
        a.listed = false;
    passRan_ = false;
    EnableResets();
    if (server_.alarms().empty()) {
        list_->addItem(QStringLiteral(" No alarms"));
        return;
    }
    if (refreshPending_)
        TimerQueue().RemoveMessage(*this);
    refreshPending_ = false;
    ScheduleRefresh(kRefreshAfterResetMs);
}

bool CIntradayAlarmsDlg::RefreshPass()
{
    auto& alarms = server_.alarms().alarms();
    passRan_ = true;
    EnableResets();
    if (alarms.empty()) {
        list_->clear();
        list_->addItem(QStringLiteral(" No alarms"));
        return true;
    }
    const bool fromEmpty = list_->count() == 0 || (list_->count() == 1 && list_->item(0)->text() == QStringLiteral(" No alarms"));
    if (fromEmpty)
        list_->clear();
    // The list box holds the listed alarms in list order; each new line goes in at its place, and the
    // selection stays on its line. The pass gives the rest back to the event loop when its time is up.
    const uint32_t start = ticks();
    uint32_t inserted = 0;
    int row = 0;
    for (IntradayAlarm& a : alarms) {
        if (a.listed) {
            ++row;
            continue;
        }
        const auto record = LoadShareAlarmRecord(uint16_t(a.key), uint8_t(a.key >> 16));
        const std::string note = record ? record->note : std::string();
        list_->insertItem(row++, FromCp1252(TriggeredAlarmLine(a, server_.market().ShareName(a.key), note)));
        a.listed = true;
        ++inserted;
        if ((fromEmpty && inserted >= kFirstPassLines) || (inserted % kPassCheckLines == 0 && ticks() - start > kPassMs)) {
            ScheduleRefresh(-1);
            return false;
        }
    }
    return true;
}

std::optional<size_t> CIntradayAlarmsDlg::AlarmAtRow(int row) const
{
    // Alarms not yet listed have no line.
    size_t position = 0;
    for (const IntradayAlarm& a : server_.alarms().alarms()) {
        if (a.listed && row-- == 0)
            return position;
        ++position;
    }
    return std::nullopt;
}

void CIntradayAlarmsDlg::EnableResets()
{
    const bool any = !server_.alarms().empty();
    reset_->setEnabled(any);
    resetAll_->setEnabled(any);
}

void CIntradayAlarmsDlg::OnCommand(uint32_t command)
{
    if (command == kCommandLog) {
        ShowLogFile();
        return;
    }
    if (command == kCommandResetAll) {
        if (!Confirm("Are you sure you want to delete all alerts?"))
            return;
        server_.ResetAll();
        Reset();
        return;
    }
    const std::optional<size_t> position = AlarmAtRow(list_->currentRow());
    if (!position)
        return;
    const IntradayAlarm& alarm = *std::next(server_.alarms().alarms().begin(), std::ptrdiff_t(*position));
    if (command == kCommandReset) {
        server_.ResetAlarm(*position);
        Reset();
        return;
    }
    if (command == kCommandEdit) {
        if (IsGlobalAlarmKind(alarm.kind))
            editGlobal();
        else
            editShare(uint16_t(alarm.key), uint8_t(alarm.key >> 16));
    }
}

void CIntradayAlarmsDlg::ShowLogFile()
{
    IntradayAlarmActions actions = RTAlarmSettings::Actions();
    if (actions.logFile.empty()) {
        ShowMessage("Log file name not set", {}, MsgButtons::Ok);
        return;
    }
    if (!actions.log) {
        if (!Confirm("Log file currently disabled. Enable log file?"))
            return;
        actions.log = true;
        RTAlarmSettings::SetActions(actions);
        server_.ApplySettings();
    }
    // The desktop's text viewer shows the log.
    OpenExternal(actions.logFile);
}

// --- commands and the server ---

bool EditShareRTAlarms(uint16_t share, uint8_t exchange, QWidget* parent)
{
    CShareRTAlarmsDlg dialog(share, exchange, parent);
    return RunModalDialog(dialog) == QDialog::Accepted;
}

bool EditGlobalIntradayAlarms(QWidget* parent)
{
    CGlobalIntradayAlarmsDlg dialog(RTAlarmSettings::Current(), parent);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    dialog.settings().Store();
    if (Server())
        Server()->ApplySettings();
    return true;
}

bool ReviewShareRTAlarms(QWidget* parent)
{
    CReviewShareAlarmsDlg dialog(parent);
    RunModalDialog(dialog);
    return true;
}

void ShowIntradayAlarms(QWidget* parent, bool focus)
{
    if (!Server())
        return;
    if (parent && parent->isMinimized())
        return;
    auto& dialog = TriggeredDialog();
    if (!dialog)
        dialog = new CIntradayAlarmsDlg(*Server(), parent);
    if (dialog->isVisible()) {
        dialog->ScheduleRefresh(-1);
        return;
    }
    QWidget* active = QApplication::activeWindow();
    dialog->Reset();
    dialog->show();
    if (parent)
        dialog->move(parent->geometry().center() - dialog->rect().center());
    // The list does not keep the focus: the window that was active gets it back.
    if (!focus && active && active != dialog.data())
        QTimer::singleShot(0, active, [active] { active->activateWindow(); });
}

bool IntradayAlarmsVisible() { return TriggeredDialog() && TriggeredDialog()->isVisible(); }

void RefreshIntradayAlarms()
{
    if (IntradayAlarmsVisible())
        TriggeredDialog()->Reset();
}

void CreateIntradayAlarmServer()
{
    auto& server = Server();
    server = std::make_unique<CAlarmServer>();
    server->ui.dialogVisible = IntradayAlarmsVisible;
    server->ui.showDialog = [] { ShowIntradayAlarms(MainWindow(), false); };
    server->ui.dayChanged = RefreshIntradayAlarms;
    server->ui.playSound = PlayAlarmSound;
    server->ui.beep = SystemBeep;
    server->ui.flash = [] {
        if (QWidget* main = MainWindow())
            QApplication::alert(main, 1000);
    };
    SetAlarmServer(server.get());
    server->Create();
}

void DestroyIntradayAlarmServer()
{
    delete TriggeredDialog().data();
    SetAlarmServer(nullptr);
    Server().reset();
}

void InstallIntradayAlarms()
{
    auto& steps = steps::UpperStartUpSteps();
    steps.createAlarmServer = CreateIntradayAlarmServer;
    steps.destroyAlarmServer = DestroyIntradayAlarmServer;
    steps.rebuildLineAlarms = [] {
        if (Server())
            Server()->RebuildLineAlarms();
    };
    SetCommandDialog(26849, [] { return Server() && ReviewShareRTAlarms(MainWindow()); });
    SetCommandDialog(26850, [] { return Server() && EditGlobalIntradayAlarms(MainWindow()); });
    SetCommandDialog(26851, [] {
        if (!Server())
            return false;
        ShowIntradayAlarms(MainWindow(), true);
        return true;
    });
}

} // namespace qv
