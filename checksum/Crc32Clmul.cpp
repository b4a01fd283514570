// Carry-less multiply folding.
//
// The CRC of a message depends only on the message polynomial modulo P. A
// 128-bit block followed by d more bits of message contributes the block
// times x^d; multiplying each 64-bit half of the block by x^d (reduced modulo
// P, see FoldConstant) yields a value of at most 96 bits that is congruent to
// it and can simply be XORed into the block d bits further on. Keeping several
// blocks in flight at once ("accumulators") hides the multiplier latency.
//
// Once everything is folded into a single 128-bit remainder R, R's 16 bytes
// followed by the unfolded tail have the same CRC as the original input, so a
// table-driven pass over those fewer than 32 bytes finishes the job and no
// Barrett reduction is needed. The running value enters by being XORed into
// the first four bytes, after which the folding works from a start value of 0.
//
// Only these functions are compiled for PCLMULQDQ, AVX2 and AVX-512; the rest of
// the program stays generic x86-64 and calls them only after the CPU check
// in Crc32Dispatch.cpp.
#include "checksum/Crc32Kernels.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace velmar::crc32 {

#if defined(__x86_64__)

#define VELMAR_TARGET_CLMUL __attribute__((target("pclmul,sse4.1")))
#define VELMAR_TARGET_VPCLMUL256 __attribute__((target("vpclmulqdq,avx2,pclmul,sse4.1")))
#define VELMAR_TARGET_VPCLMUL \
    __attribute__((target("vpclmulqdq,avx512f,avx512bw,avx512vl,pclmul,sse4.1")))

