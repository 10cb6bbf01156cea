// User toolbars on the main frame.
#include "shell/ui/ToolbarHost.h"

#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "shell/SoftMenu.h"
#include "shell/ToolbarFile.h"
#include "shell/UserToolbarSteps.h"
#include "shell/UserToolbars.h"
#include "shell/ui/AcceleratorsDlg.h"
#include "shell/ui/CustomToolBar.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/MenuGuard.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/SetTargetPortfolio.h"
#include "shell/ui/SoftMenuQt.h"
#include "shell/ui/ToolbarColour.h"
#include "shell/ui/ToolbarDesign.h"
#include "shell/ui/ToolbarImages.h"
#include "views/FrameState.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QResizeEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr uint32_t kCustomise = 26270;
constexpr uint32_t kLargeButtons = 26271;
constexpr uint32_t kWideButtons = 26272;
constexpr uint32_t kSmallButtons = 26273;
constexpr uint32_t kDefaultToolbars = 26672;
constexpr uint32_t kBackground = 26408;
constexpr uint32_t kKeys = 26409;
constexpr uint32_t kShowToolbars = 59392;
constexpr uint32_t kNewToolbar = 26754;
constexpr uint32_t kDeleteToolbar = 26753;
constexpr uint32_t kToolbarMenu = 389;
constexpr int kUpdateInterval = 300;
constexpr int kResizeSettle = 150;

CToolbarHost* instance = nullptr;

Qt::ToolBarArea AreaOf(int side)
{
    switch (side) {
    case kSideLeft: return Qt::LeftToolBarArea;
    case kSideRight: return Qt::RightToolBarArea;
    case kSideBottom: return Qt::BottomToolBarArea;
    default: return Qt::TopToolBarArea;
    }
}

int SideOf(Qt::ToolBarArea area)
{
    switch (area) {
    case Qt::LeftToolBarArea: return kSideLeft;
    case Qt::RightToolBarArea: return kSideRight;
    case Qt::BottomToolBarArea: return kSideBottom;
    default: return kSideTop;
    }
}

} // namespace

CToolbarHost::CToolbarHost(QMainWindow& frame)
    : QObject(&frame), frame_(frame), timer_(new QTimer(this)), resized_(new QTimer(this))
{
    resized_->setSingleShot(true);
    resized_->setInterval(kResizeSettle);
    connect(resized_, &QTimer::timeout, this, [this] {
        if (!docked_.empty())
            Layout(true);
    });
    frame_.installEventFilter(this);
    instance = this;
    AddCommandTarget(this);
    CToolbarButtons::SetContextMenuHandler(
        [](CToolbarButtons& bar, int button, const QPoint& at) {
            if (instance)
                instance->ShowContextMenu(bar, button, at);
        });
    connect(timer_, &QTimer::timeout, this, [this] { RefreshButtons(); });
    timer_->start(kUpdateInterval);
}

CToolbarHost::~CToolbarHost()
{
    RemoveCommandTarget(this);
    CToolbarButtons::SetContextMenuHandler(nullptr);
    if (instance == this)
        instance = nullptr;
}

CToolbarHost* CToolbarHost::Instance() { return instance; }

bool CToolbarHost::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &frame_ && event->type() == QEvent::Resize) {
        auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->size() != resize->oldSize())
            resized_->start();
    }
    return QObject::eventFilter(watched, event);
}

bool CToolbarHost::Locked() { return ProgramToolbars().busy; }

void CToolbarHost::ClearBars()
{
    for (CCustomToolBar* bar : docked_) {
        frame_.removeToolBar(bar);
        bar->deleteLater();
    }
    docked_.clear();
    for (const QPointer<QWidget>& window : floating_)
        if (window) {
            if (auto* buttons = window->findChild<CToolbarButtons*>()) {
                size_t index = buttons->toolbarIndex();
                if (index < ProgramToolbars().Count())
                    floatingPlaces_[ProgramToolbars().toolbars[index].get()] = window->pos();
            }
            window->deleteLater();
        }
    floating_.clear();
    for (auto& t : ProgramToolbars().toolbars) {
        t->barShown = false;
        t->barChained = false;
    }
}

