// qvtool table FOLDER [--list N] [--setting S] [--sort n]: a share list of the database in FOLDER as
// the list view shows it: the headings and the cells of every row, tab-separated, in the list's
// order. N is the fixed list (0 "All" ... 34), S the table setting 1-12 (its sort unless --sort gives
// a signed column number).
#include "core/ColumnDef.h"
#include "core/Database.h"
#include "core/Memory.h"
#include "core/ShareList.h"
#include "devtools/qvtool/Verbs.h"
#include "lists/CellValue.h"
#include "lists/ColumnHeading.h"
#include "lists/ListOptions.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "lists/RowSort.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace qv::tool {
namespace {

constexpr const char* kUsage = "table FOLDER [--list N] [--setting S] [--sort n]";

void PrintRow(const std::vector<const uint8_t*>& columns, ShareList* list, RecordCursor row, int number)
{
    std::string line;
    for (const uint8_t* column : columns) {
        char text[kCellTextBytes];
        size_t n = FormatColumnValue(row.record, row.count, column, text, sizeof text, number, list, 0);
        if (!line.empty() || column != columns.front())
            line += '\t';
        line += Cp1252ToUtf8(std::string(text, n));
    }
    std::printf("%s\n", line.c_str());
}

int RunTable(const std::vector<std::string>& args)
{
    std::vector<std::string> plain;
    int listNumber = 0, setting = 1, sort = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--list" && i + 1 < args.size())
            listNumber = std::atoi(args[++i].c_str());
        else if (args[i] == "--setting" && i + 1 < args.size())
            setting = std::atoi(args[++i].c_str());
        else if (args[i] == "--sort" && i + 1 < args.size())
            sort = std::atoi(args[++i].c_str());
        else
            plain.push_back(args[i]);
    }
    if (plain.size() != 1) {
        std::fprintf(stderr, "usage: qvtool %s\n", kUsage);
        return 2;
    }
    if (setting < 1 || setting > kListSettings || listNumber < 0 || listNumber >= kFixedListCount) {
        std::fprintf(stderr, "qvtool: the list is a number from 0 to 34 and the setting from 1 to 12\n");
        return 2;
    }
    SetProgramFolder(plain[0]);
    if (!LoadDatabase(AppPath("data\\Quorva.dat"))) {
        std::fprintf(stderr, "qvtool: cannot open %s/data/Quorva.dat\n", plain[0].c_str());
        return 1;
    }
    auto* list = static_cast<ShareList*>(ProCalloc(1, sizeof(ShareList), "Share list"));
    list->word = listNumber;
    SelectColumnSetting(list, kListKindShares, setting - 1, false, false);
    RefreshListRows(list, true, true);
    if (sort != 0)
        SortRows(list, sort, true);
    std::vector<const uint8_t*> columns;
    std::string headings;
    for (int n = 0; n < CountColumnDefs(list->columnLayout); ++n) {
        const uint8_t* column = GetColumnDef(list->columnLayout, n);
        if (column[ColumnDefLayout::Length] < kColumnDefBytes)
            continue;
        columns.push_back(column);
        if (!headings.empty())
            headings += '\t';
        headings.append(Cp1252ToUtf8(GetColumnHeading(list, column, true)));
    }
    std::printf("%s\n", headings.c_str());
    int32_t rows = ShareListCount(list);
    for (int32_t i = 0; i < rows; ++i)
        PrintRow(columns, list, list->entries[i], i + 1);
    if (rows == 0)
        std::printf("No shares\n");
    ProFree(list->entries);
    ProFree(list);
    FreeSettingLayouts();
    FreeDatabase(true);
    return 0;
}

const Verb kTable("table", kUsage, "a share list's headings and cells in the list's order", RunTable);

} // namespace
} // namespace qv::tool
