// The four intraday pages: the feed servers and connection flags, the history's purge and display,
// what an intraday alarm does, and the market hours. Nothing dials here: the system's network is
// used, and the dial-up connection's name is kept as it was set.
#include "tools/options/ui/OptionPages.h"

#include "core/RegistrySettings.h"
#include "core/SystemDate.h"
#include "core/TimeZones.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/ui/RTHistoryDialogs.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/TimeEdit.h"
#include "shell/ui/TimesListBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdio>

namespace qv {

namespace {

constexpr int kAddressIds[3] = {2669, 2672, 2674};
constexpr int kDefaultIds[3] = {2670, 2673, 2675};
constexpr const char* kAddressLabels[3] = {"Intraday Feed Server Address", "Alternative address 1", "Alternative address 2"};
constexpr const char* kPortRefusal = "This version of Quorvantis will not connect to any server\nrunning on port 7003 or "
                                     "7004.\n\nPlease specify another port (or hit the default button)";
constexpr const char* kSnapshots[] = {"15 second (normal)", "1 minute (min)", "5 minute", "10 minute", "15 minute"};
constexpr const char* kExchTimesNote =
    "Set user-defined market hours for each exchange.  Enable them using the Graph Design : Time tab.";

QGroupBox* Box(const char* title, QWidget* parent) { return new QGroupBox(QString::fromLatin1(title), parent); }

QPushButton* NamedButton(const char* text, int id, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::number(id));
    return b;
}

void Refuse(QWidget* control, const char* text)
{
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Exclamation);
    control->setFocus();
}

