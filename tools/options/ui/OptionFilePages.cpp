// The Export, Import, Portfolios and Pre-set Portfolios pages.
#include "tools/options/ui/OptionPages.h"

#include "core/ShareStatistics.h"
#include "core/SystemDate.h"
#include "lists/ui/ColumnDialogs.h"
#include "lists/ui/ListDialogCommands.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "portfolio/AlarmPortfolios.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/TransactionRecording.h"
#include "shell/PortfolioAdd.h"
#include "shell/ui/DateEdit.h"
#include "tools/alarms/ShareAlarmRecord.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

namespace {

void Warn(const char* text) { ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Exclamation); }

QGroupBox* Box(const char* title, QWidget* parent) { return new QGroupBox(QString::fromLatin1(title), parent); }

QString OneCharacter(char c) { return c && c != '\t' ? FromCp1252(std::string(1, c)) : QString(); }

std::string TextOf(const QLineEdit* edit) { return ToCp1252(edit->text()); }

constexpr int kSevenDays = -7;

} // namespace

// ---- Export and Import formats

COptionFileFormat::COptionFileFormat(OptionPage page, uint8_t format, char separator, char dateSeparator,
                                     bool dateSeparatorUsed, QWidget* parent)
    : COptionPage(page, parent)
{
    order_ = Group({Radio(1, "Day Month Year "), Radio(2, "Month Day Year "), Radio(3, "Year Month Day")}, format & 3);
    for (QAbstractButton* b : order_->buttons())
        b->setObjectName(QStringLiteral("order%1").arg(order_->id(b)));
    fourDigits_ = Check(0, "Four digit year ", format & 8);
    fourDigits_->setObjectName(QStringLiteral("fourDigits"));
    useDateSeparator_ = Check(0, "Date separator", dateSeparatorUsed);
    useDateSeparator_->setObjectName(QStringLiteral("useDateSeparator"));
    dateSeparator_ = Edit(0, OneCharacter(dateSeparator));
    dateSeparator_->setObjectName(QStringLiteral("dateSeparator"));
    dateSeparator_->setMaxLength(1);
    field_ = Group({Radio(0, "Use Tab "), Radio(0, "Use comma"), Radio(0, "Other character ")}, SeparatorButton(separator));
    for (QAbstractButton* b : field_->buttons())
        b->setObjectName(QStringLiteral("field%1").arg(field_->id(b)));
    other_ = Edit(0, SeparatorButton(separator) == 2 ? OneCharacter(separator) : QString());
    other_->setObjectName(QStringLiteral("other"));
    other_->setMaxLength(1);
    sample_ = new QLabel(this);
    sample_->setObjectName(QStringLiteral("sample"));
    extra_ = new QWidget(this);

    auto* layout = new QVBoxLayout(this);
    auto* date = Box("Date format", this);
    auto* dateGrid = new QGridLayout(date);
    int row = 0;
    for (QAbstractButton* b : order_->buttons())
        dateGrid->addWidget(b, row++, 0, 1, 2);
    dateGrid->addWidget(fourDigits_, row++, 0, 1, 2);
    dateGrid->addWidget(useDateSeparator_, row, 0);
    dateGrid->addWidget(dateSeparator_, row++, 1);
    dateGrid->addWidget(sample_, row, 0, 1, 2);
    layout->addWidget(date);
    auto* fields = Box("Field separator", this);
    auto* fieldGrid = new QGridLayout(fields);
    row = 0;
    for (QAbstractButton* b : field_->buttons())
        fieldGrid->addWidget(b, row++, 0);
    fieldGrid->addWidget(other_, 2, 1);
    layout->addWidget(fields);
    layout->addWidget(extra_);
    layout->addStretch(1);

    connect(order_, &QButtonGroup::idClicked, this, [this] { Update(); });
    connect(field_, &QButtonGroup::idClicked, this, [this] { Update(); });
    connect(fourDigits_, &QCheckBox::toggled, this, [this] { Update(); });
    connect(useDateSeparator_, &QCheckBox::toggled, this, [this] { Update(); });
    connect(dateSeparator_, &QLineEdit::textChanged, this, [this] { Update(); });
    Update();
}

