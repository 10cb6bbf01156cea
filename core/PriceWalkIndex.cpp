// The kept walk checkpoints of price streams, shared between threads.
#include "core/PriceWalkIndex.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>

namespace qv {

namespace {

struct Registry {
    std::shared_mutex lock;
    std::unordered_map<const uint8_t*, std::shared_ptr<const PriceWalkIndex>> indexes;
};

// Never destroyed: the database may be freed from another object's destructor at exit, after the
// statics of this file have gone, and that free forgets these indexes.
Registry& Indexes()
{
    static auto* registry = new Registry;
    return *registry;
}

} // namespace

uint64_t PriceStreamMark(const uint8_t* sub, const uint8_t* subEnd)
{
    // What a walk reads: the scale and first date, and the stream (not the statistics room between
    // them, which the statistics pass fills after the walk).
    const size_t size = size_t(subEnd - sub);
    uint64_t mark = 1469598103934665603ull ^ size;
    auto fold = [&mark](const uint8_t* p, size_t n) {
        for (size_t i = 0; i < n; ++i)
            mark = (mark ^ p[i]) * 1099511628211ull;
    };
    if (size < kSubRecordStream)
        return mark;
    fold(sub + kSubRecordScale, 4);
    const size_t stream = size - kSubRecordStream;
    const size_t edge = std::min<size_t>(stream, 32);
    fold(sub + kSubRecordStream, edge);
    fold(subEnd - edge, edge);
    return mark;
}

bool SumsOfClosesExact(const PriceWalkIndex& index, uint32_t count)
{
    if (!index.closesFinite)
        return false;
    if (index.closeExponentMin > index.closeExponentMax)
        return true; // every close is zero
    // A close with exponent field E lies below 2^(E-126) and is a multiple of 2^(E-150) (subnormals
    // as E = 1): `count` of them need at most (Emax - Emin + 24) bits plus those of the count.
    int countBits = 0;
    while (countBits < 32 && (uint64_t(1) << countBits) < count)
        ++countBits;
    return index.closeExponentMax - index.closeExponentMin + 24 + countBits <= 53;
}

std::shared_ptr<const PriceWalkIndex> FindPriceWalkIndex(const uint8_t* sub, const uint8_t* subEnd)
{
    Registry& r = Indexes();
    std::shared_ptr<const PriceWalkIndex> found;
    {
        std::shared_lock<std::shared_mutex> hold(r.lock);
        auto at = r.indexes.find(sub);
        if (at == r.indexes.end())
            return nullptr;
        found = at->second;
    }
    return found->mark == PriceStreamMark(sub, subEnd) ? found : nullptr;
}

std::shared_ptr<const PriceWalkIndex> KeepPriceWalkIndex(const uint8_t* sub, PriceWalkIndex index)
{
    auto kept = std::make_shared<const PriceWalkIndex>(std::move(index));
    Registry& r = Indexes();
    std::unique_lock<std::shared_mutex> hold(r.lock);
    r.indexes[sub] = kept;
    return kept;
}

std::shared_ptr<const PriceWalkIndex> BuildPriceWalkIndex(const uint8_t* sub, const uint8_t* subEnd)
{
    PriceWalkIndexBuilder builder(sub, subEnd);
    PriceDayWalker w(sub, subEnd, CorrectionCursor{});
    while (w.next())
        builder.add(w);
    return KeepPriceWalkIndex(sub, builder.take());
}

void ForgetPriceWalkIndexes()
{
    Registry& r = Indexes();
    std::unique_lock<std::shared_mutex> hold(r.lock);
    r.indexes.clear();
}

} // namespace qv
