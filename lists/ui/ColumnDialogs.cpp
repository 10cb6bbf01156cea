// The column dialogs.
#include "lists/ui/ColumnDialogs.h"

#include "platform/MessageBox.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StyleButton.h"

#include <QButtonGroup>
#include <QEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

#include <climits>
#include <optional>

namespace qv {

namespace {

constexpr uint32_t kHelpBase = 0x20000;
constexpr QSize kPreviewSize(220, 90);

template <typename W>
W* Named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The whole number of a field, or nothing when the text is not one.
std::optional<int> WholeNumber(const QLineEdit* edit)
{
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

void Refuse(const QString& text) { ShowMessage(text.toStdString(), {}, MsgButtons::Ok, MsgIcon::Exclamation); }

QComboBox* BorderChoice(QWidget* parent, const char* name)
{
    auto* box = Named(new QComboBox(parent), name);
    box->addItems({QStringLiteral("Default"), QStringLiteral("0 none"), QStringLiteral("1 dot"),
                   QStringLiteral("2 dash"), QStringLiteral("3 line")});
    return box;
}

} // namespace

CDateEdit* MakeDialogDateField(QWidget* parent, int controlId, PackedDate date, const char* name)
{
    auto* field = new CDateEdit(parent);
    field->Create(controlId, parent, QRect(0, 0, 170, 44), nullptr, date);
    field->setMinimumSize(170, 44);
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

QString NumberRangeMessage(int low, int high)
{
    return QStringLiteral("Please enter an integer between %1 and %2.").arg(low).arg(high);
}

bool CheckNumberField(QLineEdit* edit, int low, int high)
{
    const auto v = WholeNumber(edit);
    if (v && *v >= low && *v <= high)
        return true;
    Refuse(v ? NumberRangeMessage(low, high) : QStringLiteral("Please enter an integer."));
    edit->setFocus();
    edit->selectAll();
    return false;
}

// ---- Column borders & shading

CColumnStyleDlg::CColumnStyleDlg(const ColumnAppearance& appearance, uint32_t tableText, uint32_t tableBackground,
                                 QWidget* parent)
    : QDialog(parent), tableText_(tableText), tableBackground_(tableBackground)
{
    setObjectName(QStringLiteral("831"));
    setWindowTitle(QStringLiteral("Column borders & shading"));
    background_ = Named(new QCheckBox(QStringLiteral("Background"), this), "background");
    mix_ = Named(new QCheckBox(QStringLiteral("Mix row && column colours"), this), "mix");
    textColour_ = Named(new QCheckBox(QStringLiteral("Text Colour"), this), "textColour");
    textStyle_ = Named(new QCheckBox(QStringLiteral("Text Style"), this), "textStyle");
    bold_ = Named(new QCheckBox(QStringLiteral("Bold"), this), "bold");
    italic_ = Named(new QCheckBox(QStringLiteral("Italic"), this), "italic");
    underline_ = Named(new QCheckBox(QStringLiteral("Underline"), this), "underline");
    backgroundBox_ = Named(new CStyleButton(this), "backgroundBox");
    textBox_ = Named(new CStyleButton(this), "textBox");
    backgroundBox_->CreateColourBox(tableBackground, false);
    textBox_->CreateColourBox(tableText, false);
    for (CStyleButton* b : {backgroundBox_, textBox_})
        b->setMinimumSize(48, 20);
    left_ = BorderChoice(this, "leftStyle");
    right_ = BorderChoice(this, "rightStyle");
    preview_ = Named(new QLabel(this), "preview");
    preview_->setFixedSize(kPreviewSize);
    preview_->setFrameShape(QFrame::Box);
    auto* defaults = Named(new QPushButton(QStringLiteral("Default"), this), "default");

    auto* grid = new QGridLayout(this);
    grid->addWidget(background_, 0, 0);
    grid->addWidget(backgroundBox_, 0, 1);
    grid->addWidget(mix_, 1, 0, 1, 2);
    grid->addWidget(textColour_, 2, 0);
    grid->addWidget(textBox_, 2, 1);
    grid->addWidget(textStyle_, 3, 0);
    grid->addWidget(bold_, 4, 0);
    grid->addWidget(italic_, 4, 1);
    grid->addWidget(underline_, 4, 2);
    grid->addWidget(new QLabel(QStringLiteral("Left Style:"), this), 5, 0);
    grid->addWidget(left_, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("Right Style:"), this), 6, 0);
    grid->addWidget(right_, 6, 1);
    grid->addWidget(new QLabel(QStringLiteral("Preview:"), this), 7, 0);
    grid->addWidget(preview_, 8, 0, 1, 3);
    grid->addWidget(defaults, 9, 0);
    grid->addWidget(OkCancelHelpButtons(*this, kHelpBase + 831), 9, 1, 1, 2);

    for (QCheckBox* c : {background_, mix_, textColour_, textStyle_, bold_, italic_, underline_})
        connect(c, &QCheckBox::toggled, this, [this] { updateEnabling(); refreshPreview(); });
    for (QComboBox* c : {left_, right_})
        connect(c, &QComboBox::currentIndexChanged, this, [this] { refreshPreview(); });
    for (CStyleButton* b : {backgroundBox_, textBox_})
        connect(b, &CStyleButton::styleChosen, this, [this] { refreshPreview(); });
    connect(defaults, &QPushButton::clicked, this, &CColumnStyleDlg::resetToDefault);
    setAppearance(appearance);
}

void CColumnStyleDlg::setAppearance(const ColumnAppearance& a)
{
    background_->setChecked(a.background);
    mix_->setChecked(a.mix);
    textColour_->setChecked(a.textColour);
    textStyle_->setChecked(a.textStyle);
    bold_->setChecked(a.bold);
    italic_->setChecked(a.italic);
    underline_->setChecked(a.underline);
    if (a.background)
        backgroundBox_->SetColour(a.backgroundColour, a.backgroundColour);
    if (a.textColour)
        textBox_->SetColour(a.textColourValue, a.textColourValue);
    left_->setCurrentIndex(a.left + 1);
    right_->setCurrentIndex(a.right + 1);
    updateEnabling();
    refreshPreview();
}

ColumnAppearance CColumnStyleDlg::appearance() const
{
    ColumnAppearance a;
    a.background = background_->isChecked();
    a.mix = a.background && mix_->isChecked();
    a.textColour = textColour_->isChecked();
    a.textStyle = textStyle_->isChecked();
    a.bold = a.textStyle && bold_->isChecked();
    a.italic = a.textStyle && italic_->isChecked();
    a.underline = a.textStyle && underline_->isChecked();
    a.backgroundColour = a.background ? backgroundBox_->GetColour(0) : 0;
    a.textColourValue = a.textColour ? textBox_->GetColour(0) : 0;
    a.left = left_->currentIndex() - 1;
    a.right = right_->currentIndex() - 1;
    return a;
}

void CColumnStyleDlg::resetToDefault()
{
    ColumnAppearance none;
    setAppearance(none);
    backgroundBox_->SetColour(tableBackground_, tableBackground_);
    textBox_->SetColour(tableText_, tableText_);
}

void CColumnStyleDlg::setPreviewSource(std::function<QImage(const ColumnAppearance&, QSize)> source)
{
    previewSource_ = std::move(source);
    refreshPreview();
}

void CColumnStyleDlg::updateEnabling()
{
    mix_->setEnabled(background_->isChecked());
    backgroundBox_->setEnabled(background_->isChecked());
    textBox_->setEnabled(textColour_->isChecked());
    for (QCheckBox* c : {bold_, italic_, underline_})
        c->setEnabled(textStyle_->isChecked());
}

void CColumnStyleDlg::refreshPreview()
{
    if (!previewSource_)
        return;
    preview_->setPixmap(QPixmap::fromImage(previewSource_(appearance(), kPreviewSize)));
}

// ---- Change name of column

CColumnNameDlg::CColumnNameDlg(const QString& current, const QString& defaultName, QWidget* parent)
    : QDialog(parent), defaultName_(defaultName), edit_(Named(new QLineEdit(current, this), "name"))
{
    setObjectName(QStringLiteral("204"));
    setWindowTitle(QStringLiteral("Change name of column"));
    edit_->setMaxLength(50);
    edit_->selectAll();
    auto* defaults = Named(new QPushButton(QStringLiteral("Default"), this), "default");
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Default name:"), this), 0, 0);
    grid->addWidget(Named(new QLabel(defaultName, this), "defaultName"), 0, 1);
    grid->addWidget(edit_, 1, 0, 1, 2);
    grid->addWidget(Named(new QLabel(QStringLiteral("Note that you can use an underscore\ncharacter as a non-breaking space."), this), "note"), 2, 0, 1, 2);
    grid->addWidget(defaults, 3, 0);
    grid->addWidget(OkCancelHelpButtons(*this, kHelpBase + 204), 3, 1);
    connect(defaults, &QPushButton::clicked, this, [this] {
        useDefault_ = true;
        QDialog::accept();
    });
}

QString CColumnNameDlg::name() const { return useDefault_ ? defaultName_ : edit_->text(); }

// ---- Number entry

CTextEntryDlg::CTextEntryDlg(const QString& caption, const QString& prompt, const QString& note, uint32_t helpTopic,
                             int value, bool limited, QWidget* parent)
    : QDialog(parent), edit_(Named(new QLineEdit(QString::number(value), this), "value")), limited_(limited)
{
    setObjectName(QStringLiteral("218"));
    setWindowTitle(caption);
    edit_->selectAll();
    auto* grid = new QGridLayout(this);
    grid->addWidget(Named(new QLabel(prompt, this), "prompt"), 0, 0);
    grid->addWidget(edit_, 0, 1);
    grid->addWidget(Named(new QLabel(note, this), "note"), 1, 0, 1, 2);
    grid->addWidget(OkCancelHelpButtons(*this, helpTopic), 2, 0, 1, 2);
}

int CTextEntryDlg::value() const { return WholeNumber(edit_).value_or(0); }

void CTextEntryDlg::accept()
{
    if (!CheckNumberField(edit_, limited_ ? 10 : INT_MIN, limited_ ? 1000 : INT_MAX))
        return;
    QDialog::accept();
}

// ---- Highs & Lows Settings

CHighLowSettingsDlg::CHighLowSettingsDlg(bool global, HighLowPeriod period, PackedDate defaultDate, QWidget* parent)
    : QDialog(parent), kinds_(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("27241"));
    setWindowTitle(QStringLiteral("Highs & Lows Settings (%1)").arg(global ? QStringLiteral("Global") : QStringLiteral("This column")));
    const char* names[5] = {"allHistory", "lastTradingDays", "lastDays", "sinceJanuary", "sinceDate"};
    const QString texts[5] = {QStringLiteral("All history"), QStringLiteral("Last"), QStringLiteral("Last"),
                              QStringLiteral("Since 1st Jan (up to 1st April)"), QStringLiteral("Since")};
    auto* grid = new QGridLayout(this);
    for (int k = 0; k < 5; ++k) {
        auto* b = Named(new QRadioButton(texts[k], this), names[k]);
        kinds_->addButton(b, k);
        grid->addWidget(b, k, 0);
    }
    tradingDays_ = Named(new QLineEdit(QString::number(period.kind == 1 ? period.value : 250), this), "tradingDaysValue");
    days_ = Named(new QLineEdit(QString::number(period.kind == 2 ? period.value : 7), this), "daysValue");
    grid->addWidget(tradingDays_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("trading days"), this), 1, 2);
    grid->addWidget(days_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("days"), this), 2, 2);
    date_ = MakeDialogDateField(this, 4, period.kind == 4 && period.value ? PackedDate(period.value) : defaultDate,
                                "sinceDateValue");
    grid->addWidget(date_, 4, 1, 1, 2);
    grid->addWidget(OkCancelHelpButtons(*this, kHelpBase + 27241), 5, 0, 1, 3);
    connect(kinds_, &QButtonGroup::idClicked, this, [this] { updateEnabling(); });
    choose(period.kind <= 4 ? period.kind : 0);
}

