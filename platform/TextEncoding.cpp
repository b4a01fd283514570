#include "platform/TextEncoding.h"

#include <utf8proc.h>

#include <cerrno>
#include <cstdlib>

namespace velmar {

std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return char32_t{lead};
    }
    std::size_t length;
    char32_t value, minimum;
    if ((lead & 0xE0) == 0xC0) length = 2, value = lead & 0x1F, minimum = 0x80;
    else if ((lead & 0xF0) == 0xE0) length = 3, value = lead & 0x0F, minimum = 0x800;
    else if ((lead & 0xF8) == 0xF0) length = 4, value = lead & 0x07, minimum = 0x10000;
    else return std::nullopt;
    if (i + length > text.size()) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return std::nullopt;
        value = value << 6 | (byte(i + k) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
    i += length;
    return value;
}

namespace {

// `text` with utf8proc's `options` applied to each run of valid UTF-8 in
// it; the bytes between runs are kept as they are. Most names are ASCII,
// whose letters fold without the library.
std::string Mapped(std::string_view text, int options) {
    if (IsAscii(text)) {
        std::string out(text);
        if (options & UTF8PROC_CASEFOLD)
            for (char& c : out)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return out;
    }
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t begin = i;
        while (i < text.size() && NextCodePoint(text, i)) {}
        if (i > begin) {
            utf8proc_uint8_t* mapped = nullptr;
            const utf8proc_ssize_t length =
                utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data() + begin),
                             static_cast<utf8proc_ssize_t>(i - begin), &mapped, utf8proc_option_t(options));
            if (length >= 0) out.append(reinterpret_cast<const char*>(mapped), static_cast<std::size_t>(length));
            else out.append(text.substr(begin, i - begin));
            std::free(mapped);
        }
        if (i < text.size()) out.push_back(text[i++]);
    }
    return out;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();)
        if (!NextCodePoint(text, i)) return false;
    return true;
}

bool IsAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

Utf8Decoder::Utf8Decoder(const char* fromCode)
    : cd_(iconv_open("UTF-8", fromCode)), valid_(cd_ != reinterpret_cast<iconv_t>(-1)) {}

Utf8Decoder::~Utf8Decoder() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
}

bool Utf8Decoder::Decode(std::string_view bytes, std::string& out) {
    if (!valid_) return false;
    // A character begun at the end of the last run is completed first, a
    // byte at a time (it is a few bytes long at most).
    std::size_t taken = 0;
    while (!held_.empty() && taken < bytes.size()) {
        std::string joined = std::move(held_);
        held_.clear();
        joined.push_back(bytes[taken++]);
        if (!Convert(joined, out)) return valid_ = false;
    }
    return valid_ = Convert(bytes.substr(taken), out);
}

bool Utf8Decoder::Convert(std::string_view bytes, std::string& out) {
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t used = out.size();
    while (inLeft > 0) {
        // Three bytes of UTF-8 for every byte in are enough for every
        // encoding read here; should one need more, the loop comes round.
        out.resize(used + inLeft * 3 + 16);
        char* to = out.data() + used;
        std::size_t toLeft = out.size() - used;
        const bool converted = iconv(cd_, &in, &inLeft, &to, &toLeft) != static_cast<std::size_t>(-1);
        const int error = errno;
        used = static_cast<std::size_t>(to - out.data());
        if (converted || error == E2BIG) continue;
        out.resize(used);
        if (error != EINVAL) return false;  // a byte sequence the encoding does not have
        held_.assign(in, inLeft);            // a character cut short by the end of the run
        return true;
    }
    out.resize(used);
    return true;
}

std::optional<std::string> ToUtf8(std::string_view text, const char* fromCode) {
    Utf8Decoder decoder(fromCode);
    std::string out;
    if (!decoder.Decode(text, out) || !decoder.CompleteText()) return std::nullopt;
    return out;
}

std::string Composed(std::string_view text) { return Mapped(text, UTF8PROC_STABLE | UTF8PROC_COMPOSE); }

std::string CaseFolded(std::string_view text) {
    return Mapped(text, UTF8PROC_STABLE | UTF8PROC_COMPOSE | UTF8PROC_CASEFOLD);
}

}  // namespace velmar
