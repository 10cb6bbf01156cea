// The update-messages dialog.
#include "shell/ui/UpdateMessagesDlg.h"

#include "platform/qt/QtText.h"
#include "shell/UpdateMessages.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace qv {

CUpdateMessagesDlg::CUpdateMessagesDlg(std::string message, const std::filesystem::path& messageFile, QWidget* parent)
    : QDialog(parent), message_(std::move(message))
{
    setWindowTitle(QStringLiteral("Review last Pelmor update messages"));
    date_ = new QLabel(FromCp1252(UpdateMessageDateLine(messageFile)));
    tabs_ = new QTabBar;
    tabs_->setExpanding(false);
    for (const std::string& name : UpdateMessageTabs(message_))
        tabs_->addTab(FromCp1252(name));
    text_ = new QPlainTextEdit;
    text_->setReadOnly(true);
    text_->setMinimumSize(480, 260);
    display_ = new QCheckBox(QStringLiteral("Display this after each update"));
    display_->setChecked(DisplayUpdateMessageAfterUpdate());
    auto* close = new QPushButton(QStringLiteral("Close"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(tabs_, &QTabBar::currentChanged, this, &CUpdateMessagesDlg::showTab);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(display_);
    bottom->addStretch(1);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(date_);
    layout->addWidget(tabs_);
    layout->addWidget(text_, 1);
    layout->addLayout(bottom);
    layout->setSpacing(4);
    showTab(0);
}

void CUpdateMessagesDlg::showTab(int tab)
{
    // The message keeps Windows line ends; the edit wants one character per break.
    text_->setPlainText(FromCp1252(UpdateMessageTabText(message_, tab)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void CUpdateMessagesDlg::done(int result)
{
    SetDisplayUpdateMessageAfterUpdate(display_->isChecked());
    QDialog::done(result);
}

} // namespace qv
