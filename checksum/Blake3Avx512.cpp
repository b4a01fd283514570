// BLAKE3 sixteen lanes at a time in 512-bit registers; this file alone is
// compiled for AVX-512F and VL (see CMakeLists.txt).
#include "checksum/Blake3Kernels.h"

#if defined(__x86_64__)
// GCC 12's AVX-512 headers start some results from a deliberately
// undefined register, which its own warnings then report at every use.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

namespace velmar::blake3 {
namespace {

constexpr std::size_t W = 16;
using Reg = std::uint32_t __attribute__((vector_size(64)));

// VPRORD rotates in one instruction.
inline Reg Rot16(Reg x) { return Reg(_mm512_ror_epi32(__m512i(x), 16)); }
inline Reg Rot12(Reg x) { return Reg(_mm512_ror_epi32(__m512i(x), 12)); }
inline Reg Rot8(Reg x) { return Reg(_mm512_ror_epi32(__m512i(x), 8)); }
inline Reg Rot7(Reg x) { return Reg(_mm512_ror_epi32(__m512i(x), 7)); }

// Words and pairs of words interleaved within each 128-bit quarter, then
// the quarters moved across rows as a 4 x 4 transpose of their own.
inline void Transpose(Reg rows[16]) {
    __m512i t[16], u[16];
    for (int i = 0; i < 8; ++i) {
        t[2 * i] = _mm512_unpacklo_epi32(__m512i(rows[2 * i]), __m512i(rows[2 * i + 1]));
        t[2 * i + 1] = _mm512_unpackhi_epi32(__m512i(rows[2 * i]), __m512i(rows[2 * i + 1]));
    }
    for (int j = 0; j < 4; ++j) {
        u[4 * j] = _mm512_unpacklo_epi64(t[4 * j], t[4 * j + 2]);
        u[4 * j + 1] = _mm512_unpackhi_epi64(t[4 * j], t[4 * j + 2]);
        u[4 * j + 2] = _mm512_unpacklo_epi64(t[4 * j + 1], t[4 * j + 3]);
        u[4 * j + 3] = _mm512_unpackhi_epi64(t[4 * j + 1], t[4 * j + 3]);
    }
    // u[4j + k] holds, in quarter q, word 4q + k of rows 4j to 4j + 3.
    for (int k = 0; k < 4; ++k) {
        const __m512i p0 = _mm512_shuffle_i32x4(u[k], u[4 + k], 0x44), p1 = _mm512_shuffle_i32x4(u[k], u[4 + k], 0xEE);
        const __m512i p2 = _mm512_shuffle_i32x4(u[8 + k], u[12 + k], 0x44),
                      p3 = _mm512_shuffle_i32x4(u[8 + k], u[12 + k], 0xEE);
        rows[k] = Reg(_mm512_shuffle_i32x4(p0, p2, 0x88));
        rows[4 + k] = Reg(_mm512_shuffle_i32x4(p0, p2, 0xDD));
        rows[8 + k] = Reg(_mm512_shuffle_i32x4(p1, p3, 0x88));
        rows[12 + k] = Reg(_mm512_shuffle_i32x4(p1, p3, 0xDD));
    }
}

}  // namespace
}  // namespace velmar::blake3

#include "checksum/Blake3LanesBody.h"

namespace velmar::blake3 {

void HashManyAvx512(const std::uint8_t* const* inputs, std::size_t count, std::size_t blocks, std::uint64_t counter,
                    bool incrementCounter, std::uint8_t flags, std::uint8_t flagsStart, std::uint8_t flagsEnd,
                    std::uint8_t* out) {
    HashManyWith(HashManyAvx2, inputs, count, blocks, counter, incrementCounter, flags, flagsStart, flagsEnd, out);
}

}  // namespace velmar::blake3

#else

namespace velmar::blake3 {

void HashManyAvx512(const std::uint8_t* const* inputs, std::size_t count, std::size_t blocks, std::uint64_t counter,
                    bool incrementCounter, std::uint8_t flags, std::uint8_t flagsStart, std::uint8_t flagsEnd,
                    std::uint8_t* out) {
    HashManyPortable(inputs, count, blocks, counter, incrementCounter, flags, flagsStart, flagsEnd, out);
}

}  // namespace velmar::blake3

#endif
