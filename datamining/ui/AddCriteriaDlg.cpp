// The Add Criteria dialog.
#include "datamining/ui/AddCriteriaDlg.h"

#include "core/ConfigState.h"
#include "datamining/CriterionKinds.h"
#include "datamining/FilterValues.h"
#include "lists/ui/ColumnDialogs.h"
#include "platform/MessageBox.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <optional>

namespace qv {
namespace {

constexpr uint32_t kHelpTopic = 0x20000 + 579;

template <typename W>
W* Named(W* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

std::optional<int> WholeNumberOf(const QLineEdit* edit)
{
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

void Refuse(QLineEdit* edit, const QString& text)
{
    ShowMessage(text.toStdString(), {}, MsgButtons::Ok, MsgIcon::Exclamation);
    edit->setFocus();
    edit->selectAll();
}

// A typed bound, or the dialog's "no bound" when the field is empty or not a number.
float BoundOf(const QLineEdit* edit)
{
    bool ok = false;
    const double v = edit->text().trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? float(v) : kUnsetDialogBound;
}

uint32_t PeriodWordOf(std::pair<int, int> choice)
{
    return uint32_t(choice.first) << 16 | uint32_t(uint16_t(choice.second));
}

HighLowPeriod GlobalPeriod() { return ReadHighLowPeriod(Config().optionsB, OptionBlockB::kGlobalHighLowPeriod); }

} // namespace

CAddCriteriaDlg::CAddCriteriaDlg(const CriterionDialogFields& fields, bool editMode, PackedDate reference,
                                 QWidget* parent)
    : QDialog(parent), fields_(fields), editMode_(editMode), reference_(reference)
{
    setObjectName(QStringLiteral("579"));
    setWindowTitle(editMode ? QStringLiteral("Edit Criteria") : QStringLiteral("Add Criteria"));
    const HighLowPeriod last = ReadHighLowPeriod(Config().optionsB, OptionBlockB::kColumnHighLowPeriod);
    if (last.kind != 0 || last.value != 0)
        custom_ = last;
    build();
    kind_ = std::min<int>(fields.kind, kCriterionKindCount - 1);
    kinds_->setCurrentIndex(kind_);
    fillParameters();
    showFields(fields);
    showControls();
}

void CAddCriteriaDlg::build()
{
    auto* grid = new QGridLayout(this);
    kinds_ = Named(new QComboBox(this), 1949);
    for (const CriterionKind& k : CriterionKindTable()) {
        if (k.valueClass == kValueEnd)
            break;
        kinds_->addItem(QString::fromLatin1(k.name));
    }
    parameters_ = Named(new QComboBox(this), 1911);
    variants_ = Named(new QComboBox(this), 3513);
    years_ = Named(new QComboBox(this), 1912);
    settings_ = Named(new QComboBox(this), 2101);
    for (QComboBox* list : {kinds_, parameters_, variants_, years_, settings_})
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    grid->addWidget(new QLabel(QStringLiteral("Criteria:"), this), 0, 0);
    grid->addWidget(kinds_, 0, 1);
    grid->addWidget(parameters_, 1, 1);
    grid->addWidget(variants_, 2, 1);
    grid->addWidget(years_, 3, 0);
    grid->addWidget(settings_, 3, 1);

    average_ = new QGroupBox(this);
    auto* ag = new QGridLayout(average_);
    averageType_ = Named(new QComboBox(average_), 2092);
    for (const char* name : kMovingAverageTypeNames)
        averageType_->addItem(QString::fromLatin1(name));
    periodOne_ = Named(new QLineEdit(QString::number(kDefaultPeriodOne), average_), 1186);
    periodTwo_ = Named(new QLineEdit(QString::number(kDefaultPeriodTwo), average_), 1187);
    ag->addWidget(new QLabel(QStringLiteral("M.A. type"), average_), 0, 0);
    ag->addWidget(averageType_, 0, 1);
    ag->addWidget(new QLabel(QStringLiteral("Period 1"), average_), 1, 0);
    ag->addWidget(periodOne_, 1, 1);
    ag->addWidget(new QLabel(QStringLiteral("Period 2"), average_), 2, 0);
    ag->addWidget(periodTwo_, 2, 1);
    grid->addWidget(average_, 4, 0, 1, 2);

    firstDate_ = new CDateChoiceGroup(QStringLiteral(" First date "), true, reference_, 1, this);
    firstDate_->nameControls({1162, 1163, 1164, 1165, 1166, 1167}, {1829, 1175, 1176, 1177, 1178, 1179});
    secondDate_ = new CDateChoiceGroup(QStringLiteral("Second date "), false, reference_, 2, this);
    secondDate_->nameControls({1168, 1169, 1170, 1171, 1172, 1173}, {1830, 1180, 1181, 1182, 1183, 1184});
    for (CDateChoiceGroup* g : {firstDate_, secondDate_}) {
        g->allowZero();
        g->select(1);
    }
    grid->addWidget(firstDate_, 5, 0);
    grid->addWidget(secondDate_, 5, 1);

    lookBack_ = new QGroupBox(QStringLiteral(" Look Back Period "), this);
    auto* lg = new QGridLayout(lookBack_);
    globalLookBack_ = Named(new QRadioButton(QStringLiteral("Global settings"), lookBack_), 3957);
    customLookBack_ = Named(new QRadioButton(QStringLiteral("Custom setting for this criteria"), lookBack_), 3958);
    editLookBack_ = Named(new QPushButton(QStringLiteral("Edit..."), lookBack_), 3959);
    globalWords_ = Named(new QLabel(lookBack_), 3961);
    lg->addWidget(globalLookBack_, 0, 0);
    lg->addWidget(globalWords_, 0, 1);
    lg->addWidget(customLookBack_, 1, 0);
    lg->addWidget(editLookBack_, 1, 1);
    grid->addWidget(lookBack_, 6, 0, 1, 2);
    globalLookBack_->setChecked(true);

    auto* bounds = new QWidget(this);
    auto* bl = new QGridLayout(bounds);
    bl->setContentsMargins(0, 0, 0, 0);
    low_ = Named(new QLineEdit(bounds), 2085);
    high_ = Named(new QLineEdit(bounds), 2097);
    bl->addWidget(new QLabel(QStringLiteral("Low"), bounds), 0, 0);
    bl->addWidget(low_, 0, 1);
    bl->addWidget(new QLabel(QStringLiteral("High"), bounds), 0, 2);
    bl->addWidget(high_, 0, 3);
    bounds->setVisible(editMode_);
    grid->addWidget(bounds, 7, 0, 1, 2);

    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kHelpTopic);
    QPushButton* defaults = Named(buttons->addButton(QStringLiteral("Default"), QDialogButtonBox::ResetRole), 3);
    grid->addWidget(buttons, 8, 0, 1, 2);

    connect(kinds_, &QComboBox::activated, this, [this](int k) { chooseKind(k); });
    connect(parameters_, &QComboBox::activated, this, [this] {
        fillVariants();
        showControls();
    });
    connect(editLookBack_, &QPushButton::clicked, this, [this] { editLookBack(); });
    connect(defaults, &QPushButton::clicked, this, [this] { restoreDefaults(); });
    refreshLookBackWords();
}

void CAddCriteriaDlg::fillParameters()
{
    parameters_->clear();
    const CriterionKind* k = CriterionKindOf(uint8_t(kind_));
    for (int i = 0; k && i < k->parameterCount; ++i)
        parameters_->addItem(QString::fromLatin1(k->parameterNames[i]));
    parameters_->setCurrentIndex(0);
    fillResultLists();
}

void CAddCriteriaDlg::fillResultLists()
{
    const CriterionKind* k = CriterionKindOf(uint8_t(kind_));
    const int valueClass = k ? k->valueClass : kValueEnd;
    years_->clear();
    settings_->clear();
    for (const char* word : ResultYearWords(valueClass))
        years_->addItem(QString::fromLatin1(word));
    for (const char* word : ResultTypeWords(valueClass))
        settings_->addItem(QString::fromLatin1(word));
    // Results start at the latest year.
    years_->setCurrentIndex(valueClass == kValueHeadline ? 7 : years_->count() - 1);
    settings_->setCurrentIndex(0);
    fillVariants();
}

void CAddCriteriaDlg::fillVariants()
{
    variants_->clear();
    if (kind_ != kAdvancedResultKind)
        return;
    const int item = parameters_->currentIndex();
    const int n = AdvancedVariantCount(item);
    for (int i = 0; i < n; ++i)
        variants_->addItem(QString::fromLatin1(AdvancedResultItems()[size_t(item)].variants[size_t(i)]));
    variants_->setCurrentIndex(0);
}

void CAddCriteriaDlg::showControls()
{
    const AddCriteriaControls c = AddCriteriaControlsFor(uint8_t(kind_), parameters_->currentIndex());
    parameters_->setEnabled(c.parameterList);
    average_->setVisible(c.averageGroup);
    years_->setVisible(c.resultLists);
    settings_->setVisible(c.resultLists);
    variants_->setVisible(c.variantList);
    firstDate_->setVisible(c.firstDate);
    secondDate_->setVisible(c.secondDate);
    lookBack_->setVisible(c.lookBack);
}

void CAddCriteriaDlg::showFields(const CriterionDialogFields& f)
{
    parameters_->setCurrentIndex(std::min<int>(f.parameter, parameters_->count() - 1));
    fillVariants();
    if (variants_->count() > 0)
        variants_->setCurrentIndex(std::min<int>(f.variant, variants_->count() - 1));
    if (years_->count() > 0 && (editMode_ || f.secondSetting))
        years_->setCurrentIndex(std::min<int>(f.secondSetting, years_->count() - 1));
    restoreSetting(f.setting);
    if (f.firstDate)
        firstDate_->setChoice(int(f.firstDate >> 16), int(f.firstDate & 0xFFFF));
    if (f.secondDate)
        secondDate_->setChoice(int(f.secondDate >> 16), int(f.secondDate & 0xFFFF));
    if (f.lookBackUnit || f.lookBackCount)
        custom_ = {f.lookBackUnit, f.lookBackCount};
    refreshLookBackWords();
    if (editMode_) {
        low_->setText(QString::asprintf("%.2f", double(f.lower)));
        high_->setText(QString::asprintf("%.2f", double(f.upper)));
    }
}

uint32_t CAddCriteriaDlg::currentSetting() const
{
    if (kind_ == kMovingAverageKind) {
        return MovingAverageSetting({averageType_->currentIndex(), WholeNumberOf(periodOne_).value_or(0),
                                     WholeNumberOf(periodTwo_).value_or(kPeriodTwoLow)});
    }
    const AddCriteriaControls c = AddCriteriaControlsFor(uint8_t(kind_), parameters_->currentIndex());
    if (c.lookBack)
        return customLookBack_->isChecked() ? 1 : 0;
    return uint32_t(std::max(settings_->currentIndex(), 0));
}

void CAddCriteriaDlg::restoreSetting(uint32_t setting)
{
    if (kind_ == kMovingAverageKind) {
        const MovingAverageChoice c = setting ? UnpackMovingAverageSetting(setting) : MovingAverageChoice{};
        averageType_->setCurrentIndex(c.typeIndex);
        periodOne_->setText(QString::number(c.periodOne));
        periodTwo_->setText(QString::number(c.periodTwo));
        return;
    }
    if (kind_ == kPriceKind) {
        (setting == 1 ? customLookBack_ : globalLookBack_)->setChecked(true);
        return;
    }
    if (settings_->count() > 0)
        settings_->setCurrentIndex(std::min<int>(int(setting), settings_->count() - 1));
}

void CAddCriteriaDlg::chooseKind(int kind)
{
    if (kind < 0 || kind >= kCriterionKindCount)
        return;
    memory_.Remember(uint8_t(kind_), parameters_->currentIndex(), currentSetting());
    kind_ = kind;
    if (kinds_->currentIndex() != kind)
        kinds_->setCurrentIndex(kind);
    fillParameters();
    const KindChoiceMemory::Choice back = memory_.Recall(uint8_t(kind));
    if (back.set) {
        parameters_->setCurrentIndex(back.parameter);
        fillVariants();
    }
    restoreSetting(back.set ? back.setting : 0);
    showControls();
}

void CAddCriteriaDlg::refreshLookBackWords()
{
    const HighLowPeriod global = GlobalPeriod();
    globalWords_->setText(QString::fromStdString(FormatHighLowPeriod(global.kind, global.value)));
    editLookBack_->setText(QString::fromStdString(FormatHighLowPeriod(custom_.kind, custom_.value)));
}

void CAddCriteriaDlg::editLookBack()
{
    CHighLowSettingsDlg dialog(false, custom_, reference_, this);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    custom_ = dialog.period();
    // The next custom period starts from this one.
    WriteHighLowPeriod(Config().optionsB, OptionBlockB::kColumnHighLowPeriod, custom_);
    customLookBack_->setChecked(true);
    refreshLookBackWords();
}

void CAddCriteriaDlg::restoreDefaults()
{
    restoreSetting(0);
    globalLookBack_->setChecked(true);
    for (CDateChoiceGroup* g : {firstDate_, secondDate_}) {
        const bool first = g == firstDate_;
        for (int c = 1; c < 6; ++c)
            g->setChoice(UnitOfDateChoice(c), DateChoiceDefault(c, first));
        g->select(1);
    }
}

void CAddCriteriaDlg::accept()
{
    const AddCriteriaControls shown = AddCriteriaControlsFor(uint8_t(kind_), parameters_->currentIndex());
    for (CDateChoiceGroup* g : {firstDate_, secondDate_}) {
        if (!g->isVisibleTo(this))
            continue;
        if (const QString refusal = g->check(); !refusal.isEmpty()) {
            ShowMessage(refusal.toStdString(), {}, MsgButtons::Ok, MsgIcon::Exclamation);
            return;
        }
    }
    if (shown.averageGroup) {
        const auto one = WholeNumberOf(periodOne_);
        if (!one || *one < kPeriodOneLow || *one > kPeriodOneHigh) {
            Refuse(periodOne_, one ? NumberRangeMessage(kPeriodOneLow, kPeriodOneHigh)
                                   : QStringLiteral("Please enter an integer."));
            return;
        }
        if (!WholeNumberOf(periodTwo_)) {
            Refuse(periodTwo_, QStringLiteral("Please enter an integer."));
            return;
        }
    }
    CriterionDialogFields f = fields_;
    f.kind = uint8_t(kind_);
    f.parameter = uint8_t(std::max(parameters_->currentIndex(), 0));
    f.variant = uint8_t(std::max(variants_->currentIndex(), 0));
    f.secondSetting = uint16_t(std::max(years_->currentIndex(), 0));
    f.setting = currentSetting();
    f.firstDate = shown.firstDate ? PeriodWordOf(firstDate_->choice()) : 0;
    f.secondDate = shown.secondDate ? PeriodWordOf(secondDate_->choice()) : 0;
    f.lookBackUnit = custom_.kind;
    f.lookBackCount = custom_.value;
    f.lower = f.upper = kUnsetDialogBound;
    if (editMode_) {
        f.lower = BoundOf(low_);
        f.upper = BoundOf(high_);
    }
    fields_ = f;
    QDialog::accept();
}

void InstallCriterionDialog()
{
    SetCriterionDialog([](CriterionDialogFields& fields) {
        CAddCriteriaDlg dialog(fields, true, PackedDate(FilterCandidates().referenceDate), QApplication::activeWindow());
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return false;
        fields = dialog.fields();
        return true;
    });
}

} // namespace qv
