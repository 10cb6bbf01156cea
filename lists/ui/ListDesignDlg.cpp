// The list design dialog and the "Save current table" dialog.
#include "lists/ui/ListDesignDlg.h"

#include "core/ConfigState.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "shell/LibraryFiles.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/LibraryButton.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/SettingTitle.h"
#include "shell/ui/StyleButton.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

#include <cstring>

namespace qv {

namespace {

constexpr uint32_t kDesignHelp = 86445;
constexpr uint32_t kSaveTableHelp = 0x20000 + 836;
constexpr QSize kPreviewSize(180, 120);
enum SampleKind { kFontSample = 0, kColourBox = 1, kPenSample = 2 };

// The text samples and the background each shows.
struct TextSample {
    size_t offset;
    size_t background;
    const char* label;
};
constexpr TextSample kTextSamples[] = {
    {StyleOffset::Text, StyleOffset::Background, "Text"},
    {StyleOffset::SelectedText, StyleOffset::SelectedBackground, "Selected text"},
    {StyleOffset::HeadingText, StyleOffset::HeadingBackground, "Heading text"},
    {StyleOffset::Negative, StyleOffset::Background, "Negative numbers"},
    {StyleOffset::Imported, StyleOffset::Background, "Imported item text"},
    {StyleOffset::IntradayOnly, StyleOffset::Background, "Intraday data only (no end of day data)"},
};

QColor Colour(uint32_t bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }

QString Face(const StyleBlock& style)
{
    const char* face = reinterpret_cast<const char*>(style.data() + StyleOffset::Face);
    return QString::fromLatin1(face, qsizetype(strnlen(face, 31)));
}

const char* TableWord(int kind, int tradeMode)
{
    switch (kind) {
    case 4: return "Tran table";
    case 5: return "Deal table";
    case 7: return "Cash table";
    case 8: return "News table";
    case 10: return tradeMode == 1 ? "Quote table" : tradeMode == 2 ? "T & Q table" : "Trade table";
    default: return "Table";
    }
}

} // namespace

CListDesignDlg::CListDesignDlg(QWidget* parent)
    : QDialog(parent), tabs_(new QTabWidget(this)), preview_(new QLabel(this))
{
    setObjectName(QStringLiteral("211"));
    caption_ = QStringLiteral("List design");
    setWindowTitle(caption_);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setFixedSize(kPreviewSize);
}

CStyleButton* CListDesignDlg::sample(size_t offset) const
{
    const auto it = samples_.find(offset);
    return it == samples_.end() ? nullptr : it->second;
}

CStyleButton* CListDesignDlg::addSample(size_t offset, int kind)
{
    auto* b = new CStyleButton(this);
    b->setObjectName(QStringLiteral("style%1").arg(offset));
    b->setMinimumSize(kind == kFontSample ? 150 : 60, kind == kFontSample ? 26 : 20);
    samples_[offset] = b;
    sampleKinds_[offset] = kind;
    connect(b, &CStyleButton::styleChosen, this, [this, offset] { sampleChanged(offset); });
    return b;
}

void CListDesignDlg::SetData(const TableDesign& design, int kind, const QString& settingName, int settingNumber,
                             const std::filesystem::path& programFolder, std::function<void(const TableDesign&)> apply,
                             int tradeMode)
{
    design_ = {design, design, false};
    kind_ = kind;
    apply_ = std::move(apply);
    tabMode_ = kind == 10 ? 2 : (kind == 1 || kind == 2 || kind == 6) ? 3 : 0;
    setWindowTitle(SettingDialogTitle(caption_, settingName,
                                      QStringLiteral("%1 %2").arg(QString::fromLatin1(TableWord(kind, tradeMode))).arg(settingNumber + 1)));

    tabs_->addTab(buildTextTab(), QStringLiteral(" Text "));
    tabs_->addTab(buildLinesTab(), QStringLiteral(" Lines "));
    if (tabMode_ >= 2)
        tabs_->addTab(buildSampleTab({{StyleOffset::Arrows, "Arrow up"}, {StyleOffset::Arrows + 4, "Arrow down"},
                                      {StyleOffset::Arrows + 8, "Arrow same"}}, false),
                      QStringLiteral(" Arrows "));
    if (tabMode_ == 3) {
        tabs_->addTab(buildSampleTab({{StyleOffset::Graph, "Graph"}, {StyleOffset::Ticks, "Tick up"},
                                      {StyleOffset::Ticks + 4, "Tick down"}, {StyleOffset::Ticks + 8, "Tick same"}}, true),
                      QStringLiteral(" Micrographs "));
        QWidget* split = tabs_->widget(tabs_->count() - 1);
        auto* grid = static_cast<QGridLayout*>(split->layout());
        const std::pair<size_t, const char*> more[] = {
            {StyleOffset::VolumeSplit, "Buy"}, {StyleOffset::VolumeSplit + 4, "Sell"}, {StyleOffset::VolumeSplit + 8, "Unknown"},
            {StyleOffset::Thermograph, "Thermograph up"}, {StyleOffset::Thermograph + 4, "Thermograph down"}};
        int row = 0;
        for (const auto& [offset, label] : more) {
            grid->addWidget(new QLabel(QString::fromLatin1(label), split), row, 2);
            grid->addWidget(addSample(offset, kColourBox), row++, 3);
        }
        tabs_->addTab(buildSampleTab({{StyleOffset::Flash, "Price up"}, {StyleOffset::Flash + 4, "Price down"},
                                      {StyleOffset::Flash + 8, "Price same"}, {StyleOffset::SelectedFlash, " Selected  up"},
                                      {StyleOffset::SelectedFlash + 4, " Selected  down"},
                                      {StyleOffset::SelectedFlash + 8, " Selected  same"}}, false),
                      QStringLiteral(" Flash Colours "));
    }
    // The tab last chosen in any list design dialog.
    uint8_t& remembered = Config().optionsB.bytes[OptionBlockB::kDesignTab];
    tabs_->setCurrentIndex(remembered < tabs_->count() ? remembered : 0);
    connect(tabs_, &QTabWidget::currentChanged, this, [](int tab) { Config().optionsB.bytes[OptionBlockB::kDesignTab] = uint8_t(tab); });

    auto* light = new QPushButton(QStringLiteral("Light Default"), this);
    light->setObjectName(QStringLiteral("1016"));
    auto* dark = new QPushButton(QStringLiteral("Dark Default"), this);
    dark->setObjectName(QStringLiteral("2426"));
    auto* previewButton = new QPushButton(QStringLiteral("Preview"), this);
    previewButton->setObjectName(QStringLiteral("18127"));
    connect(light, &QPushButton::clicked, this, [this] { applyDefaults(false); });
    connect(dark, &QPushButton::clicked, this, [this] { applyDefaults(true); });
    connect(previewButton, &QPushButton::clicked, this, &CListDesignDlg::preview);

    auto* layout = new QGridLayout(this);
    layout->addWidget(tabs_, 0, 0, 1, 3);
    layout->addWidget(preview_, 0, 3);
    layout->addWidget(light, 1, 0);
    layout->addWidget(dark, 1, 1);
    layout->addWidget(previewButton, 1, 2);
    if (kind == 1 || kind == 2) {
        library_ = LibraryFolder(programFolder);
        libraryLabel_ = new QLabel(QStringLiteral("Replace with table from the"), this);
        library_button_ = new CLibraryButton(QStringLiteral("Library"), this);
        library_button_->setObjectName(QStringLiteral("library"));
        library_button_->setFolder(library_, "tab");
        connect(library_button_, &CLibraryButton::commandToParent, this, &CListDesignDlg::onLibraryCommand);
        layout->addWidget(libraryLabel_, 2, 0, 1, 2);
        layout->addWidget(library_button_, 2, 2);
    }
    layout->addWidget(OkCancelHelpButtons(*this, kDesignHelp), 3, 0, 1, 4);
    refresh();
}

QWidget* CListDesignDlg::buildTextTab()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    int row = 0;
    for (const TextSample& t : kTextSamples) {
        if (t.offset == StyleOffset::IntradayOnly && tabMode_ != 3)
            continue;
        if (t.offset == StyleOffset::Imported && tabMode_ != 3 && tabMode_ != 1)
            continue;
        grid->addWidget(new QLabel(QString::fromLatin1(t.label), page), row, 0);
        grid->addWidget(addSample(t.offset, kFontSample), row++, 1);
    }
    const std::pair<size_t, const char*> boxes[] = {{StyleOffset::Background, "Background"},
                                                   {StyleOffset::SelectedBackground, "Selected background"},
                                                   {StyleOffset::HeadingBackground, "Heading background"},
                                                   {StyleOffset::AlternateBackground, "Alternate background"}};
    int boxRow = 0;
    for (const auto& [offset, label] : boxes) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), page), boxRow, 2);
        grid->addWidget(addSample(offset, kColourBox), boxRow++, 3);
    }
    alternate_ = new QCheckBox(QStringLiteral("Alternate background"), page);
    alternate_->setObjectName(QStringLiteral("3840"));
    wrap_ = new QCheckBox(QStringLiteral("Wrap columns (if possible)"), page);
    wrap_->setObjectName(QStringLiteral("2786"));
    whiteSpace_ = new QSlider(Qt::Horizontal, page);
    whiteSpace_->setObjectName(QStringLiteral("whiteSpace"));
    whiteSpace_->setRange(0, 4);
    grid->addWidget(alternate_, boxRow++, 2, 1, 2);
    grid->addWidget(wrap_, boxRow++, 2, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("White space"), page), std::max(row, boxRow), 0);
    grid->addWidget(whiteSpace_, std::max(row, boxRow), 1);
    for (QCheckBox* c : {alternate_, wrap_})
        connect(c, &QCheckBox::clicked, this, &CListDesignDlg::collect);
    connect(whiteSpace_, &QSlider::sliderReleased, this, &CListDesignDlg::collect);
    connect(whiteSpace_, &QSlider::actionTriggered, this, [this] { QMetaObject::invokeMethod(this, &CListDesignDlg::collect, Qt::QueuedConnection); });
    return page;
}

