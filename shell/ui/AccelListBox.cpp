// The owner-drawn command list.
#include "shell/ui/AccelListBox.h"

#include "platform/qt/QtText.h"
#include "shell/KeyEditing.h"
#include "shell/ToolbarCatalogue.h"
#include "shell/UserToolbars.h"
#include "shell/ui/ToolbarImages.h"

#include "shell/ui/ShortcutKeyCtrl.h"
#include "views/ui/KeyCodes.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace qv {
namespace {

constexpr int kItemHeight = 26;

class AccelItemDelegate : public QStyledItemDelegate {
public:
    explicit AccelItemDelegate(CAccelListBox& list) : QStyledItemDelegate(&list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), kItemHeight);
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        p->fillRect(option.rect, selected ? pal.highlight() : pal.base());
        uint32_t data = index.data(Qt::UserRole).toUInt();
        uint16_t code = uint16_t(data & 0xFFFF);
        bool picture = code < kButtonCodeCount;
        if (code >= kButtonCodeCount && code < 2 * kButtonCodeCount)
            code = uint16_t(code - kButtonCodeCount);
        RefreshToolbarImages();
        if (picture)
            p->drawImage(option.rect.topLeft() + QPoint(2, 3), ProgramToolbarStrip(kButtonsSmall, ButtonImageIndex(code)),
                         ToolbarImages::Cell(kButtonsSmall, ButtonImageIndex(code)));
        QRect text = option.rect.adjusted(30, 0, 0, 0);
        p->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        const std::vector<AcceleratorKey>* keys = list_.keyTable();
        if (keys)
            text.setRight(option.rect.left() + option.rect.width() * 82 / 100);
        p->drawText(text, Qt::AlignVCenter | Qt::AlignLeft, QLatin1Char(' ') + index.data().toString() + QLatin1Char(' '));
        if (!keys || code >= kButtonCodeCount)
            return;
        for (const AcceleratorKey& k : *keys)
            if (k.command == ButtonKeyCommand(code)) {
                QRect keyRect(text.right(), option.rect.top(), option.rect.right() - text.right(), option.rect.height());
                p->drawText(keyRect, Qt::AlignVCenter | Qt::AlignLeft, QLatin1Char(' ') + FromCp1252(KeyText(k)) + QLatin1Char(' '));
                break;
            }
    }

private:
    CAccelListBox& list_;
};

} // namespace

CAccelListBox::CAccelListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new AccelItemDelegate(*this));
    setUniformItemSizes(true);
}

QListWidgetItem* CAccelListBox::AddCode(uint32_t data, const QString& text)
{
    auto* item = new QListWidgetItem(text, this);
    item->setData(Qt::UserRole, data);
    return item;
}

void CAccelListBox::keyPressEvent(QKeyEvent* event)
{
    int key = event->key();
    bool letterOrDigit = (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
    bool navigation = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown ||
                      key == Qt::Key_Home || key == Qt::Key_End || key == Qt::Key_Tab || key == Qt::Key_Backtab;
    bool modified = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if (keyField_ && !navigation && (!letterOrDigit || modified)) {
        KeyState state = KeyStateOf(*event);
        keyField_->TakeKey(WindowsKeyCode(*event), state.shift, state.ctrl);
        return;
    }
    QListWidget::keyPressEvent(event);
}

uint16_t CAccelListBox::CodeOf(const QListWidgetItem* item)
{
    if (!item)
        return kEndOfButtons;
    uint16_t code = uint16_t(item->data(Qt::UserRole).toUInt() & 0xFFFF);
    return code >= kButtonCodeCount && code < 2 * kButtonCodeCount ? uint16_t(code - kButtonCodeCount) : code;
}

} // namespace qv
