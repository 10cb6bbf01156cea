// The rename and function-key dialogs.
#include "shell/ui/RenameItem.h"

#include "shell/ui/DialogHelp.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace qv {
namespace {

constexpr int kNameLimit = 50;
constexpr uint32_t kRenameHelp = 86457;
constexpr uint32_t kTableKeyHelp = 86459;

} // namespace

QString NamedKindWord(int kind, bool dataMiningTables)
{
    switch (kind) {
    case -2: return QStringLiteral("layout");
    case 0: return QStringLiteral("graph setting");
    case 1: return QStringLiteral("list table");
    case 2: return QStringLiteral("portfolio table");
    case 3: return QString();
    case 4: return QStringLiteral("transaction table");
    case 5: return QStringLiteral("dealings table");
    case 6: return dataMiningTables ? QStringLiteral("data mining table") : QStringLiteral("data mining setting");
    case 7: return QStringLiteral("cash table");
    case 8: return QStringLiteral("news table");
    case 9: return QStringLiteral("intraday graph setting");
    case 10: return QStringLiteral("trade list table");
    case 11: return QStringLiteral("ticker setting");
    default: return QString();
    }
}

CRenameItem::CRenameItem(int kind, const QString& name, bool current, bool dataMiningTables, QWidget* parent)
    : QDialog(parent), known_(kind == -2 || (kind >= 0 && kind <= 11)), edit_(new QLineEdit(this))
{
    setObjectName(QStringLiteral("207"));
    QString word = NamedKindWord(kind, dataMiningTables);
    setWindowTitle((current ? QStringLiteral("Rename the current ") : QStringLiteral("Rename this ")) + word);
    auto* label = new QLabel(QStringLiteral("New name for %1 (%2)").arg(word, name), this);
    label->setObjectName(QStringLiteral("1342"));
    edit_->setObjectName(QStringLiteral("1050"));
    edit_->setMaxLength(kNameLimit);
    edit_->setText(name);
    edit_->selectAll();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addWidget(OkCancelHelpButtons(*this, kRenameHelp));
}

QString CRenameItem::name() const { return edit_->text(); }

int CRenameItem::exec()
{
    if (!known_) {
        setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

CTableKey::CTableKey(const QString& name, int keyIndex, QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(this)), shift_(new QCheckBox(QStringLiteral("Shift"), this)),
      ctrl_(new QCheckBox(QStringLiteral("Ctrl"), this))
{
    setObjectName(QStringLiteral("215"));
    setWindowTitle(QStringLiteral("Save %1 to another key combination").arg(name));
    edit_->setObjectName(QStringLiteral("1106"));
    edit_->setMaxLength(kNameLimit);
    edit_->setText(name);
    shift_->setObjectName(QStringLiteral("1046"));
    ctrl_->setObjectName(QStringLiteral("1047"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Name"), this), 0, 0);
    grid->addWidget(edit_, 0, 1, 1, 3);
    static const char* kKeys[] = {"F2", "F3", "F4"};
    for (int i = 0; i < 3; ++i) {
        keys_[i] = new QRadioButton(QString::fromLatin1(kKeys[i]), this);
        keys_[i]->setObjectName(QString::number(1043 + i));
        grid->addWidget(keys_[i], 1, i + 1);
    }
    grid->addWidget(shift_, 2, 1);
    grid->addWidget(ctrl_, 2, 2);
    grid->addWidget(OkCancelHelpButtons(*this, kTableKeyHelp), 3, 0, 1, 4);
    int index = std::clamp(keyIndex, 0, 11);
    keys_[index % 3]->setChecked(true);
    shift_->setChecked((index / 3) & 1);
    ctrl_->setChecked((index / 3) & 2);
}

int CTableKey::keyIndex() const
{
    int key = 0;
    for (int i = 0; i < 3; ++i)
        if (keys_[i]->isChecked())
            key = i;
    return key + (shift_->isChecked() ? 3 : 0) + (ctrl_->isChecked() ? 6 : 0);
}

QString CTableKey::name() const { return edit_->text(); }

} // namespace qv
