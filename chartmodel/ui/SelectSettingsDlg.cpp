// The check list of graph settings.
#include "chartmodel/ui/SelectSettingsDlg.h"

#include "core/ConfigState.h"
#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace qv {

CSelectSettingsDlg::CSelectSettingsDlg(bool intraday, uint16_t mask, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this))
{
    setObjectName(QStringLiteral("26566"));
    setWindowTitle(QStringLiteral("Select setting to display"));
    list_->setObjectName(QStringLiteral("1000"));
    const auto& names = intraday ? Config().intradayGraphs.names : Config().dailyGraphs.names;
    for (size_t i = 0; i < names.size(); ++i) {
        QString name = names[i] ? FromCp1252(*names[i]) : QStringLiteral("Setting %1").arg(i + 1);
        auto* item = new QListWidgetItem(name, list_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState((mask >> i) & 1 ? Qt::Checked : Qt::Unchecked);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(OkCancelHelpButtons(*this, 0));
}

uint16_t CSelectSettingsDlg::mask() const
{
    uint16_t mask = 0;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked)
            mask = uint16_t(mask | (1u << i));
    return mask;
}

} // namespace qv
