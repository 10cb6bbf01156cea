// The page each chart design dialog last showed, kept as a program setting so that it reopens there.
#pragma once

namespace qv {

// The stored page of the dialog named `name` (0 when none is stored).
int StoredDialogPage(const char* name);
void StoreDialogPage(const char* name, int page);

// The names under which the chart design dialogs keep their pages.
inline constexpr const char* kGraphDesignPage = "GraphDesignPage";
inline constexpr const char* kLegendDesignPage = "LegendDesignPage";
inline constexpr const char* kSwingDesignPage = "SwingDesignPage";

} // namespace qv
