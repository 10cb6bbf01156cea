// The news view's window.
#include "news/ui/ViewNewsWindow.h"

#include "core/Portfolio.h"
#include "core/ReadersWriterLock.h"
#include "core/ShareList.h"
#include "core/SystemDate.h"
#include "lists/ListSettings.h"
#include "lists/ListSort.h"
#include "lists/ViewHold.h"
#include "news/NewsDatabase.h"
#include "news/NewsLock.h"
#include "news/NewsIndex.h"
#include "news/NewsRealTime.h"
#include "news/NewsSearch.h"
#include "news/ui/NewsLimitDateDlg.h"
#include "news/ui/NewsPurgeDlg.h"
#include "news/ui/NewsSearchDlg.h"
#include "news/ui/NewsSearchTextDlg.h"
#include "news/ui/NewsStoryDlg.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "platform/qt/QtText.h"
#include "portfolio/TransactionRows.h"
#include "resources/MessageIds.h"
#include "shell/FrameDialogSeams.h"
#include "shell/PortfolioAdd.h"
#include "shell/ViewGroups.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StatusBarEx.h"
#include "shell/ui/ViewRequests.h"
#include "views/ActiveShare.h"
#include "views/FrameState.h"
#include "views/ViewGroupFields.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace qv {
namespace {

constexpr uint32_t kMessageRetryNewsBuild = WM_USER + 50;
// How long a search step waits for a writer further up the thread to let the lock go.
constexpr int kSearchStepRetryMs = 20;
constexpr uint32_t kCommandNewsOptions = 26635, kCommandViewStory = 26645, kCommandShowAllNews = 26669;
constexpr uint32_t kCommandLatestNews = 26697, kCommandListNews = 26702;
constexpr uint32_t kCommandPurgeNews = 26646, kCommandClearIndex = 26771;
constexpr uint32_t kCommandAlarmNews = 26982, kCommandClearAlarmNews = 26983;
constexpr const char* kClearAlarmsQuestion = "Are you sure you wish to clear the current news alarm stories?";
constexpr uint32_t kCommandLoopForward = 20606, kCommandLoopBack = 20615;
constexpr uint32_t kCommandNextShare = 20618, kCommandPreviousShare = 20619;
constexpr uint32_t kCommandNewsStats = 26696, kCommandShareSearchText = 26701, kCommandModifiedShares = 26707;
constexpr uint32_t kCommandLimitDate = 26778, kCommandLimitWeeks = 26779;
constexpr uint32_t kCommandListPrevious = 26016, kCommandListNext = 26017;

// Only one list is built at a time, program-wide.
bool g_newsBusy = false;

constexpr const char* kClearIndexQuestion = "Are you sure you would like to clear the news search index file?";
constexpr const char* kPurgeWarning =
    "WARNING - Purging will permanently remove news stories.\n\nPress 'OK' to perform the purge, 'Cancel' to abort.";

void RedrawNewsViews() { InvalidateMatchingViews(ShareListChain(), false, kViewNews, -1, 0xFFFFFFFF, nullptr); }

// Rebuilds every news view at once (their stories or their search changed).
void RebuildNewsViews()
{
    for (ShareList* l = ShareListChain(); l; l = l->next)
        for (CViewBase* v = l->views; v; v = v->nextInList)
            if (auto* news = dynamic_cast<CViewNewsWnd*>(v))
                news->BuildNewsList();
}

bool LimitOn()
{
    return TheNewsDatabase().catalogue().header.u8(news_header::kLimitFlagByte) & news_header::kLimitFlagBit;
}

void SetLimit(bool on, uint16_t weeks)
{
    NewsHeader& header = TheNewsDatabase().catalogue().header;
    const uint8_t flags = header.u8(news_header::kLimitFlagByte);
    header.setU8(news_header::kLimitFlagByte, on ? flags | news_header::kLimitFlagBit : flags & ~news_header::kLimitFlagBit);
    header.setU16(news_header::kLimitWeeks, weeks);
    RebuildNewsViews();
}

// The share search-text editor on a share; every view is redrawn and every news view searches anew
// after OK. With no share it ends at once, as with OK.
bool EditShareSearchText(uint32_t shareId, QWidget* parent)
{
    if (shareId == 0 || !TheNewsDatabase().loaded())
        return true;
    CNewsSearchTextDlg dialog(shareId, parent);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    RebuildNewsViews();
    return true;
}

bool EditModifiedShares(QWidget* parent)
{
    CNewsModifiedSharesDlg dialog(parent);
    RunModalDialog(dialog);
    RebuildNewsViews();
    return true;
}

} // namespace

