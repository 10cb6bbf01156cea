// The details view's dialogs, the share-dates dialog and the default range of a chart.
#include "lists/ui/DetailDialogs.h"

#include "core/DateText.h"
#include "lists/ui/ColumnDialogs.h"
#include "platform/MessageBox.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/StyleButton.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>

namespace qv {

namespace {

constexpr uint32_t kHelpBase = 0x20000;

template <typename W>
W* Named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

uint32_t FontFlags(const DetailDisplaySettings& s)
{
    return (s.bold ? 1u : 0u) | (s.italic ? 2u : 0u) | (s.underline ? 4u : 0u);
}

void Tell(const std::string& text) { ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Exclamation); }

} // namespace

// ---- Select the details to display

CSelectDetailsDlg::CSelectDetailsDlg(std::vector<uint8_t> selection, std::vector<QString> names, QWidget* parent)
    : QDialog(parent), names_(std::move(names)), included_(ReadDetailSelection(WriteDetailSelection(selection))),
      left_(Named(new QListWidget(this), "notIncluded")), right_(Named(new QListWidget(this), "included"))
{
    setObjectName(QStringLiteral("384"));
    setWindowTitle(QStringLiteral("Select the details to display"));
    names_.resize(size_t(kDetailItemCount));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Details not included"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Details included"), this), 0, 2);
    grid->addWidget(left_, 1, 0, 8, 1);
    grid->addWidget(right_, 1, 2, 8, 1);
    struct Button {
        const char* text;
        const char* name;
        void (CSelectDetailsDlg::*action)();
    } buttons[] = {{">>", "allRight", &CSelectDetailsDlg::moveAllRight}, {">", "right", &CSelectDetailsDlg::moveRight},
                   {"<", "left", &CSelectDetailsDlg::moveLeft},         {"<<", "allLeft", &CSelectDetailsDlg::moveAllLeft},
                   {"up", "up", &CSelectDetailsDlg::moveUp},            {"down", "down", &CSelectDetailsDlg::moveDown},
                   {"Default", "default", &CSelectDetailsDlg::useDefault}};
    int row = 1;
    for (const Button& b : buttons) {
        auto* push = Named(new QPushButton(QString::fromLatin1(b.text), this), b.name);
        connect(push, &QPushButton::clicked, this, b.action);
        grid->addWidget(push, row++, 1);
    }
    grid->addWidget(OkCancelHelpButtons(*this, kHelpBase + 384), 9, 0, 1, 3);
    connect(left_, &QListWidget::currentRowChanged, this, [this] { updateEnabling(); });
    connect(right_, &QListWidget::currentRowChanged, this, [this] { updateEnabling(); });
    fill(-1, -1);
}

