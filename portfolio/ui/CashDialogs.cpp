// The cash-account dialogs.
#include "portfolio/ui/CashDialogs.h"

#include "core/CashAccounts.h"
#include "core/Portfolio.h"
#include "platform/qt/QtText.h"
#include "portfolio/UndoRing.h"
#include "resources/MessageIds.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/CalcEdit.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/KeyForwarding.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr int kMaxAccountName = 50;
constexpr int kMaxDescription = 200;
constexpr int kMaxReference = 19;
constexpr int kNewItem = 0xFFFE;
constexpr uint32_t kUndoNewCash = 3;
constexpr uint32_t kNameHelp = 0x20000 + 67693;
constexpr uint32_t kEntryHelp = 0x20000 + 67692;
constexpr uint32_t kChooseHelp = 0x20000 + 92097;
constexpr uint32_t kDeleteHelp = 0x20000 + 92114;

template <typename W>
W* Named(W* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

QPushButton* OkOf(QDialogButtonBox* buttons) { return buttons->findChild<QPushButton*>(QStringLiteral("1")); }

bool AccountNameTaken(const std::string& name)
{
    for (const CashAccount* a = CashAccounts().head; a; a = a->next)
        if (a->name == name)
            return true;
    return false;
}

} // namespace

int FillOrdinaryPortfolios(QComboBox& combo)
{
    combo.clear();
    for (const Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio)
            combo.addItem(FromCp1252(p->name.str()), int(p->number));
    return combo.count();
}

CCashAccountName::CCashAccountName(QWidget* parent)
    : QDialog(parent), name_(Named(new QLineEdit(this), 2155)),
      attach_(Named(new QCheckBox(QStringLiteral("Attach to only one portfolio"), this), 2127)),
      portfolios_(Named(new QComboBox(this), 2154))
{
    setObjectName(QStringLiteral("628"));
    setWindowTitle(QStringLiteral("Name new Cash Account"));
    name_->setMaxLength(kMaxAccountName);
    FillOrdinaryPortfolios(*portfolios_);
    portfolios_->setEnabled(false);
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kNameHelp);
    ok_ = OkOf(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("New cash account name:"), this));
    layout->addWidget(name_);
    layout->addWidget(attach_);
    layout->addWidget(portfolios_);
    layout->addWidget(buttons);
    connect(attach_, &QCheckBox::toggled, portfolios_, &QWidget::setEnabled);
    connect(name_, &QLineEdit::textChanged, this, [this] { UpdateOk(); });
    UpdateOk();
}

std::string CCashAccountName::name() const { return ToCp1252(name_->text()); }
bool CCashAccountName::attached() const { return attach_->isChecked() && portfolios_->currentIndex() >= 0; }
int32_t CCashAccountName::portfolioNumber() const { return attached() ? portfolios_->currentData().toInt() : -1; }

void CCashAccountName::UpdateOk()
{
    if (ok_)
        ok_->setEnabled(!name().empty() && !AccountNameTaken(name()));
}

CCashAttachPortfolio::CCashAttachPortfolio(int32_t attached, QWidget* parent)
    : QDialog(parent), attach_(Named(new QCheckBox(QStringLiteral("Attach to only one portfolio"), this), 2127)),
      portfolios_(Named(new QComboBox(this), 2154))
{
    setObjectName(QStringLiteral("630"));
    setWindowTitle(QStringLiteral("Change attached portfolio"));
    const int count = FillOrdinaryPortfolios(*portfolios_);
    const int at = portfolios_->findData(int(attached));
    attach_->setChecked(attached >= 0 && at >= 0);
    portfolios_->setCurrentIndex(at >= 0 ? at : 0);
    attach_->setEnabled(count > 0);
    portfolios_->setEnabled(attach_->isChecked());
    connect(attach_, &QCheckBox::toggled, portfolios_, &QWidget::setEnabled);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(attach_);
    layout->addWidget(portfolios_);
    layout->addWidget(OkCancelHelpButtons(*this, kNameHelp));
}

int32_t CCashAttachPortfolio::answer() const
{
    if (!attach_->isChecked() || portfolios_->currentIndex() < 0)
        return -1;
    return portfolios_->currentData().toInt();
}