namespace {

// {low-half multiplier, high-half multiplier} for each fold distance in bits.
constexpr std::uint64_t kFold128Lo = FoldConstant(128 + 32), kFold128Hi = FoldConstant(128 - 32);
constexpr std::uint64_t kFold256Lo = FoldConstant(256 + 32), kFold256Hi = FoldConstant(256 - 32);
constexpr std::uint64_t kFold512Lo = FoldConstant(512 + 32), kFold512Hi = FoldConstant(512 - 32);
constexpr std::uint64_t kFold1024Lo = FoldConstant(1024 + 32), kFold1024Hi = FoldConstant(1024 - 32);
constexpr std::uint64_t kFold2048Lo = FoldConstant(2048 + 32), kFold2048Hi = FoldConstant(2048 - 32);

VELMAR_TARGET_CLMUL inline __m128i Constants(std::uint64_t lo, std::uint64_t hi) {
    return _mm_set_epi64x(static_cast<long long>(hi), static_cast<long long>(lo));
}

VELMAR_TARGET_CLMUL inline __m128i Load128(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// x carried forward by the distance k was made for, added to the block there.
VELMAR_TARGET_CLMUL inline __m128i Fold(__m128i x, __m128i k, __m128i next) {
    const __m128i lo = _mm_clmulepi64_si128(x, k, 0x00);
    const __m128i hi = _mm_clmulepi64_si128(x, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(lo, hi), next);
}

VELMAR_TARGET_CLMUL std::uint32_t Finish(__m128i remainder, const std::uint8_t* tail, std::size_t n) {
    alignas(16) std::uint8_t bytes[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(bytes), remainder);
    return UpdateSlicing16(UpdateSlicing16(0, bytes, 16), tail, n);
}

// The same pair in both lanes.
VELMAR_TARGET_VPCLMUL256 inline __m256i Constants2(std::uint64_t lo, std::uint64_t hi) {
    const auto l = static_cast<long long>(lo), h = static_cast<long long>(hi);
    return _mm256_set_epi64x(h, l, h, l);
}

VELMAR_TARGET_VPCLMUL256 inline __m256i Load256(const std::uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// The same as Fold, on two independent 128-bit lanes at once.
VELMAR_TARGET_VPCLMUL256 inline __m256i Fold(__m256i x, __m256i k, __m256i next) {
    const __m256i lo = _mm256_clmulepi64_epi128(x, k, 0x00);
    const __m256i hi = _mm256_clmulepi64_epi128(x, k, 0x11);
    return _mm256_xor_si256(_mm256_xor_si256(lo, hi), next);
}

// The same pair in each of the four lanes.
VELMAR_TARGET_VPCLMUL inline __m512i Constants4(std::uint64_t lo, std::uint64_t hi) {
    const auto l = static_cast<long long>(lo), h = static_cast<long long>(hi);
    return _mm512_set_epi64(h, l, h, l, h, l, h, l);
}

VELMAR_TARGET_VPCLMUL inline __m512i Load512(const std::uint8_t* p) {
    return _mm512_loadu_si512(p);
}

// The same as Fold, on four independent 128-bit lanes at once.
VELMAR_TARGET_VPCLMUL inline __m512i Fold(__m512i x, __m512i k, __m512i next) {
    const __m512i lo = _mm512_clmulepi64_epi128(x, k, 0x00);
    const __m512i hi = _mm512_clmulepi64_epi128(x, k, 0x11);
    return _mm512_ternarylogic_epi64(lo, hi, next, 0x96);  // lo ^ hi ^ next
}

}  // namespace

VELMAR_TARGET_CLMUL std::uint32_t UpdateClmul(std::uint32_t crc, const std::uint8_t* p, std::size_t n) {
    if (n < 64) return UpdateSlicing16(crc, p, n);

    // Four accumulators over consecutive 16-byte blocks; each folds 512 bits
    // forward onto its counterpart in the next 64 bytes.
    __m128i x0 = _mm_xor_si128(Load128(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x1 = Load128(p + 16);
    __m128i x2 = Load128(p + 32);
    __m128i x3 = Load128(p + 48);
    p += 64;
    n -= 64;

    const __m128i k512 = Constants(kFold512Lo, kFold512Hi);
    while (n >= 64) {
        x0 = Fold(x0, k512, Load128(p));
        x1 = Fold(x1, k512, Load128(p + 16));
        x2 = Fold(x2, k512, Load128(p + 32));
        x3 = Fold(x3, k512, Load128(p + 48));
        p += 64;
        n -= 64;
    }

    const __m128i k128 = Constants(kFold128Lo, kFold128Hi);
    x1 = Fold(x0, k128, x1);
    x2 = Fold(x1, k128, x2);
    x3 = Fold(x2, k128, x3);
    while (n >= 16) {
        x3 = Fold(x3, k128, Load128(p));
        p += 16;
        n -= 16;
    }
    return Finish(x3, p, n);
}

VELMAR_TARGET_VPCLMUL256 std::uint32_t UpdateVpclmul256(std::uint32_t crc, const std::uint8_t* p, std::size_t n) {
    // Too short to fill the four ymm accumulators; the xmm kernel serves it.
    if (n < 128) return UpdateClmul(crc, p, n);

    // Four accumulators of 32 bytes, i.e. eight 128-bit lanes over 128
    // consecutive bytes; each lane folds 1024 bits forward.
    __m256i y0 = _mm256_xor_si256(Load256(p), _mm256_zextsi128_si256(_mm_cvtsi32_si128(static_cast<int>(crc))));
    __m256i y1 = Load256(p + 32);
    __m256i y2 = Load256(p + 64);
    __m256i y3 = Load256(p + 96);
    p += 128;
    n -= 128;

    const __m256i k1024 = Constants2(kFold1024Lo, kFold1024Hi);
    while (n >= 128) {
        y0 = Fold(y0, k1024, Load256(p));
        y1 = Fold(y1, k1024, Load256(p + 32));
        y2 = Fold(y2, k1024, Load256(p + 64));
        y3 = Fold(y3, k1024, Load256(p + 96));
        p += 128;
        n -= 128;
    }

    const __m256i k256 = Constants2(kFold256Lo, kFold256Hi);
    y1 = Fold(y0, k256, y1);
    y2 = Fold(y1, k256, y2);
    y3 = Fold(y2, k256, y3);
    while (n >= 32) {
        y3 = Fold(y3, k256, Load256(p));
        p += 32;
        n -= 32;
    }

    // The two lanes of the last accumulator are consecutive 16-byte blocks.
    __m128i x = Fold(_mm256_castsi256_si128(y3), Constants(kFold128Lo, kFold128Hi), _mm256_extracti128_si256(y3, 1));
    if (n >= 16) {
        x = Fold(x, Constants(kFold128Lo, kFold128Hi), Load128(p));
        p += 16;
        n -= 16;
    }
    return Finish(x, p, n);
}

VELMAR_TARGET_VPCLMUL std::uint32_t UpdateVpclmul(std::uint32_t crc, const std::uint8_t* p, std::size_t n) {
    // Streaming from memory, 64-byte loads that straddle cache lines cost a
    // quarter or more of the throughput; a long run first takes the bytes up
    // to the next 64-byte boundary through the tables. Short runs are served
    // from cache, where the split loads cost less than the table pass would.
    if (n >= 4096) {
        const std::size_t head = -reinterpret_cast<std::uintptr_t>(p) & 63;
        crc = UpdateSlicing16(crc, p, head);
        p += head;
        n -= head;
    }
    // Too short to fill the four zmm accumulators; the xmm kernel serves it
    // (any CPU with VPCLMULQDQ has PCLMULQDQ).
    if (n < 256) return UpdateClmul(crc, p, n);

    // Four accumulators of 64 bytes, i.e. sixteen 128-bit lanes over 256
    // consecutive bytes; each lane folds 2048 bits forward.
    __m512i z0 = _mm512_xor_si512(Load512(p),
                                  _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(crc))));
    __m512i z1 = Load512(p + 64);
    __m512i z2 = Load512(p + 128);
    __m512i z3 = Load512(p + 192);
    p += 256;
    n -= 256;

    const __m512i k2048 = Constants4(kFold2048Lo, kFold2048Hi);
    while (n >= 256) {
        z0 = Fold(z0, k2048, Load512(p));
        z1 = Fold(z1, k2048, Load512(p + 64));
        z2 = Fold(z2, k2048, Load512(p + 128));
        z3 = Fold(z3, k2048, Load512(p + 192));
        p += 256;
        n -= 256;
    }

    const __m512i k512 = Constants4(kFold512Lo, kFold512Hi);
    z1 = Fold(z0, k512, z1);
    z2 = Fold(z1, k512, z2);
    z3 = Fold(z2, k512, z3);
    while (n >= 64) {
        z3 = Fold(z3, k512, Load512(p));
        p += 64;
        n -= 64;
    }

    // The four lanes of the last accumulator are consecutive 16-byte blocks.
    alignas(64) std::uint8_t lanes[64];
    _mm512_store_si512(lanes, z3);
    const __m128i k128 = Constants(kFold128Lo, kFold128Hi);
    __m128i x = Load128(lanes);
    x = Fold(x, k128, Load128(lanes + 16));
    x = Fold(x, k128, Load128(lanes + 32));
    x = Fold(x, k128, Load128(lanes + 48));
    while (n >= 16) {
        x = Fold(x, k128, Load128(p));
        p += 16;
        n -= 16;
    }
    return Finish(x, p, n);
}

#else  // no carry-less multiply on this architecture

std::uint32_t UpdateClmul(std::uint32_t crc, const std::uint8_t* p, std::size_t n) {
    return UpdateSlicing16(crc, p, n);
}

std::uint32_t UpdateVpclmul256(std::uint32_t crc, const std::uint8_t* p, std::size_t n) {
    return UpdateSlicing16(crc, p, n);
}

std::uint32_t UpdateVpclmul(std::uint32_t crc, const std::uint8_t* p, std::size_t n) {
    return UpdateSlicing16(crc, p, n);
}

#endif

}  // namespace velmar::crc32
