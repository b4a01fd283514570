// MD5 on sixteen messages at once.
//
// Each MD5 step needs the result of the step before, so one message runs at
// the latency of that chain and leaves most of the execution units idle.
// With word j of eight messages in the eight elements of one 256-bit
// register (a struct of arrays) the same chain carries eight messages. It
// is longer than the scalar one: the rotate takes two shifts and an OR,
// AVX2 having no vector rotate, and on some CPUs (AMD Zen 5) every vector
// operation takes two cycles instead of one. That latency, not the number
// of instructions, is what bounds one such chain. So the kernels run two
// groups of eight, each with its own chain, step by step side by side: the
// second group costs little more than the waits of the first. Eight or fewer
// live lanes are packed into one group instead, which issues half the work.
//
// With AVX-512VL a second kernel runs the same steps on the same registers
// with less on the chain: VPROLD rotates in one instruction, and VPTERNLOGD
// computes each round function of b, c and d in one. It keeps to 256-bit
// registers: one chain of sixteen lanes in 512-bit registers measured no
// faster than two chains of eight, and the 32 registers AVX-512 gives hold
// both groups' state.
//
// The message words arrive the other way round, each lane's block contiguous
// in its own buffer, so every block is transposed on loading. That work does
// not depend on the chain and runs in the otherwise idle units; it is faster
// than gathering the words with VPGATHERDD.
//
// Only the vector functions are compiled for AVX2 or AVX-512VL; the rest of
// the program stays generic x86-64 and reaches them only after the CPU checks
// below.
#include "checksum/Md5LanesKernels.h"

#include "checksum/CpuFeatures.h"

