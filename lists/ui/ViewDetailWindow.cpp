// The share details view's window.
#include "lists/ui/ViewDetailWindow.h"

#include "core/Captions.h"
#include "core/ConfigState.h"
#include "core/Currency.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/SectorFilter.h"
#include "core/ShareList.h"
#include "core/ui/PenSelect.h"
#include "lists/DetailPage.h"
#include "lists/ListInteraction.h"
#include "lists/ListViewOptions.h"
#include "lists/ResultsFigures.h"
#include "lists/ViewHold.h"
#include "lists/ui/DetailDialogs.h"
#include "lists/ui/ListPagePrinter.h"
#include "platform/qt/QtText.h"
#include "resources/MessageIds.h"
#include "shell/PortfolioAdd.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/StatusPaneTexts.h"
#include "shell/ViewRequest.h"
#include "shell/ui/StatusBarEx.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>
#include <cstdio>

namespace qv {
namespace {

constexpr uint32_t kCommandAddToPortfolio = 20803;
constexpr uint32_t kCommandAddToAnother = 26548;
constexpr uint32_t kCommandDisplayDesign = 25002;
constexpr uint32_t kCommandSelectItems = 26224;
constexpr uint32_t kCommandShowNotes = 26650;
constexpr int32_t kDetailViewKind = 3;
constexpr int kMargin = 6;

DetailPortfolioHooks& Hooks()
{
    static DetailPortfolioHooks hooks;
    return hooks;
}

QPen PenOf(uint32_t word)
{
    return QPen(ColourFromWord(word & 0xFFFFFF), int((word >> 28) & 0xF) + 1, Qt::SolidLine);
}

QString Q(const std::string& text) { return FromCp1252(text); }

// Screen pixels as units of the painter's device: the same on screen, scaled on paper.
int Px(const QPainter& p, int pixels, bool printing) { return printing ? DevicePixels(p, pixels) : pixels; }

// The page's own switches in the details menu: the stored option each command turns over.
bool DetailSettings::*PageSwitch(uint32_t command)
{
    switch (command) {
    case kCommandInterimResults: return &DetailSettings::showInterims;
    case kCommandPercentChanges: return &DetailSettings::showChanges;
    case kCommandShowNotes: return &DetailSettings::showNotes;
    default: return nullptr;
    }
}

std::string CellLine(const DetailCell& cell)
{
    if (cell.second.empty())
        return cell.value;
    return cell.value + " (" + cell.second + ")";
}

} // namespace

void SetDetailPortfolioHooks(DetailPortfolioHooks hooks) { Hooks() = std::move(hooks); }

CViewDetailWnd::CViewDetailWnd(QWidget* parent) : CViewBase(kViewDetails), CViewBaseWnd(kViewDetails, parent)
{
    bar_ = new QScrollBar(Qt::Vertical, this);
    connect(bar_, &QScrollBar::valueChanged, this, [this](int v) { ScrollTo(v); });
    AddCommandTarget(this);
}

CViewDetailWnd::~CViewDetailWnd() { RemoveCommandTarget(this); }

bool CViewDetailWnd::IsActiveView() const { return MainFrameState().activeView == static_cast<const CViewBase*>(this); }

const RecordCursor* CViewDetailWnd::CurrentRow() const
{
    if (!list || !list->entries || list->current < 0 || !list->entries[0].record)
        return nullptr;
    const RecordCursor* row = &list->entries[list->current];
    return row->record ? row : &list->entries[0];
}

QString CViewDetailWnd::Title() const
{
    const int listType = list && list->source ? kViewPortfolio : kViewList;
    const std::string sector = list ? FormatSectorFilterText(*list) : std::string();
    const std::string portfolio =
        GetPortfolioCaption(list && list->source ? std::optional(PortfolioDisplayName(list->source)) : std::nullopt,
                            std::nullopt);
    return FromCp1252(
        DecorateTitle(DetailTitle(listType, DealingsParentListMode(), GetSourceTitle(true), sector, portfolio)));
}

void CViewDetailWnd::UpdateTitle()
{
    const QString title = Title();
    setWindowTitle(title);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->setWindowTitle(title);
}

void CViewDetailWnd::ShowStatusTexts()
{
    auto* frame = dynamic_cast<CMainFrame*>(MainFrameTarget());
    if (!frame || !frame->statusBarEx() || !IsActiveView() || !list)
        return;
    ShowDetailStatusPanes(list, *frame->statusBarEx(), kEpicPaneColumn, false);
    frame->statusBarEx()->SetPaneText(3, FromCp1252(GetSourceTitle(true)));
}

void CViewDetailWnd::focusInEvent(QFocusEvent* event)
{
    CViewBaseWnd::focusInEvent(event);
    ShowStatusTexts();
}

void CViewDetailWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    const ListViewOptions& options = CurrentListViewOptions();
    MessageTarget* frame = MainFrameTarget();
    if (!options.doubleClickOpens || !frame) {
        CViewBaseWnd::mouseDoubleClickEvent(event);
        return;
    }
    if (LoopBackShowsPreviousKind(kind, options.loopViews, CurrentRow() != nullptr))
        PostProgramMessage(*frame, WM_COMMAND, ID_PREVIOUS_VIEW);
}

