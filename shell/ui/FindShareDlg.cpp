// "Find a share": the dialog, its alphabet and the frame's seam.
#include "shell/ui/FindShareDlg.h"

#include "core/ConfigState.h"
#include "core/RecordAccess.h"
#include "core/ShareList.h"
#include "platform/qt/QtText.h"
#include "shell/KeyRouting.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/KeyForwarding.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/SelectShareType.h"
#include "shell/ui/SuppressibleMessage.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace qv {
namespace {

constexpr int kGridColumns = 10;
constexpr int kKeyGap = 2;
constexpr int kDeleteCharacter = 8;
constexpr int kOkCharacter = 13;
constexpr const char* kFastEpicQuestion =
    "Do you want to set 'Fast EPIC'.\n\nThis means that as soon as an EPIC is matched it will be selected";
constexpr const char* kNoMatch = "No match found";

} // namespace

std::vector<AlphabetKey> AlphabetKeys(QSize cell)
{
    std::vector<AlphabetKey> keys;
    auto place = [&](QString text, int column, int row, int width, int character) {
        QRect rect(column * cell.width(), row * cell.height(), width * cell.width(), cell.height());
        keys.push_back({std::move(text), rect.adjusted(kKeyGap, kKeyGap, -kKeyGap, -kKeyGap), character});
    };
    const QString characters = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int i = 0; i < characters.size(); ++i)
        place(characters.mid(i, 1), i % kGridColumns, i / kGridColumns, 1, characters[i].unicode());
    // "Z" ends in column 5 of the fourth row; one empty place, then the two wide keys.
    int row = int(characters.size()) / kGridColumns;
    place("Del", 7, row, 2, kDeleteCharacter);
    place("OK", 8, row + 1, 2, kOkCharacter);
    return keys;
}

CAlphabetGrid::CAlphabetGrid(QWidget* parent) : QWidget(parent)
{
    setObjectName("1105grid");
    setCursor(Qt::PointingHandCursor);
}

QSize CAlphabetGrid::cellSize() const
{
    QFontMetrics metrics(font());
    return {metrics.horizontalAdvance("W") * 2 + 8, metrics.height() + 8};
}

QSize CAlphabetGrid::sizeHint() const
{
    QSize cell = cellSize();
    return {cell.width() * kGridColumns, cell.height() * 5};
}

void CAlphabetGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    for (const AlphabetKey& key : AlphabetKeys(cellSize())) {
        painter.setPen(palette().light().color());
        painter.drawLine(key.rect.topLeft(), key.rect.topRight());
        painter.drawLine(key.rect.topLeft(), key.rect.bottomLeft());
        painter.setPen(palette().dark().color());
        painter.drawLine(key.rect.bottomLeft(), key.rect.bottomRight());
        painter.drawLine(key.rect.topRight(), key.rect.bottomRight());
        painter.setPen(palette().buttonText().color());
        painter.drawText(key.rect, Qt::AlignCenter, key.text);
    }
}

void CAlphabetGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QPoint at = event->position().toPoint();
    for (const AlphabetKey& key : AlphabetKeys(cellSize()))
        if (key.rect.contains(at)) {
            emit keyClicked(key.character);
            return;
        }
}

