// The data-mining view: evaluation of the current filter into the table, the graph values, the graph
// area's commands and mouse.
#include "datamining/ui/ViewDataMining.h"

#include "core/ConfigState.h"
#include "core/RegistrySettings.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "datamining/CriteriaRange.h"
#include "datamining/CriterionValue.h"
#include "datamining/FilterEditing.h"
#include "datamining/FilterEvaluation.h"
#include "datamining/FilterText.h"
#include "datamining/FilterValues.h"
#include "datamining/ui/DMControl.h"
#include "datamining/ui/GraphSettingsDlgs.h"
#include "datamining/ui/RandomReturnsDlg.h"
#include "datamining/ui/SelectListDlgs.h"
#include "lists/ListPortfolioAdd.h"
#include "lists/ListPrinting.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "platform/qt/QtText.h"
#include "portfolio/PortfolioRoutines.h"
#include "resources/MessageIds.h"
#include "shell/LayoutSwitch.h"
#include "shell/SoftMenu.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/MenuGuard.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/SoftMenuQt.h"
#include "shell/ui/StatusBarEx.h"
#include "views/FrameState.h"
#include "views/ui/ViewClassRegistry.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace qv {
namespace {

enum Command : uint32_t {
    kSwapAxes = 26460,
    kYHistogram = 26461,
    kXHistogram = 26462,
    kScatter = 26463,
    kStatLines = 26474,
    kShowTable = 26502,
    kShowGraph = 26503,
    kFocusNext = 26133,
    kFocusPrevious = 26134,
    kExportFilter = 26772,
    kImportFilter = 26773,
    kSelectX = 26458,
    kSelectY = 26459,
    kSelectZ = 26471,
    kScatterSettings = 26465,
    kHistogramSettings = 26466,
    kStatLineSettings = 26473,
    kMonteCarlo = 26900,
};
// The list views' sector and new-high/low choices, which do not apply here.
constexpr uint32_t kGreyed[] = {26105, 25076, 25062, 25063};

bool IsGreyed(uint32_t command) { return std::find(std::begin(kGreyed), std::end(kGreyed), command) != std::end(kGreyed); }
// The view's commands the control panel runs, with the panel's own.
constexpr std::pair<uint32_t, uint32_t> kPanelCommands[] = {
    {26472, 1893}, {26594, 26478}, {26595, 1895}, {26596, 26477}};

uint32_t PanelCommandOf(uint32_t command)
{
    for (const auto& [view, panel] : kPanelCommands)
        if (view == command)
            return panel;
    return 0;
}

constexpr int kDividerGrip = 11;
constexpr size_t kTableShownByte = 4, kGraphShownByte = 5, kGraphRecordByte = 2;

uint8_t& OptionByte(size_t n) { return Config().dataMining.bytes[n]; }

// The selected range of an axis criterion as its strip shows it, within the data range.
AxisRange CriterionRange(const DMCriterion* c)
{
    if (!c)
        return {0, 1};
    const double lo = ShownLowerBound(*c), hi = ShownUpperBound(*c);
    return WidenedRange(std::min(lo, hi), std::max(lo, hi));
}

// A ".flt" file chosen in a dialog that starts in the export folder; empty when cancelled.
std::string ChooseFilterFile(bool save)
{
    std::error_code error;
    std::filesystem::create_directories(ExportFolder(), error); // a missing folder would open elsewhere
    QFileDialog dialog(QApplication::activeWindow(),
                       save ? QStringLiteral("Export the current filter") : QStringLiteral("Import a filter file"),
                       QString::fromStdString(ExportFolder().string()), QStringLiteral("Filter (*.flt)"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("flt"));
    // An export adds to an existing file: the dialog's own "replace" question would say otherwise.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, save);
    if (RunModalDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst().toStdString();
}

// An existing file keeps its filters and gets this one after them; the user is told so first.
bool ConfirmAppendTo(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return true;
    const std::string name = std::filesystem::path(path).filename().string();
    return ShowMessage(name + " already exists.\nThe filter will be added after the filters it holds.  Do you want to "
                              "add it?",
                       {}, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
}

bool ExportableFilter(const DMFilter* filter) { return filter && !filter->readOnly(); }

CStatusBarEx* StatusBar()
{
    auto* frame = dynamic_cast<CMainFrame*>(MainFrameTarget());
    return frame ? frame->statusBarEx() : nullptr;
}

} // namespace

CViewDataMining::CViewDataMining(int32_t kind, QWidget* parent) : CViewBase(kind), CViewList(kind, parent)
{
    setMouseTracking(true);
}

CViewDataMining::~CViewDataMining() { delete panel_; }

CDM_Control* CViewDataMining::panel() const { return panel_; }

std::string CViewDataMining::GetDataMiningFilterName() const { return filter_ ? filter_->name : std::string(); }

void CViewDataMining::OnFilterChanged()
{
    rangesSet_ = false;
    OnRefresh();
}

DataMiningGraph& CViewDataMining::CurrentRecord() const
{
    const size_t n = std::min<size_t>(OptionByte(kGraphRecordByte), kSettingSlots - 1);
    return Config().dataMiningGraphs.records[n];
}

void CViewDataMining::OnRefresh()
{
    if (DataMiningRunBusy) {
        PostProgramMessage(*this, WM_COMMAND, ID_REFRESH);
        return;
    }
    if (!list)
        AttachListSource(kFamilyShares, nullptr, -1);
    if (!list)
        return;
    DropListSource(list);
    qv::SelectColumnSetting(list, kind, -1, false, false);
    if (filter_ != CurrentFilter())
        rangesSet_ = false;
    const bool newFilter = filter_ != CurrentFilter();
    filter_ = CurrentFilter();
    Evaluate();
    if (newFilter || !panel_)
        ShowInPanel();
    else
        panel_->RefreshCriteriaRows();
    ComputeGraphValues();
    if (!rangesSet_)
        ResetRanges();
    CViewListBase::OnRefresh();
    update();
}

void CViewDataMining::Evaluate()
{
    EnsureFilterCandidates();
    if (!filter_) {
        list->word = 1;
        RefreshListRows(list, false, false);
    } else {
        LoadFilterSourceRows(list, filter_);
    }
    sourceRows_ = ShareListCount(list);
    ClampShareListCursors(list);
    for (const auto& f : FilterList())
        f->flags |= kFilterOutOfDate;
    if (filter_) {
        std::vector<uint32_t> positions(size_t(list->capacity) + 1, kNotACandidate);
        {
            const uint8_t busy = DataMiningRunBusy;
            DataMiningRunBusy = 1;
            MapRowsToCandidates(list->entries, FilterCandidates().rows, positions.data());
            UpdateFilterStatistics(list->entries, this, positions.data(), filter_);
            filter_->flags &= uint8_t(~kFilterOutOfDate);
            DataMiningRunBusy = busy;
        }
        const size_t rows = size_t(ShareListCount(list));
        sourceCopy_.assign(list->entries, list->entries + rows + 1);
        sourcePositions_.assign(positions.begin(), positions.begin() + ptrdiff_t(rows + 1));
        ApplyFilterCriteria(list, positions.data(), filter_->criteria);
    }
    ResortShareList(list);
}

void CViewDataMining::ShowInPanel()
{
    if (!panel_)
        panel_ = new CDM_Control(this);
    if (!docked_)
        docked_ = DockBesideView(panel_, this);
    panel_->SetSourceRows(sourceCopy_.empty() ? nullptr : sourceCopy_.data(),
                          sourcePositions_.empty() ? nullptr : sourcePositions_.data());
    panel_->SetFilter(filter_);
}

void CViewDataMining::ComputeGraphValues()
{
    const int rows = ShareListCount(list);
    values_.assign(size_t(rows), {});
    if (!filter_ || rows == 0)
        return;
    std::vector<uint32_t> positions(size_t(rows) + 1, kNotACandidate);
    MapRowsToCandidates(list->entries, FilterCandidates().rows, positions.data());
    const FilterAxis axes[] = {FilterAxis::X, FilterAxis::Y, FilterAxis::Z};
    for (FilterAxis axis : axes) {
        const DMCriterion* c = filter_->axisCriterion(axis);
        if (!c)
            continue;
        const PreparedCriterion prepared = PrepareCriterion(*c);
        for (int i = 0; i < rows; ++i) {
            float v = 0;
            const uint8_t has = GetCriterionValue(prepared, list->entries[i], positions[size_t(i)], v) ? 1 : 0;
            GraphRowValues& row = values_[size_t(i)];
            (axis == FilterAxis::X ? row.x : axis == FilterAxis::Y ? row.y : row.z) = v;
            (axis == FilterAxis::X ? row.hasX : axis == FilterAxis::Y ? row.hasY : row.hasZ) = has;
        }
    }
}

void CViewDataMining::ResetRanges()
{
    x_ = CriterionRange(filter_ ? filter_->axisCriterion(FilterAxis::X) : nullptr);
    y_ = CriterionRange(filter_ ? filter_->axisCriterion(FilterAxis::Y) : nullptr);
    rangesSet_ = filter_ != nullptr;
}

void CViewDataMining::ApplyAgain()
{
    OnRefresh();
}

int CViewDataMining::TableHeight() const
{
    const bool table = OptionByte(kTableShownByte) != 0, graph = OptionByte(kGraphShownByte) != 0;
    if (!table && !graph)
        return height() * split_ / 1000; // both off (a stored state): both show
    if (!graph)
        return height();
    if (!table)
        return 0;
    return height() * split_ / 1000;
}

QRect CViewDataMining::GraphArea() const
{
    const int top = TableHeight();
    return QRect(0, top, width(), height() - top);
}

GraphPaintInput CViewDataMining::GraphInput() const
{
    GraphPaintInput in;
    in.filter = filter_;
    in.settings = DataMiningGraphSettings::Read(CurrentRecord());
    in.rows = values_;
    in.sourceRows = sourceRows_;
    in.currentRow = list ? list->current : -1;
    in.x = x_;
    in.y = y_;
    in.focusMark = graphFocus_ && OptionByte(kTableShownByte) && OptionByte(kGraphShownByte);
    return in;
}

void CViewDataMining::PaintBelowTable(QPainter& painter, const QRect& area)
{
    // Both turned off: both come back.
    if (!OptionByte(kTableShownByte) && !OptionByte(kGraphShownByte))
        OptionByte(kTableShownByte) = OptionByte(kGraphShownByte) = 1;
    last_ = PaintDataMiningGraphs(painter, area, GraphInput());
    if (drag_ == Drag::Rectangle) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(QRect(pressAt_, dragAt_).normalized());
    } else if (drag_ == Drag::Divider) {
        painter.setPen(Qt::black);
        painter.drawLine(0, dragAt_.y(), width(), dragAt_.y());
    }
}

QImage CViewDataMining::RenderGraphs(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    last_ = PaintDataMiningGraphs(painter, QRect(QPoint(0, 0), size), GraphInput());
    return image;
}

double CViewDataMining::PrintScale(const QPaintDevice& device) const
{
    return PrintingScale(device.logicalDpiX(), logicalDpiX()) / 72.0;
}

// The page is drawn as the screen draws the graphs, scaled up to the device's resolution: marks, pens,
// labels and bins keep their size on paper, however fine the printer's dots.
void CViewDataMining::DrawOwnPrintPage(QPainter& painter, const QRect& page)
{
    const double scale = painter.device() ? PrintScale(*painter.device()) : 1.0;
    painter.save();
    painter.scale(scale, scale);
    const QRect area(int(page.left() / scale), int(page.top() / scale), int(page.width() / scale),
                     int(page.height() / scale));
    PaintDataMiningGraphs(painter, area, GraphInput());
    painter.restore();
}

intptr_t CViewDataMining::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case kMsgRowsRebuilt:
        if (filter_)
            filter_->flags |= kFilterOutOfDate;
        ApplyAgain();
        return 1;
    case kMsgRangeChanged:
    case kMsgCriteriaReordered:
    case kMsgAxisChanged:
    case kMsgCriteriaChanged:
    case kMsgFilterEdited: {
        if (wParam != 0 && panel_)
            panel_->RefreshCriteriaRows();
        DataMiningGraphSettings s = DataMiningGraphSettings::Read(CurrentRecord());
        if (filter_ && filter_->axisCriterion(FilterAxis::Z) && !s.scatter(kScatterColourByZ) &&
            !s.scatter(kScatterSizeByZ)) {
            s.scatterFlags |= kScatterSizeByZ;
            s.Write(CurrentRecord());
        }
        if (message == kMsgAxisChanged)
            rangesSet_ = false;
        ApplyAgain();
        return 1;
    }
    case WM_COMMAND:
        // The list views' new highs and lows would narrow the filter's source: not here.
        if (IsGreyed(uint32_t(wParam & 0xFFFF)))
            return 1;
        return CViewList::onProgramMessage(message, wParam, lParam);
    case kMsgRenameFilter:
        for (Portfolio* p = PortfolioChain(); p; p = p->next) {
            if (p->type != kFilterPreset || !filter_)
                continue;
            ClearPortfolio(p, false);
            p->name = filter_->name;
            p->changed = 1;
            break;
        }
        return 1;
    default: return CViewList::onProgramMessage(message, wParam, lParam);
    }
}