#include <cstring>
#include <utility>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace velmar {
namespace md5lanes {
namespace {

// The bit count runs modulo 2^64 across its two words.
void CountBlocks(MD5Context* context, std::size_t blocks) {
    const std::uint64_t bits = (std::uint64_t{context->bitCount[1]} << 32 | context->bitCount[0]) +
                               (std::uint64_t{blocks} << 9);
    context->bitCount[0] = static_cast<std::uint32_t>(bits);
    context->bitCount[1] = static_cast<std::uint32_t>(bits >> 32);
}

#if defined(__x86_64__)

#define VELMAR_AVX2 __attribute__((target("avx2")))
#define VELMAR_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline
#define VELMAR_AVX512VL __attribute__((target("avx512f,avx512vl")))
#define VELMAR_AVX512VL_INLINE __attribute__((target("avx512f,avx512vl"), always_inline)) inline

// One word of every lane, lane i in element i. GCC and Clang vector
// arithmetic keeps the steps readable; it compiles to the AVX2 instructions.
using Words = std::uint32_t __attribute__((vector_size(32)));

// kSine[i] = floor(2^32 * |sin(i + 1)|).
constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// The message word step i adds: in order in the first round, then stepping
// by 5, 3 and 7 from 1, 5 and 0.
constexpr int MessageIndex(int i) {
    const int j = i % 16;
    switch (i / 16) {
        case 0: return j;
        case 1: return (5 * j + 1) % 16;
        case 2: return (3 * j + 5) % 16;
        default: return (7 * j) % 16;
    }
}

// The value unchanged, but the compiler may not look through it. Without it
// GCC reassociates the sums in a step and adds the terms that are ready early
// after the round function, on the chain, which costs a tenth of the speed.
VELMAR_AVX2_INLINE Words Settled(Words v) {
    __asm__("" : "+x"(v));
    return v;
}

// Step i of 64. The roles a, b, c, d move one register to the right each
// step. As in the scalar code, everything that does not wait for b goes into
// a first, so only the last operations of the round function sit on the chain.
template <int I>
VELMAR_AVX2_INLINE void Step(Words v[4], const Words x[16]) {
    constexpr int round = I / 16, s = kShift[round][I % 4];
    Words& a = v[(64 - I) % 4];
    const Words b = v[(65 - I) % 4], c = v[(66 - I) % 4], d = v[(67 - I) % 4];

    a = Settled(a + x[MessageIndex(I)] + kSine[I]);
    if constexpr (round == 0) {
        a += d ^ (b & (c ^ d));
    } else if constexpr (round == 1) {
        a += c & ~d;  // (b & d) | (c & ~d), disjoint terms
        a += b & d;
    } else if constexpr (round == 2) {
        a += b ^ (c ^ d);
    } else {
        a += c ^ (b | ~d);
    }
    a = b + ((a << s) | (a >> (32 - s)));
}

// Step i in each of G groups of eight lanes. The groups' chains are
// independent, so the steps of one fill the latency of the other's.
template <int I, int G>
VELMAR_AVX2_INLINE void Steps(Words v[G][4], const Words x[G][16]) {
    for (int g = 0; g < G; ++g) Step<I>(v[g], x[g]);
}

// The 64 steps on one block of each group, and the sums that end it.
template <int G, int... I>
VELMAR_AVX2_INLINE void Compress(Words v[G][4], const Words x[G][16], std::integer_sequence<int, I...>) {
    Words start[G][4];
    std::memcpy(start, v, sizeof start);
    (Steps<I, G>(v, x), ...);
    for (int g = 0; g < G; ++g)
        for (int w = 0; w < 4; ++w) v[g][w] += start[g][w];
}

// VPTERNLOGD looks up bit (b, c, d) of its immediate, b the highest, so the
// immediate for a function of b, c and d is that function of 0xF0, 0xCC, 0xAA.
constexpr int RoundTable(int round) {
    const int b = 0xF0, c = 0xCC, d = 0xAA;
    const int f[4] = {d ^ (b & (c ^ d)), (b & d) | (c & ~d), b ^ (c ^ d), c ^ (b | ~d)};
    return f[round] & 0xFF;
}

template <int Round>
VELMAR_AVX512VL_INLINE Words RoundFunction(Words b, Words c, Words d) {
    return reinterpret_cast<Words>(_mm256_ternarylogic_epi32(
        reinterpret_cast<__m256i>(b), reinterpret_cast<__m256i>(c), reinterpret_cast<__m256i>(d), RoundTable(Round)));
}

template <int S>
VELMAR_AVX512VL_INLINE Words RotateLeft(Words a) {
    return reinterpret_cast<Words>(_mm256_rol_epi32(reinterpret_cast<__m256i>(a), S));
}

// Step<I> with one instruction for the round function and one for the
// rotate. The round function needs b, so it stays on the chain, but as one
// operation instead of two or three.
template <int I>
VELMAR_AVX512VL_INLINE void StepVl(Words v[4], const Words x[16]) {
    constexpr int round = I / 16;
    Words& a = v[(64 - I) % 4];
    const Words b = v[(65 - I) % 4], c = v[(66 - I) % 4], d = v[(67 - I) % 4];

    a = Settled(a + x[MessageIndex(I)] + kSine[I]);
    a += RoundFunction<round>(b, c, d);
    a = b + RotateLeft<kShift[round][I % 4]>(a);
}

template <int I, int G>
VELMAR_AVX512VL_INLINE void StepsVl(Words v[G][4], const Words x[G][16]) {
    for (int g = 0; g < G; ++g) StepVl<I>(v[g], x[g]);
}

template <int G, int... I>
VELMAR_AVX512VL_INLINE void CompressVl(Words v[G][4], const Words x[G][16], std::integer_sequence<int, I...>) {
    Words start[G][4];
    std::memcpy(start, v, sizeof start);
    (StepsVl<I, G>(v, x), ...);
    for (int g = 0; g < G; ++g)
        for (int w = 0; w < 4; ++w) v[g][w] += start[g][w];
}

VELMAR_AVX2_INLINE __m256i LoadRows(const std::uint8_t* low, const std::uint8_t* high) {
    const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(low));
    const __m128i h = _mm_loadu_si128(reinterpret_cast<const __m128i*>(high));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(l), h, 1);
}

