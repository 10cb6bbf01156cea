// The legend design dialog's three pages and their binding to the item record and the legend style.
#include "chartmodel/ui/LegendDesignDlg.h"

#include "chartmodel/DialogPages.h"
#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/StyleButton.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

namespace qv {

namespace ld = legenddesign;

namespace {

constexpr uint32_t kLegendDesignHelp = 92752;

QString Id(int id) { return QString::number(id); }

void Place(QWidget* page, QWidget* w, int column)
{
    auto* grid = static_cast<QGridLayout*>(page->layout());
    grid->addWidget(w, grid->rowCount(), column);
}

bool Bit(const LegendItemRecord& r, int bit) { return (r.mask() >> bit) & 1; }
void SetBit(LegendItemRecord& r, int bit, bool on)
{
    uint32_t& word = bit < 32 ? r.word0 : r.word1;
    uint32_t mask = 1u << (bit % 32);
    word = on ? (word | mask) : (word & ~mask);
}

} // namespace

CLegendDesignDlg::CLegendDesignDlg(LegendItemRecord& items, ld::LegendStyle& style, uint64_t available, bool intraday,
                                   QWidget* parent)
    : QDialog(parent), items_(items), style_(style), openedItems_(items), openedStyle_(style), working_(items),
      workingStyle_(style), available_(available), intraday_(intraday)
{
    setObjectName(Id(804));
    setWindowTitle(intraday ? QStringLiteral("Intraday graph legend design") : QStringLiteral("Historic graph legend design"));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(Id(3514));
    auto page = [this](const QString& title) {
        auto* w = new QWidget(tabs_);
        new QGridLayout(w);
        tabs_->addTab(w, title);
        return w;
    };

    QWidget* values = page(QStringLiteral(" Values "));
    QStringList latest = intraday ? QStringList{"Date/time and Price", "Mid (Bid/Offer)", "Bid/Offer", "Mid", "Volume/Price", "Trend slope"}
                                  : QStringList{"Date and Price", "OHLC", "Volume", "Trend slope", "", ""};
    QStringList cursor = intraday ? QStringList{"Date/time and Value", "Mid (Bid/Offer)", "Bid/Offer", "Mid", "Volume/Price", "Position"}
                                  : QStringList{"Date and Value", "OHLC", "Volume", "Position", "", ""};
    QStringList tail{"Global Stop-loss", "Indiv. Stop-loss", "Moving Avg. 1", "Moving Avg. 2", "Moving Avg. 3", "Moving Avg. 4"};
    for (int i = 0; i < 12; ++i) {
        QCheckBox* a = item(values, 3521 + i, i < 6 ? latest[i] : tail[i - 6], i);
        QCheckBox* b = item(values, 3541 + i, i < 6 ? cursor[i] : tail[i - 6], 16 + i);
        bool hidden = !intraday && (i == 4 || i == 5);
        a->setVisible(!hidden);
        b->setVisible(!hidden);
    }
    auto* valuesDefault = new QPushButton(QStringLiteral("Default"), values);
    valuesDefault->setObjectName(Id(3558));
    Place(values, valuesDefault, 0);
    connect(valuesDefault, &QPushButton::clicked, this, [this] {
        working_.word0 = intraday_ ? ld::kValuesDefaultIntraday : ld::kValuesDefaultHistoric;
        showTicks();
    });

    QWidget* lines = page(QStringLiteral(" Items "));
    const std::pair<int, const char*> details[] = {
        {3561, "Share's Name"}, {3562, "Active Setting"}, {3563, "List"}, {3564, "Share's Sector"},
        {3565, "Share's Sub-sector"}, {3566, "Share's Index"}};
    const int detailBits[] = {0, 1, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i)
        item(lines, details[i].first, QString::fromLatin1(details[i].second), 32 + detailBits[i]);
    item(lines, 3578, QStringLiteral("Main Graph"), 32 + 12);
    for (int i = 0; i < 4; ++i)
        item(lines, 3580 + i, QStringLiteral("Add-on Graph %1").arg(i + 1), 32 + 13 + i);
    item(lines, 3579, QStringLiteral("Relative to..."), 32 + 17);
    item(lines, 3584, QStringLiteral("Trend Line"), 32 + 18);
    item(lines, 3585, QStringLiteral("Confidence Lines"), 32 + 19);
    item(lines, 3586, QStringLiteral("Global Stop-loss"), 32 + 20);
    item(lines, 3587, QStringLiteral("Indiv. Stop-loss"), 32 + 21);
    for (int i = 0; i < 4; ++i)
        item(lines, 3591 + i, QStringLiteral("Moving Avg. %1").arg(i + 1), 32 + 22 + i);
    for (int i = 0; i < 4; ++i)
        item(lines, 3595 + i, QStringLiteral("Channel %1").arg(i + 1), 32 + 26 + i);
    item(lines, 3599, QStringLiteral("Swing Lines"), 32 + 30)->setVisible(!intraday);
    item(lines, 3600, QStringLiteral("Swing Symbols"), 32 + 31)->setVisible(!intraday);
    auto* itemsDefault = new QPushButton(QStringLiteral("Default"), lines);
    itemsDefault->setObjectName(Id(3604));
    Place(lines, itemsDefault, 0);
    connect(itemsDefault, &QPushButton::clicked, this, [this] {
        working_.word1 = ld::kItemsDefault;
        showTicks();
    });
    for (QWidget* p : {values, lines})
        Place(p, new QLabel(QStringLiteral("Grey ticks show selections not applying to current share/setting"), p), 0);

    QWidget* look = page(QStringLiteral(" Style "));
    autoHeight_ = new QCheckBox(QStringLiteral("Auto adjust legend window height"), look);
    autoHeight_->setObjectName(Id(3631));
    Place(look, autoHeight_, 0);
    whiteSpace_ = new QSlider(Qt::Horizontal, look);
    whiteSpace_->setObjectName(Id(3628));
    whiteSpace_->setRange(0, 4);
    Place(look, new QLabel(QStringLiteral("White space"), look), 0);
    Place(look, whiteSpace_, 0);
    const char* pairNames[] = {"Latest values", "Cursor values", "Details", "Graph lines"};
    for (int i = 0; i < ld::kColourPairs; ++i) {
        auto* b = new CStyleButton(look);
        b->setObjectName(Id(3613 + 2 * i));
        b->setFixedSize(140, 26);
        Place(look, new QLabel(QString::fromLatin1(pairNames[i]), look), 0);
        Place(look, b, 0);
        colours_.push_back(b);
        connect(b, &CStyleButton::styleChosen, this, [this, i, b] {
            workingStyle_.pairs[i] = {b->GetColour(0) & 0xFFFFFF, b->GetColour(1) & 0xFFFFFF};
            QString face;
            b->GetFont(face, workingStyle_.fontFlags, workingStyle_.points);
            workingStyle_.face = face.toStdString();
            showStyle();
        });
    }
    const std::pair<int, const char*> styleButtons[] = {{3634, "Light Default"}, {3635, "Dark Default"}, {3633, "Default All"}};
    for (auto [id, text] : styleButtons) {
        auto* b = new QPushButton(QString::fromLatin1(text), look);
        b->setObjectName(Id(id));
        Place(look, b, 0);
        connect(b, &QPushButton::clicked, this, [this, id] {
            if (id == 3633) {
                working_.word0 = intraday_ ? ld::kValuesDefaultIntraday : ld::kValuesDefaultHistoric;
                working_.word1 = ld::kItemsDefault;
                workingStyle_.options = ld::kDefaultOptions;
                workingStyle_.face = "Arial";
                workingStyle_.points = ld::kDefaultPoints;
                workingStyle_.fontFlags = 0;
                showTicks();
            }
            setColours(id == 3635);
        });
    }
    Place(look, new QLabel(QStringLiteral("Style settings apply to both historic and intraday graphs"), look), 0);
    connect(autoHeight_, &QCheckBox::clicked, this, [this] { readStyle(); });
    connect(whiteSpace_, &QSlider::valueChanged, this, [this] { readStyle(); });

    auto* preview = new QPushButton(QStringLiteral("Preview"), this);
    preview->setObjectName(Id(18127));
    connect(preview, &QPushButton::clicked, this, [this] { Preview(); });
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kLegendDesignHelp);
    buttons->addButton(preview, QDialogButtonBox::ActionRole);
    auto* layout = new QGridLayout(this);
    layout->addWidget(tabs_, 0, 0);
    layout->addWidget(buttons, 1, 0);
    tabs_->setCurrentIndex(StoredDialogPage(kLegendDesignPage));
    showTicks();
    showStyle();
}