void CViewDetailWnd::OnRefresh()
{
    CViewBaseWnd::OnRefresh();
    ShowStatusTexts();
    scroll_ = 0;
    UpdateScrollBar();
    update();
}

intptr_t CViewDetailWnd::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_COMMAND && RunCommand(uint32_t(wParam & 0xFFFF)))
        return 1;
    return CViewBaseWnd::onProgramMessage(message, wParam, lParam);
}

bool CViewDetailWnd::UpdateCommand(CommandUi& ui)
{
    if (!IsActiveView())
        return false;
    const bool hasRows = CurrentRow() != nullptr;
    switch (ui.command) {
    case kCommandAddToPortfolio: ui.enabled = hasRows && Hooks().current && Hooks().current(); return true;
    case kCommandAddToAnother: ui.enabled = hasRows; return true;
    case kCommandDisplayDesign: case kCommandSelectItems: ui.enabled = true; return true;
    default: break;
    }
    bool DetailSettings::*option = PageSwitch(ui.command);
    if (!option)
        return false;
    ui.enabled = true;
    ui.checked = ProgramDetailSettings().*option;
    return true;
}

bool CViewDetailWnd::RunCommand(uint32_t command)
{
    if (!IsActiveView())
        return false;
    if (command == kCommandDisplayDesign || command == kCommandSelectItems) {
        EditDetailSettings(command == kCommandSelectItems);
        return true;
    }
    if (bool DetailSettings::*option = PageSwitch(command)) {
        DetailSettings settings = ProgramDetailSettings();
        settings.*option = !(settings.*option);
        SaveProgramDetailSettings(settings);
        InvalidateMatchingViews(ShareListChain(), false, kind, -1, 0xFFFFFFFF, nullptr);
        return true;
    }
    if (command != kCommandAddToPortfolio && command != kCommandAddToAnother)
        return false;
    const RecordCursor* row = CurrentRow();
    if (!row)
        return true;
    const auto& source = command == kCommandAddToPortfolio ? Hooks().current : Hooks().choose;
    if (Portfolio* portfolio = source ? source() : nullptr)
        AddShareToPortfolio(portfolio, *row, nullptr);
    return true;
}

void CViewDetailWnd::EditDetailSettings(bool items)
{
    DetailSettings settings = ProgramDetailSettings();
    if (items) {
        std::vector<uint8_t> selection;
        for (const int index : DetailItemIndexes(settings.items.data()))
            selection.push_back(uint8_t(index));
        std::vector<QString> names;
        for (const uint8_t code : kDetailItemCodes)
            names.push_back(Q(DetailItemHeading(code)));
        CSelectDetailsDlg dialog(selection, names, this);
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return;
        SetDetailItems(settings, dialog.selection());
    } else {
        CDisplayDesignDlg dialog(DisplaySettingsOf(settings), this);
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return;
        ApplyDisplaySettings(settings, dialog.settings());
    }
    SaveProgramDetailSettings(settings);
    InvalidateMatchingViews(ShareListChain(), false, kDetailViewKind, -1, 0xFFFFFFFF, nullptr);
}

void CViewDetailWnd::ScrollTo(int position)
{
    position = ClampDetailScroll(position, maximum_);
    if (position == scroll_)
        return;
    scroll_ = position;
    bar_->setValue(scroll_);
    update();
}

void CViewDetailWnd::UpdateScrollBar()
{
    bar_->blockSignals(true);
    bar_->setRange(0, maximum_);
    bar_->setPageStep(page_);
    bar_->setValue(scroll_);
    bar_->blockSignals(false);
}

