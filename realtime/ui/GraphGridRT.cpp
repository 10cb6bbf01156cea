// The intraday graph design dialog: its pages built from the control table, the enabling rules, the
// warnings and the preview.
#include "realtime/ui/GraphGridRT.h"

#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IntradayDesign.h"
#include "core/ConfigState.h"
#include "core/DateText.h"
#include "core/PackedDate.h"
#include "core/SystemDate.h"
#include "lists/ui/ColumnDialogs.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StyleButton.h"
#include "shell/ui/SuppressibleMessage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace qv {
namespace {

using namespace intradaydesign;
using graphsetting::U16;
using graphsetting::U32;
using graphsetting::U8;

constexpr uint32_t kHelpTopic = 0x20000 + CGraphGridRT::kTemplateId;
constexpr size_t kDisplayFromAt = 1194;
constexpr const char* kBarPeriods[] = {"1 min", "2 mins", "2.5 mins", "3 mins", "4 mins", "5 mins",
                                       "6 mins", "10 mins", "15 mins", "20 mins", "30 mins", "60 mins"};
constexpr int kMostDaysViewed = 10; // as many as the chart draws
constexpr int kLabelReductions = 5;

QString Id(int id) { return QString::number(id); }

// The preview: the chart drawn by the view into the rectangle inset as the dialog's frame shows it.
class PreviewArea : public QWidget {
public:
    std::function<void(QPainter&, QRect)> paint;
    explicit PreviewArea(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(260, 180);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect area = rect().adjusted(0, 1, -2, -1);
        painter.fillRect(rect(), palette().window());
        if (paint)
            paint(painter, area);
    }
    void mousePressEvent(QMouseEvent*) override { repaint(); }
    void mouseReleaseEvent(QMouseEvent*) override { update(); }
};

} // namespace

int& CGraphGridRT::LastPage()
{
    static int page = 0;
    return page;
}

CGraphGridRT::CGraphGridRT(GraphSetting& previewBlock, const std::string& settingName, int settingIndex, QWidget* parent)
    : QDialog(parent), previewBlock_(previewBlock), working_(previewBlock)
{
    setObjectName(Id(kTemplateId));
    Build(settingName, settingIndex);
    ShowRecord();
    if (LastPage() < 0 || LastPage() >= kPages)
        LastPage() = 0;
    tabs_->setCurrentIndex(LastPage());
    connect(tabs_, &QTabWidget::currentChanged, this, [](int page) { LastPage() = page; });
}

void CGraphGridRT::Build(const std::string& settingName, int settingIndex)
{
    setWindowTitle(QStringLiteral("Graph design - %1 (Setting %2)").arg(QString::fromStdString(settingName)).arg(settingIndex + 1));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(Id(2584));
    // All six tabs in full: the dialog widens to them rather than cutting or scrolling them.
    tabs_->setUsesScrollButtons(false);
    tabs_->setElideMode(Qt::ElideNone);
    std::vector<QWidget*> pages;
    for (const char* title : kPageTitles) {
        auto* page = new QWidget(tabs_);
        new QGridLayout(page);
        tabs_->addTab(page, QString::fromLatin1(title).replace(QStringLiteral("&&"), QStringLiteral("&&")));
        pages.push_back(page);
    }
    const auto& all = Controls();
    for (size_t i = 0; i < all.size(); ++i)
        MakeControl(pages[size_t(all[i].page)], int(i));
    // The display-from radios share the date's field: Today (0) or a date.
    auto* time = static_cast<QGridLayout*>(pages[2]->layout());
    auto* from = new QButtonGroup(this);
    for (int id : {kToday, kDisplayFrom}) {
        auto* radio = new QRadioButton(id == kToday ? QStringLiteral("Today is last day") : QStringLiteral("Display from"), pages[2]);
        radio->setObjectName(Id(id));
        from->addButton(radio, id);
        time->addWidget(radio, time->rowCount(), 0);
        controls_[id] = radio;
    }
    connect(from, &QButtonGroup::idClicked, this, [this](int id) { Changed(id); });
    rangeText_ = new QLabel(pages[2]);
    time->addWidget(rangeText_, time->rowCount(), 0, 1, 2);
    auto* define = new QPushButton(QStringLiteral("Define"), pages[2]);
    define->setObjectName(Id(kDefine));
    time->addWidget(define, time->rowCount(), 0);
    connect(define, &QPushButton::clicked, this, [this] {
        if (define_)
            define_();
        Apply(kDefine);
    });
    left->addWidget(tabs_);
    layout->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* preview = new PreviewArea(this);
    preview->setObjectName(Id(2577));
    preview->paint = [this](QPainter& painter, QRect area) {
        if (painter_)
            painter_(painter, working_, area);
    };
    preview_ = preview;
    right->addWidget(preview_, 1);
    const std::pair<int, const char*> buttons[] = {{1, "OK"},         {2, "Cancel"},          {kPreviewButton, "Preview"},
                                                   {kLightDefault, "Light default"}, {kDarkDefault, "Dark default"},
                                                   {57670, "Help"}};
    for (const auto& [id, text] : buttons) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(Id(id));
        b->setAutoDefault(id == 1);
        right->addWidget(b);
        if (id == 1)
            connect(b, &QPushButton::clicked, this, &QDialog::accept);
        else if (id == 2)
            connect(b, &QPushButton::clicked, this, &QDialog::reject);
        else if (id == kPreviewButton)
            connect(b, &QPushButton::clicked, this, [this] { Preview(); });
        else if (id == kLightDefault || id == kDarkDefault)
            connect(b, &QPushButton::clicked, this, [this, id] { ApplyDefaults(id == kDarkDefault); });
        else
            InstallDialogHelp(*this, kHelpTopic, b);
    }
    layout->addLayout(right);
}

