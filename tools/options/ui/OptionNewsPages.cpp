// The News page, which edits the news header's fields, and the special edition's page.
#include "tools/options/ui/OptionPages.h"

#include "core/ConfigState.h"
#include "core/SystemDate.h"
#include "core/VexaEdition.h"
#include "lists/ui/ColumnDialogs.h"
#include "news/NewsDatabase.h"
#include "platform/qt/QtText.h"
#include "shell/ui/DateEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

namespace qv {

namespace {

QGroupBox* Box(const char* title, QWidget* parent) { return new QGroupBox(QString::fromLatin1(title), parent); }

// The story files "data\News\*.dat" and the database's three blocks in memory.
uint64_t NewsSpaceUsed(const NewsDatabase& news)
{
    namespace fs = std::filesystem;
    uint64_t total = 0;
    std::error_code ec;
    for (fs::directory_iterator it(NewsDatabase::NewsFolder(), ec), end; !ec && it != end; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        for (char& c : ext)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        if (ext == ".dat" && it->is_regular_file(ec))
            total += it->file_size(ec);
    }
    const NewsCatalogue& c = news.catalogue();
    return total + c.header.size() + c.hashTable.size() * sizeof(uint32_t) + c.searchTexts.size();
}

QString SizeText(double mb) { return QString::number(mb, 'f', 2); }

} // namespace

// ---- News

COptionNews::COptionNews(QWidget* parent) : COptionPage(OptionPage::News, parent)
{
    NewsDatabase& news = TheNewsDatabase();
    const NewsPageValues v = news.loaded() ? ReadNewsPage(news.catalogue().header) : NewsPageValues{};
    method_ = Group({Radio(0, "Do not update news"), Radio(0, "Update news for latest day only"),
                     Radio(0, "Update all news since")},
                    v.method);
    since_ = MakeDialogDateField(this, 2281, v.since ? v.since : GetTodayDate(0), "since");
    purge_ = Group({Radio(0, "Automatic purge"), Radio(0, "Remind me to purge"), Radio(0, "Manual purge")}, v.purge);
    frequency_ = Group({Radio(0, "daily"), Radio(0, "weekly"), Radio(0, "monthly")}, v.frequency);
    showLatest_ = Check(0, "Show the latest news after each update", v.showLatest);
    showLatest_->setObjectName(QStringLiteral("showLatest"));
    fullSearch_ = Check(0, "Use full search for 'Share's news \\' selection.", v.fullSearch);
    fullSearch_->setObjectName(QStringLiteral("fullSearch"));
    checkSpace_ = Check(0, "Check news disk space daily", v.checkSpace);
    checkSpace_->setObjectName(QStringLiteral("checkSpace"));
    limit_ = Check(0, "Limit search to the last", v.limitSearch);
    limit_->setObjectName(QStringLiteral("limit"));
    weeks_ = Edit(0, QString::number(v.weeks));
    weeks_->setObjectName(QStringLiteral("weeks"));
    size_ = Edit(0, SizeText(v.sizeMb));
    size_->setObjectName(QStringLiteral("size"));
    purgeLabel_ = new QLabel(this);
    purgeLabel_->setObjectName(QStringLiteral("purgeLabel"));
    sizeLabel_ = new QLabel(this);
    sizeLabel_->setObjectName(QStringLiteral("sizeLabel"));
    space_ = new QLabel(QString::fromLatin1(NewsSpaceText(news.loaded() ? NewsSpaceUsed(news) : 0)), this);
    space_->setObjectName(QStringLiteral("space"));
    const char* groups[][3] = {{"method0", "method1", "method2"}, {"purge0", "purge1", "purge2"}, {"daily", "weekly", "monthly"}};
    int g = 0;
    for (QButtonGroup* group : {method_, purge_, frequency_}) {
        for (QAbstractButton* b : group->buttons())
            b->setObjectName(QString::fromLatin1(groups[g][group->id(b)]));
        ++g;
    }

    auto* layout = new QVBoxLayout(this);
    auto* update = Box("Update", this);
    auto* updateGrid = new QGridLayout(update);
    int row = 0;
    for (QAbstractButton* b : method_->buttons())
        updateGrid->addWidget(b, row++, 0);
    updateGrid->addWidget(since_, 2, 1);
    updateGrid->addWidget(showLatest_, row, 0, 1, 2);
    layout->addWidget(update);
    auto* purge = Box("Purge", this);
    auto* purgeGrid = new QGridLayout(purge);
    row = 0;
    for (QAbstractButton* b : purge_->buttons())
        purgeGrid->addWidget(b, row++, 0);
    purgeGrid->addWidget(purgeLabel_, 0, 1);
    auto* frequencies = new QHBoxLayout;
    for (QAbstractButton* b : frequency_->buttons())
        frequencies->addWidget(b);
    purgeGrid->addLayout(frequencies, 1, 1);
    purgeGrid->addWidget(checkSpace_, row++, 0);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeLabel_);
    sizeRow->addWidget(size_);
    sizeRow->addWidget(new QLabel(QStringLiteral("Mb"), purge));
    purgeGrid->addLayout(sizeRow, row++, 0, 1, 2);
    purgeGrid->addWidget(new QLabel(QStringLiteral("News currently uses"), purge), row, 0);
    purgeGrid->addWidget(space_, row, 1);
    layout->addWidget(purge);
    auto* search = Box("Search", this);
    auto* searchGrid = new QGridLayout(search);
    searchGrid->addWidget(fullSearch_, 0, 0, 1, 3);
    searchGrid->addWidget(limit_, 1, 0);
    searchGrid->addWidget(weeks_, 1, 1);
    searchGrid->addWidget(new QLabel(QStringLiteral("weeks"), search), 1, 2);
    layout->addWidget(search);
    layout->addStretch(1);