void CViewDetailWnd::resizeEvent(QResizeEvent* event)
{
    CViewBaseWnd::resizeEvent(event);
    bar_->setGeometry(width() - bar_->sizeHint().width(), 0, bar_->sizeHint().width(), height());
}

void CViewDetailWnd::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Home: ScrollTo(0); return;
    case Qt::Key_End: ScrollTo(maximum_ - page_); return;
    case Qt::Key_Up: ScrollTo(scroll_ - 1); return;
    case Qt::Key_Down: ScrollTo(scroll_ + 1); return;
    case Qt::Key_PageUp: ScrollTo(scroll_ - 10); return;
    case Qt::Key_PageDown: ScrollTo(scroll_ + 10); return;
    default: CViewBaseWnd::keyPressEvent(event);
    }
}

void CViewDetailWnd::wheelEvent(QWheelEvent* event)
{
    const int pages = DetailWheelPages(wheel_, event->angleDelta().y());
    if (pages)
        ScrollTo(scroll_ + pages * page_);
}

void CViewDetailWnd::paintEvent(QPaintEvent*)
{
    QPainter window(this);
    const QRect client = rect().adjusted(0, 0, -bar_->width(), 0);
    if (!list)
        return;
    if (!CurrentRow()) {
        window.fillRect(client, palette().window());
        window.drawText(100, 60, QStringLiteral("Not enough data"));
        return;
    }
    QPixmap page(client.size());
    {
        QPainter p(&page);
        const int lines = DrawBody(p, QRect(QPoint(0, 0), client.size()), false);
        const int lineStep = std::max(1, 2 * p.fontMetrics().height());
        page_ = std::max(1, client.height() / lineStep);
        const int maximum = std::max(0, lines - page_ + 1);
        if (maximum != maximum_) {
            maximum_ = maximum;
            UpdateScrollBar();
        }
    }
    window.drawPixmap(0, 0, page);
}

