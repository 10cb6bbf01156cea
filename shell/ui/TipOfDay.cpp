// The tip-of-the-day dialog.
#include "shell/ui/TipOfDay.h"

#include "platform/qt/QtText.h"
#include "shell/ui/FontFaces.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

CTipOfDay::CTipOfDay(const std::filesystem::path& folder, QWidget* parent)
    : QDialog(parent), reader_(std::make_unique<TipReader>(folder))
{
    setWindowTitle(QStringLiteral("Quorvantis's Tip of the Day"));
    auto* heading = new QLabel(QStringLiteral("Did you know?"));
    heading->setFont(ProgramFont(QStringLiteral("Arial"), 20, 700));
    tip_ = new QLabel(FromCp1252(reader_->tip()));
    tip_->setFont(ProgramFont(QStringLiteral("Arial"), 12, 400));
    tip_->setWordWrap(true);
    tip_->setMinimumSize(360, 90);
    tip_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setStyleSheet(QStringLiteral("QFrame { background: #FFFFF4; }"));
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(heading);
    panelLayout->addWidget(tip_, 1);

    show_ = new QCheckBox(QStringLiteral("&Show Tips on StartUp"));
    show_->setChecked(reader_->showAtStartUp());
    next_ = new QPushButton(QStringLiteral("&Next Tip"));
    next_->setEnabled(reader_->hasFile());
    auto* close = new QPushButton(QStringLiteral("&Close"));
    close->setDefault(true);
    connect(next_, &QPushButton::clicked, this, &CTipOfDay::showNextTip);
    connect(close, &QPushButton::clicked, this, &CTipOfDay::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(show_);
    buttons->addStretch(1);
    buttons->addWidget(next_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addLayout(buttons);
}

CTipOfDay::~CTipOfDay() = default;

QString CTipOfDay::tipText() const
{
    return tip_->text();
}

void CTipOfDay::showNextTip()
{
    reader_->next();
    tip_->setText(FromCp1252(reader_->tip()));
}

void CTipOfDay::accept()
{
    reader_->close(show_->isChecked());
    QDialog::accept();
}

} // namespace qv
