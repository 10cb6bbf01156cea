// The view columns notice.
#include "chartmodel/ui/VGViewColumnsDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace qv {
namespace {

constexpr const char* kParagraphs[3] = {
    "Please note that the views expressed in the VG views columns are provided directly by the Vantley Gazette. "
    "They do not reflect the opinions of Quorvantis or Pelmor Information.",
    "The views are for general information only and are not to be relied on for any specific investment decision.",
    "You should obtain independent advice before you invest. Neither the publisher of the Vantley Gazette nor "
    "Pelmor Information accepts any liability for any loss arising from the use of these views.",
};

} // namespace

CVGViewColumnsDlg::CVGViewColumnsDlg(bool& dontShowAgain, QWidget* parent)
    : QDialog(parent), dontShowAgain_(dontShowAgain)
{
    setObjectName(QStringLiteral("881"));
    setWindowTitle(QStringLiteral("Vantley Gazette View Columns"));
    auto* layout = new QGridLayout(this);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("882"));
    picture->setPixmap(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    layout->addWidget(picture, 0, 0, 3, 1, Qt::AlignTop);
    for (int i = 0; i < 3; ++i) {
        auto* text = new QLabel(QString::fromLatin1(kParagraphs[i]), this);
        text->setWordWrap(true);
        text->setMinimumWidth(360);
        layout->addWidget(text, i, 1);
    }
    box_ = new QCheckBox(QStringLiteral("In the future, do not show this message"), this);
    box_->setObjectName(QStringLiteral("3136"));
    box_->setChecked(dontShowAgain);
    layout->addWidget(box_, 3, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 4, 0, 1, 2);
}

void CVGViewColumnsDlg::done(int result)
{
    if (result == QDialog::Accepted)
        dontShowAgain_ = box_->isChecked();
    QDialog::done(result);
}

} // namespace qv