CFindShareDlg::CFindShareDlg(QWidget* parent, RecordCursor preset, int mode)
    : QDialog(parent), index_(BuildNameIndex()), choices_(LoadFindShareChoices()), chosen_(preset), mode_(mode)
{
    setObjectName("216");
    setWindowTitle("Find a share");
    edit_ = new CKeyEdit(this);
    edit_->setObjectName("1104");
    // One click in the list chooses, and a letter typed while it has the focus goes on into the text.
    list_ = new CSmallListBox(this);
    list_->setObjectName("1103");
    list_->setUniformItemSizes(true);
    QFont listFont = list_->font();
    listFont.setStyleHint(QFont::TypeWriter);
    listFont.setFamily("Monospace");
    list_->setFont(listFont);
    list_->setMinimumSize(360, 220);
    epic_ = new QCheckBox("Use EPIC codes", this);
    epic_->setObjectName("1088");
    firstLetter_ = new QCheckBox("Start from first letter", this);
    firstLetter_->setObjectName("1085");
    alphabetButton_ = new QPushButton(this);
    alphabetButton_->setObjectName("1086");
    alphabetButton_->setAutoDefault(false);
    ok_ = new QPushButton("OK", this);
    ok_->setObjectName("1");
    ok_->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("2");
    cancel->setAutoDefault(false);
    alphabetGroup_ = new QGroupBox(" Use the mouse to choose keys ", this);
    alphabetGroup_->setObjectName("1105");
    grid_ = new CAlphabetGrid(alphabetGroup_);
    auto* groupLayout = new QVBoxLayout(alphabetGroup_);
    groupLayout->addWidget(grid_, 0, Qt::AlignHCenter);

    auto* side = new QVBoxLayout;
    side->addWidget(ok_);
    side->addWidget(cancel);
    side->addStretch();
    side->addWidget(alphabetButton_);
    auto* left = new QVBoxLayout;
    left->addWidget(edit_);
    left->addWidget(list_, 1);
    left->addWidget(epic_);
    left->addWidget(firstLetter_);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(alphabetGroup_);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (!IndexHasEpics(index_)) {
        choices_.useEpic = false;
        epic_->setEnabled(false);
    }
    epic_->setChecked(choices_.useEpic);
    firstLetter_->setChecked(choices_.firstLetter);
    showAlphabet(choices_.showAlphabet);

    connect(edit_, &QLineEdit::textChanged, this, &CFindShareDlg::refill);
    connect(list_, &QListWidget::currentRowChanged, this, &CFindShareDlg::onSelection);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        onSelection(list_->row(item));
        accept();
    });
    connect(epic_, &QCheckBox::toggled, this, &CFindShareDlg::onEpicToggled);
    connect(firstLetter_, &QCheckBox::toggled, this, &CFindShareDlg::onFirstLetterToggled);
    connect(alphabetButton_, &QPushButton::clicked, this, &CFindShareDlg::toggleAlphabet);
    connect(grid_, &CAlphabetGrid::keyClicked, this, &CFindShareDlg::onAlphabetKey);
    connect(ok_, &QPushButton::clicked, this, &CFindShareDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    InstallDialogHelp(*this, 0);
    refill();
}

// Opened by a typed letter, the dialog takes the letters typed after it while it is still coming up.
int CFindShareDlg::run() { return firstKey_ != 0 ? RunModalDialogTypingInto(*this, *edit_) : RunModalDialog(*this); }

void CFindShareDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    edit_->setFocus();
    if (opened_)
        return;
    opened_ = true;
    // The opening letter is typed once the dialog's loop runs, so that Fast EPIC can close it.
    if (firstKey_ != 0)
        QTimer::singleShot(0, this, [this] { typeCharacter(int(firstKey_)); });
}

void CFindShareDlg::typeCharacter(int character)
{
    if (character == kDeleteCharacter) {
        edit_->backspace();
        return;
    }
    edit_->insert(QString(QChar(character)));
}

void CFindShareDlg::keyPressEvent(QKeyEvent* event)
{
    if (IsListMoveKey(event->key())) {
        if (list_->isEnabled())
            QCoreApplication::sendEvent(list_, event);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        QDialog::keyPressEvent(event);
        return;
    }
    // A key the edit leaves unused comes back to the dialog: it ends here.
    if (forwarding_) {
        event->ignore();
        return;
    }
    forwarding_ = true;
    QCoreApplication::sendEvent(edit_, event);
    forwarding_ = false;
}

void CFindShareDlg::refill()
{
    FindShareQuery query;
    query.text = ToCp1252(edit_->text());
    query.useEpic = choices_.useEpic;
    query.firstLetter = choices_.firstLetter;
    query.mode = mode_;
    query.marketsInUse = Config().optionsA.bytes[OptionBlockA::kRealTimeOption] != 0;
    query.previous = chosen_;
    FindShareFill fill = FillFindShareList(index_, query);

    refilling_ = true;
    list_->setUpdatesEnabled(false);
    list_->clear();
    // EPIC lines: the keys padded to one width so that the names stand in a column.
    size_t keyWidth = 0;
    for (const FindShareLine& line : fill.lines)
        keyWidth = std::max(keyWidth, line.key.size());
    for (const FindShareLine& line : fill.lines) {
        QString text = FromCp1252(line.text);
        if (!line.key.empty())
            text = FromCp1252(line.key).leftJustified(int(keyWidth)) + text.mid(int(line.key.size()));
        auto* item = new QListWidgetItem(text, list_);
        item->setData(Qt::UserRole, FindShareItemData(line.item.cursor));
        item->setData(Qt::UserRole + 1, QVariant::fromValue(static_cast<void*>(line.item.cursor.record)));
        item->setData(Qt::UserRole + 2, line.item.cursor.count);
    }
    refilling_ = false;
    if (fill.lines.empty()) {
        list_->addItem(kNoMatch);
        list_->setEnabled(false);
        chosen_ = {};
    } else {
        list_->setEnabled(true);
        list_->setCurrentRow(fill.selection);
        list_->scrollToItem(list_->currentItem());
        onSelection(fill.selection);
        edit_->setFocus();
    }
    list_->setUpdatesEnabled(true);
    if (FastEpicTakes(fill, query, choices_.fastEpic))
        accept();
}

