// The directors' dealings view's window.
#include "lists/ui/ViewHoldWindow.h"

#include "core/CodedText.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "lists/DealingCells.h"
#include "lists/DealingItem.h"
#include "lists/DealingStats.h"
#include "lists/DirectorsDealings.h"
#include "lists/HoldList.h"
#include "lists/ui/DealingsOptionsDlg.h"
#include "lists/ui/DealingsStatsDlg.h"
#include "lists/ui/FindInvestorDlg.h"
#include "lists/ui/ListPagePrinter.h"
#include "platform/qt/QtText.h"
#include "resources/MessageIds.h"
#include "shell/KeyRouting.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StatusBarEx.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace qv {
namespace {

const int kColumnWidths[kHoldColumnCount] = {44, 84, 230, 160, 170, 110, 90, 110};
const QColor kHeaderStrip(224, 232, 240);
const QColor kHeadingBack(200, 208, 224);
const QColor kCurrentRow(255, 255, 192);

} // namespace

CViewHoldWnd::CViewHoldWnd(QWidget* parent) : CViewBase(kViewDealings), CViewBaseWnd(kViewDealings, parent)
{
    AddCommandTarget(this);
    setMouseTracking(true);
}

CViewHoldWnd::~CViewHoldWnd() { RemoveCommandTarget(this); }

bool CViewHoldWnd::IsActiveView() const { return MainFrameState().activeView == static_cast<const CViewBase*>(this); }

int CViewHoldWnd::lineHeight() const { return fontMetrics().height() + 4; }

int CViewHoldWnd::VisibleRows() const { return std::max(1, (height() - 3 * lineHeight()) / lineHeight()); }

void CViewHoldWnd::ScrollTo(int first)
{
    const int last = std::max(0, int(rows.size()) - VisibleRows());
    first = std::clamp(first, 0, last);
    if (first == firstVisible)
        return;
    firstVisible = first;
    update();
}

void CViewHoldWnd::OnRefresh()
{
    CViewBaseWnd::OnRefresh();
    CViewHold::OnRefresh();
    ShowStatusTexts();
}

intptr_t CViewHoldWnd::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_COMMAND && RunCommand(uint32_t(wParam & 0xFFFF)))
        return 1;
    if (message == kMessageRetryHoldBuild)
        return CViewHold::onProgramMessage(message, wParam, lParam);
    return CViewBaseWnd::onProgramMessage(message, wParam, lParam);
}

bool CViewHoldWnd::UpdateCommand(CommandUi& ui)
{
    if (!IsActiveView())
        return false;
    const auto state = CommandStateOf(ui.command);
    if (!state)
        return false;
    ui.enabled = state->enabled;
    if (ui.command != kCommandDealingsOptions && ui.command != kCommandDealingsStats)
        ui.checked = state->checked;
    return true;
}

bool CViewHoldWnd::RunCommand(uint32_t command)
{
    if (!IsActiveView())
        return false;
    if (command == kCommandDealingsOptions) {
        CDealingsOptionsDlg dialog(filter, DealingsParentListMode(), this);
        if (RunModalDialog(dialog) == QDialog::Accepted)
            ApplyFilter(dialog.filter());
        ShowStatusTexts();
        return true;
    }
    if (command == kCommandDealingsStats) {
        CDealingsStatsDlg dialog(filter, ProgramWeeklyTables(), this);
        RunModalDialog(dialog);
        return true;
    }
    if (!RunFilterCommand(command))
        return false;
    ShowStatusTexts();
    return true;
}

void CViewHoldWnd::FindInvestor(const QString& seed)
{
    const int32_t row = RunFindInvestor(rows, seed, this);
    if (row < 0)
        return;
    currentRow = row;
    if (row < firstVisible || row >= firstVisible + VisibleRows())
        ScrollTo(row - VisibleRows() / 2);
    update();
}

