// qvtool texts FOLDER [FIELD [KIND]]: the coding tables of a database and its coded company texts.
#include "core/CodedText.h"
#include "core/Database.h"
#include "core/RecordLookup.h"
#include "devtools/lib/CompanyTextCoding.h"
#include "devtools/qvtool/Verbs.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"

#include <cstdio>
#include <string>

namespace qv::tool {
namespace {

int RunTexts(const std::vector<std::string>& args)
{
    if (args.empty() || args.size() > 3) {
        std::fprintf(stderr, "usage: qvtool texts FOLDER [FIELD [KIND]]\n");
        return 2;
    }
    int field = args.size() > 1 ? std::stoi(args[1]) : dev::kCodedDescriptionField;
    int kind = args.size() > 2 ? std::stoi(args[2]) : dev::kCodedDescriptionKind;
    SetProgramFolder(args[0]);
    if (!LoadDatabase(AppPath("data\\Quorva.dat"))) {
        std::fprintf(stderr, "qvtool: cannot open %s/data/Quorva.dat\n", args[0].c_str());
        return 1;
    }
    const CodingTables& tables = ActiveCodingTables();
    std::printf("coding tables: %d blocks\n", tables.loadedCount());
    for (int i = 0; i < tables.loadedCount(); ++i)
        std::printf("  block %2d: %5zu bytes, sub-kind %d\n", i, tables.block(i).size(), tables.subKind(i));
    for (uint8_t* r = MainRecordBlock; r && RecordLength(r) != 0; r = NextRecord(r)) {
        RecordCursor cursor{r, 0};
        const uint8_t* descriptor = nullptr;
        const uint8_t* value = GetFieldDescriptor(uint32_t(field), &descriptor, &cursor, 0);
        // Only a counted field (data type 0x00) holds coded bytes; an empty one has no text.
        if (!value || (descriptor[1] & 0xF0) != 0 || value[0] == 0)
            continue;
        std::string text = UnpackText(BitCursor{std::span<const uint8_t>(value + 1, value[0]), 0}, kind);
        std::printf("%04X %s: %s\n", RecordId(r), Cp1252ToUtf8(GetRecordName(r)).c_str(), Cp1252ToUtf8(text).c_str());
    }
    FreeDatabase(true);
    return 0;
}

const Verb kTexts("texts", "texts FOLDER [FIELD [KIND]]", "coding tables and coded company texts of a database",
                  RunTexts);

} // namespace
} // namespace qv::tool