void CViewDataMining::ToggleHistogramBit(uint32_t bit)
{
    DataMiningGraphSettings s = DataMiningGraphSettings::Read(CurrentRecord());
    s.histogramFlags ^= bit;
    s.Write(CurrentRecord());
    update();
}

void CViewDataMining::ToggleScatterBit(uint32_t bit)
{
    DataMiningGraphSettings s = DataMiningGraphSettings::Read(CurrentRecord());
    s.scatterFlags ^= bit;
    s.Write(CurrentRecord());
    update();
}

bool CViewDataMining::UpdateCommand(CommandUi& ui)
{
    if (MainFrameState().activeView != this)
        return false;
    const DataMiningGraphSettings s = DataMiningGraphSettings::Read(CurrentRecord());
    const bool both = OptionByte(kTableShownByte) && OptionByte(kGraphShownByte);
    switch (ui.command) {
    case kSwapAxes:
        ui.enabled = filter_ && filter_->axisCriterion(FilterAxis::X) && filter_->axisCriterion(FilterAxis::Y);
        return true;
    case kXHistogram: ui.enabled = true; ui.checked = s.has(kHistXShown); return true;
    case kYHistogram: ui.enabled = true; ui.checked = s.has(kHistYShown); return true;
    case kScatter: ui.enabled = true; ui.checked = s.scatter(kScatterShown); return true;
    case kStatLines: ui.enabled = true; ui.checked = s.scatter(kStatLinesShown); return true;
    case kShowTable: ui.enabled = true; ui.checked = OptionByte(kTableShownByte) != 0; return true;
    case kShowGraph: ui.enabled = true; ui.checked = OptionByte(kGraphShownByte) != 0; return true;
    case kFocusNext:
    case kFocusPrevious: ui.enabled = both; return true;
    case kExportFilter: ui.enabled = ExportableFilter(CurrentFilter()); return true;
    case kImportFilter: ui.enabled = true; return true;
    case kSelectX:
    case kSelectY:
    case kSelectZ: ui.enabled = filter_ && !filter_->criteria.empty() && !filter_->readOnly(); return true;
    case kHistogramSettings: ui.enabled = HistogramSettingsAvailable(s); return true;
    case kScatterSettings:
    case kStatLineSettings:
    case kMonteCarlo: ui.enabled = true; return true;
    default: break;
    }
    if (IsGreyed(ui.command)) {
        ui.enabled = false;
        return true;
    }
    if (const uint32_t panelCommand = PanelCommandOf(ui.command)) {
        ui.enabled = panel_ && panel_->CommandEnabled(panelCommand);
        return true;
    }
    return CViewList::UpdateCommand(ui);
}