// x[j] = word j of the block at `offset` in lanes p[0] to p[7]. Each quarter
// of the block is a 4x4 transpose of words done in both 128-bit halves at
// once, the low half for lanes 0-3 and the high half for lanes 4-7, so that
// no instruction has to cross between the halves.
VELMAR_AVX2_INLINE void LoadBlock(Words x[16], const std::uint8_t* const p[], std::size_t offset) {
    for (int q = 0; q < 4; ++q) {
        const std::size_t at = offset + 16 * q;
        const __m256i r0 = LoadRows(p[0] + at, p[4] + at), r1 = LoadRows(p[1] + at, p[5] + at);
        const __m256i r2 = LoadRows(p[2] + at, p[6] + at), r3 = LoadRows(p[3] + at, p[7] + at);
        const __m256i t0 = _mm256_unpacklo_epi32(r0, r1), t1 = _mm256_unpacklo_epi32(r2, r3);
        const __m256i t2 = _mm256_unpackhi_epi32(r0, r1), t3 = _mm256_unpackhi_epi32(r2, r3);
        x[4 * q + 0] = reinterpret_cast<Words>(_mm256_unpacklo_epi64(t0, t1));
        x[4 * q + 1] = reinterpret_cast<Words>(_mm256_unpackhi_epi64(t0, t1));
        x[4 * q + 2] = reinterpret_cast<Words>(_mm256_unpacklo_epi64(t2, t3));
        x[4 * q + 3] = reinterpret_cast<Words>(_mm256_unpackhi_epi64(t2, t3));
    }
}

// Word w of lane i's state is words[w][i], the layout of four Words per group.
using BlockLoop = void (*)(std::uint32_t words[4][Md5Lanes], const std::uint8_t* const p[Md5Lanes],
                           std::size_t blocks);

// Lanes 0 to 8G - 1 as G groups of eight. Each kernel has its own copy of
// this loop: a function can inline only code compiled for a subset of its
// own target features.
template <int G>
VELMAR_AVX2 void BlocksAvx2(std::uint32_t words[4][Md5Lanes], const std::uint8_t* const p[Md5Lanes],
                            std::size_t blocks) {
    Words v[G][4];
    for (int g = 0; g < G; ++g)
        for (int w = 0; w < 4; ++w) std::memcpy(&v[g][w], &words[w][8 * g], sizeof(Words));
    for (std::size_t n = 0; n < blocks; ++n) {
        Words x[G][16];
        for (int g = 0; g < G; ++g) LoadBlock(x[g], p + 8 * g, 64 * n);
        Compress<G>(v, x, std::make_integer_sequence<int, 64>{});
    }
    for (int g = 0; g < G; ++g)
        for (int w = 0; w < 4; ++w) std::memcpy(&words[w][8 * g], &v[g][w], sizeof(Words));
}

template <int G>
VELMAR_AVX512VL void BlocksAvx512Vl(std::uint32_t words[4][Md5Lanes], const std::uint8_t* const p[Md5Lanes],
                                    std::size_t blocks) {
    Words v[G][4];
    for (int g = 0; g < G; ++g)
        for (int w = 0; w < 4; ++w) std::memcpy(&v[g][w], &words[w][8 * g], sizeof(Words));
    for (std::size_t n = 0; n < blocks; ++n) {
        Words x[G][16];
        for (int g = 0; g < G; ++g) LoadBlock(x[g], p + 8 * g, 64 * n);
        CompressVl<G>(v, x, std::make_integer_sequence<int, 64>{});
    }
    for (int g = 0; g < G; ++g)
        for (int w = 0; w < 4; ++w) std::memcpy(&words[w][8 * g], &v[g][w], sizeof(Words));
}

