// The data-mining control panel: its controls, its rows, its commands and its messages.
#include "datamining/ui/DMControl.h"

#include "core/Portfolio.h"
#include "core/StringPrintf.h"
#include "datamining/CriteriaRange.h"
#include "datamining/CriterionValue.h"
#include "datamining/FilterEditing.h"
#include "datamining/FilterEvaluation.h"
#include "datamining/FilterProgress.h"
#include "datamining/FilterValues.h"
#include "datamining/ui/AddCriteriaDlg.h"
#include "datamining/ui/DMCriteriaDialog.h"
#include "lists/ui/EditNoteDlg.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/FrameDialogSeams.h"
#include "shell/SoftMenu.h"
#include "shell/ui/FilterNameDlg.h"
#include "shell/ui/MenuGuard.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/SoftMenuQt.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"

#include <QAction>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <algorithm>

namespace qv {
namespace {

enum PanelCommand : uint32_t {
    kAddCriteria = 1893,
    kClearCriteria = 1894,
    kSelectFilter = 1895,
    kEditNote = 2005,
    kRenameFilter = 26477,
    kDeleteFilter = 26478,
    kCopyFilter = 26691,
    kDefaultFilters = 26740,
    kExportFilter = 26772,
    kImportFilter = 26773,
    kUserPortfolioSource = 26801,
    kCopyAllCriteria = 26802,
};
enum RowCommand : uint32_t {
    kEditCriterion = 26457,
    kDeleteCriterion = 1936,
    kModeButton = 1943,
    kInvert = 1944,
    kFullFiltering = 26768,
    kPartialFiltering = 26769,
    kDisableCriterion = 26770,
    kCopyCriterion = 26692,
    kMoveUp = 26693,
    kMoveDown = 26694,
    kAxisX = 1909,
    kAxisY = 1919,
    kAxisZ = 1910,
};
enum SourceButton { kSharesButton = 1999, kOtherButton = 2000, kFtseButton = 2001 };

FilterListDialog& ListDialog()
{
    static FilterListDialog dialog;
    return dialog;
}

bool IsRowCommand(uint32_t command)
{
    switch (command) {
    case kEditCriterion:
    case kDeleteCriterion:
    case kModeButton:
    case kInvert:
    case kFullFiltering:
    case kPartialFiltering:
    case kDisableCriterion:
    case kCopyCriterion:
    case kMoveUp:
    case kMoveDown:
    case kAxisX:
    case kAxisY:
    case kAxisZ: return true;
    default: return false;
    }
}

bool AskYesNo(const std::string& text)
{
    return ShowMessage(text, {}, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
}

bool HasUserPortfolios()
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio)
            return true;
    return false;
}

Portfolio* PortfolioNumbered(uint16_t number)
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->number == number)
            return p;
    return nullptr;
}

QFont ArialBold(int pixels)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

// The thin bar between the docked panel and the view: dragging it sets the panel's width.
class CPanelGrip : public QWidget {
public:
    CPanelGrip(QWidget* panel, QWidget* parent) : QWidget(parent), panel_(panel)
    {
        setFixedWidth(5);
        setCursor(Qt::SplitHCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { startX_ = event->globalPosition().toPoint().x(); }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!panel_ || !(event->buttons() & Qt::LeftButton))
            return;
        const int x = event->globalPosition().toPoint().x();
        panel_->setFixedWidth(std::clamp(panel_->width() + x - startX_, 200, 700));
        startX_ = x;
    }

private:
    QPointer<QWidget> panel_;
    int startX_ = 0;
};

} // namespace

void SetFilterListDialog(FilterListDialog dialog) { ListDialog() = std::move(dialog); }
bool FilterListDialogInstalled() { return static_cast<bool>(ListDialog()); }

CDM_Control::CDM_Control(CViewBase* view, QWidget* parent) : QWidget(parent), view_(view)
{
    setObjectName(QStringLiteral("577"));
    setAutoFillBackground(true);
    Build();
    setFixedWidth(kDefaultWidth);
}