void CToolbarHost::Layout(bool force)
{
    ToolbarSet& set = ProgramToolbars();
    if (!set.shown) {
        // Hidden toolbars: the docked bars go, floating ones stay.
        for (CCustomToolBar* bar : docked_) {
            frame_.removeToolBar(bar);
            bar->deleteLater();
            if (bar->buttons()->toolbarIndex() < set.Count())
                set.toolbars[bar->buttons()->toolbarIndex()]->barShown = false;
        }
        docked_.clear();
        return;
    }
    if (!force && !set.ToolbarsNeedLayout(viewKind_))
        return;
    QRect client = frame_.rect();
    int menuHeight = frame_.menuBar() ? frame_.menuBar()->sizeHint().height() : 0;
    int statusHeight = frame_.statusBar() ? frame_.statusBar()->sizeHint().height() : 0;
    std::optional<ToolbarLayoutPlan> plan =
        set.LayoutToolbars(kAllSides, viewKind_, client.width(), client.height() - menuHeight - statusHeight);
    ClearBars();
    if (!plan)
        return;
    // Names and colours may have changed since the strips were drawn.
    if (force)
        MarkToolbarImagesStale();
    RefreshToolbarImages();
    for (int side : {int(kSideTop), int(kSideBottom), int(kSideLeft), int(kSideRight)}) {
        int row = 0;
        for (const BarPlacement& place : plan->bars[size_t(side)]) {
            CUserToolbar& t = *set.toolbars[place.toolbar];
            if (place.row != row && !docked_.empty())
                frame_.addToolBarBreak(AreaOf(side));
            row = place.row;
            auto* bar = new CCustomToolBar(FromCp1252(t.name), &frame_);
            bar->buttons()->SetOrientation(side == kSideTop || side == kSideBottom, false);
            bar->buttons()->SetButtons(t, place.toolbar, place.first, place.count);
            bar->buttons()->UpdateButtons();
            frame_.addToolBar(AreaOf(side), bar);
            connect(bar, &QToolBar::orientationChanged, this, [this] { FollowMovedBars(); });
            bar->show();
            t.barChained = t.barShown;
            t.barShown = true;
            docked_.push_back(bar);
        }
    }
    for (const BarPlacement& place : plan->bars[kSideFloating]) {
        CUserToolbar& t = *set.toolbars[place.toolbar];
        auto* window = new QWidget(&frame_, Qt::Tool);
        window->setWindowTitle(FromCp1252(t.name));
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* buttons = new CToolbarButtons(window);
        buttons->SetOrientation(true, true);
        buttons->SetButtons(t, place.toolbar, place.first, place.count);
        buttons->UpdateButtons();
        layout->addWidget(buttons);
        auto last = floatingPlaces_.find(&t);
        window->move(last != floatingPlaces_.end() ? last->second
                                                   : frame_.mapToGlobal(QPoint(frame_.width() / 4, frame_.height() / 2)));
        window->resize(buttons->sizeHint());
        window->show();
        t.barShown = true;
        floating_.push_back(window);
    }
}

void CToolbarHost::ReloadToolbars()
{
    ClearBars();
    ProgramToolbars().ClearToolbars();
    LoadToolbarConfig(true);
    ProgramToolbars().DropUnavailableButtons();
    Layout(true);
}

void CToolbarHost::ShowForKind(int32_t viewKind)
{
    bool changed = viewKind != viewKind_;
    viewKind_ = viewKind;
    // The wide Setting buttons name the settings of the active view's kind.
    if (changed)
        MarkToolbarImagesStale();
    Layout(!changed && docked_.empty() && floating_.empty());
}

