// The arrow dialog of a text box.
#include "chartmodel/ui/ArrowDlg.h"

#include "shell/ui/DialogHelp.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>

namespace qv {

namespace {
constexpr uint32_t kArrowHelp = 86486;
constexpr int kFirstArrow = 1398;
const char* const kArrowNames[5] = {"No arrow", "Show arrow to left", "Show arrow to right", "Show arrow pointing up",
                                     "Show arrow pointing down"};
} // namespace

CArrowDlg::CArrowDlg(int arrowId, int size, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("361"));
    setWindowTitle(QStringLiteral("Add or remove an arrow from a box"));
    auto* layout = new QGridLayout(this);
    arrows_ = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        auto* r = new QRadioButton(QString::fromLatin1(kArrowNames[i]), this);
        r->setObjectName(QString::number(kFirstArrow + i));
        arrows_->addButton(r, kFirstArrow + i);
        layout->addWidget(r, i, 0, 1, 3);
    }
    QAbstractButton* chosen = arrows_->button(arrowId);
    (chosen ? chosen : arrows_->button(kFirstArrow))->setChecked(true);
    size_ = new QSlider(Qt::Horizontal, this);
    size_->setObjectName(QStringLiteral("1403"));
    size_->setRange(0, 3);
    size_->setValue(size);
    layout->addWidget(new QLabel(QStringLiteral("Small arrow"), this), 5, 0);
    layout->addWidget(size_, 5, 1);
    layout->addWidget(new QLabel(QStringLiteral("Big arrow"), this), 5, 2);
    layout->addWidget(OkCancelHelpButtons(*this, kArrowHelp), 6, 0, 1, 3);
}

int CArrowDlg::ArrowId() const { return arrows_->checkedId(); }
int CArrowDlg::ArrowSize() const { return size_->value(); }

} // namespace qv