QPushButton* CSelectDetailsDlg::button(const char* name) const
{
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

void CSelectDetailsDlg::fill(int leftRow, int rightRow)
{
    left_->clear();
    right_->clear();
    for (uint8_t i : DetailItemsNotIncluded(included_))
        left_->addItem(names_[i]);
    for (uint8_t i : included_)
        right_->addItem(names_[i]);
    left_->setCurrentRow(std::min(leftRow, left_->count() - 1));
    right_->setCurrentRow(std::min(rightRow, right_->count() - 1));
    updateEnabling();
}

void CSelectDetailsDlg::updateEnabling()
{
    const bool leftChosen = left_->currentRow() >= 0;
    const int r = right_->currentRow();
    button("right")->setEnabled(leftChosen);
    button("allRight")->setEnabled(leftChosen);
    button("left")->setEnabled(r >= 0);
    button("allLeft")->setEnabled(r >= 0);
    button("up")->setEnabled(r > 0);
    button("down")->setEnabled(r >= 0 && r + 1 < right_->count());
}

void CSelectDetailsDlg::selectLeft(int row) { left_->setCurrentRow(row); }
void CSelectDetailsDlg::selectRight(int row) { right_->setCurrentRow(row); }

void CSelectDetailsDlg::moveRight()
{
    const int row = left_->currentRow();
    const auto left = DetailItemsNotIncluded(included_);
    if (row < 0 || size_t(row) >= left.size())
        return;
    included_.push_back(left[size_t(row)]);
    fill(row, int(included_.size()) - 1);
}

void CSelectDetailsDlg::moveLeft()
{
    const int row = right_->currentRow();
    if (row < 0 || size_t(row) >= included_.size())
        return;
    included_.erase(included_.begin() + row);
    fill(0, row);
}

void CSelectDetailsDlg::moveAllRight()
{
    for (uint8_t i : DetailItemsNotIncluded(included_))
        included_.push_back(i);
    fill(-1, 0);
}

void CSelectDetailsDlg::moveAllLeft()
{
    included_.clear();
    fill(0, -1);
}

void CSelectDetailsDlg::moveUp()
{
    const int row = right_->currentRow();
    if (row <= 0 || size_t(row) >= included_.size())
        return;
    std::swap(included_[size_t(row)], included_[size_t(row - 1)]);
    fill(left_->currentRow(), row - 1);
}

void CSelectDetailsDlg::moveDown()
{
    const int row = right_->currentRow();
    if (row < 0 || size_t(row + 1) >= included_.size())
        return;
    std::swap(included_[size_t(row)], included_[size_t(row + 1)]);
    fill(left_->currentRow(), row + 1);
}

void CSelectDetailsDlg::useDefault()
{
    included_ = DefaultDetailItems();
    fill(-1, -1);
}

// ---- Display design

CDisplayDesignDlg::CDisplayDesignDlg(const DetailDisplaySettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), whiteSpace_(Named(new QSlider(Qt::Horizontal, this), "whiteSpace")),
      labelSample_(Named(new CStyleButton(this), "labelText")), boxSample_(Named(new CStyleButton(this), "boxText"))
{
    setObjectName(QStringLiteral("225"));
    setWindowTitle(QStringLiteral("Display design"));
    whiteSpace_->setRange(0, 4);
    whiteSpace_->setPageStep(1);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("White space"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Less"), this), 0, 1);
    grid->addWidget(whiteSpace_, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("More"), this), 0, 3);
    labelSample_->CreateFontSample(QString::fromStdString(settings.face), FontFlags(settings), settings.points,
                                   settings.labelText, settings.labelBackground, false);
    boxSample_->CreateFontSample(QString::fromStdString(settings.face), FontFlags(settings), settings.points,
                                 settings.boxText, settings.boxBackground, false);
    for (CStyleButton* s : {labelSample_, boxSample_})
        s->setMinimumSize(100, 28);
    grid->addWidget(new QLabel(QStringLiteral("Label text"), this), 1, 0);
    grid->addWidget(labelSample_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Box text"), this), 1, 2);
    grid->addWidget(boxSample_, 1, 3);
    const char* names[8] = {"profits", "profitsForecast", "eps", "epsForecast",
                            "dividend", "dividendForecast", "turnover", "turnoverForecast"};
    const char* texts[8] = {"Profits", "Profits forecast", "EPS", "EPS forecast",
                            "Dividend", "Dividend forecast", "Turnover", "Turnover forecast"};
    for (size_t i = 0; i < bars_.size(); ++i) {
        const uint32_t word = (i % 2) ? settings.forecastBars[i / 2] : settings.bars[i / 2];
        bars_[i] = Named(new CStyleButton(this), names[i]);
        bars_[i]->CreateFromPackedStyle(word, settings.boxBackground, false);
        bars_[i]->setMinimumSize(80, 20);
        grid->addWidget(new QLabel(QString::fromLatin1(texts[i]), this), 2 + int(i / 2), (i % 2) * 2);
        grid->addWidget(bars_[i], 2 + int(i / 2), (i % 2) * 2 + 1);
        connect(bars_[i], &CStyleButton::styleChosen, this, [this, i] { readSamples(bars_[i]); });
    }
    for (CStyleButton* s : {labelSample_, boxSample_})
        connect(s, &CStyleButton::styleChosen, this, [this, s] { readSamples(s); });
    auto* defaults = Named(new QPushButton(QStringLiteral("Default"), this), "default");
    grid->addWidget(defaults, 6, 0);
    grid->addWidget(OkCancelHelpButtons(*this, kHelpBase + 225), 6, 1, 1, 3);
    connect(defaults, &QPushButton::clicked, this, &CDisplayDesignDlg::resetToDefault);
    connect(whiteSpace_, &QSlider::valueChanged, this, [this](int p) { settings_.whiteSpace = WhiteSpaceOfSlider(p); });
    setSettings(settings);
}

DetailDisplaySettings CDisplayDesignDlg::settings() const { return settings_; }

void CDisplayDesignDlg::setSettings(const DetailDisplaySettings& settings)
{
    settings_ = settings;
    whiteSpace_->setValue(SliderOfWhiteSpace(settings.whiteSpace));
    refreshSamples();
}

void CDisplayDesignDlg::setWhiteSpacePosition(int position) { whiteSpace_->setValue(position); }

void CDisplayDesignDlg::setLabelBackground(uint32_t colour)
{
    settings_.labelBackground = colour;
    refreshSamples();
}

void CDisplayDesignDlg::setBoxBackground(uint32_t colour)
{
    settings_.boxBackground = colour;
    refreshSamples();
}

void CDisplayDesignDlg::setFont(const QString& face, int points, bool bold, bool italic, bool underline)
{
    settings_.face = face.toStdString();
    settings_.points = points;
    settings_.bold = bold;
    settings_.italic = italic;
    settings_.underline = underline;
    refreshSamples();
}

void CDisplayDesignDlg::resetToDefault() { setSettings(DetailDisplaySettings{}); }

uint32_t CDisplayDesignDlg::sampleBackground(int bar) const { return bars_[size_t(bar)]->GetColour(1); }

// The choice made through one sample: text and background colours, the font of either font sample
// (which all samples share), a bar's packed pen; a bar's background is the box background.
void CDisplayDesignDlg::readSamples(const CStyleButton* changed)
{
    settings_.labelText = labelSample_->GetColour(0);
    settings_.labelBackground = labelSample_->GetColour(1);
    settings_.boxText = boxSample_->GetColour(0);
    const uint32_t boxBackground = changed->mode() == SampleMode::Font ? boxSample_->GetColour(1) : changed->GetColour(1);
    for (size_t i = 0; i < bars_.size(); ++i)
        ((i % 2) ? settings_.forecastBars[i / 2] : settings_.bars[i / 2]) =
            (bars_[i]->GetColour(0) & 0xFFFFFF) | bars_[i]->GetPackedStyle();
    QString face;
    uint32_t flags = 0;
    int size = settings_.points;
    if (changed->mode() == SampleMode::Font)
        changed->GetFont(face, flags, size);
    if (!face.isEmpty())
        setFont(face, size, flags & 1, flags & 2, flags & 4);
    setBoxBackground(boxBackground);
}

void CDisplayDesignDlg::refreshSamples()
{
    const QString face = QString::fromStdString(settings_.face);
    for (CStyleButton* s : {labelSample_, boxSample_})
        s->SetFont(face, FontFlags(settings_), settings_.points);
    labelSample_->SetColour(settings_.labelText, settings_.labelBackground);
    boxSample_->SetColour(settings_.boxText, settings_.boxBackground);
    for (size_t i = 0; i < bars_.size(); ++i)
        bars_[i]->SetColourAndStyle((i % 2) ? settings_.forecastBars[i / 2] : settings_.bars[i / 2], settings_.boxBackground);
}

// ---- Share dates

CShareDatesDlg::CShareDatesDlg(const QString& shareName, std::vector<ShareDateRow> rows, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("689"));
    setWindowTitle(shareName.isEmpty() ? QStringLiteral("Unknown company") : shareName);
    auto* grid = new QGridLayout(this);
    const auto sorted = SortShareDates(std::move(rows));
    for (const ShareDateRow& r : sorted) {
        const QString date = QString::fromStdString(FormatDate(r.date));
        grid->addWidget(new QLabel(QString::fromStdString(r.name), this), int(rows_.size()), 0);
        grid->addWidget(new QLabel(date, this), int(rows_.size()), 1);
        rows_.push_back(QString::fromStdString(r.name) + QLatin1Char('\t') + date);
    }
    if (rows_.empty()) {
        grid->addWidget(new QLabel(QStringLiteral("No dates available"), this), 0, 0, 1, 2);
        rows_.push_back(QStringLiteral("No dates available"));
    }
    auto* close = Named(new QPushButton(QStringLiteral("Close"), this), "2");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    grid->addWidget(close, int(rows_.size()), 1);
    InstallControlHelp(*this);
    adjustSize();
}

QString CShareDatesDlg::rowText(int row) const { return row >= 0 && row < rowCount() ? rows_[size_t(row)] : QString(); }

void CShareDatesDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->text() == QStringLiteral(">")) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---- Define the default range

