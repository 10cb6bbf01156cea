// The swing chart design dialog's pages, enabling and writing.
#include "chartmodel/ui/SwingDesignDlg.h"

#include "chartmodel/DialogPages.h"
#include "chartmodel/BarColourScheme.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/SwingDesign.h"
#include "chartmodel/ui/BarColourDlg.h"
#include "chartmodel/ui/DialogPlacement.h"
#include "chartmodel/ui/SwingEditDlgs.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StyleButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace qv {

using namespace graphsetting;
namespace sd = swingdesign;

namespace {

constexpr uint32_t kSwingDesignHelp = 92794;
enum PenKind { kLinePen, kColourOnly, kSymbol };

QString Id(int id) { return QString::number(id); }

void Place(QWidget* page, QWidget* w, int column = 0)
{
    auto* grid = static_cast<QGridLayout*>(page->layout());
    grid->addWidget(w, column == 0 ? grid->rowCount() : grid->rowCount() - 1, column);
}

constexpr const char* kMarkNames[6] = {"Up trend region", "Down trend region", "Up swing",
                                       "Down swing",      "Up trend",          "Down trend"};
constexpr const char* kOrderNames[6] = {"Buy order", "Buy stop", "Sell order", "Sell stop", "Buy/sell trigger", "Stopped"};

} // namespace

int CSwingDesignDlg::LastPage() { return StoredDialogPage(kSwingDesignPage); }

CSwingDesignDlg::CSwingDesignDlg(GraphSetting& setting, std::vector<uint8_t> overrides,
                                 std::function<void(const std::vector<uint8_t>&)> storeOverrides, int page,
                                 QWidget* parent)
    : CSettingBlockDlg(setting, parent), working_(setting), overrides_(std::move(overrides)),
      openedOverrides_(overrides_), storeOverrides_(std::move(storeOverrides))
{
    setObjectName(Id(838));
    setWindowTitle(QStringLiteral("Swing Chart Design"));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(Id(3940));
    auto addPage = [this](const char* title) {
        auto* w = new QWidget(tabs_);
        new QGridLayout(w);
        tabs_->addTab(w, QString::fromLatin1(title));
        return w;
    };

    QWidget* main = addPage(" Main ");
    flag(main, 3894, "Show swing charts and symbols", sd::kShow);
    flag(main, 3895, "Swing line", sd::kSwingLine);
    pen(main, 3892, "Up", 2, kLinePen);
    pen(main, 3893, "Down", 3, kLinePen);
    flag(main, 3896, "Manhattan chart", sd::kManhattan);
    pen(main, 3897, "", 4, kLinePen);
    scheme_ = new QPushButton(main);
    scheme_->setObjectName(Id(3943));
    Place(main, scheme_);
    connect(scheme_, &QPushButton::clicked, this, [this] {
        CBarColourDlg dialog(working_, sd::kColourMode, sd::kColours, U32(working_, kBackground), [] {}, this);
        PlaceBesideButton(dialog, *scheme_);
        RunModalDialog(dialog);
        show(working_);
    });
    overridesButton_ = new QPushButton(QStringLiteral("Overrides"), main);
    overridesButton_->setObjectName(Id(3945));
    Place(main, overridesButton_, 1);
    // Shown once the chart names the share whose overrides these are.
    overridesButton_->hide();
    connect(overridesButton_, &QPushButton::clicked, this, [this] { EditOverrides(); });

    QWidget* marks = addPage(" Shading and Marks ");
    for (int i = 0; i < 6; ++i) {
        flag(marks, 3909 + i, kMarkNames[i], 1u << (16 + i));
        if (i < 2)
            pen(marks, 3921 + i, "", 5 + i, kColourOnly);
        else
            pen(marks, 3923 + i - 2, "", 7 + i - 2, kSymbol);
    }
    auto* orders = new QGroupBox(QStringLiteral(" Marks "), marks);
    new QGridLayout(orders);
    Place(marks, orders);
    for (int i = 0; i < 6; ++i) {
        flag(orders, 3915 + i, kOrderNames[i], 1u << (24 + i));
        pen(orders, 3927 + i, "", 11 + i, kSymbol);
    }

    QWidget* rules = addPage(" Settings ");
    flag(rules, 3898, "Use Rivalland methods", sd::kRivalland);
    flag(rules, 3899, "Allow Outside day 3", sd::kOutsideDay3);
    flag(rules, 3900, "Relaxed", sd::kRelaxed);
    flag(rules, 3901, "Strict day 2", sd::kStrictDay2);
    days_ = new QButtonGroup(this);
    const char* dayNames[4] = {"1 day", "2 days", "3 days", "Unlimited"};
    for (int i = 0; i < 4; ++i) {
        auto* r = new QRadioButton(QString::fromLatin1(dayNames[i]), rules);
        r->setObjectName(Id(3884 + i));
        days_->addButton(r, i);
        Place(rules, r);
    }
    connect(days_, &QButtonGroup::idClicked, this, [this] { readControls(); });
    flag(rules, 3902, "Apply strict trend change rules", sd::kStrictTrend);
    flag(rules, 3903, "Apply strict Gann rules", sd::kStrictGann);
    flag(rules, 3904, "Ignore Inside days for following day's classification", 1u << 10);
    flag(rules, 3905, "Up/Down days can have equal low/high values", 1u << 11);
    flag(rules, 3906, "Classify Outside days as Up/Down days depending on close", 1u << 12);

    auto* byDefault = new QPushButton(QStringLiteral("Default"), this);
    byDefault->setObjectName(Id(3));
    connect(byDefault, &QPushButton::clicked, this, [this] {
        InitSwingChartSettings(working_);
        show(working_);
    });
    auto* preview = new QPushButton(QStringLiteral("Preview"), this);
    preview->setObjectName(Id(18127));
    connect(preview, &QPushButton::clicked, this, [this] { Preview(); });
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kSwingDesignHelp);
    buttons->addButton(byDefault, QDialogButtonBox::ResetRole);
    buttons->addButton(preview, QDialogButtonBox::ActionRole);
    auto* layout = new QGridLayout(this);
    layout->addWidget(tabs_, 0, 0);
    layout->addWidget(buttons, 1, 0);
    tabs_->setCurrentIndex(page >= 0 && page < tabs_->count() ? page : LastPage());
    show(working_);
}

