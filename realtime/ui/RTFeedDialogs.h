// The feed information window (statistics and recording) and the feed levels dialog (delivery and
// backfill levels per exchange group).
#pragma once

#include "realtime/RTFeedSettings.h"

#include <QDialog>
#include <QElapsedTimer>

#include <array>

class QButtonGroup;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace qv {

class CRTFeedInfoDlg : public QDialog {
public:
    static constexpr int kTemplateId = 694;
    static constexpr int kRecordButton = 3109;
    static constexpr int kRefreshMs = 5000;

    explicit CRTFeedInfoDlg(QWidget* parent = nullptr);
    // Opens the one window (or raises it).
    static CRTFeedInfoDlg* Open(QWidget* parent);
    static CRTFeedInfoDlg* Current();

    // Shows the figures afresh, at most once every 5 s unless forced.
    void Refresh(bool force);
    void ToggleRecording();

private:
    QElapsedTimer lastRefresh_;
    QLabel *server_, *status_, *values_;
    QPushButton* record_;
};

class CRTFeedLevelsDlg : public QDialog {
public:
    static constexpr int kTemplateId = 783;

    explicit CRTFeedLevelsDlg(QWidget* parent = nullptr);
    void accept() override;
    int step() const { return step_; }
    // The rows' chosen levels (the backfill row last).
    int RowLevel(int row) const;
    void SetRowLevel(int row, int level);
    // Marks the levels the feed delivers now; none while not connected.
    void MarkCurrentLevels();

private:
    void ShowStep(int step);
    int step_ = 2;
    bool marksShown_ = false;
    QStackedWidget* pages_;
    std::array<QButtonGroup*, kLevelGroups + 1> rows_{};
    std::array<std::array<QLabel*, 4>, kLevelGroups> marks_{};
    QPushButton *back_, *next_;
};

} // namespace qv