// The lanes in and out of a vector kernel. The live lanes are packed to the
// front, and when eight or fewer are live only the first group runs: the
// engine often has only a few files per worker. Lanes beyond the live ones
// run on a copy of the first live one, whose data is known to be readable
// for `blocks` blocks; their results are dropped.
void UpdateVector(BlockLoop oneGroup, BlockLoop twoGroups, MD5Context* const contexts[Md5Lanes],
                  const std::uint8_t* const data[Md5Lanes], std::size_t blocks) {
    int live[Md5Lanes], count = 0;
    for (int i = 0; i < Md5Lanes; ++i)
        if (contexts[i] != nullptr) live[count++] = i;
    if (count == 0) return;

    const std::uint8_t* p[Md5Lanes];
    std::uint32_t words[4][Md5Lanes];
    for (int j = 0; j < Md5Lanes; ++j) {
        const int from = live[j < count ? j : 0];
        p[j] = data[from];
        for (int w = 0; w < 4; ++w) words[w][j] = contexts[from]->state[w];
    }
    (count <= Md5Lanes / 2 ? oneGroup : twoGroups)(words, p, blocks);
    for (int j = 0; j < count; ++j) {
        MD5Context* context = contexts[live[j]];
        for (int w = 0; w < 4; ++w) context->state[w] = words[w][j];
        CountBlocks(context, blocks);
    }
}

#endif

struct Choice {
    Kernel kernel;
    const char* name;
};

Choice Choose() {
    if (CpuHasAvx512Vl()) return {UpdateAvx512Vl, "avx512vlx16"};
    if (CpuHasAvx2()) return {UpdateAvx2, "avx2x16"};
    return {UpdateScalar, "scalar"};
}

const Choice& Chosen() {
    static const Choice choice = Choose();
    return choice;
}

}  // namespace

void UpdateScalar(MD5Context* const contexts[Md5Lanes], const std::uint8_t* const data[Md5Lanes],
                  std::size_t blocks) {
    for (int i = 0; i < Md5Lanes; ++i) {
        if (contexts[i] == nullptr) continue;
        for (std::size_t n = 0; n < blocks; ++n) MD5Transform(contexts[i]->state, data[i] + 64 * n);
        CountBlocks(contexts[i], blocks);
    }
}

#if defined(__x86_64__)

void UpdateAvx2(MD5Context* const contexts[Md5Lanes], const std::uint8_t* const data[Md5Lanes],
                std::size_t blocks) {
    UpdateVector(BlocksAvx2<1>, BlocksAvx2<2>, contexts, data, blocks);
}

void UpdateAvx512Vl(MD5Context* const contexts[Md5Lanes], const std::uint8_t* const data[Md5Lanes],
                    std::size_t blocks) {
    UpdateVector(BlocksAvx512Vl<1>, BlocksAvx512Vl<2>, contexts, data, blocks);
}

#else

void UpdateAvx2(MD5Context* const contexts[Md5Lanes], const std::uint8_t* const data[Md5Lanes],
                std::size_t blocks) {
    UpdateScalar(contexts, data, blocks);
}

void UpdateAvx512Vl(MD5Context* const contexts[Md5Lanes], const std::uint8_t* const data[Md5Lanes],
                    std::size_t blocks) {
    UpdateScalar(contexts, data, blocks);
}

#endif

bool CpuHasAvx2() { return velmar::CpuHasAvx2(); }
bool CpuHasAvx512Vl() { return velmar::CpuHasAvx512Vl(); }

}  // namespace md5lanes

void MD5UpdateLanes(MD5Context* const contexts[Md5Lanes], const std::uint8_t* const data[Md5Lanes],
                    std::size_t blocks) {
    int live = 0, last = 0;
    for (int i = 0; i < Md5Lanes; ++i)
        if (contexts[i]) ++live, last = i;
    // One message alone gains nothing from the lanes.
    if (live == 1) MD5Update(contexts[last], data[last], static_cast<std::uint32_t>(blocks * 64));
    else if (live > 1) md5lanes::Chosen().kernel(contexts, data, blocks);
}

const char* Md5LanesKernelName() { return md5lanes::Chosen().name; }

}  // namespace velmar
