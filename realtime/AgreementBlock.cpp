// Packing the exchange agreement's answers.
#include "realtime/AgreementBlock.h"

#include "resources/WebAddresses.h"

namespace qv {
namespace {

const char* const kOccupations[kOtherOccupation] = {
    "Director/Owner", "Senior manager", "Manager",   "Executive",             "Office assistant", "Manual worker",
    "Student",        "Homemaker",      "Job seeker", "No gainful employment", "Retired",
};

class BlockWriter {
public:
    void text(const std::string& t)
    {
        bytes_.insert(bytes_.end(), t.begin(), t.end());
        bytes_.push_back(0);
    }
    bool count(size_t n)
    {
        if (n > 255)
            return false;
        bytes_.push_back(uint8_t(n));
        return true;
    }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

} // namespace

const char* OccupationText(int index)
{
    return index >= 0 && index < kOtherOccupation ? kOccupations[index] : "";
}

std::optional<std::vector<uint8_t>> PackAgreementAnswers(const AgreementAnswers& answers)
{
    BlockWriter out;
    out.text(answers.account);
    out.text(answers.subscriber[0]);
    out.text(answers.subscriber[1]);
    if (!out.count(answers.occupations.size()))
        return std::nullopt;
    for (int index : answers.occupations)
        out.text(index == kOtherOccupation ? answers.otherOccupation : OccupationText(index));
    if (!out.count(answers.entries.size()))
        return std::nullopt;
    for (const AgreementEntry& entry : answers.entries)
        for (const std::string& t : entry.texts)
            out.text(t);
    std::vector<uint8_t> block = out.take();
    if (block.size() > kAgreementBlockBytes)
        return std::nullopt;
    return block;
}

std::string AgreementDeclinedText()
{
    return std::string("You have declined the NYSE/AMEX agreement.\n\nThis means that we are unable to provide you "
                       "with NYSE/AMEX data in the\nQuorvantis Pro service. Please call Quorvantis Pro Support\non ") +
           kSupportTelephone + " for further information.";
}

} // namespace qv
