// The splash window, its progress bar and the program-wide splash state.
#include "shell/ui/SplashWnd.h"

#include "core/DMFilter.h"
#include "core/VexaEdition.h"
#include "platform/MessageBox.h"
#include "shell/SplashStatus.h"
#include "shell/ui/FontFaces.h"

#include <QApplication>
#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <array>

namespace qv {
namespace {

const QColor kBarBackground(0xE6, 0xE7, 0xFF);
const QColor kBarEmpty(0xFA, 0xFA, 0xFF);
const QColor kNavy(0x12, 0x2B, 0x4A);
const QColor kTeal(0x1C, 0x6E, 0x7D);
const QColor kGold(0xF2, 0xB8, 0x3B);
const QColor kPanel(0xF7, 0xF9, 0xFC);
const QColor kInk(0x33, 0x3D, 0x4A);

// The year of the build, the last four characters of the build date text.
QString BuildYear()
{
    QString date = QStringLiteral(__DATE__);
    return date.right(4);
}

// A rising price line with a few candles, the product's mark.
void DrawMark(QPainter& p, const QRect& area)
{
    static constexpr std::array<double, 12> closes{0.30, 0.36, 0.33, 0.42, 0.47, 0.44,
                                                   0.55, 0.58, 0.54, 0.66, 0.74, 0.82};
    const double step = double(area.width()) / (closes.size() - 1);
    QPainterPath line;
    for (size_t i = 0; i < closes.size(); ++i) {
        QPointF at(area.left() + i * step, area.bottom() - closes[i] * area.height());
        if (i == 0)
            line.moveTo(at);
        else
            line.lineTo(at);
        double open = i ? closes[i - 1] : closes[i];
        double top = std::max(open, closes[i]);
        double bottom = std::min(open, closes[i]);
        QRectF body(at.x() - 3, area.bottom() - top * area.height() - 2, 6,
                    (top - bottom) * area.height() + 4);
        p.fillRect(body, closes[i] >= open ? QColor(255, 255, 255, 70) : QColor(0, 0, 0, 60));
    }
    p.setPen(QPen(kGold, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(line);
}

QPointer<CSplashWnd> gSplash;
bool gSplashEnabled = false;

class QtSplashHost : public SplashHost {
public:
    bool shown() const override { return gSplash != nullptr; }
    void setStatus(int position, const std::string& text) override
    {
        gSplash->setStatus(QString::fromLatin1(text.c_str()));
        gSplash->progress().setPosition(position);
        gSplash->repaint(gSplash->statusRect());
        QApplication::processEvents();
    }
    void setProgress(int position) override
    {
        gSplash->progress().setPosition(position);
        QApplication::processEvents();
    }
};

} // namespace

QPixmap MakeSplashPicture(int width, int height)
{
    QPixmap picture(width, height);
    picture.fill(kPanel);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    const int bandHeight = height * 2 / 5;
    QLinearGradient sky(0, 0, width, bandHeight);
    sky.setColorAt(0, kNavy);
    sky.setColorAt(1, kTeal);
    p.fillRect(0, 0, width, bandHeight, sky);
    DrawMark(p, QRect(width * 27 / 40, 14, width * 11 / 40, bandHeight - 26));

    p.setPen(Qt::white);
    p.setFont(ProgramFont(QStringLiteral("Arial"), 40, 700));
    p.drawText(QRect(width / 16, 22, width, 52), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quorvantis"));
    p.setFont(ProgramFont(QStringLiteral("Arial"), 15, 400));
    p.setPen(QColor(0xDD, 0xE8, 0xF0));
    p.drawText(QRect(width / 16, 76, width, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Share analysis for the private investor"));
    p.fillRect(0, bandHeight, width, 3, kGold);
    return picture;
}

CSplashProgress::CSplashProgress(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
}

void CSplashProgress::setPosition(int position)
{
    int clamped = std::clamp(position, 0, 100);
    if (clamped == position_)
        return;
    position_ = clamped;
    update();
}

void CSplashProgress::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    const int filled = r.width() * position_ / 100;
    p.fillRect(r, kBarEmpty);
    if (filled <= 0)
        return;
    // Two rounded ends and a stretched middle, as the bar's picture is laid out.
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, r.top(), 0, r.bottom());
    shade.setColorAt(0, kTeal.lighter(150));
    shade.setColorAt(0.5, kTeal);
    shade.setColorAt(1, kNavy);
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(r.left(), r.top(), filled, r.height()), 9, 9);
}

CSplashWnd::CSplashWnd() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    setFixedSize(kWidth, kHeight);
    picture_ = MakeSplashPicture(kWidth, kHeight);
    progress_ = new CSplashProgress(this);
    const int margin = kWidth / 25;
    progress_->setGeometry(margin - 3, kHeight - kHeight / 8, kWidth - margin - (margin - 3), 18);
    QPalette palette = progress_->palette();
    palette.setColor(QPalette::Window, kBarBackground);
    progress_->setPalette(palette);
}

QRect CSplashWnd::statusRect() const
{
    const int margin = kWidth / 25;
    const int barTop = kHeight - kHeight / 8;
    return QRect(margin, barTop - 22, kWidth - 2 * margin, 20);
}

void CSplashWnd::setStatus(const QString& text)
{
    status_ = text;
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, picture_);
    p.setPen(kNavy);
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    const int margin = width() / 25;
    p.setPen(kInk);
    if (EditionOptionByte() & kEditionOn) {
        p.setFont(ProgramFont(QStringLiteral("Arial"), 15, 700));
        p.drawText(QRect(0, 132, width() - width() / 20, 20), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("Ludrin Ossery Special Edition"));
    }
    p.setFont(ProgramFont(QStringLiteral("Arial"), 14, 400));
    p.drawText(QRect(0, 150, width(), 20), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("Copyright \u00A9 Pelmor Information ") + BuildYear());
    p.setFont(ProgramFont(QStringLiteral("Arial"), 14, 400));
    p.drawText(QRect(margin, 200, width() - 2 * margin, 50), Qt::AlignHCenter | Qt::TextWordWrap,
               QStringLiteral("Prices, results, dividends and dealings are supplied by the data "
                              "providers named in the About box."));