QWidget* CListDesignDlg::buildLinesTab()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("Horizontal lines"), page), 0, 0);
    grid->addWidget(addSample(StyleOffset::HorizontalPen, kPenSample), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Vertical lines"), page), 1, 0);
    grid->addWidget(addSample(StyleOffset::VerticalPen, kPenSample), 1, 1);
    vertical_ = new QCheckBox(QStringLiteral("Vertical lines"), page);
    vertical_->setObjectName(QStringLiteral("4035"));
    lines_ = new QSlider(Qt::Horizontal, page);
    lines_->setObjectName(QStringLiteral("horizontalLines"));
    lines_->setRange(0, 5);
    grid->addWidget(vertical_, 2, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Horizontal line interval"), page), 3, 0);
    grid->addWidget(lines_, 3, 1);
    connect(vertical_, &QCheckBox::clicked, this, &CListDesignDlg::collect);
    connect(lines_, &QSlider::sliderReleased, this, &CListDesignDlg::collect);
    connect(lines_, &QSlider::actionTriggered, this, [this] { QMetaObject::invokeMethod(this, &CListDesignDlg::collect, Qt::QueuedConnection); });
    return page;
}

QWidget* CListDesignDlg::buildSampleTab(std::initializer_list<std::pair<size_t, const char*>> boxes, bool pens)
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    int row = 0;
    for (const auto& [offset, label] : boxes) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), page), row, 0);
        grid->addWidget(addSample(offset, pens ? kPenSample : kColourBox), row++, 1);
    }
    return page;
}

