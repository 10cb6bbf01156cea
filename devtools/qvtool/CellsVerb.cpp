// qvtool cells FOLDER EPIC [--setting S] [--export] [--formulas]: the heading and cell text of every
// column of a share list table setting (the built-in list layouts 1-5) for one share, as the list
// shows them; --export writes the cells as the export writer gets them, --formulas shows the formula
// templates of the shares catalogue instead.
#include "core/ColumnDef.h"
#include "core/ConfigDefaults.h"
#include "core/Database.h"
#include "devtools/qvtool/Verbs.h"
#include "lists/CellNumber.h"
#include "lists/CellValue.h"
#include "lists/ColumnHeading.h"
#include "lists/FormulaTemplates.h"
#include "platform/TextCodec.h"

#include <cstdio>
#include <cstdlib>

namespace qv::tool {
namespace {

constexpr const char* kUsage = "cells FOLDER EPIC [--setting S] [--export] [--formulas]";

void PrintCell(RecordCursor share, const uint8_t* column, int row)
{
    char text[kCellTextBytes];
    FormatColumnValue(share.record, share.count, column, text, sizeof text, row, nullptr, 0);
    std::string heading = Cp1252ToUtf8(GetColumnHeading(nullptr, column, false));
    std::printf("%-36s %s\n", heading.c_str(), Cp1252ToUtf8(text).c_str());
}

int RunCells(const std::vector<std::string>& args)
{
    std::vector<std::string> plain;
    int setting = 1;
    bool exporting = false, formulas = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--export") {
            exporting = true;
        } else if (args[i] == "--formulas") {
            formulas = true;
        } else if (args[i] == "--setting" && i + 1 < args.size()) {
            setting = std::atoi(args[++i].c_str());
        } else {
            plain.push_back(args[i]);
        }
    }
    if (setting < 1 || setting > 12) {
        std::fprintf(stderr, "qvtool: the setting is a number from 1 to 12\n");
        return 2;
    }
    int exitCode = 0;
    auto found = LoadFolderShare(plain, kUsage, exitCode);
    if (!found)
        return exitCode;
    CurrentCellSettings().exportMode = exporting;
    RecordTexts texts = GetRecordTexts(found->record);
    std::printf("%.*s (id %u, stream %u)\n", int(texts.name.size()), texts.name.data(), RecordId(found->record),
                found->count);
    if (formulas) {
        for (const FormulaTemplate& t : ShareFormulaTemplates()) {
            std::vector<uint8_t> column = FormulaTemplateColumn(t);
            PrintCell(*found, column.data(), 1);
        }
    } else {
        std::vector<uint8_t> layout = DefaultColumnLayout(ColumnLayoutSet::ListTables, setting - 1);
        for (int n = 0; n < CountColumnDefs(layout.data()); ++n) {
            const uint8_t* column = GetColumnDef(layout.data(), n);
            if (column[ColumnDefLayout::Length] >= kColumnDefBytes)
                PrintCell(*found, column, 1);
        }
    }
    CurrentCellSettings().exportMode = false;
    FreeDatabase(true);
    return 0;
}

const Verb kCells("cells", kUsage, "the cells of a list table setting for one share", RunCells);

} // namespace
} // namespace qv::tool
