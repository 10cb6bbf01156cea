// The add-column command table.
#include "lists/AddColumnCommands.h"

#include "core/ColumnDef.h"

#include <algorithm>
#include <array>

namespace qv {
namespace {

constexpr AddColumnCommand kCommands[] = {
    {25100, AddColumnRoute::Template, Catalogue::Shares, 0},
    {25101, AddColumnRoute::Template, Catalogue::Shares, 15},
    {25102, AddColumnRoute::Template, Catalogue::Shares, 25},
    {25103, AddColumnRoute::Template, Catalogue::Shares, 26},
    {25104, AddColumnRoute::Template, Catalogue::Shares, 24},
    {25105, AddColumnRoute::Template, Catalogue::Shares, 4},
    {25106, AddColumnRoute::Template, Catalogue::Shares, 5},
    {25107, AddColumnRoute::Template, Catalogue::Shares, 7},
    {25108, AddColumnRoute::Template, Catalogue::Shares, 70},
    {25112, AddColumnRoute::Template, Catalogue::Shares, 17},
    {25113, AddColumnRoute::Template, Catalogue::Shares, 16},
    {25114, AddColumnRoute::Template, Catalogue::Shares, 18},
    {25117, AddColumnRoute::DateDialog, Catalogue::Shares, 30},
    {25118, AddColumnRoute::DateDialog, Catalogue::Shares, 31},
    {25119, AddColumnRoute::Template, Catalogue::Shares, 27},
    {25122, AddColumnRoute::Template, Catalogue::Shares, 8},
    {25123, AddColumnRoute::Template, Catalogue::Shares, 10},
    {25126, AddColumnRoute::Template, Catalogue::Shares, 11},
    {25127, AddColumnRoute::Template, Catalogue::Shares, 12},
    {25128, AddColumnRoute::Template, Catalogue::Shares, 37},
    {25129, AddColumnRoute::Template, Catalogue::Shares, 36},
    {25130, AddColumnRoute::Template, Catalogue::Shares, 13},
    {25131, AddColumnRoute::Template, Catalogue::Shares, 39},
    {25132, AddColumnRoute::Template, Catalogue::Shares, 40},
    {25133, AddColumnRoute::Template, Catalogue::Shares, 29},
    {25134, AddColumnRoute::Template, Catalogue::Shares, 42},
    {25135, AddColumnRoute::Template, Catalogue::Shares, 43},
    {25136, AddColumnRoute::Template, Catalogue::Shares, 21},
    {25137, AddColumnRoute::Template, Catalogue::Shares, 22},
    {25140, AddColumnRoute::Template, Catalogue::Shares, 6},
    {25141, AddColumnRoute::Template, Catalogue::Shares, 9},
    {25142, AddColumnRoute::Template, Catalogue::Shares, 14},
    {25143, AddColumnRoute::Template, Catalogue::Shares, 2},
    {26038, AddColumnRoute::Template, Catalogue::Shares, 0},
    {26124, AddColumnRoute::Template, Catalogue::Shares, 33},
    {26125, AddColumnRoute::Template, Catalogue::Shares, 34},
    {26162, AddColumnRoute::Template, Catalogue::Shares, 38},
    {26163, AddColumnRoute::Template, Catalogue::Shares, 35},
    {26164, AddColumnRoute::Template, Catalogue::Shares, 41},
    {26165, AddColumnRoute::Template, Catalogue::Shares, 44},
    {26197, AddColumnRoute::Template, Catalogue::Shares, 46},
    {26278, AddColumnRoute::Template, Catalogue::Shares, 49},
    {26279, AddColumnRoute::Template, Catalogue::Shares, 48},
    {26280, AddColumnRoute::Template, Catalogue::Shares, 45},
    {26281, AddColumnRoute::Template, Catalogue::Shares, 45},
    {26282, AddColumnRoute::Template, Catalogue::Shares, 45},
    {26283, AddColumnRoute::Template, Catalogue::Shares, 45},
    {26284, AddColumnRoute::Template, Catalogue::Shares, 45},
    {26285, AddColumnRoute::Template, Catalogue::Shares, 45},
    {26286, AddColumnRoute::Template, Catalogue::Shares, 45},
    {26287, AddColumnRoute::Template, Catalogue::Shares, 45},
    {26288, AddColumnRoute::Template, Catalogue::Shares, 45},
    {26289, AddColumnRoute::Template, Catalogue::Shares, 45},
    {26290, AddColumnRoute::Template, Catalogue::Shares, 50},
    {26488, AddColumnRoute::DateDialog, Catalogue::Shares, 56},
    {26490, AddColumnRoute::DateDialog, Catalogue::Shares, 57},
    {26493, AddColumnRoute::Template, Catalogue::Shares, 60},
    {26494, AddColumnRoute::Template, Catalogue::Shares, 59},
    {26496, AddColumnRoute::Template, Catalogue::Shares, 58},
    {26497, AddColumnRoute::Template, Catalogue::Shares, 61},
    {26498, AddColumnRoute::Template, Catalogue::Shares, 51},
    {26604, AddColumnRoute::Template, Catalogue::Shares, 62},
    {26711, AddColumnRoute::Template, Catalogue::Shares, 66},
    {26712, AddColumnRoute::Template, Catalogue::Shares, 67},
    {26713, AddColumnRoute::Template, Catalogue::Shares, 65},
    {26714, AddColumnRoute::Template, Catalogue::Shares, 68},
    {26804, AddColumnRoute::Template, Catalogue::Shares, 23},
    {26808, AddColumnRoute::Separator, Catalogue::Shares, 86},
    {26901, AddColumnRoute::Template, Catalogue::Shares, 47},
    {27029, AddColumnRoute::DateDialog, Catalogue::Shares, 87},
    {27030, AddColumnRoute::DateDialog, Catalogue::Shares, 88},
    {27032, AddColumnRoute::Template, Catalogue::Shares, 89},
    {27034, AddColumnRoute::Template, Catalogue::Shares, 28},
    {27035, AddColumnRoute::Template, Catalogue::Shares, 90},
    {27038, AddColumnRoute::Template, Catalogue::Shares, 91},
    {27062, AddColumnRoute::Template, Catalogue::Shares, 92},
    {27079, AddColumnRoute::Template, Catalogue::Shares, 93},
    {25171, AddColumnRoute::Template, Catalogue::Transactions, 16, -1},
    {25172, AddColumnRoute::Template, Catalogue::Transactions, 11, -1},
    {25173, AddColumnRoute::Template, Catalogue::Transactions, 12, -1},
    {25174, AddColumnRoute::Template, Catalogue::Transactions, 13, -1},
    {25175, AddColumnRoute::Template, Catalogue::Transactions, 14, -1},
    {25178, AddColumnRoute::Template, Catalogue::Transactions, 10, -1},
    {26053, AddColumnRoute::Template, Catalogue::Transactions, 15, -1},
    {26582, AddColumnRoute::Template, Catalogue::Transactions, 22, -1},
    {26660, AddColumnRoute::Template, Catalogue::Transactions, 25, -1},
    {26029, AddColumnRoute::Template, Catalogue::Transactions, 1},
    {26030, AddColumnRoute::Template, Catalogue::Transactions, 2},
    {26096, AddColumnRoute::Template, Catalogue::Transactions, 3},
    {26040, AddColumnRoute::Template, Catalogue::Transactions, 4},
    {26171, AddColumnRoute::Template, Catalogue::Transactions, 5},
    {26031, AddColumnRoute::Template, Catalogue::Transactions, 6},
    {26033, AddColumnRoute::Template, Catalogue::Transactions, 7},
    {26034, AddColumnRoute::Template, Catalogue::Transactions, 8},
    {26035, AddColumnRoute::Template, Catalogue::Transactions, 9},
    {26044, AddColumnRoute::Template, Catalogue::Transactions, 10},
    {26032, AddColumnRoute::Template, Catalogue::Transactions, 11},
    {26041, AddColumnRoute::Template, Catalogue::Transactions, 12},
    {26042, AddColumnRoute::Template, Catalogue::Transactions, 13},
    {26046, AddColumnRoute::Template, Catalogue::Transactions, 14},
    {26045, AddColumnRoute::Template, Catalogue::Transactions, 15},
    {26039, AddColumnRoute::Template, Catalogue::Transactions, 18},
    {26202, AddColumnRoute::Template, Catalogue::Transactions, 29},
    {26300, AddColumnRoute::Template, Catalogue::Transactions, 20},
    {26301, AddColumnRoute::Template, Catalogue::Transactions, 21},
    {26581, AddColumnRoute::Template, Catalogue::Transactions, 22},
    {26591, AddColumnRoute::Template, Catalogue::Transactions, 23},
    {26592, AddColumnRoute::Template, Catalogue::Transactions, 24},
    {26659, AddColumnRoute::Template, Catalogue::Transactions, 25},
    {26656, AddColumnRoute::Template, Catalogue::Transactions, 26},
    {26657, AddColumnRoute::Template, Catalogue::Transactions, 27},
    {26658, AddColumnRoute::Template, Catalogue::Transactions, 28},
    {26047, AddColumnRoute::Template, Catalogue::Transactions, 30},
    {26250, AddColumnRoute::Template, Catalogue::Dealings, 1},
    {26251, AddColumnRoute::Template, Catalogue::Dealings, 2},
    {26252, AddColumnRoute::Template, Catalogue::Dealings, 3},
    {26253, AddColumnRoute::Template, Catalogue::Dealings, 4},
    {26254, AddColumnRoute::Template, Catalogue::Dealings, 9},
    {26255, AddColumnRoute::Template, Catalogue::Dealings, 12},
    {26256, AddColumnRoute::Template, Catalogue::Dealings, 13},
    {26257, AddColumnRoute::Template, Catalogue::Dealings, 7},
    {26258, AddColumnRoute::Template, Catalogue::Dealings, 5},
    {26259, AddColumnRoute::Template, Catalogue::Dealings, 6},
    {26260, AddColumnRoute::Template, Catalogue::Dealings, 10},
    {26261, AddColumnRoute::Template, Catalogue::Dealings, 11},
    {26262, AddColumnRoute::Template, Catalogue::Dealings, 8},
    {26583, AddColumnRoute::Template, Catalogue::Cash, 1},
    {26584, AddColumnRoute::Template, Catalogue::Cash, 2},
    {26585, AddColumnRoute::Template, Catalogue::Cash, 3},
    {26586, AddColumnRoute::Template, Catalogue::Cash, 4},
    {26587, AddColumnRoute::Template, Catalogue::Cash, 5},
    {26588, AddColumnRoute::Template, Catalogue::Cash, 6},
    {26589, AddColumnRoute::Template, Catalogue::Cash, 7},
    {26590, AddColumnRoute::Template, Catalogue::Cash, 8},
    {26598, AddColumnRoute::Template, Catalogue::Cash, 9},
    {26661, AddColumnRoute::Template, Catalogue::Cash, 10},
    {26813, AddColumnRoute::Template, Catalogue::Trades, 1},
    {26814, AddColumnRoute::Template, Catalogue::Trades, 2},
    {26815, AddColumnRoute::Template, Catalogue::Trades, 3},
    {26816, AddColumnRoute::Template, Catalogue::Trades, 4},
    {26817, AddColumnRoute::Template, Catalogue::Trades, 5},
    {26818, AddColumnRoute::Template, Catalogue::Trades, 6},
    {26824, AddColumnRoute::Template, Catalogue::Trades, 7},
    {26821, AddColumnRoute::Template, Catalogue::Trades, 8},
    {26820, AddColumnRoute::Template, Catalogue::Trades, 9},
    {26972, AddColumnRoute::Template, Catalogue::Trades, 10},
    {26973, AddColumnRoute::Template, Catalogue::Trades, 11},
    {27092, AddColumnRoute::Template, Catalogue::Trades, 12},
    {26623, AddColumnRoute::Template, Catalogue::News, 1},
    {26624, AddColumnRoute::Template, Catalogue::News, 4},
    {26627, AddColumnRoute::Template, Catalogue::News, 6},
    {26628, AddColumnRoute::Template, Catalogue::News, 7},
    {26629, AddColumnRoute::Template, Catalogue::News, 5},
    {26630, AddColumnRoute::Template, Catalogue::News, 2},
    {26637, AddColumnRoute::Template, Catalogue::News, 8},
    {26675, AddColumnRoute::Template, Catalogue::News, 10},
    {26676, AddColumnRoute::Template, Catalogue::News, 9},
    {26695, AddColumnRoute::Template, Catalogue::News, 3},
    {25138, AddColumnRoute::Field, Catalogue::Shares, 0x73},
    {25139, AddColumnRoute::Field, Catalogue::Shares, 0x81},
    {26715, AddColumnRoute::Field, Catalogue::Shares, 0x80},
    {26716, AddColumnRoute::Field, Catalogue::Shares, 0x71},
    {26717, AddColumnRoute::Field, Catalogue::Shares, 0x72},
    {26718, AddColumnRoute::Field, Catalogue::Shares, 0x70},
    {26719, AddColumnRoute::Field, Catalogue::Shares, 0x60},
    {26720, AddColumnRoute::Field, Catalogue::Shares, 0x61},
    {26721, AddColumnRoute::Field, Catalogue::Shares, 0x62},
    {26722, AddColumnRoute::Field, Catalogue::Shares, 0x63},
    {26723, AddColumnRoute::Field, Catalogue::Shares, 0x64},
    {26724, AddColumnRoute::Field, Catalogue::Shares, 0x65},
    {26725, AddColumnRoute::Field, Catalogue::Shares, 0x66},
    {26726, AddColumnRoute::Field, Catalogue::Shares, 0x67},
    {26727, AddColumnRoute::Field, Catalogue::Shares, 0x68},
    {26728, AddColumnRoute::Field, Catalogue::Shares, 0x69},
    {26729, AddColumnRoute::Field, Catalogue::Shares, 0x6A},
    {26790, AddColumnRoute::Field, Catalogue::Shares, 0x6C},
    {26791, AddColumnRoute::Field, Catalogue::Shares, 0x6B},
    {26792, AddColumnRoute::Field, Catalogue::Shares, 0x6D},
    {26793, AddColumnRoute::Field, Catalogue::Shares, 0x6E},
    {26794, AddColumnRoute::Field, Catalogue::Shares, 0x6F},
    {27196, AddColumnRoute::Field, Catalogue::Shares, 0x75},
    {26094, AddColumnRoute::Results, Catalogue::Shares, -1},
    {27198, AddColumnRoute::Results, Catalogue::Shares, -1},
    {27219, AddColumnRoute::HighLow, Catalogue::HighLow, -1},
    {26809, AddColumnRoute::Intraday, Catalogue::Shares, -1},
};

constexpr int kFirstNoteCommand = 26280;
constexpr int kTransactionNoteCommand = 26202;
constexpr int kLastNoteCommand = 26289;

} // namespace

std::span<const AddColumnCommand> AddColumnCommands()
{
    return kCommands;
}

const AddColumnCommand* FindAddColumnCommand(int id)
{
    const auto it = std::find_if(std::begin(kCommands), std::end(kCommands), [id](const AddColumnCommand& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : it;
}

const AddColumnCommand* FindAddColumnCommand(int id, int kind)
{
    static constexpr int kTransactionsKind = 4;
    static constexpr int kTransactionNoteTemplate = 29;
    static const auto kTransactionNotes = [] {
        std::array<AddColumnCommand, kLastNoteCommand - kFirstNoteCommand + 1> notes{};
        for (size_t i = 0; i < notes.size(); ++i)
            notes[i] = {kFirstNoteCommand + int(i), AddColumnRoute::Template, Catalogue::Transactions,
                        kTransactionNoteTemplate};
        return notes;
    }();
    if (kind == kTransactionsKind && id >= kFirstNoteCommand && id <= kLastNoteCommand)
        return &kTransactionNotes[size_t(id - kFirstNoteCommand)];
    return FindAddColumnCommand(id);
}

bool AddColumnCommandAddsNote(const AddColumnCommand& command)
{
    if (command.route != AddColumnRoute::Template)
        return false;
    const std::span<const uint8_t> t = CatalogueTemplate(command.catalogue, command.index);
    return t.size() > ColumnDefLayout::Kind && t[ColumnDefLayout::Kind] == kColumnNote;
}

int AddColumnCommandCode(const AddColumnCommand& command)
{
    switch (command.route) {
    case AddColumnRoute::Field: return command.index;
    case AddColumnRoute::Template:
    case AddColumnRoute::Separator: {
        const std::span<const uint8_t> t = CatalogueTemplate(command.catalogue, command.index);
        return t.size() > 26 ? t[26] : -1;
    }
    case AddColumnRoute::DateDialog: return command.index;
    default: return -1;
    }
}

int32_t DateParameter(int choice, int value)
{
    static constexpr int kModes[] = {0, 1, 5, 2, 3, 4};
    const int mode = choice >= 0 && choice < 6 ? kModes[choice] : 0;
    return int32_t((uint32_t(mode) << 16) | (uint32_t(value) & 0xFFFF));
}

int NoteCommandNumber(int id)
{
    // The transactions' note column shows their first note.
    if (id == kTransactionNoteCommand)
        return 1;
    return id >= kFirstNoteCommand && id <= kLastNoteCommand ? id - kFirstNoteCommand + 1 : 0;
}

} // namespace qv