// A file chooser starting in the folder of the current name, or in the current folder.
void Browse(QLineEdit* field, const char* title, const char* filter, bool existing)
{
    const QString start = field->text().isEmpty() ? QString() : QFileInfo(field->text()).absolutePath();
    QFileDialog dialog(field->window(), QString::fromLatin1(title), start, QString::fromLatin1(filter));
    dialog.setFileMode(existing ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (RunModalDialog(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        field->setText(dialog.selectedFiles().constFirst());
}

} // namespace

// ---- Intraday Feed

COptionRTComms::COptionRTComms(QWidget* parent) : COptionPage(OptionPage::RTComms, parent)
{
    // Opening the page turns dial-up networking on, as it always has; nothing dials here.
    CommsSettings comms = LoadCommsSettings();
    comms.dialUpEnabled = true;
    SaveCommsSettings(comms);
    const RealTimeServers servers = LoadRealTimeServers();
    const RTFeedSettings s = CurrentRTFeedSettings();
    auto* grid = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        addresses_[size_t(i)] = Edit(kAddressIds[i], FromCp1252(servers.addresses[size_t(i)]));
        addresses_[size_t(i)]->setMaximumWidth(QWIDGETSIZE_MAX);
        ports_[size_t(i)] = Edit(kPortIds[i], QString::number(servers.ports[size_t(i)]));
        QPushButton* reset = NamedButton("Default", kDefaultIds[i], this);
        connect(reset, &QPushButton::clicked, this, [this, i] {
            addresses_[size_t(i)]->setText(FromCp1252(DefaultRealTimeAddresses()[size_t(i)]));
            ports_[size_t(i)]->setText(QString::number(RealTimeServers::kDefaultPort));
        });
        grid->addWidget(new QLabel(QString::fromLatin1(kAddressLabels[i]), this), i, 0);
        grid->addWidget(addresses_[size_t(i)], i, 1);
        grid->addWidget(new QLabel(QStringLiteral("Port"), this), i, 2);
        grid->addWidget(ports_[size_t(i)], i, 3);
        grid->addWidget(reset, i, 4);
    }
    auto* dialUp = Box("Dial Up Networking", this);
    connection_ = new QComboBox(dialUp);
    connection_->setObjectName(QStringLiteral("2664"));
    if (!servers.dialUpName.empty())
        connection_->addItem(FromCp1252(servers.dialUpName));
    auto* configure = NamedButton("&Configure", 2665, dialUp);
    connect(configure, &QPushButton::clicked, this, [this] {
        CommsSettings c = LoadCommsSettings();
        CDialUpSettingsDlg dialog(c, this);
        if (RunModalDialog(dialog) == QDialog::Accepted)
            SaveCommsSettings(c);
        SelectConnection();
    });
    auto* dialRow = new QHBoxLayout(dialUp);
    dialRow->addWidget(connection_, 1);
    dialRow->addWidget(configure);
    priority_ = Check(2949, "Use priority backfilling", s.priorityBackfill);
    autoConnect_ = Check(2834, "Auto connect to the feed when Quorvantis starts", s.autoConnect);
    winsock_ = Check(2835, "Use Winsock 2 if available", comms.winsock2);
    noZod_ = Check(2940, "Disable intraday ZOD news feed", s.zodNewsDisabled);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(dialUp);
    for (QCheckBox* box : {priority_, autoConnect_, winsock_, noZod_})
        layout->addWidget(box);
    layout->addStretch();
    SelectConnection();
}

void COptionRTComms::SelectConnection()
{
    const std::string name = LoadRealTimeServers().dialUpName;
    connection_->setCurrentIndex(name.empty() ? -1 : connection_->findText(FromCp1252(name)));
}

bool COptionRTComms::Validate()
{
    for (QLineEdit* port : ports_) {
        const int n = PortFromText(ToCp1252(port->text()));
        if (n == 7003 || n == 7004) {
            Refuse(port, kPortRefusal);
            return false;
        }
    }
    return true;
}

void COptionRTComms::Commit()
{
    RealTimeServers servers = LoadRealTimeServers();
    for (size_t i = 0; i < 3; ++i) {
        servers.addresses[i] = ToCp1252(addresses_[i]->text().trimmed());
        servers.ports[i] = PortFromText(ToCp1252(ports_[i]->text()));
    }
    if (connection_->currentIndex() >= 0)
        servers.dialUpName = ToCp1252(connection_->currentText());
    SaveRealTimeServers(servers);
    CommsSettings comms = LoadCommsSettings();
    comms.winsock2 = winsock_->isChecked();
    SaveCommsSettings(comms);
    RTFeedSettings s = CurrentRTFeedSettings();
    s.priorityBackfill = priority_->isChecked();
    s.autoConnect = autoConnect_->isChecked();
    s.zodNewsDisabled = noZod_->isChecked();
    StoreRTFeedSettings(s);
}

// ---- Intraday

COptionRTHist::COptionRTHist(QWidget* parent) : COptionPage(OptionPage::RTHist, parent)
{
    const RTFeedSettings s = CurrentRTFeedSettings();
    auto* purge = Box("Purging of the intraday history", this);
    mode_ = Group({Radio(0, "Automatic purge"), Radio(0, "Remind me to purge"), Radio(0, "Manual purge")}, s.purgeMode);
    QRadioButton* keepDays = Radio(0, "Keep");
    QRadioButton* keepMb = Radio(0, "Keep");
    limit_ = Group({keepDays, keepMb}, s.purgeLimit);
    days_ = Edit(0, QString());
    days_->setObjectName(QStringLiteral("keepDays"));
    mbytes_ = Edit(0, QString());
    mbytes_->setObjectName(QStringLiteral("keepMBytes"));
    daysLabel_ = new QLabel(QStringLiteral("days"), this);
    mbytesLabel_ = new QLabel(QStringLiteral("MBytes"), this);
    auto* purgeNow = NamedButton("Purge Now", 2678, this);
    connect(purgeNow, &QPushButton::clicked, this, [this] { PurgeNow(); });
    auto* pg = new QGridLayout(purge);
    for (int i = 0; i < 3; ++i)
        pg->addWidget(mode_->button(i), i, 0);
    pg->addWidget(keepDays, 0, 1);
    pg->addWidget(days_, 0, 2);
    pg->addWidget(daysLabel_, 0, 3);
    pg->addWidget(keepMb, 1, 1);
    pg->addWidget(mbytes_, 1, 2);
    pg->addWidget(mbytesLabel_, 1, 3);
    pg->addWidget(purgeNow, 2, 2, 1, 2);
    alert_ = Check(3139, "Alert me when the intraday feed is disconnected", s.disconnectAlert);
    overseas_ = Check(0, "Access previous days of overseas intraday history ", s.overseasHistory != 0);
    snapshots_ = new QComboBox(this);
    snapshots_->setObjectName(QStringLiteral("3414"));
    for (const char* item : kSnapshots)
        snapshots_->addItem(QString::fromLatin1(item));
    snapshots_->setCurrentIndex(s.overseasHistory ? s.overseasHistory - 1 : 0);
    rate_ = Edit(0, QString::number(s.updateRate));
    rate_->setObjectName(QStringLiteral("updateRate"));
    auto* overseasRow = new QHBoxLayout;
    overseasRow->addWidget(overseas_);
    overseasRow->addWidget(new QLabel(QStringLiteral("based on"), this));
    overseasRow->addWidget(snapshots_);
    overseasRow->addWidget(new QLabel(QStringLiteral("snapshots"), this));
    overseasRow->addStretch();
    auto* rateRow = new QHBoxLayout;
    rateRow->addWidget(new QLabel(QStringLiteral("Update the intraday views "), this));
    rateRow->addWidget(rate_);
    rateRow->addWidget(new QLabel(QStringLiteral("times a second (1-25)"), this));
    rateRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(purge);
    layout->addWidget(alert_);
    layout->addLayout(overseasRow);
    layout->addLayout(rateRow);
    layout->addStretch();
    connect(mode_, &QButtonGroup::idClicked, this, [this] { Enable(); });
    connect(limit_, &QButtonGroup::idClicked, this, [this] { Enable(); });
    connect(overseas_, &QCheckBox::toggled, this, [this] { Enable(); });
    ShowStored();
    Enable();
}

void COptionRTHist::ShowStored()
{
    const RTFeedSettings s = CurrentRTFeedSettings();
    days_->setText(QString::number(s.keepDays));
    mbytes_->setText(QString::number(s.keepMBytes));
}

void COptionRTHist::Enable()
{
    const bool manual = mode_->checkedId() == 2;
    for (QAbstractButton* b : limit_->buttons())
        b->setEnabled(!manual);
    const bool days = !manual && limit_->checkedId() == 0, mbytes = !manual && limit_->checkedId() == 1;
    days_->setEnabled(days);
    daysLabel_->setEnabled(days);
    mbytes_->setEnabled(mbytes);
    mbytesLabel_->setEnabled(mbytes);
    snapshots_->setEnabled(overseas_->isChecked());
}

bool COptionRTHist::Validate()
{
    return CheckWholeField(days_, 0, 65535) && CheckWholeField(mbytes_, 0, 1000000) && CheckWholeField(rate_, 1, 25);
}

void COptionRTHist::Store(RTFeedSettings& s) const
{
    s.purgeMode = uint8_t(std::max(mode_->checkedId(), 0));
    s.purgeLimit = uint8_t(std::max(limit_->checkedId(), 0));
    s.keepDays = uint16_t(std::min(days_->text().trimmed().toUInt(), 65535u));
    s.keepMBytes = mbytes_->text().trimmed().toUInt();
    s.purgeMethod = s.purgeLimit ? PurgeMethod::Storage : PurgeMethod::Time;
}

void COptionRTHist::PurgeNow()
{
    if (RTConnectionStep() >= kFeedBackfilling) {
        ShowMessage("Please wait until the intraday backfill has completed before purging", {}, MsgButtons::Ok,
                    MsgIcon::Information);
        return;
    }
    RTFeedSettings s = CurrentRTFeedSettings();
    Store(s);
    StoreRTFeedSettings(s);
    RunPurgeDialog(false, window());
    ShowStored();
}

void COptionRTHist::Commit()
{
    RTFeedSettings s = CurrentRTFeedSettings();
    Store(s);
    s.disconnectAlert = alert_->isChecked();
    s.overseasHistory = overseas_->isChecked() ? uint8_t(1 + snapshots_->currentIndex()) : 0;
    s.updateRate = uint8_t(rate_->text().trimmed().toUInt());
    StoreRTFeedSettings(s);
}

// ---- Intraday Alarms

COptionRTAlarms::COptionRTAlarms(QWidget* parent) : COptionPage(OptionPage::RTAlarms, parent)
{
    const IntradayAlarmActions a = RTAlarmSettings::Actions();
    dialog_ = Check(1836, "Display triggered alerts dialog", a.showDialog);
    flash_ = Check(2826, "Flash window", a.flash);
    log_ = Check(2824, "Write alarms to log file", a.log);
    logFile_ = Edit(2807, FromCp1252(a.logFile));
    logFile_->setMaximumWidth(QWIDGETSIZE_MAX);
    logBrowse_ = new QPushButton(QStringLiteral("..."), this);
    audio_ = Check(2823, "Audio alarm", a.audio);
    beep_ = Radio(2950, "system beep");
    wave_ = Radio(2736, ".wav file");
    Group({beep_, wave_}, a.wave ? 1 : 0);
    waveFile_ = Edit(2813, FromCp1252(a.soundFile));
    waveFile_->setMaximumWidth(QWIDGETSIZE_MAX);
    waveBrowse_ = new QPushButton(QStringLiteral("..."), this);
    start_ = Group({Radio(0, "Start alarms at Market Open"), Radio(0, "Start alarms at Market Open + 15 mins")},
                   a.startDelay ? 1 : 0);
    limit_ = Check(3133, "Limit alarms to the last", a.limit);
    minutes_ = Edit(3134, QString::number(a.minutes));
    connect(logBrowse_, &QPushButton::clicked, this, [this] {
        Browse(logFile_, "Alarm log file", "Alarm log file (*.txt);;All Files (*.*)", false);
    });
    connect(waveBrowse_, &QPushButton::clicked, this, [this] {
        Browse(waveFile_, "Alarm wav file", "Alarm wav file (*.wav)", true);
    });
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{log_, audio_, wave_, beep_, limit_})
        connect(b, &QAbstractButton::toggled, this, [this] { Enable(); });
    auto* grid = new QGridLayout(this);
    grid->addWidget(dialog_, 0, 0, 1, 3);
    grid->addWidget(flash_, 1, 0, 1, 3);
    grid->addWidget(log_, 2, 0);
    grid->addWidget(logFile_, 2, 1);
    grid->addWidget(logBrowse_, 2, 2);
    grid->addWidget(audio_, 3, 0);
    grid->addWidget(beep_, 4, 0);
    grid->addWidget(wave_, 5, 0);
    grid->addWidget(waveFile_, 5, 1);
    grid->addWidget(waveBrowse_, 5, 2);
    grid->addWidget(start_->button(0), 6, 0, 1, 3);
    grid->addWidget(start_->button(1), 7, 0, 1, 3);
    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(limit_);
    limitRow->addWidget(minutes_);
    limitRow->addWidget(new QLabel(QStringLiteral("minutes"), this));
    limitRow->addStretch();
    grid->addLayout(limitRow, 8, 0, 1, 3);
    grid->setRowStretch(9, 1);
    Enable();
}

