// The new-name dialog and the group's adjust dialog.
#include "portfolio/ui/PortfolioNameDlgs.h"

#include "platform/qt/QtText.h"
#include "core/Portfolio.h"
#include "portfolio/PortfolioMaking.h"
#include "portfolio/PortfolioRoutines.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {
namespace {

constexpr int kMaxNameLength = 50;
constexpr uint32_t kNewNameHelp = 86454;

QListWidgetItem* Item(QListWidget* list, const std::string& text, uint16_t key)
{
    auto* item = new QListWidgetItem(FromCp1252(text), list);
    item->setData(Qt::UserRole, int(key));
    return item;
}

} // namespace

CNewName::CNewName(const QString& title, const QString& line, const std::string& name, bool allowDuplicates,
                   QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(FromCp1252(name), this)), allowDuplicates_(allowDuplicates)
{
    setObjectName(QStringLiteral("208"));
    setWindowTitle(title);
    edit_->setObjectName(QStringLiteral("1060"));
    edit_->setMaxLength(kMaxNameLength);
    auto* second = new QLabel(line, this);
    second->setObjectName(QStringLiteral("2840"));
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, 0x20000 + kNewNameHelp);
    ok_ = buttons->findChild<QPushButton*>(QStringLiteral("1"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("New name:"), this));
    layout->addWidget(edit_);
    layout->addWidget(second);
    layout->addWidget(buttons);
    connect(edit_, &QLineEdit::textChanged, this, [this] { UpdateOk(); });
    UpdateOk();
    edit_->setFocus();
    resize(360, sizeHint().height());
}

std::string CNewName::name() const { return ToCp1252(edit_->text()); }

void CNewName::UpdateOk()
{
    if (ok_)
        ok_->setEnabled(PortfolioNameAcceptable(name(), allowDuplicates_));
}

CAdjustPortfolios::CAdjustPortfolios(Portfolio& group, QWidget* parent)
    : QDialog(parent), group_(group), copy_(GroupMemberKeys(group)), keys_(copy_),
      excluded_(new QListWidget(this)), included_(new QListWidget(this))
{
    setObjectName(QStringLiteral("502"));
    setWindowTitle(QStringLiteral("Adjust portfolios included"));
    excluded_->setObjectName(QStringLiteral("1886"));
    included_->setObjectName(QStringLiteral("1887"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Portfolios not included"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Portfolios included"), this), 0, 2);
    grid->addWidget(excluded_, 1, 0);
    grid->addWidget(included_, 1, 2);
    auto* middle = new QVBoxLayout;
    const struct {
        const char* text;
        int id;
        void (CAdjustPortfolios::*run)();
    } kButtons[] = {{">>", 1602, &CAdjustPortfolios::AddAll}, {">", 1603, &CAdjustPortfolios::AddSelected},
                    {"<", 1604, &CAdjustPortfolios::RemoveSelected}, {"<<", 1605, &CAdjustPortfolios::RemoveAll}};
    middle->addStretch();
    for (const auto& b : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(b.text), this);
        button->setObjectName(QString::number(b.id));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, run = b.run] {
            (this->*run)();
            SetGroupMemberKeys(group_, keys_);
            Refill();
        });
        middle->addWidget(button);
    }
    middle->addStretch();
    grid->addLayout(middle, 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    InstallControlHelp(*this);
    Refill();
    resize(460, 300);
}

void CAdjustPortfolios::Refill()
{
    excluded_->clear();
    included_->clear();
    const std::vector<MemberChoice> choices = UserPortfolioChoices();
    for (const MemberChoice& c : choices)
        if (std::find(keys_.begin(), keys_.end(), c.key) == keys_.end())
            Item(excluded_, c.name, c.key);
    // A member whose portfolio is gone stays in the list without being shown.
    for (uint16_t key : keys_) {
        auto it = std::find_if(choices.begin(), choices.end(), [key](const MemberChoice& c) { return c.key == key; });
        if (it != choices.end())
            Item(included_, it->name, key);
    }
    if (excluded_->count() > 0)
        excluded_->setCurrentRow(0);
    if (included_->count() > 0)
        included_->setCurrentRow(0);
}

void CAdjustPortfolios::AddSelected()
{
    QListWidgetItem* item = excluded_->currentItem();
    if (!item)
        return;
    const uint16_t key = uint16_t(item->data(Qt::UserRole).toInt());
    if (std::find(keys_.begin(), keys_.end(), key) == keys_.end())
        keys_.push_back(key);
}

void CAdjustPortfolios::RemoveSelected()
{
    QListWidgetItem* item = included_->currentItem();
    if (!item)
        return;
    const uint16_t key = uint16_t(item->data(Qt::UserRole).toInt());
    keys_.erase(std::remove(keys_.begin(), keys_.end(), key), keys_.end());
}

void CAdjustPortfolios::AddAll()
{
    for (const MemberChoice& c : UserPortfolioChoices())
        if (std::find(keys_.begin(), keys_.end(), c.key) == keys_.end())
            keys_.push_back(c.key);
}

void CAdjustPortfolios::RemoveAll() { keys_.clear(); }

void CAdjustPortfolios::accept()
{
    SetGroupMemberKeys(group_, keys_);
    QDialog::accept();
}

void CAdjustPortfolios::reject()
{
    SetGroupMemberKeys(group_, copy_);
    QDialog::reject();
}

bool AskPortfolioNameDialog(const Portfolio& portfolio, int mode, std::string& name, QWidget* parent)
{
    CNewName dialog(QString::fromStdString(PortfolioNameTitle(mode)),
                    FromCp1252(PortfolioNameLine(mode, portfolio.name.str())), portfolio.name.str(), false, parent);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    name = dialog.name();
    return true;
}

} // namespace qv
