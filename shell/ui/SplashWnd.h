// The splash screen: a borderless picture with a status line and a progress bar, shown while the
// program starts and gone on a key or click, or half a second after start-up ends.
#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

class QEvent;

namespace qv {

class CSplashProgress : public QWidget {
    Q_OBJECT
public:
    explicit CSplashProgress(QWidget* parent);
    void setPosition(int position);
    int position() const { return position_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int position_ = 0;
};

class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 480;
    static constexpr int kHeight = 320;

    CSplashWnd();

    const QString& status() const { return status_; }
    void setStatus(const QString& text);
    CSplashProgress& progress() { return *progress_; }
    // The band of the status line, above the progress bar.
    QRect statusRect() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap picture_;
    QString status_ = QStringLiteral("Starting Quorvantis");
    CSplashProgress* progress_;
};

// The product picture, drawn by the program.
QPixmap MakeSplashPicture(int width, int height);

// The program-wide splash. ShowSplash does nothing unless enabled and none is shown.
void EnableSplash(bool enable);
void ShowSplash(QWidget* parent);
// Start-up has ended: the splash comes to the top and goes 500 ms later.
void EndSplash();
// First in the application's event filter: while a splash is shown a key or button press hides it
// and is eaten.
bool HideSplashOnInput(const QEvent& event);
void HideSplash();
CSplashWnd* SplashWindow();

} // namespace qv
