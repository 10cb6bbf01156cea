// Guarded allocator. A fault inside a heap call is written to the debugger output and counts as a
// failed request; the user sees only the failure box.
#include "core/Memory.h"

#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/ProgramExit.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <mutex>
#include <string>

namespace qv {
namespace {

std::atomic<bool> hookSet{false};
std::mutex hookMutex;
AllocationFaultHook faultHook;

// True when the hook asks this request to fail.
bool InjectedFailure(size_t bytes)
{
    if (!hookSet.load(std::memory_order_acquire))
        return false;
    AllocationFaultHook hook;
    {
        std::lock_guard lock(hookMutex);
        hook = faultHook;
    }
    return hook && hook(bytes);
}

template <typename Call>
void* Guarded(Call call, size_t bytes, const char* place)
{
    try {
        if (InjectedFailure(bytes))
            return nullptr;
        return call();
    } catch (...) {
        OutputDebugText(place);
        NoteProgramFault();
        return nullptr;
    }
}

} // namespace

void SetAllocationFaultHook(AllocationFaultHook hook)
{
    std::lock_guard lock(hookMutex);
    faultHook = std::move(hook);
    hookSet.store(bool(faultHook), std::memory_order_release);
}

bool ReportMemoryFailure(const char* context)
{
    std::string text = "Serious Error: Invalid memory request ";
    text += context ? context : "";
    text += "\n\nAn invalid memory request was made. Close down other applications and retry\n\nCancel exits";
    if (ShowMessage(text, {}, MsgButtons::RetryCancel, MsgIcon::Exclamation) == MsgAnswer::Retry)
        return true;
    EndProgram(1);
}

void* ProCalloc(uint32_t count, uint32_t size, const char* context)
{
    for (;;) {
        void* block = Guarded([&] { return std::calloc(count, size); }, size_t(count) * size,
                              "Exception Memory.cpp - ProCalloc");
        if (block)
            return block;
        ReportMemoryFailure(context);
    }
}

void* ProRealloc(void* block, uint32_t newSize)
{
    // realloc to zero bytes frees the block and returns null, which a retry would then free again:
    // keep a one-byte block instead.
    size_t bytes = newSize ? newSize : 1;
    for (;;) {
        void* grown = Guarded([&] { return std::realloc(block, bytes); }, bytes,
                              "Exception Memory - ProRealloc");
        if (grown)
            return grown;
        ReportMemoryFailure(nullptr);
    }
}

void ProFree(void* block)
{
    if (block)
        std::free(block);
}

size_t ProBlockSize(const void* block)
{
    return block ? malloc_usable_size(const_cast<void*>(block)) : 0;
}

void ProZeroFree(void* block)
{
    size_t size = ProBlockSize(block);
    if (size > 0)
        std::memset(block, 0, size);
    ProFree(block);
}

uint32_t ProStrlen(const char* text)
{
    if (!text) {
        OutputDebugText("Exception with strlen");
        return 0;
    }
    return uint32_t(std::strlen(text));
}

} // namespace qv