uint8_t COptionFileFormat::Format() const
{
    return uint8_t(std::max(0, order_->checkedId()) | (fourDigits_->isChecked() ? 8 : 0) |
                   (useDateSeparator_->isChecked() ? 16 : 0));
}

void COptionFileFormat::Update()
{
    other_->setEnabled(field_->checkedId() == 2);
    dateSeparator_->setEnabled(useDateSeparator_->isChecked());
    const std::string separator = TextOf(dateSeparator_);
    sample_->setText(FromCp1252(SampleDateText(Format(), separator.empty() ? '/' : separator.front())));
}

char COptionFileFormat::FieldSeparator(char old, const char* emptyText) const
{
    if (auto chosen = ChosenSeparator(field_->checkedId(), TextOf(other_)))
        return *chosen;
    Warn(emptyText);
    return old;
}

char COptionFileFormat::DateSeparator(char old, const char* emptyText) const
{
    const std::string text = TextOf(dateSeparator_);
    if (!useDateSeparator_->isChecked())
        return old;
    if (text.empty()) {
        Warn(emptyText);
        return old;
    }
    return text.front();
}

// ---- Export

COptionExport::COptionExport(QWidget* parent)
    : COptionFileFormat(OptionPage::Export, PriceFileSettings().exportFormat, PriceFileSettings().exportSeparator,
                        PriceFileSettings().exportDateSeparator, PriceFileSettings().exportFormat & 16, parent)
{
    const PriceFileOptions& o = PriceFileSettings();
    adjusted_ = Check(0, "Use adjusted prices", o.exportFormat & 0x20);
    latest_ = Check(0, "Include the latest price line when exporting a transaction table", o.exportFormat & 0x40);
    ohlcv_ = Check(0, "Include OHLCV information when exporting a share's history", o.exportFormat & 0x80);
    pence_ = Check(0, "Export prices as pence", o.exportFormat2 & 1);
    noHeader_ = Check(0, "Do not include a header line ( Metastock and general formats )", o.exportFormat2 & 2);
    const char* names[] = {"adjusted", "latest", "ohlcv", "pence", "noHeader"};
    auto* rows = new QVBoxLayout(extra_);
    rows->setContentsMargins(0, 0, 0, 0);
    int i = 0;
    for (QCheckBox* box : {adjusted_, latest_, ohlcv_, pence_, noHeader_}) {
        box->setObjectName(QString::fromLatin1(names[i++]));
        box->setParent(extra_);
        rows->addWidget(box);
    }
    auto* note = new QLabel(QStringLiteral("Date and field separator formats are used when no specific format (Excel, "
                                           "Metastock or Quicken) is chosen during file selection."),
                            extra_);
    note->setWordWrap(true);
    rows->addWidget(note);
}

void COptionExport::Commit()
{
    PriceFileOptions& o = PriceFileSettings();
    o.exportFormat = uint8_t(Format() | (adjusted_->isChecked() ? 0x20 : 0) | (latest_->isChecked() ? 0x40 : 0) |
                             (ohlcv_->isChecked() ? 0x80 : 0));
    o.exportFormat2 = uint8_t((o.exportFormat2 & ~3) | (pence_->isChecked() ? 1 : 0) | (noHeader_->isChecked() ? 2 : 0));
    o.exportSeparator = FieldSeparator(o.exportSeparator, "No export delimiter chosen.  It is unchanged");
    o.exportDateSeparator = DateSeparator(o.exportDateSeparator, "No date delimiter chosen.  It is unchanged");
}

// ---- Import

