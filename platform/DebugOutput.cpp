// Debugger output routing.
#include "platform/DebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace qv {
namespace {
std::mutex sinkMutex;
DebugSink& Sink()
{
    static DebugSink sink;
    return sink;
}
} // namespace

void OutputDebugText(const std::string& text)
{
    std::lock_guard lock(sinkMutex);
    if (Sink()) {
        Sink()(text);
        return;
    }
    if (std::getenv("QV_DEBUG"))
        std::fprintf(stderr, "[debug] %s\n", text.c_str());
}

DebugSink SetDebugSink(DebugSink sink)
{
    std::lock_guard lock(sinkMutex);
    DebugSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

} // namespace qv
