// "Choose how to link windows": asked when the active window is already linked to others, whether it
// breaks that link and moves alone, or takes its whole group along.
#pragma once

#include "shell/WindowLinking.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace qv {

class CLinkWindowsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kChoiceNone = -1;
    static constexpr int kChoiceBreakLink = 1;
    static constexpr int kChoiceLinkTogether = 2;
    static constexpr uint32_t kHelpTopic = 0x20000 + 744;

    CLinkWindowsDlg(const LinkDialogTexts& texts, bool conflict, QWidget* parent = nullptr);

    int choice() const { return choice_; }
    void SetHelpHandler(std::function<void(uint32_t)> help) { help_ = std::move(help); }
    // Shows the dialog modally; unattended runs answer Cancel at once. The choice, or kChoiceNone.
    int Run();

    QPushButton* breakButton() const { return break_; }
    QPushButton* togetherButton() const { return together_; }

private:
    void Choose(int choice);

    int choice_ = kChoiceNone;
    QPushButton* break_;
    QPushButton* together_;
    std::function<void(uint32_t)> help_;
};

} // namespace qv
