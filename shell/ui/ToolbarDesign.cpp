// The toolbar designer.
#include "shell/ui/ToolbarDesign.h"

#include "core/Portfolio.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "shell/KeyTable.h"
#include "shell/ToolbarDesignRules.h"
#include "shell/ToolbarFile.h"
#include "shell/ui/AccelListBox.h"
#include "shell/ui/DefaultButtons.h"
#include "shell/ui/FilterNameDlg.h"
#include "shell/ui/ModalDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace qv {
namespace {

struct ViewBox {
    const char* text;
    int id;
    uint32_t bit;
};
constexpr ViewBox kViewBoxes[10] = {
    {"Graphs", 2402, 1u << 0},     {"Lists", 2400, 1u << 1},     {"Portfolios", 2403, 1u << 2},
    {"Details", 2401, 1u << 3},    {"Transactions", 2404, 1u << 4}, {"Dealings", 2406, 1u << 5},
    {"DataMining", 2407, 1u << 6}, {"Cash", 2408, 1u << 7},       {"News", 2405, 1u << 8},
    {"All views", 2409, kAllViews},
};
constexpr const char* kSides[5] = {"Left", "Top", "Right", "Bottom", "Floating"};

} // namespace

CToolbarDesign::CToolbarDesign(const ToolbarSet& program, int32_t viewKind, QWidget* parent)
    : QDialog(parent), viewKind_(viewKind), toolbars_(new QComboBox(this)), side_(new QComboBox(this)),
      sizes_(new QButtonGroup(this)), hide_(new QCheckBox(QStringLiteral("Hide toolbar"), this)), tabs_(new QTabBar(this)),
      available_(new CAccelListBox(this)), included_(new CAccelListBox(this)), portfolios_(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Toolbar design"));
    copy_.CopyToolbarsFrom(program);
    toolbars_->setObjectName(QStringLiteral("2418"));
    side_->setObjectName(QStringLiteral("2412"));
    hide_->setObjectName(QStringLiteral("2419"));
    available_->setObjectName(QStringLiteral("1600"));
    included_->setObjectName(QStringLiteral("1601"));
    portfolios_->setObjectName(QStringLiteral("1620"));
    for (const char* s : kSides)
        side_->addItem(QString::fromLatin1(s));
    for (Portfolio* p = PortfolioChain(); p; p = p->next.get())
        if (!p->name.empty())
            portfolios_->addItem(FromCp1252(p->name.str()), uint32_t(p->number));
    for (int t = 0; t < kDesignerTabCount; ++t)
        tabs_->addTab(QString::fromLatin1(DesignerTabName(t)));

    auto* sizeBox = new QGroupBox(QStringLiteral("Buttons"), this);
    auto* sizeLayout = new QHBoxLayout(sizeBox);
    for (auto [text, id, size] : {std::tuple{"Big", 2415, 0}, std::tuple{"Small", 2417, 1}, std::tuple{"Wide", 2416, 2}}) {
        auto* radio = new QRadioButton(QString::fromLatin1(text), sizeBox);
        radio->setObjectName(QString::number(id));
        sizes_->addButton(radio, size);
        sizeLayout->addWidget(radio);
    }
    auto* viewBox = new QGroupBox(QStringLiteral("Show in"), this);
    auto* viewLayout = new QGridLayout(viewBox);
    for (size_t i = 0; i < views_.size(); ++i) {
        views_[i] = new QCheckBox(QString::fromLatin1(kViewBoxes[i].text), viewBox);
        views_[i]->setObjectName(QString::number(kViewBoxes[i].id));
        viewLayout->addWidget(views_[i], int(i / 2), int(i % 2));
        connect(views_[i], &QCheckBox::toggled, this, [this] { SaveShown(); });
    }
    viewLayout->addWidget(hide_, 5, 0);
    if (copy_.alternative) {
        for (QCheckBox* box : views_)
            box->hide();
    } else {
        hide_->hide();
    }

    auto makeButton = [this](const char* text, int id, auto action) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::number(id));
        connect(b, &QPushButton::clicked, this, action);
        return b;
    };
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(makeButton(">", 1603, [this] { AddSelected(); }));
    moves->addWidget(makeButton("<", 1604, [this] { RemoveSelected(); }));
    moves->addWidget(makeButton(">>", 1602, [this] { AddAll(); }));
    moves->addWidget(makeButton("<<", 1605, [this] { RemoveAll(); }));
    moves->addWidget(makeButton("up", 1547, [this] { MoveSelected(-1); }));
    moves->addWidget(makeButton("down", 1548, [this] { MoveSelected(1); }));
    moves->addStretch();
    auto* toolbarRow = new QHBoxLayout;
    toolbarRow->addWidget(new QLabel(QStringLiteral("Toolbar:"), this));
    toolbarRow->addWidget(toolbars_, 1);
    toolbarRow->addWidget(makeButton("New", 2398, [this] { NewToolbar(); }));
    toolbarRow->addWidget(makeButton("Rename", 2399, [this] { RenameToolbar(); }));
    toolbarRow->addWidget(makeButton("Delete", 2397, [this] { DeleteToolbar(); }));
    toolbarRow->addWidget(makeButton("Defaults", 2396, [this] { DefaultButtons(); }));
    auto* settingsRow = new QHBoxLayout;
    auto* sideColumn = new QVBoxLayout;
    sideColumn->addWidget(new QLabel(QStringLiteral("Position:"), this));
    sideColumn->addWidget(side_);
    sideColumn->addWidget(sizeBox);
    sideColumn->addWidget(new QLabel(QStringLiteral("Portfolio:"), this));
    sideColumn->addWidget(portfolios_);
    settingsRow->addLayout(sideColumn);
    settingsRow->addWidget(viewBox, 1);
    auto* lists = new QGridLayout;
    lists->addWidget(tabs_, 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("Buttons included in this toolbar"), this), 0, 2);
    lists->addWidget(available_, 1, 0);
    lists->addLayout(moves, 1, 1);
    lists->addWidget(included_, 1, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(toolbarRow);
    layout->addLayout(settingsRow);
    layout->addLayout(lists, 1);
    layout->addWidget(buttons);
    resize(840, 600);

    connect(toolbars_, &QComboBox::activated, this, [this](int index) { SelectToolbar(index); });
    connect(side_, &QComboBox::activated, this, [this] { SaveShown(); });
    connect(sizes_, &QButtonGroup::idClicked, this, [this] { SaveShown(); });
    connect(hide_, &QCheckBox::toggled, this, [this] { SaveShown(); });
    connect(tabs_, &QTabBar::currentChanged, this, [this](int t) { SetTab(t); });
    connect(available_, &QListWidget::currentRowChanged, this, [this] { UpdateEnables(); });
    connect(included_, &QListWidget::currentRowChanged, this, [this] {
        uint16_t code = CAccelListBox::CodeOf(included_->currentItem());
        portfolios_->setEnabled(IsPortfolioCode(code));
        if (IsPortfolioCode(code))
            portfolios_->setCurrentIndex(int(included_->currentItem()->data(Qt::UserRole).toUInt() >> 16));
        UpdateEnables();
    });
    connect(portfolios_, &QComboBox::activated, this, [this](int index) {
        QListWidgetItem* item = included_->currentItem();
        uint16_t code = CAccelListBox::CodeOf(item);
        if (!IsPortfolioCode(code))
            return;
        item->setData(Qt::UserRole, uint32_t(code) | uint32_t(index) << 16);
        SaveShown();
    });
    connect(available_, &QListWidget::itemDoubleClicked, this, [this] { AddSelected(); });
    connect(included_, &QListWidget::itemDoubleClicked, this, [this] { RemoveSelected(); });
    LoadToolbar();
}

