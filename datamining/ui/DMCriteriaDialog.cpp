// A criterion row of the control panel.
#include "datamining/ui/DMCriteriaDialog.h"

#include "datamining/CriteriaRange.h"
#include "datamining/CriterionText.h"
#include "datamining/FilterEditing.h"
#include "datamining/ui/CriteriaRangeCtrl.h"
#include "datamining/ui/DMControl.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

#include <algorithm>

namespace qv {
namespace {

constexpr int kMargin = 4, kButton = 22, kFieldWidth = 76, kLine = 20;
// Room for a bound of the widest usual size, "-888888888.88", with the field's frame.
constexpr const char* kWidestBound = "-888888888.88";
constexpr int kFieldFrame = 10;
constexpr const char* kModeTips[3] = {"Criteria disabled", "Partial filtering", "Full filtering"};

// The mode button's picture: a funnel, empty and struck through when disabled, half filled for partial
// filtering, filled for full filtering.
QIcon ModeIcon(int mode)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPolygon funnel({QPoint(1, 2), QPoint(14, 2), QPoint(9, 8), QPoint(9, 14), QPoint(6, 14), QPoint(6, 8)});
    p.setPen(QPen(Qt::black, 1));
    if (mode == 2)
        p.setBrush(QColor(0, 0, 160));
    p.drawPolygon(funnel);
    if (mode == 1)
        p.fillRect(QRect(6, 8, 4, 6), QColor(0, 0, 160));
    if (mode == 0) {
        p.setPen(QPen(QColor(192, 0, 0), 2));
        p.drawLine(2, 14, 14, 2);
    }
    return QIcon(pixmap);
}

QToolButton* Button(QWidget* parent, int id, const QString& text)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::number(id));
    b->setText(text);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

QString RowWording(const DMCriterion& criterion)
{
    return QString::fromLatin1(DescribeCriterion(criterion, false).c_str()).replace(QStringLiteral("&"), QStringLiteral("&&"));
}

CDM_CriteriaDialog::CDM_CriteriaDialog(CDM_Control& panel, QWidget* parent)
    : QWidget(parent), panel_(panel), lower_(new QLineEdit(this)), upper_(new QLineEdit(this)),
      wording_(new QLabel(this)), range_(new CCriteriaRangeCtrl(this)), mode_(Button(this, 1943, {})),
      delete_(Button(this, 1936, QStringLiteral("X")))
{
    setObjectName(QStringLiteral("578"));
    lower_->setObjectName(QStringLiteral("1890"));
    upper_->setObjectName(QStringLiteral("1891"));
    wording_->setObjectName(QStringLiteral("1904"));
    wording_->setTextFormat(Qt::PlainText);
    const std::pair<int, const char*> axes[3] = {{1909, "X"}, {1919, "Y"}, {1910, "Z"}};
    for (int a = 0; a < 3; ++a) {
        axes_[a] = Button(this, axes[a].first, QString::fromLatin1(axes[a].second));
        axes_[a]->setCheckable(true);
        connect(axes_[a], &QToolButton::clicked, this, [this, a] {
            panel_.RunCommand(a == 0 ? 1909 : a == 1 ? 1919 : 1910, index_);
        });
    }
    delete_->setToolTip(QStringLiteral("Delete this criteria"));
    connect(mode_, &QToolButton::clicked, this, [this] { panel_.RunCommand(1943, index_); });
    connect(delete_, &QToolButton::clicked, this, [this] { panel_.RunCommand(1936, index_); });
    connect(lower_, &QLineEdit::editingFinished, this, [this] { BoundEdited(true); });
    connect(upper_, &QLineEdit::editingFinished, this, [this] { BoundEdited(false); });
    connect(range_, &CCriteriaRangeCtrl::boundMoved, this,
            [this](RangeHandle handle) { ShowBound(handle == RangeHandle::Lower); });
    connect(range_, &CCriteriaRangeCtrl::rangeChanged, this, [this] { panel_.RangeChanged(true); });
}

