// Text in the encodings lists arrive in: UTF-8 checks, conversions through
// the C library's iconv, and names compared without regard to letter case
// or Unicode normalization (through utf8proc).
#pragma once

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

namespace velmar {

bool IsValidUtf8(std::string_view text);
// The code point of the UTF-8 sequence at text[i], advancing i; nothing
// (i unchanged) for a byte that starts no valid sequence: overlong forms,
// surrogates and values past U+10FFFF are not UTF-8.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& i);
bool IsAscii(std::string_view text);

// Text in an encoding iconv knows as `fromCode` ("WINDOWS-1252",
// "UTF-16LE"...) turned into UTF-8 one run of bytes at a time: a character
// whose bytes are split between two runs comes out as if they were one.
class Utf8Decoder {
public:
    explicit Utf8Decoder(const char* fromCode);
    ~Utf8Decoder();
    Utf8Decoder(const Utf8Decoder&) = delete;
    Utf8Decoder& operator=(const Utf8Decoder&) = delete;

    // Appends the UTF-8 of `bytes` to `out`, holding back the bytes of a
    // character they end inside of for the next run. False, now and on every
    // later call, once the text is not valid in the encoding: `out` then
    // holds the text up to the fault.
    bool Decode(std::string_view bytes, std::string& out);
    // The text ended where it may end: valid, and inside no character.
    bool CompleteText() const { return valid_ && held_.empty(); }

private:
    bool Convert(std::string_view bytes, std::string& out);

    iconv_t cd_;
    bool valid_;
    std::string held_;
};

// `text` read as the encoding iconv knows as `fromCode`, as UTF-8; nothing
// when it is not valid in that encoding.
std::optional<std::string> ToUtf8(std::string_view text, const char* fromCode);

// The UTF-8 text in Unicode's composed normal form (NFC): a name written
// decomposed (as macOS stores names, "e" and a combining accent) and the
// same name composed ("é") come out alike. Bytes that are no valid UTF-8
// stay as they are.
std::string Composed(std::string_view text);

// The composed text with Unicode's case folding, so that names differing
// only in letter case ("CAFÉ.BIN", "café.bin") or normalization fold alike,
// and only those: no locale's rule applies (a dotless "ı" is no "i").
// Bytes that are no valid UTF-8 stay as they are.
std::string CaseFolded(std::string_view text);

}  // namespace velmar
