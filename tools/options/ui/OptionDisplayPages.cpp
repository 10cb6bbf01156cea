// The page base and the display pages: Lists, Graph, Clipboard, General and Currency.
#include "tools/options/ui/OptionPages.h"

#include "chartmodel/ChartCopy.h"
#include "chartmodel/PortfolioSeriesCache.h"
#include "chartmodel/ViewGraph.h"
#include "core/ConfigState.h"
#include "core/FormatNumber.h"
#include "core/ShareStatistics.h"
#include "core/ViewSettings.h"
#include "lists/CellNumber.h"
#include "lists/ListOptions.h"
#include "lists/ListViewOptions.h"
#include "lists/ui/ColumnDialogs.h"
#include "platform/MessageBox.h"
#include "shell/FrameSwitches.h"
#include "shell/ui/CalcEdit.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/StyleButton.h"
#include "views/ViewBase.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

namespace {

void Refuse(QLineEdit* edit, const QString& text)
{
    ShowMessage(text.toStdString(), {}, MsgButtons::Ok, MsgIcon::Exclamation);
    edit->setFocus();
    edit->selectAll();
}

QGroupBox* Box(const char* title, QWidget* parent) { return new QGroupBox(QString::fromLatin1(title), parent); }

constexpr int kStartOffsets[] = {-1800, -900, 0, 900, 1800};
constexpr const char* kStartNames[] = {"-30 mins", "-15 mins", "  0 mins", "+15 mins", "+30 mins"};

} // namespace

bool CheckWholeField(QLineEdit* edit, int low, int high)
{
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    if (ok && v >= low && v <= high)
        return true;
    Refuse(edit, ok ? NumberRangeMessage(low, high) : QStringLiteral("Please enter an integer."));
    return false;
}

bool CheckRealField(QLineEdit* edit, double low, double high)
{
    bool ok = false;
    const double v = edit->text().trimmed().toDouble(&ok);
    if (ok && v >= low && v <= high)
        return true;
    Refuse(edit, ok ? QStringLiteral("Please enter a number between %1 and %2.").arg(low).arg(high)
                    : QStringLiteral("Please enter a number."));
    return false;
}

bool CheckFieldLength(QLineEdit* edit, size_t most)
{
    if (size_t(edit->text().size()) <= most)
        return true;
    Refuse(edit, QStringLiteral("Enter no more than %1 characters.").arg(most));
    return false;
}

COptionPage::COptionPage(OptionPage page, QWidget* parent) : QWidget(parent), page_(page)
{
    setObjectName(QString::fromLatin1(OptionPageOf(page).tab));
}

QCheckBox* COptionPage::Check(int id, const char* text, bool on)
{
    auto* box = new QCheckBox(QString::fromLatin1(text), this);
    box->setObjectName(QString::number(id));
    box->setChecked(on);
    return box;
}

QRadioButton* COptionPage::Radio(int id, const char* text)
{
    auto* button = new QRadioButton(QString::fromLatin1(text), this);
    button->setObjectName(QString::number(id));
    return button;
}

QLineEdit* COptionPage::Edit(int id, const QString& text)
{
    auto* edit = new QLineEdit(text, this);
    edit->setObjectName(QString::number(id));
    // The pages' fields hold short numbers and single characters.
    edit->setMaximumWidth(90);
    return edit;
}

QButtonGroup* COptionPage::Group(std::initializer_list<QRadioButton*> buttons, int checked)
{
    auto* group = new QButtonGroup(this);
    int index = 0;
    for (QRadioButton* b : buttons)
        group->addButton(b, index++);
    if (QAbstractButton* b = group->button(checked))
        b->setChecked(true);
    return group;
}

// ---- Lists

