// The exchange agreement's page rules and its outbox.
#include "realtime/AgreementPages.h"

#include <algorithm>

namespace qv {

bool PersonalPageComplete(const AgreementAnswers& answers)
{
    if (answers.subscriber[0].empty() || answers.subscriber[1].empty() || answers.occupations.empty())
        return false;
    const bool other = std::find(answers.occupations.begin(), answers.occupations.end(), kOtherOccupation) !=
                       answers.occupations.end();
    return !other || !answers.otherOccupation.empty();
}

bool EmployerAllFilled(const AgreementEntry& entry)
{
    return std::all_of(std::begin(entry.texts), std::end(entry.texts), [](const std::string& t) { return !t.empty(); });
}

bool EmployerAllEmpty(const AgreementEntry& entry)
{
    return std::all_of(std::begin(entry.texts), std::end(entry.texts), [](const std::string& t) { return t.empty(); });
}

bool EmployerAddEnabled(const AgreementEntry& typed, size_t added)
{
    return added < kMaxAgreementEmployers && EmployerAllFilled(typed);
}

bool EmployerPageComplete(const AgreementEntry& typed)
{
    return EmployerAllEmpty(typed) || EmployerAllFilled(typed);
}

AgreementOutbox& TheAgreementOutbox()
{
    static AgreementOutbox outbox;
    return outbox;
}

bool FinishAgreement(AgreementAnswers answers, const AgreementEntry& typed)
{
    if (EmployerAddEnabled(typed, answers.entries.size()))
        answers.entries.push_back(typed);
    std::optional<std::vector<uint8_t>> block = PackAgreementAnswers(answers);
    if (!block)
        return false;
    AgreementOutbox& outbox = TheAgreementOutbox();
    outbox.block = std::move(*block);
    outbox.toSend = true;
    return true;
}

} // namespace qv