void COptionRTAlarms::Enable()
{
    logFile_->setEnabled(log_->isChecked());
    logBrowse_->setEnabled(log_->isChecked());
    beep_->setEnabled(audio_->isChecked());
    wave_->setEnabled(audio_->isChecked());
    waveFile_->setEnabled(audio_->isChecked() && wave_->isChecked());
    waveBrowse_->setEnabled(audio_->isChecked() && wave_->isChecked());
    minutes_->setEnabled(limit_->isChecked());
}

bool COptionRTAlarms::Validate()
{
    if (limit_->isChecked() && !CheckWholeField(minutes_, 1, 1440))
        return false;
    if (!log_->isChecked())
        return true;
    const std::string name = ToCp1252(logFile_->text().trimmed());
    if (name.size() < 2) {
        Refuse(logFile_, "No log file specified");
        return false;
    }
    std::FILE* file = std::fopen(name.c_str(), "a+");
    if (!file) {
        Refuse(logFile_, "Cannot open specified log file");
        return false;
    }
    std::fclose(file);
    return true;
}

void COptionRTAlarms::Commit()
{
    IntradayAlarmActions a = RTAlarmSettings::Actions();
    a.showDialog = dialog_->isChecked();
    a.flash = flash_->isChecked();
    a.log = log_->isChecked();
    a.audio = audio_->isChecked();
    a.wave = wave_->isChecked();
    a.startDelay = start_->checkedId() == 1 ? 900 : 0;
    a.limit = limit_->isChecked();
    if (a.limit)
        a.minutes = uint16_t(minutes_->text().trimmed().toUInt());
    a.logFile = ToCp1252(logFile_->text().trimmed());
    a.soundFile = ToCp1252(waveFile_->text().trimmed());
    RTAlarmSettings::SetActions(a);
}