    for (QButtonGroup* group : {method_, purge_})
        connect(group, &QButtonGroup::idClicked, this, [this] { Enable(); });
    for (QCheckBox* box : {checkSpace_, limit_})
        connect(box, &QCheckBox::toggled, this, [this] { Enable(); });
    Enable();
    setEnabled(news.loaded());
}

void COptionNews::Enable()
{
    const int purge = purge_->checkedId();
    const auto labels = PurgeLabels(uint8_t(purge));
    purgeLabel_->setText(QString::fromLatin1(labels[0]));
    sizeLabel_->setText(QString::fromLatin1(labels[1]));
    for (QAbstractButton* b : frequency_->buttons())
        b->setEnabled(purge != 2);
    purgeLabel_->setEnabled(purge != 2);
    size_->setEnabled(checkSpace_->isChecked() && purge != 2);
    weeks_->setEnabled(limit_->isChecked());
    since_->EnableWindow(method_->checkedId() == 2);
}

bool COptionNews::Validate()
{
    if (!TheNewsDatabase().loaded())
        return true;
    return (!weeks_->isEnabled() || CheckWholeField(weeks_, 1, 999)) &&
           (!size_->isEnabled() || CheckRealField(size_, 0.25, 600));
}

void COptionNews::Commit()
{
    NewsDatabase& news = TheNewsDatabase();
    if (!news.loaded())
        return;
    NewsHeader& header = news.catalogue().header;
    NewsPageValues v = ReadNewsPage(header);
    v.method = uint8_t(std::max(0, method_->checkedId()));
    v.purge = uint8_t(std::max(0, purge_->checkedId()));
    v.frequency = uint8_t(std::max(0, frequency_->checkedId()));
    v.showLatest = showLatest_->isChecked();
    v.fullSearch = fullSearch_->isChecked();
    v.checkSpace = checkSpace_->isChecked();
    v.limitSearch = limit_->isChecked();
    const PackedDate typed = since_->ReadDate();
    v.since = typed ? typed : since_->date;
    if (weeks_->isEnabled())
        v.weeks = uint16_t(weeks_->text().trimmed().toInt());
    if (size_->isEnabled())
        v.sizeMb = size_->text().trimmed().toDouble();
    WriteNewsPage(header, v);
}