CDM_Control::~CDM_Control() = default;

void CDM_Control::Build()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("1907"));
    title_->setFont(ArialBold(14));
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("1896"));
    note_->setWordWrap(true);
    layout->addWidget(title_);
    layout->addWidget(note_);

    auto* buttons = new QHBoxLayout;
    add_ = new QPushButton(QStringLiteral("Add Criteria"), this);
    add_->setObjectName(QStringLiteral("1893"));
    select_ = new QPushButton(QStringLiteral("Select Filter"), this);
    select_->setObjectName(QStringLiteral("1895"));
    buttons->addWidget(add_);
    buttons->addWidget(select_);
    layout->addLayout(buttons);
    connect(add_, &QPushButton::clicked, this, [this] { RunCommand(kAddCriteria); });
    connect(select_, &QPushButton::clicked, this, [this] { RunCommand(kSelectFilter); });

    auto* source = new QGroupBox(QStringLiteral(" Source "), this);
    auto* sg = new QGridLayout(source);
    sources_ = new QButtonGroup(this);
    const std::pair<int, const char*> radios[] = {
        {kSharesButton, "Shares"}, {kFtseButton, "FTSE 100"}, {kOtherButton, "Other:"}};
    int column = 0;
    for (const auto& [id, text] : radios) {
        auto* r = new QRadioButton(QString::fromLatin1(text), source);
        r->setObjectName(QString::number(id));
        sources_->addButton(r, id);
        sg->addWidget(r, id == kOtherButton ? 1 : 0, id == kOtherButton ? 0 : column++);
    }
    listKinds_ = new QComboBox(source);
    listKinds_->setObjectName(QStringLiteral("2008"));
    listKinds_->addItem(QStringLiteral("<<User portfolio>>"));
    for (const SourceListKind& k : kSourceListKinds)
        listKinds_->addItem(QString::fromLatin1(k.name));
    sg->addWidget(listKinds_, 1, 1);
    layout->addWidget(source);
    connect(sources_, &QButtonGroup::idClicked, this, [this](int id) { ChooseSourceButton(id); });
    connect(listKinds_, &QComboBox::activated, this, [this](int index) { ChooseListKind(index); });

    rowsPanel_ = new QWidget(this);
    auto* rowsBox = new QHBoxLayout(rowsPanel_);
    rowsBox->setContentsMargins(0, 0, 0, 0);
    area_ = new QWidget(rowsPanel_);
    area_->setObjectName(QStringLiteral("1908"));
    area_->installEventFilter(this);
    scroll_ = new QScrollBar(Qt::Vertical, rowsPanel_);
    scroll_->setObjectName(QStringLiteral("1892"));
    scroll_->setSingleStep(1);
    rowsBox->addWidget(area_, 1);
    rowsBox->addWidget(scroll_);
    layout->addWidget(rowsPanel_, 1);
    connect(scroll_, &QScrollBar::valueChanged, this, [this] { RefreshCriteriaRows(); });

    blackbox_ = new QGroupBox(QStringLiteral(" Blackbox filter "), this);
    blackbox_->setObjectName(QStringLiteral("4065"));
    auto* bl = new QVBoxLayout(blackbox_);
    auto* text = new QLabel(QString::fromLatin1(kBlackboxText), blackbox_);
    text->setObjectName(QStringLiteral("1897"));
    text->setWordWrap(true);
    bl->addWidget(text);
    bl->addStretch(1);
    layout->addWidget(blackbox_, 1);
    blackbox_->hide();
}

void CDM_Control::SetFilter(DMFilter* filter)
{
    filter_ = filter;
    const QSignalBlocker block(scroll_);
    scroll_->setValue(0);
    RefreshCriteriaRows();
}

void CDM_Control::SetSourceRows(const RecordCursor* rows, const uint32_t* positions)
{
    sourceRows_ = rows;
    sourcePositions_ = positions;
}

int CDM_Control::visibleRows() const { return std::max((area_->height() + 1) / CDM_CriteriaDialog::kRowHeight, 0); }

