// Program end: a replaceable handler, the process exit otherwise.
#include "platform/ProgramExit.h"

#include <atomic>
#include <cstdlib>

namespace qv {
namespace {
ExitHandler& Handler()
{
    static ExitHandler handler;
    return handler;
}

std::atomic<bool> faultNoted{false};
} // namespace

void NoteProgramFault() { faultNoted.store(true); }
bool ProgramFaultNoted() { return faultNoted.load(); }
void ClearProgramFault() { faultNoted.store(false); }

ExitHandler SetExitHandler(ExitHandler handler)
{
    ExitHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

void EndProgram(int code)
{
    if (Handler())
        Handler()(code);
    std::exit(code);
}

ThrowOnProgramEnd::ThrowOnProgramEnd()
    : previous_(SetExitHandler([](int code) { throw ProgramEnded(code); }))
{
}

ThrowOnProgramEnd::~ThrowOnProgramEnd() { SetExitHandler(std::move(previous_)); }

} // namespace qv