void CHighLowSettingsDlg::choose(int kind)
{
    if (QAbstractButton* b = kinds_->button(kind))
        b->setChecked(true);
    updateEnabling();
}

void CHighLowSettingsDlg::updateEnabling()
{
    const int kind = kinds_->checkedId();
    tradingDays_->setEnabled(kind == 1);
    days_->setEnabled(kind == 2);
    date_->EnableWindow(kind == 4);
}

HighLowPeriod CHighLowSettingsDlg::period() const
{
    const int kind = std::max(kinds_->checkedId(), 0);
    HighLowPeriod p{uint16_t(kind), 0};
    if (kind == 1)
        p.value = uint16_t(WholeNumber(tradingDays_).value_or(0));
    else if (kind == 2)
        p.value = uint16_t(WholeNumber(days_).value_or(0));
    else if (kind == 4)
        p.value = date_->ReadDate() ? date_->ReadDate() : date_->date;
    return p;
}

void CHighLowSettingsDlg::accept()
{
    const int kind = kinds_->checkedId();
    if (kind == 1 || kind == 2) {
        const NumberRange r = HighLowPeriodRange(kind);
        if (!CheckNumberField(kind == 1 ? tradingDays_ : days_, r.low, r.high))
            return;
    }
    QDialog::accept();
}