void CDM_Control::LayRows()
{
    const int wanted = std::max(visibleRows(), 1);
    while (int(rows_.size()) < wanted) {
        auto* row = new CDM_CriteriaDialog(*this, area_);
        rows_.push_back(row);
    }
    for (size_t i = 0; i < rows_.size(); ++i)
        rows_[i]->setGeometry(0, int(i) * CDM_CriteriaDialog::kRowHeight, area_->width(), CDM_CriteriaDialog::kRowHeight);
}

void CDM_Control::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RefreshCriteriaRows();
}

bool CDM_Control::eventFilter(QObject* watched, QEvent* event)
{
    // The row area is laid out after the panel: the rows that fit are known only then.
    if (watched == area_ && event->type() == QEvent::Resize)
        RefreshCriteriaRows();
    return QWidget::eventFilter(watched, event);
}

bool CDM_Control::SourceRowsFor(const RecordCursor*& rows, const uint32_t*& positions) const
{
    rows = sourceRows_;
    positions = sourcePositions_;
    if (rows)
        return true;
    EnsureFilterCandidates();
    if (FilterCandidates().rows.empty())
        return false;
    rows = FilterCandidates().rows.data();
    positions = nullptr;
    return true;
}

void CDM_Control::RefreshCriteriaRows()
{
    // Showing rows can resize the row area, which asks for the rows again: that request is kept.
    if (showing_) {
        showAgain_ = true;
        return;
    }
    showing_ = true;
    do {
        showAgain_ = false;
        ShowRows();
    } while (showAgain_);
    showing_ = false;
}

void CDM_Control::ShowRows()
{
    title_->setText(QString::fromLatin1(FilterPanelTitle(filter_).c_str()));
    note_->setText(filter_ ? QString::fromLatin1(filter_->note.c_str()) : QString());
    ShowSource();
    const bool readOnly = filter_ && filter_->readOnly();
    rowsPanel_->setVisible(!readOnly);
    blackbox_->setVisible(readOnly);
    add_->setEnabled(CommandEnabled(kAddCriteria));
    select_->setEnabled(CommandEnabled(kSelectFilter));
    if (filter_ && (filter_->flags & kFilterOutOfDate) && view_) {
        const RecordCursor* rows = nullptr;
        const uint32_t* positions = nullptr;
        if (SourceRowsFor(rows, positions)) {
            UpdateFilterStatistics(rows, view_, positions, filter_);
            filter_->flags &= uint8_t(~kFilterOutOfDate);
        }
    }
    LayRows();
    const int count = filter_ && !readOnly ? int(filter_->criteria.size()) : 0;
    {
        const QSignalBlocker block(scroll_);
        scroll_->setRange(0, std::max(count - visibleRows(), 0));
        scroll_->setPageStep(std::max(visibleRows(), 1));
    }
    const int first = scroll_->value();
    const int shown = std::max(visibleRows(), 1);
    for (size_t i = 0; i < rows_.size(); ++i) {
        const int index = first + int(i);
        CDM_CriteriaDialog* row = rows_[i];
        // Rows made for a taller area stay hidden: only whole rows show.
        if (index < count && int(i) < shown) {
            row->Attach(filter_, index);
            row->show();
        } else {
            row->Detach();
            row->hide();
        }
    }
}

void CDM_Control::ShowSource()
{
    const QSignalBlocker blockButtons(sources_);
    const QSignalBlocker blockList(listKinds_);
    listKinds_->setItemText(0, QStringLiteral("<<User portfolio>>"));
    if (!filter_) {
        listKinds_->setEnabled(false);
        return;
    }
    int button = kOtherButton;
    if (!(filter_->flags & kFilterPortfolioSource) && filter_->sourceKind == kSharesSource)
        button = kSharesButton;
    else if (!(filter_->flags & kFilterPortfolioSource) && filter_->sourceKind == kFtse100Source)
        button = kFtseButton;
    sources_->button(button)->setChecked(true);
    listKinds_->setEnabled(button == kOtherButton);
    listKinds_->setCurrentIndex(button == kOtherButton ? SourceComboIndex(*filter_) : 1);
    if (filter_->flags & kFilterPortfolioSource) {
        if (const Portfolio* p = PortfolioNumbered(filter_->portfolioNumber))
            listKinds_->setItemText(0, QString::fromLatin1(StringPrintf("Port: %s", p->name.c_str()).c_str()));
    }
}