bool CViewDataMining::focusNextPrevChild(bool next)
{
    if (!OptionByte(kTableShownByte) || !OptionByte(kGraphShownByte))
        return CViewList::focusNextPrevChild(next);
    RunCommand(next ? kFocusNext : kFocusPrevious);
    return true;
}

bool CViewDataMining::UpdateCommandUi(CommandUi& ui) const
{
    if (!IsGreyed(ui.command))
        return CViewList::UpdateCommandUi(ui);
    ui.enabled = false;
    ui.checked = false;
    return true;
}

// Turning off the one part still shown brings both back, and the menu ticks say so.
void CViewDataMining::ToggleShown(size_t optionByte)
{
    OptionByte(optionByte) ^= 1;
    if (!OptionByte(kTableShownByte) && !OptionByte(kGraphShownByte))
        OptionByte(kTableShownByte) = OptionByte(kGraphShownByte) = 1;
    update();
}

bool CViewDataMining::RunCommand(uint32_t command)
{
    switch (command) {
    case kSwapAxes:
        if (!filter_ || !filter_->axisCriterion(FilterAxis::X) || !filter_->axisCriterion(FilterAxis::Y))
            return true;
        std::swap(filter_->axes[0], filter_->axes[1]);
        rangesSet_ = false;
        ComputeGraphValues();
        ResetRanges();
        if (panel_)
            panel_->RefreshCriteriaRows();
        PostToAllViews(kMsgAxisChanged, filter_, this);
        update();
        return true;
    case kXHistogram: ToggleHistogramBit(kHistXShown); return true;
    case kYHistogram: ToggleHistogramBit(kHistYShown); return true;
    case kScatter: ToggleScatterBit(kScatterShown); return true;
    case kStatLines: ToggleScatterBit(kStatLinesShown); return true;
    case kShowTable: ToggleShown(kTableShownByte); return true;
    case kShowGraph: ToggleShown(kGraphShownByte); return true;
    case kFocusNext:
    case kFocusPrevious:
        if (OptionByte(kTableShownByte) && OptionByte(kGraphShownByte)) {
            graphFocus_ = !graphFocus_;
            update();
        }
        return true;
    case kExportFilter: ExportCurrentFilter(); return true;
    case kImportFilter: ImportFilters(); return true;
    case kSelectX: SelectAxisCriterion(FilterAxis::X); return true;
    case kSelectY: SelectAxisCriterion(FilterAxis::Y); return true;
    case kSelectZ: SelectAxisCriterion(FilterAxis::Z); return true;
    case kHistogramSettings: {
        CHistogramDlg dialog(CurrentRecord(), this);
        if (RunModalDialog(dialog) == QDialog::Accepted)
            update();
        return true;
    }
    case kScatterSettings: {
        CScatterDlg dialog(CurrentRecord(), filter_ && filter_->axisCriterion(FilterAxis::Z), this);
        if (RunModalDialog(dialog) == QDialog::Accepted)
            update();
        return true;
    }
    case kStatLineSettings: {
        CStatLinesDlg dialog(CurrentRecord(), this);
        if (RunModalDialog(dialog) == QDialog::Accepted)
            update();
        return true;
    }
    case kMonteCarlo: {
        CRandomReturnsDlg dialog(this);
        RunModalDialog(dialog);
        return true;
    }
    default: break;
    }
    if (IsGreyed(command))
        return true;
    if (const uint32_t panelCommand = PanelCommandOf(command)) {
        if (panel_)
            panel_->RunCommand(panelCommand);
        return true;
    }
    return CViewList::RunCommand(command);
}

