#include "checksum/PastedDigest.h"

#include <algorithm>
#include <string>

#include "checksum/DigestText.h"

namespace velmar {
namespace {

// The likeliest first: where digests of one size are published, it is
// mostly by the older algorithm.
constexpr DigestAlgorithm ByLikeness[] = {
    DigestAlgorithm::Crc32,  DigestAlgorithm::Xxh3,   DigestAlgorithm::Md5,     DigestAlgorithm::Xxh128,
    DigestAlgorithm::Sha1,   DigestAlgorithm::Sha256, DigestAlgorithm::Blake3,  DigestAlgorithm::Sha3_256,
    DigestAlgorithm::Sha512, DigestAlgorithm::Blake2b, DigestAlgorithm::Sha3_512, DigestAlgorithm::Sha224,
    DigestAlgorithm::Sha384,
};

// The integrity strings of web pages name their algorithm.
struct IntegrityPrefix {
    std::string_view prefix;
    DigestAlgorithm algorithm;
};
constexpr IntegrityPrefix IntegrityPrefixes[] = {
    {.prefix = "sha256-", .algorithm = DigestAlgorithm::Sha256},
    {.prefix = "sha384-", .algorithm = DigestAlgorithm::Sha384},
    {.prefix = "sha512-", .algorithm = DigestAlgorithm::Sha512},
};

constexpr std::size_t MinimumBase64Digest = 16;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<std::vector<std::uint8_t>> FromHex(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
    std::string digits;
    for (char c : text) {
        if (IsBlank(c) || c == ':') continue;
        if (!IsHexDigit(c)) return std::nullopt;
        digits += c;
    }
    if (digits.empty() || digits.size() % 2 != 0) return std::nullopt;
    std::vector<std::uint8_t> bytes(digits.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(HexDigitValue(digits[2 * i]) << 4 | HexDigitValue(digits[2 * i + 1]));
    return bytes;
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+' || c == '-') return 62;  // the URL-safe alphabet too
    if (c == '/' || c == '_') return 63;
    return -1;
}

// Standard or URL-safe base64, its padding optional.
std::optional<std::vector<std::uint8_t>> FromBase64(std::string_view text) {
    while (!text.empty() && text.back() == '=') text.remove_suffix(1);
    if (text.empty() || text.size() % 4 == 1) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint32_t bits = 0;
    int held = 0;
    for (char c : text) {
        const int value = Base64Value(c);
        if (value < 0) return std::nullopt;
        bits = bits << 6 | static_cast<std::uint32_t>(value);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes.push_back(static_cast<std::uint8_t>(bits >> held));
        }
    }
    // Bits left over must be zero, or the text was not made from bytes.
    if ((bits & ((1u << held) - 1)) != 0) return std::nullopt;
    return bytes;
}

std::optional<PastedDigest> Known(std::vector<std::uint8_t> bytes) {
    PastedDigest digest{.bytes = std::move(bytes)};
    digest.algorithms = AlgorithmsOfSize(digest.bytes.size());
    if (digest.algorithms.empty()) return std::nullopt;
    return digest;
}

std::optional<PastedDigest> ParseWhole(std::string_view text) {
    for (const IntegrityPrefix& integrity : IntegrityPrefixes)
        if (text.starts_with(integrity.prefix)) {
            auto bytes = FromBase64(text.substr(integrity.prefix.size()));
            if (!bytes || bytes->size() != DigestSize(integrity.algorithm)) return std::nullopt;
            return PastedDigest{.bytes = std::move(*bytes), .algorithms = {integrity.algorithm}};
        }
    // Hexadecimal first: eight digits are a CRC-32, not six bytes of base64.
    if (auto bytes = FromHex(text))
        if (auto digest = Known(std::move(*bytes))) return digest;
    // Nobody writes a CRC or an XXH3 in base64, and a short word would pass
    // for one.
    if (auto bytes = FromBase64(text); bytes && bytes->size() >= MinimumBase64Digest) return Known(std::move(*bytes));
    return std::nullopt;
}

}  // namespace

std::vector<DigestAlgorithm> AlgorithmsOfSize(std::size_t size) {
    std::vector<DigestAlgorithm> algorithms;
    for (DigestAlgorithm algorithm : ByLikeness)
        if (DigestSize(algorithm) == size) algorithms.push_back(algorithm);
    return algorithms;
}

std::optional<PastedDigest> ParsePastedDigest(std::string_view text) {
    text = Trimmed(text);
    if (auto digest = ParseWhole(text)) return digest;
    // "DIGEST  NAME" or "DIGEST *NAME", as a sum tool prints it.
    const auto blank = std::find_if(text.begin(), text.end(), IsBlank);
    if (blank == text.end()) return std::nullopt;
    return ParseWhole(text.substr(0, static_cast<std::size_t>(blank - text.begin())));
}

}  // namespace velmar