void CDM_Control::SourceChanged()
{
    Notify(kMsgRowsRebuilt);
    RefreshCriteriaRows();
    Notify(kMsgFilterEdited);
}

void CDM_Control::ChooseSourceButton(int id)
{
    if (!filter_)
        return;
    if (id == kSharesButton || id == kFtseButton) {
        SetFilterListSource(*filter_, id == kSharesButton ? kSharesSource : kFtse100Source);
        SourceChanged();
        return;
    }
    // "Other:" offers the list; the source changes only when the user picks an entry of it.
    const QSignalBlocker block(listKinds_);
    listKinds_->setEnabled(true);
    listKinds_->setCurrentIndex(-1);
}

void CDM_Control::ChooseListKind(int index)
{
    if (!filter_)
        return;
    if (index == 0) {
        ChooseUserPortfolio();
        return;
    }
    if (index > int(kSourceListKinds.size()))
        return;
    SetFilterListSource(*filter_, kSourceListKinds[size_t(index - 1)].kind);
    SourceChanged();
}

bool CDM_Control::ChooseUserPortfolio()
{
    if (!filter_ || !FrameDialogs().portfolioChooser)
        return false;
    if (!HasUserPortfolios()) {
        ShowMessage("There are currently no user portfolios available.\nUsing the all list.", {}, MsgButtons::Ok,
                    MsgIcon::Information);
        ShowSource();
        return false;
    }
    bool deleteFlag = false;
    Portfolio* chosen = FrameDialogs().portfolioChooser(9, deleteFlag);
    if (!chosen || chosen->type != kUserPortfolio) {
        ShowSource();
        return false;
    }
    SetFilterPortfolioSource(*filter_, chosen->number);
    SourceChanged();
    return true;
}

void CDM_Control::Notify(uint32_t message, uintptr_t wParam)
{
    if (view_)
        PostProgramMessage(*view_, message, wParam, 0);
    if (message == kMsgRangeChanged || message == kMsgCriteriaChanged || message == kMsgFilterEdited)
        PostToAllViews(message, filter_, view_);
}

void CDM_Control::RangeChanged(bool valueEdit) { Notify(kMsgRangeChanged, valueEdit ? 1 : 0); }

bool CDM_Control::CommandEnabled(uint32_t command, int index) const
{
    const bool writable = filter_ && !filter_->readOnly();
    const int count = filter_ ? int(filter_->criteria.size()) : 0;
    if (IsRowCommand(command)) {
        if (!writable || index < 0 || index >= count)
            return false;
        if (command == kMoveUp)
            return index > 0;
        if (command == kMoveDown)
            return index + 1 < count;
        if (command == kEditCriterion)
            return !filter_->criteria[size_t(index)].locked;
        return true;
    }
    switch (command) {
    case kAddCriteria:
    case kEditNote:
    case kRenameFilter:
    case kCopyFilter: return writable;
    case kClearCriteria: return writable && count > 0;
    case kSelectFilter: return FilterListDialogInstalled();
    case kDeleteFilter: return writable && FilterListDialogInstalled() && !FilterProgressOpen();
    case kCopyAllCriteria: return writable && count > 0 && FilterListDialogInstalled();
    case kUserPortfolioSource: return writable && static_cast<bool>(FrameDialogs().portfolioChooser);
    case kExportFilter: return writable && dynamic_cast<CommandTarget*>(view_);
    case kImportFilter: return dynamic_cast<CommandTarget*>(view_) != nullptr;
    case kDefaultFilters: return true;
    default: return false;
    }
}