COptionImport::COptionImport(QWidget* parent)
    : COptionFileFormat(OptionPage::Import, PriceFileSettings().importFormat, PriceFileSettings().importSeparator,
                        PriceFileSettings().importDateSeparator, PriceFileSettings().importDateSeparatorUsed, parent)
{
    const PriceFileOptions& o = PriceFileSettings();
    auto* grid = new QGridLayout(extra_);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* errors = Box("Error reporting", extra_);
    auto* errorRows = new QVBoxLayout(errors);
    errors_ = Group({Radio(0, "Don't report any errors"), Radio(0, "Report errors at end"), Radio(0, "Report all errors")},
                    o.importErrorLevel);
    for (QAbstractButton* b : errors_->buttons()) {
        b->setObjectName(QStringLiteral("errors%1").arg(errors_->id(b)));
        b->setParent(errors);
        errorRows->addWidget(b);
    }
    auto* existing = Box("Existing shares", extra_);
    auto* existingRows = new QVBoxLayout(existing);
    overwrite_ = Group({Radio(0, "Append if share exists"), Radio(0, "Replace if share exists")}, o.importOverwrite);
    for (QAbstractButton* b : overwrite_->buttons()) {
        b->setObjectName(QStringLiteral("overwrite%1").arg(overwrite_->id(b)));
        b->setParent(existing);
        existingRows->addWidget(b);
    }
    replaceDates_ = Check(0, "Replace data for matching dates", o.importReplaceDates);
    replaceDates_->setObjectName(QStringLiteral("replaceDates"));
    fileName_ = Check(0, "Use file name for share (only if no share name is given in the file)", o.importFileNameForShare);
    fileName_->setObjectName(QStringLiteral("fileName"));
    comma_ = Check(0, "Allow comma as decimal point", !o.importNoCommaDecimal);
    comma_->setObjectName(QStringLiteral("comma"));
    grid->addWidget(errors, 0, 0);
    grid->addWidget(existing, 0, 1);
    int row = 1;
    for (QCheckBox* box : {replaceDates_, fileName_, comma_}) {
        box->setParent(extra_);
        grid->addWidget(box, row++, 0, 1, 2);
    }
}

void COptionImport::Commit()
{
    PriceFileOptions& o = PriceFileSettings();
    o.importFormat = Format();
    o.importSeparator = FieldSeparator(o.importSeparator, "No import field delimiter chosen.  It is unchanged");
    o.importDateSeparatorUsed = useDateSeparator_->isChecked();
    o.importDateSeparator = DateSeparator(o.importDateSeparator, "No import date separator chosen.  It is unchanged");
    o.importErrorLevel = uint8_t(std::max(0, errors_->checkedId()));
    o.importOverwrite = uint8_t(std::max(0, overwrite_->checkedId()));
    o.importReplaceDates = replaceDates_->isChecked();
    o.importFileNameForShare = fileName_->isChecked();
    o.importNoCommaDecimal = !comma_->isChecked();
}

// ---- Portfolios & Transactions

COptionPort::COptionPort(bool forPortfolioView, QWidget* parent) : COptionPage(OptionPage::Portfolio, parent)
{
    const uint32_t word = AddToPortfolioConfirmOption;
    auto* layout = new QVBoxLayout(this);
    auto* expenses = Box("Expenses", this);
    auto* expenseRows = new QVBoxLayout(expenses);
    expenses_ = Group({Radio(0, "Don't show expenses"), Radio(0, "Show expenses"), Radio(0, "Show all expenses")},
                      TransactionDialogDefaults().expenses);
    for (QAbstractButton* b : expenses_->buttons()) {
        b->setObjectName(QStringLiteral("expenses%1").arg(expenses_->id(b)));
        expenseRows->addWidget(b);
    }
    layout->addWidget(expenses);
    cash_ = Check(0, "Include attached Cash balance(s) in Portfolio valuation", IncludeAttachedCashOption());
    cash_->setObjectName(QStringLiteral("cash"));
    layout->addWidget(cash_);
    auto* warning = Box("Warning when adding shares to a portfolio", this);
    warning->setObjectName(QStringLiteral("warning"));
    auto* warningGrid = new QGridLayout(warning);
    warning_ = Group({Radio(0, "No warning"), Radio(0, "Always warn"), Radio(0, "Customise warning")}, WarningButton(word));
    int row = 0;
    for (QAbstractButton* b : warning_->buttons()) {
        b->setObjectName(QStringLiteral("warning%1").arg(warning_->id(b)));
        warningGrid->addWidget(b, row++, 0);
    }
    value_ = Edit(0, QString::number(WarningValue(word)));
    value_->setObjectName(QStringLiteral("warningValue"));
    warningGrid->addWidget(value_, 2, 1);
    layout->addWidget(warning);
    layout->addStretch(1);
    // A portfolio view opens the page for its expenses and valuation only.
    warning->setVisible(!forPortfolioView);
    connect(warning_, &QButtonGroup::idClicked, this, [this](int id) { value_->setEnabled(id == 2); });
    value_->setEnabled(warning_->checkedId() == 2);
}

