// MD5 (RFC 1321) over plain context records; no shared state, so any number
// of computations may run at once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "checksum/DigestText.h"

namespace velmar {

struct MD5Context {
    std::uint32_t state[4];     // chaining words A, B, C, D
    std::uint32_t bitCount[2];  // bits absorbed modulo 2^64: low word, high word
    std::uint8_t block[64];     // input not yet compressed: (bitCount[0] / 8) % 64 bytes
};

void MD5Init(MD5Context* context);
void MD5Update(MD5Context* context, const std::uint8_t* data, std::uint32_t length);
void MD5Final(std::uint8_t digest[16], MD5Context* context);
// One application of the compression function, added into the four words.
void MD5Transform(std::uint32_t state[4], const std::uint8_t block[64]);

// The 32 lower-case hexadecimal digits of a digest.
inline std::string MD5DigestText(const std::uint8_t digest[16]) { return HexText(digest, 16); }

// Two digest texts compared as every list compares them, at 32 digits.
inline bool MD5DigestTextsMatch(std::string_view a, std::string_view b) { return DigestTextsMatch(a, b, 32); }

}  // namespace velmar