int CViewDetailWnd::DrawBody(QPainter& p, const QRect& area, bool printing)
{
    const DetailSettings settings = ProgramDetailSettings();
    QFont normal(QString::fromStdString(settings.face));
    normal.setPointSize(settings.fontPoints);
    normal.setItalic(settings.italic);
    normal.setUnderline(settings.underline);
    normal.setBold(settings.bold);
    QFont bold = normal;
    bold.setWeight(QFont::Weight(std::min(900, normal.weight() + 200)));
    p.setFont(normal);
    const QColor page = printing ? Qt::white : ColourFromWord(settings.labelBack);
    const QColor valueBack = printing ? Qt::white : ColourFromWord(settings.boxBack);
    p.fillRect(area, page);
    // Screen pixels of the layout become device units on paper.
    const int margin = Px(p, kMargin, printing);

    const QFontMetrics metrics(normal, p.device());
    // The character width is the extent of the sample text, as measured.
    const int charWidth = std::max(1, metrics.horizontalAdvance(QStringLiteral("Testing012345678")));
    const DetailLayout layout = ComputeDetailLayout(area.width(), charWidth, metrics.height(), margin, printing);
    const int step = layout.lineStep;
    int line = -scroll_;
    auto y = [&](int l) { return area.top() + l * step + step / 4; };

    const RecordCursor row = *CurrentRow();
    // Heading block: two halves side by side on a wide page.
    p.setFont(bold);
    p.setPen(ColourFromWord(settings.labelText));
    DetailCell name = GetDetailCell(0x0F, row);
    if (name.value.empty())
        name.value = std::string(GetRecordName(row.record));
    const std::string heading[4] = {
        name.value + (GetDetailCell(0x80, row).value.empty() ? "" : " (" + GetDetailCell(0x80, row).value + ")"),
        GetDetailCell(0x1A, row).value, CellLine(GetDetailCell(0x71, row)), GetDetailCell(0x70, row).value};
    const int halfWidth = area.width() / 2;
    for (int i = 0; i < 4; ++i) {
        const int column = layout.splitHeading ? i / 2 : 0;
        const int l = layout.splitHeading ? line + i % 2 : line + i;
        if (!heading[i].empty())
            p.drawText(QRect(margin + column * halfWidth, y(l), halfWidth, step), Qt::AlignLeft, Q(heading[i]));
    }
    line += layout.splitHeading ? 2 : 4;

    // Security types, one per sub-record.
    p.setFont(normal);
    p.drawText(QRect(0, y(line), layout.labelWidth - margin, step), Qt::AlignRight, QStringLiteral("Share type(s)"));
    std::string types;
    const uint8_t* previous = nullptr;
    for (uint32_t n = 0;; ++n) {
        // The walk stops at the last sub-record, which it then gives again.
        const uint8_t* sub = GetSubRecord({row.record, n}, n);
        if (!sub || sub == previous)
            break;
        previous = sub;
        const std::string type = GetDetailCell(7, {row.record, n}).value;
        if (!type.empty())
            types += (types.empty() ? "" : ", ") + type;
    }
    p.drawText(QRect(layout.labelWidth, y(line), area.width() - layout.labelWidth, step), Qt::AlignLeft, Q(types));
    ++line;
    // An item whose addressed sub-record is of type 1 has nothing more to show.
    if (const uint8_t* sub = GetSubRecord(row, row.count); sub && sub[SubRecordLayout::Kind] == 1)
        return line + scroll_;

    if (settings.showNotes)
        for (const auto& [number, text] : DetailNotes(row)) {
            p.setPen(ColourFromWord(settings.labelText));
            p.drawText(QRect(0, y(line), layout.labelWidth - margin, step), Qt::AlignRight,
                       QStringLiteral("Note %1").arg(number));
            p.drawText(QRect(layout.labelWidth, y(line), area.width() - layout.labelWidth, step), Qt::AlignLeft,
                       Q(text));
            ++line;
        }

    // The chosen items, as many to a row as there are columns.
    const std::vector<int> items = DetailItemIndexes(settings.items.data());
    for (size_t i = 0; i < items.size(); ++i) {
        const int column = int(i % size_t(layout.columns));
        if (column == 0 && i > 0)
            ++line;
        const DetailCell cell = GetDetailCell(kDetailItemCodes[size_t(items[i])], row);
        const int left = column * layout.columnWidth;
        const int label = left + layout.labelWidth;
        if (!cell.headingHidden) {
            p.setPen(ColourFromWord(settings.labelText));
            p.drawText(QRect(left, y(line), layout.labelWidth - margin, step), Qt::AlignRight | Qt::AlignTop,
                       Q(cell.heading));
        }
        const QRect box(label, y(line), left + layout.columnWidth - label - margin, metrics.height() + Px(p, 2, printing));
        p.fillRect(box, valueBack);
        p.setPen(ColourFromWord(settings.boxText));
        p.drawText(box.adjusted(Px(p, 3, printing), 0, -Px(p, 3, printing), 0), Qt::AlignLeft | Qt::AlignVCenter, Q(CellLine(cell)));
    }
    if (!items.empty())
        ++line;
    ++line;

    // The results table.
    const auto results = BuildDetailResultsRows(row.record, row.count, settings.showInterims, settings.showChanges);
    const int resultsColumn = area.width() / 5;
    const int currency = int(GetFieldByte115(&row, 0));
    for (int item = 0; item < 4; ++item) {
        // Each heading stands on the figures' own background, where its colour is made to be read.
        const QRect heading(resultsColumn * (item + 1), y(line), resultsColumn - margin, metrics.height() + Px(p, 2, printing));
        p.fillRect(heading, valueBack);
        p.setPen(PenOf(settings.pens[size_t(item)]).color());
        p.drawText(heading.adjusted(Px(p, 3, printing), 0, -Px(p, 3, printing), 0), Qt::AlignLeft | Qt::AlignVCenter,
                   Q(GetResultsColumnTitle(item + 1, currency)));
    }
    ++line;
    for (const DetailResultsRow& r : results) {
        p.setPen(ColourFromWord(settings.labelText));
        p.drawText(QRect(0, y(line), resultsColumn - margin, step), Qt::AlignRight, Q(DetailResultsDateText(r)));
        const int indent = r.kind == 1 ? Px(p, 15, printing) : 0;
        for (int item = 0; item < 4; ++item) {
            if (!r.figures[size_t(item)])
                continue;
            const QRect box(resultsColumn * (item + 1) + indent, y(line), resultsColumn - margin - indent,
                            metrics.height() + Px(p, 2, printing));
            p.fillRect(box, valueBack);
            p.setPen(PenOf(settings.pens[size_t(item + (r.kind == 3 ? 4 : 0))]).color());
            char figure[32];
            std::snprintf(figure, sizeof figure, "%.2f", double(*r.figures[size_t(item)]));
            p.drawText(box.adjusted(Px(p, 3, printing), 0, -Px(p, 3, printing), 0), Qt::AlignLeft | Qt::AlignVCenter,
                       Q(figure + r.changes[size_t(item)]));
        }
        ++line;
    }
    if (results.empty()) {
        p.setFont(bold);
        p.setPen(ColourFromWord(settings.labelText));
        p.drawText(QRect(layout.labelWidth, y(line), area.width(), step), Qt::AlignLeft, QStringLiteral("No results"));
        p.setFont(normal);
        return line + scroll_ + 1;
    }
    if (results.size() > 1) {
        const GrowthChart chart = BuildGrowthChart(row.record, row.count);
        const int used = DrawGrowthChart(p, chart, y(line) + step / 2, area.width(), printing);
        line += (used + step - 1) / step + 1;
    }
    return line + scroll_;
}