CDefaultRangeDlg::CDefaultRangeDlg(std::array<uint8_t, kChartRangeBytes>& record, PackedDate latestStart,
                                   PackedDate latestEnd, PackedDate lastPrice, std::function<void()> apply,
                                   QWidget* parent)
    : QDialog(parent), record_(record), original_(record), lastPrice_(lastPrice), apply_(std::move(apply)),
      limited_(Named(new QCheckBox(QStringLiteral("Set limited range"), this), "limited")),
      countUsed_(Named(new QCheckBox(QStringLiteral("Previous"), this), "countUsed")),
      count_(Named(new QLineEdit(this), "count")),
      startUsed_(Named(new QCheckBox(QStringLiteral("Starting at date"), this), "startUsed")),
      endUsed_(Named(new QCheckBox(QStringLiteral("Ending at date"), this), "endUsed"))
{
    setObjectName(QStringLiteral("223"));
    setWindowTitle(QStringLiteral("Define the default range"));
    const ChartRange range = FillRangeDates(ReadChartRange(record), latestStart, latestEnd);
    auto* grid = new QGridLayout(this);
    grid->addWidget(limited_, 0, 0, 1, 4);
    grid->addWidget(countUsed_, 1, 0);
    grid->addWidget(count_, 1, 1);
    const char* unitNames[4] = {"days", "weeks", "months", "years"};
    const char* unitTexts[4] = {"Days", "Weeks", "Months", "Years"};
    for (int u = 0; u < 4; ++u) {
        units_[size_t(u)] = Named(new QRadioButton(QString::fromLatin1(unitTexts[u]), this), unitNames[u]);
        grid->addWidget(units_[size_t(u)], 2, u);
    }
    start_ = MakeDialogDateField(this, 1, range.start, "startDate");
    end_ = MakeDialogDateField(this, 2, range.end, "endDate");
    grid->addWidget(startUsed_, 3, 0);
    grid->addWidget(start_, 3, 1, 1, 3);
    grid->addWidget(endUsed_, 4, 0);
    grid->addWidget(end_, 4, 1, 1, 3);
    auto* preview = Named(new QPushButton(QStringLiteral("Preview"), this), "preview");
    grid->addWidget(preview, 5, 0);
    grid->addWidget(OkCancelHelpButtons(*this, kHelpBase + 223), 5, 1, 1, 3);
    connect(preview, &QPushButton::clicked, this, &CDefaultRangeDlg::preview);
    for (QCheckBox* c : {limited_, countUsed_, startUsed_, endUsed_})
        connect(c, &QCheckBox::clicked, this, &CDefaultRangeDlg::switched);
    setRange(range);
}

