#include "checksum/Md5.h"

#include <cstddef>

namespace velmar {
namespace {

constexpr std::size_t DigestTextLength = 32;

// Folds an ASCII letter to lower case; the callers pass hex digits only.
char ToLowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string MD5DigestText(const std::uint8_t digest[16]) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text(DigestTextLength, '0');
    for (std::size_t i = 0; i < 16; ++i) {
        text[2 * i] = digits[digest[i] >> 4];
        text[2 * i + 1] = digits[digest[i] & 0x0f];
    }
    return text;
}

bool MD5DigestTextsMatch(std::string_view a, std::string_view b) {
    if (a.size() != DigestTextLength || b.size() != DigestTextLength) return false;
    for (std::size_t i = 0; i < DigestTextLength; ++i) {
        if (!IsHexDigit(a[i]) || !IsHexDigit(b[i])) return false;
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
    }
    return true;
}

}  // namespace velmar