// ---- Market hours

COptionExchTimes::COptionExchTimes(QWidget* parent) : COptionPage(OptionPage::ExchTimes, parent)
{
    list_ = new CTimesListBox(this);
    list_->setObjectName(QStringLiteral("3501"));
    auto* reset = NamedButton("Reset All", 3504, this);
    connect(reset, &QPushButton::clicked, this, [this] { ResetAll(); });
    auto* note = new QLabel(QString::fromLatin1(kExchTimesNote), this);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(list_, 1);
    layout->addWidget(reset, 0, Qt::AlignLeft);
    const RTFeedSettings s = CurrentRTFeedSettings();
    Fill(s.userOpen, s.userClose);
}

void COptionExchTimes::Fill(const std::array<uint32_t, kMarketHoursExchanges>& open,
                            const std::array<uint32_t, kMarketHoursExchanges>& close)
{
    list_->CancelEdit();
    list_->clear();
    // The exchange's zone, by today's standard or daylight name, after the time.
    const PackedDate today = GetTodayDate(0);
    for (size_t i = 0; i < size_t(kMarketHoursExchanges); ++i) {
        const QString name = QString::fromLatin1(DefaultMarketHours()[i].name);
        const std::string_view zone = GetMarketTimeZoneName(unsigned(i), today);
        const QString suffix = zone.empty() ? QString() : QLatin1Char('\t') + FromCp1252(std::string(zone));
        list_->AddRow(name + QStringLiteral(" Open") + suffix, int(open[i]));
        list_->AddRow(name + QStringLiteral(" Close") + suffix, int(close[i]));
    }
}

void COptionExchTimes::ResetAll()
{
    std::array<uint32_t, kMarketHoursExchanges> open{}, close{};
    for (size_t i = 0; i < size_t(kMarketHoursExchanges); ++i) {
        open[i] = DefaultMarketHours()[i].open;
        close[i] = DefaultMarketHours()[i].close;
    }
    Fill(open, close);
}

void COptionExchTimes::Commit()
{
    list_->CommitEdit();
    RTFeedSettings s = CurrentRTFeedSettings();
    for (size_t i = 0; i < size_t(kMarketHoursExchanges); ++i) {
        s.userOpen[i] = uint32_t(std::clamp(list_->RowTime(int(2 * i)), 0, 86400));
        s.userClose[i] = uint32_t(std::clamp(list_->RowTime(int(2 * i + 1)), 0, 86400));
    }
    StoreRTFeedSettings(s);
}

} // namespace qv