std::vector<CToolbarButtons*> CToolbarHost::Bars() const
{
    std::vector<CToolbarButtons*> bars;
    for (CCustomToolBar* bar : docked_)
        bars.push_back(bar->buttons());
    for (const QPointer<QWidget>& window : floating_)
        if (window)
            if (auto* buttons = window->findChild<CToolbarButtons*>())
                bars.push_back(buttons);
    return bars;
}

std::vector<QWidget*> CToolbarHost::FloatingWindows() const
{
    std::vector<QWidget*> windows;
    for (const QPointer<QWidget>& window : floating_)
        if (window)
            windows.push_back(window);
    return windows;
}

void CToolbarHost::FollowMovedBars()
{
    ToolbarSet& set = ProgramToolbars();
    bool moved = false;
    for (CCustomToolBar* bar : docked_) {
        size_t index = bar->buttons()->toolbarIndex();
        if (index >= set.Count() || bar->buttons()->firstButton() != 0)
            continue;
        uint8_t side = uint8_t(SideOf(frame_.toolBarArea(bar)));
        if (set.toolbars[index]->dock != side) {
            set.toolbars[index]->dock = side;
            moved = true;
        }
    }
    if (moved)
        QTimer::singleShot(0, this, [this] { Layout(true); });
}

void CToolbarHost::RefreshButtons()
{
    FollowMovedBars();
    bool rebuilt = RefreshToolbarImages();
    for (CToolbarButtons* bar : Bars()) {
        bar->UpdateButtons();
        if (rebuilt)
            bar->update();
    }
}

void CToolbarHost::ShowContextMenu(CToolbarButtons& bar, int button, const QPoint& globalPos)
{
    ToolbarSet& set = ProgramToolbars();
    if (bar.toolbarIndex() < set.Count())
        set.current = uint16_t(bar.toolbarIndex());
    menuButtonCode_ = button >= 0 ? bar.buttons()[size_t(button)].code : -1;
    menuButtonEntry_ = button >= 0 ? bar.firstButton() + button : -1;
    QMenu* menu = BuildContextMenu(bar, button);
    if (!menu)
        return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    RunChosenCommandsLater(*menu, this, [this](uint32_t command) {
        if (auto* frame = dynamic_cast<CMainFrame*>(&frame_))
            frame->OnCommand(command);
    });
    menu->popup(globalPos);
}

QMenu* CToolbarHost::BuildContextMenu(CToolbarButtons& bar, int button)
{
    uint16_t code = button >= 0 ? bar.buttons()[size_t(button)].code : kEndOfButtons;
    SoftMenu built = LoadSoftMenu(kToolbarMenu, true, 0);
    if (built.entries.empty())
        return nullptr;
    QMenu* menu = CreateSoftQMenu(built.entries.front(), &frame_);
    for (QAction* action : menu->actions())
        if (!ToolbarMenuKeeps(action->data().toUInt(), code))
            menu->removeAction(action);
    // A separator left at the top goes with the items it followed.
    if (!menu->actions().isEmpty() && menu->actions().front()->isSeparator())
        menu->removeAction(menu->actions().front());
    return menu;
}

bool CToolbarHost::UpdateCommand(CommandUi& ui)
{
    ToolbarSet& set = ProgramToolbars();
    const CUserToolbar* current = set.Current();
    switch (ui.command) {
    case kLargeButtons:
    case kWideButtons:
    case kSmallButtons: {
        uint8_t size = ui.command == kLargeButtons ? kButtonsLarge : ui.command == kWideButtons ? kButtonsWide : kButtonsSmall;
        ui.enabled = current != nullptr;
        ui.checked = current && current->size == size;
        return true;
    }
    case kShowToolbars:
        ui.enabled = true;
        ui.checked = set.shown;
        return true;
    case kDeleteToolbar: ui.enabled = set.Count() > 1; return true;
    case kTargetPortfolioCommand: ui.enabled = true; return true;
    case kCustomise:
    case kDefaultToolbars:
    case kBackground:
    case kKeys:
    case kNewToolbar: ui.enabled = true; return true;
    default: return false;
    }
}