bool CDM_Control::CommandChecked(uint32_t command, int index) const
{
    if (!filter_ || index < 0 || index >= int(filter_->criteria.size()))
        return false;
    const DMCriterion& c = filter_->criteria[size_t(index)];
    switch (command) {
    case kInvert: return c.inverted != 0;
    case kFullFiltering: return c.mode == 2;
    case kPartialFiltering: return c.mode == 1;
    case kDisableCriterion: return c.mode == 0;
    case kAxisX: return AxisCriterionIndex(*filter_, FilterAxis::X) == index;
    case kAxisY: return AxisCriterionIndex(*filter_, FilterAxis::Y) == index;
    case kAxisZ: return AxisCriterionIndex(*filter_, FilterAxis::Z) == index;
    default: return false;
    }
}

bool CDM_Control::RunCommand(uint32_t command, int index)
{
    if (command == kDefaultFilters) {
        // Offered to the main window; nothing there adds filters.
        if (MainFrameTarget())
            PostProgramMessage(*MainFrameTarget(), WM_COMMAND, command, 0);
        return true;
    }
    if (!IsRowCommand(command) && command != kAddCriteria && command != kClearCriteria && command != kSelectFilter &&
        command != kEditNote && command != kRenameFilter && command != kDeleteFilter && command != kCopyFilter &&
        command != kExportFilter && command != kImportFilter && command != kUserPortfolioSource &&
        command != kCopyAllCriteria)
        return false;
    if (!CommandEnabled(command, index))
        return true;
    DMCriterion* c = IsRowCommand(command) ? &filter_->criteria[size_t(index)] : nullptr;
    switch (command) {
    case kAddCriteria: AddCriterion(); break;
    case kClearCriteria: ClearAll(); break;
    case kSelectFilter: SelectFilter(); break;
    case kEditNote: EditNote(); break;
    case kRenameFilter: Rename(); break;
    case kDeleteFilter: DeleteFilter(); break;
    case kCopyFilter: CopyThisFilter(); break;
    case kCopyAllCriteria: CopyAllTo(); break;
    case kUserPortfolioSource: ChooseUserPortfolio(); break;
    case kExportFilter:
    case kImportFilter:
        if (auto* target = dynamic_cast<CommandTarget*>(view_))
            target->RunCommand(command);
        break;
    case kEditCriterion: EditCriterionAt(index); break;
    case kDeleteCriterion: DeleteCriterionAt(index); break;
    case kModeButton:
        CycleCriterionMode(*c);
        Notify(kMsgCriteriaChanged);
        Notify(kMsgRangeChanged);
        RefreshCriteriaRows();
        break;
    case kInvert:
        ToggleCriterionInverted(*c);
        Notify(kMsgRangeChanged, 0);
        RefreshCriteriaRows();
        break;
    case kFullFiltering: SetMode(index, 2); break;
    case kPartialFiltering: SetMode(index, 1); break;
    case kDisableCriterion: SetMode(index, 0); break;
    case kCopyCriterion:
        CopyCriterion(*filter_, size_t(index));
        Notify(kMsgRowsRebuilt);
        Notify(kMsgCriteriaChanged);
        RefreshCriteriaRows();
        break;
    case kMoveUp:
    case kMoveDown:
        MoveCriterion(*filter_, size_t(index), command == kMoveUp ? -1 : 1);
        Notify(kMsgCriteriaReordered);
        RefreshCriteriaRows();
        break;
    case kAxisX: ToggleAxis(index, FilterAxis::X); break;
    case kAxisY: ToggleAxis(index, FilterAxis::Y); break;
    case kAxisZ: ToggleAxis(index, FilterAxis::Z); break;
    default: break;
    }
    return true;
}

void CDM_Control::SetMode(int index, uint8_t mode)
{
    DMCriterion& c = filter_->criteria[size_t(index)];
    c.mode = c.noData ? 0 : mode;
    Notify(kMsgCriteriaChanged);
    Notify(kMsgRangeChanged);
    RefreshCriteriaRows();
}

