// The search-date limit and statistics dialogs.
#include "news/ui/NewsLimitDateDlg.h"

#include "core/DateText.h"
#include "core/StringPrintf.h"
#include "news/NewsDatabase.h"
#include "news/NewsLock.h"
#include "news/ui/NewsPurgeDlg.h"
#include "platform/qt/QtText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace qv {

CNewsLimitDateDlg::CNewsLimitDateDlg(bool limitOn, uint16_t weeks, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Limit search date"));
    limit_ = new QCheckBox(QStringLiteral("Search history limit"), this);
    weeks_ = new QSpinBox(this);
    weeks_->setRange(0, 0xFFFF);
    weeks_->setValue(weeks);
    limit_->setChecked(limitOn);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(limit_);
    row->addWidget(weeks_);
    row->addWidget(new QLabel(QStringLiteral("weeks."), this));
    row->addStretch(1);
    auto* whole = new QVBoxLayout(this);
    whole->addWidget(new QLabel(QStringLiteral("Limit the number of weeks that will be searched."), this));
    whole->addLayout(row);
    whole->addWidget(buttons);
}

bool CNewsLimitDateDlg::limitOn() const { return limit_->isChecked(); }
uint16_t CNewsLimitDateDlg::weeks() const { return uint16_t(weeks_->value()); }

std::vector<std::string> NewsStatisticsLines(const NewsCatalogue& catalogue, const NewsFileSizes& files)
{
    std::array<int, 4> byState{};
    PackedDate first = 0, last = 0;
    for (const NewsStory& story : catalogue.stories) {
        if (story.state < byState.size())
            ++byState[story.state];
        if (story.storyDate && (first == 0 || story.storyDate < first))
            first = story.storyDate;
        last = std::max(last, story.storyDate);
    }
    std::vector<std::string> lines;
    lines.push_back(StringPrintf("Stories held: %d", int(catalogue.stories.size())));
    lines.push_back(StringPrintf("Unread: %d   Read: %d   Kept: %d   To delete on purge: %d", byState[kNewsStateUnread],
                                 byState[kNewsStateRead], byState[kNewsStateKept], byState[kNewsStateDelete]));
    lines.push_back(StringPrintf("Days held: %d", int(catalogue.days.size())));
    if (first)
        lines.push_back("Stories from " + FormatLongDate(first) + " to " + FormatLongDate(last));
    lines.push_back(StringPrintf("Words in the dictionary: %u", catalogue.header.u32(news_header::kWordCount)));
    lines.push_back(catalogue.indexed() ? "Search index: built" : "Search index: not built");
    lines.push_back(StringPrintf("News files: %.3f Mbytes", double(files.catalogue + files.stories) / (1024.0 * 1024.0)));
    return lines;
}

CNewsStatsDlg::CNewsStatsDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("News stats"));
    AcquireNewsRead();
    const std::vector<std::string> lines = NewsStatisticsLines(TheNewsDatabase().catalogue(), NewsFileBytes());
    ReleaseNewsRead();
    QString text;
    for (const std::string& line : lines)
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + FromCp1252(line);
    lines_ = new QLabel(text, this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* whole = new QVBoxLayout(this);
    whole->addWidget(lines_);
    whole->addStretch(1);
    whole->addWidget(buttons);
}

QString CNewsStatsDlg::text() const { return lines_->text(); }

} // namespace qv
