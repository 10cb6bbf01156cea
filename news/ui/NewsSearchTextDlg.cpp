// The share search-text dialogs.
#include "news/ui/NewsSearchTextDlg.h"

#include "core/StringPrintf.h"
#include "news/NewsDatabase.h"
#include "news/NewsListRows.h"
#include "news/NewsSearch.h"
#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr uint32_t kModifiedSharesHelpTopic = 0x20000 + 662; // the modified-shares dialog's template

constexpr const char* kNote = "This option enables the search used to locate companies to be refined for greater "
                              "accuracy as needs be.  For most companies the default search is sufficient.";

std::string OwnText(uint32_t shareId)
{
    for (const NewsSearchText& t : NewsSearchTexts(TheNewsDatabase().catalogue()))
        if (t.shareId == (shareId & 0xFFFF))
            return t.text;
    return {};
}

} // namespace

QString ModifiedSharesText()
{
    const size_t count = NewsSearchTexts(TheNewsDatabase().catalogue()).size();
    return QString::fromLatin1(StringPrintf("%d shares have modified search text", int(count)));
}

CNewsSearchTextDlg::CNewsSearchTextDlg(uint32_t shareId, QWidget* parent) : QDialog(parent), shareId_(shareId)
{
    setWindowTitle(QStringLiteral("Edit share's news search text"));
    own_ = FromCp1252(OwnText(shareId));
    default_text_ = FromCp1252(DefaultNewsSearchText(shareId));
    text_ = new QLineEdit(this);
    default_ = new QCheckBox(QStringLiteral("Use default search"), this);
    count_ = new QLabel(ModifiedSharesText(), this);
    auto* note = new QLabel(QString::fromLatin1(kNote), this);
    note->setWordWrap(true);
    // Stepping between shares is not offered: the two buttons stay without an action.
    auto* previous = new QPushButton(QStringLiteral("<< Previous"), this);
    auto* next = new QPushButton(QStringLiteral("Next >>"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(default_, &QCheckBox::toggled, this, &CNewsSearchTextDlg::UseDefault);

    auto* whole = new QVBoxLayout(this);
    whole->addWidget(new QLabel(QStringLiteral("Enter the news search text for this share"), this));
    whole->addWidget(text_);
    whole->addWidget(default_);
    auto* counted = new QHBoxLayout;
    counted->addWidget(new QLabel(QStringLiteral("Num. of selected shares"), this));
    counted->addWidget(count_, 1);
    whole->addLayout(counted);
    auto* steps = new QHBoxLayout;
    steps->addWidget(previous);
    steps->addWidget(next);
    steps->addStretch(1);
    steps->addWidget(buttons);
    whole->addWidget(note);
    whole->addLayout(steps);

    text_->setText(own_.isEmpty() ? default_text_ : own_);
    default_->setChecked(own_.isEmpty());
    UseDefault(own_.isEmpty());
    resize(460, 220);
}

QString CNewsSearchTextDlg::countText() const { return count_->text(); }

void CNewsSearchTextDlg::UseDefault(bool on)
{
    if (on)
        text_->setText(default_text_);
    else if (!own_.isEmpty())
        text_->setText(own_);
    text_->setEnabled(!on);
}

void CNewsSearchTextDlg::accept()
{
    const std::string text = default_->isChecked() ? std::string() : ToCp1252(text_->text());
    // A text equal to the default is no change of the share's search.
    SetNewsSearchText(TheNewsDatabase().catalogue(), shareId_ & 0xFFFF,
                      text == ToCp1252(default_text_) ? std::string() : text);
    QDialog::accept();
}

CNewsModifiedSharesDlg::CNewsModifiedSharesDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Shares with modified search text"));
    list_ = new QListWidget(this);
    count_ = new QLabel(this);
    auto* edit = new QPushButton(QStringLiteral("Edit"), this);
    auto* clear = new QPushButton(QStringLiteral("Clear all"), this);
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    InstallDialogHelp(*this, kModifiedSharesHelpTopic, help);
    connect(edit, &QPushButton::clicked, this, &CNewsModifiedSharesDlg::EditSelected);
    connect(list_, &QListWidget::itemDoubleClicked, this, &CNewsModifiedSharesDlg::EditSelected);
    connect(clear, &QPushButton::clicked, this, &CNewsModifiedSharesDlg::ClearAll);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(edit);
    buttons->addWidget(clear);
    buttons->addStretch(1);
    buttons->addWidget(help);
    buttons->addWidget(close);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Select a share"), this));
    left->addWidget(list_, 1);
    left->addWidget(count_);
    auto* whole = new QHBoxLayout(this);
    whole->addLayout(left, 1);
    whole->addLayout(buttons);
    Fill();
    resize(380, 300);
}

QString CNewsModifiedSharesDlg::countText() const { return count_->text(); }

void CNewsModifiedSharesDlg::Fill()
{
    list_->clear();
    for (const NewsSearchText& t : NewsSearchTexts(TheNewsDatabase().catalogue())) {
        const std::string name = NewsShareName(t.shareId);
        auto* item = new QListWidgetItem(name.empty() ? QStringLiteral("<Unknown Share>") : FromCp1252(name), list_);
        item->setData(Qt::UserRole, t.shareId);
    }
    if (list_->count())
        list_->setCurrentRow(0);
    count_->setText(ModifiedSharesText());
}

void CNewsModifiedSharesDlg::EditSelected()
{
    const QListWidgetItem* item = list_->currentItem();
    if (!item)
        return;
    CNewsSearchTextDlg dialog(item->data(Qt::UserRole).toUInt(), this);
    RunModalDialog(dialog);
    Fill();
}

void CNewsModifiedSharesDlg::ClearAll()
{
    StoreNewsSearchTexts(TheNewsDatabase().catalogue(), {});
    Fill();
}

} // namespace qv
