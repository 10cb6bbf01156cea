// The InfoCentre store: the rebuild of the index, AutoView and the open document windows.
#include "infocentre/InCStore.h"

#include "infocentre/InCDate.h"
#include "infocentre/InCStyle.h"
#include "platform/ByteOrder.h"
#include "platform/Clock.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "shell/TimerCallbacks.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace qv {
namespace {

constexpr const char* kIntroductionCategory = "Ludrin Ossery";
constexpr const char* kIntroductionTitle = "Introduction";
constexpr size_t kMaxCategoryLine = 255;

CInCStore* current = nullptr;

void StoreTimerCallback(uint32_t, uint32_t id)
{
    if (current)
        current->OnTimer(id);
}

bool Contains(const std::vector<std::string>& list, const std::string& name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}

// A descriptor's file name: five characters, all digits, and ".InC".
bool DescriptorNumber(const std::string& name, uint16_t& number)
{
    std::filesystem::path path(name);
    std::string stem = path.stem().string();
    if (stem.size() != 5 || !std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    unsigned value = unsigned(std::stoul(stem));
    if (value == 0 || value > 65535)
        return false;
    number = uint16_t(value);
    return true;
}

std::array<uint8_t, CInCIndex::kHeaderSize> IndexHeader(uint32_t total, uint16_t count)
{
    std::array<uint8_t, CInCIndex::kHeaderSize> header{'Z', 'Q', 'I', 'D', 1, 1};
    StoreU32(header.data() + 8, total);
    StoreU16(header.data() + 12, count);
    return header;
}

void ShowStoreMessage(const std::string& text)
{
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

} // namespace

uint16_t InfoCentreSettings()
{
    return uint16_t(Registry::Instance().getU32("Settings", "InfoCentreFlags").value_or(kInCSettingsDefault));
}

void SetInfoCentreSettings(uint16_t word)
{
    Registry::Instance().setU32("Settings", "InfoCentreFlags", word);
}

uint16_t EntryExpiry(const InCEntryHead& head)
{
    return LoadU16(head.tail.data());
}

void SetEntryExpiry(InCEntryHead& head, uint16_t expiry)
{
    StoreU16(head.tail.data(), expiry);
}

std::vector<std::string> ReadDisabledCategories(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::ifstream in(folder / "disabled_categories.txt", std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        line.resize(std::min(line.size(), kMaxCategoryLine));
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.pop_back();
        names.push_back(line);
    }
    return names;
}

CInCStore::CInCStore(std::filesystem::path folder, bool browserTooOld, InCStoreHost* host)
    : folder_(std::move(folder)), host_(host), browserTooOld_(browserTooOld)
{
    current = this;
    SetTimer(kInCFirstTickMs);
}

CInCStore::~CInCStore()
{
    StopTimer();
    windows_.clear();
    if (current == this)
        current = nullptr;
}

CInCStore* CInCStore::Current()
{
    return current;
}

int64_t CInCStore::Now()
{
    LocalDateTime now = NowLocal();
    std::tm t{};
    t.tm_year = now.year - 1900;
    t.tm_mon = now.month - 1;
    t.tm_mday = now.day;
    t.tm_hour = now.hour;
    t.tm_min = now.minute;
    t.tm_sec = now.second;
    t.tm_isdst = -1;
    return int64_t(std::mktime(&t));
}

void CInCStore::SetTimer(uint32_t intervalMs)
{
    if (timerId_)
        RemoveTimerCallback(StoreTimerCallback);
    AddTimerCallback(StoreTimerCallback, intervalMs, kInCTimerId);
    timerId_ = kInCTimerId;
}

void CInCStore::StopTimer()
{
    if (timerId_)
        RemoveTimerCallback(StoreTimerCallback);
    timerId_ = 0;
}

bool CInCStore::OnTimer(uint32_t id)
{
    if (id != kInCTimerId || timerId_ != kInCTimerId)
        return false;
    if (!loaded_) {
        if (!LoadIndex()) {
            StopTimer();
            return true;
        }
        if (host_)
            host_->InfoCentreLoaded(Ready());
        if (InfoCentreSettings() & kInCSettingsOnStartUp)
            StartAutoView();
        return true;
    }
    if (schedule_.empty() || schedule_.front().due > Now())
        return true;
    uint16_t number = schedule_.front().number;
    schedule_.erase(schedule_.begin());
    SetEntryState(number, kInCFlagNotAutoViewed, 0);
    OpenDocument(number, true);
    return true;
}

const CInCIndex::Table& CInCStore::Withdrawn(const CInCIndex::Table* given) const
{
    static const CInCIndex::Table kEmpty{};
    if (given)
        return *given;
    return index_ ? index_->GetTable() : kEmpty;
}

bool CInCStore::LoadIndex()
{
    loaded_ = false;
    priority_.clear();
    due_.clear();
    schedule_.clear();
    priorityPos_ = duePos_ = 0;
    nextNew_ = 0;
    moreNew_ = false;

    std::error_code ec;
    if (!std::filesystem::is_directory(folder_, ec) && !std::filesystem::create_directories(folder_, ec))
        return false;
    if (!std::filesystem::exists(folder_ / "inc.css", ec)) {
        InCStyle style;
        SetDefaultStyle(style);
        WriteIncCss(style, folder_ / "inc.css");
    }
    if (timerId_)
        SetTimer(kInCTickMs);

    std::filesystem::path temporary = folder_ / "index.tem";
    std::filesystem::path committed = folder_ / "index.dat";
    uint32_t total = 0;
    uint16_t count = 0;
    bool built = false;
    {
        CInCIndex index = CInCIndex::Create(temporary);
        built = index.GetStatus() == CInCIndex::kGood && Rebuild(index, total, count);
        if (built) {
            index_.reset();
            built = index.CommitAs(committed);
        }
    }
    if (!built) {
        ForceDelete(temporary);
        return false;
    }
    if (!OpenIndex())
        return false;
    loaded_ = true;
    hasDocuments_ = count > 0;
    return true;
}

bool CInCStore::OpenIndex()
{
    index_ = std::make_unique<CInCIndex>(folder_ / "index.dat");
    if (index_->GetStatus() != CInCIndex::kGood) {
        index_.reset();
        return false;
    }
    RefreshAutoView(nullptr, false);
    FreeCategories();
    GetCategories();
    return true;
}

// Steps 5-8 of the rebuild into the new file; the old index stays open until the commit.
bool CInCStore::Rebuild(CInCIndex& built, uint32_t& total, uint16_t& count)
{
    auto header = IndexHeader(0, 0);
    if (!built.WriteHeader(header))
        return false;
    std::filesystem::path committed = folder_ / "index.dat";
    if (!index_ && std::filesystem::exists(committed)) {
        index_ = std::make_unique<CInCIndex>(committed);
        // A damaged index is set aside rather than overwritten unseen by the commit.
        if (index_->GetStatus() == CInCIndex::kBadHeader)
            RenameReplace(committed, folder_ / "index.bad");
        if (index_->GetStatus() != CInCIndex::kGood)
            index_.reset();
    }
    built.GetTable() = index_ ? index_->GetTable() : CInCIndex::Table{};
    if (!built.WriteTable())
        return false;

    introduction_ = 0;
    for (const std::string& name : FindFiles(folder_, "*.InC")) {
        uint16_t n = 0;
        if (!DescriptorNumber(name, n) || CInCIndex::TableBit(built.GetTable(), n))
            continue;
        InCDocRecord record;
        if (!ReadDocRecord(folder_ / name, n, record))
            continue;
        if (record.category == kIntroductionCategory && record.summary.title == kIntroductionTitle &&
            record.subCategory.empty())
            introduction_ = n;
        FileDescriptor(built, index_.get(), n, record, total, count);
        if (built.GetStatus() != CInCIndex::kGood)
            return false;
    }
    header = IndexHeader(total, count);
    return built.WriteHeader(header) && built.WriteTable();
}

void CInCStore::FileDescriptor(CInCIndex& built, CInCIndex* old, uint16_t n, const InCDocRecord& record,
                               uint32_t& total, uint16_t& count)
{
    InCEntryHead head;
    head.number = n;
    bool stored = old && old->ReadEntryHead(n, head);
    if (!stored) {
        head = InCEntryHead{};
        head.number = n;
        head.flags = uint16_t((record.summary.displayFlags & 0x1E) | kInCFlagNew);
        SetEntryExpiry(head, record.summary.expiry);
    }
    CInCIndex::Table& withdrawn = built.GetTable();
    if (head.flags & kInCFlagNew)
        DeleteDocuments(folder_, record.superseded, withdrawn, n);
    if ((head.flags & kInCFlagExpiryInDays) && (head.flags & kInCFlagNew)) {
        SetEntryExpiry(head, InCDateAfterDays(record.summary.expiry));
        head.flags = uint16_t((head.flags & ~kInCFlagExpiryInDays) | kInCFlagExpires);
    }
    if ((head.flags & kInCFlagExpires) && InCDate() >= EntryExpiry(head)) {
        DeleteDocuments(folder_, std::span(&n, 1), withdrawn);
        return;
    }
    if (record.summary.classFlags & kInCClassSurvey)
        head.flags |= kInCFlagSurvey;
    InCEntryTexts texts{record.summary.title, record.category, record.subCategory};
    if (!built.AppendEntry(head, texts))
        return;
    ++count;
    total += uint32_t(CInCIndex::kHeadSize + 3 + std::min<size_t>(texts.title.size(), 255) +
                      std::min<size_t>(texts.category.size(), 255) + std::min<size_t>(texts.subCategory.size(), 255));
}

void CInCStore::InsertSchedule(uint16_t number, int64_t due)
{
    auto at = std::lower_bound(schedule_.begin(), schedule_.end(), due,
                               [](const ScheduleItem& item, int64_t time) { return item.due < time; });
    schedule_.insert(at, ScheduleItem{number, due});
}

void CInCStore::RefreshAutoView(const CInCIndex::Table* withdrawn, bool keepPriority)
{
    std::vector<std::string> disabled = ReadDisabledCategories(folder_);
    due_.clear();
    duePos_ = 0;
    nextNew_ = 0;
    moreNew_ = false;
    if (!keepPriority) {
        priority_.clear();
        priorityPos_ = 0;
        // Rebuilt below, so that a refresh never schedules a document twice.
        schedule_.clear();
    }
    if (!index_)
        return;
    const CInCIndex::Table& set = Withdrawn(withdrawn);
    int64_t now = Now();
    InCEntryHead head;
    std::string category;
    while (index_->ReadNextEntry(head, &category)) {
        uint16_t n = head.number;
        uint16_t f = head.flags;
        if (CInCIndex::TableBit(set, n))
            continue;
        if ((f & kInCFlagShowFirst) && !(f & kInCFlagOpened)) {
            if (!keepPriority)
                priority_.push_back(n);
            continue;
        }
        if (f & kInCFlagNotAutoViewed)
            continue;
        if ((f & kInCFlagDeferred) && head.time <= now) {
            due_.push_back(n);
            continue;
        }
        if ((f & kInCFlagSurvey) && Contains(disabled, kSurveyCategory))
            continue;
        if ((f & kInCFlagNew) && !(f & kInCFlagOpened) && !Contains(disabled, category)) {
            if (nextNew_)
                moreNew_ = true;
            else
                nextNew_ = n;
        }
        if ((f & kInCFlagDeferred) && head.time > now && !keepPriority)
            InsertSchedule(n, head.time);
    }
}

bool CInCStore::FindNextNew(const CInCIndex::Table* withdrawn, uint16_t& number)
{
    number = 0;
    if (!index_)
        return false;
    std::vector<std::string> disabled = ReadDisabledCategories(folder_);
    const CInCIndex::Table& set = Withdrawn(withdrawn);
    InCEntryHead head;
    head.number = nextNew_;
    std::string category;
    uint16_t found = 0;
    while (index_->ReadNextEntry(head, &category)) {
        bool candidate = !CInCIndex::TableBit(set, head.number) &&
                         !(head.flags & (kInCFlagShowFirst | kInCFlagDeferred | kInCFlagOpened)) &&
                         (category.empty() || !Contains(disabled, category));
        if (!candidate)
            continue;
        if (found) {
            number = found;
            return true;
        }
        found = head.number;
        nextNew_ = found;
    }
    number = found;
    if (!found)
        nextNew_ = 0;
    return false;
}

bool CInCStore::HasNext() const
{
    bool priorityMore = priorityPos_ < priority_.size();
    bool dueMore = duePos_ < due_.size();
    switch (mode_) {
    case kModePriority: return priorityMore || dueMore || nextNew_ || moreNew_;
    case kModeDue: return dueMore || nextNew_ || moreNew_;
    default: return moreNew_;
    }
}

uint16_t CInCStore::ChooseNext()
{
    if (mode_ == kModePriority) {
        if (priorityPos_ < priority_.size())
            return priority_[priorityPos_++];
        mode_ = kModeDue;
        duePos_ = 0;
    }
    if (mode_ == kModeDue) {
        if (duePos_ < due_.size())
            return due_[duePos_++];
        mode_ = kModeNew;
        return nextNew_;
    }
    uint16_t number = 0;
    moreNew_ = FindNextNew(nullptr, number);
    return number;
}

bool CInCStore::IsOpenElsewhere(uint16_t number, uint16_t current) const
{
    return number != 0 && number != current && windows_.count(number);
}

uint16_t CInCStore::OpenNext(bool advance, uint16_t current, uint16_t& number, InCDocSummary& summary)
{
    if (advance) {
        do
            number = ChooseNext();
        while (IsOpenElsewhere(number, current));
    }
    if (number == 0 || !ReadDocHeader(InCDescriptorPath(folder_, number), number, summary)) {
        ShowStoreMessage("Quorvantis cannot retrieve an InfoCentre document.\n");
        return 0;
    }
    auto it = windows_.find(current);
    if (it != windows_.end() && current != number) {
        auto window = std::move(it->second);
        windows_.erase(it);
        windows_[number] = std::move(window);
    }
    return number;
}

void CInCStore::StartAutoView()
{
    uint16_t number = 0;
    if (!priority_.empty()) {
        mode_ = kModePriority;
        number = priority_.front();
        priorityPos_ = 1;
    } else if (!due_.empty()) {
        mode_ = kModeDue;
        number = due_.front();
        duePos_ = 1;
    } else {
        number = nextNew_;
        mode_ = kModeNew;
    }
    if (number)
        OpenDocument(number, true);
}

bool CInCStore::ShowIntroduction()
{
    return introduction_ && OpenDocument(introduction_, false);
}

bool CInCStore::OpenDocument(uint16_t number, bool autoView)
{
    // Without the window layer's document windows there is nothing to show the document in.
    if (!host_ || !host_->HasDocumentWindows())
        return false;
    if (browserTooOld_) {
        ShowStoreMessage("Quorvantis cannot activate the InfoCentre feature in the View Menu.\nYou need to install "
                         "Internet Explorer 4.0 or higher and restart\nQuorvantis before this feature can be made "
                         "available.  If you need\nany help to do this, please contact Quorvantis support.");
        return false;
    }
    InCDocSummary summary;
    if (!ReadDocHeader(InCDescriptorPath(folder_, number), number, summary) || summary.firstFile.empty()) {
        char text[96];
        std::snprintf(text, sizeof text, "Quorvantis cannot retrieve InfoCentre document number %05hu.\n", number);
        ShowStoreMessage(text);
        return false;
    }
    if (windows_.count(number)) {
        if (number == introduction_ && !autoView)
            return false;
        ShowStoreMessage("Quorvantis cannot create a second display of this InfoCentre document.");
        return false;
    }
    auto window = host_->CreateDocumentWindow(*this, number, summary, autoView);
    if (!window)
        return false;
    windows_[number] = std::move(window);
    return true;
}

void CInCStore::Defer(uint16_t number, int64_t due)
{
    SetEntryState(number, kInCFlagDeferred, due);
    InsertSchedule(number, due);
}

bool CInCStore::SetEntryState(uint16_t number, uint8_t state, int64_t time)
{
    // The file keeps a 32-bit time, sign-extended when read.
    return index_ && index_->UpdateEntryFlags(number, state, int32_t(time));
}

bool CInCStore::IsOpen(uint16_t number) const
{
    return number == 0 ? !windows_.empty() : windows_.count(number) > 0;
}

InCDocumentWindow* CInCStore::Window(uint16_t number) const
{
    auto it = windows_.find(number);
    return it == windows_.end() ? nullptr : it->second.get();
}

void CInCStore::CloseWindow(InCDocumentWindow* window)
{
    auto it = std::find_if(windows_.begin(), windows_.end(), [window](const auto& e) { return e.second.get() == window; });
    if (it != windows_.end())
        windows_.erase(it);
}

void CInCStore::RefreshOtherWindows(uint16_t number)
{
    for (auto& [n, window] : windows_)
        if (number == 0 || n != number)
            window->ReloadPage();
}

std::map<std::string, CInCCategory>& CInCStore::GetCategories()
{
    if (categories_.empty() && index_)
        index_->ReadCategories(categories_);
    return categories_;
}

void CInCStore::FreeCategories()
{
    categories_.clear();
}

} // namespace qv