void CDM_Control::ToggleAxis(int index, FilterAxis axis)
{
    ToggleFilterAxis(*filter_, size_t(index), axis);
    FollowAxisInGraph(axis, AxisCriterionIndex(*filter_, axis) >= 0);
    Notify(kMsgAxisChanged, uintptr_t(axis));
    RefreshCriteriaRows();
}

void CDM_Control::AddCriterion()
{
    CAddCriteriaDlg dialog(CriterionDialogFields{}, false, PackedDate(FilterCandidates().referenceDate), this);
    if (RunModalDialog(dialog) != QDialog::Accepted || !filter_)
        return;
    DMCriterion c = NewCriterionFromDialog(dialog.fields());
    const RecordCursor* rows = nullptr;
    const uint32_t* positions = nullptr;
    if (SourceRowsFor(rows, positions)) {
        ShowFilterProgress({&c, 1}, view_, false, true, {});
        CriterionStatistics(rows, positions, c);
        CloseFilterProgress();
    }
    OpenCriterionRange(c);
    const int axis = AppendCriterion(*filter_, c);
    if (axis >= 0)
        FollowAxisInGraph(FilterAxis(axis), true);
    // The new criterion's row comes into view.
    {
        const QSignalBlocker block(scroll_);
        scroll_->setMaximum(std::max(int(filter_->criteria.size()) - visibleRows(), 0));
        scroll_->setValue(scroll_->maximum());
    }
    Notify(kMsgRowsRebuilt);
    Notify(kMsgFilterEdited);
    // A criterion that took an axis sets that axis's scale, as choosing it for the axis would.
    if (axis >= 0)
        Notify(kMsgAxisChanged, uintptr_t(axis));
    RefreshCriteriaRows();
}

void CDM_Control::EditCriterionAt(int index)
{
    const RecordCursor* rows = nullptr;
    const uint32_t* positions = nullptr;
    SourceRowsFor(rows, positions);
    if (!EditCriterion(rows, positions, filter_->criteria[size_t(index)], view_))
        return;
    Notify(kMsgRowsRebuilt);
    Notify(kMsgCriteriaChanged);
    RefreshCriteriaRows();
}

void CDM_Control::DeleteCriterionAt(int index)
{
    if (!AskYesNo("Are you sure you want to delete this criteria?"))
        return;
    DeleteCriterion(*filter_, size_t(index));
    Notify(kMsgRowsRebuilt);
    Notify(kMsgCriteriaChanged);
    Notify(kMsgFilterEdited);
    RefreshCriteriaRows();
}

void CDM_Control::ClearAll()
{
    if (!AskYesNo("Are you sure you want to clear all the criteria?"))
        return;
    for (CDM_CriteriaDialog* row : rows_) {
        row->Detach();
        row->hide();
    }
    ClearCriteria(*filter_);
    Notify(kMsgRowsRebuilt);
    Notify(kMsgFilterEdited);
    RefreshCriteriaRows();
}

std::string CDM_Control::AskName(const QString& caption, const std::string& start, const DMFilter* renaming)
{
    for (;;) {
        CFilterNameDlg dialog(this);
        dialog.setWindowTitle(caption);
        dialog.SetName(QString::fromLatin1(start.c_str()));
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return {};
        const std::string name = dialog.Name().toLatin1().toStdString();
        if (name.empty())
            return {};
        // A second filter of the same name could not be told apart from the first.
        if (FindFilterPosition(name) == -1 || (renaming && name == renaming->name))
            return name;
        ShowMessage(StringPrintf("A filter called '%s' already exists.", name.c_str()), {}, MsgButtons::Ok,
                    MsgIcon::Exclamation);
    }
}

void CDM_Control::SelectFilter()
{
    DMFilter* chosen = nullptr;
    if (!ListDialog()({filter_, false, true}, chosen))
        return;
    if (!chosen || FilterList().empty()) {
        const std::string name = AskName(QStringLiteral("Enter Filter Name"), {});
        if (name.empty())
            return;
        chosen = InsertFilter(NewEmptyFilter(name));
    }
    SetCurrentFilter(chosen);
    SetFilter(chosen);
    Notify(kMsgRowsRebuilt);
    Notify(kMsgFilterEdited);
}