QPushButton* CToolbarDesign::button(int id) const { return findChild<QPushButton*>(QString::number(id)); }

QString CToolbarDesign::EntryText(uint16_t code) const { return FromCp1252(ButtonLabel(code)); }

void CToolbarDesign::LoadToolbar()
{
    loading_ = true;
    toolbars_->clear();
    for (const auto& t : copy_.toolbars)
        toolbars_->addItem(FromCp1252(t->name));
    toolbars_->setCurrentIndex(copy_.current);
    CUserToolbar fallback;
    fallback.dock = kSideTop;
    fallback.viewMask = 31;
    fallback.name = "Toolbar";
    const CUserToolbar& t = copy_.Current() ? *copy_.Current() : fallback;
    side_->setCurrentIndex(t.dock <= kSideFloating ? int(t.dock) : int(kSideTop));
    if (QAbstractButton* radio = sizes_->button(t.size <= kButtonsWide ? t.size : 0))
        radio->setChecked(true);
    for (size_t i = 0; i < views_.size(); ++i)
        views_[i]->setChecked(copy_.alternative ? (i == 9 && t.viewMask != 0) : (t.viewMask & kViewBoxes[i].bit) != 0);
    hide_->setChecked(t.viewMask == 0);
    included_->clear();
    for (uint16_t i = 0; i < kMaxToolbarButtons && t.entries[i].code != kEndOfButtons; ++i) {
        uint16_t code = t.entries[i].code;
        uint32_t data = code;
        if (IsPortfolioCode(code)) {
            int index = portfolios_->findData(uint32_t(t.entries[i].portfolio));
            data |= uint32_t(index < 0 ? 0 : index) << 16;
        }
        included_->AddCode(data, EntryText(code));
    }
    loading_ = false;
    FillAvailable();
}

std::vector<uint16_t> CToolbarDesign::IncludedCodes() const
{
    std::vector<uint16_t> codes;
    for (int i = 0; i < included_->count(); ++i)
        codes.push_back(CAccelListBox::CodeOf(included_->item(i)));
    return codes;
}

void CToolbarDesign::FillAvailable()
{
    available_->clear();
    available_->AddCode(kSpacerCode, EntryText(kSpacerCode));
    for (uint16_t code : DesignerAvailable(tab_, IncludedCodes()))
        available_->AddCode(code, EntryText(code));
    available_->setCurrentRow(0);
    UpdateEnables();
}

