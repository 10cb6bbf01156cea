// A message-box host for tests: records every box and gives queued answers (else the default).
#pragma once

#include "platform/MessageBox.h"

#include <deque>
#include <vector>

namespace qv::test {

class FakeMessageBox : public MessageBoxHost {
public:
    FakeMessageBox();
    ~FakeMessageBox() override;
    FakeMessageBox(const FakeMessageBox&) = delete;
    FakeMessageBox& operator=(const FakeMessageBox&) = delete;

    MsgAnswer show(const MessageRequest& request) override;

    void queue(MsgAnswer answer) { answers_.push_back(answer); }
    const std::vector<MessageRequest>& shown() const { return shown_; }
    std::vector<std::string> texts() const;

private:
    std::deque<MsgAnswer> answers_;
    std::vector<MessageRequest> shown_;
    MessageBoxHost* previous_;
};

} // namespace qv::test
