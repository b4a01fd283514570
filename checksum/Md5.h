// MD5 (RFC 1321) over plain context records; no shared state, so any number
// of computations may run at once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ReadBuffer.h"

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

// The 22 characters a list may use as digest digits.
inline constexpr std::string_view HexDigitSet = "0123456789abcdefABCDEF";
bool IsHexDigit(char c);

// The 32 lower-case hexadecimal digits of a digest.
std::string MD5DigestText(const std::uint8_t digest[16]);

// True when both texts hold exactly 32 characters of HexDigitSet and are
// pairwise equal, letter case ignored ("A" matches "a"). Any other length,
// or any character outside HexDigitSet in either text, is no match, so a
// damaged expected digest never matches anything.
bool MD5DigestTextsMatch(std::string_view a, std::string_view b);

enum class FileDigestStatus { Ok, OpenFailed, ReadFailed };

struct MD5FileResult {
    FileDigestStatus status = FileDigestStatus::OpenFailed;
    std::string text;  // the digest text when status is Ok
};

// Reads the file through a buffered stream that hands MD5Update 1,024 bytes
// at a time; `buffer` is the stream's buffer, owned by the caller's job.
// Reports a failure to the caller instead of ending anything itself.
MD5FileResult MD5FileDigest(const std::string& path, ReadBuffer& buffer);

}  // namespace velmar