void CViewDetailWnd::PrintPage(QPainter& p, const QRect& area)
{
    if (!CurrentRow())
        return;
    const int scroll = scroll_;
    scroll_ = 0;
    p.save();
    p.translate(area.topLeft());
    DrawBody(p, QRect(QPoint(0, 0), area.size()), true);
    p.restore();
    scroll_ = scroll;
}

int CViewDetailWnd::DrawGrowthChart(QPainter& p, const GrowthChart& chart, int top, int width, bool printing)
{
    if (!chart.valid())
        return 0;
    const DetailSettings settings = ProgramDetailSettings();
    const auto px = [&p, printing](int v) { return Px(p, v, printing); };
    int margin = px(60);
    if (width - 2 * margin < px(120))
        margin /= 2;
    if (width - 2 * margin < px(120))
        return 0;
    const int height = px(300);
    const QRect plot(margin, top, width - 2 * margin, height);
    p.fillRect(plot, printing ? Qt::white : ColourFromWord(settings.boxBack));
    const double span = chart.top - chart.bottom;
    auto yOf = [&](double v) { return plot.bottom() - int(std::lround((v - chart.bottom) * plot.height() / span)); };
    p.setPen(ColourFromWord(settings.labelText));
    char text[32];
    std::snprintf(text, sizeof text, "%.0f%%", chart.top * 100);
    p.drawText(QRect(0, plot.top() - px(6), margin - px(4), px(14)), Qt::AlignRight, QString::fromLatin1(text));
    p.drawText(QRect(plot.right() + px(4), plot.top() - px(6), margin, px(14)), Qt::AlignLeft, QString::fromLatin1(text));
    std::snprintf(text, sizeof text, "%.0f%%", chart.bottom * 100);
    p.drawText(QRect(0, plot.bottom() - px(8), margin - px(4), px(14)), Qt::AlignRight, QString::fromLatin1(text));
    p.drawText(QRect(plot.right() + px(4), plot.bottom() - px(8), margin, px(14)), Qt::AlignLeft, QString::fromLatin1(text));
    const int zero = yOf(0);
    if (zero > plot.top() + px(14) && zero < plot.bottom() - px(14))
        p.drawText(QRect(0, zero - px(7), margin - px(4), px(14)), Qt::AlignRight, QStringLiteral("0%"));
    p.drawLine(plot.left(), zero, plot.right(), zero);
    const int n = int(chart.dates.size());
    const double xStep = double(plot.width()) / (n - 1);
    for (int i = 0; i < n; ++i) {
        std::snprintf(text, sizeof text, "%i/%02i", MonthOfYear(chart.dates[size_t(i)]), TwoDigitYear(chart.dates[size_t(i)]));
        const int x = plot.left() + int(std::lround(i * xStep));
        p.drawText(QRect(x - px(30), plot.bottom() + px(2), px(60), px(14)), Qt::AlignHCenter, QString::fromLatin1(text));
    }
    for (int item = 0; item < 4; ++item) {
        const auto& series = chart.changes[size_t(item)];
        for (int i = 1; i < n; ++i) {
            if (!series[size_t(i)] || !series[size_t(i - 1)])
                continue;
            p.setPen(PenOf(settings.pens[size_t(item + (chart.forecast[size_t(i)] ? 4 : 0))]));
            p.drawLine(plot.left() + int(std::lround((i - 1) * xStep)), yOf(*series[size_t(i - 1)]),
                       plot.left() + int(std::lround(i * xStep)), yOf(*series[size_t(i)]));
        }
    }
    return height + px(20);
}

void InstallDetailViewClass()
{
    RegisterViewClass(kViewDetails, [](int32_t) -> CViewBaseWnd* { return new CViewDetailWnd; });
}

} // namespace qv
