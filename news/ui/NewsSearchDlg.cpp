// The news search dialog.
#include "news/ui/NewsSearchDlg.h"

#include "core/StringPrintf.h"
#include "news/NewsDatabase.h"
#include "news/NewsIndex.h"
#include "news/NewsListRows.h"
#include "news/NewsLock.h"
#include "news/NewsSearch.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace qv {
namespace {

constexpr const char* kRules = "Enter the search text. The search uses the following rules:\n A B     Space for both A and B "
                               "(any order)\n A,B     Comma for either A or B\n A-B     Minus sign for A but not B\n'A B'    "
                               "Quotes for a literal search (A then B)";
constexpr const char* kSearching = "The news database is being searched\n\nPress 'ESC' at any time to abort";
constexpr const char* kIndexing =
    "The news database is currently being indexed.\n\nWARNING - On slower machines this may take sometime. To speed this "
    "process up first try performing a purge removing any unwanted stories.  Pressing the 'ESC' key will abort the "
    "indexing.";
constexpr const char* kCompleted =
    "The search has been completed.  You can either enter in a new search or press the 'Close' button to finish "
    "searching.\n\n Note that when viewing the matching stores, the 'ESC' key will return you to the full list of "
    "stories.";

// The progress bar moves and Esc is looked for every so many stories.
constexpr uint32_t kStepEvery = 200;

} // namespace

CNewsSearchDlg::CNewsSearchDlg(const QString& seed, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("News search"));
    text_ = new QLineEdit(seed, this);
    auto* rules = new QLabel(QString::fromLatin1(kRules), this);
    rules->setFont(QFont(QStringLiteral("Monospace")));
    heading_ = new QLabel(this);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    status_->setMinimumHeight(90);
    status_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    auto* search = new QPushButton(QStringLiteral("Search"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    search->setDefault(true);
    connect(search, &QPushButton::clicked, this, &CNewsSearchDlg::RunSearch);
    connect(close, &QPushButton::clicked, this, [this] { done(searched_ ? Accepted : Rejected); });

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Search for"), this));
    row->addWidget(text_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(search);
    buttons->addWidget(close);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(row);
    whole->addWidget(rules);
    whole->addWidget(heading_);
    whole->addWidget(status_);
    whole->addWidget(progress_);
    whole->addLayout(buttons);
    resize(460, 360);
}

QString CNewsSearchDlg::text() const { return text_->text(); }

QString CNewsSearchDlg::status() const { return heading_->text() + QLatin1Char('\n') + status_->text(); }

void CNewsSearchDlg::RunSearch()
{
    const std::string text = ToCp1252(text_->text());
    NewsDatabase& news = TheNewsDatabase();
    if (text.empty() || !news.loaded())
        return;
    const bool indexing = !news.catalogue().indexed();
    heading_->setText(indexing ? QStringLiteral("Indexing") : QStringLiteral("Searching"));
    status_->setText(QString::fromLatin1(indexing ? kIndexing : kSearching));
    QApplication::processEvents();
    AcquireNewsWrite();
    const std::vector<NewsSearchTerm> terms = MakeNewsSearchWords(news, 0, text);
    std::unique_ptr<NewsReindexProgress> reindex = MakeNewsReindexProgress();
    progress_->setRange(0, int(std::max<size_t>(news.catalogue().stories.size(), 1)));
    progress_->setValue(0);
    searching_ = true;
    stop_ = false;
    const NewsSearchStep step = [this](uint32_t story, uint32_t) {
        if (heading_->text() != QLatin1String("Searching")) {
            heading_->setText(QStringLiteral("Searching"));
            status_->setText(QString::fromLatin1(kSearching));
        }
        if (story - progress_->value() >= kStepEvery || story < uint32_t(progress_->value())) {
            progress_->setValue(int(story));
            QApplication::processEvents();
        }
        return !stop_;
    };
    const std::vector<NewsMatch> matches = PerformNewsSearch(news, terms, 0, UINT32_MAX, reindex.get(), step);
    searching_ = false;
    ReleaseNewsWrite();
    stories_ = MatchedStories(matches);
    searched_ = true;
    progress_->setValue(progress_->maximum());
    heading_->setText(QString::fromLatin1(StringPrintf("Search complete - %d news items found", int(stories_.size()))));
    status_->setText(QString::fromLatin1(kCompleted));
}

// Esc while a search runs stops it with what it found so far; otherwise it closes the dialog.
void CNewsSearchDlg::keyPressEvent(QKeyEvent* event)
{
    if (searching_ && event->key() == Qt::Key_Escape) {
        stop_ = true;
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace qv
