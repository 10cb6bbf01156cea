// The add-column commands of the list tables: which catalogue template (or field-table code) each
// command adds, and which ones first ask a dialog for their parameters.
#pragma once

#include "lists/ColumnCatalogues.h"

#include <cstdint>
#include <span>

namespace qv {

enum class AddColumnRoute : uint8_t {
    Template,   // AddColumn with the catalogue's template and parameter1
    Field,      // AddFieldColumn with the code
    DateDialog, // the date dialogs, then AddColumn with the packed dates
    Results,    // the results dialog or sheet
    HighLow,    // the high/low dialog
    Intraday,   // the intraday column dialog, then InsertColumns
    Separator,  // the list engine's separator column, in every list that takes share or trade columns
};

struct AddColumnCommand {
    int id;
    AddColumnRoute route;
    Catalogue catalogue;
    int index;            // template index, or field code
    int32_t parameter1 = 0;
};

std::span<const AddColumnCommand> AddColumnCommands();
const AddColumnCommand* FindAddColumnCommand(int id);
// The command as the view kind takes it: in the transactions view the notes-column commands
// 26280-26289 add the transactions' note column with that note.
const AddColumnCommand* FindAddColumnCommand(int id, int kind);
// The field code a command's column carries (what UpdateAddColumnUI checks the layout for); -1 when
// its columns are not tied to one code.
int AddColumnCommandCode(const AddColumnCommand& command);
// Whether the command's column is a notes column.
bool AddColumnCommandAddsNote(const AddColumnCommand& command);

// The parameter of a date-dialog choice 0..5 and value: (mode << 16) | value.
int32_t DateParameter(int choice, int value);
// The note number of the notes-column commands 26280-26289 (1-10) and of the transactions' note
// column 26202 (1), or 0.
int NoteCommandNumber(int id);

} // namespace qv
