// The story display.
#include "news/ui/NewsStoryDlg.h"

#include "core/DateText.h"
#include "core/FormatNumber.h"
#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "lists/CellValue.h"
#include "news/NewsDatabase.h"
#include "news/NewsListRows.h"
#include "news/NewsLock.h"
#include "news/ui/NewsStoryWindow.h"
#include "news/ui/ViewNewsWindow.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"
#include "platform/ReportPrint.h"
#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/SoftMenuQt.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>
#include <fstream>

namespace qv {
namespace {

constexpr int kMinimumWidth = 500, kMinimumHeight = 457, kStartWidth = 640, kStartHeight = 520;
constexpr int kMargin = 8, kButtonsWidth = 150, kFieldsHeight = 70;
constexpr int kStoryTopWithHeader = 78, kStoryTopWithoutHeader = 5;
constexpr uint32_t kHeaderLinesHidden = 1u << 20;
constexpr uint32_t kStoryMenu = 654, kCommandCopyStory = 26698, kCommandSelectStory = 26699;
constexpr uint32_t kStoryHelpTopic = 0x20000 + 634; // the story display's template

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

QString OrNa(const std::string& text) { return text.empty() ? QStringLiteral("n/a") : FromCp1252(text); }

std::string CompanyText(const NewsStory& story)
{
    std::string names;
    for (uint32_t id : story.shareIds) {
        const std::string name = NewsShareName(id);
        if (name.empty())
            continue;
        if (!names.empty())
            names += ", ";
        names += name;
    }
    return names;
}

// False, with the message, when the file cannot be made or written whole.
bool WriteStoryFile(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) {
        ShowMessage("Unable to create file");
        return false;
    }
    return true;
}

QLabel* Caption(QGridLayout* grid, int row) { return qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget()); }

QLabel* AddField(QGridLayout* grid, int row, int column, const char* caption, QWidget* parent)
{
    grid->addWidget(new QLabel(QString::fromLatin1(caption), parent), row, column * 2);
    auto* value = new QLabel(parent);
    value->setFrameShape(QFrame::StyledPanel);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(value, row, column * 2 + 1);
    return value;
}

// The display open on a news view; the view's commands ask for it.
CNewsStoryDlg* g_openStory = nullptr;

} // namespace

CNewsStoryDlg* CNewsStoryDlg::Open() { return g_openStory; }

