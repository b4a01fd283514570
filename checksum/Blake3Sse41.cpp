// BLAKE3 four lanes at a time in 128-bit registers; this file alone is
// compiled for SSE4.1 (see CMakeLists.txt).
#include "checksum/Blake3Kernels.h"

#if defined(__x86_64__)
#include <immintrin.h>

namespace velmar::blake3 {
namespace {

constexpr std::size_t W = 4;
using Reg = std::uint32_t __attribute__((vector_size(16)));

// Rotations by whole bytes are one byte shuffle each.
inline Reg Rot16(Reg x) {
    return Reg(_mm_shuffle_epi8(__m128i(x), _mm_setr_epi8(2, 3, 0, 1, 6, 7, 4, 5, 10, 11, 8, 9, 14, 15, 12, 13)));
}
inline Reg Rot8(Reg x) {
    return Reg(_mm_shuffle_epi8(__m128i(x), _mm_setr_epi8(1, 2, 3, 0, 5, 6, 7, 4, 9, 10, 11, 8, 13, 14, 15, 12)));
}
inline Reg Rot12(Reg x) { return x >> 12 | x << 20; }
inline Reg Rot7(Reg x) { return x >> 7 | x << 25; }

inline void Transpose(Reg rows[4]) {
    const __m128i a = _mm_unpacklo_epi32(__m128i(rows[0]), __m128i(rows[1]));
    const __m128i b = _mm_unpackhi_epi32(__m128i(rows[0]), __m128i(rows[1]));
    const __m128i c = _mm_unpacklo_epi32(__m128i(rows[2]), __m128i(rows[3]));
    const __m128i d = _mm_unpackhi_epi32(__m128i(rows[2]), __m128i(rows[3]));
    rows[0] = Reg(_mm_unpacklo_epi64(a, c));
    rows[1] = Reg(_mm_unpackhi_epi64(a, c));
    rows[2] = Reg(_mm_unpacklo_epi64(b, d));
    rows[3] = Reg(_mm_unpackhi_epi64(b, d));
}

}  // namespace
}  // namespace velmar::blake3

#include "checksum/Blake3LanesBody.h"

namespace velmar::blake3 {

void HashManySse41(const std::uint8_t* const* inputs, std::size_t count, std::size_t blocks, std::uint64_t counter,
                   bool incrementCounter, std::uint8_t flags, std::uint8_t flagsStart, std::uint8_t flagsEnd,
                   std::uint8_t* out) {
    HashManyWith(HashManyPortable, inputs, count, blocks, counter, incrementCounter, flags, flagsStart, flagsEnd, out);
}

}  // namespace velmar::blake3

#else

namespace velmar::blake3 {

void HashManySse41(const std::uint8_t* const* inputs, std::size_t count, std::size_t blocks, std::uint64_t counter,
                   bool incrementCounter, std::uint8_t flags, std::uint8_t flagsStart, std::uint8_t flagsEnd,
                   std::uint8_t* out) {
    HashManyPortable(inputs, count, blocks, counter, incrementCounter, flags, flagsStart, flagsEnd, out);
}

}  // namespace velmar::blake3

#endif
