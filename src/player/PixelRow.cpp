#include "player/PixelRow.h"

#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define CW_PIXELROW_X86 1
#endif

namespace {
int CountScalar(const quint32* a, const quint32* b, int n, int tolerance)
{
    int count = 0;
    for (int k = 0; k < n; ++k) {
        for (int shift = 0; shift < 24; shift += 8) {
            if (std::abs(int((a[k] >> shift) & 0xFF) - int((b[k] >> shift) & 0xFF)) > tolerance) {
                ++count;
                break;
            }
        }
    }
    return count;
}

qint64 SumScalar(const quint32* a, const quint32* b, int n)
{
    qint64 sum = 0;
    for (int k = 0; k < n; ++k) {
        for (int shift = 0; shift < 24; shift += 8)
            sum += std::abs(int((a[k] >> shift) & 0xFF) - int((b[k] >> shift) & 0xFF));
    }
    return sum;
}

#if defined(CW_PIXELROW_X86)
// Bit k set where pixel k of the eight (four) at a and b differs.
__attribute__((target("avx2"), always_inline)) inline unsigned Differing8(const quint32* a, const quint32* b,
                                                                          int tolerance)
{
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a));
    const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b));
    const __m256i distance = _mm256_or_si256(_mm256_subs_epu8(x, y), _mm256_subs_epu8(y, x));
    const __m256i beyond = _mm256_and_si256(_mm256_subs_epu8(distance, _mm256_set1_epi8(static_cast<char>(tolerance))),
                                            _mm256_set1_epi32(0x00FFFFFF));
    const __m256i same = _mm256_cmpeq_epi32(beyond, _mm256_setzero_si256());
    return ~unsigned(_mm256_movemask_ps(_mm256_castsi256_ps(same))) & 0xFFu;
}

__attribute__((target("sse2"), always_inline)) inline unsigned Differing4(const quint32* a, const quint32* b,
                                                                          int tolerance)
{
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    const __m128i distance = _mm_or_si128(_mm_subs_epu8(x, y), _mm_subs_epu8(y, x));
    const __m128i beyond =
        _mm_and_si128(_mm_subs_epu8(distance, _mm_set1_epi8(static_cast<char>(tolerance))), _mm_set1_epi32(0x00FFFFFF));
    const __m128i same = _mm_cmpeq_epi32(beyond, _mm_setzero_si128());
    return ~unsigned(_mm_movemask_ps(_mm_castsi128_ps(same))) & 0xFu;
}

// Lanes of eight (four) pixels; a run that does not fill the last lane ends with one that overlaps
// the lane before it, the pixels counted already shifted off, so nothing past the run is read.
__attribute__((target("avx2"))) int CountAvx2(const quint32* a, const quint32* b, int n, int tolerance)
{
    if (n < 8)
        return CountScalar(a, b, n, tolerance);
    int count = 0;
    int k = 0;
    for (; k + 8 <= n; k += 8)
        count += __builtin_popcount(Differing8(a + k, b + k, tolerance));
    if (k < n)
        count += __builtin_popcount(Differing8(a + n - 8, b + n - 8, tolerance) >> (8 - (n - k)));
    return count;
}

__attribute__((target("sse2"))) int CountSse2(const quint32* a, const quint32* b, int n, int tolerance)
{
    if (n < 4)
        return CountScalar(a, b, n, tolerance);
    int count = 0;
    int k = 0;
    for (; k + 4 <= n; k += 4)
        count += __builtin_popcount(Differing4(a + k, b + k, tolerance));
    if (k < n)
        count += __builtin_popcount(Differing4(a + n - 4, b + n - 4, tolerance) >> (4 - (n - k)));
    return count;
}

// The byte distances of eight pixels at a time added up in four 64-bit lanes.
__attribute__((target("avx2"))) qint64 SumAvx2(const quint32* a, const quint32* b, int n)
{
    const __m256i colour = _mm256_set1_epi32(0x00FFFFFF);
    __m256i sums = _mm256_setzero_si256();
    int k = 0;
    for (; k + 8 <= n; k += 8) {
        const __m256i x = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + k)), colour);
        const __m256i y = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + k)), colour);
        sums = _mm256_add_epi64(sums, _mm256_sad_epu8(x, y));
    }
    alignas(32) qint64 lanes[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), sums);
    return lanes[0] + lanes[1] + lanes[2] + lanes[3] + SumScalar(a + k, b + k, n - k);
}
#endif

using Counter = int (*)(const quint32*, const quint32*, int, int);
using Summer = qint64 (*)(const quint32*, const quint32*, int);

Counter Chosen()
{
#if defined(CW_PIXELROW_X86)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return CountAvx2;
    if (__builtin_cpu_supports("sse2"))
        return CountSse2;
#endif
    return CountScalar;
}

Summer ChosenSummer()
{
#if defined(CW_PIXELROW_X86)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return SumAvx2;
#endif
    return SumScalar;
}
} // namespace

int PixelRow::CountDiffering(const quint32* a, const quint32* b, int n, int tolerance)
{
    static const Counter counter = Chosen();
    return counter(a, b, n, tolerance);
}

qint64 PixelRow::SumDifference(const quint32* a, const quint32* b, int n)
{
    static const Summer summer = ChosenSummer();
    return summer(a, b, n);
}