CViewNewsWnd::CViewNewsWnd(QWidget* parent) : CViewBase(kViewNews), CViewListTop(kViewNews, parent)
{
    AddCommandTarget(this);
}

CViewNewsWnd::~CViewNewsWnd()
{
    RemoveCommandTarget(this);
    if (building_)
        g_newsBusy = false;
    ForgetRows();
}

// A list outlives the view that filled it (another window can keep it as its parent, and the frame
// takes the view off its list before deleting it): no list may keep rows in the entries that go
// with the view.
void CViewNewsWnd::ForgetRows()
{
    if (!entries_.empty())
        ForgetRowsWithin(entries_.data(), entries_.data() + entries_.size(), list);
}

// Only a list of shares can be the parent: other lists' rows are records of their own.
ShareList* CViewNewsWnd::ParentList() const
{
    return secondList && secondList->family == kFamilyShares ? secondList : nullptr;
}

bool CViewNewsWnd::FollowsParent() const { return DealingsParentListMode() && ParentList() != nullptr; }

int32_t CViewNewsWnd::RowCount() const { return int32_t(stories_.size()); }

NewsRowFilter CViewNewsWnd::Filter() const
{
    NewsRowFilter f;
    f.flags = flags_;
    f.shareId = shareId_;
    f.latestBoundary = TheNewsDatabase().latestBoundary();
    if (flags_ & news_list::kCurrentList) {
        ShareList* parent = ParentList() ? ParentList() : CurrentShareList();
        if (parent && parent->entries)
            for (const RecordCursor* e = parent->entries; e->record; ++e)
                f.listShares.push_back(EntryRecordId(*e));
    }
    return f;
}

void CViewNewsWnd::BuildNewsList()
{
    // Asked again while its own share search runs: the list is built again once the search ends.
    if (building_) {
        newsRefreshPending = 1;
        return;
    }
    // Another view's build, a busy frame, or a writer further up this thread (a search or reindex
    // dispatching messages) whose lock this thread could never take.
    if (g_newsBusy || BusyFlag || NewsLock().WriterHolds()) {
        newsRefreshPending = 1;
        PostProgramMessage(*this, kMessageRetryNewsBuild, 1);
        return;
    }
    // This build serves every request made before it.
    newsRefreshPending = 0;
    g_newsBusy = building_ = true;
    AcquireNewsWrite();
    // A view made from a layout starts in the mode its list kept; one share's news needs its share,
    // which only a command gives.
    if (!modeRead_ && list) {
        flags_ |= GetViewGroupFields(list).newsMode & (news_list::kLatestOnly | news_list::kCurrentList | news_list::kAlarms);
        modeRead_ = true;
    }
    if (FollowsParent() && ParentList()->entries && ParentList()->current >= 0) {
        const RecordCursor& row = ParentList()->entries[ParentList()->current];
        shareId_ = row.record ? EntryRecordId(row) : 0;
        flags_ |= news_list::kOneShare;
    }
    const RecordCursor* current = list ? CurrentEntry(list) : nullptr;
    if (current && current->record)
        keepStory_ = LoadU32(current->record + NewsEntryLayout::Position);
    if (!(flags_ & news_list::kAlarms) && searchText_.empty() && ShareSearchOn()) {
        StartShareSearch();
        return;
    }
    std::vector<uint32_t> stories;
    if (flags_ & news_list::kAlarms)
        stories.clear();
    else if (!searchText_.empty())
        stories = searchStories_;
    else
        stories = SelectNewsStories(TheNewsDatabase().catalogue().stories, Filter());
    ReleaseNewsWrite();
    FinishBuild(std::move(stories));
}

