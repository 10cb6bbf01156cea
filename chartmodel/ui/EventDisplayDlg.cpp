// The event display dialog: the entry's bytes to the controls and back.
#include "chartmodel/ui/EventDisplayDlg.h"

#include "platform/ByteOrder.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/StyleButton.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace qv {
namespace {

constexpr uint32_t kEventDisplayHelp = 92831;
constexpr uint32_t kCharacterSet = 0x40000000;
constexpr uint8_t kMarkerBox = 4;

struct Box {
    int id;
    const char* text;
    int byte;
    uint8_t bit;
};
// " Box ": where the marker sits; " Lines ": the lines from the close.
constexpr std::array<Box, 5> kBoxes{{{4190, "Top", 0, 1},           {4189, "Bottom", 0, 2},          {4191, "Closing price", 0, 4},
                           {4193, "Up from close", 1, 2}, {4194, "Down from close", 1, 4}}};

CStyleButton* ColourButton(QWidget* parent, int id, uint32_t colour)
{
    auto* b = new CStyleButton(parent);
    b->setObjectName(QString::number(id));
    b->CreateColourBox(colour & 0xFFFFFF, false);
    b->setMinimumSize(40, 22);
    return b;
}

} // namespace

CEventDisplayDlg::CEventDisplayDlg(uint8_t* entry, QWidget* parent) : QDialog(parent), entry_(entry)
{
    setObjectName(QStringLiteral("27280"));
    setWindowTitle(QStringLiteral("Event Display Settings"));
    auto* layout = new QGridLayout(this);
    auto* place = new QGroupBox(QStringLiteral(" Box "), this);
    auto* lines = new QGroupBox(QStringLiteral(" Lines "), this);
    auto* placeGrid = new QGridLayout(place);
    auto* linesGrid = new QGridLayout(lines);
    for (size_t i = 0; i < kBoxes.size(); ++i) {
        const Box& b = kBoxes[i];
        QWidget* holder = b.byte == 0 ? place : lines;
        boxes_[i] = new QCheckBox(QString::fromLatin1(b.text), holder);
        boxes_[i]->setObjectName(QString::number(b.id));
        boxes_[i]->setChecked((entry[b.byte] & b.bit) != 0);
        (b.byte == 0 ? placeGrid : linesGrid)->addWidget(boxes_[i], int(i), 0);
    }
    layout->addWidget(place, 0, 0, 1, 2);
    layout->addWidget(lines, 1, 0, 1, 2);
    letter_ = new QLineEdit(this);
    letter_->setObjectName(QStringLiteral("4195"));
    letter_->setMaxLength(1);
    if (entry[3])
        letter_->setText(QString(QChar::fromLatin1(char(entry[3]))));
    character_ = ColourButton(this, 4196, LoadU32(entry + 4));
    border_ = ColourButton(this, 4188, LoadU32(entry + 12));
    background_ = ColourButton(this, 4192, LoadU32(entry + 8));
    const std::pair<const char*, QWidget*> rows[] = {
        {"Letter", letter_}, {"Character", character_}, {"Border", border_}, {"Background", background_}};
    int row = 2;
    for (const auto& r : rows) {
        layout->addWidget(new QLabel(QString::fromLatin1(r.first), this), row, 0);
        layout->addWidget(r.second, row++, 1);
    }
    layout->addWidget(OkCancelHelpButtons(*this, kEventDisplayHelp), row, 0, 1, 2);
}

void CEventDisplayDlg::done(int result)
{
    if (result == QDialog::Accepted) {
        uint8_t position = 0, lineFlags = 1;
        for (size_t i = 0; i < kBoxes.size(); ++i)
            if (boxes_[i]->isChecked())
                (kBoxes[i].byte == 0 ? position : lineFlags) |= kBoxes[i].bit;
        entry_[0] = position;
        entry_[1] = lineFlags;
        entry_[2] = kMarkerBox;
        const QString text = letter_->text();
        entry_[3] = text.isEmpty() ? 0 : uint8_t(text.at(0).toLatin1());
        StoreU32(entry_ + 4, (character_->GetColour(0) & 0xFFFFFF) | kCharacterSet);
        // The background keeps its style byte; the border sets the colour of the outline's pen.
        StoreU32(entry_ + 8, (background_->GetColour(0) & 0xFFFFFF) | (LoadU32(entry_ + 8) & 0xFF000000));
        StoreU32(entry_ + 12, (border_->GetColour(0) & 0xFFFFFF) | (LoadU32(entry_ + 12) & 0xFF000000));
    }
    QDialog::done(result);
}

} // namespace qv
