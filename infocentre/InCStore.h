// The InfoCentre store: the committed index, its rebuild at start-up, the category tree, the
// AutoView queues and schedule, and the map of open document windows. It runs on its own timer
// entry (2 s for the first tick, which rebuilds, then 15 s) on the user-interface thread.
#pragma once

#include "infocentre/InCCategory.h"
#include "infocentre/InCDescriptor.h"
#include "infocentre/InCIndex.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class CInCStore;

// Entry state flags beyond those of the index file's own rules.
constexpr uint16_t kInCFlagExpires = 0x02;
constexpr uint16_t kInCFlagExpiryInDays = 0x04;
constexpr uint16_t kInCFlagShowFirst = 0x08;
constexpr uint16_t kInCFlagNotAutoViewed = 0x10;
constexpr uint16_t kInCFlagNew = 0x20;
constexpr uint16_t kInCFlagDeferred = 0x40;
constexpr uint16_t kInCFlagOpened = 0x100;
constexpr uint16_t kInCFlagSurvey = 0x200;

constexpr uint32_t kInCTimerId = 9;
constexpr uint32_t kInCFirstTickMs = 2000;
constexpr uint32_t kInCTickMs = 15000;

// The InfoCentre settings word: bit 0 AutoView at start-up, bit 1 after an update.
constexpr uint16_t kInCSettingsOnStartUp = 0x01;
constexpr uint16_t kInCSettingsDefault = 0x02;
uint16_t InfoCentreSettings();
void SetInfoCentreSettings(uint16_t word);

// The expiry InCDate in an entry head (bytes 16-17).
uint16_t EntryExpiry(const InCEntryHead& head);
void SetEntryExpiry(InCEntryHead& head, uint16_t expiry);

// The category name in "disabled_categories.txt" that switches sentiment surveys off.
inline constexpr const char* kSurveyCategory = "Quorvantis Sentiment Survey";

// Category names in "disabled_categories.txt" of the folder: lines cut to 255 characters, trailing
// white space removed.
std::vector<std::string> ReadDisabledCategories(const std::filesystem::path& folder);

// A document window as the store sees it; the window layer makes them.
class InCDocumentWindow {
public:
    virtual ~InCDocumentWindow() = default;
    // Loads the page again (the style sheet changed).
    virtual void ReloadPage() = 0;
};

// What the store needs from the windows above it: document windows and the frame's menu item.
class InCStoreHost {
public:
    virtual ~InCStoreHost() = default;
    // False while no document window can be made: opening then fails without a message.
    virtual bool HasDocumentWindows() const { return true; }
    // Makes and shows a window for the document; null when it cannot be made.
    virtual std::unique_ptr<InCDocumentWindow> CreateDocumentWindow(CInCStore& store, uint16_t number,
                                                                     const InCDocSummary& summary, bool autoView) = 0;
    // After the first rebuild: whether the InfoCentre can be offered.
    virtual void InfoCentreLoaded(bool ready) = 0;
};

class CInCStore {
public:
    struct ScheduleItem {
        uint16_t number = 0;
        int64_t due = 0;
    };
    enum NextMode : uint16_t { kModePriority = 1, kModeDue = 2, kModeNew = 3 };

    // `folder` is the content folder; the store sets its timer entry at once.
    CInCStore(std::filesystem::path folder, bool browserTooOld, InCStoreHost* host = nullptr);
    ~CInCStore();
    CInCStore(const CInCStore&) = delete;
    CInCStore& operator=(const CInCStore&) = delete;

    // The store of the program, when one exists.
    static CInCStore* Current();

    bool OnTimer(uint32_t id);
    void StopTimer();
    uint32_t TimerId() const { return timerId_; }

    bool LoadIndex();
    // Opens the committed index as it stands and fills the queues, without a rebuild.
    bool OpenIndex();
    void RefreshAutoView(const CInCIndex::Table* withdrawn, bool keepPriority);
    bool FindNextNew(const CInCIndex::Table* withdrawn, uint16_t& number);
    bool HasNext() const;
    uint16_t OpenNext(bool advance, uint16_t current, uint16_t& number, InCDocSummary& summary);
    void StartAutoView();
    bool ShowIntroduction();
    bool OpenDocument(uint16_t number, bool autoView);
    void Defer(uint16_t number, int64_t due);
    bool SetEntryState(uint16_t number, uint8_t state, int64_t time);

    bool IsOpen(uint16_t number) const;
    // The window showing the document, or null.
    InCDocumentWindow* Window(uint16_t number) const;
    void CloseWindow(InCDocumentWindow* window);
    void RefreshOtherWindows(uint16_t number);
    std::map<std::string, CInCCategory>& GetCategories();
    void FreeCategories();

    // The current time, seconds since 1970, from the program's clock.
    static int64_t Now();

    const std::filesystem::path& Folder() const { return folder_; }
    CInCIndex* Index() { return index_.get(); }
    bool Loaded() const { return loaded_; }
    bool HasDocuments() const { return hasDocuments_; }
    // Both ready bytes: the menu item may be offered.
    bool Ready() const { return loaded_ && hasDocuments_; }
    uint16_t Introduction() const { return introduction_; }
    const std::vector<uint16_t>& PriorityQueue() const { return priority_; }
    const std::vector<uint16_t>& DueQueue() const { return due_; }
    const std::vector<ScheduleItem>& Schedule() const { return schedule_; }
    uint16_t NextNew() const { return nextNew_; }
    bool MoreNew() const { return moreNew_; }
    uint16_t Mode() const { return mode_; }

private:
    void SetTimer(uint32_t intervalMs);
    void InsertSchedule(uint16_t number, int64_t due);
    const CInCIndex::Table& Withdrawn(const CInCIndex::Table* given) const;
    bool Rebuild(CInCIndex& built, uint32_t& total, uint16_t& count);
    void FileDescriptor(CInCIndex& built, CInCIndex* old, uint16_t n, const InCDocRecord& record,
                        uint32_t& total, uint16_t& count);
    bool IsOpenElsewhere(uint16_t number, uint16_t current) const;
    uint16_t ChooseNext();

    std::filesystem::path folder_;
    InCStoreHost* host_;
    std::unique_ptr<CInCIndex> index_;
    std::vector<uint16_t> priority_;
    std::vector<uint16_t> due_;
    std::vector<ScheduleItem> schedule_;
    uint16_t nextNew_ = 0;
    uint16_t mode_ = kModePriority;
    size_t priorityPos_ = 0;
    size_t duePos_ = 0;
    std::map<uint16_t, std::unique_ptr<InCDocumentWindow>> windows_;
    uint32_t timerId_ = 0;
    uint16_t introduction_ = 0;
    bool browserTooOld_;
    bool loaded_ = false;
    bool hasDocuments_ = false;
    bool moreNew_ = false;
    std::map<std::string, CInCCategory> categories_;
};

} // namespace qv