// Entered holding the lock. The rows go while the search runs; its first step runs now, the others
// from the event loop, where Esc can stop it.
void CViewNewsWnd::StartShareSearch()
{
    SetRows({});
    NewsDatabase& news = TheNewsDatabase();
    const bool indexed = PrepareNewsIndex(news, MakeNewsReindexProgress().get());
    if (indexed)
        search_ = std::make_unique<NewsSearchRun>(news, ShareSearchTerms());
    ReleaseNewsWrite();
    searching_ = indexed;
    update();
    SearchStep();
}

void CViewNewsWnd::SearchStep()
{
    // A writer further up this thread (a dialog's search dispatching messages) holds the lock.
    if (NewsLock().WriterHolds()) {
        QTimer::singleShot(kSearchStepRetryMs, this, &CViewNewsWnd::SearchStep);
        return;
    }
    if (search_ && searching_) {
        AcquireNewsWrite();
        const bool more = search_->Step();
        ReleaseNewsWrite();
        if (more) {
            QTimer::singleShot(0, this, &CViewNewsWnd::SearchStep);
            return;
        }
    }
    std::vector<uint32_t> found = search_ ? MatchedStories(search_->matches()) : std::vector<uint32_t>();
    search_.reset();
    searching_ = false;
    FinishBuild(std::move(found));
}

void CViewNewsWnd::StopSearch() { searching_ = false; }

// The rows of the stories, with the sort and the kept story; the build ends here.
void CViewNewsWnd::FinishBuild(std::vector<uint32_t> stories)
{
    AcquireNewsWrite();
    SetRows(std::move(stories));
    if (list) {
        const int stored = GetSettingSort(kListKindNews, list->tableSetting);
        if (list->columnLayout && stored != 0)
            SortListByColumn(false, list, stored, true);
        list->current = list->firstVisible = 0;
        for (int32_t i = 0; i < RowCount(); ++i)
            if (LoadU32(list->entries[i].record + NewsEntryLayout::Position) == keepStory_)
                list->current = list->firstVisible = i;
        ViewGroupFields fields = GetViewGroupFields(list);
        fields.newsMode = flags_;
        SetViewGroupFields(list, fields);
    }
    ReleaseNewsWrite();
    g_newsBusy = building_ = false;
    ++builds_;
    ShowStatusTexts();
    update();
    // A rebuild asked for while this one ran.
    if (newsRefreshPending)
        PostProgramMessage(*this, kMessageRetryNewsBuild, 1);
}

void CViewNewsWnd::SetRows(std::vector<uint32_t> stories)
{
    stories_ = std::move(stories);
    const std::vector<NewsStory>& all = TheNewsDatabase().catalogue().stories;
    std::vector<NewsEntry> entries;
    entries.reserve(stories_.size());
    for (uint32_t s : stories_)
        entries.push_back(MakeNewsEntry(all[s], s));
    std::vector<RecordCursor> rows;
    rows.reserve(entries.size());
    for (NewsEntry& e : entries)
        rows.push_back({e.data(), 0});
    if (list)
        SetListRows(list, rows);
    // The old entries go only now that the list no longer points at them.
    entries_.swap(entries);
}

// With the share-search option a share's (or the list's shares') stories are found by searching
// for their search texts; without it by the ids the stories name.
bool CViewNewsWnd::ShareSearchOn() const
{
    const bool option = TheNewsDatabase().catalogue().header.u32(news_header::kOptions) & (1u << 13);
    return option && (shareId_ != 0 || (flags_ & news_list::kCurrentList));
}

