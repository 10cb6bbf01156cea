// The company calendar dialog and its event list.
#include "tools/ui/CompCalendar.h"

#include "core/DateText.h"
#include "core/Portfolio.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/SystemDate.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "resources/MessageIds.h"
#include "shell/FrameDialogSeams.h"
#include "shell/PortfolioAdd.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSizeGrip>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr uint32_t kShowShareCommand = 26170;
// The dialog's help topic: its template's.
constexpr uint32_t kHelpTopic = 0x20000 + 854;
constexpr int kDaysBefore = 7, kDaysAfter = 90;
const QColor kOddRow(0xF8, 0xF8, 0xF8);
const QColor kRunLine(0xBE, 0xBE, 0xBE);
const QColor kDateLine(0x80, 0x80, 0x80);

// A row's own date is kept with the item, whether the date column shows it or not.
constexpr int kDateRole = Qt::UserRole;

// The line under each row: grey inside a run of one date, darker where the next row's date differs.
class RowLines : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QModelIndex next = index.sibling(index.row() + 1, 0);
        const bool sameDate = next.isValid() && next.data(kDateRole) == index.siblingAtColumn(0).data(kDateRole);
        painter->save();
        painter->setPen(sameDate ? kRunLine : kDateLine);
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
};

QString ShareName(const CalendarEvent& e) { return FromCp1252(GetRecordName(e.share.record)); }

} // namespace

