// File > Import: one price file (26198) or every file of a folder (26210); Edit: editing (26214),
// adding (26216) and deleting (26217, 26218) imported items; and the refresh of the views after any.
#pragma once

#include "core/PriceImport.h"

#include <filesystem>
#include <functional>
#include <string>

namespace qv {

// The Import page's settings; the delimiter is a comma for a file whose extension is "csv".
ImportSettings CurrentImportSettings(const std::filesystem::path& file = {});

// Chooses the file to import, starting in the folder; empty when cancelled. None: the file dialog.
using ImportFileChooser = std::function<std::string(const std::string& folder)>;
void SetImportFileChooser(ImportFileChooser chooser);
// Chooses the folder and extension of a folder import; false when cancelled. None: CImportFolderDlg.
using ImportFolderChooser = std::function<bool(std::string& folder, std::string& extension)>;
void SetImportFolderChooser(ImportFolderChooser chooser);

// The folder "ImportFolder" names, by default the program folder's "Import".
std::filesystem::path StoredImportFolder();

// 26198: chooses a file and imports it; true when an item was made.
bool ImportOneFile();
// Imports every file of the extension in the folder, in name order, quietly; returns the items made.
// With "Report errors at end" the messages come as one report afterwards.
int ImportFolderFiles(const std::filesystem::path& folder, const std::string& extension);
// 26210: the folder dialog, then the folder's import.
bool ImportFolder();

// 26214: the share editor on the current imported item; its result replaces the item (same id, every
// reference moved). 26216: the editor on an empty item, added on OK.
bool EditCurrentImportedItem();
bool NewImportedItem();

// 26217 and 26218, each after the user agreed.
bool DeleteCurrentImportedItem();
bool DeleteEveryImportedItem();

// Lists and portfolios show the imported items as they now are.
void RefreshViewsAfterImport();

void InstallPriceImportCommands();
void RemovePriceImportCommands();

} // namespace qv
