// The price list box and its in-place editor.
#include "shell/ui/PriceListBox.h"

#include "platform/Beep.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "shell/PriceListRules.h"
#include "shell/ui/SoftMenuQt.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace qv {
namespace {

constexpr uint32_t kCommandOldestFirst = 26206;
constexpr uint32_t kCommandLines = 26208;
constexpr uint32_t kCommandPercent = 26220;
constexpr uint32_t kCommandAnomalyLevel = 26221;
constexpr uint32_t kPriceMenu = 378;
constexpr int kFallbackThird = 110;
constexpr int kFallbackFourth = 190;

class PriceRowDelegate : public QStyledItemDelegate {
public:
    explicit PriceRowDelegate(CPriceListBox* box) : QStyledItemDelegate(box), box_(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
        painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
        QStringList pieces = index.data().toString().split('\t');
        QList<int> stops = box_->columnStops();
        for (int i = 0; i < pieces.size() && i < stops.size(); ++i) {
            int right = i + 1 < stops.size() ? option.rect.left() + stops[i + 1] : option.rect.right();
            QRect cell(option.rect.left() + stops[i], option.rect.top(), right - option.rect.left() - stops[i],
                       option.rect.height());
            painter->save();
            painter->setClipRect(cell);
            painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, pieces[i]);
            painter->restore();
        }
        if (PriceListDisplay().lines) {
            painter->setPen(palette.mid().color());
            painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        }
    }

private:
    CPriceListBox* box_;
};

bool TypedIntoEditor(QChar c)
{
    return c.isDigit() || c == '.' || QString("mMhHcC").contains(c);
}

// A price, or the mark of a day without one.
QString PriceText(float price)
{
    if (price == kMissingPrice)
        return QStringLiteral("Missing");
    if (price == kHolidayPrice)
        return QStringLiteral("Closed");
    if (price == kSuspendedPrice)
        return QStringLiteral("Suspended");
    return QString::number(double(price), 'f', 2);
}

} // namespace

CPriceEdit::CPriceEdit(CPriceListBox* box, int element, int row)
    : QLineEdit(box->viewport()), box_(box), element_(element), row_(row)
{
    setObjectName("26209");
    setFrame(false);
}

bool CPriceEdit::event(QEvent* event)
{
    // Tab moves the editor, not the dialog's focus.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CPriceEdit::keyPressEvent(QKeyEvent* event)
{
    int key = event->key();
    if (key == Qt::Key_Escape) {
        finished_ = true;
        box_->finishEdit(true, true);
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        finished_ = true;
        bool back = key == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        box_->moveEdit(!back, box_->currentRow());
        return;
    }
    if (key == Qt::Key_Backspace || key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Delete) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QString text = event->text();
    if (text.size() == 1 && TypedIntoEditor(text[0]))
        QLineEdit::keyPressEvent(event);
}

void CPriceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (finished_)
        return;
    finished_ = true;
    box_->finishEdit(false, true);
}

CPriceListBox::CPriceListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new PriceRowDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
}

void CPriceListBox::setPrices(float* prices, int count)
{
    prices_ = prices;
    count_ = prices ? std::max(count, 0) : 0;
    refillRows();
}

int CPriceListBox::elementOfRow(int row) const { return PriceRowElement(row, count_, PriceListDisplay().oldestFirst); }

QString CPriceListBox::rowText(int row) const
{
    int element = elementOfRow(row);
    if (element < 0)
        return {};
    float price = prices_[element];
    float before = element > 0 ? prices_[element - 1] : 0;
    QString date = dayText_ ? dayText_(element) : QString();
    QString text = date + '\t' + PriceText(price);
    // The change from the day before, in percent, when the list shows changes.
    if (PriceListDisplay().percent && price > 0 && before > 0)
        text += '\t' + QString::asprintf("%+.1f%%", double(price) * 100 / double(before) - 100);
    return text;
}

void CPriceListBox::refillRows()
{
    int row = currentRow();
    int top = indexAt(QPoint(1, 1)).row();
    clear();
    for (int r = 0; r < count_; ++r)
        addItem(rowText(r));
    if (row >= 0 && row < count_)
        setCurrentRow(row);
    if (top > 0)
        scrollToItem(item(top), QAbstractItemView::PositionAtTop);
    // Showing or hiding the change column moves the last stop.
    updateGeometry();
}

QSize CPriceListBox::minimumSizeHint() const
{
    const QSize base = QListWidget::minimumSizeHint();
    const int width = columnStops().last() + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    return {std::max(base.width(), width), base.height()};
}

QList<int> CPriceListBox::columnStops() const
{
    QWidget* dialog = window();
    auto offset = [&](const char* name, int fallback) {
        QWidget* control = dialog ? dialog->findChild<QWidget*>(name) : nullptr;
        if (!control)
            return fallback;
        return control->mapTo(dialog, QPoint(0, 0)).x() - viewport()->mapTo(dialog, QPoint(0, 0)).x();
    };
    int third = offset("2837", kFallbackThird);
    int fourth = offset("1089", kFallbackFourth);
    // The first two stops are in dialog units (a quarter of the average character width).
    int unit = fontMetrics().averageCharWidth();
    QList<int> stops{2 * unit / 4, 30 * unit / 4, third, fourth};
    if (PriceListDisplay().percent)
        stops << 2 * fourth - third;
    return stops;
}

