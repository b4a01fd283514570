#include "platform/TextEncoding.h"

#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cerrno>

namespace velmar {
namespace {

// The code point of the UTF-8 sequence at text[i], advancing i; nothing
// (i unchanged) for a byte that starts no valid sequence: overlong forms,
// surrogates and values past U+10FFFF are not UTF-8.
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

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | c >> 18));
        out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The C library's Unicode letter cases, whatever locale the program runs in.
locale_t UnicodeCtype() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return locale;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();)
        if (!NextCodePoint(text, i)) return false;
    return true;
}

std::optional<std::string> ToUtf8(std::string_view text, const char* fromCode) {
    const iconv_t cd = iconv_open("UTF-8", fromCode);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(text.size() * 3 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* to = out.data();
    std::size_t toLeft = out.size();
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &to, &toLeft) != static_cast<std::size_t>(-1)) continue;
        if (errno != E2BIG) {
            ok = false;  // a byte sequence the encoding does not have, or one cut short
            break;
        }
        const std::size_t used = static_cast<std::size_t>(to - out.data());
        out.resize(out.size() * 2);
        to = out.data() + used;
        toLeft = out.size() - used;
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(static_cast<std::size_t>(to - out.data()));
    return out;
}

std::string CaseFolded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const locale_t locale = UnicodeCtype();
    for (std::size_t i = 0; i < text.size();) {
        // Most names are ASCII, whose letters fold without the library.
        const char ascii = text[i];
        if (static_cast<unsigned char>(ascii) < 0x80) {
            out.push_back(ascii >= 'A' && ascii <= 'Z' ? static_cast<char>(ascii - 'A' + 'a') : ascii);
            ++i;
            continue;
        }
        const std::optional<char32_t> c = NextCodePoint(text, i);
        if (!c) {
            out.push_back(text[i++]);
            continue;
        }
        // Lower case of the upper case: the letters with more than one lower
        // form (the Greek final sigma) meet in one.
        const wint_t folded = locale ? towlower_l(towupper_l(static_cast<wint_t>(*c), locale), locale)
                                     : static_cast<wint_t>(*c);
        AppendUtf8(out, static_cast<char32_t>(folded));
    }
    return out;
}

}  // namespace velmar