void CListDesignDlg::refresh()
{
    StyleBlock& s = design_.working.style;
    const QString face = Face(s);
    const uint32_t flags = s[StyleOffset::FontFlags] & 7u;
    const int size = int(StyleWord(s, StyleOffset::PointSize));
    for (const auto& [offset, button] : samples_) {
        const uint32_t word = StyleWord(s, offset);
        switch (sampleKinds_[offset]) {
        case kFontSample: {
            size_t background = StyleOffset::Background;
            for (const TextSample& t : kTextSamples)
                if (t.offset == offset)
                    background = t.background;
            if (button->mode() != SampleMode::Font)
                button->CreateFontSample(face, flags, size, word, StyleWord(s, background), false);
            button->SetFont(face, flags, size);
            button->SetColour(word, StyleWord(s, background));
            button->setText(QString());
            break;
        }
        case kColourBox:
            if (button->mode() != SampleMode::ColourBox)
                button->CreateColourBox(word, false);
            button->SetColour(word, word);
            break;
        default:
            if (button->mode() != SampleMode::Line)
                button->CreateFromPackedStyle(word, StyleWord(s, StyleOffset::Background), false);
            button->SetColourAndStyle(word, StyleWord(s, StyleOffset::Background));
            break;
        }
    }
    if (whiteSpace_)
        whiteSpace_->setValue(int(StyleWord(s, StyleOffset::WhiteSpace) / 2));
    if (lines_)
        lines_->setValue(6 - int(StyleWord(s, StyleOffset::LineInterval)));
    if (wrap_)
        wrap_->setChecked(s[StyleOffset::Wrap] != 0);
    if (alternate_)
        alternate_->setChecked(s[StyleOffset::Flags] & 1);
    if (vertical_)
        vertical_->setChecked(!(s[StyleOffset::Flags] & 2));
    preview_->setPixmap(QPixmap::fromImage(previewImage(kPreviewSize)));
}

void CListDesignDlg::setSampleColours(size_t offset, uint32_t colour, uint32_t background)
{
    if (CStyleButton* b = sample(offset))
        b->SetColour(colour, background);
}