std::vector<NewsSearchTerm> CViewNewsWnd::ShareSearchTerms()
{
    NewsDatabase& news = TheNewsDatabase();
    if (!(flags_ & news_list::kCurrentList))
        return MakeNewsSearchWords(news, shareId_, ShareNewsSearchText(news, shareId_));
    std::vector<NewsShareSearch> shares;
    for (uint32_t id : Filter().listShares)
        shares.push_back({id, ShareNewsSearchText(news, id)});
    return MakeNewsPortfolioSearch(news, shares);
}

void CViewNewsWnd::Purge()
{
    static bool purging = false;
    if (purging || g_newsBusy)
        return;
    purging = true;
    CNewsPurgeDlg dialog(this);
    const bool chosen = RunModalDialog(dialog) == QDialog::Accepted;
    MessageRequest warning{kPurgeWarning, {}, MsgButtons::OkCancel, MsgIcon::Exclamation, 1};
    if (chosen && ShowMessage(warning) == MsgAnswer::Ok) {
        AcquireNewsWrite();
        TheNewsDatabase().purge(dialog.method(), dialog.limit(), GetTodayDate(0));
        ReleaseNewsWrite();
        // The stories' numbers have changed: every news view's rows go at once.
        RebuildNewsViews();
    }
    purging = false;
}

void CViewNewsWnd::OpenSearch(const QString& seed)
{
    if (FollowsParent() || building_)
        return;
    CNewsSearchDlg dialog(seed.isEmpty() ? FromCp1252(searchText_) : seed, this);
    // A search opened by a typed letter keeps the letters typed straight after it.
    const int result = seed.isEmpty() ? RunModalDialog(dialog) : RunModalDialogTypingInto(dialog, dialog.textField());
    if (result != QDialog::Accepted || !dialog.searched())
        return;
    ShowSearchResult(ToCp1252(dialog.text()), dialog.stories());
}

void CViewNewsWnd::ShowSearchResult(const std::string& text, std::vector<uint32_t> stories)
{
    searchText_ = text;
    searchStories_ = std::move(stories);
    SetFlags(0, news_list::kAlarms);
}

void CViewNewsWnd::OnRefresh()
{
    if (!list)
        AttachListSource(kFamilyNews, nullptr, 0);
    if (list) {
        list->family = kFamilyNews;
        qv::SelectColumnSetting(list, kListKindNews, -1, false, false);
    }
    BuildNewsList();
    CViewListTop::OnRefresh();
    ShowStatusTexts();
}

void CViewNewsWnd::OnSetFocus()
{
    CViewListTop::OnSetFocus();
    ShowStatusTexts();
}

intptr_t CViewNewsWnd::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == kMessageRetryNewsBuild) {
        // Each deferred request posts a retry; the first build serves them all.
        if (newsRefreshPending)
            BuildNewsList();
        return 1;
    }
    if (message == WM_COMMAND && RunCommand(uint32_t(wParam & 0xFFFF)))
        return 1;
    return CViewListTop::onProgramMessage(message, wParam, lParam);
}

void CViewNewsWnd::SetFlags(uint32_t set, uint32_t clear)
{
    flags_ = (flags_ & ~clear) | set;
    BuildNewsList();
}

void CViewNewsWnd::ShowShareOnly(uint32_t shareId)
{
    shareId_ = shareId;
    if (shareId)
        SetFlags(news_list::kOneShare, news_list::kCurrentList | news_list::kAlarms);
    else
        SetFlags(0, news_list::kOneShare | news_list::kCurrentList | news_list::kAlarms);
}

void CViewNewsWnd::ShowListNews()
{
    shareId_ = 0;
    SetFlags(news_list::kCurrentList, news_list::kCurrentList | news_list::kOneShare | news_list::kAlarms);
}

uint32_t CViewNewsWnd::OwnShareId() const
{
    return (flags_ & news_list::kOneShare) && !FollowsParent() ? shareId_ : 0;
}

