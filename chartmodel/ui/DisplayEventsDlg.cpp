// The Display Events dialog: four groups of event kinds, their marker samples, Default and Preview.
#include "chartmodel/ui/DisplayEventsDlg.h"

#include "chartmodel/ChartSettingsRules.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/ui/EventDisplayDlg.h"
#include "chartmodel/ui/MarkerBox.h"
#include "core/ui/PenSelect.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/DialogHelp.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace qv {

using namespace graphsetting;

namespace {

constexpr uint32_t kDisplayEventsHelp = 92830;
const char* const kKindNames[16] = {"News - put this at top", "Ex-dividend dates", "AGM", "Result announcements",
                                    "Other dates", "Purchases", "Sales", "Other transactions",
                                    "Splits and consolidations", "Price edits", "Vantley Gazette view", "Purchases",
                                    "Sales", "spare4", "spare5", "spare6"};
struct Group {
    const char* title;
    int first, last;
};
constexpr Group kGroups[] = {{nullptr, 0, 0},
                             {" Financial calendar ", 1, 4},
                             {" Transactions ", 5, 7},
                             {" Price changes ", 8, 9},
                             {nullptr, 10, 10},
                             {" Directors' dealings ", 11, 12},
                             {nullptr, 13, 15}};

// A push-button frame with the kind's marker in it, drawn as the chart draws it.
class EventSample : public QPushButton {
public:
    const GraphSetting* shown = nullptr;
    int kind = 0;
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        painter.drawControl(QStyle::CE_PushButtonBevel, option);
        const size_t at = EventEntry(kind);
        QRect box = rect().adjusted(6, 4, -6, -4);
        int side = std::min(box.width(), box.height());
        QRect marker(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
        DrawMarkerBox(painter, marker, MarkerStyleOf(shown->data() + at), false, false);
    }
};

} // namespace

CDisplayEventsDlg::CDisplayEventsDlg(GraphSetting& setting, QWidget* parent)
    : CSettingBlockDlg(setting, parent), shown_(setting)
{
    setObjectName(QStringLiteral("27279"));
    setWindowTitle(QStringLiteral("Display Events"));
    auto* layout = new QGridLayout(this);
    showEvents_ = new QCheckBox(QStringLiteral("Show events"), this);
    showEvents_->setObjectName(QStringLiteral("4172"));
    layout->addWidget(showEvents_, 0, 0, 1, 2);
    connect(showEvents_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
    int row = 1;
    for (const Group& g : kGroups) {
        QWidget* holder = this;
        QGridLayout* grid = layout;
        int at = row;
        if (g.title) {
            auto* box = new QGroupBox(QString::fromLatin1(g.title), this);
            grid = new QGridLayout(box);
            holder = box;
            at = 0;
            layout->addWidget(box, row++, 0, 1, 2);
        }
        for (int i = g.first; i <= g.last; ++i, ++at) {
            auto* kind = new QCheckBox(QString::fromLatin1(kKindNames[i]), holder);
            kind->setObjectName(QString::number(4124 + i));
            auto* sample = new EventSample(holder);
            sample->setObjectName(QString::number(4140 + i));
            sample->shown = &shown_;
            sample->kind = i;
            sample->setFixedSize(40, 26);
            connect(sample, &QPushButton::clicked, this, [this, i] { EditKind(i); });
            kinds_[size_t(i)] = kind;
            samples_[size_t(i)] = sample;
            grid->addWidget(kind, at, 0);
            grid->addWidget(sample, at, 1);
        }
        if (!g.title)
            row = at;
    }
    auto* byDefault = new QPushButton(QStringLiteral("Default"), this);
    byDefault->setObjectName(QStringLiteral("3"));
    connect(byDefault, &QPushButton::clicked, this, [this] {
        InitEventMarkerSettings(shown_);
        show(shown_);
    });
    auto* preview = new QPushButton(QStringLiteral("Preview"), this);
    preview->setObjectName(QStringLiteral("18127"));
    connect(preview, &QPushButton::clicked, this, [this] { Preview(); });
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kDisplayEventsHelp);
    buttons->addButton(byDefault, QDialogButtonBox::ResetRole);
    buttons->addButton(preview, QDialogButtonBox::ActionRole);
    layout->addWidget(buttons, row, 0, 1, 2);
    show(setting);
}

void CDisplayEventsDlg::EditKind(int kind)
{
    CEventDisplayDlg dialog(shown_.data() + EventEntry(kind), this);
    RunModalDialog(dialog);
    samples_[size_t(kind)]->update();
}

void CDisplayEventsDlg::show(const GraphSetting& from)
{
    showEvents_->setChecked(U32(from, kEvents) != 0);
    for (int i = 0; i < chartsettings::kEventKinds; ++i)
        kinds_[size_t(i)]->setChecked(U8(from, EventEntry(i) + kEventShown) != 0);
    updateEnabling();
    update();
}

void CDisplayEventsDlg::updateEnabling()
{
    for (int i = 0; i < chartsettings::kEventKinds; ++i) {
        kinds_[size_t(i)]->setEnabled(showEvents_->isChecked());
        samples_[size_t(i)]->setEnabled(showEvents_->isChecked());
    }
}

void CDisplayEventsDlg::write()
{
    std::array<bool, chartsettings::kEventKinds> ticked{};
    for (int i = 0; i < chartsettings::kEventKinds; ++i)
        ticked[size_t(i)] = kinds_[size_t(i)]->isChecked();
    chartsettings::WriteEventDisplay(shown_, showEvents_->isChecked(), ticked);
    std::copy_n(shown_.data() + kEvents, kEventsSize, setting_.data() + kEvents);
}

} // namespace qv
