// The options sheet: its pages in the table's order, the remembered page and the OK that checks every
// page before any writes back.
#include "tools/options/ui/OptionsSheet.h"

#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/VexaEdition.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "tools/options/OptionSettings.h"
#include "tools/options/ui/OptionPages.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr uint32_t kSheetTopic = 514;
// What the sheet leaves of the screen's width for the window frame and its margins.
constexpr int kScreenMargin = 40;

bool RealTimeOn() { return Config().optionsA.data()[OptionBlockA::kRealTimeOption] != 0; }

COptionPage* MakePage(OptionPage page, bool realTime, bool forPortfolioView, QWidget* parent)
{
    switch (page) {
    case OptionPage::List: return new COptionList(realTime, parent);
    case OptionPage::Graph: return new COptionGraph(realTime, parent);
    case OptionPage::News: return new COptionNews(parent);
    case OptionPage::Portfolio: return new COptionPort(forPortfolioView, parent);
    case OptionPage::PresetPortfolios: return new COptionPresetPorts(parent);
    case OptionPage::Export: return new COptionExport(parent);
    case OptionPage::Import: return new COptionImport(parent);
    case OptionPage::Vexa: return new COptionVexa(parent);
    case OptionPage::Currency: return new COptionCurrency(parent);
    case OptionPage::Comms: return new COptionComms(parent);
    case OptionPage::General: return new COptionGeneral(parent);
    case OptionPage::Clipboard: return new COptionClipboard(parent);
    case OptionPage::RTHist: return new COptionRTHist(parent);
    case OptionPage::RTAlarms: return new COptionRTAlarms(parent);
    case OptionPage::RTComms: return new COptionRTComms(parent);
    case OptionPage::ExchTimes: return new COptionExchTimes(parent);
    default: return nullptr;
    }
}

} // namespace

COptions::COptions(uint16_t pageMask, QWidget* parent, bool forPortfolioView) : QDialog(parent)
{
    setObjectName(QStringLiteral("514"));
    setWindowTitle(QStringLiteral("Quorvantis options"));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    const bool realTime = RealTimeOn();
    for (OptionPage which : OptionPagesFor(pageMask, realTime, (EditionOptionByte() & kEditionSetUp) != 0)) {
        COptionPage* page = MakePage(which, realTime, forPortfolioView, tabs_);
        if (!page)
            continue;
        pages_.push_back(page);
        tabs_->addTab(page, QString::fromLatin1(OptionPageOf(which).tab));
    }
    tabs_->setCurrentIndex(OpeningPageIndex(int(pages_.size()), RememberedOptionsPage()));
    shown_ = tabs_->currentIndex();
    // A page is checked as the user leaves it, as on OK: a refusal keeps the user on it.
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int next) {
        if (next == shown_)
            return;
        if (shown_ >= 0 && shown_ < int(pages_.size()) && !pages_[size_t(shown_)]->Validate()) {
            tabs_->setCurrentIndex(shown_);
            return;
        }
        shown_ = next;
    });
    // Wide enough for every tab of the whole sheet, so that none hides behind the scroll arrows, as
    // far as the screen allows.
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const int widest = shown ? shown->availableGeometry().width() - kScreenMargin : 1100;
    tabs_->setMinimumWidth(std::min(tabs_->tabBar()->sizeHint().width() + 8, widest));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(OkCancelHelpButtons(*this, kSheetTopic));
}

std::vector<OptionPage> COptions::pages() const
{
    std::vector<OptionPage> out;
    for (const COptionPage* p : pages_)
        out.push_back(p->page());
    return out;
}

COptionPage* COptions::page(OptionPage which) const
{
    for (COptionPage* p : pages_)
        if (p->page() == which)
            return p;
    return nullptr;
}

int COptions::DoModal() { return pages_.empty() ? QDialog::Rejected : RunModalDialog(*this); }

void COptions::accept()
{
    // Every page is checked before any is written, so a refusal leaves every setting as it was.
    for (COptionPage* p : pages_) {
        if (!p->Validate()) {
            tabs_->setCurrentWidget(p);
            return;
        }
    }
    for (COptionPage* p : pages_)
        p->Commit();
    QDialog::accept();
}

void COptions::done(int result)
{
    RememberedOptionsPage() = RememberedPageAfter(int(pages_.size()), tabs_->currentIndex(), RememberedOptionsPage());
    QDialog::done(result);
}

bool RunOptionsSheet(uint16_t pageMask)
{
    COptions sheet(pageMask, QApplication::activeWindow());
    return sheet.DoModal() == QDialog::Accepted;
}

void InstallOptionsSheet()
{
    FrameDialogs().optionsSheet = RunOptionsSheet;
    FrameDialogs().portfolioViewOptionsSheet = [](uint16_t pageMask) {
        COptions sheet(pageMask, QApplication::activeWindow(), true);
        return sheet.DoModal() == QDialog::Accepted;
    };
}

} // namespace qv