void CViewHoldWnd::ShowStatusTexts()
{
    UpdateTitle();
    auto* frame = dynamic_cast<CMainFrame*>(MainFrameTarget());
    if (!frame || !frame->statusBarEx() || !IsActiveView())
        return;
    const auto panes = StatusTexts();
    for (int i = 0; i < 3; ++i)
        frame->statusBarEx()->SetPaneText(i + 1, FromCp1252(panes[size_t(i)]));
}

void CViewHoldWnd::focusInEvent(QFocusEvent* event)
{
    CViewBaseWnd::focusInEvent(event);
    ShowStatusTexts();
}

void CViewHoldWnd::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!DealingsMainBlock || !list) {
        DrawNoData(p, rect(), 60);
        return;
    }
    if (ParentRowsChanged())
        BuildHoldList();
    DrawTable(p, rect(), firstVisible, VisibleRows(), false);
}

void CViewHoldWnd::DrawTable(QPainter& p, const QRect& area, int first, int count, bool printing)
{
    // Screen pixels of the layout become device units on paper.
    const auto px = [&p, printing](int v) { return printing ? DevicePixels(p, v) : v; };
    p.save();
    p.translate(area.topLeft());
    const QFontMetrics metrics(font(), p.device());
    const int line = metrics.height() + px(4);
    const int width = area.width();
    // The header strip: the counts per category.
    p.setFont(font());
    p.fillRect(QRect(0, 0, width, line), kHeaderStrip);
    int x = px(6);
    for (const std::string& item : HeaderItems()) {
        const QString text = FromCp1252(item);
        p.drawText(QRect(x, 0, width - x, line), Qt::AlignVCenter | Qt::AlignLeft, text);
        x += metrics.horizontalAdvance(text) + px(18);
    }
    // Headings.
    const int headingTop = line + px(2);
    p.fillRect(QRect(0, headingTop, width, line), kHeadingBack);
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    x = 0;
    for (int c = 0; c < kHoldColumnCount; ++c) {
        p.drawText(QRect(x + px(4), headingTop, px(kColumnWidths[c] - 8), line),
                   Qt::AlignVCenter | (c >= 6 ? Qt::AlignRight : Qt::AlignLeft), QString::fromLatin1(HoldColumnHeading(c)));
        x += px(kColumnWidths[c]);
    }
    p.setFont(font());
    for (int i = 0; i < count && first + i < int(rows.size()); ++i) {
        const int r = first + i;
        const int top = headingTop + line * (i + 1);
        if (r == currentRow && !printing)
            p.fillRect(QRect(0, top, width, line), kCurrentRow);
        x = 0;
        for (int c = 0; c < kHoldColumnCount; ++c) {
            p.drawText(QRect(x + px(4), top, px(kColumnWidths[c] - 8), line),
                       Qt::AlignVCenter | (c >= 6 || c == 0 ? Qt::AlignRight : Qt::AlignLeft),
                       FromCp1252(HoldCellText(rows[size_t(r)].record, r, c)));
            x += px(kColumnWidths[c]);
        }
    }
    if (rows.empty())
        p.drawText(QRect(0, headingTop + line, width, line * 2), Qt::AlignCenter, QStringLiteral("No Data"));
    p.restore();
}

int CViewHoldWnd::PrintRowsPerPage(QPainter& p, const QRect& table) const
{
    const int line = QFontMetrics(font(), p.device()).height() + DevicePixels(p, 4);
    return std::max(1, (table.height() - 3 * line) / line);
}

int CViewHoldWnd::CountPrintPages(QPainter& p, const QRect& table)
{
    if (!DealingsMainBlock || !list)
        return 1;
    if (ParentRowsChanged())
        BuildHoldList();
    const int perPage = PrintRowsPerPage(p, table);
    return std::max(1, (int(rows.size()) + perPage - 1) / perPage);
}

void CViewHoldWnd::DrawPrintPage(QPainter& p, const QRect& table, int page)
{
    if (!DealingsMainBlock || !list)
        return;
    const int perPage = PrintRowsPerPage(p, table);
    DrawTable(p, table, perPage * (page - 1), perPage, true);
}