    p.setFont(ProgramFont(QStringLiteral("Arial"), 14, 400));
    p.setPen(kNavy);
    p.drawText(statusRect(), Qt::AlignLeft | Qt::AlignVCenter, status_);
}

void EnableSplash(bool enable)
{
    gSplashEnabled = enable;
    if (!enable)
        HideSplash();
}

void ShowSplash(QWidget* parent)
{
    static QtSplashHost host;
    if (!gSplashEnabled || gSplash)
        return;
    SetSplashHost(&host);
    auto* splash = new CSplashWnd;
    if (parent)
        splash->setParent(parent, splash->windowFlags());
    if (QScreen* screen = QApplication::primaryScreen()) {
        QRect area = screen->geometry();
        splash->move(area.center() - QPoint(splash->width() / 2, splash->height() / 2));
    }
    // A message during loading (a missing or damaged database, say) would open under the splash,
    // which stays on top, and its first click would only hide the splash: the splash goes first.
    SetMessageOpeningHook(HideSplash);
    // No fade: the window effects are not available here, so the splash appears at once.
    splash->show();
    splash->raise();
    gSplash = splash;
    QApplication::processEvents();
}

void EndSplash()
{
    if (!gSplash)
        return;
    gSplash->raise();
    QTimer::singleShot(500, gSplash.data(), [] { HideSplash(); });
}

bool HideSplashOnInput(const QEvent& event)
{
    // Every event passes here, those of the splash's own destruction too: test the pointer without
    // taking it as a splash window, which it no longer is by then.
    if (gSplash.isNull())
        return false;
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
        HideSplash();
        return true;
    default:
        return false;
    }
}

void HideSplash()
{
    if (!gSplash)
        return;
    CSplashWnd* splash = gSplash;
    gSplash = nullptr;
    SetMessageOpeningHook(nullptr);
    splash->close();
    if (QWidget* main = QApplication::activeWindow())
        main->update();
}

CSplashWnd* SplashWindow()
{
    return gSplash;
}

} // namespace qv
