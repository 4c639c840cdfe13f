// The two loops of a MIX over its weight row: the dot product of the inputs
// with the row, and the row's training. They take most of a mixing model's
// time, so they run on SSE2 vectors (the x86-64 baseline) eight weights at a
// time. Rows and input arrays must have kMixSlack readable entries after
// their end: the last group of eight reads past the row, and its inputs past
// `m` are masked to 0, which leaves the weights read there unchanged.
#pragma once

#include "archive/components.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zpaq {

constexpr int kMixSlack = 7;

#if defined(__SSE2__)

namespace mixdetail {

/// Lane masks of a last group of 0..7 inputs.
struct TailMasks
{
    alignas(16) std::int32_t lanes[8][8];
};

constexpr TailMasks makeTailMasks()
{
    TailMasks t{};
    for (int n = 0; n < 8; ++n)
        for (int l = 0; l < 8; ++l)
            t.lanes[n][l] = l < n ? -1 : 0;
    return t;
}

inline constexpr TailMasks kTailMasks = makeTailMasks();

inline __m128i load4(const std::int32_t *p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}

/// Inputs t .. t + 7 of `m`, those past `m` as 0.
inline void loadGroup(const int *in, int t, int m, __m128i &in0, __m128i &in1)
{
    in0 = load4(in + t);
    in1 = load4(in + t + 4);
    if (m - t < 8) {
        const std::int32_t *mask = kTailMasks.lanes[m - t];
        in0 = _mm_and_si128(in0, load4(mask));
        in1 = _mm_and_si128(in1, load4(mask + 4));
    }
}

/// The low 32 bits of each lane's product with `b` (SSE2 has no pmulld).
inline __m128i mullo(__m128i a, __m128i b)
{
    const __m128i even = _mm_mul_epu32(a, b);
    const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
    return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                              _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
}

/// Four weights plus their steps for inputs `in` and error `err`, within
/// -2^19..2^19-1.
inline __m128i train4(__m128i w, __m128i in, __m128i err)
{
    const __m128i hi = _mm_set1_epi32(524287);
    const __m128i lo = _mm_set1_epi32(-524288);
    const __m128i step = _mm_srai_epi32(_mm_add_epi32(mullo(in, err), _mm_set1_epi32(4096)), 13);
    __m128i v = _mm_add_epi32(w, step);
    const __m128i over = _mm_cmpgt_epi32(v, hi);
    v = _mm_or_si128(_mm_and_si128(over, hi), _mm_andnot_si128(over, v));
    const __m128i under = _mm_cmplt_epi32(v, lo);
    return _mm_or_si128(_mm_and_si128(under, lo), _mm_andnot_si128(under, v));
}

} // namespace mixdetail

/// Sum over t < m of (w[t] >> 8) * in[t]. Weights >> 8 and inputs both fit
/// 16 bits, so pmaddwd forms the products; the sum fits 32 bits.
inline std::int32_t mixDot(const std::int32_t *w, const int *in, int m)
{
    using namespace mixdetail;
    __m128i acc = _mm_setzero_si128();
    for (int t = 0; t < m; t += 8) {
        __m128i in0, in1;
        loadGroup(in, t, m, in0, in1);
        const __m128i w16 = _mm_packs_epi32(_mm_srai_epi32(load4(w + t), 8),
                                            _mm_srai_epi32(load4(w + t + 4), 8));
        acc = _mm_add_epi32(acc, _mm_madd_epi16(w16, _mm_packs_epi32(in0, in1)));
    }
    acc = _mm_add_epi32(acc, _mm_shuffle_epi32(acc, _MM_SHUFFLE(1, 0, 3, 2)));
    acc = _mm_add_epi32(acc, _mm_shuffle_epi32(acc, _MM_SHUFFLE(2, 3, 0, 1)));
    return _mm_cvtsi128_si32(acc);
}

/// w[t] += (err * in[t] + 4096) >> 13 for t < m, kept within -2^19..2^19-1.
/// |err| < 2^19 and |in| < 2^11, so each product fits 32 bits.
inline void mixTrain(std::int32_t *w, const int *in, int m, std::int32_t err)
{
    using namespace mixdetail;
    const __m128i e = _mm_set1_epi32(err);
    for (int t = 0; t < m; t += 8) {
        __m128i in0, in1;
        loadGroup(in, t, m, in0, in1);
        __m128i *row = reinterpret_cast<__m128i *>(w + t);
        _mm_storeu_si128(row, train4(load4(w + t), in0, e));
        _mm_storeu_si128(row + 1, train4(load4(w + t + 4), in1, e));
    }
}

#else

inline std::int32_t mixDot(const std::int32_t *w, const int *in, int m)
{
    std::int32_t dot = 0;
    for (int t = 0; t < m; ++t)
        dot += (w[t] >> 8) * in[t];
    return dot;
}

inline void mixTrain(std::int32_t *w, const int *in, int m, std::int32_t err)
{
    for (int t = 0; t < m; ++t)
        w[t] = clamp512k(std::int32_t(w[t] + ((err * in[t] + 4096) >> 13)));
}

#endif

} // namespace zpaq
