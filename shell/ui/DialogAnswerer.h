// Answering the modal dialogs of an unattended run (the command sweep, the scripted use) from a
// timer, inside their real modal loops: OK, as the dialog's own OK button, or Cancel.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <vector>

class QWidget;

namespace qv {

class CDialogAnswerer {
public:
    enum class Answer { Ok, Cancel };
    // Answers the dialog first when it returns true (the scripted use fills some in).
    using Hook = std::function<bool(QWidget& dialog)>;

    explicit CDialogAnswerer(Answer answer);

    void SetAnswer(Answer answer) { answer_ = answer; }
    void SetHook(Hook hook) { hook_ = std::move(hook); }
    // The titles of the dialogs answered, with the answer, in order.
    const QStringList& answered() const { return answered_; }

private:
    void Tick();
    void Respond(QWidget& dialog);

    QTimer timer_;
    Answer answer_;
    Hook hook_;
    QPointer<QWidget> current_;
    std::vector<QPointer<QWidget>> seen_;
    int ticks_ = 0;
    QStringList answered_;
};

// Presses the dialog's OK button (or its default button where it has no OK); a file dialog for
// saving takes the name it shows. False when it has neither.
bool PressOk(QWidget& dialog);

} // namespace qv
