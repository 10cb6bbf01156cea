// The purge dialog.
#include "news/ui/NewsPurgeDlg.h"

#include "core/StringPrintf.h"
#include "core/SystemDate.h"
#include "news/NewsRecords.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace qv {
namespace {

constexpr double kBaseMbytes = 0.391;
constexpr int kDateField = 1;
constexpr uint32_t kPurgeHelpTopic = 0x20000 + 636; // the purge dialog's template

double Percent(double part, double whole) { return whole > 0 ? 100.0 * part / whole : 0.0; }

} // namespace

NewsPurgeEstimate EstimateNewsPurge(const std::vector<bool>& gone, const NewsFileSizes& files)
{
    constexpr double kMbyte = 1024.0 * 1024.0;
    NewsPurgeEstimate e;
    e.storiesBefore = int(gone.size());
    for (bool g : gone)
        e.storiesAfter += g ? 0 : 1;
    e.mbytesBefore = double(files.catalogue + files.stories) / kMbyte;
    // The base stays whatever goes, but a catalogue smaller than the base is all that can stay: the
    // texts, titles and index go with their stories.
    const double fixed = std::min(kBaseMbytes, double(files.catalogue) / kMbyte);
    const double share = e.storiesBefore ? double(e.storiesAfter) / e.storiesBefore : 0.0;
    e.mbytesAfter = fixed + (e.mbytesBefore - fixed) * share;
    return e;
}

NewsFileSizes NewsFileBytes()
{
    namespace fs = std::filesystem;
    std::error_code error;
    NewsFileSizes sizes;
    if (uintmax_t size = fs::file_size(NewsDatabase::DataFolder() / "News.dat", error); !error)
        sizes.catalogue = size;
    for (const auto& entry : fs::directory_iterator(NewsDatabase::NewsFolder(), error)) {
        if (entry.path().extension() != ".dat")
            continue;
        if (uintmax_t size = fs::file_size(entry.path(), error); !error)
            sizes.stories += size;
    }
    return sizes;
}

