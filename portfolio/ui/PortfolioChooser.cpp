// The portfolio chooser.
#include "portfolio/ui/PortfolioChooser.h"

#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "platform/qt/QtText.h"
#include "portfolio/PortfolioChooserRules.h"
#include "portfolio/PortfolioMaking.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/UndoRing.h"
#include "resources/MessageIds.h"
#include "shell/FrameDialogSeams.h"
#include "views/FrameState.h"
#include "shell/IdleWork.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/KeyForwarding.h"
#include "shell/ui/ModalDialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr int kValueRole = Qt::UserRole;

QPushButton* Button(const char* text, int id, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::number(id));
    b->setAutoDefault(false);
    return b;
}

void Fill(QListWidget* list, const std::vector<ChooserEntry>& entries)
{
    list->clear();
    for (const ChooserEntry& e : entries) {
        auto* item = new QListWidgetItem(FromCp1252(e.text), list);
        item->setData(kValueRole, uint32_t(e.value));
    }
}

uint32_t SelectedValue(const QListWidget* list, bool& any)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    any = !items.isEmpty();
    return any ? items.front()->data(kValueRole).toUInt() : 0;
}

bool InChain(const Portfolio* p)
{
    for (const Portfolio* q = PortfolioChain(); q; q = q->next)
        if (q == p)
            return true;
    return false;
}

Portfolio* FirstUserPortfolio()
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio || p->type == kGroupPortfolio)
            return p;
    return PortfolioChain();
}

} // namespace

CPortfolioChooser::CPortfolioChooser(QWidget* parent)
    : QDialog(parent), prompt_(new QLabel(this)), portfolios_(new CSmallListBox(this)),
      filterTitle_(new QLabel(QStringLiteral("Or the Filter (dynamic portfolios)"), this)),
      filters_(new CSmallListBox(this)), presets_(new QGroupBox(QStringLiteral(" Pre-set portfolios "), this)),
      advanced_(Button("Advanced >>", 2027, this)), delete_(Button("Delete", 3, this))
{
    setObjectName(QStringLiteral("217"));
    ChosenPortfolio() = nullptr;
    prompt_->setObjectName(QStringLiteral("1062"));
    portfolios_->setObjectName(QStringLiteral("1061"));
    filters_->setObjectName(QStringLiteral("1063"));
    presets_->setObjectName(QStringLiteral("2071"));
    auto* presetLayout = new QGridLayout(presets_);
    const struct {
        const char* text;
        int id;
        uint16_t number;
    } kPresets[] = {{"Alarms", 18117, kAlarmsNumber}, {"Global Alarms", 18118, kGlobalAlarmsNumber},
                    {"New Highs", 18119, kNewHighsNumber}, {"New Lows", 18120, kNewLowsNumber}};
    int at = 0;
    for (const auto& p : kPresets) {
        QPushButton* b = Button(p.text, p.id, presets_);
        presetLayout->addWidget(b, at / 2, at % 2);
        connect(b, &QPushButton::clicked, this, [this, number = p.number] { ChoosePreset(number); });
        ++at;
    }
    QPushButton* options = Button("Options", 18116, presets_);
    options->setEnabled(bool(FrameDialogs().optionsSheet));
    presetLayout->addWidget(options, 2, 0, 1, 2);
    connect(options, &QPushButton::clicked, this, [this] {
        if (FrameDialogs().optionsSheet && FrameDialogs().optionsSheet(2))
            update();
    });

    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, 0x20000 + 217);
    ok_ = buttons->findChild<QPushButton*>(QStringLiteral("1"));
    buttons->addButton(delete_, QDialogButtonBox::ActionRole);
    connect(delete_, &QPushButton::clicked, this, [this] { DeleteOne(); });
    connect(advanced_, &QPushButton::clicked, this, [this] { ToggleAdvanced(); });

    for (QListWidget* list : {portfolios_, filters_}) {
        list->installEventFilter(this);
        connect(list, &QListWidget::itemSelectionChanged, this, [this] { UpdateOk(); });
        connect(list, &QListWidget::itemDoubleClicked, this, [this, list] {
            Activate(list == portfolios_);
            accept();
        });
        connect(list, &QListWidget::itemPressed, this, [this, list] { Activate(list == portfolios_); });
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(portfolios_, 2);
    auto* row = new QHBoxLayout;
    row->addWidget(advanced_);
    row->addStretch();
    layout->addLayout(row);
    layout->addWidget(filterTitle_);
    layout->addWidget(filters_, 1);
    layout->addWidget(presets_);
    layout->addWidget(buttons);
    delete_->setVisible(false);
    ApplyMode();
    resize(340, 420);
}