void CDefaultRangeDlg::setRange(const ChartRange& range)
{
    limited_->setChecked(range.has(ChartRange::kLimited));
    countUsed_->setChecked(range.has(ChartRange::kCountUsed));
    startUsed_->setChecked(range.has(ChartRange::kStartUsed));
    endUsed_->setChecked(range.has(ChartRange::kEndUsed));
    count_->setText(QString::number(range.count));
    units_[size_t(std::min(range.unit(), 3))]->setChecked(true);
    unitFlags_ = uint16_t(range.flags & ~(ChartRange::kUnitMask | ChartRange::kLimited | ChartRange::kCountUsed |
                                          ChartRange::kStartUsed | ChartRange::kEndUsed));
    start_->date = range.start;
    start_->FormatDate(true);
    end_->date = range.end;
    end_->FormatDate(true);
    updateEnabling();
}

ChartRange CDefaultRangeDlg::range() const
{
    ChartRange r;
    r.flags = unitFlags_;
    for (int u = 0; u < 4; ++u) {
        if (units_[size_t(u)]->isChecked())
            r.flags = uint16_t(r.flags | u);
    }
    r.set(ChartRange::kLimited, limited_->isChecked());
    r.set(ChartRange::kCountUsed, countUsed_->isChecked());
    r.set(ChartRange::kStartUsed, startUsed_->isChecked());
    r.set(ChartRange::kEndUsed, endUsed_->isChecked());
    r.count = uint16_t(std::clamp(count_->text().trimmed().toInt(), 0, 0xFFFF));
    r.start = start_->ReadDate() ? start_->ReadDate() : start_->date;
    r.end = end_->ReadDate() ? end_->ReadDate() : end_->date;
    return r;
}