COptionList::COptionList(bool realTime, QWidget* parent) : COptionPage(OptionPage::List, parent)
{
    const ListOptions& list = CurrentListOptions();
    const ListViewOptions& view = CurrentListViewOptions();
    const MicrographOptions& micro = MicrographSettings();
    showOld_ = Check(26517, "Show historic shares", list.showOldShares);
    days_ = Edit(2170, QString::number(list.staleDays));
    prefix_ = Check(2145, "Prefix non-Ord share names", CurrentCellSettings().showClassLetters);
    doubleClick_ = Check(1267, "Double click to graph share from Lists and Details Screens", view.doubleClickOpens);
    frozen_ = Edit(1537, QString::number(view.frozenColumns));
    trusts_ = Check(1473, "Include Investment Trusts in 'Shares'", list.trustsAreShares);
    stepped_ = Check(3061, "Draw stepped micrographs", micro.stepped);
    resort_ = Check(3100, "Auto resort every 5 minutes", micro.autoResort);
    start_ = new QComboBox(this);
    start_->setObjectName(QStringLiteral("3099"));
    for (int i = 0; i < 5; ++i)
        start_->addItem(QString::fromLatin1(kStartNames[i]), kStartOffsets[i]);
    const int found = start_->findData(int(micro.startOffset));
    start_->setCurrentIndex(found >= 0 ? found : 2);
    flicker_ = Check(18129, "Flicker-free drawing", view.doubleBuffering);
    tips_ = Check(4028, "Enable Data Tips", ListTipOption != 0);
    cycling_ = Check(3067, "Enable view cycling on the 'Enter' and 'Esc' keys", view.loopViews);
    scale_ = Group({Radio(1208, "80%"), Radio(1209, "90%"), Radio(1210, "100%")}, ListScaleButton());

    auto* grid = new QGridLayout(this);
    grid->addWidget(showOld_, 0, 0, 1, 2);
    auto* daysLabel = new QLabel(QStringLiteral("Number of days before a share is hidden unless 'Show historic shares' is selected."), this);
    daysLabel->setWordWrap(true);
    grid->addWidget(daysLabel, 1, 0);
    grid->addWidget(days_, 1, 1);
    grid->addWidget(prefix_, 2, 0, 1, 2);
    grid->addWidget(doubleClick_, 3, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Fixed columns when scrolling left/right"), this), 4, 0);
    grid->addWidget(frozen_, 4, 1);
    grid->addWidget(trusts_, 5, 0, 1, 2);
    grid->addWidget(flicker_, 6, 0, 1, 2);
    grid->addWidget(tips_, 7, 0, 1, 2);
    grid->addWidget(cycling_, 8, 0, 1, 2);
    auto* yield = Box("Yield adjustment", this);
    yield->setObjectName(QStringLiteral("3150"));
    auto* scaleRow = new QHBoxLayout(yield);
    scaleRow->addWidget(new QLabel(QStringLiteral("List scale"), yield));
    for (QAbstractButton* b : scale_->buttons())
        scaleRow->addWidget(b);
    grid->addWidget(yield, 9, 0, 1, 2);
    auto* intraday = Box("Intraday", this);
    auto* intradayGrid = new QGridLayout(intraday);
    intradayGrid->addWidget(stepped_, 0, 0, 1, 2);
    intradayGrid->addWidget(resort_, 1, 0, 1, 2);
    intradayGrid->addWidget(new QLabel(QStringLiteral("Micrograph start time"), intraday), 2, 0);
    intradayGrid->addWidget(start_, 2, 1);
    grid->addWidget(intraday, 10, 0, 1, 2);
    grid->setRowStretch(11, 1);
    // The intraday controls stay hidden, their settings untouched, while the real-time option is off.
    intraday->setVisible(realTime);

    connect(showOld_, &QCheckBox::toggled, days_, [this](bool on) { days_->setEnabled(!on); });
    days_->setEnabled(!showOld_->isChecked());
}

bool COptionList::Validate()
{
    return (!days_->isEnabled() || CheckWholeField(days_, 10, 10000)) && CheckWholeField(frozen_, 1, 50);
}

void COptionList::Commit()
{
    ListOptions& list = CurrentListOptions();
    ListViewOptions& view = CurrentListViewOptions();
    MicrographOptions& micro = MicrographSettings();
    const bool trustsChanged = list.trustsAreShares != trusts_->isChecked();
    list.showOldShares = showOld_->isChecked();
    if (days_->isEnabled())
        list.staleDays = days_->text().trimmed().toInt();
    CurrentCellSettings().showClassLetters = prefix_->isChecked();
    view.doubleClickOpens = doubleClick_->isChecked();
    view.frozenColumns = frozen_->text().trimmed().toInt();
    list.trustsAreShares = trusts_->isChecked();
    micro.stepped = stepped_->isChecked();
    micro.autoResort = resort_->isChecked();
    micro.startOffset = int16_t(start_->currentData().toInt());
    view.doubleBuffering = flicker_->isChecked();
    ListTipOption = tips_->isChecked() ? 1 : 0;
    view.loopViews = cycling_->isChecked();
    ListScaleButton() = uint8_t(std::max(0, scale_->checkedId()));
    // The market series count investment trusts by the share classes.
    if (trustsChanged)
        SeriesCache().Clear();
    ApplyListScaleOption(kListScaleButtonFirst + ListScaleButton());
}

// ---- Graph

COptionGraph::COptionGraph(bool realTime, QWidget* parent) : COptionPage(OptionPage::Graph, parent)
{
    const ChartViewOptions& c = ChartOptions();
    const ChartViewOptions& g = c;
    adjusted_ = Check(2142, "Show prices adjusted for splits and consolidations", g.adjustedPrices);
    deflated_ = Check(1233, "Show original and deflated (Price relative to...)", g.deflatedLine);
    line_ = Check(1338, "Draw horizontal line with Price relative to...", g.relativeLine);
    percent_ = Check(1340, "Draw percentage scale with price Price relative to...", g.relativePercentScale);
    epic_ = Check(18128, "Display the EPIC code in the title", g.epicInTitle);
    exchange_ = Check(18125, "Prefix EPIC with exchange code in title && watermark", g.exchangeInTitle);
    flicker_ = Check(18129, "Flicker-free drawing", c.flickerFree != 0);
    spikes_ = Check(18130, "Hide data points classified as being 'spikes'", c.spikeRemoval != 0);
    alarmed_ = Check(3417, "Visual indicator on alarmed lines", g.alarmedLineMark);
    pounds_ = Check(3418, "Automatically switch value axis from pence to pounds", c.hundreds != 0);
    vertical_ = Check(2391, "Show vertical line only", c.verticalLineOnly != 0);
    style_ = new CStyleButton(this);
    style_->setObjectName(QStringLiteral("2393"));
    style_->CreateFromPackedStyle(g.crossHairPen, 0xFFFFFF, false);
    style_->setMinimumSize(80, 22);

    auto* layout = new QVBoxLayout(this);
    for (QCheckBox* box : {adjusted_, deflated_, line_, percent_, epic_, exchange_, flicker_, spikes_, alarmed_, pounds_})
        layout->addWidget(box);
    auto* cross = Box("Cross hair", this);
    auto* crossRow = new QHBoxLayout(cross);
    crossRow->addWidget(vertical_);
    crossRow->addWidget(new QLabel(QStringLiteral("Style"), cross));
    crossRow->addWidget(style_);
    layout->addWidget(cross);
    layout->addStretch(1);
    for (QCheckBox* box : {spikes_, exchange_, alarmed_})
        box->setVisible(realTime);
}

void COptionGraph::Commit()
{
    ChartViewOptions& c = ChartOptions();
    ChartViewOptions& g = c;
    g.adjustedPrices = adjusted_->isChecked();
    g.deflatedLine = deflated_->isChecked();
    g.relativeLine = line_->isChecked();
    g.relativePercentScale = percent_->isChecked();
    g.epicInTitle = epic_->isChecked();
    g.exchangeInTitle = exchange_->isChecked();
    c.flickerFree = flicker_->isChecked() ? 1 : 0;
    c.spikeRemoval = spikes_->isChecked() ? 1 : 0;
    g.alarmedLineMark = alarmed_->isChecked();
    c.hundreds = pounds_->isChecked() ? 1 : 0;
    c.verticalLineOnly = vertical_->isChecked() ? 1 : 0;
    g.crossHairPen = style_->GetPackedStyle();
}

// ---- Clipboard

COptionClipboard::COptionClipboard(QWidget* parent) : COptionPage(OptionPage::Clipboard, parent)
{
    const ClipboardCopyOptions& o = CopyOptions();
    bitmap_ = Radio(3154, "Copy graph as a bitmap");
    vector_ = Radio(3155, "Copy graph as a vector graph (more flexible)");
    window_ = Radio(2320, "Use window size");
    fixed_ = Radio(2322, "Use fixed size");
    Group({bitmap_, vector_}, o.bitmapFirst ? 0 : 1);
    Group({window_, fixed_}, o.useWindowSize ? 0 : 1);
    width_ = Edit(3156, QString::number(o.width));
    height_ = Edit(3157, QString::number(o.height));

    auto* layout = new QVBoxLayout(this);
    auto* format = Box("Format", this);
    auto* formatRows = new QVBoxLayout(format);
    formatRows->addWidget(bitmap_);
    formatRows->addWidget(vector_);
    layout->addWidget(format);
    auto* size = Box("Size", this);
    auto* sizeGrid = new QGridLayout(size);
    sizeGrid->addWidget(window_, 0, 0, 1, 2);
    sizeGrid->addWidget(fixed_, 1, 0, 1, 2);
    sizeGrid->addWidget(new QLabel(QStringLiteral("Width"), size), 2, 0);
    sizeGrid->addWidget(width_, 2, 1);
    sizeGrid->addWidget(new QLabel(QStringLiteral("Height"), size), 3, 0);
    sizeGrid->addWidget(height_, 3, 1);
    layout->addWidget(size);
    layout->addStretch(1);
    connect(fixed_, &QRadioButton::toggled, this, [this] { Enable(); });
    Enable();
}

void COptionClipboard::Enable()
{
    width_->setEnabled(fixed_->isChecked());
    height_->setEnabled(fixed_->isChecked());
}

bool COptionClipboard::Validate()
{
    return !fixed_->isChecked() ||
           (CheckWholeField(width_, kCopySizeMin, kCopySizeMax) && CheckWholeField(height_, kCopySizeMin, kCopySizeMax));
}

void COptionClipboard::Commit()
{
    ClipboardCopyOptions& o = CopyOptions();
    o.bitmapFirst = bitmap_->isChecked() ? 1 : 0;
    o.useWindowSize = window_->isChecked() ? 1 : 0;
    if (fixed_->isChecked()) {
        o.width = width_->text().trimmed().toInt();
        o.height = height_->text().trimmed().toInt();
    }
}

// ---- General

COptionGeneral::COptionGeneral(QWidget* parent) : COptionPage(OptionPage::General, parent)
{
    const uint8_t calc = ProgramSwitches().calculatorMode;
    own_ = Radio(2317, "Use Quorvantis calculator");
    desktop_ = Radio(2318, "Use the default Windows calculator");
    Group({own_, desktop_}, (calc & 0x80) ? 1 : 0);
    buttons_ = Check(2319, "Show memory buttons", calc & 1);
    value_ = Check(2321, "Show memory value", calc & 2);
    calculation_ = Check(2323, "Show calculation", calc & 4);
    large_ = Check(1827, "Show large buttons", calc & 8);
    const uint8_t fast = Config().optionsA.data()[OptionBlockA::kFindFastEpic];
    fastEpic_ = Check(2390, "Fast EPIC find", fast & 1);
    ask_ = Check(2375, "Ask 'Fast EPIC find' question", !(fast & 2));

    auto* layout = new QVBoxLayout(this);
    auto* calculator = Box("Calculator", this);
    auto* rows = new QVBoxLayout(calculator);
    for (QWidget* w : std::initializer_list<QWidget*>{own_, desktop_, buttons_, value_, calculation_, large_})
        rows->addWidget(w);
    layout->addWidget(calculator);
    auto* find = Box("Find a share", this);
    auto* findRows = new QVBoxLayout(find);
    findRows->addWidget(fastEpic_);
    findRows->addWidget(ask_);
    layout->addWidget(find);
    layout->addStretch(1);
    connect(desktop_, &QRadioButton::toggled, this, [this] { Enable(); });
    // The memory value needs the memory buttons.
    connect(buttons_, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            value_->setChecked(false);
    });
    connect(value_, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            buttons_->setChecked(true);
    });
    Enable();
}

