// Dialog help through a replaceable host.
#include "shell/ui/DialogHelp.h"

#include "platform/qt/QtText.h"
#include "shell/HelpTopics.h"

#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QWhatsThis>

namespace qv {
namespace {

void ShowStandIn(uint32_t topic, bool)
{
    QWhatsThis::showText(QCursor::pos(), FromCp1252(HelpTopicText(topic)));
}

DialogHelpHost& Host()
{
    static DialogHelpHost host = ShowStandIn;
    return host;
}

class F1Filter : public QObject {
public:
    explicit F1Filter(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
            return QObject::eventFilter(watched, event);
        auto* dialog = static_cast<QDialog*>(parent());
        ShowControlHelp(dialog->focusWidget());
        return true;
    }
};

} // namespace

DialogHelpHost SetDialogHelpHost(DialogHelpHost host)
{
    DialogHelpHost previous = Host();
    Host() = host ? std::move(host) : DialogHelpHost(ShowStandIn);
    return previous;
}

void ShowDialogHelp(uint32_t topic) { Host()(topic, false); }

uint32_t ControlId(const QWidget* control)
{
    if (!control)
        return 0;
    bool ok = false;
    uint32_t id = control->objectName().toUInt(&ok);
    return ok ? id : 0;
}

void ShowControlHelp(const QWidget* control)
{
    uint32_t id = ControlId(control);
    if (id != 0)
        Host()(id + kHelpCommandBase, true);
}

void InstallDialogHelp(QDialog& dialog, uint32_t topic, QPushButton* helpButton)
{
    if (helpButton)
        QObject::connect(helpButton, &QPushButton::clicked, &dialog, [topic] { ShowDialogHelp(topic); });
    auto* filter = new F1Filter(&dialog);
    dialog.installEventFilter(filter);
    for (QWidget* child : dialog.findChildren<QWidget*>())
        child->installEventFilter(filter);
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
