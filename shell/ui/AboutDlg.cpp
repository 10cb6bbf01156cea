// The About and training dialogs.
#include "shell/ui/AboutDlg.h"

#include "core/ui/PenSelect.h"
#include "platform/qt/QtText.h"
#include "shell/ui/FontFaces.h"
#include "shell/ui/SplashWnd.h"
#include "shell/ui/Statics.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr uint32_t kAboutBackground = 0xFFFAFA; // a colour word, 0x00BBGGRR
constexpr int kHeaderHeight = CSplashWnd::kHeight * 2 / 5 + 3; // the picture's band and its gold rule
constexpr int kMargin = 10;

QLabel* WrappedLabel(const QString& text)
{
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

QHBoxLayout* CloseRow(QDialog* dialog)
{
    auto* close = new QPushButton(QStringLiteral("Close"));
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(close);
    return row;
}

} // namespace

CAboutDlg::CAboutDlg(const AboutTexts& texts, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Quorvantis"));
    header_ = MakeSplashPicture(CSplashWnd::kWidth, CSplashWnd::kHeight).copy(0, 0, kHeaderWidth, kHeaderHeight);

    auto* group = new QGroupBox(QStringLiteral(" Database Information "));
    version_ = new QLabel(FromCp1252(texts.version));
    version_->setFont(ProgramFont(QStringLiteral("Arial"), 13, 700));
    auto* columns = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        counts_[i] = new QLabel(FromCp1252(texts.counts[i]).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        columns->addWidget(counts_[i], 1, Qt::AlignTop);
    }
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(version_);
    groupLayout->addLayout(columns);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kHeaderHeight + kMargin, kMargin, kMargin);
    layout->addWidget(group);
    // Without the real-time option the overseas notices are not there and the dialog is shorter.
    for (const std::string& notice : texts.notices) {
        QLabel* label = WrappedLabel(FromCp1252(notice));
        label->setFont(ProgramFont(QStringLiteral("Arial"), 11));
        notices_.append(label);
        layout->addWidget(label);
    }
    layout->addLayout(CloseRow(this));
    setFixedWidth(kHeaderWidth + 2 * kMargin);
    setFixedHeight(sizeHint().height());
}

void CAboutDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ColourFromWord(kAboutBackground));
    painter.drawPixmap(kMargin, kMargin / 2, header_);
}

CTrainingDlg::CTrainingDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Quorvantis Training"));
    title_ = new QLabel(QStringLiteral("Quorvantis Training"));
    title_->setFont(ProgramFont(QStringLiteral("Arial"), 14, 700));
    link_ = new CLinkStatic(QStringLiteral("Quorvantis training information and products"),
                            QString::fromLatin1(kTarget),
                            QStringLiteral("View Quorvantis training information and products"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(WrappedLabel(QStringLiteral(
        "Get more from Quorvantis with our training: guides to the charts and indicators, worked examples of "
        "filtering the share list, and sessions on keeping portfolios and their tax reports.")));
    layout->addWidget(WrappedLabel(QStringLiteral("Click the link below to see what is on offer:")));
    layout->addWidget(link_);
    layout->addLayout(CloseRow(this));
    setMinimumWidth(360);
}

} // namespace qv
