// The InfoCentre find dialog.
#include "infocentre/ui/InCFindDlg.h"

#include "infocentre/ui/HtmlCtrl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

CInCFindDlg::CInCFindDlg(Finder find, const QString& seed, QWidget* parent) : QDialog(parent), find_(std::move(find))
{
    setWindowTitle("Find");
    setObjectName("InfoCentre Find");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* grid = new QGridLayout(this);
    auto* label = new QLabel("Fi&nd what:", this);
    edit_ = new QLineEdit(seed, this);
    edit_->setObjectName("3505");
    label->setBuddy(edit_);
    edit_->setCursorPosition(int(seed.size()));
    auto* findNext = new QPushButton("&Find Next", this);
    findNext->setObjectName("3508");
    findNext->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    wholeWord_ = new QCheckBox("Match &whole word only", this);
    wholeWord_->setObjectName("3509");
    matchCase_ = new QCheckBox("Match &case", this);
    matchCase_->setObjectName("3510");
    auto* direction = new QGroupBox("Direction", this);
    auto* directionRow = new QHBoxLayout(direction);
    up_ = new QRadioButton("&Up", direction);
    up_->setObjectName("3506");
    down_ = new QRadioButton("&Down", direction);
    down_->setObjectName("3507");
    down_->setChecked(true);
    directionRow->addWidget(up_);
    directionRow->addWidget(down_);
    auto* checks = new QVBoxLayout;
    checks->addWidget(wholeWord_);
    checks->addWidget(matchCase_);
    grid->addWidget(label, 0, 0);
    grid->addWidget(edit_, 0, 1, 1, 2);
    grid->addWidget(findNext, 0, 3);
    grid->addLayout(checks, 1, 0, 1, 2);
    grid->addWidget(direction, 1, 2);
    grid->addWidget(cancel, 1, 3, Qt::AlignTop);
    connect(findNext, &QPushButton::clicked, this, &CInCFindDlg::FindNext);
    connect(cancel, &QPushButton::clicked, this, &CInCFindDlg::reject);
    findNext->setEnabled(!seed.isEmpty());
    connect(edit_, &QLineEdit::textChanged, findNext, [findNext](const QString& text) {
        findNext->setEnabled(!text.isEmpty());
    });
}

uint32_t CInCFindDlg::Flags() const
{
    return (up_->isChecked() ? kFindUp : 0u) | (wholeWord_->isChecked() ? kFindWholeWord : 0u) |
           (matchCase_->isChecked() ? kFindMatchCase : 0u);
}

void CInCFindDlg::FindNext()
{
    find_(edit_->text(), Flags());
}

void CInCFindDlg::reject()
{
    // A last search inside the selection leaves the last hit selected.
    find_(edit_->text(), kFindInSelection);
    QDialog::reject();
}

} // namespace qv
