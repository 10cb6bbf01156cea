// The key dialogs.
#include "shell/ui/AcceleratorsDlg.h"

#include "core/Portfolio.h"
#include "platform/Beep.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "shell/KeyEditing.h"
#include "shell/KeyTable.h"
#include "shell/ToolbarCatalogue.h"
#include "shell/ToolbarFile.h"
#include "shell/ToolbarTexts.h"
#include "shell/UserToolbars.h"
#include "shell/ui/AccelListBox.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/ShortcutKeyCtrl.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace qv {
namespace {

QString CommandText(uint16_t code)
{
    return FromCp1252(ButtonLabel(code));
}

QPushButton* Button(const char* text, int id, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::number(id));
    return b;
}

} // namespace

CAcceleratorsDlg::CAcceleratorsDlg(QWidget* parent)
    : QDialog(parent), working_(KeyTable()), tabs_(new QTabBar(this)), list_(new CAccelListBox(this)),
      system_(new QLabel(this)), assigned_(new QLabel(this)), key_(new CShortcutKeyCtrl(this)),
      portfolios_(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Keyboard accelerators"));
    working_.reserve(working_.size() + 40);
    list_->setObjectName(QStringLiteral("1864"));
    list_->SetKeyTable(&working_);
    list_->LinkKeyField(key_);
    system_->setObjectName(QStringLiteral("1884"));
    assigned_->setObjectName(QStringLiteral("1868"));
    portfolios_->setObjectName(QStringLiteral("1980"));
    for (Portfolio* p = PortfolioChain(); p; p = p->next.get())
        portfolios_->addItem(FromCp1252(p->name.str()), uint32_t(p->number));
    portfolios_->setEnabled(false);
    for (int t = 0; t < kKeyEditorTabCount; ++t)
        tabs_->addTab(QString::fromLatin1(KeyEditorTabName(t)));

    auto* systemBox = new QGroupBox(QStringLiteral(" System accelerator "), this);
    (new QVBoxLayout(systemBox))->addWidget(system_);
    auto* assignedBox = new QGroupBox(QStringLiteral(" Currently assigned to "), this);
    (new QVBoxLayout(assignedBox))->addWidget(assigned_);
    QPushButton* set = Button("Set", 1862, this);
    QPushButton* clear = Button("Clear", 1863, this);
    QPushButton* clearAll = Button("Clear all", 1866, this);
    QPushButton* defaults = Button("Default", 1861, this);
    QPushButton* available = Button("Available keys", 1867, this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* side = new QVBoxLayout;
    side->addWidget(systemBox);
    side->addWidget(new QLabel(QStringLiteral("Key:"), this));
    side->addWidget(key_);
    side->addWidget(assignedBox);
    side->addWidget(set);
    side->addWidget(clear);
    side->addWidget(clearAll);
    side->addWidget(defaults);
    side->addWidget(available);
    side->addWidget(new QLabel(QStringLiteral("Portfolio:"), this));
    side->addWidget(portfolios_);
    side->addStretch();
    auto* grid = new QGridLayout(this);
    grid->addWidget(tabs_, 0, 0, 1, 2);
    grid->addWidget(list_, 1, 0);
    grid->addLayout(side, 1, 1);
    grid->addWidget(buttons, 2, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    resize(760, 480);

    connect(tabs_, &QTabBar::currentChanged, this, [this](int t) { SetTab(t); });
    connect(list_, &QListWidget::currentRowChanged, this, [this] { OnCommandChosen(); });
    connect(key_, &CShortcutKeyCtrl::hotKeyChanged, this, [this] { OnKeyChanged(); });
    connect(set, &QPushButton::clicked, this, [this] { OnSet(); });
    connect(clear, &QPushButton::clicked, this, [this] { OnClear(); });
    connect(clearAll, &QPushButton::clicked, this, [this] { OnClearAll(); });
    connect(defaults, &QPushButton::clicked, this, [this] { OnDefault(); });
    connect(available, &QPushButton::clicked, this, [this] { OnAvailableKeys(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    FillList();
}

void CAcceleratorsDlg::FillList()
{
    list_->clear();
    for (uint16_t code : KeyEditorOrder()) {
        if (!ButtonAvailable(code) || !KeyEditorTabHolds(tab_, code))
            continue;
        uint32_t data = KeyOnlyCode(code) ? uint32_t(code + kButtonCodeCount) : code;
        list_->AddCode(data, CommandText(code));
    }
    if (list_->count() > 0)
        list_->setCurrentRow(0);
}

void CAcceleratorsDlg::SetTab(int tab)
{
    tab_ = tab;
    if (tabs_->currentIndex() != tab)
        tabs_->setCurrentIndex(tab);
    FillList();
}

bool CAcceleratorsDlg::SelectCode(uint16_t code)
{
    for (int i = 0; i < list_->count(); ++i)
        if (CAccelListBox::CodeOf(list_->item(i)) == code) {
            list_->setCurrentRow(i);
            return true;
        }
    return false;
}

uint16_t CAcceleratorsDlg::ChosenCode() const { return CAccelListBox::CodeOf(list_->currentItem()); }

void CAcceleratorsDlg::OnCommandChosen()
{
    uint16_t code = ChosenCode();
    system_->setText(code < kButtonCodeCount ? FromCp1252(SystemAcceleratorText(code)) : QString());
    key_->SetHotKey(0, 0);
    portfolios_->setEnabled(IsPortfolioCode(code));
    if (IsPortfolioCode(code)) {
        int index = portfolios_->findData(ProgramToolbars().portfolioTargets[code - kFirstPortfolioCode]);
        portfolios_->setCurrentIndex(index);
    }
}

void CAcceleratorsDlg::OnKeyChanged()
{
    if (key_->key() == 0) {
        assigned_->setText(QStringLiteral("Not in use"));
        return;
    }
    uint16_t holder = KeyHolder(working_, key_->key(), key_->modifiers());
    uint16_t code = holder ? CodeForKeyCommand(holder) : kEndOfButtons;
    assigned_->setText(holder == 0 ? QStringLiteral("Not in use")
                       : code != kEndOfButtons ? CommandText(code)
                                               : QString::number(holder));
}

QString CAcceleratorsDlg::OnSet()
{
    uint16_t code = ChosenCode();
    if (code >= kButtonCodeCount)
        return {};
    QString message;
    switch (AssignKey(working_, ButtonKeyCommand(code), key_->key(), key_->modifiers())) {
    case SetKeyResult::NoKey: message = QStringLiteral("No accelerator set"); break;
    case SetKeyResult::FixedKey: message = QStringLiteral("Key is associated with a system accelerator"); break;
    case SetKeyResult::Set: break;
    }
    if (!message.isEmpty()) {
        ShowMessage(ToCp1252(message), {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return message;
    }
    list_->viewport()->update();
    OnKeyChanged();
    if (auto* box = findChild<QDialogButtonBox*>())
        if (QPushButton* ok = box->button(QDialogButtonBox::Ok))
            ok->setFocus();
    return {};
}

void CAcceleratorsDlg::OnClear()
{
    uint16_t code = ChosenCode();
    if (code >= kButtonCodeCount || !ClearKey(working_, ButtonKeyCommand(code)))
        SystemBeep();
    list_->viewport()->update();
}

void CAcceleratorsDlg::OnClearAll()
{
    working_.clear();
    list_->viewport()->update();
}

void CAcceleratorsDlg::OnDefault()
{
    working_.clear();
    AddDefaultAccelerators(working_, true);
    list_->viewport()->update();
}

void CAcceleratorsDlg::OnAvailableKeys()
{
    CAccelKeysDlg keys(working_, this);
    RunModalDialog(keys);
}

void CAcceleratorsDlg::Apply()
{
    KeyTable() = working_;
    SaveToolbarConfig();
}

QString CAcceleratorsDlg::systemText() const { return system_->text(); }
QString CAcceleratorsDlg::assignedText() const { return assigned_->text(); }

CAccelKeysDlg::CAccelKeysDlg(const std::vector<AcceleratorKey>& table, QWidget* parent) : QDialog(parent), table_(table)
{
    setWindowTitle(QStringLiteral("Keys available for use as accelerators"));
    auto* note = new QLabel(QStringLiteral("Keys that are greyed are already assigned - they can be re-assigned"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addSpacing(190);
    layout->addWidget(note);
    layout->addWidget(buttons);
    resize(470, 280);
}

void CAccelKeysDlg::paintEvent(QPaintEvent*)
{
    static constexpr char kPunctuation[] = "`-=[];'#";
    static constexpr int kColumnX[3] = {10, 150, 300};
    static constexpr const char* kHeads[3] = {"No modifier", "Shift +", "Ctrl +"};
    QPainter p(this);
    for (int column = 0; column < 3; ++column) {
        p.setPen(palette().color(QPalette::ButtonText));
        p.drawText(kColumnX[column], 10 + p.fontMetrics().ascent(), QString::fromLatin1(kHeads[column]));
        std::string keys = column == 0 ? std::string(kPunctuation) : std::string("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ") + kPunctuation;
        uint8_t modifiers = column == 0 ? 0 : column == 1 ? kAccelShift : kAccelCtrl;
        int x = kColumnX[column];
        int y = 25;
        for (char c : keys) {
            uint16_t key = c == '`' ? 223 : c == '-' ? '_' : uint16_t(uint8_t(c));
            bool fixed = false;
            for (const AcceleratorKey& f : FixedKeys())
                fixed |= f.key == key && f.modifiers == modifiers;
            if (fixed)
                continue;
            bool used = KeyHolder(table_, key, modifiers) != 0;
            p.setPen(palette().color(used ? QPalette::Disabled : QPalette::Active, used ? QPalette::WindowText : QPalette::ButtonText));
            p.drawText(x, y + p.fontMetrics().ascent(), QString(QChar(c)));
            y += 15;
            if (y > 160) {
                y = 25;
                x += 30;
            }
        }
    }
}

} // namespace qv
