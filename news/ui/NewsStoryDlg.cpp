// The story display.
#include "news/ui/NewsStoryDlg.h"

#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "lists/CellValue.h"
#include "news/NewsDatabase.h"
#include "news/NewsListRows.h"
#include "news/NewsLock.h"
#include "news/ui/ViewNewsWindow.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"
#include "platform/ReportPrint.h"
#include "platform/qt/QtText.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <fstream>

namespace qv {
namespace {

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

QLabel* AddField(QGridLayout* grid, int row, int column, const char* caption, QWidget* parent)
{
    grid->addWidget(new QLabel(QString::fromLatin1(caption), parent), row, column * 2);
    auto* value = new QLabel(parent);
    value->setFrameShape(QFrame::StyledPanel);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(value, row, column * 2 + 1);
    return value;
}

} // namespace

CNewsStoryDlg::CNewsStoryDlg(CViewNewsWnd& view, QWidget* parent) : QDialog(parent), view_(view)
{
    setWindowTitle(QStringLiteral("News story display"));
    setMinimumSize(500, 457);
    resize(640, 520);
    fields_ = new QWidget(this);
    auto* grid = new QGridLayout(fields_);
    grid->setContentsMargins(0, 0, 0, 0);
    company_ = AddField(grid, 0, 0, "Company", fields_);
    grid->addWidget(company_, 0, 1, 1, 3);
    subject_ = AddField(grid, 1, 0, "Subject", fields_);
    date_ = AddField(grid, 1, 1, "Date", fields_);
    country_ = AddField(grid, 2, 0, "Country", fields_);
    time_ = AddField(grid, 2, 1, "Time", fields_);
    industry_ = AddField(grid, 3, 0, "Industry", fields_);
    grid->addWidget(industry_, 3, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    body_ = new QPlainTextEdit(this);
    body_->setReadOnly(true);
    body_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    body_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    body_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(body_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("&Copy"), this, [this] { CopyStory(); })
            ->setStatusTip(QStringLiteral("Copies the displayed story to the windows clipboard."));
        menu.addAction(QStringLiteral("Select &All"), body_, &QPlainTextEdit::selectAll)
            ->setStatusTip(QStringLiteral("Select the entire text of the story."));
        menu.exec(body_->mapToGlobal(at));
    });

    previous_ = new QPushButton(QStringLiteral("<< Previous"), this);
    next_ = new QPushButton(QStringLiteral("Next >>"), this);
    auto* print = new QPushButton(QStringLiteral("&Print"), this);
    auto* save = new QPushButton(QStringLiteral("&Save"), this);
    keep_ = new QCheckBox(QStringLiteral("&Keep this story"), this);
    delete_ = new QCheckBox(QStringLiteral("&Delete on purge"), this);
    headerLines_ = new QCheckBox(QStringLiteral("Show story &header lines"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    connect(previous_, &QPushButton::clicked, this, [this] { Step(-1); });
    connect(next_, &QPushButton::clicked, this, [this] { Step(1); });
    connect(print, &QPushButton::clicked, this, [this] { Print(); });
    connect(save, &QPushButton::clicked, this, [this] { ChooseFileAndSave(); });
    connect(keep_, &QCheckBox::clicked, this, [this](bool on) { SetMark(on ? kNewsStateKept : kNewsStateRead); });
    connect(delete_, &QCheckBox::clicked, this, [this](bool on) { SetMark(on ? kNewsStateDelete : kNewsStateRead); });
    connect(headerLines_, &QCheckBox::toggled, this, [this](bool on) { ShowHeaderLines(on); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QVBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(previous_), static_cast<QWidget*>(next_), static_cast<QWidget*>(print),
                       static_cast<QWidget*>(save), static_cast<QWidget*>(keep_), static_cast<QWidget*>(delete_),
                       static_cast<QWidget*>(headerLines_)})
        buttons->addWidget(w);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* left = new QVBoxLayout;
    left->addWidget(fields_);
    left->addWidget(body_, 1);
    auto* whole = new QHBoxLayout(this);
    whole->addLayout(left, 1);
    whole->addLayout(buttons);

    const bool hidden = TheNewsDatabase().catalogue().header.u32(news_header::kOptions) & (1u << 20);
    headerLines_->setChecked(!hidden);
    fields_->setVisible(!hidden);
    LoadStory();
}

CNewsStoryDlg::~CNewsStoryDlg()
{
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
    const size_t titleEnd = text_.find('\n');
    const size_t bodyLength = titleEnd == std::string::npos ? 0 : text_.size() - titleEnd - 1;
    std::string shown = NewsReadableText(text_);
    if (bodyLength < kNewsShortestBody)
        shown = shown.substr(0, shown.find('\n')) + "\n\n" + kNewsNoBodyText;
    body_->setPlainText(FromCp1252(shown));
    keep_->setChecked(state == kNewsStateKept);
    delete_->setChecked(state == kNewsStateDelete);
    previous_->setEnabled(list->current > 0);
    next_->setEnabled(list->entries[list->current + 1].record != nullptr);
}

QString CNewsStoryDlg::storyText() const { return body_->toPlainText(); }

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

void CNewsStoryDlg::ShowHeaderLines(bool shown)
{
    fields_->setVisible(shown);
    NewsHeader& header = TheNewsDatabase().catalogue().header;
    if (header.size() >= news_header::kOptions + 4) {
        const uint32_t options = header.u32(news_header::kOptions);
        header.setU32(news_header::kOptions, shown ? options & ~(1u << 20) : options | (1u << 20));
    }
}

bool CNewsStoryDlg::SaveTo(const std::filesystem::path& file)
{
    std::string ext = file.extension().string();
    for (char& c : ext)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return WriteStoryFile(file, ext == ".HTM" ? NewsStoryHtmlDocument(header_, text_)
                                              : NewsStoryExportText(header_, text_, false));
}

void CNewsStoryDlg::ChooseFileAndSave()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QFileDialog dialog(this, QStringLiteral("Save as"), documents,
                       QStringLiteral("Hypertext (*.htm);;Text (*.txt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("htm"));
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

void CNewsStoryDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space) {
        Step(event->modifiers() & Qt::ShiftModifier ? -1 : 1);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace qv