void CListDesignDlg::sampleChanged(size_t offset)
{
    StyleBlock& s = design_.working.style;
    CStyleButton* b = sample(offset);
    if (!b)
        return;
    switch (sampleKinds_[offset]) {
    case kFontSample: {
        QString face;
        uint32_t flags = 0;
        int size = 0;
        b->GetFont(face, flags, size);
        std::memset(s.data() + StyleOffset::Face, 0, 32);
        const QByteArray latin = face.left(31).toLatin1();
        std::memcpy(s.data() + StyleOffset::Face, latin.constData(), size_t(latin.size()));
        s[StyleOffset::FontFlags] = uint8_t(flags & 7);
        if (size > 0)
            SetStyleWord(s, StyleOffset::PointSize, uint32_t(size));
        SetStyleWord(s, offset, b->GetColour(0));
        if (const auto shared = SharedBackgroundOf(offset))
            SetStyleWord(s, *shared, b->GetColour(1));
        break;
    }
    case kColourBox:
        SetStyleWord(s, offset, b->GetColour(0));
        break;
    default:
        SetStyleWord(s, offset, (b->GetColour(0) & 0xFFFFFF) | b->GetPackedStyle());
        break;
    }
    collect();
}

void CListDesignDlg::collect()
{
    StyleBlock& s = design_.working.style;
    if (whiteSpace_)
        SetStyleWord(s, StyleOffset::WhiteSpace, uint32_t(2 * whiteSpace_->value() + 1));
    if (lines_)
        SetStyleWord(s, StyleOffset::LineInterval, uint32_t(6 - lines_->value()));
    if (wrap_)
        s[StyleOffset::Wrap] = wrap_->isChecked() ? 1 : 0;
    if (alternate_ && vertical_)
        s[StyleOffset::Flags] = uint8_t((s[StyleOffset::Flags] & ~3) | (alternate_->isChecked() ? 1 : 0) |
                                        (vertical_->isChecked() ? 0 : 2));
    refresh();
}

bool CListDesignDlg::applyDefaults(bool dark)
{
    if (LayoutHasCustomFormatting(design_.working.layout)) {
        const MsgAnswer answer = ShowMessage(
            "This list table has columns with custom settings.\n\nRemove all column formatting before applying the\n"
            "default settings?",
            {}, MsgButtons::YesNoCancel, MsgIcon::Question);
        if (answer == MsgAnswer::Cancel)
            return false;
        if (answer == MsgAnswer::Yes)
            ClearColumnFormatting(design_.working.layout);
    }
    ApplyDefaultDesign(design_.working.style, dark);
    refresh();
    return true;
}

