#include "checksum/Md5.h"

#include <bit>
#include <cstddef>
#include <cstring>

namespace velmar {
namespace {

// Message words are little-endian whatever the host. memcpy keeps the load
// legal at any alignment; on a little-endian host it folds into the adds.
inline std::uint32_t LoadLE32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (std::endian::native == std::endian::big) {
        v = (v >> 24) | ((v >> 8) & 0x0000ff00u) | ((v << 8) & 0x00ff0000u) | (v << 24);
    }
    return v;
}

inline void StoreLE32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

// The steps are latency bound: each one waits for the b of the step before.
// Everything that does not need b (the constant, the message word, the old a
// and any term of c and d alone) is added first, so that only the last one or
// two operations of the auxiliary function sit on the chain.

// F(x, y, z) = (x & y) | (~x & z), in the form with one operation fewer.
inline void StepF(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                  std::uint32_t x, std::uint32_t k, int s) {
    a += x + k;
    a += d ^ (b & (c ^ d));
    a = b + std::rotl(a, s);
}

// G(x, y, z) = (x & z) | (y & ~z). The two terms never share a set bit, so
// the OR is an add, and the term without b goes in before b is known.
inline void StepG(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                  std::uint32_t x, std::uint32_t k, int s) {
    a += x + k;
    a += ~d & c;
    a += d & b;
    a = b + std::rotl(a, s);
}

inline void StepH(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                  std::uint32_t x, std::uint32_t k, int s) {
    a += x + k;
    a += b ^ (c ^ d);
    a = b + std::rotl(a, s);
}

// I(x, y, z) = y ^ (x | ~z); ~z is ready before x.
inline void StepI(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                  std::uint32_t x, std::uint32_t k, int s) {
    a += x + k;
    a += c ^ (b | ~d);
    a = b + std::rotl(a, s);
}

// Compresses `blocks` consecutive 64-byte blocks, keeping the chaining words
// in locals from one block to the next.
void TransformBlocks(std::uint32_t state[4], const std::uint8_t* data, std::size_t blocks) {
    std::uint32_t a = state[0];
    std::uint32_t b = state[1];
    std::uint32_t c = state[2];
    std::uint32_t d = state[3];

    for (; blocks != 0; --blocks, data += 64) {
        const std::uint32_t x0 = LoadLE32(data + 0);
        const std::uint32_t x1 = LoadLE32(data + 4);
        const std::uint32_t x2 = LoadLE32(data + 8);
        const std::uint32_t x3 = LoadLE32(data + 12);
        const std::uint32_t x4 = LoadLE32(data + 16);
        const std::uint32_t x5 = LoadLE32(data + 20);
        const std::uint32_t x6 = LoadLE32(data + 24);
        const std::uint32_t x7 = LoadLE32(data + 28);
        const std::uint32_t x8 = LoadLE32(data + 32);
        const std::uint32_t x9 = LoadLE32(data + 36);
        const std::uint32_t x10 = LoadLE32(data + 40);
        const std::uint32_t x11 = LoadLE32(data + 44);
        const std::uint32_t x12 = LoadLE32(data + 48);
        const std::uint32_t x13 = LoadLE32(data + 52);
        const std::uint32_t x14 = LoadLE32(data + 56);
        const std::uint32_t x15 = LoadLE32(data + 60);

        const std::uint32_t aa = a;
        const std::uint32_t bb = b;
        const std::uint32_t cc = c;
        const std::uint32_t dd = d;

        StepF(a, b, c, d, x0, 0xd76aa478, 7);
        StepF(d, a, b, c, x1, 0xe8c7b756, 12);
        StepF(c, d, a, b, x2, 0x242070db, 17);
        StepF(b, c, d, a, x3, 0xc1bdceee, 22);
        StepF(a, b, c, d, x4, 0xf57c0faf, 7);
        StepF(d, a, b, c, x5, 0x4787c62a, 12);
        StepF(c, d, a, b, x6, 0xa8304613, 17);
        StepF(b, c, d, a, x7, 0xfd469501, 22);
        StepF(a, b, c, d, x8, 0x698098d8, 7);
        StepF(d, a, b, c, x9, 0x8b44f7af, 12);
        StepF(c, d, a, b, x10, 0xffff5bb1, 17);
        StepF(b, c, d, a, x11, 0x895cd7be, 22);
        StepF(a, b, c, d, x12, 0x6b901122, 7);
        StepF(d, a, b, c, x13, 0xfd987193, 12);
        StepF(c, d, a, b, x14, 0xa679438e, 17);
        StepF(b, c, d, a, x15, 0x49b40821, 22);

        StepG(a, b, c, d, x1, 0xf61e2562, 5);
        StepG(d, a, b, c, x6, 0xc040b340, 9);
        StepG(c, d, a, b, x11, 0x265e5a51, 14);
        StepG(b, c, d, a, x0, 0xe9b6c7aa, 20);
        StepG(a, b, c, d, x5, 0xd62f105d, 5);
        StepG(d, a, b, c, x10, 0x02441453, 9);
        StepG(c, d, a, b, x15, 0xd8a1e681, 14);
        StepG(b, c, d, a, x4, 0xe7d3fbc8, 20);
        StepG(a, b, c, d, x9, 0x21e1cde6, 5);
        StepG(d, a, b, c, x14, 0xc33707d6, 9);
        StepG(c, d, a, b, x3, 0xf4d50d87, 14);
        StepG(b, c, d, a, x8, 0x455a14ed, 20);
        StepG(a, b, c, d, x13, 0xa9e3e905, 5);
        StepG(d, a, b, c, x2, 0xfcefa3f8, 9);
        StepG(c, d, a, b, x7, 0x676f02d9, 14);
        StepG(b, c, d, a, x12, 0x8d2a4c8a, 20);

        StepH(a, b, c, d, x5, 0xfffa3942, 4);
        StepH(d, a, b, c, x8, 0x8771f681, 11);
        StepH(c, d, a, b, x11, 0x6d9d6122, 16);
        StepH(b, c, d, a, x14, 0xfde5380c, 23);
        StepH(a, b, c, d, x1, 0xa4beea44, 4);
        StepH(d, a, b, c, x4, 0x4bdecfa9, 11);
        StepH(c, d, a, b, x7, 0xf6bb4b60, 16);
        StepH(b, c, d, a, x10, 0xbebfbc70, 23);
        StepH(a, b, c, d, x13, 0x289b7ec6, 4);
        StepH(d, a, b, c, x0, 0xeaa127fa, 11);
        StepH(c, d, a, b, x3, 0xd4ef3085, 16);
        StepH(b, c, d, a, x6, 0x04881d05, 23);
        StepH(a, b, c, d, x9, 0xd9d4d039, 4);
        StepH(d, a, b, c, x12, 0xe6db99e5, 11);
        StepH(c, d, a, b, x15, 0x1fa27cf8, 16);
        StepH(b, c, d, a, x2, 0xc4ac5665, 23);

        StepI(a, b, c, d, x0, 0xf4292244, 6);
        StepI(d, a, b, c, x7, 0x432aff97, 10);
        StepI(c, d, a, b, x14, 0xab9423a7, 15);
        StepI(b, c, d, a, x5, 0xfc93a039, 21);
        StepI(a, b, c, d, x12, 0x655b59c3, 6);
        StepI(d, a, b, c, x3, 0x8f0ccc92, 10);
        StepI(c, d, a, b, x10, 0xffeff47d, 15);
        StepI(b, c, d, a, x1, 0x85845dd1, 21);
        StepI(a, b, c, d, x8, 0x6fa87e4f, 6);
        StepI(d, a, b, c, x15, 0xfe2ce6e0, 10);
        StepI(c, d, a, b, x6, 0xa3014314, 15);
        StepI(b, c, d, a, x13, 0x4e0811a1, 21);
        StepI(a, b, c, d, x4, 0xf7537e82, 6);
        StepI(d, a, b, c, x11, 0xbd3af235, 10);
        StepI(c, d, a, b, x2, 0x2ad7d2bb, 15);
        StepI(b, c, d, a, x9, 0xeb86d391, 21);

        a += aa;
        b += bb;
        c += cc;
        d += dd;
    }

    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

}  // namespace

void MD5Init(MD5Context* context) {
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
    context->bitCount[0] = 0;
    context->bitCount[1] = 0;
}

void MD5Update(MD5Context* context, const std::uint8_t* data, std::uint32_t length) {
    const std::uint32_t pending = (context->bitCount[0] >> 3) & 63;

    const std::uint32_t oldLow = context->bitCount[0];
    context->bitCount[0] = oldLow + (length << 3);
    if (context->bitCount[0] < oldLow) ++context->bitCount[1];
    context->bitCount[1] += length >> 29;

    if (pending != 0) {
        const std::uint32_t room = 64 - pending;
        if (length < room) {
            if (length != 0) std::memcpy(context->block + pending, data, length);
            return;
        }
        std::memcpy(context->block + pending, data, room);
        TransformBlocks(context->state, context->block, 1);
        data += room;
        length -= room;
    }

    // Whole blocks are compressed where they lie; only the tail is copied.
    if (length >= 64) {
        const std::size_t blocks = length / 64;
        TransformBlocks(context->state, data, blocks);
        data += blocks * 64;
        length %= 64;
    }
    if (length != 0) std::memcpy(context->block, data, length);
}

void MD5Final(std::uint8_t digest[16], MD5Context* context) {
    std::uint8_t* block = context->block;
    const std::uint32_t pending = (context->bitCount[0] >> 3) & 63;
    block[pending] = 0x80;

    if (pending >= 56) {
        std::memset(block + pending + 1, 0, 63 - pending);
        TransformBlocks(context->state, block, 1);
        std::memset(block, 0, 56);
    } else {
        std::memset(block + pending + 1, 0, 55 - pending);
    }

    StoreLE32(block + 56, context->bitCount[0]);
    StoreLE32(block + 60, context->bitCount[1]);
    TransformBlocks(context->state, block, 1);

    for (int i = 0; i < 4; ++i) StoreLE32(digest + 4 * i, context->state[i]);
}

void MD5Transform(std::uint32_t state[4], const std::uint8_t block[64]) {
    TransformBlocks(state, block, 1);
}

}  // namespace velmar
