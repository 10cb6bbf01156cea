// The legend window's context menu: the legend design dialog for the chart the legend is bound to,
// on the half of the screen away from the legend, rebuilding the legend on Preview, OK and Cancel.
#include "chartmodel/LegendSettings.h"
#include "chartmodel/LegendStyleStore.h"
#include "chartmodel/ui/GraphLegend.h"
#include "chartmodel/ui/LegendDesignDlg.h"
#include "shell/ui/ModalDialog.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QScreen>

namespace qv {

void CGraphLegend::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    if (!view_ || !source_)
        return;
    CLegendDesignDlg dialog(ProgramLegendItems(source_->intraday), ProgramLegendStyle(),
                            LegendModel::GetAvailableItems(*source_), source_->intraday, this);
    dialog.SetRebuild([this] {
        ApplyLegendStyle(ProgramLegendStyle(), ProgramLegendSettings());
        SaveLegendStyle(logicalDpiY());
        ApplySettings();
        UpdateLegend(false);
    });
    if (QScreen* screen = QGuiApplication::screenAt(frameGeometry().center())) {
        QRect area = screen->availableGeometry();
        dialog.adjustSize();
        bool legendOnLeft = frameGeometry().center().x() < area.center().x();
        int x = legendOnLeft ? area.center().x() + (area.width() / 2 - dialog.width()) / 2
                             : area.left() + (area.width() / 2 - dialog.width()) / 2;
        dialog.move(std::max(area.left(), x), area.top() + std::max(0, (area.height() - dialog.height()) / 2));
    }
    RunModalDialog(dialog);
}

} // namespace qv