// ---- The special edition

int& COptionVexa::AppliedCount()
{
    static int count = 0;
    return count;
}

COptionVexa::COptionVexa(QWidget* parent)
    : COptionPage(OptionPage::Vexa, parent), before_(StoredEditionChoice()), choice_(before_)
{
    enabled_ = Check(0, "Enable Ludrin Ossery Special Edition", before_.enabled);
    enabled_->setObjectName(QStringLiteral("enabled"));
    tables_ = new QListWidget(this);
    tables_->setObjectName(QStringLiteral("tables"));
    tables_->setSelectionMode(QAbstractItemView::SingleSelection);
    graphs_ = new QListWidget(this);
    graphs_->setObjectName(QStringLiteral("graphs"));
    graphs_->setSelectionMode(QAbstractItemView::MultiSelection);
    FillLists();

    auto* layout = new QGridLayout(this);
    layout->addWidget(enabled_, 0, 0, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("List table (1 item)"), this), 1, 0);
    layout->addWidget(new QLabel(QStringLiteral("Graph Settings (2 items)"), this), 1, 1);
    layout->addWidget(tables_, 2, 0);
    layout->addWidget(graphs_, 2, 1);

    connect(tables_, &QListWidget::itemSelectionChanged, this, [this] {
        const auto rows = tables_->selectionModel()->selectedRows();
        choice_.table = rows.isEmpty() ? kNoSlot : uint8_t(rows.front().row());
    });
    connect(graphs_, &QListWidget::itemSelectionChanged, this, [this] { GraphChanged(); });
}

void COptionVexa::FillLists()
{
    const bool enabled = before_.enabled;
    const ConfigState& config = Config();
    const bool applied = VexaSettingsApplied();
    for (size_t slot = 0; slot < kSettingSlots; ++slot) {
        const uint8_t s = uint8_t(slot);
        std::string table = config.listTables.designs[slot].name.value_or("");
        if (enabled && s == before_.table)
            table = (applied ? table : std::string(VexaTableName())) + " (replaced)";
        tables_->addItem(FromCp1252(table));
        std::string graph = config.dailyGraphs.names[slot].value_or("");
        const int which = s == before_.graphs[0] ? 0 : s == before_.graphs[1] ? 1 : -1;
        if (enabled && which >= 0)
            graph = (applied ? graph : std::string(VexaGraphName(which))) + " (replaced)";
        graphs_->addItem(FromCp1252(graph));
    }
    if (before_.table < kSettingSlots)
        tables_->item(before_.table)->setSelected(true);
    for (uint8_t g : before_.graphs)
        if (g < kSettingSlots)
            graphs_->item(g)->setSelected(true);
}

// A third graph setting chosen drops the one chosen earliest.
void COptionVexa::GraphChanged()
{
    for (int row = 0; row < graphs_->count(); ++row) {
        const uint8_t slot = uint8_t(row);
        const bool chosen = choice_.graphs[0] == slot || choice_.graphs[1] == slot;
        if (graphs_->item(row)->isSelected() && !chosen)
            ChooseEditionGraph(choice_, slot);
        else if (!graphs_->item(row)->isSelected() && chosen)
            ClearEditionGraph(choice_, slot);
    }
    const QSignalBlocker block(graphs_);
    for (int row = 0; row < graphs_->count(); ++row) {
        const uint8_t slot = uint8_t(row);
        graphs_->item(row)->setSelected(choice_.graphs[0] == slot || choice_.graphs[1] == slot);
    }
}

void COptionVexa::Commit()
{
    choice_.enabled = enabled_->isChecked();
    if (ApplyEditionChoice(before_, choice_))
        ++AppliedCount();
}

} // namespace qv
