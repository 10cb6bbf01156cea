// The news view's window (view kind 8): a list table of the news family, one row per story, under a
// header strip with the list's mode and counts; its filters, marks and the story display.
#pragma once

#include "lists/ui/ViewListTop.h"
#include "news/NewsListRows.h"
#include "news/NewsSearch.h"
#include "views/CommandUpdate.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class CViewNewsWnd : public CViewListTop, public CommandTarget {
    Q_OBJECT
public:
    explicit CViewNewsWnd(QWidget* parent = nullptr);
    ~CViewNewsWnd() override;

    void OnRefresh() override;
    void OnSetFocus() override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;
    void ShowStatusTexts() override;
    // The share of a one-share view that does not follow its parent list.
    uint32_t OwnShareId() const override;

    // Rebuilds the rows under the flags; put off (not lost) while another build runs. A share search
    // runs in steps from the event loop until it ends or is stopped.
    void BuildNewsList();
    // Stops a running share search: the list shows the stories found so far.
    void StopSearch();
    bool building() const { return building_; }
    bool searching() const { return searching_; }
    // One share's news (its id), or every story again (0).
    void ShowShareOnly(uint32_t shareId);
    // The stories of the list's shares.
    void ShowListNews();
    // The first share the current story names; 0 when none.
    uint32_t CurrentRowShare() const;
    // Writes a mark command's state into its rows' stories.
    bool Mark(uint32_t command);
    // Opens the story display on the current row; an unread story becomes read.
    void OpenCurrentStory();
    // Opens the search dialog, its text started with `seed`; a search shows its matching stories.
    void OpenSearch(const QString& seed);
    // The purge dialog, the warning, the purge and every news view rebuilt.
    void Purge();
    // Shows the stories a search found for the text.
    void ShowSearchResult(const std::string& text, std::vector<uint32_t> stories);
    const std::string& searchText() const { return searchText_; }

    uint32_t flags() const { return flags_; }
    uint32_t shareId() const { return shareId_; }
    const std::vector<uint32_t>& stories() const { return stories_; }
    int builds() const { return builds_; }

protected:
    std::vector<HeaderItem> HeaderItems() override;
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    NewsListDescription Describe() const;
    NewsRowFilter Filter() const;
    ShareList* ParentList() const;
    void ForgetRows();
    bool FollowsParent() const;
    int32_t RowCount() const;
    void SetFlags(uint32_t set, uint32_t clear);

    uint32_t flags_ = 0;
    uint32_t shareId_ = 0;
    uint32_t keepStory_ = UINT32_MAX;
    bool ShareSearchOn() const;
    std::vector<NewsSearchTerm> ShareSearchTerms();
    void StartShareSearch();
    void SearchStep();
    void FinishBuild(std::vector<uint32_t> stories);
    void SetRows(std::vector<uint32_t> stories);
    std::vector<uint32_t> stories_;
    std::string searchText_;
    std::vector<uint32_t> searchStories_;
    std::vector<NewsEntry> entries_;
    std::unique_ptr<NewsSearchRun> search_;
    bool building_ = false;
    bool searching_ = false; // the running flag of a share search; Esc clears it
    bool modeRead_ = false;
    int builds_ = 0;
};

// Registers the news view as the class of view kind 8 and installs its frame hooks.
void InstallNewsViewClass();

} // namespace qv
