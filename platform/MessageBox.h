// Message boxes: the core asks a question through a host that the window layer or a test installs.
#pragma once

#include <string>

namespace qv {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgIcon { None, Information, Exclamation, Stop, Question };
// Answers keep the numbers of the Windows button ids, which some stored settings and callers compare.
enum class MsgAnswer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageRequest {
    std::string text;    // Windows-1252
    std::string caption; // Windows-1252; empty means the program's name
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    int defaultButton = 0; // 0-based index among the buttons
};

// The answer a box gives when nobody is asked: its default button.
MsgAnswer DefaultAnswer(const MessageRequest& request);

class MessageBoxHost {
public:
    virtual ~MessageBoxHost() = default;
    virtual MsgAnswer show(const MessageRequest& request) = 0;
};

// Installs the host (null restores the console host). The previous host is returned.
MessageBoxHost* SetMessageBoxHost(MessageBoxHost* host);

// Called before every box is shown, to clear the screen for it: the start-up splash stays on top of
// every other window and eats the first click, so it hides itself here. Null removes the hook.
void SetMessageOpeningHook(void (*hook)());

// True when QV_AUTO_ANSWER is set: every box takes its default button and writes its text to stderr.
bool AutoAnswerMessages();

MsgAnswer ShowMessage(const MessageRequest& request);
MsgAnswer ShowMessage(const std::string& text, const std::string& caption = {},
                      MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None,
                      int defaultButton = 0);

} // namespace qv
