// Pages of dialog controls shown one at a time in the same place, switched by radio buttons or by a
// tab bar. The dialog lays the pages out side by side; AlignPages moves each onto a reference
// control. Controls are named by their ids (their object names are the ids' numbers).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QTabBar;
class QWidget;

namespace qv {

// Moves the anchor and the controls by the distance between the anchor and the reference: their
// top-left corners, or with flags bit 0 their right edges, with bit 1 their bottom edges.
void MoveControlGroup(QWidget* dialog, uint16_t reference, uint16_t anchor, const std::vector<uint16_t>& controls,
                      uint32_t flags);
// The dialog's control with the id, or null.
QWidget* DialogControl(QWidget* dialog, uint16_t id);

class CPageGroup {
public:
    static constexpr int kPageCount = 8;

    explicit CPageGroup(QWidget* dialog) : dialog_(dialog) {}

    // A page: its anchor (a frame or group box; 0 ends the pages), whether the anchor is shown and
    // hidden with it, and its controls.
    void SetPage(int i, uint16_t anchor, bool showAnchor, std::vector<uint16_t> controls);
    void ClearPage(int i);
    void AlignPages(uint16_t reference, uint32_t flags);
    void HideAllPages();
    // Shows page i and hides the others: all of them the first time, later only the one shown.
    void SelectPage(int i);
    void ShowPage(int i, bool show);

    int current() const { return current_; }

protected:
    int PageLimit() const;

    QWidget* dialog_;
    int current_ = -1;
    std::array<uint16_t, kPageCount> anchors_{};
    std::array<bool, kPageCount> showAnchor_{};
    std::array<std::vector<uint16_t>, kPageCount> controls_;
};

// A page group whose pages a tab bar selects.
class CTabPageGroup : public CPageGroup {
public:
    explicit CTabPageGroup(QWidget* dialog) : CPageGroup(dialog) {}

    void SetTabControl(uint16_t id) { tabControl_ = id; }
    void AddTab(int i, uint16_t anchor, bool showAnchor, std::vector<uint16_t> controls, const std::string& text);
    void RemoveTab(int i);
    void SelectTab(int i);
    // The dialog calls it when the user changes the tab.
    void OnTabSelected(int i) { SelectPage(i); }

private:
    QTabBar* TabBar() const;

    uint16_t tabControl_ = 0;
};

} // namespace qv
