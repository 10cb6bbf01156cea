// Item tooltips of a list.
#include "shell/ui/ItemListBox.h"

#include <QHelpEvent>
#include <QToolTip>

namespace qv {
namespace {
constexpr int kTipTextLimit = 80;
}

CItemListBox::CItemListBox(QWidget* parent) : QListWidget(parent) { setMouseTracking(true); }

void CItemListBox::SetItem(int n, const QString& text)
{
    if (n < 0)
        return;
    while (tips_.size() <= n)
        tips_.append(QString());
    tips_[n] = text;
}

void CItemListBox::RemoveAll()
{
    tips_.clear();
    clear();
}

QString CItemListBox::TipAt(const QPoint& point) const
{
    QListWidgetItem* item = itemAt(point);
    if (!item)
        return {};
    int n = row(item);
    if (n < 0 || n >= tips_.size())
        return {};
    return tips_[n].left(kTipTextLimit);
}

bool CItemListBox::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QListWidget::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    QString tip = TipAt(help->pos());
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, viewport(), visualItemRect(itemAt(help->pos())));
    return true;
}

} // namespace qv