void CDefaultRangeDlg::switched()
{
    const ChartRange r = ApplyRangeSwitches(range());
    startUsed_->setChecked(r.has(ChartRange::kStartUsed));
    endUsed_->setChecked(r.has(ChartRange::kEndUsed));
    updateEnabling();
}

QString CDefaultRangeDlg::countLabel() const { return countUsed_->text(); }
bool CDefaultRangeDlg::countEnabled() const { return count_->isEnabled(); }
bool CDefaultRangeDlg::startEnabled() const { return start_->edit()->isEnabled(); }

void CDefaultRangeDlg::updateEnabling()
{
    const bool on = limited_->isChecked();
    for (QCheckBox* c : {countUsed_, startUsed_, endUsed_})
        c->setEnabled(on);
    const bool count = on && countUsed_->isChecked();
    count_->setEnabled(count);
    for (QRadioButton* u : units_)
        u->setEnabled(count);
    start_->EnableWindow(on && startUsed_->isChecked());
    end_->EnableWindow(on && endUsed_->isChecked());
    countUsed_->setText(startUsed_->isChecked() ? QStringLiteral("Following") : QStringLiteral("Previous"));
}

bool CDefaultRangeDlg::checkAndStore()
{
    const RangeCheck check = CheckChartRange(range(), lastPrice_);
    if (check.swapped)
        setRange(check.range);
    if (!check.message.empty())
        Tell(check.message);
    if (!check.accepted)
        return false;
    WriteChartRange(check.range, record_);
    if (apply_)
        apply_();
    return true;
}

bool CDefaultRangeDlg::preview()
{
    const bool stored = checkAndStore();
    previewed_ = previewed_ || stored;
    return stored;
}

void CDefaultRangeDlg::accept()
{
    if (checkAndStore())
        QDialog::accept();
}

void CDefaultRangeDlg::reject()
{
    record_ = original_;
    if (previewed_ && apply_)
        apply_();
    QDialog::reject();
}

} // namespace qv