CNewsStoryDlg::CNewsStoryDlg(CViewNewsWnd& view, QWidget* parent) : QDialog(parent), view_(view)
{
    setWindowTitle(QStringLiteral("News story display"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    fields_ = new QWidget(this);
    auto* grid = new QGridLayout(fields_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    company_ = AddField(grid, 0, 0, "Company", fields_);
    grid->addWidget(company_, 0, 1, 1, 3);
    subject_ = AddField(grid, 1, 0, "Subject", fields_);
    date_ = AddField(grid, 1, 1, "Date", fields_);
    country_ = AddField(grid, 2, 0, "Country", fields_);
    time_ = AddField(grid, 2, 1, "Time", fields_);
    industry_ = AddField(grid, 3, 0, "Industry", fields_);
    foundCount_ = AddField(grid, 3, 1, "Search occurrences", fields_);
    occurrences_ = qobject_cast<QLabel*>(grid->itemAtPosition(3, 2)->widget());
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    for (QLabel* caption : {occurrences_, Caption(grid, 0), Caption(grid, 1), Caption(grid, 2), Caption(grid, 3)})
        caption->setFont(NewsStoryLabelFont());

    window_ = new CNewsStoryWindow(this);
    window_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(window_, &QWidget::customContextMenuRequested, this, &CNewsStoryDlg::ShowStoryMenu);

    buttons_ = new QWidget(this);
    previous_ = new QPushButton(QStringLiteral("<< Previous"), buttons_);
    next_ = new QPushButton(QStringLiteral("Next >>"), buttons_);
    auto* print = new QPushButton(QStringLiteral("&Print"), buttons_);
    auto* save = new QPushButton(QStringLiteral("&Save"), buttons_);
    keep_ = new QCheckBox(QStringLiteral("&Keep this story"), buttons_);
    delete_ = new QCheckBox(QStringLiteral("&Delete on purge"), buttons_);
    headerLines_ = new QCheckBox(QStringLiteral("Show story &header lines"), buttons_);
    locateNext_ = new QPushButton(QStringLiteral("Locate &next found"), buttons_);
    auto* help = new QPushButton(QStringLiteral("Help"), buttons_);
    auto* close = new QPushButton(QStringLiteral("Close"), buttons_);
    InstallDialogHelp(*this, kStoryHelpTopic, help);
    connect(previous_, &QPushButton::clicked, this, [this] { Step(-1); });
    connect(next_, &QPushButton::clicked, this, [this] { Step(1); });
    connect(print, &QPushButton::clicked, this, [this] { Print(); });
    connect(save, &QPushButton::clicked, this, [this] { ChooseFileAndSave(); });
    connect(keep_, &QCheckBox::clicked, this, [this](bool on) { SetMark(on ? kNewsStateKept : kNewsStateRead); });
    connect(delete_, &QCheckBox::clicked, this, [this](bool on) { SetMark(on ? kNewsStateDelete : kNewsStateRead); });
    connect(headerLines_, &QCheckBox::toggled, this, [this](bool on) { ShowHeaderLines(on); });
    connect(locateNext_, &QPushButton::clicked, window_, &CNewsStoryWindow::LocateNext);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* column = new QVBoxLayout(buttons_);
    column->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : {static_cast<QWidget*>(previous_), static_cast<QWidget*>(next_), static_cast<QWidget*>(print),
                       static_cast<QWidget*>(save), static_cast<QWidget*>(keep_), static_cast<QWidget*>(delete_),
                       static_cast<QWidget*>(headerLines_), static_cast<QWidget*>(locateNext_)})
        column->addWidget(w);
    column->addStretch(1);
    column->addWidget(help);
    column->addWidget(close);

    const bool hidden = TheNewsDatabase().catalogue().header.u32(news_header::kOptions) & kHeaderLinesHidden;
    headerLines_->blockSignals(true);
    headerLines_->setChecked(!hidden);
    headerLines_->blockSignals(false);
    resize(kStartWidth, kStartHeight);
    PlaceControls();
    LoadStory();
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    initialised_ = true;
    g_openStory = this;
}

CNewsStoryDlg::~CNewsStoryDlg()
{
    if (g_openStory == this)
        g_openStory = nullptr;
    if (!printed_.empty()) {
        std::error_code error;
        std::filesystem::remove(printed_, error);
    }
}

void CNewsStoryDlg::LoadStory()
{
    ShareList* list = view_.list;
    const RecordCursor* row = list ? CurrentEntry(list) : nullptr;
    if (!row || !row->record)
        return;
    story_ = LoadU32(row->record + NewsEntryLayout::Position);
    NewsDatabase& news = TheNewsDatabase();
    if (story_ >= news.catalogue().stories.size())
        return;
    AcquireNewsWrite();
    text_ = news.storyText(story_, kNewsTitle | kNewsBody);
    NewsStory& record = news.catalogue().stories[story_];
    header_ = NewsStoryHeaderOf(record);
    header_.company = CompanyText(record);
    if (record.state == kNewsStateUnread)
        MarkNewsRow(row->record, kNewsStateRead);
    const uint8_t state = record.state;
    ReleaseNewsWrite();

    company_->setText(OrNa(header_.company));
    subject_->setText(OrNa(header_.subject));
    country_->setText(OrNa(header_.country));
    industry_->setText(OrNa(header_.industry));
    date_->setText(header_.date ? QString::asprintf("%02d/%s/%04d", DayOfMonth(header_.date),
                                                    kMonths[MonthOfYear(header_.date) - 1], FullYear(header_.date))
                                : QStringLiteral("n/a"));
    time_->setText(QString::asprintf("%02u:%02u", header_.seconds / 3600, header_.seconds / 60 % 60));
    std::string shown = text_;
    std::erase(shown, '\r');
    const size_t titleEnd = shown.find('\n');
    const size_t bodyLength = titleEnd == std::string::npos ? 0 : shown.size() - titleEnd - 1;
    if (bodyLength < kNewsShortestBody)
        shown = shown.substr(0, titleEnd) + "\n" + kNewsNoBodyText;
    const std::string& search = view_.searchText();
    const std::vector<NewsFoundWord> found = search.empty() ? std::vector<NewsFoundWord>() : FindNewsStoryWords(shown, search);
    window_->SetStory(std::move(shown), FormatLongDate(header_.date) + " " + FormatClockTime(header_.seconds, true),
                      search.empty() ? nullptr : &found);
    foundCount_->setText(QString::number(found.size()));
    LayOutHeader();
    keep_->setChecked(state == kNewsStateKept);
    delete_->setChecked(state == kNewsStateDelete);
    previous_->setEnabled(list->current > 0);
    next_->setEnabled(list->entries[list->current + 1].record != nullptr);
}

QString CNewsStoryDlg::storyText() const { return FromCp1252(window_->text()); }

void CNewsStoryDlg::Step(int delta)
{
    ShareList* list = view_.list;
    if (!list)
        return;
    const int32_t target = list->current + delta;
    if (target < 0 || !list->entries[target].record)
        return;
    list->current = target;
    view_.update();
    LoadStory();
}

void CNewsStoryDlg::SetMark(int state)
{
    keep_->setChecked(state == kNewsStateKept);
    delete_->setChecked(state == kNewsStateDelete);
    const RecordCursor* row = view_.list ? CurrentEntry(view_.list) : nullptr;
    AcquireNewsRead();
    if (row && row->record)
        MarkNewsRow(row->record, uint8_t(state));
    else
        TheNewsDatabase().setStoryState(story_, uint8_t(state));
    ReleaseNewsRead();
    view_.update();
}

// Flips the header's bit so that the next display opens the same way.
void CNewsStoryDlg::ShowHeaderLines(bool shown)
{
    NewsHeader& header = TheNewsDatabase().catalogue().header;
    if (header.size() >= news_header::kOptions + 4) {
        const uint32_t options = header.u32(news_header::kOptions);
        header.setU32(news_header::kOptions, shown ? options & ~kHeaderLinesHidden : options | kHeaderLinesHidden);
    }
    PlaceControls();
    update();
}

// The header fields and the found-word controls shown by the box and the view's search; the story
// window's top below the fields or near the top.
void CNewsStoryDlg::LayOutHeader()
{
    const bool shown = headerLines_->isChecked();
    const bool hasFound = window_->hasFoundList();
    fields_->setVisible(shown);
    occurrences_->setVisible(shown && hasFound);
    foundCount_->setVisible(shown && hasFound);
    locateNext_->setVisible(hasFound);
    locateNext_->setEnabled(window_->scroll().longerThanPage());
}

void CNewsStoryDlg::PlaceControls()
{
    const int barWidth = window_->scrollBar()->sizeHint().width();
    const int buttonsWidth = std::max(kButtonsWidth, buttons_->sizeHint().width());
    const int right = width() - buttonsWidth - 2 * kMargin;
    buttons_->setGeometry(right + kMargin, kMargin, buttonsWidth, height() - 2 * kMargin);
    fields_->setGeometry(kMargin, 4, right - barWidth - kMargin, kFieldsHeight);
    const int top = headerLines_->isChecked() ? kStoryTopWithHeader : kStoryTopWithoutHeader;
    window_->SetFrame(QRect(QPoint(kMargin, top), QPoint(right - barWidth - 1, height() - kMargin - 1)));
    LayOutHeader();
}

void CNewsStoryDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlaceControls();
    if (!initialised_)
        return;
    LoadStory();
    update();
}

// The story's popup menu (654): its items run here, on the dialog, whatever window is active.
QMenu* CNewsStoryDlg::CreateStoryMenu()
{
    QMenu* menu = CreateOwnSoftQMenu(kStoryMenu, this, [this](uint32_t command) {
        if (command == kCommandCopyStory)
            CopyStory();
        else if (command == kCommandSelectStory)
            window_->SelectAll();
    });
    for (QAction* action : menu->actions()) {
        if (ActionCommand(action) == kCommandCopyStory)
            action->setStatusTip(QStringLiteral("Copies the displayed story to the windows clipboard."));
        if (ActionCommand(action) == kCommandSelectStory)
            action->setStatusTip(QStringLiteral("Select the entire text of the story."));
    }
    return menu;
}

void CNewsStoryDlg::ShowStoryMenu(const QPoint& at)
{
    QMenu* menu = CreateStoryMenu();
    menu->exec(window_->mapToGlobal(at));
    menu->deleteLater();
}

bool CNewsStoryDlg::SaveTo(const std::filesystem::path& file)
{
    std::string ext = file.extension().string();
    for (char& c : ext)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return WriteStoryFile(file, ext == ".HTM" ? NewsStoryHtmlDocument(header_, text_)
                                              : NewsStoryExportText(header_, text_, false));
}

namespace {

// The folder a save starts in: the user's documents folder when it exists, else the home folder. A
// folder given to the file dialog that does not exist would be taken for the file's name.
QString SaveFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
}

// A file name made of the story's first line: letters, digits and blanks, at most 40 of them.
QString ProposedFileName(const std::string& text)
{
    QString name;
    for (char c : text.substr(0, text.find('\n'))) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || (c == ' ' && !name.isEmpty() && !name.endsWith(QLatin1Char(' '))))
            name += QLatin1Char(c);
        if (name.size() >= 40)
            break;
    }
    name = name.trimmed();
    return (name.isEmpty() ? QStringLiteral("News story") : name) + QStringLiteral(".htm");
}

} // namespace

