// The ticker (view kind 11): a thin window whose tape scrolls each new trade of the intraday feed
// across or up it. The scroll step runs on the timer queue's worker, which composes the tape's image
// under the tape lock; the window shows that image on a posted update.
#pragma once

#include "core/ConfigRecords.h"
#include "realtime/TickerTape.h"
#include "realtime/TimerQueue.h"
#include "views/CommandUpdate.h"
#include "views/ui/ViewBaseWindow.h"

#include <QImage>

#include <memory>
#include <mutex>

namespace qv {

class TickerComposer;

class CViewRTTicker : public CViewBaseWnd, public CommandTarget, public TimerQueueObject {
    Q_OBJECT
public:
    static constexpr uint32_t kFirstIntervalMs = 8;

    explicit CViewRTTicker(QWidget* parent = nullptr);
    ~CViewRTTicker() override;

    void OnRefresh() override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;
    void SelectColumnSetting(int32_t number, bool resetColumns, bool keepPosition) override;
    void OnSetFocus() override;
    QString Title() const override;

    // The worker's tick: the step at the time of day, then the window is told to show the image.
    void onTimerTick(uint32_t now) override;
    // The tick's work at `tenths` (tenths of a second since midnight); tests call it directly.
    void Tick(uint32_t tenths);
    // Applies the settings to the tape and marks the layout pending.
    void RecalcLayout();
    // Installs a settings record and lays the tape out again.
    void SetSettings(const TickerSetting& settings);
    const TickerSetting& settings() const { return settings_; }
    int32_t slot() const { return secondKey; }
    // The speed in force and the interval the timer entry was last given.
    int speed() const { return speed_; }
    uint32_t interval() const { return interval_; }
    bool timerRegistered() const { return timerRegistered_; }
    // The tape's image as it stands (composed afresh).
    QImage Compose();
    TickerTape& tape() { return tape_; }
    std::mutex& tapeLock() { return lock_; }
    // The frame's size for the layout: horizontal layouts fix the height to their rows.
    QSize FrameSizeFor(const QSize& current, const QSize& nonClient, const QSize& mainClient) const;
    // Opens the design dialog (25002 and a double click).
    void OpenDesign();
    // Puts the frame back where and as large as it was (the design dialog's Cancel after a preview
    // that resized it): the settings' limits first, so that the previewed layout's fixed height does
    // not hold it, and the size remembered for the layouts with it.
    void RestoreFrame(const QRect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ApplySettingsLocked();
    void RebuildPortfolioFilter();
    void ReadRing(uint32_t tenths);
    void ResizeFrame();
    void ReplaceItemsLocked();
    QRect TapeRect() const;

    TickerSetting settings_;
    TickerTape tape_;
    std::unique_ptr<TickerComposer> composer_;
    QImage image_;
    std::mutex lock_;
    uint16_t readIndex_ = 0;
    int speed_ = 3;
    uint32_t interval_ = kFirstIntervalMs;
    uint32_t pendingInterval_ = 0;
    uint32_t lastSpeedChange_ = 0;
    bool initialised_ = false;
    bool composed_ = false; // the worker composed the image since the last paint
    bool layoutPending_ = false;
    bool timerRegistered_ = false;
    bool active_ = false;
    bool dragging_ = false;
    QPoint dragStart_;
    QSize remembered_;
    QSize nonClient_;
};

void InstallTickerViewClass();

} // namespace qv