// ---- The six date choices

CDateChoiceGroup::CDateChoiceGroup(const QString& title, bool firstOfChange, PackedDate defaultDate, int idBase,
                                   QWidget* parent)
    : QWidget(parent), choices_(new QButtonGroup(this))
{
    const char* names[6] = {"date", "daysAgo", "tradingDays", "weeksAgo", "monthsAgo", "yearsAgo"};
    const QString texts[6] = {QStringLiteral("Date"), QStringLiteral("Days ago"), QStringLiteral("Trading days"),
                              QStringLiteral("Weeks ago"), QStringLiteral("Months ago"), QStringLiteral("Years ago")};
    auto* box = new QGroupBox(title, this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(box);
    auto* grid = new QGridLayout(box);
    for (int c = 0; c < 6; ++c) {
        auto* b = new QRadioButton(texts[c], box);
        b->setObjectName(QString::fromLatin1(names[c]) + QString::number(idBase));
        choices_->addButton(b, c);
        grid->addWidget(b, c, 0);
        if (c == 0)
            continue;
        numbers_[size_t(c)] = new QLineEdit(QString::number(DateChoiceDefault(c, firstOfChange)), box);
        numbers_[size_t(c)]->setObjectName(QString::fromLatin1(names[c]) + QStringLiteral("Value") + QString::number(idBase));
        numbers_[size_t(c)]->setMaximumWidth(70);
        grid->addWidget(numbers_[size_t(c)], c, 1);
        numbers_[size_t(c)]->installEventFilter(this);
        connect(numbers_[size_t(c)], &QLineEdit::textEdited, this, [this, c] { choices_->button(c)->setChecked(true); });
    }
    date_ = MakeDialogDateField(box, idBase, defaultDate, "dateValue");
    date_->setObjectName(QStringLiteral("dateValue") + QString::number(idBase));
    grid->addWidget(date_, 0, 1);
    date_->edit()->installEventFilter(this);
    connect(choices_, &QButtonGroup::idClicked, this, [this](int c) {
        if (c == 0) {
            date_->edit()->setFocus();
            date_->edit()->selectAll();
        } else {
            numbers_[size_t(c)]->setFocus();
            numbers_[size_t(c)]->selectAll();
        }
    });
    select(0);
}

void CDateChoiceGroup::select(int choice)
{
    if (QAbstractButton* b = choices_->button(choice))
        b->setChecked(true);
}

int CDateChoiceGroup::selected() const { return std::max(choices_->checkedId(), 0); }

void CDateChoiceGroup::setChoice(int unit, int value)
{
    const int c = DateChoiceOfUnit(unit);
    select(c);
    if (c == 0) {
        if (value) {
            date_->date = PackedDate(value);
            date_->FormatDate(true);
        }
        return;
    }
    numbers_[size_t(c)]->setText(QString::number(value));
}

bool CDateChoiceGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == date_->edit())
            select(0);
        for (int c = 1; c < 6; ++c) {
            if (watched == numbers_[size_t(c)])
                select(c);
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::pair<int, int> CDateChoiceGroup::choice() const
{
    const int c = selected();
    if (c == 0)
        return {0, date_->ReadDate() ? date_->ReadDate() : date_->date};
    return {UnitOfDateChoice(c), WholeNumber(numbers_[size_t(c)]).value_or(0)};
}

QString CDateChoiceGroup::check() const
{
    const int c = selected();
    if (c == 0)
        return {};
    NumberRange r = DateChoiceRange(c);
    r.low = std::min(r.low, lowest_);
    const auto v = WholeNumber(numbers_[size_t(c)]);
    if (v && r.contains(*v))
        return {};
    numbers_[size_t(c)]->setFocus();
    numbers_[size_t(c)]->selectAll();
    return NumberRangeMessage(r.low, r.high);
}

void CDateChoiceGroup::nameControls(const std::array<int, 6>& choiceIds, const std::array<int, 6>& fieldIds)
{
    for (int c = 0; c < 6; ++c) {
        choices_->button(c)->setObjectName(QString::number(choiceIds[size_t(c)]));
        QWidget* field = c == 0 ? static_cast<QWidget*>(date_) : numbers_[size_t(c)];
        field->setObjectName(QString::number(fieldIds[size_t(c)]));
    }
}

CPriceDateDlg::CPriceDateDlg(int unit, int value, PackedDate defaultDate, QWidget* parent)
    : QDialog(parent), group_(new CDateChoiceGroup(QString(), false, defaultDate, 1, this))
{
    setObjectName(QStringLiteral("228"));
    setWindowTitle(QStringLiteral("Select date of price"));
    group_->setChoice(unit, value);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group_);
    layout->addWidget(OkCancelHelpButtons(*this, kHelpBase + 228));
}

