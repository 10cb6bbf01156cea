// The box-size dialog.
#include "chartmodel/ui/BoxSizeDlg.h"

#include "chartmodel/GraphSettingLayout.h"
#include "shell/ui/DialogHelp.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <algorithm>

namespace qv {

using namespace graphsetting;

namespace {
constexpr uint32_t kBoxSizeHelp = 92670;
}

CBoxSizeDlg::CBoxSizeDlg(GraphSetting& working, std::function<void()> redraw, std::function<void()> preview,
                         QWidget* parent)
    : QDialog(parent), working_(working), opened_(U8(working, kBoxSizeSpace)), redraw_(std::move(redraw))
{
    setObjectName(QStringLiteral("27243"));
    setWindowTitle(QStringLiteral("Box size"));
    size_ = new QSlider(Qt::Horizontal, this);
    size_->setObjectName(QStringLiteral("3948"));
    size_->setRange(0, 8);
    size_->setValue(std::min(opened_ & 0xF, 8));
    space_ = new QSlider(Qt::Horizontal, this);
    space_->setObjectName(QStringLiteral("3949"));
    space_->setRange(0, 5);
    space_->setValue(std::min(opened_ >> 4, 5));
    for (QSlider* s : {size_, space_}) {
        connect(s, &QSlider::sliderReleased, this, [this] { apply(); });
        connect(s, &QSlider::valueChanged, this, [this, s] {
            if (!s->isSliderDown())
                apply();
        });
    }
    auto* previewButton = new QPushButton(QStringLiteral("Preview"), this);
    previewButton->setObjectName(QStringLiteral("18127"));
    connect(previewButton, &QPushButton::clicked, this, [this, preview] {
        apply();
        if (preview)
            preview();
    });
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kBoxSizeHelp);
    buttons->addButton(previewButton, QDialogButtonBox::ActionRole);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Box size"), this), 0, 0);
    layout->addWidget(size_, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Box white space"), this), 1, 0);
    layout->addWidget(space_, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
}

void CBoxSizeDlg::apply()
{
    SetU8(working_, kBoxSizeSpace, uint8_t(size_->value() | (space_->value() << 4)));
    if (redraw_)
        redraw_();
}

void CBoxSizeDlg::done(int result)
{
    if (result == QDialog::Accepted) {
        apply();
    } else {
        SetU8(working_, kBoxSizeSpace, opened_);
        if (redraw_)
            redraw_();
    }
    QDialog::done(result);
}

} // namespace qv
