// The text form of a digest and the one rule for comparing two of them,
// whatever the algorithm: lists write lower-case digits, and a digit of
// either case matches its other case.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmar {

// The 22 characters a list may use as digest digits.
inline constexpr std::string_view HexDigitSet = "0123456789abcdefABCDEF";

// Every character's value as a digit, -1 for none: looked up for every
// digit of every row of a list, so a table, not a call.
inline constexpr std::array<std::int8_t, 256> HexDigitValues = [] {
    std::array<std::int8_t, 256> values{};
    values.fill(-1);
    for (int i = 0; i < 10; ++i) values['0' + i] = static_cast<std::int8_t>(i);
    for (int i = 0; i < 6; ++i) values['a' + i] = values['A' + i] = static_cast<std::int8_t>(10 + i);
    return values;
}();
// A digit's value, or -1 for a character that is no hexadecimal digit.
inline int HexDigitValue(char c) { return HexDigitValues[static_cast<unsigned char>(c)]; }
inline bool IsHexDigit(char c) { return HexDigitValue(c) >= 0; }

// Two hexadecimal digits per byte, in order, lower case unless asked.
std::string HexText(const std::uint8_t* bytes, std::size_t count, bool upperCase = false);

// The eight digits of a 32-bit value, most significant first: a CRC-32 as
// SFV lists write it.
std::string HexText32(std::uint32_t value, bool upperCase = false);

// True when both texts hold exactly `digits` characters of HexDigitSet and
// are pairwise equal, letter case ignored ("A" matches "a"). Any other
// length, or any character outside HexDigitSet in either text, is no match,
// so a damaged expected digest never matches anything.
bool DigestTextsMatch(std::string_view a, std::string_view b, std::size_t digits);

// The text in lower case, the form in which two texts that match compare
// equal: what digests are looked up by.
std::string LowerCaseDigits(std::string_view text);

}  // namespace velmar
