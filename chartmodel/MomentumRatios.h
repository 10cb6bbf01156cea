// The ratios of closes n bars apart that the momentum line draws, worked out for a run of bars at a
// time with the widest vectors the processor has.
#pragma once

#include <cstddef>

namespace qv {

struct Bar;

enum class VectorWidth {
    Widest, // what the processor offers (256-bit where it has AVX)
    Narrow, // 128-bit only, as every x86-64 processor has
};

// For each of `count` bars from `bars` (the n bars before them readable), 100 * close / the close n
// bars before, as float(100.0 * close / then) gives it, to the last bit. False, with the outputs to be
// written again, where a divisor is 0. With `pastCaches` the outputs are written around the caches,
// for a series too big to stay in them; EndWritesPastCaches then orders them before any later store,
// once for the whole series (a fence after every run would wait for each run's writes).
bool MomentumRatios(const Bar* bars, size_t n, size_t count, float* out, bool pastCaches,
                    VectorWidth width = VectorWidth::Widest);
void EndWritesPastCaches();

} // namespace qv