bool COptionPort::Validate() { return !value_->isEnabled() || CheckWholeField(value_, 0, kWarningValueMax); }

void COptionPort::Commit()
{
    TransactionDialogDefaults().expenses = ExpensesOption(std::max(0, expenses_->checkedId()));
    IncludeAttachedCashOption() = cash_->isChecked();
    const int button = warning_->checkedId();
    const uint16_t value = button == 2 ? uint16_t(value_->text().trimmed().toInt()) : WarningValue(AddToPortfolioConfirmOption);
    AddToPortfolioConfirmOption = PackWarningWord(button, value);
}

// ---- Pre-set Portfolios

int& COptionPresetPorts::RebuildCount()
{
    static int count = 0;
    return count;
}

COptionPresetPorts::COptionPresetPorts(QWidget* parent) : COptionPage(OptionPage::PresetPortfolios, parent)
{
    const AlarmPortfolioOptions& a = AlarmPortfolioSettings();
    const HighLowOption& h = GetHighLowOption();
    showList_ = Check(0, "Show list of individual alarms after each update", a.showAlarmList);
    showList_->setObjectName(QStringLiteral("showList"));
    goTo_ = Check(0, "Go to 'Alarms' portfolio after each update", a.goToAlarms);
    goTo_->setObjectName(QStringLiteral("goTo"));
    rises_ = Check(0, "Check intermediate rises", a.intermediateRises);
    rises_->setObjectName(QStringLiteral("rises"));
    const AlarmDayRange& range = GetAlarmPortfolioHooks().range;
    alarmMethod_ = Group({Radio(0, "Don't check back"), Radio(0, "Check back"), Radio(0, "Check back to date of previous update")},
                         std::min<int>(range.mode, 2));
    alarmDays_ = Edit(0, QString::number(std::max<int>(range.days, 1)));
    alarmDays_->setObjectName(QStringLiteral("alarmDays"));
    highLowMethod_ = Group({Radio(0, "Don't check back"), Radio(0, "Check back"), Radio(0, "Check back to date of previous update"),
                            Radio(0, "Check on date")},
                           h.mode);
    highLowDays_ = Edit(0, QString::number(h.days ? h.days : 1));
    highLowDays_->setObjectName(QStringLiteral("highLowDays"));
    date_ = MakeDialogDateField(this, 2281, h.secondDate ? h.secondDate : GetTodayDate(kSevenDays), "highLowDate");
    auto* settings = new QPushButton(QStringLiteral("High/Low Settings"), this);
    settings->setObjectName(QStringLiteral("highLowSettings"));
    settings->setToolTip(QStringLiteral("Change or view the settings for Highs & Lows"));

    auto* layout = new QVBoxLayout(this);
    auto* alarms = Box("Alarm portfolio", this);
    auto* alarmGrid = new QGridLayout(alarms);
    alarmGrid->addWidget(showList_, 0, 0, 1, 3);
    alarmGrid->addWidget(goTo_, 1, 0, 1, 3);
    alarmGrid->addWidget(rises_, 2, 0, 1, 3);
    int row = 3;
    for (QAbstractButton* b : alarmMethod_->buttons()) {
        b->setObjectName(QStringLiteral("alarmMethod%1").arg(alarmMethod_->id(b)));
        alarmGrid->addWidget(b, row++, 0);
    }
    alarmGrid->addWidget(alarmDays_, 4, 1);
    alarmGrid->addWidget(new QLabel(QStringLiteral("days"), alarms), 4, 2);
    layout->addWidget(alarms);
    auto* highs = Box("'New Highs' and 'New Lows' Portfolios", this);
    auto* highGrid = new QGridLayout(highs);
    row = 0;
    for (QAbstractButton* b : highLowMethod_->buttons()) {
        b->setObjectName(QStringLiteral("highLowMethod%1").arg(highLowMethod_->id(b)));
        highGrid->addWidget(b, row++, 0);
    }
    highGrid->addWidget(highLowDays_, 1, 1);
    highGrid->addWidget(new QLabel(QStringLiteral("days since last update"), highs), 1, 2);
    date_->setParent(highs);
    highGrid->addWidget(date_, 3, 1, 1, 2);
    highGrid->addWidget(settings, 4, 0);
    layout->addWidget(highs);
    layout->addStretch(1);

    connect(showList_, &QCheckBox::toggled, this, [this] { Enable(); });
    connect(alarmMethod_, &QButtonGroup::idClicked, this, [this] { Enable(); });
    connect(highLowMethod_, &QButtonGroup::idClicked, this, [this] { Enable(); });
    connect(settings, &QPushButton::clicked, this, [] { RunGlobalHighLowSettings(nullptr); });
    Enable();
}

