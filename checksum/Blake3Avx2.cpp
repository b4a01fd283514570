// BLAKE3 eight lanes at a time in 256-bit registers; this file alone is
// compiled for AVX2 (see CMakeLists.txt).
#include "checksum/Blake3Kernels.h"

#if defined(__x86_64__)
#include <immintrin.h>

namespace velmar::blake3 {
namespace {

constexpr std::size_t W = 8;
using Reg = std::uint32_t __attribute__((vector_size(32)));

// Rotations by whole bytes are one byte shuffle each.
inline Reg Rot16(Reg x) {
    return Reg(_mm256_shuffle_epi8(__m256i(x), _mm256_setr_epi8(2, 3, 0, 1, 6, 7, 4, 5, 10, 11, 8, 9, 14, 15, 12, 13,
                                                                2, 3, 0, 1, 6, 7, 4, 5, 10, 11, 8, 9, 14, 15, 12, 13)));
}
inline Reg Rot8(Reg x) {
    return Reg(_mm256_shuffle_epi8(__m256i(x), _mm256_setr_epi8(1, 2, 3, 0, 5, 6, 7, 4, 9, 10, 11, 8, 13, 14, 15, 12,
                                                                1, 2, 3, 0, 5, 6, 7, 4, 9, 10, 11, 8, 13, 14, 15, 12)));
}
inline Reg Rot12(Reg x) { return x >> 12 | x << 20; }
inline Reg Rot7(Reg x) { return x >> 7 | x << 25; }

// Words and pairs of words interleaved within each 128-bit half, then the
// halves swapped across rows four apart.
inline void Transpose(Reg rows[8]) {
    __m256i t[8], u[8];
    for (int i = 0; i < 4; ++i) {
        t[2 * i] = _mm256_unpacklo_epi32(__m256i(rows[2 * i]), __m256i(rows[2 * i + 1]));
        t[2 * i + 1] = _mm256_unpackhi_epi32(__m256i(rows[2 * i]), __m256i(rows[2 * i + 1]));
    }
    for (int j = 0; j < 2; ++j) {
        u[4 * j] = _mm256_unpacklo_epi64(t[4 * j], t[4 * j + 2]);
        u[4 * j + 1] = _mm256_unpackhi_epi64(t[4 * j], t[4 * j + 2]);
        u[4 * j + 2] = _mm256_unpacklo_epi64(t[4 * j + 1], t[4 * j + 3]);
        u[4 * j + 3] = _mm256_unpackhi_epi64(t[4 * j + 1], t[4 * j + 3]);
    }
    for (int k = 0; k < 4; ++k) {
        rows[k] = Reg(_mm256_permute2x128_si256(u[k], u[4 + k], 0x20));
        rows[4 + k] = Reg(_mm256_permute2x128_si256(u[k], u[4 + k], 0x31));
    }
}

}  // namespace
}  // namespace velmar::blake3

#include "checksum/Blake3LanesBody.h"

namespace velmar::blake3 {

void HashManyAvx2(const std::uint8_t* const* inputs, std::size_t count, std::size_t blocks, std::uint64_t counter,
                  bool incrementCounter, std::uint8_t flags, std::uint8_t flagsStart, std::uint8_t flagsEnd,
                  std::uint8_t* out) {
    HashManyWith(HashManySse41, inputs, count, blocks, counter, incrementCounter, flags, flagsStart, flagsEnd, out);
}

}  // namespace velmar::blake3

#else

namespace velmar::blake3 {

void HashManyAvx2(const std::uint8_t* const* inputs, std::size_t count, std::size_t blocks, std::uint64_t counter,
                  bool incrementCounter, std::uint8_t flags, std::uint8_t flagsStart, std::uint8_t flagsEnd,
                  std::uint8_t* out) {
    HashManyPortable(inputs, count, blocks, counter, incrementCounter, flags, flagsStart, flagsEnd, out);
}

}  // namespace velmar::blake3

#endif