void COptionGeneral::Enable()
{
    for (QCheckBox* box : {buttons_, value_, calculation_, large_})
        box->setEnabled(!desktop_->isChecked());
}

void COptionGeneral::Commit()
{
    const uint8_t page = uint8_t((buttons_->isChecked() ? 1 : 0) | (value_->isChecked() ? 2 : 0) |
                                 (calculation_->isChecked() ? 4 : 0) | (large_->isChecked() ? 8 : 0) |
                                 (desktop_->isChecked() ? 0x80 : 0));
    uint8_t& calc = ProgramSwitches().calculatorMode;
    calc = MergeBits(calc, page, kGeneralPageBits);
    uint8_t& fast = Config().optionsA.data()[OptionBlockA::kFindFastEpic];
    fast = uint8_t((fast & ~3) | (fastEpic_->isChecked() ? 1 : 0) | (ask_->isChecked() ? 0 : 2));
}

// ---- Currency

COptionCurrency::COptionCurrency(QWidget* parent) : COptionPage(OptionPage::Currency, parent)
{
    const ExchangeRates& rates = GetExchangeRates();
    euroAsE_ = Check(2470, "Display Euro symbol as 'E'", CurrentFormatOptions().plainEuroSign);
    euro_ = new CCalcEdit(this);
    euro_->Create(2471, nullptr, 0);
    euro_->SetValue(rates.euro);
    dollar_ = new CCalcEdit(this);
    dollar_->Create(2472, nullptr, 1);
    dollar_->SetValue(rates.usDollar);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(euroAsE_);
    auto* box = Box("Exchange rates", this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("Euros per \u00A3"), box), 0, 0);
    grid->addWidget(euro_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("US$ per \u00A3"), box), 1, 0);
    grid->addWidget(dollar_, 1, 1);
    auto* note = new QLabel(QStringLiteral("These rates are used when calculating PE and PEG ratios."), box);
    note->setWordWrap(true);
    grid->addWidget(note, 2, 0, 1, 2);
    layout->addWidget(box);
    layout->addStretch(1);
}

bool COptionCurrency::Validate()
{
    return CheckRealField(euro_->edit(), 0, 1000) && CheckRealField(dollar_->edit(), 0, 1000);
}

namespace {

// A field left as it was shown keeps the stored rate, whose further decimals the field does not show.
float RateOf(const CCalcEdit* field, float stored)
{
    const QString text = field->edit()->text().trimmed();
    return text == CCalcEdit::FormatValue(double(stored), true) ? stored : float(text.toDouble());
}

} // namespace

void COptionCurrency::Commit()
{
    const ExchangeRates& rates = GetExchangeRates();
    ApplyCurrencyPage(RateOf(euro_, rates.euro), RateOf(dollar_, rates.usDollar), euroAsE_->isChecked());
}

} // namespace qv
