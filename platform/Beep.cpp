// The system sound handler.
#include "platform/Beep.h"

#include <cstdio>
#include <mutex>

namespace qv {
namespace {

std::mutex g_mutex;
BeepHandler g_handler;

} // namespace

void SystemBeep()
{
    BeepHandler handler;
    {
        std::lock_guard lock(g_mutex);
        handler = g_handler;
    }
    if (handler) {
        handler();
        return;
    }
    std::fputc('\a', stderr);
    std::fflush(stderr);
}

BeepHandler SetBeepHandler(BeepHandler handler)
{
    std::lock_guard lock(g_mutex);
    std::swap(g_handler, handler);
    return handler;
}

} // namespace qv
