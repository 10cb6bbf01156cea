// Recording message-box host.
#include "support/FakeMessageBox.h"

namespace qv::test {

FakeMessageBox::FakeMessageBox() : previous_(SetMessageBoxHost(this)) {}

FakeMessageBox::~FakeMessageBox() { SetMessageBoxHost(previous_); }

MsgAnswer FakeMessageBox::show(const MessageRequest& request)
{
    shown_.push_back(request);
    if (answers_.empty())
        return DefaultAnswer(request);
    MsgAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<std::string> FakeMessageBox::texts() const
{
    std::vector<std::string> out;
    for (const auto& r : shown_)
        out.push_back(r.text);
    return out;
}

} // namespace qv::test