void CPriceListBox::openEditor(const QString& firstCharacter)
{
    if (editor_)
        finishEdit(false, true);
    int row = currentRow();
    int element = elementOfRow(row);
    if (element < 0)
        return;
    QRect rect = visualItemRect(item(row));
    rect.setLeft(rect.left() + columnStops().value(1));
    editor_ = new CPriceEdit(this, element, row);
    editor_->setGeometry(rect);
    editor_->setText(FromCp1252(PriceEditText(prices_[element])));
    editor_->show();
    editor_->setFocus();
    if (!firstCharacter.isEmpty())
        editor_->setText(firstCharacter);
}

void CPriceListBox::finishEdit(bool cancel, bool keepLayout)
{
    CPriceEdit* edit = editor_;
    if (!edit)
        return;
    if (!cancel) {
        PriceCommit commit = ReadPriceInput(ToCp1252(edit->text()));
        if (commit.badInput) {
            ShowMessage(kBadPriceMessage, {}, MsgButtons::Ok, MsgIcon::Exclamation);
        } else if (commit.store) {
            prices_[edit->element()] = commit.value;
            item(edit->row())->setText(rowText(edit->row()));
            if (edit->row() + 1 < count())
                item(edit->row() + 1)->setText(rowText(edit->row() + 1));
            if (edit->row() > 0)
                item(edit->row() - 1)->setText(rowText(edit->row() - 1));
            emit priceChanged(edit->element());
            if (!keepLayout)
                setCurrentRow(edit->row());
        }
    }
    editor_ = nullptr;
    edit->hide();
    edit->deleteLater();
    setFocus();
}

void CPriceListBox::moveEdit(bool forward, int row)
{
    setUpdatesEnabled(false);
    finishEdit(false, true);
    PriceMove move = PlanPriceMove(row, forward, count_);
    if (!move.inside) {
        beep();
        setUpdatesEnabled(true);
        return;
    }
    scrollToItem(item(move.top), QAbstractItemView::PositionAtTop);
    setCurrentRow(move.target);
    setUpdatesEnabled(true);
    openEditor();
}

void CPriceListBox::beep()
{
    emit beeped();
    SystemBeep();
}

bool CPriceListBox::onCommand(uint32_t command)
{
    PriceListFlags& flags = PriceListDisplay();
    switch (command) {
    case kCommandOldestFirst:
        flags.oldestFirst = !flags.oldestFirst;
        refillRows();
        emit priceChanged(-1);
        return true;
    case kCommandLines:
        flags.lines = !flags.lines;
        viewport()->update();
        return true;
    case kCommandPercent:
        flags.percent = !flags.percent;
        refillRows();
        emit priceChanged(-1);
        return true;
    case kCommandAnomalyLevel:
        if (anomalyDialog_)
            anomalyDialog_();
        return true;
    default: return false;
    }
}

QMenu* CPriceListBox::createContextMenu()
{
    QMenu* menu = CreateOwnSoftQMenu(kPriceMenu, this, [this](uint32_t command) { onCommand(command); });
    const PriceListFlags& flags = PriceListDisplay();
    for (QAction* action : menu->actions()) {
        const uint32_t command = ActionCommand(action);
        bool checked = (command == kCommandOldestFirst && flags.oldestFirst) || (command == kCommandLines && flags.lines) ||
                       (command == kCommandPercent && flags.percent);
        action->setCheckable(checked);
        action->setChecked(checked);
    }
    return menu;
}

void CPriceListBox::showContextMenu(const QPoint& global)
{
    QMenu* menu = createContextMenu();
    menu->exec(global);
    menu->deleteLater();
}

void CPriceListBox::contextMenuEvent(QContextMenuEvent* event) { showContextMenu(event->globalPos()); }

bool CPriceListBox::event(QEvent* event)
{
    // Tab and Return belong to the list, not to the dialog's focus chain.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    if (event->type() == QEvent::Close) {
        OutputDebugText("WM_CLOSE\n");
        event->ignore();
        return true;
    }
    return QListWidget::event(event);
}

void CPriceListBox::markSelected(float mark)
{
    int row = currentRow();
    int element = elementOfRow(row);
    // With no row selected there is no day to mark.
    if (element < 0)
        return;
    prices_[element] = mark;
    item(row)->setText(rowText(row));
    emit priceChanged(element);
    setCurrentRow(row);
}

void CPriceListBox::typeCharacter(QChar character)
{
    char c = character.toLatin1();
    if (c == '\r') {
        if (elementOfRow(currentRow()) >= 0)
            openEditor();
        return;
    }
    if (character.isDigit()) {
        if (elementOfRow(currentRow()) >= 0)
            openEditor(QString(character));
        return;
    }
    if (float mark = PriceMarkForKey(c); mark != 0)
        markSelected(mark);
}

void CPriceListBox::keyPressEvent(QKeyEvent* event)
{
    int key = event->key();
    if (key == Qt::Key_F10 && (event->modifiers() & Qt::ShiftModifier)) {
        QRect client = viewport()->rect();
        showContextMenu(viewport()->mapToGlobal(QPoint(client.width() / 3, client.height() / 3)));
        return;
    }
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Space) {
        bool up = key == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        int row = std::clamp(currentRow() + (up ? -1 : 1), 0, std::max(count() - 1, 0));
        if (count() > 0)
            setCurrentRow(row);
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        typeCharacter('\r');
        return;
    }
    if (key == Qt::Key_Backspace) {
        typeCharacter(QChar(kBackspaceKey));
        return;
    }
    QString text = event->text();
    if (text.size() == 1 && (text[0].isDigit() || PriceMarkForKey(text[0].toLatin1()) != 0)) {
        typeCharacter(text[0]);
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace qv
