// The basic and advanced intraday column dialogs and the loop that runs them.
#include "realtime/ui/IntradayColumnDlg.h"

#include "lists/ColumnCatalogues.h"
#include "lists/ui/ListViewSeams.h"
#include "platform/MessageBox.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>

#include <optional>

namespace qv {
namespace {

using C = IntradayChoice;

constexpr uint32_t kAdvancedHelp = 0x20000 + CIntradayColumnAdvDlg::kTemplateId;
constexpr uint32_t kBasicHelp = 0x20000 + CIntradayColumnDlg::kTemplateId;

// The advanced dialog's groups by title: which radio buttons each holds.
constexpr const char* kPriceGroup = " Price ";
constexpr const char* kTradesGroup = " Trades ";
constexpr const char* kVolumeTypeGroup = " Volume Type ";
constexpr const char* kGraphsGroup = " Graphs ";
constexpr const char* kOpenCloseGroup = " Open / Close ";
constexpr const char* kPriceTypeGroup = " Price Type ";
constexpr const char* kValueGroup = " Value ";
constexpr const char* kHighLowGroup = " High/Low ";
constexpr const char* kTimeGroup = " Time ";

// The tabs, their own group and the control switching to them chooses.
struct TabInfo {
    const char* title;
    const char* group;
    IntradayChoice first;
};
constexpr TabInfo kTabs[] = {
    {" Prices ", kPriceGroup, C::MidBidOffer},
    {" Trades ", kTradesGroup, C::TradePrice},
    {" Graphs ", kGraphsGroup, C::Graph},
    {" Open / Close ", kOpenCloseGroup, C::TodaysOpen},
};

QPushButton* DialogButton(QDialog* dialog, const char* text, int id)
{
    auto* button = new QPushButton(QString::fromLatin1(text), dialog);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    return button;
}

} // namespace

IntradayColumnMemory& TheIntradayColumnMemory()
{
    static IntradayColumnMemory memory;
    return memory;
}

CIntradayColumnDlgBase::CIntradayColumnDlgBase(const CIntradayColumnSpec& spec, IntradayColumnInsert insert, QWidget* parent)
    : QDialog(parent), spec_(spec), insert_(std::move(insert))
{
}

void CIntradayColumnDlgBase::PlaceSwitchButtonAt(QPoint screen)
{
    if (!switchButton_ || screen.isNull())
        return;
    adjustSize();
    const QPoint inside = switchButton_->mapTo(this, QPoint(0, 0));
    move(screen - inside - (geometry().topLeft() - frameGeometry().topLeft()));
}

std::vector<uint8_t> CIntradayColumnDlgBase::BuildColumn() const
{
    return spec_.BuildColumn(CatalogueTemplate(Catalogue::Shares, spec_.letter));
}

void CIntradayColumnDlgBase::ReadDays()
{
    bool clamped = false;
    spec_.daysBack = IntradayDaysFromText(daysText_, (spec_.form & kIntradayPreviousDaysBit) != 0, clamped);
    if (clamped)
        ShowMessage(kIntradayDaysMessage, {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

void CIntradayColumnDlgBase::accept()
{
    ReadDays();
    QDialog::accept();
}

void CIntradayColumnDlgBase::AddNow()
{
    ReadDays();
    const std::vector<uint8_t> record = BuildColumn();
    if (!record.empty() && insert_ && insert_(record))
        added_ = true;
}

void CIntradayColumnDlgBase::Chose()
{
    added_ = false;
    ShowSpec();
}

void CIntradayColumnDlgBase::SwitchDialog(QPushButton* button)
{
    switchPos_ = button->mapToGlobal(QPoint(0, 0));
    switch_ = true;
    ReadDays();
    QDialog::reject();
}

// The advanced dialog.

CIntradayColumnAdvDlg::CIntradayColumnAdvDlg(const CIntradayColumnSpec& spec, IntradayColumnInsert insert, QWidget* parent)
    : CIntradayColumnDlgBase(spec, std::move(insert), parent)
{
    setWindowTitle(QStringLiteral("Add an Intraday column"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabBar(this);
    for (const TabInfo& t : kTabs)
        tabs_->addTab(QString::fromLatin1(t.title));
    layout->addWidget(tabs_);
    volumePrompt_ = new QLabel(QString::fromLatin1(kVolumePrompt), this);
    pricePrompt_ = new QLabel(QString::fromLatin1(kPricePrompt), this);
    layout->addWidget(volumePrompt_);
    layout->addWidget(pricePrompt_);

    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    // The tab's own group on the left (one shows at a time), the type groups beside it.
    auto* own = new QVBoxLayout;
    own->addWidget(AddGroup(kPriceGroup, {{C::MidBidOffer, "Mid bid/offer"}, {C::Bid, "Bid"}, {C::Offer, "Offer"},
                                          {C::SpreadPercent, "Spread %"}, {C::Vwap, "VWAP"}, {C::PriceTime, "Time"},
                                          {C::PriceTimeSince, "Time since"}}));
    own->addWidget(AddGroup(kTradesGroup, {{C::TradePrice, "Trade price"}, {C::Volume, "Volume"}, {C::Value, "Value"},
                                           {C::Count, "Count"}, {C::TradeTime, "Time"}, {C::TradeTimeSince, "Time since"}}));
    own->addWidget(AddGroup(kGraphsGroup, {{C::Graph, "Graph"}, {C::SpreadGraph, "Spread graph"}, {C::Thermograph, "Thermograph"},
                                           {C::BuySellBar, "Buy sell bar"}, {C::TickChanges, "Tick changes"}}));
    own->addWidget(AddGroup(kOpenCloseGroup, {{C::TodaysOpen, "Today's open"}, {C::TodaysClose, "Today's close"}}));
    own->addStretch();
    grid->addLayout(own, 0, 0, 2, 1);
    grid->addWidget(AddGroup(kVolumeTypeGroup, {{C::Total, "Total"}, {C::TotalBuys, "Total buys"}, {C::TotalSells, "Total sells"},
                                                {C::TotalUnknowns, "Total unknowns"}, {C::LastTrade, "Last trade"}}), 0, 1);
    grid->addWidget(AddGroup(kPriceTypeGroup, {{C::Price, "Price"}, {C::High, "High"}, {C::Low, "Low"}, {C::Range, "Range"},
                                               {C::Average, "Average"}}), 1, 1);
    grid->addWidget(AddGroup(kValueGroup, {{C::LatestValue, "Latest Value"}, {C::PercentFromOpen, "% from open"},
                                           {C::ChangeFromOpen, "Change from open"}, {C::PercentFromClose, "% from previous close"},
                                           {C::ChangeFromClose, "Change from previous close"}}), 0, 2);
    grid->addWidget(AddGroup(kHighLowGroup, {{C::HighLowValue, "Value"}, {C::HighLowTime, "Time"}, {C::HighLowTimeSince, "Time since"}}), 1, 2);
    QGroupBox* time = AddGroup(kTimeGroup, {{C::Today, "Today"}, {C::PreviousDays, "Previous days:"}});
    daysEdit_ = new QLineEdit(QString::fromStdString(daysText_), time);
    daysEdit_->setObjectName(QStringLiteral("1004"));
    daysEdit_->setMaxLength(5);
    static_cast<QVBoxLayout*>(time->layout())->addWidget(daysEdit_);
    grid->addWidget(time, 2, 1, 1, 2);
    connect(daysEdit_, &QLineEdit::textEdited, this, [this](const QString& text) { daysText_ = text.toStdString(); });

    auto* buttons = new QHBoxLayout;
    QPushButton* ok = DialogButton(this, "OK", 1);
    ok->setDefault(true);
    QPushButton* addNow = DialogButton(this, "Add Now", 1001);
    QPushButton* cancel = DialogButton(this, "Cancel", 2);
    QPushButton* help = DialogButton(this, "Help", 9);
    switchButton_ = DialogButton(this, "<< Basic", 1002);
    for (QPushButton* b : {switchButton_, ok, addNow, cancel, help})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(addNow, &QPushButton::clicked, this, [this] { AddNow(); });
    connect(switchButton_, &QPushButton::clicked, this, [this] { SwitchDialog(switchButton_); });
    InstallDialogHelp(*this, kAdvancedHelp, help);

    connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) {
        if (showing_)
            return;
        TheIntradayColumnMemory().tab = tab;
        Choose(kTabs[tab].first);
    });
    ShowSpec();
}

QGroupBox* CIntradayColumnAdvDlg::AddGroup(const char* title, std::initializer_list<std::pair<IntradayChoice, const char*>> buttons)
{
    auto* box = new QGroupBox(QString::fromLatin1(title), this);
    auto* layout = new QVBoxLayout(box);
    // Each box is a radio group of its own.
    auto* radios = new QButtonGroup(box);
    for (const auto& [choice, text] : buttons) {
        auto* radio = new QRadioButton(QString::fromLatin1(text), box);
        radio->setObjectName(QString::number(1100 + int(choice)));
        radios->addButton(radio, int(choice));
        buttons_[choice] = radio;
        layout->addWidget(radio);
    }
    connect(radios, &QButtonGroup::idClicked, this, [this](int id) { Choose(IntradayChoice(id)); });
    groups_[title] = box;
    return box;
}

int CIntradayColumnAdvDlg::TabOf(IntradayChoice main)
{
    if (main >= C::TradePrice && main <= C::TradeTimeSince)
        return 1;
    if (main >= C::Graph && main <= C::TickChanges)
        return 2;
    if (main == C::TodaysOpen || main == C::TodaysClose)
        return 3;
    return 0;
}

void CIntradayColumnAdvDlg::Choose(IntradayChoice choice)
{
    spec_.Choose(choice);
    Chose();
}

void CIntradayColumnAdvDlg::SelectTab(int tab) { tabs_->setCurrentIndex(tab); }

int CIntradayColumnAdvDlg::currentTab() const { return tabs_->currentIndex(); }

QAbstractButton* CIntradayColumnAdvDlg::button(IntradayChoice choice) const
{
    auto found = buttons_.find(choice);
    return found == buttons_.end() ? nullptr : found->second;
}

QGroupBox* CIntradayColumnAdvDlg::group(const char* title) const
{
    auto found = groups_.find(title);
    return found == groups_.end() ? nullptr : found->second;
}

void CIntradayColumnAdvDlg::ShowSpec()
{
    showing_ = true;
    const int tab = TabOf(spec_.main);
    tabs_->setCurrentIndex(tab);
    for (const TabInfo& t : kTabs)
        groups_[t.group]->setVisible(t.group == kTabs[tab].group);
    groups_[kVolumeTypeGroup]->setVisible(spec_.volumeType != C::None);
    groups_[kPriceTypeGroup]->setVisible(spec_.priceType != C::None);
    groups_[kValueGroup]->setVisible(spec_.value != C::None);
    groups_[kHighLowGroup]->setVisible(spec_.highLow != C::None);
    groups_[kTimeGroup]->setVisible(spec_.days != C::None);
    // A count of the last trade alone says nothing.
    button(C::LastTrade)->setVisible(spec_.letter != 'S');
    volumePrompt_->setVisible(spec_.volumeType != C::None);
    pricePrompt_->setVisible(spec_.priceType != C::None && spec_.volumeType == C::None);
    daysEdit_->setEnabled(spec_.days == C::PreviousDays);
    for (IntradayChoice checked : {spec_.main, spec_.volumeType, spec_.priceType, spec_.value, spec_.highLow, spec_.days})
        if (QAbstractButton* b = button(checked))
            b->setChecked(true);
    showing_ = false;
}

// The basic dialog.

CIntradayColumnDlg::CIntradayColumnDlg(const CIntradayColumnSpec& spec, IntradayColumnInsert insert, QWidget* parent)
    : CIntradayColumnDlgBase(spec, std::move(insert), parent)
{
    setWindowTitle(QStringLiteral("Add an Intraday Column"));
    auto* layout = new QHBoxLayout(this);
    auto* choices = new QVBoxLayout;
    radios_ = new QButtonGroup(this);
    const std::pair<IntradayBasic, const char*> buttons[] = {
        {IntradayBasic::PriceMid, "Price (mid)"}, {IntradayBasic::PricePercentFromOpen, "Price % from open"},
        {IntradayBasic::PricePercentFromClose, "Price % from close"}, {IntradayBasic::Open, "Open"},
        {IntradayBasic::High, "High"}, {IntradayBasic::Low, "Low"}, {IntradayBasic::Close, "Close"},
        {IntradayBasic::Volume, "Volume"}, {IntradayBasic::Graph, "Graph"}, {IntradayBasic::Thermograph, "Thermograph"},
    };
    for (const auto& [choice, text] : buttons) {
        auto* radio = new QRadioButton(QString::fromLatin1(text), this);
        radio->setObjectName(QString::number(1200 + int(choice)));
        radios_->addButton(radio, int(choice));
        choices->addWidget(radio);
    }
    layout->addLayout(choices);
    auto* side = new QVBoxLayout;
    QPushButton* ok = DialogButton(this, "OK", 1);
    ok->setDefault(true);
    QPushButton* addNow = DialogButton(this, "Add Now", 1001);
    QPushButton* cancel = DialogButton(this, "Cancel", 2);
    QPushButton* help = DialogButton(this, "Help", 9);
    switchButton_ = DialogButton(this, "Advanced >>", 1002);
    for (QPushButton* b : {ok, addNow, cancel, help})
        side->addWidget(b);
    side->addStretch();
    side->addWidget(switchButton_);
    layout->addLayout(side);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(addNow, &QPushButton::clicked, this, [this] { AddNow(); });
    connect(switchButton_, &QPushButton::clicked, this, [this] { SwitchDialog(switchButton_); });
    connect(radios_, &QButtonGroup::idClicked, this, [this](int id) { Choose(IntradayBasic(id)); });
    InstallDialogHelp(*this, kBasicHelp, help);
    if (spec_.basic == IntradayBasic::None)
        spec_.basic = spec_.BasicOfGroup();
    ShowSpec();
}

void CIntradayColumnDlg::Choose(IntradayBasic choice)
{
    spec_.ChooseBasic(choice);
    Chose();
}

QAbstractButton* CIntradayColumnDlg::button(IntradayBasic choice) const { return radios_->button(int(choice)); }

void CIntradayColumnDlg::ShowSpec()
{
    if (QAbstractButton* b = radios_->button(int(spec_.basic)))
        b->setChecked(true);
}

// The loop of command 26809.

void AddIntradayColumn(QWidget* parent, const IntradayColumnInsert& insert)
{
    CIntradayColumnSpec spec = CIntradayColumnSpec::Initial();
    std::string days;
    bool added = false;
    QPoint position;
    IntradayColumnMemory& memory = TheIntradayColumnMemory();
    for (;;) {
        std::optional<CIntradayColumnAdvDlg> advanced;
        std::optional<CIntradayColumnDlg> basic;
        CIntradayColumnDlgBase* dialog = nullptr;
        if (memory.advanced) {
            // The advanced dialog opens on the remembered tab when it starts afresh.
            CIntradayColumnSpec start = spec;
            if (!added && position.isNull() && memory.tab > 0 && memory.tab < int(std::size(kTabs)))
                start.Choose(kTabs[memory.tab].first);
            dialog = &advanced.emplace(start, insert, parent);
        } else {
            // Carried back from the advanced dialog, the basic one shows its group's choice.
            spec.basic = spec.BasicOfGroup();
            dialog = &basic.emplace(spec, insert, parent);
        }
        dialog->SetDaysText(days);
        if (advanced)
            advanced->daysEdit()->setText(QString::fromStdString(days));
        dialog->SetColumnAdded(added);
        dialog->PlaceSwitchButtonAt(position);
        const int result = RunModalDialog(*dialog);
        spec = dialog->spec();
        days = dialog->daysText();
        added = dialog->columnAdded();
        if (dialog->switchAsked()) {
            memory.advanced = !memory.advanced;
            position = dialog->switchPosition();
            continue;
        }
        if (result != QDialog::Accepted || added)
            return;
        const std::vector<uint8_t> record = dialog->BuildColumn();
        if (!record.empty() && insert)
            insert(record);
        return;
    }
}

void InstallIntradayColumnDialogs()
{
    ColumnDialogs().intraday = [](QWidget* parent, const std::function<bool(std::span<const uint8_t>)>& insert) {
        AddIntradayColumn(parent, insert);
    };
}

} // namespace qv
