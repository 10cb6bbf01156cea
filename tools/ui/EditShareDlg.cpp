// The share editor's sheet, pages and small dialogs.
#include "tools/ui/EditShareDlg.h"

#include "core/DateText.h"
#include "core/SystemDate.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/PriceListBox.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstdio>

namespace qv {
namespace {

constexpr int kNameLimit = 40;
constexpr const char* kInvalidDate = "The date entered was out of range or invalid. Please re-enter the date";

CEditSharePrice::AdjustChooser& AdjustChooser()
{
    static CEditSharePrice::AdjustChooser chooser;
    return chooser;
}

QComboBox* CodeCombo(const CodeList& list, uint8_t code, int id, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::number(id));
    for (const char* text : list.texts)
        combo->addItem(QString::fromLatin1(text));
    combo->setCurrentIndex(list.IndexOf(code));
    return combo;
}

uint8_t CodeOf(const CodeList& list, const QComboBox* combo)
{
    const int index = combo->currentIndex();
    return index >= 0 && size_t(index) < list.codes.size() ? list.codes[size_t(index)] : list.codes[0];
}

QLineEdit* Field(int id, const QString& text, QWidget* parent)
{
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(QString::number(id));
    return field;
}

QString Number(double value) { return QString::number(value, 'g', 10); }

// The weekday and date of an element counted from the first date.
PackedDate DateOfElement(PackedDate first, int element)
{
    PackedDate date = first;
    for (int i = 0; i < element && date; ++i)
        date = NextWeekday(date);
    return date;
}

} // namespace

CEditShareFun::CEditShareFun(const ShareFundamentals& f, QWidget* parent)
    : QWidget(parent), name_(Field(kName, FromCp1252(f.name), this)),
      sedol_(Field(kSedol, f.sedol ? QString::number(f.sedol) : QString(), this)),
      shares_(Field(kShares, f.numShares != 0 ? Number(f.numShares) : QString(), this)),
      nms_(Field(kNms, f.nms != 0 ? Number(f.nms) : QString(), this)),
      type_(CodeCombo(ShareTypeList(), f.codes.type, kType, this)),
      listing_(CodeCombo(ListingList(), f.codes.listing, kListing, this)),
      currency_(CodeCombo(CurrencyList(), f.codes.currency, kCurrency, this)),
      event_(CodeCombo(EventList(), f.codes.event, kEvent, this))
{
    setObjectName(QStringLiteral("534"));
    name_->setMaxLength(kNameLimit);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Name"), name_);
    form->addRow(QStringLiteral("Sedol"), sedol_);
    form->addRow(QString(), new QLabel(QStringLiteral("Enter without hyphens"), this));
    form->addRow(QStringLiteral("Number of shares"), shares_);
    form->addRow(QStringLiteral("NMS"), nms_);
    form->addRow(QString(), new QLabel(QStringLiteral("Normally 150, 100, 75, 50, 15, 10, 5, 3, 2, 1 or 0.5"), this));
    form->addRow(QStringLiteral("Share type"), type_);
    form->addRow(QStringLiteral("Listing"), listing_);
    form->addRow(QStringLiteral("Currency"), currency_);
    form->addRow(QStringLiteral("Event type"), event_);
}

QLineEdit* CEditShareFun::field(int id) const
{
    for (QLineEdit* f : {name_, sedol_, shares_, nms_})
        if (f->objectName() == QString::number(id))
            return f;
    return nullptr;
}

QComboBox* CEditShareFun::list(int id) const
{
    for (QComboBox* c : {type_, listing_, currency_, event_})
        if (c->objectName() == QString::number(id))
            return c;
    return nullptr;
}

