// The results sheet's pages and the sheet around them.
#include "lists/ui/ResultsSheetDlg.h"

#include "core/ConfigState.h"
#include "shell/ui/DialogHelp.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace qv {

namespace {

constexpr uint32_t kHelpBase = 0x20000;

QString Text(std::string_view s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

// A group box of radio buttons named prefix0, prefix1, ... in a column (or wrapped after `perColumn`).
QButtonGroup* RadioGroup(QWidget* page, QGridLayout* outer, int row, int column, const QString& title,
                         std::span<const std::string_view> texts, const char* prefix, int perColumn = 100)
{
    auto* box = new QGroupBox(title, page);
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(1);
    auto* group = new QButtonGroup(page);
    for (size_t i = 0; i < texts.size(); ++i) {
        auto* b = new QRadioButton(Text(texts[i]), box);
        b->setObjectName(QString::fromLatin1(prefix) + QString::number(i));
        group->addButton(b, int(i));
        grid->addWidget(b, int(i) % perColumn, int(i) / perColumn);
    }
    outer->addWidget(box, row, column);
    return group;
}

void Check(QButtonGroup* group, int id)
{
    if (QAbstractButton* b = group->button(id))
        b->setChecked(true);
}

} // namespace

// ---- Headline results

CResultsBasic::CResultsBasic(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("809"));
    auto* grid = new QGridLayout(this);
    years_ = RadioGroup(this, grid, 0, 0, QStringLiteral(" Year "), BasicYearNames(), "year");
    periods_ = RadioGroup(this, grid, 0, 1, QStringLiteral(" Period "), BasicPeriodNames(), "period");
    figures_ = RadioGroup(this, grid, 1, 1, QStringLiteral(" Figure "), BasicFigureNames(), "figure");
    types_ = RadioGroup(this, grid, 0, 2, QStringLiteral(" Type "), BasicTypeNames(), "type");
    for (QButtonGroup* g : {years_, periods_, figures_, types_})
        connect(g, &QButtonGroup::idClicked, this, [this] { readButtons(); });
    applyRules();
}

void CResultsBasic::setChoice(const BasicResultChoice& choice)
{
    choice_ = choice;
    applyRules();
}

void CResultsBasic::readButtons()
{
    choice_ = {years_->checkedId(), periods_->checkedId(), figures_->checkedId(), types_->checkedId()};
    applyRules();
}

void CResultsBasic::applyRules()
{
    choice_ = ApplyBasicRules(choice_);
    periods_->button(kInterim)->setEnabled(BasicInterimAllowed(choice_));
    periods_->button(kFinal)->setEnabled(BasicFinalAllowed(choice_));
    for (int t = 0; t < kBasicTypes; ++t)
        types_->button(t)->setEnabled(BasicTypeAllowed(choice_, t));
    Check(years_, choice_.year);
    Check(periods_, choice_.period);
    Check(figures_, choice_.figure);
    Check(types_, choice_.type);
    emit changed();
}

bool CResultsBasic::periodEnabled(int period) const { return periods_->button(period)->isEnabled(); }
bool CResultsBasic::typeEnabled(int type) const { return types_->button(type)->isEnabled(); }

QString CResultsBasic::description() const
{
    return QStringLiteral(" ") + Text(BasicDescriptionPeriod(choice_.period)) + Text(BasicFigureDescription(choice_.figure));
}

// ---- Advanced results && ratios

CResultsAdvanced::CResultsAdvanced(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("810"));
    auto* grid = new QGridLayout(this);
    years_ = RadioGroup(this, grid, 0, 0, QStringLiteral(" Year "), AdvancedYearNames(), "year");
    items_ = RadioGroup(this, grid, 0, 1, QStringLiteral(" Item "), AdvancedItemNames(), "item", 14);
    static constexpr std::string_view kBlank[kMaxResultOptions] = {"", "", "", "", ""};
    options_ = RadioGroup(this, grid, 1, 1, QStringLiteral(" Additional options "), kBlank, "option");
    types_ = RadioGroup(this, grid, 1, 0, QStringLiteral(" Type "), AdvancedTypeNames(), "type");
    for (QButtonGroup* g : {years_, items_, options_, types_})
        connect(g, &QButtonGroup::idClicked, this, [this] { readButtons(); });
    applyRules();
}