void CFindShareDlg::onSelection(int row)
{
    if (refilling_ || !list_->isEnabled() || row < 0 || row >= list_->count())
        return;
    QListWidgetItem* item = list_->item(row);
    chosen_ = {static_cast<uint8_t*>(item->data(Qt::UserRole + 1).value<void*>()), item->data(Qt::UserRole + 2).toUInt()};
}

void CFindShareDlg::onEpicToggled(bool on)
{
    choices_.useEpic = on;
    if (on && !choices_.fastEpicQuestionSuppressed) {
        choices_.fastEpic = false;
        CSuppressibleMessage::Options options;
        options.yesNo = true;
        CSuppressibleMessage question(kFastEpicQuestion, options, this);
        choices_.fastEpic = question.run() == QDialog::Accepted;
        choices_.fastEpicQuestionSuppressed = question.suppressChecked();
        StoreFindShareChoices({LoadFindShareChoices().useEpic, choices_.firstLetter, choices_.fastEpic,
                               choices_.fastEpicQuestionSuppressed, choices_.showAlphabet});
    }
    refill();
    edit_->setFocus();
}

void CFindShareDlg::onFirstLetterToggled(bool on)
{
    choices_.firstLetter = on;
    FindShareChoices stored = LoadFindShareChoices();
    stored.firstLetter = on;
    StoreFindShareChoices(stored);
    refill();
    edit_->setFocus();
}

void CFindShareDlg::toggleAlphabet()
{
    showAlphabet(!choices_.showAlphabet);
    FindShareChoices stored = LoadFindShareChoices();
    stored.showAlphabet = choices_.showAlphabet;
    StoreFindShareChoices(stored);
    edit_->setFocus();
}

void CFindShareDlg::showAlphabet(bool on)
{
    choices_.showAlphabet = on;
    alphabetButton_->setText(on ? "Hide Alphabet" : "Show Alphabet");
    alphabetGroup_->setVisible(on);
}

void CFindShareDlg::onAlphabetKey(int character)
{
    if (character == kOkCharacter) {
        accept();
        return;
    }
    typeCharacter(character);
    edit_->setFocus();
}

void CFindShareDlg::accept()
{
    if (!chosen_.record)
        return;
    std::vector<RecordCursor> lines = SameShareLines(index_, chosen_);
    if (lines.size() > 1) {
        CSelectShareType chooser(lines, this);
        if (chooser.run() != QDialog::Accepted)
            return;
        chosen_ = chooser.chosen();
    }
    FindShareChoices stored = LoadFindShareChoices();
    stored.useEpic = choices_.useEpic;
    StoreFindShareChoices(stored);
    QDialog::accept();
}

void InstallFindShareDialog(QWidget* parent)
{
    SetFindShareDialog([parent](const std::string&, uint32_t character, bool seed,
                                ShareList* list) -> std::optional<int32_t> {
        RecordCursor preset;
        if (const RecordCursor* current = list ? CurrentEntry(list) : nullptr)
            preset = *current;
        CFindShareDlg dialog(parent, preset);
        if (seed)
            dialog.setFirstKey(character);
        if (dialog.run() != QDialog::Accepted)
            return std::nullopt;
        RecordCursor found = dialog.chosen();
        if (!list || !list->entries)
            return 0;
        return FindListEntryIndex(list->entries, list->capacity, RecordId(found.record), found.count);
    });
}

} // namespace qv