bool CViewDataMining::HistogramSettingsAvailable(const DataMiningGraphSettings& s) const
{
    if (!filter_)
        return false;
    return (s.has(kHistXShown) && filter_->axisCriterion(FilterAxis::X)) ||
           (s.has(kHistYShown) && filter_->axisCriterion(FilterAxis::Y));
}

// The criterion chooser for an axis; OK plots the chosen criterion there (or none) and resets both
// axis ranges to their criteria's selected ranges.
void CViewDataMining::SelectAxisCriterion(FilterAxis axis)
{
    if (!filter_ || filter_->criteria.empty() || filter_->readOnly())
        return;
    const auto mode = axis == FilterAxis::X   ? CSelectCriterionDlg::Mode::XAxis
                      : axis == FilterAxis::Y ? CSelectCriterionDlg::Mode::YAxis
                                              : CSelectCriterionDlg::Mode::ZAxis;
    CSelectCriterionDlg dialog(*filter_, mode, this);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    const int chosen = dialog.Chosen();
    filter_->axes[size_t(axis)] = chosen < 0 ? 0 : uint32_t(chosen) + 1;
    PostToAllViews(kMsgAxisChanged, filter_, this);
    onProgramMessage(kMsgAxisChanged, 1, 0);
}

void CViewDataMining::ExportCurrentFilter()
{
    if (!ExportableFilter(CurrentFilter()))
        return;
    const std::string path = ChooseFilterFile(true);
    if (path.empty() || !ConfirmAppendTo(path))
        return;
    if (!ExportFilterText(path, CurrentFilter()))
        ShowMessage(StringPrintf("The filter could not be written to %s.", path.c_str()), {}, MsgButtons::Ok,
                    MsgIcon::Exclamation);
}