QCheckBox* CSwingDesignDlg::flag(QWidget* page, int id, const char* text, uint32_t bit)
{
    auto* box = new QCheckBox(QString::fromLatin1(text), page);
    box->setObjectName(Id(id));
    Place(page, box);
    flags_.push_back({box, bit});
    connect(box, &QCheckBox::toggled, this, [this] { readControls(); });
    return box;
}

CStyleButton* CSwingDesignDlg::pen(QWidget* page, int id, const char* label, int word, int kind)
{
    auto* b = new CStyleButton(page);
    b->setObjectName(Id(id));
    b->setFixedSize(90, 24);
    if (kind == kSymbol)
        b->SetMode(SampleMode::Dot);
    else if (kind == kColourOnly)
        b->SetMode(SampleMode::ColourBox);
    else
        b->SetMode(SampleMode::Line);
    if (*label) {
        auto* caption = new QLabel(QString::fromLatin1(label), page);
        caption->setObjectName(Id(id) + QStringLiteral("l"));
        Place(page, caption);
    }
    Place(page, b, 1);
    size_t at = kSwing + 4 * size_t(word);
    pens_.push_back({b, at});
    connect(b, &CStyleButton::styleChosen, this, [this, b, at] {
        uint32_t colour = b->GetColour(0) & 0xFFFFFF;
        uint32_t style = b->mode() == SampleMode::Dot    ? b->GetDotStyle()
                         : b->mode() == SampleMode::Line ? b->GetPackedStyle()
                                                         : (U32(working_, at) & 0xFF000000u);
        SetU32(working_, at, colour | style);
        readControls();
    });
    return b;
}

