// "Slide show": how the slide show runs through the current view or portfolio, the delay between
// shares (0.1 to 60 seconds) and whether it loops at the end of the list; "Start" is OK.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace qv {

class CSlideShow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDelay = 2388, kLoop = 2389;
    static constexpr double kShortest = 0.1, kLongest = 60;

    CSlideShow(double seconds, bool loop, QWidget* parent = nullptr);

    double seconds() const { return seconds_; }
    bool loop() const { return loop_; }
    QLineEdit* delayField() const { return delay_; }
    QCheckBox* loopBox() const { return loopBox_; }

    // A delay outside 0.1 to 60 seconds is refused and the dialog stays open.
    void accept() override;

private:
    QLineEdit* delay_;
    QCheckBox* loopBox_;
    double seconds_;
    bool loop_;
};

// Runs the dialog on the frame's values; true on "Start".
bool RunSlideShowDialog(double& seconds, bool& loop);

} // namespace qv
