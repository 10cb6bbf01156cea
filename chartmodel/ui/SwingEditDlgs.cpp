// The swing edit list and the one-edit dialog.
#include "chartmodel/ui/SwingEditDlgs.h"

#include "core/DateText.h"
#include "core/PackedDate.h"
#include "core/StringPrintf.h"
#include "core/SystemDate.h"
#include "shell/SoftMenu.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>

#include <algorithm>

namespace qv {
namespace {

constexpr uint32_t kEditSwingTypes[4] = {kEditUpSwing, kEditDownSwing, kEditUpTrend, kEditDownTrend};
constexpr const char* kEditSwingLabels[4] = {"Up Swing", "Down Swing", "Up Trend", "Down Trend"};
constexpr uint32_t kCommandAdd = 27273, kCommandDelete = 27272, kCommandEdit = 27281;
constexpr uint32_t kSwingEditMenu = 778;
// The list's tab stops in dialog units (a quarter of the average character width each).
constexpr int kTabStops[3] = {0, 20, 50};

template <class W>
W* Named(W* w, int id)
{
    w->setObjectName(QString::number(id));
    return w;
}

// Draws a line's tab-separated parts at the list's tab stops.
class TabStopDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        const QStringList parts = plain.text.split(QLatin1Char('\t'));
        // Only the row's panel (selection, focus) from the style: the text is drawn here alone.
        plain.text.clear();
        plain.features &= ~QStyleOptionViewItem::HasDisplay;
        const QWidget* widget = plain.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &plain, painter, widget);
        painter->save();
        painter->setPen(plain.palette.color((option.state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                      : QPalette::Text));
        const int unit = option.fontMetrics.averageCharWidth();
        // A part that runs past the next stop pushes the following part on, a blank's width after it.
        const int blank = option.fontMetrics.horizontalAdvance(QLatin1Char(' '));
        int end = 0;
        for (int i = 0; i < parts.size() && i < 3; ++i) {
            const int at = std::max(kTabStops[i] * unit / 4, i == 0 ? 0 : end + blank);
            painter->drawText(option.rect.adjusted(2 + at, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, parts[i]);
            end = at + option.fontMetrics.horizontalAdvance(parts[i]);
        }
        painter->restore();
    }
};

} // namespace

const char* SwingEditTypeText(uint32_t type)
{
    switch (type) {
    case kEditUpSwing: return "Up swing";
    case kEditDownSwing: return "Down swing";
    case kEditUpTrend: return "Up trend";
    case kEditDownTrend: return "Down trend";
    default: return "";
    }
}

std::string SwingEditLine(const SwingEdit& edit)
{
    const std::string date = StringPrintf("%s\t%02i/%02i/%02i", std::string(DayAbbreviation(WeekdayOf(edit.date))).c_str(),
                                          DayOfMonth(edit.date), MonthOfYear(edit.date), FullYear(edit.date) % 100);
    return StringPrintf("%s\t%s", date.c_str(), SwingEditTypeText(edit.type));
}

// ---- One edit -----------------------------------------------------------------------------------

