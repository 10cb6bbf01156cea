// Encoding and decoding of transaction records, and the order of a portfolio's transaction list.
#include "portfolio/Transaction.h"

#include "core/ShareList.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <tuple>

namespace qv {
namespace {

namespace L = TransactionLayout;

// The float fields with their offsets, in layout order.
template <typename Fields>
auto FloatFields(Fields& f)
{
    return std::array{
        std::pair{L::Shares, &f.shares},
        std::pair{L::Price, &f.price},
        std::pair{L::Amount, &f.amount},
        std::pair{L::BrokerCharge, &f.brokerCharge},
        std::pair{L::StampDuty, &f.stampDuty},
        std::pair{L::ContractLevy, &f.contractLevy},
        std::pair{L::Charges, &f.charges},
        std::pair{L::Holding, &f.holding},
        std::pair{L::Consideration, &f.consideration},
        std::pair{L::Profit, &f.profit},
        std::pair{L::ReturnPercent, &f.returnPercent},
        std::pair{L::AnnualReturn, &f.annualReturn},
        std::pair{L::AverageCost, &f.averageCost},
        std::pair{L::PriceChange, &f.priceChange},
        std::pair{L::GainBeforeLosses, &f.gainBeforeLosses},
        std::pair{L::GainAfterLosses, &f.gainAfterLosses},
        std::pair{L::Value1982, &f.value1982},
        std::pair{L::IgnoredAmount, &f.ignoredAmount},
        std::pair{L::TaxCreditRate, &f.taxCreditRate},
        std::pair{L::SplitRatio, &f.splitRatio},
        std::pair{L::CashBalance, &f.cashBalance},
        std::pair{L::RealisedProfit, &f.realisedProfit},
        std::pair{L::Unmatched, &f.unmatched},
        std::pair{L::Value1965, &f.value1965},
    };
}

void EncodeFixedPart(const TransactionFields& f, uint8_t* p)
{
    StoreU16(p + L::Date, f.date);
    p[L::Type] = f.type;
    p[7] = f.byte7;
    StoreU16(p + L::ShareId, f.shareId);
    p[L::Line] = f.line;
    p[L::Flags] = f.flags;
    for (auto [offset, value] : FloatFields(f))
        StoreF32(p + offset, *value);
    p[L::ShareType] = f.shareType;
    p[L::GainsBase] = f.gainsBase;
    StoreU16(p + L::PortfolioNumber, f.portfolioNumber);
    StoreU16(p + 90, f.bytes90);
    StoreU16(p + L::CashAccount, f.cashAccount);
    StoreU16(p + L::MemberPortfolio, f.memberPortfolio);
    StoreU32(p + L::MemberLink, f.memberLink);
    StoreU32(p + 112, f.bytes112);
    StoreU32(p + L::Time, f.time);
    StoreU32(p + 132, f.bytes132);
    std::memcpy(p + L::Reference, f.reference.data(), L::ReferenceSize);
}

void DecodeFixedPart(const uint8_t* p, TransactionFields& f)
{
    f.date = LoadU16(p + L::Date);
    f.type = p[L::Type];
    f.byte7 = p[7];
    f.shareId = LoadU16(p + L::ShareId);
    f.line = p[L::Line];
    f.flags = p[L::Flags];
    for (auto [offset, value] : FloatFields(f))
        *value = LoadF32(p + offset);
    f.shareType = p[L::ShareType];
    f.gainsBase = p[L::GainsBase];
    f.portfolioNumber = LoadU16(p + L::PortfolioNumber);
    f.bytes90 = LoadU16(p + 90);
    f.cashAccount = LoadU16(p + L::CashAccount);
    f.memberPortfolio = LoadU16(p + L::MemberPortfolio);
    f.memberLink = LoadU32(p + L::MemberLink);
    f.bytes112 = LoadU32(p + 112);
    f.time = LoadU32(p + L::Time);
    f.bytes132 = LoadU32(p + 132);
    std::memcpy(f.reference.data(), p + L::Reference, L::ReferenceSize);
}

// Case-blind comparison over the shorter length, as the list order wants it.
int CompareNames(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int ca = std::tolower(static_cast<unsigned char>(a[i]));
        int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return 0;
}

// Imported items stand in one run whatever their line.
bool SameRun(const Transaction& a, const Transaction& b)
{
    return a.shareId() == b.shareId() && (a.shareId() >= 0xF000 || a.line() == b.line());
}

} // namespace

std::optional<std::vector<uint8_t>> EncodeTransaction(const TransactionFields& f)
{
    std::vector<uint8_t> out(L::FixedSize);
    EncodeFixedPart(f, out.data());
    for (const std::string& text : f.texts) {
        size_t n = std::min<size_t>(text.size(), 255);
        out.push_back(uint8_t(n));
        out.insert(out.end(), text.begin(), text.begin() + ptrdiff_t(n));
        out.push_back(0);
    }
    out.insert(out.end(), f.tail.begin(), f.tail.end());
    if (out.size() > 0xFFFF)
        return std::nullopt;
    StoreU32(out.data() + L::Link, uint32_t(out.size()));
    StoreU16(out.data() + L::RecordLength, uint16_t(out.size()));
    return out;
}

std::optional<TransactionFields> DecodeTransaction(std::span<const uint8_t> bytes)
{
    if (bytes.size() < L::FixedSize)
        return std::nullopt;
    TransactionFields f;
    DecodeFixedPart(bytes.data(), f);
    size_t pos = L::FixedSize;
    for (std::string& text : f.texts) {
        if (pos >= bytes.size()) {
            text.clear();
            continue;
        }
        size_t n = std::min<size_t>(bytes[pos], bytes.size() - pos - 1);
        text.assign(reinterpret_cast<const char*>(bytes.data() + pos + 1), n);
        pos = std::min(bytes.size(), pos + 1 + n + 1);
    }
    f.tail.assign(bytes.begin() + ptrdiff_t(pos), bytes.end());
    return f;
}

void CutTransactionReference(std::vector<uint8_t>& r)
{
    uint8_t* ref = &r[L::Reference];
    uint8_t* zero = static_cast<uint8_t*>(std::memchr(ref, 0, L::ReferenceSize));
    if (!zero)
        ref[0] = 0;
    else
        std::memset(zero, 0, size_t(ref + L::ReferenceSize - zero));
}

bool TransactionNameIsSound(std::span<const uint8_t> r)
{
    if (r.size() <= L::NameLength)
        return false;
    size_t n = r[L::NameLength];
    if (n == 0 || n > 40 || L::Name + n >= r.size())
        return false;
    for (size_t i = 0; i < n; ++i)
        if (r[L::Name + i] < 20)
            return false;
    return r[L::Name + n] == 0;
}

void RebuildAsLostShare(std::vector<uint8_t>& r)
{
    const size_t name = std::strlen(kLostShareName);
    r.resize(L::EmptyTextsSize + name, 0);
    CutTransactionReference(r);
    r[L::NameLength] = uint8_t(name);
    std::memset(&r[L::Name], 0, r.size() - L::Name);
    std::memcpy(&r[L::Name], kLostShareName, name);
    StoreU32(&r[L::Link], uint32_t(r.size()));
    StoreU16(&r[L::RecordLength], uint16_t(r.size()));
}

void RenameTransaction(std::vector<uint8_t>& r, std::string_view name)
{
    auto fields = DecodeTransaction(r);
    if (!fields)
        return;
    fields->texts[0] = std::string(name);
    fields->tail = {0, 0};
    if (auto bytes = EncodeTransaction(*fields)) {
        r = std::move(*bytes);
        CutTransactionReference(r);
    }
}

uint16_t Transaction::shareId() const { return bytes.size() >= L::FixedSize ? LoadU16(&bytes[L::ShareId]) : 0; }
uint8_t Transaction::line() const { return bytes.size() >= L::FixedSize ? bytes[L::Line] : 0; }
uint8_t Transaction::type() const { return bytes.size() >= L::FixedSize ? bytes[L::Type] : 0; }
uint16_t Transaction::date() const { return bytes.size() >= L::FixedSize ? LoadU16(&bytes[L::Date]) : 0; }
uint32_t Transaction::time() const { return bytes.size() >= L::FixedSize ? LoadU32(&bytes[L::Time]) : 0; }

std::string_view Transaction::text(int n) const
{
    size_t pos = L::FixedSize;
    for (int i = 0; pos < bytes.size(); ++i) {
        size_t len = std::min<size_t>(bytes[pos], bytes.size() - pos - 1);
        if (i == n)
            return {reinterpret_cast<const char*>(bytes.data() + pos + 1), len};
        pos += len + 2;
    }
    return {};
}

void InsertSortedByName(Transaction** head, Transaction* record)
{
    Transaction** link = head;
    std::string_view name = record->text(0);
    auto before = [&](const Transaction& t) {
        int c = CompareNames(t.text(0), name);
        return c < 0 || (c == 0 && t.shareId() != record->shareId());
    };
    while (*link && before(**link))
        link = &(*link)->next;
    if (record->shareId() < 0xF000)
        while (*link && (*link)->shareId() == record->shareId() && (*link)->line() < record->line())
            link = &(*link)->next;
    if (record->type() == kLatestRowType) {
        while (*link && SameRun(**link, *record))
            link = &(*link)->next;
    } else {
        auto key = [](const Transaction& t) { return std::tuple(t.date(), t.time(), t.type()); };
        while (*link && SameRun(**link, *record) && (*link)->type() != kLatestRowType && key(**link) < key(*record))
            link = &(*link)->next;
    }
    record->next = *link;
    *link = record;
}

void InsertSortedByName(Link32<Transaction>& head, Transaction* record)
{
    Transaction* first = head;
    InsertSortedByName(&first, record);
    head = first;
}

Transaction::~Transaction() { ForgetRowsShowing(bytes.data()); }

void FreeTransactions(Link32<Transaction>& head)
{
    Transaction* first = head;
    FreeTransactions(first);
    head = nullptr;
}

void FreeTransactions(Transaction*& head)
{
    while (Transaction* t = head) {
        head = t->next;
        delete t;
    }
}

uint64_t TransactionBytes(const Transaction* head)
{
    uint64_t total = 0;
    for (; head; head = head->next)
        total += head->bytes.size();
    return total;
}

} // namespace qv
