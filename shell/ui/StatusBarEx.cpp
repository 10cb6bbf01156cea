// Status bar panes and the feed-level pane.
#include "shell/ui/StatusBarEx.h"

#include "platform/qt/QtText.h"
#include "shell/FeedLevelPane.h"
#include "shell/StatusPaneTexts.h"

#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace qv {
namespace {

QColor FromColourWord(uint32_t bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }

} // namespace

CStatusBarEx::CStatusBarEx(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(true);
}

bool CStatusBarEx::SetPanes(const QVector<int>& ids, const QVector<int>& widths)
{
    if (ids.size() != widths.size() || ids.isEmpty())
        return false;
    for (QWidget* pane : panes_) {
        removeWidget(pane);
        delete pane;
    }
    panes_.clear();
    for (qsizetype i = 0; i < ids.size(); ++i) {
        QWidget* pane = nullptr;
        if (ids[i] == kLevelPaneId) {
            pane = new CFeedLevelPane(this);
        } else {
            auto* label = new QLabel(this);
            label->setContentsMargins(4, 0, 4, 0);
            if (ids[i] != 0)
                label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            pane = label;
        }
        pane->setMinimumWidth(widths[i]);
        if (ids[i] == 0) {
            addWidget(pane, 1);
        } else {
            pane->setFixedWidth(widths[i]);
            addPermanentWidget(pane);
        }
        panes_.push_back(pane);
    }
    return true;
}

void CStatusBarEx::SetPaneText(int index, const QString& text)
{
    auto* label = qobject_cast<QLabel*>(Pane(index));
    if (!label)
        return;
    label->setText(text);
    // Back to the pane's own width after a wider text.
    if (label->minimumWidth() != label->maximumWidth() && label->maximumWidth() != QWIDGETSIZE_MAX)
        label->setFixedWidth(label->minimumWidth());
}

void CStatusBarEx::FitPaneText(int index, const QString& text)
{
    auto* label = qobject_cast<QLabel*>(Pane(index));
    if (!label || label->maximumWidth() == QWIDGETSIZE_MAX) {
        SetPaneText(index, text);
        return;
    }
    label->setText(text);
    const QMargins m = label->contentsMargins();
    const int wanted = label->fontMetrics().horizontalAdvance(text) + m.left() + m.right() + 2 * label->frameWidth() + 2;
    label->setMaximumWidth(std::max(label->minimumWidth(), wanted));
}

QString CStatusBarEx::PaneText(int index) const
{
    auto* label = qobject_cast<QLabel*>(Pane(index));
    return label ? label->text() : QString();
}

QWidget* CStatusBarEx::Pane(int index) const
{
    return index >= 0 && index < panes_.size() ? panes_[index] : nullptr;
}

void ShowDetailStatusPanes(ShareList* list, CStatusBarEx& bar, int32_t columnCode, bool indexFlag)
{
    bar.SetPaneText(1, FromCp1252(FormatSharePaneText(list, columnCode, indexFlag)));
    bar.SetPaneText(2, FromCp1252(FormatMarketPaneText(list)));
}

CFeedLevelPane::CFeedLevelPane(QWidget* parent) : QWidget(parent) { setFixedHeight(16); }

void CFeedLevelPane::paintEvent(QPaintEvent*)
{
    const FeedLevels& levels = CurrentFeedLevels();
    QPainter p(this);
    int top = (height() - 12) / 2;
    for (const LevelBlock& b : FeedLevelBlocks(levels.wanted, levels.inUse, levels.connectionState))
        p.fillRect(b.x, top + b.top, b.width, b.bottom - b.top, FromColourWord(b.colour));
}

} // namespace qv
