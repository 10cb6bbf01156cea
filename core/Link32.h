// A 32-bit link in place of a pointer inside a record whose in-memory layout has a 32-bit pointer
// there: the field keeps the layout's size and offset and holds a slot number of a program-wide
// pointer table; reading it gives the pointer back.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// The slot of a pointer (0 for null); one pointer value keeps one slot for the run of the program.
uint32_t PointerSlot(const void* pointer);
// The pointer of a slot; null for slot 0 or a slot never handed out.
void* SlotPointer(uint32_t slot);

template <typename T>
class Link32 {
public:
    Link32() = default;
    Link32(T* pointer) : slot_(PointerSlot(pointer)) {}
    Link32& operator=(T* pointer)
    {
        slot_ = PointerSlot(pointer);
        return *this;
    }

    T* get() const { return static_cast<T*>(SlotPointer(slot_)); }
    operator T*() const { return get(); }
    T* operator->() const { return get(); }
    T& operator[](size_t i) const { return get()[i]; }
    uint32_t slot() const { return slot_; }

private:
    uint32_t slot_ = 0;
};

} // namespace qv
