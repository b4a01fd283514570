#include "checksum/DigestText.h"

namespace velmar {
namespace {

// Folds an ASCII letter to lower case; the callers pass hex digits only.
char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string HexText(const std::uint8_t* bytes, std::size_t count, bool upperCase) {
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string text(2 * count, '0');
    for (std::size_t i = 0; i < count; ++i) {
        text[2 * i] = digits[bytes[i] >> 4];
        text[2 * i + 1] = digits[bytes[i] & 0x0f];
    }
    return text;
}

std::string HexText32(std::uint32_t value, bool upperCase) {
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                                   static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
    return HexText(bytes, 4, upperCase);
}

bool DigestTextsMatch(std::string_view a, std::string_view b, std::size_t digits) {
    if (a.size() != digits || b.size() != digits) return false;
    for (std::size_t i = 0; i < digits; ++i) {
        // Equal values match whatever the letters' case; -1 is no digit.
        const int value = HexDigitValue(a[i]);
        if (value < 0 || value != HexDigitValue(b[i])) return false;
    }
    return true;
}

std::string LowerCaseDigits(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = ToLowerAscii(c);
    return lower;
}

}  // namespace velmar