uint32_t CViewNewsWnd::CurrentRowShare() const
{
    const RecordCursor* row = list ? CurrentEntry(list) : nullptr;
    for (size_t i = 0; row && row->record && i < 3; ++i)
        if (uint16_t id = LoadU16(row->record + NewsEntryLayout::Companies + 2 * i))
            return id;
    return 0;
}

bool CViewNewsWnd::Mark(uint32_t command)
{
    if (!IsNewsMark(command) || !list)
        return false;
    const NewsMarkRange range = NewsMarkRows(command, list->current, RowCount());
    AcquireNewsRead();
    for (int32_t i = range.first; i <= range.last; ++i)
        MarkNewsRow(list->entries[i].record, range.state);
    ReleaseNewsRead();
    RedrawNewsViews();
    return true;
}

void CViewNewsWnd::OpenCurrentStory()
{
    if (!list || building_ || RowCount() == 0)
        return;
    CNewsStoryDlg dialog(*this, this);
    RunModalDialog(dialog);
    RedrawNewsViews();
}

bool CViewNewsWnd::UpdateCommand(CommandUi& ui)
{
    if (!IsActiveView())
        return false;
    const uint32_t c = ui.command;
    const bool hasRows = RowCount() > 0;
    const bool hasCurrent = hasRows && list && list->current >= 0 && list->current < RowCount();
    if (IsNewsSingleMark(c)) {
        ui.enabled = hasCurrent && !building_;
        const RecordCursor* row = hasCurrent ? CurrentEntry(list) : nullptr;
        const uint8_t state = row && row->record ? row->record[NewsEntryLayout::Status] : 0xFF;
        ui.checked = NewsMarkRows(c, 0, 1).state == state;
        return true;
    }
    if (IsNewsMark(c)) {
        const bool needsCurrent = c >= 26683 && c <= 26690;
        ui.enabled = hasRows && (!needsCurrent || hasCurrent);
        return true;
    }
    switch (c) {
    case kCommandNewsOptions: ui.enabled = bool(FrameDialogs().optionsSheet); return true;
    case kCommandViewStory: ui.enabled = hasCurrent; return true;
    case kCommandPurgeNews: ui.enabled = hasRows && !g_newsBusy; return true;
    case kCommandClearIndex: ui.enabled = TheNewsDatabase().catalogue().indexed(); return true;
    case kCommandAlarmNews:
        ui.enabled = true;
        ui.checked = (flags_ & news_list::kAlarms) != 0;
        return true;
    // The alerted stories are held with the real-time news table the alarm server sets.
    case kCommandClearAlarmNews: ui.enabled = HasRealTimeNewsTable(); return true;
    case kCommandSearchNews:
    case kCommandShowAllNews: ui.enabled = !FollowsParent(); return true;
    case kCommandLatestNews:
        ui.enabled = true;
        ui.checked = (flags_ & news_list::kLatestOnly) != 0;
        return true;
    case kCommandListNews:
        ui.enabled = !TheNewsDatabase().catalogue().stories.empty() && (CurrentShareList() || FollowsParent());
        ui.checked = (flags_ & news_list::kCurrentList) != 0;
        return true;
    case kCommandLoopForward: case kCommandLoopBack: ui.enabled = hasRows && !CNewsStoryDlg::Open(); return true;
    case kCommandNextShare: case kCommandPreviousShare: ui.enabled = hasRows; return true;
    case kCommandNewsStats: ui.enabled = true; return true;
    case kCommandLimitDate:
    case kCommandLimitWeeks:
        ui.enabled = hasCurrent && !CNewsStoryDlg::Open();
        if (c == kCommandLimitDate)
            ui.checked = LimitOn();
        return true;
    default: return UpdateListCommand(ui);
    }
}