DMCriterion* CDM_CriteriaDialog::criterion() const
{
    if (!filter_ || index_ < 0 || size_t(index_) >= filter_->criteria.size())
        return nullptr;
    return &filter_->criteria[size_t(index_)];
}

void CDM_CriteriaDialog::Attach(DMFilter* filter, int index)
{
    filter_ = filter;
    index_ = index;
    Repaint();
}

void CDM_CriteriaDialog::ShowBound(bool lower)
{
    const DMCriterion* c = criterion();
    QLineEdit* field = lower ? lower_ : upper_;
    field->setText(c ? BoundText(*c, lower) : QString());
    field->setCursorPosition(0);
}

QString CDM_CriteriaDialog::BoundText(const DMCriterion& c, bool lower)
{
    return QString::fromLatin1(FormatCriterionBound(lower ? ShownLowerBound(c) : ShownUpperBound(c)).c_str());
}

int CDM_CriteriaDialog::FieldWidth() const
{
    return std::max(kFieldWidth, lower_->fontMetrics().horizontalAdvance(QString::fromLatin1(kWidestBound)) + kFieldFrame);
}

void CDM_CriteriaDialog::Repaint()
{
    DMCriterion* c = criterion();
    range_->SetData(c);
    ShowBound(true);
    ShowBound(false);
    if (!c) {
        wording_->clear();
        return;
    }
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(true);
    font.setUnderline(c->inverted != 0);
    wording_->setFont(font);
    wording_->setText(RowWording(*c));
    wording_->setToolTip(QString::fromLatin1(DescribeCriterion(*c, true).c_str()));
    for (int a = 0; a < 3; ++a)
        axes_[a]->setChecked(AxisCriterionIndex(*filter_, FilterAxis(a)) == index_);
    mode_->setIcon(ModeIcon(c->mode % 3));
    mode_->setToolTip(QString::fromLatin1(kModeTips[c->mode % 3]));
    range_->SetLocked(c->mode != 0 ? 1 : 0);
    update();
}

void CDM_CriteriaDialog::BoundEdited(bool lower)
{
    DMCriterion* c = criterion();
    if (!c)
        return;
    QLineEdit* field = lower ? lower_ : upper_;
    // Leaving a field unchanged keeps the stored bound, an open one included.
    if (field->text() == BoundText(*c, lower))
        return;
    bool ok = false;
    const double value = field->text().trimmed().toDouble(&ok);
    if (ok && (lower ? AcceptLowerBound(*c, value) : AcceptUpperBound(*c, value))) {
        Repaint();
        panel_.RangeChanged(true);
        return;
    }
    ShowBound(lower);
}

void CDM_CriteriaDialog::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = width();
    int x = w - kMargin - 3 * kButton;
    wording_->setGeometry(kMargin, 2, x - kMargin - 2, kLine);
    for (QToolButton* b : axes_) {
        b->setGeometry(x, 2, kButton, kLine);
        x += kButton;
    }
    const int stripRight = w - kMargin - 2 * kButton - 2;
    range_->setGeometry(kMargin, 25, stripRight - kMargin, kButton);
    mode_->setGeometry(stripRight + 2, 25, kButton, kButton);
    delete_->setGeometry(stripRight + 2 + kButton, 25, kButton, kButton);
    const int fieldWidth = FieldWidth();
    lower_->setGeometry(kMargin, 50, fieldWidth, kLine);
    upper_->setGeometry(stripRight - fieldWidth, 50, fieldWidth, kLine);
    if (DMCriterion* c = criterion())
        range_->SetData(c);
}

void CDM_CriteriaDialog::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(0, height() - 1, width(), height() - 1);
}

void CDM_CriteriaDialog::contextMenuEvent(QContextMenuEvent* event)
{
    panel_.ShowContextMenu(criterion() ? index_ : -1, event->globalPos());
}

void CDM_CriteriaDialog::mouseDoubleClickEvent(QMouseEvent*)
{
    if (criterion())
        panel_.RunCommand(26457, index_);
}

} // namespace qv