void CNewsStoryDlg::ChooseFileAndSave()
{
    QFileDialog dialog(this, QStringLiteral("Save as"), SaveFolder(), QStringLiteral("Hypertext (*.htm);;Text (*.txt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("htm"));
    dialog.selectFile(ProposedFileName(text_));
    if (RunModalDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString name = dialog.selectedFiles().constFirst();
    if (QFileInfo(name).suffix().isEmpty())
        name += dialog.selectedNameFilter().startsWith(QLatin1String("Text")) ? QStringLiteral(".txt")
                                                                              : QStringLiteral(".htm");
    SaveTo(std::filesystem::path(name.toStdString()));
}

void CNewsStoryDlg::Print()
{
    if (!printed_.empty()) {
        std::error_code error;
        std::filesystem::remove(printed_, error);
        printed_.clear();
    }
    const std::filesystem::path file = MakeReportTempFile();
    if (file.empty() || !WriteStoryFile(file, NewsStoryHtmlDocument(header_, text_)))
        return;
    printed_ = file;
    PrintHtmlFile(file);
}

void CNewsStoryDlg::CopyStory()
{
    QApplication::clipboard()->setText(FromCp1252(NewsStoryExportText(header_, text_, false)));
}

// The scrolling keys and Space reach the story whichever control has the focus.
bool CNewsStoryDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel && watched != window_) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Space) {
        Step(key->modifiers() & Qt::ShiftModifier ? -1 : 1);
        return true;
    }
    return window_->ScrollKey(key->key()) || QDialog::eventFilter(watched, event);
}

void CNewsStoryDlg::wheelEvent(QWheelEvent* event)
{
    window_->Wheel(event->angleDelta().y(), event->modifiers() & Qt::ShiftModifier);
    event->accept();
}

} // namespace qv