bool CViewNewsWnd::RunCommand(uint32_t command)
{
    if (!IsActiveView())
        return false;
    if (Mark(command))
        return true;
    switch (command) {
    case ID_REFRESH: OnRefresh(); return true;
    case kCommandNewsOptions:
        if (FrameDialogs().optionsSheet && FrameDialogs().optionsSheet(kNewsOptionsPage))
            update();
        return true;
    case kCommandViewStory: OpenCurrentStory(); return true;
    case kCommandSearchNews: OpenSearch({}); return true;
    case kCommandPurgeNews: Purge(); return true;
    case kCommandClearIndex:
        if (ShowMessage({kClearIndexQuestion, {}, MsgButtons::OkCancel, MsgIcon::Question, 0}) == MsgAnswer::Ok) {
            AcquireNewsWrite();
            TheNewsDatabase().clearIndex();
            ReleaseNewsWrite();
        }
        return true;
    case kCommandAlarmNews:
        searchText_.clear();
        searchStories_.clear();
        SetFlags(flags_ & news_list::kAlarms ? 0 : news_list::kAlarms, news_list::kAlarms);
        return true;
    case kCommandClearAlarmNews:
        if (HasRealTimeNewsTable() && ShowMessage({kClearAlarmsQuestion, {}, MsgButtons::YesNo, MsgIcon::Question, 0}) ==
                                          MsgAnswer::Yes) {
            ClearNewsAlarmResults();
            OnRefresh();
        }
        return true;
    case kCommandLoopForward: case kCommandLoopBack:
    case kCommandShowAllNews:
        shareId_ = 0;
        searchText_.clear();
        searchStories_.clear();
        SetFlags(0, news_list::kOneShare | news_list::kCurrentList | news_list::kAlarms);
        return true;
    case kCommandNextShare:
    case kCommandPreviousShare:
        RunListCommand(command == kCommandNextShare ? kCommandListNext : kCommandListPrevious);
        if (CNewsStoryDlg* story = CNewsStoryDlg::Open())
            story->LoadStory();
        return true;
    case kCommandNewsStats: {
        CNewsStatsDlg dialog(this);
        RunModalDialog(dialog);
        return true;
    }
    case kCommandLimitDate: SetLimit(!LimitOn(), TheNewsDatabase().catalogue().header.u16(news_header::kLimitWeeks)); return true;
    case kCommandLimitWeeks: {
        CNewsLimitDateDlg dialog(LimitOn(), TheNewsDatabase().catalogue().header.u16(news_header::kLimitWeeks), this);
        if (RunModalDialog(dialog) == QDialog::Accepted)
            SetLimit(dialog.limitOn(), dialog.weeks());
        return true;
    }
    case kCommandLatestNews: SetFlags(flags_ & news_list::kLatestOnly ? 0 : news_list::kLatestOnly, news_list::kLatestOnly); return true;
    case kCommandListNews:
        shareId_ = 0;
        SetFlags(flags_ & news_list::kCurrentList ? 0 : news_list::kCurrentList,
                 news_list::kCurrentList | news_list::kOneShare | news_list::kAlarms);
        return true;
    default: return RunListCommand(command);
    }
}

NewsListDescription CViewNewsWnd::Describe() const
{
    NewsListDescription d;
    d.flags = flags_;
    d.followsParent = FollowsParent();
    ShareList* parent = ParentList() ? ParentList() : CurrentShareList();
    // A list that is not a portfolio goes by its list's name.
    if (parent && parent->source)
        d.portfolioName = parent->source->name.c_str();
    else if (parent)
        d.portfolioName = ListCodeName(parent->word);
    d.shareName = NewsShareName(shareId_);
    d.searchText = searchText_;
    const NewsCatalogue& c = TheNewsDatabase().catalogue();
    d.stories = uint32_t(c.stories.size());
    d.rows = uint32_t(stories_.size());
    d.limitOn = (c.header.u8(news_header::kLimitFlagByte) & news_header::kLimitFlagBit) != 0;
    d.limitWeeks = c.header.u16(news_header::kLimitWeeks);
    if (CurrentShareList() && CurrentShareList()->source)
        d.currentPortfolio = CurrentShareList()->source->name.c_str();
    return d;
}

