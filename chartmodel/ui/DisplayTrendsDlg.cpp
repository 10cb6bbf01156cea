// The display trends dialog.
#include "chartmodel/ui/DisplayTrendsDlg.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/StyleButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace qv {

using namespace graphsetting;

namespace {
constexpr uint32_t kTrendsHelp = 86461;
constexpr int kRangeIds[3] = {1032, 1033, 1035};
const char* const kRangeNames[3] = {"Trend of displayed data", "Trend of all data", "Trend of last"};
} // namespace

CDisplayTrendsDlg::CDisplayTrendsDlg(GraphSetting& setting, bool intraday, QWidget* parent)
    : CSettingBlockDlg(setting, parent), intraday_(intraday)
{
    setObjectName(QStringLiteral("203"));
    setWindowTitle(QStringLiteral("Display trends"));
    auto* layout = new QGridLayout(this);
    trend_ = new QCheckBox(QStringLiteral("Trend line"), this);
    trend_->setObjectName(QStringLiteral("1030"));
    confidence_ = new QCheckBox(QStringLiteral("Confidence lines"), this);
    confidence_->setObjectName(QStringLiteral("1031"));
    trendPen_ = new CStyleButton(this);
    trendPen_->setObjectName(QStringLiteral("1436"));
    confidencePen_ = new CStyleButton(this);
    confidencePen_->setObjectName(QStringLiteral("1435"));
    for (CStyleButton* b : {trendPen_, confidencePen_})
        b->setFixedSize(100, 24);
    deviation_ = new QComboBox(this);
    deviation_->setObjectName(QStringLiteral("1037"));
    deviation_->addItems({"0.5", "1.0", "1.5", "2.0", "2.5", "3.0"});
    layout->addWidget(trend_, 0, 0);
    layout->addWidget(trendPen_, 0, 1);
    layout->addWidget(confidence_, 1, 0);
    layout->addWidget(confidencePen_, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("Devs"), this), 2, 0);
    layout->addWidget(deviation_, 2, 1);
    range_ = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(QString::fromLatin1(kRangeNames[i]), this);
        r->setObjectName(QString::number(kRangeIds[i]));
        range_->addButton(r, i);
        layout->addWidget(r, 3 + i, 0);
    }
    periods_ = new QLineEdit(this);
    periods_->setObjectName(QStringLiteral("1038"));
    periods_->setValidator(new QIntValidator(1, 99999, periods_));
    layout->addWidget(periods_, 5, 1);
    connect(range_->button(2), &QRadioButton::clicked, this, [this] { periods_->setFocus(); });
    connect(periods_, &QLineEdit::textEdited, this, [this] { range_->button(2)->setChecked(true); });

    auto* byDefault = new QPushButton(QStringLiteral("Default"), this);
    byDefault->setObjectName(QStringLiteral("3"));
    connect(byDefault, &QPushButton::clicked, this, [this] {
        GraphSetting defaults = setting_;
        InitTrendSettings(defaults, intraday_);
        show(defaults);
    });
    auto* preview = new QPushButton(QStringLiteral("Preview"), this);
    preview->setObjectName(QStringLiteral("18127"));
    connect(preview, &QPushButton::clicked, this, [this] { Preview(); });
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kTrendsHelp);
    buttons->addButton(byDefault, QDialogButtonBox::ResetRole);
    buttons->addButton(preview, QDialogButtonBox::ActionRole);
    layout->addWidget(buttons, 6, 0, 1, 2);
    show(setting);
}

void CDisplayTrendsDlg::show(const GraphSetting& from)
{
    uint32_t back = U32(from, kBackground) & 0xFFFFFF;
    trend_->setChecked(U32(from, kTrendShown) != 0);
    confidence_->setChecked(U32(from, kConfidenceShown) != 0);
    trendPen_->CreateFromPackedStyle(U32(from, kTrendPen), back, false);
    confidencePen_->CreateFromPackedStyle(U32(from, kConfidencePen), back, false);
    uint32_t deviation = U32(from, kTrendDeviation);
    deviation_->setCurrentIndex(deviation <= 5 ? int(deviation) : 2);
    uint32_t range = U32(from, kTrendRange);
    range_->button(range <= 2 ? int(range) : 0)->setChecked(true);
    periods_->setText(QString::number(U32(from, kTrendPeriods)));
}

void CDisplayTrendsDlg::write()
{
    SetU32(setting_, kTrendShown, trend_->isChecked() ? 1 : 0);
    SetU32(setting_, kConfidenceShown, confidence_->isChecked() ? 1 : 0);
    SetU32(setting_, kTrendPen, (trendPen_->GetColour(0) & 0xFFFFFF) | trendPen_->GetPackedStyle());
    SetU32(setting_, kConfidencePen, (confidencePen_->GetColour(0) & 0xFFFFFF) | confidencePen_->GetPackedStyle());
    SetU32(setting_, kTrendDeviation, uint32_t(deviation_->currentIndex()));
    SetU32(setting_, kTrendRange, uint32_t(range_->checkedId()));
    bool ok = false;
    uint32_t periods = periods_->text().toUInt(&ok);
    if (ok && periods > 0)
        SetU32(setting_, kTrendPeriods, periods);
}

} // namespace qv
