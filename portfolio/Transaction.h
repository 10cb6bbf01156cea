// The transaction record: its stored layout, its fields and texts, and the order of a portfolio's
// transaction list.
#pragma once

#include "core/Link32.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Offsets of the stored record (little-endian). The fixed part is followed by eleven texts, each
// {u8 length, characters, NUL}: text 0 the share's name, texts 1-10 the notes.
namespace TransactionLayout {
constexpr size_t Link = 0; // on disk: the record's total length
constexpr size_t Date = 4;
constexpr size_t Type = 6;
constexpr size_t ShareId = 8;
constexpr size_t Line = 10;
constexpr size_t Flags = 11;
constexpr size_t Shares = 12;
constexpr size_t Price = 16;
constexpr size_t Amount = 20;
constexpr size_t BrokerCharge = 24;
constexpr size_t StampDuty = 28;
constexpr size_t ContractLevy = 32;
constexpr size_t Charges = 36;
constexpr size_t Holding = 40;
constexpr size_t Consideration = 44;
constexpr size_t Profit = 48;
constexpr size_t ReturnPercent = 52;
constexpr size_t AnnualReturn = 56;
constexpr size_t AverageCost = 60;
constexpr size_t PriceChange = 64;
constexpr size_t ShareType = 68;
constexpr size_t GainsBase = 69;
constexpr size_t RecordLength = 70;
constexpr size_t GainBeforeLosses = 72;
constexpr size_t GainAfterLosses = 76;
constexpr size_t Value1982 = 80;
constexpr size_t IgnoredAmount = 84;
constexpr size_t PortfolioNumber = 88;
constexpr size_t TaxCreditRate = 92;
constexpr size_t SplitRatio = 96;
constexpr size_t CashAccount = 100;
constexpr size_t MemberPortfolio = 102;
constexpr size_t CashBalance = 104;
constexpr size_t MemberLink = 108;
constexpr size_t RealisedProfit = 116;
constexpr size_t Unmatched = 120;
constexpr size_t Value1965 = 124;
constexpr size_t Time = 128;
constexpr size_t Reference = 136;
constexpr size_t ReferenceSize = 20;
constexpr size_t NameLength = 156;
constexpr size_t Name = 157;
constexpr size_t FixedSize = 156;
constexpr int TextCount = 11;
// A record with empty notes is this long plus its name's length (two spare zero bytes at its end).
constexpr size_t EmptyTextsSize = 180;
} // namespace TransactionLayout

namespace TransactionFlag {
constexpr uint8_t OtherUnit = 0x01;
constexpr uint8_t SmallReceipt = 0x08;
constexpr uint8_t IgnorePounds = 0x10;
constexpr uint8_t IgnoreInGains = 0x20;
constexpr uint8_t FloatValues = 0x80;
} // namespace TransactionFlag

constexpr uint8_t kLatestRowType = 15;
// The largest finite f32: a derived value not computed.
constexpr float kNotComputed = 3.4028235e38f;

// Every field of a stored transaction, the bytes the layout leaves unnamed included, so that a
// decoded record encodes to the same bytes.
struct TransactionFields {
    uint16_t date = 0;
    uint8_t type = 0;
    uint8_t byte7 = 0;
    uint16_t shareId = 0;
    uint8_t line = 0;
    uint8_t flags = 0;
    float shares = 0, price = 0, amount = 0, brokerCharge = 0, stampDuty = 0, contractLevy = 0, charges = 0;
    float holding = 0, consideration = 0, profit = 0, returnPercent = 0, annualReturn = 0, averageCost = 0;
    float priceChange = 0;
    uint8_t shareType = 0;
    uint8_t gainsBase = 0;
    float gainBeforeLosses = 0, gainAfterLosses = 0, value1982 = 0, ignoredAmount = 0;
    uint16_t portfolioNumber = 0;
    uint16_t bytes90 = 0;
    float taxCreditRate = 0, splitRatio = 0;
    uint16_t cashAccount = 0;
    uint16_t memberPortfolio = 0;
    float cashBalance = 0;
    uint32_t memberLink = 0;
    uint32_t bytes112 = 0;
    float realisedProfit = 0, unmatched = 0, value1965 = 0;
    uint32_t time = 0;
    uint32_t bytes132 = 0;
    std::array<uint8_t, TransactionLayout::ReferenceSize> reference{};
    std::array<std::string, TransactionLayout::TextCount> texts; // 0 the share's name, 1-10 notes
    std::vector<uint8_t> tail{0, 0}; // bytes after the last text
};

// The record as bytes; the length (offsets 0 and 70) is the encoded size. Texts longer than 255
// bytes are cut. Nothing when the record would not fit its 16-bit length.
std::optional<std::vector<uint8_t>> EncodeTransaction(const TransactionFields& fields);
// Reads a record of exactly these bytes; a text that runs past the end is cut there and missing
// texts are empty. Nothing when the bytes are shorter than the fixed part.
std::optional<TransactionFields> DecodeTransaction(std::span<const uint8_t> bytes);

// The name a transaction takes when its share is gone and its own name cannot be trusted.
constexpr const char* kLostShareName = "Lost Share";
// The reference text ends at its first zero; one with no zero within its 20 bytes becomes empty.
void CutTransactionReference(std::vector<uint8_t>& record);
// Whether the stored share name can be shown: 1-40 characters, none below 20, ended by a NUL.
bool TransactionNameIsSound(std::span<const uint8_t> record);
// The record keeps its fixed part (reference cut) and becomes "Lost Share" with empty notes.
void RebuildAsLostShare(std::vector<uint8_t>& record);
// The share was renamed in the database: the record takes the new name and keeps its notes and
// reference (cut), built anew from its fields.
void RenameTransaction(std::vector<uint8_t>& record, std::string_view name);

// A transaction in a portfolio's list. Its bytes keep the stored layout; offset 0 holds the
// record's length in place of the stored layout's chain link. The rows of the lists that show the
// bytes go with them (ForgetRowsShowing); code that makes the bytes move does the same first.
struct Transaction {
    Transaction* next = nullptr;
    std::vector<uint8_t> bytes;

    ~Transaction();

    uint16_t shareId() const;
    uint8_t line() const;
    uint8_t type() const;
    uint16_t date() const;
    uint32_t time() const;
    // Text n (0 the share's name), empty when the record has no such text.
    std::string_view text(int n) const;
};

// Links the record into the list in its order: runs of one share and line in share-name order
// (names compared without regard to case over the shorter length, equal names kept apart by share
// id), within a run by date, time and type, each run closed by its 'Latest' row.
void InsertSortedByName(Transaction** head, Transaction* record);
void InsertSortedByName(Link32<Transaction>& head, Transaction* record);
// Frees every record of the list.
void FreeTransactions(Transaction*& head);
void FreeTransactions(Link32<Transaction>& head);
// Bytes of all the list's records.
uint64_t TransactionBytes(const Transaction* head);

} // namespace qv