std::vector<HeaderItem> CViewNewsWnd::HeaderItems() { return NewsHeaderItems(Describe()); }

void CViewNewsWnd::ShowStatusTexts()
{
    UpdateTitle();
    auto* frame = dynamic_cast<CMainFrame*>(MainFrameTarget());
    if (!frame || !frame->statusBarEx() || !IsActiveView())
        return;
    const auto panes = NewsStatusTexts(Describe());
    for (int i = 0; i < 3; ++i)
        frame->statusBarEx()->SetPaneText(i + 1, FromCp1252(panes[size_t(i)]));
}

void CViewNewsWnd::paintEvent(QPaintEvent* event)
{
    if (building_) {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawText(100, 30, FollowsParent() ? QStringLiteral("Searching, please wait ...") : QStringLiteral("Please wait ..."));
        return;
    }
    CViewListTop::paintEvent(event);
}

void CViewNewsWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    CViewListTop::mouseDoubleClickEvent(event);
    if (event->position().y() > headingTop_ && RowCount() > 0 && !InHeadingBand(int(event->position().y())))
        OpenCurrentStory();
}

void CViewNewsWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OpenCurrentStory();
        return;
    }
    // Esc stops a share search with the stories it has found, or leaves a search's matches for
    // every story again.
    if (event->key() == Qt::Key_Escape && searching_) {
        StopSearch();
        return;
    }
    // Esc shows every story again, as the menu's "Show all news stories  ESC" says: from a search's
    // matches, one share's or the current list's stories, or the alerted ones.
    constexpr uint32_t kNarrowed = news_list::kOneShare | news_list::kCurrentList | news_list::kAlarms;
    if (event->key() == Qt::Key_Escape && !FollowsParent() && (!searchText_.empty() || (flags_ & kNarrowed))) {
        RunCommand(kCommandShowAllNews);
        return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QChar c = typed.at(0);
        if (c.isDigit() || c == QLatin1Char('\'') || c == QLatin1Char('"') || (c.isLetter() && c.unicode() < 128)) {
            OpenSearch(typed);
            return;
        }
    }
    CViewListTop::keyPressEvent(event);
}

void CViewNewsWnd::focusOutEvent(QFocusEvent* event)
{
    if (list && !building_)
        StoreSortColumn(list, kListKindNews);
    CViewListTop::focusOutEvent(event);
}

void InstallNewsViewClass()
{
    RegisterViewClass(kViewNews, [](int32_t) -> CViewBaseWnd* { return new CViewNewsWnd; });
    ViewRequestHooks& requests = GetViewRequestHooks();
    requests.limitNewsToShare = [](CViewBase* view, uint32_t shareId) {
        if (auto* news = dynamic_cast<CViewNewsWnd*>(view))
            news->ShowShareOnly(shareId);
    };
    requests.showListNews = [](CViewBase* view) {
        if (auto* news = dynamic_cast<CViewNewsWnd*>(view))
            news->ShowListNews();
    };
    requests.switchNewsShare = [](CViewBase* view) {
        if (auto* news = dynamic_cast<CViewNewsWnd*>(view))
            news->ShowShareOnly((news->flags() & news_list::kOneShare) ? 0 : news->CurrentRowShare());
    };
    // The share a news view shows, else the active view's current share.
    SetCommandDialog(kCommandShareSearchText, [] {
        CViewBase* view = MainFrameState().activeView;
        RecordCursor share;
        const uint32_t own = view ? view->OwnShareId() : 0;
        return EditShareSearchText(own ? own : ActiveViewShare(share) ? EntryRecordId(share) : 0, nullptr);
    });
    SetCommandDialog(kCommandModifiedShares, [] { return EditModifiedShares(nullptr); });
}

} // namespace qv
