// Page groups of dialog controls.
#include "core/ui/PageGroup.h"

#include "platform/qt/QtText.h"

#include <QTabBar>
#include <QWidget>

namespace qv {

QWidget* DialogControl(QWidget* dialog, uint16_t id)
{
    return dialog && id ? dialog->findChild<QWidget*>(QString::number(id)) : nullptr;
}

void MoveControlGroup(QWidget* dialog, uint16_t reference, uint16_t anchor, const std::vector<uint16_t>& controls,
                      uint32_t flags)
{
    QWidget* ref = DialogControl(dialog, reference);
    QWidget* anc = DialogControl(dialog, anchor);
    if (!ref || !anc)
        return;
    // Both rectangles in the dialog's coordinates, whatever parent each control has.
    QRect r(ref->mapTo(dialog, QPoint(0, 0)), ref->size());
    QRect a(anc->mapTo(dialog, QPoint(0, 0)), anc->size());
    int dx = (flags & 1) ? a.right() - r.right() : a.left() - r.left();
    int dy = (flags & 2) ? a.bottom() - r.bottom() : a.top() - r.top();
    anc->move(anc->pos() - QPoint(dx, dy));
    for (uint16_t id : controls)
        if (QWidget* control = DialogControl(dialog, id))
            control->move(control->pos() - QPoint(dx, dy));
}

void CPageGroup::SetPage(int i, uint16_t anchor, bool showAnchor, std::vector<uint16_t> controls)
{
    if (i < 0 || i >= kPageCount)
        return;
    anchors_[size_t(i)] = anchor;
    showAnchor_[size_t(i)] = showAnchor;
    controls_[size_t(i)] = std::move(controls);
}

void CPageGroup::ClearPage(int i) { SetPage(i, 0, false, {}); }

int CPageGroup::PageLimit() const
{
    int n = 0;
    while (n < kPageCount && anchors_[size_t(n)] != 0)
        ++n;
    return n;
}

void CPageGroup::AlignPages(uint16_t reference, uint32_t flags)
{
    for (int i = 0; i < kPageCount; ++i)
        if (anchors_[size_t(i)] != 0 && anchors_[size_t(i)] != reference)
            MoveControlGroup(dialog_, reference, anchors_[size_t(i)], controls_[size_t(i)], flags);
}

void CPageGroup::HideAllPages()
{
    for (int i = 0; i < PageLimit(); ++i)
        ShowPage(i, false);
}

void CPageGroup::SelectPage(int i)
{
    if (i == current_ || i < 0 || i >= kPageCount)
        return;
    if (current_ < 0) {
        for (int k = 0; k < PageLimit(); ++k)
            if (k != i)
                ShowPage(k, false);
    } else {
        ShowPage(current_, false);
    }
    ShowPage(i, true);
    current_ = i;
}

void CPageGroup::ShowPage(int i, bool show)
{
    if (i < 0 || i >= kPageCount)
        return;
    if (showAnchor_[size_t(i)])
        if (QWidget* anchor = DialogControl(dialog_, anchors_[size_t(i)]))
            anchor->setVisible(show);
    for (uint16_t id : controls_[size_t(i)])
        if (QWidget* control = DialogControl(dialog_, id))
            control->setVisible(show);
}

QTabBar* CTabPageGroup::TabBar() const { return qobject_cast<QTabBar*>(DialogControl(dialog_, tabControl_)); }

void CTabPageGroup::AddTab(int i, uint16_t anchor, bool showAnchor, std::vector<uint16_t> controls,
                           const std::string& text)
{
    SetPage(i, anchor, showAnchor, std::move(controls));
    QTabBar* bar = TabBar();
    if (anchor == 0 || !bar)
        return;
    bar->removeTab(i);
    bar->insertTab(i, FromCp1252(text));
}

void CTabPageGroup::RemoveTab(int i)
{
    if (QTabBar* bar = TabBar())
        bar->removeTab(i);
    ClearPage(i);
}

void CTabPageGroup::SelectTab(int i)
{
    if (QTabBar* bar = TabBar())
        bar->setCurrentIndex(i);
    SelectPage(i);
}

} // namespace qv
