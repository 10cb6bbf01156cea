// Routing of message boxes to the installed host; without one, boxes are answered on the console.
#include "platform/MessageBox.h"

#include "platform/TextCodec.h"

#include <cstdio>
#include <cstdlib>

namespace qv {
namespace {

MsgAnswer ButtonAt(MsgButtons buttons, int index)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::OkCancel:
        return index == 1 ? MsgAnswer::Cancel : MsgAnswer::Ok;
    case MsgButtons::YesNo:
        return index == 1 ? MsgAnswer::No : MsgAnswer::Yes;
    case MsgButtons::YesNoCancel:
        return index == 2 ? MsgAnswer::Cancel : index == 1 ? MsgAnswer::No : MsgAnswer::Yes;
    case MsgButtons::RetryCancel:
        return index == 1 ? MsgAnswer::Cancel : MsgAnswer::Retry;
    case MsgButtons::AbortRetryIgnore:
        return index == 2 ? MsgAnswer::Ignore : index == 1 ? MsgAnswer::Retry : MsgAnswer::Abort;
    }
    return MsgAnswer::Ok;
}

class ConsoleHost : public MessageBoxHost {
public:
    MsgAnswer show(const MessageRequest& request) override
    {
        MsgAnswer answer = DefaultAnswer(request);
        std::fprintf(stderr, "[message] %s: %s -> %d\n", Cp1252ToUtf8(request.caption).c_str(),
                     Cp1252ToUtf8(request.text).c_str(), int(answer));
        return answer;
    }
};

ConsoleHost consoleHost;
MessageBoxHost* currentHost = nullptr;
void (*openingHook)() = nullptr;

} // namespace

MsgAnswer DefaultAnswer(const MessageRequest& request)
{
    return ButtonAt(request.buttons, request.defaultButton);
}

MessageBoxHost* SetMessageBoxHost(MessageBoxHost* host)
{
    MessageBoxHost* previous = currentHost;
    currentHost = host;
    return previous;
}

bool AutoAnswerMessages()
{
    const char* value = std::getenv("QV_AUTO_ANSWER");
    return value && *value;
}

void SetMessageOpeningHook(void (*hook)()) { openingHook = hook; }

MsgAnswer ShowMessage(const MessageRequest& request)
{
    if (openingHook)
        openingHook();
    if (AutoAnswerMessages() || !currentHost)
        return consoleHost.show(request);
    return currentHost->show(request);
}

MsgAnswer ShowMessage(const std::string& text, const std::string& caption, MsgButtons buttons,
                      MsgIcon icon, int defaultButton)
{
    return ShowMessage(MessageRequest{text, caption, buttons, icon, defaultButton});
}

} // namespace qv