void CViewDataMining::ImportFilters()
{
    const std::string path = ChooseFilterFile(false);
    if (path.empty())
        return;
    const int made = ImportFilterText(path);
    if (made == 0) {
        ShowMessage("Error: The file did not contain any valid filters.", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    ShowMessage(StringPrintf("%d filters were successfully imported.", made), {}, MsgButtons::Ok,
                MsgIcon::Information);
}

bool CViewDataMining::InGraphArea(QPoint point) const
{
    return OptionByte(kGraphShownByte) && point.y() >= TableHeight();
}

std::string CViewDataMining::ReadoutText(QPoint point) const
{
    if (last_.plot.isEmpty())
        return {};
    std::string text = StringPrintf("X %0.2f", last_.scale.valueX(point.x()));
    if (filter_ && filter_->axisCriterion(FilterAxis::Y))
        text += ",   " + StringPrintf("Y %0.2f", last_.scale.valueY(point.y()));
    return text;
}

void CViewDataMining::ShowReadout(QPoint point)
{
    CStatusBarEx* bar = StatusBar();
    const std::string text = ReadoutText(point);
    if (bar && !text.empty())
        bar->SetPaneText(2, QString::fromLatin1(text.c_str()));
}

std::string CViewDataMining::CurrentPortfolioText()
{
    const Portfolio* p = GetCurrentPortfolioView().portfolio;
    return p ? "Curr. Port: " + std::string(p->name.str()) : std::string();
}

// Off the graph the pane names the current portfolio again.
void CViewDataMining::ShowCurrentPortfolio()
{
    CStatusBarEx* bar = StatusBar();
    if (bar)
        bar->SetPaneText(2, FromCp1252(CurrentPortfolioText()));
}

void CViewDataMining::leaveEvent(QEvent* event)
{
    ShowCurrentPortfolio();
    CViewList::leaveEvent(event);
}

void CViewDataMining::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (DataMiningRunBusy)
        return;
    if (!InGraphArea(at) && !(OptionByte(kTableShownByte) && std::abs(at.y() - TableHeight()) < kDividerGrip)) {
        CViewList::mousePressEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const bool both = OptionByte(kTableShownByte) && OptionByte(kGraphShownByte);
    if (both && std::abs(at.y() - TableHeight()) < kDividerGrip) {
        drag_ = Drag::Divider;
        dragAt_ = at;
        update();
        return;
    }
    if (!filter_ || last_.plot.isEmpty())
        return;
    const QRect plot = last_.plot;
    QPoint start(std::clamp(at.x(), plot.left(), plot.right()), std::clamp(at.y(), plot.top(), plot.bottom()));
    if (!filter_->axisCriterion(FilterAxis::Y))
        start.setY(plot.top());
    if (!filter_->axisCriterion(FilterAxis::X))
        start.setX(plot.left());
    drag_ = Drag::Rectangle;
    pressAt_ = dragAt_ = start;
}

void CViewDataMining::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (drag_ == Drag::Divider) {
        dragAt_ = at;
        update();
        return;
    }
    if (drag_ == Drag::Rectangle) {
        const QRect plot = last_.plot;
        dragAt_ = QPoint(std::clamp(at.x(), plot.left(), plot.right()), std::clamp(at.y(), plot.top(), plot.bottom()));
        if (filter_ && !filter_->axisCriterion(FilterAxis::Y))
            dragAt_.setY(plot.bottom());
        if (filter_ && !filter_->axisCriterion(FilterAxis::X))
            dragAt_.setX(plot.right());
        update();
        return;
    }
    if (InGraphArea(at)) {
        ShowReadout(at);
        return;
    }
    ShowCurrentPortfolio();
    CViewList::mouseMoveEvent(event);
}

void CViewDataMining::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const Drag drag = drag_;
    drag_ = Drag::None;
    if (drag == Drag::Divider) {
        split_ = DividerSplit(at.y(), height());
        update();
        return;
    }
    if (drag != Drag::Rectangle) {
        CViewList::mouseReleaseEvent(event);
        return;
    }
    const QRect rectangle = QRect(pressAt_, dragAt_).normalized();
    const QPoint moved = at - pressAt_;
    if (RectangleZooms(dragAt_.x() - pressAt_.x(), dragAt_.y() - pressAt_.y()))
        Zoom(rectangle);
    else if (std::abs(moved.x()) < kPickMovementBelow && std::abs(moved.y()) < kPickMovementBelow)
        Pick(at);
    update();
}