bool CListDesignDlg::apply(bool check)
{
    if (check && ImportColourClashes(design_.working.style)) {
        ShowMessage(kImportTextClash, {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    design_.applied = true;
    if (apply_)
        apply_(design_.working);
    return true;
}

bool CListDesignDlg::preview() { return apply(true); }

void CListDesignDlg::accept()
{
    // A clash keeps the dialog open with the user's edits.
    if (apply(true))
        QDialog::accept();
}

void CListDesignDlg::reject()
{
    if (design_.applied) {
        design_.working = design_.saved;
        apply(false);
    }
    QDialog::reject();
}

void CListDesignDlg::onLibraryCommand(uint32_t command)
{
    if (command == kCommandAddToLibrary) {
        std::error_code ec;
        if (!std::filesystem::exists(library_, ec)) {
            if (ShowMessage(kNoLibraryFolderQuestion, {}, MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
                return;
            std::filesystem::create_directories(library_, ec);
        }
        QFileDialog files(this, QString(), QString::fromStdString(library_.string()),
                          QStringLiteral("Table files (*.tab);;All Files (*.*)"));
        files.setAcceptMode(QFileDialog::AcceptSave);
        files.setDefaultSuffix(QStringLiteral("tab"));
        if (RunModalDialog(files) != QDialog::Accepted || files.selectedFiles().isEmpty())
            return;
        CSaveTableDlg names(this);
        if (RunModalDialog(names) != QDialog::Accepted)
            return;
        saveToLibrary(files.selectedFiles().front().toStdString(), names.name(), names.description());
        return;
    }
    if (!library_button_)
        return;
    const size_t entry = command - kCommandAddToLibrary;
    const auto& entries = library_button_->entries();
    if (command < kCommandFirstLibraryFile || entry >= entries.size() || !entries[entry].file)
        return;
    const std::filesystem::path file = library_ / entries[entry].text;
    if (ShowMessage(ReplaceTableQuestion(entries[entry].title, file), {}, MsgButtons::YesNo, MsgIcon::Question) !=
        MsgAnswer::Yes)
        return;
    loadFromLibrary(file);
}

bool CListDesignDlg::saveToLibrary(const std::filesystem::path& file, const QString& name, const QString& description)
{
    // Stored texts are Windows-1252, as the library menu reads them.
    if (SaveTableFile(file, design_.working, ToCp1252(name), ToCp1252(description)))
        return true;
    ShowMessage("Unable to write table file", {}, MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

bool CListDesignDlg::loadFromLibrary(const std::filesystem::path& file)
{
    const TableFileLoad load = LoadTableFile(file);
    if (!load.design) {
        ShowMessage(load.error, {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    design_.working = *load.design;
    refresh();
    return true;
}

// A miniature table in strokes: rows (white space + 8) high and columns (white space + 16) wide.
QImage CListDesignDlg::previewImage(QSize size) const
{
    const StyleBlock& s = design_.working.style;
    const int space = int(std::min<uint32_t>(StyleWord(s, StyleOffset::WhiteSpace), 9));
    const int rowHeight = space + 8;
    const int columnWidth = space + 16;
    const uint32_t interval = StyleWord(s, StyleOffset::LineInterval);
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(image.rect(), Colour(StyleWord(s, StyleOffset::Background)));
    const int rows = size.height() / rowHeight + 1;
    const int columns = size.width() / columnWidth + 1;
    for (int r = 0; r < rows; ++r) {
        const QRect row(0, r * rowHeight, size.width(), rowHeight);
        uint32_t text = StyleWord(s, StyleOffset::Text);
        if (r == 0) {
            p.fillRect(row, Colour(StyleWord(s, StyleOffset::HeadingBackground)));
            text = StyleWord(s, StyleOffset::HeadingText);
        } else if (r == 3) {
            p.fillRect(row, Colour(StyleWord(s, StyleOffset::SelectedBackground)));
            text = StyleWord(s, StyleOffset::SelectedText);
        } else if ((s[StyleOffset::Flags] & 1) && r % 2 == 1) {
            p.fillRect(row, Colour(StyleWord(s, StyleOffset::AlternateBackground)));
        }
        for (int c = 0; c < columns; ++c) {
            uint32_t stroke = text;
            if (r > 0 && r != 3 && c == 2)
                stroke = StyleWord(s, r % 3 ? StyleOffset::Negative : StyleOffset::Imported);
            p.setPen(Colour(stroke));
            const int y = row.top() + rowHeight / 2;
            p.drawLine(c * columnWidth + space / 2 + 2, y, (c + 1) * columnWidth - space / 2 - 2, y);
        }
        if (interval >= 1 && interval < 6 && r % int(interval) == 0) {
            p.setPen(Colour(StyleWord(s, StyleOffset::HorizontalPen) & 0xFFFFFF));
            p.drawLine(0, row.bottom(), size.width(), row.bottom());
        }
    }
    if (!(s[StyleOffset::Flags] & 2)) {
        p.setPen(Colour(StyleWord(s, StyleOffset::VerticalPen) & 0xFFFFFF));
        for (int c = 1; c < columns; ++c)
            p.drawLine(c * columnWidth, 0, c * columnWidth, size.height());
    }
    return image;
}

// ---- Save current table

CSaveTableDlg::CSaveTableDlg(QWidget* parent)
    : QDialog(parent), name_(new QLineEdit(this)), description_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("836"));
    setWindowTitle(QStringLiteral("Save current table"));
    name_->setObjectName(QStringLiteral("name"));
    name_->setMaxLength(int(kTableFileNameLimit));
    description_->setObjectName(QStringLiteral("description"));
    connect(description_, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = description_->toPlainText();
        if (text.size() > qsizetype(kTableFileDescriptionLimit))
            description_->setPlainText(text.left(qsizetype(kTableFileDescriptionLimit)));
    });
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Please enter a name and (optional) description\nfor this table."), this), 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Name:"), this), 1, 0);
    grid->addWidget(name_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Description:"), this), 2, 0);
    grid->addWidget(description_, 2, 1);
    grid->addWidget(OkCancelHelpButtons(*this, kSaveTableHelp), 3, 0, 1, 2);
}

QString CSaveTableDlg::name() const { return name_->text(); }
QString CSaveTableDlg::description() const { return description_->toPlainText(); }

void CSaveTableDlg::setValues(const QString& name, const QString& description)
{
    name_->setText(name);
    description_->setPlainText(description);
}

} // namespace qv
