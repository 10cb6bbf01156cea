// The triggered-alarms and alarm-review dialogs.
#include "tools/ui/AlarmListDlgs.h"

#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "core/SystemDate.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "platform/qt/QtText.h"
#include "portfolio/PortfolioRoutines.h"
#include "resources/MessageIds.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/SoftMenuQt.h"
#include "tools/alarms/ShareAlarmRecord.h"
#include "tools/options/ui/OptionsSheet.h"
#include "tools/ui/ShareAlarmDlg.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"

#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr uint32_t kCommandShowPortfolio = 20312;
constexpr uint16_t kPresetPortfolioPage = 0x0002;

QPushButton* Button(QWidget* parent, const QString& text, int id)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::number(id));
    return b;
}

bool Confirm(const char* text)
{
    return ShowMessage(text, {}, MsgButtons::YesNo, MsgIcon::Question, 1) == MsgAnswer::Yes;
}

} // namespace

CAlarmListDlg::CAlarmListDlg(const char* id, const QString& title, const QStringList& heads, uint32_t helpTopic,
                             QWidget* parent)
    : QDialog(parent), editShare(EditShareAlarms), list_(new QTreeWidget(this)), helpTopic_(helpTopic)
{
    setObjectName(QString::fromLatin1(id));
    setWindowTitle(title);
    list_->setHeaderLabels(heads);
    list_->setRootIsDecorated(false);
    list_->setMinimumSize(560, 240);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { OnCommand(kCommandEdit); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
}

void CAlarmListDlg::AddButtons(const std::vector<QPushButton*>& buttons)
{
    auto* box = new QDialogButtonBox(this);
    for (QPushButton* b : buttons)
        box->addButton(b, QDialogButtonBox::ActionRole);
    QPushButton* close = box->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("2"));
    QPushButton* help = box->addButton(QDialogButtonBox::Help);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    InstallDialogHelp(*this, helpTopic_, help);
    layout()->addWidget(box);
    const int width = list_->minimumWidth();
    list_->setColumnWidth(0, width * 35 / 100);
    list_->setColumnWidth(1, width * 35 / 100);
}

void CAlarmListDlg::Fill()
{
    list_->clear();
    const std::vector<AlarmListLine> lines = Collect();
    if (lines.empty()) {
        list_->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral(" No alarms")}));
        return;
    }
    for (const AlarmListLine& line : lines) {
        auto* item = new QTreeWidgetItem(QStringList{FromCp1252(" " + line.name),
                                                     FromCp1252(line.text[0] + line.text[1] + line.text[2]),
                                                     FromCp1252(line.note)});
        item->setData(0, Qt::UserRole, line.key);
        list_->addTopLevelItem(item);
    }
    list_->setCurrentItem(list_->topLevelItem(0));
}

QStringList CAlarmListDlg::Lines() const
{
    QStringList out;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list_->topLevelItem(i);
        out << (item->text(1).isEmpty() ? item->text(0) : item->text(0) + '\t' + item->text(1) + '\t' + item->text(2));
    }
    return out;
}

uint32_t CAlarmListDlg::SelectedKey() const
{
    const QTreeWidgetItem* item = list_->currentItem();
    return item ? item->data(0, Qt::UserRole).toUInt() : 0;
}

void CAlarmListDlg::OnCommand(uint32_t command)
{
    const uint32_t key = SelectedKey();
    switch (command) {
    case kMenuEdit:
    case kCommandEdit:
        if (key && editShare && editShare(uint16_t(key & 0xFFFF), uint8_t(key >> 16)))
            Fill();
        return;
    case kCommandDelete:
        if (key)
            Delete(false);
        return;
    case kCommandDeleteAll:
        if (Confirm("Are you sure you want to delete all alarms?"))
            Delete(true);
        return;
    default:
        return;
    }
}

QMenu* CAlarmListDlg::CreateContextMenu()
{
    QMenu* menu = CreateOwnSoftQMenu(kContextMenu, this, [this](uint32_t command) { OnCommand(command); });
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            action->setEnabled(ActionCommand(action) == kCommandDeleteAll || SelectedKey() != 0);
    return menu;
}

void CAlarmListDlg::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

CTriggeredAlarmsDlg::CTriggeredAlarmsDlg(QWidget* parent)
    : CAlarmListDlg("564", QStringLiteral("Triggered alarms"),
                    {QStringLiteral("Company name"), QStringLiteral("Alarm"), QStringLiteral("Note")}, 0x20000 + 564, parent),
      runOptions([] { return RunOptionsSheet(kPresetPortfolioPage); })
{
    list()->setObjectName(QString::number(kList));
    QPushButton* edit = Button(this, QStringLiteral("Edit"), kEdit);
    QPushButton* options = Button(this, QStringLiteral("Options"), kOptions);
    QPushButton* view = Button(this, QStringLiteral("View portfolio"), kViewPortfolio);
    connect(edit, &QPushButton::clicked, this, [this] { OnCommand(kCommandEdit); });
    connect(options, &QPushButton::clicked, this, [this] {
        if (runOptions && runOptions())
            Fill();
    });
    connect(view, &QPushButton::clicked, this, &CTriggeredAlarmsDlg::ViewPortfolio);
    AddButtons({edit, options, view});
    Fill();
}

std::vector<AlarmListLine> CTriggeredAlarmsDlg::Collect() const { return ListTriggeredAlarms(GetTodayDate(0)); }

void CTriggeredAlarmsDlg::Delete(bool all)
{
    if (all)
        DeleteAllShareAlarmRecords();
    else
        DeleteShareAlarmRecord(uint16_t(SelectedKey() & 0xFFFF), uint8_t(SelectedKey() >> 16));
    Fill();
}

void CTriggeredAlarmsDlg::ViewPortfolio()
{
    CViewBase* view = MainFrameState().activeView;
    Portfolio* alarms = FindPortfolioByNumber(kAlarmsNumber);
    if (view && view->list && alarms)
        SetShareListSource(view->list, alarms, 0, 0, true, true);
    // Without an "Alarms" portfolio the frame is still asked to show the list.
    if (MessageTarget* frame = MainFrameTarget())
        PostProgramMessage(*frame, WM_COMMAND, kCommandShowPortfolio);
    accept();
}

CReviewAlarmsDlg::CReviewAlarmsDlg(QWidget* parent)
    : CAlarmListDlg("561", QStringLiteral("Review individual share alarms"),
                    {QStringLiteral("Company name"), QStringLiteral("Alarm type"), QStringLiteral("Other")}, 0x20000 + 561,
                    parent)
{
    list()->setObjectName(QString::number(kList));
    QPushButton* edit = Button(this, QStringLiteral("Edit"), kEdit);
    QPushButton* remove = Button(this, QStringLiteral("Delete"), kDelete);
    connect(edit, &QPushButton::clicked, this, [this] { OnCommand(kCommandEdit); });
    connect(remove, &QPushButton::clicked, this, [this] { OnCommand(kCommandDelete); });
    AddButtons({edit, remove});
    Fill();
}

void CReviewAlarmsDlg::Delete(bool all)
{
    if (all)
        DeleteAllShareAlarmRecords();
    else if (Confirm("Are you sure you want to delete this alarm?"))
        DeleteShareAlarmRecord(uint16_t(SelectedKey() & 0xFFFF), uint8_t(SelectedKey() >> 16));
    else
        return;
    Fill();
}

} // namespace qv