QWidget* CGraphGridRT::MakeControl(QWidget* page, int index)
{
    const Control& c = Controls()[size_t(index)];
    auto* grid = static_cast<QGridLayout*>(page->layout());
    const int row = grid->rowCount();
    const QString text = QString::fromLatin1(c.text);
    QWidget* w = nullptr;
    switch (c.kind) {
    case Kind::Check: {
        auto* box = new QCheckBox(text, page);
        connect(box, &QCheckBox::toggled, this, [this, id = c.id] { Changed(id); });
        w = box;
        break;
    }
    case Kind::Radio: {
        auto* radio = new QRadioButton(text, page);
        // The radios of one field form one group.
        const QString group = QStringLiteral("group%1-%2").arg(c.at).arg(c.mask);
        auto* buttons = page->findChild<QButtonGroup*>(group);
        if (!buttons) {
            buttons = new QButtonGroup(page);
            buttons->setObjectName(group);
        }
        buttons->addButton(radio, c.id);
        connect(radio, &QRadioButton::clicked, this, [this, id = c.id] { Changed(id); });
        w = radio;
        break;
    }
    case Kind::Pen: {
        auto* b = new CStyleButton(page);
        b->setFixedSize(90, 22);
        b->CreateFromPackedStyle(U32(working_, c.at), U32(working_, graphsetting::kBackground) & 0xFFFFFF, false);
        connect(b, &CStyleButton::styleChosen, this, [this, id = c.id] { Changed(id); });
        auto* label = new QLabel(text, page);
        label->setObjectName(Id(c.id) + QStringLiteral("l"));
        grid->addWidget(label, row, 0);
        w = b;
        break;
    }
    case Kind::Slider: {
        auto* s = new QSlider(Qt::Horizontal, page);
        s->setRange(0, int(c.value));
        connect(s, &QSlider::valueChanged, this, [this, id = c.id] { Changed(id); });
        grid->addWidget(new QLabel(text, page), row, 0);
        w = s;
        break;
    }
    case Kind::Number: {
        auto* spin = new QSpinBox(page);
        spin->setRange(0, 999);
        spin->setSuffix(QStringLiteral(" ") + text);
        connect(spin, &QSpinBox::valueChanged, this, [this, id = c.id] { Changed(id); });
        w = spin;
        break;
    }
    case Kind::List: {
        auto* list = new QComboBox(page);
        if (c.id == 2883)
            for (const char* p : kBarPeriods)
                list->addItem(QString::fromLatin1(p));
        else if (c.id == 2886)
            for (int d = 1; d <= kMostDaysViewed; ++d)
                list->addItem(QString::number(d) + (d == 1 ? QStringLiteral(" day") : QStringLiteral(" days")));
        else
            for (int n = 0; n < kLabelReductions; ++n)
                list->addItem(n == 0 ? QStringLiteral("None") : QString::number(n));
        connect(list, &QComboBox::currentIndexChanged, this, [this, id = c.id] { Changed(id); });
        grid->addWidget(new QLabel(text, page), row, 0);
        w = list;
        break;
    }
    case Kind::Date: {
        displayFrom_ = MakeDialogDateField(page, c.id, U16(working_, c.at) ? PackedDate(U16(working_, c.at)) : GetTodayDate(0),
                                           "2829");
        connect(displayFrom_->edit(), &QLineEdit::textChanged, this, [this] { Changed(2829); });
        w = displayFrom_;
        break;
    }
    case Kind::Time: {
        auto* edit = new QTimeEdit(page);
        edit->setDisplayFormat(QStringLiteral("HH:mm"));
        connect(edit, &QTimeEdit::timeChanged, this, [this, id = c.id] { Changed(id); });
        grid->addWidget(new QLabel(text, page), row, 0);
        w = edit;
        break;
    }
    }
    w->setObjectName(Id(c.id));
    const bool labelled = c.kind == Kind::Pen || c.kind == Kind::Slider || c.kind == Kind::List || c.kind == Kind::Time;
    grid->addWidget(w, row, labelled ? 1 : 0, 1, labelled ? 1 : 2);
    controls_[c.id] = w;
    return w;
}

