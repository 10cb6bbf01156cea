// Context help ("Help on"): the cursor becomes a question mark and the next click says what help is
// wanted for: a menu item or a toolbar button asks for its command's topic, a data window for its
// kind's, anything else for the frame's. Esc leaves the mode without asking.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

class QPoint;
class QWidget;

namespace qv {

class CContextHelpMode : public QObject {
    Q_OBJECT
public:
    // `help` is given the help request of the click (as the frame's help takes it).
    explicit CContextHelpMode(std::function<void(uint32_t)> help, QObject* parent = nullptr);
    ~CContextHelpMode() override;

    void Enter();
    bool active() const { return active_; }

    // The help request a click at `global` on `widget` makes.
    static uint32_t RequestAt(QWidget* widget, const QPoint& global);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Leave();

    std::function<void(uint32_t)> help_;
    bool active_ = false;
    bool swallowRelease_ = false;
};

} // namespace qv
