// Numbers in as few bytes as they need: seven bits a byte, the low bits
// first, the high bit set on every byte but the last.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmar {

inline void PutNumber(std::string& out, std::uint64_t value) {
    for (; value >= 0x80; value >>= 7) out.push_back(static_cast<char>((value & 0x7F) | 0x80));
    out.push_back(static_cast<char>(value));
}

// Reads from the front of `in`, which moves on past the number.
inline std::uint64_t TakeNumber(std::string_view& in) {
    std::uint64_t value = 0;
    for (int shift = 0; !in.empty() && shift < 64; shift += 7) {
        const auto byte = static_cast<std::uint8_t>(in.front());
        in.remove_prefix(1);
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80)) break;
    }
    return value;
}

// A text as its length and its bytes.
inline void PutText(std::string& out, std::string_view text) {
    PutNumber(out, text.size());
    out.append(text);
}

inline std::string_view TakeText(std::string_view& in) {
    const std::uint64_t length = TakeNumber(in);
    const std::string_view text = in.substr(0, length < in.size() ? length : in.size());
    in.remove_prefix(text.size());
    return text;
}

}  // namespace velmar
