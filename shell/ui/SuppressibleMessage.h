// CSuppressibleMessage: the program's own message box ("Quorvantis message"), with the information
// icon, one or two buttons and the box "In the future, do not show this message" whose state goes back
// to the caller.
#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QLabel;
class QPushButton;

namespace qv {

class CSuppressibleMessage : public QDialog {
    Q_OBJECT
public:
    // The option bytes the caller sets before showing it.
    struct Options {
        bool singleButton = false;
        bool yesNo = false;
        bool help = false; // the second button shows the pop-up topic helpTopic + 0x10000
        bool checkDisabled = false;
        uint32_t helpTopic = 0;
    };

    CSuppressibleMessage(const QString& text, const Options& options, QWidget* parent = nullptr);

    // QDialog::Accepted for the first button (OK or Yes), Rejected for the second.
    int run();
    bool suppressChecked() const;
    void setSuppressChecked(bool on);

    QPushButton* firstButton() const { return first_; }
    QPushButton* secondButton() const { return second_; }
    QCheckBox* checkBox() const { return check_; }
    QLabel* textLabel() const { return text_; }

private:
    void onSecond();

    Options options_;
    QLabel* text_;
    QCheckBox* check_;
    QPushButton* first_;
    QPushButton* second_;
};

} // namespace qv
