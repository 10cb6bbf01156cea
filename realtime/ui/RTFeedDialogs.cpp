// The feed information window and the feed levels dialog.
#include "realtime/ui/RTFeedDialogs.h"

#include "core/DateText.h"
#include "core/FormatNumber.h"
#include "core/ReadersWriterLock.h"
#include "core/StringPrintf.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/feed/FeedDecoder.h"
#include "realtime/feed/FeedServerInfo.h"
#include "realtime/feed/FeedTransport.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTStoreFiles.h"
#include "resources/WebAddresses.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/ModalDialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {
namespace {

constexpr int kInfoTimerMs = 1000;
constexpr int kInfoMinimumWidth = 300; // the caption, "Intraday feed information", whole beside its buttons
constexpr const char* kStatLabels =
    "Total messages\rTrades\rPrices\rIndex values\rOther messages\rEPICs\rControl messages\rLSE feed date\rLSE feed time";
constexpr const char* kWelcome =
    "Welcome to the latest release of Quorvantis Pro, which enables you to receive a significant quantity of new "
    "data, including US stocks and indices, world indices, commodities and Forex.\n\nYou may choose not to "
    "receive all of it: on the next page, choose the level of data you wish to receive from each exchange, and "
    "the level of data a backfill of missed days may bring.";
constexpr const char* kLondonNote = "London Stock Exchange data is always supplied at the Max level.";
constexpr const char* kColumns[4] = {"Max", "Normal", "Min", "None"};

QPointer<CRTFeedInfoDlg>& OpenInfo()
{
    static QPointer<CRTFeedInfoDlg> dialog;
    return dialog;
}

// Windows shows "\r" in a static as a line break.
QString Lines(const std::string& text)
{
    QString s = FromCp1252(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

std::string Count(uint64_t n) { return GroupThousands(std::to_string(n)); }

const char* EngineStateWord(int32_t state)
{
    switch (state) {
    case kEngineStopped: return "Not connected";
    case kEngineRunning: return "Connected";
    case kEngineStarting: return "Connecting";
    case kEngineDisconnecting: return "Disconnecting";
    case kEnginePlayback: return "Playback";
    default: return "";
    }
}

} // namespace

CRTFeedInfoDlg::CRTFeedInfoDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Intraday feed information"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    server_ = new QLabel;
    status_ = new QLabel;
    auto* labels = new QLabel(Lines(kStatLabels));
    values_ = new QLabel;
    values_->setObjectName(QStringLiteral("values"));
    values_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    record_ = new QPushButton;
    record_->setObjectName(QString::number(kRecordButton));
    auto* close = new QPushButton(QStringLiteral("Close"));
    close->setDefault(true);
    connect(record_, &QPushButton::clicked, this, [this] { ToggleRecording(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* stats = new QHBoxLayout;
    stats->addWidget(labels);
    stats->addStretch();
    stats->addWidget(values_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(record_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(server_);
    layout->addWidget(status_);
    layout->addLayout(stats);
    layout->addLayout(buttons);
    // Trimmed to just below the Close button, and wide enough for the caption: the fixed size is the
    // layout's, which a minimum width of the dialog's own would not change.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    const QMargins margins = layout->contentsMargins();
    server_->setMinimumWidth(kInfoMinimumWidth - margins.left() - margins.right());
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] { Refresh(false); });
    timer->start(kInfoTimerMs);
    Refresh(true);
}

CRTFeedInfoDlg* CRTFeedInfoDlg::Open(QWidget* parent)
{
    QPointer<CRTFeedInfoDlg>& dialog = OpenInfo();
    if (!dialog)
        dialog = new CRTFeedInfoDlg(parent);
    dialog->show();
    dialog->raise();
    return dialog;
}

CRTFeedInfoDlg* CRTFeedInfoDlg::Current() { return OpenInfo(); }

void CRTFeedInfoDlg::Refresh(bool force)
{
    record_->setText(RTRecording() ? QStringLiteral("Stop recording") : QStringLiteral("Record"));
    if (!force && lastRefresh_.isValid() && lastRefresh_.elapsed() < kRefreshMs)
        return;
    lastRefresh_.start();
    // The server of the current attempt (the settings' row, or the one the environment names).
    std::string server = "Server: none";
    if (RTEngineState == kEngineRunning) {
        FeedServer s = ChosenFeedServer(TheRTEngine().serverAttempt);
        server = StringPrintf("Server: %s %d (%d)", s.host.c_str(), s.port, s.index + 1);
    }
    server_->setText(FromCp1252(server));
    status_->setText(FromCp1252(std::string("Status: ") + EngineStateWord(RTEngineState)));
    const FeedDecodeCounts& d = TheFeedDecodeCounts();
    FeedServerInfo& info = TheFeedServerInfo();
    const uint64_t frames = info.frames, definitions = info.definitions, control = info.control;
    // Shares defined, each once however often a reconnection or a playback defines it again.
    LockRTShared();
    const int epics = std::max(0, int(TheRTStore().table.instrumentCount) - 1);
    UnlockRTShared();
    const uint64_t records = info.catchUpBlocks;
    const uint64_t prices = d.items > d.trades + d.indexValues ? d.items - d.trades - d.indexValues : 0;
    const uint64_t other = frames > d.records + definitions + control ? frames - d.records - definitions - control : 0;
    uint32_t latest = 0;
    for (const RTExchangeDay& e : TheRTEngine().exchanges)
        latest = std::max(latest, e.latestTime);
    const PackedDate day = info.feedDay;
    std::string values = StringPrintf("%s\r%s\r%s\r%s\r%s\r%i (Back %i)\r%i (%i)\r%s\r\n%02d:%02d:%02d",
                                      Count(frames).c_str(), Count(d.trades).c_str(), Count(prices).c_str(),
                                      Count(d.indexValues).c_str(), Count(other).c_str(), epics,
                                      int(records), int(control), int(info.backfillTotal.load()),
                                      day ? FormatDate(day).c_str() : "Not set", int(latest / 3600),
                                      int(latest / 60 % 60), int(latest % 60));
    values_->setText(Lines(values));
}

void CRTFeedInfoDlg::ToggleRecording()
{
    if (RTRecording()) {
        if (!StopRecordingRT())
            ShowMessage("The recording could not be written to \"Demo.dat\".", {}, MsgButtons::Ok, MsgIcon::Exclamation);
    } else {
        StartRecordingRT();
    }
    Refresh(false);
}

CRTFeedLevelsDlg::CRTFeedLevelsDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Intraday feed levels"));
    const RTFeedSettings settings = CurrentRTFeedSettings();
    pages_ = new QStackedWidget;
    auto* welcome = new QLabel(FromCp1252(kWelcome));
    welcome->setWordWrap(true);
    pages_->addWidget(welcome);

    auto* grid = new QWidget;
    auto* g = new QGridLayout(grid);
    for (int c = 0; c < 4; ++c)
        g->addWidget(new QLabel(QString::fromLatin1(kColumns[c])), 0, 1 + 2 * c, Qt::AlignCenter);
    for (int row = 0; row <= kLevelGroups; ++row) {
        const bool backfill = row == kLevelGroups;
        g->addWidget(new QLabel(backfill ? QStringLiteral("Backfill Level") : QString::fromLatin1(kLevelGroupNames[size_t(row)])),
                     1 + row, 0);
        rows_[size_t(row)] = new QButtonGroup(this);
        for (int c = 0; c < 4; ++c) {
            auto* radio = new QRadioButton;
            radio->setObjectName(QStringLiteral("level%1_%2").arg(row).arg(c));
            rows_[size_t(row)]->addButton(radio, c);
            g->addWidget(radio, 1 + row, 1 + 2 * c, Qt::AlignCenter);
            if (backfill)
                continue;
            auto* mark = new QLabel(QStringLiteral("x"));
            mark->setToolTip(QStringLiteral("Indicates the current receive level"));
            mark->setVisible(false);
            marks_[size_t(row)][size_t(c)] = mark;
            g->addWidget(mark, 1 + row, 2 + 2 * c);
        }
        SetRowLevel(row, backfill ? BackfillRowLevel(settings.backfillLevels) : GroupLevel(settings.deliveryLevels, row));
    }
    g->addWidget(new QLabel(FromCp1252(kLondonNote)), 2 + kLevelGroups, 0, 1, 9);
    pages_->addWidget(grid);

    auto* web = new QPushButton(QStringLiteral("View Latest News && Information on the Web"));
    web->setToolTip(QStringLiteral("View the latest news and information about the new intraday data feed"));
    connect(web, &QPushButton::clicked, this, [] { OpenExternal(kFeedNewsPage); });
    back_ = new QPushButton(QStringLiteral("< Back"));
    next_ = new QPushButton;
    next_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    connect(back_, &QPushButton::clicked, this, [this] { ShowStep(1); });
    connect(next_, &QPushButton::clicked, this, [this] { step_ == 1 ? ShowStep(2) : accept(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(web);
    buttons->addStretch();
    buttons->addWidget(back_);
    buttons->addWidget(next_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(buttons);
    setMinimumWidth(640);

    marksShown_ = settings.levelsChosen;
    ShowStep(settings.levelsChosen ? 2 : 1);
    if (settings.levelsChosen) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] { MarkCurrentLevels(); });
        timer->start(1000);
        MarkCurrentLevels();
    }
}

int CRTFeedLevelsDlg::RowLevel(int row) const { return LevelColumn(std::max(rows_[size_t(row)]->checkedId(), 0)); }

void CRTFeedLevelsDlg::SetRowLevel(int row, int level)
{
    if (QAbstractButton* b = rows_[size_t(row)]->button(LevelColumn(std::clamp(level, 0, 3))))
        b->setChecked(true);
}

void CRTFeedLevelsDlg::MarkCurrentLevels()
{
    // The first run shows no marks; they come once the levels were chosen before.
    const bool connected = marksShown_ && RTConnectionStep() >= kFeedConnected;
    const uint32_t current = TheFeedServerInfo().currentLevels;
    for (int g = 0; g < kLevelGroups; ++g)
        for (int c = 0; c < 4; ++c)
            marks_[size_t(g)][size_t(c)]->setVisible(connected && step_ == 2 && LevelColumn(GroupLevel(current, g)) == c);
}

void CRTFeedLevelsDlg::ShowStep(int step)
{
    step_ = step;
    pages_->setCurrentIndex(step - 1);
    back_->setVisible(step == 2 && !CurrentRTFeedSettings().levelsChosen);
    next_->setText(step == 1 ? QStringLiteral("Next >") : QStringLiteral("Finish"));
    MarkCurrentLevels();
}

void CRTFeedLevelsDlg::accept()
{
    if (step_ != 2) {
        ShowStep(2);
        return;
    }
    std::array<int, kLevelGroups> levels{};
    for (int g = 0; g < kLevelGroups; ++g)
        levels[size_t(g)] = RowLevel(g);
    RTFeedSettings s = CurrentRTFeedSettings();
    s.deliveryLevels = PackDeliveryLevels(levels);
    s.backfillLevels = PackBackfillLevels(levels, RowLevel(kLevelGroups));
    s.levelsChosen = true;
    StoreRTFeedSettings(s);
    QDialog::accept();
}

} // namespace qv