std::pair<int, int> CPriceDateDlg::choice() const { return group_->choice(); }

void CPriceDateDlg::accept()
{
    if (const QString refusal = group_->check(); !refusal.isEmpty()) {
        Refuse(refusal);
        return;
    }
    QDialog::accept();
}

CPriceChangeDlg::CPriceChangeDlg(std::pair<int, int> first, std::pair<int, int> second, PackedDate firstDate,
                                 PackedDate secondDate, QWidget* parent)
    : QDialog(parent), first_(new CDateChoiceGroup(QStringLiteral(" First date "), true, firstDate, 1, this)),
      second_(new CDateChoiceGroup(QStringLiteral("Second date "), false, secondDate, 2, this))
{
    setObjectName(QStringLiteral("621"));
    setWindowTitle(QStringLiteral("Price change between two dates"));
    first_->setChoice(first.first, first.second);
    second_->setChoice(second.first, second.second);
    auto* grid = new QGridLayout(this);
    grid->addWidget(first_, 0, 0);
    grid->addWidget(second_, 0, 1);
    grid->addWidget(OkCancelHelpButtons(*this, kHelpBase + 621), 1, 0, 1, 2);
}

std::pair<int, int> CPriceChangeDlg::first() const { return first_->choice(); }
std::pair<int, int> CPriceChangeDlg::second() const { return second_->choice(); }

