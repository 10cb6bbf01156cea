// The dialog that chooses how to link windows.
#include "shell/ui/LinkWindowsDlg.h"

#include "platform/qt/QtText.h"
#include "shell/ui/ModalDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

QLabel* TextLabel(const std::string& text, const char* id, QWidget* parent)
{
    auto* label = new QLabel(FromCp1252(text), parent);
    label->setObjectName(QString::fromLatin1(id));
    label->setWordWrap(true);
    label->setMinimumWidth(380);
    return label;
}

QPushButton* Button(const char* text, const char* id, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(id));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CLinkWindowsDlg::CLinkWindowsDlg(const LinkDialogTexts& texts, bool conflict, QWidget* parent)
    : QDialog(parent), break_(Button("Break link", "2952", this)), together_(Button("Link together", "1017", this))
{
    setWindowTitle(QStringLiteral("Choose how to link windows"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TextLabel(texts.situation, "2955", this));
    auto* choices = new QHBoxLayout;
    auto* breakColumn = new QVBoxLayout;
    breakColumn->addWidget(TextLabel(texts.breakLink, "2953", this), 1, Qt::AlignTop);
    breakColumn->addWidget(break_);
    auto* togetherColumn = new QVBoxLayout;
    QLabel* togetherText = TextLabel(texts.linkTogether, "2954", this);
    togetherColumn->addWidget(togetherText, 1, Qt::AlignTop);
    togetherColumn->addWidget(together_);
    choices->addLayout(breakColumn);
    choices->addLayout(togetherColumn);
    layout->addLayout(choices);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    QPushButton* cancel = Button("Cancel", "2", this);
    QPushButton* help = Button("Help", "9", this);
    bottom->addWidget(cancel);
    bottom->addWidget(help);
    layout->addLayout(bottom);
    togetherText->setEnabled(!conflict);
    together_->setEnabled(!conflict);
    connect(break_, &QPushButton::clicked, this, [this] { Choose(kChoiceBreakLink); });
    connect(together_, &QPushButton::clicked, this, [this] { Choose(kChoiceLinkTogether); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] {
        if (help_)
            help_(kHelpTopic);
    });
}

void CLinkWindowsDlg::Choose(int choice)
{
    choice_ = choice;
    accept();
}

int CLinkWindowsDlg::Run() { return RunModalDialog(*this) == QDialog::Accepted ? choice_ : kChoiceNone; }

} // namespace qv