void CResultsAdvanced::setChoice(const AdvancedResultChoice& choice)
{
    choice_ = choice;
    applyRules();
}

void CResultsAdvanced::readButtons()
{
    choice_ = {years_->checkedId(), items_->checkedId(), std::max(options_->checkedId(), 0), types_->checkedId()};
    applyRules();
}

void CResultsAdvanced::applyRules()
{
    choice_ = ApplyAdvancedRules(choice_);
    const auto labels = AdvancedOptionLabels(choice_.item);
    for (int o = 0; o < kMaxResultOptions; ++o) {
        QAbstractButton* b = options_->button(o);
        b->setVisible(size_t(o) < labels.size());
        b->setText(size_t(o) < labels.size() ? Text(labels[size_t(o)]) : QString());
    }
    for (int y = 0; y < kAdvancedYears; ++y)
        years_->button(y)->setEnabled(AdvancedYearAllowed(choice_, y));
    for (int t = 0; t < kAdvancedTypes; ++t)
        types_->button(t)->setEnabled(AdvancedTypeAllowed(choice_, t));
    Check(years_, choice_.year);
    Check(items_, choice_.item);
    Check(options_, choice_.option);
    Check(types_, choice_.type);
    emit changed();
}

bool CResultsAdvanced::yearEnabled(int year) const { return years_->button(year)->isEnabled(); }
bool CResultsAdvanced::typeEnabled(int type) const { return types_->button(type)->isEnabled(); }
bool CResultsAdvanced::optionShown(int option) const { return !options_->button(option)->isHidden(); }
QString CResultsAdvanced::optionLabel(int option) const { return options_->button(option)->text(); }

QString CResultsAdvanced::description() const
{
    const std::string_view d = AdvancedDescription(choice_.item, choice_.option);
    return d.empty() ? QString() : QStringLiteral(" ") + Text(d);
}

// ---- The sheet

CResultsV2::CResultsV2(bool adding, int page, int columnCount, QWidget* parent)
    : QDialog(parent), basic_(new CResultsBasic), advanced_(new CResultsAdvanced), tabs_(new QTabWidget(this)),
      description_(new QLabel(this)), columnCount_(columnCount)
{
    setObjectName(QStringLiteral("801"));
    setWindowTitle(adding ? QStringLiteral("Add a result column") : QStringLiteral("Edit a result column"));
    tabs_->addTab(basic_, QStringLiteral("Headline results"));
    tabs_->addTab(advanced_, QStringLiteral("Advanced results && ratios"));
    description_->setObjectName(QStringLiteral("description"));
    QFont bold = description_->font();
    bold.setBold(true);
    description_->setFont(bold);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(description_);
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kHelpBase + 801);
    if (adding) {
        addNow_ = buttons->addButton(QStringLiteral("Add &Now..."), QDialogButtonBox::ActionRole);
        addNow_->setObjectName(QStringLiteral("addNow"));
        connect(addNow_, &QPushButton::clicked, this, &CResultsV2::addNow);
    }
    layout->addWidget(buttons);
    connect(basic_, &CResultsBasic::changed, this, &CResultsV2::refresh);
    connect(advanced_, &CResultsAdvanced::changed, this, &CResultsV2::refresh);
    connect(tabs_, &QTabWidget::currentChanged, this, &CResultsV2::refresh);
    setActivePage(page < 0 ? Config().optionsB.bytes[OptionBlockB::kResultsPage] : page);
    refresh();
}

void CResultsV2::done(int result)
{
    Config().optionsB.bytes[OptionBlockB::kResultsPage] = uint8_t(activePage());
    QDialog::done(result);
}

int CResultsV2::activePage() const { return tabs_->currentIndex(); }
void CResultsV2::setActivePage(int page) { tabs_->setCurrentIndex(page == 1 ? 1 : 0); }

QString CResultsV2::description() const { return activePage() == 1 ? advanced_->description() : basic_->description(); }

void CResultsV2::setAddNow(std::function<int(const CResultsV2&)> add) { add_ = std::move(add); }

void CResultsV2::addNow()
{
    if (!add_ || !AddNowAllowed(columnCount_))
        return;
    columnCount_ = add_(*this);
    refresh();
}

void CResultsV2::refresh()
{
    description_->setText(description());
    if (addNow_)
        addNow_->setEnabled(AddNowAllowed(columnCount_));
}

} // namespace qv