std::optional<ShareFundamentals> CEditShareFun::Read() const
{
    ShareFundamentals f;
    f.name = ToCp1252(name_->text().trimmed());
    if (f.name.empty()) {
        ShowMessage("Please give this share a name", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return std::nullopt;
    }
    bool ok = true;
    const QString sedol = sedol_->text().trimmed();
    f.sedol = sedol.isEmpty() ? 0 : sedol.toUInt(&ok);
    const QString shares = shares_->text().trimmed();
    bool sharesOk = true;
    f.numShares = shares.isEmpty() ? 0 : shares.toFloat(&sharesOk);
    const QString nms = nms_->text().trimmed();
    bool nmsOk = true;
    f.nms = nms.isEmpty() ? 0 : nms.toFloat(&nmsOk);
    if (!ok || !sharesOk || !nmsOk || f.nms < 0 || f.nms > 999 || f.numShares < 0) {
        ShowMessage("Please enter the Sedol, the number of shares and the NMS (0 to 999) as numbers", {},
                    MsgButtons::Ok, MsgIcon::Exclamation);
        return std::nullopt;
    }
    f.codes.type = CodeOf(ShareTypeList(), type_);
    f.codes.listing = CodeOf(ListingList(), listing_);
    f.codes.currency = CodeOf(CurrencyList(), currency_);
    f.codes.event = CodeOf(EventList(), event_);
    return f;
}

CEditSharePrice::CEditSharePrice(EditedItem& item, QWidget* parent)
    : QWidget(parent), item_(item), list_(new CPriceListBox(this)), start_(new CDateEdit(this))
{
    setObjectName(QStringLiteral("535"));
    list_->setObjectName(QStringLiteral("1542"));
    list_->setDayText([this](int element) {
        const PackedDate date = DateOfElement(item_.firstDate, element);
        char text[32];
        std::snprintf(text, sizeof text, "%.*s\t%2i/%2i/%02i", int(DayAbbreviation(WeekdayOf(date)).size()),
                      DayAbbreviation(WeekdayOf(date)).data(), DayOfMonth(date), MonthOfYear(date), TwoDigitYear(date));
        return QString::fromLatin1(text);
    });
    list_->setAnomalyLevelDialog(RunAnomalyLevelDialog);
    start_->Create(1829, this, QRect(0, 0, 220, 24), nullptr, item_.firstDate);
    start_->setMinimumWidth(220);
    auto button = [this](int id, const char* text, const char* tip, void (CEditSharePrice::*run)()) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::number(id));
        b->setToolTip(QString::fromLatin1(tip));
        connect(b, &QPushButton::clicked, this, run);
        return b;
    };
    auto* side = new QVBoxLayout;
    side->addWidget(button(1555, "Adjust", "Adjust all share prices before the selected date", &CEditSharePrice::Adjust));
    side->addWidget(button(1506, "Interpolate", "Interpolate missing figures", &CEditSharePrice::Interpolate));
    side->addWidget(button(1510, "Next anomaly", "Find the next price anomaly", &CEditSharePrice::NextAnomaly));
    auto* startBox = new QGroupBox(QStringLiteral(" New start date "), this);
    auto* startLayout = new QVBoxLayout(startBox);
    startLayout->addWidget(start_);
    startLayout->addWidget(button(1535, "Set", "", &CEditSharePrice::SetStart));
    side->addWidget(startBox);
    side->addWidget(new QLabel(QStringLiteral("Price (pence) or value: type over a price to change it;\ntype M to "
                                              "mark a day missing, H or C to mark it closed"),
                               this));
    side->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(side);
    Refill();
}

void CEditSharePrice::SetAdjustChooser(AdjustChooser chooser) { qv::AdjustChooser() = std::move(chooser); }

void CEditSharePrice::Refill()
{
    list_->setPrices(item_.prices.data(), int(item_.prices.size()));
    list_->refillRows();
}

int CEditSharePrice::SelectedElement() const
{
    const int row = list_->currentRow();
    return row < 0 ? -1 : list_->elementOfRow(row);
}

