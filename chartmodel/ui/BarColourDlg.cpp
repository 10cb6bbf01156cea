// The bar-colour dialog's radios, colour places and Preview/OK/Cancel over the caller's record.
#include "chartmodel/ui/BarColourDlg.h"

#include "chartmodel/BarColourScheme.h"
#include "chartmodel/GraphSettingLayout.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/StyleButton.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace qv {

using namespace graphsetting;
namespace bc = barcolour;

namespace {
constexpr uint32_t kBarColourHelp = 92731;
const char* const kModeNames[bc::kModes] = {"Single colour",
                                            "Close rel. to previous close",
                                            "Close relative to open",
                                            "Volume rel. to previous vol.",
                                            "Volume rel. to vol. signal",
                                            "Graduated by volume",
                                            "Swing"};
} // namespace

CBarColourDlg::CBarColourDlg(GraphSetting& record, size_t modeAt, size_t coloursAt, uint32_t background,
                             std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), record_(record), opened_(record), modeAt_(modeAt), coloursAt_(coloursAt),
      background_(background & 0xFFFFFF), redraw_(std::move(redraw))
{
    setObjectName(QStringLiteral("808"));
    setWindowTitle(QStringLiteral("Price Colour Scheme"));
    mode_ = U8(record, modeAt) < bc::kModes ? U8(record, modeAt) : 0;
    for (int i = 0; i < bc::kColours; ++i)
        words_[size_t(i)] = U32(record, coloursAt + 4 * size_t(i));
    auto* layout = new QGridLayout(this);
    modes_ = new QButtonGroup(this);
    for (int i = 0; i < bc::kModes; ++i) {
        auto* r = new QRadioButton(QString::fromLatin1(kModeNames[i]), this);
        r->setObjectName(QString::number(3428 + i));
        modes_->addButton(r, i);
        layout->addWidget(r, i, 0);
    }
    modes_->button(mode_)->setChecked(true);
    connect(modes_, &QButtonGroup::idClicked, this, [this](int mode) { modeChosen(mode); });
    for (int i = 0; i < bc::kColours; ++i) {
        auto* b = new CStyleButton(this);
        b->setObjectName(QString::number(3435 + i));
        b->setFixedSize(90, 24);
        auto* label = new QLabel(this);
        label->setObjectName(QString::number(3440 + i));
        buttons_[size_t(i)] = b;
        labels_[size_t(i)] = label;
        layout->addWidget(label, i, 1);
        layout->addWidget(b, i, 2);
        // A place shows the colour that the mode puts there; what is chosen goes back to that colour.
        connect(b, &CStyleButton::styleChosen, this, [this, i] {
            std::vector<bc::Slot> places = bc::Slots(mode_);
            if (size_t(i) >= places.size())
                return;
            uint32_t& word = words_[size_t(places[size_t(i)].colour)];
            word = (buttons_[size_t(i)]->GetColour(0) & 0xFFFFFF) | buttons_[size_t(i)]->GetPackedStyle();
        });
    }
    auto* preview = new QPushButton(QStringLiteral("Preview"), this);
    preview->setObjectName(QStringLiteral("18127"));
    connect(preview, &QPushButton::clicked, this, [this] { Preview(); });
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kBarColourHelp);
    buttons->addButton(preview, QDialogButtonBox::ActionRole);
    layout->addWidget(buttons, bc::kModes, 0, 1, 3);
    showMode();
}

void CBarColourDlg::showMode()
{
    std::vector<bc::Slot> places = bc::Slots(mode_);
    for (size_t i = 0; i < buttons_.size(); ++i) {
        bool shown = i < places.size();
        buttons_[i]->setVisible(shown);
        labels_[i]->setVisible(shown && *places[i].label);
        if (!shown)
            continue;
        labels_[i]->setText(QString::fromLatin1(places[i].label));
        buttons_[i]->CreateFromPackedStyle(words_[size_t(places[i].colour)], background_, false);
    }
}

void CBarColourDlg::modeChosen(int mode)
{
    bc::ApplyModeWidths(words_, mode_, mode);
    mode_ = mode;
    showMode();
}

void CBarColourDlg::write(GraphSetting& to) const
{
    SetU8(to, modeAt_, uint8_t(mode_));
    for (size_t i = 0; i < words_.size(); ++i)
        SetU32(to, coloursAt_ + 4 * i, words_[i]);
}

void CBarColourDlg::Preview()
{
    write(record_);
    if (redraw_)
        redraw_();
}

void CBarColourDlg::done(int result)
{
    if (result == QDialog::Accepted) {
        write(record_);
    } else {
        SetU8(record_, modeAt_, U8(opened_, modeAt_));
        std::copy_n(opened_.data() + coloursAt_, 4 * words_.size(), record_.data() + coloursAt_);
    }
    if (redraw_)
        redraw_();
    QDialog::done(result);
}

} // namespace qv