void CDM_Control::EditNote()
{
    CEditNoteDlg dialog(QStringLiteral("note"), QString::fromLatin1(filter_->name.c_str()),
                        QString::fromLatin1(filter_->note.c_str()), this);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    filter_->note = dialog.deleted() ? std::string() : dialog.text().toLatin1().toStdString();
    note_->setText(QString::fromLatin1(filter_->note.c_str()));
    Notify(kMsgFilterEdited);
}

void CDM_Control::Rename()
{
    const std::string name = AskName(QStringLiteral("Edit Filter Name"), filter_->name, filter_);
    if (name.empty() || name == filter_->name)
        return;
    RenameFilter(*filter_, name);
    RefreshCriteriaRows();
    Notify(kMsgFilterEdited);
}

void CDM_Control::DeleteFilter()
{
    DMFilter* chosen = nullptr;
    if (!ListDialog()({filter_, false, false}, chosen) || !chosen || chosen->readOnly())
        return;
    if (!AskYesNo("Are you sure you want to delete the filter '" + chosen->name + "'?"))
        return;
    const bool shown = chosen == filter_;
    RemoveDMFilter(chosen);
    if (shown)
        SetFilter(CurrentFilter());
    RefreshCriteriaRows();
    Notify(kMsgRowsRebuilt);
    Notify(kMsgFilterEdited);
}

void CDM_Control::CopyThisFilter()
{
    const std::string name = AskName(QStringLiteral("Enter Filter Name"), {});
    if (name.empty())
        return;
    InsertFilter(CopyFilter(*filter_, name));
    ShowMessage("A copy of the filter '" + filter_->name + "' has been made.", {}, MsgButtons::Ok,
                MsgIcon::Information);
}

void CDM_Control::CopyAllTo()
{
    DMFilter* chosen = nullptr;
    if (!ListDialog()({filter_, true, false}, chosen) || !chosen || chosen->readOnly())
        return;
    CopyAllCriteria(*filter_, *chosen);
    if (chosen == filter_)
        RefreshCriteriaRows();
    Notify(kMsgCriteriaChanged);
}

void CDM_Control::ShowContextMenu(int index, const QPoint& globalPos)
{
    const SoftMenu menu = LoadSoftMenu(index >= 0 ? 583 : 612, true, 0xFF);
    if (menu.entries.empty())
        return;
    QMenu* popup = CreateSoftQMenu(QString(), menu.entries.front().items, this);
    auto states = [this, popup, index] {
        for (QAction* action : popup->actions()) {
            const uint32_t command = ActionCommand(action);
            if (!command)
                continue;
            action->setEnabled(CommandEnabled(command, index));
            action->setCheckable(CommandChecked(command, index));
            action->setChecked(CommandChecked(command, index));
        }
    };
    states();
    connect(popup, &QMenu::aboutToShow, this, states);
    RunChosenCommandsLater(*popup, this, [this, index](uint32_t command) { RunCommand(command, index); });
    popup->exec(globalPos);
    popup->deleteLater();
}

void CDM_Control::contextMenuEvent(QContextMenuEvent* event) { ShowContextMenu(-1, event->globalPos()); }

bool DockBesideView(CDM_Control* panel, QWidget* view)
{
    auto* child = view ? qobject_cast<QMdiSubWindow*>(view->parentWidget()) : nullptr;
    auto* box = child ? qobject_cast<QBoxLayout*>(child->layout()) : nullptr;
    if (!box || !panel)
        return false;
    box->setDirection(QBoxLayout::LeftToRight);
    panel->setParent(child);
    auto* grip = new CPanelGrip(panel, child);
    QObject::connect(panel, &QObject::destroyed, grip, &QObject::deleteLater);
    box->insertWidget(0, panel);
    box->insertWidget(1, grip);
    panel->show();
    grip->show();
    return true;
}

} // namespace qv