void COptionPresetPorts::Enable()
{
    goTo_->setEnabled(!showList_->isChecked());
    alarmDays_->setEnabled(alarmMethod_->checkedId() == 1);
    highLowDays_->setEnabled(highLowMethod_->checkedId() == 1);
    date_->EnableWindow(highLowMethod_->checkedId() == 3);
}

bool COptionPresetPorts::Validate()
{
    return (!alarmDays_->isEnabled() || CheckWholeField(alarmDays_, 1, 999)) &&
           (!highLowDays_->isEnabled() || CheckWholeField(highLowDays_, 1, 999));
}

void COptionPresetPorts::Commit()
{
    AlarmPortfolioOptions& a = AlarmPortfolioSettings();
    const bool risesBefore = a.intermediateRises;
    a.showAlarmList = showList_->isChecked();
    a.goToAlarms = goTo_->isChecked();
    a.intermediateRises = rises_->isChecked();
    AlarmDayRange& range = GetAlarmPortfolioHooks().range;
    const AlarmDayRange rangeBefore = range;
    range.mode = uint8_t(std::max(0, alarmMethod_->checkedId()));
    if (alarmDays_->isEnabled())
        range.days = uint16_t(alarmDays_->text().trimmed().toInt());
    const bool alarmsChanged =
        a.intermediateRises != risesBefore || range.mode != rangeBefore.mode || range.days != rangeBefore.days;
    HighLowOption& h = GetHighLowOption();
    const HighLowOption before = h;
    h.mode = uint8_t(std::max(0, highLowMethod_->checkedId()));
    if (highLowDays_->isEnabled())
        h.days = uint16_t(highLowDays_->text().trimmed().toInt());
    if (h.mode == 3) {
        const PackedDate typed = date_->ReadDate();
        h.secondDate = typed ? typed : date_->date;
    }
    // The pre-set portfolios are rebuilt only when the settings they are built by changed: the alarm
    // settings touch the two alarm portfolios alone.
    if (h.mode != before.mode || h.days != before.days || h.secondDate != before.secondDate) {
        RefillPresetPortfolios();
        ++RebuildCount();
    } else if (alarmsChanged) {
        RefillShareAlarmPortfolio();
        RefillGlobalAlarmPortfolio();
    }
}

} // namespace qv
