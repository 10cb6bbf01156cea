// The moving-average dialogs.
#include "chartmodel/ui/MovAvgSettingsDlg.h"

#include "core/ConfigRecords.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StyleButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr uint32_t kMovAvgHelp = 86446;
const QStringList kTypes = {QStringLiteral("Simple"), QStringLiteral("Exponential"), QStringLiteral("Weighted"),
                            QStringLiteral("Triangular"), QStringLiteral("Variable")};
const QStringList kDeviations = {QStringLiteral("0.5"), QStringLiteral("1.0"), QStringLiteral("1.5"),
                                 QStringLiteral("2.0"), QStringLiteral("2.5"), QStringLiteral("3.0")};

template <class W>
W* Named(W* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

QPushButton* AddButton(QDialogButtonBox* box, const QString& text, int id)
{
    auto* b = box->addButton(text, QDialogButtonBox::ActionRole);
    b->setObjectName(QString::number(id));
    return b;
}

} // namespace

CMovAvgSettingsDlg::CMovAvgSettingsDlg(MovAvgSession& session, bool advanced, QWidget* parent)
    : QDialog(parent), session_(session), advanced_(advanced)
{
    setObjectName(QString::number(advanced ? 551 : 202));
    setWindowTitle(advanced ? QStringLiteral("Moving averages - Advanced") : QStringLiteral("Moving averages - Standard"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Periods"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Colour"), this), 0, 2);
    for (int i = 0; i < kMovAvgLines; ++i) {
        LineControls& c = controls_[size_t(i)];
        int row = i + 1;
        QString name = advanced ? QStringLiteral("Mov. Av. %1").arg(i + 1) : QStringLiteral("Simple MA. %1").arg(i + 1);
        c.shown = Named(new QCheckBox(name, this), 1190 + i);
        c.period = Named(new QLineEdit(this), 1194 + i);
        c.period->setMaximumWidth(60);
        c.lineColour = Named(new CStyleButton(this), 1451 + i);
        c.lineColour->setFixedSize(90, 22);
        c.band = Named(new QCheckBox(QStringLiteral("Bollinger Bands"), this), 1629 + i);
        int col = 0;
        grid->addWidget(c.shown, row, col++);
        grid->addWidget(c.period, row, col++);
        grid->addWidget(c.lineColour, row, col++);
        if (advanced) {
            c.type = Named(new QComboBox(this), 1625 + i);
            c.type->addItems(kTypes);
            c.lagged1 = Named(new QCheckBox(QStringLiteral("Lagged"), this), 1645 + i);
            grid->addWidget(c.type, row, col++);
            grid->addWidget(c.lagged1, row, col++);
        }
        grid->addWidget(c.band, row, col++);
        if (advanced) {
            c.bandKind = Named(new QComboBox(this), 1633 + i);
            c.bandKind->addItems({QStringLiteral("Bollinger"), QStringLiteral("Envelope")});
            c.deviation = Named(new QComboBox(this), 1641 + i);
            c.deviation->addItems(kDeviations);
            c.width = Named(new QLineEdit(this), 1689 + i);
            c.width->setMaxLength(2);
            c.width->setMaximumWidth(40);
            c.widthLabel = Named(new QLabel(QStringLiteral("dev's"), this), 1122 + i);
            c.bandColour = Named(new CStyleButton(this), 1694 + i);
            c.bandColour->setFixedSize(90, 22);
            c.lagged2 = Named(new QCheckBox(QStringLiteral("Lagged"), this), 1702 + i);
            grid->addWidget(c.bandKind, row, col++);
            grid->addWidget(c.deviation, row, col);
            grid->addWidget(c.width, row, col++);
            grid->addWidget(c.widthLabel, row, col++);
            grid->addWidget(c.bandColour, row, col++);
            grid->addWidget(c.lagged2, row, col++);
            connect(c.type, &QComboBox::currentIndexChanged, this, [this, i] { Relabel(i); });
            connect(c.bandKind, &QComboBox::currentIndexChanged, this, [this, i] { Relabel(i); });
        }
    }
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("1"));
    auto* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(AddButton(buttons, QStringLiteral("Default"), 3), &QPushButton::clicked, this, [this] { Default(); });
    connect(AddButton(buttons, QStringLiteral("Preview"), 18127), &QPushButton::clicked, this, [this] { Preview(); });
    auto* help = AddButton(buttons, QStringLiteral("Help"), 57670);
    InstallDialogHelp(*this, kMovAvgHelp, help);
    QPushButton* other = advanced ? AddButton(buttons, QStringLiteral("<< Basic"), 1639)
                                  : AddButton(buttons, QStringLiteral("Advanced >>"), 26384);
    connect(other, &QPushButton::clicked, this, [this] { Switch(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    for (int i = 0; i < kMovAvgLines; ++i)
        lines_[size_t(i)] = UnpackMovAvgLine(session_.working, i);
    ShowLines();
}

void CMovAvgSettingsDlg::ShowLines()
{
    for (int i = 0; i < kMovAvgLines; ++i) {
        const MovAvgLine& l = lines_[size_t(i)];
        LineControls& c = controls_[size_t(i)];
        c.shown->setChecked(l.shown);
        c.period->setText(QString::number(l.period));
        c.lineColour->CreateFromPackedStyle(l.linePen, session_.background, false);
        c.band->setChecked(l.bandShown);
        if (!advanced_)
            continue;
        c.type->setCurrentIndex(std::clamp(l.type, 0, 4));
        c.lagged1->setChecked(l.lagged1);
        c.bandKind->setCurrentIndex(l.envelope ? 1 : 0);
        c.deviation->setCurrentIndex(std::clamp(l.deviation, 0, 5));
        c.width->setText(QString::number(l.envelopeWidth));
        c.bandColour->CreateFromPackedStyle(l.bandPen, session_.background, false);
        c.lagged2->setChecked(l.lagged2);
        Relabel(i);
    }
}

void CMovAvgSettingsDlg::Relabel(int i)
{
    LineControls& c = controls_[size_t(i)];
    c.shown->setText(kTypes.value(c.type->currentIndex()));
    bool envelope = c.bandKind->currentIndex() == 1;
    c.band->setText(envelope ? QStringLiteral("Envelopes") : QStringLiteral("Bollinger Bands"));
    c.widthLabel->setText(envelope ? QStringLiteral("%") : QStringLiteral("Dev's"));
    c.deviation->setVisible(!envelope);
    c.width->setVisible(envelope);
}

void CMovAvgSettingsDlg::ReadAndPack()
{
    for (int i = 0; i < kMovAvgLines; ++i) {
        MovAvgLine& l = lines_[size_t(i)];
        const LineControls& c = controls_[size_t(i)];
        l.shown = c.shown->isChecked();
        l.period = c.period->text().trimmed().toInt();
        l.linePen = c.lineColour->GetColour(0) | c.lineColour->GetPackedStyle();
        l.bandShown = c.band->isChecked();
        if (advanced_) {
            l.type = c.type->currentIndex();
            l.lagged1 = c.lagged1->isChecked();
            l.envelope = c.bandKind->currentIndex() == 1;
            l.deviation = c.deviation->currentIndex();
            l.envelopeWidth = c.width->text().trimmed().toInt();
            l.bandPen = c.bandColour->GetColour(0) | c.bandColour->GetPackedStyle();
            l.lagged2 = c.lagged2->isChecked();
        } else {
            // The Standard dialog has no band colours: each band takes its line's.
            l.bandPen = l.linePen;
        }
        PackMovAvgLine(session_.working, i, l);
        l = UnpackMovAvgLine(session_.working, i);
    }
}

void CMovAvgSettingsDlg::Write()
{
    if (session_.setting != nullptr)
        WriteMovAvgWords(*session_.setting, session_.working);
    if (session_.notify)
        session_.notify();
}

void CMovAvgSettingsDlg::Preview()
{
    ReadAndPack();
    ShowLines();
    Write();
}

void CMovAvgSettingsDlg::Default()
{
    for (int i = 0; i < kMovAvgLines; ++i)
        lines_[size_t(i)] = DefaultMovAvgLine(i, session_.intraday);
    ShowLines();
}

void CMovAvgSettingsDlg::Switch()
{
    ReadAndPack();
    MovAvgAdvancedChosen() = !advanced_;
    switched_ = true;
    QDialog::accept();
}

void CMovAvgSettingsDlg::accept()
{
    ReadAndPack();
    Write();
    QDialog::accept();
}

void CMovAvgSettingsDlg::reject()
{
    session_.working = session_.cancelCopy;
    if (session_.setting != nullptr)
        WriteMovAvgWords(*session_.setting, session_.cancelCopy);
    if (session_.notify)
        session_.notify();
    QDialog::reject();
}

int RunMovingAverageDialogs(MovAvgSession& session, QWidget* parent)
{
    if (session.setting != nullptr) {
        session.working = ReadMovAvgWords(*session.setting);
        session.cancelCopy = session.working;
    }
    for (;;) {
        CMovAvgSettingsDlg dialog(session, MovAvgAdvancedChosen(), parent);
        int result = RunModalDialog(dialog);
        if (!dialog.switched())
            return result;
    }
}

} // namespace qv
