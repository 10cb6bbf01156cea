// The frame-wide commands of the list dialogs that need no view: the global highs-and-lows period.
#pragma once

#include <cstdint>

class QWidget;

namespace qv {

class CMainFrame;

inline constexpr uint32_t kCommandGlobalHighLowSettings = 27213;
inline constexpr uint32_t kCommandListDesign = 25002;
inline constexpr uint32_t kCommandPrintPreview = 26117;
inline constexpr uint32_t kCommandPrint = 26119;

class CViewBaseWnd;

struct ListPrintSource;
struct ShareList;
struct TableDesign;

void InstallListDialogCommands(CMainFrame& frame);
// 27213: "Highs & Lows Settings (Global)"; on OK the period is kept in the option block and put in
// force for the period highs and lows. True when the period in force changed.
bool RunGlobalHighLowSettings(CMainFrame* frame);
// 25002 in a list view: "List design" on the view's current setting.
bool ListDesignAvailable(int kind);
void RunListDesign(CMainFrame* frame, ShareList* list, int kind);
// Puts a design into the list's current setting: style, layout and sort, then re-sorts and repaints.
void ApplyListDesign(ShareList* list, int kind, const TableDesign& design);
// 26119 and 26117 in a list view (its rows page by page with the footer) or the details view (one
// page); the current row and the first row shown are put back afterwards.
void PrintListView(CViewBaseWnd& view, bool preview, QWidget* parent);
// The printed pages of a list view or the details view, by the view's own page code.
ListPrintSource PrintSourceOf(CViewBaseWnd& view);

} // namespace qv