void CPriceChangeDlg::accept()
{
    for (CDateChoiceGroup* g : {first_, second_}) {
        if (const QString refusal = g->check(); !refusal.isEmpty()) {
            Refuse(refusal);
            return;
        }
    }
    QDialog::accept();
}

// ---- Add Price High/Low Column

CHighLowColumnDlg::CHighLowColumnDlg(HighLowPeriods& periods, bool lows, int display, PackedDate defaultDate,
                                     QWidget* parent)
    : QDialog(parent), periods_(periods), own_(periods.lastColumn), defaultDate_(defaultDate)
{
    build(lows, display, false);
}

CHighLowColumnDlg::CHighLowColumnDlg(HighLowPeriods& periods, int fieldCode, int subKind, HighLowPeriod own,
                                     PackedDate defaultDate, QWidget* parent)
    : QDialog(parent), periods_(periods), own_(own), defaultDate_(defaultDate)
{
    const HighLowColumnChoice c = HighLowChoiceOfColumn(fieldCode, subKind);
    if (!c.customPeriod)
        own_ = periods.lastColumn;
    build(c.lows, c.display, c.customPeriod);
}

void CHighLowColumnDlg::build(bool lows, int display, bool custom)
{
    setObjectName(QStringLiteral("830"));
    setWindowTitle(QStringLiteral("Add Price High/Low Column"));
    highLow_ = new QButtonGroup(this);
    display_ = new QButtonGroup(this);
    source_ = new QButtonGroup(this);
    auto* kindBox = new QGroupBox(QStringLiteral(" Price Highs or Lows "), this);
    auto* kindGrid = new QGridLayout(kindBox);
    auto* highs = Named(new QRadioButton(QStringLiteral("Highs"), kindBox), "highs");
    auto* lowsButton = Named(new QRadioButton(QStringLiteral("Lows"), kindBox), "lows");
    highLow_->addButton(highs, 0);
    highLow_->addButton(lowsButton, 1);
    kindGrid->addWidget(highs, 0, 0);
    kindGrid->addWidget(lowsButton, 0, 1);
    const char* names[4] = {"price", "dateOf", "daysSince", "changeFrom"};
    for (int d = 0; d < 4; ++d) {
        displayButtons_[size_t(d)] = Named(new QRadioButton(kindBox), names[d]);
        display_->addButton(displayButtons_[size_t(d)], d);
        kindGrid->addWidget(displayButtons_[size_t(d)], 1 + d, 0, 1, 2);
    }
    auto* periodBox = new QGroupBox(QStringLiteral(" Look Back Period "), this);
    auto* periodGrid = new QGridLayout(periodBox);
    auto* global = Named(new QRadioButton(QStringLiteral("Global settings"), periodBox), "globalSettings");
    auto* own = Named(new QRadioButton(QStringLiteral("Custom setting for this column"), periodBox), "customSetting");
    source_->addButton(global, 0);
    source_->addButton(own, 1);
    globalButton_ = Named(new QPushButton(periodBox), "globalPeriod");
    ownButton_ = Named(new QPushButton(periodBox), "customPeriod");
    periodGrid->addWidget(global, 0, 0);
    periodGrid->addWidget(globalButton_, 0, 1);
    periodGrid->addWidget(own, 1, 0);
    periodGrid->addWidget(ownButton_, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(kindBox);
    layout->addWidget(periodBox);
    layout->addWidget(OkCancelHelpButtons(*this, kHelpBase + 830));

    highLow_->button(lows ? 1 : 0)->setChecked(true);
    display_->button(std::clamp(display, 0, 3))->setChecked(true);
    source_->button(custom ? 1 : 0)->setChecked(true);
    connect(highLow_, &QButtonGroup::idClicked, this, [this] { refreshButtons(); });
    connect(globalButton_, &QPushButton::clicked, this, &CHighLowColumnDlg::editGlobal);
    connect(ownButton_, &QPushButton::clicked, this, &CHighLowColumnDlg::editOwn);
    refreshButtons();
}

void CHighLowColumnDlg::refreshButtons()
{
    const QString word = lows() ? QStringLiteral("Low") : QStringLiteral("High");
    const QString texts[4] = {word, QStringLiteral("Date of #"), QStringLiteral("Days since #"),
                              QStringLiteral("% change from #")};
    for (int d = 0; d < 4; ++d)
        displayButtons_[size_t(d)]->setText(QString(texts[d]).replace(QLatin1Char('#'), word));
    globalButton_->setText(QString::fromStdString(FormatHighLowPeriod(periods_.global.kind, periods_.global.value)));
    ownButton_->setText(QString::fromStdString(FormatHighLowPeriod(own_.kind, own_.value)));
}

void CHighLowColumnDlg::editGlobal()
{
    CHighLowSettingsDlg dialog(true, periods_.global, defaultDate_, this);
    if (RunModalDialog(dialog) == QDialog::Accepted)
        periods_.global = dialog.period();
    source_->button(0)->setChecked(true);
    refreshButtons();
}

void CHighLowColumnDlg::editOwn()
{
    CHighLowSettingsDlg dialog(false, own_, defaultDate_, this);
    if (RunModalDialog(dialog) == QDialog::Accepted) {
        own_ = dialog.period();
        periods_.lastColumn = own_;
    }
    source_->button(1)->setChecked(true);
    refreshButtons();
}

bool CHighLowColumnDlg::lows() const { return highLow_->checkedId() == 1; }
int CHighLowColumnDlg::display() const { return std::max(display_->checkedId(), 0); }
bool CHighLowColumnDlg::customPeriod() const { return source_->checkedId() == 1; }

std::pair<int, int> CHighLowColumnDlg::fieldCodeAndSubKind() const
{
    if (customPeriod())
        return {94, display() * 2 + (lows() ? 1 : 0)};
    return {GlobalHighLowFieldCode(lows(), display()), 0};
}

// ---- Volume columns

CVolumeDateDlg::CVolumeDateDlg(int unit, int value, PackedDate defaultDate, QWidget* parent)
    : QDialog(parent), group_(new CDateChoiceGroup(QString(), false, defaultDate, 1, this))
{
    setObjectName(QStringLiteral("768"));
    setWindowTitle(QStringLiteral("Select date of volume"));
    group_->nameControls({3131, 3114, 3116, 3118, 3120, 3122}, {1829, 3125, 3127, 3128, 3129, 3130});
    group_->setChoice(unit, value);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group_);
    layout->addWidget(OkCancelHelpButtons(*this, 86470));
}

