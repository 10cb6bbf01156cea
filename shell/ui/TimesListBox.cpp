// Trading-times list: rows painted by a delegate, selection, divider drag and the in-place editor.
#include "shell/ui/TimesListBox.h"

#include "core/ui/PenSelect.h"
#include "shell/TimesListRules.h"
#include "shell/ui/ControlLook.h"
#include "shell/ui/FilteredEdit.h"
#include "shell/ui/TimeEdit.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace qv {

class TimesRowDelegate : public QStyledItemDelegate {
public:
    explicit TimesRowDelegate(CTimesListBox& list) : QStyledItemDelegate(&list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(1, list_.rowHeight_);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect row = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        const uint32_t window = SystemColourWord(SystemColour::Window);
        const uint32_t fill = selected                 ? SystemColourWord(SystemColour::Highlight)
                              : IsBandRow(index.row()) ? BandColour(window, SystemColourWord(SystemColour::Highlight))
                                                       : window;
        painter->fillRect(row, ColourFromWord(fill));
        const int divider = list_.divider_;
        const int bottom = row.bottom();
        DrawEtchedLine(*painter, QPoint(row.left(), bottom - 1), QPoint(row.right(), bottom - 1));
        DrawEtchedLine(*painter, QPoint(divider - 2, row.top()), QPoint(divider - 2, bottom));
        const std::string text = index.data(Qt::DisplayRole).toString().toStdString();
        const TimesRowText parts = SplitTimesRow(text);
        const int seconds = index.data(Qt::UserRole).toInt();
        painter->setPen(ColourFromWord(SystemColourWord(selected ? SystemColour::HighlightText : SystemColour::WindowText)));
        painter->setFont(list_.font());
        const QRect label(row.left() + 3, row.top(), divider - 3 - row.left() - 3, row.height() - 1);
        painter->drawText(label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          QString::fromStdString(std::string(parts.label)));
        const QRect time(divider + 3, row.top(), row.right() - divider - 3, row.height() - 1);
        painter->drawText(time, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          QString::fromStdString(TimesColumnText(seconds, parts.suffix)));
    }

private:
    CTimesListBox& list_;
};

CTimesListBox::CTimesListBox(QWidget* parent) : QListWidget(parent)
{
    setFont(DefaultGuiFont());
    rowHeight_ = QFontMetrics(font()).boundingRect(QStringLiteral("8")).height() + 4;
    setItemDelegate(new TimesRowDelegate(*this));
    setSortingEnabled(false);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    connect(this, &QListWidget::currentRowChanged, this, &CTimesListBox::CurrentRowChanged);
}

void CTimesListBox::AddRow(const QString& text, int seconds)
{
    auto* item = new QListWidgetItem(text, this);
    item->setData(Qt::UserRole, seconds);
}

int CTimesListBox::RowTime(int row) const
{
    const QListWidgetItem* it = item(row);
    return it ? it->data(Qt::UserRole).toInt() : 0;
}

void CTimesListBox::SelectExchange(int n)
{
    SelectRow(2 * n);
    viewport()->update();
}

void CTimesListBox::CommitEdit() { EndEdit(true); }

void CTimesListBox::CancelEdit()
{
    EndEdit(false);
    SelectRow(-1);
    viewport()->update();
}

void CTimesListBox::EndEdit(bool commit)
{
    if (!editor_)
        return;
    CTimeEdit* editor = editor_;
    editor_ = nullptr;
    if (commit && item(editRow_))
        item(editRow_)->setData(Qt::UserRole, editor->ReadTime());
    editRow_ = -1;
    editor->hide();
    editor->deleteLater();
}

int CTimesListBox::RowAt(const QPoint& point) const
{
    const QModelIndex index = indexAt(point);
    return index.isValid() ? index.row() : -1;
}

bool CTimesListBox::SelectRow(int row)
{
    if (row == hotRow_)
        return false;
    if (row < 0) {
        CurrentRowChanged(-1);
        setCurrentRow(-1);
        clearSelection();
    } else {
        setCurrentRow(row);
    }
    return true;
}

void CTimesListBox::CurrentRowChanged(int row)
{
    if (row == hotRow_)
        return;
    CommitEdit();
    previousRow_ = hotRow_;
    hotRow_ = row;
}

void CTimesListBox::OpenEditor()
{
    CommitEdit();
    if (hotRow_ < 0)
        return;
    editRow_ = hotRow_;
    editor_ = new CTimeEdit(viewport());
    editor_->Create(kEditorId, viewport(), QRect(), editorDialog_, nullptr, false);
    PlaceEditor();
    editor_->SetLimit(-1);
    editor_->SetTime(RowTime(editRow_), true);
    editor_->show();
    editor_->edit()->selectAll();
    editor_->setFocus();
}

void CTimesListBox::PlaceEditor()
{
    if (!editor_)
        return;
    const QRect row = visualItemRect(item(editRow_));
    editor_->setGeometry(divider_ + 3, row.top(), viewport()->width() - divider_ - 3, row.height());
}

void CTimesListBox::focusInEvent(QFocusEvent* event)
{
    // Taking the focus selects nothing: a row is selected by the user or the page.
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CTimesListBox::paintEvent(QPaintEvent* event)
{
    if (divider_ == 0 && count() > 0)
        divider_ = viewport()->width() / 2;
    QListWidget::paintEvent(event);
    if (!dragging_)
        return;
    QPainter painter(viewport());
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(Qt::white);
    painter.drawLine(dragX_, 0, dragX_, viewport()->height());
}

void CTimesListBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    if (divider_ > 0 && NearDivider(p.x(), divider_)) {
        CommitEdit();
        dragging_ = true;
        dragX_ = ClampDivider(p.x(), viewport()->width());
        viewport()->update();
        return;
    }
    const int row = RowAt(p);
    selectedBeforePress_ = row >= 0 && row == hotRow_;
    if (SelectRow(row))
        viewport()->update();
}

void CTimesListBox::mouseMoveEvent(QMouseEvent* event)
{
    const int x = int(event->position().x());
    if (dragging_) {
        dragX_ = ClampDivider(x, viewport()->width());
        // The pointer is held to the drag's range too, so the line stays under it.
        if (dragX_ != x)
            QCursor::setPos(viewport()->mapToGlobal(QPoint(dragX_, int(event->position().y()))));
        viewport()->update();
        return;
    }
    viewport()->setCursor(divider_ > 0 && NearDivider(x, divider_) ? Qt::SizeHorCursor : Qt::ArrowCursor);
}

void CTimesListBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    if (dragging_) {
        dragging_ = false;
        divider_ = ClampDivider(p.x(), viewport()->width());
        viewport()->update();
        return;
    }
    if (selectedBeforePress_ && RowAt(p) == hotRow_)
        OpenEditor();
    selectedBeforePress_ = false;
}

void CTimesListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int row = RowAt(event->position().toPoint());
    selectedBeforePress_ = row >= 0 && row == hotRow_;
    if (SelectRow(row) && row >= 0)
        OpenEditor();
    viewport()->update();
}

void CTimesListBox::wheelEvent(QWheelEvent* event)
{
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + (event->angleDelta().y() > 0 ? -1 : 1));
    event->accept();
}

void CTimesListBox::scrollContentsBy(int dx, int dy)
{
    QListWidget::scrollContentsBy(dx, dy);
    PlaceEditor();
}

} // namespace qv