void CPortfolioChooser::SetPortfolioChooserMode(int mode)
{
    mode_ = mode;
    if (ChooserModeExtended(mode))
        extended_ = true;
    ApplyMode();
}

void CPortfolioChooser::ApplyMode()
{
    prompt_->setText(QString::fromStdString(ChooserPrompt(mode_)));
    setWindowTitle(QString::fromStdString(ChooserTitle(mode_)));
    InstallDialogHelp(*this, 0x20000 + ChooserHelpContext(mode_));
    Refill();
}

void CPortfolioChooser::SetShowDelete(bool show)
{
    showDelete_ = show;
    delete_->setVisible(show);
}

void CPortfolioChooser::SetCurrentPortfolio(const Portfolio* current)
{
    currentGiven_ = true;
    current_ = current;
    Refill();
}

void CPortfolioChooser::Refill()
{
    const Portfolio* current = currentGiven_ ? current_ : (CurrentShareList() ? CurrentShareList()->source : nullptr);
    ChooserListing listing = ListChooserEntries(mode_, extended_, current);
    Fill(portfolios_, listing.portfolios);
    Fill(filters_, listing.filters);
    if (portfolios_->count() > 0)
        portfolios_->item(0)->setSelected(true), portfolios_->setCurrentRow(0);
    activePortfolios_ = true;
    Layout();
    UpdateOk();
}

void CPortfolioChooser::showEvent(QShowEvent* event)
{
    // The caller's flag holds for one opening.
    const bool show = showDelete_;
    showDelete_ = false;
    delete_->setVisible(show);
    QDialog::showEvent(event);
}

bool CPortfolioChooser::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == portfolios_ || watched == filters_))
        Activate(watched == portfolios_);
    return QDialog::eventFilter(watched, event);
}

void CPortfolioChooser::Activate(bool portfolioList)
{
    activePortfolios_ = portfolioList;
    QListWidget* other = portfolioList ? filters_ : portfolios_;
    other->blockSignals(true);
    other->clearSelection();
    other->blockSignals(false);
    UpdateOk();
}

// OK stands for a listed entry only: with nothing selected there is nothing to answer.
void CPortfolioChooser::UpdateOk()
{
    if (!ok_)
        return;
    if (!portfolios_->selectedItems().isEmpty() && filters_->selectedItems().isEmpty())
        activePortfolios_ = true;
    else if (!filters_->selectedItems().isEmpty() && portfolios_->selectedItems().isEmpty())
        activePortfolios_ = false;
    QListWidget* active = activePortfolios_ ? portfolios_ : filters_;
    ok_->setEnabled(!active->selectedItems().isEmpty());
}

void CPortfolioChooser::Layout()
{
    const bool advanced = ChooserAdvanced();
    advanced_->setText(advanced ? QStringLiteral("<< Basic") : QStringLiteral("Advanced >>"));
    advanced_->setVisible(extended_);
    const bool presets = advanced && extended_ && mode_ != 1;
    presets_->setVisible(presets);
    const bool filters = advanced && extended_;
    filterTitle_->setVisible(filters);
    filters_->setVisible(filters);
    adjustSize();
}