void CViewDataMining::Zoom(const QRect& r)
{
    const PlotScale& s = last_.scale;
    if (filter_->axisCriterion(FilterAxis::X) && AxisZooms(x_)) {
        const double a = s.valueX(r.left()), b = s.valueX(r.left() + r.width());
        x_ = {std::min(a, b), std::max(a, b)};
    }
    if (filter_->axisCriterion(FilterAxis::Y) && AxisZooms(y_)) {
        const double a = s.valueY(r.top()), b = s.valueY(r.top() + r.height());
        y_ = {std::min(a, b), std::max(a, b)};
    }
}

void CViewDataMining::Pick(QPoint point)
{
    if (!filter_->axisCriterion(FilterAxis::X) || !filter_->axisCriterion(FilterAxis::Y))
        return;
    const int row = PickNearestMark(last_.marks, last_.drawn, point.x(), point.y());
    if (row < 0 || !list)
        return;
    const RecordCursor& entry = list->entries[row];
    SetShareListPosition(list, EntryRecordId(entry), entry.count, true);
    InvalidateLinkedViews(true, false);
}

void CViewDataMining::contextMenuEvent(QContextMenuEvent* event)
{
    if (!InGraphArea(event->pos())) {
        CViewList::contextMenuEvent(event);
        return;
    }
    const SoftMenu menu = LoadSoftMenu(391, true, 0xFF);
    if (menu.entries.empty())
        return;
    QMenu* popup = CreateSoftQMenu(QString(), menu.entries.front().items, this);
    RunChosenCommandsLater(*popup, this, [this](uint32_t command) {
        if (!RunCommand(command))
            RouteCommand(command);
    });
    popup->exec(event->globalPos());
    popup->deleteLater();
}

void RegisterDataMiningView()
{
    SetFilterListDialog([](const FilterListRequest& request, DMFilter*& chosen) {
        CSelectFilterDlg dialog(request.preselected, request.writableOnly, request.offerNew,
                                QApplication::activeWindow());
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return false;
        chosen = dialog.Chosen();
        return true;
    });
    RegisterViewClass(6, [](int32_t kind) -> CViewBaseWnd* { return new CViewDataMining(kind); });
}

} // namespace qv