CCashAccountSelect::CCashAccountSelect(int mode, QWidget* parent)
    : QDialog(parent), mode_(mode), list_(Named(new CSmallListBox(this), 1061))
{
    setObjectName(QStringLiteral("217"));
    setWindowTitle(mode == 1 ? QStringLiteral("Select a Cash Account to delete") : QStringLiteral("Select a Cash Account"));
    int position = 0;
    for (const CashAccount* a = CashAccounts().head; a; a = a->next, ++position) {
        auto* item = new QListWidgetItem(FromCp1252(a->name), list_);
        item->setData(Qt::UserRole, position);
    }
    if (mode == 0) {
        auto* item = new QListWidgetItem(QStringLiteral(" << new >>"), list_);
        item->setData(Qt::UserRole, kNewItem);
    }
    list_->setCurrentRow(0);
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, mode == 1 ? kDeleteHelp : kChooseHelp);
    ok_ = OkOf(buttons);
    // An answer needs a selection.
    auto updateOk = [this] {
        if (ok_)
            ok_->setEnabled(list_->currentItem() != nullptr && list_->currentItem()->isSelected());
    };
    connect(list_, &QListWidget::itemSelectionChanged, this, updateOk);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    updateOk();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

void CCashAccountSelect::accept()
{
    const QListWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected())
        return;
    const int value = item->data(Qt::UserRole).toInt();
    if (value == kNewItem) {
        CashAccount* made = NewCashAccount({});
        if (!made)
            return;
        PrepareAndPushUndoStep(kUndoNewCash, kUndoNew, nullptr, made);
        chosen_ = made;
        QDialog::accept();
        return;
    }
    CashAccount* a = CashAccounts().head;
    for (int i = 0; a && i < value; ++i)
        a = a->next;
    if (!a)
        return;
    chosen_ = a;
    QDialog::accept();
}

std::string CashEntryTitle(uint8_t type, bool editing)
{
    static const char* const kTypes[] = {" Credit", " Debit", "n Interest", " Charge"};
    return std::string(editing ? "Edit a" : "Add a") + kTypes[type < 4 ? type : 0] + " transaction";
}

CCashCredit::CCashCredit(const CashEntryAnswer& start, bool editing, QWidget* parent)
    : QDialog(parent), editing_(editing), date_(new CDateEdit(this)), amount_(new CCalcEdit(this)),
      type_(Named(new QComboBox(this), 2150)), description_(Named(new QLineEdit(this), 2152)),
      reference_(Named(new QLineEdit(this), 2329))
{
    setObjectName(QStringLiteral("627"));
    date_->Create(1829, this, QRect(0, 0, 220, 24), this, start.date);
    date_->setMinimumWidth(220);
    amount_->Create(2151, this, 2151);
    amount_->SetValue(start.amount);
    for (const char* t : {"Credit", "Debit", "Interest", "Charge"})
        type_->addItem(QString::fromLatin1(t));
    type_->setCurrentIndex(start.type < 4 ? start.type : 0);
    description_->setMaxLength(kMaxDescription);
    description_->setText(FromCp1252(start.description));
    reference_->setMaxLength(kMaxReference);
    reference_->setText(FromCp1252(start.reference));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Date"), date_);
    form->addRow(QStringLiteral("Amount"), amount_);
    form->addRow(QStringLiteral("Type"), type_);
    form->addRow(QStringLiteral("Description"), description_);
    form->addRow(QStringLiteral("Reference"), reference_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    auto* help = Named(buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole), 2156);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    InstallDialogHelp(*this, kEntryHelp, help);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(type_, &QComboBox::currentIndexChanged, this, [this] { UpdateTitle(); });
    UpdateTitle();
}

void CCashCredit::UpdateTitle() { setWindowTitle(FromCp1252(CashEntryTitle(uint8_t(type_->currentIndex()), editing_))); }

intptr_t CCashCredit::onProgramMessage(uint32_t message, uintptr_t, intptr_t)
{
    return message == MSG_CALCULATOR_FIELD_B ? 1 : 0;
}

CashEntryAnswer CCashCredit::answer() const
{
    CashEntryAnswer a;
    a.date = date_->ReadDate() ? date_->ReadDate() : date_->date;
    a.amount = amount_->value();
    a.type = uint8_t(std::max(type_->currentIndex(), 0));
    a.description = ToCp1252(description_->text());
    a.reference = ToCp1252(reference_->text());
    return a;
}

void InstallCashDialogs()
{
    SetNewCashAccountDialog([]() -> std::optional<NewCashAccountAnswer> {
        CCashAccountName dialog(QApplication::activeWindow());
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return std::nullopt;
        NewCashAccountAnswer answer{dialog.name(), std::nullopt};
        answer.kind = dialog.portfolioNumber();
        return answer;
    });
    FrameDialogs().cashAccountChooser = [](int mode) -> CashAccount* {
        CCashAccountSelect dialog(mode, QApplication::activeWindow());
        return RunModalDialog(dialog) == QDialog::Accepted ? dialog.chosen() : nullptr;
    };
}

void RemoveCashDialogs()
{
    SetNewCashAccountDialog({});
    FrameDialogs().cashAccountChooser = nullptr;
}

} // namespace qv
