// File > Export: "Export all the data in this table" (26055), "Export the details for the current
// share" (26058), "Export this share's prices..." (26057): the save dialog of the export file types, then the
// current share's history written as the chosen layout; "Export price histories for all shares in
// the table" (26201): CExportPricesDlg, then every share of the active view's table.
#pragma once

#include <functional>
#include <string>

namespace qv {

// The save dialog's filter list in order: the file type index (1-based) is the export format.
extern const char* const kPriceExportFilters[6];

// Chooses the file: in the offered path, out the chosen one (empty when cancelled) and its format.
using PriceExportChooser = std::function<std::string(const std::string& offered, int& format)>;
// A chooser put in place of the save dialog; none means the dialog.
void SetPriceExportChooser(PriceExportChooser chooser);

// Exports the active view's current share; false when there is none or the user cancelled.
bool ExportCurrentSharePrices();

// The save dialog's list for tables and details: "Excel format (*.csv)", "General (*.exp)" and all
// files; the chooser then gets and gives back the format numbers 1, 4 and 5.
extern const char* const kTableExportFilters[3];
// 26055: the active view's table (heading row and every row); 26058: the current share's details.
bool ExportCurrentTable();
bool ExportCurrentShareDetails();

struct ExportPricesChoice;
// The dialog of 26201 on the stored choice; false when cancelled. None means CExportPricesDlg.
using ExportPricesDialog = std::function<bool(ExportPricesChoice& choice)>;
void SetExportPricesDialog(ExportPricesDialog dialog);
// Exports the histories of every share of the active view's table; the number of shares written.
int ExportTablePrices();

void InstallPriceExportCommand();
void RemovePriceExportCommand();

} // namespace qv
