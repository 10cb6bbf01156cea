// The momentum line's ratios over a run of bars: 128-bit and, where the processor has AVX, 256-bit
// vectors doing the same operations in the same order as the bar-by-bar form.
#include "chartmodel/MomentumRatios.h"

#include "chartmodel/IndicatorCalc.h"

#include <cstdint>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QV_X86_VECTORS 1
#endif

namespace qv {
namespace {

inline bool OneRatio(const Bar* bars, size_t n, size_t i, float* out)
{
    const float then = bars[i - n].close;
    if (then == 0)
        return false;
    out[i] = float(100.0 * bars[i].close / then);
    return true;
}

#if defined(QV_X86_VECTORS)

// The first bar whose output lies on a 16-byte boundary, as the stores around the caches need.
size_t AlignedStart(const float* out, size_t count)
{
    size_t i = 0;
    while (i < count && (reinterpret_cast<uintptr_t>(out + i) & 15) != 0)
        ++i;
    return i;
}

inline void StoreFour(float* at, __m128 four, bool pastCaches)
{
    if (pastCaches)
        _mm_stream_ps(at, four);
    else
        _mm_storeu_ps(at, four);
}

// The closes are gathered from the bars two by two as floats and widened together.
inline __m128d Closes2(const Bar* bars, size_t at)
{
    return _mm_cvtps_pd(_mm_unpacklo_ps(_mm_load_ss(&bars[at].close), _mm_load_ss(&bars[at + 1].close)));
}

size_t NarrowRatios(const Bar* bars, size_t n, size_t i, size_t count, float* out, bool pastCaches, bool& zero)
{
    const __m128d hundred = _mm_set1_pd(100.0), nought = _mm_setzero_pd();
    __m128d zeros = nought;
    for (; i + 4 <= count; i += 4) {
        const __m128d then0 = Closes2(bars, i - n), then1 = Closes2(bars, i + 2 - n);
        zeros = _mm_or_pd(zeros, _mm_or_pd(_mm_cmpeq_pd(then0, nought), _mm_cmpeq_pd(then1, nought)));
        const __m128 low = _mm_cvtpd_ps(_mm_div_pd(_mm_mul_pd(hundred, Closes2(bars, i)), then0));
        const __m128 high = _mm_cvtpd_ps(_mm_div_pd(_mm_mul_pd(hundred, Closes2(bars, i + 2)), then1));
        StoreFour(out + i, _mm_movelh_ps(low, high), pastCaches);
    }
    zero = _mm_movemask_pd(zeros) != 0;
    return i;
}

__attribute__((target("avx"))) inline __m256d Closes4(const Bar* bars, size_t at)
{
    return _mm256_cvtps_pd(_mm_setr_ps(bars[at].close, bars[at + 1].close, bars[at + 2].close, bars[at + 3].close));
}

// Four bars a division: the widened operations round as the 128-bit ones do.
__attribute__((target("avx"))) size_t WideRatios(const Bar* bars, size_t n, size_t i, size_t count, float* out,
                                                 bool pastCaches, bool& zero)
{
    const __m256d hundred = _mm256_set1_pd(100.0), nought = _mm256_setzero_pd();
    __m256d zeros = nought;
    for (; i + 4 <= count; i += 4) {
        const __m256d then = Closes4(bars, i - n);
        zeros = _mm256_or_pd(zeros, _mm256_cmp_pd(then, nought, _CMP_EQ_OQ));
        StoreFour(out + i, _mm256_cvtpd_ps(_mm256_div_pd(_mm256_mul_pd(hundred, Closes4(bars, i)), then)), pastCaches);
    }
    zero = _mm256_movemask_pd(zeros) != 0;
    return i;
}

bool HasAvx()
{
    static const bool has = __builtin_cpu_supports("avx");
    return has;
}

#endif

} // namespace

bool MomentumRatios(const Bar* bars, size_t n, size_t count, float* out, bool pastCaches, VectorWidth width)
{
    size_t i = 0;
#if defined(QV_X86_VECTORS)
    if (pastCaches) {
        for (const size_t start = AlignedStart(out, count); i < start; ++i)
            if (!OneRatio(bars, n, i, out))
                return false;
    }
    bool zero = false;
    i = width == VectorWidth::Widest && HasAvx() ? WideRatios(bars, n, i, count, out, pastCaches, zero)
                                                 : NarrowRatios(bars, n, i, count, out, pastCaches, zero);
    if (zero)
        return false;
#else
    (void)pastCaches;
    (void)width;
#endif
    for (; i < count; ++i)
        if (!OneRatio(bars, n, i, out))
            return false;
    return true;
}

void EndWritesPastCaches()
{
#if defined(QV_X86_VECTORS)
    _mm_sfence();
#endif
}

} // namespace qv
