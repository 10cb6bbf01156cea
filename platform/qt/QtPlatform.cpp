// Qt implementations of the platform hosts.
#include "platform/qt/QtPlatform.h"

#include "platform/Beep.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "platform/qt/KeptLines.h"
#include "platform/qt/QtDisplay.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtReportPrinter.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <vector>

namespace qv {
namespace {

std::vector<QMessageBox::StandardButton> ButtonsOf(MsgButtons buttons)
{
    using B = QMessageBox;
    switch (buttons) {
    case MsgButtons::Ok: return {B::Ok};
    case MsgButtons::OkCancel: return {B::Ok, B::Cancel};
    case MsgButtons::YesNo: return {B::Yes, B::No};
    case MsgButtons::YesNoCancel: return {B::Yes, B::No, B::Cancel};
    case MsgButtons::RetryCancel: return {B::Retry, B::Cancel};
    case MsgButtons::AbortRetryIgnore: return {B::Abort, B::Retry, B::Ignore};
    }
    return {B::Ok};
}

MsgAnswer AnswerOf(int button)
{
    switch (button) {
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Abort: return MsgAnswer::Abort;
    case QMessageBox::Retry: return MsgAnswer::Retry;
    case QMessageBox::Ignore: return MsgAnswer::Ignore;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return MsgAnswer::Ok;
    }
}

QMessageBox::Icon IconOf(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Stop: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

class QtMessageBoxHost : public MessageBoxHost {
public:
    MsgAnswer show(const MessageRequest& request) override
    {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(request.caption.empty() ? QStringLiteral("Quorvantis") : FromCp1252(request.caption));
        box.setText(FromCp1252(request.text));
        // A text broken into lines by its writer keeps those lines.
        if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
            label->setMinimumWidth(KeptLinesWidth(label->fontMetrics(), label->text(), 0, 560));
        box.setIcon(IconOf(request.icon));
        auto buttons = ButtonsOf(request.buttons);
        for (auto b : buttons)
            box.addButton(b);
        size_t index = size_t(request.defaultButton) < buttons.size() ? size_t(request.defaultButton) : 0;
        box.setDefaultButton(buttons[index]);
        // The close button answers as Cancel where there is one, else as the default.
        box.setEscapeButton(box.button(QMessageBox::Cancel) ? QMessageBox::Cancel : buttons[index]);
        return AnswerOf(box.exec());
    }
};

} // namespace

void InstallQtPlatform()
{
    static QtMessageBoxHost host;
    SetMessageBoxHost(&host);
    static QtDisplayHost display;
    SetDisplayHost(&display);
    InstallFaceSubstitutes();
    InstallQtReportPrinter();
    SetBeepHandler([] { QApplication::beep(); });
    SetPostWakeup([] {
        QMetaObject::invokeMethod(qApp, [] { DeliverPostedMessages(); }, Qt::QueuedConnection);
    });
}

} // namespace qv