CCompCalendarList::CCompCalendarList(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(3);
    setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Event"), QStringLiteral("Share")});
    setRootIsDecorated(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setUniformRowHeights(true);
    setItemDelegate(new RowLines(this));
    const int character = fontMetrics().averageCharWidth();
    header()->resizeSection(0, 15 * character);
    header()->resizeSection(1, 20 * character);
    header()->setStretchLastSection(true);
    header()->setSectionsClickable(true);
}

void CCompCalendarList::Show(const std::vector<CalendarEvent>& events, bool byDate)
{
    byDate_ = byDate;
    clear();
    QList<QTreeWidgetItem*> rows;
    for (size_t i = 0; i < events.size(); ++i) {
        const CalendarEvent& e = events[i];
        const bool runGoesOn = byDate && i > 0 && events[i - 1].date == e.date;
        auto* item = new QTreeWidgetItem({runGoesOn ? QString() : QString::fromStdString(FormatDate(e.date)),
                                          QString::fromLatin1(CalendarEventName(e.kind).data()), ShareName(e)});
        item->setData(0, kDateRole, int(e.date));
        for (int c = 0; c < 3; ++c)
            item->setBackground(c, i % 2 ? kOddRow : QColor(Qt::white));
        rows.append(item);
    }
    addTopLevelItems(rows);
}

CCompCalendar::CCompCalendar(ShareList* list, QWidget* parent)
    : QDialog(parent), shareList_(list), events_(CollectCalendarEvents(list)), from_(new CDateEdit(this)),
      to_(new CDateEdit(this)), list_(new CCompCalendarList(this))
{
    setObjectName(QStringLiteral("854"));
    QString title = QStringLiteral("Calendar");
    if (list && list->source)
        title += QStringLiteral(" - ") + FromCp1252(list->source->name.str());
    setWindowTitle(title);
    list_->setObjectName(QString::number(kList));
    const int32_t today = DateToDayNumber(GetTodayDate(0));
    from_->Create(kFrom, this, QRect(0, 0, 200, 24), this, DayNumberToDate(today - kDaysBefore));
    to_->Create(kTo, this, QRect(0, 0, 200, 24), this, DayNumberToDate(today + kDaysAfter));
    from_->setMinimumSize(200, 24);
    to_->setMinimumSize(200, 24);

    auto* grid = new QGridLayout(this);
    auto* fromLabel = new QLabel(QStringLiteral("&From"), this);
    auto* toLabel = new QLabel(QStringLiteral("&To"), this);
    fromLabel->setBuddy(from_->edit());
    toLabel->setBuddy(to_->edit());
    // The labels keep the width of their text, with a character to spare (the measured width of a
    // kerned pair such as "To" is less than the drawn one): the date fields take what is left.
    auto* dates = new QHBoxLayout;
    for (QLabel* label : {fromLabel, toLabel}) {
        label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        label->setMinimumWidth(label->sizeHint().width() + label->fontMetrics().averageCharWidth());
    }
    dates->addWidget(fromLabel);
    dates->addWidget(from_, 1);
    dates->addSpacing(8);
    dates->addWidget(toLabel);
    dates->addWidget(to_, 1);
    grid->addLayout(dates, 0, 0, 1, 4);
    grid->addWidget(list_, 1, 0, 1, 4);
    auto* side = new QVBoxLayout;
    const uint16_t ticked = CalendarBoxesTicked();
    for (size_t i = 0; i < kCalendarBoxes.size(); ++i) {
        boxes_[i] = new QCheckBox(QString::fromLatin1(kCalendarBoxes[i].text), this);
        boxes_[i]->setObjectName(QString::number(kCalendarBoxes[i].id));
        boxes_[i]->setChecked(ticked & (1u << i));
        connect(boxes_[i], &QCheckBox::toggled, this, [this] { Refill(); });
        side->addWidget(boxes_[i]);
    }
    side->addStretch();
    auto* print = new QPushButton(QStringLiteral("&Print"), this);
    print->setObjectName(QString::number(kPrint));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("2"));
    auto* help = new QPushButton(QStringLiteral("&Help"), this);
    help->setObjectName(QStringLiteral("9"));
    for (QPushButton* b : {print, close, help})
        side->addWidget(b);
    side->addWidget(new QSizeGrip(this), 0, Qt::AlignRight | Qt::AlignBottom);
    grid->addLayout(side, 0, 4, 2, 1);
    grid->setRowStretch(1, 1);
    InstallDialogHelp(*this, kHelpTopic, help);
    connect(print, &QPushButton::clicked, this, [this] { Print(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_->header(), &QHeaderView::sectionClicked, this, [this](int column) { SortBy(column); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { OpenRow(list_->indexOfTopLevelItem(item)); });
    resize(640, 420);
    Refill();
}

void CCompCalendar::Refill()
{
    uint16_t ticked = 0;
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i] && boxes_[i]->isChecked())
            ticked |= uint16_t(1u << i);
    PackedDate from = from_->ReadDate() ? from_->ReadDate() : from_->date;
    PackedDate to = to_->ReadDate() ? to_->ReadDate() : to_->date;
    shown_ = FilterCalendarEvents(events_, from, to, CalendarKindMask(ticked));
    SortCalendarEvents(shown_, sortColumn_, descending_);
    list_->Show(shown_, sortColumn_ == 0);
}

void CCompCalendar::SortBy(int column)
{
    descending_ = column == sortColumn_ ? !descending_ : false;
    sortColumn_ = column;
    Refill();
}

void CCompCalendar::OpenRow(int row)
{
    if (row < 0 || size_t(row) >= shown_.size() || !shareList_)
        return;
    const RecordCursor& share = shown_[size_t(row)].share;
    SetShareListPosition(shareList_, EntryRecordId(share), share.count, true);
    for (CViewBase* view = shareList_->views; view; view = view->nextInList)
        SendProgramMessage(*view, WM_COMMAND, kShowShareCommand, 0);
    InvalidateMatchingViews(shareList_, true, -1, -1, 0xFFFFFFFF, nullptr);
}

bool CCompCalendar::PrintTo(QPrinter& printer) const
{
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int line = p.fontMetrics().height() * 5 / 4;
    const int rowsPerPage = std::max(1, page.height() / line - 5);
    const int pages = std::max(1, int((shown_.size() + size_t(rowsPerPage) - 1) / size_t(rowsPerPage)));
    const QString heading = QStringLiteral("Quorvantis ") + windowTitle() + QStringLiteral("  ") +
                            QString::fromStdString(FormatDate(from_->date)) + QStringLiteral(" to ") +
                            QString::fromStdString(FormatDate(to_->date));
    const int columns[3] = {0, page.width() / 5, page.width() * 9 / 20};
    for (int n = 0; n < pages; ++n) {
        if (n > 0)
            printer.newPage();
        int y = line;
        p.drawText(0, y, heading);
        y += 2 * line;
        for (int r = n * rowsPerPage; r < (n + 1) * rowsPerPage && size_t(r) < shown_.size(); ++r, y += line) {
            const QTreeWidgetItem* item = list_->topLevelItem(r);
            for (int c = 0; c < 3; ++c)
                p.drawText(columns[c], y, item->text(c));
        }
        p.drawText(QRect(0, page.height() - line, page.width(), line), Qt::AlignCenter,
                   QString::asprintf("Page %i of %i", n + 1, pages));
    }
    return p.end();
}

void CCompCalendar::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Quorvantis - Calendar"));
    QPrintDialog dialog(&printer, this);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    if (!PrintTo(printer))
        ShowMessage("Printing failed", {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

// A changed date refills the list.
intptr_t CCompCalendar::onProgramMessage(uint32_t message, uintptr_t, intptr_t)
{
    if (message != MSG_DATE_FIELD_A && message != MSG_DATE_FIELD_B)
        return 0;
    Refill();
    return 1;
}

void CCompCalendar::done(int result)
{
    uint16_t ticked = 0;
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i]->isChecked())
            ticked |= uint16_t(1u << i);
    CalendarBoxesTicked() = ticked;
    QDialog::done(result);
}

void InstallCompanyCalendar()
{
    SetCommandDialog(27287, [] {
        CViewBase* view = MainFrameState().activeView;
        if (!view || !view->list)
            return false;
        CCompCalendar dialog(view->list, QApplication::activeWindow());
        RunModalDialog(dialog);
        return true;
    });
}

} // namespace qv