void CViewHoldWnd::keyPressEvent(QKeyEvent* event)
{
    const int page = VisibleRows();
    int row = currentRow;
    switch (event->key()) {
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_PageUp: row -= page; break;
    case Qt::Key_PageDown: row += page; break;
    case Qt::Key_Home: row = 0; break;
    case Qt::Key_End: row = int(rows.size()) - 1; break;
    default:
        CViewBaseWnd::keyPressEvent(event);
        return;
    }
    currentRow = std::clamp(row, 0, std::max(0, int(rows.size()) - 1));
    if (currentRow < firstVisible)
        ScrollTo(currentRow);
    else if (currentRow >= firstVisible + page)
        ScrollTo(currentRow - page + 1);
    update();
}

void CViewHoldWnd::wheelEvent(QWheelEvent* event)
{
    wheelDelta_ += event->angleDelta().y();
    while (wheelDelta_ >= 120) {
        wheelDelta_ -= 120;
        ScrollTo(firstVisible - 3);
    }
    while (wheelDelta_ <= -120) {
        wheelDelta_ += 120;
        ScrollTo(firstVisible + 3);
    }
}

void CViewHoldWnd::mousePressEvent(QMouseEvent* event)
{
    const int line = lineHeight();
    const int y = int(event->position().y());
    if (y >= line + 2 && y < 2 * line + 2) {
        // Only the left button sorts: a right click on a heading leaves the order alone.
        const int column = event->button() == Qt::LeftButton ? HeadingColumnAt(int(event->position().x())) : -1;
        if (column >= 0)
            SortByHeading(column);
        CViewBaseWnd::mousePressEvent(event);
        return;
    }
    const int index = (y - (2 * line + 2)) / line;
    if (event->position().y() > 2 * line + 2 && firstVisible + index < int(rows.size())) {
        currentRow = firstVisible + index;
        update();
    }
    CViewBaseWnd::mousePressEvent(event);
}

void CViewHoldWnd::mouseMoveEvent(QMouseEvent* event)
{
    auto* frame = dynamic_cast<CMainFrame*>(MainFrameTarget());
    if (frame && frame->statusBarEx() && IsActiveView()) {
        if (event->position().y() < lineHeight())
            frame->statusBarEx()->SetPaneText(1, FromCp1252(HeaderKeyName()));
        else
            ShowStatusTexts();
    }
    CViewBaseWnd::mouseMoveEvent(event);
}

void CViewHoldWnd::focusOutEvent(QFocusEvent* event)
{
    RememberSort();
    CViewBaseWnd::focusOutEvent(event);
}

int CViewHoldWnd::HeadingColumnAt(int x) const
{
    int left = 0;
    for (int c = 0; c < kHoldColumnCount; ++c) {
        if (x >= left && x < left + kColumnWidths[c])
            return c;
        left += kColumnWidths[c];
    }
    return -1;
}

void InstallDealingsViewClass()
{
    RegisterViewClass(kViewDealings, [](int32_t) -> CViewBaseWnd* { return new CViewHoldWnd; });
    InstallDealingCells();
    // The View menu offers the weekly statistics from any view: outside a dealings view they show
    // the directors' and major holders' deals alike.
    ApplicationCommands().Add(
        kCommandDealingsStats,
        [] {
            CDealingsStatsDlg dialog(kHoldDefaultFilter, ProgramWeeklyTables(), nullptr);
            RunModalDialog(dialog);
        },
        [](CommandUi& ui) { ui.enabled = DealingsMainBlock != nullptr; });
    // A typed letter in a dealings view finds an investor among its rows; the view moves its own row.
    SetFindInvestorDialog([](const std::string&, uint32_t character, bool seed, ShareList* list) -> std::optional<int32_t> {
        for (CViewBase* v = list ? list->views : nullptr; v; v = v->nextInList)
            if (auto* view = dynamic_cast<CViewHoldWnd*>(v)) {
                view->FindInvestor(seed && character ? QString(QChar(char16_t(character))) : QString());
                break;
            }
        return std::nullopt;
    });
}

} // namespace qv