void CSwingDesignDlg::show(const GraphSetting& from)
{
    loading_ = true;
    uint32_t flags = U32(from, kSwingFlags);
    for (const Flag& f : flags_)
        f.box->setChecked(flags & f.bit);
    uint32_t day = U32(from, kSwingDays);
    days_->button(day <= 3 ? int(day) : 0)->setChecked(true);
    uint32_t back = U32(from, kBackground) & 0xFFFFFF;
    for (const Pen& p : pens_) {
        uint32_t word = U32(from, p.at);
        if (p.button->mode() == SampleMode::Dot)
            p.button->SetColourAndDot(word, back);
        else if (p.button->mode() == SampleMode::Line)
            p.button->SetColourAndStyle(word, back);
        else
            p.button->SetColour(word & 0xFFFFFF, back);
    }
    scheme_->setText(QString::fromLatin1(barcolour::SchemeName(U8(from, sd::kColourMode))));
    loading_ = false;
    updateEnabling();
}

void CSwingDesignDlg::readControls()
{
    if (loading_)
        return;
    uint32_t flags = U32(working_, kSwingFlags);
    for (const Flag& f : flags_)
        flags = f.box->isChecked() ? (flags | f.bit) : (flags & ~f.bit);
    SetU32(working_, kSwingFlags, flags);
    SetU32(working_, kSwingDays, uint32_t(std::max(days_->checkedId(), 0)));
    updateEnabling();
}

void CSwingDesignDlg::updateEnabling()
{
    sd::Enabling e = sd::SwingEnabling(U32(working_, kSwingFlags));
    auto enable = [this](int id, bool on) {
        for (QWidget* w : {findChild<QWidget*>(Id(id)), findChild<QWidget*>(Id(id) + QStringLiteral("l"))})
            if (w)
                w->setEnabled(on);
    };
    for (int id : {3895, 3896, 3898})
        enable(id, e.options);
    for (int i = 0; i < 6; ++i) {
        enable(3909 + i, e.options);
        enable(3915 + i, e.options);
        enable(3927 + i, e.marks & (1u << (24 + i)));
        enable(i < 2 ? 3921 + i : 3923 + i - 2, e.marks & (1u << (16 + i)));
    }
    enable(3892, e.swingPens);
    enable(3893, e.swingPens);
    enable(3897, e.manhattanPen);
    enable(3899, e.rivallandOptions);
    enable(3900, e.rivallandOptions);
    enable(3901, e.strictDay2);
    for (int i = 0; i < 4; ++i)
        enable(3884 + i, e.strictDay2);
    enable(3903, e.gann);
}

void CSwingDesignDlg::SetShare(const std::string& name, std::span<const DayRecord> days)
{
    shareName_ = name;
    shareDays_ = days;
    overridesButton_->setVisible(storeOverrides_ != nullptr);
}

void CSwingDesignDlg::EditOverrides()
{
    std::vector<SwingEdit> edits = ReadSwingEdits(overrides_);
    CSwingEditListDlg dialog(edits, shareName_, shareDays_, this);
    if (RunModalDialog(dialog) == QDialog::Accepted)
        overrides_ = WriteSwingEdits(edits);
}

void CSwingDesignDlg::write()
{
    std::copy_n(working_.data() + kSwing, kSwingSize, setting_.data() + kSwing);
}

void CSwingDesignDlg::done(int result)
{
    StoreDialogPage(kSwingDesignPage, tabs_->currentIndex());
    if (result == QDialog::Accepted && storeOverrides_)
        storeOverrides_(overrides_);
    if (result != QDialog::Accepted)
        overrides_ = openedOverrides_;
    CSettingBlockDlg::done(result);
}

} // namespace qv