QCheckBox* CLegendDesignDlg::item(QWidget* page, int id, const QString& text, int bit)
{
    auto* box = new QCheckBox(text, page);
    box->setObjectName(Id(id));
    box->setTristate(true);
    auto* grid = static_cast<QGridLayout*>(page->layout());
    // The value boxes stand in two columns, latest and cursor; the item boxes fill columns of ten.
    int onItems = int(boxes_.size()) - 24;
    if (bit < 32)
        grid->addWidget(box, bit % 16, bit / 16);
    else
        grid->addWidget(box, onItems % 10, onItems / 10);
    boxes_.push_back({box, bit});
    // A click selects or drops the item, whatever state the box cycled to; the ticks then show it.
    connect(box, &QCheckBox::clicked, this, [this, bit] {
        SetBit(working_, bit, !Bit(working_, bit));
        showTicks();
    });
    return box;
}

void CLegendDesignDlg::showTicks()
{
    for (const Box& b : boxes_) {
        ld::Tick t = ld::ShownTick(Bit(working_, b.bit), (available_ >> b.bit) & 1);
        b.box->setCheckState(t == ld::Tick::On ? Qt::Checked : (t == ld::Tick::Grey ? Qt::PartiallyChecked : Qt::Unchecked));
    }
}

void CLegendDesignDlg::readStyle()
{
    workingStyle_.options = 1u | (autoHeight_->isChecked() ? 8u : 0u);
    workingStyle_.whiteSpace = whiteSpace_->value();
}

void CLegendDesignDlg::showStyle()
{
    autoHeight_->setChecked(workingStyle_.options & 8);
    whiteSpace_->blockSignals(true);
    whiteSpace_->setValue(workingStyle_.whiteSpace);
    whiteSpace_->blockSignals(false);
    for (int i = 0; i < ld::kColourPairs; ++i)
        colours_[size_t(i)]->CreateFontSample(FromCp1252(workingStyle_.face), workingStyle_.fontFlags, workingStyle_.points,
                                              workingStyle_.pairs[i].text, workingStyle_.pairs[i].background, false);
}

void CLegendDesignDlg::setColours(bool dark)
{
    for (int i = 0; i < ld::kColourPairs; ++i)
        workingStyle_.pairs[i] = ld::PairDefault(i, dark);
    showStyle();
}

void CLegendDesignDlg::Preview()
{
    items_ = working_;
    style_ = workingStyle_;
    if (rebuild_)
        rebuild_();
}

void CLegendDesignDlg::done(int result)
{
    StoreDialogPage(kLegendDesignPage, tabs_->currentIndex());
    if (result == QDialog::Accepted) {
        Preview();
    } else {
        items_ = openedItems_;
        style_ = openedStyle_;
        if (rebuild_)
            rebuild_();
    }
    QDialog::done(result);
}

} // namespace qv
