// Ending the program with an exit code from anywhere, with a hook so that tests can catch the end.
#pragma once

#include <functional>
#include <stdexcept>

namespace qv {

// What the test hook throws in place of ending the process.
struct ProgramEnded : std::runtime_error {
    explicit ProgramEnded(int c) : std::runtime_error("program ended"), code(c) {}
    int code;
};

using ExitHandler = std::function<void(int code)>;

// Installs a handler that runs in place of the process exit (it must not return; if it does, the
// process ends anyway). An empty handler restores the default. Returns the previous handler.
ExitHandler SetExitHandler(ExitHandler handler);

// Runs the cleanup registered by the window layer, then ends the process with the code.
[[noreturn]] void EndProgram(int code);

// Once the program has detected a fault in its own state (an exception inside a heap call), what it
// holds in memory is no longer trusted: from then on no file is saved and the files on the disk stay
// as they are. Tests clear the note again.
void NoteProgramFault();
bool ProgramFaultNoted();
void ClearProgramFault();

// Installs a handler that throws ProgramEnded, for tests; the returned guard restores the old one.
class ThrowOnProgramEnd {
public:
    ThrowOnProgramEnd();
    ~ThrowOnProgramEnd();
    ThrowOnProgramEnd(const ThrowOnProgramEnd&) = delete;
    ThrowOnProgramEnd& operator=(const ThrowOnProgramEnd&) = delete;

private:
    ExitHandler previous_;
};

} // namespace qv