bool CToolbarHost::RunCommand(uint32_t command)
{
    switch (command) {
    case kCustomise: RunDesigner(); return true;
    case kLargeButtons: SetButtonSize(kButtonsLarge); return true;
    case kWideButtons: SetButtonSize(kButtonsWide); return true;
    case kSmallButtons: SetButtonSize(kButtonsSmall); return true;
    case kDefaultToolbars: DefaultToolbars(); return true;
    case kBackground: ChooseColour(); return true;
    case kKeys: EditKeys(); return true;
    case kShowToolbars:
        ProgramToolbars().ToggleToolbars();
        Layout(true);
        return true;
    case kNewToolbar: NewToolbar(); return true;
    case kDeleteToolbar: DeleteToolbar(); return true;
    case kTargetPortfolioCommand: SetTargetPortfolio(); return true;
    default: return false;
    }
}

void CToolbarHost::SetButtonSize(uint8_t size)
{
    if (CUserToolbar* t = ProgramToolbars().Current()) {
        t->size = size;
        Layout(true);
    }
}

void CToolbarHost::RunDesigner()
{
    CToolbarDesign dialog(ProgramToolbars(), viewKind_, &frame_);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    dialog.Apply(ProgramToolbars());
    MarkToolbarImagesStale();
    Layout(true);
}

void CToolbarHost::NewToolbar()
{
    ToolbarSet& set = ProgramToolbars();
    set.AddToolbar(viewKind_ > 0 ? viewKind_ : -1);
    CToolbarDesign dialog(set, viewKind_, &frame_);
    if (RunModalDialog(dialog) == QDialog::Accepted) {
        dialog.Apply(set);
    } else {
        set.toolbars.pop_back();
        set.current = 0;
    }
    Layout(true);
}

void CToolbarHost::DeleteToolbar()
{
    ToolbarSet& set = ProgramToolbars();
    const CUserToolbar* t = set.Current();
    if (!t || set.Count() < 2)
        return;
    std::string question = "Are you sure you want to delete the toolbar " + t->name + "?";
    if (ShowMessage(question, {}, MsgButtons::YesNo, MsgIcon::Question, 2) != MsgAnswer::Yes)
        return;
    set.DeleteCurrentToolbar();
    Layout(true);
}

void CToolbarHost::DefaultToolbars()
{
    if (ShowMessage("Are you sure you want to set the default toolbars?", {}, MsgButtons::YesNo, MsgIcon::Question) !=
        MsgAnswer::Yes)
        return;
    ProgramToolbars().SetDefaultToolbars(-1);
    MarkToolbarImagesStale();
    Layout(true);
}

void CToolbarHost::ChooseColour()
{
    CToolbarColour dialog(ProgramToolbars().background, &frame_);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    StoreToolbarBackground(dialog.colour());
    MarkToolbarImagesStale();
    RefreshButtons();
}

void CToolbarHost::EditKeys()
{
    CAcceleratorsDlg dialog(&frame_);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    dialog.Apply();
    if (auto* frame = dynamic_cast<CMainFrame*>(&frame_))
        frame->ReloadMainMenu();
}

void CToolbarHost::SetTargetPortfolio()
{
    ToolbarSet& set = ProgramToolbars();
    CUserToolbar* t = set.Current();
    if (!t || menuButtonEntry_ < 0 || !IsPortfolioCode(uint16_t(menuButtonCode_)))
        return;
    ToolbarEntry& entry = t->entries[size_t(menuButtonEntry_)];
    CSetTargetPortfolio dialog(entry.portfolio, &frame_);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    entry.portfolio = uint16_t(dialog.portfolio());
    set.portfolioTargets[size_t(menuButtonCode_ - kFirstPortfolioCode)] = entry.portfolio;
    MarkToolbarImagesStale();
    Layout(true);
}

} // namespace qv
