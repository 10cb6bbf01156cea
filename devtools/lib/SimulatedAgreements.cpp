// Reading the agreement answers and keeping the stand-in's completed agreements.
#include "devtools/lib/SimulatedAgreements.h"

#include "realtime/RTFeedSettings.h"

#include <algorithm>

namespace qv::dev {
namespace {

class BlockReader {
public:
    explicit BlockReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    bool text(std::string& out)
    {
        const auto end = std::find(bytes_.begin() + at_, bytes_.end(), uint8_t(0));
        if (end == bytes_.end())
            return false;
        out.assign(bytes_.begin() + at_, end);
        at_ = size_t(end - bytes_.begin()) + 1;
        return true;
    }
    bool count(size_t& out)
    {
        if (at_ >= bytes_.size())
            return false;
        out = bytes_[at_++];
        return true;
    }
    bool done() const { return at_ == bytes_.size(); }

private:
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

} // namespace

bool ReceivedAgreement::operator==(const ReceivedAgreement& o) const
{
    auto sameEntry = [](const AgreementEntry& a, const AgreementEntry& b) {
        return std::equal(std::begin(a.texts), std::end(a.texts), std::begin(b.texts));
    };
    return account == o.account && name == o.name && address == o.address && occupations == o.occupations &&
           std::equal(employers.begin(), employers.end(), o.employers.begin(), o.employers.end(), sameEntry);
}

std::optional<ReceivedAgreement> ReadAgreementBlock(std::span<const uint8_t> block)
{
    if (block.empty() || block.size() > kAgreementBlockBytes)
        return std::nullopt;
    BlockReader in(block);
    ReceivedAgreement a;
    size_t occupations = 0, employers = 0;
    if (!in.text(a.account) || !in.text(a.name) || !in.text(a.address) || !in.count(occupations))
        return std::nullopt;
    a.occupations.resize(occupations);
    for (std::string& o : a.occupations)
        if (!in.text(o))
            return std::nullopt;
    if (!in.count(employers))
        return std::nullopt;
    a.employers.resize(employers);
    for (AgreementEntry& e : a.employers)
        for (std::string& t : e.texts)
            if (!in.text(t))
                return std::nullopt;
    if (!in.done())
        return std::nullopt;
    return a;
}

uint32_t SimulatedAgreements::completed() const
{
    std::lock_guard guard(mutex_);
    return completed_;
}

bool SimulatedAgreements::Receive(std::span<const uint8_t> block)
{
    std::optional<ReceivedAgreement> agreement = ReadAgreementBlock(block);
    if (!agreement)
        return false;
    std::lock_guard guard(mutex_);
    received_.push_back(std::move(*agreement));
    completed_ |= kNyseAgreementDone;
    return true;
}

std::vector<ReceivedAgreement> SimulatedAgreements::received() const
{
    std::lock_guard guard(mutex_);
    return received_;
}

} // namespace qv::dev
