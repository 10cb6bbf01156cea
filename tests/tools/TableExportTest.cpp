// The details export's lines: heading, delimiter, value, CR LF, with a value holding the delimiter or
// a quote kept as one field.
#include "tools/TableExport.h"

#include "lists/DetailPage.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(TableExport, DetailLinesQuoteTextsThatHoldTheDelimiter)
{
    SetDetailCellSource([](int code, const RecordCursor&) {
        if (code == 1)
            return DetailCell{"Price", "2,283", "c", false};
        return DetailCell{"Name", "Say \"hi\"", {}, false};
    });
    struct Case {
        int code;
        char delimiter;
        const char* line;
    };
    for (const Case& c : {Case{1, ',', "Price,\"2,283 (c)\"\r\n"}, Case{1, '\t', "Price\t2,283 (c)\r\n"},
                          Case{2, '\t', "Name\t\"Say \"\"hi\"\"\"\r\n"}}) {
        std::string out;
        WriteDetailField(out, c.code, RecordCursor{}, c.delimiter);
        EXPECT_EQ(out, c.line) << c.code << " " << int(c.delimiter);
    }
    SetDetailCellSource(nullptr);
}

} // namespace
} // namespace qv