void CPortfolioChooser::ToggleAdvanced()
{
    ChooserAdvanced() = !ChooserAdvanced();
    Refill();
}

void CPortfolioChooser::ChoosePreset(uint16_t number)
{
    Portfolio* p = FindPortfolioByNumber(number);
    if (!p || p->type != kPresetList)
        return;
    chosen_ = ChosenPortfolio() = p;
    QDialog::accept();
}

void CPortfolioChooser::DeleteOne()
{
    Portfolio* p = RunPortfolioChooser(1, false, this);
    if (p) {
        PrepareUndoStep(kUndoDelete, p, nullptr);
        const std::string question = StringPrintf("Are you sure you want to delete the portfolio %s?", p->name.c_str());
        if (ShowMessage(question, {}, MsgButtons::YesNo, MsgIcon::Question, 1) == MsgAnswer::Yes) {
            PushUndoStep(kUndoStepDeletePortfolio, p);
            DeletePortfolio(p);
            ChosenPortfolio() = nullptr;
            if (MainFrameTarget())
                PostProgramMessage(*MainFrameTarget(), WM_COMMAND, ID_REFRESH);
            PumpWaitingMessages();
        }
    }
    Refill();
}

bool CPortfolioChooser::AcceptPortfolio()
{
    bool any = false;
    const uint32_t value = SelectedValue(portfolios_, any);
    if (!any)
        return false;
    Portfolio* p = nullptr;
    if (value == kChooserNewGroup) {
        p = NewGroupPortfolio();
        if (!p)
            return false;
    } else if (value == kChooserNewPortfolio) {
        PrepareUndoStep(kUndoNew, nullptr, nullptr);
        p = NewPortfolio("");
        if (!p)
            return false;
        if (undoFlag_ == 1)
            PushUndoStep(kUndoStepNewPortfolio, p);
    } else {
        p = PortfolioAtPosition(value);
        if (!p)
            return false;
        if (undoFlag_ != 1)
            PrepareUndoStep(kUndoChange, p, nullptr);
    }
    if (p->type == kGroupPortfolio)
        p->changed = 1;
    chosen_ = ChosenPortfolio() = p;
    return true;
}

bool CPortfolioChooser::AcceptFilter()
{
    bool any = false;
    const uint32_t value = SelectedValue(filters_, any);
    if (!any)
        return false;
    if (value == kChooserNewFilter) {
        NewFilterRequested() = true;
        return true;
    }
    Portfolio* p = PrepareFilterPortfolio(ToCp1252(filters_->selectedItems().front()->text()));
    if (!p)
        return false;
    chosen_ = ChosenPortfolio() = p;
    return true;
}

void CPortfolioChooser::accept()
{
    NewFilterRequested() = false;
    const bool done = activePortfolios_ ? AcceptPortfolio() : AcceptFilter();
    if (done) {
        QDialog::accept();
        return;
    }
    // A new portfolio or filter portfolio not made ends the chooser as cancelled.
    bool any = false;
    SelectedValue(activePortfolios_ ? portfolios_ : filters_, any);
    if (any)
        QDialog::reject();
}

void CPortfolioChooser::reject()
{
    ShareList* list = CurrentShareList();
    if (list && (!list->source || !InChain(list->source))) {
        if (Portfolio* p = FirstUserPortfolio())
            SetShareListSource(list, p, 0, 0, true, true);
    }
    chosen_ = ChosenPortfolio() = nullptr;
    if (parentWidget())
        parentWidget()->update();
    QDialog::reject();
}

Portfolio* RunPortfolioChooser(int mode, bool showDelete, QWidget* parent, const Portfolio* current)
{
    CPortfolioChooser chooser(parent);
    chooser.SetPortfolioChooserMode(mode);
    if (current)
        chooser.SetCurrentPortfolio(current);
    chooser.SetShowDelete(showDelete);
    if (RunModalDialog(chooser) != QDialog::Accepted)
        return nullptr;
    return chooser.chosen();
}

} // namespace qv
