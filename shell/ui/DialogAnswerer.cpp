// Unattended answers to modal dialogs.
#include "shell/ui/DialogAnswerer.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <algorithm>

namespace qv {
namespace {

constexpr int kTickMs = 20;
// A dialog still up this many ticks after its answer (its checks refused OK, say) is cancelled;
// after twice as many it is closed whatever it does.
constexpr int kTicksBeforeCancel = 5;

QString PlainText(const QString& text)
{
    QString plain = text;
    plain.remove(QLatin1Char('&'));
    return plain.trimmed();
}

void Cancel(QWidget& dialog)
{
    if (auto* modal = qobject_cast<QDialog*>(&dialog))
        modal->reject();
    else
        dialog.close();
}

} // namespace

bool PressOk(QWidget& dialog)
{
    // An open dialog has nothing chosen for it; a save dialog takes the name it offers.
    if (auto* files = qobject_cast<QFileDialog*>(&dialog); files && files->acceptMode() != QFileDialog::AcceptSave)
        return false;
    if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
        for (QAbstractButton* button : box->buttons()) {
            if (box->buttonRole(button) != QDialogButtonBox::AcceptRole || !button->isEnabled())
                continue;
            button->click();
            return true;
        }
    }
    QPushButton* fallback = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (!button->isVisible() || !button->isEnabled())
            continue;
        if (PlainText(button->text()) == QLatin1String("OK")) {
            button->click();
            return true;
        }
        if (button->isDefault() && !fallback)
            fallback = button;
    }
    if (!fallback)
        return false;
    fallback->click();
    return true;
}

CDialogAnswerer::CDialogAnswerer(Answer answer) : answer_(answer)
{
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start(kTickMs);
}

void CDialogAnswerer::Tick()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
        current_ = nullptr;
        return;
    }
    // A drop-down list left open in the dialog goes first: it holds the dialog's input.
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return;
    }
    if (modal != current_) {
        current_ = modal;
        ticks_ = 0;
        // A dialog back on top after one it opened has gone was answered already: it is only
        // closed if it stays.
        std::erase_if(seen_, [](const QPointer<QWidget>& dialog) { return dialog.isNull(); });
        if (std::find(seen_.begin(), seen_.end(), modal) != seen_.end())
            return;
        seen_.push_back(modal);
        // Answered from the event loop, not from this tick: an answer may run a dialog of its own,
        // which the timer must be free to answer in turn.
        QMetaObject::invokeMethod(
            modal, [this, dialog = QPointer<QWidget>(modal)] {
                if (dialog)
                    Respond(*dialog);
            },
            Qt::QueuedConnection);
        return;
    }
    ++ticks_;
    if (ticks_ == kTicksBeforeCancel)
        Cancel(*modal);
    else if (ticks_ >= 2 * kTicksBeforeCancel)
        modal->close();
}

void CDialogAnswerer::Respond(QWidget& dialog)
{
    const QString title = dialog.windowTitle();
    if (hook_ && hook_(dialog)) {
        answered_ << title + QStringLiteral(" (scripted)");
        return;
    }
    if (answer_ == Answer::Ok && PressOk(dialog)) {
        answered_ << title + QStringLiteral(" (OK)");
        return;
    }
    answered_ << title + QStringLiteral(" (cancelled)");
    Cancel(dialog);
}

} // namespace qv