void CEditSharePrice::Adjust()
{
    const int element = SelectedElement();
    if (element < 0) {
        ShowMessage("Select the first date to adjust from", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    std::optional<Adjustment> chosen;
    const PackedDate date = DateOfElement(item_.firstDate, element);
    if (qv::AdjustChooser()) {
        chosen = qv::AdjustChooser()(date);
    } else {
        CPriceAdjustDlg dialog(date, this);
        if (RunModalDialog(dialog) == QDialog::Accepted)
            chosen = Adjustment{dialog.date(), dialog.multiplier()};
    }
    if (!chosen)
        return;
    // A date before the first day has no price to adjust.
    const std::optional<size_t> through = EntryOnOrBefore(item_.firstDate, chosen->date, item_.prices.size());
    if (!through)
        return;
    AdjustPrices(item_.prices, *through, chosen->multiplier);
    Refill();
}

void CEditSharePrice::Interpolate()
{
    if (!InterpolatePrices(item_.prices)) {
        ShowMessage("No interpolation done", {}, MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    Refill();
}

void CEditSharePrice::NextAnomaly()
{
    const int element = SelectedElement();
    const size_t from = element < 0 ? 0 : size_t(element) + 1;
    std::optional<size_t> found = FindNextAnomaly(item_.prices, from, AnomalyCutoff() / 100.0);
    if (!found) {
        char text[80];
        std::snprintf(text, sizeof text, "No anomalies found at %.1f%% cutoff", double(AnomalyCutoff()));
        ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    for (int row = 0; row < list_->count(); ++row)
        if (list_->elementOfRow(row) == int(*found))
            list_->setCurrentRow(row);
}

void CEditSharePrice::SetStart()
{
    const PackedDate date = start_->ReadDate();
    if (date == 0) {
        ShowMessage(kInvalidDate, {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    StartDateResult result = SetStartDate(item_, date, false);
    if (result == StartDateResult::AskToDelete) {
        const std::string question = "Do you want to delete the data between " + FormatDate(item_.firstDate) +
                                     " and " + FormatDate(date);
        if (ShowMessage(question, {}, MsgButtons::YesNo, MsgIcon::Question, 1) != MsgAnswer::Yes)
            return;
        result = SetStartDate(item_, date, true);
    }
    if (result == StartDateResult::TooMany) {
        ShowMessage("Would be too many data points", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    Refill();
}

CEditShare::CEditShare(const uint8_t* record, QWidget* parent)
    : QDialog(parent), item_(ReadEditedItem(record, GetTodayDate(0))), tabs_(new QTabWidget(this)),
      fun_(new CEditShareFun(item_.fundamentals, this)), price_(new CEditSharePrice(item_, this))
{
    setObjectName(QStringLiteral("533"));
    setWindowTitle(item_.fundamentals.name.empty() ? QStringLiteral("Edit share data")
                                                   : QStringLiteral("Edit ") + FromCp1252(item_.fundamentals.name));
    tabs_->addTab(fun_, QStringLiteral("Share fundamentals"));
    tabs_->addTab(price_, QStringLiteral("Share price"));
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, 0x20000 + 533);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    resize(620, 520);
}

void CEditShare::accept()
{
    std::optional<ShareFundamentals> fundamentals = fun_->Read();
    if (!fundamentals) {
        tabs_->setCurrentWidget(fun_);
        return;
    }
    item_.fundamentals = *fundamentals;
    switch (RebuildEditedRecord(item_, result_)) {
    case RebuildResult::Built: QDialog::accept(); return;
    case RebuildResult::NoPrices:
        ShowMessage("There are no prices: type at least one", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        break;
    case RebuildResult::TooLarge: ShowMessage("Prices too large", {}, MsgButtons::Ok, MsgIcon::Exclamation); break;
    case RebuildResult::TooMuchData:
        ShowMessage("Too much data\n\nNothing was changed", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        break;
    }
    result_.clear();
    tabs_->setCurrentWidget(price_);
}

CPriceAdjustDlg::CPriceAdjustDlg(PackedDate date, QWidget* parent)
    : QDialog(parent), factor_(Field(kFactor, QStringLiteral("1.0"), this)),
      multiply_(new QRadioButton(QStringLiteral("Multiply"), this)),
      divide_(new QRadioButton(QStringLiteral("Divide"), this)), dateField_(new CDateEdit(this)), date_(date)
{
    setObjectName(QStringLiteral("379"));
    setWindowTitle(QStringLiteral("Set price adjustment"));
    multiply_->setObjectName(QString::number(kMultiply));
    divide_->setObjectName(QString::number(kDivide));
    multiply_->setChecked(true);
    auto* group = new QButtonGroup(this);
    group->addButton(multiply_);
    group->addButton(divide_);
    auto* dateBox = new QGroupBox(QStringLiteral(" Adjust prices before and on "), this);
    auto* dateLayout = new QVBoxLayout(dateBox);
    dateField_->Create(kDate, dateBox, QRect(0, 0, 200, 44), nullptr, date);
    dateField_->setMinimumSize(200, 44);
    dateLayout->addWidget(dateField_);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Factor"), this), 0, 0);
    grid->addWidget(factor_, 0, 1);
    grid->addWidget(multiply_, 1, 0);
    grid->addWidget(divide_, 1, 1);
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, 0x20000 + 379);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(dateBox);
    layout->addWidget(buttons);
}

void CPriceAdjustDlg::accept()
{
    bool ok = false;
    const double factor = factor_->text().trimmed().toDouble(&ok);
    if (!ok || factor < 0.0001 || factor > 100000) {
        ShowMessage("Please enter a factor between 0.0001 and 100000", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        factor_->setFocus();
        return;
    }
    const PackedDate date = dateField_->ReadDate();
    if (date == 0) {
        ShowMessage(kInvalidDate, {}, MsgButtons::Ok, MsgIcon::Exclamation);
        dateField_->edit()->setFocus();
        return;
    }
    multiplier_ = divide_->isChecked() ? 1 / factor : factor;
    date_ = date;
    QDialog::accept();
}

CAnomalyLevelDlg::CAnomalyLevelDlg(int level, QWidget* parent)
    : QDialog(parent), field_(Field(kLevel, QString::number(level), this)), level_(level)
{
    setObjectName(QStringLiteral("380"));
    setWindowTitle(QStringLiteral("Set anomaly level detection"));
    auto* text = new QLabel(QStringLiteral("This should be between 1 and 90.    It sets the percentage size of change "
                                           "that is detected as an anomaly."),
                            this);
    text->setWordWrap(true);
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, 0x20000 + 380);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(field_);
    layout->addWidget(text);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

void CAnomalyLevelDlg::accept()
{
    bool ok = false;
    const int level = field_->text().trimmed().toInt(&ok);
    if (!ok || level < 1 || level > 90) {
        ShowMessage("This should be between 1 and 90.", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        field_->setFocus();
        return;
    }
    level_ = level;
    QDialog::accept();
}

std::optional<std::vector<uint8_t>> RunEditShare(const uint8_t* record)
{
    CEditShare sheet(record, QApplication::activeWindow());
    if (RunModalDialog(sheet) != QDialog::Accepted)
        return std::nullopt;
    return sheet.record();
}

void RunAnomalyLevelDialog()
{
    CAnomalyLevelDlg dialog(AnomalyCutoff(), QApplication::activeWindow());
    if (RunModalDialog(dialog) == QDialog::Accepted)
        AnomalyCutoff() = dialog.level();
}

} // namespace qv