void CToolbarDesign::UpdateEnables()
{
    int row = included_->currentRow();
    button(1603)->setEnabled(DesignerCanAdd(size_t(included_->count()), available_->currentItem() != nullptr));
    button(1604)->setEnabled(row >= 0);
    button(1547)->setEnabled(row > 0);
    button(1548)->setEnabled(row >= 0 && row + 1 < included_->count());
    button(1602)->setEnabled(included_->count() < kMaxToolbarButtons);
    button(1605)->setEnabled(included_->count() > 0);
    button(2397)->setEnabled(copy_.Count() > 1);
}

void CToolbarDesign::SaveShown()
{
    if (loading_)
        return;
    CUserToolbar* t = copy_.Current();
    if (!t)
        return;
    uint32_t mask = 0;
    if (copy_.alternative)
        mask = hide_->isChecked() ? 0 : kAllViews;
    else
        for (size_t i = 0; i < views_.size(); ++i)
            if (views_[i]->isChecked())
                mask |= kViewBoxes[i].bit;
    t->viewMask = mask;
    t->dock = uint8_t(side_->currentIndex());
    t->size = uint8_t(std::max(0, sizes_->checkedId()));
    std::vector<ToolbarEntry> entries;
    for (int i = 0; i < included_->count(); ++i) {
        uint32_t data = included_->item(i)->data(Qt::UserRole).toUInt();
        ToolbarEntry e;
        e.code = uint16_t(data & 0xFFFF);
        if (IsPortfolioCode(e.code)) {
            e.portfolio = uint16_t(portfolios_->itemData(int(data >> 16)).toUInt());
            copy_.portfolioTargets[e.code - kFirstPortfolioCode] = e.portfolio;
        }
        entries.push_back(e);
    }
    t->SetEntries(entries);
}

void CToolbarDesign::SetTab(int tab)
{
    tab_ = tab;
    if (tabs_->currentIndex() != tab)
        tabs_->setCurrentIndex(tab);
    FillAvailable();
}

void CToolbarDesign::SelectToolbar(int index)
{
    SaveShown();
    if (index >= 0 && size_t(index) < copy_.Count())
        copy_.current = uint16_t(index);
    LoadToolbar();
}

void CToolbarDesign::AddSelected()
{
    QListWidgetItem* item = available_->currentItem();
    if (!item || !DesignerCanAdd(size_t(included_->count()), true))
        return;
    uint16_t code = CAccelListBox::CodeOf(item);
    int at = included_->currentRow() + 1;
    auto* added = new QListWidgetItem(item->text());
    added->setData(Qt::UserRole, uint32_t(code));
    included_->insertItem(at, added);
    included_->setCurrentRow(at);
    SaveShown();
    FillAvailable();
}

void CToolbarDesign::RemoveSelected()
{
    int row = included_->currentRow();
    if (row < 0)
        return;
    delete included_->takeItem(row);
    SaveShown();
    FillAvailable();
}

void CToolbarDesign::AddAll()
{
    std::vector<uint16_t> before = IncludedCodes();
    std::vector<uint16_t> after = DesignerAppendAll(tab_, before);
    for (size_t i = before.size(); i < after.size(); ++i)
        included_->AddCode(after[i], EntryText(after[i]));
    SaveShown();
    FillAvailable();
}

void CToolbarDesign::RemoveAll()
{
    included_->clear();
    SaveShown();
    FillAvailable();
}

void CToolbarDesign::MoveSelected(int by)
{
    int row = included_->currentRow();
    int to = row + by;
    if (row < 0 || to < 0 || to >= included_->count())
        return;
    QListWidgetItem* item = included_->takeItem(row);
    included_->insertItem(to, item);
    included_->setCurrentRow(to);
    SaveShown();
}

void CToolbarDesign::NewToolbar()
{
    SaveShown();
    copy_.AddToolbar(viewKind_);
    LoadToolbar();
}

void CToolbarDesign::RenameToolbar()
{
    CUserToolbar* t = copy_.Current();
    if (!t)
        return;
    CFilterNameDlg dialog(this);
    dialog.SetPrompt(QStringLiteral("Enter the new toolbar name"));
    dialog.SetName(FromCp1252(t->name));
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    t->name = ToCp1252(dialog.Name()).substr(0, kToolbarNameSize - 1);
    toolbars_->setItemText(copy_.current, FromCp1252(t->name));
}

void CToolbarDesign::DeleteToolbar()
{
    if (copy_.Count() < 2)
        return;
    if (ShowMessage("Are you sure you want to delete this toolbar?", {}, MsgButtons::OkCancel, MsgIcon::Question) !=
        MsgAnswer::Ok)
        return;
    copy_.DeleteCurrentToolbar();
    copy_.current = 0;
    LoadToolbar();
}

void CToolbarDesign::DefaultButtons()
{
    CDefaultButtons dialog(this);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    copy_.SetDefaultToolbars(dialog.selected());
    LoadToolbar();
}

void CToolbarDesign::Apply(ToolbarSet& program)
{
    SaveShown();
    copy_.DeleteEmptyToolbars();
    program.CopyToolbarsFrom(copy_);
    SaveToolbarConfig();
}

} // namespace qv
