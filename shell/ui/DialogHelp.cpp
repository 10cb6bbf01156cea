// Dialog help through a replaceable host.
#include "shell/ui/DialogHelp.h"

#include "platform/qt/QtText.h"
#include "shell/HelpTopics.h"
#include "shell/ui/MainFrame.h"
#include "views/FrameState.h"

#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QWhatsThis>

namespace qv {
namespace {

void ShowThroughFrame(uint32_t topic, bool)
{
    if (auto* frame = dynamic_cast<CMainFrame*>(MainFrameTarget())) {
        frame->WinHelp(topic);
        return;
    }
    QWhatsThis::showText(QCursor::pos(), FromCp1252(HelpTopicText(topic)));
}

DialogHelpHost& Host()
{
    static DialogHelpHost host = ShowThroughFrame;
    return host;
}

class ControlHelpFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
            return QObject::eventFilter(watched, event);
        // The key reaches the control that has the keyboard focus.
        auto* control = qobject_cast<QWidget*>(watched);
        if (ControlHelpTopic(control) == 0)
            return QObject::eventFilter(watched, event);
        ShowControlHelp(control);
        return true;
    }
};

} // namespace

DialogHelpHost SetDialogHelpHost(DialogHelpHost host)
{
    DialogHelpHost previous = Host();
    Host() = host ? std::move(host) : DialogHelpHost(ShowThroughFrame);
    return previous;
}

void ShowDialogHelp(uint32_t topic) { Host()(topic, false); }
void ShowPopupHelp(uint32_t topic) { Host()(topic, true); }

uint32_t ControlHelpTopic(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        bool ok = false;
        uint32_t id = widget->objectName().toUInt(&ok);
        if (ok && id != 0)
            return kHelpCommandBase + id;
    }
    return 0;
}

void ShowControlHelp(const QWidget* control)
{
    if (uint32_t topic = ControlHelpTopic(control))
        Host()(topic, true);
}

void InstallControlHelp(QDialog& dialog)
{
    // The filter has no meta-object of its own, so it is found by its name.
    static const QString kName = QStringLiteral("controlHelpFilter");
    if (dialog.findChild<QObject*>(kName, Qt::FindDirectChildrenOnly))
        return;
    auto* filter = new ControlHelpFilter(&dialog);
    filter->setObjectName(kName);
    dialog.installEventFilter(filter);
    for (QWidget* child : dialog.findChildren<QWidget*>())
        child->installEventFilter(filter);
}

void InstallDialogHelp(QDialog& dialog, uint32_t topic, QPushButton* helpButton)
{
    if (helpButton)
        QObject::connect(helpButton, &QPushButton::clicked, &dialog, [topic] { ShowDialogHelp(topic); });
    InstallControlHelp(dialog);
}

QDialogButtonBox* OkCancelHelpButtons(QDialog& dialog, uint32_t helpTopic)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &dialog);
    box->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    box->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    box->button(QDialogButtonBox::Help)->setObjectName(QStringLiteral("9"));
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    InstallDialogHelp(dialog, helpTopic, box->button(QDialogButtonBox::Help));
    return box;
}

} // namespace qv
