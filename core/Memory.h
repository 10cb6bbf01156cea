// Guarded memory: every data block of the program is allocated, grown and freed here. A request that
// the heap cannot meet asks the user to Retry or Cancel; Cancel ends the program with code 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace qv {

// count x size zeroed bytes; context names the request in the failure box (may be null).
void* ProCalloc(uint32_t count, uint32_t size, const char* context);
// Resizes a block, keeping its contents up to the smaller size. A null block allocates.
void* ProRealloc(void* block, uint32_t newSize);
// Frees a block; null is ignored.
void ProFree(void* block);
// Overwrites the whole heap block with zeros, then frees it.
void ProZeroFree(void* block);
// The heap's size of a block (at least what was asked for); 0 for null.
size_t ProBlockSize(const void* block);
// Length of a NUL-ended text; 0 (with a debugger note) when it cannot be read.
uint32_t ProStrlen(const char* text);
// Shows the Retry/Cancel box; true for Retry. Cancel ends the program with exit code 1.
bool ReportMemoryFailure(const char* context);

// Test seam: consulted before every heap request with the bytes asked for. Returning true makes the
// request fail as if the heap had no room; throwing stands for a fault inside the heap call.
using AllocationFaultHook = std::function<bool(size_t bytes)>;
void SetAllocationFaultHook(AllocationFaultHook hook);

} // namespace qv