std::pair<int, int> CVolumeDateDlg::choice() const { return group_->choice(); }

void CVolumeDateDlg::accept()
{
    if (const QString refusal = group_->check(); !refusal.isEmpty()) {
        Refuse(refusal);
        return;
    }
    QDialog::accept();
}

CVolumeAverageDlg::CVolumeAverageDlg(int days, QWidget* parent)
    : QDialog(parent), days_(Named(new QLineEdit(QString::number(days > 0 ? days : 10), this), "3132"))
{
    setObjectName(QStringLiteral("769"));
    setWindowTitle(QStringLiteral("Select length of volume average"));
    days_->setMaximumWidth(70);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Trading days"), this), 0, 0);
    grid->addWidget(days_, 0, 1);
    auto* note = new QLabel(QStringLiteral("Note: The average is calculated over the most recent data available"), this);
    note->setWordWrap(true);
    grid->addWidget(note, 1, 0, 1, 2);
    grid->addWidget(OkCancelHelpButtons(*this, kHelpBase + 769), 2, 0, 1, 2);
    days_->selectAll();
}

int CVolumeAverageDlg::days() const { return WholeNumber(days_).value_or(0); }

void CVolumeAverageDlg::accept()
{
    if (CheckNumberField(days_, 2, 240))
        QDialog::accept();
}

} // namespace qv
