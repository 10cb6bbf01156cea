// A message target for tests that records every program message it receives.
#pragma once

#include "platform/MessageDispatch.h"

#include <vector>

namespace qv::test {

class RecordingTarget : public MessageTarget {
public:
    explicit RecordingTarget(intptr_t answer = 0, int kind = -1) : MessageTarget(kind), answer_(answer) {}

    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        received.push_back({message, wParam, lParam});
        return answer_;
    }

    struct Message {
        uint32_t message;
        uintptr_t wParam;
        intptr_t lParam;
    };
    std::vector<Message> received;

private:
    intptr_t answer_;
};

} // namespace qv::test