QWidget* CGraphGridRT::control(int id) const
{
    auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

int CGraphGridRT::currentPage() const { return tabs_->currentIndex(); }

void CGraphGridRT::ShowRecord()
{
    loading_ = true;
    const uint32_t back = U32(working_, graphsetting::kBackground) & 0xFFFFFF;
    for (const Control& c : Controls()) {
        QWidget* w = control(c.id);
        const int64_t v = ControlValue(working_, c);
        switch (c.kind) {
        case Kind::Check:
        case Kind::Radio: static_cast<QAbstractButton*>(w)->setChecked(v != 0); break;
        case Kind::Pen: static_cast<CStyleButton*>(w)->SetColourAndStyle(uint32_t(v), back); break;
        case Kind::Slider: static_cast<QSlider*>(w)->setValue(int(v)); break;
        case Kind::Number: static_cast<QSpinBox*>(w)->setValue(int(v)); break;
        case Kind::List: static_cast<QComboBox*>(w)->setCurrentIndex(int(v)); break;
        case Kind::Date:
            if (v) {
                displayFrom_->date = PackedDate(v);
                displayFrom_->FormatDate(true);
            }
            break;
        case Kind::Time: static_cast<QTimeEdit*>(w)->setTime(QTime(0, 0).addSecs(int(v))); break;
        }
    }
    const bool fromDate = U16(working_, kDisplayFromAt) != 0;
    static_cast<QAbstractButton*>(control(fromDate ? kDisplayFrom : kToday))->setChecked(true);
    loading_ = false;
    Enable();
}

void CGraphGridRT::Changed(int id)
{
    if (loading_)
        return;
    const uint32_t before = U32(working_, kTrades);
    Apply(id);
    // Ticking a previous-day level or "From prev. close" needs the previous day's prices.
    const bool ticked = (id == 4100 || id == 4099 || id == 3309) && static_cast<QAbstractButton*>(control(id))->isChecked();
    if (ticked || (id == 3403 && static_cast<QAbstractButton*>(control(id))->isChecked()))
        WarnPreviousDay();
    if (id == 3285 && (U32(working_, kTrades) & kTradesShowSize) && !(before & kTradesShowSize)) {
        WidenTradePens(working_);
        ShowRecord();
    }
    if (id == 3159 && (U16(working_, 1144) & 0x0A) && U8(working_, graphsetting::kShadedFrames) == 4) {
        CSuppressibleMessage box(QString::fromLatin1(kShadedFramesNote), {true, false, false, true});
        box.run();
    }
}

void CGraphGridRT::WarnPreviousDay()
{
    if ((IntradayNotesOff() & kNotePreviousDay) || (previousDayHeld_ && previousDayHeld_()))
        return;
    CSuppressibleMessage box(QString::fromLatin1(kPreviousDayNote), {true});
    box.run();
    if (box.suppressChecked())
        SetIntradayNotesOff(IntradayNotesOff() | kNotePreviousDay);
}

void CGraphGridRT::Apply(int id)
{
    // The changed control's field; the others hold what the record holds.
    if (const Control* c = FindControl(id)) {
        QWidget* w = control(id);
        switch (c->kind) {
        case Kind::Check:
        case Kind::Radio: SetControlValue(working_, *c, static_cast<QAbstractButton*>(w)->isChecked()); break;
        case Kind::Pen: {
            auto* b = static_cast<CStyleButton*>(w);
            SetControlValue(working_, *c, (b->GetPackedStyle() & 0xFF000000) | (b->GetColour(0) & 0xFFFFFF));
            break;
        }
        case Kind::Slider: SetControlValue(working_, *c, static_cast<QSlider*>(w)->value()); break;
        case Kind::Number: SetControlValue(working_, *c, static_cast<QSpinBox*>(w)->value()); break;
        case Kind::List: SetControlValue(working_, *c, std::max(0, static_cast<QComboBox*>(w)->currentIndex())); break;
        case Kind::Date: break;
        case Kind::Time: SetControlValue(working_, *c, QTime(0, 0).secsTo(static_cast<QTimeEdit*>(w)->time())); break;
        }
    }
    if (id == kToday || id == kDisplayFrom || id == 2829) {
        const bool fromDate = static_cast<QAbstractButton*>(control(kDisplayFrom))->isChecked();
        const PackedDate date = displayFrom_->ReadDate() ? displayFrom_->ReadDate() : displayFrom_->date;
        graphsetting::SetU16(working_, kDisplayFromAt, fromDate ? uint16_t(date) : 0);
    }
    Enable();
    preview_->update();
}

void CGraphGridRT::Enable()
{
    const auto on = [this](int id, bool enabled) {
        if (QWidget* w = findChild<QWidget*>(Id(id)))
            w->setEnabled(enabled);
        if (QWidget* label = findChild<QWidget*>(Id(id) + QStringLiteral("l")))
            label->setEnabled(enabled);
    };
    const auto checked = [this](int id) { return static_cast<QAbstractButton*>(control(id))->isChecked(); };
    const int volume = U8(working_, 1193);
    on(2572, volume != 0);
    on(2573, volume != 0);
    on(2741, volume == 2);
    on(2750, volume == 2);
    on(2743, volume == 2 && checked(2741));
    on(2744, volume == 2 && checked(2741));
    const uint32_t trades = U32(working_, kTrades);
    const uint32_t kind = trades & 0x0F;
    on(3286, kind == kTradesLine);
    on(3285, kind == kTradesDots);
    on(kTradesPen, kind != 0);
    const bool split = kind == kTradesDots || (kind == kTradesLine && (trades & kTradesBuySell));
    on(3288, split);
    on(3289, split);
    if (auto* label = findChild<QLabel*>(Id(kTradesPen) + QStringLiteral("l")))
        label->setText(QString::fromLatin1(TradesPenLabel(working_)));
    on(3397, U8(working_, 1149) != 0);
    const bool userTimes = ((U8(working_, 1196) >> 1) & 0x7F) == 2;
    on(2976, userTimes);
    on(2977, userTimes);
    on(2535, checked(3328));
    on(3416, checked(3387));
    on(1372, checked(3159));
    on(1374, checked(3159));
    on(2790, checked(2793));
    on(2891, checked(2793));
    for (int id : {3402, 3403, 3404, 3405})
        on(id, checked(3401));
    on(3406, checked(2793) && checked(3401));
    on(3411, checked(2793) && checked(3401));
    // "Define" needs the options sheet's market-hours page, which the frame hands over.
    on(kDefine, bool(define_));
    const bool fromDate = checked(kDisplayFrom);
    displayFrom_->EnableWindow(fromDate);
    const int days = U8(working_, 1150) + 1;
    const PackedDate last = fromDate && U16(working_, kDisplayFromAt) ? PackedDate(U16(working_, kDisplayFromAt)) : GetTodayDate(0);
    PackedDate first = last;
    for (int d = 1; d < days; ++d)
        first = PreviousWeekday(first, false);
    rangeText_->setText(days == 1 ? QStringLiteral("Displaying data for %1").arg(QString::fromStdString(FormatDateWithDay(last)))
                                  : QStringLiteral("Displaying from %1 to %2")
                                        .arg(QString::fromStdString(FormatDateWithDay(first)), QString::fromStdString(FormatDateWithDay(last))));
}

void CGraphGridRT::ApplyDefaults(bool dark)
{
    ApplyScheme(working_, dark);
    ShowRecord();
    preview_->update();
}

void CGraphGridRT::Preview()
{
    CopyStyleBlock(working_, previewBlock_);
    if (redraw_)
        redraw_();
}

void CGraphGridRT::accept()
{
    Preview();
    QDialog::accept();
}

int OpenIntradayGraphDesign(GraphSetting& setting, GraphSetting& previewBlock, const std::string& settingName,
                            int settingIndex, CGraphGridRT::PreviewPainter painter, std::function<void()> redraw,
                            std::function<void()> settingsChanged, QWidget* parent, IntradayDesignHooks hooks)
{
    previewBlock = setting;
    CGraphGridRT dialog(previewBlock, settingName, settingIndex, parent);
    if (hooks.defineHours)
        dialog.SetDefineHours(std::move(hooks.defineHours));
    if (hooks.previousDayHeld)
        dialog.SetPreviousDayHeld(std::move(hooks.previousDayHeld));
    dialog.SetPreviewPainter(std::move(painter));
    dialog.SetRedraw(redraw);
    const int result = RunModalDialog(dialog);
    if (result == QDialog::Accepted) {
        CopyStyleBlock(previewBlock, setting);
        if (settingsChanged)
            settingsChanged();
    }
    if (redraw)
        redraw();
    return result;
}

} // namespace qv
