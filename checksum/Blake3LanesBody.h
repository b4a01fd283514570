// The body every BLAKE3 lane kernel shares: word j of W inputs in the W
// elements of one register, so that one chain of instructions compresses
// W blocks. Each kernel file is compiled for its own instruction set and
// includes this after defining, in an unnamed namespace:
//   W            the lanes (4, 8 or 16)
//   Reg          W 32-bit words as a GCC vector, whose + and ^ act per word
//   Rot16, Rot12, Rot8, Rot7   each word rotated right
//   Transpose    W registers of W words each, turned rows into columns
// Everything here is in that unnamed namespace too, and the file includes
// no library template: code built for AVX-512 must not be shared with the
// rest of the program as one inline copy of some function.
#pragma once

#include <cstring>

#include "checksum/Blake3.h"
#include "checksum/Blake3Kernels.h"

namespace velmar::blake3 {
namespace {

inline Reg Splat(std::uint32_t x) { return Reg{} + x; }

__attribute__((always_inline)) inline void Mix(Reg& a, Reg& b, Reg& c, Reg& d, Reg x, Reg y) {
    a += b + x;
    d = Rot16(d ^ a);
    c += d;
    b = Rot12(b ^ c);
    a += b + y;
    d = Rot8(d ^ a);
    c += d;
    b = Rot7(b ^ c);
}

__attribute__((always_inline)) inline void Round(Reg v[16], const Reg m[16], const std::uint8_t s[16]) {
    Mix(v[0], v[4], v[8], v[12], m[s[0]], m[s[1]]);
    Mix(v[1], v[5], v[9], v[13], m[s[2]], m[s[3]]);
    Mix(v[2], v[6], v[10], v[14], m[s[4]], m[s[5]]);
    Mix(v[3], v[7], v[11], v[15], m[s[6]], m[s[7]]);
    Mix(v[0], v[5], v[10], v[15], m[s[8]], m[s[9]]);
    Mix(v[1], v[6], v[11], v[12], m[s[10]], m[s[11]]);
    Mix(v[2], v[7], v[8], v[13], m[s[12]], m[s[13]]);
    Mix(v[3], v[4], v[9], v[14], m[s[14]], m[s[15]]);
}

// Block words of every lane from its own input: 16 / W rows of W words
// per lane, each set of rows turned into W columns.
__attribute__((always_inline)) inline void LoadBlock(Reg m[16], const std::uint8_t* const* inputs,
                                                     std::size_t offset) {
    for (std::size_t group = 0; group < 16 / W; ++group) {
        Reg rows[W];
        for (std::size_t i = 0; i < W; ++i) std::memcpy(&rows[i], inputs[i] + offset + group * sizeof(Reg), sizeof(Reg));
        Transpose(rows);
        for (std::size_t j = 0; j < W; ++j) m[group * W + j] = rows[j];
    }
}

// The eight chaining words of each lane back to its 32 bytes of output;
// the wide kernel pads the eight rows with zeros to a square.
__attribute__((always_inline)) inline void StoreValues(const Reg h[8], std::uint8_t* out) {
    constexpr std::size_t groups = W < 8 ? 8 / W : 1, bytes = W < 8 ? sizeof(Reg) : Blake3DigestSize;
    for (std::size_t group = 0; group < groups; ++group) {
        Reg rows[W];
        for (std::size_t j = 0; j < W; ++j) rows[j] = group * W + j < 8 ? h[group * W + j] : Reg{};
        Transpose(rows);
        for (std::size_t i = 0; i < W; ++i) std::memcpy(out + i * Blake3DigestSize + group * bytes, &rows[i], bytes);
    }
}

// Exactly W inputs, as HashManyKernel describes them.
void HashLanes(const std::uint8_t* const* inputs, std::size_t blocks, std::uint64_t counter, bool incrementCounter,
               std::uint8_t flags, std::uint8_t flagsStart, std::uint8_t flagsEnd, std::uint8_t* out) {
    Reg h[8];
    for (int i = 0; i < 8; ++i) h[i] = Splat(Iv[i]);
    std::uint32_t low[W], high[W];
    for (std::size_t i = 0; i < W; ++i) {
        const std::uint64_t c = counter + (incrementCounter ? i : 0);
        low[i] = static_cast<std::uint32_t>(c);
        high[i] = static_cast<std::uint32_t>(c >> 32);
    }
    Reg counterLow, counterHigh;
    std::memcpy(&counterLow, low, sizeof low);
    std::memcpy(&counterHigh, high, sizeof high);
    std::uint8_t blockFlags = flags | flagsStart;
    for (std::size_t b = 0; b < blocks; ++b) {
        if (b + 1 == blocks) blockFlags |= flagsEnd;
        Reg m[16];
        LoadBlock(m, inputs, b * Blake3BlockSize);
        Reg v[16] = {h[0], h[1], h[2], h[3], h[4], h[5], h[6], h[7],
                     Splat(Iv[0]), Splat(Iv[1]), Splat(Iv[2]), Splat(Iv[3]),
                     counterLow, counterHigh, Splat(Blake3BlockSize), Splat(blockFlags)};
#pragma GCC unroll 7
        for (int r = 0; r < 7; ++r) Round(v, m, Schedule[r]);
        for (int i = 0; i < 8; ++i) h[i] = v[i] ^ v[i + 8];
        blockFlags = flags;
    }
    StoreValues(h, out);
}

// W inputs at a time through HashLanes, the rest through `narrower`.
__attribute__((always_inline)) inline void HashManyWith(HashManyKernel narrower, const std::uint8_t* const* inputs,
                                                        std::size_t count, std::size_t blocks, std::uint64_t counter,
                                                        bool incrementCounter, std::uint8_t flags,
                                                        std::uint8_t flagsStart, std::uint8_t flagsEnd,
                                                        std::uint8_t* out) {
    for (; count >= W; count -= W, inputs += W, out += W * Blake3DigestSize) {
        HashLanes(inputs, blocks, counter, incrementCounter, flags, flagsStart, flagsEnd, out);
        if (incrementCounter) counter += W;
    }
    narrower(inputs, count, blocks, counter, incrementCounter, flags, flagsStart, flagsEnd, out);
}

}  // namespace
}  // namespace velmar::blake3