CNewsPurgeDlg::CNewsPurgeDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Purge news database"));
    auto* warning = new QLabel(QStringLiteral("WARNING - Once a news story has been purged, it will no longer be available.  "
                                              "Tag any news stories you wish to keep before purging the news database."),
                               this);
    warning->setWordWrap(true);
    byWeeks_ = new QRadioButton(QStringLiteral("Set a time limit of"), this);
    byStories_ = new QRadioButton(QStringLiteral("Set a story limit of"), this);
    byDate_ = new QRadioButton(QStringLiteral("Set a date limit of"), this);
    weeks_ = new QLineEdit(lastWeeks_, this);
    stories_ = new QLineEdit(lastStories_, this);
    date_ = new CDateEdit(this);
    date_->Create(kDateField, this, QRect(0, 0, 200, 24), nullptr, DayNumberToDate(DateToDayNumber(GetTodayDate(0)) - 365));
    // The field shows the typed date over the long one: room for both whole lines.
    date_->setMinimumSize(200, 2 * date_->edit()->sizeHint().height() + 2);
    auto* grid = new QGridLayout;
    grid->addWidget(byWeeks_, 0, 0);
    grid->addWidget(weeks_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("weeks"), this), 0, 2);
    grid->addWidget(byStories_, 1, 0);
    grid->addWidget(stories_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("stories"), this), 1, 2);
    grid->addWidget(byDate_, 2, 0);
    grid->addWidget(date_, 2, 1, 1, 2);
    before_ = new QLabel(this);
    after_ = new QLabel(this);
    auto* purge = new QPushButton(QStringLiteral("Purge news database"), this);
    auto* options = new QPushButton(QStringLiteral("Options"), this);
    auto* keep = new QPushButton(QStringLiteral("Don't purge"), this);
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    options->setEnabled(static_cast<bool>(FrameDialogs().optionsSheet));
    keep->setDefault(true);
    InstallDialogHelp(*this, kPurgeHelpTopic, help);
    connect(options, &QPushButton::clicked, this, &CNewsPurgeDlg::EditPurgeOptions);
    connect(purge, &QPushButton::clicked, this, &QDialog::accept);
    connect(keep, &QPushButton::clicked, this, &QDialog::reject);
    connect(byWeeks_, &QRadioButton::clicked, this, [this] { SetMethod(NewsPurgeMethod::Weeks); });
    connect(byStories_, &QRadioButton::clicked, this, [this] { SetMethod(NewsPurgeMethod::Stories); });
    connect(byDate_, &QRadioButton::clicked, this, [this] { SetMethod(NewsPurgeMethod::Date); });
    connect(weeks_, &QLineEdit::textEdited, this, &CNewsPurgeDlg::SetWeeks);
    connect(stories_, &QLineEdit::textEdited, this, &CNewsPurgeDlg::SetStories);
    connect(date_->edit(), &QLineEdit::editingFinished, this, [this] { Reestimate(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(purge);
    buttons->addWidget(options);
    buttons->addStretch(1);
    buttons->addWidget(keep);
    buttons->addWidget(help);
    auto* whole = new QVBoxLayout(this);
    whole->addWidget(warning);
    whole->addLayout(grid);
    whole->addWidget(new QLabel(QStringLiteral("Note : Items outside of this limit will be purged"), this));
    whole->addWidget(before_);
    whole->addWidget(after_);
    whole->addWidget(new QLabel(QStringLiteral("Note : Estimation includes 0.391 Mbytes base"), this));
    whole->addLayout(buttons);
    ShowStoredMethod();
}

void CNewsPurgeDlg::ShowStoredMethod()
{
    const uint32_t mode = (TheNewsDatabase().catalogue().header.u32(news_header::kOptions) >> 4) & 0x0F;
    SetMethod(mode <= 2 ? NewsPurgeMethod(mode) : NewsPurgeMethod::Weeks);
}

// The news options page holds the purge settings; the method it leaves is shown on OK.
void CNewsPurgeDlg::EditPurgeOptions()
{
    if (FrameDialogs().optionsSheet && FrameDialogs().optionsSheet(kNewsOptionsPage))
        ShowStoredMethod();
}

NewsPurgeMethod CNewsPurgeDlg::method() const
{
    return byStories_->isChecked() ? NewsPurgeMethod::Stories
                                   : byDate_->isChecked() ? NewsPurgeMethod::Date : NewsPurgeMethod::Weeks;
}

uint32_t CNewsPurgeDlg::limit() const
{
    switch (method()) {
    case NewsPurgeMethod::Stories: return stories_->text().toUInt();
    case NewsPurgeMethod::Date: return date_->ReadDate() ? date_->ReadDate() : date_->date;
    default: return weeks_->text().toUInt();
    }
}

void CNewsPurgeDlg::SetMethod(NewsPurgeMethod m)
{
    byWeeks_->setChecked(m == NewsPurgeMethod::Weeks);
    byStories_->setChecked(m == NewsPurgeMethod::Stories);
    byDate_->setChecked(m == NewsPurgeMethod::Date);
    weeks_->setEnabled(m == NewsPurgeMethod::Weeks);
    stories_->setEnabled(m == NewsPurgeMethod::Stories);
    date_->EnableWindow(m == NewsPurgeMethod::Date);
    Reestimate();
}

void CNewsPurgeDlg::SetWeeks(const QString& text)
{
    bool ok = false;
    const uint32_t n = text.toUInt(&ok);
    weeks_->setText(!text.isEmpty() && (!ok || n > 999) ? lastWeeks_ : text);
    lastWeeks_ = weeks_->text();
    Reestimate();
}

void CNewsPurgeDlg::SetStories(const QString& text)
{
    bool ok = false;
    const uint32_t n = text.toUInt(&ok);
    stories_->setText(!text.isEmpty() && (!ok || n > 999999) ? lastStories_ : text);
    lastStories_ = stories_->text();
    Reestimate();
}

QString CNewsPurgeDlg::estimateText() const { return before_->text() + QLatin1Char('\n') + after_->text(); }

void CNewsPurgeDlg::Reestimate()
{
    const std::vector<bool> gone = TheNewsDatabase().purgeChoice(method(), limit(), GetTodayDate(0));
    const NewsPurgeEstimate e = EstimateNewsPurge(gone, NewsFileBytes());
    before_->setText(QString::fromLatin1(StringPrintf("Before purge: %d stories, %.3f Mbytes", e.storiesBefore, e.mbytesBefore)));
    after_->setText(QString::fromLatin1(StringPrintf("After purge: %d stories (%.1f%c), %.3f Mbytes (%.1f%c)", e.storiesAfter,
                                                     Percent(e.storiesAfter, e.storiesBefore), '%', e.mbytesAfter,
                                                     Percent(e.mbytesAfter, e.mbytesBefore), '%')));
}

} // namespace qv