CEditSwingDlg::CEditSwingDlg(SwingEdit& edit, const std::string& shareName, std::span<const DayRecord> days,
                             QWidget* parent)
    : QDialog(parent), edit_(edit), days_(days)
{
    setObjectName(QStringLiteral("27267"));
    setWindowTitle(QStringLiteral("Edit swing event"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(Named(new QLabel(QString::fromStdString(shareName), this), 4036), 0, 0, 1, 2);
    date_ = new CDateEdit(this);
    date_->Create(4047, this, QRect(0, 0, 220, 24), nullptr, edit.date);
    date_->setMinimumWidth(220);
    date_->FormatDate(true);
    grid->addWidget(new QLabel(QStringLiteral("Date"), this), 1, 0);
    grid->addWidget(date_, 1, 1);
    types_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* r = Named(new QRadioButton(QString::fromLatin1(kEditSwingLabels[i]), this), 4056 + i);
        types_->addButton(r, int(kEditSwingTypes[i]));
        grid->addWidget(r, 2 + i, 0, 1, 2);
    }
    QAbstractButton* chosen = types_->button(int(edit.type));
    (chosen ? chosen : types_->button(int(kEditUpSwing)))->setChecked(true);
    status_ = Named(new QLabel(this), 4049);
    grid->addWidget(status_, 6, 0, 1, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    auto* preview = buttons->addButton(QStringLiteral("Preview"), QDialogButtonBox::ActionRole);
    preview->setObjectName(QStringLiteral("4048"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(preview, &QPushButton::clicked, this, [this] { ShowDayPrices(); });
    grid->addWidget(buttons, 7, 0, 1, 2);
    connect(date_->edit(), &QLineEdit::textChanged, this, [this] { DateChanged(); });
    DateChanged();
}

void CEditSwingDlg::DateChanged()
{
    const PackedDate typed = date_->ReadDate();
    const PackedDate date = typed != 0 ? typed : date_->date;
    auto it = std::find_if(days_.begin(), days_.end(), [date](const DayRecord& d) { return d.date == date; });
    day_ = date != 0 && it != days_.end() ? &*it : nullptr;
    for (QAbstractButton* b : types_->buttons())
        b->setEnabled(day_ != nullptr);
    ok_->setEnabled(day_ != nullptr);
    status_->setText(day_ ? QString() : QStringLiteral("No prices for this date"));
}

// Preview: the chosen day's prices, so the user sees which day the event will mark.
void CEditSwingDlg::ShowDayPrices()
{
    if (!day_)
        return;
    status_->setText(QString::fromStdString(StringPrintf("Open %.2f  High %.2f  Low %.2f  Close %.2f", day_->open,
                                                         day_->high, day_->low, day_->close)));
}

void CEditSwingDlg::done(int result)
{
    if (result == QDialog::Accepted) {
        edit_.date = day_ ? day_->date : 0;
        edit_.type = uint32_t(types_->checkedId());
    }
    QDialog::done(result);
}

// ---- The list -----------------------------------------------------------------------------------

CSwingEditListDlg::CSwingEditListDlg(std::vector<SwingEdit>& edits, const std::string& shareName,
                                     std::span<const DayRecord> days, QWidget* parent)
    : QDialog(parent), target_(edits), edits_(edits), shareName_(shareName), days_(days)
{
    setObjectName(QStringLiteral("844"));
    setWindowTitle(QString::fromStdString(StringPrintf("Swing edits for %s", shareName.c_str())));
    auto* grid = new QGridLayout(this);
    auto* heading = new QWidget(this);
    auto* headingGrid = new QGridLayout(heading);
    headingGrid->setContentsMargins(0, 0, 0, 0);
    headingGrid->addWidget(new QLabel(QStringLiteral("Date"), heading), 0, 0);
    headingGrid->addWidget(new QLabel(QStringLiteral("Swing event type"), heading), 0, 1);
    headingGrid->setColumnStretch(1, 1);
    grid->addWidget(heading, 0, 0, 1, 3);
    list_ = Named(new QListWidget(this), 4064);
    list_->setItemDelegate(new TabStopDelegate(list_));
    list_->setMinimumSize(280, 180);
    grid->addWidget(list_, 1, 0, 1, 3);
    auto* add = Named(new QPushButton(QStringLiteral("Add"), this), 4067);
    delete_ = Named(new QPushButton(QStringLiteral("Delete"), this), 4066);
    edit_ = Named(new QPushButton(QStringLiteral("Edit"), this), 4068);
    grid->addWidget(add, 2, 0);
    grid->addWidget(delete_, 2, 1);
    grid->addWidget(edit_, 2, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 3, 0, 1, 3);
    connect(add, &QPushButton::clicked, this, [this] { Add(); });
    connect(delete_, &QPushButton::clicked, this, [this] { Delete(); });
    connect(edit_, &QPushButton::clicked, this, [this] { Edit(); });
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { Edit(); });
    SortSwingEdits(edits_);
    Fill();
}

void CSwingEditListDlg::Fill()
{
    list_->clear();
    if (edits_.empty()) {
        auto* none = new QListWidgetItem(QStringLiteral("No swing edits"));
        none->setFlags(Qt::NoItemFlags);
        list_->addItem(none);
    }
    for (const SwingEdit& e : edits_)
        list_->insertItem(0, QString::fromStdString(SwingEditLine(e)));
    UpdateButtons();
}

int CSwingEditListDlg::SelectedEdit() const
{
    const int row = list_->currentRow();
    if (edits_.empty() || row < 0 || !list_->item(row)->isSelected())
        return -1;
    return int(edits_.size()) - row - 1;
}

void CSwingEditListDlg::UpdateButtons()
{
    const bool selected = SelectedEdit() >= 0;
    delete_->setEnabled(selected);
    edit_->setEnabled(selected);
}

void CSwingEditListDlg::Add()
{
    SwingEdit edit{GetTodayDate(0), kEditUpSwing};
    CEditSwingDlg dialog(edit, shareName_, days_, this);
    if (RunModalDialog(dialog) != QDialog::Accepted || edit.date == 0)
        return;
    edits_.push_back(edit);
    SortSwingEdits(edits_);
    Fill();
}

void CSwingEditListDlg::Edit()
{
    const int at = SelectedEdit();
    if (at < 0)
        return;
    SwingEdit edit = edits_[size_t(at)];
    CEditSwingDlg dialog(edit, shareName_, days_, this);
    if (RunModalDialog(dialog) == QDialog::Accepted && edit.date != 0)
        edits_[size_t(at)] = edit;
    SortSwingEdits(edits_);
    Fill();
}

void CSwingEditListDlg::Delete()
{
    const int at = SelectedEdit();
    if (at < 0)
        return;
    edits_.erase(edits_.begin() + at);
    Fill();
}

void CSwingEditListDlg::RunMenuCommand(uint32_t command)
{
    switch (command) {
    case kCommandAdd: Add(); break;
    case kCommandEdit: Edit(); break;
    case kCommandDelete: Delete(); break;
    default: break;
    }
}

void CSwingEditListDlg::contextMenuEvent(QContextMenuEvent* event)
{
    const SoftMenu built = LoadSoftMenu(kSwingEditMenu, true, 0);
    if (built.entries.empty())
        return;
    QMenu menu(this);
    const bool selected = SelectedEdit() >= 0;
    for (const SoftMenuEntry& item : built.entries.front().items) {
        if (item.isSeparator() || item.isPopup())
            continue;
        QAction* action = menu.addAction(QString::fromLatin1(item.text.c_str()));
        action->setData(item.command);
        action->setEnabled(item.command == kCommandAdd || selected);
    }
    if (QAction* chosen = menu.exec(event->globalPos()))
        RunMenuCommand(chosen->data().toUInt());
}

void CSwingEditListDlg::done(int result)
{
    if (result == QDialog::Accepted)
        target_ = edits_;
    QDialog::done(result);
}

} // namespace qv
